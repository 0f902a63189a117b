#include "package/package_builder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/ascii_case.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "package/compression.h"
#include "package/package_format.h"
#include "package/stream_copy.h"

namespace ixo {

namespace {

using package::kCompressedSuffix;
namespace fs = std::filesystem;

// Extensions of files that are already compressed, or gain nothing from it. The
// test is a substring search, so a file without extension is found too.
constexpr std::string_view kStoredAsIs =
    ".ixo^^.ixe^^.jpg^^.mp3^^.wma^^.gif^^.swf^^.pdf^^.wmv^^.avi^^.qt^^.asf^^.divx^^.ivf^^.mov^^.mpg^^.mpeg^^.rm^^"
    ".viv^^.ram^^.ra";

constexpr const char* kNameTooLong = "Sorry, ixo object cannot be built : a filename is longer than 44 characters.";
constexpr const char* kTooManyFiles =
    "Sorry, ixo object cannot be built : a ixo file cannot include more than 4999 files.";
constexpr unsigned kRefusalStyle =
    platform::kButtonsOk | platform::kIconError | platform::kSystemModal | platform::kForeground | platform::kTopmost;

struct StoredFile {
  std::string stored_name;
  std::string path;       // what goes into the package: the file itself or its compressed temporary
  bool temporary = false;
};

// The files to store, in name order. Returns false when a name is too long.
bool ChooseFiles(const std::string& source_folder, std::string_view selection, bool include_k_files,
                 std::vector<StoredFile>& files) {
  std::string lower_selection = LowerAscii(selection);
  std::vector<std::string> names;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(source_folder, error))
    if (!entry.is_directory(error)) names.push_back(entry.path().filename().string());
  // The folder's own order is arbitrary on Linux; name order makes builds repeatable.
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    std::string lower = LowerAscii(name);
    std::string extension = LowerAscii(fs::path(name).extension().string());
    if (extension == ".def" || (extension == ".k" && !include_k_files)) continue;
    if (!lower_selection.empty() && lower_selection.find(lower) == std::string::npos) continue;
    if (name.size() > package::kMaxFileNameLength) return false;
    // Names ending in "_" or "_x" are the compressed temporaries of earlier builds.
    if (name.back() == '_' || (name.size() > 1 && name[name.size() - 2] == '_')) continue;
    bool compress = kStoredAsIs.find(extension) == std::string_view::npos;
    // A compressed name must still fit the name field; a longer one is stored as it is.
    if (name.size() + kCompressedSuffix.size() > package::kEntryNameField.size) compress = false;
    if (compress) files.push_back({name + std::string(kCompressedSuffix), source_folder + name + "__", true});
    else files.push_back({name, source_folder + name, false});
  }
  return true;
}

std::string HeaderAndDirectory(const Engine& engine, std::string_view family_id, const std::vector<StoredFile>& files,
                               std::vector<uint64_t>& sizes) {
  using namespace package;
  std::string block(kHeaderSize + files.size() * kEntrySize, ' ');
  block[0] = kMarker;
  WriteTextField(block, kFamilyIdField, family_id);
  WriteTextField(block, kObjectIdField, engine.header.object_id);
  WriteTextField(block, kCreatorIdField, engine.header.creator_id);
  WriteTextField(block, kShortNoteField, engine.header.short_note);
  WriteTextField(block, kLongNoteField, engine.header.long_note);
  WriteTextField(block, kCountField, std::to_string(files.size()));
  for (size_t i = 0; i < files.size(); ++i) {
    std::error_code error;
    uint64_t size = fs::file_size(files[i].path, error);
    sizes.push_back(error ? 0 : size);
    size_t entry = kHeaderSize + i * kEntrySize;
    std::string size_text = std::to_string(sizes.back());
    block.replace(entry + kEntrySizeField.offset, size_text.size(), size_text);
    block.replace(entry + kEntryNameField.offset, files[i].stored_name.size(), files[i].stored_name);
  }
  return block;
}

// Appends exactly size bytes of a file (the size the directory announced).
bool AppendFile(std::ofstream& package, const std::string& path, uint64_t size) {
  std::ifstream in(path, std::ios::binary);
  return in && package::CopyBytes(in, package, size);
}

void RemoveTemporaries(const std::vector<StoredFile>& files) {
  for (const StoredFile& file : files)
    if (file.temporary) std::remove(file.path.c_str());
}

}  // namespace

BuildOutcome BuildPackage(Engine& engine, const std::string& source_folder, const std::string& package_path,
                          std::string_view selection, bool include_k_files, std::string_view family_id) {
  std::error_code error;
  if (!fs::is_directory(source_folder, error)) return BuildOutcome::kFailed;
  std::vector<StoredFile> files;
  if (!ChooseFiles(source_folder, selection, include_k_files, files)) {
    EngineMessageBox(engine, kNameTooLong, kRefusalStyle);
    return BuildOutcome::kRefused;
  }
  if (files.size() > static_cast<size_t>(package::kMaxFiles)) {
    EngineMessageBox(engine, kTooManyFiles, kRefusalStyle);
    return BuildOutcome::kRefused;
  }
  for (const StoredFile& file : files)
    if (file.temporary) CompressFile(source_folder + file.stored_name.substr(0, file.stored_name.size() - 2), file.path);

  std::vector<uint64_t> sizes;
  std::string block = HeaderAndDirectory(engine, family_id, files, sizes);
  std::string partial_path = package_path + ".partial";
  std::ofstream package(partial_path, std::ios::binary | std::ios::trunc);
  bool written = package && package.write(block.data(), static_cast<std::streamsize>(block.size()));
  for (size_t i = 0; written && i < files.size(); ++i) written = AppendFile(package, files[i].path, sizes[i]);
  package.close();
  RemoveTemporaries(files);
  if (!written || package.fail() || (fs::rename(partial_path, package_path, error), error)) {
    std::remove(partial_path.c_str());
    return BuildOutcome::kFailed;
  }
  return BuildOutcome::kBuilt;
}

}  // namespace ixo
