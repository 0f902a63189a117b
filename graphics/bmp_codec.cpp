// Bitmap reader and writer. A bitmap is an info header (12 bytes in the old core
// form, 40 or more otherwise), optional colour masks, a palette for depths up
// to 8 bits, and rows of pixels padded to four bytes, stored bottom-up unless the
// height is negative. Every field read is checked against the bytes there are.
#include "graphics/bmp_codec.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

#include "graphics/byte_order.h"

namespace ixo::graphics {

namespace {

constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRunLength8 = 1;
constexpr uint32_t kRunLength4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

struct Header {
  int width = 0;
  int height = 0;  // always positive here; top_down says the row order
  bool top_down = false;
  int bits = 0;
  uint32_t compression = kUncompressed;
  uint32_t masks[3] = {0, 0, 0};  // red, green, blue
  std::vector<uint32_t> palette;
  size_t header_end = 0;  // where the palette ends: pixels follow in an icon
};

size_t RowBytes(int width, int bits) { return ((static_cast<size_t>(width) * bits + 31) / 32) * 4; }

std::optional<Header> ReadHeader(std::span<const uint8_t> dib, int height_divisor) {
  if (dib.size() < 12) return std::nullopt;
  const uint32_t header_size = ReadLe32(dib, 0);
  Header header;
  int64_t height = 0;
  size_t palette_entry = 4;
  uint32_t colours_used = 0;
  if (header_size == 12) {
    header.width = static_cast<int>(ReadLe16(dib, 4));
    height = static_cast<int16_t>(ReadLe16(dib, 6));
    header.bits = static_cast<int>(ReadLe16(dib, 10));
    palette_entry = 3;
  } else if (header_size >= 40 && header_size <= dib.size()) {
    header.width = static_cast<int32_t>(ReadLe32(dib, 4));
    height = static_cast<int32_t>(ReadLe32(dib, 8));
    header.bits = static_cast<int>(ReadLe16(dib, 14));
    header.compression = ReadLe32(dib, 16);
    colours_used = ReadLe32(dib, 32);
  } else {
    return std::nullopt;
  }
  size_t at = header_size;
  if (header.compression == kBitFields || header.compression == kAlphaBitFields) {
    if (header_size >= 52) {
      for (int i = 0; i < 3; ++i) header.masks[i] = ReadLe32(dib, 40 + 4 * i);
    } else {
      const size_t mask_bytes = header.compression == kAlphaBitFields ? 16 : 12;
      if (dib.size() < at + mask_bytes) return std::nullopt;
      for (int i = 0; i < 3; ++i) header.masks[i] = ReadLe32(dib, at + 4 * i);
      at += mask_bytes;
    }
  }
  header.top_down = height < 0;
  height = (height < 0 ? -height : height) / height_divisor;
  if (header.width <= 0 || height <= 0 || !IsAllowedSize(header.width, static_cast<int>(std::min<int64_t>(height, 1 << 30))))
    return std::nullopt;
  header.height = static_cast<int>(height);

  const bool known_depth = header.bits == 1 || header.bits == 4 || header.bits == 8 || header.bits == 16 ||
                           header.bits == 24 || header.bits == 32;
  if (!known_depth) return std::nullopt;
  switch (header.compression) {
    case kUncompressed: break;
    case kRunLength8: if (header.bits != 8 || header.top_down) return std::nullopt; break;
    case kRunLength4: if (header.bits != 4 || header.top_down) return std::nullopt; break;
    case kBitFields:
    case kAlphaBitFields: if (header.bits != 16 && header.bits != 32) return std::nullopt; break;
    default: return std::nullopt;
  }
  if (header.bits <= 8) {
    const size_t capacity = size_t{1} << header.bits;
    const size_t stored = colours_used == 0 ? capacity : std::min<size_t>(colours_used, 256);
    if (dib.size() < at + stored * palette_entry) return std::nullopt;
    header.palette.assign(capacity, 0);
    for (size_t i = 0; i < std::min(stored, capacity); ++i) {
      const uint8_t* entry = dib.data() + at + i * palette_entry;
      header.palette[i] = entry[2] | entry[1] << 8 | entry[0] << 16;
    }
    at += stored * palette_entry;
  }
  header.header_end = at;
  return header;
}

// Pixels packed by run-length codes: (count, value) pairs, or 0 followed by an
// escape: 0 end of row, 1 end of picture, 2 a move right and up, n an absolute
// run of n pixels padded to a word. Pixels outside the picture are dropped.
void DecodeRunLength(std::span<const uint8_t> data, Image& image, int bits) {
  int x = 0;
  int y = image.height() - 1;  // run-length pictures are always bottom-up
  auto put = [&](uint32_t index) {
    if (image.contains(x, y)) {
      uint8_t* line = image.row(y);
      if (bits == 8) {
        line[x] = static_cast<uint8_t>(index);
      } else {
        const int shift = (x & 1) ? 0 : 4;
        line[x >> 1] = static_cast<uint8_t>((line[x >> 1] & ~(15 << shift)) | (index & 15) << shift);
      }
    }
    ++x;
  };
  size_t at = 0;
  while (at + 1 < data.size() && y >= 0) {
    const uint8_t count = data[at];
    const uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < image.width(); ++i)
        put(bits == 8 ? value : (i & 1 ? value & 15 : value >> 4));
      continue;
    }
    if (value == 0) {
      x = 0;
      --y;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      if (at + 1 >= data.size()) return;
      x += data[at];
      y -= data[at + 1];
      at += 2;
    } else {
      const size_t bytes = bits == 8 ? value : (value + 1) / 2;
      if (at + bytes > data.size()) return;
      for (int i = 0; i < value; ++i)
        put(bits == 8 ? data[at + i] : (i & 1 ? data[at + i / 2] & 15 : data[at + i / 2] >> 4));
      at += (bytes + 1) & ~size_t{1};
    }
  }
}

// A channel held by a mask, spread over 0..255.
uint8_t MaskedChannel(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const uint64_t top = mask >> shift;
  return static_cast<uint8_t>(((value & mask) >> shift) * 255 / top);
}

std::optional<Image> DecodePixels(const Header& header, std::span<const uint8_t> data) {
  int format = header.bits;
  const bool masked = header.compression == kBitFields || header.compression == kAlphaBitFields;
  const uint32_t masks_555[3] = {0x7C00, 0x03E0, 0x001F};
  const uint32_t masks_565[3] = {0xF800, 0x07E0, 0x001F};
  const uint32_t masks_888[3] = {0xFF0000, 0x00FF00, 0x0000FF};
  auto masks_are = [&](const uint32_t* expected) { return std::equal(header.masks, header.masks + 3, expected); };
  bool generic = false;
  if (header.bits == 16) {
    if (!masked || masks_are(masks_555)) format = 15;
    else if (masks_are(masks_565)) format = 16;
    else generic = true;
  } else if (header.bits == 32 && masked && !masks_are(masks_888)) {
    generic = true;
  }
  const bool run_length = header.compression == kRunLength8 || header.compression == kRunLength4;
  const size_t row_bytes = RowBytes(header.width, header.bits);
  if (!run_length && data.size() / row_bytes < static_cast<size_t>(header.height)) return std::nullopt;
  Image image(header.width, header.height, generic ? 32 : format);
  if (image.width() != header.width) return std::nullopt;
  if (header.bits <= 8) image.set_palette(header.palette);

  if (run_length) {
    DecodeRunLength(data, image, header.bits);
    return image;
  }
  for (int y = 0; y < header.height; ++y) {
    const uint8_t* from = data.data() + static_cast<size_t>(header.top_down ? y : header.height - 1 - y) * row_bytes;
    uint8_t* to = image.row(y);
    if (!generic) {
      std::memcpy(to, from, std::min(row_bytes, image.stride()));
      continue;
    }
    const int step = header.bits / 8;
    for (int x = 0; x < header.width; ++x, from += step, to += 4) {
      const uint32_t value = step == 2 ? ReadLe16({from, 2}, 0) : ReadLe32({from, 4}, 0);
      to[0] = MaskedChannel(value, header.masks[2]);
      to[1] = MaskedChannel(value, header.masks[1]);
      to[2] = MaskedChannel(value, header.masks[0]);
    }
  }
  return image;
}

}  // namespace

std::optional<Image> DecodeDib(std::span<const uint8_t> dib, int height_divisor) {
  const std::optional<Header> header = ReadHeader(dib, std::max(height_divisor, 1));
  if (!header) return std::nullopt;
  return DecodePixels(*header, dib.subspan(header->header_end));
}

std::optional<size_t> DibPixelOffset(std::span<const uint8_t> dib, int height_divisor) {
  const std::optional<Header> header = ReadHeader(dib, std::max(height_divisor, 1));
  if (!header) return std::nullopt;
  return header->header_end;
}

std::optional<Image> DecodeBmp(std::span<const uint8_t> file) {
  if (file.size() < 14 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const size_t pixels_at = ReadLe32(file, 10);
  const std::span<const uint8_t> dib = file.subspan(14);
  const std::optional<Header> header = ReadHeader(dib, 1);
  if (!header) return std::nullopt;
  // Writers disagree about the offset field; 0 or one inside the headers means
  // the pixels follow the palette.
  size_t start = 14 + header->header_end;
  if (pixels_at >= start && pixels_at <= file.size()) start = pixels_at;
  return DecodePixels(*header, file.subspan(start));
}

std::vector<uint8_t> EncodeBmp(const Image& image, int bits) {
  if (!IsPixelFormat(bits)) bits = 32;
  Image converted = image;
  converted.ConvertTo(bits);
  const int stored_bits = bits == 15 ? 16 : bits;
  const size_t palette_entries = bits <= 8 ? size_t{1} << bits : 0;
  const size_t mask_bytes = bits == 16 ? 12 : 0;
  const size_t row_bytes = RowBytes(converted.width(), stored_bits);
  const size_t pixels_at = 14 + 40 + mask_bytes + palette_entries * 4;
  const size_t file_size = pixels_at + row_bytes * static_cast<size_t>(converted.height());

  std::vector<uint8_t> out;
  out.reserve(file_size);
  out.push_back('B');
  out.push_back('M');
  AppendLe32(out, static_cast<uint32_t>(std::min<size_t>(file_size, std::numeric_limits<uint32_t>::max())));
  AppendLe32(out, 0);
  AppendLe32(out, static_cast<uint32_t>(pixels_at));
  AppendLe32(out, 40);
  AppendLe32(out, static_cast<uint32_t>(converted.width()));
  AppendLe32(out, static_cast<uint32_t>(converted.height()));
  AppendLe16(out, 1);
  AppendLe16(out, static_cast<uint32_t>(stored_bits));
  AppendLe32(out, bits == 16 ? kBitFields : kUncompressed);
  AppendLe32(out, static_cast<uint32_t>(row_bytes * static_cast<size_t>(converted.height())));
  AppendLe32(out, 3780);  // 96 dots per inch, in dots per metre
  AppendLe32(out, 3780);
  AppendLe32(out, static_cast<uint32_t>(palette_entries));
  AppendLe32(out, 0);
  if (bits == 16) {
    AppendLe32(out, 0xF800);
    AppendLe32(out, 0x07E0);
    AppendLe32(out, 0x001F);
  }
  for (size_t i = 0; i < palette_entries; ++i) {
    const uint32_t colour = i < converted.palette().size() ? converted.palette()[i] : 0;
    out.push_back(static_cast<uint8_t>(colour >> 16));
    out.push_back(static_cast<uint8_t>(colour >> 8));
    out.push_back(static_cast<uint8_t>(colour));
    out.push_back(0);
  }
  for (int y = converted.height() - 1; y >= 0; --y)
    out.insert(out.end(), converted.row(y), converted.row(y) + row_bytes);
  return out;
}

}  // namespace ixo::graphics
