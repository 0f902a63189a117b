// ixoengine: runs an object, builds a package, or (later) installs itself.
//   ixoengine PACKAGE.ixo [/norestart]
//   ixoengine --headless [--run-for MS] [--screen WxH] [--dump-vars] FILE [/norestart]
//   ixoengine /make[/exe][xK] FOLDER NAME OBJID CREATOR NOTE LONGNOTE FAMILY
// FILE is a package (.ixo), a script file (.vexe) or a script source (.ixs).
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop_runner.h"
#include "app/headless_runner.h"
#include "engine/ascii_case.h"
#include "engine/script_loader.h"
#include "package/command_line_build.h"
#include "package/object_package.h"

namespace {

constexpr const char* kUsage =
    "usage: ixoengine PACKAGE.ixo [/norestart]\n"
    "       ixoengine --headless [--run-for MS] [--screen WxH] [--dump-vars] FILE [/norestart]\n"
    "       ixoengine /make[/exe][xK] FOLDER NAME OBJID CREATOR NOTE LONGNOTE FAMILY\n"
    "  FILE is a package (.ixo), a script file (.vexe) or a script source (.ixs)\n";

int Usage() {
  std::cerr << kUsage;
  return 2;
}

std::optional<uint64_t> ParseMilliseconds(const std::string& text) {
  char* end = nullptr;
  unsigned long long value = std::strtoull(text.c_str(), &end, 10);
  if (end == text.c_str() || *end != '\0' || text[0] == '-') return std::nullopt;
  return value;
}

std::optional<ixo::platform::Size> ParseScreen(const std::string& text) {
  int width = 0, height = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &width, &height, &tail) != 2 || width <= 0 || height <= 0)
    return std::nullopt;
  return ixo::platform::Size{width, height};
}

std::string Trimmed(std::string text) {
  text.erase(0, text.find_first_not_of(" \t"));
  text.erase(text.find_last_not_of(" \t") + 1);
  return text;
}

// The program's own file, to start it again; argv[0] when the system cannot tell.
std::string ProgramPath(const char* argv0) {
  std::vector<char> buffer(4096);
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  return length > 0 ? std::string(buffer.data(), static_cast<size_t>(length)) : std::string(argv0);
}

struct HeadlessOptions {
  bool dump_vars = false;
  std::optional<uint64_t> run_for;
  ixo::platform::Size screen = ixo::platform::kDefaultScreenSize;
  std::vector<std::string> files;  // the file and, for a package, "/norestart"
};

std::optional<HeadlessOptions> ParseHeadlessOptions(const std::vector<std::string>& args) {
  HeadlessOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    bool has_value = i + 1 < args.size();
    if (arg == "--headless") continue;
    if (arg == "--dump-vars") {
      options.dump_vars = true;
    } else if (arg == "--run-for" && has_value) {
      if (!(options.run_for = ParseMilliseconds(args[++i]))) return std::nullopt;
    } else if (arg == "--screen" && has_value) {
      std::optional<ixo::platform::Size> screen = ParseScreen(args[++i]);
      if (!screen) return std::nullopt;
      options.screen = *screen;
    } else if (arg.starts_with("--")) {
      return std::nullopt;
    } else {
      options.files.push_back(arg);
    }
  }
  if (options.files.empty() || options.files.size() > 2) return std::nullopt;
  return options;
}

// Scripts end in .vexe or .ixs; everything else is taken for a package.
bool IsScript(const std::string& file) { return file.ends_with(".vexe") || file.ends_with(".ixs"); }

int RunHeadless(const std::string& program, const HeadlessOptions& options) {
  ixo::HeadlessRunner runner(std::cout, std::cerr, options.screen);
  const std::string& file = options.files[0];
  if (IsScript(file)) {
    std::string error;
    std::optional<std::vector<std::string>> lines = ixo::ReadScriptLines(file, error);
    if (!lines) {
      std::cerr << error << '\n';
      return 1;
    }
    ixo::LoadScriptLines(runner.engine(), *lines);
    runner.Run(options.run_for);
  } else {
    std::string restart = options.files.size() > 1 ? options.files[1] : "";
    if (!runner.RunPackage({program, file, restart}, options.run_for)) return 1;
  }
  if (options.dump_vars) runner.DumpVariables(std::cout);
  return 0;
}

int Build(const std::string& program, const std::vector<std::string>& args) {
  ixo::HeadlessRunner runner(std::cout, std::cerr);
  ixo::BuildOutcome outcome = ixo::BuildFromCommandLine(runner.engine(), args);
  // "/exe" runs the package just built, named from the folder and the name, on
  // the desktop as opening it would.
  if (ixo::LowerAscii(args[1]).find("/exe") != std::string::npos && args.size() > 3) {
    ixo::platform::SpawnProcessStarter starter;
    starter.Open(program, "\"" + args[2] + args[3] + ".ixo\"");
  }
  return outcome == ixo::BuildOutcome::kBuilt ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  const std::string program = ProgramPath(argv[0]);
  ixo::EngineTemporaryFolder();  // created when missing

  const std::string mode = args.size() > 1 ? ixo::LowerAscii(Trimmed(args[1])) : "";
  if (mode == "/setup") {
    std::cerr << "ixoengine: installing is not available in this build yet.\n";
    return 1;
  }
  if (mode.find("/make") != std::string::npos) return Build(program, args);

  std::vector<std::string> rest(args.begin() + 1, args.end());
  bool headless = !rest.empty() && rest[0] == "--headless";
  if (!headless) {
    if (!rest.empty() && rest[0].starts_with("--")) return Usage();
    return ixo::RunOnDesktop({program, args.size() > 1 ? args[1] : "", args.size() > 2 ? args[2] : ""}, std::cerr);
  }
  std::optional<HeadlessOptions> options = ParseHeadlessOptions(rest);
  if (!options) return Usage();
  return RunHeadless(program, *options);
}
