// The control structures: "while", "for", "if" and "doevent". Each moves the run
// loop's current line; the run loop then advances past it.
#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

Result WhileFamily(Engine& engine);
Result ForFamily(Engine& engine);
Result IfFamily(Engine& engine);
Result DoEventCommand(Engine& engine);

}  // namespace ixo
