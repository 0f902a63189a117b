// Script functions. A call does not nest the interpreter: it saves the calling line,
// puts the function's first line into the work buffer and abandons the calling
// line; the return splices its value back into the saved line, which the run loop
// then evaluates again.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/result.h"

namespace ixo {

class Engine;

// The dispatcher's fall-through: calls the function named by the keyword path
// (K1:K2:K3:K4, a leading "_" removed) with P1..P13 as arguments, or reports
// "Unknown keyword or function call." and abandons the line.
Result CallFunctionFromCommand(Engine& engine);

// "return" and "function" "end": ends the innermost call with P1 as its value.
Result ReturnFromFunction(Engine& engine);

// The host's way to run a script function at once. Returns false when no function
// has exactly that name or the call depth is exhausted.
bool CallScriptFunction(Engine& engine, std::string_view name, const std::vector<std::string>& arguments);

}  // namespace ixo
