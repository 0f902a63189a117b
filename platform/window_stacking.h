// The order of windows on the desktop and their relations: z-order, parents,
// the foreground window, and other programs' windows found by title.
#pragma once

#include <string_view>

#include "platform/window_system.h"

namespace ixo::platform {

enum class StackPlace {
  kTop,          // above every other window of its layer
  kBottom,       // below every other window
  kTopmost,      // into the layer above ordinary windows
  kNoTopmost,    // just behind the topmost windows
  kBehind,       // directly behind another window
};

class WindowStacking {
 public:
  virtual ~WindowStacking() = default;
  // reference is the window to go behind (kBehind only).
  virtual void Restack(WindowId window, StackPlace place, WindowId reference, bool activate) = 0;
  virtual bool IsTopmost(WindowId window) = 0;
  // Any top-level window of the desktop whose title is exactly this script text; 0 when none.
  virtual WindowId FindByTitle(std::string_view title) = 0;
  virtual void SetForeground(WindowId window) = 0;
  // Makes window a control inside parent (its position then counts from the
  // parent's client area), or a top-level window again with parent 0.
  virtual void SetParent(WindowId window, WindowId parent) = 0;
};

}  // namespace ixo::platform
