#include "engine/line_evaluation.h"

#include <cstring>

#include "engine/condition.h"
#include "engine/dispatcher.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/tokens.h"
#include "engine/value_text.h"
#include "engine/variables.h"

namespace ixo {

namespace {

using token::kClose;
using token::kNestClose;
using token::kNestOpen;
using token::kOpen;
using token::kSeparator;

// A value that expands to itself would otherwise keep one line evaluating forever.
constexpr int kMaxSubstitutions = 1000000;

unsigned char ByteAt(std::string_view text, size_t i) { return static_cast<unsigned char>(text[i]); }

// The innermost nested expression to evaluate next: the last byte 14 before the
// first byte 15. A missing 15 lets the expression run to the end of the text.
struct NestedSpan {
  size_t open = std::string::npos;
  size_t close = std::string::npos;  // npos: runs to the end
};

NestedSpan FindInnermost(std::string_view text) {
  NestedSpan span;
  const char* begin = text.data();
  const void* close = std::memchr(begin, kNestClose, text.size());
  size_t end = close ? static_cast<const char*>(close) - begin : text.size();
  const void* open = memrchr(begin, kNestOpen, end);
  if (open) span.open = static_cast<const char*>(open) - begin;
  if (close) span.close = end;
  return span;
}

// Splits the keyword path into K1..K6; returns the position after byte 143, or
// the text's end when there is none. Reports a path of more than six parts and
// clears well_formed.
size_t SplitKeywordPath(Engine& engine, std::string_view text, bool& well_formed) {
  auto& keyword = engine.slots.keyword;
  size_t at = 0;
  int part = 0;
  bool opened = false;
  while (part < kKeywordParts && at < text.size()) {
    size_t start = at++;  // the first byte of a part is always taken
    while (at < text.size() && ByteAt(text, at) != kSeparator && ByteAt(text, at) != kOpen) ++at;
    keyword[part++].assign(text.substr(start, at - start));
    if (at >= text.size()) break;
    ++at;
    if (ByteAt(text, at - 1) == kOpen) {
      opened = true;
      break;
    }
  }
  for (int i = part; i < kKeywordParts; ++i) keyword[i].clear();
  if (!opened && part == kKeywordParts && at < text.size()) {
    // Parts beyond the sixth have no slot: skip to the parameters and say so.
    size_t open = text.find(static_cast<char>(kOpen), at);
    at = open == std::string_view::npos ? text.size() : open + 1;
    ReportError(engine, message::kSyntax);
    well_formed = false;
  }
  return at;
}

// Splits the parameters into P1..P13 and drops the closing byte 144. A command
// with nothing after 143, or with more than 13 parameters, is reported.
bool SplitParameters(Engine& engine, std::string_view text, size_t at) {
  auto& parameter = engine.slots.parameter;
  int slot = 0;
  bool overflow = false;
  while (true) {
    size_t end = text.find(static_cast<char>(kSeparator), at);
    if (end == std::string_view::npos) end = text.size();
    parameter[slot].assign(text.substr(at, end - at));
    if (end >= text.size()) break;
    at = end + 1;
    if (++slot == kParameters) {
      overflow = true;
      --slot;
      break;
    }
  }
  for (int i = slot + 1; i < kParameters; ++i) parameter[i].clear();
  if (overflow || parameter[slot].empty()) {
    ReportError(engine, message::kSyntax);
    return false;
  }
  parameter[slot].pop_back();
  return true;
}

}  // namespace

bool SplitCommand(Engine& engine, std::string_view text) {
  bool well_formed = true;
  size_t parameters = SplitKeywordPath(engine, text, well_formed);
  return SplitParameters(engine, text, parameters) && well_formed;
}

Result SplitAndDispatch(Engine& engine, std::string_view text) {
  SplitCommand(engine, text);
  return Dispatch(engine);
}

Result EvaluateLine(Engine& engine, std::string& text, bool dispatch) {
  ExecutionContext& context = engine.context;
  for (int substitutions = 0;; ++substitutions) {
    if (substitutions == kMaxSubstitutions) {
      ReportError(engine, message::kEndlessExpansion);
      return kNoResult;
    }
    context.evaluation_start = -1;
    NestedSpan span = FindInnermost(text);
    if (span.open == std::string::npos) break;
    size_t inner_end = span.close == std::string::npos ? text.size() : span.close;
    // A view into the line: nothing below changes the line before it has been read
    // (a nested command is split into the slots before it runs).
    std::string_view inner = std::string_view(text).substr(span.open + 1, inner_end - span.open - 1);

    Result value;
    if (!inner.empty() && ByteAt(inner, 0) == token::kCondition) {
      value = FlagText(EvaluateCondition(engine, inner.substr(1)));
    } else if (!inner.empty() && ByteAt(inner, 0) == token::kVariable) {
      value = ReadVariable(engine, inner.substr(1));
    } else {
      context.evaluation_start = static_cast<int>(span.open);
      context.evaluation_end = static_cast<int>(span.close == std::string::npos ? text.size() - 1 : span.close);
      uint64_t generation = context.run_generation;
      value = SplitAndDispatch(engine, inner);
      if (context.abort_line) {
        context.abort_line = false;
        return kNoResult;
      }
      if (generation != context.run_generation) return kNoResult;
    }

    size_t replaced = (span.close == std::string::npos ? text.size() : span.close + 1) - span.open;
    size_t spliced = value ? value->size() : 0;
    if (text.size() - replaced + spliced >= kWorkBufferSize) {
      ReportError(engine, message::kLineTooLong);
      return kNoResult;
    }
    text.replace(span.open, replaced, value ? *value : std::string());
  }
  if (!dispatch) return text;
  return SplitAndDispatch(engine, text);
}

}  // namespace ixo
