// Objects on the virtual desktop: a script is started with its main window, and
// the test moves the pointer, presses buttons and keys and lets virtual time pass.
#pragma once

#include <string>
#include <vector>

#include "tests/support/script_test.h"
#include "window/engine_windows.h"
#include "window/poll_tick.h"

namespace ixo {

class WindowTest : public ScriptTest {
 protected:
  // Loads the script, raises the initialization events, creates the main window
  // and runs its first poll tick, which raises "load".
  void Start(const std::string& source) {
    Load(source);
    ASSERT_TRUE(runner().Start());
    Advance(kPollIntervalMs);
  }

  platform::VirtualDesktop& desktop() { return runner().desktop(); }
  EngineWindows& windows() { return runner().windows(); }
  EngineWindow& window(int index) { return *windows().at(index); }
  platform::Rect Bounds(int index) { return desktop().Bounds(window(index).native); }

  void Advance(uint64_t ms) { desktop().RunFor(ms); }
  // Places a window on the screen at once, stored position included.
  void Place(int index, platform::Rect bounds) {
    window(index).stored_x = static_cast<float>(bounds.left) * 100;
    window(index).stored_y = static_cast<float>(bounds.top) * 100;
    desktop().SetBounds(window(index).native, bounds);
  }
  // A second window as the window family would create it.
  void CreateWindow(int index, platform::Rect bounds) {
    CreateEngineWindow(windows(), index);
    desktop().Show(window(index).native);
    Place(index, bounds);
  }

  void Click(platform::Point at, platform::MouseButton button = platform::MouseButton::kLeft) {
    desktop().MovePointer(at);
    desktop().PressButton(button);
    desktop().ReleaseButton(button);
  }
};

// A handler for each name that does nothing, so that the events get raised.
inline std::string Handlers(const std::vector<std::string>& names) {
  std::string source;
  for (const std::string& name : names) source += "event." + name + "()\nevent.end()\n";
  return source;
}

}  // namespace ixo
