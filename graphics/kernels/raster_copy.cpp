// Block copies with the eleven raster operations, on the 24 colour bits.
#include <cstring>

#include "graphics/kernels/kernel_support.h"
#include "graphics/kernels/kernels.h"

namespace ixo::graphics {

namespace {

template <typename Combine>
void CopyRows(const Image& source, Image& destination, int64_t sx, int64_t sy, int64_t dx, int64_t dy,
              int64_t first_j, int64_t end_j, int64_t first_i, int64_t end_i, Combine combine) {
  const int source_bytes = source.bytes_per_pixel();
  const int bytes = destination.bytes_per_pixel();
  for (int64_t i = first_i; i < end_i; ++i) {
    const uint8_t* from = source.row(static_cast<int>(sy + i)) + (sx + first_j) * source_bytes;
    uint8_t* to = destination.row(static_cast<int>(dy + i)) + (dx + first_j) * bytes;
    if (source_bytes == bytes && std::is_same_v<Combine, std::nullptr_t>) {
      std::memcpy(to, from, static_cast<size_t>(end_j - first_j) * bytes);
      continue;
    }
    for (int64_t j = first_j; j < end_j; ++j, from += source_bytes, to += bytes)
      for (int k = 0; k < 3; ++k) {
        if constexpr (std::is_same_v<Combine, std::nullptr_t>) {
          to[k] = from[k];
        } else {
          to[k] = combine(from[k], to[k], k);
        }
      }
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
  const uint8_t pattern[3] = {kernel::BlueOf(brush), kernel::GreenOf(brush), kernel::RedOf(brush)};
  auto run = [&](auto combine) { CopyRows(*from, destination, sx, sy, dx, dy, first_j, end_j, first_i, end_i, combine); };
  using R = RasterOperation;
  switch (operation) {
    case R::kSourceCopy: run(nullptr); break;
    case R::kSourceAnd: run([](uint8_t s, uint8_t d, int) { return uint8_t(s & d); }); break;
    case R::kSourceInvert: run([](uint8_t s, uint8_t d, int) { return uint8_t(s ^ d); }); break;
    case R::kSourceErase: run([](uint8_t s, uint8_t d, int) { return uint8_t(s & ~d); }); break;
    case R::kNotSourceCopy: run([](uint8_t s, uint8_t, int) { return uint8_t(~s); }); break;
    case R::kNotSourceErase: run([](uint8_t s, uint8_t d, int) { return uint8_t(~(s | d)); }); break;
    case R::kMergeCopy: run([&](uint8_t s, uint8_t, int k) { return uint8_t(s & pattern[k]); }); break;
    case R::kMergePaint: run([](uint8_t s, uint8_t d, int) { return uint8_t(~s | d); }); break;
    case R::kPatternCopy: run([&](uint8_t, uint8_t, int k) { return pattern[k]; }); break;
    case R::kPatternInvert: run([&](uint8_t, uint8_t d, int k) { return uint8_t(pattern[k] ^ d); }); break;
    case R::kDestinationInvert: run([](uint8_t, uint8_t d, int) { return uint8_t(~d); }); break;
  }
}

}  // namespace ixo::graphics
