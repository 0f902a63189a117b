// "function" "end" and "return": leave the innermost script function with a value.
#include "engine/function_family.h"

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/function_call.h"
#include "engine/messages.h"

namespace ixo {

Result FunctionFamily(Engine& engine) {
  if (engine.slots.K(2) != "end") {
    // Execution ran into a function header.
    ReportError(engine, message::kUnknownCommand);
    return kNoResult;
  }
  return ReturnFromFunction(engine);
}

Result ReturnCommand(Engine& engine) { return ReturnFromFunction(engine); }

}  // namespace ixo
