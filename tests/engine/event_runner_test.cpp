#include <gtest/gtest.h>

#include <string>

#include "engine/event_runner.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

class EventRunnerTest : public ScriptTest {
 protected:
  // Makes the engine look as if the event "busy" were running.
  void PretendBusy(const std::string& name = "busy") {
    engine().context.current_line = 0;
    engine().context.current_event = name;
  }
  void PretendIdle() {
    engine().context.current_line = -1;
    engine().context.current_event.clear();
  }
};

TEST_F(EventRunnerTest, RunsTheHandlerAtOnceWhenNoEventRuns) {
  Load(
      "event.tick()\n"
      "  &count = s(1)\n"
      "event.end()\n");
  EXPECT_TRUE(RaiseEvent(engine(), "tick", false, 3, false));
  EXPECT_EQ(Var("count"), "1");
  EXPECT_EQ(engine().context.event_window_index, 3);
  EXPECT_EQ(engine().context.current_line, -1);
  EXPECT_EQ(engine().context.current_event, "");
}

TEST_F(EventRunnerTest, TheEventListQuickTestRejectsOnlyNamesItDoesNotContain) {
  Load(
      "event.load()\nevent.end()\n"
      "event.load:main()\nevent.end()\n");
  EXPECT_FALSE(RaiseEvent(engine(), "unload", false, 0, false));
  // "load:m" occurs inside the list, so the raise is looked up (and finds nothing).
  EXPECT_TRUE(RaiseEvent(engine(), "load:m", false, 0, false));
}

TEST_F(EventRunnerTest, DropsARaiseOfTheCurrentEventExceptLoad) {
  Load("event.mouse:move()\nevent.end()\nevent.load()\nevent.end()\n");
  PretendBusy("mouse:move");
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(RaiseEvent(engine(), "mouse:move", false, 0, false));
  EXPECT_TRUE(engine().queue.empty());
  PretendBusy("load");
  RaiseEvent(engine(), "load", false, 0, false);
  EXPECT_EQ(engine().queue.size(), 1u);
}

TEST_F(EventRunnerTest, QueuesAtMostTwoCopiesOfANameAndRunsOnePerIdlePass) {
  Load(
      "event.window:timer()\n"
      "  var.inc(ticks)\n"
      "event.end()\n");
  PretendBusy();
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(RaiseEvent(engine(), "window:timer", false, 0, false));
  EXPECT_EQ(engine().queue.size(), 2u);
  PretendIdle();
  EXPECT_TRUE(RunDueQueuedEvent(engine()));
  EXPECT_EQ(Var("ticks"), "1");
  EXPECT_EQ(engine().queue.size(), 1u);
  EXPECT_TRUE(RunDueQueuedEvent(engine()));
  EXPECT_EQ(Var("ticks"), "2");
  EXPECT_FALSE(RunDueQueuedEvent(engine()));
}

TEST_F(EventRunnerTest, TheQueueHoldsAtMostTwoHundredEntries) {
  std::string source;
  for (int i = 0; i < 150; ++i) source += "event.e" + std::to_string(i) + "()\nevent.end()\n";
  Load(source);
  PretendBusy();
  for (int copy = 0; copy < 2; ++copy)
    for (int i = 0; i < 150; ++i) RaiseEvent(engine(), "e" + std::to_string(i), false, 0, false);
  EXPECT_EQ(engine().queue.size(), 200u);
  EXPECT_EQ(engine().queue.entries().back().name, "e49");
}

TEST_F(EventRunnerTest, QueuedEntriesWithoutHandlerStayAndAreSkipped) {
  Load("event.b()\n  &ran = s(b)\nevent.end()\n");
  engine().queue.Push("nohandler", 0, 0);
  engine().queue.Push("b", 0, 0);
  EXPECT_TRUE(RunDueQueuedEvent(engine()));
  EXPECT_EQ(Var("ran"), "b");
  ASSERT_EQ(engine().queue.size(), 1u);
  EXPECT_EQ(engine().queue.entries()[0].name, "nohandler");
}

TEST_F(EventRunnerTest, AnImmediateRaiseTakesOverAndTheInterruptedEventDoesNotResume) {
  Run(
      "event.initialize()\n"
      "  &before = s(1)\n"
      "  raise(other,1)\n"
      "  &after = s(1)\n"
      "event.end()\n"
      "event.other()\n"
      "  &other = s(1)\n"
      "event.end()\n");
  EXPECT_EQ(Var("before"), "1");
  EXPECT_EQ(Var("other"), "1");
  EXPECT_EQ(Var("after"), "<missing>");
}

TEST_F(EventRunnerTest, ANestedCommandThatLetAnotherEventTakeOverAbandonsItsLine) {
  Run(
      "event.initialize()\n"
      "  &x = s(a{raise(other,1)}b)\n"
      "  &after = s(1)\n"
      "event.end()\n"
      "event.other()\n"
      "  &other = s(done)\n"
      "event.end()\n");
  EXPECT_EQ(Var("other"), "done");
  EXPECT_EQ(Var("x"), "<missing>");
  EXPECT_EQ(Var("after"), "<missing>");
}

TEST_F(EventRunnerTest, AQueuedRaiseRunsAfterTheRunningEventEnds) {
  Run(
      "event.initialize()\n"
      "  raise(later,0)\n"
      "  &order = s(first)\n"
      "event.end()\n"
      "event.later()\n"
      "  &order = s({&order} then later)\n"
      "event.end()\n");
  EXPECT_EQ(Var("order"), "first then later");
}

TEST_F(EventRunnerTest, TheClosingFlagStopsTheRunningEventAfterItsLine) {
  Run(
      "event.initialize()\n"
      "  &a = s(1)\n"
      "  close()\n"
      "  &b = s(1)\n"
      "event.end()\n");
  EXPECT_EQ(Var("a"), "1");
  EXPECT_EQ(Var("b"), "<missing>");
}

TEST_F(EventRunnerTest, RunningPastTheEndOfTheScriptIsReportedAndEndsTheEvent) {
  Run(
      "event.initialize()\n"
      "  &a = s(1)\n");
  EXPECT_EQ(Var("a"), "1");
  ASSERT_FALSE(reports().empty());
  EXPECT_NE(reports()[0].find("Code structure error : end of code found before end of event."), std::string::npos);
  EXPECT_EQ(engine().context.current_event, "");
}

TEST_F(EventRunnerTest, GroupSuffixIsAppendedWhenTheWindowHasAGroup) {
  Load("event.mouse:down:clocks()\n  &hit = s(1)\nevent.end()\n");
  engine().hooks.window_group_name = [](int index) { return index == 2 ? std::string("clocks") : std::string(); };
  RaiseEvent(engine(), "mouse:down", false, 1, true);
  EXPECT_EQ(Var("hit"), "<missing>");
  RaiseEvent(engine(), "mouse:down", false, 2, true);
  EXPECT_EQ(Var("hit"), "1");
}

TEST_F(EventRunnerTest, NothingRunsAfterShutdown) {
  Load("event.tick()\n  &a = s(1)\nevent.end()\n");
  engine().context.shutting_down = true;
  EXPECT_FALSE(RaiseEvent(engine(), "tick", true, 0, false));
  EXPECT_EQ(Var("a"), "<missing>");
}

}  // namespace
}  // namespace ixo
