// JPEG pictures through libjpeg-turbo: decoding at best quality and encoding
// 24-bit pictures with a quality and optional grey scale.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/image.h"

namespace ixo::graphics {

// The picture as a 24-bit image; nullopt when the bytes are no JPEG stream the
// library can decode, or describe a size an image may not have.
std::optional<Image> DecodeJpeg(std::span<const uint8_t> file);

// The image as a JPEG file of that quality (clamped to 1..100), one grey channel
// when grey is set; nullopt when the library refuses it (an image too large for
// the format, or empty).
std::optional<std::vector<uint8_t>> EncodeJpeg(const Image& image, int quality, bool grey);

}  // namespace ixo::graphics
