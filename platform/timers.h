// Repeating millisecond timers on the message loop. A timer first fires one
// interval after it starts and then every interval, never catching up on ticks
// it missed while the loop was busy.
#pragma once

#include <cstdint>
#include <functional>

namespace ixo::platform {

using TimerId = uint64_t;  // 0 is never a timer

class Timers {
 public:
  virtual ~Timers() = default;
  virtual TimerId StartTimer(uint32_t interval_ms, std::function<void()> on_tick) = 0;
  // Stopping a timer that has already stopped does nothing.
  virtual void StopTimer(TimerId timer) = 0;
};

}  // namespace ixo::platform
