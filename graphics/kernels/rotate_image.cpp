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
  for (int sy = 0; sy < height; ++sy) {
    const uint8_t* pixel = from->row(sy);
    const int column = clockwise ? height - 1 - sy : sy;
    if (column >= destination.width()) continue;
    for (int sx = 0; sx < width; ++sx, pixel += source_bytes) {
      const int row = clockwise ? sx : width - 1 - sx;
      if (row >= destination.height()) continue;
      std::memcpy(destination.row(row) + int64_t{column} * bytes, pixel, copied);
    }
  }
}

}  // namespace ixo::graphics
