// The "draw" family: shapes, text, pictures and copies into window back buffers
// and memory images.
#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

Result DrawFamily(Engine& engine);

namespace graphics {
struct DrawState;
// The engine's draw state, created on first use.
DrawState& DrawStateOf(Engine& engine);
}  // namespace graphics

}  // namespace ixo
