#include "engine/dispatcher.h"

#include "engine/engine.h"
#include "engine/function_call.h"

namespace ixo {

FamilyTable::FamilyTable(const std::vector<FamilyEntry>& entries) {
  for (const FamilyEntry& entry : entries)
    if (entry.handler) handlers_.emplace(entry.word, entry.handler);
}

FamilyHandler FamilyTable::Find(std::string_view word) const {
  auto found = handlers_.find(word);
  return found == handlers_.end() ? nullptr : found->second;
}

Result Dispatch(Engine& engine) { return DispatchTo(engine, engine.families.Find(engine.slots.keyword[0])); }

Result DispatchTo(Engine& engine, FamilyHandler handler) {
  if (engine.context.shutting_down) return kNoResult;
  return handler ? handler(engine) : CallFunctionFromCommand(engine);
}

}  // namespace ixo
