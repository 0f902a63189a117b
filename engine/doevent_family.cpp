// "doevent" NAME (P1 delay in ms, P2 window index): queues an event to run once the
// delay has passed and no event is running. The name is queued as written, with or
// without a handler.
#include "engine/control_families.h"
#include "engine/engine.h"
#include "engine/numeric_expression.h"

namespace ixo {

Result DoEventCommand(Engine& engine) {
  uint32_t delay = static_cast<uint32_t>(EvaluateNumber(engine.slots.P(1), 0));
  int window_index = EvaluateNumber(engine.slots.P(2), -1);
  engine.queue.Push(engine.slots.K(2), engine.platform.clock->TickCount() + delay, window_index);
  return kNoResult;
}

}  // namespace ixo
