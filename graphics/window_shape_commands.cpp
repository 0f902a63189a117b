// A window's outline and transparency: ellipses and rounded rectangles,
// polygons from an array, outlines from pictures, a key colour and opacity.
#include <algorithm>
#include <cstdint>

#include "engine/value_text.h"
#include "engine/variables.h"
#include "graphics/region_builder.h"
#include "graphics/window_commands.h"
#include "graphics/window_picture_commands.h"
#include "window/window_shape.h"

namespace ixo::window_commands {

namespace {

void SetRegion(Target& t, std::optional<std::vector<platform::Rect>> region) {
  t.window.region = std::move(region);
  ApplyWindowShape(t.windows, t.index);
}

// "elliptic" and "rect": the window grows to hold the shape, which has corners
// rounded by an ellipse (the whole shape is one for "elliptic").
Handled RoundedShape(Target& t, bool elliptic) {
  platform::Rect client = t.windows.window_system.Bounds(t.native());
  const int x = t.Number(1, 0), y = t.Number(2, 0);
  const int w = t.Number(3, client.width), h = t.Number(4, client.height);
  const int corner_width = elliptic ? w : t.Number(5, 0);
  const int corner_height = elliptic ? h : t.Number(6, 0);
  // Sizes from any numbers a script gives stay within what a window can be.
  const auto extent = [](int64_t size) {
    return static_cast<int>(std::clamp<int64_t>(size, 0, platform::kMaxWindowExtent));
  };
  SetOuterRect(t, {OuterRect(t).left, OuterRect(t).top, extent(int64_t{x} + w), extent(int64_t{y} + h)});
  graphics::RowSpans area;
  area.AddRoundedRect({x, y, w, h}, corner_width, corner_height);
  SetRegion(t, area.Rectangles());
  EnsureBackBuffer(t.windows, t.index);
  return kDone;
}

std::vector<platform::Point> PointsOfArray(Engine& engine, const std::string& name) {
  std::vector<platform::Point> points;
  if (name.empty()) return points;
  const Variable& array = engine.variables.at(FindOrCreateVariable(engine, name));
  for (size_t i = 0; i + 1 < array.elements.size(); i += 2)
    points.push_back({EvaluateNumber(array.elements[i], 0), EvaluateNumber(array.elements[i + 1], 0)});
  return points;
}

}  // namespace

void ApplyBuiltRegion(Target& t, graphics::RegionRequest request, const std::string& array_name) {
  request.polygon = PointsOfArray(t.engine, array_name);
  const int dx = request.dx, dy = request.dy;
  std::optional<graphics::Region> region = graphics::BuildRegion(std::move(request));
  if (!region) return;
  if (region->area.empty()) {
    SetRegion(t, std::nullopt);
    return;
  }
  // The window must hold the outline: too small a window takes its size.
  platform::Rect client = t.windows.window_system.Bounds(t.native());
  const bool too_small = client.width < dx + region->width || client.height < dy + region->height;
  if (too_small && (client.width != region->width || client.height != region->height))
    t.windows.window_system.SetBounds(t.native(), {client.left, client.top, region->width, region->height});
  SetRegion(t, region->area.Rectangles());
}

Handled ShapeCommand(Target& t) {
  const std::string& what = t.K(3);
  if (what == "transparency") {
    // Both given: key and opacity; only the first: key; first empty: opacity.
    const bool has_key = !t.P(1).empty();
    const bool has_opacity = t.P(1).empty() || !t.P(2).empty();
    t.window.colour_key = has_key ? std::optional<uint32_t>(static_cast<uint32_t>(t.Number(1, 0)) & 0xFFFFFF)
                                  : std::nullopt;
    ApplyWindowShape(t.windows, t.index);
    bool shown = t.engine.platform.shapes != nullptr;
    if (has_opacity && shown)
      shown = t.engine.platform.shapes->SetOpacity(t.native(), static_cast<uint8_t>(t.Number(2, 0) & 0xFF));
    return FlagText(shown);
  }
  if (what != "shape") return std::nullopt;
  const std::string& kind = t.K(4);
  if (kind == "elliptic") return RoundedShape(t, true);
  if (kind == "rect") return RoundedShape(t, false);
  if (kind == "polygon") {
    ApplyBuiltRegion(t, {}, t.P(1));
  } else if (kind == "load") {
    ShapeFromFile(t);
  } else if (kind == "from") {
    ShapeFromImage(t);
  } else {
    return Unknown(t.engine);
  }
  EnsureBackBuffer(t.windows, t.index);
  return kDone;
}

}  // namespace ixo::window_commands
