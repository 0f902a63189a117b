// Writing a package's files into a folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "package/package_format.h"

namespace ixo::package {

struct ExtractionReport {
  PackageHeader header;
  std::vector<std::string> written;        // plain names of the files written
  std::vector<std::string> refused_names;  // stored names that could leave the folder
};

// Writes the selected entries into destination_folder (which ends with "/" and
// exists); compressed entries are expanded under their plain names. The selection
// is any text naming the wanted files ("a.bmp^^b.jpg"); empty selects all. An
// entry whose stored name is not a plain file name is skipped, and a file that
// cannot be created is skipped; the rest goes on. A package whose directory does
// not match the file is refused before anything is written.
std::optional<ExtractionReport> ExtractFiles(const std::string& package_path, const std::string& destination_folder,
                                             std::string_view selection, std::string& error);

// Whether an entry's stored name is among the selection, the way extraction tests it.
bool IsSelected(std::string_view stored_name, std::string_view selection);

}  // namespace ixo::package
