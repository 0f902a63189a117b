#include "window/animation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/engine.h"
#include "window/engine_windows.h"
#include "window/window_events.h"

namespace ixo {

namespace {

double Radians(int degrees) { return degrees * std::numbers::pi / 180.0; }

void StopAnimationTimer(EngineWindows& windows, EngineWindow& window) {
  windows.timers.StopTimer(window.animation_timer);
  window.animation_timer = 0;
}

// Raises an animation event; returns false when its handler closed the window.
bool RaiseAnimationEvent(EngineWindows& windows, const char* name, int index) {
  RaiseWindowEvent(windows, name, index);
  return windows.at(index) != nullptr;
}

// A border hit turns the heading and tells the script which border it was.
bool Bounce(EngineWindows& windows, int index, int64_t new_direction, const char* border_event) {
  windows.at(index)->animation.direction = NormalizeAngle(new_direction);
  return RaiseAnimationEvent(windows, border_event, index) &&
         RaiseAnimationEvent(windows, "hit:screenborder", index);
}

}  // namespace

int NormalizeAngle(int64_t degrees) {
  degrees %= 360;
  return static_cast<int>(degrees < 0 ? degrees + 360 : degrees);
}

platform::Size BoundsArea(EngineWindows& windows, const EngineWindow& window) {
  if (const EngineWindow* parent = windows.at(window.parent_index)) {
    platform::Rect client = windows.window_system.Bounds(parent->native);
    return {client.width, client.height};
  }
  return windows.window_system.ScreenSize();
}

void ClampStoredPosition(EngineWindows& windows, EngineWindow& window) {
  platform::Size area = BoundsArea(windows, window);
  platform::Rect bounds = windows.window_system.Bounds(window.native);
  const float max_x = static_cast<float>(area.width - bounds.width);
  const float max_y = static_cast<float>(area.height - bounds.height);
  if (window.stored_x < 0) window.stored_x = 0;
  if (window.stored_y < 0) window.stored_y = 0;
  if (window.stored_x / 100 > max_x) window.stored_x = max_x * 100;
  if (window.stored_y / 100 > max_y) window.stored_y = max_y * 100;
}

void AnimationStep(EngineWindows& windows, int index) {
  EngineWindow* window = windows.at(index);
  if (!window || window->animation.sensibility <= 0 || window->animation.busy || window->dragging) return;
  AnimationState& motion = window->animation;
  motion.busy = true;
  platform::Size area = BoundsArea(windows, *window);
  platform::Rect bounds = windows.window_system.Bounds(window->native);
  const double max_x = area.width - bounds.width;
  const double max_y = area.height - bounds.height;

  if (motion.speed <= 0) {
    StopAnimationTimer(windows, *window);
    if (!window->can_go_out) ClampStoredPosition(windows, *window);
    motion.busy = false;
    RaiseAnimationEvent(windows, "anim:end", index);
    return;
  }

  // Friction in 64 bits: a script may set any friction.
  int64_t slowed = static_cast<int64_t>(motion.speed) - 10 * static_cast<int64_t>(motion.friction);
  motion.speed = static_cast<int>(std::clamp<int64_t>(slowed, 0, INT32_MAX));
  const double d = Radians(motion.direction);
  window->stored_x = static_cast<float>(window->stored_x - std::sin(d) * motion.speed);
  window->stored_y = static_cast<float>(window->stored_y + std::cos(d) * motion.speed);
  if (!window->can_go_out) ClampStoredPosition(windows, *window);
  // Events are queued, so no handler runs before the border tests; the busy flag
  // guards against a nested message loop coming back here meanwhile.
  bool alive = RaiseAnimationEvent(windows, "anim:move", index);
  if (alive && windows.at(index)->stored_x / 100 >= max_x)
    alive = Bounce(windows, index, -int64_t{windows.at(index)->animation.direction}, "hit:screenborder:right");
  if (alive && windows.at(index)->stored_x / 100 <= 0)
    alive = Bounce(windows, index, -int64_t{windows.at(index)->animation.direction}, "hit:screenborder:left");
  if (alive && windows.at(index)->stored_y / 100 >= max_y)
    alive = Bounce(windows, index, -int64_t{windows.at(index)->animation.direction} - 180, "hit:screenborder:bottom");
  if (alive && windows.at(index)->stored_y / 100 <= 0)
    alive = Bounce(windows, index, -int64_t{windows.at(index)->animation.direction} - 180, "hit:screenborder:top");
  if (alive) windows.at(index)->animation.busy = false;
}

void ThrowGesture(EngineWindows& windows, int index) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  platform::Point pointer = windows.input.PointerPosition();
  const int64_t dx = int64_t{window->cursor_sample_2.x} - pointer.x;
  const int64_t dy = int64_t{window->cursor_sample_2.y} - pointer.y;
  AnimationState& motion = window->animation;
  if (dx == 0 || dy == 0 || motion.sensibility <= 0) return;

  int direction = NormalizeAngle(static_cast<int>(std::atan2(dy, dx) * 180 / std::numbers::pi + 90));
  platform::Size screen = windows.window_system.ScreenSize();
  // Wide enough for any pointer step times any sensibility a script can set.
  __int128 push = static_cast<__int128>(screen.width) * std::abs(dx) +
                  static_cast<__int128>(screen.height) * std::abs(dy);
  __int128 speed = push * motion.sensibility / 1000;
  if (speed <= 0) return;
  if (window->move_axis == MoveAxis::kHorizontal) direction = direction < 180 ? 90 : 270;
  if (window->move_axis == MoveAxis::kVertical) direction = direction > 90 && direction < 270 ? 180 : 0;
  motion.direction = direction;
  motion.speed = static_cast<int>(std::min<__int128>(speed, INT32_MAX));
  RaiseWindowEvent(windows, "anim:start", index);
  StartAnimationTimer(windows, index);
}

void StartAnimationTimer(EngineWindows& windows, int index) {
  EngineWindow* window = windows.at(index);
  if (!window || window->animation_timer) return;
  window->animation_timer =
      windows.timers.StartTimer(kAnimationIntervalMs, [&windows, index] { AnimationStep(windows, index); });
}

}  // namespace ixo
