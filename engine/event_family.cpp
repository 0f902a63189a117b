// "event" "end" and "event" "exit": end the running event.
#include "engine/event_family.h"

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/event_runner.h"
#include "engine/messages.h"

namespace ixo {

Result EventFamily(Engine& engine) {
  const std::string& k2 = engine.slots.K(2);
  if (k2 == "end" || k2 == "exit") {
    // Loop stacks, call frames and the function name stay as they are.
    EndRunningEvent(engine);
    return kNoResult;
  }
  // Most often a header line reached by running past the end of the previous event.
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
