// Rotation by 90 degrees: each source row becomes a destination column.
#include <cstring>

#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

void RotateImage(Image& source, Image& destination, bool clockwise) {
  EnsureDirectColour(source);
  EnsureDirectColour(destination);
  kernel::ReadableSource from(source, destination);
  destination.GrowTo(from->height(), from->width());
  const int width = from->width();
  const int height = from->height();
  const int source_bytes = from->bytes_per_pixel();
  const int bytes = destination.bytes_per_pixel();
  const int copied = source_bytes == 4 && bytes == 4 ? 4 : 3;
  // Square tiles keep both the rows read and the rows written in the cache.
  constexpr int kTile = 32;
  for (int tile_y = 0; tile_y < height; tile_y += kTile) {
    for (int tile_x = 0; tile_x < width; tile_x += kTile) {
      for (int sy = tile_y; sy < std::min(tile_y + kTile, height); ++sy) {
        const int column = clockwise ? height - 1 - sy : sy;
        if (column >= destination.width()) continue;
        const uint8_t* pixel = from->row(sy) + int64_t{tile_x} * source_bytes;
        for (int sx = tile_x; sx < std::min(tile_x + kTile, width); ++sx, pixel += source_bytes) {
          const int row = clockwise ? sx : width - 1 - sx;
          if (row >= destination.height()) continue;
          std::memcpy(destination.row(row) + int64_t{column} * bytes, pixel, copied);
        }
      }
    }
  }
}

}  // namespace ixo::graphics
