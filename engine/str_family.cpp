#include "engine/str_family.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/ascii_case.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/structured_search.h"
#include "engine/value_text.h"

namespace ixo {

namespace {

int32_t Number(const Engine& engine, int parameter, int32_t fallback = 0) {
  return EvaluateNumber(engine.slots.P(parameter), fallback);
}

// A count or offset read from a parameter; negative values count as 0.
size_t Count(const Engine& engine, int parameter, int32_t fallback = 0) {
  int32_t value = Number(engine, parameter, fallback);
  return value < 0 ? 0 : static_cast<size_t>(value);
}

bool Flag(const Engine& engine, int parameter) { return engine.slots.P(parameter).starts_with('1'); }

Result Sub(Engine& engine) {
  const std::string& text = engine.slots.P(1);
  size_t start = Count(engine, 2);
  if (start > text.size()) return kNoResult;
  return text.substr(start, Count(engine, 3, 1));
}

Result Len(Engine& engine) { return NumberText(static_cast<int32_t>(engine.slots.P(1).size())); }

// The low byte of the code; a zero byte ends a text, so it gives "".
Result Char(Engine& engine) {
  char byte = static_cast<char>(Number(engine, 1) & 0xFF);
  return byte == 0 ? std::string() : std::string(1, byte);
}

// A count past the end leaves the text whole rather than empty.
Result Right(Engine& engine) {
  const std::string& text = engine.slots.P(1);
  size_t count = Count(engine, 2);
  return count > text.size() ? text : text.substr(count);
}

Result Left(Engine& engine) { return engine.slots.P(1).substr(0, Count(engine, 2)); }

Result Lower(Engine& engine) { return LowerAscii(engine.slots.P(1)); }

Result Upper(Engine& engine) { return UpperAscii(engine.slots.P(1)); }

Result Trim(Engine& engine) {
  std::string_view text = engine.slots.P(1);
  auto is_blank = [](char c) { return static_cast<unsigned char>(c) >= 1 && static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// A negative start counts as 0.
Result Pos(Engine& engine) {
  const std::string& pattern = engine.slots.P(2);
  size_t start = Count(engine, 4);
  if (pattern.empty() || start > engine.slots.P(1).size()) return kNoResult;
  size_t found = Flag(engine, 3) ? engine.slots.P(1).find(pattern, start)
                                 : LowerAscii(engine.slots.P(1)).find(LowerAscii(pattern), start);
  if (found == std::string::npos) return kNoResult;
  return NumberText(static_cast<int32_t>(found));
}

Result PosEx(Engine& engine) {
  StructureFlags flags{.double_quote = Flag(engine, 5),
                       .single_quote = Flag(engine, 6),
                       .parenthesis = Flag(engine, 7),
                       .brace = Flag(engine, 8),
                       .bracket = Flag(engine, 9),
                       .angle_bracket = Flag(engine, 10)};
  int found = StructuredSearch(engine.slots.P(1), engine.slots.P(2), Flag(engine, 3), Number(engine, 4), flags);
  if (found == -1) return kNoResult;
  return NumberText(found);
}

// Occurrences are found ignoring case, left to right, without overlapping.
Result Replace(Engine& engine) {
  const std::string& text = engine.slots.P(1);
  const std::string& old_part = engine.slots.P(2);
  const std::string& new_part = engine.slots.P(3);
  if (old_part.empty()) return text;
  std::string folded_text = LowerAscii(text);
  std::string folded_old = LowerAscii(old_part);
  std::string replaced;
  size_t copied = 0;
  for (size_t found = folded_text.find(folded_old); found != std::string::npos;
       found = folded_text.find(folded_old, copied)) {
    replaced.append(text, copied, found - copied);
    replaced += new_part;
    copied = found + old_part.size();
  }
  replaced.append(text, copied);
  return replaced;
}

struct Operation {
  std::string_view name;
  Result (*run)(Engine& engine);
};

constexpr Operation kOperations[] = {
    {"sub", Sub},     {"len", Len},     {"char", Char},   {"right", Right}, {"left", Left},       {"lower", Lower},
    {"upper", Upper}, {"trim", Trim},   {"pos", Pos},     {"posex", PosEx}, {"replace", Replace},
};

}  // namespace

Result StrFamily(Engine& engine) {
  for (const Operation& operation : kOperations)
    if (engine.slots.K(2) == operation.name) return operation.run(engine);
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
