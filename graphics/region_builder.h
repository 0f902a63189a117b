// Turns a picture, a list of points, or both into the outline of a window: every
// run of pixels that are not the key colour, and the polygon of the points.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "graphics/image.h"
#include "graphics/row_spans.h"

namespace ixo::graphics {

struct RegionRequest {
  Image* image = nullptr;  // may be null: the points alone
  int x0 = 0, y0 = 0;      // the area of the picture that is scanned
  int width = 0, height = 0;
  int dx = 0, dy = 0;      // where the area's corner lands in the window
  int64_t key_colour = -1;  // -1: the colour of the area's first pixel
  std::vector<platform::Point> polygon;  // window coordinates, no offset
};

struct Region {
  RowSpans area;
  // The size the area asks of the window (the scanned area's, grown to the
  // polygon's farthest point).
  int width = 0;
  int height = 0;
};

// Nothing when the picture is empty (the window keeps its outline). A picture
// smaller than the area is grown first, as the scan covers the whole area.
std::optional<Region> BuildRegion(RegionRequest request);

// The key colour as a script gives it (red in the low byte) and a pixel's bytes.
bool IsKeyColour(const uint8_t* pixel, uint32_t key);

}  // namespace ixo::graphics
