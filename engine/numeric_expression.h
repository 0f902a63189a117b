// Numeric expressions: integer arithmetic with + - * / and parentheses (bytes
// 143 and 144), the way every numeric parameter of every family is read.
#pragma once

#include <cstdint>
#include <string_view>

namespace ixo {

// True when text is non-empty, holds only digits, + - * / and the parenthesis
// bytes, and at least one digit. Blanks make it false.
bool IsNumericExpression(std::string_view text);

// The value of the expression, or fallback when text is empty or holds a byte
// the language does not allow. Operands are single-precision values; the
// operators are applied in four left-to-right passes (* then / then - then +)
// and the result is truncated toward zero. Division by zero gives 0.
int32_t EvaluateNumber(std::string_view text, int32_t fallback);

// Longest parenthesized sub-expression; a longer one makes the whole text invalid.
inline constexpr size_t kMaxParenthesized = 1023;

}  // namespace ixo
