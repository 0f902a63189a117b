#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

Result EventFamily(Engine& engine);

}  // namespace ixo
