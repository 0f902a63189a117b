// The headless host: an object runs on a virtual desktop in memory, message
// boxes are printed as "[message] TEXT" lines, error reports go to the error
// stream, and a virtual clock jumps to the next due timer instead of waiting.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/object_run.h"
#include "engine/engine.h"
#include "platform/headless/headless_message_box.h"
#include "platform/headless/virtual_clock.h"
#include "platform/headless/virtual_desktop.h"
#include "platform/spawn_process_starter.h"
#include "window/engine_windows.h"

namespace ixo {

class HeadlessRunner {
 public:
  HeadlessRunner(std::ostream& out, std::ostream& err, platform::Size screen = platform::kDefaultScreenSize);
  HeadlessRunner(std::ostream& out, std::ostream& err, const FamilyTable& families,
                 platform::Size screen = platform::kDefaultScreenSize);

  Engine& engine() { return *engine_; }
  EngineWindows& windows() { return *windows_; }
  platform::VirtualClock& clock() { return clock_; }
  platform::VirtualDesktop& desktop() { return desktop_; }
  // Replaces the starter of new processes (tests watch restarts with their own).
  void set_process_starter(platform::ProcessStarter& starter) { engine_->platform.process_starter = &starter; }

  // Runs the loaded script as an object: initialization events, the main window
  // and its "load", then timers and queued events until the object ends, nothing
  // is scheduled any more, or the clock has advanced run_for_ms.
  void Run(std::optional<uint64_t> run_for_ms = std::nullopt);

  // The first half of Run: the object is started and its main window created,
  // but no timer has run yet (the caller drives the desktop).
  bool Start() { return StartLoadedObject(*engine_, *windows_); }

  // Runs the package as the desktop host does, on the virtual desktop.
  bool RunPackage(const RunArguments& arguments, std::optional<uint64_t> run_for_ms = std::nullopt);

  // Every element of every variable as "name[index]=value" lines, in variable
  // order and then element order.
  void DumpVariables(std::ostream& out) const;

 private:
  platform::HeadlessMessageBox message_box_;
  platform::VirtualClock clock_;
  platform::VirtualDesktop desktop_;
  // A restarted run stays headless.
  platform::SpawnProcessStarter process_starter_{{"--headless"}};
  std::unique_ptr<Engine> engine_;
  std::unique_ptr<EngineWindows> windows_;
};

// Reads a script to run: a script file (.vexe) as it is, a source file (.ixs)
// assembled in memory. On failure returns nothing and sets error.
std::optional<std::vector<std::string>> ReadScriptLines(const std::string& path, std::string& error);

}  // namespace ixo
