// Image comparison, row by row, stopping at the first difference.
#include <cstring>

#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

std::optional<Difference> CompareImages(Image& image, Image& other, int ox, int oy, int width, int height, int x,
                                        int y, uint32_t ignored_colour) {
  EnsureDirectColour(image);
  EnsureDirectColour(other);
  if (width <= 0 || height <= 0) return std::nullopt;
  other.GrowTo(ox + width, oy + height);
  image.GrowTo(width + x, height + y);
  const uint8_t ignored[3] = {kernel::BlueOf(ignored_colour), kernel::GreenOf(ignored_colour),
                              kernel::RedOf(ignored_colour)};

  const int64_t first_j = std::max<int64_t>({0, -int64_t{ox}, -int64_t{x}});
  const int64_t end_j = std::min<int64_t>({width, int64_t{other.width()} - ox, int64_t{image.width()} - x});
  const int64_t first_i = std::max<int64_t>({0, -int64_t{oy}, -int64_t{y}});
  const int64_t end_i = std::min<int64_t>({height, int64_t{other.height()} - oy, int64_t{image.height()} - y});
  if (first_j >= end_j) return std::nullopt;
  const int image_bytes = image.bytes_per_pixel();
  const int other_bytes = other.bytes_per_pixel();
  for (int64_t i = first_i; i < end_i; ++i) {
    const uint8_t* theirs = other.row(static_cast<int>(oy + i)) + (ox + first_j) * other_bytes;
    const uint8_t* ours = image.row(static_cast<int>(y + i)) + (x + first_j) * image_bytes;
    // Rows that are byte for byte the same hold no difference, whatever the ignored colour.
    if (image_bytes == 3 && other_bytes == 3 &&
        std::memcmp(theirs, ours, static_cast<size_t>(end_j - first_j) * 3) == 0)
      continue;
    for (int64_t j = first_j; j < end_j; ++j, theirs += other_bytes, ours += image_bytes) {
      if (theirs[0] == ignored[0] && theirs[1] == ignored[1] && theirs[2] == ignored[2]) continue;
      if (theirs[0] == ours[0] && theirs[1] == ours[1] && theirs[2] == ours[2]) continue;
      return Difference{image.Pixel(static_cast<int>(x + j), static_cast<int>(y + i)), static_cast<int>(j),
                        static_cast<int>(i)};
    }
  }
  return std::nullopt;
}

}  // namespace ixo::graphics
