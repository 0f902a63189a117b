// The structured search behind "str" "posex": finds a pattern in a text while
// stepping over quoted parts and bracket groups.
#pragma once

#include <string_view>

namespace ixo {

// The structures a search steps over instead of looking inside.
struct StructureFlags {
  bool double_quote = false;
  bool single_quote = false;
  bool parenthesis = false;
  bool brace = false;
  bool bracket = false;
  bool angle_bracket = false;  // "<" groups may not nest
};

// The position of the first match of pattern at or after start that lies outside
// every enabled structure; a match that begins on an opening quote or bracket
// counts, because matching is tried before the structure is skipped. Without
// case_sensitive, text and pattern are compared in ASCII lower case.
//
// Results: the position; -1 when nothing matches, when the pattern is empty or
// when start is beyond the end; -p when the search meets a quote or bracket
// without partner at position p (a closing bracket outside its group, or an
// opening one whose group never closes). An unbalanced structure at position 0
// or 1 cannot be written that way apart from "not found" or a match, so it gives
// -1. A negative start counts as 0.
int StructuredSearch(std::string_view text, std::string_view pattern, bool case_sensitive, int start,
                     StructureFlags flags);

}  // namespace ixo
