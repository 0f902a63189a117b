// The virtual desktop's frames, stacking, shapes, monitor, status icons and app
// bars: state kept where tests can read it, with the effects a desktop would
// show where they matter to an object (holes take no clicks, strips shrink the
// work area).
#include <algorithm>

#include "platform/headless/virtual_desktop.h"

namespace ixo::platform {

FrameExtents VirtualDesktop::FrameOf(BorderStyle style) {
  switch (style) {
    case BorderStyle::kNone: return {};
    case BorderStyle::kToolSizeable:
    case BorderStyle::kToolFixed: return {3, 19, 3, 3};
    default: return {4, 26, 4, 4};
  }
}

void VirtualDesktop::SetTitle(WindowId id, std::string_view title) {
  if (VirtualWindow* window = Find(id)) window->title = std::string(title);
}

void VirtualDesktop::SetTooltip(WindowId id, std::string_view text) {
  if (VirtualWindow* window = Find(id)) window->tooltip = std::string(text);
}

void VirtualDesktop::SetIcon(WindowId id, PixelView icon) {
  if (VirtualWindow* window = Find(id)) window->icon_size = {icon.width, icon.height};
}

void VirtualDesktop::SetBorder(WindowId id, BorderStyle style, BorderIcons icons) {
  if (VirtualWindow* window = Find(id)) {
    window->border = style;
    window->border_icons = icons;
  }
}

FrameExtents VirtualDesktop::Frame(WindowId id) {
  VirtualWindow* window = Find(id);
  return window ? FrameOf(window->border) : FrameExtents{};
}

void VirtualDesktop::SetState(WindowId id, WindowState state) {
  if (VirtualWindow* window = Find(id)) window->state = state;
}

WindowState VirtualDesktop::State(WindowId id) {
  VirtualWindow* window = Find(id);
  return window ? window->state : WindowState::kNormal;
}

void VirtualDesktop::SetEnabled(WindowId id, bool enabled) {
  if (VirtualWindow* window = Find(id)) window->enabled = enabled;
}

bool VirtualDesktop::IsEnabled(WindowId id) {
  VirtualWindow* window = Find(id);
  return window && window->enabled;
}

void VirtualDesktop::Restack(WindowId id, StackPlace place, WindowId reference, bool activate) {
  VirtualWindow* window = Find(id);
  if (!window) return;
  switch (place) {
    case StackPlace::kTop: BringToFront(id); break;
    case StackPlace::kBottom:
      std::erase(stacking_, id);
      stacking_.push_back(id);
      break;
    case StackPlace::kTopmost:
      window->style.topmost = true;
      BringToFront(id);
      break;
    case StackPlace::kNoTopmost:
      window->style.topmost = false;
      PlaceBehindTopmost(id);
      break;
    case StackPlace::kBehind:
      if (!Find(reference) || reference == id) break;
      std::erase(stacking_, id);
      stacking_.insert(std::find(stacking_.begin(), stacking_.end(), reference) + 1, id);
      break;
  }
  if (activate) SetFocus(id);
}

bool VirtualDesktop::IsTopmost(WindowId id) {
  VirtualWindow* window = Find(id);
  return window && window->style.topmost;
}

WindowId VirtualDesktop::FindByTitle(std::string_view title) {
  for (WindowId id : stacking_)
    if (!windows_.at(id).parent && windows_.at(id).title == title) return id;
  return 0;
}

void VirtualDesktop::SetForeground(WindowId id) {
  if (!Find(id)) return;
  BringToFront(id);
  focus_ = id;
}

void VirtualDesktop::SetParent(WindowId id, WindowId parent) {
  VirtualWindow* window = Find(id);
  if (!window || parent == id) return;
  window->parent = Find(parent) ? parent : 0;
}

void VirtualDesktop::SetShape(WindowId id, const std::vector<Rect>* rectangles) {
  VirtualWindow* window = Find(id);
  if (!window) return;
  if (rectangles)
    window->shape = *rectangles;
  else
    window->shape.reset();
}

bool VirtualDesktop::SetOpacity(WindowId id, uint8_t opacity) {
  VirtualWindow* window = Find(id);
  if (!window || !composited_) return false;
  window->opacity = opacity;
  return true;
}

std::vector<Monitor> VirtualDesktop::All() {
  Rect screen{0, 0, screen_.width, screen_.height};
  Rect work = screen;
  // Each strip takes its edge's side off the work area.
  for (const auto& [id, window] : windows_) {
    if (!window.app_bar_registered || !window.app_bar) continue;
    const Rect& strip = *window.app_bar;
    if (strip.height >= strip.width) {
      if (strip.left <= work.left) {
        int cut = strip.left + strip.width - work.left;
        work.left += cut;
        work.width -= cut;
      } else {
        work.width = std::min(work.width, strip.left - work.left);
      }
    } else if (strip.top <= work.top) {
      int cut = strip.top + strip.height - work.top;
      work.top += cut;
      work.height -= cut;
    } else {
      work.height = std::min(work.height, strip.top - work.top);
    }
  }
  return {{screen, work}};
}

void VirtualDesktop::ShowStatusIcon(WindowId owner, const StatusIconContent& content) {
  VirtualWindow* window = Find(owner);
  if (!window) return;
  window->status_icon = content;
  window->status_icon->icon = {};
}

void VirtualDesktop::HideStatusIcon(WindowId owner) {
  if (VirtualWindow* window = Find(owner)) window->status_icon.reset();
}

void VirtualDesktop::ClickStatusIcon(WindowId owner, uint64_t mouse_notification) {
  VirtualWindow* window = Find(owner);
  if (!window || !window->status_icon) return;
  PostPrivateMessage(owner, PrivateMessageNumber(PrivateMessage::kStatusIcon), 0, mouse_notification);
  RunIdle();
}

void VirtualDesktop::RegisterAppBar(WindowId id) {
  if (VirtualWindow* window = Find(id)) window->app_bar_registered = true;
}

void VirtualDesktop::RemoveAppBar(WindowId id) {
  if (VirtualWindow* window = Find(id)) {
    window->app_bar_registered = false;
    window->app_bar.reset();
  }
}

Rect VirtualDesktop::QueryAppBarPosition(WindowId, ScreenEdge, Rect wanted) { return wanted; }

void VirtualDesktop::SetAppBarPosition(WindowId id, ScreenEdge, Rect strip) {
  VirtualWindow* window = Find(id);
  if (window && window->app_bar_registered) window->app_bar = strip;
}

}  // namespace ixo::platform
