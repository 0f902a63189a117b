// Fuzz target: a script file from a stranger is loaded, every line is evaluated on
// its own, and the object runs its events with a bounded number of lines.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "app/headless_runner.h"
#include "engine/event_runner.h"
#include "engine/line_evaluation.h"
#include "engine/script_file.h"
#include "engine/script_loader.h"

namespace {

constexpr uint64_t kLineBudget = 20000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ostringstream out, err;
  ixo::HeadlessRunner runner(out, err);
  ixo::Engine& engine = runner.engine();
  ixo::LoadScriptLines(engine, ixo::DecodeScriptFile(std::string(reinterpret_cast<const char*>(data), size)));

  engine.context.line_budget = kLineBudget;
  for (int i = 0; i < engine.script.line_count() && !engine.context.shutting_down; ++i) {
    std::string line = engine.script.line(i).text;
    ixo::EvaluateLine(engine, line, true);
    engine.context.abort_line = false;
    engine.context.rerun = false;
  }

  engine.context = ixo::ExecutionContext();
  engine.context.line_budget = kLineBudget;
  runner.Run(60000);
  for (const ixo::HeaderEntry& event : engine.script.events()) {
    if (engine.context.shutting_down) break;
    ixo::RaiseEvent(engine, event.name, true, 0, false);
  }
  return 0;
}
