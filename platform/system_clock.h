// The machine's monotonic clock: a millisecond tick that wraps at 2^32 and a
// nanosecond counter.
#pragma once

#include "platform/clock.h"

namespace ixo::platform {

class SystemClock : public Clock {
 public:
  uint32_t TickCount() override;
  uint64_t HighResolutionCount() override;
  uint64_t HighResolutionFrequency() override { return 1000000000; }
};

}  // namespace ixo::platform
