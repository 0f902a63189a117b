// Bitmap files: the reader takes every depth (1, 4, 8, 16, 24, 32 bits, with
// colour masks, run-length coded 4- and 8-bit pictures, the old core header) and
// the writer produces uncompressed files in any image format.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/image.h"

namespace ixo::graphics {

// The picture of a bitmap file, in the format closest to the file's (1, 4 and 8
// bits keep their palette; 5-5-5 words give 15 bits, 5-6-5 words 16 bits, other
// masks 32 bits). nullopt when the bytes are no bitmap this reader understands,
// are cut short, or describe a size an image may not have.
std::optional<Image> DecodeBmp(std::span<const uint8_t> file);

// The same reader for the bitmap that follows a file header: an icon's picture.
// height_divisor is 2 for icons, whose header counts the mask's rows too.
std::optional<Image> DecodeDib(std::span<const uint8_t> dib, int height_divisor);

// Where the pixel rows of such a bitmap start (after header, masks and palette),
// nullopt when DecodeDib would refuse it.
std::optional<size_t> DibPixelOffset(std::span<const uint8_t> dib, int height_divisor);

// A bitmap file of the image converted to bits per pixel (1, 4, 8, 15, 16, 24 or
// 32; anything else gives 32). 15 bits are written as 5-5-5 words, 16 bits as
// 5-6-5 words with their masks.
std::vector<uint8_t> EncodeBmp(const Image& image, int bits);

}  // namespace ixo::graphics
