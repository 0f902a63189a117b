#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "engine/condition.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

// "(" and ")" in these cases stand for the parenthesis bytes 143 and 144.
std::string Tokens(std::string text) {
  for (char& c : text) {
    if (c == '(') c = static_cast<char>(143);
    if (c == ')') c = static_cast<char>(144);
  }
  return text;
}

struct NumberCase {
  const char* text;
  int32_t expected;
};

class EvaluateNumberTest : public testing::TestWithParam<NumberCase> {};

TEST_P(EvaluateNumberTest, GivesTheValueOfTheExpression) {
  EXPECT_EQ(EvaluateNumber(Tokens(GetParam().text), 5), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EvaluateNumberTest,
    testing::Values(NumberCase{"12", 12}, NumberCase{"12a", 5}, NumberCase{"", 5}, NumberCase{"1.5", 5},
                    // Multiplication binds tighter than division, subtraction tighter than addition.
                    NumberCase{"2*3-4/2", 4}, NumberCase{"10-2-3", 5}, NumberCase{"8/2*2", 2},
                    NumberCase{"7/2*2", 1}, NumberCase{"5/0", 0}, NumberCase{"1-2+3", 2}, NumberCase{"2-3*4/6", 0},
                    NumberCase{"5*-3", -15}, NumberCase{"5--3", 8}, NumberCase{"-7", -7},
                    NumberCase{"+5", 5}, NumberCase{"5*+3", 3}, NumberCase{" 1 2 ", 12},
                    NumberCase{"(1+2)*3", 9}, NumberCase{"((2))", 2}, NumberCase{"-(2+3)", -5},
                    // A digit after a parenthesis continues its value.
                    NumberCase{"(1+2)3", 33},
                    // An unclosed parenthesis swallows the rest and keeps the number.
                    NumberCase{"4(1+", 4}, NumberCase{")", 5},
                    // Intermediate quotients keep their fractions; the result is truncated.
                    NumberCase{"-7/2", -3}, NumberCase{"10/4+10/4", 5},
                    // Single precision: large values lose their lowest digits.
                    NumberCase{"16777217", 16777216}, NumberCase{"2147483647", INT32_MIN},
                    NumberCase{"100000*100000", INT32_MIN}));

TEST(EvaluateNumberTest, RefusesOverlongParenthesizedPartsWithoutDeepRecursion) {
  std::string deep(100000, static_cast<char>(143));
  deep += "1";
  deep += std::string(100000, static_cast<char>(144));
  EXPECT_EQ(EvaluateNumber(deep, -9), -9);
  std::string long_list;
  for (int i = 0; i < 1000; ++i) long_list += "1+";
  long_list += "1";
  EXPECT_EQ(EvaluateNumber(long_list, -9), 1001);
}

TEST(IsNumericExpressionTest, AcceptsOnlyDigitsOperatorsAndParentheses) {
  EXPECT_TRUE(IsNumericExpression("12"));
  EXPECT_TRUE(IsNumericExpression(Tokens("-(1+2)")));
  EXPECT_FALSE(IsNumericExpression(""));
  EXPECT_FALSE(IsNumericExpression("-"));
  EXPECT_FALSE(IsNumericExpression(" 12"));
  EXPECT_FALSE(IsNumericExpression("1.5"));
}

TEST(ValueTextTest, WritesNumbersAndFlags) {
  EXPECT_EQ(NumberText(0), "0");
  EXPECT_EQ(NumberText(-42), "-42");
  EXPECT_EQ(NumberText(INT32_MIN), "-2147483648");
  EXPECT_EQ(FlagText(true), "1");
  EXPECT_EQ(FlagText(false), "0");
}

// Conditions in the readable notation: < > = ! (not equal) [ (<=) ] (>=) & (AND) | (OR).
std::string Condition(std::string text) {
  for (char& c : text) {
    switch (c) {
      case '!': c = 1; break;
      case '<': c = 2; break;
      case '>': c = 3; break;
      case '=': c = 4; break;
      case '[': c = 5; break;
      case ']': c = 6; break;
      case '&': c = 8; break;
      case '|': c = 9; break;
    }
  }
  return text;
}

struct ConditionCase {
  const char* text;
  bool expected;
};

class EvaluateConditionTest : public ScriptTest, public testing::WithParamInterface<ConditionCase> {};

TEST_P(EvaluateConditionTest, GivesTheTruthOfTheCondition) {
  EXPECT_EQ(EvaluateCondition(engine(), Condition(GetParam().text)), GetParam().expected) << GetParam().text;
  EXPECT_EQ(engine().context.last_error, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EvaluateConditionTest,
    testing::Values(ConditionCase{"10<9", false}, ConditionCase{"abc<ABD", true}, ConditionCase{"1", true},
                    ConditionCase{"01", false}, ConditionCase{"yes", false}, ConditionCase{"abc=ABC", true},
                    ConditionCase{"ab<abc", true}, ConditionCase{"2*3=6", true}, ConditionCase{"10>9", true},
                    // Text comparison as soon as one side is not numeric.
                    ConditionCase{"10<9x", true}, ConditionCase{"x!y", true}, ConditionCase{"5[5", true},
                    ConditionCase{"4]5", false}, ConditionCase{"a=", false}, ConditionCase{"=", true},
                    // Left to right without precedence: (true OR false) AND true.
                    ConditionCase{"1=1|1=2&2=2", true}, ConditionCase{"1=1|1=1&1=2", false},
                    ConditionCase{"1=2&1=1|1=1", true}, ConditionCase{"1&", false}));

TEST_F(ScriptTest, MalformedAndEmptyConditionsAreReportedAsFalse) {
  for (const char* text : {"", "1=1=1", "1=1&2<3>4"}) {
    engine().context.last_error.clear();
    EXPECT_FALSE(EvaluateCondition(engine(), Condition(text))) << text;
    EXPECT_NE(engine().context.last_error.find("Cannot evaluate conditional expression. Check syntaxe and "
                                               "parenthesis."),
              std::string::npos)
        << text;
  }
}

TEST_F(ScriptTest, OverlongConditionsAreFalseWithoutReport) {
  std::string many_clauses;
  for (int i = 0; i < 25; ++i) many_clauses += (i ? "|" : "") + std::string("1");
  std::string long_clause = "1" + std::string(2499, ' ');
  for (const std::string& text : {many_clauses, long_clause}) {
    EXPECT_FALSE(EvaluateCondition(engine(), Condition(text)));
    EXPECT_EQ(EvaluateConditionCode(Condition(text)), -2);
  }
  EXPECT_EQ(engine().context.last_error, "");
  EXPECT_TRUE(EvaluateCondition(engine(), Condition(many_clauses.substr(2))));  // 24 clauses
}

TEST(EvaluateConditionCodeTest, CountsMalformedClausesAsTrueAndNeverReports) {
  EXPECT_EQ(EvaluateConditionCode(""), 0);
  EXPECT_EQ(EvaluateConditionCode(Condition("1=1=1")), 1);
  EXPECT_EQ(EvaluateConditionCode(Condition("1=2|1=1=1")), 1);
  EXPECT_EQ(EvaluateConditionCode(Condition("1=2")), 0);
}

}  // namespace
}  // namespace ixo
