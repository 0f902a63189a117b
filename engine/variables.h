// Script variables: named arrays of text, global to the object, in creation order.
// A reference names a variable as "name", "name[index]", "name[]" (the whole array
// joined by "^^") or "_name" (the variable named by the value of "name").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/result.h"

namespace ixo {

class Engine;

struct Variable {
  std::string name;
  std::vector<std::string> elements;  // empty: the variable has no element
};

// Highest element index an array may have; beyond it an assignment is refused
// instead of exhausting memory.
inline constexpr int kMaxElementIndex = (1 << 22) - 1;
inline constexpr std::string_view kListSeparator = "^^";

// Variables in creation order, with an index by name. Deleting one moves every
// later variable down by one index.
class VariableTable {
 public:
  // Index of the variable of exactly that name, or -1.
  int Find(std::string_view name) const;
  // Index of the variable, created with one empty element when missing.
  int FindOrCreate(std::string_view name);
  void Erase(int index);

  int count() const { return static_cast<int>(variables_.size()); }
  Variable& at(int index) { return variables_[index]; }
  const Variable& at(int index) const { return variables_[index]; }

 private:
  struct NameHash {
    using is_transparent = void;
    // FNV-1a: names are short, and this is much cheaper than the library's hash.
    size_t operator()(std::string_view name) const {
      uint64_t hash = 14695981039346656037ull;
      for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
      return hash;
    }
  };
  std::vector<Variable> variables_;
  std::unordered_map<std::string, int, NameHash, std::equal_to<>> index_by_name_;
};

// True when a reference names element 0 of the variable of exactly that name:
// no index part and no leading "_".
bool IsPlainName(std::string_view reference);

// The value a reference names, or no result (missing variable, bad index).
Result ReadVariable(Engine& engine, std::string_view reference);

// Stores value where the reference points; returns the variable index or -1.
int AssignVariable(Engine& engine, std::string_view reference, std::string_view value);

int FindOrCreateVariable(Engine& engine, std::string_view name);

// Stores text at an element, growing the array with "" elements as needed.
// Returns false (and stores nothing) for an index outside 0..kMaxElementIndex.
bool SetElement(Engine& engine, int variable_index, int element_index, std::string_view text);

// The elements joined by "^^", and the reverse cut (no empty last element).
std::string JoinElements(const std::vector<std::string>& elements, std::string_view separator);
void CutIntoElements(std::string_view text, std::vector<std::string>& elements);

}  // namespace ixo
