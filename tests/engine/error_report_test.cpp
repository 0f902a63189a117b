#include <gtest/gtest.h>

#include <string>

#include "engine/error_report.h"
#include "engine/event_runner.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

class ErrorReportTest : public ScriptTest {};

TEST_F(ErrorReportTest, AnErrorInAnEventNamesTheEventTheCommandAndTheSourceLine) {
  std::string source = "event.load()\n";
  for (int i = 1; i < 12; ++i) source += "&a = s(" + std::to_string(i) + ")\n";
  source += "&r = bogus(1,{? 1 = 1},[x])\nevent.end()\n";
  Load(source);
  RaiseEvent(engine(), "load", false, 0, false);
  ASSERT_EQ(reports().size(), 1u);
  EXPECT_EQ(reports()[0],
            "Error in Event.load\n"
            "Unknown keyword or function call.\n\n"
            "Code line :\n"
            "bogus(1,1,[x])\n\n"
            "Source code (line 12) :\n"
            "r = bogus(1.[ 1\x04" "1].[x])");
  EXPECT_EQ(engine().context.last_error, reports()[0]);
}

TEST_F(ErrorReportTest, AnErrorWhileNoEventRunsIsAnExternalError) {
  engine().slots.keyword = {"window", "move", "", "", "", ""};
  engine().slots.parameter = {"1", "2", "", "", "", "", "", "", "", "", "", "", ""};
  ReportError(engine(), "The window index is invalid.");
  EXPECT_EQ(engine().context.last_error,
            "External error :\n\n\n"
            "The window index is invalid.\n\n"
            "Code line :\n"
            "window.move(1,2)\n"
            "The window index is invalid.");
}

TEST_F(ErrorReportTest, AnErrorInsideAFunctionNamesTheFunction) {
  Run(
      "event.initialize()\n"
      "  f()\n"
      "event.end()\n"
      "function.f()\n"
      "  nothing()\n"
      "  return()\n");
  ASSERT_FALSE(reports().empty());
  EXPECT_EQ(reports()[0].rfind("Error in Function.f\nUnknown keyword or function call.", 0), 0u) << reports()[0];
}

TEST_F(ErrorReportTest, ReportsRaiseTheErrorEvent) {
  Run(
      "event.initialize()\n"
      "  nothing()\n"
      "  &after = s(1)\n"
      "event.end()\n"
      "event.error()\n"
      "  var.inc(errors)\n"
      "  also_nothing()\n"
      "event.end()\n");
  EXPECT_EQ(Var("after"), "1");
  // The error inside "error" is reported, but its own raise is dropped: no loop.
  EXPECT_EQ(Var("errors"), "1");
  EXPECT_EQ(reports().size(), 2u);
}

TEST_F(ErrorReportTest, ReportsAreSilentDuringInitializeAndWhenSwitchedOff) {
  Run(
      "event._initialize()\n"
      "  nothing()\n"
      "event.end()\n");
  EXPECT_TRUE(reports().empty());
  EXPECT_EQ(engine().context.last_error, "nothing");

  engine().context.error_reporting = false;
  ReportError(engine(), "x");
  EXPECT_TRUE(reports().empty());
}

TEST_F(ErrorReportTest, EngineMessagesTurnHashesIntoLineBreaks) {
  bool dropped_drag = false;
  engine().hooks.before_message_box = [&] { dropped_drag = true; };
  EXPECT_EQ(EngineMessageBox(engine(), "Cannot find x.ixo##IxoEngine version 252"), 1);
  EXPECT_EQ(output(), "[message] Cannot find x.ixo\n\nIxoEngine version 252\n");
  EXPECT_TRUE(dropped_drag);
}

}  // namespace
}  // namespace ixo
