#include "graphics/image.h"

#include <algorithm>
#include <cstring>

namespace ixo::graphics {

namespace {

size_t RowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

}  // namespace

Image::Image(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), stride_(RowBytes(width_)),
      pixels_(stride_ * static_cast<size_t>(height_), 0) {}

void Image::Resize(int width, int height) {
  Image resized(width, height);
  const size_t shared_bytes = static_cast<size_t>(std::min(width_, resized.width_)) * 3;
  for (int y = 0; y < std::min(height_, resized.height_); ++y) std::memcpy(resized.row(y), row(y), shared_bytes);
  *this = std::move(resized);
}

void Image::Fill(uint8_t blue, uint8_t green, uint8_t red) {
  for (int y = 0; y < height_; ++y) {
    uint8_t* pixel = row(y);
    for (int x = 0; x < width_; ++x, pixel += 3) {
      pixel[0] = blue;
      pixel[1] = green;
      pixel[2] = red;
    }
  }
}

}  // namespace ixo::graphics
