// A clock that only moves when told to: the headless host jumps it to the next
// due time when nothing else can run, so delays cost no real time.
#pragma once

#include "platform/clock.h"

namespace ixo::platform {

class VirtualClock : public Clock {
 public:
  uint32_t TickCount() override { return static_cast<uint32_t>(now_ms_); }
  uint64_t HighResolutionCount() override { return now_ms_ * 1000; }
  uint64_t HighResolutionFrequency() override { return 1000000; }

  uint64_t elapsed_ms() const { return now_ms_; }
  void Advance(uint64_t ms) { now_ms_ += ms; }

 private:
  uint64_t now_ms_ = 0;
};

}  // namespace ixo::platform
