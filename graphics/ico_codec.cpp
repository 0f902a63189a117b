// Icon reader and writer. The file is a 6-byte header (0, type 1 or 2, count)
// and 16-byte directory entries (width, height, colours, reserved, planes, bits,
// size, offset); each picture is a bitmap whose header counts its rows twice
// (colour rows, then the one-bit mask where 1 is transparent), or a PNG stream.
#include "graphics/ico_codec.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>
#include <cstdlib>

#include "graphics/bmp_codec.h"
#include "graphics/byte_order.h"

namespace ixo::graphics {

namespace {

// Icons larger than this are scaled down to it: no icon needs more.
constexpr int kMaxIconSide = 1024;

struct Entry {
  int width = 0;
  int height = 0;
  int bits = 0;
  std::span<const uint8_t> data;
};

std::optional<Image> DecodePng(std::span<const uint8_t> data) {
  struct Reader {
    std::span<const uint8_t> data;
    size_t at = 0;
  } reader{data};
  auto read = [](void* closure, unsigned char* out, unsigned int length) {
    Reader& r = *static_cast<Reader*>(closure);
    if (r.data.size() - r.at < length) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(out, r.data.data() + r.at, length);
    r.at += length;
    return CAIRO_STATUS_SUCCESS;
  };
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(read, &reader);
  std::optional<Image> result;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    Image image(width, height, 32);
    if (image.width() == width && image.height() == height) {
      cairo_surface_flush(surface);
      const uint8_t* pixels = cairo_image_surface_get_data(surface);
      const int stride = cairo_image_surface_get_stride(surface);
      for (int y = 0; y < height; ++y) {
        const uint32_t* from = reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(y) * stride);
        uint8_t* to = image.row(y);
        for (int x = 0; x < width; ++x, to += 4) {
          // Cairo keeps colours multiplied by their opacity.
          const uint32_t argb = from[x];
          const uint32_t alpha = argb >> 24;
          for (int k = 0; k < 3; ++k) {
            const uint32_t channel = (argb >> (8 * k)) & 255;
            to[k] = static_cast<uint8_t>(alpha == 0 ? 0 : std::min<uint32_t>(255, channel * 255 / alpha));
          }
          to[3] = static_cast<uint8_t>(alpha);
        }
      }
      result = std::move(image);
    }
  }
  cairo_surface_destroy(surface);
  return result;
}

// The picture as 32 bits with opacity: from the alpha bytes of a 32-bit picture
// that has any, else from the mask.
std::optional<Image> DecodeBitmapEntry(std::span<const uint8_t> data) {
  std::optional<Image> picture = DecodeDib(data, 2);
  const std::optional<size_t> pixels_at = DibPixelOffset(data, 2);
  if (!picture || !pixels_at) return std::nullopt;
  const int source_bits = picture->bits_per_pixel();
  bool has_alpha = false;
  if (source_bits == 32)
    for (int y = 0; y < picture->height() && !has_alpha; ++y)
      for (int x = 0; x < picture->width() && !has_alpha; ++x) has_alpha = picture->row(y)[4 * x + 3] != 0;
  picture->ConvertTo(32);
  const int stored_bits = source_bits == 15 ? 16 : source_bits;
  const size_t colour_bytes = ((static_cast<size_t>(picture->width()) * stored_bits + 31) / 32) * 4 * picture->height();
  const size_t mask_stride = ((static_cast<size_t>(picture->width()) + 31) / 32) * 4;
  const size_t mask_at = *pixels_at + colour_bytes;
  const bool has_mask = mask_at <= data.size() && (data.size() - mask_at) / mask_stride >= size_t(picture->height());
  for (int y = 0; y < picture->height(); ++y) {
    uint8_t* pixel = picture->row(y);
    const uint8_t* mask = has_mask ? data.data() + mask_at + (picture->height() - 1 - y) * mask_stride : nullptr;
    for (int x = 0; x < picture->width(); ++x, pixel += 4) {
      if (has_alpha) continue;
      const bool transparent = mask && (mask[x >> 3] >> (7 - (x & 7)) & 1);
      pixel[3] = transparent ? 0 : 255;
    }
  }
  return picture;
}

Image ScaleNearest(const Image& picture, int width, int height) {
  Image scaled(width, height, 32);
  for (int y = 0; y < scaled.height(); ++y)
    for (int x = 0; x < scaled.width(); ++x)
      std::memcpy(scaled.row(y) + 4 * x,
                  picture.row(static_cast<int>(int64_t{y} * picture.height() / height)) +
                      4 * (int64_t{x} * picture.width() / width),
                  4);
  return scaled;
}

}  // namespace

std::optional<Image> DecodeIcon(std::span<const uint8_t> file, int width, int height) {
  if (file.size() < 6 || ReadLe16(file, 0) != 0) return std::nullopt;
  const uint32_t type = ReadLe16(file, 2);
  const size_t count = ReadLe16(file, 4);
  if ((type != 1 && type != 2) || count == 0 || file.size() < 6 + 16 * count) return std::nullopt;
  std::vector<Entry> entries;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = 6 + 16 * i;
    const uint32_t size = ReadLe32(file, at + 8);
    const uint32_t offset = ReadLe32(file, at + 12);
    if (offset > file.size() || size > file.size() - offset) continue;
    entries.push_back({file[at] == 0 ? 256 : file[at], file[at + 1] == 0 ? 256 : file[at + 1],
                       static_cast<int>(ReadLe16(file, at + 6)), file.subspan(offset, size)});
  }
  // Nearest size first, then the deepest picture.
  std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
    const int da = std::abs(a.width - width) + std::abs(a.height - height);
    const int db = std::abs(b.width - width) + std::abs(b.height - height);
    return da != db ? da < db : a.bits > b.bits;
  });
  static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (const Entry& entry : entries) {
    const bool png = entry.data.size() >= 8 && std::memcmp(entry.data.data(), kPngSignature, 8) == 0;
    std::optional<Image> picture = png ? DecodePng(entry.data) : DecodeBitmapEntry(entry.data);
    if (!picture || picture->width() == 0 || picture->height() == 0) continue;
    const int target_width = std::clamp(width > 0 ? width : picture->width(), 1, kMaxIconSide);
    const int target_height = std::clamp(height > 0 ? height : picture->height(), 1, kMaxIconSide);
    if (picture->width() == target_width && picture->height() == target_height) return picture;
    return ScaleNearest(*picture, target_width, target_height);
  }
  return std::nullopt;
}

std::vector<uint8_t> EncodeIcon(const Image& image) {
  Image picture = image;
  picture.ConvertTo(32);
  const size_t mask_stride = ((static_cast<size_t>(picture.width()) + 31) / 32) * 4;
  const size_t size = 40 + static_cast<size_t>(picture.stride()) * picture.height() + mask_stride * picture.height();
  std::vector<uint8_t> out;
  AppendLe16(out, 0);
  AppendLe16(out, 1);
  AppendLe16(out, 1);
  out.push_back(static_cast<uint8_t>(picture.width() >= 256 ? 0 : picture.width()));
  out.push_back(static_cast<uint8_t>(picture.height() >= 256 ? 0 : picture.height()));
  out.push_back(0);
  out.push_back(0);
  AppendLe16(out, 1);
  AppendLe16(out, 32);
  AppendLe32(out, static_cast<uint32_t>(size));
  AppendLe32(out, 22);
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<uint32_t>(picture.width()));
  AppendLe32(out, static_cast<uint32_t>(picture.height() * 2));
  AppendLe16(out, 1);
  AppendLe16(out, 32);
  for (int i = 0; i < 6; ++i) AppendLe32(out, 0);
  for (int y = picture.height() - 1; y >= 0; --y) {
    const uint8_t* pixel = picture.row(y);
    for (int x = 0; x < picture.width(); ++x, pixel += 4) {
      out.insert(out.end(), pixel, pixel + 3);
      out.push_back(255);
    }
  }
  out.insert(out.end(), mask_stride * picture.height(), 0);
  return out;
}

void DrawIcon(const Image& icon, Image& image, int x, int y) {
  EnsureDirectColour(image);
  const int bytes = image.bytes_per_pixel();
  for (int row = 0; row < icon.height(); ++row) {
    const int64_t to_y = int64_t{y} + row;
    if (to_y < 0 || to_y >= image.height()) continue;
    const uint8_t* from = icon.row(row);
    uint8_t* line = image.row(static_cast<int>(to_y));
    for (int column = 0; column < icon.width(); ++column, from += 4) {
      const int64_t to_x = int64_t{x} + column;
      if (to_x < 0 || to_x >= image.width() || from[3] == 0) continue;
      uint8_t* to = line + to_x * bytes;
      for (int k = 0; k < 3; ++k) to[k] = static_cast<uint8_t>(to[k] + (from[k] - to[k]) * from[3] / 255);
    }
  }
}

}  // namespace ixo::graphics
