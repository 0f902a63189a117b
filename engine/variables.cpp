#include "engine/variables.h"

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"

namespace ixo {

namespace {

constexpr int kWholeArray = -1;
constexpr int kReadIndexInvalid = -100;

// Follows the leading "_" of a name: each one replaces the rest of the name by the
// value (element 0) of the variable of that name. A plain name is returned as it
// is; a followed one is kept in storage. Empty when a link is missing.
std::optional<std::string_view> ResolveDynamicName(Engine& engine, std::string_view name, std::string& storage) {
  size_t hops = 0;
  while (hops < name.size() && name[hops] == '_') ++hops;
  if (hops == 0) return name;
  storage.assign(name.substr(hops));
  for (size_t i = 0; i < hops; ++i) {
    int index = engine.variables.Find(storage);
    if (index < 0 || engine.variables.at(index).elements.empty()) {
      ReportError(engine, message::kInvalidDynamicName);
      return std::nullopt;
    }
    storage = engine.variables.at(index).elements[0];
  }
  return std::string_view(storage);
}

}  // namespace

int VariableTable::Find(std::string_view name) const {
  auto found = index_by_name_.find(name);
  return found == index_by_name_.end() ? -1 : found->second;
}

int VariableTable::FindOrCreate(std::string_view name) {
  int index = Find(name);
  if (index >= 0) return index;
  variables_.push_back({std::string(name), {std::string()}});
  index_by_name_.emplace(name, count() - 1);
  return count() - 1;
}

void VariableTable::Erase(int index) {
  index_by_name_.erase(variables_[index].name);
  variables_.erase(variables_.begin() + index);
  for (size_t i = index; i < variables_.size(); ++i) index_by_name_[variables_[i].name] = static_cast<int>(i);
}

std::string JoinElements(const std::vector<std::string>& elements, std::string_view separator) {
  std::string joined;
  for (size_t i = 0; i < elements.size(); ++i) {
    if (i > 0) joined += separator;
    joined += elements[i];
  }
  return joined;
}

void CutIntoElements(std::string_view text, std::vector<std::string>& elements) {
  elements.clear();
  size_t start = 0;
  while (start < text.size()) {
    size_t separator = text.find(kListSeparator, start);
    if (separator == std::string_view::npos) separator = text.size();
    elements.emplace_back(text.substr(start, separator - start));
    start = separator + kListSeparator.size();
  }
}

bool IsPlainName(std::string_view reference) {
  return !reference.empty() && reference[0] != '_' && reference.find('[', 1) == std::string_view::npos;
}

Result ReadVariable(Engine& engine, std::string_view reference) {
  std::string_view name = reference;
  int index = 0;
  if (!reference.empty() && reference.back() == ']') {
    size_t bracket = reference.find('[', 1);
    if (bracket != std::string_view::npos) {
      name = reference.substr(0, bracket);
      std::string_view index_text = reference.substr(bracket + 1, reference.size() - bracket - 2);
      if (index_text.empty()) {
        index = kWholeArray;
      } else {
        index = EvaluateNumber(index_text, kReadIndexInvalid);
        if (index == kReadIndexInvalid) {
          ReportError(engine, message::kInvalidIndex);
          return kNoResult;
        }
      }
    }
  }
  std::string storage;
  std::optional<std::string_view> resolved = ResolveDynamicName(engine, name, storage);
  if (!resolved) return kNoResult;
  int variable = engine.variables.Find(*resolved);
  if (variable < 0) return kNoResult;
  const std::vector<std::string>& elements = engine.variables.at(variable).elements;
  if (index == kWholeArray) {
    if (elements.empty()) return kNoResult;
    return JoinElements(elements, kListSeparator);
  }
  if (index < 0) return kNoResult;
  return static_cast<size_t>(index) < elements.size() ? elements[index] : std::string();
}

int AssignVariable(Engine& engine, std::string_view reference, std::string_view value) {
  std::string_view name = reference;
  int index = 0;
  bool whole_array = false;
  size_t bracket = reference.size() > 1 ? reference.find('[', 1) : std::string_view::npos;
  if (bracket != std::string_view::npos) {
    name = reference.substr(0, bracket);
    std::string_view rest = reference.substr(bracket + 1);
    if (!rest.empty() && rest[0] == ']') {
      whole_array = true;
    } else {
      index = rest.empty() ? -1 : EvaluateNumber(rest.substr(0, rest.size() - 1), -1);
      if (index < 0 || index > kMaxElementIndex) {
        ReportError(engine, message::kInvalidIndex);
        return -1;
      }
    }
  }
  std::string storage;
  std::optional<std::string_view> resolved = ResolveDynamicName(engine, name, storage);
  if (!resolved) return -1;
  int variable = engine.variables.FindOrCreate(*resolved);
  if (whole_array) CutIntoElements(value, engine.variables.at(variable).elements);
  else SetElement(engine, variable, index, value);
  return variable;
}

int FindOrCreateVariable(Engine& engine, std::string_view name) { return engine.variables.FindOrCreate(name); }

bool SetElement(Engine& engine, int variable_index, int element_index, std::string_view text) {
  if (element_index < 0 || element_index > kMaxElementIndex) return false;
  std::vector<std::string>& elements = engine.variables.at(variable_index).elements;
  if (static_cast<size_t>(element_index) >= elements.size()) elements.resize(element_index + 1);
  elements[element_index].assign(text);
  return true;
}

}  // namespace ixo
