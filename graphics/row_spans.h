// An area of pixels as runs per row: what window shapes are built from. Rows
// are kept in a map, so areas far from the origin cost nothing for the rows
// between.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "platform/geometry.h"

namespace ixo::graphics {

// Window shapes live in 16-bit coordinates; pixels beyond are left out, which
// also bounds the work a shape with far-away points can cause.
inline constexpr int kCoordinateLimit = 32767;

class RowSpans {
 public:
  // Adds the pixels x1 (included) to x2 (excluded) of row y.
  void Add(int y, int x1, int x2);
  // Adds every pixel whose centre lies inside the polygon (nonzero winding).
  void AddPolygon(const std::vector<platform::Point>& points);
  // Adds the rectangle with corners rounded by an ellipse of corner_width by
  // corner_height; an ellipse when those are the rectangle's own size.
  void AddRoundedRect(platform::Rect rect, int corner_width, int corner_height);

  // Keeps only the pixels that both areas hold.
  void IntersectWith(const RowSpans& other);

  bool empty() const { return rows_.empty(); }
  // As few rectangles as rows with the same runs allow, top to bottom.
  std::vector<platform::Rect> Rectangles() const;

 private:
  using Runs = std::vector<std::pair<int, int>>;  // sorted, disjoint, not touching
  static void Merge(Runs& runs);
  std::map<int, Runs> rows_;
};

}  // namespace ixo::graphics
