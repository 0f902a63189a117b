// "line", "rect", "ellipse" and "polygon" on the current image. Shapes with an
// opacity below 100 are drawn on a work image in front of a key colour and
// blended onto the image, the key colour left out.
#include <algorithm>
#include <limits>
#include <vector>

#include "engine/variables.h"
#include "graphics/draw_command.h"
#include "graphics/kernels/kernels.h"
#include "graphics/rasterizer.h"

namespace ixo::graphics {

namespace {

int Clamp(int64_t value) {
  return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

struct ShapeBox {
  int x, y, width, height;
  uint32_t colour;
  int pen_width;
  int opacity;
  int corner_width = 0;  // "rect" only
  int corner_height = 0;
};

ShapeBox ReadShapeBox(const Engine& engine, bool corners) {
  return {Number(engine, 1, 0),  Number(engine, 2, 0),   Number(engine, 3, 50),
          Number(engine, 4, 50), static_cast<uint32_t>(Number(engine, 5, 0)) & 0xFFFFFF,
          Number(engine, 6, 0),  Number(engine, 7, 100), corners ? Number(engine, 8, 0) : 0,
          corners ? Number(engine, 9, 0) : 0};
}

// Pen and brush for a shape in one colour: filled without a pen width, outlined with one.
void TakeColour(Image& image, const ShapeBox& box) {
  image.drawing.pen = {box.colour, box.pen_width};
  image.drawing.brush = {box.colour, box.pen_width == 0};
}

using ShapeDrawer = void (*)(Image& image, int left, int top, int right, int bottom, const ShapeBox& box);

// Draws the shape on a w × h work image filled with the key colour, then blends
// it onto the image with all three channel opacities set to the shape's.
void BlendShape(Engine& engine, Image& image, const ShapeBox& box, ShapeDrawer draw) {
  if (box.width <= 0 || box.height <= 0 || !IsAllowedSize(box.width, box.height)) return;
  const uint32_t key = box.colour == 0 ? 255 : 0;
  Image work(box.width, box.height);
  work.Fill(static_cast<uint8_t>(key >> 16), static_cast<uint8_t>(key >> 8), static_cast<uint8_t>(key));
  TakeColour(work, box);
  const int d = box.pen_width / 2;
  draw(work, d, d, box.width - d, box.height - d, box);
  DrawState& state = DrawStateOf(engine);
  state.effects.opacity = {box.opacity, box.opacity, box.opacity};
  BlendedCopy(work, image, {0, 0, box.width, box.height, box.x, box.y, box.width, box.height}, true,
              static_cast<int32_t>(key), state.effects, state.deform);
}

void RoundRectangle(Image& image, int left, int top, int right, int bottom, const ShapeBox& box) {
  DrawRectangle(image, left, top, right, bottom, box.corner_width, box.corner_height, image.drawing.pen,
                image.drawing.brush);
}

void Ellipse(Image& image, int left, int top, int right, int bottom, const ShapeBox&) {
  DrawEllipse(image, left, top, right, bottom, image.drawing.pen, image.drawing.brush);
}

}  // namespace

Result DrawLineCommand(Engine& engine, Image& image) {
  const int x2 = Number(engine, 3, 0);
  const int y2 = Number(engine, 4, 0);
  image.GrowTo(x2, y2);
  image.drawing.pen = {static_cast<uint32_t>(Number(engine, 6, 0)) & 0xFFFFFF, Number(engine, 5, 1)};
  if (!IsEmpty(engine, 1)) image.drawing.pen_position = {Number(engine, 1, 0), Number(engine, 2, 0)};
  const PenPosition from = image.drawing.pen_position;
  DrawLine(image, {from.x, from.y}, {x2, y2}, image.drawing.pen);
  image.drawing.pen_position = {x2, y2};
  return kNoResult;
}

Result DrawRectCommand(Engine& engine, Image& image) {
  const ShapeBox box = ReadShapeBox(engine, true);
  image.GrowTo(Clamp(int64_t{box.x} + box.width), Clamp(int64_t{box.y} + box.height));
  const bool corners = !IsEmpty(engine, 8);
  const int d = box.pen_width / 2;
  if (box.opacity == 100) {
    TakeColour(image, box);
    if (corners || box.pen_width != 0) {
      RoundRectangle(image, Clamp(int64_t{box.x} + d), Clamp(int64_t{box.y} + d),
                     Clamp(int64_t{box.x} + box.width - d), Clamp(int64_t{box.y} + box.height - d), box);
    } else {
      FillRectangle(image, box.x, box.y, Clamp(int64_t{box.x} + box.width), Clamp(int64_t{box.y} + box.height),
                    box.colour);
    }
  } else if (!corners && box.pen_width == 0) {
    TintedFill(image, box.x, box.y, box.width, box.height, box.colour, box.opacity);
  } else {
    BlendShape(engine, image, box, RoundRectangle);
  }
  return kNoResult;
}

Result DrawEllipseCommand(Engine& engine, Image& image) {
  const ShapeBox box = ReadShapeBox(engine, false);
  image.GrowTo(Clamp(int64_t{box.x} + box.width), Clamp(int64_t{box.y} + box.height));
  if (box.opacity != 100) {
    BlendShape(engine, image, box, Ellipse);
    return kNoResult;
  }
  TakeColour(image, box);
  const int d = box.pen_width / 2;
  DrawEllipse(image, Clamp(int64_t{box.x} + d), Clamp(int64_t{box.y} + d), Clamp(int64_t{box.x} + box.width - d),
              Clamp(int64_t{box.y} + box.height - d), image.drawing.pen, image.drawing.brush);
  return kNoResult;
}

Result DrawPolygonCommand(Engine& engine, Image& image) {
  const int x = Number(engine, 1, 0);
  const int y = Number(engine, 2, 0);
  const uint32_t colour = static_cast<uint32_t>(Number(engine, 4, 0)) & 0xFFFFFF;
  const int pen_width = Number(engine, 5, 0);
  const int64_t zoom = Number(engine, 6, 100);
  const int variable = FindOrCreateVariable(engine, Parameter(engine, 3));
  if (variable < 0) return kNoResult;
  const std::vector<std::string>& elements = engine.variables.at(variable).elements;
  std::vector<Point> points;
  for (size_t i = 0; i + 1 < elements.size(); i += 2)
    points.push_back({Clamp(x + zoom * EvaluateNumber(elements[i], 0) / 100),
                      Clamp(y + zoom * EvaluateNumber(elements[i + 1], 0) / 100)});
  if (pen_width != 0) {
    DrawPolyline(image, points, {colour, pen_width});
  } else {
    DrawPolygon(image, points, colour, {colour, 1});
  }
  return kNoResult;
}

}  // namespace ixo::graphics
