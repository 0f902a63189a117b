// Script lines to canonical source. The line is first given its structure: the
// label, the nested expressions (matched 14/15 pairs), the keyword path and the
// parameter list of every command, the clauses of every condition. Token bytes that
// take part in that structure are written in their syntax; every other byte is
// written so that the assembler reads it back as a plain byte, escaping it where it
// would otherwise act as syntax.
#include <cstdio>
#include <string>
#include <vector>

#include "engine/script_charset.h"
#include "engine/script_source.h"
#include "engine/tokens.h"

namespace ixo::source {

namespace {

constexpr int kUnmatched = -1;

bool IsConnector(unsigned char byte) { return byte == token::kAnd || byte == token::kOr; }

const char* ComparisonSpelling(unsigned char byte) {
  switch (byte) {
    case token::kNotEqual:
      return "<>";
    case token::kLess:
      return "<";
    case token::kGreater:
      return ">";
    case token::kEqual:
      return "=";
    case token::kLessOrEqual:
      return "<=";
    default:
      return ">=";
  }
}

// Where a run of plain bytes stands; it decides which characters need a backslash.
enum class TextPlace {
  kPath,        // keyword path: "." is the separator, "(" opens the parameters
  kParameters,  // parameter list: "," separates, "(" and ")" are parentheses
  kOperand,     // condition operand: "=", "<", ">", "&&", "||" are operators
  kVariable,    // variable name after "{&"
  kLabelName,   // label name between "&" and "="
};

// Where a command stands; it decides how its first byte must be written.
enum class CommandPlace { kLine, kAfterLabel, kNest };

class LineDisassembler {
 public:
  explicit LineDisassembler(std::string_view line)
      : line_(line),
        nest_partner_(line.size(), kUnmatched),
        paren_matched_(line.size(), false),
        needs_backslash_(line.size(), false) {}

  std::string Run() {
    const size_t equals = line_.find('=');
    if (!line_.empty() && line_[0] == token::kVariable && equals != std::string_view::npos) {
      WriteLabel(equals);
    } else {
      MatchNests(0, line_.size());
      WriteCommand(0, line_.size(), CommandPlace::kLine);
    }
    return std::move(out_);
  }

 private:
  unsigned char At(size_t index) const { return static_cast<unsigned char>(line_[index]); }

  // Index after the byte at `index`, skipping a whole nested expression.
  size_t Next(size_t index) const {
    return nest_partner_[index] != kUnmatched ? static_cast<size_t>(nest_partner_[index]) + 1 : index + 1;
  }

  // Pairs 14 with 15 like brackets. Pairs nested deeper than the assembler accepts
  // stay unmatched and are written as escapes.
  void MatchNests(size_t begin, size_t end) {
    std::vector<size_t> open;
    for (size_t index = begin; index < end; ++index) {
      if (At(index) == token::kNestOpen) {
        open.push_back(index);
      } else if (At(index) == token::kNestClose && !open.empty()) {
        nest_partner_[open.back()] = static_cast<int>(index);
        nest_partner_[index] = static_cast<int>(open.back());
        open.pop_back();
      }
    }
    int depth = 0;
    for (size_t index = begin; index < end; ++index) {
      if (nest_partner_[index] == kUnmatched) continue;
      if (At(index) == token::kNestOpen) {
        if (depth == kMaxNestingDepth) {
          nest_partner_[nest_partner_[index]] = kUnmatched;
          nest_partner_[index] = kUnmatched;
        } else {
          ++depth;
        }
      } else {
        --depth;
      }
    }
  }

  // Pairs the parentheses 143/144 of a parameter list outside nested expressions.
  void MatchParentheses(size_t begin, size_t end) {
    std::vector<size_t> open;
    for (size_t index = begin; index < end; index = Next(index)) {
      if (nest_partner_[index] != kUnmatched) continue;
      if (At(index) == token::kOpen) {
        open.push_back(index);
      } else if (At(index) == token::kClose && !open.empty()) {
        paren_matched_[open.back()] = true;
        paren_matched_[index] = true;
        open.pop_back();
      }
    }
  }

  // "&NAME = COMMAND". The name ends at the first "=", so it never holds one.
  void WriteLabel(size_t equals) {
    MatchNests(1, equals);
    MatchNests(equals + 1, line_.size());
    if (equals > 1 && At(equals - 1) == ' ') needs_backslash_[equals - 1] = true;
    out_ += '&';
    WriteText(1, equals, TextPlace::kLabelName);
    out_ += " =";
    if (equals + 1 == line_.size()) return;
    out_ += ' ';
    WriteCommand(equals + 1, line_.size(), CommandPlace::kAfterLabel);
  }

  // A command is written as PATH(PARAMETERS) when its first 143 outside nested
  // expressions opens a list that the last byte, 144, closes. Otherwise the whole
  // command is a keyword path and its 143/144 bytes are escapes.
  void WriteCommand(size_t begin, size_t end, CommandPlace place) {
    MarkCommandEdges(begin, end, place);
    size_t open = begin;
    while (open < end && (nest_partner_[open] != kUnmatched || At(open) != token::kOpen)) open = Next(open);
    if (open + 1 < end && At(end - 1) == token::kClose) {
      WriteText(begin, open, TextPlace::kPath);
      out_ += '(';
      MatchParentheses(open + 1, end - 1);
      WriteText(open + 1, end - 1, TextPlace::kParameters);
      out_ += ')';
    } else {
      WriteText(begin, end, TextPlace::kPath);
    }
  }

  // The first byte of a command could be taken for indentation, a comment, a label or
  // the "{? " of a condition; a blank ending a line could be lost to an editor. (A nest
  // whose first byte is "&" is always written as a variable reference.)
  void MarkCommandEdges(size_t begin, size_t end, CommandPlace place) {
    if (begin == end) return;
    const unsigned char first = At(begin);
    const bool followed_by = begin + 1 < end;
    switch (place) {
      case CommandPlace::kLine:
        needs_backslash_[begin] = first == ' ' || first == '&' || (first == '/' && followed_by && At(begin + 1) == '/');
        break;
      case CommandPlace::kAfterLabel:
        needs_backslash_[begin] = first == ' ';
        break;
      case CommandPlace::kNest:
        needs_backslash_[begin] = first == '?' && followed_by && At(begin + 1) == ' ';
        break;
    }
    if (place != CommandPlace::kNest && At(end - 1) == ' ') needs_backslash_[end - 1] = true;
  }

  void WriteNest(size_t open) {
    const size_t close = static_cast<size_t>(nest_partner_[open]);
    const size_t begin = open + 1;
    if (begin < close && At(begin) == token::kCondition && IsWellFormedCondition(begin + 1, close)) {
      WriteCondition(begin + 1, close);
    } else if (begin < close && At(begin) == token::kVariable) {
      out_ += "{&";
      WriteText(begin + 1, close, TextPlace::kVariable);
      out_ += '}';
    } else {
      out_ += '{';
      WriteCommand(begin, close, CommandPlace::kNest);
      out_ += '}';
    }
  }

  // Clauses joined by 8/9; a clause holds at most one comparison and is not empty.
  bool IsWellFormedCondition(size_t begin, size_t end) const {
    int comparisons = 0;
    bool clause_has_bytes = false;
    for (size_t index = begin; index < end; index = Next(index)) {
      const bool plain = nest_partner_[index] == kUnmatched;
      if (plain && token::IsComparison(At(index))) {
        if (++comparisons > 1) return false;
      } else if (plain && IsConnector(At(index))) {
        if (comparisons == 0 && !clause_has_bytes) return false;
        comparisons = 0;
        clause_has_bytes = false;
      } else {
        clause_has_bytes = true;
      }
    }
    return comparisons > 0 || clause_has_bytes;
  }

  void WriteCondition(size_t begin, size_t end) {
    out_ += "{? ";
    size_t operand_begin = begin;
    for (size_t index = begin; index < end; index = Next(index)) {
      if (nest_partner_[index] != kUnmatched) continue;
      const unsigned char byte = At(index);
      if (!token::IsComparison(byte) && !IsConnector(byte)) continue;
      WriteOperand(operand_begin, index);
      out_ += ' ';
      out_ += token::IsComparison(byte) ? ComparisonSpelling(byte) : byte == token::kAnd ? "&&" : "||";
      out_ += ' ';
      operand_begin = index + 1;
    }
    WriteOperand(operand_begin, end);
    out_ += '}';
  }

  // Blanks at the edges of an operand would be taken for spacing around operators.
  void WriteOperand(size_t begin, size_t end) {
    if (begin == end) return;
    if (At(begin) == ' ') needs_backslash_[begin] = true;
    if (At(end - 1) == ' ') needs_backslash_[end - 1] = true;
    WriteText(begin, end, TextPlace::kOperand);
  }

  void WriteText(size_t begin, size_t end, TextPlace place) {
    for (size_t index = begin; index < end; index = Next(index)) {
      if (nest_partner_[index] != kUnmatched) {
        WriteNest(index);
      } else {
        WriteByte(index, place);
      }
    }
  }

  void WriteByte(size_t index, TextPlace place) {
    const unsigned char byte = At(index);
    if (needs_backslash_[index] || IsSyntaxCharacter(byte, place)) {
      out_ += '\\';
      out_ += static_cast<char>(byte);
      return;
    }
    if (byte == token::kSeparator && place == TextPlace::kPath) {
      out_ += '.';
    } else if (byte == token::kSeparator && place == TextPlace::kParameters) {
      out_ += ',';
    } else if ((byte == token::kOpen || byte == token::kClose) && paren_matched_[index]) {
      out_ += byte == token::kOpen ? '(' : ')';
    } else if (byte < 32 || (byte >= 127 && byte < 160)) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      out_ += escape;
    } else if (byte >= 160) {
      AppendLatin1AsUtf8(byte, out_);
    } else {
      out_ += static_cast<char>(byte);
    }
  }

  // Printable characters that the assembler would read as syntax at this place.
  static bool IsSyntaxCharacter(unsigned char byte, TextPlace place) {
    switch (byte) {
      case '\\':
      case '{':
      case '}':
        return true;
      case '.':
        return place == TextPlace::kPath;
      case '(':
      case ')':
        return place == TextPlace::kPath || place == TextPlace::kParameters;
      case ',':
        return place == TextPlace::kParameters;
      case '=':
      case '<':
      case '>':
      case '&':
      case '|':
        return place == TextPlace::kOperand;
      default:
        return false;
    }
  }

  std::string_view line_;
  std::vector<int> nest_partner_;      // index of the matching 14/15, or kUnmatched
  std::vector<bool> paren_matched_;    // 143/144 that are parentheses of a parameter list
  std::vector<bool> needs_backslash_;  // printable bytes that must be escaped where they stand
  std::string out_;
};

}  // namespace

std::string DisassembleLine(std::string_view line) { return LineDisassembler(line).Run(); }

}  // namespace ixo::source
