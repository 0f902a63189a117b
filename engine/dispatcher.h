// The dispatcher: hands the command in the slots to its family by K1, or calls the
// script function of that name.
#pragma once

#include <string_view>
#include <array>
#include <vector>

#include "engine/result.h"

namespace ixo {

class Engine;

// Every command family is one function of this shape. It reads the command slots
// and returns a new result text or no result.
using FamilyHandler = Result (*)(Engine& engine);

struct FamilyEntry {
  std::string_view word;
  FamilyHandler handler;  // nullptr: the family is not available, the word is a function call
};

// The family words with their handlers. Words are bucketed by first byte, so a
// lookup compares the word with the one to three words that share its first byte.
class FamilyTable {
 public:
  explicit FamilyTable(const std::vector<FamilyEntry>& entries);
  FamilyHandler Find(std::string_view word) const;

 private:
  std::array<std::vector<FamilyEntry>, 256> buckets_;
};

// Runs the command in the slots: its family's handler, or the script function it names.
Result Dispatch(Engine& engine);

// The same with the family already looked up (nullptr: a function call).
Result DispatchTo(Engine& engine, FamilyHandler handler);

}  // namespace ixo
