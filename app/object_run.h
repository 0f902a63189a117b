// Running an object: from the package named on the command line to the end of
// its message loop and the removal of its folder. The steps do not depend on the
// host; the host supplies the message loop.
#pragma once

#include <functional>
#include <string>

namespace ixo {

class Engine;
class EngineWindows;

struct RunArguments {
  std::string program;    // this program's own path
  std::string package;    // the first argument, may be empty
  std::string restart;    // the second argument: "/norestart" in a restarted run
};

using MessageLoop = std::function<void()>;

// The object's script is loaded: samples the time base, raises "_initialize" and
// "initialize" and creates the main window. False when the object ended already.
bool StartLoadedObject(Engine& engine, EngineWindows& windows);

// Starts the loaded object, runs the loop, and shuts down when the loop ended
// without the object doing so.
void RunLoadedObject(Engine& engine, EngineWindows& windows, const MessageLoop& message_loop);

// Locates and extracts the package into a fresh folder (a failed extraction
// restarts the program once, with "/norestart"), makes that folder current,
// appends the script libraries, loads and runs the object, then removes the
// folder unless the object asked to keep it. Problems are told through the
// message box; returns false when the object did not run.
bool RunObjectPackage(Engine& engine, EngineWindows& windows, const RunArguments& arguments,
                      const MessageLoop& message_loop);

}  // namespace ixo
