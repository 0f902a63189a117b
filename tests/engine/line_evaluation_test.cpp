#include <gtest/gtest.h>

#include <string>

#include "engine/engine.h"
#include "engine/line_evaluation.h"
#include "engine/variables.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

const char kSep = static_cast<char>(142);
const char kOpen = static_cast<char>(143);
const char kClose = static_cast<char>(144);

class LineEvaluationTest : public ScriptTest {
 protected:
  Result Evaluate(std::string line) { return EvaluateLine(engine(), line, true); }
};

TEST_F(LineEvaluationTest, SplitsTheKeywordPathAndTheParameters) {
  Evaluate(std::string("a") + kSep + "b" + kSep + "c" + kOpen + kSep + kSep + "x" + kClose);
  const CommandSlots& slots = engine().slots;
  EXPECT_EQ(slots.K(1), "a");
  EXPECT_EQ(slots.K(2), "b");
  EXPECT_EQ(slots.K(3), "c");
  EXPECT_EQ(slots.K(4), "");
  EXPECT_EQ(slots.P(1), "");
  EXPECT_EQ(slots.P(2), "");
  EXPECT_EQ(slots.P(3), "x");
  EXPECT_EQ(slots.P(4), "");
}

TEST_F(LineEvaluationTest, AnEmptyLastParameterIsKeptAndEmptySlotsAreCleared) {
  Evaluate(std::string("s") + kOpen + "1" + kSep + "2" + kSep + "3" + kClose);
  Evaluate(std::string("s") + kOpen + "x" + kSep + kClose);
  EXPECT_EQ(engine().slots.P(1), "x");
  EXPECT_EQ(engine().slots.P(2), "");
  EXPECT_EQ(engine().slots.P(3), "");
  EXPECT_TRUE(reports().empty());
}

TEST_F(LineEvaluationTest, SyntaxErrorsAreReportedAndTheCommandStillRuns) {
  struct Case {
    std::string line;
    std::string p1;
  };
  std::string fourteen = std::string("s") + kOpen;
  for (int i = 1; i <= 14; ++i) fourteen += std::to_string(i) + (i < 14 ? std::string(1, kSep) : std::string(1, kClose));
  for (const Case& c : {Case{std::string("s") + kOpen, ""}, Case{"s", ""}, Case{fourteen, "1"},
                        Case{std::string("s") + kSep + "b" + kSep + "c" + kSep + "d" + kSep + "e" + kSep + "f" + kSep +
                                 "g" + kOpen + "p" + kClose,
                             "p"}}) {
    size_t before = reports().size();
    Evaluate(c.line);
    EXPECT_EQ(reports().size(), before + 1);
    EXPECT_NE(reports().back().find("An error has occured. Check syntaxe for the following line : "),
              std::string::npos);
    EXPECT_EQ(engine().slots.P(1), c.p1);
  }
  EXPECT_EQ(engine().slots.K(6), "f");
  EXPECT_EQ(engine().slots.P(13), "");
}

TEST_F(LineEvaluationTest, ThirteenthParameterKeepsItsTextWhenAFourteenthIsGiven) {
  std::string line = std::string("s") + kOpen;
  for (int i = 1; i <= 14; ++i) line += std::to_string(i) + (i < 14 ? std::string(1, kSep) : std::string(1, kClose));
  Evaluate(line);
  EXPECT_EQ(engine().slots.P(13), "13");
}

TEST_F(LineEvaluationTest, NestedExpressionsEvaluateInnermostFirstAndLeftToRight) {
  Run(
      "event.initialize()\n"
      "  &log = s()\n"
      "  &r = s({f(a)}{f(b)}{f({f(c)}d)})\n"
      "event.end()\n"
      "function.f(x)\n"
      "  &log = s({&log}{&x}\\,)\n"
      "  return({&x})\n");
  EXPECT_EQ(Var("log"), "a,b,c,cd,");
  EXPECT_EQ(Var("r"), "abcd");
}

TEST_F(LineEvaluationTest, SplicedResultsAreEvaluatedAgainAndCanSplitParameters) {
  Load(
      "event.initialize()\n"
      "  &again = s(x{&inner})\n"
      "  &second = ?({&comma},no)\n"
      "  &path = s({s(s)})\n"
      "event.end()\n");
  // Values holding token bytes cannot come from a literal, which would be evaluated at once.
  AssignVariable(engine(), "inner", std::string(1, 14) + "s" + kOpen + "6*7" + kClose + std::string(1, 15));
  AssignVariable(engine(), "comma", std::string("1") + kSep + "yes");
  runner().Run();
  EXPECT_EQ(Var("again"), "x42");
  // The result "1", 142, "yes" lands in P1 and splits it: P1 = 1, P2 = yes, P3 = no.
  EXPECT_EQ(Var("second"), "yes");
  EXPECT_EQ(Var("path"), "s");
}

TEST_F(LineEvaluationTest, NestedCommandsMayComputeTheKeywordPath) {
  Run(
      "event.initialize()\n"
      "  &family = s(s)\n"
      "  &r = {&family}(7*6)\n"
      "event.end()\n");
  EXPECT_EQ(Var("r"), "42");
}

TEST_F(LineEvaluationTest, UnbalancedNestingBytesAreHandled) {
  // An unclosed nested expression runs to the end of the line.
  std::string line = std::string("s") + kOpen + "a" + static_cast<char>(14) + "s" + kOpen + "b" + kClose;
  std::string copy = line;
  EXPECT_EQ(EvaluateLine(engine(), copy, false), std::string("s") + kOpen + "ab");
  // A closing byte before any opening byte stays as it is, and stops evaluation.
  std::string stray = std::string("x") + static_cast<char>(15) + static_cast<char>(14) + "s" + kOpen + "1" + kClose +
                      static_cast<char>(15);
  copy = stray;
  EXPECT_EQ(EvaluateLine(engine(), copy, false), stray);
}

TEST_F(LineEvaluationTest, AnUnknownNestedCommandAbandonsTheLine) {
  Run(
      "event.initialize()\n"
      "  &r = s({nothing()})\n"
      "  &next = s(1)\n"
      "event.end()\n");
  EXPECT_EQ(Var("r"), "<missing>");
  EXPECT_EQ(Var("next"), "1");
  EXPECT_NE(AllReports().find("Unknown keyword or function call."), std::string::npos);
}

TEST_F(LineEvaluationTest, AValueThatExpandsIntoItselfIsStoppedAndReported) {
  Load(
      "event.initialize()\n"
      "  &r = s({&loop})\n"
      "  &next = s(1)\n"
      "event.end()\n");
  AssignVariable(engine(), "loop", std::string(1, 14) + "&loop" + std::string(1, 15));
  runner().Run();
  EXPECT_EQ(Var("r"), "<missing>");
  EXPECT_EQ(Var("next"), "1");
  EXPECT_NE(AllReports().find("never end"), std::string::npos);
}

TEST_F(LineEvaluationTest, ALineThatOutgrowsTheWorkBufferIsReported) {
  Run(
      "event.initialize()\n"
      "  &x = s(abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghij)\n"
      "  for(i, 0, 13)\n"
      "    &x = s({&x}{&x})\n"
      "  for.next()\n"
      "  &next = s(1)\n"
      "event.end()\n");
  EXPECT_EQ(Var("next"), "1");
  EXPECT_NE(AllReports().find("work buffer"), std::string::npos);
  EXPECT_LT(Var("x").size(), kWorkBufferSize);
}

TEST_F(LineEvaluationTest, ValueAndChoiceCommands) {
  Run(
      "event.initialize()\n"
      "  &n = s(2*3+1)\n"
      "  &t = s(2 * 3)\n"
      "  &a = ?(1,a,)\n"
      "  &b = ?(0,a,)\n"
      "  &c = ?(only)\n"
      "  &d = ?(yes,a,b)\n"
      "event.end()\n");
  EXPECT_EQ(Var("n"), "7");
  EXPECT_EQ(Var("t"), "2 * 3");
  EXPECT_EQ(Var("a"), "a");
  EXPECT_EQ(Var("b"), "");
  EXPECT_EQ(Var("c"), "only");
  EXPECT_EQ(Var("d"), "b");
}

}  // namespace
}  // namespace ixo
