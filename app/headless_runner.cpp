#include "app/headless_runner.h"

#include <fstream>
#include <iterator>
#include <ostream>

#include "engine/family_table.h"
#include "engine/script_file.h"
#include "engine/script_source.h"

namespace ixo {

HeadlessRunner::HeadlessRunner(std::ostream& out, std::ostream& err, platform::Size screen)
    : HeadlessRunner(out, err, StandardFamilies(), screen) {}

HeadlessRunner::HeadlessRunner(std::ostream& out, std::ostream& err, const FamilyTable& families,
                               platform::Size screen)
    : message_box_(out), desktop_(clock_, screen) {
  PlatformServices services{&message_box_, &clock_, &desktop_, &desktop_, &desktop_, &desktop_, &process_starter_};
  engine_ = std::make_unique<Engine>(services, families);
  engine_->hooks.on_error_report = [&err](const std::string& report) { err << report << "\n\n" << std::flush; };
  windows_ = std::make_unique<EngineWindows>(*engine_);
}

void HeadlessRunner::Run(std::optional<uint64_t> run_for_ms) {
  RunLoadedObject(*engine_, *windows_, [&] { desktop_.RunFor(run_for_ms); });
}

bool HeadlessRunner::RunPackage(const RunArguments& arguments, std::optional<uint64_t> run_for_ms) {
  return RunObjectPackage(*engine_, *windows_, arguments, [&] { desktop_.RunFor(run_for_ms); });
}

void HeadlessRunner::DumpVariables(std::ostream& out) const {
  const VariableTable& variables = engine_->variables;
  for (int v = 0; v < variables.count(); ++v) {
    const Variable& variable = variables.at(v);
    for (size_t i = 0; i < variable.elements.size(); ++i)
      out << variable.name << '[' << i << "]=" << variable.elements[i] << '\n';
  }
}

std::optional<std::vector<std::string>> ReadScriptLines(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = "Cannot read this file : " + path;
    return std::nullopt;
  }
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".ixs") == 0) {
    source::AssembleResult assembled = source::Assemble(bytes, path);
    if (assembled.error) {
      error = assembled.error->ToString();
      return std::nullopt;
    }
    return std::move(assembled.lines);
  }
  return DecodeScriptFile(std::move(bytes));
}

}  // namespace ixo
