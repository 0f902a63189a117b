// The outline of a window and its transparency. A shape is a set of rectangles
// in client coordinates: only their pixels are drawn and take the pointer;
// elsewhere the window is a hole that clicks pass through.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/window_system.h"

namespace ixo::platform {

class WindowShapes {
 public:
  virtual ~WindowShapes() = default;
  // nullptr makes the window rectangular again.
  virtual void SetShape(WindowId window, const std::vector<Rect>* rectangles) = 0;
  // 0 invisible to 255 opaque. False when the desktop cannot show it (no compositor).
  virtual bool SetOpacity(WindowId window, uint8_t opacity) = 0;
};

}  // namespace ixo::platform
