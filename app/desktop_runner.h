// The desktop host: an object runs in real windows on the X11 display.
#pragma once

#include <iosfwd>

#include "app/object_run.h"

namespace ixo {

// Opens the display and runs the package the arguments name. Without a display
// it says so on err and returns 1; otherwise 0, whatever the object did.
int RunOnDesktop(const RunArguments& arguments, std::ostream& err);

}  // namespace ixo
