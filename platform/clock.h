// Time as the engine sees it: a millisecond tick that wraps at 2^32, and a
// high-resolution counter with its frequency.
#pragma once

#include <cstdint>

namespace ixo::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t TickCount() = 0;
  virtual uint64_t HighResolutionCount() = 0;
  virtual uint64_t HighResolutionFrequency() = 0;
};

}  // namespace ixo::platform
