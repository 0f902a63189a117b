#include <gtest/gtest.h>

#include <string>

#include "engine/function_call.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

class ControlTest : public ScriptTest {};

struct ForCase {
  const char* range;  // "start, end, step"
  const char* visited;
  const char* after;  // the loop variable after the loop
};

class ForRangeTest : public ScriptTest, public testing::WithParamInterface<ForCase> {};

TEST_P(ForRangeTest, VisitsTheRangeWithTheEndExcluded) {
  Run(std::string("event.initialize()\n"
                  "  &seen = s()\n"
                  "  for(i, ") +
      GetParam().range +
      ")\n"
      "    &seen = s({&seen}{&i};)\n"
      "  for.next()\n"
      "event.end()\n");
  EXPECT_EQ(Var("seen"), GetParam().visited);
  EXPECT_EQ(Var("i"), GetParam().after);
  EXPECT_TRUE(reports().empty()) << AllReports();
}

INSTANTIATE_TEST_SUITE_P(Cases, ForRangeTest,
                         testing::Values(ForCase{"0, 3, 1", "0;1;2;", "2"}, ForCase{"3, 0, -1", "3;2;1;", "1"},
                                         ForCase{"5, 5, 1", "", "5"}, ForCase{"0, 3,", "0;1;2;", "2"},
                                         ForCase{"0, 10, 4", "0;4;8;", "8"}, ForCase{"2, 0, -5", "2;", "2"},
                                         ForCase{"2147483392, 2147483520, 1000", "2147483392;", "2147483392"}));

TEST_F(ControlTest, ChangingTheLoopVariableDoesNotChangeTheCount) {
  Run(
      "event.initialize()\n"
      "  for(i, 0, 3)\n"
      "    var.inc(n)\n"
      "    &i = s(100)\n"
      "  for.next()\n"
      "event.end()\n");
  EXPECT_EQ(Var("n"), "3");
}

TEST_F(ControlTest, NestedLoopsAndExits) {
  Run(
      "event.initialize()\n"
      "  &out = s()\n"
      "  for(i, 0, 3)\n"
      "    for(j, 0, 10)\n"
      "      if({? {&j} = 2})\n"
      "        for.exit()\n"
      "      if.end()\n"
      "      &out = s({&out}{&i}{&j} )\n"
      "    for.next()\n"
      "  for.next()\n"
      "  &w = s(0)\n"
      "  while({? {&w} < 100})\n"
      "    var.inc(w)\n"
      "    if({? {&w} = 5})\n"
      "      while.exit()\n"
      "    if.end()\n"
      "  while.end()\n"
      "event.end()\n");
  EXPECT_EQ(Var("out"), "00 01 10 11 20 21 ");
  EXPECT_EQ(Var("w"), "5");
  EXPECT_EQ(engine().control.for_depth, -1);
  EXPECT_EQ(engine().control.while_depth, -1);
}

TEST_F(ControlTest, AFalseWhileSkipsItsBodyWithNestedLoops) {
  Run(
      "event.initialize()\n"
      "  while({? 1 = 2})\n"
      "    while(1)\n"
      "      &inner = s(1)\n"
      "    while.end()\n"
      "  while.end()\n"
      "  &after = s(1)\n"
      "  &n = s(0)\n"
      "  while({? {&n} < 3})\n"
      "    var.inc(n)\n"
      "  while.end()\n"
      "event.end()\n");
  EXPECT_EQ(Var("inner"), "<missing>");
  EXPECT_EQ(Var("after"), "1");
  EXPECT_EQ(Var("n"), "3");
}

TEST_F(ControlTest, IfAndElseChooseOneBranchAtEveryNestingLevel) {
  Run(
      "event.initialize()\n"
      "  &out = s()\n"
      "  for(a, 0, 2)\n"
      "    for(b, 0, 2)\n"
      "      if({? {&a} = 1})\n"
      "        if({? {&b} = 1})\n"
      "          &out = s({&out}11 )\n"
      "        if.else()\n"
      "          &out = s({&out}10 )\n"
      "        if.end()\n"
      "      if.else()\n"
      "        if({? {&b} = 1})\n"
      "          &out = s({&out}01 )\n"
      "        if.else()\n"
      "          &out = s({&out}00 )\n"
      "        if.end()\n"
      "      if.end()\n"
      "    for.next()\n"
      "  for.next()\n"
      "  if()\n"
      "    &empty_if = s(taken)\n"
      "  if.end()\n"
      "  while()\n"
      "    &empty_while = s(taken)\n"
      "  while.end()\n"
      "event.end()\n");
  EXPECT_EQ(Var("out"), "00 01 10 11 ");
  EXPECT_EQ(Var("empty_if"), "taken");
  EXPECT_EQ(Var("empty_while"), "<missing>");
}

struct StructureErrorCase {
  const char* line;
  const char* message;
};

class StructureErrorTest : public ScriptTest, public testing::WithParamInterface<StructureErrorCase> {};

TEST_P(StructureErrorTest, IsReported) {
  Run(std::string("event.initialize()\n  ") + GetParam().line + "\n  &after = s(1)\nevent.end()\n");
  EXPECT_NE(AllReports().find(GetParam().message), std::string::npos) << GetParam().line << AllReports();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StructureErrorTest,
    testing::Values(StructureErrorCase{"while.end()", "Error in While/End structure."},
                    StructureErrorCase{"while.exit()", "Error in While/End structure."},
                    StructureErrorCase{"while({? 1 = 2})", "Error in While/End structure."},
                    StructureErrorCase{"for.next()", "Error in For/Next structure."},
                    StructureErrorCase{"for(i, 0, 0)", "Error in For/Next structure."},
                    StructureErrorCase{"if(0)", "Error in If/End structure."},
                    StructureErrorCase{"while.other()", "Unknown or incomplete command : "},
                    StructureErrorCase{"for.other()", "Unknown or incomplete command : "},
                    StructureErrorCase{"event.other()", "Unknown or incomplete command : "},
                    StructureErrorCase{"return(1)", "Misplaced command : Function.End"},
                    StructureErrorCase{"function.start()", "Unknown or incomplete command : "}));

TEST_F(ControlTest, RecursiveFunctionsReturnThroughNestedCalls) {
  Run(
      "event.initialize()\n"
      "  &f = s({fact(5)})\n"
      "  &g = s(<{fact(1)}> and <{fact(10)}>)\n"
      "event.end()\n"
      "function.fact(n)\n"
      "  if({? {&n} <= 1})\n"
      "    return(1)\n"
      "  if.end()\n"
      "  return({num.compute({&n}*{fact({num.compute({&n}-1)})})})\n");
  EXPECT_EQ(Var("f"), "120");
  EXPECT_EQ(Var("g"), "<1> and <3628800>");
}

TEST_F(ControlTest, FunctionsComputeWithNestedCallsInReturn) {
  Run(
      "event.initialize()\n"
      "  &f = s({fact(6)})\n"
      "  whole(9)\n"
      "  &after = s({&last})\n"
      "  &window = s({_window(7)})\n"
      "event.end()\n"
      "function.fact(n)\n"
      "  if({? {&n} <= 1})\n"
      "    return(1)\n"
      "  if.end()\n"
      "  return({&n}*{fact({s({&n}-1)})})\n"
      "function.whole(x)\n"
      "  &last = s({&x})\n"
      "  function.end(dropped)\n"
      "function.window(v)\n"
      "  return(w{&v})\n");
  EXPECT_EQ(Var("f"), "720");
  EXPECT_EQ(Var("after"), "9");
  EXPECT_EQ(Var("window"), "w7");
  EXPECT_EQ(engine().control.call_depth, -1);
  EXPECT_EQ(engine().context.current_function, "");
  EXPECT_TRUE(reports().empty()) << AllReports();
}

TEST_F(ControlTest, DeepRecursionIsRefusedWithMemoryFull) {
  Run(
      "event.initialize()\n"
      "  &r = s({down(20000)})\n"
      "event.end()\n"
      "event.memoryfull()\n"
      "  &full = s(1)\n"
      "event.end()\n"
      "function.down(n)\n"
      "  if({? {&n} = 0})\n"
      "    return(0)\n"
      "  if.end()\n"
      "  return({down({s({&n}-1)})})\n");
  EXPECT_EQ(Var("full"), "1");
  EXPECT_NE(AllReports().find("Unknown keyword or function call."), std::string::npos);
  EXPECT_LT(engine().control.call_depth, kMemoryFullCallDepth);
}

TEST_F(ControlTest, DoEventRunsOnTheVirtualClockAfterItsDelay) {
  Run(
      "event.initialize()\n"
      "  doevent.later(5000)\n"
      "  doevent.soon(500)\n"
      "  doevent.nohandler(10)\n"
      "event.end()\n"
      "event.later()\n"
      "  &order = s({&order}later@{&t})\n"
      "event.end()\n"
      "event.soon()\n"
      "  &order = s({&order}soon;)\n"
      "event.end()\n");
  EXPECT_EQ(Var("order"), "soon;later@");
  EXPECT_EQ(runner().clock().elapsed_ms(), 5000u);
  EXPECT_EQ(engine().queue.size(), 1u);  // the entry without handler stays
}

TEST_F(ControlTest, RunForBoundsTheVirtualClock) {
  Load(
      "event.initialize()\n"
      "  doevent.tick(1000)\n"
      "event.end()\n"
      "event.tick()\n"
      "  var.inc(ticks)\n"
      "  doevent.tick(1000)\n"
      "event.end()\n");
  runner().Run(3500);
  EXPECT_EQ(Var("ticks"), "3");
}

TEST_F(ControlTest, TheHostCallsScriptFunctions) {
  Load(
      "function.greet(who,times)\n"
      "  &greeting = s(hello {&who} x{&times})\n"
      "  return()\n");
  EXPECT_TRUE(CallScriptFunction(engine(), "greet", {"you", "2"}));
  EXPECT_EQ(Var("greeting"), "hello you x2");
  EXPECT_FALSE(CallScriptFunction(engine(), "missing", {}));
  EXPECT_EQ(engine().control.call_depth, -1);
}

}  // namespace
}  // namespace ixo

namespace ixo {
namespace {

struct CapacityCase {
  const char* open;
  const char* close;
  const char* message;
};

class LoopCapacityTest : public ScriptTest, public testing::WithParamInterface<CapacityCase> {};

// A recursive function that opens a loop at every level nests loops without end.
TEST_P(LoopCapacityTest, NestingPastTheCapacityIsReportedAndEndsTheEvent) {
  Run(std::string("event.initialize()\n"
                  "  &r = s({deeper()})\n"
                  "  &after = s(1)\n"
                  "event.end()\n"
                  "function.deeper()\n"
                  "  var.inc(depth)\n  ") +
      GetParam().open +
      "\n"
      "    &r = s({deeper()})\n  " +
      GetParam().close +
      "\n"
      "  return(0)\n");
  EXPECT_NE(AllReports().find(GetParam().message), std::string::npos);
  EXPECT_EQ(Var("depth"), "3001");  // the 3001st level is the one refused
  EXPECT_EQ(Var("after"), "<missing>");
  EXPECT_EQ(engine().context.current_line, -1);
}

INSTANTIATE_TEST_SUITE_P(Cases, LoopCapacityTest,
                         testing::Values(CapacityCase{"while(1)", "while.end()", "Too many whiles."},
                                         CapacityCase{"for(i,0,1)", "for.next()", "Too many Fors."}));

TEST_F(ControlTest, ALoopWhoseVariableCannotBeAssignedStillCounts) {
  Run(
      "event.initialize()\n"
      "  for(_nobody,0,3)\n"
      "    var.inc(n)\n"
      "  for.next()\n"
      "event.end()\n");
  EXPECT_EQ(Var("n"), "3");
  EXPECT_NE(AllReports().find("Invalid dynamic name."), std::string::npos);
}

TEST_F(ControlTest, AFreedLoopVariableIsNotWrittenThroughAStaleIndex) {
  Run(
      "event.initialize()\n"
      "  for(i,0,3)\n"
      "    var.free(i)\n"
      "  for.next()\n"
      "event.end()\n");
  EXPECT_EQ(Var("i"), "<missing>");
  EXPECT_TRUE(reports().empty()) << AllReports();
}

}  // namespace
}  // namespace ixo
