// What a window shows around and about itself: caption, frame, icon, hint,
// minimised or maximised state, and whether it takes input. Texts are script
// text (Windows-1252); the host converts them.
#pragma once

#include <string_view>

#include "platform/window_system.h"

namespace ixo::platform {

enum class BorderStyle {
  kDialog,         // fixed frame, no minimise or maximise
  kNone,
  kSingle,         // fixed frame
  kSizeable,
  kToolSizeable,   // small caption
  kToolFixed,      // small caption, fixed frame
};

struct BorderIcons {
  bool system_menu = true;
  bool minimize = true;
  bool maximize = true;
  bool help = false;
};

enum class WindowState { kNormal = 0, kMinimized = 1, kMaximized = 2 };

// How far the frame reaches beyond the client area on each side.
struct FrameExtents {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class WindowFrames {
 public:
  virtual ~WindowFrames() = default;
  virtual void SetTitle(WindowId window, std::string_view title) = 0;
  // An empty text takes the hint away.
  virtual void SetTooltip(WindowId window, std::string_view text) = 0;
  virtual void SetIcon(WindowId window, PixelView icon) = 0;
  virtual void SetBorder(WindowId window, BorderStyle style, BorderIcons icons) = 0;
  virtual FrameExtents Frame(WindowId window) = 0;
  virtual void SetState(WindowId window, WindowState state) = 0;
  virtual WindowState State(WindowId window) = 0;
  virtual void SetEnabled(WindowId window, bool enabled) = 0;
  virtual bool IsEnabled(WindowId window) = 0;
};

}  // namespace ixo::platform
