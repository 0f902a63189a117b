#include "engine/error_report.h"

#include "engine/engine.h"
#include "engine/event_runner.h"
#include "engine/tokens.h"

namespace ixo {

namespace {

// The command in the slots as K1.K2...(P1,P2,...), each list up to its first empty entry.
std::string CodeText(const CommandSlots& slots) {
  std::string code = slots.keyword[0];
  for (int i = 1; i < kKeywordParts && !slots.keyword[i].empty(); ++i) code += "." + slots.keyword[i];
  code += "(" + slots.parameter[0];
  for (int i = 1; i < kParameters && !slots.parameter[i].empty(); ++i) code += "," + slots.parameter[i];
  return code + ")";
}

// Line breaks for "#", and the token bytes as the characters that read as source.
std::string ShowTokensAsSource(std::string_view report) {
  std::string shown;
  shown.reserve(report.size());
  for (char c : report) {
    switch (static_cast<unsigned char>(c)) {
      case '#': shown += '\n'; break;
      case token::kOpen: shown += '('; break;
      case token::kClose: shown += ')'; break;
      case token::kNestOpen: shown += '['; break;
      case token::kNestClose: shown += ']'; break;
      case token::kCondition: shown += ' '; break;
      case token::kSeparator: shown += '.'; break;
      default: shown += c;
    }
  }
  return shown;
}

}  // namespace

std::string BuildErrorReport(const Engine& engine, std::string_view message) {
  const ExecutionContext& context = engine.context;
  std::string block = "#" + std::string(message) + "##Code line :#" + CodeText(engine.slots);
  std::string report;
  if (context.current_line == -1) {
    report = "External error :##" + block + "#" + std::string(message);
  } else {
    if (context.current_event.empty()) report = message;
    else if (!context.current_function.empty()) report = "Error in Function." + context.current_function + block;
    else report = "Error in Event." + context.current_event + block;
    report += "##Source code (line " + std::to_string(context.current_line) + ") :#";
    if (context.current_line < engine.script.line_count()) {
      const ScriptLine& line = engine.script.line(context.current_line);
      report += line.label + " = " + line.text;
    }
  }
  return ShowTokensAsSource(report);
}

void ReportError(Engine& engine, std::string_view message) {
  ExecutionContext& context = engine.context;
  if (!context.error_reporting || context.current_event == "_initialize") return;
  context.last_error = BuildErrorReport(engine, message);
  if (engine.hooks.on_error_report) engine.hooks.on_error_report(context.last_error);
  RaiseEvent(engine, "error", false, 0, false);
}

int EngineMessageBox(Engine& engine, std::string_view text, unsigned style) {
  if (engine.hooks.before_message_box) engine.hooks.before_message_box();
  std::string shown(text);
  for (char& c : shown)
    if (c == '#') c = '\n';
  return engine.platform.message_box->Show(shown, style);
}

}  // namespace ixo
