// Lines and shapes drawn into 24- or 32-bit images (others are converted first).
// Coordinates follow the usual conventions of the window system's drawing: a
// rectangle (left, top, right, bottom) covers the columns left .. right - 1 and
// the rows top .. bottom - 1; a pen of width w is centred on that outline, so a
// box inset by w / 2 keeps the stroke inside the original box; a line leaves
// out its end point. A pen width of 0 draws like 1. Nothing is drawn outside the
// image.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/drawing_state.h"
#include "graphics/image.h"

namespace ixo::graphics {

struct Point {
  int x = 0;
  int y = 0;
};

void FillRectangle(Image& image, int left, int top, int right, int bottom, uint32_t colour);

// From (x1, y1) towards (x2, y2), the end point excluded.
void DrawLine(Image& image, Point from, Point to, const Pen& pen);

// Lines through the points in turn; the last point is excluded.
void DrawPolyline(Image& image, const std::vector<Point>& points, const Pen& pen);

// The polygon's inside (alternate filling) in the colour, then its closed outline with the pen.
void DrawPolygon(Image& image, const std::vector<Point>& points, uint32_t colour, const Pen& pen);

// A rectangle with elliptic corners corner_width × corner_height (0 for square
// corners), filled with the brush when it is solid and outlined with the pen.
void DrawRectangle(Image& image, int left, int top, int right, int bottom, int corner_width, int corner_height,
                   const Pen& pen, const Brush& brush);

// The ellipse inscribed in the rectangle, filled and outlined as DrawRectangle.
void DrawEllipse(Image& image, int left, int top, int right, int bottom, const Pen& pen, const Brush& brush);

}  // namespace ixo::graphics
