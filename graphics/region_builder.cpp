#include "graphics/region_builder.h"

#include <algorithm>

namespace ixo::graphics {

bool IsKeyColour(const uint8_t* pixel, uint32_t key) {
  return pixel[2] == (key & 0xFF) && pixel[1] == ((key >> 8) & 0xFF) && pixel[0] == ((key >> 16) & 0xFF);
}

namespace {

uint32_t ColourAt(const Image& image, int x, int y) {
  const uint8_t* pixel = image.row(y) + static_cast<size_t>(x) * 3;
  return uint32_t{pixel[2]} | uint32_t{pixel[1]} << 8 | uint32_t{pixel[0]} << 16;
}

// Every run of pixels that are not the key colour, row by row. Pixels outside
// the picture (an area starting left of or above it) count as key colour.
void ScanRuns(const Image& image, const RegionRequest& request, uint32_t key, RowSpans& area) {
  const int first_row = std::max(request.y0, 0);
  const int last_row = std::min(request.y0 + request.height, image.height());
  const int first_column = std::max(request.x0, 0);
  const int last_column = std::min(request.x0 + request.width, image.width());
  for (int y = first_row; y < last_row; ++y) {
    const uint8_t* row = image.row(y);
    const int window_y = y - request.y0 + request.dy;
    int run_start = -1;
    for (int x = first_column; x < last_column; ++x) {
      const bool solid = !IsKeyColour(row + static_cast<size_t>(x) * 3, key);
      if (solid && run_start < 0) run_start = x;
      if (!solid && run_start >= 0) {
        area.Add(window_y, run_start - request.x0 + request.dx, x - request.x0 + request.dx);
        run_start = -1;
      }
    }
    if (run_start >= 0) area.Add(window_y, run_start - request.x0 + request.dx, last_column - request.x0 + request.dx);
  }
}

}  // namespace

std::optional<Region> BuildRegion(RegionRequest request) {
  Region region;
  region.width = request.width;
  region.height = request.height;
  if (request.image) {
    Image& image = *request.image;
    const int64_t wanted_width = int64_t{request.x0} + request.width;
    const int64_t wanted_height = int64_t{request.y0} + request.height;
    // Growing is bounded by the coordinates a shape can hold.
    if ((image.width() < wanted_width || image.height() < wanted_height) && wanted_width <= kCoordinateLimit &&
        wanted_height <= kCoordinateLimit)
      image.Resize(std::max<int>(image.width(), static_cast<int>(wanted_width)),
                   std::max<int>(image.height(), static_cast<int>(wanted_height)));
    if (image.width() == 0 || image.height() == 0) return std::nullopt;
    uint32_t key = static_cast<uint32_t>(request.key_colour);
    if (request.key_colour == -1) {
      const bool inside = request.x0 >= 0 && request.y0 >= 0 && request.x0 < image.width() && request.y0 < image.height();
      key = inside ? ColourAt(image, request.x0, request.y0) : 0;
    }
    ScanRuns(image, request, key & 0xFFFFFF, region.area);
  }
  if (request.polygon.size() >= 3) {
    region.area.AddPolygon(request.polygon);
    for (const platform::Point& point : request.polygon) {
      region.width = std::max(region.width, point.x);
      region.height = std::max(region.height, point.y);
    }
  }
  return region;
}

}  // namespace ixo::graphics
