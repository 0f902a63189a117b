// "if" (false only when P1 begins with "0"), "if" "else" and "if" "end".
#include "engine/control_families.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/event_runner.h"
#include "engine/messages.h"

namespace ixo {

namespace {

constexpr const char* kIfStructure = "Error in If/End structure. Verify if their is one if.end for each if.";

}  // namespace

Result IfFamily(Engine& engine) {
  ControlState& control = engine.control;
  ExecutionContext& context = engine.context;
  const std::string& k2 = engine.slots.K(2);
  if (k2.empty()) {
    ++control.if_counter;
    if (!engine.slots.P(1).starts_with('0')) return kNoResult;
    IfScanStop stop = engine.blocks.SkipFalseBranch(context.current_line + 1);
    if (stop.line == kNotFound) {
      ReportError(engine, kIfStructure);
      EndRunningEvent(engine);
      return kNoResult;
    }
    if (!stop.at_else) --control.if_counter;
    context.current_line = stop.line;
  } else if (k2 == "else") {
    int end = engine.blocks.SkipElseBranch(context.current_line + 1, control.if_counter);
    if (end == kNotFound) {
      ReportError(engine, kIfStructure);
      EndRunningEvent(engine);
      return kNoResult;
    }
    context.current_line = end;
  } else if (k2 == "end") {
    if (control.if_counter > 0) --control.if_counter;
  } else {
    ReportError(engine, message::kUnknownCommand);
  }
  return kNoResult;
}

}  // namespace ixo
