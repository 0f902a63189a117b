// Pieces the kernels share: step and area rules, the deformed source column, and
// the snapshot that makes copying an image onto itself read the old pixels.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <optional>

#include "graphics/image.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics::kernel {

// A step below 1 would never move on; it counts as 1.
inline int PositiveStep(int step) { return std::max(step, 1); }

// The first multiple of step at or after from (from below 0 gives 0): loops start
// there instead of walking through positions that would all be skipped.
inline int64_t FirstMultipleAtLeast(int64_t from, int step) {
  return from <= 0 ? 0 : (from + step - 1) / step * step;
}

inline uint8_t BlueOf(uint32_t colour) { return static_cast<uint8_t>(colour >> 16); }
inline uint8_t GreenOf(uint32_t colour) { return static_cast<uint8_t>(colour >> 8); }
inline uint8_t RedOf(uint32_t colour) { return static_cast<uint8_t>(colour); }
inline uint8_t ChannelOf(uint32_t colour, int channel) { return static_cast<uint8_t>(colour >> (16 - 8 * channel)); }

// The source image to read: the source itself, or a copy of it taken now when it
// is also the destination. Kernels take it after growing the source and before
// growing the destination, so that a self-copy reads what a copy from a separate
// snapshot of the image would.
class ReadableSource {
 public:
  ReadableSource(const Image& source, const Image& destination) {
    if (&source == &destination) snapshot_.emplace(source);
    image_ = snapshot_ ? &*snapshot_ : &source;
  }
  const Image& operator*() const { return *image_; }
  const Image* operator->() const { return image_; }

 private:
  std::optional<Image> snapshot_;
  const Image* image_;
};

// The terms of the deformed source column that depend on the row only.
struct DeformRow {
  int64_t top_left = 0, top_right = 0, bottom_right = 0, bottom_left = 0;  // 0: term off
  int64_t whole = 1;                                                        // dw × dh
  bool narrow = false;                                                      // 64-bit products suffice

  DeformRow(const CopyArea& area, const DeformParameters& deform, int v) {
    const int64_t above = int64_t{area.dh} - v;
    whole = std::max<int64_t>(int64_t{area.dw} * area.dh, 1);
    // Products of three numbers below 2^20 each fit 64 bits, and those are the
    // sizes real copies have.
    const int largest = std::max({area.dw, area.dh, deform.top_left, deform.top_right, deform.bottom_left,
                                  deform.bottom_right, std::abs(v)});
    narrow = largest < (1 << 20) && area.dw >= 0 && area.dh >= 0;
    if (deform.top_left > 0) top_left = above * deform.top_left;
    if (deform.top_right > 0) top_right = above * deform.top_right;
    if (deform.bottom_right > 0) bottom_right = int64_t{v} * deform.bottom_right;
    if (deform.bottom_left > 0) bottom_left = int64_t{v} * deform.bottom_left;
  }

  // sx + sw × u / dw + a + e - b - c, each term divided on its own. The
  // products of three script numbers can pass 64 bits; they are taken in 128.
  int64_t Column(const CopyArea& area, int u) const {
    if (narrow && u >= 0 && u < (1 << 20)) {
      const int64_t left = int64_t{area.dw} - u;
      int64_t column = area.sx + int64_t{area.sw} * u / std::max(area.dw, 1);
      column += top_left * left / whole + bottom_left * left / whole;
      column -= top_right * u / whole + bottom_right * u / whole;
      return column;
    }
    using Wide = __int128;
    const Wide left = Wide{area.dw} - u;
    Wide column = area.sx + int64_t{area.sw} * u / std::max(area.dw, 1);
    column += top_left * left / whole + bottom_left * left / whole;
    column -= top_right * Wide{u} / whole + bottom_right * Wide{u} / whole;
    return static_cast<int64_t>(std::clamp<Wide>(column, INT64_MIN / 2, INT64_MAX / 2));
  }
};

inline bool HasDeform(const DeformParameters& deform) {
  return deform.top_left > 0 || deform.top_right > 0 || deform.bottom_left > 0 || deform.bottom_right > 0;
}

// Offsets and deform terms can point past the row's ends; reads stop at the edge.
inline int ClampColumn(int64_t column, int width) {
  return static_cast<int>(std::clamp<int64_t>(column, 0, std::max(width - 1, 0)));
}

inline int64_t SourceRow(const CopyArea& area, int v) {
  return area.sy + int64_t{area.sh} * v / std::max(area.dh, 1);
}

}  // namespace ixo::graphics::kernel
