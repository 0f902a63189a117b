#include "package/package_extractor.h"

#include <cstdio>
#include <fstream>

#include "engine/ascii_case.h"
#include "package/compression.h"
#include "package/package_reader.h"
#include "package/stream_copy.h"

namespace ixo::package {

namespace {

// Every listed name also stands for its compressed stored name: "a^^b" becomes
// "a__^^b__", in which both "a" and "a__" occur.
std::string PrepareSelection(std::string_view selection) {
  std::string prepared;
  std::string lower = LowerAscii(selection);
  for (size_t start = 0;;) {
    size_t separator = lower.find("^^", start);
    prepared += lower.substr(start, separator == std::string::npos ? std::string::npos : separator - start);
    prepared += "__";
    if (separator == std::string::npos) break;
    prepared += "^^";
    start = separator + 2;
  }
  return prepared;
}

// Copies size bytes from the package's current position into a new file.
bool CopyOut(std::ifstream& package, uint64_t size, const std::string& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return out && CopyBytes(package, out, size);
}

}  // namespace

bool IsSelected(std::string_view stored_name, std::string_view selection) {
  if (selection.empty()) return true;
  return PrepareSelection(selection).find(LowerAscii(stored_name)) != std::string::npos;
}

std::optional<ExtractionReport> ExtractFiles(const std::string& package_path, const std::string& destination_folder,
                                             std::string_view selection, std::string& error) {
  std::optional<PackageIndex> index = ReadIndex(package_path, error);
  if (!index) return std::nullopt;
  std::ifstream package(package_path, std::ios::binary);
  if (!package) {
    error = "cannot read " + package_path;
    return std::nullopt;
  }
  ExtractionReport report;
  report.header = index->header;
  for (const DirectoryEntry& entry : index->entries) {
    if (!IsSelected(entry.stored_name, selection)) continue;
    if (!IsSafeStoredName(entry.stored_name)) {
      report.refused_names.push_back(entry.stored_name);
      continue;
    }
    std::string stored_path = destination_folder + entry.stored_name;
    package.clear();
    package.seekg(static_cast<std::streamoff>(entry.offset));
    if (!CopyOut(package, entry.size, stored_path)) continue;
    if (!entry.stored_name.ends_with(kCompressedSuffix)) {
      report.written.push_back(entry.stored_name);
      continue;
    }
    std::string plain_name = entry.stored_name.substr(0, entry.stored_name.size() - kCompressedSuffix.size());
    ExpandFile(stored_path, destination_folder + plain_name);
    std::remove(stored_path.c_str());
    report.written.push_back(plain_name);
  }
  return report;
}

}  // namespace ixo::package
