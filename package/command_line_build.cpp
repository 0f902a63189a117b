#include "package/command_line_build.h"

#include <filesystem>

#include "engine/ascii_case.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "package/package_format.h"

namespace ixo {

namespace {

std::string Trimmed(const std::vector<std::string>& arguments, size_t index) {
  if (index >= arguments.size()) return std::string();
  const std::string& text = arguments[index];
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

BuildOutcome BuildFromCommandLine(Engine& engine, const std::vector<std::string>& arguments) {
  auto argument = [&](size_t index) { return index < arguments.size() ? arguments[index] : std::string(); };
  std::string switches = argument(1);
  CurrentHeader& header = engine.header;
  header.object_id = Trimmed(arguments, 4).substr(0, package::kObjectIdField.size);
  header.creator_id = Trimmed(arguments, 5).substr(0, package::kCreatorIdField.size);
  header.short_note = Trimmed(arguments, 6).substr(0, package::kShortNoteField.size);
  header.long_note = Trimmed(arguments, 7).substr(0, package::kLongNoteField.size);
  std::string family_id = Trimmed(arguments, 8);

  std::string base = argument(2) + argument(3);
  std::string package_path = base + ".ixo";
  bool include_k_files = switches.find("xK") != std::string::npos;
  BuildOutcome outcome = BuildPackage(engine, base + "/", package_path, "", include_k_files, family_id);
  if (LowerAscii(switches).find("/exe") != std::string::npos || outcome == BuildOutcome::kRefused) return outcome;

  std::error_code error;
  uint64_t size = std::filesystem::file_size(package_path, error);
  // A failed build must not read as a success.
  std::string first_line = outcome == BuildOutcome::kBuilt ? "ixo file has been built." : "ixo file could not be built.";
  EngineMessageBox(engine, first_line + "\nFile : " + package_path + "\nSize : " + std::to_string(error ? 0 : size / 1024) +
                               " Ko");
  return outcome;
}

}  // namespace ixo
