#include <filesystem>
#include <fstream>

#include "engine/variables.h"
#include "graphics/bmp_codec.h"
#include "graphics/window_position_store.h"
#include "tests/window/window_test.h"

namespace ixo {
namespace {

using Rects = std::vector<platform::Rect>;

class WindowFamilyTest : public WindowTest {
 protected:
  Result Window(std::vector<std::string> path, std::vector<std::string> parameters = {}) {
    path.insert(path.begin(), "window");
    return Command(path, parameters);
  }
  const platform::VirtualWindow& Shown(int index) { return *desktop().window(window(index).native); }
};

TEST_F(WindowFamilyTest, CreateGivesTheLowestFreeSlotAVisibleMovableTopmostWindow) {
  Start("");
  EXPECT_EQ(Window({"create"}), "1");
  EXPECT_EQ(Window({"create"}), "2");
  Window({"1", "close"});
  EXPECT_EQ(Window({"create"}), "1") << "a closed slot is used again";

  const EngineWindow& created = window(1);
  EXPECT_TRUE(Shown(1).visible);
  EXPECT_TRUE(created.movable);
  EXPECT_EQ(created.move_axis, MoveAxis::kBoth);
  EXPECT_TRUE(created.stay_on_top);
  EXPECT_TRUE(Shown(1).style.topmost);
  EXPECT_TRUE(Shown(1).style.tool_window);
  EXPECT_TRUE(created.close_on_escape);
  EXPECT_TRUE(created.close_on_right_click);
  EXPECT_FALSE(created.can_go_out);
  EXPECT_EQ(created.parent_index, -1);
  EXPECT_EQ(Window({"count"}), "3");
}

TEST_F(WindowFamilyTest, CreateReadsItsSwitches) {
  Start("");
  EXPECT_EQ(Window({"create"}, {"0", "clocks", "xonly", "0", "0", "0", "1"}), "1");
  const EngineWindow& created = window(1);
  EXPECT_FALSE(Shown(1).visible);
  EXPECT_EQ(created.group_name(), "clocks");
  EXPECT_EQ(created.move_axis, MoveAxis::kHorizontal);
  EXPECT_FALSE(created.stay_on_top);
  EXPECT_FALSE(created.close_on_escape);
  EXPECT_FALSE(created.close_on_right_click);
  EXPECT_TRUE(created.can_go_out);

  EXPECT_EQ(Window({"1", "create"}, {"1", "", "no"}), "2");
  EXPECT_EQ(Window({"2", "getparentid"}), "1");
  EXPECT_FALSE(window(2).movable);
  EXPECT_FALSE(window(2).stay_on_top) << "a child never stays on top";
  EXPECT_EQ(Shown(2).parent, window(1).native);
}

TEST_F(WindowFamilyTest, TheMainWindowCannotBeClosedByTheFamily) {
  Start("");
  EXPECT_FALSE(Window({"main", "close"}));
  EXPECT_NE(windows().at(0), nullptr);
  EXPECT_NE(AllReports().find("The window index is invalid."), std::string::npos);
}

TEST_F(WindowFamilyTest, ANewLeftIsReadBackOnlyAfterTheIdlePass) {
  Start("");
  Window({"create"});
  Advance(0);
  Window({"1", "left"}, {"120"});
  EXPECT_EQ(Window({"1", "left"}), "0");
  Advance(0);
  EXPECT_EQ(Window({"1", "left"}), "120");
  Window({"1", "width"}, {"80"});
  EXPECT_EQ(Window({"1", "width"}), "80") << "sizes change at once";
}

TEST_F(WindowFamilyTest, GroupListsCountClosedSlotsAsUngrouped) {
  Start("");
  for (const char* group : {"a", "b", "a", ""}) Window({"create"}, {"1", group});
  Window({"2", "close"});
  EXPECT_EQ(Window({"group", "getlist"}, {"a"}), "1^^3");
  EXPECT_EQ(Window({"group", "count"}, {"a"}), "2");
  EXPECT_EQ(Window({"group", "getlist"}, {""}), "0^^2^^4") << "main, the closed slot and the ungrouped window";
  EXPECT_EQ(Window({"group", "getlist"}, {"none"}), "");
  Window({"3", "group", "set"}, {"b"});
  EXPECT_EQ(Window({"3", "group", "get"}), "b");
  Window({"3", "group", "set"}, {""});
  EXPECT_FALSE(Window({"3", "group", "get"}));
}

TEST_F(WindowFamilyTest, AFramedWindowIsLeftWhereTheUserPutsItUnlessKeptManaged) {
  Start("");
  Window({"create"});
  Advance(0);  // the newest window's first idle pass leaves it alone
  Window({"1", "borderstyle"}, {"3"});
  EXPECT_FALSE(window(1).managed_position);
  EXPECT_EQ(Shown(1).border, platform::BorderStyle::kSizeable);
  EXPECT_EQ(Window({"1", "border", "top"}), "26");
  window(1).stored_x = 50000;
  Advance(0);
  EXPECT_NE(Bounds(1).left, 500) << "idle time leaves it alone";

  Window({"1", "borderstyle"}, {"3", "1"});
  EXPECT_TRUE(window(1).managed_position);
  Advance(0);
  EXPECT_EQ(Bounds(1).left, 504) << "the frame's outer left is at 500";
  Window({"1", "borderstyle"}, {"1"});
  EXPECT_TRUE(window(1).managed_position);
  EXPECT_EQ(Window({"1", "border", "top"}), "0");
}

TEST_F(WindowFamilyTest, ShapeFromAPictureMakesItsKeyColouredPixelsHoles) {
  Start("");
  // 4×2: magenta, red, red, magenta; then a full row of red.
  graphics::Image picture(4, 2);
  const uint8_t magenta[3] = {255, 0, 255}, red[3] = {0, 0, 255};
  for (int x = 0; x < 4; ++x) {
    std::copy_n(x == 0 || x == 3 ? magenta : red, 3, picture.row(0) + x * 3);
    std::copy_n(red, 3, picture.row(1) + x * 3);
  }
  const std::string file = testing::TempDir() + "shape_" + std::to_string(getpid()) + ".bmp";
  std::vector<uint8_t> bytes = graphics::EncodeBmp(picture, 24);
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());

  Window({"main", "shape", "load"}, {file, "1", "1"});
  EXPECT_EQ(Shown(0).shape, (Rects{{1, 0, 2, 1}, {0, 1, 4, 1}}));
  EXPECT_EQ(Bounds(0).width, 4);
  EXPECT_EQ(window(0).back_buffer->width(), 4) << "painted with the picture";
  Place(0, {100, 100, 4, 2});
  EXPECT_EQ(desktop().WindowAt({100, 100}).window, 0u) << "a hole takes no clicks";
  EXPECT_EQ(desktop().WindowAt({101, 100}).window, window(0).native);
  std::filesystem::remove(file);

  Window({"main", "shape", "load"}, {"/no/such/file.bmp"});
  EXPECT_EQ(Shown(0).shape, (Rects{{1, 0, 2, 1}, {0, 1, 4, 1}})) << "a missing file changes nothing";
}

TEST_F(WindowFamilyTest, APolygonFromAnArrayGivesATriangularWindow) {
  Start("");
  int element = 0;
  for (const char* value : {"0", "0", "100", "0", "50", "80"})
    AssignVariable(engine(), "corners[" + std::to_string(element++) + "]", value);
  Window({"main", "shape", "polygon"}, {"corners"});
  EXPECT_GE(Bounds(0).width, 100);
  EXPECT_GE(Bounds(0).height, 80);
  Place(0, {0, 0, 100, 80});
  EXPECT_EQ(desktop().WindowAt({50, 2}).window, window(0).native);
  EXPECT_EQ(desktop().WindowAt({50, 78}).window, window(0).native) << "near the tip";
  EXPECT_EQ(desktop().WindowAt({5, 70}).window, 0u) << "outside the slanted side";
  EXPECT_EQ(desktop().WindowAt({95, 70}).window, 0u);
}

TEST_F(WindowFamilyTest, AKeyColourFollowsWhatIsPainted) {
  Start("");
  Place(0, {0, 0, 3, 1});
  EXPECT_EQ(Window({"main", "transparency"}, {"255"}), "1");
  graphics::Image& buffer = *window(0).back_buffer;
  buffer.Resize(3, 1);
  buffer.Fill(0, 0, 255);      // all red: the key
  buffer.row(0)[3 + 1] = 200;  // the middle pixel is not
  PaintWindow(windows(), 0);
  EXPECT_EQ(Shown(0).shape, (Rects{{1, 0, 1, 1}}));

  desktop().set_composited(false);
  EXPECT_EQ(Window({"main", "transparency"}, {"", "128"}), "0") << "no compositor shows no opacity";
  EXPECT_FALSE(Shown(0).shape) << "without a key the window is whole again";
}

TEST_F(WindowFamilyTest, TheStatusIconIsAddedOnceAndThenChanged) {
  Start(Handlers({"statusicon:mouse:down"}));
  Window({"main", "statusicon", "show"}, {"first tip"});
  Window({"main", "statusicon", "show"}, {std::string(80, 't'), "", "Title", "Text", "2"});
  const platform::StatusIconContent& icon = *Shown(0).status_icon;
  EXPECT_EQ(icon.tooltip, std::string(63, 't'));
  EXPECT_EQ(icon.balloon_title, "Title");
  EXPECT_EQ(icon.balloon_icon, platform::BalloonIcon::kWarning);
  EXPECT_TRUE(window(0).status_icon_shown);
  ClearEvents();
  desktop().ClickStatusIcon(window(0).native, platform::kIconLeftDown);
  EXPECT_EQ(events(), (std::vector<std::string>{"statusicon:mouse:down"}));
  Window({"main", "statusicon", "hide"});
  EXPECT_FALSE(Shown(0).status_icon);
  EXPECT_FALSE(window(0).status_icon_shown);
}

TEST_F(WindowFamilyTest, APositionSavedIsRestoredAndAnEmptyOneIsNot) {
  Start("");
  engine().header.family_id = "FAM";
  engine().header.object_id = "ABC";
  EXPECT_EQ(WindowPositionKey("FAM", "ABC", 3, ""), "Software\\zodizarez\\FAM\\ABC\\[Pos]\\3\\");
  EXPECT_EQ(WindowPositionKey("FAM", "", 0, "dial"), "Software\\zodizarez\\FAM\\[Pos]\\dial\\");
  EXPECT_EQ(Window({"main", "pos", "load"}, {"dial"}), "0");

  Place(0, {0, 0, 0, 0});
  Window({"main", "pos", "save"}, {"dial"});
  EXPECT_EQ(Window({"main", "pos", "load"}, {"dial"}), "0") << "an empty window is never saved";

  Place(0, {70, 80, 40, 30});
  Window({"main", "pos", "save"}, {"dial"});
  Place(0, {0, 0, 10, 10});
  EXPECT_EQ(Window({"main", "pos", "load"}, {"dial"}), "1");
  EXPECT_EQ(Bounds(0), (platform::Rect{70, 80, 40, 30}));
  EXPECT_EQ(window(0).stored_x, 7000);
}

TEST_F(WindowFamilyTest, PosMovesAndSizesAndRelMovesByAnAmount) {
  Start("");
  Place(0, {10, 20, 30, 40});
  Window({"main", "pos"}, {"100", "", "50"});
  EXPECT_EQ(window(0).stored_x, 10000);
  EXPECT_EQ(window(0).stored_y, 2000);
  EXPECT_EQ(Bounds(0), (platform::Rect{100, 20, 50, 40})) << "a new size moves it at once";
  Window({"main", "pos", "rel"}, {"-5", "5"});
  EXPECT_EQ(window(0).stored_x, 9500);
  EXPECT_EQ(window(0).stored_y, 2500);
  EXPECT_FALSE(Window({"main", "pos", "sideways"}));
  EXPECT_NE(AllReports().find("Unknown or incomplete command : "), std::string::npos);
}

TEST_F(WindowFamilyTest, ZOrderAndFindingWindows) {
  Start("");
  Place(0, {0, 0, 50, 50});
  Window({"create"}, {"1", "", "", "0"});
  Window({"1", "pos", "now"}, {"10", "10", "50", "50"});
  Window({"main", "title"}, {"Clock"});
  EXPECT_EQ(Window({"frompoint"}, {"20", "20"}), "0") << "the main window is topmost";
  Window({"main", "zorder"}, {"1"});
  EXPECT_EQ(Window({"frompoint"}, {"20", "20"}), "1") << "behind window 1 now";
  EXPECT_FALSE(Window({"frompoint"}, {"900", "900"}));
  EXPECT_EQ(Window({"1", "zinsertafter"}, {"Clock"}), "1");
  EXPECT_EQ(Window({"1", "zinsertafter"}, {"Clo"}), "0") << "titles are matched whole";
  EXPECT_EQ(Window({"exists"}, {"1"}), "1");
  EXPECT_EQ(Window({"exists"}, {"7"}), "0");
}

TEST_F(WindowFamilyTest, AnAppBarReservesItsStripOfTheScreen) {
  Start("");
  Place(0, {0, 0, 100, 30});
  Window({"main", "appbar", "enable"}, {"1"});
  Window({"main", "appbar", "refreshpos"}, {"1"});
  EXPECT_EQ(Bounds(0), (platform::Rect{0, 0, 1024, 30}));
  EXPECT_EQ(desktop().All()[0].work_area, (platform::Rect{0, 30, 1024, 738}));
  Window({"main", "appbar", "enable"}, {"0"});
  EXPECT_EQ(desktop().All()[0].work_area, (platform::Rect{0, 0, 1024, 768}));
}

TEST_F(WindowFamilyTest, UnknownPropertiesAndWindowsAreReported) {
  Start("");
  EXPECT_FALSE(Window({"main", "sparkle"}));
  EXPECT_FALSE(Window({"9", "left"}));
  EXPECT_FALSE(Window({"main", "shape", "star"}));
  ASSERT_EQ(reports().size(), 3u);
  EXPECT_NE(reports()[0].find("Unknown or incomplete command : "), std::string::npos);
  EXPECT_NE(reports()[1].find("The window index is invalid."), std::string::npos);
  EXPECT_NE(reports()[2].find("Unknown or incomplete command : "), std::string::npos);
}

}  // namespace
}  // namespace ixo
