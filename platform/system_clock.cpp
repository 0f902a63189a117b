#include "platform/system_clock.h"

#include <time.h>

namespace ixo::platform {

uint64_t SystemClock::HighResolutionCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

uint32_t SystemClock::TickCount() { return static_cast<uint32_t>(HighResolutionCount() / 1000000); }

}  // namespace ixo::platform
