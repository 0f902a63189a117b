// Tinted fill: the result of each channel depends only on its old value, so each
// channel is one 256-entry table and a pixel is three look-ups.
#include <array>
#include <vector>

#include "graphics/kernels/byte_blend.h"
#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

void TintedFill(Image& image, int x, int y, int width, int height, uint32_t colour, int opacity) {
  if (image.width() < x || image.height() < y) return;
  EnsureDirectColour(image);
  // A rectangle reaching past the left or top edge keeps only the part inside.
  int64_t left = x, top = y, right = int64_t{x} + width, bottom = int64_t{y} + height;
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, image.width());
  bottom = std::min<int64_t>(bottom, image.height());
  if (left >= right || top >= bottom) return;

  const int bytes = image.bytes_per_pixel();
  if (bytes == 3 && opacity >= 1 && opacity <= 100) {
    // The colour repeated along the span blends into each row as one run of bytes.
    std::vector<uint8_t> pattern(static_cast<size_t>(right - left) * 3);
    for (size_t i = 0; i < pattern.size(); i += 3) {
      pattern[i] = kernel::BlueOf(colour);
      pattern[i + 1] = kernel::GreenOf(colour);
      pattern[i + 2] = kernel::RedOf(colour);
    }
    for (int64_t row = top; row < bottom; ++row)
      kernel::BlendBytes(image.row(static_cast<int>(row)) + left * 3, pattern.data(), pattern.size(), opacity);
    return;
  }

  std::array<std::array<uint8_t, 256>, 3> tables;
  for (int k = 0; k < 3; ++k) {
    const int target = kernel::ChannelOf(colour, k);
    for (int value = 0; value < 256; ++value)
      tables[k][value] = static_cast<uint8_t>(value + int64_t{opacity} * (target - value) / 100);
  }
  for (int64_t row = top; row < bottom; ++row) {
    uint8_t* pixel = image.row(static_cast<int>(row)) + left * bytes;
    for (int64_t column = left; column < right; ++column, pixel += bytes) {
      pixel[0] = tables[0][pixel[0]];
      pixel[1] = tables[1][pixel[1]];
      pixel[2] = tables[2][pixel[2]];
    }
  }
}

}  // namespace ixo::graphics
