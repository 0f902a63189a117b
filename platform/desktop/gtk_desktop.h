// The desktop host's window system: GTK 3 windows on X11 (Xlib for what GDK
// lacks: the pointer and keyboard state, the window under a point, the private
// messages between engines, shapes, struts, other programs' windows). Frames,
// stacking, shapes, monitors, status icons and app bars each live in a file of
// their own beside gtk_desktop.cpp. The GLib main loop is the message loop: timers are
// timeout sources, idle processing is an idle source added after every
// notification and removed when it answers "done".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app_bars.h"
#include "platform/application.h"
#include "platform/input_state.h"
#include "platform/monitors.h"
#include "platform/status_icons.h"
#include "platform/timers.h"
#include "platform/window_frames.h"
#include "platform/window_shapes.h"
#include "platform/window_stacking.h"
#include "platform/window_system.h"

struct _XDisplay;

namespace ixo::platform {

class GtkDesktop : public WindowSystem,
                   public Timers,
                   public InputState,
                   public Application,
                   public WindowFrames,
                   public WindowStacking,
                   public WindowShapes,
                   public Monitors,
                   public StatusIcons,
                   public AppBars {
 public:
  // Opens the display (X11 forced, through XWayland on Wayland desktops).
  // Returns nothing, with the reason in error, when there is no display.
  static std::unique_ptr<GtkDesktop> Open(std::string& error);
  ~GtkDesktop() override;

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
  Size ScreenSize() override;
  WindowHit WindowAt(Point screen_position) override;
  void PostPrivateMessage(WindowId window, uint32_t number, uint64_t first, uint64_t second) override;

  // Timers
  TimerId StartTimer(uint32_t interval_ms, std::function<void()> on_tick) override;
  void StopTimer(TimerId timer) override;

  // InputState
  Point PointerPosition() override;
  bool IsButtonDown(MouseButton button) override;
  bool IsKeyDown(int virtual_key) override;

  // WindowFrames (gtk_window_frames.cpp)
  void SetTitle(WindowId window, std::string_view title) override;
  void SetTooltip(WindowId window, std::string_view text) override;
  void SetIcon(WindowId window, PixelView icon) override;
  void SetBorder(WindowId window, BorderStyle style, BorderIcons icons) override;
  FrameExtents Frame(WindowId window) override;
  void SetState(WindowId window, WindowState state) override;
  WindowState State(WindowId window) override;
  void SetEnabled(WindowId window, bool enabled) override;
  bool IsEnabled(WindowId window) override;

  // WindowStacking (gtk_window_stacking.cpp)
  void Restack(WindowId window, StackPlace place, WindowId reference, bool activate) override;
  bool IsTopmost(WindowId window) override;
  WindowId FindByTitle(std::string_view title) override;
  void SetForeground(WindowId window) override;
  void SetParent(WindowId window, WindowId parent) override;

  // WindowShapes (x11_window_shapes.cpp)
  void SetShape(WindowId window, const std::vector<Rect>* rectangles) override;
  bool SetOpacity(WindowId window, uint8_t opacity) override;

  // Monitors (gtk_monitors.cpp)
  std::vector<Monitor> All() override;

  // StatusIcons (gtk_status_icons.cpp)
  void ShowStatusIcon(WindowId owner, const StatusIconContent& content) override;
  void HideStatusIcon(WindowId owner) override;

  // AppBars (x11_app_bars.cpp)
  void RegisterAppBar(WindowId window) override;
  void RemoveAppBar(WindowId window) override;
  Rect QueryAppBarPosition(WindowId window, ScreenEdge edge, Rect wanted) override;
  void SetAppBarPosition(WindowId window, ScreenEdge edge, Rect strip) override;
  // The work area changed: every registered app bar hears of it.
  void NotifyAppBarsOfWorkArea();

  // Application
  void SetListener(ApplicationListener* listener) override { listener_ = listener; }
  void RunMessageLoop() override;
  void RequestTerminate() override;
  bool TerminateRequested() const override { return terminate_requested_; }

  struct NativeWindow;
  struct Timer;

  // Runs a call into the engine the way the message loop does: an exception
  // that escapes goes to the exception hook, and idle processing follows.
  void Dispatch(const std::function<void()>& call);
  ApplicationListener* listener() const { return listener_; }
  // Called by the windows' focus notifications to tell the application.
  void UpdateApplicationActivation();
  // One call of idle processing; true when it wants to be called again at once.
  bool RunIdleOnce();

 private:
  GtkDesktop(_XDisplay* display, unsigned long message_atom);
  NativeWindow* Find(WindowId id);
  void ScheduleIdle();
  // Balloons are shown through the notification service once it is set up.
  bool StartNotifications();
  void StopNotifications();
  // The pointer's position and buttons, read once per dispatched notification.
  struct PointerState {
    Point position;
    unsigned int buttons = 0;
  };
  const PointerState& Pointer();
  void WatchDesktopChanges();

  _XDisplay* display_;
  unsigned long message_atom_;
  std::map<WindowId, std::unique_ptr<NativeWindow>> windows_;
  std::map<TimerId, std::unique_ptr<Timer>> timers_;
  ApplicationListener* listener_ = nullptr;
  unsigned int idle_source_ = 0;
  bool terminate_requested_ = false;
  bool application_active_ = false;
  bool notifications_started_ = false;
  uint64_t dispatch_count_ = 1;
  uint64_t pointer_read_at_ = 0;
  PointerState pointer_;
};

}  // namespace ixo::platform
