#include "engine/event_runner.h"

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/line_evaluation.h"
#include "engine/messages.h"
#include "engine/variables.h"

namespace ixo {

namespace {

// A labelled line assigns its result to the variable its label names; the label
// may itself hold nested expressions, evaluated now.
void AssignToLabel(Engine& engine, const std::string& label, const std::string& value) {
  std::string target = label;
  Result evaluated = EvaluateLine(engine, target, false);
  if (evaluated) AssignVariable(engine, *evaluated, value);
}

}  // namespace

bool RaiseEvent(Engine& engine, std::string_view name, bool immediate, int window_index, bool group_suffix) {
  ExecutionContext& context = engine.context;
  if (context.shutting_down) return false;
  std::string full_name(name);
  if (group_suffix && window_index >= 0 && engine.hooks.window_group_name) {
    std::string group = engine.hooks.window_group_name(window_index);
    if (!group.empty()) full_name += ":" + group;
  }
  if (full_name.size() > kMaxEventNameLength) full_name.resize(kMaxEventNameLength);

  // The quick test: a name that occurs nowhere in the event list has no handler.
  if (engine.script.event_list().find(full_name) == std::string::npos) return false;
  // "load" is exempt because every new window raises it, possibly from another window's "load".
  if (full_name == context.current_event && full_name != "load") return false;

  if (immediate || context.current_line == -1) {
    int header = engine.script.FindEvent(full_name);
    if (header >= 0) {
      if (engine.hooks.on_event_started) engine.hooks.on_event_started(full_name, window_index);
      context.current_event = std::move(full_name);
      context.current_line = header + 1;
      context.event_window_index = window_index;
      RunEventLines(engine);
    }
    return true;
  }
  engine.queue.Push(std::move(full_name), 0, window_index);
  return false;
}

bool RunDueQueuedEvent(Engine& engine) {
  uint32_t now = engine.platform.clock->TickCount();
  // Entries whose raise finds no handler stay queued; the walk goes on past them.
  for (size_t i = 0; i < engine.queue.size() && engine.context.current_line == -1; ++i) {
    const QueuedEvent& entry = engine.queue.entries()[i];
    if (now < entry.due_tick) continue;
    std::string name = entry.name;
    if (RaiseEvent(engine, name, true, entry.window_index, false)) {
      // While the event ran, entries could only be appended, so this one is still at i.
      engine.queue.Remove(i);
      return true;
    }
  }
  return false;
}

void EndRunningEvent(Engine& engine) {
  engine.context.current_line = -1;
  engine.context.current_event.clear();
}

void RunEventLines(Engine& engine) {
  ExecutionContext& context = engine.context;
  const ScriptImage& script = engine.script;
  ++context.run_generation;
  while (true) {
    if (context.current_line < 0 || context.current_line >= script.line_count()) {
      context.current_line = -1;
      return;
    }
    if (context.line_budget != 0 && --context.line_budget == 0) {
      context.shutting_down = true;
      context.current_line = -1;
      return;
    }
    context.work_buffer = script.line(context.current_line).text;
    context.rerun = false;
    Result result = engine.decoded_lines.Run(engine, context.current_line);
    context.abort_line = false;
    // A function call or return has put another line into the work buffer.
    while (context.rerun) {
      context.rerun = false;
      result = EvaluateLine(engine, context.work_buffer, true);
      context.abort_line = false;
    }

    // The label read is that of the line where execution stands after the command.
    if (context.current_line >= 0 && context.current_line < script.line_count() && result) {
      const std::string& label = script.line(context.current_line).label;
      if (!label.empty()) AssignToLabel(engine, label, *result);
    }
    if (context.current_line == -1 || context.closing) return;
    if (++context.current_line >= script.line_count()) {
      ReportError(engine, message::kEndOfCode);
      // The event has ended; its name must not keep blocking later raises of it.
      EndRunningEvent(engine);
      return;
    }
  }
}

}  // namespace ixo
