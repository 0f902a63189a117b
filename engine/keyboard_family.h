#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

// "keyboard" keystate(KEY) | WINDOW code | WINDOW char
Result KeyboardFamily(Engine& engine);

}  // namespace ixo
