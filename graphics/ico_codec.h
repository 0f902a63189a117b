// Icon files: a directory of pictures of several sizes, each a bitmap (with a
// one-bit transparency mask after its colour rows) or a PNG stream.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/image.h"

namespace ixo::graphics {

// The picture of the icon whose size is closest to width × height (the deepest
// one among equals), scaled to exactly that size: a 32-bit image whose fourth
// byte is the pixel's opacity (0 transparent, 255 opaque). nullopt when the
// bytes are no icon file or no picture in it can be read.
std::optional<Image> DecodeIcon(std::span<const uint8_t> file, int width, int height);

// An icon file with one 32-bit picture of the image, every pixel opaque.
std::vector<uint8_t> EncodeIcon(const Image& image);

// Lays an icon picture onto the image at (x, y), blending by its opacity; pixels
// outside the image are dropped.
void DrawIcon(const Image& icon, Image& image, int x, int y);

}  // namespace ixo::graphics
