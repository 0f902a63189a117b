#include "tests/support/script_test.h"

#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>

#include "engine/dispatcher.h"
#include "engine/event_runner.h"
#include "engine/family_table.h"
#include "engine/script_loader.h"
#include "engine/script_source.h"
#include "engine/variables.h"
#include "window/engine_windows.h"

namespace ixo {

namespace {

Result RaiseCommand(Engine& engine) {
  RaiseEvent(engine, engine.slots.P(1), engine.slots.P(2).starts_with('1'), 0, false);
  return kNoResult;
}

Result CloseCommand(Engine& engine) {
  engine.context.closing = true;
  return kNoResult;
}

Result CancelCloseCommand(Engine& engine) {
  engine.windows->cancel_close = true;
  return kNoResult;
}

Result ThrowCommand(Engine& engine) { throw std::runtime_error(engine.slots.P(1)); }

const FamilyTable& TestFamilies() {
  static const FamilyTable table = [] {
    std::vector<FamilyEntry> entries = StandardFamilyEntries();
    entries.push_back({"raise", RaiseCommand});
    entries.push_back({"close", CloseCommand});
    entries.push_back({"cancelclose", CancelCloseCommand});
    entries.push_back({"throw", ThrowCommand});
    return FamilyTable(entries);
  }();
  return table;
}

}  // namespace

namespace {

// Settings a test writes go to a folder of its own process, never the user's.
// The store opens at its first use, so this is early enough.
void KeepSettingsApart() {
  const std::string folder = testing::TempDir() + "ixo_home_" + std::to_string(getpid());
  setenv("IXO_HOME", folder.c_str(), 1);
}

}  // namespace

ScriptTest::ScriptTest() : runner_(out_, err_, TestFamilies()) {
  KeepSettingsApart();
  runner_.engine().hooks.on_error_report = [this](const std::string& report) { reports_.push_back(report); };
  runner_.engine().hooks.on_event_started = [this](const std::string& name, int window_index) {
    events_.push_back(window_index == 0 ? name : name + "@" + std::to_string(window_index));
  };
}

void ScriptTest::Load(const std::string& source) {
  source::AssembleResult assembled = source::Assemble(source, "test.ixs");
  ASSERT_FALSE(assembled.error) << assembled.error->ToString();
  LoadScriptLines(engine(), assembled.lines);
}

void ScriptTest::Run(const std::string& source) {
  Load(source);
  runner_.Run();
}

Result ScriptTest::Command(const std::vector<std::string>& path, const std::vector<std::string>& parameters) {
  CommandSlots& slots = engine().slots;
  for (size_t i = 0; i < slots.keyword.size(); ++i) slots.keyword[i] = i < path.size() ? path[i] : "";
  for (size_t i = 0; i < slots.parameter.size(); ++i) slots.parameter[i] = i < parameters.size() ? parameters[i] : "";
  return Dispatch(engine());
}

std::string ScriptTest::Var(const std::string& name) {
  int index = engine().variables.Find(name);
  if (index < 0) return "<missing>";
  const Variable& variable = engine().variables.at(index);
  return variable.elements.empty() ? "" : variable.elements[0];
}

std::string ScriptTest::AllReports() const {
  std::string all;
  for (const std::string& report : reports_) all += report + "\n----\n";
  return all;
}

}  // namespace ixo
