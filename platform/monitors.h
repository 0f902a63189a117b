// The screens of the desktop.
#pragma once

#include <vector>

#include "platform/geometry.h"

namespace ixo::platform {

struct Monitor {
  Rect bounds;
  Rect work_area;  // without panels, docks and app bars
};

class Monitors {
 public:
  virtual ~Monitors() = default;
  // The primary monitor first.
  virtual std::vector<Monitor> All() = 0;
};

// The index of the monitor holding most of the rectangle (the nearest one when
// it lies on none); 0 when there are no monitors.
int MonitorIndexOf(const std::vector<Monitor>& monitors, Rect area);

}  // namespace ixo::platform
