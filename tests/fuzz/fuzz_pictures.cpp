// Feeds every input to the bitmap, icon and JPEG readers: none may crash, read
// out of bounds or run away, whatever the bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "graphics/bmp_codec.h"
#include "graphics/ico_codec.h"
#include "graphics/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  if (auto picture = ixo::graphics::DecodeBmp(bytes)) picture->ConvertTo(24);
  // The first byte picks the icon size asked for, so that scaling is exercised too.
  const int side = size > 0 ? data[0] % 70 : 32;
  if (auto icon = ixo::graphics::DecodeIcon(bytes, side, side)) {
    ixo::graphics::Image target(8, 8);
    ixo::graphics::DrawIcon(*icon, target, -3, 2);
  }
  ixo::graphics::DecodeJpeg(bytes);
  return 0;
}
