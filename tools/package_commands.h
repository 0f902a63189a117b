// The package sub-commands of the ixo tool. Each returns the exit code, or
// kExitUsage after nothing but a usage mistake.
#pragma once

#include "tools/tool_command.h"

namespace ixo::tool {

// build FOLDER [-o NAME.ixo]: assembles FOLDER/*.ixs (in name order) into the
// object's script and packs it with the folder's other files.
int RunBuild(const Arguments& arguments);

// list PACKAGE: the header and the directory.
int RunList(const Arguments& arguments);

// extract PACKAGE DEST: every file into DEST, expanded.
int RunExtract(const Arguments& arguments);

}  // namespace ixo::tool
