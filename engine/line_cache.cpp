#include "engine/line_cache.h"

#include "engine/engine.h"
#include "engine/line_evaluation.h"
#include "engine/tokens.h"

namespace ixo {

namespace {

template <typename Slots>
uint8_t CountUsed(const Slots& slots) {
  uint8_t used = static_cast<uint8_t>(slots.size());
  while (used > 0 && slots[used - 1].empty()) --used;
  return used;
}

}  // namespace

Result LineCache::Run(Engine& engine, int line) {
  if (lines_.size() != static_cast<size_t>(engine.script.line_count())) lines_.resize(engine.script.line_count());
  DecodedLine& decoded = lines_[line];
  engine.context.evaluation_start = -1;  // the command is the whole line
  switch (decoded.state) {
    case DecodedLine::State::kDecoded:
      CopyIntoSlots(engine, decoded);
      return DispatchTo(engine, decoded.handler);
    case DecodedLine::State::kEvaluated:
      return EvaluateLine(engine, engine.context.work_buffer, true);
    case DecodedLine::State::kUnknown:
      break;
  }
  const std::string& text = engine.script.line(line).text;
  if (text.find(static_cast<char>(token::kNestOpen)) != std::string::npos) {
    decoded.state = DecodedLine::State::kEvaluated;
    return EvaluateLine(engine, engine.context.work_buffer, true);
  }
  // A malformed line is split the long way every time, so that it is reported every time.
  if (SplitCommand(engine, text)) Remember(engine, decoded);
  else decoded.state = DecodedLine::State::kEvaluated;
  return Dispatch(engine);
}

void LineCache::Remember(Engine& engine, DecodedLine& decoded) {
  const CommandSlots& slots = engine.slots;
  decoded.keyword_count = CountUsed(slots.keyword);
  decoded.parameter_count = CountUsed(slots.parameter);
  decoded.parts.assign(slots.keyword.begin(), slots.keyword.begin() + decoded.keyword_count);
  decoded.parts.insert(decoded.parts.end(), slots.parameter.begin(), slots.parameter.begin() + decoded.parameter_count);
  decoded.handler = engine.families.Find(slots.keyword[0]);
  decoded.state = DecodedLine::State::kDecoded;
}

void LineCache::CopyIntoSlots(Engine& engine, const DecodedLine& decoded) {
  CommandSlots& slots = engine.slots;
  for (int i = 0; i < kKeywordParts; ++i) {
    if (i < decoded.keyword_count) slots.keyword[i] = decoded.parts[i];
    else if (!slots.keyword[i].empty()) slots.keyword[i].clear();
  }
  for (int i = 0; i < kParameters; ++i) {
    if (i < decoded.parameter_count) slots.parameter[i] = decoded.parts[decoded.keyword_count + i];
    else if (!slots.parameter[i].empty()) slots.parameter[i].clear();
  }
}

}  // namespace ixo
