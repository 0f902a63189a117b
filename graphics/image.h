// A picture in memory: 24-bit pixels stored as rows of blue, green, red bytes,
// each row padded to a multiple of four bytes, rows reached directly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/window_system.h"

namespace ixo::graphics {

class Image {
 public:
  Image() = default;
  // A black image of that size; sizes below 0 count as 0.
  Image(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  size_t stride() const { return stride_; }
  uint8_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }

  // Changes the size keeping the pixels both sizes share; new area is black.
  void Resize(int width, int height);
  void Fill(uint8_t blue, uint8_t green, uint8_t red);

  platform::PixelView view() const { return {pixels_.data(), width_, height_, stride_}; }

 private:
  int width_ = 0;
  int height_ = 0;
  size_t stride_ = 0;
  std::vector<uint8_t> pixels_;
};

}  // namespace ixo::graphics
