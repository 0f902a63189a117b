// "for" (P1 loop variable, P2 start, P3 end excluded, P4 step), "for" "next" and
// "for" "exit". The loop counts with its own record; changing the variable inside
// the body does not change the count.
#include "engine/control_families.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/event_runner.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"
#include "engine/variables.h"

namespace ixo {

namespace {

constexpr const char* kForStructure = "Error in For/Next structure. Verify if their is one next for eatch for.";

bool InsideRange(int64_t value, const ForLoop& loop) { return loop.step > 0 ? value < loop.end : value > loop.end; }

// The loop variable may have been freed (and later ones moved down) since the loop began.
void StoreLoopValue(Engine& engine, const ForLoop& loop) {
  if (loop.variable >= 0 && loop.variable < engine.variables.count())
    SetElement(engine, loop.variable, 0, NumberText(loop.value));
}

void ContinueAfterNext(Engine& engine, int from) {
  int next = engine.blocks.MatchingForNext(from);
  --engine.control.for_depth;
  if (next == kNotFound) {
    ReportError(engine, kForStructure);
    EndRunningEvent(engine);
    return;
  }
  engine.context.current_line = next;
}

void StartLoop(Engine& engine) {
  ControlState& control = engine.control;
  if (control.for_depth + 1 >= kMaxLoopDepth) {
    ReportError(engine, "Too many Fors.");
    EndRunningEvent(engine);
    return;
  }
  ++control.for_depth;
  if (control.for_loops.size() <= static_cast<size_t>(control.for_depth)) control.for_loops.resize(control.for_depth + 1);
  // Copies: the assignment below may report an error, which can run script lines.
  std::string variable = engine.slots.P(1), start_text = engine.slots.P(2), end_text = engine.slots.P(3),
              step_text = engine.slots.P(4);
  ForLoop loop;
  loop.variable = AssignVariable(engine, variable, start_text);
  loop.value = EvaluateNumber(start_text, 0);
  StoreLoopValue(engine, loop);
  loop.end = EvaluateNumber(end_text, 0);
  loop.step = EvaluateNumber(step_text, 1);
  loop.line = engine.context.current_line;
  control.for_loops[control.for_depth] = loop;
  if (!InsideRange(loop.value, loop)) ContinueAfterNext(engine, loop.line + 1);
}

void NextIteration(Engine& engine) {
  ControlState& control = engine.control;
  if (control.for_depth < 0) {
    ReportError(engine, kForStructure);
    return;
  }
  ForLoop& loop = control.for_loops[control.for_depth];
  int64_t value = int64_t{loop.value} + loop.step;
  if (InsideRange(value, loop)) {
    loop.value = static_cast<int>(value);
    StoreLoopValue(engine, loop);
    engine.context.current_line = loop.line;
  } else {
    --control.for_depth;
  }
}

}  // namespace

Result ForFamily(Engine& engine) {
  const std::string& k2 = engine.slots.K(2);
  if (k2.empty()) StartLoop(engine);
  else if (k2 == "next") NextIteration(engine);
  else if (k2 == "exit") {
    if (engine.control.for_depth < 0) ReportError(engine, kForStructure);
    else ContinueAfterNext(engine, engine.context.current_line);
  } else {
    ReportError(engine, message::kUnknownCommand);
  }
  return kNoResult;
}

}  // namespace ixo
