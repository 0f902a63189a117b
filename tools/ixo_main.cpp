// ixo: the developer tool. Each sub-command is one entry of kSubCommands.
//   ixo asm FILE.ixs [-o FILE.vexe]   assemble source into a script file
//   ixo disasm FILE.vexe              print the source of a script file
//   ixo build FOLDER [-o NAME.ixo]    assemble FOLDER/*.ixs and pack the folder
//   ixo list PACKAGE                  show a package's header and directory
//   ixo extract PACKAGE DEST          unpack a package
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "engine/script_file.h"
#include "engine/script_source.h"
#include "tools/package_commands.h"
#include "tools/tool_command.h"

namespace ixo::source {
namespace {

using tool::Arguments;
using tool::kExitFailure;
using tool::kExitUsage;

struct SubCommand {
  std::string_view name;
  int (*run)(const Arguments& arguments);  // the arguments after the sub-command name
  std::string_view usage;                  // the arguments, as shown after "ixo NAME"
  std::string_view summary;
};

int RunAsm(const Arguments& arguments);
int RunDisasm(const Arguments& arguments);

constexpr SubCommand kSubCommands[] = {
    {"asm", RunAsm, "FILE.ixs [-o FILE.vexe]", "assemble source into a script file (default: FILE.vexe)"},
    {"disasm", RunDisasm, "FILE.vexe", "print the source of a script file"},
    {"build", tool::RunBuild, "FOLDER [-o NAME.ixo]", "assemble FOLDER/*.ixs and pack the folder into a package"},
    {"list", tool::RunList, "PACKAGE", "show a package's header and directory"},
    {"extract", tool::RunExtract, "PACKAGE DEST", "unpack every file of a package into DEST"},
};

int PrintUsage() {
  size_t width = 0;
  for (const SubCommand& command : kSubCommands) width = std::max(width, command.name.size() + command.usage.size());
  std::cerr << "usage:\n";
  for (const SubCommand& command : kSubCommands) {
    const std::string call = std::string(command.name) + " " + std::string(command.usage);
    std::cerr << "  ixo " << call << std::string(width + 3 - call.size(), ' ') << command.summary << "\n";
  }
  return kExitUsage;
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return std::nullopt;
  return std::move(contents).str();
}

bool WriteFile(const std::string& path, std::string_view contents) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  file.close();
  return !file.fail();
}

int RunAsm(const Arguments& arguments) {
  std::optional<std::string> input;
  std::optional<std::string> output;
  for (size_t index = 0; index < arguments.size(); ++index) {
    if (arguments[index] == "-o" && index + 1 < arguments.size() && !output) {
      output = std::string(arguments[++index]);
    } else if (!arguments[index].starts_with("-") && !input) {
      input = std::string(arguments[index]);
    } else {
      return kExitUsage;
    }
  }
  if (!input) return kExitUsage;
  if (!output) output = std::filesystem::path(*input).replace_extension(".vexe").string();
  if (*output == *input) {
    std::cerr << "ixo: the output would overwrite " << *input << "; name another with -o\n";
    return kExitFailure;
  }

  const std::optional<std::string> source = ReadFile(*input);
  if (!source) {
    std::cerr << "ixo: cannot read " << *input << "\n";
    return kExitFailure;
  }
  const AssembleResult result = Assemble(*source, *input);
  if (result.error) {
    std::cerr << result.error->ToString() << "\n";
    return kExitFailure;
  }
  if (!WriteFile(*output, EncodeScriptFile(result.lines))) {
    std::cerr << "ixo: cannot write " << *output << "\n";
    return kExitFailure;
  }
  return 0;
}

int RunDisasm(const Arguments& arguments) {
  if (arguments.size() != 1 || arguments[0].starts_with("-")) return kExitUsage;
  const std::string input(arguments[0]);
  const std::optional<std::string> script = ReadFile(input);
  if (!script) {
    std::cerr << "ixo: cannot read " << input << "\n";
    return kExitFailure;
  }
  std::cout << Disassemble(DecodeScriptFile(*script));
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "ixo: cannot write the output\n";
    return kExitFailure;
  }
  return 0;
}

int Main(const Arguments& arguments) {
  if (arguments.empty()) return PrintUsage();
  for (const SubCommand& command : kSubCommands)
    if (command.name == arguments[0]) {
      int code = command.run(Arguments(arguments.begin() + 1, arguments.end()));
      return code == kExitUsage ? PrintUsage() : code;
    }
  std::cerr << "ixo: unknown command " << arguments[0] << "\n";
  return PrintUsage();
}

}  // namespace
}  // namespace ixo::source

int main(int argc, char** argv) { return ixo::source::Main(ixo::source::Arguments(argv + 1, argv + argc)); }
