// Nested evaluation of a command line and its split into the command slots.
#pragma once

#include <string>
#include <string_view>

#include "engine/result.h"

namespace ixo {

class Engine;

// Replaces every nested expression of text in place, innermost first and left to
// right: conditions by "1"/"0", variable references by the value, commands by
// their result. Then, when dispatch is true, splits and dispatches the line and
// returns its result; otherwise returns the substituted text. Returns no result
// at once when a nested command abandons the line (abort-line flag) or when
// another event took over the execution context while a nested command ran.
Result EvaluateLine(Engine& engine, std::string& text, bool dispatch);

// Fills the command slots from a command text. Reports a malformed command (it is
// still split as far as it goes) and then returns false.
bool SplitCommand(Engine& engine, std::string_view text);

// Fills the command slots from a command text and dispatches it.
Result SplitAndDispatch(Engine& engine, std::string_view text);

}  // namespace ixo
