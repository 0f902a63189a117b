#include "engine/num_family.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "tests/support/script_test.h"
#include "engine/messages.h"

namespace ixo {
namespace {

// The smallest and (as numeric expressions read it, in single precision) the
// largest number a parameter can carry.
constexpr const char* kMin = "-2147483648";
constexpr const char* kMax = "2147483520";

struct NumCase {
  std::string operation;
  std::vector<std::string> parameters;
  std::string expected;
};

class NumFamilyTest : public ScriptTest {
 protected:
  // Runs "num" "<operation>" with P1, P2, ... as given and the other slots empty.
  Result Num(const std::string& operation, const std::vector<std::string>& parameters) {
    return Command({"num", operation}, parameters);
  }

  void ExpectCases(const std::vector<NumCase>& cases) {
    for (const NumCase& c : cases) {
      std::string shown = c.operation;
      for (const std::string& p : c.parameters) shown += " [" + p + "]";
      SCOPED_TRACE(shown);
      EXPECT_EQ(Num(c.operation, c.parameters), Result(c.expected));
    }
  }

};

TEST_F(NumFamilyTest, ComputesExpressionsAndConditions) {
  std::string too_many_clauses = "1";
  for (int i = 0; i < 25; ++i) too_many_clauses += "\x08" "1";
  ExpectCases({
      {"compute", {"2+3*4"}, "14"},
      {"compute", {"abc"}, "-2147483645"},
      {"compute", {""}, "-2147483645"},
      {"eval", {"1"}, "1"},
      {"eval", {"10\x02" "9"}, "0"},
      {"eval", {"abc\x02" "ABD"}, "1"},
      {"eval", {""}, "0"},
      {"eval", {too_many_clauses}, "-2"},
  });
}

TEST_F(NumFamilyTest, NegatesAndTakesAbsoluteValuesWithoutOverflow) {
  ExpectCases({
      {"abs", {"-5"}, "5"},
      {"abs", {"7"}, "7"},
      {"abs", {"x"}, "0"},
      // Like 32-bit machine arithmetic, the most negative number has no positive twin.
      {"abs", {kMin}, kMin},
      {"not", {"5"}, "-5"},
      {"not", {"-5"}, "5"},
      {"not", {""}, "0"},
      {"not", {kMin}, kMin},
  });
}

TEST_F(NumFamilyTest, PacksAndUnpacksColours) {
  ExpectCases({
      {"rgb", {"255", "128", "0"}, "33023"},
      {"rgb", {"0", "0", "255"}, "16711680"},
      // Only the low 8 bits of each component count.
      {"rgb", {"-1", "-1", "-1"}, "16777215"},
      {"rgb", {"256", "257", kMin}, "256"},
      {"rgb", {}, "0"},
      {"red", {"33023"}, "255"},
      {"green", {"33023"}, "128"},
      {"blue", {"16711680"}, "255"},
      {"red", {"-1"}, "255"},
      {"blue", {"-1"}, "255"},
      {"blue", {"-16777216"}, "0"},
  });
}

TEST_F(NumFamilyTest, GivesTheSignedCodeOfTheFirstByte) {
  ExpectCases({
      {"char", {"A"}, "65"},
      {"char", {"\xC8z"}, "-56"},
      {"char", {"\xFF"}, "-1"},
      {"char", {"\x80"}, "-128"},
      {"char", {""}, "0"},
  });
}

TEST_F(NumFamilyTest, ScalesSineAndCosineAndTruncatesTowardZero) {
  ExpectCases({
      // The double-precision sine of 30 degrees is 0.49999999999999994.
      {"sin", {"30", "100"}, "49"},
      {"cos", {"0", "100"}, "100"},
      {"cos", {"60", "100"}, "50"},
      {"sin", {"90"}, "1"},
      {"sin", {"270", "100"}, "-100"},
      {"sin", {"-30", "100"}, "-49"},
      {"cos", {"180", "7"}, "-7"},
      {"sin", {"", ""}, "0"},
      {"sin", {"90", kMin}, kMin},
      // 2147483648 does not fit; it stays at the largest number.
      {"sin", {"270", kMin}, "2147483647"},
  });
}

TEST_F(NumFamilyTest, TurnsAnglesTheShorterWayRound) {
  ExpectCases({
      {"changeangle", {"350", "10", "5"}, "355"},
      {"changeangle", {"10", "350", "5"}, "5"},
      {"changeangle", {"355", "5", "10"}, "5"},
      // Exactly half way round still turns forward.
      {"changeangle", {"0", "180", "10"}, "10"},
      {"changeangle", {"0", "181", "10"}, "350"},
      {"changeangle", {"-10", "-20", "5"}, "345"},
      {"changeangle", {"720", "0", "0"}, "0"},
      // Far outside one turn: the same as adding or subtracting 360 repeatedly,
      // with the difference of the two angles taken exactly.
      {"changeangle", {kMax, kMin, "1"}, "359"},
      {"changeangle", {"0", "10", kMin}, "232"},
      {"changeangle", {kMin, "0", kMin}, "104"},
  });
}

TEST_F(NumFamilyTest, MeasuresDistancesWithoutOverflowingTheSquares) {
  ExpectCases({
      {"getdistance", {"0", "0", "3", "4"}, "5"},
      {"getdistance", {"-3", "0", "0", "4"}, "5"},
      {"getdistance", {"0", "0", "1", "1"}, "1"},
      {"getdistance", {"7", "7", "7", "7"}, "0"},
      {"getdistance", {}, "0"},
      {"getdistance", {"0", "0", "46341", "0"}, "46341"},
      {"getdistance", {"0", "0", "30000", "40000"}, "50000"},
      // Beyond the 32-bit range the distance stays at the largest number.
      {"getdistance", {kMin, kMin, kMax, kMax}, "2147483647"},
  });
}

TEST_F(NumFamilyTest, GivesCompassStyleAngles) {
  ExpectCases({
      {"getangle", {"0", "0", "10", "10"}, "315"},
      {"getangle", {"0", "0", "-10", "-10"}, "135"},
      {"getangle", {"0", "0", "10", "-10"}, "45"},
      {"getangle", {"0", "0", "-10", "10"}, "225"},
      {"getangle", {"5", "5", "15", "15"}, "315"},
      // Every horizontal or vertical pair, and a point with itself, gives 180.
      {"getangle", {"0", "0", "10", "0"}, "180"},
      {"getangle", {"0", "0", "-10", "0"}, "180"},
      {"getangle", {"0", "0", "0", "10"}, "180"},
      {"getangle", {"3", "3", "3", "3"}, "180"},
      {"getangle", {kMin, kMin, kMax, kMax}, "315"},
  });
}

TEST_F(NumFamilyTest, RandomFollowsTheSeededGenerator) {
  // Expected values worked out from the generator's formulas: seeding sets the
  // low 32 bits and makes one short step; each draw is one long step.
  struct Draws {
    uint32_t seed;
    std::string low, high;
    std::vector<std::string> expected;
  };
  const std::vector<Draws> draws = {
      {1, "1", "7", {"2", "1", "3"}},
      {12345, "1", "7", {"5", "4", "5"}},
      // High below low: the remainder keeps the sign of r, so values lie above low.
      {1, "10", "4", {"11", "10", "12"}},
      // Distances beyond 32 bits are taken exactly: r itself is below them.
      {1, kMin, kMax, {"-737299099"}},
      {1, kMax, kMin, {"-737299227"}},
      {1, "0", kMin, {"1410184549"}},
  };
  for (const Draws& d : draws) {
    SCOPED_TRACE(d.low + " " + d.high + " seed " + std::to_string(d.seed));
    engine().random.Seed(d.seed);
    for (const std::string& expected : d.expected) EXPECT_EQ(Num("random", {d.low, d.high}), Result(expected));
  }
}

TEST_F(NumFamilyTest, RandomStaysWithinItsRange) {
  EXPECT_EQ(Num("random", {"5", "5"}), Result("5"));
  EXPECT_EQ(Num("random", {}), Result("0"));
  engine().random.Seed(42);
  std::set<std::string> seen;
  for (int i = 0; i < 1000; ++i) {
    Result r = Num("random", {"1", "7"});
    ASSERT_TRUE(r.has_value());
    int value = std::stoi(*r);
    ASSERT_GE(value, 1);
    ASSERT_LE(value, 6);
    seen.insert(*r);
  }
  EXPECT_EQ(seen.size(), 6u);
  for (int i = 0; i < 1000; ++i) {
    int64_t value = std::stoll(*Num("random", {kMin, kMax}));
    ASSERT_GE(value, -2147483648LL);
    ASSERT_LT(value, 2147483520LL);
  }
}

TEST_F(NumFamilyTest, ReportsAnUnknownOperation) {
  for (const std::string operation : {"nosuch", "", "Compute"}) {
    SCOPED_TRACE(operation);
    engine().context.last_error.clear();
    EXPECT_EQ(Num(operation, {"1"}), kNoResult);
    EXPECT_NE(engine().context.last_error.find(message::kUnknownCommand), std::string::npos)
        << engine().context.last_error;
  }
}

}  // namespace
}  // namespace ixo
