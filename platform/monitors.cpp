#include "platform/monitors.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace ixo::platform {

namespace {

int64_t OverlapArea(Rect a, Rect b) {
  int64_t width = std::min<int64_t>(int64_t{a.left} + a.width, int64_t{b.left} + b.width) - std::max(a.left, b.left);
  int64_t height = std::min<int64_t>(int64_t{a.top} + a.height, int64_t{b.top} + b.height) - std::max(a.top, b.top);
  return width > 0 && height > 0 ? width * height : 0;
}

int64_t DistanceToCentre(Rect monitor, Rect area) {
  int64_t dx = (int64_t{monitor.left} * 2 + monitor.width) - (int64_t{area.left} * 2 + area.width);
  int64_t dy = (int64_t{monitor.top} * 2 + monitor.height) - (int64_t{area.top} * 2 + area.height);
  return dx * dx + dy * dy;
}

}  // namespace

int MonitorIndexOf(const std::vector<Monitor>& monitors, Rect area) {
  int best = 0;
  int64_t best_overlap = -1;
  for (size_t i = 0; i < monitors.size(); ++i) {
    int64_t overlap = OverlapArea(monitors[i].bounds, area);
    if (overlap > best_overlap) best_overlap = overlap, best = static_cast<int>(i);
  }
  if (best_overlap > 0 || monitors.empty()) return best;
  int64_t nearest = INT64_MAX;
  for (size_t i = 0; i < monitors.size(); ++i) {
    int64_t distance = DistanceToCentre(monitors[i].bounds, area);
    if (distance < nearest) nearest = distance, best = static_cast<int>(i);
  }
  return best;
}

}  // namespace ixo::platform
