// "ixoengine /make[/exe][xK] FOLDER NAME OBJID CREATOR NOTE LONGNOTE FAMILY":
// builds FOLDER + NAME + "/" into FOLDER + NAME + ".ixo" and reports it.
#pragma once

#include <string>
#include <vector>

#include "package/package_builder.h"

namespace ixo {

class Engine;

// arguments[0] is the program, arguments[1] the "/make..." switch. Shows the
// report through the engine's message box unless the switch holds "/exe".
BuildOutcome BuildFromCommandLine(Engine& engine, const std::vector<std::string>& arguments);

}  // namespace ixo
