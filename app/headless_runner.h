// Runs a script on the headless host: no display, message boxes printed as
// "[message] TEXT" lines, error reports on the error stream, and a virtual clock
// that jumps to the next due event instead of waiting.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/headless/headless_application.h"
#include "platform/headless/headless_message_box.h"
#include "platform/headless/virtual_clock.h"

namespace ixo {

class HeadlessRunner {
 public:
  HeadlessRunner(std::ostream& out, std::ostream& err);
  HeadlessRunner(std::ostream& out, std::ostream& err, const FamilyTable& families);

  Engine& engine() { return *engine_; }
  platform::VirtualClock& clock() { return clock_; }

  // Raises "_initialize" and "initialize" at once, then runs queued events as
  // they fall due until none can run any more, the object ends, or the virtual
  // clock has advanced run_for_ms (when given).
  void Run(std::optional<uint64_t> run_for_ms = std::nullopt);

  // Runs queued events that are due or fall due within the bound.
  void RunQueuedEvents(std::optional<uint64_t> run_for_ms);

  // Every element of every variable as "name[index]=value" lines, in variable
  // order and then element order.
  void DumpVariables(std::ostream& out) const;

 private:
  platform::HeadlessMessageBox message_box_;
  platform::VirtualClock clock_;
  platform::HeadlessApplication application_;
  std::unique_ptr<Engine> engine_;
};

// Reads a script to run: a script file (.vexe) as it is, a source file (.ixs)
// assembled in memory. On failure returns nothing and sets error.
std::optional<std::vector<std::string>> ReadScriptLines(const std::string& path, std::string& error);

}  // namespace ixo
