// A window's status icon and its place as an app bar docked to a screen edge.
#include <algorithm>
#include <cstdint>

#include "engine/value_text.h"
#include "graphics/window_commands.h"
#include "graphics/window_picture_commands.h"

namespace ixo::window_commands {

namespace {

std::string Cut(const std::string& text, size_t length) { return text.substr(0, length); }

Handled StatusIcon(Target& t) {
  platform::StatusIcons* icons = t.engine.platform.status_icons;
  if (t.K(4) == "show") {
    platform::StatusIconContent content;
    content.tooltip = Cut(t.P(1), 63);
    std::optional<graphics::Image> picture = LoadIconPicture(t.P(2));
    if (picture) content.icon = picture->view();
    if (!t.P(3).empty()) {
      content.balloon_title = Cut(t.P(3), 63);
      content.balloon_text = Cut(t.P(4), 255);
      const std::string& kind = t.P(5);
      content.balloon_icon = kind == "1"   ? platform::BalloonIcon::kInformation
                             : kind == "2" ? platform::BalloonIcon::kWarning
                             : kind == "3" ? platform::BalloonIcon::kError
                                           : platform::BalloonIcon::kNone;
    }
    if (icons) icons->ShowStatusIcon(t.native(), content);
    t.window.status_icon_shown = true;
    return kDone;
  }
  if (t.K(4) == "hide") {
    if (icons) icons->HideStatusIcon(t.native());
    t.window.status_icon_shown = false;
    return kDone;
  }
  return Unknown(t.engine);
}

platform::ScreenEdge EdgeOf(const std::string& digit) {
  if (digit == "0") return platform::ScreenEdge::kLeft;
  if (digit == "2") return platform::ScreenEdge::kRight;
  if (digit == "3") return platform::ScreenEdge::kBottom;
  return platform::ScreenEdge::kTop;
}

// The strip of the screen along an edge, as thick as the window is across it.
platform::Rect StripAlong(platform::ScreenEdge edge, platform::Size screen, int width, int height) {
  switch (edge) {
    case platform::ScreenEdge::kLeft: return {0, 0, width, screen.height};
    case platform::ScreenEdge::kRight: return {screen.width - width, 0, width, screen.height};
    case platform::ScreenEdge::kBottom: return {0, screen.height - height, screen.width, height};
    default: return {0, 0, screen.width, height};
  }
}

// After the desktop adjusted the strip, its thickness is measured again from its outer edge.
platform::Rect KeepThickness(platform::ScreenEdge edge, platform::Rect strip, int width, int height) {
  switch (edge) {
    case platform::ScreenEdge::kLeft: strip.width = width; break;
    case platform::ScreenEdge::kTop: strip.height = height; break;
    case platform::ScreenEdge::kRight:
      strip.left = strip.left + strip.width - width;
      strip.width = width;
      break;
    case platform::ScreenEdge::kBottom:
      strip.top = strip.top + strip.height - height;
      strip.height = height;
      break;
  }
  return strip;
}

Handled AppBar(Target& t) {
  platform::AppBars* bars = t.engine.platform.app_bars;
  const std::string& what = t.K(4);
  if (what == "enable") {
    const bool enable = t.P(1) == "1";
    if (bars && enable && !t.window.app_bar_registered) bars->RegisterAppBar(t.native());
    if (bars && !enable && t.window.app_bar_registered) bars->RemoveAppBar(t.native());
    t.window.app_bar_registered = enable;
    return kDone;
  }
  const platform::ScreenEdge edge = EdgeOf(t.P(1));
  const platform::Rect r = OuterRect(t);
  if (what == "setpos") {
    const int left = t.Number(2, r.left), top = t.Number(3, r.top);
    // Right and bottom default to the window's own; the strip's sizes stay
    // within what a window can be, whatever numbers a script gives.
    const auto extent = [](int64_t size) {
      return static_cast<int>(std::clamp<int64_t>(size, 0, platform::kMaxWindowExtent));
    };
    const auto fallback = [](int64_t size) { return static_cast<int32_t>(std::clamp<int64_t>(size, 0, INT32_MAX)); };
    const int width = extent(t.Number(4, fallback(int64_t{r.left} + r.width - left)));
    const int height = extent(t.Number(5, fallback(int64_t{r.top} + r.height - top)));
    if (bars) {
      platform::Rect strip = bars->QueryAppBarPosition(t.native(), edge, {left, top, width, height});
      bars->SetAppBarPosition(t.native(), edge, strip);
    }
    return kDone;
  }
  if (what == "refreshpos") {
    platform::Rect strip = StripAlong(edge, t.windows.window_system.ScreenSize(), r.width, r.height);
    if (bars) {
      strip = KeepThickness(edge, bars->QueryAppBarPosition(t.native(), edge, strip), r.width, r.height);
      bars->SetAppBarPosition(t.native(), edge, strip);
    }
    SetOuterRect(t, strip);
    t.window.stored_x = static_cast<float>(int64_t{strip.left} * 100);
    t.window.stored_y = static_cast<float>(int64_t{strip.top} * 100);
    return kDone;
  }
  return Unknown(t.engine);
}

}  // namespace

Handled DesktopBarCommand(Target& t) {
  if (t.K(3) == "statusicon") return StatusIcon(t);
  if (t.K(3) == "appbar") return AppBar(t);
  return std::nullopt;
}

}  // namespace ixo::window_commands
