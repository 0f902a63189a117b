// "s" (value) and "?" (choice): the two commands that only hand back a text.
#pragma once

#include "engine/result.h"

namespace ixo {

class Engine;

// P1 as its numeric value when it is a numeric expression, else P1 itself.
Result ValueCommand(Engine& engine);
// P1 alone when P2 and P3 are empty; else P2 when P1 begins with "1", otherwise P3.
Result ChoiceCommand(Engine& engine);

}  // namespace ixo
