// The table of engine windows and the process-wide state of their input, with the
// operations that create, paint and close them and end the object. Everything
// runs on the user interface thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "platform/application.h"
#include "platform/timers.h"
#include "platform/window_system.h"
#include "window/engine_window.h"

namespace ixo {

class Engine;
class WindowNotifications;
class ApplicationNotifications;

enum class GlobalClick { kNone = 0, kLeft = 1, kRight = 2 };

// What a slot keeps from the window that used it last.
struct SlotMemory {
  float stored_x = 0;
  float stored_y = 0;
  int direction = 0;
};

class EngineWindows {
 public:
  // Registers itself with the engine (engine.windows) and with the application.
  explicit EngineWindows(Engine& engine);
  ~EngineWindows();
  EngineWindows(const EngineWindows&) = delete;
  EngineWindows& operator=(const EngineWindows&) = delete;

  // The window in that slot, nullptr when the index is out of range or the slot empty.
  EngineWindow* at(int index) const {
    return index >= 0 && index < kMaxEngineWindows ? slots_[index].get() : nullptr;
  }

  Engine& engine;
  platform::WindowSystem& window_system;
  platform::Timers& timers;
  platform::InputState& input;

  int high_water = 0;  // one more than the highest index ever created
  bool cancel_close = false;
  GlobalClick global_click = GlobalClick::kNone;
  int skip_once_index = -1;  // that window's stored position is not applied at the next idle pass
  bool booster = false;      // idle processing runs continuously

  // The one poll timer serves every window that needs polling (see poll_tick.h).
  platform::TimerId poll_timer = 0;
  bool global_clicks_polled = false;
  // Wakes the loop when a delayed queued event falls due.
  platform::TimerId queue_timer = 0;
  uint32_t queue_timer_due = 0;

 private:
  friend void CreateEngineWindow(EngineWindows&, int);
  friend void ReleaseSlot(EngineWindows&, int);

  std::array<std::unique_ptr<EngineWindow>, kMaxEngineWindows> slots_;
  std::array<std::unique_ptr<WindowNotifications>, kMaxEngineWindows> listeners_;
  std::array<SlotMemory, kMaxEngineWindows> memory_{};
  std::unique_ptr<ApplicationNotifications> application_listener_;
};

// "main" is 0; anything else is read as a number. Returns the index when that
// slot holds a window, otherwise -1.
int ResolveWindowIndex(EngineWindows& windows, const std::string& reference);

// Creates the window for an empty slot, hidden and 0×0. Window 0 is the main
// window: movable, closed by Escape and right click, "load" raised on its first
// poll tick. For other windows the caller sets those fields.
void CreateEngineWindow(EngineWindows& windows, int index);

// Raises "unload" (except for window 0), hides and destroys the window, repaints
// what lay behind it and empties the slot. An empty slot is left alone.
void UnloadWindow(EngineWindows& windows, int index);

// Empties a slot whose window is gone, without raising anything.
void ReleaseSlot(EngineWindows& windows, int index);

// Ends the object. With ask, "unload" and "terminate" run first and may cancel it
// by setting the cancel-close flag.
void EngineShutdown(EngineWindows& windows, bool ask);

// Copies the back buffer onto the window, growing the buffer to the window's size first.
void PaintWindow(EngineWindows& windows, int index);

// Gives a window without back buffer a black one of its size.
void EnsureBackBuffer(EngineWindows& windows, int index);

// Switches the window's own timer, which raises "window:timer" every interval.
// It runs while enabled with an interval above 0; changing either restarts it.
void SetWindowTimer(EngineWindows& windows, int index, bool enabled, int32_t interval_ms);

// Moves windows to their stored positions and starts one due queued event.
platform::IdleAnswer IdleProcessing(EngineWindows& windows);

// The window's left and top, as idle processing would set them from its stored position.
platform::Point StoredPixelPosition(const EngineWindow& window);

// The frame around the window's client area; none on a desktop without frames.
// Stored positions and dragging place the frame's outer corner.
platform::FrameExtents FrameOf(EngineWindows& windows, const EngineWindow& window);

}  // namespace ixo
