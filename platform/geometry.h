// Points and rectangles in pixels, in screen or client coordinates as each use says.
#pragma once

namespace ixo::platform {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;

  bool Contains(Point p) const { return p.x >= left && p.y >= top && p.x < left + width && p.y < top + height; }
};

}  // namespace ixo::platform
