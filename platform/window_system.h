// Top-level windows of the engine: borderless, created hidden and 0×0, painted
// only from pixels the engine hands over. Every notification arrives on the user
// interface thread through the window's listener.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/geometry.h"
#include "platform/input_state.h"

namespace ixo::platform {

using WindowId = uint64_t;  // 0 is never a window; on X11 the window id

// The largest width or height a window can have (X11's limit); larger sizes
// asked for by a script are cut to it.
inline constexpr int kMaxWindowExtent = 32767;

// The bounds a window system gives a window asked for these: sizes from 0 to
// kMaxWindowExtent.
inline Rect WithinWindowExtents(Rect bounds) {
  bounds.width = std::clamp(bounds.width, 0, kMaxWindowExtent);
  bounds.height = std::clamp(bounds.height, 0, kMaxWindowExtent);
  return bounds;
}

// Private messages between engines and to engine windows count from here.
inline constexpr uint32_t kPrivateMessageBase = 0x8000;

// The private messages, by their number above kPrivateMessageBase.
enum class PrivateMessage : uint32_t {
  kExternText = 1,
  kStatusIcon = 2,  // second word: the mouse notification (platform/status_icons.h)
  kAppBar = 3,      // first word: kAppBarPositionChanged
  kQuit = 4,
  kExternNumbers = 5,
};

inline constexpr uint32_t PrivateMessageNumber(PrivateMessage message) {
  return kPrivateMessageBase + static_cast<uint32_t>(message);
}

inline constexpr uint64_t kAppBarPositionChanged = 1;

class WindowListener {
 public:
  virtual ~WindowListener() = default;
  // Pointer positions are client coordinates of this window.
  virtual void OnMouseDown(MouseButton button, Point position) = 0;
  virtual void OnMouseMove(Point position) = 0;
  virtual void OnMouseUp(MouseButton button, Point position) = 0;
  virtual void OnDoubleClick(Point position) = 0;
  virtual void OnWheel(bool up) = 0;
  virtual void OnKeyDown(int virtual_key) = 0;
  virtual void OnKeyPress(unsigned char character) = 0;
  virtual void OnKeyUp(int virtual_key) = 0;
  // The window must be drawn again (its pixels were lost or invalidated).
  virtual void OnPaint() = 0;
  virtual void OnMoved() = 0;
  virtual void OnResized() = 0;
  virtual void OnActivation(bool active) = 0;
  // The user or the window manager asks the window to close; the window stays
  // until the engine destroys it.
  virtual void OnCloseRequest() = 0;
  virtual void OnPrivateMessage(uint32_t number, uint64_t first, uint64_t second) = 0;
};

struct WindowStyle {
  bool tool_window = false;  // no taskbar button
  bool topmost = false;      // stays above ordinary windows
  bool no_activate = false;  // never takes the focus
  friend bool operator==(const WindowStyle&, const WindowStyle&) = default;
};

// A 24-bit picture handed to a window: rows of blue, green, red bytes.
struct PixelView {
  const uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  size_t stride = 0;  // bytes from one row to the next
};

// What lies under a point of the screen.
struct WindowHit {
  WindowId window = 0;          // the engine window there, 0 when none is
  bool engine_owned = false;    // some window of this program is there (a control too)
  bool child_control = false;   // the point is on a control inside that window
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // The listener must outlive the window.
  virtual WindowId CreateWindow(WindowListener& listener) = 0;
  virtual void DestroyWindow(WindowId window) = 0;

  virtual void Show(WindowId window) = 0;
  virtual void Hide(WindowId window) = 0;
  virtual bool IsVisible(WindowId window) = 0;
  virtual Rect Bounds(WindowId window) = 0;  // screen coordinates
  virtual void SetBounds(WindowId window, Rect bounds) = 0;
  virtual void SetStyle(WindowId window, WindowStyle style) = 0;
  // Below every topmost window, without activating it.
  virtual void PlaceBehindTopmost(WindowId window) = 0;
  virtual void SetFocus(WindowId window) = 0;

  // Shows pixels at client position (0, 0); parts beyond the window are cut.
  virtual void Present(WindowId window, PixelView picture) = 0;
  // Asks for a paint notification soon.
  virtual void Invalidate(WindowId window) = 0;
  // Redraws whatever lies in a screen area now (after a window left it).
  virtual void RepaintScreenArea(Rect area) = 0;

  virtual Size ScreenSize() = 0;
  virtual WindowHit WindowAt(Point screen_position) = 0;
  virtual void PostPrivateMessage(WindowId window, uint32_t number, uint64_t first, uint64_t second) = 0;
};

}  // namespace ixo::platform
