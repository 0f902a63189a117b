#include "engine/var_family.h"

#include <algorithm>

#include "engine/ascii_case.h"
#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"
#include "engine/variables.h"

namespace ixo {

namespace {

// The joined text of "array" "getstring" must fit the join buffer.
constexpr size_t kMaxJoinedLength = 256999;

using Elements = std::vector<std::string>;

Elements* FindElements(Engine& engine, const std::string& name) {
  int index = engine.variables.Find(name);
  return index < 0 ? nullptr : &engine.variables.at(index).elements;
}

Elements& FindOrCreateElements(Engine& engine, const std::string& name) {
  return engine.variables.at(FindOrCreateVariable(engine, name)).elements;
}

Result ArrayCount(Engine& engine) {
  Elements* elements = FindElements(engine, engine.slots.P(1));
  return NumberText(elements ? static_cast<int32_t>(elements->size()) : 0);
}

Result ArrayGetString(Engine& engine) {
  Elements& elements = FindOrCreateElements(engine, engine.slots.P(1));
  if (elements.empty()) return kNoResult;
  std::string joined = JoinElements(elements, engine.slots.P(2));
  if (joined.size() > kMaxJoinedLength) {
    joined.resize(kMaxJoinedLength);
    ReportError(engine, "The joined array is longer than 256999 characters; it was cut there.");
  }
  return joined;
}

Result ArrayClear(Engine& engine) {
  Elements* elements = FindElements(engine, engine.slots.P(1));
  int keep = EvaluateNumber(engine.slots.P(2), 0);
  if (!elements || keep < 0 || static_cast<size_t>(keep) >= elements->size()) return kNoResult;
  if (keep == 0) {
    elements->resize(1);
    (*elements)[0].clear();
  } else {
    elements->resize(keep);
  }
  return kNoResult;
}

Result ArrayRemove(Engine& engine) {
  Elements& elements = FindOrCreateElements(engine, engine.slots.P(1));
  int index = EvaluateNumber(engine.slots.P(2), 0);
  if (index < 0 || static_cast<size_t>(index) >= elements.size()) return kNoResult;
  if (elements.size() == 1) elements[0].clear();
  else elements.erase(elements.begin() + index);
  return kNoResult;
}

Result ArrayInsert(Engine& engine) {
  int variable = FindOrCreateVariable(engine, engine.slots.P(1));
  Elements& elements = engine.variables.at(variable).elements;
  int index = EvaluateNumber(engine.slots.P(2), 0);
  if (index < 0) return kNoResult;
  if (static_cast<size_t>(index) < elements.size()) {
    if (elements.size() > static_cast<size_t>(kMaxElementIndex)) {
      ReportError(engine, message::kInvalidIndex);
      return kNoResult;
    }
    elements.insert(elements.begin() + index, engine.slots.P(3));
  } else if (!SetElement(engine, variable, index, engine.slots.P(3))) {
    ReportError(engine, message::kInvalidIndex);
  }
  return kNoResult;
}

Result ArraySort(Engine& engine) {
  if (Elements* elements = FindElements(engine, engine.slots.P(1)))
    std::sort(elements->begin(), elements->end(),
              [](const std::string& a, const std::string& b) { return CompareIgnoringCase(a, b) < 0; });
  return kNoResult;
}

// "inc" and "dec": P1 reference, P2 step, P3 optional limit, P4 wrap value.
Result Step(Engine& engine, bool up) {
  const CommandSlots& slots = engine.slots;
  std::string reference = slots.P(1);
  int variable = engine.variables.Find(reference);
  if (variable < 0) {
    AssignVariable(engine, reference, "0");
    variable = engine.variables.Find(reference);
  }
  int32_t value = 0;
  if (variable >= 0 && !engine.variables.at(variable).elements.empty())
    value = EvaluateNumber(engine.variables.at(variable).elements[0], 0);
  uint32_t step = static_cast<uint32_t>(EvaluateNumber(slots.P(2), 1));
  value = static_cast<int32_t>(up ? static_cast<uint32_t>(value) + step : static_cast<uint32_t>(value) - step);
  if (!slots.P(3).empty()) {
    int32_t limit = EvaluateNumber(slots.P(3), 0);
    if (up ? value >= limit : value <= limit) value = EvaluateNumber(slots.P(4), limit);
  }
  std::string text = NumberText(value);
  // A counter is nearly always a plain name, and then the variable just read is
  // the one the reference names.
  if (variable >= 0 && IsPlainName(reference)) SetElement(engine, variable, 0, text);
  else AssignVariable(engine, reference, text);
  return text;
}

Result Free(Engine& engine) {
  int variable = engine.variables.Find(engine.slots.P(1));
  if (variable >= 0) engine.variables.Erase(variable);
  return kNoResult;
}

// A variable index from P1, or -1 when it names no variable.
int VariableIndexParameter(Engine& engine) {
  int index = EvaluateNumber(engine.slots.P(1), -1);
  return index >= 0 && index < engine.variables.count() ? index : -1;
}

Result Get(Engine& engine) {
  int variable = VariableIndexParameter(engine);
  int element = EvaluateNumber(engine.slots.P(2), 0);
  if (variable < 0 || element < 0) return kNoResult;
  const Elements& elements = engine.variables.at(variable).elements;
  if (static_cast<size_t>(element) >= elements.size()) return kNoResult;
  return elements[element];
}

Result Set(Engine& engine) {
  int variable = VariableIndexParameter(engine);
  int element = EvaluateNumber(engine.slots.P(2), 0);
  if (variable < 0 || element < 0) return kNoResult;
  if (!SetElement(engine, variable, element, engine.slots.P(3)))
    ReportError(engine, message::kInvalidIndex);
  return kNoResult;
}

Result GetName(Engine& engine) {
  int variable = VariableIndexParameter(engine);
  if (variable < 0) return kNoResult;
  return engine.variables.at(variable).name;
}

Result GetIndex(Engine& engine) {
  int variable = engine.variables.Find(engine.slots.P(1));
  if (variable < 0) return kNoResult;
  return NumberText(variable);
}

struct SubCommand {
  std::string_view word;
  Result (*handler)(Engine&);
};

constexpr SubCommand kArrayCommands[] = {
    {"count", ArrayCount}, {"getstring", ArrayGetString}, {"clear", ArrayClear},
    {"remove", ArrayRemove}, {"insert", ArrayInsert},     {"sort", ArraySort},
};

constexpr SubCommand kVarCommands[] = {
    {"inc", [](Engine& e) { return Step(e, true); }},
    {"dec", [](Engine& e) { return Step(e, false); }},
    {"free", Free},
    {"exists", [](Engine& e) -> Result { return FlagText(e.variables.Find(e.slots.P(1)) >= 0); }},
    {"count", [](Engine& e) -> Result { return NumberText(e.variables.count()); }},
    {"get", Get},
    {"set", Set},
    {"getname", GetName},
    {"getindex", GetIndex},
};

}  // namespace

Result VarFamily(Engine& engine) {
  const CommandSlots& slots = engine.slots;
  if (slots.K(2) == "array")
    for (const SubCommand& command : kArrayCommands)
      if (slots.K(3) == command.word) return command.handler(engine);
  for (const SubCommand& command : kVarCommands)
    if (slots.K(2) == command.word) return command.handler(engine);
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
