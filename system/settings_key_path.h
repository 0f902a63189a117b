// Key paths as callers write them, turned into the form the store looks keys up by.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ixo::system {

struct KeyPath {
  // The key names in the case written, outermost first.
  std::vector<std::string> names;
  // The lookup form: the names in lower-case ASCII joined by "\"; empty for a root.
  std::string folded;
};

// Empty names are dropped, so "A\B", "A\B\", "\A\B" and "A\\B" are one key:
// callers build paths by joining pieces that may end or begin with "\".
KeyPath ParseKeyPath(std::string_view path);

// The lookup form of a value name.
std::string FoldName(std::string_view name);

// The lookup form of the key one level below parent_folded.
std::string FoldedChild(std::string_view parent_folded, std::string_view name);

}  // namespace ixo::system
