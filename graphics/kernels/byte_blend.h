// The blend every opacity kernel is made of, d + (s - d) × opacity / 100 with
// the division truncating toward zero, over a run of bytes at once.
#pragma once

#include <cstddef>
#include <cstdint>

namespace ixo::graphics::kernel {

// Blends n bytes of source into destination in place, for an opacity from 1 to
// 100 (other opacities have no vector form: the caller uses its tables).
void BlendBytes(uint8_t* destination, const uint8_t* source, size_t n, int opacity);

}  // namespace ixo::graphics::kernel
