#include "platform/headless/virtual_desktop.h"
#include "tests/window/window_test.h"

namespace ixo {
namespace {

using platform::MouseButton;
using Events = std::vector<std::string>;

constexpr const char* kMouseEvents[] = {"mouse:down", "mouse:up", "mouse:click", "move", "anim:start"};

class MouseInputTest : public WindowTest {
 protected:
  void StartWithMouseHandlers(const std::string& extra = "") {
    Start(Handlers({std::begin(kMouseEvents), std::end(kMouseEvents)}) + extra);
    Place(0, {100, 100, 100, 100});
    ClearEvents();
  }

  // Presses at a point of the window and waits past the drag delay.
  void Grab(platform::Point at) {
    desktop().MovePointer(at);
    desktop().PressButton(MouseButton::kLeft);
    Advance(200);
  }
};

TEST_F(MouseInputTest, PressAndReleaseWithoutMovingIsAClick) {
  StartWithMouseHandlers();
  Click({150, 150});
  EXPECT_EQ(events(), (Events{"mouse:down", "mouse:up", "mouse:click"}));
}

TEST_F(MouseInputTest, WindowFollowsThePointerOnlyAfterTheDragDelay) {
  StartWithMouseHandlers();
  desktop().MovePointer({150, 150});
  desktop().PressButton(MouseButton::kLeft);
  Advance(100);
  desktop().MovePointer({170, 160});
  EXPECT_EQ(Bounds(0), (platform::Rect{100, 100, 100, 100}));
  EXPECT_EQ(events(), (Events{"mouse:down"}));

  Advance(100);
  desktop().MovePointer({190, 170});
  // Anchor (50, 50) in the window; the pointer is at client (90, 70).
  EXPECT_EQ(window(0).stored_x, 14000);
  EXPECT_EQ(window(0).stored_y, 12000);
  EXPECT_EQ(Bounds(0), (platform::Rect{140, 120, 100, 100})) << "idle time applies the stored position";

  desktop().ReleaseButton(MouseButton::kLeft);
  EXPECT_EQ(events(), (Events{"mouse:down", "move", "mouse:up"})) << "a drag is no click";
}

struct ClampCase {
  const char* name;
  MoveAxis axis;
  bool can_go_out;
  platform::Point pointer;  // where the pointer goes, the window grabbed at its client (50, 50)
  float stored_x, stored_y;
};

class DragClampTest : public MouseInputTest, public testing::WithParamInterface<ClampCase> {};

TEST_P(DragClampTest, StoresTheDraggedPosition) {
  const ClampCase& c = GetParam();
  StartWithMouseHandlers();
  Place(0, {200, 200, 100, 100});
  window(0).move_axis = c.axis;
  window(0).can_go_out = c.can_go_out;
  Grab({250, 250});
  desktop().MovePointer(c.pointer);
  EXPECT_EQ(window(0).stored_x, c.stored_x);
  EXPECT_EQ(window(0).stored_y, c.stored_y);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DragClampTest,
    testing::Values(ClampCase{"OffTheLeftEdgeIsHeldAtZero", MoveAxis::kBoth, false, {30, 55}, 0, 500},
                    ClampCase{"PastTheBottomRightIsHeldInside", MoveAxis::kBoth, false, {2000, 2000}, 92400, 66800},
                    ClampCase{"MayGoOutWhenAllowed", MoveAxis::kBoth, true, {30, 55}, -2000, 500},
                    ClampCase{"HorizontalOnlyKeepsY", MoveAxis::kHorizontal, false, {300, 400}, 25000, 20000},
                    ClampCase{"VerticalOnlyKeepsX", MoveAxis::kVertical, false, {300, 400}, 20000, 35000}),
    [](const testing::TestParamInfo<ClampCase>& info) { return info.param.name; });

TEST_F(MouseInputTest, ReleaseAfterAHorizontalLastMoveThrowsNothing) {
  StartWithMouseHandlers("event.load()\n  anim.main.sensibility(1)\nevent.end()\n");
  Grab({150, 150});
  desktop().MovePointer({160, 160});
  desktop().MovePointer({170, 160});
  desktop().ReleaseButton(MouseButton::kLeft);
  EXPECT_EQ(window(0).animation.speed, 0);
  EXPECT_EQ(std::count(events().begin(), events().end(), "anim:start"), 0);
}

TEST_F(MouseInputTest, ReleaseAfterADiagonalMoveThrowsAlongIt) {
  StartWithMouseHandlers("event.load()\n  anim.main.sensibility(1)\nevent.end()\n");
  Grab({150, 150});
  desktop().MovePointer({160, 160});
  desktop().MovePointer({170, 160});
  desktop().MovePointer({180, 170});
  desktop().ReleaseButton(MouseButton::kLeft);
  EXPECT_EQ(events().back(), "anim:start");
  // The hand went right and down: heading 315 moves right and down.
  EXPECT_EQ(window(0).animation.direction, 315);
  EXPECT_EQ(window(0).animation.speed, (1024 * 10 + 768 * 10) / 1000);
  float x = window(0).stored_x, y = window(0).stored_y;
  Advance(20);
  EXPECT_GT(window(0).stored_x, x);
  EXPECT_GT(window(0).stored_y, y);
}

TEST_F(MouseInputTest, GrabbingStopsAThrownWindow) {
  StartWithMouseHandlers("event.load()\n  anim.main.sensibility(1)\n  anim.main.friction(0)\n  anim.main.speed(3)\nevent.end()\n");
  Advance(40);
  desktop().MovePointer({150, 150});
  desktop().PressButton(MouseButton::kLeft);
  EXPECT_EQ(window(0).animation.speed, 0);
}

TEST_F(MouseInputTest, RightClickClosesOrIsReported) {
  Start(Handlers({"mouse:rightclick", "unload", "terminate"}));
  CreateWindow(3, {400, 400, 50, 50});
  window(3).close_on_right_click = false;
  CreateWindow(4, {500, 500, 50, 50});
  window(4).close_on_right_click = true;
  ClearEvents();

  Click({420, 420}, MouseButton::kRight);
  EXPECT_EQ(events(), (Events{"mouse:rightclick@3"}));
  Click({520, 520}, MouseButton::kRight);
  EXPECT_EQ(events().back(), "unload@4");
  EXPECT_EQ(windows().at(4), nullptr);

  Place(0, {0, 0, 50, 50});
  ClearEvents();
  Click({10, 10}, MouseButton::kRight);
  EXPECT_EQ(events(), (Events{"unload", "terminate"}));
  EXPECT_TRUE(engine().context.shutting_down);
  EXPECT_EQ(windows().at(0), nullptr);
  EXPECT_EQ(windows().at(3), nullptr);
  EXPECT_TRUE(desktop().TerminateRequested());
}

TEST_F(MouseInputTest, GroupNamesAreAppendedToWindowEvents) {
  Start(Handlers({"mouse:down:clocks", "mouse:down", "winmove", "window:move:clocks"}));
  CreateWindow(2, {300, 300, 50, 50});
  window(2).group = "clocks";
  ClearEvents();
  desktop().MovePointer({310, 310});
  desktop().PressButton(MouseButton::kLeft);
  desktop().SetBounds(window(2).native, {320, 320, 50, 50});
  EXPECT_EQ(events(), (Events{"mouse:down:clocks@2", "window:move:clocks@2", "winmove@2"}));
}

TEST_F(MouseInputTest, WheelAndDoubleClickReachTheWindowUnderThePointer) {
  Start(Handlers({"mouse:wheel:up", "mouse:wheel:down", "mouse:doubleclick"}));
  CreateWindow(1, {300, 300, 50, 50});
  ClearEvents();
  desktop().MovePointer({310, 310});
  desktop().TurnWheel(true);
  desktop().TurnWheel(false);
  desktop().DoubleClick();
  EXPECT_EQ(events(), (Events{"mouse:wheel:up@1", "mouse:wheel:down@1", "mouse:doubleclick@1"}));
}

}  // namespace
}  // namespace ixo
