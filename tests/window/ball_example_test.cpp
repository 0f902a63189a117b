// The demo ball, run as users run it: thrown by hand, bouncing, coming to rest.
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "engine/script_loader.h"
#include "engine/script_source.h"
#include "tests/window/window_test.h"

namespace ixo {
namespace {

std::string ReadSource(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class BallExampleTest : public WindowTest {};

TEST_F(BallExampleTest, BouncesAroundForAMinuteAndComesToRestOnScreen) {
  Start(ReadSource(IXO_EXAMPLES_SOURCE_DIR "/ball/identity.ixs"));
  Advance(60000);
  EXPECT_GE(std::stoi(Var("bounces")), 2);
  EXPECT_EQ(window(0).animation.speed, 0);
  platform::Rect ball = Bounds(0);
  EXPECT_EQ(ball.width, 64);
  EXPECT_GE(ball.left, 0);
  EXPECT_GE(ball.top, 0);
  EXPECT_LE(ball.left + ball.width, 1024);
  EXPECT_LE(ball.top + ball.height, 768);
  EXPECT_EQ(reports().size(), 0u) << AllReports();
}

TEST_F(BallExampleTest, FliesOnWhereTheHandThrowsIt) {
  Start(ReadSource(IXO_EXAMPLES_SOURCE_DIR "/ball/identity.ixs"));
  Advance(60000);
  platform::Rect ball = Bounds(0);
  platform::Point grip{ball.left + 32, ball.top + 32};
  desktop().MovePointer(grip);
  desktop().PressButton(platform::MouseButton::kLeft);
  Advance(300);
  // Up and to the left, the last step the fastest.
  for (int step : {4, 8, 12}) desktop().MovePointer({grip.x -= step, grip.y -= step});
  desktop().ReleaseButton(platform::MouseButton::kLeft);
  EXPECT_EQ(Var("throws"), "1");
  const float x = window(0).stored_x, y = window(0).stored_y;
  Advance(100);
  EXPECT_LT(window(0).stored_x, x);
  EXPECT_LT(window(0).stored_y, y);
}

TEST(BallPackageTest, RunsFromItsPackageForAMinuteOfVirtualTime) {
  // The ball remembers where it stopped: not in the user's own settings.
  const std::string settings = testing::TempDir() + "ixo_home_ball_" + std::to_string(getpid());
  setenv("IXO_HOME", settings.c_str(), 1);
  std::ostringstream out, err;
  HeadlessRunner runner(out, err);
  ASSERT_TRUE(runner.RunPackage({"ixoengine", IXO_EXAMPLES_BUILD_DIR "/ball.ixo", ""}, 60000));
  EXPECT_EQ(runner.clock().elapsed_ms(), 60000u);
  std::ostringstream variables;
  runner.DumpVariables(variables);
  EXPECT_NE(variables.str().find("bounces[0]="), std::string::npos);
  EXPECT_EQ(variables.str().find("bounces[0]=0\n"), std::string::npos) << variables.str();
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace ixo

namespace ixo {
namespace {

TEST_F(BallExampleTest, IsARoundWindowThatComesBackWhereItStopped) {
  const std::string source = ReadSource(IXO_EXAMPLES_SOURCE_DIR "/ball/identity.ixs");
  Start(source);
  Advance(60000);
  const platform::VirtualWindow& ball = *desktop().window(window(0).native);
  ASSERT_TRUE(ball.shape);
  const platform::Rect rest = Bounds(0);
  // The corners are see-through, the middle is the ball.
  EXPECT_EQ(desktop().WindowAt({rest.left + 1, rest.top + 1}).window, 0u);
  EXPECT_EQ(desktop().WindowAt({rest.left + 32, rest.top + 32}).window, window(0).native);

  // The next run of the object starts where this one stopped.
  std::ostringstream out, err;
  HeadlessRunner next(out, err);
  source::AssembleResult assembled = source::Assemble(source, "ball.ixs");
  LoadScriptLines(next.engine(), assembled.lines);
  ASSERT_TRUE(next.Start());
  next.desktop().RunFor(kPollIntervalMs);
  EXPECT_EQ(next.windows().at(0)->stored_x, static_cast<float>(rest.left * 100));
  EXPECT_EQ(next.windows().at(0)->stored_y, static_cast<float>(rest.top * 100));
}

}  // namespace
}  // namespace ixo
