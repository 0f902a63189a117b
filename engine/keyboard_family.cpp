#include "engine/keyboard_family.h"

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"
#include "window/engine_windows.h"

namespace ixo {

Result KeyboardFamily(Engine& engine) {
  const CommandSlots& slots = engine.slots;
  if (slots.K(2) == "keystate")
    return FlagText(engine.platform.input->IsKeyDown(EvaluateNumber(slots.P(1), 0)));

  int index = engine.windows ? ResolveWindowIndex(*engine.windows, slots.K(2)) : -1;
  if (index < 0) {
    ReportError(engine, message::kInvalidWindowIndex);
    return kNoResult;
  }
  const EngineWindow& window = *engine.windows->at(index);
  if (slots.K(3) == "code") return NumberText(window.key_code);
  if (slots.K(3) == "char") return std::string(1, static_cast<char>(window.key_character));
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
