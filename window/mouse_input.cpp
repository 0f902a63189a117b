#include <algorithm>
#include <cstdint>

#include "engine/engine.h"
#include "window/animation.h"
#include "window/engine_windows.h"
#include "window/window_events.h"
#include "window/window_input.h"

namespace ixo {

namespace {

platform::Point WindowPosition(EngineWindows& windows, const EngineWindow& window) {
  platform::Rect bounds = windows.window_system.Bounds(window.native);
  return {bounds.left, bounds.top};
}

// The window follows the pointer, held inside its bounds area unless it may go out.
void DragTo(EngineWindows& windows, EngineWindow& window, platform::Point position) {
  // The frame's outer corner follows the pointer: that is what is stored.
  platform::Rect bounds = windows.window_system.Bounds(window.native);
  const platform::FrameExtents frame = FrameOf(windows, window);
  bounds = {bounds.left - frame.left, bounds.top - frame.top, bounds.width + frame.left + frame.right,
            bounds.height + frame.top + frame.bottom};
  int64_t left = int64_t{bounds.left} + position.x - window.drag_anchor.x;
  int64_t top = int64_t{bounds.top} + position.y - window.drag_anchor.y;
  if (!window.can_go_out) {
    platform::Size area = BoundsArea(windows, window);
    // Negative first, then the far edge: a window larger than its area ends up
    // with its far edge on the area's.
    left = std::min<int64_t>(std::max<int64_t>(left, 0), area.width - bounds.width);
    top = std::min<int64_t>(std::max<int64_t>(top, 0), area.height - bounds.height);
  }
  if (window.move_axis != MoveAxis::kVertical) window.stored_x = static_cast<float>(left) * 100;
  if (window.move_axis != MoveAxis::kHorizontal) window.stored_y = static_cast<float>(top) * 100;
  RaiseWindowEvent(windows, "move", window.index);
}

}  // namespace

void HandleMouseDown(EngineWindows& windows, int index, platform::MouseButton button, platform::Point position) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  windows.window_system.SetFocus(window->native);
  if (button != platform::MouseButton::kLeft) return;
  if (window->movable) {
    window->dragging = true;
    window->drag_anchor = position;
    window->press_tick = windows.engine.platform.clock->TickCount();
    window->position_at_press = WindowPosition(windows, *window);
    window->cursor_sample_1 = {};
    window->cursor_sample_2 = {};
    window->animation.speed = 0;  // a grabbed window stops
  }
  RaiseWindowEvent(windows, "mouse:down", index);
}

void HandleMouseMove(EngineWindows& windows, int index, platform::Point position) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  uint32_t held_for = windows.engine.platform.clock->TickCount() - window->press_tick;
  if (window->dragging && window->movable && held_for > kDragDelayMs) {
    DragTo(windows, *window, position);
    window = windows.at(index);
    if (!window) return;
  }
  platform::Point pointer = windows.input.PointerPosition();
  if (pointer != window->cursor_sample_2) RaiseWindowEvent(windows, "mouse:move", index);
  window = windows.at(index);
  if (!window) return;
  window->cursor_sample_2 = window->cursor_sample_1;
  window->cursor_sample_1 = pointer;
}

void HandleMouseUp(EngineWindows& windows, int index, platform::MouseButton button, platform::Point) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  window->dragging = false;
  if (button == platform::MouseButton::kLeft) {
    RaiseWindowEvent(windows, "mouse:up", index);
    window = windows.at(index);
    if (!window) return;
    if (!window->movable || WindowPosition(windows, *window) == window->position_at_press)
      RaiseWindowEvent(windows, "mouse:click", index);
    else
      ThrowGesture(windows, index);
  } else if (button == platform::MouseButton::kRight) {
    if (window->close_on_right_click)
      CloseByUser(windows, index);
    else
      RaiseWindowEvent(windows, "mouse:rightclick", index);
  }
}

void HandleDoubleClick(EngineWindows& windows, int index) {
  if (windows.at(index)) RaiseWindowEvent(windows, "mouse:doubleclick", index);
}

void HandleWheel(EngineWindows& windows, int index, bool up) {
  if (windows.at(index)) RaiseWindowEvent(windows, up ? "mouse:wheel:up" : "mouse:wheel:down", index);
}

void CloseByUser(EngineWindows& windows, int index) {
  if (index == 0)
    EngineShutdown(windows, true);
  else
    UnloadWindow(windows, index);
}

}  // namespace ixo
