// "while" (P1 begins with "1": enter), "while" "end" (back to the test) and
// "while" "exit" (continue after the matching end).
#include "engine/control_families.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/event_runner.h"
#include "engine/messages.h"

namespace ixo {

namespace {

constexpr const char* kWhileStructure =
    "Error in While/End structure. Verify if their is one while.end for eatch while.";

// Continues after the matching "while" "end" and closes the loop.
void LeaveLoop(Engine& engine) {
  int end = engine.blocks.MatchingWhileEnd(engine.context.current_line + 1);
  --engine.control.while_depth;
  if (end == kNotFound) {
    ReportError(engine, kWhileStructure);
    EndRunningEvent(engine);
    return;
  }
  engine.context.current_line = end;
}

}  // namespace

Result WhileFamily(Engine& engine) {
  ControlState& control = engine.control;
  const std::string& k2 = engine.slots.K(2);
  if (k2.empty()) {
    ++control.while_depth;
    if (!engine.slots.P(1).starts_with('1')) {
      LeaveLoop(engine);
    } else if (control.while_depth >= kMaxLoopDepth) {
      --control.while_depth;
      ReportError(engine, "Too many whiles.");
      EndRunningEvent(engine);
    } else {
      if (control.while_lines.size() <= static_cast<size_t>(control.while_depth))
        control.while_lines.resize(control.while_depth + 1);
      control.while_lines[control.while_depth] = engine.context.current_line;
    }
  } else if (k2 == "end") {
    if (control.while_depth < 0) {
      ReportError(engine, kWhileStructure);
    } else {
      // The run loop advances onto the "while" line, which tests its condition again.
      engine.context.current_line = control.while_lines[control.while_depth] - 1;
      --control.while_depth;
    }
  } else if (k2 == "exit") {
    if (control.while_depth < 0) ReportError(engine, kWhileStructure);
    else LeaveLoop(engine);
  } else {
    ReportError(engine, message::kUnknownCommand);
  }
  return kNoResult;
}

}  // namespace ixo
