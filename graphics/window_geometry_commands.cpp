// Where a window is and how large: left, top, width, height, its frame and
// client area, "pos", the monitor it is on and the bounds of its parent.
#include "engine/value_text.h"
#include "graphics/window_commands.h"
#include "graphics/window_position_store.h"

namespace ixo::window_commands {

namespace {

platform::FrameExtents FrameOf(const Target& t) {
  return t.engine.platform.frames ? t.engine.platform.frames->Frame(t.native()) : platform::FrameExtents{};
}

platform::WindowState StateOf(const Target& t) {
  return t.engine.platform.frames ? t.engine.platform.frames->State(t.native()) : platform::WindowState::kNormal;
}

// A new left or top is stored; the next idle pass moves the window there.
Handled Coordinate(Target& t, bool horizontal) {
  platform::Rect outer = OuterRect(t);
  if (t.P(1).empty()) return NumberText(horizontal ? outer.left : outer.top);
  const float hundredths = static_cast<float>(int64_t{t.Number(1, 0)} * 100);
  (horizontal ? t.window.stored_x : t.window.stored_y) = hundredths;
  return kDone;
}

// Sizes change at once.
Handled Extent(Target& t, bool horizontal) {
  platform::Rect outer = OuterRect(t);
  if (t.P(1).empty()) return NumberText(horizontal ? outer.width : outer.height);
  (horizontal ? outer.width : outer.height) = t.Number(1, 50);
  SetOuterRect(t, outer);
  return kDone;
}

Handled Border(Target& t) {
  platform::FrameExtents frame = FrameOf(t);
  const std::string& side = t.K(4);
  if (side == "left") return NumberText(frame.left);
  if (side == "top") return NumberText(frame.top);
  if (side == "right") return NumberText(frame.right);
  if (side == "bottom") return NumberText(frame.bottom);
  return kDone;
}

Handled ClientExtent(Target& t, bool horizontal) {
  platform::Rect client = t.windows.window_system.Bounds(t.native());
  if (t.P(1).empty()) return NumberText(horizontal ? client.width : client.height);
  if (StateOf(t) != platform::WindowState::kNormal) return kDone;
  (horizontal ? client.width : client.height) = t.Number(1, 50);
  t.windows.window_system.SetBounds(t.native(), client);
  return kDone;
}

Handled ClientArea(Target& t) {
  if (StateOf(t) != platform::WindowState::kNormal) return kDone;
  platform::Rect client = t.windows.window_system.Bounds(t.native());
  client.width = t.Number(1, 50);
  client.height = t.Number(2, 50);
  t.windows.window_system.SetBounds(t.native(), client);
  return kDone;
}

void StorePosition(Target& t, int64_t left, int64_t top) {
  t.window.stored_x = static_cast<float>(left * 100);
  t.window.stored_y = static_cast<float>(top * 100);
}

Handled Position(Target& t) {
  const std::string& how = t.K(4);
  const platform::Rect r = OuterRect(t);
  if (how.empty() || how == "now") {
    platform::Rect wanted{t.Number(1, r.left), t.Number(2, r.top), t.Number(3, r.width), t.Number(4, r.height)};
    StorePosition(t, wanted.left, wanted.top);
    if (how == "now") {
      t.window.drag_anchor = {t.Number(5, t.window.drag_anchor.x), t.Number(6, t.window.drag_anchor.y)};
      SetOuterRect(t, wanted);
    } else if (wanted.width != r.width || wanted.height != r.height) {
      SetOuterRect(t, wanted);
    }
    return kDone;
  }
  if (how == "rel") {
    StorePosition(t, int64_t{r.left} + t.Number(1, 0), int64_t{r.top} + t.Number(2, 0));
    return kDone;
  }
  if (how == "save") {
    SaveWindowPosition(t.windows, t.index, t.P(1));
    return kDone;
  }
  if (how == "load") return FlagText(LoadWindowPosition(t.windows, t.index, t.P(1)));
  return Unknown(t.engine);
}

Handled MonitorOf(Target& t) {
  if (!t.engine.platform.monitors) return Unknown(t.engine);
  std::vector<platform::Monitor> monitors = t.engine.platform.monitors->All();
  const int index = platform::MonitorIndexOf(monitors, OuterRect(t));
  if (monitors.empty()) return NumberText(0);
  const platform::Rect& bounds = monitors[static_cast<size_t>(index)].bounds;
  const std::string& what = t.K(4);
  if (what == "left") return NumberText(bounds.left);
  if (what == "top") return NumberText(bounds.top);
  if (what == "width") return NumberText(bounds.width);
  if (what == "height") return NumberText(bounds.height);
  if (what == "index") return NumberText(index);
  return Unknown(t.engine);
}

Handled ParentBounds(Target& t) {
  const EngineWindow* parent = t.windows.at(t.window.parent_index);
  if (!parent) return kDone;
  platform::Rect client = t.windows.window_system.Bounds(parent->native);
  const std::string& what = t.K(4);
  if (what == "left") return NumberText(client.left);
  if (what == "top") return NumberText(client.top);
  if (what == "width") return NumberText(client.width);
  return NumberText(client.height);
}

}  // namespace

platform::Rect OuterRect(const Target& t) {
  platform::Rect client = t.windows.window_system.Bounds(t.native());
  platform::FrameExtents frame = FrameOf(t);
  return {client.left - frame.left, client.top - frame.top, client.width + frame.left + frame.right,
          client.height + frame.top + frame.bottom};
}

void SetOuterRect(const Target& t, platform::Rect outer) {
  platform::FrameExtents frame = FrameOf(t);
  t.windows.window_system.SetBounds(t.native(), {outer.left + frame.left, outer.top + frame.top,
                                                 outer.width - frame.left - frame.right,
                                                 outer.height - frame.top - frame.bottom});
}

Handled GeometryCommand(Target& t) {
  const std::string& what = t.K(3);
  if (what == "left" || what == "top") return Coordinate(t, what == "left");
  if (what == "width" || what == "height") return Extent(t, what == "width");
  if (what == "border") return Border(t);
  if (what == "clientwidth" || what == "clientheight") return ClientExtent(t, what == "clientwidth");
  if (what == "clientarea") return ClientArea(t);
  if (what == "pos") return Position(t);
  if (what == "monitor") return MonitorOf(t);
  if (what == "parent" && !t.K(4).empty()) {
    const std::string& side = t.K(4);
    if (side == "left" || side == "top" || side == "width" || side == "height") return ParentBounds(t);
  }
  return std::nullopt;
}

}  // namespace ixo::window_commands
