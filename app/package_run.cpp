#include "app/package_run.h"

#include <filesystem>
#include <fstream>

#include "engine/ascii_case.h"
#include "engine/error_report.h"
#include "engine/script_loader.h"
#include "package/object_package.h"

namespace ixo {

namespace {

namespace fs = std::filesystem;

constexpr const char* kEngineVersion = "252";

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

}  // namespace

bool RunPackage(HeadlessRunner& runner, const std::string& package_path, std::optional<uint64_t> run_for_ms) {
  Engine& engine = runner.engine();
  if (LowerAscii(package_path).find(".ixo") == std::string::npos) {
    EngineMessageBox(engine, "Cannot read this file : " + package_path);
    return false;
  }
  if (!fs::is_regular_file(package_path)) {
    EngineMessageBox(engine, "Cannot find " + package_path + "##IxoEngine version " + kEngineVersion);
    return false;
  }
  engine.header.package_path = package_path;
  engine.header.object_name = fs::path(package_path).stem().string();

  ExtractRequest request;
  request.package_path = package_path;
  request.make_extraction_folder = true;
  request.register_instance = true;
  if (!ExtractPackage(engine, request)) {
    EngineMessageBox(engine, "Cannot read this file : " + package_path);
    return false;
  }
  const std::string folder = engine.header.extraction_folder;
  std::error_code error;
  fs::path previous_directory = fs::current_path(error);
  fs::current_path(folder, error);

  const std::string script = folder + "identity.vexe";
  for (const char* library : {"_identity.lib", "_identity2.lib"})
    if (fs::exists(folder + library)) AppendLibrary(script, folder + library);
  LoadScript(engine, script);
  runner.Run(run_for_ms);

  fs::current_path(previous_directory, error);
  RemoveFolder(folder);
  return true;
}

}  // namespace ixo
