#include "engine/event_runner.h"
#include "tests/window/window_test.h"
#include "window/poll_tick.h"

namespace ixo {
namespace {

using Events = std::vector<std::string>;

class WindowLifecycleTest : public WindowTest {};

TEST_F(WindowLifecycleTest, LoadIsRaisedOnTheFirstPollTickAndTheWindowShown) {
  Load("event.initialize()\n  &order[] = s(initialize)\nevent.end()\n"
       "event.load()\n  &order[] = s(load)\nevent.end()\n");
  ASSERT_TRUE(runner().Start());
  EXPECT_FALSE(desktop().IsVisible(window(0).native)) << "created hidden";
  EXPECT_EQ(events(), (Events{"initialize"}));
  Advance(kPollIntervalMs);
  EXPECT_EQ(events(), (Events{"initialize", "load"}));
  EXPECT_TRUE(desktop().IsVisible(window(0).native));
  EXPECT_TRUE(desktop().window(window(0).native)->style.topmost);
}

TEST_F(WindowLifecycleTest, AHiddenObjectsMainWindowStaysHidden) {
  Load("event.load()\nevent.end()\n");
  engine().startup.hidden = true;
  ASSERT_TRUE(runner().Start());
  Advance(kPollIntervalMs);
  EXPECT_EQ(events(), (Events{"load"}));
  const platform::VirtualWindow& shown = *desktop().window(window(0).native);
  EXPECT_FALSE(shown.visible);
  EXPECT_TRUE(shown.style.no_activate);
  EXPECT_FALSE(shown.style.topmost);
}

TEST_F(WindowLifecycleTest, ResolvesOnlyFilledSlots) {
  Start("");
  CreateWindow(3, {0, 0, 10, 10});
  struct Case {
    const char* reference;
    int index;
  };
  for (const Case& c : {Case{"main", 0}, Case{"0", 0}, Case{"3", 3}, Case{"1+2", 3}, Case{"4", -1},
                        Case{"255", -1}, Case{"-1", -1}, Case{"three", -1}, Case{"", -1}})
    EXPECT_EQ(ResolveWindowIndex(windows(), c.reference), c.index) << c.reference;
}

TEST_F(WindowLifecycleTest, UnloadRaisesUnloadForThatWindowAndEmptiesTheSlot) {
  Start(Handlers({"unload", "unload:clocks"}));
  CreateWindow(3, {0, 0, 10, 10});
  window(3).group = "clocks";
  platform::WindowId native = window(3).native;
  ClearEvents();
  UnloadWindow(windows(), 3);
  EXPECT_EQ(events(), (Events{"unload:clocks@3"}));
  EXPECT_EQ(windows().at(3), nullptr);
  EXPECT_EQ(desktop().window(native), nullptr);
  UnloadWindow(windows(), 3);
  EXPECT_EQ(events().size(), 1u) << "an empty slot is left alone";
}

TEST_F(WindowLifecycleTest, ASlotRemembersPositionAndHeadingOfItsLastWindow) {
  Start("");
  CreateWindow(5, {70, 80, 10, 10});
  window(5).animation.direction = 123;
  UnloadWindow(windows(), 5);
  CreateEngineWindow(windows(), 5);
  EXPECT_EQ(window(5).stored_x, 7000);
  EXPECT_EQ(window(5).stored_y, 8000);
  EXPECT_EQ(window(5).animation.direction, 123);
  EXPECT_EQ(window(5).animation.speed, 0);
}

TEST_F(WindowLifecycleTest, ATerminateHandlerCanCancelTheShutdown) {
  Start(Handlers({"unload"}) + "event.terminate()\n  cancelclose()\nevent.end()\n");
  CreateWindow(2, {0, 0, 10, 10});
  ClearEvents();
  EngineShutdown(windows(), true);
  EXPECT_EQ(events(), (Events{"unload", "terminate"}));
  EXPECT_FALSE(engine().context.shutting_down);
  EXPECT_NE(windows().at(0), nullptr);
  EXPECT_NE(windows().at(2), nullptr);
  EXPECT_FALSE(desktop().TerminateRequested());
}

TEST_F(WindowLifecycleTest, ShutdownWithoutAskingRaisesNothingAndEmptiesEverySlot) {
  Start(Handlers({"unload", "terminate"}));
  CreateWindow(1, {0, 0, 10, 10});
  CreateWindow(254, {0, 0, 10, 10});
  ClearEvents();
  EngineShutdown(windows(), false);
  EXPECT_TRUE(events().empty());
  for (int index = 0; index < kMaxEngineWindows; ++index) EXPECT_EQ(windows().at(index), nullptr) << index;
  EXPECT_TRUE(desktop().TerminateRequested());
  EXPECT_FALSE(RaiseEvent(engine(), "unload", true, 0, false)) << "no event runs after shutdown";
}

TEST_F(WindowLifecycleTest, IdleAppliesStoredPositionsExceptOnceForTheNewestWindow) {
  Start("");
  CreateEngineWindow(windows(), 4);
  desktop().SetBounds(window(4).native, {0, 0, 20, 20});
  window(0).stored_x = 1234;  // 12.34 pixels: truncated
  window(0).stored_y = -150;  // -1.5 pixels: toward zero
  window(4).stored_x = 5000;
  Advance(0);
  EXPECT_EQ(Bounds(0).left, 12);
  EXPECT_EQ(Bounds(0).top, -1);
  EXPECT_EQ(Bounds(4).left, 0) << "the window created last keeps its place once";
  Advance(0);
  EXPECT_EQ(Bounds(4).left, 50);

  window(4).managed_position = false;
  window(4).stored_x = 9000;
  Advance(0);
  EXPECT_EQ(Bounds(4).left, 50) << "an unmanaged window stays where it is";
}

TEST_F(WindowLifecycleTest, PaintGrowsTheBackBufferAndShowsIt) {
  Start("");
  Place(0, {10, 10, 4, 3});
  graphics::Image& buffer = *window(0).back_buffer;
  buffer.Resize(2, 2);
  buffer.Fill(1, 2, 3);
  PaintWindow(windows(), 0);
  EXPECT_EQ(buffer.width(), 4);
  EXPECT_EQ(buffer.height(), 3);
  const std::vector<uint8_t>& shown = desktop().window(window(0).native)->pixels;
  ASSERT_EQ(shown.size(), 4u * 3u * 3u);
  EXPECT_EQ((std::vector<uint8_t>(shown.begin(), shown.begin() + 6)), (std::vector<uint8_t>{1, 2, 3, 1, 2, 3}));
  EXPECT_EQ(shown[9], 0) << "the grown area is black";

  window(0).back_buffer.reset();
  EnsureBackBuffer(windows(), 0);
  EXPECT_EQ(window(0).back_buffer->width(), 4);
}

// The poll timer costs nothing once "load" has been raised, unless a handler
// needs what it reports.
TEST_F(WindowLifecycleTest, PollingStopsAfterLoadWithoutHandlersForIt) {
  Start("event.load()\nevent.end()\n");
  EXPECT_EQ(windows().poll_timer, 0u);
  EXPECT_EQ(desktop().timer_count(), 0u);
}

TEST_F(WindowLifecycleTest, EnterAndExitAreReportedWhileHandled) {
  Start(Handlers({"mouse:enter", "mouse:exit"}));
  Place(0, {100, 100, 50, 50});
  CreateWindow(1, {300, 300, 50, 50});
  EXPECT_NE(windows().poll_timer, 0u);
  ClearEvents();
  desktop().MovePointer({120, 120});
  Advance(kPollIntervalMs);
  desktop().MovePointer({320, 320});
  Advance(kPollIntervalMs);
  Advance(50);
  EXPECT_EQ(events(), (Events{"mouse:enter", "mouse:exit", "mouse:enter@1"}));
  EXPECT_TRUE(window(1).mouse_inside);
}

TEST_F(WindowLifecycleTest, AGlobalClickIsReportedOnceWhenTheButtonsAreUp) {
  Start(Handlers({"mouse:globalclick", "mouse:globalrightclick", "mouse:beforeglobalrightclick"}));
  Place(0, {100, 100, 50, 50});
  CreateWindow(1, {300, 300, 50, 50});
  ClearEvents();
  desktop().MovePointer({120, 120});
  desktop().PressButton(platform::MouseButton::kLeft);
  Advance(kPollIntervalMs);
  desktop().ReleaseButton(platform::MouseButton::kLeft);
  Advance(kPollIntervalMs * 3);
  EXPECT_EQ(events(), (Events{"mouse:globalclick"}));

  ClearEvents();
  desktop().MovePointer({320, 320});
  desktop().PressButton(platform::MouseButton::kRight);
  Advance(kPollIntervalMs * 2);
  desktop().ReleaseButton(platform::MouseButton::kRight);
  Advance(kPollIntervalMs);
  EXPECT_EQ(events(), (Events{"mouse:beforeglobalrightclick", "mouse:beforeglobalrightclick",
                              "mouse:globalrightclick"}));
}

TEST_F(WindowLifecycleTest, DelayedEventsStillRunWhenNothingPolls) {
  Start("event.load()\n  doevent.later(3000)\nevent.end()\nevent.later()\n  &ran = s(1)\nevent.end()\n");
  EXPECT_EQ(windows().poll_timer, 0u);
  Advance(2990);
  EXPECT_EQ(Var("ran"), "<missing>");
  Advance(20);
  EXPECT_EQ(Var("ran"), "1");
}

}  // namespace
}  // namespace ixo
