#include "engine/script_source.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "engine/script_charset.h"
#include "engine/script_file.h"
#include "engine/tokens.h"

namespace ixo::source {
namespace {

using token::kAnd;
using token::kClose;
using token::kCondition;
using token::kEqual;
using token::kGreater;
using token::kGreaterOrEqual;
using token::kLess;
using token::kLessOrEqual;
using token::kNestClose;
using token::kNestOpen;
using token::kNotEqual;
using token::kOpen;
using token::kOr;
using token::kSeparator;

// Builds a byte string from text pieces and single token bytes, so that test data
// never depends on where a C++ "\x.." escape happens to end.
struct Piece {
  Piece(const char* text) : bytes(text) {}                          // NOLINT: implicit on purpose
  Piece(unsigned char byte) : bytes(1, static_cast<char>(byte)) {}  // NOLINT: implicit on purpose
  std::string bytes;
};

std::string Bytes(std::initializer_list<Piece> pieces) {
  std::string bytes;
  for (const Piece& piece : pieces) bytes += piece.bytes;
  return bytes;
}

// Readable form of a byte string for failure messages.
std::string Show(std::string_view bytes) {
  std::string shown;
  for (unsigned char byte : bytes) {
    if (byte >= 32 && byte < 127) {
      shown += static_cast<char>(byte);
    } else {
      shown += "<" + std::to_string(byte) + ">";
    }
  }
  return shown;
}

std::string AssembleOneLine(std::string_view source) {
  AssembleResult result = Assemble(source, "test.ixs");
  if (result.error) {
    ADD_FAILURE() << "assembling [" << source << "]: " << result.error->ToString();
    return "";
  }
  if (result.lines.size() != 1) {
    ADD_FAILURE() << "assembling [" << source << "] gave " << result.lines.size() << " lines";
    return "";
  }
  return result.lines[0];
}

// Source in canonical spelling and the script line it stands for: both directions hold.
struct CanonicalCase {
  const char* source;
  std::string bytes;
};

TEST(ScriptSourceTest, CanonicalSourceAndBytesTranslateBothWays) {
  const std::vector<CanonicalCase> cases = {
      // Commands and keyword paths.
      {"event.load()", Bytes({"event", kSeparator, "load", kOpen, kClose})},
      {"window.main.width(200)", Bytes({"window", kSeparator, "main", kSeparator, "width", kOpen, "200", kClose})},
      {"function.fact(n)", Bytes({"function", kSeparator, "fact", kOpen, "n", kClose})},
      {"a.b.c(x,y, z)",
       Bytes({"a", kSeparator, "b", kSeparator, "c", kOpen, "x", kSeparator, "y", kSeparator, " z", kClose})},
      {"f(,)", Bytes({"f", kOpen, kSeparator, kClose})},
      {"()", Bytes({kOpen, kClose})},
      {"a..b", Bytes({"a", kSeparator, kSeparator, "b"})},
      {"else", "else"},
      {"f(1.5)", Bytes({"f", kOpen, "1.5", kClose})},
      // Parentheses inside parameters.
      {"&n = num.compute((1+2)*3)",
       Bytes({"&n=num", kSeparator, "compute", kOpen, kOpen, "1+2", kClose, "*3", kClose})},
      {"f((a,b))", Bytes({"f", kOpen, kOpen, "a", kSeparator, "b", kClose, kClose})},
      // Labels.
      {"&f = s({fact(5)})", Bytes({"&f=s", kOpen, kNestOpen, "fact", kOpen, "5", kClose, kNestClose, kClose})},
      {"&list[{&i}] = x", Bytes({"&list[", kNestOpen, "&i", kNestClose, "]=x"})},
      {"&a =", "&a="},
      {"& = x", "&=x"},
      {"&a = =b", "&a==b"},
      {"&a = &b", "&a=&b"},
      {"&a = //x", "&a=//x"},
      {"& a\\  = \\ x", "& a = x"},
      {"&a(b).c,d = e", "&a(b).c,d=e"},
      // Nested expressions.
      {"s({&t[2]},{&t[]},{&_p})",
       Bytes({"s", kOpen, kNestOpen, "&t[2]", kNestClose, kSeparator, kNestOpen, "&t[]", kNestClose, kSeparator,
              kNestOpen, "&_p", kNestClose, kClose})},
      {"f({?(a,b)})", Bytes({"f", kOpen, kNestOpen, "?", kOpen, "a", kSeparator, "b", kClose, kNestClose, kClose})},
      {"f({?})", Bytes({"f", kOpen, kNestOpen, "?", kNestClose, kClose})},
      {"f({})", Bytes({"f", kOpen, kNestOpen, kNestClose, kClose})},
      {"{&obj}.show()", Bytes({kNestOpen, "&obj", kNestClose, kSeparator, "show", kOpen, kClose})},
      {"f({&a(b).c,d})", Bytes({"f", kOpen, kNestOpen, "&a(b).c,d", kNestClose, kClose})},
      {"f({ x})", Bytes({"f", kOpen, kNestOpen, " x", kNestClose, kClose})},
      // Conditions.
      {"if({? {&n} = 9})",
       Bytes({"if", kOpen, kNestOpen, kCondition, kNestOpen, "&n", kNestClose, kEqual, "9", kNestClose, kClose})},
      {"if({? A < B && C = D})",
       Bytes({"if", kOpen, kNestOpen, kCondition, "A", kLess, "B", kAnd, "C", kEqual, "D", kNestClose, kClose})},
      {"if({? a <> b || c <= d && e >= f || g > h})",
       Bytes({"if", kOpen, kNestOpen, kCondition, "a", kNotEqual, "b", kOr, "c", kLessOrEqual, "d", kAnd, "e",
              kGreaterOrEqual, "f", kOr, "g", kGreater, "h", kNestClose, kClose})},
      {"if({? {&x} = })",
       Bytes({"if", kOpen, kNestOpen, kCondition, kNestOpen, "&x", kNestClose, kEqual, kNestClose, kClose})},
      {"if({?  = })", Bytes({"if", kOpen, kNestOpen, kCondition, kEqual, kNestClose, kClose})},
      {"if({? {&flag}})",
       Bytes({"if", kOpen, kNestOpen, kCondition, kNestOpen, "&flag", kNestClose, kNestClose, kClose})},
      {"if({? two words = a(b),c.d})",
       Bytes({"if", kOpen, kNestOpen, kCondition, "two words", kEqual, "a(b),c.d", kNestClose, kClose})},
      {"if({? \\ a\\  = \\ })", Bytes({"if", kOpen, kNestOpen, kCondition, " a ", kEqual, " ", kNestClose, kClose})},
      {"if({? a\\=\\<\\>\\&\\| = b})",
       Bytes({"if", kOpen, kNestOpen, kCondition, "a=<>&|", kEqual, "b", kNestClose, kClose})},
      // Characters that would act as syntax where they stand.
      {"system.message(nine\\, as expected)",
       Bytes({"system", kSeparator, "message", kOpen, "nine, as expected", kClose})},
      {"f(\\(\\)\\{\\}\\\\)", Bytes({"f", kOpen, "(){}\\", kClose})},
      {"a\\.b\\(\\)c,d", "a.b()c,d"},
      {"\\&x", "&x"},
      {"\\//x", "//x"},
      {"/x", "/x"},
      {"\\ x", " x"},
      {"x\\ ", "x "},
      {"\\ ", " "},
      {"f({\\? x})", Bytes({"f", kOpen, kNestOpen, "? x", kNestClose, kClose})},
      // Token bytes where the grammar does not place them.
      {"\\x08x", "\bx"},
      {"f\\x8Fx", Bytes({"f", kOpen, "x"})},
      {"f(a\\x90b)", Bytes({"f", kOpen, "a", kClose, "b", kClose})},
      {"f(\\x8Fa)", Bytes({"f", kOpen, kOpen, "a", kClose})},
      {"f(\\x90)", Bytes({"f", kOpen, kClose, kClose})},
      {"f\\x8Fa.b", Bytes({"f", kOpen, "a", kSeparator, "b"})},
      {"x\\x90", Bytes({"x", kClose})},
      {"f(\\x0E)", Bytes({"f", kOpen, kNestOpen, kClose})},
      {"f(\\x0F{a})", Bytes({"f", kOpen, kNestClose, kNestOpen, "a", kNestClose, kClose})},
      {"f({\\x10})", Bytes({"f", kOpen, kNestOpen, kCondition, kNestClose, kClose})},
      {"f({\\x10a\\x04\\x04b})",
       Bytes({"f", kOpen, kNestOpen, kCondition, "a", kEqual, kEqual, "b", kNestClose, kClose})},
      {"f({\\x10\\x08a})", Bytes({"f", kOpen, kNestOpen, kCondition, kAnd, "a", kNestClose, kClose})},
      {"f(a\\x04\\x08)", Bytes({"f", kOpen, "a", kEqual, kAnd, kClose})},
      {"if({? a\\x8E\\x8F = b})",
       Bytes({"if", kOpen, kNestOpen, kCondition, "a", kSeparator, kOpen, kEqual, "b", kNestClose, kClose})},
      {"f({&a\\x8E})", Bytes({"f", kOpen, kNestOpen, "&a", kSeparator, kNestClose, kClose})},
      {"\\x7F\\x80\\x9F", "\x7F\x80\x9F"},
      // Latin-1 letters are written as themselves.
      {"f(\xC3\xA9\xC2\xA0\xC3\xBF)", Bytes({"f", kOpen, "\xE9\xA0\xFF", kClose})},
  };
  for (const CanonicalCase& test : cases) {
    SCOPED_TRACE(test.source);
    EXPECT_EQ(Show(AssembleOneLine(test.source)), Show(test.bytes));
    EXPECT_EQ(DisassembleLine(test.bytes), test.source);
  }
}

// Source that assembles but is not in canonical spelling.
struct SpellingCase {
  const char* source;
  const char* canonical;
};

TEST(ScriptSourceTest, AssembledSourceComesBackInCanonicalSpelling) {
  const std::vector<SpellingCase> cases = {
      {" \t  event.load()", "event.load()"},
      {"&n=num.compute(1)", "&n = num.compute(1)"},
      {"&n   =   x", "&n = x"},
      {"&n = ", "&n ="},
      {"if({?   {&n}=9   &&a<>b})", "if({? {&n} = 9 && a <> b})"},
      {"if({? a   b   <   c d  })", "if({? a   b < c d})"},
      {"\\x4a\\x4A\\q", "JJq"},
      {"f(\\.)", "f(.)"},
      {"f({\\&x})", "f({&x})"},  // a nest that starts with "&" is a variable reference either way
      {"x ", "x\\ "},
      {" \\ x", "\\ x"},
      {"f(\xC5\xBD)", "f(,)"},  // Windows-1252 "Ž" is byte 142, the separator
      {"\xE2\x82\xAC", "\\x80"},
  };
  for (const SpellingCase& test : cases) {
    SCOPED_TRACE(test.source);
    EXPECT_EQ(DisassembleLine(AssembleOneLine(test.source)), test.canonical);
  }
}

TEST(ScriptSourceTest, LinesCommentsAndLineBreaks) {
  const std::string source =
      "\xEF\xBB\xBF"  // byte order mark
      "event.load()\r\n"
      "\n"
      "   \t \r\n"
      "  // comment with } and ( and \\\n"
      "  \\// not a comment\n"
      "  f(x)\r\n"
      "last";
  AssembleResult result = Assemble(source, "lines.ixs");
  ASSERT_FALSE(result.error) << result.error->ToString();
  const std::vector<std::string> expected = {Bytes({"event", kSeparator, "load", kOpen, kClose}), "// not a comment",
                                             Bytes({"f", kOpen, "x", kClose}), "last"};
  EXPECT_EQ(result.lines, expected);
  EXPECT_EQ(Disassemble(result.lines), "event.load()\n\\// not a comment\nf(x)\nlast\n");
  EXPECT_TRUE(Assemble("", "empty.ixs").lines.empty());
}

struct ErrorCase {
  const char* source;
  int line;
  int column;
  const char* message;  // a part of the message
};

TEST(ScriptSourceTest, ErrorsNameLineAndColumn) {
  const std::vector<ErrorCase> cases = {
      {"f(a", 1, 2, "'(' without ')'"},
      {"f((1+2)*3", 1, 2, "'(' without ')'"},
      {"f(a(b)", 1, 2, "'(' without ')'"},
      {"f(a(b", 1, 4, "'(' without ')'"},
      {"f(a))", 1, 5, "')' without '('"},
      {"f)", 1, 2, "')' without '('"},
      {"f(a)b", 1, 5, "text after the ')'"},
      {"f(a}", 1, 4, "'}' without '{'"},
      {"f}", 1, 2, "'}' without '{'"},
      {"f({a)", 1, 5, "')' without '('"},
      {"f({a", 1, 3, "'{' without '}'"},
      {"f({g(a})", 1, 5, "'(' without ')'"},
      {"f({g(a)b})", 1, 8, "text after the ')'"},
      {"{&a", 1, 1, "'{' without '}'"},
      {"if({? a = b)", 1, 4, "'{' without '}'"},
      {"if({? a == b})", 1, 10, "'==' is not an operator"},
      {"if({? a =< b})", 1, 10, "'=<' is not an operator"},
      {"if({? a = b = c})", 1, 13, "compares only once"},
      {"if({? a = b & c})", 1, 13, "a single '&'"},
      {"if({? a = b | c})", 1, 13, "a single '|'"},
      {"if({? })", 1, 7, "clause is empty"},
      {"if({? a = b && })", 1, 16, "clause is empty"},
      {"if({? && a})", 1, 7, "clause is empty"},
      {"&abc", 1, 1, "needs '='"},
      {"  &abc", 1, 3, "needs '='"},
      {"&a\\= = b", 1, 3, "label name cannot contain '='"},
      {"&a\\x3D = b", 1, 3, "label name cannot contain '='"},
      {"&a{b=c} = d", 1, 5, "label name cannot contain '='"},
      {"&a} = b", 1, 3, "'}' without '{'"},
      {"f(\\x4)", 1, 3, "two hexadecimal digits"},
      {"f(\\xG0)", 1, 3, "two hexadecimal digits"},
      {"f\\", 1, 2, "escapes nothing"},
      {"f(\\x00)", 1, 3, "0x00"},
      {"f(\\x0A)", 1, 3, "0x0A"},
      {"f(\\x0d)", 1, 3, "0x0D"},
      {"a\rb", 1, 2, "0x0D"},
      // Columns count characters, not bytes.
      {"f(\xC3\xA9\xC3\xA9\xE2\x82\xAC\xC4\x80)", 1, 6, "U+0100 has no Windows-1252 byte"},
      {"f(\xC2\x81)", 1, 3, "U+0081 has no Windows-1252 byte"},
      {"f(\xC3\xA9\xFF)", 1, 4, "invalid UTF-8"},
      {"f(\xC0\xAF)", 1, 3, "invalid UTF-8"},       // overlong "/"
      {"f(\xED\xA0\x80)", 1, 3, "invalid UTF-8"},   // surrogate
      {"f(\xF0\x9F\x98\x80)", 1, 3, "U+1F600"},
      // Line numbers count every line, also blank ones, comments and indentation.
      {"a()\n\n// c\n  b(x\n", 4, 4, "'(' without ')'"},
      {"a()\r\nb)\r\n", 2, 2, "')' without '('"},
  };
  for (const ErrorCase& test : cases) {
    SCOPED_TRACE(test.source);
    AssembleResult result = Assemble(test.source, "bad.ixs");
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->file, "bad.ixs");
    EXPECT_EQ(result.error->line, test.line);
    EXPECT_EQ(result.error->column, test.column);
    EXPECT_NE(result.error->message.find(test.message), std::string::npos) << result.error->message;
    EXPECT_TRUE(result.lines.empty());
  }
}

TEST(ScriptSourceTest, NulInsideSourceTextIsAnError) {
  // A C string cannot carry the NUL of the table above past its first byte.
  AssembleResult result = Assemble(std::string_view("a\0b", 3), "nul.ixs");
  ASSERT_TRUE(result.error.has_value());
  EXPECT_EQ(result.error->column, 2);
}

TEST(ScriptSourceTest, ErrorToStringNamesFileLineAndColumn) {
  AssembleResult result = Assemble("ok()\n  f(a\n", "dir/script.ixs");
  ASSERT_TRUE(result.error.has_value());
  EXPECT_EQ(result.error->ToString(), "dir/script.ixs:2:4: '(' without ')'");
}

TEST(ScriptSourceTest, WindowsCharactersBecomeTheirBytes) {
  // Every character of Windows-1252 0x80-0x9F, in byte order, and the five undefined bytes.
  const std::string characters = "\xE2\x82\xAC\xE2\x80\x9A\xC6\x92\xE2\x80\x9E\xE2\x80\xA6\xE2\x80\xA0\xE2\x80\xA1"
                                 "\xCB\x86\xE2\x80\xB0\xC5\xA0\xE2\x80\xB9\xC5\x92\xC5\xBD"
                                 "\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA2\xE2\x80\x93\xE2\x80\x94"
                                 "\xCB\x9C\xE2\x84\xA2\xC5\xA1\xE2\x80\xBA\xC5\x93\xC5\xBE\xC5\xB8";
  const std::string defined_bytes = "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"
                                    "\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F";
  EXPECT_EQ(Show(AssembleOneLine("\\{" + characters)), Show("{" + defined_bytes));
  EXPECT_EQ(Show(AssembleOneLine("\\x81\\x8D\\x8F\\x90\\x9D")), Show("\x81\x8D\x8F\x90\x9D"));
  EXPECT_EQ(DisassembleLine("\x81\x8D\x80"), "\\x81\\x8D\\x80");
}

TEST(ScriptSourceTest, NestingDepthIsLimited) {
  const auto nested_source = [](int depth) {
    const size_t count = static_cast<size_t>(depth);
    return "f(" + std::string(count, '{') + "x" + std::string(count, '}') + ")";
  };
  EXPECT_FALSE(Assemble(nested_source(kMaxNestingDepth), "deep.ixs").error);
  AssembleResult too_deep = Assemble(nested_source(kMaxNestingDepth + 1), "deep.ixs");
  ASSERT_TRUE(too_deep.error.has_value());
  EXPECT_EQ(too_deep.error->column, 3 + kMaxNestingDepth);

  // Deeper nests in a script line are written as escapes and still come back.
  const size_t depth = kMaxNestingDepth + 5;
  const std::string line = "f" + std::string(depth, static_cast<char>(kNestOpen)) + "x" +
                           std::string(depth, static_cast<char>(kNestClose));
  const std::string source = DisassembleLine(line);
  EXPECT_NE(source.find("{\\x0E\\x0E\\x0E\\x0E\\x0Ex\\x0F\\x0F\\x0F\\x0F\\x0F}"), std::string::npos) << source;
  EXPECT_EQ(AssembleOneLine(source), line);
}

TEST(ScriptSourceTest, WholeScriptSurvivesTheScriptFile) {
  const std::string source =
      "event.load()\n"
      "  &n = num.compute((1+2)*3)\n"
      "  if({? {&n} = 9})\n"
      "    system.message(nine\\, as expected)\n"
      "  if.end()\n"
      "event.end()\n";
  AssembleResult result = Assemble(source, "script.ixs");
  ASSERT_FALSE(result.error) << result.error->ToString();
  const std::vector<std::string> loaded = DecodeScriptFile(EncodeScriptFile(result.lines));
  EXPECT_EQ(loaded, result.lines);
  EXPECT_EQ(Disassemble(loaded),
            "event.load()\n&n = num.compute((1+2)*3)\nif({? {&n} = 9})\nsystem.message(nine\\, as expected)\n"
            "if.end()\nevent.end()\n");
}

// Random script lines. Bytes are drawn mostly from those that take part in the
// grammar or need escapes, so that odd arrangements of them are common.
class LineGenerator {
 public:
  explicit LineGenerator(uint32_t seed) : random_(seed) {}

  std::string RandomBytes(size_t length) {
    static constexpr unsigned char kInteresting[] = {
        kSeparator, kOpen,  kClose, kNestOpen, kNestClose, kCondition, kNotEqual, kLess, kGreater, kEqual,
        kLessOrEqual, kGreaterOrEqual, kAnd, kOr, '&', '=', '(', ')', ',', '.', '{', '}', '\\', ' ', '?',
        '<', '>', '|', '/', 'x', 'a', 0xA0, 0xE9, 0x80, 0x7F, '\t'};
    std::string line;
    while (line.size() < length) {
      unsigned char byte =
          Chance(3, 4) ? kInteresting[Below(sizeof kInteresting)] : static_cast<unsigned char>(1 + Below(255));
      if (byte == '\r' || byte == '\n') byte = 'b';
      line += static_cast<char>(byte);
    }
    return line;
  }

  // A well-formed line: optional label, then a command with nested expressions and
  // conditions. Plain text includes characters that need backslashes, but no token bytes.
  std::string WellFormedLine() {
    std::string line;
    if (Chance(1, 4)) line += "&" + Text(false) + "=";
    return line + Command(0);
  }

  // A well-formed line with a few bytes replaced, inserted or removed.
  std::string MutatedLine() {
    std::string line = WellFormedLine();
    const int edits = 1 + static_cast<int>(Below(3));
    for (int edit = 0; edit < edits && !line.empty(); ++edit) {
      const size_t at = Below(line.size());
      const std::string byte = RandomBytes(1);
      switch (Below(3)) {
        case 0:
          line[at] = byte[0];
          break;
        case 1:
          line.insert(at, byte);
          break;
        default:
          line.erase(at, 1);
      }
    }
    return line.empty() ? "x" : line;
  }

  size_t Below(size_t limit) { return std::uniform_int_distribution<size_t>(0, limit - 1)(random_); }
  bool Chance(size_t numerator, size_t denominator) { return Below(denominator) < numerator; }

 private:
  // Plain text; it starts with a letter so that it never begins a label, a variable
  // reference or a condition. Label names must not contain "=".
  std::string Text(bool allow_equals) {
    static constexpr const char* kCharacters[] = {"a", "b", "7", " ", ".", ",", "(", ")", "{", "}", "\\", "&",
                                                  "|", "<", ">", "?", "/", "[", "]", "\xE9", "\xA0", "="};
    std::string text = "k";
    const size_t length = Below(6);
    const size_t choices = std::size(kCharacters) - (allow_equals ? 0 : 1);
    for (size_t index = 0; index < length; ++index) text += kCharacters[Below(choices)];
    return text;
  }

  std::string Nest(int depth) {
    std::string content;
    switch (Below(3)) {
      case 0:
        content = "&" + Text(true);
        if (Chance(1, 3)) content += Nest(depth + 1) + Text(true);
        break;
      case 1:
        content = Condition(depth);
        break;
      default:
        content = Command(depth + 1);
    }
    return static_cast<char>(kNestOpen) + content + static_cast<char>(kNestClose);
  }

  std::string Operand(int depth) {
    if (depth < 4 && Chance(1, 3)) return Nest(depth + 1);
    return Text(true);
  }

  std::string Condition(int depth) {
    static constexpr unsigned char kComparisons[] = {kNotEqual, kLess, kGreater, kEqual, kLessOrEqual, kGreaterOrEqual};
    std::string condition(1, static_cast<char>(kCondition));
    const size_t clauses = 1 + Below(3);
    for (size_t clause = 0; clause < clauses; ++clause) {
      if (clause > 0) condition += static_cast<char>(Chance(1, 2) ? kAnd : kOr);
      condition += Operand(depth);
      if (Chance(3, 4)) condition += static_cast<char>(kComparisons[Below(6)]) + Operand(depth);
    }
    return condition;
  }

  std::string Parameter(int depth) {
    std::string parameter;
    const size_t parts = Below(4);
    for (size_t part = 0; part < parts; ++part) {
      if (depth < 4 && Chance(1, 3)) {
        parameter += Nest(depth + 1);
      } else if (Chance(1, 4)) {
        parameter += static_cast<char>(kOpen) + Parameter(depth + 1) + static_cast<char>(kClose);
      } else {
        parameter += Text(true);
      }
    }
    return parameter;
  }

  std::string Command(int depth) {
    std::string command = Text(true);
    const size_t more_parts = Below(3);
    for (size_t part = 0; part < more_parts; ++part) command += static_cast<char>(kSeparator) + Text(true);
    if (Chance(1, 8)) return command;
    command += static_cast<char>(kOpen);
    const size_t parameters = Below(4);
    for (size_t index = 0; index < parameters; ++index) {
      if (index > 0) command += static_cast<char>(kSeparator);
      command += Parameter(depth);
    }
    return command + static_cast<char>(kClose);
  }

  std::mt19937 random_;
};

// Canonical source is printable UTF-8 on one line: control bytes are always escapes.
void ExpectPrintableOneLine(const std::string& source) {
  for (size_t at = 0; at < source.size(); ++at) {
    const unsigned char byte = static_cast<unsigned char>(source[at]);
    ASSERT_TRUE(byte >= 32 && byte != 127) << "control byte " << int{byte} << " in " << source;
    if (byte == 0xC2) {
      ASSERT_GE(static_cast<unsigned char>(source[at + 1]), 0xA0) << "C1 control in " << source;
    }
  }
}

void ExpectRoundTrip(const std::string& line) {
  const std::string source = DisassembleLine(line);
  AssembleResult result = Assemble(source, "random.ixs");
  ASSERT_FALSE(result.error) << Show(line) << "\n" << source << "\n" << result.error->ToString();
  ASSERT_EQ(result.lines.size(), 1u) << Show(line) << "\n" << source;
  ASSERT_EQ(Show(result.lines[0]), Show(line)) << source;
  ASSERT_EQ(DisassembleLine(result.lines[0]), source);
  ExpectPrintableOneLine(source);
}

TEST(ScriptSourceTest, RandomByteLinesRoundTrip) {
  LineGenerator generator(20240611);
  for (int count = 0; count < 4000; ++count) {
    const size_t length = generator.Chance(1, 10) ? 1 + generator.Below(3000) : 1 + generator.Below(60);
    const std::string line = generator.RandomBytes(length);
    ExpectRoundTrip(line);
    if (HasFatalFailure()) return;
  }
}

TEST(ScriptSourceTest, MutatedWellFormedLinesRoundTrip) {
  LineGenerator generator(77);
  for (int count = 0; count < 4000; ++count) {
    ExpectRoundTrip(generator.MutatedLine());
    if (HasFatalFailure()) return;
  }
}

TEST(ScriptSourceTest, WellFormedLinesUseTheStructuredSpelling) {
  LineGenerator generator(5);
  for (int count = 0; count < 3000; ++count) {
    const std::string line = generator.WellFormedLine();
    ExpectRoundTrip(line);
    if (HasFatalFailure()) return;
    // The generator places every token byte where the grammar expects it.
    ASSERT_EQ(DisassembleLine(line).find("\\x"), std::string::npos) << Show(line) << "\n" << DisassembleLine(line);
  }
}

}  // namespace
}  // namespace ixo::source

namespace ixo::source {
namespace {

TEST(TextConversionTest, ScriptTextAndUtf8TranslateBothWays) {
  struct Case {
    std::string script;
    std::string utf8;
  };
  for (const Case& c : {Case{"plain", "plain"}, Case{std::string("\0a", 2), std::string("\0a", 2)},
                        Case{"caf\xE9", "caf\xC3\xA9"}, Case{"\x80 5", "\xE2\x82\xAC 5"},
                        Case{"\x99\xFF", "\xE2\x84\xA2\xC3\xBF"}}) {
    EXPECT_EQ(WindowsTextToUtf8(c.script), c.utf8);
    EXPECT_EQ(Utf8ToWindowsText(c.utf8), c.script);
  }
  EXPECT_EQ(WindowsTextToUtf8("\x81"), "\xEF\xBF\xBD") << "an undefined byte";
  EXPECT_EQ(Utf8ToWindowsText("\xE4\xB8\xAD|\xFF|"), "?|?|") << "no such character, a broken byte";
}

}  // namespace
}  // namespace ixo::source
