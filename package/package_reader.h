// Reading a package's header and directory. Packages come from strangers, so
// every field is checked against the file before anything is trusted.
#pragma once

#include <optional>
#include <string>

#include "package/package_format.h"

namespace ixo::package {

// The header alone; nothing when the file cannot be read or is shorter than a header.
std::optional<PackageHeader> ReadHeader(const std::string& package_path);

// The header and the directory with each entry's offset. Refuses (with a reason
// in error) a file count that is not a number or whose directory does not fit
// the file, a size that is not a number, and contents that run past the end.
std::optional<PackageIndex> ReadIndex(const std::string& package_path, std::string& error);

// The header fields joined by "^^": object id, creator id, short note, long
// note, family id and the raw file count text.
std::string HeaderText(const PackageHeader& header);

}  // namespace ixo::package
