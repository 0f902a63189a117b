#include "window/window_shape.h"

#include "engine/engine.h"
#include "graphics/region_builder.h"
#include "window/engine_windows.h"

namespace ixo {

namespace {

// The pixels of the back buffer that are not the key colour, within the window.
graphics::RowSpans SolidPixels(const graphics::Image& buffer, platform::Rect bounds, uint32_t key) {
  graphics::RowSpans solid;
  const int width = std::min(buffer.width(), bounds.width);
  const int height = std::min(buffer.height(), bounds.height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = buffer.row(y);
    int run_start = -1;
    for (int x = 0; x < width; ++x) {
      const bool is_solid = !graphics::IsKeyColour(row + static_cast<size_t>(x) * 3, key);
      if (is_solid && run_start < 0) run_start = x;
      if (!is_solid && run_start >= 0) {
        solid.Add(y, run_start, x);
        run_start = -1;
      }
    }
    if (run_start >= 0) solid.Add(y, run_start, width);
  }
  return solid;
}

}  // namespace

void ApplyWindowShape(EngineWindows& windows, int index) {
  EngineWindow* window = windows.at(index);
  platform::WindowShapes* shapes = windows.engine.platform.shapes;
  if (!window || !shapes) return;
  if (!window->colour_key || !window->back_buffer) {
    shapes->SetShape(window->native, window->region ? &*window->region : nullptr);
    return;
  }
  platform::Rect bounds = windows.window_system.Bounds(window->native);
  graphics::RowSpans outline = SolidPixels(*window->back_buffer, bounds, *window->colour_key);
  if (window->region) {
    graphics::RowSpans region;
    for (const platform::Rect& rect : *window->region)
      for (int y = rect.top; y < rect.top + rect.height; ++y) region.Add(y, rect.left, rect.left + rect.width);
    outline.IntersectWith(region);
  }
  std::vector<platform::Rect> rectangles = outline.Rectangles();
  shapes->SetShape(window->native, &rectangles);
}

}  // namespace ixo
