// Brush painting: one channel of the mask says how strongly the colour is laid
// over each destination pixel.
#include <array>

#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

void BrushPaint(Image& mask, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                uint32_t colour, int strength, int channel) {
  EnsureDirectColour(mask);
  EnsureDirectColour(destination);
  if (width <= 0 || height <= 0) return;
  mask.GrowTo(sx + width, sy + height);
  kernel::ReadableSource from(mask, destination);
  destination.GrowTo(width + dx, height + dy);
  channel = std::clamp(channel, 0, 2);

  // The effective strength for every mask value, as the integer steps give it.
  std::array<int64_t, 256> strengths;
  for (int m = 0; m < 256; ++m) strengths[m] = int64_t{strength} * (m * 100 / 255) / 100;
  const std::array<int, 3> target = {kernel::BlueOf(colour), kernel::GreenOf(colour), kernel::RedOf(colour)};

  // Columns and rows whose mask and destination pixels both exist.
  const int64_t first_j = std::max<int64_t>({0, -int64_t{sx}, -int64_t{dx}});
  const int64_t end_j = std::min<int64_t>({width, int64_t{from->width()} - sx, int64_t{destination.width()} - dx});
  const int64_t first_i = std::max<int64_t>({0, -int64_t{sy}, -int64_t{dy}});
  const int64_t end_i = std::min<int64_t>({height, int64_t{from->height()} - sy, int64_t{destination.height()} - dy});
  const int mask_bytes = from->bytes_per_pixel();
  const int bytes = destination.bytes_per_pixel();
  for (int64_t i = first_i; i < end_i; ++i) {
    const uint8_t* mask_pixel = from->row(static_cast<int>(sy + i)) + (sx + first_j) * mask_bytes + channel;
    uint8_t* pixel = destination.row(static_cast<int>(dy + i)) + (dx + first_j) * bytes;
    for (int64_t j = first_j; j < end_j; ++j, mask_pixel += mask_bytes, pixel += bytes) {
      const int64_t weight = strengths[*mask_pixel];
      for (int k = 0; k < 3; ++k) pixel[k] = static_cast<uint8_t>(pixel[k] + weight * (target[k] - pixel[k]) / 100);
    }
  }
}

}  // namespace ixo::graphics
