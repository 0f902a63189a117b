#include "graphics/row_spans.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ixo::graphics {

void RowSpans::Merge(Runs& runs) {
  std::sort(runs.begin(), runs.end());
  Runs merged;
  for (const auto& run : runs) {
    if (!merged.empty() && run.first <= merged.back().second)
      merged.back().second = std::max(merged.back().second, run.second);
    else
      merged.push_back(run);
  }
  runs.swap(merged);
}

void RowSpans::Add(int y, int x1, int x2) {
  x1 = std::max(x1, -kCoordinateLimit);
  x2 = std::min(x2, kCoordinateLimit);
  if (x2 <= x1 || y < -kCoordinateLimit || y >= kCoordinateLimit) return;
  Runs& runs = rows_[y];
  // Runs mostly arrive left to right: append or extend the last one.
  if (runs.empty() || x1 > runs.back().second) {
    runs.emplace_back(x1, x2);
  } else if (x1 >= runs.back().first) {
    runs.back().second = std::max(runs.back().second, x2);
  } else {
    runs.emplace_back(x1, x2);
    Merge(runs);
  }
}

void RowSpans::AddPolygon(const std::vector<platform::Point>& points) {
  if (points.size() < 3) return;
  int top = points[0].y, bottom = points[0].y;
  for (const platform::Point& p : points) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
  top = std::max(top, -kCoordinateLimit);
  bottom = std::min(bottom, kCoordinateLimit);
  struct Crossing {
    double x;
    int winding;
  };
  std::vector<Crossing> crossings;
  for (int y = top; y < bottom; ++y) {
    const double centre = y + 0.5;
    crossings.clear();
    for (size_t i = 0; i < points.size(); ++i) {
      const platform::Point& a = points[i];
      const platform::Point& b = points[(i + 1) % points.size()];
      if ((a.y <= centre) == (b.y <= centre)) continue;
      double x = a.x + (centre - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
      crossings.push_back({x, b.y > a.y ? 1 : -1});
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += crossings[i].winding;
      if (winding == 0) continue;
      // Pixels whose centres lie between the two crossings.
      const auto pixel = [](double x) { return static_cast<int>(std::clamp(std::ceil(x - 0.5), -1e9, 1e9)); };
      int x1 = pixel(crossings[i].x);
      int x2 = pixel(crossings[i + 1].x);
      Add(y, x1, x2);
    }
  }
}

void RowSpans::AddRoundedRect(platform::Rect rect, int corner_width, int corner_height) {
  const double rx = std::clamp(corner_width, 0, rect.width) / 2.0;
  const double ry = std::clamp(corner_height, 0, rect.height) / 2.0;
  const int first = std::max(rect.top, -kCoordinateLimit);
  const int last = static_cast<int>(std::min<int64_t>(int64_t{rect.top} + rect.height, kCoordinateLimit));
  for (int y = first; y < last; ++y) {
    const double centre = y + 0.5;
    // How far into a corner's ellipse the row lies, 0 outside the corner bands.
    double into = 0;
    if (centre < rect.top + ry) into = (rect.top + ry - centre) / ry;
    if (centre > rect.top + rect.height - ry) into = (centre - (rect.top + rect.height - ry)) / ry;
    const double inset = ry > 0 ? rx * (1 - std::sqrt(std::max(0.0, 1 - into * into))) : 0;
    const int64_t x1 = int64_t{rect.left} + std::lround(inset);
    const int64_t x2 = int64_t{rect.left} + rect.width - std::lround(inset);
    Add(y, static_cast<int>(std::clamp<int64_t>(x1, INT32_MIN, INT32_MAX)),
        static_cast<int>(std::clamp<int64_t>(x2, INT32_MIN, INT32_MAX)));
  }
}

void RowSpans::IntersectWith(const RowSpans& other) {
  std::map<int, Runs> kept;
  for (const auto& [y, runs] : rows_) {
    auto found = other.rows_.find(y);
    if (found == other.rows_.end()) continue;
    Runs both;
    for (const auto& a : runs)
      for (const auto& b : found->second) {
        int x1 = std::max(a.first, b.first), x2 = std::min(a.second, b.second);
        if (x1 < x2) both.emplace_back(x1, x2);
      }
    if (!both.empty()) {
      Merge(both);
      kept[y] = std::move(both);
    }
  }
  rows_.swap(kept);
}

std::vector<platform::Rect> RowSpans::Rectangles() const {
  std::vector<platform::Rect> rectangles;
  // Rectangles still open at the row above, one per run of that row.
  const Runs* previous_runs = nullptr;
  int previous_y = 0;
  std::vector<size_t> open;
  for (const auto& [y, runs] : rows_) {
    if (previous_runs && y == previous_y + 1 && runs == *previous_runs) {
      for (size_t index : open) ++rectangles[index].height;
    } else {
      open.clear();
      for (const auto& [x1, x2] : runs) {
        open.push_back(rectangles.size());
        rectangles.push_back({x1, y, x2 - x1, 1});
      }
    }
    previous_runs = &runs;
    previous_y = y;
  }
  return rectangles;
}

}  // namespace ixo::graphics
