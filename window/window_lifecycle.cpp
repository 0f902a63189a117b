#include <cstdint>
#include <ctime>

#include "engine/engine.h"
#include "engine/numeric_expression.h"
#include "window/animation.h"
#include "window/engine_windows.h"
#include "window/poll_tick.h"
#include "window/window_events.h"
#include "window/window_shape.h"
#include "window/window_notifications.h"

namespace ixo {

EngineWindows::EngineWindows(Engine& owner)
    : engine(owner), window_system(*owner.platform.window_system), timers(*owner.platform.timers),
      input(*owner.platform.input) {
  engine.windows = this;
  engine.hooks.window_group_name = [this](int index) {
    const EngineWindow* window = at(index);
    return window ? window->group_name() : std::string();
  };
  // A modal box swallows the button release: no window may stay stuck in a drag.
  engine.hooks.before_message_box = [this] {
    for (auto& window : slots_)
      if (window) window->dragging = false;
  };
  application_listener_ = std::make_unique<ApplicationNotifications>(*this);
  engine.platform.application->SetListener(application_listener_.get());
}

EngineWindows::~EngineWindows() {
  for (int index = 0; index < kMaxEngineWindows; ++index) ReleaseSlot(*this, index);
  timers.StopTimer(poll_timer);
  timers.StopTimer(queue_timer);
  engine.platform.application->SetListener(nullptr);
  engine.hooks.window_group_name = nullptr;
  engine.hooks.before_message_box = nullptr;
  engine.windows = nullptr;
}

int ResolveWindowIndex(EngineWindows& windows, const std::string& reference) {
  int index = reference == "main" ? 0 : EvaluateNumber(reference, -1);
  return windows.at(index) ? index : -1;
}

void CreateEngineWindow(EngineWindows& windows, int index) {
  if (index < 0 || index >= kMaxEngineWindows || windows.slots_[index]) return;
  auto window = std::make_unique<EngineWindow>();
  window->index = index;
  window->stored_x = windows.memory_[index].stored_x;
  window->stored_y = windows.memory_[index].stored_y;
  window->animation.direction = windows.memory_[index].direction;
  window->back_buffer = std::make_unique<graphics::Image>();

  windows.listeners_[index] = std::make_unique<WindowNotifications>(windows, index);
  window->native = windows.window_system.CreateWindow(*windows.listeners_[index]);
  windows.window_system.SetBounds(window->native, {0, 0, 0, 0});

  const StartupState& startup = windows.engine.startup;
  if (index == 0) {
    windows.engine.random.Seed(static_cast<uint32_t>(std::time(nullptr)));
    window->movable = true;
    window->close_on_escape = true;
    window->close_on_right_click = true;
    window->activation_ignore_count = 2;
    window->load_pending = true;
    platform::Rect bounds = windows.window_system.Bounds(window->native);
    window->stored_x = static_cast<float>(bounds.left) * 100;
    window->stored_y = static_cast<float>(bounds.top) * 100;
    if (startup.hidden) {
      windows.window_system.SetStyle(window->native, {.tool_window = true, .topmost = false, .no_activate = true});
      windows.window_system.PlaceBehindTopmost(window->native);
    } else {
      windows.window_system.SetStyle(window->native,
                                     {.tool_window = !startup.show_in_taskbar, .topmost = true, .no_activate = false});
    }
  }
  windows.slots_[index] = std::move(window);
  windows.high_water = std::max(windows.high_water, index + 1);
  windows.skip_once_index = index;
  UpdatePolling(windows);
}

void ReleaseSlot(EngineWindows& windows, int index) {
  std::unique_ptr<EngineWindow>& slot = windows.slots_[index];
  if (!slot) return;
  windows.memory_[index] = {slot->stored_x, slot->stored_y, slot->animation.direction};
  windows.timers.StopTimer(slot->animation_timer);
  windows.timers.StopTimer(slot->window_timer);
  windows.window_system.DestroyWindow(slot->native);
  slot.reset();
  windows.listeners_[index].reset();
}

void UnloadWindow(EngineWindows& windows, int index) {
  if (!windows.at(index)) return;
  if (index > 0) RaiseImmediateWindowEvent(windows, "unload", index);
  EngineWindow* window = windows.at(index);
  if (!window) return;  // the handler closed it already
  platform::Rect area = windows.window_system.Bounds(window->native);
  windows.window_system.Hide(window->native);
  window->back_buffer.reset();
  window->group.reset();
  windows.window_system.RepaintScreenArea(area);
  ReleaseSlot(windows, index);
  UpdatePolling(windows);
}

void EngineShutdown(EngineWindows& windows, bool ask) {
  ExecutionContext& context = windows.engine.context;
  if (context.shutting_down) return;
  windows.cancel_close = false;
  if (ask) {
    RaiseImmediateWindowEvent(windows, "unload", 0);
    RaiseImmediateWindowEvent(windows, "terminate", 0);
    if (windows.cancel_close) return;
  }
  context.shutting_down = true;
  // Sound channels are released here by their family's own shutdown once it
  // exists; the windows go last, the main one after the rest.
  windows.engine.draw.reset();  // the memory images
  for (int index = 1; index < kMaxEngineWindows; ++index) UnloadWindow(windows, index);
  UnloadWindow(windows, 0);
  windows.engine.platform.application->RequestTerminate();
}

void PaintWindow(EngineWindows& windows, int index) {
  EngineWindow* window = windows.at(index);
  if (!window || !window->back_buffer) return;
  platform::Rect bounds = windows.window_system.Bounds(window->native);
  graphics::Image& buffer = *window->back_buffer;
  if (buffer.width() < bounds.width || buffer.height() < bounds.height)
    buffer.Resize(std::max(buffer.width(), bounds.width), std::max(buffer.height(), bounds.height));
  windows.window_system.Present(window->native, buffer.view());
  // Key-coloured pixels are holes: the outline follows what was painted.
  if (window->colour_key) ApplyWindowShape(windows, index);
}

void EnsureBackBuffer(EngineWindows& windows, int index) {
  EngineWindow* window = windows.at(index);
  if (!window || window->back_buffer) return;
  platform::Rect bounds = windows.window_system.Bounds(window->native);
  window->back_buffer = std::make_unique<graphics::Image>(bounds.width, bounds.height);
}

namespace {

// Truncates toward zero; values beyond int (a script can store any number) saturate.
int TruncateHundredths(float hundredths) {
  if (!(hundredths == hundredths)) return 0;
  if (hundredths >= 2147483520.0f) return INT32_MAX;
  if (hundredths <= -2147483520.0f) return INT32_MIN;
  return static_cast<int>(hundredths);
}

}  // namespace

void SetWindowTimer(EngineWindows& windows, int index, bool enabled, int32_t interval_ms) {
  EngineWindow* window = windows.at(index);
  if (!window) return;
  window->window_timer_enabled = enabled;
  window->window_timer_interval = interval_ms;
  windows.timers.StopTimer(window->window_timer);
  window->window_timer = 0;
  if (!enabled || interval_ms <= 0) return;
  window->window_timer = windows.timers.StartTimer(static_cast<uint32_t>(interval_ms), [&windows, index] {
    RaiseWindowEvent(windows, "window:timer", index);
  });
}

platform::Point StoredPixelPosition(const EngineWindow& window) {
  return {TruncateHundredths(window.stored_x) / 100, TruncateHundredths(window.stored_y) / 100};
}

platform::FrameExtents FrameOf(EngineWindows& windows, const EngineWindow& window) {
  platform::WindowFrames* frames = windows.engine.platform.frames;
  return frames ? frames->Frame(window.native) : platform::FrameExtents{};
}

bool MayHaveHandler(EngineWindows& windows, std::string_view name, int index, bool group_suffix) {
  std::string full_name(name);
  const EngineWindow* window = windows.at(index);
  if (group_suffix && window && window->group) full_name += ":" + *window->group;
  return windows.engine.script.event_list().find(full_name) != std::string::npos;
}

}  // namespace ixo
