// The headless host's window system: a desktop in memory. Windows are rectangles
// holding the pixels last presented to them, in a stacking order; the pointer,
// its buttons and the keyboard are driven by the caller; timers run on a virtual
// clock that jumps straight to the next due timer when nothing else can run.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app_bars.h"
#include "platform/application.h"
#include "platform/headless/virtual_clock.h"
#include "platform/input_state.h"
#include "platform/monitors.h"
#include "platform/status_icons.h"
#include "platform/timers.h"
#include "platform/window_frames.h"
#include "platform/window_shapes.h"
#include "platform/window_stacking.h"
#include "platform/window_system.h"

namespace ixo::platform {

inline constexpr Size kDefaultScreenSize{1024, 768};

struct VirtualWindow {
  WindowId id = 0;
  WindowListener* listener = nullptr;
  Rect bounds;
  bool visible = false;
  WindowStyle style;
  // What the window shows: rows of blue, green, red bytes, bounds-sized, no
  // padding; empty until something is painted (and for a window too large to keep).
  std::vector<uint8_t> pixels;

  std::string title;
  std::string tooltip;
  Size icon_size;
  BorderStyle border = BorderStyle::kNone;
  BorderIcons border_icons;
  WindowState state = WindowState::kNormal;
  bool enabled = true;
  WindowId parent = 0;
  std::optional<std::vector<Rect>> shape;  // client coordinates; none: rectangular
  uint8_t opacity = 255;
  std::optional<StatusIconContent> status_icon;  // its pixels are not kept
  std::optional<Rect> app_bar;  // the reserved strip, once set
  bool app_bar_registered = false;
};

class VirtualDesktop : public WindowSystem,
                       public WindowFrames,
                       public WindowStacking,
                       public WindowShapes,
                       public Monitors,
                       public StatusIcons,
                       public AppBars,
                       public Timers,
                       public InputState,
                       public Application {
 public:
  explicit VirtualDesktop(VirtualClock& clock, Size screen = kDefaultScreenSize);

  // The frames the virtual desktop pretends to draw: caption and edges in pixels.
  static FrameExtents FrameOf(BorderStyle style);

  // WindowSystem
  WindowId CreateWindow(WindowListener& listener) override;
  void DestroyWindow(WindowId window) override;
  void Show(WindowId window) override;
  void Hide(WindowId window) override;
  bool IsVisible(WindowId window) override;
  Rect Bounds(WindowId window) override;
  void SetBounds(WindowId window, Rect bounds) override;
  void SetStyle(WindowId window, WindowStyle style) override;
  void PlaceBehindTopmost(WindowId window) override;
  void SetFocus(WindowId window) override;
  void Present(WindowId window, PixelView picture) override;
  void Invalidate(WindowId window) override;
  void RepaintScreenArea(Rect area) override;
  Size ScreenSize() override { return screen_; }
  WindowHit WindowAt(Point screen_position) override;
  void PostPrivateMessage(WindowId window, uint32_t number, uint64_t first, uint64_t second) override;

  // WindowFrames
  void SetTitle(WindowId window, std::string_view title) override;
  void SetTooltip(WindowId window, std::string_view text) override;
  void SetIcon(WindowId window, PixelView icon) override;
  void SetBorder(WindowId window, BorderStyle style, BorderIcons icons) override;
  FrameExtents Frame(WindowId window) override;
  void SetState(WindowId window, WindowState state) override;
  WindowState State(WindowId window) override;
  void SetEnabled(WindowId window, bool enabled) override;
  bool IsEnabled(WindowId window) override;

  // WindowStacking
  void Restack(WindowId window, StackPlace place, WindowId reference, bool activate) override;
  bool IsTopmost(WindowId window) override;
  WindowId FindByTitle(std::string_view title) override;
  void SetForeground(WindowId window) override;
  void SetParent(WindowId window, WindowId parent) override;

  // WindowShapes
  void SetShape(WindowId window, const std::vector<Rect>* rectangles) override;
  bool SetOpacity(WindowId window, uint8_t opacity) override;
  // Whether the desktop shows opacity; a desktop without a compositor does not.
  void set_composited(bool composited) { composited_ = composited; }

  // Monitors: one, the screen, less the app bars' strips.
  std::vector<Monitor> All() override;

  // StatusIcons
  void ShowStatusIcon(WindowId owner, const StatusIconContent& content) override;
  void HideStatusIcon(WindowId owner) override;
  // The user acts on a window's status icon (a mouse notification number).
  void ClickStatusIcon(WindowId owner, uint64_t mouse_notification);

  // AppBars
  void RegisterAppBar(WindowId window) override;
  void RemoveAppBar(WindowId window) override;
  Rect QueryAppBarPosition(WindowId window, ScreenEdge edge, Rect wanted) override;
  void SetAppBarPosition(WindowId window, ScreenEdge edge, Rect strip) override;

  // Timers
  TimerId StartTimer(uint32_t interval_ms, std::function<void()> on_tick) override;
  void StopTimer(TimerId timer) override;

  // InputState
  Point PointerPosition() override { return pointer_; }
  bool IsButtonDown(MouseButton button) override;
  bool IsKeyDown(int virtual_key) override;

  // Application
  void SetListener(ApplicationListener* listener) override { application_listener_ = listener; }
  void RunMessageLoop() override { RunFor(std::nullopt); }
  void RequestTerminate() override { terminate_requested_ = true; }
  bool TerminateRequested() const override { return terminate_requested_; }

  // Runs the loop until termination is requested, nothing is scheduled any more,
  // or the clock has advanced run_for_ms.
  void RunFor(std::optional<uint64_t> run_for_ms);

  // Input as a user gives it. Each is delivered as the window system would (to
  // the window under the pointer, to the one holding the pressed button, to the
  // focused one for keys) and is followed by idle time, as the loop would give.
  void MovePointer(Point screen_position);
  void PressButton(MouseButton button);
  void ReleaseButton(MouseButton button);
  void DoubleClick();
  void TurnWheel(bool up);
  // Key down, then a character press when character is not 0.
  void PressKey(int virtual_key, unsigned char character = 0);
  void ReleaseKey(int virtual_key);
  // Notifications from the window manager and the session.
  void RequestClose(WindowId window);
  void SendActivation(WindowId window, bool active);
  ApplicationListener* application_listener() const { return application_listener_; }

  const VirtualWindow* window(WindowId id) const;
  // Visible windows, front first.
  std::vector<WindowId> StackingOrder() const;
  VirtualClock& clock() { return clock_; }
  size_t timer_count() const { return timers_.size(); }
  // How many timer ticks have run: the headless measure of what idling costs.
  uint64_t ticks_fired() const { return ticks_fired_; }

 private:
  struct Timer {
    uint32_t interval_ms = 0;
    uint64_t due_ms = 0;
    std::function<void()> on_tick;
  };
  struct PostedMessage {
    WindowId window;
    uint32_t number;
    uint64_t first;
    uint64_t second;
  };

  VirtualWindow* Find(WindowId id);
  Point ClientPosition(const VirtualWindow& window) const;
  // Where a window lies on the screen, its parents' places added.
  Rect ScreenRect(const VirtualWindow& window) const;
  // Whether the pointer at that point is over the window (shown, and not in a hole).
  bool Takes(const VirtualWindow& window, Point position) const;
  void BringToFront(WindowId id);
  // Delivers posted messages and paints; returns whether there were any.
  bool DispatchPending();
  bool FireDueTimer();
  void RunIdle();
  std::optional<uint64_t> NextTimerDue() const;
  template <typename Deliver>
  void DeliverToWindow(WindowId id, Deliver deliver);

  VirtualClock& clock_;
  Size screen_;
  std::map<WindowId, VirtualWindow> windows_;
  std::vector<WindowId> stacking_;  // every window, front first
  WindowId next_window_id_ = 1;
  WindowId focus_ = 0;
  WindowId pointer_grab_ = 0;  // the window a pressed button belongs to

  std::map<TimerId, Timer> timers_;
  TimerId next_timer_id_ = 1;
  uint64_t ticks_fired_ = 0;

  Point pointer_;
  std::set<MouseButton> buttons_down_;
  std::set<int> keys_down_;

  bool composited_ = true;
  std::deque<PostedMessage> posted_;
  std::set<WindowId> paint_pending_;
  ApplicationListener* application_listener_ = nullptr;
  bool terminate_requested_ = false;
};

}  // namespace ixo::platform
