#include <algorithm>

#include "tests/window/window_test.h"
#include "window/animation.h"

namespace ixo {
namespace {

using Events = std::vector<std::string>;

class AnimationTest : public WindowTest {
 protected:
  // The main window, 100×100 at (left, top), with handlers for every animation
  // event and the given lines run at "load".
  void StartAt(int left, int top, const std::string& load_lines) {
    Start(Handlers({"anim:move", "anim:end", "hit:screenborder", "hit:screenborder:left", "hit:screenborder:right",
                    "hit:screenborder:top", "hit:screenborder:bottom"}) +
          "event.load()\n" + load_lines + "event.end()\n");
    Place(0, {left, top, 100, 100});
    ClearEvents();
  }

  long Count(const std::string& name) { return std::count(events().begin(), events().end(), name); }
};

TEST_F(AnimationTest, FrictionFiveStopsSpeedFiveHundredAfterTenTicks) {
  StartAt(100, 100, "  anim.main.sensibility(1)\n  anim.main.friction(5)\n  anim.main.speed(5)\n");
  Advance(20 * 10);
  EXPECT_EQ(Count("anim:move"), 10);
  EXPECT_EQ(Count("anim:end"), 0);
  Advance(20);
  EXPECT_EQ(Count("anim:end"), 1);
  // Heading 0 moves down: 450 + 400 + ... + 50 + 0 hundredths.
  EXPECT_FLOAT_EQ(window(0).stored_y, 10000 + 2250);
  EXPECT_EQ(window(0).animation_timer, 0u) << "the timer stops with the motion";
  Advance(100);
  EXPECT_EQ(Count("anim:move"), 10);
}

TEST_F(AnimationTest, InitialFrictionSpeedsUpAndInitialSensibilityHoldsStill) {
  StartAt(100, 100, "  anim.main.speed(5)\n");
  Advance(60);
  EXPECT_EQ(Count("anim:move"), 0) << "sensibility -1 keeps the window still";
  EXPECT_FLOAT_EQ(window(0).stored_y, 10000);

  Command({"anim", "main", "sensibility"}, {"1"});
  Advance(20);
  // Friction -1 adds 10 hundredths before the step.
  EXPECT_FLOAT_EQ(window(0).stored_y, 10000 + 510);
  EXPECT_EQ(window(0).animation.speed, 510);
}

TEST_F(AnimationTest, BouncesOffTheRightEdge) {
  StartAt(900, 300,
          "  anim.main.sensibility(1)\n  anim.main.friction(0)\n  anim.main.direction(0)\n  anim.main.speed(30)\n");
  Advance(20);
  EXPECT_FLOAT_EQ(window(0).stored_x, 92400) << "held at the right edge of a 1024 pixel screen";
  EXPECT_EQ(events(), (Events{"anim:move", "hit:screenborder:right", "hit:screenborder"}));
  EXPECT_EQ(window(0).animation.direction, 90);
  Advance(20);
  EXPECT_NEAR(window(0).stored_x, 89400, 0.5);
  EXPECT_EQ(Bounds(0).left, 894);
}

TEST_F(AnimationTest, BeyondAnEdgeAWindowThatMayGoOutIsTurnedEveryTick) {
  StartAt(-50, 300, "  anim.main.sensibility(1)\n  anim.main.friction(0)\n  anim.main.direction(180)\n");
  window(0).can_go_out = true;
  Command({"anim", "main", "speed"}, {"1"});
  Advance(20 * 3);
  EXPECT_EQ(Count("hit:screenborder:left"), 3);
  EXPECT_LT(window(0).stored_x, 0);
}

struct AnimCommandCase {
  const char* name;
  std::vector<std::string> before;  // a command run first: path, then its one parameter
  std::vector<std::string> path;
  std::string parameter;
  std::string result;  // what the command returns, "-" for no result
  int direction;
  float dx, dy;  // change of the stored position
};

class AnimCommandTest : public AnimationTest, public testing::WithParamInterface<AnimCommandCase> {};

TEST_P(AnimCommandTest, ChangesHeadingAndPosition) {
  const AnimCommandCase& c = GetParam();
  StartAt(100, 100, "");
  if (!c.before.empty()) Command({c.before.begin(), c.before.end() - 1}, {c.before.back()});
  Result result = Command(c.path, {c.parameter});
  EXPECT_EQ(result.value_or("-"), c.result);
  EXPECT_EQ(window(0).animation.direction, c.direction);
  EXPECT_NEAR(window(0).stored_x - 10000, c.dx, 0.01);
  EXPECT_NEAR(window(0).stored_y - 10000, c.dy, 0.01);
  EXPECT_EQ(reports().size(), 0u) << AllReports();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnimCommandTest,
    testing::Values(
        AnimCommandCase{"DirectionIsReadBack", {"anim", "main", "direction", "0"}, {"anim", "main", "direction"}, "",
                        "270", 270, 0, 0},
        AnimCommandCase{"TurnRightWrapsPast360", {"anim", "main", "direction", "-80"}, {"anim", "main", "turn", "right"},
                        "400", "-", 30, 0, 0},
        AnimCommandCase{"TurnLeftWrapsBelowZero", {}, {"anim", "main", "turn", "left"}, "30", "-", 330, 0, 0},
        AnimCommandCase{"MoveGoesAgainstTheHeading", {}, {"anim", "main", "move"}, "100", "-", 0, 0, -100},
        AnimCommandCase{"MoveWithAFourthWordGoesAlongIt", {}, {"anim", "main", "move", "x"}, "100", "-", 0, 0, 100},
        AnimCommandCase{"SpeedIsReadInPixels", {"anim", "main", "speed", "7"}, {"anim", "main", "speed"}, "", "7", 0, 0,
                        0},
        AnimCommandCase{"FrictionIsReadBack", {"anim", "main", "friction", "4"}, {"anim", "main", "friction"}, "", "4",
                        0, 0, 0}),
    [](const testing::TestParamInfo<AnimCommandCase>& info) { return info.param.name; });

TEST_F(AnimationTest, UnknownWindowsAndCommandsAreReported) {
  StartAt(100, 100, "");
  EXPECT_FALSE(Command({"anim", "7", "speed"}, {"1"}));
  EXPECT_FALSE(Command({"anim", "main", "spin"}, {}));
  EXPECT_FALSE(Command({"anim", "main", "turn", "around"}, {"5"}));
  ASSERT_EQ(reports().size(), 3u);
  EXPECT_NE(reports()[0].find("The window index is invalid."), std::string::npos);
  EXPECT_NE(reports()[1].find("Unknown or incomplete command : "), std::string::npos);
  EXPECT_NE(reports()[2].find("Unknown or incomplete command : "), std::string::npos);
}

TEST(NormalizeAngleTest, BringsAnyAngleIntoOneTurn) {
  EXPECT_EQ(NormalizeAngle(0), 0);
  EXPECT_EQ(NormalizeAngle(360), 0);
  EXPECT_EQ(NormalizeAngle(-90), 270);
  EXPECT_EQ(NormalizeAngle(750), 30);
  EXPECT_EQ(NormalizeAngle(-2147483648LL - 180), NormalizeAngle(-2147483648LL + 180));
}

}  // namespace
}  // namespace ixo
