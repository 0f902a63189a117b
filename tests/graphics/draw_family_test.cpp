// The "draw" family as scripts use it: image references and memory images,
// shapes, pixels, copies, text, picture files and painting.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/variables.h"
#include "graphics/draw_command.h"
#include "graphics/ico_codec.h"
#include "tests/support/script_test.h"
#include "window/engine_windows.h"

namespace ixo {
namespace {

namespace fs = std::filesystem;

constexpr const char* kWhite = "16777215";
constexpr const char* kRed = "255";

class DrawFamilyTest : public ScriptTest {
 protected:
  DrawFamilyTest() {
    folder_ = fs::path(testing::TempDir()) /
              ("draw_test_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
               std::to_string(getpid()));
    fs::create_directories(folder_);
  }
  ~DrawFamilyTest() override { fs::remove_all(folder_); }

  Result Draw(const std::vector<std::string>& path, const std::vector<std::string>& parameters = {}) {
    std::vector<std::string> full = {"draw"};
    full.insert(full.end(), path.begin(), path.end());
    return Command(full, parameters);
  }

  // Memory image -1 as a white width × height picture.
  void WhiteCanvas(int width, int height) {
    Draw({"-1", "size"}, {std::to_string(width), std::to_string(height)});
    Draw({"-1", "rect"}, {"0", "0", std::to_string(width), std::to_string(height), kWhite});
  }

  std::string Pixel(const std::string& image, int x, int y) {
    return Draw({image, "getpixel"}, {std::to_string(x), std::to_string(y)}).value_or("<none>");
  }

  graphics::Image& Memory(int name) { return *graphics::DrawStateOf(engine()).memory.Get(-name - 1); }

  std::string File(const std::string& name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

TEST_F(DrawFamilyTest, ScriptsDrawThroughTheirOwnLines) {
  Run("event.initialize()\n"
      "  &m = draw.mem.create()\n"
      "  draw.{&m}.size(20,10)\n"
      "  draw.{&m}.rect(0,0,20,10,{num.rgb(255,255,255)})\n"
      "  draw.{&m}.rect(0,0,10,10,0,0,50)\n"
      "  &p = draw.{&m}.getpixel(5,5,15,5)\n"
      "  &w = draw.-2.width()\n"
      "  draw.nowhere.width()\n"
      "event.end()\n");
  EXPECT_EQ(Var("m"), "-1");
  EXPECT_EQ(Var("p"), "8421504^^16777215");
  EXPECT_EQ(Var("w"), "1");
  EXPECT_NE(AllReports().find("Invalid image."), std::string::npos);
}

TEST_F(DrawFamilyTest, MemorySlotsAreHandedOutLowestFirstAndReused) {
  EXPECT_EQ(Draw({"mem", "create"}), Result("-1"));
  EXPECT_EQ(Draw({"mem", "create"}), Result("-2"));
  EXPECT_EQ(Draw({"mem", "exists"}, {"-2"}), Result("1"));
  Draw({"mem", "delete"}, {"-1"});
  EXPECT_EQ(Draw({"mem", "exists"}, {"-1"}), Result("0"));
  EXPECT_EQ(Draw({"mem", "create"}), Result("-1"));
  EXPECT_EQ(Draw({"mem", "exists"}, {"300"}), Result("-1"));
  EXPECT_EQ(Draw({"mem", "exists"}, {"-2147483648"}), Result("-1"));
  Draw({"mem", "delete"}, {"-300"});
  EXPECT_NE(AllReports().find("Invalid image."), std::string::npos);
}

TEST_F(DrawFamilyTest, CreateStopsWhenTheCreatableSlotsAreTaken) {
  for (int i = 1; i <= 255; ++i) ASSERT_EQ(Draw({"mem", "create"}), Result(std::to_string(-i)));
  EXPECT_EQ(Draw({"mem", "create"}), kNoResult);
  // The last slot is still reachable by name.
  EXPECT_EQ(Draw({"-256", "width"}), Result("1"));
}

TEST_F(DrawFamilyTest, NamingAnEmptySlotCreatesAOnePixelImage) {
  EXPECT_EQ(Draw({"-7", "width"}), Result("1"));
  EXPECT_EQ(Draw({"mem", "exists"}, {"-7"}), Result("1"));
}

TEST_F(DrawFamilyTest, ReferencesThatNameNothingAreReported) {
  for (const char* reference : {"x", "255", "-257", "3", "main"}) {
    SCOPED_TRACE(reference);
    EXPECT_EQ(Draw({reference, "width"}), kNoResult);
  }
  EXPECT_EQ(Draw({"-1", "copyfrom", "nothing"}), kNoResult);
  EXPECT_EQ(reports().size(), 6u);
  EXPECT_NE(reports().back().find("Invalid image."), std::string::npos);
  Draw({"-1", "wobble"});
  EXPECT_NE(reports().back().find("Unknown or incomplete command : "), std::string::npos);
}

TEST_F(DrawFamilyTest, MainNamesTheBackBufferOfWindowZero) {
  CreateEngineWindow(runner().windows(), 0);
  EnsureBackBuffer(runner().windows(), 0);
  Draw({"main", "line"}, {"0", "0", "100", "50", "1", kRed});
  EXPECT_GE(Draw({"main", "width"}), Result("100"));
  EXPECT_EQ(Draw({"0", "height"}), Result("50"));
  EXPECT_EQ(Pixel("main", 0, 0), kRed);
}

TEST_F(DrawFamilyTest, BackBuffersKeepTwentyFourBitsWhateverTheirPixelFormat) {
  CreateEngineWindow(runner().windows(), 0);
  EnsureBackBuffer(runner().windows(), 0);
  Draw({"main", "size"}, {"2", "1"});
  Draw({"main", "setpixel"}, {"0", "0", "1193046"});
  Draw({"main", "pixelformat"}, {"1"});
  EXPECT_EQ(runner().windows().at(0)->back_buffer->bits_per_pixel(), 24);
  EXPECT_EQ(Pixel("main", 0, 0), "0");  // the colours of the two-colour picture stay
  Draw({"-1", "pixelformat"}, {"4"});
  EXPECT_EQ(Memory(-1).bits_per_pixel(), 4);
}

TEST_F(DrawFamilyTest, LinesLeaveOutTheirEndAndTheNextOneStartsThere) {
  WhiteCanvas(120, 60);
  Draw({"-1", "line"}, {"0", "0", "100", "50", "1", kRed});
  EXPECT_EQ(Pixel("-1", 0, 0), kRed);
  EXPECT_EQ(Pixel("-1", 50, 25), kRed);
  EXPECT_EQ(Pixel("-1", 100, 50), kWhite);
  Draw({"-1", "line"}, {"", "", "100", "0", "1", kRed});
  EXPECT_EQ(Pixel("-1", 100, 50), kRed);
  EXPECT_EQ(Pixel("-1", 100, 1), kRed);
  EXPECT_EQ(Pixel("-1", 100, 0), kWhite);
  // A wide pen covers both sides of the line.
  Draw({"-1", "line"}, {"10", "40", "60", "40", "5", "0"});
  EXPECT_EQ(Pixel("-1", 30, 38), "0");
  EXPECT_EQ(Pixel("-1", 30, 42), "0");
  EXPECT_EQ(Pixel("-1", 30, 43), kWhite);
}

TEST_F(DrawFamilyTest, RectanglesAreFilledOrOutlinedInsideTheirBox) {
  WhiteCanvas(40, 40);
  Draw({"-1", "rect"}, {"10", "10", "20", "20", kRed});
  EXPECT_EQ(Pixel("-1", 10, 10), kRed);
  EXPECT_EQ(Pixel("-1", 29, 29), kRed);
  EXPECT_EQ(Pixel("-1", 30, 30), kWhite);
  EXPECT_EQ(Pixel("-1", 9, 9), kWhite);

  WhiteCanvas(40, 40);
  Draw({"-1", "rect"}, {"10", "10", "20", "20", kRed, "2"});
  for (auto [x, y] : std::vector<std::pair<int, int>>{{10, 10}, {11, 20}, {29, 29}, {28, 15}, {20, 29}})
    EXPECT_EQ(Pixel("-1", x, y), kRed) << x << "," << y;
  for (auto [x, y] : std::vector<std::pair<int, int>>{{12, 12}, {20, 20}, {9, 10}, {30, 29}, {27, 27}})
    EXPECT_EQ(Pixel("-1", x, y), kWhite) << x << "," << y;
}

TEST_F(DrawFamilyTest, RoundedCornersLeaveTheCornerPixelsAlone) {
  WhiteCanvas(40, 40);
  Draw({"-1", "rect"}, {"0", "0", "40", "40", kRed, "0", "100", "20", "20"});
  EXPECT_EQ(Pixel("-1", 0, 0), kWhite);
  EXPECT_EQ(Pixel("-1", 20, 0), kRed);
  EXPECT_EQ(Pixel("-1", 20, 20), kRed);
}

TEST_F(DrawFamilyTest, HalfOpaqueBlackOverWhiteGives128) {
  WhiteCanvas(10, 10);
  Draw({"-1", "rect"}, {"0", "0", "10", "10", "0", "0", "50"});
  EXPECT_EQ(Pixel("-1", 5, 5), "8421504");  // 128, 128, 128
  // With a pen width the outline is blended and the inside kept.
  WhiteCanvas(20, 20);
  Draw({"-1", "rect"}, {"0", "0", "20", "20", kRed, "2", "50"});
  EXPECT_EQ(Pixel("-1", 0, 0), "8421631");  // red 255, green and blue 128
  EXPECT_EQ(Pixel("-1", 10, 10), kWhite);
  // The opacity stays as the copies' channel opacity.
  EXPECT_EQ(graphics::DrawStateOf(engine()).effects.opacity[0], 50);
}

TEST_F(DrawFamilyTest, EllipsesAreInscribedInTheirBox) {
  WhiteCanvas(30, 20);
  Draw({"-1", "ellipse"}, {"0", "0", "30", "20", kRed});
  EXPECT_EQ(Pixel("-1", 15, 10), kRed);
  EXPECT_EQ(Pixel("-1", 0, 10), kRed);
  EXPECT_EQ(Pixel("-1", 0, 0), kWhite);
  EXPECT_EQ(Pixel("-1", 29, 19), kWhite);
  Draw({"-1", "ellipse"}, {"0", "0", "30", "20", "0", "2", "40"});
  EXPECT_EQ(Pixel("-1", 15, 10), kRed);  // the inside of a blended outline stays
  EXPECT_NE(Pixel("-1", 0, 10), kRed);
}

TEST_F(DrawFamilyTest, PolygonsComeFromArraysWithZoom) {
  WhiteCanvas(50, 50);
  const int points = FindOrCreateVariable(engine(), "points");
  for (int i = 0; i < 7; ++i)  // the seventh element has no partner and is ignored
    SetElement(engine(), points, i, std::vector<std::string>{"0", "0", "10", "0", "0", "10", "99"}[i]);
  Draw({"-1", "polygon"}, {"5", "5", "points", kRed, "0", "200"});
  EXPECT_EQ(Pixel("-1", 7, 7), kRed);
  EXPECT_EQ(Pixel("-1", 20, 6), kRed);
  EXPECT_EQ(Pixel("-1", 20, 20), kWhite);
  EXPECT_EQ(Draw({"-1", "width"}), Result("50"));
  // An open polyline with a pen width.
  Draw({"-1", "polygon"}, {"30", "30", "points", "0", "1"});
  EXPECT_EQ(Pixel("-1", 35, 30), "0");
  EXPECT_EQ(Pixel("-1", 32, 32), kWhite);
}

TEST_F(DrawFamilyTest, GetPixelReadsPairsUntilAnEmptyX) {
  WhiteCanvas(2, 1);
  Draw({"-1", "setpixel"}, {"1", "0", kRed});
  EXPECT_EQ(Draw({"-1", "getpixel"}, {"0", "0", "1", "0"}), Result(std::string(kWhite) + "^^" + kRed));
  EXPECT_EQ(Draw({"-1", "getpixel"}, {"0", "0", "5", "0", "", "", "1", "0"}), Result(std::string(kWhite) + "^^-1"));
}

TEST_F(DrawFamilyTest, SourceInvertTwiceRestoresThePicture) {
  WhiteCanvas(8, 8);
  Draw({"-1", "line"}, {"0", "0", "8", "8", "1", kRed});
  Draw({"-2", "size"}, {"8", "8"});
  Draw({"-2", "rect"}, {"0", "0", "8", "8", "1193046"});
  Draw({"-2", "setpixel"}, {"3", "4", "7"});
  const Result before = Draw({"-1", "getpixel"}, {"0", "0", "3", "4", "5", "1"});
  Draw({"-1", "copymode"}, {"srcinvert"});
  Draw({"-1", "copyfrom", "-2"}, {"0", "0", "8", "8"});
  EXPECT_NE(Draw({"-1", "getpixel"}, {"0", "0", "3", "4", "5", "1"}), before);
  Draw({"-1", "copyfrom", "-2"}, {"0", "0", "8", "8"});
  EXPECT_EQ(Draw({"-1", "getpixel"}, {"0", "0", "3", "4", "5", "1"}), before);
}

TEST_F(DrawFamilyTest, CopyModesFollowTheirRasterOperations) {
  struct Case {
    const char* mode;
    const char* expected;  // source 0x0F0F0F over destination 0x3C3C3C, brush white
  };
  const Case cases[] = {{"srccopy", "986895"},      {"srcand", "789516"},     {"srcinvert", "3355443"},
                        {"srcerase", "197379"},     {"notsrccopy", "15790320"}, {"notsrcerase", "12632256"},
                        {"mergecopy", "986895"},    {"mergepaint", "16579836"}, {"patcopy", kWhite},
                        {"patinvert", "12829635"},  {"dstinvert", "12829635"},  {"nonsense", "986895"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Draw({"-2", "rect"}, {"0", "0", "1", "1", "986895"});
    Draw({"-1", "copymode"}, {"srccopy"});
    Draw({"-1", "rect"}, {"0", "0", "1", "1", "3947580"});
    Memory(-1).drawing.brush = {0xFFFFFF, true};
    Draw({"-1", "copymode"}, {c.mode});
    Draw({"-1", "copyfrom", "-2"}, {"0", "0", "1", "1"});
    EXPECT_EQ(Pixel("-1", 0, 0), c.expected);
  }
}

TEST_F(DrawFamilyTest, CopyFromWithoutAreaMakesAnExactCopy) {
  Draw({"-1", "size"}, {"13", "7"});
  Draw({"-1", "pixelformat"}, {"16"});
  Draw({"-1", "setpixel"}, {"12", "6", kRed});
  Draw({"-2", "copyfrom", "-1"});
  EXPECT_EQ(Draw({"-2", "width"}), Result("13"));
  EXPECT_EQ(Draw({"-2", "height"}), Result("7"));
  EXPECT_EQ(Memory(-2).bits_per_pixel(), 16);
  EXPECT_EQ(Pixel("-2", 12, 6), Pixel("-1", 12, 6));
}

TEST_F(DrawFamilyTest, CopiesScaleBlendAndKeyAsTheirParametersSay) {
  Draw({"-1", "size"}, {"10", "10"});
  Draw({"-1", "setpixel"}, {"9", "9", kRed});
  Draw({"-2", "copyfrom", "-1"}, {"0", "0", "10", "10", "0", "0", "20", "20"});
  EXPECT_EQ(Draw({"-2", "width"}), Result("20"));
  EXPECT_EQ(Pixel("-2", 18, 18), kRed);
  EXPECT_EQ(Pixel("-2", 17, 17), "0");

  // Transparent with the automatic key: the black of (0, 0) is left out.
  Draw({"-3", "size"}, {"10", "10"});
  Draw({"-3", "rect"}, {"0", "0", "10", "10", kWhite});
  Draw({"-3", "copyfrom", "-1"}, {"0", "0", "10", "10", "0", "0", "10", "10", "100", "1", "-1"});
  EXPECT_EQ(Pixel("-3", 0, 0), kWhite);
  EXPECT_EQ(Pixel("-3", 9, 9), kRed);

  // "m" takes the opacities of "mx" "effects".
  Draw({"mx", "effects"}, {"", "", "", "0", "0", "50"});
  Draw({"-3", "copyfrom", "-1"}, {"0", "0", "10", "10", "0", "0", "10", "10", "m"});
  EXPECT_EQ(Pixel("-3", 0, 0), "16777088");  // red halved, green and blue kept
  EXPECT_EQ(graphics::DrawStateOf(engine()).effects.x_step, 1);  // empty parameters kept
}

TEST_F(DrawFamilyTest, CompareReportsTheFirstDifferenceAndItsPosition) {
  Draw({"-1", "size"}, {"6", "6"});
  Draw({"-2", "copyfrom", "-1"});
  EXPECT_EQ(Draw({"-1", "isegual", "-2"}, {"", "", "", "", "", "", "1"}), kNoResult);
  Draw({"-1", "setpixel"}, {"3", "2", kRed});
  EXPECT_EQ(Draw({"-1", "isegual", "-2"}, {"", "", "", "", "", "", "1"}), Result(kRed));
  EXPECT_EQ(Draw({"isequal", "x"}), Result("3"));
  EXPECT_EQ(Draw({"isequal", "y"}), Result("2"));
  // With the default ignored colour 0 the other image's black matches anything.
  EXPECT_EQ(Draw({"-1", "isegual", "-2"}), kNoResult);
  EXPECT_EQ(Draw({"isequal", "x"}), Result("0"));
}

TEST_F(DrawFamilyTest, RotateTurnsTheSourceIntoTheCurrentImage) {
  Draw({"-1", "size"}, {"3", "2"});
  Draw({"-1", "setpixel"}, {"0", "0", kRed});
  Draw({"-2", "rotate", "-1"}, {"1"});
  EXPECT_EQ(Draw({"-2", "width"}), Result("2"));
  EXPECT_EQ(Draw({"-2", "height"}), Result("3"));
  EXPECT_EQ(Pixel("-2", 1, 0), kRed);
}

TEST_F(DrawFamilyTest, BrushPaintsThroughTheMaskChannel) {
  Draw({"-1", "size"}, {"2", "1"});
  Draw({"-1", "setpixel"}, {"0", "0", "65280"});  // green
  WhiteCanvas(2, 1);
  Draw({"-2", "size"}, {"2", "1"});
  Draw({"-2", "setpixel"}, {"0", "0", "65280"});
  Draw({"-1", "brushfrom", "-2"}, {"", "", "", "", "", "", "0", "100", "g"});
  EXPECT_EQ(Pixel("-1", 0, 0), "0");
  EXPECT_EQ(Pixel("-1", 1, 0), kWhite);
}

TEST_F(DrawFamilyTest, TextIsDrawnInTheFontColourAndCentredInItsBox) {
  WhiteCanvas(100, 30);
  Draw({"-1", "text", "font"}, {"Arial"});
  Draw({"-1", "text", "size"}, {"12"});
  const int width = std::stoi(Draw({"-1", "text", "getwidth"}, {"ii"}).value());
  ASSERT_GT(width, 0);
  ASSERT_LT(width, 40);
  Draw({"-1", "text"}, {"0", "0", "100", "", "ii", kRed, "center"});
  // Some ink lies in the middle, none at the box's left edge.
  int first_ink = -1;
  for (int x = 0; x < 100 && first_ink < 0; ++x)
    for (int y = 0; y < 30; ++y)
      if (Pixel("-1", x, y) != kWhite) {
        first_ink = x;
        break;
      }
  EXPECT_GE(first_ink, 50 - width / 2 - 1);
  EXPECT_LE(first_ink, 50);
  EXPECT_EQ(Memory(-1).drawing.font.colour, 255u);
}

TEST_F(DrawFamilyTest, FontSizesGrowTheTextAndExSetsANewFont) {
  Draw({"-1", "text", "font"}, {"Times New Roman"});
  Draw({"-1", "text", "size"}, {"8"});
  const int small = std::stoi(Draw({"-1", "text", "getwidth"}, {"Hello"}).value());
  Draw({"-1", "text", "size"}, {"24"});
  const int large = std::stoi(Draw({"-1", "text", "getwidth"}, {"Hello"}).value());
  EXPECT_GT(large, 2 * small);
  Draw({"-1", "text", "height"}, {"-32"});
  EXPECT_EQ(Memory(-1).drawing.font.height, -32);

  const Result narrow = Draw({"-1", "text", "ex", "getwidth"}, {"0", "0", "Hello", "Verdana", "-20"});
  const Result wide = Draw({"-1", "text", "ex", "getwidth"}, {"0", "0", "Hello", "Verdana", "-20", "", "", "20"});
  ASSERT_TRUE(narrow && wide);
  EXPECT_GT(std::stoi(*wide), std::stoi(*narrow));
  EXPECT_EQ(Memory(-1).drawing.font.name, "Verdana");
  EXPECT_EQ(Memory(-1).drawing.font.width, 20);
  // "ex" draws without growing the image.
  Draw({"-1", "size"}, {"5", "5"});
  Draw({"-1", "text", "ex"}, {"0", "0", "Hello", std::string(40, 'F'), "-20", kWhite, "1", "", "90", "1", "1"});
  EXPECT_EQ(Draw({"-1", "width"}), Result("5"));
  EXPECT_EQ(Memory(-1).drawing.font.name.size(), 31u);
  Draw({"-1", "text", "nonsense"});
  EXPECT_NE(AllReports().find("Unknown or incomplete command : "), std::string::npos);
}

TEST_F(DrawFamilyTest, PicturesSaveAndLoadAtEveryDepth) {
  Draw({"-1", "size"}, {"9", "5"});
  Draw({"-1", "rect"}, {"0", "0", "9", "5", kWhite});
  Draw({"-1", "setpixel"}, {"2", "3", kRed});
  for (const char* bits : {"1", "4", "8", "15", "16", "24", "32", "high", ""}) {
    SCOPED_TRACE(bits);
    const std::string path = File(std::string("p") + bits + ".BMP");
    EXPECT_EQ(Draw({"-1", "save"}, {path, bits}), Result("success"));
    Draw({"mem", "delete"}, {"-2"});
    EXPECT_EQ(Draw({"-2", "load"}, {path, "1", "2"}), Result("9^^5"));
    EXPECT_EQ(Draw({"-2", "width"}), Result("10"));
    EXPECT_EQ(Pixel("-2", 3, 5), std::string(bits) == "1" ? "0" : kRed);  // no red in two colours
    EXPECT_EQ(Pixel("-2", 1, 2), kWhite);
  }
  const std::string jpeg = File("p.jpg");
  EXPECT_EQ(Draw({"-1", "save"}, {jpeg, "90", "1"}), Result("success"));
  EXPECT_EQ(Draw({"-3", "load"}, {jpeg}), Result("9^^5"));
  const uint32_t grey = Memory(-3).Pixel(8, 0);
  EXPECT_EQ(grey & 255, grey >> 16);
  EXPECT_EQ(Draw({"-1", "save"}, {File("missing/folder/p.jpg")}), Result("toolarge"));
  EXPECT_EQ(Draw({"-1", "save"}, {File("missing/folder/p.bmp")}), Result("toolarge"));
  EXPECT_EQ(Draw({"-1", "save"}, {File("p.png")}), Result("success"));
  EXPECT_FALSE(fs::exists(folder_ / "p.png"));
}

TEST_F(DrawFamilyTest, LoadReportsMissingAndUnreadablePictures) {
  std::ofstream(File("broken.bmp")) << "not a bitmap";
  std::ofstream(File("picture.gif")) << "GIF89a";
  EXPECT_EQ(Draw({"-1", "load"}, {File("picture.gif")}), Result("0^^0"));
  EXPECT_EQ(Draw({"-1", "width"}), Result("1"));
  EXPECT_TRUE(reports().empty());
  EXPECT_EQ(Draw({"-1", "load"}, {File("absent.bmp")}), kNoResult);
  EXPECT_NE(reports().back().find("Image cannot be found : " + File("absent.bmp")), std::string::npos);
  EXPECT_EQ(Draw({"-1", "load"}, {File("broken.bmp")}), kNoResult);
  EXPECT_NE(reports().back().find("The image has not been loaded, probably because used by another application." +
                                  File("broken.bmp")),
            std::string::npos);
}

TEST_F(DrawFamilyTest, IconsAreDrawnAtTheirAskedSize) {
  Draw({"-1", "size"}, {"4", "4"});
  Draw({"-1", "rect"}, {"0", "0", "4", "4", kRed});
  // An icon file of the red picture, written by the codec.
  Draw({"-2", "size"}, {"40", "40"});
  Draw({"-2", "rect"}, {"0", "0", "40", "40", kWhite});
  const std::string path = File("red.ico");
  {
    std::ofstream out(path, std::ios::binary);
    const std::vector<uint8_t> bytes = graphics::EncodeIcon(Memory(-1));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  EXPECT_EQ(Draw({"-2", "load"}, {path, "5", "5", "16", "16"}), Result("16"));
  EXPECT_EQ(Pixel("-2", 5, 5), kRed);
  EXPECT_EQ(Pixel("-2", 20, 20), kRed);
  EXPECT_EQ(Pixel("-2", 21, 21), kWhite);
}

TEST_F(DrawFamilyTest, PaintShowsTheBackBufferOnTheWindow) {
  CreateEngineWindow(runner().windows(), 0);
  EngineWindow& window = *runner().windows().at(0);
  runner().desktop().SetBounds(window.native, {0, 0, 4, 4});
  EnsureBackBuffer(runner().windows(), 0);
  Draw({"main", "rect"}, {"0", "0", "4", "4", kRed});
  Draw({"main", "paint"});
  const platform::VirtualWindow* shown = runner().desktop().window(window.native);
  ASSERT_NE(shown, nullptr);
  ASSERT_EQ(shown->pixels.size(), 4u * 4 * 3);
  EXPECT_EQ(shown->pixels[2], 255);
  // Part of the buffer stretched over the whole window.
  Draw({"main", "setpixel"}, {"0", "0", "65280"});
  Draw({"0", "paint"}, {"0", "0", "1", "1", "0", "0", "4", "4"});
  EXPECT_EQ(shown->pixels[3 * 15 + 1], 255);
  Draw({"300", "paint"});
  EXPECT_NE(reports().back().find("The window index is invalid."), std::string::npos);
  EXPECT_EQ(reports().size(), 1u);
  Draw({"7", "paint"});  // no such window: nothing happens
  EXPECT_EQ(reports().size(), 1u);
}

// Numbers at the ends of the range, in every parameter of every operation, must
// neither hang, nor allocate without bound, nor touch memory outside an image
// (the sanitizer build checks the last).
TEST_F(DrawFamilyTest, ExtremeNumbersStayInsideTheImages) {
  const std::string low = "-2147483648", high = "2147483647";
  const std::vector<std::vector<std::string>> patterns = {
      std::vector<std::string>(13, low), std::vector<std::string>(13, high), std::vector<std::string>(13, "-1"),
      {low, low, high, high, low, high, high, low, high, low, high, high, low},
      {"3", "3", high, high, "2", "2", high, high, "50", "1", "-1"},
      {"-5", "-5", "20", "20", "-9", "-9", "30", "30", "50", "1", "-1"}};
  const int points = FindOrCreateVariable(engine(), "points");
  for (int i = 0; i < 6; ++i) SetElement(engine(), points, i, i % 2 ? high : low);
  for (const auto& parameters : patterns) {
    for (const char* matrix : {"effects", "deform"}) Draw({"mx", matrix}, parameters);
    for (const char* operation : {"rect", "ellipse", "line", "copyfrom", "brushfrom", "isegual", "getpixel",
                                  "setpixel", "rotate", "width", "height", "size"}) {
      SCOPED_TRACE(operation);
      Draw({"-1", "size"}, {"10", "10"});
      Draw({"-2", "size"}, {"7", "9"});
      Draw({"-1", operation, "-2"}, parameters);
      Draw({"-1", operation, "-1"}, parameters);
      ASSERT_LE(int64_t{Memory(-1).width()} * Memory(-1).height(), graphics::kMaxImagePixels);
    }
    std::vector<std::string> with_array = parameters;
    with_array[2] = "points";
    Draw({"-1", "polygon"}, with_array);
    std::vector<std::string> text = parameters;
    text[4] = "x";
    Draw({"-1", "text"}, text);
    text[2] = "x";
    text[3] = "Arial";
    Draw({"-1", "text", "ex"}, text);
    Draw({"-1", "text", "size"}, parameters);
    Draw({"-1", "text", "height"}, parameters);
    Draw({"-1", "text", "getwidth"}, {"x"});
  }
}

}  // namespace
}  // namespace ixo
