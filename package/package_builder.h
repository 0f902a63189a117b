// Building a package from the files of a folder.
#pragma once

#include <string>
#include <string_view>

namespace ixo {

class Engine;

enum class BuildOutcome {
  kBuilt = 0,
  kFailed = 1,   // the folder, a file or the package could not be read or written
  kRefused = 2,  // a name too long or too many files; the user has been told
};

// Stores the files directly in source_folder (ending with "/") into a package,
// most of them compressed, with the running object's header and family_id.
// selection names the files to take ("a.bmp^^b.jpg"); empty takes all. The
// package is written beside its path first and moved into place when complete,
// so a failed build leaves an earlier package as it was.
BuildOutcome BuildPackage(Engine& engine, const std::string& source_folder, const std::string& package_path,
                          std::string_view selection, bool include_k_files, std::string_view family_id);

}  // namespace ixo
