// Pixel formats and the picture files: conversions, bitmap round trips at every
// depth, JPEG round trips, icons, and hostile files that must be refused.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "graphics/bmp_codec.h"
#include "graphics/byte_order.h"
#include "graphics/ico_codec.h"
#include "graphics/jpeg_codec.h"

namespace ixo::graphics {
namespace {

// A picture with smooth areas and sharp edges, in colours every depth can hold
// (the standard sixteen), so that a round trip through any format is exact.
Image StandardColourPicture(int width, int height) {
  Image image(width, height);
  const std::vector<uint32_t>& palette = DefaultPalette(4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, palette[(x / 3 + y) % 16]);
  return image;
}

uint32_t ExactIn(int bits, uint32_t colour) {
  Image one(1, 1, bits);
  one.SetPixel(0, 0, colour);
  return one.Pixel(0, 0);
}

TEST(PixelFormatTest, ConversionsKeepTheColoursEachFormatCanHold) {
  const Image original = StandardColourPicture(13, 7);
  for (int bits : {1, 4, 8, 15, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    Image converted = original;
    converted.ConvertTo(bits);
    EXPECT_EQ(converted.bits_per_pixel(), bits);
    converted.ConvertTo(24);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) {
        const uint32_t expected = bits == 1 ? ExactIn(1, original.Pixel(x, y)) : ExactIn(bits, original.Pixel(x, y));
        ASSERT_EQ(converted.Pixel(x, y), expected) << x << "," << y;
      }
  }
}

TEST(PixelFormatTest, ResizeKeepsSharedPixelsInEveryFormat) {
  for (int bits : {1, 4, 8, 15, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    Image image = StandardColourPicture(9, 5);
    image.ConvertTo(bits);
    const Image before = image;
    ASSERT_TRUE(image.Resize(17, 3));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 9; ++x) ASSERT_EQ(image.Pixel(x, y), before.Pixel(x, y));
    EXPECT_EQ(image.Pixel(16, 2), 0u);
  }
  Image image(2, 2);
  EXPECT_FALSE(image.Resize(kMaxImageSide + 1, 1));
  EXPECT_FALSE(image.Resize(60000, 60000));
  EXPECT_EQ(image.width(), 2);
}

TEST(BmpCodecTest, RoundTripsAtEveryDepth) {
  const Image original = StandardColourPicture(13, 7);
  for (int bits : {1, 4, 8, 15, 16, 24, 32}) {
    SCOPED_TRACE(bits);
    const std::vector<uint8_t> file = EncodeBmp(original, bits);
    std::optional<Image> read = DecodeBmp(file);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->bits_per_pixel(), bits);
    ASSERT_EQ(read->width(), 13);
    ASSERT_EQ(read->height(), 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 13; ++x) ASSERT_EQ(read->Pixel(x, y), ExactIn(bits, original.Pixel(x, y))) << x << "," << y;
  }
}

// Builds a bitmap file from an info header and the bytes after it.
std::vector<uint8_t> BitmapFile(int width, int height, int bits, uint32_t compression, uint32_t colours,
                                const std::vector<uint8_t>& rest) {
  std::vector<uint8_t> file = {'B', 'M'};
  AppendLe32(file, static_cast<uint32_t>(54 + rest.size()));
  AppendLe32(file, 0);
  AppendLe32(file, 0);  // no offset: the pixels follow the palette
  AppendLe32(file, 40);
  AppendLe32(file, static_cast<uint32_t>(width));
  AppendLe32(file, static_cast<uint32_t>(height));
  AppendLe16(file, 1);
  AppendLe16(file, static_cast<uint32_t>(bits));
  AppendLe32(file, compression);
  for (int i = 0; i < 3; ++i) AppendLe32(file, 0);
  AppendLe32(file, colours);
  AppendLe32(file, 0);
  file.insert(file.end(), rest.begin(), rest.end());
  return file;
}

TEST(BmpCodecTest, ReadsRunLengthTopDownAndMaskedPictures) {
  // 8-bit run-length: palette entries red and white (stored blue, green, red), a
  // run of 3 of entry 1, end of row, an absolute run of 1, 0, 1, end of picture.
  std::vector<uint8_t> rle = {0, 0, 255, 0, 255, 255, 255, 0};
  for (uint8_t b : {3, 1, 0, 0, 0, 3, 1, 0, 1, 0, 0, 1}) rle.push_back(b);
  std::optional<Image> picture = DecodeBmp(BitmapFile(3, 2, 8, 1, 2, rle));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->Pixel(0, 1), 0xFFFFFFu);  // bottom row first
  EXPECT_EQ(picture->Pixel(1, 0), 0x0000FFu);
  EXPECT_EQ(picture->Pixel(0, 0), 0xFFFFFFu);

  // A 24-bit picture stored top-down (negative height).
  picture = DecodeBmp(BitmapFile(1, -2, 24, 0, 0, {0, 0, 255, 0, 255, 0, 0, 0}));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->Pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(picture->Pixel(0, 1), 0xFF0000u);

  // 32 bits with unusual masks: red in the top byte.
  std::vector<uint8_t> masked;
  AppendLe32(masked, 0xFF000000);
  AppendLe32(masked, 0x00FF0000);
  AppendLe32(masked, 0x0000FF00);
  AppendLe32(masked, 0x11223344);
  picture = DecodeBmp(BitmapFile(1, 1, 32, 3, 0, masked));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->Pixel(0, 0), 0x332211u);
}

TEST(BmpCodecTest, RefusesHostileFiles) {
  const std::vector<uint8_t> good = EncodeBmp(StandardColourPicture(5, 5), 24);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> cut = good;
  cut.resize(good.size() - 10);
  std::vector<uint8_t> huge = good;
  huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;  // width 2^31 - 1
  std::vector<uint8_t> negative_width = good;
  negative_width[21] = 0xFF;
  std::vector<uint8_t> odd_depth = good;
  odd_depth[28] = 7;
  std::vector<uint8_t> header_past_end = good;
  header_past_end[14] = 0xFF, header_past_end[15] = 0xFF;
  const Case cases[] = {
      {"empty", {}},
      {"no signature", {'X', 'Y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"pixels cut short", cut},
      {"width beyond any image", huge},
      {"negative width", negative_width},
      {"depth of 7 bits", odd_depth},
      {"header longer than the file", header_past_end},
      {"palette past the end", BitmapFile(2, 2, 8, 0, 200, {1, 2, 3})},
      {"run-length top-down", BitmapFile(2, -2, 8, 1, 0, std::vector<uint8_t>(1024, 0))},
  };
  for (const Case& c : cases) EXPECT_FALSE(DecodeBmp(c.bytes).has_value()) << c.name;
}

TEST(JpegCodecTest, RoundTripsColourAndGreyWithinTheQuality) {
  Image original(33, 17);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 33; ++x) original.SetPixel(x, y, static_cast<uint32_t>((x * 7) | (y * 15) << 8 | 0x40 << 16));
  for (bool grey : {false, true}) {
    SCOPED_TRACE(grey);
    const std::optional<std::vector<uint8_t>> file = EncodeJpeg(original, 95, grey);
    ASSERT_TRUE(file.has_value());
    const std::optional<Image> read = DecodeJpeg(*file);
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->width(), 33);
    ASSERT_EQ(read->height(), 17);
    EXPECT_EQ(read->bits_per_pixel(), 24);
    const uint32_t pixel = read->Pixel(20, 10);
    const int red = pixel & 255, green = pixel >> 8 & 255, blue = pixel >> 16 & 255;
    if (grey) {
      EXPECT_EQ(red, green);
      EXPECT_EQ(green, blue);
    } else {
      EXPECT_NEAR(red, 140, 8);
      EXPECT_NEAR(green, 150, 8);
      EXPECT_NEAR(blue, 0x40, 8);
    }
  }
  // Lower quality, smaller file.
  EXPECT_LT(EncodeJpeg(original, 10, false)->size(), EncodeJpeg(original, 95, false)->size());
}

TEST(JpegCodecTest, RefusesBrokenStreams) {
  const std::vector<uint8_t> good = *EncodeJpeg(StandardColourPicture(16, 16), 80, false);
  std::vector<uint8_t> cut(good.begin(), good.begin() + 20);
  std::vector<uint8_t> noise(300);
  std::mt19937 random(7);
  for (uint8_t& b : noise) b = static_cast<uint8_t>(random());
  noise[0] = 0xFF, noise[1] = 0xD8;
  EXPECT_FALSE(DecodeJpeg({}).has_value());
  EXPECT_FALSE(DecodeJpeg(cut).has_value());
  EXPECT_FALSE(DecodeJpeg(noise).has_value());
  EXPECT_FALSE(EncodeJpeg(Image(0, 0), 80, false).has_value());
}

TEST(IcoCodecTest, ReadsItsOwnIconsAtTheAskedSizeWithTheirMask) {
  const Image picture = StandardColourPicture(16, 16);
  const std::vector<uint8_t> file = EncodeIcon(picture);
  std::optional<Image> icon = DecodeIcon(file, 16, 16);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->Pixel(5, 3), picture.Pixel(5, 3));
  EXPECT_EQ(icon->row(3)[4 * 5 + 3], 255);
  icon = DecodeIcon(file, 32, 32);
  ASSERT_TRUE(icon.has_value());
  EXPECT_EQ(icon->width(), 32);
  EXPECT_EQ(icon->Pixel(11, 7), picture.Pixel(5, 3));

  // An 8-bit icon with a mask: the masked pixel is transparent when drawn.
  std::vector<uint8_t> dib;
  AppendLe32(dib, 40);
  AppendLe32(dib, 2);
  AppendLe32(dib, 4);  // twice the height
  AppendLe16(dib, 1);
  AppendLe16(dib, 8);
  for (int i = 0; i < 6; ++i) AppendLe32(dib, 0);
  for (int i = 0; i < 256; ++i) AppendLe32(dib, i == 1 ? 0x0000FF : 0);  // entry 1 is blue
  for (uint8_t b : {1, 1, 0, 0, 1, 1, 0, 0}) dib.push_back(b);            // colour rows
  for (uint8_t b : {0x40, 0, 0, 0, 0, 0, 0, 0}) dib.push_back(b);         // mask rows: (1, 1) transparent
  std::vector<uint8_t> eight = {0, 0, 1, 0, 1, 0, 2, 2, 0, 0, 1, 0, 8, 0};
  AppendLe32(eight, static_cast<uint32_t>(dib.size()));
  AppendLe32(eight, 22);
  eight.insert(eight.end(), dib.begin(), dib.end());
  icon = DecodeIcon(eight, 2, 2);
  ASSERT_TRUE(icon.has_value());
  Image target(2, 2);
  target.Fill(255, 255, 255);
  DrawIcon(*icon, target, 0, 0);
  EXPECT_EQ(target.Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(target.Pixel(1, 1), 0xFFFFFFu);
}

TEST(IcoCodecTest, RefusesHostileFiles) {
  std::vector<uint8_t> good = EncodeIcon(StandardColourPicture(4, 4));
  std::vector<uint8_t> offset_past_end = good;
  offset_past_end[18] = 0xFF;
  std::vector<uint8_t> many_entries = good;
  many_entries[4] = 0xFF;
  std::vector<uint8_t> cut = good;
  cut.resize(60);
  EXPECT_FALSE(DecodeIcon({}, 32, 32).has_value());
  EXPECT_FALSE(DecodeIcon(offset_past_end, 32, 32).has_value());
  EXPECT_FALSE(DecodeIcon(many_entries, 32, 32).has_value());
  EXPECT_FALSE(DecodeIcon(cut, 32, 32).has_value());
}

}  // namespace
}  // namespace ixo::graphics
