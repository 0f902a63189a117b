#include "app/headless_runner.h"

#include <fstream>
#include <iterator>
#include <ostream>

#include "engine/event_runner.h"
#include "engine/family_table.h"
#include "engine/script_file.h"
#include "engine/script_source.h"

namespace ixo {

HeadlessRunner::HeadlessRunner(std::ostream& out, std::ostream& err)
    : HeadlessRunner(out, err, StandardFamilies()) {}

HeadlessRunner::HeadlessRunner(std::ostream& out, std::ostream& err, const FamilyTable& families)
    : message_box_(out) {
  engine_ = std::make_unique<Engine>(PlatformServices{&message_box_, &clock_, &application_}, families);
  engine_->hooks.on_error_report = [&err](const std::string& report) { err << report << "\n\n" << std::flush; };
}

void HeadlessRunner::Run(std::optional<uint64_t> run_for_ms) {
  RaiseEvent(*engine_, "_initialize", true, 0, false);
  RaiseEvent(*engine_, "initialize", true, 0, false);
  RunQueuedEvents(run_for_ms);
}

void HeadlessRunner::RunQueuedEvents(std::optional<uint64_t> run_for_ms) {
  uint64_t deadline = run_for_ms ? clock_.elapsed_ms() + *run_for_ms : UINT64_MAX;
  while (!application_.TerminateRequested() && !engine_->context.shutting_down) {
    if (RunDueQueuedEvent(*engine_)) continue;
    // Nothing can run now: jump to the earliest entry that is not yet due.
    uint32_t now = clock_.TickCount();
    std::optional<uint32_t> next_due;
    for (const QueuedEvent& entry : engine_->queue.entries())
      if (entry.due_tick > now && (!next_due || entry.due_tick < *next_due)) next_due = entry.due_tick;
    if (!next_due || clock_.elapsed_ms() + (*next_due - now) > deadline) break;
    clock_.Advance(*next_due - now);
  }
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
