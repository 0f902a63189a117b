#include "window/poll_tick.h"

#include "engine/engine.h"
#include "window/engine_windows.h"
#include "window/window_events.h"

namespace ixo {

namespace {

bool NeedsPolling(EngineWindows& windows, const EngineWindow& window) {
  return window.load_pending || MayHaveHandler(windows, "mouse:enter", window.index, true) ||
         MayHaveHandler(windows, "mouse:exit", window.index, true);
}

bool GlobalClicksWanted(EngineWindows& windows) {
  for (const char* name : {"mouse:globalclick", "mouse:globalrightclick", "mouse:beforeglobalrightclick"})
    if (MayHaveHandler(windows, name, 0, true)) return true;
  return false;
}

// Steps that concern the desktop as a whole: a click that ended anywhere after
// it began over one of the engine's windows.
void PollGlobalClicks(EngineWindows& windows, bool left_down, bool right_down, const platform::WindowHit& hit) {
  if (!left_down && !right_down) {
    GlobalClick ended = windows.global_click;
    windows.global_click = GlobalClick::kNone;
    if (ended == GlobalClick::kLeft) RaiseImmediateWindowEvent(windows, "mouse:globalclick", 0);
    if (ended == GlobalClick::kRight) RaiseImmediateWindowEvent(windows, "mouse:globalrightclick", 0);
  }
  if (hit.engine_owned) {
    if (left_down) windows.global_click = GlobalClick::kLeft;
    if (right_down) {
      windows.global_click = GlobalClick::kRight;
      RaiseImmediateWindowEvent(windows, "mouse:beforeglobalrightclick", 0);
    }
  }
}

void PollEnterExit(EngineWindows& windows, EngineWindow& window, const platform::WindowHit& hit) {
  bool inside = hit.window == window.native && !hit.child_control;
  if (inside == window.mouse_inside) return;
  window.mouse_inside = inside;
  RaiseWindowEvent(windows, inside ? "mouse:enter" : "mouse:exit", window.index);
}

void RaiseLoad(EngineWindows& windows, EngineWindow& window) {
  const bool hidden = windows.engine.startup.hidden;
  const int index = window.index;
  const platform::WindowId native = window.native;
  if (hidden) windows.window_system.Hide(native);
  window.load_pending = false;
  RaiseImmediateWindowEvent(windows, "load", index);
  // The handler may have closed the window, or closed it and made another.
  const EngineWindow* after = windows.at(index);
  if (!hidden && after && after->native == native) windows.window_system.Show(native);
}

}  // namespace

void PollTick(EngineWindows& windows) {
  platform::Point pointer = windows.input.PointerPosition();
  bool left_down = windows.input.IsButtonDown(platform::MouseButton::kLeft);
  bool right_down = windows.input.IsButtonDown(platform::MouseButton::kRight);
  platform::WindowHit hit = windows.window_system.WindowAt(pointer);

  if (windows.global_clicks_polled) PollGlobalClicks(windows, left_down, right_down, hit);
  bool load_raised = false;
  for (int index = 0; index < windows.high_water; ++index) {
    EngineWindow* window = windows.at(index);
    if (!window || !window->polled) continue;
    PollEnterExit(windows, *window, hit);
    // The handler of enter or exit may have closed the window.
    window = windows.at(index);
    if (window && window->load_pending) {
      RaiseLoad(windows, *window);
      load_raised = true;
    }
  }
  if (load_raised) UpdatePolling(windows);
}

void UpdatePolling(EngineWindows& windows) {
  bool any = false;
  for (int index = 0; index < windows.high_water; ++index) {
    EngineWindow* window = windows.at(index);
    if (!window) continue;
    window->polled = NeedsPolling(windows, *window);
    any = any || window->polled;
  }
  windows.global_clicks_polled = windows.high_water > 0 && windows.at(0) && GlobalClicksWanted(windows);
  any = any || windows.global_clicks_polled;

  if (any && !windows.poll_timer) {
    windows.poll_timer = windows.timers.StartTimer(kPollIntervalMs, [&windows] { PollTick(windows); });
  } else if (!any && windows.poll_timer) {
    windows.timers.StopTimer(windows.poll_timer);
    windows.poll_timer = 0;
  }
}

}  // namespace ixo
