// Icons in the desktop's status area, one per engine window, and their balloons.
// Pointer activity on an icon reaches its window as the private status-icon
// message (PrivateMessage::kStatusIcon) with the mouse notification in the second word.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window_system.h"

namespace ixo::platform {

// The mouse notifications of a status icon.
inline constexpr uint64_t kIconMouseMove = 0x0200;
inline constexpr uint64_t kIconLeftDown = 0x0201;
inline constexpr uint64_t kIconLeftUp = 0x0202;
inline constexpr uint64_t kIconLeftDoubleClick = 0x0203;
inline constexpr uint64_t kIconRightDown = 0x0204;

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
