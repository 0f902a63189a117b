#include "graphics/image.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ixo::graphics {

namespace {

size_t RowBytes(int width, int bits) {
  const int stored_bits = bits == 15 ? 16 : bits;
  return ((static_cast<size_t>(width) * stored_bits + 31) / 32) * 4;
}

constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) { return red | green << 8 | blue << 16; }
uint32_t Red(uint32_t colour) { return colour & 255; }
uint32_t Green(uint32_t colour) { return (colour >> 8) & 255; }
uint32_t Blue(uint32_t colour) { return (colour >> 16) & 255; }

// 5- and 6-bit channel values spread over the full byte range.
uint32_t Expand5(uint32_t value) { return value << 3 | value >> 2; }
uint32_t Expand6(uint32_t value) { return value << 2 | value >> 4; }

std::vector<uint32_t> MakeDefaultPalette(int bits) {
  static constexpr std::array<uint32_t, 16> kStandard = {
      Rgb(0, 0, 0),       Rgb(128, 0, 0),   Rgb(0, 128, 0),   Rgb(128, 128, 0),
      Rgb(0, 0, 128),     Rgb(128, 0, 128), Rgb(0, 128, 128), Rgb(192, 192, 192),
      Rgb(128, 128, 128), Rgb(255, 0, 0),   Rgb(0, 255, 0),   Rgb(255, 255, 0),
      Rgb(0, 0, 255),     Rgb(255, 0, 255), Rgb(0, 255, 255), Rgb(255, 255, 255)};
  if (bits == 1) return {Rgb(0, 0, 0), Rgb(255, 255, 255)};
  std::vector<uint32_t> palette(kStandard.begin(), kStandard.end());
  if (bits == 4) return palette;
  for (uint32_t r = 0; r < 6; ++r)
    for (uint32_t g = 0; g < 6; ++g)
      for (uint32_t b = 0; b < 6; ++b) palette.push_back(Rgb(r * 51, g * 51, b * 51));
  for (uint32_t grey = 1; palette.size() < 256; ++grey) palette.push_back(Rgb(grey * 10, grey * 10, grey * 10));
  return palette;
}

}  // namespace

bool IsPixelFormat(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

bool IsAllowedSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  return width <= kMaxImageSide && height <= kMaxImageSide && int64_t{width} * height <= kMaxImagePixels;
}

const std::vector<uint32_t>& DefaultPalette(int bits) {
  static const std::vector<uint32_t> kMono = MakeDefaultPalette(1);
  static const std::vector<uint32_t> kSixteen = MakeDefaultPalette(4);
  static const std::vector<uint32_t> kFull = MakeDefaultPalette(8);
  return bits == 1 ? kMono : bits == 4 ? kSixteen : kFull;
}

Image::Image(int width, int height, int bits) {
  if (!IsPixelFormat(bits) || !IsAllowedSize(width, height)) return;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  bits_ = bits;
  stride_ = RowBytes(width_, bits_);
  pixels_.assign(stride_ * static_cast<size_t>(height_), 0);
  if (bits_ <= 8) palette_ = DefaultPalette(bits_);
}

bool Image::Resize(int width, int height) {
  if (!IsAllowedSize(width, height)) return false;
  Image resized(width, height, bits_);
  resized.palette_ = palette_;
  resized.drawing = drawing;
  const int shared_width = std::min(width_, resized.width_);
  const int shared_height = shared_width > 0 ? std::min(height_, resized.height_) : 0;
  for (int y = 0; y < shared_height; ++y) {
    if (bits_ >= 8) {
      std::memcpy(resized.row(y), row(y), static_cast<size_t>(shared_width) * bytes_per_pixel());
    } else {
      for (int x = 0; x < shared_width; ++x) resized.SetIndex(x, y, IndexAt(x, y));
    }
  }
  *this = std::move(resized);
  return true;
}

bool Image::GrowTo(int width, int height) {
  if (width <= width_ && height <= height_) return true;
  return Resize(std::max(width, width_), std::max(height, height_));
}

void Image::Fill(uint8_t blue, uint8_t green, uint8_t red) {
  if (bits_ != 24 && bits_ != 32) {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) SetPixel(x, y, Rgb(red, green, blue));
    return;
  }
  const int step = bytes_per_pixel();
  for (int y = 0; y < height_; ++y) {
    uint8_t* pixel = row(y);
    for (int x = 0; x < width_; ++x, pixel += step) {
      pixel[0] = blue;
      pixel[1] = green;
      pixel[2] = red;
    }
  }
}

uint32_t Image::IndexAt(int x, int y) const {
  const uint8_t* line = row(y);
  switch (bits_) {
    case 1: return (line[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (line[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default: return line[x];
  }
}

void Image::SetIndex(int x, int y, uint32_t index) {
  uint8_t* line = row(y);
  switch (bits_) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      line[x >> 3] = static_cast<uint8_t>(index & 1 ? line[x >> 3] | bit : line[x >> 3] & ~bit);
      break;
    }
    case 4: {
      const int shift = (x & 1) ? 0 : 4;
      line[x >> 1] = static_cast<uint8_t>((line[x >> 1] & ~(15 << shift)) | (index & 15) << shift);
      break;
    }
    default: line[x] = static_cast<uint8_t>(index);
  }
}

uint32_t Image::NearestIndex(uint32_t colour) const {
  uint32_t best = 0;
  int best_distance = 1 << 30;
  for (size_t i = 0; i < palette_.size() && best_distance > 0; ++i) {
    const int dr = static_cast<int>(Red(palette_[i])) - static_cast<int>(Red(colour));
    const int dg = static_cast<int>(Green(palette_[i])) - static_cast<int>(Green(colour));
    const int db = static_cast<int>(Blue(palette_[i])) - static_cast<int>(Blue(colour));
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<uint32_t>(i);
    }
  }
  return best;
}

uint32_t Image::Pixel(int x, int y) const {
  const uint8_t* line = row(y);
  switch (bits_) {
    case 24:
    case 32: {
      const uint8_t* pixel = line + static_cast<size_t>(x) * bytes_per_pixel();
      return Rgb(pixel[2], pixel[1], pixel[0]);
    }
    case 15:
    case 16: {
      const uint32_t word = line[2 * x] | line[2 * x + 1] << 8;
      if (bits_ == 15) return Rgb(Expand5(word >> 10 & 31), Expand5(word >> 5 & 31), Expand5(word & 31));
      return Rgb(Expand5(word >> 11 & 31), Expand6(word >> 5 & 63), Expand5(word & 31));
    }
    default: {
      const uint32_t index = IndexAt(x, y);
      return index < palette_.size() ? palette_[index] & 0xFFFFFF : 0;
    }
  }
}

void Image::SetPixel(int x, int y, uint32_t colour) {
  uint8_t* line = row(y);
  switch (bits_) {
    case 24:
    case 32: {
      uint8_t* pixel = line + static_cast<size_t>(x) * bytes_per_pixel();
      pixel[0] = static_cast<uint8_t>(Blue(colour));
      pixel[1] = static_cast<uint8_t>(Green(colour));
      pixel[2] = static_cast<uint8_t>(Red(colour));
      break;
    }
    case 15:
    case 16: {
      const uint32_t word = bits_ == 15
                                ? (Red(colour) >> 3) << 10 | (Green(colour) >> 3) << 5 | Blue(colour) >> 3
                                : (Red(colour) >> 3) << 11 | (Green(colour) >> 2) << 5 | Blue(colour) >> 3;
      line[2 * x] = static_cast<uint8_t>(word);
      line[2 * x + 1] = static_cast<uint8_t>(word >> 8);
      break;
    }
    default: SetIndex(x, y, NearestIndex(colour & 0xFFFFFF));
  }
}

void Image::ConvertTo(int bits) {
  if (!IsPixelFormat(bits) || bits == bits_) return;
  Image converted(width_, height_, bits);
  converted.drawing = drawing;
  // Palette look-ups are slow; neighbouring pixels often share a colour.
  uint32_t last_colour = 0xFFFFFFFF;
  uint32_t last_index = 0;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const uint32_t colour = Pixel(x, y);
      if (bits > 8) {
        converted.SetPixel(x, y, colour);
        continue;
      }
      if (colour != last_colour) {
        last_colour = colour;
        last_index = converted.NearestIndex(colour);
      }
      converted.SetIndex(x, y, last_index);
    }
  }
  *this = std::move(converted);
}

void EnsureDirectColour(Image& image) {
  if (image.bits_per_pixel() != 24 && image.bits_per_pixel() != 32) image.ConvertTo(24);
}

}  // namespace ixo::graphics
