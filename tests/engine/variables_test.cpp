#include <gtest/gtest.h>

#include <string>

#include "engine/variables.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

class VariablesTest : public ScriptTest {
 protected:
  Result Read(const std::string& reference) { return ReadVariable(engine(), reference); }
};

TEST_F(VariablesTest, IndexedWritesGrowArraysAndReadsBeyondGiveEmptyText) {
  AssignVariable(engine(), "a[5]", "v");
  EXPECT_EQ(Read("a[]"), "^^^^^^^^^^v");
  EXPECT_EQ(Read("a[7]"), "");
  EXPECT_EQ(Read("a[2+3]"), "v");
  EXPECT_EQ(Read("a[-1]"), Read("a[]"));
  EXPECT_EQ(Read("a[-2]"), kNoResult);
  EXPECT_EQ(Read("missing"), kNoResult);
  EXPECT_TRUE(reports().empty());
}

TEST_F(VariablesTest, WholeArrayAssignmentRoundTrips) {
  struct Case {
    const char* value;
    int count;
    Result read_back;
  };
  for (const Case& c : {Case{"x^^y^^z", 3, "x^^y^^z"}, Case{"a^^^b", 2, "a^^^b"}, Case{"^^a", 2, "^^a"},
                        Case{"a^^", 1, "a"}, Case{"", 0, kNoResult}}) {
    AssignVariable(engine(), "t[]", c.value);
    EXPECT_EQ(engine().variables.at(engine().variables.Find("t")).elements.size(), static_cast<size_t>(c.count))
        << c.value;
    EXPECT_EQ(Read("t[]"), c.read_back) << c.value;
  }
}

TEST_F(VariablesTest, DynamicNamesFollowEachLeadingUnderscore) {
  AssignVariable(engine(), "p", "arr");
  AssignVariable(engine(), "arr[1]", "one");
  AssignVariable(engine(), "q", "p");
  EXPECT_EQ(Read("_p[1]"), "one");
  EXPECT_EQ(Read("__q[1]"), "one");
  AssignVariable(engine(), "_p[2]", "two");
  EXPECT_EQ(Read("arr[2]"), "two");
  // A name that names itself resolves once per underscore and ends.
  AssignVariable(engine(), "self", "self");
  EXPECT_EQ(Read(std::string(10000, '_') + "self"), "self");
  EXPECT_TRUE(reports().empty());
}

TEST_F(VariablesTest, BadIndexesAndMissingDynamicNamesAreReported) {
  struct Case {
    const char* reference;
    bool write;
    const char* message;
  };
  for (const Case& c : {Case{"a[x]", false, "Invalid variable index"}, Case{"a[x]", true, "Invalid variable index"},
                        Case{"a[-3]", true, "Invalid variable index"},
                        Case{"a[99999999]", true, "Invalid variable index"},
                        Case{"_nobody", false, "Invalid dynamic name."}, Case{"_nobody", true, "Invalid dynamic name."}}) {
    size_t before = reports().size();
    if (c.write) EXPECT_EQ(AssignVariable(engine(), c.reference, "v"), -1) << c.reference;
    else EXPECT_EQ(Read(c.reference), kNoResult) << c.reference;
    ASSERT_EQ(reports().size(), before + 1) << c.reference;
    EXPECT_NE(reports().back().find(c.message), std::string::npos);
  }
  EXPECT_EQ(engine().variables.Find("a"), -1);
}

TEST_F(VariablesTest, LabelsMayComputeTheirTarget) {
  Run(
      "event.initialize()\n"
      "  for(i, 0, 3)\n"
      "    &list[{&i}] = s(item{&i})\n"
      "  for.next()\n"
      "  &copy[] = s({&list[]})\n"
      "event.end()\n");
  EXPECT_EQ(Read("list[]"), "item0^^item1^^item2");
  EXPECT_EQ(Read("copy[2]"), "item2");
}

struct VarCase {
  const char* script;  // lines of the "initialize" event
  const char* variable;
  const char* expected;
};

class VarFamilyTest : public ScriptTest, public testing::WithParamInterface<VarCase> {};

TEST_P(VarFamilyTest, GivesTheExpectedValue) {
  Run(std::string("event.initialize()\n") + GetParam().script + "event.end()\n");
  EXPECT_EQ(Var(GetParam().variable), GetParam().expected) << GetParam().script;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VarFamilyTest,
    testing::Values(
        VarCase{"&t[] = s(x^^y^^z)\n&r = var.array.count(t)\n", "r", "3"},
        VarCase{"&t[] = s()\n&r = var.array.count(t)\n", "r", "0"},
        VarCase{"&r = var.array.count(none)\n", "r", "0"},
        VarCase{"&t[] = s(a^^b^^c)\n&r = var.array.getstring(t,-)\n", "r", "a-b-c"},
        VarCase{"&t[] = s(a^^b^^c)\n&r = var.array.getstring(t)\n", "r", "abc"},
        VarCase{"&t[] = s(a^^b^^c)\nvar.array.clear(t,2)\n&r = s({&t[]})\n", "r", "a^^b"},
        VarCase{"&t[] = s(a^^b^^c)\nvar.array.clear(t)\n&r = s(<{&t[]}>)\n", "r", "<>"},
        VarCase{"&t[] = s(a^^b^^c)\nvar.array.clear(t,3)\n&r = s({&t[]})\n", "r", "a^^b^^c"},
        VarCase{"&t[] = s(a^^b^^c)\nvar.array.remove(t,1)\n&r = s({&t[]})\n", "r", "a^^c"},
        VarCase{"&t = s(only)\nvar.array.remove(t,0)\n&r = var.array.count(t)\n", "r", "1"},
        VarCase{"&t[] = s(a^^c)\nvar.array.insert(t,1,b)\n&r = s({&t[]})\n", "r", "a^^b^^c"},
        VarCase{"var.array.insert(t,2,z)\n&r = s({&t[]})\n", "r", "^^^^z"},
        VarCase{"&t[] = s(B^^a^^C)\nvar.array.sort(t)\n&r = s({&t[]})\n", "r", "a^^B^^C"},
        VarCase{"for(i,0,25)\n  var.inc(c,1,10,0)\nfor.next()\n", "c", "5"},
        VarCase{"for(i,0,25)\n  var.inc(c,1,10)\nfor.next()\n", "c", "10"},
        VarCase{"&c = s(3)\nvar.dec(c,5)\n", "c", "-2"},
        // Counters are read in single precision: past 2^24 an increment of 1 is lost.
        VarCase{"&c = s(16777216)\nvar.inc(c)\nvar.inc(c)\n", "c", "16777217"},
        VarCase{"&a = s(1)\n&b = s(2)\nvar.free(a)\n&r = var.getname(0)\n", "r", "b"},
        VarCase{"&a = s(1)\n&r = var.exists(a)\n&q = var.exists(zz)\n&r = s({&r}{&q})\n", "r", "10"},
        VarCase{"&a = s(1)\n&r = var.count()\n&q = var.count()\n", "q", "2"},
        VarCase{"&a[] = s(x^^y)\n&r = var.get({var.getindex(a)},1)\n", "r", "y"},
        VarCase{"&a = s(1)\nvar.set({var.getindex(a)},3,w)\n&r = s({&a[]})\n", "r", "1^^^^^^w"},
        VarCase{"&r = s(<{var.get(99)}{var.getname(-1)}{var.getindex(nope)}>)\n", "r", "<>"}));

TEST_F(VariablesTest, GetStringCutsAJoinPastItsBufferAndSaysSo) {
  AssignVariable(engine(), "big[]", std::string(200000, 'a') + "^^" + std::string(200000, 'b'));
  Run("event.initialize()\n  &joined = var.array.getstring(big)\nevent.end()\n");
  EXPECT_EQ(Var("joined").size(), 256999u);
  EXPECT_NE(AllReports().find("longer than 256999"), std::string::npos);
}

TEST_F(ScriptTest, UnknownVarSubCommandsAreReported) {
  Run("event.initialize()\n  var.array.shuffle(t)\n  var.nothing()\nevent.end()\n");
  EXPECT_EQ(reports().size(), 2u);
  EXPECT_NE(AllReports().find("Unknown or incomplete command : "), std::string::npos);
}

}  // namespace
}  // namespace ixo
