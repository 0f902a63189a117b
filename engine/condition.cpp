#include "engine/condition.h"

#include "engine/ascii_case.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/tokens.h"

namespace ixo {

namespace {

enum class ClauseValue { kFalse, kTrue, kMalformed };

bool Compare(unsigned char op, int order) {
  switch (op) {
    case token::kNotEqual: return order != 0;
    case token::kLess: return order < 0;
    case token::kGreater: return order > 0;
    case token::kEqual: return order == 0;
    case token::kLessOrEqual: return order <= 0;
    default: return order >= 0;
  }
}

ClauseValue EvaluateClause(std::string_view clause) {
  if (clause.empty()) return ClauseValue::kFalse;
  size_t op_at = std::string_view::npos;
  for (size_t i = 0; i < clause.size(); ++i) {
    if (!token::IsComparison(static_cast<unsigned char>(clause[i]))) continue;
    if (op_at != std::string_view::npos) return ClauseValue::kMalformed;
    op_at = i;
  }
  if (op_at == std::string_view::npos) return clause == "1" ? ClauseValue::kTrue : ClauseValue::kFalse;
  std::string_view a = clause.substr(0, op_at);
  std::string_view b = clause.substr(op_at + 1);
  int order;
  if (IsNumericExpression(a) && IsNumericExpression(b)) {
    int32_t x = EvaluateNumber(a, 0), y = EvaluateNumber(b, 0);
    order = x == y ? 0 : (x < y ? -1 : 1);
  } else {
    order = CompareIgnoringCase(a, b);
  }
  return Compare(static_cast<unsigned char>(clause[op_at]), order) ? ClauseValue::kTrue : ClauseValue::kFalse;
}

enum class ConditionOutcome { kTrue, kFalse, kTooLong, kMalformed };

// Cuts at the connectors and combines clause values from left to right.
// malformed_is_true selects the "num" "eval" reading of a malformed clause.
ConditionOutcome Combine(std::string_view text, bool malformed_is_true) {
  bool result = false;
  bool malformed = false;
  unsigned char connector = 0;
  int clauses = 0;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    unsigned char byte = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    bool at_end = i == text.size();
    if (!at_end && byte != token::kAnd && byte != token::kOr) continue;
    std::string_view clause = text.substr(start, i - start);
    if (clause.size() > kMaxClauseLength || ++clauses > kMaxClauses) return ConditionOutcome::kTooLong;
    ClauseValue value = EvaluateClause(clause);
    if (value == ClauseValue::kMalformed) malformed = true;
    bool truth = value == ClauseValue::kTrue || (value == ClauseValue::kMalformed && malformed_is_true);
    if (connector == 0) result = truth;
    else if (connector == token::kAnd) result = result && truth;
    else result = result || truth;
    connector = byte;
    start = i + 1;
  }
  if (malformed && !malformed_is_true) return ConditionOutcome::kMalformed;
  return result ? ConditionOutcome::kTrue : ConditionOutcome::kFalse;
}

}  // namespace

bool EvaluateCondition(Engine& engine, std::string_view text) {
  ConditionOutcome outcome = text.empty() ? ConditionOutcome::kMalformed : Combine(text, false);
  if (outcome == ConditionOutcome::kMalformed) ReportError(engine, message::kBadCondition);
  return outcome == ConditionOutcome::kTrue;
}

int EvaluateConditionCode(std::string_view text) {
  if (text.empty()) return 0;
  switch (Combine(text, true)) {
    case ConditionOutcome::kTrue: return 1;
    case ConditionOutcome::kTooLong: return -2;
    default: return 0;
  }
}

}  // namespace ixo
