#include "app/object_run.h"

#include <filesystem>
#include <fstream>

#include "engine/ascii_case.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/event_runner.h"
#include "engine/host_path.h"
#include "engine/script_loader.h"
#include "package/object_package.h"
#include "window/engine_windows.h"

namespace ixo {

namespace {

namespace fs = std::filesystem;

constexpr const char* kEngineVersion = "252";

std::string Trimmed(std::string text) {
  const char* blanks = " \t\r\n";
  text.erase(0, text.find_first_not_of(blanks));
  text.erase(text.find_last_not_of(blanks) + 1);
  return text;
}

// With no package named, a copy of the program named after an object runs the
// package of that name beside it: "clock.exe" runs "clock.ixo", "clock" runs
// "clock.ixo".
std::string DefaultPackage(const std::string& program) {
  std::string lowered = LowerAscii(program);
  size_t at = lowered.find(".exe");
  if (at == std::string::npos) return program + ".ixo";
  std::string name = program;
  for (; at != std::string::npos; at = LowerAscii(name).find(".exe", at + 4)) name.replace(at, 4, ".ixo");
  return name;
}

// Appends a library's script lines after the object's own. A missing library
// counts as empty.
void AppendLibrary(const std::string& script_path, const std::string& library_path) {
  std::ifstream library(library_path, std::ios::binary);
  if (!library) return;
  std::ofstream script(script_path, std::ios::binary | std::ios::app);
  // Both files are stored inverted; a line break between them keeps their last
  // and first lines apart (CR inverted is 0xF2).
  script << static_cast<char>(0xF2) << library.rdbuf();
}

// A restarted run gets the package and "/norestart", so it restarts no further.
void RestartOnce(Engine& engine, const RunArguments& arguments) {
  if (LowerAscii(Trimmed(arguments.restart)) == "/norestart") return;
  engine.platform.process_starter->Open(arguments.program,
                                        "\"" + engine.header.package_path + "\" \"/norestart\"");
}

}  // namespace

bool StartLoadedObject(Engine& engine, EngineWindows& windows) {
  engine.startup.time_base_count = engine.platform.clock->HighResolutionCount();
  engine.startup.time_base_frequency = engine.platform.clock->HighResolutionFrequency();
  RaiseEvent(engine, "_initialize", true, 0, false);
  RaiseEvent(engine, "initialize", true, 0, false);
  if (engine.context.shutting_down || engine.platform.application->TerminateRequested()) return false;
  CreateEngineWindow(windows, 0);
  return true;
}

void RunLoadedObject(Engine& engine, EngineWindows& windows, const MessageLoop& message_loop) {
  if (StartLoadedObject(engine, windows)) message_loop();
  EngineShutdown(windows, true);
}

bool RunObjectPackage(Engine& engine, EngineWindows& windows, const RunArguments& arguments,
                      const MessageLoop& message_loop) {
  engine.startup.browser_available = true;
  std::string file = LowerAscii(arguments.package);
  if (file.empty()) file = DefaultPackage(arguments.program);
  engine.startup.command_line_file = file;
  if (file.find(".ixo") == std::string::npos) {
    EngineMessageBox(engine, "Cannot read this file : " + file);
    return false;
  }
  const std::string package_file = HostPath(file);
  if (!fs::is_regular_file(package_file)) {
    EngineMessageBox(engine, "Cannot find " + file + "##IxoEngine version " + kEngineVersion);
    return false;
  }
  engine.header.package_path = file;
  engine.header.object_name = fs::path(HostPath(file)).stem().string();
  engine.header.object_name = LowerAscii(engine.header.object_name);

  ExtractRequest request;
  request.package_path = package_file;
  request.make_extraction_folder = true;
  request.register_instance = true;
  if (!ExtractPackage(engine, request)) {
    RestartOnce(engine, arguments);
    return false;
  }
  const std::string folder = engine.header.extraction_folder;
  std::error_code error;
  const fs::path previous_directory = fs::current_path(error);
  fs::current_path(folder, error);
  engine.startup.keep_folder = false;

  const std::string script = folder + "identity.vexe";
  for (const char* library : {"_identity.lib", "_identity2.lib"})
    if (fs::exists(folder + library)) AppendLibrary(script, folder + library);
  LoadScript(engine, script);
  RunLoadedObject(engine, windows, message_loop);

  fs::current_path(previous_directory, error);
  if (!engine.startup.keep_folder) RemoveFolder(folder);
  // Object semaphores are given back here once engines count their instances.
  return true;
}

}  // namespace ixo
