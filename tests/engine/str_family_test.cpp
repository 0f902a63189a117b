#include "engine/str_family.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "tests/support/script_test.h"
#include "engine/messages.h"
#include "engine/structured_search.h"

namespace ixo {
namespace {

constexpr const char* kHuge = "2147483520";

struct StrCase {
  std::string operation;
  std::vector<std::string> parameters;
  Result expected;
};

class StrFamilyTest : public ScriptTest {
 protected:
  // Runs "str" "<operation>" with P1, P2, ... as given and the other slots empty.
  Result Str(const std::string& operation, const std::vector<std::string>& parameters) {
    return Command({"str", operation}, parameters);
  }

  void ExpectCases(const std::vector<StrCase>& cases) {
    for (const StrCase& c : cases) {
      std::string shown = c.operation;
      for (const std::string& p : c.parameters) shown += " [" + p + "]";
      SCOPED_TRACE(shown);
      EXPECT_EQ(Str(c.operation, c.parameters), c.expected);
    }
  }

};

TEST_F(StrFamilyTest, CutsPartsOfTheText) {
  ExpectCases({
      {"sub", {"hello", "1", "3"}, "ell"},
      {"sub", {"hello", "1"}, "e"},
      {"sub", {"hello", "3", "9"}, "lo"},
      {"sub", {"hello", "5", "2"}, ""},
      {"sub", {"hello", "6", "1"}, kNoResult},
      {"sub", {"hello", kHuge, "1"}, kNoResult},
      {"sub", {"hello", "3", kHuge}, "lo"},
      {"sub", {"hello", "-3", "2"}, "he"},
      {"sub", {"hello", "2", "-1"}, ""},
      {"sub", {"", "0", "1"}, ""},
      {"left", {"hello", "2"}, "he"},
      {"left", {"hello", "9"}, "hello"},
      {"left", {"hello", kHuge}, "hello"},
      {"left", {"hello", "-1"}, ""},
      {"left", {"hello"}, ""},
      {"right", {"hello", "2"}, "llo"},
      {"right", {"hello", "5"}, ""},
      // A count past the end gives the whole text.
      {"right", {"hello", "9"}, "hello"},
      {"right", {"hello", kHuge}, "hello"},
      {"right", {"hello", "-1"}, "hello"},
      {"right", {"hello"}, "hello"},
  });
}

TEST_F(StrFamilyTest, MeasuresAndConvertsBytes) {
  ExpectCases({
      {"len", {"hello"}, "5"},
      {"len", {""}, "0"},
      {"len", {"\xC3\xA9"}, "2"},
      {"char", {"65"}, "A"},
      {"char", {"200"}, "\xC8"},
      {"char", {"-56"}, "\xC8"},
      {"char", {"321"}, "A"},
      {"char", {"0"}, ""},
      {"char", {"256"}, ""},
      {"char", {""}, ""},
  });
}

TEST_F(StrFamilyTest, ChangesCaseOfAsciiLettersAndTrimsControlBytes) {
  ExpectCases({
      {"lower", {"Hello WORLD 1\xC9"}, "hello world 1\xC9"},
      {"upper", {"Hello world 1\xE9"}, "HELLO WORLD 1\xE9"},
      {"trim", {"\x01 \t hi there \r\n "}, "hi there"},
      {"trim", {"   "}, ""},
      {"trim", {"!x!"}, "!x!"},
      {"trim", {"\x7F" "a\xA0"}, "\x7F" "a\xA0"},
  });
}

TEST_F(StrFamilyTest, FindsPatterns) {
  ExpectCases({
      {"pos", {"Hello World", "world", "0"}, "6"},
      {"pos", {"Hello World", "world", "1"}, kNoResult},
      {"pos", {"Hello World", "World", "1"}, "6"},
      {"pos", {"Hello World", "WORLD", "01"}, "6"},
      {"pos", {"Hello World", "o", "", "4"}, "4"},
      {"pos", {"Hello World", "o", "", "5"}, "7"},
      {"pos", {"Hello World", "o", "", "-5"}, "4"},
      {"pos", {"Hello World", "", ""}, kNoResult},
      {"pos", {"Hello World", "d", "", "11"}, kNoResult},
      {"pos", {"Hello World", "d", "", "12"}, kNoResult},
      {"pos", {"Hello World", "d", "", kHuge}, kNoResult},
      {"pos", {"ab", "abc", ""}, kNoResult},
  });
}

TEST_F(StrFamilyTest, PosexReadsItsFlagsFromTheParameters) {
  // P1 text, P2 pattern, P3 case flag, P4 start, then one flag per structure.
  ExpectCases({
      {"posex", {"a(b,c),c", ",", "", "", "", "", "1"}, "6"},
      {"posex", {"a(b,c),c", ",", "", ""}, "3"},
      {"posex", {"a\"b,c\",c", ",", "", "", "1"}, "6"},
      {"posex", {"a'b,c',c", ",", "", "", "0", "1"}, "6"},
      {"posex", {"a{b,c},c", ",", "", "", "", "", "", "1"}, "6"},
      {"posex", {"a[b,c],c", ",", "", "", "", "", "", "", "1"}, "6"},
      {"posex", {"a<b,c>,c", ",", "", "", "", "", "", "", "", "1"}, "6"},
      {"posex", {"a,B,b", "b", "1", "2"}, "4"},
      {"posex", {"a,B,b", "b", "", "2"}, "2"},
      {"posex", {"a,b,c", "x", ""}, kNoResult},
      // An unclosed group reports the position of its bracket.
      {"posex", {"ab(c,d", ",", "", "", "", "", "1"}, "-2"},
  });
}

TEST_F(StrFamilyTest, ReplacesEveryOccurrenceIgnoringCase) {
  ExpectCases({
      {"replace", {"aAa", "a", "b"}, "bbb"},
      {"replace", {"Hello hello", "HELLO", "x"}, "x x"},
      {"replace", {"aaa", "aa", "b"}, "ba"},
      {"replace", {"abc", "b", ""}, "ac"},
      {"replace", {"aa", "a", "aA"}, "aAaA"},
      {"replace", {"text", "", "x"}, "text"},
      {"replace", {"text", "xyz", "q"}, "text"},
  });
}

TEST_F(StrFamilyTest, ReportsAnUnknownOperation) {
  for (const std::string operation : {"nosuch", "", "POS"}) {
    SCOPED_TRACE(operation);
    engine().context.last_error.clear();
    EXPECT_EQ(Str(operation, {"abc"}), kNoResult);
    EXPECT_NE(engine().context.last_error.find(message::kUnknownCommand), std::string::npos)
        << engine().context.last_error;
  }
}

// Flags written as the opening bytes of the enabled structures, e.g. "\"(".
StructureFlags Flags(std::string_view enabled) {
  auto has = [&](char c) { return enabled.find(c) != std::string_view::npos; };
  return {.double_quote = has('"'),
          .single_quote = has('\''),
          .parenthesis = has('('),
          .brace = has('{'),
          .bracket = has('['),
          .angle_bracket = has('<')};
}

struct SearchCase {
  std::string text;
  std::string pattern;
  std::string flags;
  int start;
  int expected;
};

TEST(StructuredSearchTest, StepsOverEnabledStructures) {
  const std::vector<SearchCase> cases = {
      {"a(b,c),c", ",", "(", 0, 6},
      {"a(b,c),c", ",", "", 0, 3},
      {"x\"a,b\",c", ",", "\"", 0, 6},
      {"'a,b',c", ",", "'", 0, 5},
      {"[a,b],c", ",", "[", 0, 5},
      {"{a,b},c", ",", "{", 0, 5},
      {"<a,b>,c", ",", "<", 0, 5},
      {"((a,b),c),d", ",", "(", 0, 9},
      // A pattern on an opening byte matches before the structure is skipped.
      {"a(b)", "(", "(", 0, 1},
      {"(a)b)", ")", "(", 0, 4},
      // Other structures inside a group are structures too, in both directions.
      {"(a{)}b),x", ",", "({", 0, 7},
      {"(a\")\"),x", ",", "(\"", 0, 6},
      {"ab\"a(\",x", ",", "\"", 0, 6},
      // A single quote inside double quotes still opens a structure.
      {"ab\"'\"',\",x", ",", "\"'", 0, 8},
      // The start may lie inside a structure.
      {"a(b,c)d,e", ",", "(", 3, 3},
      {"a,b,c", ",", "", 2, 3},
      {"a,b,c", ",", "", -3, 1},
      {"a,b,c", ",", "", 5, -1},
      {"a,b,c", ",", "", 6, -1},
      {"abc", "cd", "", 0, -1},
      {"abc", "", "", 0, -1},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE("[" + c.text + "] [" + c.pattern + "] flags [" + c.flags + "] from " + std::to_string(c.start));
    EXPECT_EQ(StructuredSearch(c.text, c.pattern, true, c.start, Flags(c.flags)), c.expected);
  }
}

TEST(StructuredSearchTest, MarksUnbalancedStructuresByTheirPosition) {
  const std::vector<SearchCase> cases = {
      {"ab)c,", ",", "(", 0, -2},
      {"ab(c,d", ",", "(", 0, -2},
      {"ab\"c,d", ",", "\"", 0, -2},
      {"ab(c(d),e", ",", "(", 0, -6},
      {"a(b,c)d,e", ",", "(", 4, -5},
      // A group that never closes inside a quote leaves the quote without partner.
      {"ab\"a(\",x", ",", "\"(", 0, -2},
      {"(a)b)", ",", "(", 0, -4},
      {"(a\")\"),x", ",", "(", 0, -5},
      // Angle brackets may not nest.
      {"xy<a<b>>,x", ",", "<", 0, -4},
      // At positions 0 and 1 the mark would read as a match or as "not found".
      {"(a,b", ",", "(", 0, -1},
      {"a(,b", ",", "(", 0, -1},
      {"\"a,b", ",", "\"", 0, -1},
  };
  for (const SearchCase& c : cases) {
    SCOPED_TRACE("[" + c.text + "] [" + c.pattern + "] flags [" + c.flags + "] from " + std::to_string(c.start));
    EXPECT_EQ(StructuredSearch(c.text, c.pattern, true, c.start, Flags(c.flags)), c.expected);
  }
}

TEST(StructuredSearchTest, ComparesInLowerCaseUnlessCaseSensitive) {
  EXPECT_EQ(StructuredSearch("A(B)b", "B", false, 0, Flags("(")), 4);
  EXPECT_EQ(StructuredSearch("A(B)x", "B", true, 0, Flags("(")), -1);
  EXPECT_EQ(StructuredSearch("xY(z)Xy", "XY", false, 0, Flags("(")), 0);
  EXPECT_EQ(StructuredSearch("xY(z)Xy", "Xy", true, 0, Flags("(")), 5);
}

TEST(StructuredSearchTest, HandlesLongDeeplyNestedTextsQuickly) {
  const size_t depth = 150000;
  std::string nested = std::string(depth, '(') + "," + std::string(depth, ')') + ",";
  EXPECT_EQ(StructuredSearch(nested, ",", true, 0, Flags("\"'({[<")), static_cast<int>(2 * depth + 1));

  std::string unclosed = std::string(depth, '(') + ",";
  EXPECT_EQ(StructuredSearch(unclosed, ",", true, 0, Flags("(")), -static_cast<int>(depth - 1));

  // A long group inside many others: each step must not search the rest of the text again.
  std::string braces = std::string(1000, '(') + std::string(50000, '{') + std::string(50000, '}') +
                       std::string(1000, ')') + ",";
  EXPECT_EQ(StructuredSearch(braces, ",", true, 0, Flags("({")), static_cast<int>(braces.size() - 1));

  std::string quotes(300000, '"');
  EXPECT_EQ(StructuredSearch(quotes + "'", "x", true, 0, Flags("\"'")), -static_cast<int>(quotes.size()));
}

// The search as it reads step by step: each skip looks for the next opening and
// the next closing byte with two separate searches and takes the nearer one.
// Kept deliberately naive (and slow) to check the real search against.
struct ReferenceOutcome {
  enum Kind { kFound, kUnbalanced, kNone } kind;
  int position;
};

ReferenceOutcome ReferenceSearch(const std::string& text, const std::string& pattern, int start,
                                 StructureFlags flags) {
  struct Kind {
    char open, close;
    bool StructureFlags::*enabled;
  };
  const Kind kinds[] = {{'(', ')', &StructureFlags::parenthesis},
                        {'{', '}', &StructureFlags::brace},
                        {'[', ']', &StructureFlags::bracket},
                        {'<', '>', &StructureFlags::angle_bracket}};
  const int size = static_cast<int>(text.size());
  if (start > size) return {ReferenceOutcome::kNone, 0};
  for (int p = start; p < size; ++p) {
    if (text.compare(p, pattern.size(), pattern) == 0) return {ReferenceOutcome::kFound, p};
    for (auto [quote, enabled] : {std::pair{'"', &StructureFlags::double_quote},
                                  std::pair{'\'', &StructureFlags::single_quote}}) {
      if (!(flags.*enabled) || text[p] != quote) continue;
      StructureFlags inner = flags;
      inner.*enabled = false;
      ReferenceOutcome closing = ReferenceSearch(text, std::string(1, quote), p + 1, inner);
      if (closing.kind != ReferenceOutcome::kFound) return {ReferenceOutcome::kUnbalanced, p};
      p = closing.position;
    }
    for (const Kind& kind : kinds) {
      if (!(flags.*kind.enabled)) continue;
      if (text[p] == kind.close) return {ReferenceOutcome::kUnbalanced, p};
      if (text[p] != kind.open) continue;
      StructureFlags inner = flags;
      inner.*kind.enabled = false;
      int depth = 1;
      while (depth > 0) {
        ReferenceOutcome open = ReferenceSearch(text, std::string(1, kind.open), p + 1, inner);
        ReferenceOutcome close = ReferenceSearch(text, std::string(1, kind.close), p + 1, inner);
        bool has_open = open.kind == ReferenceOutcome::kFound;
        bool has_close = close.kind == ReferenceOutcome::kFound;
        if (!has_open && !has_close) return {ReferenceOutcome::kUnbalanced, p};
        if (has_open && (!has_close || open.position < close.position)) {
          p = open.position;
          if (++depth > 1 && kind.open == '<') return {ReferenceOutcome::kUnbalanced, p};
        } else {
          p = close.position;
          --depth;
        }
      }
    }
  }
  return {ReferenceOutcome::kNone, 0};
}

TEST(StructuredSearchTest, AgreesWithTheStepByStepSearchOnRandomTexts) {
  std::mt19937 generator(20240601);
  const std::string alphabet = "ab,\"'(){}[]<>";
  const std::vector<std::string> patterns = {",", "a", "(", ")", "\"", "'", "<", "a,", "()"};
  for (int round = 0; round < 30000; ++round) {
    std::string text;
    for (int n = std::uniform_int_distribution(0, 12)(generator); n > 0; --n)
      text += alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(generator)];
    const std::string& pattern = patterns[std::uniform_int_distribution<size_t>(0, patterns.size() - 1)(generator)];
    unsigned bits = std::uniform_int_distribution(0, 63)(generator);
    StructureFlags flags{.double_quote = (bits & 1) != 0,
                         .single_quote = (bits & 2) != 0,
                         .parenthesis = (bits & 4) != 0,
                         .brace = (bits & 8) != 0,
                         .bracket = (bits & 16) != 0,
                         .angle_bracket = (bits & 32) != 0};
    int start = std::uniform_int_distribution(-1, static_cast<int>(text.size()) + 1)(generator);

    ReferenceOutcome reference = ReferenceSearch(text, pattern, std::max(start, 0), flags);
    int expected = -1;
    if (reference.kind == ReferenceOutcome::kFound) expected = reference.position;
    if (reference.kind == ReferenceOutcome::kUnbalanced && reference.position > 1) expected = -reference.position;
    ASSERT_EQ(StructuredSearch(text, pattern, true, start, flags), expected)
        << "[" << text << "] [" << pattern << "] flags " << bits << " from " << start;
  }
}

}  // namespace
}  // namespace ixo
