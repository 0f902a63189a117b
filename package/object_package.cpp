#include "package/object_package.h"

#include <cstdlib>
#include <filesystem>

#include "engine/engine.h"
#include "package/package_extractor.h"
#include "package/package_reader.h"

namespace ixo {

namespace fs = std::filesystem;

std::string EngineTemporaryFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  std::string folder = (tmpdir && *tmpdir) ? tmpdir : "/tmp";
  if (folder.back() != '/') folder += '/';
  folder += "zodizarez/";
  std::error_code error;
  fs::create_directories(folder, error);
  return folder;
}

std::string MakeUniqueId(RandomGenerator& random) {
  static constexpr std::string_view kPattern = "99AAAA9999AAAA99";
  std::string id;
  for (char kind : kPattern) {
    int value = random.ShortStep();
    id += kind == '9' ? static_cast<char>('0' + value % 10) : static_cast<char>('A' + value % 26);
  }
  return id;
}

bool ExtractPackage(Engine& engine, const ExtractRequest& request) {
  std::optional<package::PackageHeader> header_only = package::ReadHeader(request.package_path);
  if (!header_only) return false;
  std::string destination = request.destination;
  if (request.make_extraction_folder) {
    destination = EngineTemporaryFolder() + header_only->object_id + "-" + MakeUniqueId(engine.random) + "/";
    std::error_code error;
    fs::create_directories(destination, error);
  } else if (destination.empty()) {
    destination = EngineTemporaryFolder();
  }
  std::string error;
  std::optional<package::ExtractionReport> report =
      package::ExtractFiles(request.package_path, destination, request.selection, error);
  if (!report) {
    if (request.make_extraction_folder) RemoveFolder(destination);
    return false;
  }
  if (request.make_extraction_folder) engine.header.extraction_folder = destination;
  const package::PackageHeader& header = report->header;
  engine.header.extracted_family_id = header.family_id;
  engine.header.object_id = header.object_id;
  engine.header.creator_id = header.creator_id;
  engine.header.short_note = header.short_note;
  engine.header.long_note = header.long_note;
  // The object semaphores named after the object and family ids are taken here
  // once named semaphores exist.
  if (request.register_instance) engine.header.family_id = header.family_id;
  return true;
}

bool RemoveFolder(const std::string& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) return false;
  bool all_removed = true;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
    if (!entry.is_directory(error) && !fs::remove(entry.path(), error)) all_removed = false;
  return all_removed && fs::remove(folder, error);
}

}  // namespace ixo
