#include "package/ixo_family.h"

#include <filesystem>

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "package/object_package.h"
#include "package/package_builder.h"
#include "package/package_format.h"
#include "package/package_reader.h"

namespace ixo {

namespace {

constexpr const char* kLocked = "Cannot build ixo file : a file is locked.";

// The builder writes a new file and moves it over the old one, so a read-only
// package file does not stop it; making it writable keeps it so afterwards.
void MakeWritable(const std::string& path) {
  std::error_code error;
  std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add, error);
}

void Build(Engine& engine, const std::string& source, const std::string& package_path, const std::string& selection,
           const std::string& family_id) {
  MakeWritable(package_path);
  if (BuildPackage(engine, source, package_path, selection, false, family_id) == BuildOutcome::kFailed)
    ReportError(engine, kLocked);
}

Result Rebuild(Engine& engine) {
  Build(engine, engine.header.extraction_folder, engine.header.package_path, "", engine.header.family_id);
  return std::string();
}

Result Create(Engine& engine) {
  // Copies: a message box shown by the build may let script lines run, which
  // overwrite the slots.
  std::vector<std::string> p(engine.slots.parameter.begin(), engine.slots.parameter.begin() + 8);
  CurrentHeader saved = engine.header;
  CurrentHeader& header = engine.header;
  header.creator_id = p[4].empty() ? saved.object_id : p[4];
  header.object_id = p[3].empty() ? MakeUniqueId(engine.random) : p[3];
  if (!p[5].empty()) header.short_note = p[5];
  if (!p[6].empty()) header.long_note = p[6];
  std::string family_id = p[7].empty() ? saved.family_id : p[7];
  Build(engine, p[0], p[1], p[2], family_id);
  engine.header = saved;
  return std::string();
}

Result HeaderGet(Engine& engine) {
  std::optional<package::PackageHeader> header = package::ReadHeader(engine.slots.P(1));
  return header ? package::HeaderText(*header) : std::string();
}

Result CurrentHeaderSet(Engine& engine) {
  const CommandSlots& slots = engine.slots;
  CurrentHeader& header = engine.header;
  header.object_id = slots.P(1).substr(0, package::kObjectIdField.size);
  header.creator_id = slots.P(2).substr(0, package::kCreatorIdField.size);
  header.short_note = slots.P(3).substr(0, package::kShortNoteField.size);
  header.long_note = slots.P(4).substr(0, package::kLongNoteField.size);
  header.family_id = slots.P(5).substr(0, package::kFamilyIdField.size);
  return std::string();
}

Result CurrentHeaderGet(Engine& engine) {
  const CurrentHeader& header = engine.header;
  return header.object_id + "^^" + header.creator_id + "^^" + header.short_note + "^^" + header.long_note + "^^" +
         header.family_id;
}

Result Extract(Engine& engine) {
  CurrentHeader saved = engine.header;
  ExtractRequest request;
  request.package_path = engine.slots.P(1);
  request.destination = engine.slots.P(2);
  request.selection = engine.slots.P(3);
  bool extracted = ExtractPackage(engine, request);
  std::string extracted_family_id = engine.header.extracted_family_id;
  engine.header = saved;
  engine.header.extracted_family_id = extracted_family_id;
  return std::string(extracted ? "1" : "0");
}

Result Unknown(Engine& engine) {
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace

Result IxoFamily(Engine& engine) {
  const std::string& k2 = engine.slots.K(2);
  const std::string& k3 = engine.slots.K(3);
  if (k2 == "rebuild") return Rebuild(engine);
  if (k2 == "create") return Create(engine);
  if (k2 == "header") return k3 == "get" ? HeaderGet(engine) : Unknown(engine);
  if (k2 == "currentheader") {
    if (k3 == "set") return CurrentHeaderSet(engine);
    if (k3 == "get") return CurrentHeaderGet(engine);
    return std::string();
  }
  if (k2 == "extract") return Extract(engine);
  if (k2 == "extracted") return k3 == "familyid" ? Result(engine.header.extracted_family_id) : Unknown(engine);
  return Unknown(engine);
}

}  // namespace ixo
