#include "tools/package_commands.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>

#include "app/headless_runner.h"
#include "engine/script_file.h"
#include "engine/script_source.h"
#include "package/object_package.h"
#include "package/package_builder.h"
#include "package/package_extractor.h"
#include "package/package_reader.h"

namespace ixo::tool {

namespace {

namespace fs = std::filesystem;

std::string FolderPath(std::string_view folder) {
  std::string path(folder);
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

// The script of a source folder: its .ixs files in name order, one after another.
bool AssembleFolderScript(const fs::path& folder, std::string& script_file) {
  std::vector<fs::path> sources;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".ixs") sources.push_back(entry.path());
  std::sort(sources.begin(), sources.end());
  if (sources.empty()) {
    std::cerr << "ixo: " << folder.string() << " holds no .ixs script\n";
    return false;
  }
  std::vector<std::string> lines;
  for (const fs::path& source : sources) {
    std::ifstream file(source, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    source::AssembleResult assembled = source::Assemble(text.str(), source.string());
    if (assembled.error) {
      std::cerr << assembled.error->ToString() << "\n";
      return false;
    }
    lines.insert(lines.end(), assembled.lines.begin(), assembled.lines.end());
  }
  script_file = EncodeScriptFile(lines);
  return true;
}

}  // namespace

int RunBuild(const Arguments& arguments) {
  std::string folder, output;
  for (size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "-o" && i + 1 < arguments.size()) output = arguments[++i];
    else if (folder.empty() && !arguments[i].starts_with("-")) folder = arguments[i];
    else return kExitUsage;
  }
  if (folder.empty() || !fs::is_directory(folder)) return kExitUsage;
  fs::path source_folder = fs::path(folder).lexically_normal();
  if (source_folder.filename().empty()) source_folder = source_folder.parent_path();
  if (output.empty()) output = source_folder.filename().string() + ".ixo";

  std::string script_file;
  if (!AssembleFolderScript(source_folder, script_file)) return kExitFailure;

  // The package is built from a staging folder, so the source folder stays untouched.
  std::ostringstream out, err;
  HeadlessRunner runner(out, err);
  Engine& engine = runner.engine();
  engine.random.Seed(static_cast<uint32_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  fs::path staging = EngineTemporaryFolder() + "build-" + MakeUniqueId(engine.random);
  std::error_code error;
  fs::create_directories(staging, error);
  for (const fs::directory_entry& entry : fs::directory_iterator(source_folder))
    if (entry.is_regular_file() && entry.path().extension() != ".ixs")
      fs::copy_file(entry.path(), staging / entry.path().filename(), error);
  std::ofstream(staging / "identity.vexe", std::ios::binary) << script_file;

  engine.header.object_id = MakeUniqueId(engine.random);
  engine.header.creator_id = engine.header.object_id;
  engine.header.short_note = source_folder.filename().string();
  BuildOutcome outcome = BuildPackage(engine, FolderPath(staging.string()), output, "", false, "");
  fs::remove_all(staging, error);
  std::cerr << out.str();
  if (outcome != BuildOutcome::kBuilt) {
    std::cerr << "ixo: cannot build " << output << "\n";
    return kExitFailure;
  }
  std::cout << output << "\n";
  return 0;
}

int RunList(const Arguments& arguments) {
  if (arguments.size() != 1) return kExitUsage;
  std::string error;
  std::optional<package::PackageIndex> index = package::ReadIndex(std::string(arguments[0]), error);
  if (!index) {
    std::cerr << "ixo: " << arguments[0] << ": " << error << "\n";
    return kExitFailure;
  }
  const package::PackageHeader& header = index->header;
  std::cout << "family id:  " << header.family_id << "\n"
            << "object id:  " << header.object_id << "\n"
            << "creator id: " << header.creator_id << "\n"
            << "short note: " << header.short_note << "\n"
            << "long note:  " << header.long_note << "\n"
            << "files:      " << index->entries.size() << "\n";
  for (const package::DirectoryEntry& entry : index->entries) {
    bool compressed = entry.stored_name.ends_with(package::kCompressedSuffix);
    std::cout << std::setw(12) << entry.size << "  " << (compressed ? "compressed  " : "stored      ")
              << entry.stored_name << "\n";
  }
  return 0;
}

int RunExtract(const Arguments& arguments) {
  if (arguments.size() != 2) return kExitUsage;
  std::string destination = FolderPath(arguments[1]);
  std::error_code created;
  fs::create_directories(destination, created);
  std::string error;
  std::optional<package::ExtractionReport> report =
      package::ExtractFiles(std::string(arguments[0]), destination, "", error);
  if (!report) {
    std::cerr << "ixo: " << arguments[0] << ": " << error << "\n";
    return kExitFailure;
  }
  for (const std::string& name : report->refused_names)
    std::cerr << "ixo: refused the stored name " << name << ": it is not a plain file name\n";
  for (const std::string& name : report->written) std::cout << destination << name << "\n";
  return report->refused_names.empty() ? 0 : kExitFailure;
}

}  // namespace ixo::tool
