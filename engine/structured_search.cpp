#include "engine/structured_search.h"

#include <string>

#include "engine/ascii_case.h"

namespace ixo {

namespace {

struct StructureKind {
  char open;
  char close;  // the same byte as open for quotes
  bool StructureFlags::*enabled;
  int max_depth;  // quotes: 1 (no nesting inside a quote of the same kind)
};

constexpr StructureKind kKinds[] = {
    {'"', '"', &StructureFlags::double_quote, 1},   {'\'', '\'', &StructureFlags::single_quote, 1},
    {'(', ')', &StructureFlags::parenthesis, -1},   {'{', '}', &StructureFlags::brace, -1},
    {'[', ']', &StructureFlags::bracket, -1},       {'<', '>', &StructureFlags::angle_bracket, 1},
};

constexpr bool IsQuote(const StructureKind& kind) { return kind.open == kind.close; }

// Where a walk stopped.
struct Stop {
  enum Kind { kFound, kUnbalanced, kEnd } kind;
  size_t position;
};

// The enabled structure that the byte opens or closes, or nullptr.
const StructureKind* KindOf(char byte, const StructureFlags& flags) {
  for (const StructureKind& kind : kKinds)
    if ((byte == kind.open || byte == kind.close) && flags.*kind.enabled) return &kind;
  return nullptr;
}

template <typename Matches>
Stop Walk(std::string_view text, size_t from, StructureFlags flags, const Matches& matches);

// The position that ends the structure opened at `at`, or kUnbalanced. The inner
// walks run with this structure's flag off, so every level of recursion drops one
// flag and the depth is bounded by the number of flags whatever the text holds.
Stop SkipStructure(std::string_view text, size_t at, StructureFlags flags, const StructureKind& kind) {
  flags.*kind.enabled = false;
  if (IsQuote(kind)) {
    Stop closing = Walk(text, at + 1, flags, [&](size_t p) { return text[p] == kind.close; });
    return closing.kind == Stop::kFound ? closing : Stop{Stop::kUnbalanced, at};
  }
  // Step from bracket to bracket of this kind (the next opening or closing one,
  // whichever comes first) until the group closes. One walk finds the nearer of
  // the two exactly as two separate searches would, since both follow the same
  // path through the text.
  size_t current = at;
  int depth = 1;
  while (depth > 0) {
    Stop next = Walk(text, current + 1, flags,
                     [&](size_t p) { return text[p] == kind.open || text[p] == kind.close; });
    if (next.kind != Stop::kFound) return {Stop::kUnbalanced, current};
    current = next.position;
    depth += text[current] == kind.open ? 1 : -1;
    if (kind.max_depth > 0 && depth > kind.max_depth) return {Stop::kUnbalanced, current};
  }
  return {Stop::kFound, current};
}

// Walks the text from `from`, stopping where `matches` holds, and steps over
// every structure enabled in flags.
template <typename Matches>
Stop Walk(std::string_view text, size_t from, StructureFlags flags, const Matches& matches) {
  for (size_t p = from; p < text.size(); ++p) {
    if (matches(p)) return {Stop::kFound, p};
    const StructureKind* kind = KindOf(text[p], flags);
    if (kind == nullptr) continue;
    if (text[p] != kind->open) return {Stop::kUnbalanced, p};  // closing bracket outside its group
    Stop end = SkipStructure(text, p, flags, *kind);
    if (end.kind != Stop::kFound) return end;
    p = end.position;
  }
  return {Stop::kEnd, text.size()};
}

}  // namespace

int StructuredSearch(std::string_view text, std::string_view pattern, bool case_sensitive, int start,
                     StructureFlags flags) {
  size_t from = start < 0 ? 0 : static_cast<size_t>(start);
  if (from > text.size() || pattern.empty()) return -1;
  // Lower case leaves every quote and bracket byte as it is.
  std::string folded_text = case_sensitive ? std::string() : LowerAscii(text);
  std::string folded_pattern = case_sensitive ? std::string() : LowerAscii(pattern);
  std::string_view haystack = case_sensitive ? text : std::string_view(folded_text);
  std::string_view needle = case_sensitive ? pattern : std::string_view(folded_pattern);

  Stop stop = Walk(haystack, from, flags, [&](size_t p) { return haystack.substr(p).starts_with(needle); });
  switch (stop.kind) {
    case Stop::kFound: return static_cast<int>(stop.position);
    case Stop::kUnbalanced: return stop.position <= 1 ? -1 : -static_cast<int>(stop.position);
    case Stop::kEnd: break;
  }
  return -1;
}

}  // namespace ixo
