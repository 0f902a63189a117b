// Blended copy. Each destination pixel takes its source pixel as the scaled copy
// picks it, then moves each enabled channel opacity percent of the way towards
// it. The common case (mode 0, no channel shifts) runs through per-channel
// tables of the blend; the effect modes run through the general loop.
#include <array>
#include <vector>

#include "graphics/kernels/byte_blend.h"
#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

using kernel::ClampColumn;
using kernel::DeformRow;

namespace {

// (S - D) × opacity / 100 for every difference S - D, truncated toward zero and
// kept modulo 256: the result is stored as a byte, so only that part counts.
using BlendTable = std::array<uint8_t, 511>;

BlendTable MakeBlendTable(int opacity) {
  BlendTable table{};
  for (int difference = -255; difference <= 255; ++difference)
    table[difference + 255] = static_cast<uint8_t>(int64_t{difference} * opacity / 100);
  return table;
}

class Blender {
 public:
  Blender(const Image& source, Image& destination, const CopyArea& area, bool transparent, uint32_t key,
          const EffectParameters& effects)
      : source_(source), destination_(destination), area_(area), transparent_(transparent), effects_(effects) {
    for (int k = 0; k < 3; ++k) {
      enabled_[k] = effects.opacity[k] > 0;
      tables_[k] = MakeBlendTable(effects.opacity[k]);
      key_[k] = kernel::ChannelOf(key, k);
    }
    source_row_bytes_ = int64_t{source.width()} * source.bytes_per_pixel();
  }

  // The source byte a shifted channel reads, kept inside the source row.
  uint8_t SourceByte(const uint8_t* line, int64_t pixel_offset, int channel) const {
    const int64_t at = std::clamp<int64_t>(pixel_offset + channel + effects_.shift[channel], 0, source_row_bytes_ - 1);
    return line[at];
  }

  uint8_t Blend(int channel, uint8_t destination, uint8_t source) const {
    return static_cast<uint8_t>(destination + tables_[channel][source - destination + 255]);
  }

  bool IsKeyed(const uint8_t* line, int64_t pixel_offset) const {
    return transparent_ && SourceByte(line, pixel_offset, 0) == key_[0] &&
           SourceByte(line, pixel_offset, 1) == key_[1] && SourceByte(line, pixel_offset, 2) == key_[2];
  }

  // One source pixel onto destination (x, y), which lies inside the image.
  void Apply(const uint8_t* line, int64_t pixel_offset, int x, int y) {
    uint8_t* pixel = destination_.row(y) + int64_t{x} * destination_.bytes_per_pixel();
    switch (effects_.mode) {
      case 0:
        for (int k = 0; k < 3; ++k)
          if (enabled_[k]) pixel[k] = Blend(k, pixel[k], SourceByte(line, pixel_offset, k));
        break;
      case 1:
        AdvanceCounter();
        if (counter_ <= 2 && enabled_[counter_])
          pixel[counter_] = Blend(counter_, pixel[counter_], SourceByte(line, pixel_offset, counter_));
        break;
      case 2:
        AdvanceCounter();
        if (counter_ == 0)
          for (int k = 0; k < 3; ++k)
            if (enabled_[k]) held_[k] = Blend(k, pixel[k], SourceByte(line, pixel_offset, k));
        for (int k = 0; k < 3; ++k) pixel[k] = held_[k];
        break;
      case 3:
        for (int k = 0; k < 3; ++k) {
          if (!enabled_[k]) continue;
          const uint8_t value = Blend(k, pixel[k], SourceByte(line, pixel_offset, k));
          for (int by = 0; by < 2; ++by)
            for (int bx = 0; bx < 2; ++bx)
              if (destination_.contains(x + bx, y + by))
                destination_.row(y + by)[int64_t{x + bx} * destination_.bytes_per_pixel() + k] = value;
        }
        break;
      default:
        break;
    }
  }

  // Mode 0 without shifts: one row of already clipped, unskipped columns.
  void BlendRow(const uint8_t* line, const int64_t* columns, const int* xs, size_t count, uint8_t* out) const {
    const int out_bytes = destination_.bytes_per_pixel();
    for (size_t i = 0; i < count; ++i) {
      const uint8_t* from = line + columns[i];
      if (transparent_ && from[0] == key_[0] && from[1] == key_[1] && from[2] == key_[2]) continue;
      uint8_t* to = out + int64_t{xs[i]} * out_bytes;
      if (enabled_[0]) to[0] = Blend(0, to[0], from[0]);
      if (enabled_[1]) to[1] = Blend(1, to[1], from[1]);
      if (enabled_[2]) to[2] = Blend(2, to[2], from[2]);
    }
  }

 private:
  void AdvanceCounter() {
    ++counter_;
    if (counter_ > effects_.cycle_length) counter_ = 0;
  }

  const Image& source_;
  Image& destination_;
  const CopyArea& area_;
  bool transparent_;
  const EffectParameters& effects_;
  std::array<bool, 3> enabled_{};
  std::array<BlendTable, 3> tables_{};
  std::array<uint8_t, 3> key_{};
  std::array<uint8_t, 3> held_{};
  int counter_ = 0;
  int64_t source_row_bytes_ = 0;
};

}  // namespace

void BlendedCopy(Image& source, Image& destination, const CopyArea& area, bool transparent, int32_t key,
                 const EffectParameters& effects, const DeformParameters& deform) {
  EnsureDirectColour(source);
  EnsureDirectColour(destination);
  if (source.width() < area.sx || source.height() < area.sy) return;
  if (area.sw <= 0 || area.sh <= 0 || area.dw <= 0 || area.dh <= 0) return;
  source.GrowTo(area.sx + area.sw, area.sy + area.sh);
  kernel::ReadableSource from(source, destination);
  destination.GrowTo(area.dx + area.dw, area.dy + area.dh);
  if (from->width() == 0 || from->height() == 0) return;

  uint32_t key_colour = static_cast<uint32_t>(key);
  if (key == kAutomaticKey)
    key_colour = from->Pixel(ClampColumn(area.sx, from->width()), ClampColumn(area.sy, from->height()));
  Blender blender(*from, destination, area, transparent, key_colour, effects);

  const bool doubled = effects.mode == 3;
  const int x_step = kernel::PositiveStep(doubled ? effects.x_step + 1 : effects.x_step);
  const int y_step = kernel::PositiveStep(doubled ? effects.y_step + 1 : effects.y_step);
  const int source_bytes = from->bytes_per_pixel();
  const bool deformed = kernel::HasDeform(deform);
  const bool plain = effects.mode == 0 && effects.shift == std::array<int, 3>{0, 0, 0};

  // Columns that are visited: not skipped for a negative source or destination
  // column and inside the destination image.
  std::vector<int> us;
  const int64_t first_u = kernel::FirstMultipleAtLeast(std::max<int64_t>(-int64_t{area.dx}, -int64_t{area.sx}), x_step);
  for (int64_t u = first_u; u < area.dw; u += x_step) {
    const int64_t x = int64_t{area.dx} + u;
    if (x >= destination.width()) break;
    if (area.sx + int64_t{u} < 0 || x < 0) continue;
    us.push_back(static_cast<int>(u));
  }
  std::vector<int> xs(us.size());
  for (size_t i = 0; i < us.size(); ++i) xs[i] = area.dx + us[i];
  std::vector<int64_t> columns(us.size());
  auto map_columns = [&](const DeformRow& terms) {
    for (size_t i = 0; i < us.size(); ++i)
      columns[i] = int64_t{ClampColumn(terms.Column(area, us[i]), from->width())} * source_bytes;
  };
  if (!deformed) map_columns(DeformRow(area, deform, 0));

  // An unscaled copy of 24-bit rows with one opacity for all channels blends
  // whole runs of bytes at once.
  const int opacity = effects.opacity[0];
  const bool unscaled_rows = plain && !deformed && x_step == 1 && y_step == 1 && area.sw == area.dw &&
                             area.sh == area.dh && source_bytes == 3 && destination.bytes_per_pixel() == 3 &&
                             !us.empty() && area.sx + int64_t{us.back()} < from->width() &&
                             effects.opacity[1] == opacity && effects.opacity[2] == opacity;
  const bool runs = unscaled_rows && !transparent && opacity >= 1 && opacity <= 100;
  // A keyed copy at full opacity, the usual way of laying a sprite down, copies
  // every pixel that is not the key colour.
  const bool sprite = unscaled_rows && transparent && opacity == 100;
  const uint8_t key_bytes[3] = {kernel::BlueOf(key_colour), kernel::GreenOf(key_colour), kernel::RedOf(key_colour)};

  const int64_t first_v = kernel::FirstMultipleAtLeast(std::max<int64_t>(-int64_t{area.dy}, -int64_t{area.sy}), y_step);
  for (int64_t v64 = first_v; v64 < area.dh; v64 += y_step) {
    const int v = static_cast<int>(v64);
    const int64_t y = int64_t{area.dy} + v;
    if (y >= destination.height()) break;
    if (area.sy + int64_t{v} < 0 || y < 0) continue;
    const int64_t source_row = kernel::SourceRow(area, v);
    if (source_row < 0 || source_row >= from->height()) continue;
    if (deformed) map_columns(DeformRow(area, deform, v));
    const uint8_t* line = from->row(static_cast<int>(source_row));
    if (sprite) {
      const uint8_t* pixel = line + columns[0];
      uint8_t* to = destination.row(static_cast<int>(y)) + int64_t{xs[0]} * 3;
      for (size_t i = 0; i < us.size(); ++i, pixel += 3, to += 3)
        if (pixel[0] != key_bytes[0] || pixel[1] != key_bytes[1] || pixel[2] != key_bytes[2]) {
          to[0] = pixel[0];
          to[1] = pixel[1];
          to[2] = pixel[2];
        }
      continue;
    }
    if (runs) {
      kernel::BlendBytes(destination.row(static_cast<int>(y)) + int64_t{xs[0]} * 3, line + columns[0], us.size() * 3,
                         opacity);
      continue;
    }
    if (plain) {
      blender.BlendRow(line, columns.data(), xs.data(), us.size(), destination.row(static_cast<int>(y)));
      continue;
    }
    for (size_t i = 0; i < us.size(); ++i) {
      if (blender.IsKeyed(line, columns[i])) continue;
      blender.Apply(line, columns[i], xs[i], static_cast<int>(y));
    }
  }
}

}  // namespace ixo::graphics
