// Running an object from its package on the headless host: extract it into a
// fresh folder, append the script libraries, load the script, run, clean up.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/headless_runner.h"

namespace ixo {

// Returns false (after telling the user through the message box) when the file
// is no package, is missing or cannot be extracted. The extraction folder is the
// current directory while the object runs and is removed afterwards.
bool RunPackage(HeadlessRunner& runner, const std::string& package_path, std::optional<uint64_t> run_for_ms);

}  // namespace ixo
