#include "engine/value_family.h"

#include "engine/engine.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"

namespace ixo {

Result ValueCommand(Engine& engine) {
  const std::string& p1 = engine.slots.P(1);
  if (IsNumericExpression(p1)) return NumberText(EvaluateNumber(p1, 0));
  return p1;
}

Result ChoiceCommand(Engine& engine) {
  const CommandSlots& slots = engine.slots;
  if (slots.P(2).empty() && slots.P(3).empty()) return slots.P(1);
  return slots.P(1).starts_with('1') ? slots.P(2) : slots.P(3);
}

}  // namespace ixo
