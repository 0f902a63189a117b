// The engine's pseudo-random generator: one 64-bit state with a short step (for
// unique ids) and a long step (for "num" "random").
#pragma once

#include <cstdint>

namespace ixo {

class RandomGenerator {
 public:
  // Low 32 bits = seed, high 32 bits = 0, then one short step.
  void Seed(uint32_t seed) {
    state_ = seed;
    ShortStep();
  }

  // L = L * 22695477 + 1 on the low 32 bits; yields 15 bits.
  int ShortStep() {
    uint32_t low = static_cast<uint32_t>(state_) * 22695477u + 1u;
    state_ = (state_ & 0xFFFFFFFF00000000ull) | low;
    return static_cast<int>((low >> 16) & 0x7FFF);
  }

  // S = S * 0x0000015A00004E35 + 1; yields the high 32 bits with the top bit cleared.
  int32_t LongStep() {
    state_ = state_ * 0x0000015A00004E35ull + 1u;
    return static_cast<int32_t>((state_ >> 32) & 0x7FFFFFFF);
  }

  uint64_t state() const { return state_; }

 private:
  uint64_t state_ = 0;
};

}  // namespace ixo
