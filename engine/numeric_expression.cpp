#include "engine/numeric_expression.h"

#include <climits>
#include <cmath>
#include <optional>
#include <vector>

#include "engine/tokens.h"

namespace ixo {

namespace {

bool IsDigit(char byte) { return byte >= '0' && byte <= '9'; }

// An expression never has more operands than bytes; a line of the work buffer may
// be long, so the operand list lives on the heap only when it outgrows this.
constexpr size_t kInlineOperands = 32;

class OperandList {
 public:
  void Append(float operand, char op) {
    if (size_ == kInlineOperands && overflow_operands_.empty()) {
      overflow_operands_.assign(operands_, operands_ + size_);
      overflow_ops_.assign(ops_, ops_ + size_);
    }
    if (overflow_operands_.empty()) {
      operands_[size_] = operand;
      ops_[size_] = op;
    } else {
      overflow_operands_.push_back(operand);
      overflow_ops_.push_back(op);
    }
    ++size_;
  }

  // Applies every occurrence of op from left to right, each replacing an operand,
  // its operator and the next operand by the result.
  void Reduce(char op) {
    float* operands = overflow_operands_.empty() ? operands_ : overflow_operands_.data();
    char* ops = overflow_ops_.empty() ? ops_ : overflow_ops_.data();
    size_t kept = 0;
    for (size_t i = 0; i < size_; ++i) {
      if (kept > 0 && ops[kept - 1] == op) {
        operands[kept - 1] = Apply(op, operands[kept - 1], operands[i]);
        ops[kept - 1] = ops[i];
      } else {
        operands[kept] = operands[i];
        ops[kept] = ops[i];
        ++kept;
      }
    }
    size_ = kept;
  }

  float first() const { return overflow_operands_.empty() ? operands_[0] : overflow_operands_[0]; }

 private:
  static float Apply(char op, float left, float right) {
    switch (op) {
      case '*': return left * right;
      case '/': return right == 0.0f ? 0.0f : left / right;
      case '-': return left - right;
      default: return left + right;
    }
  }

  // ops[i] is the operator between operand i and operand i + 1; the last is unused.
  float operands_[kInlineOperands];
  char ops_[kInlineOperands];
  std::vector<float> overflow_operands_;
  std::vector<char> overflow_ops_;
  size_t size_ = 0;
};

// Truncation toward zero; values outside the 32-bit range give the most negative
// integer, as the processor's conversion does.
int32_t TruncateToInt(float value) {
  if (!std::isfinite(value) || value >= 2147483648.0f || value < -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// Position of the 144 that closes the 143 at open, or npos.
size_t MatchingClose(std::string_view text, size_t open) {
  int depth = 0;
  for (size_t i = open; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == token::kOpen) ++depth;
    if (byte == token::kClose && --depth == 0) return i;
  }
  return std::string_view::npos;
}

std::optional<float> EvaluateOrFail(std::string_view text, int32_t fallback);

}  // namespace

bool IsNumericExpression(std::string_view text) {
  bool has_digit = false;
  for (char c : text) {
    unsigned char byte = static_cast<unsigned char>(c);
    if (IsDigit(c)) {
      has_digit = true;
    } else if (c != '+' && c != '-' && c != '*' && c != '/' && byte != token::kOpen && byte != token::kClose) {
      return false;
    }
  }
  return has_digit;
}

int32_t EvaluateNumber(std::string_view text, int32_t fallback) {
  if (text.empty()) return fallback;
  // Plain decimal numbers are by far the most common parameter.
  if (text.size() < 8) {
    int32_t value = 0;
    bool all_digits = true;
    for (char c : text) {
      if (!IsDigit(c)) {
        all_digits = false;
        break;
      }
      value = value * 10 + (c - '0');
    }
    if (all_digits) return value;
  }
  std::optional<float> value = EvaluateOrFail(text, fallback);
  return value ? TruncateToInt(*value) : fallback;
}

namespace {

std::optional<float> EvaluateOrFail(std::string_view text, int32_t fallback) {
  OperandList list;
  uint32_t number = 0;  // unsigned so that long digit runs wrap instead of overflowing
  int32_t sign = 1;
  bool seen_digit = false;
  auto push = [&](char op) {
    int32_t operand = static_cast<int32_t>(static_cast<uint32_t>(sign) * number);
    list.Append(static_cast<float>(operand), op);
    number = 0;
    sign = 1;
    seen_digit = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    unsigned char byte = static_cast<unsigned char>(c);
    if (IsDigit(c)) {
      number = number * 10 + static_cast<uint32_t>(c - '0');
      seen_digit = true;
    } else if (c == ' ') {
      continue;
    } else if (c == '+' || c == '*' || c == '/' || (c == '-' && seen_digit)) {
      push(c);
    } else if (c == '-') {
      sign = -1;
      number = 0;
    } else if (byte == token::kOpen) {
      size_t close = MatchingClose(text, i);
      if (close == std::string_view::npos) break;  // the rest is consumed, the number kept
      std::string_view inner = text.substr(i + 1, close - i - 1);
      if (inner.size() > kMaxParenthesized) return std::nullopt;
      number = static_cast<uint32_t>(EvaluateNumber(inner, fallback));
      seen_digit = true;
      i = close;
    } else {
      return std::nullopt;
    }
  }
  push('+');
  list.Reduce('*');
  list.Reduce('/');
  list.Reduce('-');
  list.Reduce('+');
  return list.first();
}

}  // namespace

}  // namespace ixo
