// A picture in memory: rows of pixels in 1, 4, 8, 15, 16, 24 or 32 bits, each row
// padded to a multiple of four bytes and reached directly. 24-bit pixels are
// blue, green, red bytes; 32-bit pixels add an unused fourth byte; 15- and 16-bit
// pixels are little-endian 5-5-5 and 5-6-5 words; 1, 4 and 8 bits index the
// image's palette, the leftmost pixel in the highest bits of a byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/drawing_state.h"
#include "platform/window_system.h"

namespace ixo::graphics {

// Limits that keep a hostile size from exhausting memory: a side above
// kMaxImageSide or an area above kMaxImagePixels is refused.
inline constexpr int kMaxImageSide = 65535;
inline constexpr int64_t kMaxImagePixels = int64_t{1} << 26;

// True for the bit depths an image can have.
bool IsPixelFormat(int bits);

// True when an image of that size can exist (sizes below 0 count as 0).
bool IsAllowedSize(int width, int height);

// The palette an image gets when it is converted to 1, 4 or 8 bits: black and
// white; the sixteen standard colours; those sixteen, a 6×6×6 colour cube and
// 24 greys. Colours are numbers with red in the low byte.
const std::vector<uint32_t>& DefaultPalette(int bits);

class Image {
 public:
  Image() = default;
  // A black image of that size and format; sizes below 0 count as 0, and a size
  // that is not allowed or a format that does not exist gives an empty image.
  Image(int width, int height, int bits = 24);

  int width() const { return width_; }
  int height() const { return height_; }
  int bits_per_pixel() const { return bits_; }
  // Bytes a pixel takes when the format has whole bytes per pixel, else 0.
  int bytes_per_pixel() const { return bits_ >= 8 ? (bits_ + 7) / 8 : 0; }
  size_t stride() const { return stride_; }
  uint8_t* row(int y) { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  const uint8_t* row(int y) const { return pixels_.data() + static_cast<size_t>(y) * stride_; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  const std::vector<uint32_t>& palette() const { return palette_; }
  void set_palette(std::vector<uint32_t> palette) { palette_ = std::move(palette); }

  // Changes the size keeping the pixels both sizes share; the new area is black.
  // A size that is not allowed leaves the image alone and gives false.
  bool Resize(int width, int height);
  // Grows the width to at least width and the height to at least height.
  bool GrowTo(int width, int height);
  // Sets every pixel to the colour (palette images: its nearest entry).
  void Fill(uint8_t blue, uint8_t green, uint8_t red);

  // The colour of a pixel inside the image, red in the low byte.
  uint32_t Pixel(int x, int y) const;
  // Sets a pixel inside the image (palette images: the nearest entry).
  void SetPixel(int x, int y, uint32_t colour);

  // Converts the pixels to another format; one that does not exist is ignored.
  // Conversion to 1, 4 or 8 bits uses the default palette of that depth.
  void ConvertTo(int bits);

  // The pixels as a window shows them; meaningful for 24-bit images only.
  platform::PixelView view() const { return {pixels_.data(), width_, height_, stride_}; }

  DrawingState drawing;

 private:
  uint32_t IndexAt(int x, int y) const;
  void SetIndex(int x, int y, uint32_t index);
  uint32_t NearestIndex(uint32_t colour) const;

  int width_ = 0;
  int height_ = 0;
  int bits_ = 24;
  size_t stride_ = 0;
  std::vector<uint8_t> pixels_;
  std::vector<uint32_t> palette_;
};

// Converts the image to 24 bits unless it has 24 or 32 already, so that the
// kernels can walk its rows three or four bytes at a time.
void EnsureDirectColour(Image& image);

}  // namespace ixo::graphics
