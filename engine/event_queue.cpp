#include "engine/execution_context.h"

namespace ixo {

bool EventQueue::Push(std::string name, uint32_t due_tick, int window_index) {
  if (entries_.size() >= kMaxQueuedEvents) return false;
  int copies = 0;
  for (const QueuedEvent& entry : entries_)
    if (entry.name == name && ++copies >= kMaxCopiesQueued) return false;
  entries_.push_back({std::move(name), due_tick, static_cast<int16_t>(window_index)});
  return true;
}

}  // namespace ixo
