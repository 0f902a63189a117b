#include "engine/function_call.h"

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/event_runner.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/tokens.h"
#include "engine/value_text.h"
#include "engine/variables.h"

namespace ixo {

namespace {

constexpr size_t kMaxFunctionNameLength = 127;

// The parameter names of a function header: the texts between 143 and 144,
// separated by 142, each cut to its first 60 characters.
std::vector<std::string_view> ParameterNames(std::string_view header) {
  std::vector<std::string_view> names;
  size_t at = header.find(static_cast<char>(token::kOpen));
  if (at == std::string_view::npos) return names;
  std::string_view list = header.substr(at + 1);
  if (!list.empty() && static_cast<unsigned char>(list.back()) == token::kClose) list.remove_suffix(1);
  size_t start = 0;
  while (names.size() < kMaxFunctionParameters) {
    size_t end = list.find(static_cast<char>(token::kSeparator), start);
    if (end == std::string_view::npos) end = list.size();
    names.push_back(list.substr(start, std::min(end - start, kMaxParameterNameLength)));
    if (end == list.size()) break;
    start = end + 1;
  }
  return names;
}

// Parameters are ordinary global variables; an empty name skips its argument.
void BindParameters(Engine& engine, int header_line, const std::vector<std::string>& arguments) {
  std::vector<std::string_view> names = ParameterNames(engine.script.line(header_line).text);
  for (size_t i = 0; i < names.size() && i < arguments.size(); ++i)
    if (!names[i].empty()) AssignVariable(engine, names[i], arguments[i]);
}

// Opens a frame for a call. A call at the depth limit is refused without taking
// a frame, and "memoryfull" tells the script.
bool EnterFunction(Engine& engine, const std::string& name, std::string saved_line, int start, int end) {
  ControlState& control = engine.control;
  if (control.call_depth + 1 >= kMemoryFullCallDepth) {
    RaiseEvent(engine, "memoryfull", false, 0, false);
    return false;
  }
  ++control.call_depth;
  if (control.frames.size() <= static_cast<size_t>(control.call_depth)) control.frames.resize(control.call_depth + 1);
  CallFrame& frame = control.frames[control.call_depth];
  frame.return_line = engine.context.current_line;
  frame.function = name;
  frame.saved_line = std::move(saved_line);
  frame.evaluation_start = start;
  frame.evaluation_end = end;
  engine.context.current_function = name;
  return true;
}

void RefuseCall(Engine& engine, const std::string& name) {
  engine.context.last_error = name;
  ReportError(engine, message::kUnknownKeyword);
  engine.context.abort_line = true;
}

}  // namespace

Result CallFunctionFromCommand(Engine& engine) {
  const CommandSlots& slots = engine.slots;
  std::string name = slots.keyword[0];
  for (int i = 1; i < 4 && !slots.keyword[i].empty(); ++i) name += ":" + slots.keyword[i];
  if (name.size() > kMaxFunctionNameLength) name.resize(kMaxFunctionNameLength);
  if (!name.empty() && name[0] == '_') name.erase(0, 1);

  int header = engine.script.FindFunction(name);
  ExecutionContext& context = engine.context;
  if (header < 0 || !EnterFunction(engine, name, context.work_buffer, context.evaluation_start,
                                   context.evaluation_end)) {
    RefuseCall(engine, name);
    return kNoResult;
  }
  // Binding may report errors, which can run script lines: copy the arguments first.
  std::vector<std::string> arguments(slots.parameter.begin(), slots.parameter.end());
  BindParameters(engine, header, arguments);
  context.current_line = header + 1;
  if (context.current_line < engine.script.line_count()) context.work_buffer = engine.script.line(header + 1).text;
  else context.work_buffer.clear();
  context.rerun = true;
  context.abort_line = true;
  return kNoResult;
}

Result ReturnFromFunction(Engine& engine) {
  ControlState& control = engine.control;
  ExecutionContext& context = engine.context;
  if (control.call_depth < 0) {
    ReportError(engine, "Misplaced command : Function.End");
    return kNoResult;
  }
  const std::string& p1 = engine.slots.parameter[0];
  std::string value = IsNumericExpression(p1) ? NumberText(EvaluateNumber(p1, 0)) : p1;
  CallFrame& frame = control.frames[control.call_depth];
  context.work_buffer = std::move(frame.saved_line);
  int start = frame.evaluation_start, end = frame.evaluation_end;
  if (start >= 0 && end >= start && static_cast<size_t>(end) < context.work_buffer.size()) {
    context.work_buffer.replace(start, end - start + 1, value);
    context.rerun = true;
  } else {
    context.work_buffer = std::move(value);
  }
  context.current_line = frame.return_line;
  --control.call_depth;
  context.current_function = control.call_depth >= 0 ? control.frames[control.call_depth].function : "";
  return kNoResult;
}

bool CallScriptFunction(Engine& engine, std::string_view name, const std::vector<std::string>& arguments) {
  int header = engine.script.FindFunction(name);
  if (header < 0 || !EnterFunction(engine, std::string(name), std::string(), -1, -1)) return false;
  BindParameters(engine, header, arguments);
  engine.context.current_line = header + 1;
  RunEventLines(engine);
  engine.context.work_buffer.clear();
  return true;
}

}  // namespace ixo
