#include "tests/window/window_test.h"
#include "engine/variables.h"
#include "window/window_messages.h"

namespace ixo {
namespace {

using Events = std::vector<std::string>;

class WindowMessagesTest : public WindowTest {
 protected:
  platform::ApplicationListener& application() { return *desktop().application_listener(); }
  void Post(int index, platform::PrivateMessage message, uint64_t first, uint64_t second) {
    desktop().PostPrivateMessage(window(index).native, platform::PrivateMessageNumber(message), first, second);
    Advance(0);
  }
};

TEST_F(WindowMessagesTest, TheFirstTwoActivationsOfTheMainWindowAreIgnored) {
  Start(Handlers({"window:gotfocus", "window:lostfocus", "window:activate", "window:deactivate"}));
  ClearEvents();
  for (bool active : {true, false, true, false}) desktop().SendActivation(window(0).native, active);
  EXPECT_EQ(events(), (Events{"window:activate", "window:deactivate", "window:gotfocus", "window:activate",
                              "window:lostfocus", "window:deactivate"}));
}

TEST_F(WindowMessagesTest, ApplicationActivationWaitsForTheMainWindowsIgnoreCount) {
  Start(Handlers({"gotfocus", "lostfocus"}));
  application().OnActivation(true);
  EXPECT_TRUE(events().empty());
  window(0).activation_ignore_count = 0;
  application().OnActivation(true);
  application().OnActivation(false);
  EXPECT_EQ(events(), (Events{"gotfocus", "lostfocus"}));
}

TEST_F(WindowMessagesTest, ACloseRequestCanBeCancelled) {
  Start("event.window:close()\n  if({? {&keep} = 1})\n    cancelclose()\n  if.end()\nevent.end()\n" +
        Handlers({"unload"}));
  CreateWindow(2, {0, 0, 10, 10});
  ClearEvents();
  AssignVariable(engine(), "keep", "1");
  desktop().RequestClose(window(2).native);
  EXPECT_NE(windows().at(2), nullptr);

  windows().cancel_close = false;
  AssignVariable(engine(), "keep", "0");
  desktop().RequestClose(window(2).native);
  EXPECT_EQ(windows().at(2), nullptr);
  EXPECT_EQ(events(), (Events{"window:close@2", "window:close@2"})) << "closed without unload";
}

TEST_F(WindowMessagesTest, ClosingTheMainWindowEndsTheObject) {
  Start(Handlers({"window:close", "unload", "terminate"}));
  ClearEvents();
  desktop().RequestClose(window(0).native);
  EXPECT_EQ(events(), (Events{"window:close", "unload", "terminate"}));
  EXPECT_TRUE(engine().context.shutting_down);
  EXPECT_TRUE(desktop().TerminateRequested());
}

TEST_F(WindowMessagesTest, SessionEndAsksTheScriptFirst) {
  Start("event.system:shutdown:query()\n  cancelclose()\nevent.end()\n" + Handlers({"system:shutdown"}));
  EXPECT_FALSE(application().OnShutdownQuery());
  application().OnShutdown();
  EXPECT_TRUE(engine().context.shutting_down) << "the final notice is not cancelled by a stale flag";
  EXPECT_EQ(events(), (Events{"system:shutdown:query", "system:shutdown"}));
}

TEST_F(WindowMessagesTest, StatusIconAndAppBarMessagesBecomeEvents) {
  Start(Handlers({"statusicon:mouse:down", "statusicon:mouse:up", "statusicon:mouse:rightclick",
                  "statusicon:mouse:dblclick", "statusicon:mouse:move", "appbar:poschanged"}));
  CreateWindow(1, {0, 0, 10, 10});
  ClearEvents();
  using namespace platform;
  for (uint64_t mouse : {kIconLeftDown, kIconLeftUp, kIconRightDown, kIconLeftDoubleClick, kIconMouseMove, 0x999ul})
    Post(1, PrivateMessage::kStatusIcon, 0, mouse);
  Post(1, PrivateMessage::kAppBar, 2, 0);
  Post(1, PrivateMessage::kAppBar, kAppBarPositionChanged, 0);
  EXPECT_EQ(events(), (Events{"statusicon:mouse:down@1", "statusicon:mouse:up@1", "statusicon:mouse:rightclick@1",
                              "statusicon:mouse:dblclick@1", "statusicon:mouse:move@1", "appbar:poschanged@1"}));
}

TEST_F(WindowMessagesTest, AQuitRequestEndsTheObjectWithoutEvents) {
  Start(Handlers({"unload", "terminate"}));
  ClearEvents();
  Post(0, platform::PrivateMessage::kQuit, 0, 0);
  EXPECT_TRUE(events().empty());
  EXPECT_EQ(windows().at(0), nullptr);
  EXPECT_TRUE(desktop().TerminateRequested());
}

TEST_F(WindowMessagesTest, AnEscapedErrorBecomesTheLastErrorAndAnEvent) {
  Start("event.mouse:down()\n  throw(disk on fire)\nevent.end()\n"
        "event.exception()\n  &seen = s(1)\nevent.end()\n");
  Place(0, {0, 0, 50, 50});
  desktop().MovePointer({10, 10});
  desktop().PressButton(platform::MouseButton::kLeft);
  EXPECT_EQ(engine().context.last_error, "disk on fire");
  EXPECT_EQ(Var("seen"), "1");
}

TEST_F(WindowMessagesTest, SizeAndDesktopChangesAreReported) {
  Start(Handlers({"resize", "system:desktop:changed", "system:display:changed", "minimize", "restore"}));
  ClearEvents();
  desktop().SetBounds(window(0).native, {0, 0, 30, 30});
  application().OnWorkAreaChanged();
  application().OnDisplayChanged();
  application().OnMinimize();
  application().OnRestore();
  EXPECT_EQ(events(),
            (Events{"resize", "system:desktop:changed", "system:display:changed", "minimize", "restore"}));
}

}  // namespace
}  // namespace ixo

namespace ixo {
namespace {

class WindowTimerTest : public WindowTest {};

TEST_F(WindowTimerTest, RaisesItsEventEveryIntervalWhileEnabled) {
  Start("event.load()\n  window.main.timer.delay(250)\n  window.main.timer.enabled(1)\nevent.end()\n"
        "event.window:timer()\n  var.inc(ticks)\nevent.end()\n");
  EXPECT_EQ(Command({"window", "main", "timer", "delay"}, {}), "250");
  EXPECT_EQ(Command({"window", "main", "timer", "enabled"}, {}), "1");
  Advance(1000);
  EXPECT_EQ(Var("ticks"), "4");
  Command({"window", "main", "timer", "delay"}, {"500"});
  Advance(1000);
  EXPECT_EQ(Var("ticks"), "6");
  Command({"window", "main", "timer", "enabled"}, {"0"});
  Advance(1000);
  EXPECT_EQ(Var("ticks"), "6");
  EXPECT_EQ(desktop().timer_count(), 0u);
}

}  // namespace
}  // namespace ixo
