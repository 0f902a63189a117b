// Windows docked to an edge of the screen that reserve a strip of it: other
// windows keep out of the strip, and the work area shrinks by it.
#pragma once

#include "platform/window_system.h"

namespace ixo::platform {

enum class ScreenEdge { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

class AppBars {
 public:
  virtual ~AppBars() = default;
  virtual void RegisterAppBar(WindowId window) = 0;
  virtual void RemoveAppBar(WindowId window) = 0;
  // The strip the desktop would grant for that edge, adjusted for other bars.
  virtual Rect QueryAppBarPosition(WindowId window, ScreenEdge edge, Rect wanted) = 0;
  // Reserves the strip. The window itself is not moved.
  virtual void SetAppBarPosition(WindowId window, ScreenEdge edge, Rect strip) = 0;
};

}  // namespace ixo::platform
