// Paths as scripts write them, turned into paths of this system. Objects were
// written for a file system with drive letters, backslashes and no regard to
// letter case; every file a family opens goes through here.
#pragma once

#include <string>
#include <string_view>

namespace ixo {

// "\" becomes "/", a leading drive letter ("c:") becomes the root, and when the
// path does not exist as written each folder and the file are looked up without
// regard to letter case. Parts that exist in no case are kept as written, so a
// path to a file about to be created still comes out whole.
std::string HostPath(std::string_view script_path);

}  // namespace ixo
