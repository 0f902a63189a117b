// The 256 off-screen images scripts name -1 to -256: slot k holds image -(k + 1).
#pragma once

#include <array>
#include <memory>

#include "graphics/image.h"

namespace ixo::graphics {

inline constexpr int kMemoryImageSlots = 256;
// "mem" "create" hands out the slots below this one only.
inline constexpr int kCreatableSlots = 255;

class MemoryImages {
 public:
  // The image in the slot, created 1×1 black when the slot is empty; nullptr for
  // a slot outside 0..255.
  Image* Get(int slot) {
    if (slot < 0 || slot >= kMemoryImageSlots) return nullptr;
    if (!slots_[slot]) slots_[slot] = std::make_unique<Image>(1, 1);
    return slots_[slot].get();
  }

  bool Holds(int slot) const { return slot >= 0 && slot < kMemoryImageSlots && slots_[slot] != nullptr; }

  // Fills the lowest empty creatable slot with a 1×1 black image; -1 when all are taken.
  int Create() {
    for (int slot = 0; slot < kCreatableSlots; ++slot) {
      if (slots_[slot]) continue;
      slots_[slot] = std::make_unique<Image>(1, 1);
      return slot;
    }
    return -1;
  }

  void Release(int slot) {
    if (slot >= 0 && slot < kMemoryImageSlots) slots_[slot].reset();
  }

  void ReleaseAll() {
    for (auto& image : slots_) image.reset();
  }

 private:
  std::array<std::unique_ptr<Image>, kMemoryImageSlots> slots_;
};

}  // namespace ixo::graphics
