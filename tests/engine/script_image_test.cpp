#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/script_file.h"
#include "engine/script_loader.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

const std::string kOpen(1, static_cast<char>(143));
const std::string kSep(1, static_cast<char>(142));
const std::string kClose(1, static_cast<char>(144));

TEST(ScriptFileTest, SplitsLinesAndSkipsLeadingBlanksBackspacesAndBreaks) {
  std::string text = "a\r\n\r\n  \b b\n\n\r\t c\r \b\r\nlast";
  EXPECT_EQ(SplitScriptLines(text), (std::vector<std::string>{"a", "b", "\t c", "last"}));
  EXPECT_TRUE(SplitScriptLines("").empty());
  EXPECT_TRUE(SplitScriptLines(" \r\n\b \n").empty());
}

TEST(ScriptFileTest, EncodingInvertsEveryByteAndDecodingUndoesIt) {
  std::vector<std::string> lines = {"event" + kSep + "load" + kOpen + kClose, "\xff\x01x"};
  std::string bytes = EncodeScriptFile(lines);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 255 - 'e');
  EXPECT_EQ(DecodeScriptFile(bytes), lines);
}

class ScriptImageTest : public ScriptTest {};

TEST_F(ScriptImageTest, RegistersEventsAndFunctionsAtTheirHeaderLines) {
  Load(
      "event.load()\n"
      "event.end()\n"
      "&x = event.mouse:down()\n"
      "event.exit()\n"
      "function.fact(n)\n"
      "function.exit()\n"
      "event.load()\n"
      "function.end()\n");
  const ScriptImage& script = engine().script;
  EXPECT_EQ(script.line_count(), 8);
  EXPECT_EQ(script.event_list(), "load--mouse:down--load--");
  EXPECT_EQ(script.FindEvent("load"), 0);  // the first of two headers of one name
  EXPECT_EQ(script.FindEvent("mouse:down"), 2);
  EXPECT_EQ(script.FindFunction("fact"), 4);
  EXPECT_EQ(script.FindEvent("end"), -1);
  EXPECT_EQ(script.FindFunction("exit"), -1);
  EXPECT_EQ(script.line(2).label, "x");
  EXPECT_EQ(script.line(2).text, "event" + kSep + "mouse:down" + kOpen + kClose);
}

TEST(SplitLabelTest, CutsAtTheFirstEqualsAndKeepsLinesWithoutOne) {
  EXPECT_EQ(SplitLabel("&a=b=c").label, "a");
  EXPECT_EQ(SplitLabel("&a=b=c").text, "b=c");
  EXPECT_EQ(SplitLabel("&abc").label, "");
  EXPECT_EQ(SplitLabel("&abc").text, "&abc");
  EXPECT_EQ(SplitLabel("x=1").text, "x=1");
}

TEST_F(ScriptImageTest, CutsOverlongLinesAndSaysSo) {
  std::vector<std::string> lines = {"s" + kOpen + std::string(5000, 'x') + kClose, "event" + kSep + "a" + kOpen + kClose};
  LoadScriptLines(engine(), lines);
  EXPECT_EQ(engine().script.line(0).text.size(), kMaxLineLength);
  EXPECT_EQ(engine().script.FindEvent("a"), 1);
  ASSERT_EQ(reports().size(), 1u);
  EXPECT_NE(reports()[0].find("longer than 2569 bytes"), std::string::npos);
}

TEST_F(ScriptImageTest, AMissingScriptFileLeavesEmptyTablesAndAsksToTerminate) {
  Load("event.load()\nevent.end()\n");
  EXPECT_FALSE(LoadScript(engine(), "/nonexistent/identity.vexe"));
  EXPECT_EQ(engine().script.line_count(), 0);
  EXPECT_EQ(engine().script.event_list(), "");
  EXPECT_TRUE(engine().platform.application->TerminateRequested());
}

TEST_F(ScriptImageTest, LoadsAScriptFileFromDisk) {
  std::string path = testing::TempDir() + "/identity_" + std::to_string(getpid()) + ".vexe";
  {
    std::ofstream file(path, std::ios::binary);
    file << EncodeScriptFile({"event" + kSep + "load" + kOpen + kClose, "event" + kSep + "end" + kOpen + kClose});
  }
  EXPECT_TRUE(LoadScript(engine(), path));
  EXPECT_EQ(engine().script.FindEvent("load"), 0);
  std::remove(path.c_str());
}

}  // namespace
}  // namespace ixo
