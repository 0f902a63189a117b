// Operations that take a second image from K4 ("rotate", "copyfrom",
// "brushfrom", "isegual"), and "paint", which shows a back buffer on its window.
#include <algorithm>
#include <limits>

#include "engine/error_report.h"
#include "engine/value_text.h"
#include "graphics/draw_command.h"
#include "graphics/kernels/kernels.h"
#include "window/engine_windows.h"

namespace ixo::graphics {

namespace {

int Sum(int a, int b) {
  return static_cast<int>(std::clamp<int64_t>(int64_t{a} + b, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

int Minus(int a, int b) {
  return static_cast<int>(std::clamp<int64_t>(int64_t{a} - b, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}

}  // namespace

Result RotateCommand(Engine& engine, Image& image) {
  Image* source = ResolveImageOrReport(engine, engine.slots.K(4));
  if (!source) return kNoResult;
  RotateImage(*source, image, Parameter(engine, 1) != "0");
  return kNoResult;
}

Result CopyFromCommand(Engine& engine, Image& image) {
  Image* source = ResolveImageOrReport(engine, engine.slots.K(4));
  if (!source) return kNoResult;
  if (IsEmpty(engine, 1)) {
    if (source != &image) {
      const DrawingState drawing = image.drawing;
      image = *source;
      image.drawing = drawing;
    }
    return kNoResult;
  }
  CopyArea area;
  area.sx = Number(engine, 1, 0);
  area.sy = Number(engine, 2, 0);
  area.sw = Number(engine, 3, image.width());
  area.sh = Number(engine, 4, image.height());
  area.dx = Number(engine, 5, 0);
  area.dy = Number(engine, 6, 0);
  area.dw = Number(engine, 7, area.sw);
  area.dh = Number(engine, 8, area.sh);
  DrawState& state = DrawStateOf(engine);
  const std::string& opacity = Parameter(engine, 9);
  if (opacity.empty() || (opacity[0] != 'm' && opacity[0] != 'M')) {
    const int value = Number(engine, 9, 100);
    state.effects.opacity = {value, value, value};
  }
  const bool transparent = Parameter(engine, 10) == "1";
  const int32_t key = Number(engine, 11, 0);
  image.GrowTo(Sum(area.dx, area.dw), Sum(area.dy, area.dh));
  const bool blending =
      transparent || std::any_of(state.effects.opacity.begin(), state.effects.opacity.end(), [](int o) { return o != 100; });
  if (!blending && area.sw == area.dw && area.sh == area.dh) {
    RasterCopy(*source, image, area.sx, area.sy, area.sw, area.sh, area.dx, area.dy, image.drawing.copy_mode,
               image.drawing.brush.colour);
  } else if (blending) {
    BlendedCopy(*source, image, area, transparent, key, state.effects, state.deform);
  } else {
    ScaledCopy(*source, image, area, state.effects, state.deform);
  }
  return kNoResult;
}

Result BrushFromCommand(Engine& engine, Image& image) {
  Image* mask = ResolveImageOrReport(engine, engine.slots.K(4));
  if (!mask) return kNoResult;
  const int width = Number(engine, 3, image.width());
  const int height = Number(engine, 4, image.height());
  const int dx = Number(engine, 5, 0);
  const int dy = Number(engine, 6, 0);
  image.GrowTo(Sum(width, dx), Sum(height, dy));
  const std::string& channel = Parameter(engine, 9);
  BrushPaint(*mask, image, Number(engine, 1, 0), Number(engine, 2, 0), width, height, dx, dy,
             static_cast<uint32_t>(Number(engine, 7, 0)), Number(engine, 8, 100),
             channel == "g" ? 1 : channel == "b" ? 0 : 2);
  return kNoResult;
}

Result CompareCommand(Engine& engine, Image& image) {
  Image* other = ResolveImageOrReport(engine, engine.slots.K(4));
  if (!other) return kNoResult;
  const int x = Number(engine, 1, 0);
  const int y = Number(engine, 2, 0);
  const int width = Number(engine, 3, other->width());
  const int height = Number(engine, 4, other->height());
  image.GrowTo(Sum(x, width), Sum(y, height));
  DrawState& state = DrawStateOf(engine);
  const std::optional<Difference> difference =
      CompareImages(image, *other, Number(engine, 5, 0), Number(engine, 6, 0), width, height, x, y,
                    static_cast<uint32_t>(Number(engine, 7, 0)) & 0xFFFFFF);
  state.difference_x = difference ? difference->x : 0;
  state.difference_y = difference ? difference->y : 0;
  if (!difference) return kNoResult;
  return NumberText(static_cast<int32_t>(difference->colour));
}

}  // namespace ixo::graphics

namespace ixo::graphics {

// Without P1 the whole back buffer is shown. With P1 a rectangle of it is shown
// stretched onto a rectangle of the window; the rest of the window shows the
// back buffer as it is.
Result PaintCommand(Engine& engine) {
  const std::string& reference = engine.slots.K(2);
  const int32_t index = !reference.empty() && reference[0] == 'm' ? 0 : EvaluateNumber(reference, -1);
  if (index < 0 || index > 254) {
    ReportError(engine, message::kInvalidWindow);
    return kNoResult;
  }
  EngineWindow* window = engine.windows ? engine.windows->at(index) : nullptr;
  if (!window || !window->back_buffer) return kNoResult;
  Image& buffer = *window->back_buffer;
  // Windows show 24-bit pictures.
  buffer.ConvertTo(24);
  if (IsEmpty(engine, 1)) {
    PaintWindow(*engine.windows, index);
    return kNoResult;
  }
  const platform::Rect bounds = engine.windows->window_system.Bounds(window->native);
  CopyArea area;
  area.sx = Number(engine, 1, 0);
  area.sy = Number(engine, 2, 0);
  area.sw = Number(engine, 3, Minus(bounds.width, area.sx));
  area.sh = Number(engine, 4, Minus(bounds.height, area.sy));
  area.dx = Number(engine, 5, area.sx);
  area.dy = Number(engine, 6, area.sy);
  area.dw = Number(engine, 7, area.sw);
  area.dh = Number(engine, 8, area.sh);
  Image frame = buffer;
  frame.GrowTo(bounds.width, bounds.height);
  Image source = buffer;
  ScaledCopy(source, frame, area, EffectParameters{}, DeformParameters{});
  if (frame.width() > bounds.width || frame.height() > bounds.height)
    frame.Resize(std::max(bounds.width, 0), std::max(bounds.height, 0));
  engine.windows->window_system.Present(window->native, frame.view());
  return kNoResult;
}

}  // namespace ixo::graphics
