// The physical state of the pointer and the keyboard at this moment, whichever
// window has the focus.
#pragma once

#include "platform/geometry.h"

namespace ixo::platform {

enum class MouseButton { kLeft, kRight, kMiddle };

class InputState {
 public:
  virtual ~InputState() = default;
  virtual Point PointerPosition() = 0;  // screen coordinates
  virtual bool IsButtonDown(MouseButton button) = 0;
  // virtual_key is a key code as scripts see them (platform/virtual_keys.h).
  virtual bool IsKeyDown(int virtual_key) = 0;
};

}  // namespace ixo::platform
