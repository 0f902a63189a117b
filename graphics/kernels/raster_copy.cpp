// Block copies with the eleven raster operations, on the 24 colour bits. Between
// 24-bit images every operation is a function of three bytes at the same offset
// (source, destination, pattern), so a row is one run of bytes; the pattern is
// the brush colour repeated along the run.
#include <cstring>
#include <vector>

#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

namespace {

struct Run {
  const Image& source;
  Image& destination;
  int64_t sx, sy, dx, dy, first_j, end_j, first_i, end_i;
};

// Rows of 24-bit pixels, byte by byte.
template <typename Combine>
void CombineRuns(const Run& run, const uint8_t* __restrict pattern, Combine combine) {
  const size_t bytes = static_cast<size_t>(run.end_j - run.first_j) * 3;
  for (int64_t i = run.first_i; i < run.end_i; ++i) {
    const uint8_t* __restrict from = run.source.row(static_cast<int>(run.sy + i)) + (run.sx + run.first_j) * 3;
    uint8_t* __restrict to = run.destination.row(static_cast<int>(run.dy + i)) + (run.dx + run.first_j) * 3;
    for (size_t k = 0; k < bytes; ++k) to[k] = combine(from[k], to[k], pattern[k]);
  }
}

// Any other pair of depths, pixel by pixel; a plain copy between 32-bit images
// takes the fourth byte along.
template <typename Combine>
void CombinePixels(const Run& run, const uint8_t* pattern, bool whole, Combine combine) {
  const int source_bytes = run.source.bytes_per_pixel();
  const int bytes = run.destination.bytes_per_pixel();
  for (int64_t i = run.first_i; i < run.end_i; ++i) {
    const uint8_t* from = run.source.row(static_cast<int>(run.sy + i)) + (run.sx + run.first_j) * source_bytes;
    uint8_t* to = run.destination.row(static_cast<int>(run.dy + i)) + (run.dx + run.first_j) * bytes;
    for (int64_t j = run.first_j; j < run.end_j; ++j, from += source_bytes, to += bytes) {
      for (int k = 0; k < 3; ++k) to[k] = combine(from[k], to[k], pattern[k]);
      if (whole) to[3] = from[3];
    }
  }
}

template <typename Combine>
void Apply(const Run& run, const std::vector<uint8_t>& pattern, bool plain_copy, Combine combine) {
  if (run.source.bytes_per_pixel() == 3 && run.destination.bytes_per_pixel() == 3) {
    CombineRuns(run, pattern.data(), combine);
  } else {
    const bool whole = plain_copy && run.source.bytes_per_pixel() == 4 && run.destination.bytes_per_pixel() == 4;
    CombinePixels(run, pattern.data(), whole, combine);
  }
}

}  // namespace

void RasterCopy(Image& source, Image& destination, int sx, int sy, int width, int height, int dx, int dy,
                RasterOperation operation, uint32_t brush) {
  EnsureDirectColour(source);
  EnsureDirectColour(destination);
  kernel::ReadableSource from(source, destination);
  const int64_t first_j = std::max<int64_t>({0, -int64_t{sx}, -int64_t{dx}});
  const int64_t end_j = std::min<int64_t>({width, int64_t{from->width()} - sx, int64_t{destination.width()} - dx});
  const int64_t first_i = std::max<int64_t>({0, -int64_t{sy}, -int64_t{dy}});
  const int64_t end_i = std::min<int64_t>({height, int64_t{from->height()} - sy, int64_t{destination.height()} - dy});
  if (first_j >= end_j || first_i >= end_i) return;
  const Run run{*from, destination, sx, sy, dx, dy, first_j, end_j, first_i, end_i};

  using R = RasterOperation;
  if (operation == R::kSourceCopy && from->bytes_per_pixel() == destination.bytes_per_pixel()) {
    const size_t bytes = static_cast<size_t>(end_j - first_j) * destination.bytes_per_pixel();
    for (int64_t i = first_i; i < end_i; ++i)
      std::memcpy(destination.row(static_cast<int>(dy + i)) + (dx + first_j) * destination.bytes_per_pixel(),
                  from->row(static_cast<int>(sy + i)) + (sx + first_j) * from->bytes_per_pixel(), bytes);
    return;
  }
  std::vector<uint8_t> pattern(static_cast<size_t>(end_j - first_j) * 3);
  for (size_t i = 0; i < pattern.size(); i += 3) {
    pattern[i] = kernel::BlueOf(brush);
    pattern[i + 1] = kernel::GreenOf(brush);
    pattern[i + 2] = kernel::RedOf(brush);
  }
  using B = uint8_t;
  switch (operation) {
    case R::kSourceCopy: Apply(run, pattern, true, [](B s, B, B) { return s; }); break;
    case R::kSourceAnd: Apply(run, pattern, false, [](B s, B d, B) { return B(s & d); }); break;
    case R::kSourceInvert: Apply(run, pattern, false, [](B s, B d, B) { return B(s ^ d); }); break;
    case R::kSourceErase: Apply(run, pattern, false, [](B s, B d, B) { return B(s & ~d); }); break;
    case R::kNotSourceCopy: Apply(run, pattern, false, [](B s, B, B) { return B(~s); }); break;
    case R::kNotSourceErase: Apply(run, pattern, false, [](B s, B d, B) { return B(~(s | d)); }); break;
    case R::kMergeCopy: Apply(run, pattern, false, [](B s, B, B p) { return B(s & p); }); break;
    case R::kMergePaint: Apply(run, pattern, false, [](B s, B d, B) { return B(~s | d); }); break;
    case R::kPatternCopy: Apply(run, pattern, false, [](B, B, B p) { return p; }); break;
    case R::kPatternInvert: Apply(run, pattern, false, [](B, B d, B p) { return B(p ^ d); }); break;
    case R::kDestinationInvert: Apply(run, pattern, false, [](B, B d, B) { return B(~d); }); break;
  }
}

}  // namespace ixo::graphics
