#include "graphics/kernels/reference_kernels.h"

#include <algorithm>

#include "graphics/kernels/kernel_support.h"

namespace ixo::graphics::reference {

namespace {

// Byte k of pixel (x, y), for images known to be 24 or 32 bits.
uint8_t& Byte(Image& image, int x, int y, int k) { return image.row(y)[int64_t{x} * image.bytes_per_pixel() + k]; }
uint8_t Byte(const Image& image, int x, int y, int k) {
  return image.row(y)[int64_t{x} * image.bytes_per_pixel() + k];
}

// A source byte at a channel offset that may lie past the pixel, kept in the row.
uint8_t ShiftedByte(const Image& image, int x, int y, int offset) {
  const int64_t row_bytes = int64_t{image.width()} * image.bytes_per_pixel();
  const int64_t at = std::clamp<int64_t>(int64_t{x} * image.bytes_per_pixel() + offset, 0, row_bytes - 1);
  return image.row(y)[at];
}

int SourceColumn(const Image& source, const CopyArea& area, const DeformParameters& deform, int u, int v) {
  using Wide = __int128;
  const Wide g = std::max<Wide>(Wide{area.dw} * area.dh, 1);
  const Wide dw = area.dw, dh = area.dh;
  const Wide a = deform.top_left > 0 ? (dh - v) * deform.top_left * (dw - u) / g : 0;
  const Wide b = deform.top_right > 0 ? (dh - v) * deform.top_right * u / g : 0;
  const Wide c = deform.bottom_right > 0 ? Wide{v} * deform.bottom_right * u / g : 0;
  const Wide e = deform.bottom_left > 0 ? Wide{v} * deform.bottom_left * (dw - u) / g : 0;
  const Wide column = area.sx + Wide{area.sw} * u / std::max(area.dw, 1) + a + e - b - c;
  return kernel::ClampColumn(static_cast<int64_t>(std::clamp<Wide>(column, -(Wide{1} << 40), Wide{1} << 40)),
                             source.width());
}

// Grows both images; the source as it is after growing is what the copy reads.
std::optional<Image> PrepareCopy(Image& source, Image& destination, const CopyArea& area) {
  EnsureDirectColour(source);
  EnsureDirectColour(destination);
  if (source.width() < area.sx || source.height() < area.sy) return std::nullopt;
  if (area.sw <= 0 || area.sh <= 0 || area.dw <= 0 || area.dh <= 0) return std::nullopt;
  source.GrowTo(area.sx + area.sw, area.sy + area.sh);
  Image from = source;
  destination.GrowTo(area.dx + area.dw, area.dy + area.dh);
  if (from.width() == 0 || from.height() == 0) return std::nullopt;
  return from;
}

}  // namespace

void ScaledCopy(Image& source, Image& destination, const CopyArea& area, const EffectParameters& effects,
                const DeformParameters& deform) {
  const std::optional<Image> prepared = PrepareCopy(source, destination, area);
  if (!prepared) return;
  const Image& from = *prepared;
  const bool blocks = effects.mode != 0;
  const int x_step = kernel::PositiveStep(blocks ? effects.x_step + 1 : effects.x_step);
  const int y_step = kernel::PositiveStep(blocks ? effects.y_step + 1 : effects.y_step);
  const int bytes = from.bytes_per_pixel() == 4 && destination.bytes_per_pixel() == 4 ? 4 : 3;
  for (int64_t v = 0; v < area.dh; v += y_step) {
    if (area.sy + v < 0 || area.dy + v < 0) continue;
    const int64_t row = kernel::SourceRow(area, static_cast<int>(v));
    if (row < 0 || row >= from.height()) continue;
    for (int64_t u = 0; u < area.dw; u += x_step) {
      if (!blocks && (area.sx + u < 0 || area.dx + u < 0)) continue;
      const int column = SourceColumn(from, area, deform, static_cast<int>(u), static_cast<int>(v));
      for (int by = 0; by < (blocks ? 2 : 1); ++by)
        for (int bx = 0; bx < (blocks ? 2 : 1); ++bx) {
          const int64_t x = area.dx + u + bx, y = area.dy + v + by;
          if (x < 0 || y < 0 || x >= destination.width() || y >= destination.height()) continue;
          for (int k = 0; k < bytes; ++k)
            Byte(destination, static_cast<int>(x), static_cast<int>(y), k) = Byte(from, column, static_cast<int>(row), k);
        }
    }
  }
}

void BlendedCopy(Image& source, Image& destination, const CopyArea& area, bool transparent, int32_t key,
                 const EffectParameters& effects, const DeformParameters& deform) {
  const std::optional<Image> prepared = PrepareCopy(source, destination, area);
  if (!prepared) return;
  const Image& from = *prepared;
  uint32_t key_colour = static_cast<uint32_t>(key);
  if (key == kAutomaticKey)
    key_colour = from.Pixel(kernel::ClampColumn(area.sx, from.width()), kernel::ClampColumn(area.sy, from.height()));
  const int x_step = kernel::PositiveStep(effects.mode == 3 ? effects.x_step + 1 : effects.x_step);
  const int y_step = kernel::PositiveStep(effects.mode == 3 ? effects.y_step + 1 : effects.y_step);
  int n = 0;
  uint8_t held[3] = {0, 0, 0};
  for (int64_t v = 0; v < area.dh; v += y_step) {
    if (area.sy + v < 0 || area.dy + v < 0 || area.dy + v >= destination.height()) continue;
    const int64_t row = kernel::SourceRow(area, static_cast<int>(v));
    if (row < 0 || row >= from.height()) continue;
    const int y = static_cast<int>(area.dy + v);
    for (int64_t u = 0; u < area.dw; u += x_step) {
      if (area.sx + u < 0 || area.dx + u < 0) continue;
      const int column = SourceColumn(from, area, deform, static_cast<int>(u), static_cast<int>(v));
      auto s = [&](int k) { return ShiftedByte(from, column, static_cast<int>(row), k + effects.shift[k]); };
      if (transparent && s(0) == kernel::BlueOf(key_colour) && s(1) == kernel::GreenOf(key_colour) &&
          s(2) == kernel::RedOf(key_colour))
        continue;
      if (area.dx + u >= destination.width()) continue;
      const int x = static_cast<int>(area.dx + u);
      auto blend = [&](int k) {
        const int d = Byte(destination, x, y, k);
        return static_cast<uint8_t>(d + int64_t{s(k) - d} * effects.opacity[k] / 100);
      };
      auto advance = [&] {
        n = n + 1;
        if (n > effects.cycle_length) n = 0;
      };
      switch (effects.mode) {
        case 0:
          for (int k = 0; k < 3; ++k)
            if (effects.opacity[k] > 0) Byte(destination, x, y, k) = blend(k);
          break;
        case 1:
          advance();
          if (n <= 2 && effects.opacity[n] > 0) Byte(destination, x, y, n) = blend(n);
          break;
        case 2:
          advance();
          if (n == 0)
            for (int k = 0; k < 3; ++k)
              if (effects.opacity[k] > 0) held[k] = blend(k);
          for (int k = 0; k < 3; ++k) Byte(destination, x, y, k) = held[k];
          break;
        case 3:
          for (int k = 0; k < 3; ++k) {
            if (effects.opacity[k] <= 0) continue;
            const uint8_t value = blend(k);
            for (int by = 0; by < 2; ++by)
              for (int bx = 0; bx < 2; ++bx)
                if (destination.contains(x + bx, y + by)) Byte(destination, x + bx, y + by, k) = value;
          }
          break;
        default:
          break;
      }
    }
  }
}

void TintedFill(Image& image, int x, int y, int width, int height, uint32_t colour, int opacity) {
  if (image.width() < x || image.height() < y) return;
  EnsureDirectColour(image);
  for (int64_t i = 0; i < height; ++i)
    for (int64_t j = 0; j < width; ++j) {
      const int64_t px = x + j, py = y + i;
      if (!image.contains(static_cast<int>(std::clamp<int64_t>(px, -1, image.width())),
                          static_cast<int>(std::clamp<int64_t>(py, -1, image.height()))))
        continue;
      for (int k = 0; k < 3; ++k) {
        uint8_t& d = Byte(image, static_cast<int>(px), static_cast<int>(py), k);
        d = static_cast<uint8_t>(d + int64_t{opacity} * (kernel::ChannelOf(colour, k) - d) / 100);
      }
    }
}

void BrushPaint(Image& mask, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                uint32_t colour, int strength, int channel) {
  EnsureDirectColour(mask);
  EnsureDirectColour(destination);
  if (width <= 0 || height <= 0) return;
  mask.GrowTo(sx + width, sy + height);
  const Image from = mask;
  destination.GrowTo(width + dx, height + dy);
  channel = std::clamp(channel, 0, 2);
  for (int i = 0; i < height; ++i) {
    for (int j = 0; j < width; ++j) {
      const int64_t mx = int64_t{sx} + j, my = int64_t{sy} + i, x = int64_t{dx} + j, y = int64_t{dy} + i;
      if (mx < 0 || my < 0 || mx >= from.width() || my >= from.height()) continue;
      if (x < 0 || y < 0 || x >= destination.width() || y >= destination.height()) continue;
      const int m = Byte(from, static_cast<int>(mx), static_cast<int>(my), channel);
      const int64_t weight = int64_t{strength} * (m * 100 / 255) / 100;
      for (int k = 0; k < 3; ++k) {
        uint8_t& d = Byte(destination, static_cast<int>(x), static_cast<int>(y), k);
        d = static_cast<uint8_t>(d + weight * (kernel::ChannelOf(colour, k) - d) / 100);
      }
    }
  }
}

std::optional<Difference> CompareImages(Image& image, Image& other, int ox, int oy, int width, int height, int x,
                                        int y, uint32_t ignored_colour) {
  EnsureDirectColour(image);
  EnsureDirectColour(other);
  if (width <= 0 || height <= 0) return std::nullopt;
  other.GrowTo(ox + width, oy + height);
  image.GrowTo(width + x, height + y);
  for (int i = 0; i < height; ++i)
    for (int j = 0; j < width; ++j) {
      const int64_t px = int64_t{x} + j, py = int64_t{y} + i, qx = int64_t{ox} + j, qy = int64_t{oy} + i;
      if (px < 0 || py < 0 || px >= image.width() || py >= image.height()) continue;
      if (qx < 0 || qy < 0 || qx >= other.width() || qy >= other.height()) continue;
      const uint32_t theirs = other.Pixel(static_cast<int>(qx), static_cast<int>(qy));
      const uint32_t ours = image.Pixel(static_cast<int>(px), static_cast<int>(py));
      if (theirs != (ignored_colour & 0xFFFFFF) && ours != theirs) return Difference{ours, j, i};
    }
  return std::nullopt;
}

void RotateImage(Image& source, Image& destination, bool clockwise) {
  EnsureDirectColour(source);
  EnsureDirectColour(destination);
  const Image from = source;
  destination.GrowTo(from.height(), from.width());
  const int w = from.width(), h = from.height();
  const int bytes = from.bytes_per_pixel() == 4 && destination.bytes_per_pixel() == 4 ? 4 : 3;
  for (int sy = 0; sy < h; ++sy)
    for (int sx = 0; sx < w; ++sx) {
      const int x = clockwise ? h - 1 - sy : sy;
      const int y = clockwise ? sx : w - 1 - sx;
      if (!destination.contains(x, y)) continue;
      for (int k = 0; k < bytes; ++k) Byte(destination, x, y, k) = Byte(from, sx, sy, k);
    }
}

void RasterCopy(Image& source, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                RasterOperation operation, uint32_t brush) {
  EnsureDirectColour(source);
  EnsureDirectColour(destination);
  const Image from = source;
  using R = RasterOperation;
  for (int i = 0; i < height; ++i)
    for (int j = 0; j < width; ++j) {
      const int64_t fx = int64_t{sx} + j, fy = int64_t{sy} + i, x = int64_t{dx} + j, y = int64_t{dy} + i;
      if (fx < 0 || fy < 0 || fx >= from.width() || fy >= from.height()) continue;
      if (x < 0 || y < 0 || x >= destination.width() || y >= destination.height()) continue;
      // A plain copy between 32-bit images takes the fourth byte along.
      const bool whole = operation == R::kSourceCopy && from.bytes_per_pixel() == 4 && destination.bytes_per_pixel() == 4;
      for (int k = 0; k < (whole ? 4 : 3); ++k) {
        const uint8_t s = Byte(from, static_cast<int>(fx), static_cast<int>(fy), k);
        uint8_t& d = Byte(destination, static_cast<int>(x), static_cast<int>(y), k);
        const uint8_t p = k < 3 ? kernel::ChannelOf(brush, k) : 0;  // the fourth byte is only ever copied
        switch (operation) {
          case R::kSourceCopy: d = s; break;
          case R::kSourceAnd: d = s & d; break;
          case R::kSourceInvert: d = s ^ d; break;
          case R::kSourceErase: d = s & ~d; break;
          case R::kNotSourceCopy: d = ~s; break;
          case R::kNotSourceErase: d = ~(s | d); break;
          case R::kMergeCopy: d = s & p; break;
          case R::kMergePaint: d = ~s | d; break;
          case R::kPatternCopy: d = p; break;
          case R::kPatternInvert: d = p ^ d; break;
          case R::kDestinationInvert: d = ~d; break;
        }
      }
    }
}

}  // namespace ixo::graphics::reference
