// Icons in the desktop's status area, one per engine window, and their balloons.
// Pointer activity on an icon reaches its window as the private status-icon
// message (kPrivateMessageBase + 2) with the mouse notification in the second word.
#pragma once

#include <string>

#include "platform/window_system.h"

namespace ixo::platform {

enum class BalloonIcon { kNone = 0, kInformation = 1, kWarning = 2, kError = 3 };

struct StatusIconContent {
  std::string tooltip;          // script text
  PixelView icon;               // no pixels: no picture
  std::string balloon_title;    // empty: no balloon
  std::string balloon_text;
  BalloonIcon balloon_icon = BalloonIcon::kNone;
};

class StatusIcons {
 public:
  virtual ~StatusIcons() = default;
  // Adds the window's icon, or changes it when it is already there.
  virtual void ShowStatusIcon(WindowId owner, const StatusIconContent& content) = 0;
  virtual void HideStatusIcon(WindowId owner) = 0;
};

}  // namespace ixo::platform
