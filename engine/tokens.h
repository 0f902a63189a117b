// Byte values of the tokenized script form. A command line is the keyword path
// (parts joined by kSeparator), kOpen, the parameters (joined by kSeparator) and kClose.
#pragma once

namespace ixo::token {

inline constexpr unsigned char kSeparator = 142;    // between path parts and between parameters
inline constexpr unsigned char kOpen = 143;         // ends the path; "(" in a numeric expression
inline constexpr unsigned char kClose = 144;        // ends the parameters; ")" in a numeric expression
inline constexpr unsigned char kNestOpen = 14;      // starts a nested expression
inline constexpr unsigned char kNestClose = 15;     // ends a nested expression
inline constexpr unsigned char kCondition = 16;     // first byte of a nested condition
inline constexpr unsigned char kVariable = '&';     // first byte of a nested variable reference
inline constexpr unsigned char kAnd = 8;            // connectors between condition clauses
inline constexpr unsigned char kOr = 9;

// Comparison operators of a condition clause.
inline constexpr unsigned char kNotEqual = 1;
inline constexpr unsigned char kLess = 2;
inline constexpr unsigned char kGreater = 3;
inline constexpr unsigned char kEqual = 4;
inline constexpr unsigned char kLessOrEqual = 5;
inline constexpr unsigned char kGreaterOrEqual = 6;

inline constexpr bool IsComparison(unsigned char byte) { return byte >= kNotEqual && byte <= kGreaterOrEqual; }

}  // namespace ixo::token
