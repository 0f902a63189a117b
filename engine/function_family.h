#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

Result FunctionFamily(Engine& engine);
Result ReturnCommand(Engine& engine);

}  // namespace ixo
