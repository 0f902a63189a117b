// Fonts asked for by their usual face names, the height conventions, and where
// and in what colour text lands.
#include <gtest/gtest.h>

#include "graphics/text_renderer.h"

namespace ixo::graphics {
namespace {

FontDescription Font(const char* name, int height) {
  FontDescription font;
  font.name = name;
  font.height = height;
  return font;
}

TEST(TextRendererTest, FaceNamesFindAFaceOfTheirKind) {
  // A monospace face for the typewriter names, proportional faces for the others.
  for (const char* name : {"Courier New", "Courier", "Lucida Console"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(MeasureText(Font(name, -20), "iiii").width, MeasureText(Font(name, -20), "WWWW").width);
  }
  for (const char* name : {"MS Sans Serif", "Verdana", "Arial", "Times New Roman", "No Such Face"}) {
    SCOPED_TRACE(name);
    EXPECT_LT(MeasureText(Font(name, -20), "iiii").width, MeasureText(Font(name, -20), "WWWW").width);
  }
  // "Arial Bold" is Arial's bold face.
  EXPECT_GT(MeasureText(Font("Arial Bold", -20), "Hello").width, MeasureText(Font("Arial", -20), "Hello").width);
}

TEST(TextRendererTest, NegativeHeightsAreEmSizesAndPositiveOnesCellHeights) {
  const TextSize em = MeasureText(Font("Arial", -40), "Hg");
  const TextSize cell = MeasureText(Font("Arial", 40), "Hg");
  EXPECT_NEAR(cell.height, 40, 2);
  EXPECT_GT(em.height, cell.height);  // a 40-pixel em has a taller cell
  EXPECT_EQ(FontHeightForPoints(8), -11);
  EXPECT_EQ(FontHeightForPoints(12), -16);
  EXPECT_NEAR(MeasureText(Font("Arial", FontHeightForPoints(24)), "Hello").width,
              2 * MeasureText(Font("Arial", FontHeightForPoints(12)), "Hello").width, 3);
}

TEST(TextRendererTest, TextLandsBelowAndRightOfItsCornerInTheFontColour) {
  Image image(60, 40);
  image.Fill(255, 255, 255);
  FontDescription font = Font("Arial", -24);
  font.colour = 0x0000FF;
  DrawText(image, font, 20, 10, "H");
  bool red = false;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const uint32_t pixel = image.Pixel(x, y);
      if (pixel == 0xFFFFFF) continue;
      EXPECT_GE(x, 20);
      EXPECT_GE(y, 10);
      EXPECT_EQ(pixel & 0xFF, 0xFFu);  // only green and blue fall; red stays full
      red = red || pixel == 0x0000FF;
    }
  EXPECT_TRUE(red);
  // Turned by 90 degrees the text runs upwards from its corner.
  Image turned(60, 60);
  turned.Fill(255, 255, 255);
  font.escapement = 900;
  DrawText(turned, font, 10, 50, "HHH");
  bool above = false;
  for (int y = 0; y < 50 && !above; ++y)
    for (int x = 0; x < 60; ++x) above = above || turned.Pixel(x, y) != 0xFFFFFF;
  EXPECT_TRUE(above);
  for (int x = 0; x < 60; ++x) EXPECT_EQ(turned.Pixel(x, 55), 0xFFFFFFu);
}

}  // namespace
}  // namespace ixo::graphics
