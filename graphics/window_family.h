#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

// "window" cancelclose(FLAG) | WINDOW left|top|width|height|timer enabled|timer delay (VALUE)
Result WindowFamily(Engine& engine);

}  // namespace ixo
