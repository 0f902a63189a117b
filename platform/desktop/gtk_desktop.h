// The desktop host's window system: GTK 3 windows on X11 (Xlib for what GDK
// lacks: the pointer and keyboard state, the window under a point, the private
// messages between engines). The GLib main loop is the message loop: timers are
// timeout sources, idle processing is an idle source added after every
// notification and removed when it answers "done".
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/application.h"
#include "platform/input_state.h"
#include "platform/timers.h"
#include "platform/window_system.h"

struct _XDisplay;

namespace ixo::platform {

class GtkDesktop : public WindowSystem, public Timers, public InputState, public Application {
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
  uint64_t dispatch_count_ = 1;
  uint64_t pointer_read_at_ = 0;
  PointerState pointer_;
};

}  // namespace ixo::platform
