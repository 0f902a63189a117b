// Conditions: comparison clauses joined by AND (byte 8) and OR (byte 9),
// combined strictly from left to right without precedence.
#pragma once

#include <string_view>

namespace ixo {

class Engine;

inline constexpr size_t kMaxClauseLength = 2499;
inline constexpr int kMaxClauses = 24;

// The truth of a nested condition. An empty condition or a clause with two
// comparison bytes is reported; an over-long clause or too many clauses give false.
bool EvaluateCondition(Engine& engine, std::string_view text);

// The variant used by "num" "eval": 1 or 0, 0 for an empty text, -2 for an
// over-long clause or too many clauses; a malformed clause counts as true. Never reports.
int EvaluateConditionCode(std::string_view text);

}  // namespace ixo
