// ixoengine: runs an object or builds a package. For now only the headless host exists:
//   ixoengine --headless [--run-for MS] [--dump-vars] FILE
//   ixoengine /make[/exe][xK] FOLDER NAME OBJID CREATOR NOTE LONGNOTE FAMILY
// FILE is a package (.ixo), a script file (.vexe) or a script source (.ixs).
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "app/headless_runner.h"
#include "app/package_run.h"
#include "package/command_line_build.h"
#include "engine/script_loader.h"

namespace {

constexpr const char* kUsage =
    "usage: ixoengine --headless [--run-for MS] [--dump-vars] FILE\n"
    "       ixoengine /make[/exe][xK] FOLDER NAME OBJID CREATOR NOTE LONGNOTE FAMILY\n"
    "  FILE is a package (.ixo), a script file (.vexe) or a script source (.ixs)\n";

int Usage() {
  std::cerr << kUsage;
  return 2;
}

std::optional<uint64_t> ParseMilliseconds(const char* text) {
  char* end = nullptr;
  unsigned long long value = std::strtoull(text, &end, 10);
  if (end == text || *end != '\0' || text[0] == '-') return std::nullopt;
  return value;
}

// The build mode: the first argument holds "/make" in any letter case.
bool IsBuildSwitch(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  return text.find("/make") != std::string::npos;
}

// Scripts end in .vexe or .ixs; everything else is taken for a package.
bool IsPackage(const std::string& file) { return !file.ends_with(".vexe") && !file.ends_with(".ixs"); }

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && IsBuildSwitch(argv[1])) {
    ixo::HeadlessRunner runner(std::cout, std::cerr);
    ixo::BuildOutcome outcome = ixo::BuildFromCommandLine(runner.engine(), std::vector<std::string>(argv, argv + argc));
    return outcome == ixo::BuildOutcome::kBuilt ? 0 : 1;
  }

  bool headless = false;
  bool dump_vars = false;
  std::optional<uint64_t> run_for;
  std::string file;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--headless") {
      headless = true;
    } else if (arg == "--dump-vars") {
      dump_vars = true;
    } else if (arg == "--run-for" && i + 1 < argc) {
      run_for = ParseMilliseconds(argv[++i]);
      if (!run_for) return Usage();
    } else if (arg.starts_with("--") || !file.empty()) {
      return Usage();
    } else {
      file = arg;
    }
  }
  if (!headless || file.empty()) return Usage();

  ixo::HeadlessRunner runner(std::cout, std::cerr);
  if (IsPackage(file)) {
    if (!ixo::RunPackage(runner, file, run_for)) return 1;
  } else {
    std::string error;
    std::optional<std::vector<std::string>> lines = ixo::ReadScriptLines(file, error);
    if (!lines) {
      std::cerr << error << '\n';
      return 1;
    }
    ixo::LoadScriptLines(runner.engine(), *lines);
    runner.Run(run_for);
  }
  if (dump_vars) runner.DumpVariables(std::cout);
  return 0;
}
