// Every shape is drawn as horizontal spans. A rounded box gives, for each row,
// the columns whose pixel centres lie inside it; an outline is the rows of the
// box grown by half the pen width minus those of the box shrunk by the rest.
#include "graphics/rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace ixo::graphics {

namespace {

void FillSpan(Image& image, int64_t y, int64_t left, int64_t right, uint32_t colour) {
  if (y < 0 || y >= image.height()) return;
  left = std::max<int64_t>(left, 0);
  right = std::min<int64_t>(right, image.width());
  if (left >= right) return;
  const int bytes = image.bytes_per_pixel();
  uint8_t* pixel = image.row(static_cast<int>(y)) + left * bytes;
  if (bytes == 3 && right - left >= 16) {
    // Sixteen pixels of pattern, then copies of it: a 24-bit run fills like memset.
    uint8_t pattern[48];
    for (int i = 0; i < 48; i += 3) {
      pattern[i] = static_cast<uint8_t>(colour >> 16);
      pattern[i + 1] = static_cast<uint8_t>(colour >> 8);
      pattern[i + 2] = static_cast<uint8_t>(colour);
    }
    const size_t total = static_cast<size_t>(right - left) * 3;
    size_t done = 0;
    for (; done + 48 <= total; done += 48) std::memcpy(pixel + done, pattern, 48);
    std::memcpy(pixel + done, pattern, total - done);
    return;
  }
  for (int64_t x = left; x < right; ++x, pixel += bytes) {
    pixel[0] = static_cast<uint8_t>(colour >> 16);
    pixel[1] = static_cast<uint8_t>(colour >> 8);
    pixel[2] = static_cast<uint8_t>(colour);
  }
}

// A box [left, right) × [top, bottom) with elliptic corners of radii rx, ry.
struct RoundedBox {
  double left, top, right, bottom, rx, ry;

  RoundedBox(double l, double t, double r, double b, double corner_rx, double corner_ry)
      : left(l), top(t), right(r), bottom(b) {
    rx = std::clamp(corner_rx, 0.0, std::max((r - l) / 2, 0.0));
    ry = std::clamp(corner_ry, 0.0, std::max((b - t) / 2, 0.0));
  }

  bool empty() const { return right <= left || bottom <= top; }

  // The columns of row y whose centres lie inside, as [first, end); false when none.
  bool Span(int64_t y, int64_t& first, int64_t& end) const {
    const double cy = y + 0.5;
    if (empty() || cy < top || cy >= bottom) return false;
    double inset = 0;
    if (rx > 0 && ry > 0) {
      double dy = 0;
      if (cy < top + ry) dy = top + ry - cy;
      else if (cy > bottom - ry) dy = cy - (bottom - ry);
      const double ratio = dy / ry;
      if (ratio > 1) return false;
      inset = rx - rx * std::sqrt(1 - ratio * ratio);
    }
    first = static_cast<int64_t>(std::ceil(left + inset - 0.5));
    end = static_cast<int64_t>(std::ceil(right - inset - 0.5));
    return first < end;
  }
};

void FillBox(Image& image, const RoundedBox& box, uint32_t colour) {
  if (box.empty()) return;
  const int64_t first_row = std::max<int64_t>(static_cast<int64_t>(std::floor(box.top)), 0);
  const int64_t end_row = std::min<int64_t>(static_cast<int64_t>(std::ceil(box.bottom)), image.height());
  for (int64_t y = first_row; y < end_row; ++y) {
    int64_t first = 0, end = 0;
    if (box.Span(y, first, end)) FillSpan(image, y, first, end, colour);
  }
}

// The pixels of outer that are not in inner.
void FillRing(Image& image, const RoundedBox& outer, const RoundedBox& inner, uint32_t colour) {
  if (outer.empty()) return;
  const int64_t first_row = std::max<int64_t>(static_cast<int64_t>(std::floor(outer.top)), 0);
  const int64_t end_row = std::min<int64_t>(static_cast<int64_t>(std::ceil(outer.bottom)), image.height());
  for (int64_t y = first_row; y < end_row; ++y) {
    int64_t first = 0, end = 0;
    if (!outer.Span(y, first, end)) continue;
    int64_t hole_first = 0, hole_end = 0;
    if (!inner.Span(y, hole_first, hole_end)) {
      FillSpan(image, y, first, end, colour);
      continue;
    }
    FillSpan(image, y, first, std::min(hole_first, end), colour);
    FillSpan(image, y, std::max(hole_end, first), end, colour);
  }
}

int StrokeWidth(const Pen& pen) { return std::max(pen.width, 1); }

// A round dot of the pen's width at a point of a line.
void Stamp(Image& image, Point at, int width, uint32_t colour) {
  if (width <= 1) {
    FillSpan(image, at.y, at.x, int64_t{at.x} + 1, colour);
    return;
  }
  const double left = double(at.x) - width / 2;
  const double top = double(at.y) - width / 2;
  FillBox(image, RoundedBox(left, top, left + width, top + width, width / 2.0, width / 2.0), colour);
}

// The outline of a box drawn with a pen: half the width outside the path, the rest inside.
void StrokeBox(Image& image, double left, double top, double right, double bottom, double rx, double ry,
               const Pen& pen) {
  const int width = StrokeWidth(pen);
  const int outside = width / 2;
  const int inside = width - outside;
  const bool square = rx <= 0 || ry <= 0;
  RoundedBox outer(left - outside, top - outside, right + outside, bottom + outside, square ? 0 : rx + outside,
                   square ? 0 : ry + outside);
  RoundedBox inner(left + inside, top + inside, right - inside, bottom - inside, square ? 0 : rx - inside,
                   square ? 0 : ry - inside);
  FillRing(image, outer, inner, pen.colour);
}

// Lines longer than this are first cut to the part near the image, so that a
// line between far-away points costs no more than one across the image.
constexpr int64_t kLongLine = 4 * int64_t{kMaxImageSide};

// Cuts the line to the box [-margin, right) × [-margin, bottom) (Liang and
// Barsky's method); false when it misses the box.
bool ClipLongLine(int64_t& x0, int64_t& y0, int64_t& x1, int64_t& y1, int64_t right, int64_t bottom,
                  int64_t margin) {
  const double dx = double(x1 - x0), dy = double(y1 - y0);
  double enter = 0, leave = 1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {double(x0 + margin), double(right - x0), double(y0 + margin), double(bottom - y0)};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) enter = std::max(enter, t);
    else leave = std::min(leave, t);
  }
  if (enter > leave) return false;
  const double start_x = x0 + enter * dx, start_y = y0 + enter * dy;
  x1 = std::llround(x0 + leave * dx);
  y1 = std::llround(y0 + leave * dy);
  x0 = std::llround(start_x);
  y0 = std::llround(start_y);
  return true;
}

struct Vertex {
  double x, y;
};

// The pixels whose centres lie inside the polygon, by alternate filling.
void FillInside(Image& image, const std::vector<Vertex>& points, uint32_t colour) {
  if (points.empty()) return;
  double top = points[0].y, bottom = points[0].y;
  for (const Vertex& p : points) {
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  const int64_t first_row = static_cast<int64_t>(std::max(std::floor(top), 0.0));
  const int64_t end_row = static_cast<int64_t>(std::min(std::ceil(bottom), double(image.height())));
  std::vector<double> crossings;
  for (int64_t y = first_row; y < end_row; ++y) {
    const double cy = y + 0.5;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const Vertex& a = points[i];
      const Vertex& b = points[(i + 1) % points.size()];
      if ((a.y <= cy) == (b.y <= cy)) continue;
      crossings.push_back(a.x + (cy - a.y) * (b.x - a.x) / (b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const double left = std::clamp(std::ceil(crossings[i] - 0.5), -1.0, double(image.width()));
      const double right = std::clamp(std::ceil(crossings[i + 1] - 0.5), -1.0, double(image.width()));
      FillSpan(image, y, static_cast<int64_t>(left), static_cast<int64_t>(right), colour);
    }
  }
}

// A line of a wide pen: the band around it and a round cap at each end, so that
// lines drawn one after another join smoothly.
void WideLine(Image& image, Point from, Point to, int width, uint32_t colour) {
  const double dx = double(to.x) - from.x, dy = double(to.y) - from.y;
  const double length = std::hypot(dx, dy);
  if (length > 0) {
    const double nx = -dy / length * width / 2, ny = dx / length * width / 2;
    const double ax = from.x + 0.5, ay = from.y + 0.5, bx = to.x + 0.5, by = to.y + 0.5;
    FillInside(image, {{ax + nx, ay + ny}, {bx + nx, by + ny}, {bx - nx, by - ny}, {ax - nx, ay - ny}}, colour);
  }
  Stamp(image, from, width, colour);
  Stamp(image, to, width, colour);
}

}  // namespace

void FillRectangle(Image& image, int left, int top, int right, int bottom, uint32_t colour) {
  EnsureDirectColour(image);
  const int64_t first_row = std::max(top, 0);
  const int64_t end_row = std::min(bottom, image.height());
  for (int64_t y = first_row; y < end_row; ++y) FillSpan(image, y, left, right, colour);
}

void DrawLine(Image& image, Point from, Point to, const Pen& pen) {
  EnsureDirectColour(image);
  const int width = StrokeWidth(pen);
  int64_t x = from.x, y = from.y, end_x = to.x, end_y = to.y;
  if (std::max(std::llabs(end_x - x), std::llabs(end_y - y)) > kLongLine &&
      !ClipLongLine(x, y, end_x, end_y, image.width() + width, image.height() + width, width))
    return;
  if (width > 3) {
    WideLine(image, {static_cast<int>(x), static_cast<int>(y)}, {static_cast<int>(end_x), static_cast<int>(end_y)},
             std::min(width, 4 * kMaxImageSide), pen.colour);
    return;
  }
  // Bresenham's walk, stopping before the end point.
  const int64_t dx = std::llabs(end_x - x), dy = -std::llabs(end_y - y);
  const int sx = x < end_x ? 1 : -1, sy = y < end_y ? 1 : -1;
  int64_t error = dx + dy;
  while (x != end_x || y != end_y) {
    if (x > -width && y > -width && x < image.width() + width && y < image.height() + width)
      Stamp(image, {static_cast<int>(x), static_cast<int>(y)}, width, pen.colour);
    const int64_t doubled = 2 * error;
    if (doubled >= dy) {
      error += dy;
      x += sx;
    }
    if (doubled <= dx) {
      error += dx;
      y += sy;
    }
  }
}

void DrawPolyline(Image& image, const std::vector<Point>& points, const Pen& pen) {
  for (size_t i = 1; i < points.size(); ++i) DrawLine(image, points[i - 1], points[i], pen);
}

void DrawPolygon(Image& image, const std::vector<Point>& points, uint32_t colour, const Pen& pen) {
  EnsureDirectColour(image);
  if (points.empty()) return;
  std::vector<Vertex> vertices;
  for (const Point& p : points) vertices.push_back({double(p.x), double(p.y)});
  FillInside(image, vertices, colour);
  // The outline includes every vertex, the last one too.
  std::vector<Point> closed = points;
  closed.push_back(points[0]);
  DrawPolyline(image, closed, pen);
  Stamp(image, points[0], StrokeWidth(pen), pen.colour);
}

void DrawRectangle(Image& image, int left, int top, int right, int bottom, int corner_width, int corner_height,
                   const Pen& pen, const Brush& brush) {
  EnsureDirectColour(image);
  const double rx = corner_width / 2.0, ry = corner_height / 2.0;
  if (brush.solid) FillBox(image, RoundedBox(left, top, right, bottom, rx, ry), brush.colour);
  StrokeBox(image, left, top, right, bottom, rx, ry, pen);
}

void DrawEllipse(Image& image, int left, int top, int right, int bottom, const Pen& pen, const Brush& brush) {
  EnsureDirectColour(image);
  const double rx = (double(right) - left) / 2, ry = (double(bottom) - top) / 2;
  if (brush.solid) FillBox(image, RoundedBox(left, top, right, bottom, rx, ry), brush.colour);
  StrokeBox(image, left, top, right, bottom, rx, ry, pen);
}

}  // namespace ixo::graphics
