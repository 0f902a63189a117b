#include "engine/block_scan.h"

#include <string_view>

#include "engine/script_image.h"
#include "engine/tokens.h"

namespace ixo {

namespace {

constexpr int kUnknown = -2;

bool HasAt(std::string_view text, size_t at, std::string_view part) {
  return text.size() >= at + part.size() && text.substr(at, part.size()) == part;
}

bool ByteIs(std::string_view text, size_t at, unsigned char byte) {
  return text.size() > at && static_cast<unsigned char>(text[at]) == byte;
}

// Remembers the answer for a starting line; answers encode an IfScanStop as
// line * 2 + at_else so one table serves every scan.
template <typename Compute>
int Remember(std::vector<int>& cache, int from, int line_count, Compute compute) {
  if (from < 0 || from > line_count) return compute();
  if (cache.empty()) cache.assign(line_count + 1, kUnknown);
  if (cache[from] == kUnknown) cache[from] = compute();
  return cache[from];
}

}  // namespace

void BlockScanner::Reset() {
  while_end_.clear();
  for_next_.clear();
  if_false_.clear();
  else_end_[0].clear();
  else_end_[1].clear();
}

BlockScanner::Kind BlockScanner::Classify(int line) const {
  std::string_view text = script_.line(line).text;
  if (text.starts_with("while")) {
    if (ByteIs(text, 5, token::kOpen)) return Kind::kWhileOpen;
    if (HasAt(text, 6, "end")) return Kind::kWhileEnd;
    return Kind::kOther;
  }
  if (text.starts_with("for")) {
    if (ByteIs(text, 3, token::kOpen)) return Kind::kForOpen;
    if (HasAt(text, 4, "next")) return Kind::kForNext;
    return Kind::kOther;
  }
  if (text.starts_with("if")) {
    if (HasAt(text, 3, "end")) return Kind::kIfEnd;
    if (HasAt(text, 3, "else")) return Kind::kIfElse;
    return Kind::kIfOpen;
  }
  return Kind::kOther;
}

int BlockScanner::ScanLoop(int from, Kind open, Kind close) const {
  int count = 1;
  for (int line = from; line < script_.line_count() - 1; ++line) {
    Kind kind = Classify(line);
    if (kind == open) ++count;
    if (kind == close && --count == 0) return line;
  }
  return kNotFound;
}

IfScanStop BlockScanner::ScanIf(int from, int start_count) const {
  int count = start_count;
  for (int line = from; line < script_.line_count(); ++line) {
    switch (Classify(line)) {
      case Kind::kIfEnd:
        if (--count < start_count) return {line, false};
        break;
      case Kind::kIfElse:
        if (count == 1) return {line, true};
        break;
      case Kind::kIfOpen:
        ++count;
        break;
      default:
        break;
    }
  }
  return {};
}

int BlockScanner::MatchingWhileEnd(int from) {
  return Remember(while_end_, from, script_.line_count(),
                  [&] { return ScanLoop(from, Kind::kWhileOpen, Kind::kWhileEnd); });
}

int BlockScanner::MatchingForNext(int from) {
  return Remember(for_next_, from, script_.line_count(),
                  [&] { return ScanLoop(from, Kind::kForOpen, Kind::kForNext); });
}

IfScanStop BlockScanner::SkipFalseBranch(int from) {
  int encoded = Remember(if_false_, from, script_.line_count(), [&] {
    IfScanStop stop = ScanIf(from, 1);
    return stop.line == kNotFound ? kNotFound : stop.line * 2 + (stop.at_else ? 1 : 0);
  });
  if (encoded == kNotFound) return {};
  return {encoded / 2, encoded % 2 == 1};
}

int BlockScanner::SkipElseBranch(int from, int if_counter) {
  // With a counter above 1 only the relative depth matters, so every such value
  // gives the same answer.
  int start = if_counter == 1 ? 1 : 2;
  if (if_counter < 1) return ScanIf(from, if_counter).line;
  return Remember(else_end_[start - 1], from, script_.line_count(), [&] { return ScanIf(from, start).line; });
}

}  // namespace ixo
