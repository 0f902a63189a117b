// The kernels' rules on small hand-made images.
#include <gtest/gtest.h>

#include "graphics/kernels/kernels.h"

namespace ixo::graphics {
namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlue = 0xFF0000;

// An image whose pixel (x, y) has the colour x + 16 y: every pixel tells where it came from.
Image Numbered(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, static_cast<uint32_t>(x + 16 * y));
  return image;
}

Image Filled(int width, int height, uint32_t colour) {
  Image image(width, height);
  image.Fill(static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour));
  return image;
}

TEST(ScaledCopyTest, DoublesEveryPixelWhenScalingTenToTwenty) {
  Image source = Numbered(10, 10);
  Image destination(20, 20);
  ScaledCopy(source, destination, {0, 0, 10, 10, 0, 0, 20, 20}, {}, {});
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(destination.Pixel(x, y), static_cast<uint32_t>(x / 2 + 16 * (y / 2)));
}

TEST(ScaledCopyTest, NonZeroModeSamplesEverySecondPixelIntoBlocks) {
  Image source = Numbered(8, 8);
  Image destination(8, 8);
  EffectParameters effects;
  effects.mode = 1;
  ScaledCopy(source, destination, {0, 0, 8, 8, 0, 0, 8, 8}, effects, {});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(destination.Pixel(x, y), static_cast<uint32_t>(x / 2 * 2 + 16 * (y / 2 * 2)));
}

TEST(ScaledCopyTest, DeformShiftsTheTopLeftAndFadesTowardsTheOtherCorners) {
  Image source(200, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) source.SetPixel(x, y, static_cast<uint32_t>(x));
  Image destination(100, 100);
  DeformParameters deform;
  deform.top_left = 10;
  ScaledCopy(source, destination, {0, 0, 100, 100, 0, 0, 100, 100}, {}, deform);
  EXPECT_EQ(destination.Pixel(0, 0), 10u);
  EXPECT_EQ(destination.Pixel(99, 0), 99u);
  EXPECT_EQ(destination.Pixel(0, 99), 0u);
  EXPECT_EQ(destination.Pixel(50, 50), 52u);  // 50 + 50 × 10 × 50 / 10000
}

TEST(ScaledCopyTest, DeformPastTheRowEndReadsTheLastPixel) {
  Image source = Numbered(4, 4);
  Image destination(4, 4);
  DeformParameters deform;
  deform.top_left = 1000;
  ScaledCopy(source, destination, {0, 0, 4, 4, 0, 0, 4, 4}, {}, deform);
  EXPECT_EQ(destination.Pixel(0, 0), 3u);
}

TEST(BlendedCopyTest, HalfOpacityOfBlackOverWhiteGives128) {
  Image source = Filled(4, 4, 0);
  Image destination = Filled(4, 4, kWhite);
  EffectParameters effects;
  effects.opacity = {50, 50, 50};
  BlendedCopy(source, destination, {0, 0, 4, 4, 0, 0, 4, 4}, false, 0, effects, {});
  EXPECT_EQ(destination.Pixel(2, 2), 0x808080u);
}

TEST(BlendedCopyTest, OnlyChannelsWithAnOpacityChange) {
  Image source = Filled(4, 4, 0);
  Image destination = Filled(4, 4, kWhite);
  EffectParameters effects;
  effects.opacity = {100, 0, 0};  // blue only
  BlendedCopy(source, destination, {0, 0, 4, 4, 0, 0, 4, 4}, false, 0, effects, {});
  EXPECT_EQ(destination.Pixel(1, 1), 0x00FFFFu);
}

TEST(BlendedCopyTest, AutomaticKeySkipsPixelsOfTheTopLeftColour) {
  Image source = Filled(3, 1, kRed);
  source.SetPixel(1, 0, kBlue);
  Image destination = Filled(3, 1, kWhite);
  BlendedCopy(source, destination, {0, 0, 3, 1, 0, 0, 3, 1}, true, kAutomaticKey, {}, {});
  EXPECT_EQ(destination.Pixel(0, 0), kWhite);
  EXPECT_EQ(destination.Pixel(1, 0), kBlue);
  EXPECT_EQ(destination.Pixel(2, 0), kWhite);
}

TEST(BlendedCopyTest, ModeOneBlendsOneChannelPerPixelInTurn) {
  Image source = Filled(4, 1, 0);
  Image destination = Filled(4, 1, kWhite);
  EffectParameters effects;
  effects.mode = 1;
  BlendedCopy(source, destination, {0, 0, 4, 1, 0, 0, 4, 1}, false, 0, effects, {});
  // Green, red, blue, green: the counter runs 1, 2, 0, 1.
  EXPECT_EQ(destination.Pixel(0, 0), 0xFF00FFu);
  EXPECT_EQ(destination.Pixel(1, 0), 0xFFFF00u);
  EXPECT_EQ(destination.Pixel(2, 0), 0x00FFFFu);
  EXPECT_EQ(destination.Pixel(3, 0), 0xFF00FFu);
}

TEST(BlendedCopyTest, ChannelShiftsStayInsideTheSourceRow) {
  Image source = Filled(2, 1, 0x010203);
  Image destination(2, 1);
  EffectParameters effects;
  effects.shift = {100, -100, 5};
  BlendedCopy(source, destination, {0, 0, 2, 1, 0, 0, 2, 1}, false, 0, effects, {});
  // Blue reads the row's last byte (red of the last pixel), green its first
  // (blue of the first), red a byte of the next pixel.
  EXPECT_EQ(destination.Pixel(0, 0), 0x030103u);
}

TEST(BlendedCopyTest, StepsOfZeroOrLessCountAsOne) {
  Image source = Filled(3, 3, 0);
  Image destination = Filled(3, 3, kWhite);
  EffectParameters effects;
  effects.x_step = 0;
  effects.y_step = -5;
  BlendedCopy(source, destination, {0, 0, 3, 3, 0, 0, 3, 3}, false, 0, effects, {});
  EXPECT_EQ(destination.Pixel(2, 2), 0u);
}

// Copying an image onto an overlapping part of itself reads the pixels as they
// were before the copy began.
TEST(KernelSelfCopyTest, SelfCopiesReadASnapshot) {
  const Image original = Numbered(8, 8);
  const CopyArea area{0, 0, 6, 6, 2, 2, 6, 6};
  EffectParameters half;
  half.opacity = {50, 50, 50};
  struct Case {
    const char* name;
    void (*run)(Image& source, Image& destination, const CopyArea& area, const EffectParameters& effects);
  };
  const Case cases[] = {
      {"scaled", [](Image& s, Image& d, const CopyArea& a, const EffectParameters& e) { ScaledCopy(s, d, a, e, {}); }},
      {"blended",
       [](Image& s, Image& d, const CopyArea& a, const EffectParameters& e) { BlendedCopy(s, d, a, false, 0, e, {}); }},
      {"raster",
       [](Image& s, Image& d, const CopyArea& a, const EffectParameters&) {
         RasterCopy(s, d, a.sx, a.sy, a.sw, a.sh, a.dx, a.dy, RasterOperation::kSourceInvert, 0);
       }},
      {"brush",
       [](Image& s, Image& d, const CopyArea& a, const EffectParameters&) {
         BrushPaint(s, d, a.sx, a.sy, a.sw, a.sh, a.dx, a.dy, 0xFFFFFF, 100, 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Image self = original;
    c.run(self, self, area, half);
    Image snapshot = original;
    Image destination = original;
    c.run(snapshot, destination, area, half);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(self.Pixel(x, y), destination.Pixel(x, y)) << x << "," << y;
  }
  Image self = Numbered(3, 2);
  RotateImage(self, self, true);
  EXPECT_EQ(self.Pixel(1, 0), 0u);   // the old top-left
  EXPECT_EQ(self.Pixel(0, 0), 16u);  // the old bottom-left
}

TEST(KernelAreaTest, NegativeAndHugeAreasStayInsideTheImages) {
  Image source = Numbered(5, 5);
  Image destination = Filled(5, 5, kWhite);
  const CopyArea areas[] = {{0, 0, -5, 5, 0, 0, 5, 5},
                            {0, 0, 5, 5, 0, 0, 5, -5},
                            {-2000000000, 0, 5, 5, 0, 0, 5, 5},
                            {0, 0, 5, 5, -2000000000, -2000000000, 2000000000, 2000000000},
                            {0, 0, 2000000000, 2000000000, 0, 0, 5, 5}};
  for (const CopyArea& area : areas) {
    ScaledCopy(source, destination, area, {}, {});
    BlendedCopy(source, destination, area, true, kAutomaticKey, {}, {});
    BrushPaint(source, destination, area.sx, area.sy, area.sw, area.sh, area.dx, area.dy, 0, 100, 1);
    TintedFill(destination, area.dx, area.dy, area.dw, area.dh, 0, 50);
    RasterCopy(source, destination, area.sx, area.sy, area.sw, area.sh, area.dx, area.dy,
               RasterOperation::kSourceCopy, 0);
  }
  // Sizes that no image may have are refused rather than allocated.
  EXPECT_LE(destination.width(), kMaxImageSide);
  EXPECT_LE(source.width(), kMaxImageSide);
}

TEST(TintedFillTest, OpacityZeroKeepsAndHundredPaints) {
  Image image = Numbered(4, 4);
  TintedFill(image, 0, 0, 4, 4, kRed, 0);
  EXPECT_EQ(image.Pixel(3, 3), 51u);
  TintedFill(image, 0, 0, 4, 4, kRed, 100);
  EXPECT_EQ(image.Pixel(3, 3), kRed);
}

TEST(TintedFillTest, ARectangleStartingLeftOfTheImageCoversOnlyItsOwnPart) {
  Image image = Filled(10, 1, kWhite);
  TintedFill(image, -5, 0, 10, 1, 0, 100);
  EXPECT_EQ(image.Pixel(4, 0), 0u);
  EXPECT_EQ(image.Pixel(5, 0), kWhite);
}

TEST(BrushPaintTest, WhitePaintsAndBlackLeavesAlone) {
  Image mask(2, 1);
  mask.SetPixel(0, 0, kWhite);
  Image destination = Filled(2, 1, kWhite);
  BrushPaint(mask, destination, 0, 0, 2, 1, 0, 0, kBlue, 100, 2);
  EXPECT_EQ(destination.Pixel(0, 0), kBlue);
  EXPECT_EQ(destination.Pixel(1, 0), kWhite);
}

TEST(CompareImagesTest, FindsTheFirstDifferenceOrNone) {
  Image image = Numbered(6, 6);
  Image other = Numbered(6, 6);
  EXPECT_FALSE(CompareImages(image, other, 0, 0, 6, 6, 0, 0, 0xABCDEF).has_value());
  image.SetPixel(3, 2, kRed);
  const auto difference = CompareImages(image, other, 0, 0, 6, 6, 0, 0, 0xABCDEF);
  ASSERT_TRUE(difference.has_value());
  EXPECT_EQ(difference->colour, kRed);
  EXPECT_EQ(difference->x, 3);
  EXPECT_EQ(difference->y, 2);
  // The other image's pixel there has the ignored colour: it matches anything.
  EXPECT_FALSE(CompareImages(image, other, 0, 0, 6, 6, 0, 0, other.Pixel(3, 2)).has_value());
}

TEST(RotateImageTest, ThreeByTwoTurnsIntoTwoByThree) {
  Image source = Numbered(3, 2);
  Image clockwise(1, 1);
  RotateImage(source, clockwise, true);
  EXPECT_EQ(clockwise.width(), 2);
  EXPECT_EQ(clockwise.height(), 3);
  EXPECT_EQ(clockwise.Pixel(1, 0), source.Pixel(0, 0));
  EXPECT_EQ(clockwise.Pixel(0, 2), source.Pixel(2, 1));
  Image counter(1, 1);
  RotateImage(source, counter, false);
  EXPECT_EQ(counter.Pixel(0, 2), source.Pixel(0, 0));
  EXPECT_EQ(counter.Pixel(1, 0), source.Pixel(2, 1));
}

}  // namespace
}  // namespace ixo::graphics

namespace ixo::graphics {
namespace {

// Every destination and source byte against every opacity of the vector path
// (unscaled 24-bit copies and tinted fills) and the opacities around it.
TEST(BlendArithmeticTest, EveryByteAndOpacityMatchesTheFormula) {
  Image source(256, 256), destination(256, 256);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      source.SetPixel(x, y, static_cast<uint32_t>(x * 0x010101));
      destination.SetPixel(x, y, static_cast<uint32_t>(y * 0x010101));
    }
  for (int opacity = -1; opacity <= 101; ++opacity) {
    Image blended = destination;
    EffectParameters effects;
    effects.opacity = {opacity, opacity, opacity};
    BlendedCopy(source, blended, {0, 0, 256, 256, 0, 0, 256, 256}, false, 0, effects, {});
    Image tinted = destination;
    TintedFill(tinted, 0, 0, 256, 256, 0x804020, opacity);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        const int blend = opacity > 0 ? static_cast<uint8_t>(y + (x - y) * opacity / 100) : y;
        ASSERT_EQ(blended.row(y)[3 * x], blend) << "opacity " << opacity << " source " << x << " destination " << y;
        ASSERT_EQ(tinted.row(y)[3 * x + 1], static_cast<uint8_t>(y + opacity * (0x40 - y) / 100)) << opacity;
      }
  }
}

}  // namespace
}  // namespace ixo::graphics
