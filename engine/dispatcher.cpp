#include "engine/dispatcher.h"

#include "engine/engine.h"
#include "engine/function_call.h"

namespace ixo {

FamilyTable::FamilyTable(const std::vector<FamilyEntry>& entries) {
  for (const FamilyEntry& entry : entries)
    if (entry.handler && !Find(entry.word)) buckets_[static_cast<unsigned char>(entry.word[0])].push_back(entry);
}

FamilyHandler FamilyTable::Find(std::string_view word) const {
  if (word.empty()) return nullptr;
  for (const FamilyEntry& entry : buckets_[static_cast<unsigned char>(word[0])])
    if (entry.word == word) return entry.handler;
  return nullptr;
}

Result Dispatch(Engine& engine) { return DispatchTo(engine, engine.families.Find(engine.slots.keyword[0])); }

Result DispatchTo(Engine& engine, FamilyHandler handler) {
  if (engine.context.shutting_down) return kNoResult;
  return handler ? handler(engine) : CallFunctionFromCommand(engine);
}

}  // namespace ixo
