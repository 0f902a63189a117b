// Source text to script lines. Each source line is read by a small recursive
// descent over its characters; the readers append the bytes they produce to the
// line being built and stop at the first error.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/script_charset.h"
#include "engine/script_source.h"
#include "engine/tokens.h"

namespace ixo::source {

namespace {

// A source character with its column. A malformed UTF-8 byte has no character.
struct SourceChar {
  std::optional<char32_t> character;
  int column = 0;
};

std::vector<SourceChar> DecodeLine(std::string_view text) {
  std::vector<SourceChar> chars;
  int column = 1;
  while (!text.empty()) {
    Utf8Character decoded = DecodeUtf8(text);
    chars.push_back({decoded.character, column++});
    text.remove_prefix(decoded.length);
  }
  return chars;
}

std::string HexByte(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

std::string CodePointName(char32_t character) {
  char text[16];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(character));
  return text;
}

int HexDigitValue(std::optional<char32_t> character) {
  if (!character) return -1;
  if (*character >= '0' && *character <= '9') return static_cast<int>(*character - '0');
  if (*character >= 'a' && *character <= 'f') return static_cast<int>(*character - 'a' + 10);
  if (*character >= 'A' && *character <= 'F') return static_cast<int>(*character - 'A' + 10);
  return -1;
}

struct Failure {
  int column = 0;
  std::string message;
};

// Reads one source line (indentation removed) into one script line.
class LineAssembler {
 public:
  explicit LineAssembler(std::vector<SourceChar> chars) : chars_(std::move(chars)) {}

  bool Run(std::string& out) {
    if (Peek() == '&') return ReadLabel(out);
    return ReadCommand(/*in_nest=*/false, out);
  }

  const Failure& failure() const { return failure_; }

 private:
  bool AtEnd() const { return pos_ >= chars_.size(); }

  // The character `ahead` places further on; 0 past the end or for a malformed byte, which
  // no reader treats as syntax.
  char32_t Peek(size_t ahead = 0) const {
    if (pos_ + ahead >= chars_.size()) return 0;
    return chars_[pos_ + ahead].character.value_or(0);
  }

  int Column() const { return AtEnd() ? (chars_.empty() ? 1 : chars_.back().column + 1) : chars_[pos_].column; }

  bool Fail(int column, std::string message) {
    failure_ = {column, std::move(message)};
    return false;
  }

  // A plain character or an escape: appends its byte, which never acts as syntax.
  bool ReadLiteral(std::string& out) {
    const int column = Column();
    std::optional<unsigned char> byte;
    if (Peek() == '\\' && Peek(1) == 'x') {
      const int high = HexDigitValue(Peek(2));
      const int low = HexDigitValue(Peek(3));
      if (high < 0 || low < 0) return Fail(column, "'\\x' needs two hexadecimal digits");
      byte = static_cast<unsigned char>(high * 16 + low);
      pos_ += 4;
    } else {
      if (Peek() == '\\') {
        ++pos_;
        if (AtEnd()) return Fail(column, "'\\' at the end of the line escapes nothing");
      }
      byte = ByteOfCurrent();
      if (!byte) return false;
      ++pos_;
    }
    if (*byte == 0 || *byte == '\r' || *byte == '\n')
      return Fail(column, "a script line cannot hold the byte " + HexByte(*byte));
    if (in_label_name_ && *byte == '=') return Fail(column, "a label name cannot contain '='");
    out += static_cast<char>(*byte);
    return true;
  }

  std::optional<unsigned char> ByteOfCurrent() {
    const std::optional<char32_t> character = chars_[pos_].character;
    if (!character) {
      Fail(Column(), "invalid UTF-8");
      return std::nullopt;
    }
    const std::optional<unsigned char> byte = WindowsByteOf(*character);
    if (!byte) Fail(Column(), "the character " + CodePointName(*character) + " has no Windows-1252 byte");
    return byte;
  }

  // "&NAME = COMMAND": the blanks before and after "=" belong to neither side.
  bool ReadLabel(std::string& out) {
    const int ampersand_column = Column();
    out += static_cast<char>(token::kVariable);
    ++pos_;
    size_t name_end = out.size();  // trailing blanks of the name are dropped
    in_label_name_ = true;
    while (Peek() != '=') {
      if (AtEnd())
        return Fail(ampersand_column,
                    "a line that starts with '&' is a label and needs '='; write '\\&' for the character '&'");
      const char32_t character = Peek();
      if (character == ' ') {
        out += ' ';
        ++pos_;
        continue;
      }
      if (character == '}') return Fail(Column(), "'}' without '{'");
      if (!(character == '{' ? ReadNest(out) : ReadLiteral(out))) return false;
      name_end = out.size();
    }
    in_label_name_ = false;
    out.resize(name_end);
    out += '=';
    ++pos_;
    while (Peek() == ' ') ++pos_;
    return AtEnd() || ReadCommand(/*in_nest=*/false, out);
  }

  // A keyword path, then an optional parameter list that must end the command. In a
  // nested expression the command ends at '}', which is left for ReadNest.
  bool ReadCommand(bool in_nest, std::string& out) {
    while (!AtEnd()) {
      switch (Peek()) {
        case '.':
          out += static_cast<char>(token::kSeparator);
          ++pos_;
          break;
        case '(':
          return ReadParameters(in_nest, out);
        case ')':
          return Fail(Column(), "')' without '('");
        case '{':
          if (!ReadNest(out)) return false;
          break;
        case '}':
          if (in_nest) return true;
          return Fail(Column(), "'}' without '{'");
        default:
          if (!ReadLiteral(out)) return false;
      }
    }
    return true;
  }

  bool ReadParameters(bool in_nest, std::string& out) {
    std::vector<int> open_columns = {Column()};
    out += static_cast<char>(token::kOpen);
    ++pos_;
    while (!open_columns.empty()) {
      if (AtEnd()) return Fail(open_columns.back(), "'(' without ')'");
      switch (Peek()) {
        case '(':
          open_columns.push_back(Column());
          out += static_cast<char>(token::kOpen);
          ++pos_;
          break;
        case ')':
          open_columns.pop_back();
          out += static_cast<char>(token::kClose);
          ++pos_;
          break;
        case ',':
          out += static_cast<char>(token::kSeparator);
          ++pos_;
          break;
        case '{':
          if (!ReadNest(out)) return false;
          break;
        case '}':
          if (in_nest) return Fail(open_columns.back(), "'(' without ')'");
          return Fail(Column(), "'}' without '{'");
        default:
          if (!ReadLiteral(out)) return false;
      }
    }
    // The ')' that closed the list is the last byte of the command.
    if (AtEnd() || (in_nest && Peek() == '}')) return true;
    if (Peek() == ')') return Fail(Column(), "')' without '('");
    return Fail(Column(), "text after the ')' that closes the parameter list; write '\\)' for the character ')'");
  }

  // "{...}": a variable reference "{&...}", a condition "{? ...}" or a command.
  bool ReadNest(std::string& out) {
    const int open_column = Column();
    if (depth_ == kMaxNestingDepth)
      return Fail(open_column, "nested expressions deeper than " + std::to_string(kMaxNestingDepth) + " levels");
    ++depth_;
    ++pos_;
    out += static_cast<char>(token::kNestOpen);
    bool read;
    if (Peek() == '&') {
      out += static_cast<char>(token::kVariable);
      ++pos_;
      read = ReadVariable(out);
    } else if (Peek() == '?' && Peek(1) == ' ') {
      pos_ += 2;
      read = ReadCondition(out);
    } else {
      read = ReadCommand(/*in_nest=*/true, out);
    }
    if (!read) return false;
    if (AtEnd()) return Fail(open_column, "'{' without '}'");
    out += static_cast<char>(token::kNestClose);
    ++pos_;
    --depth_;
    return true;
  }

  bool ReadVariable(std::string& out) {
    while (!AtEnd() && Peek() != '}') {
      if (!(Peek() == '{' ? ReadNest(out) : ReadLiteral(out))) return false;
    }
    return true;
  }

  // Clauses "A op B" or a lone operand, joined by "&&" and "||". Unescaped blanks at
  // the edges of an operand are dropped.
  bool ReadCondition(std::string& out) {
    out += static_cast<char>(token::kCondition);
    size_t clause_start = out.size();
    size_t operand_end = out.size();  // end of the operand without its trailing blanks
    bool operand_started = false;
    int comparisons = 0;
    size_t previous_operator_end = 0;  // position after the last operator read
    std::string previous_operator;
    const auto end_clause = [&](int column) {
      out.resize(operand_end);
      if (comparisons == 0 && out.size() == clause_start) return Fail(column, "a condition clause is empty");
      return true;
    };
    while (!AtEnd()) {
      const char32_t character = Peek();
      const int column = Column();
      if (character == '}') return end_clause(column);
      if (character == ' ') {
        if (operand_started) out += ' ';
        ++pos_;
        continue;
      }
      if (character == '=' || character == '<' || character == '>') {
        const size_t operator_start = pos_;
        const auto [comparison, spelling] = ReadComparison();
        if (comparisons == 1) {
          if (operator_start == previous_operator_end)
            return Fail(column, "'" + previous_operator + spelling + "' is not an operator");
          return Fail(column, "a condition clause compares only once; join clauses with && or ||");
        }
        ++comparisons;
        out.resize(operand_end);
        out += static_cast<char>(comparison);
        previous_operator = spelling;
        previous_operator_end = pos_;
        operand_started = false;
        operand_end = out.size();
        continue;
      }
      if (character == '&' || character == '|') {
        if (Peek(1) != character) {
          const std::string single(1, static_cast<char>(character));
          return Fail(column, "a single '" + single + "' in a condition; write '" + single + single +
                                  "' to join clauses or '\\" + single + "' for the character");
        }
        if (!end_clause(column)) return false;
        out += static_cast<char>(character == '&' ? token::kAnd : token::kOr);
        pos_ += 2;
        clause_start = out.size();
        operand_end = out.size();
        operand_started = false;
        comparisons = 0;
        continue;
      }
      if (!(character == '{' ? ReadNest(out) : ReadLiteral(out))) return false;
      operand_started = true;
      operand_end = out.size();
    }
    return true;
  }

  // Reads "=", "<>", "<", ">", "<=" or ">=" at the current position.
  std::pair<unsigned char, std::string> ReadComparison() {
    const char32_t first = Peek();
    const char32_t second = Peek(1);
    if (first == '<' && second == '>') return Take(token::kNotEqual, "<>");
    if (first == '<' && second == '=') return Take(token::kLessOrEqual, "<=");
    if (first == '>' && second == '=') return Take(token::kGreaterOrEqual, ">=");
    if (first == '<') return Take(token::kLess, "<");
    if (first == '>') return Take(token::kGreater, ">");
    return Take(token::kEqual, "=");
  }

  std::pair<unsigned char, std::string> Take(unsigned char comparison, std::string spelling) {
    pos_ += spelling.size();
    return {comparison, std::move(spelling)};
  }

  std::vector<SourceChar> chars_;
  size_t pos_ = 0;
  int depth_ = 0;
  bool in_label_name_ = false;
  Failure failure_;
};

// Splits the text into lines at LF; a CR before the LF belongs to the line break.
std::vector<std::string_view> SplitSourceLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsIndentation(const SourceChar& source_char) {
  return source_char.character == U' ' || source_char.character == U'\t';
}

}  // namespace

AssembleResult Assemble(std::string_view source_text, std::string_view file_name) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (source_text.starts_with(kByteOrderMark)) source_text.remove_prefix(kByteOrderMark.size());
  AssembleResult result;
  int line_number = 0;
  for (std::string_view text : SplitSourceLines(source_text)) {
    ++line_number;
    std::vector<SourceChar> chars = DecodeLine(text);
    size_t indentation = 0;
    while (indentation < chars.size() && IsIndentation(chars[indentation])) ++indentation;
    chars.erase(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(indentation));
    if (chars.empty()) continue;
    if (chars.size() >= 2 && chars[0].character == U'/' && chars[1].character == U'/') continue;
    LineAssembler assembler(std::move(chars));
    std::string line;
    if (!assembler.Run(line)) {
      result.lines.clear();
      result.error =
          SourceError{std::string(file_name), line_number, assembler.failure().column, assembler.failure().message};
      return result;
    }
    result.lines.push_back(std::move(line));
  }
  return result;
}

}  // namespace ixo::source
