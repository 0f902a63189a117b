// The draw family's state for one engine: memory images, the effect and deform
// parameters of the copies and the position of the last difference found.
#pragma once

#include "graphics/kernels/kernels.h"
#include "graphics/memory_images.h"

namespace ixo::graphics {

struct DrawState {
  MemoryImages memory;
  EffectParameters effects;
  DeformParameters deform;
  int difference_x = 0;
  int difference_y = 0;
};

}  // namespace ixo::graphics
