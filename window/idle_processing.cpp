#include "engine/engine.h"
#include "engine/event_runner.h"
#include "window/engine_windows.h"

namespace ixo {

namespace {

void ApplyStoredPositions(EngineWindows& windows) {
  for (int index = 0; index < windows.high_water; ++index) {
    EngineWindow* window = windows.at(index);
    if (!window || !window->managed_position) continue;
    if (index == windows.skip_once_index) {
      windows.skip_once_index = -1;
      continue;
    }
    platform::Point target = StoredPixelPosition(*window);
    const platform::FrameExtents frame = FrameOf(windows, *window);
    target = {target.x + frame.left, target.y + frame.top};
    platform::Rect bounds = windows.window_system.Bounds(window->native);
    if (bounds.left != target.x || bounds.top != target.y)
      windows.window_system.SetBounds(window->native, {target.x, target.y, bounds.width, bounds.height});
  }
}

// A queued event may wait for a later tick ("doevent" with a delay). With no
// timer of its own running, the loop would never come back to it: a one-shot
// timer wakes it when the earliest such entry falls due.
void ScheduleQueueWakeUp(EngineWindows& windows, uint32_t now) {
  bool waiting = false;
  uint32_t earliest = 0;
  for (const QueuedEvent& entry : windows.engine.queue.entries()) {
    if (entry.due_tick <= now) continue;
    if (!waiting || entry.due_tick < earliest) earliest = entry.due_tick;
    waiting = true;
  }
  if (windows.queue_timer && (!waiting || earliest != windows.queue_timer_due)) {
    windows.timers.StopTimer(windows.queue_timer);
    windows.queue_timer = 0;
  }
  if (!waiting || windows.queue_timer) return;
  windows.queue_timer_due = earliest;
  windows.queue_timer = windows.timers.StartTimer(earliest - now, [&windows] {
    windows.timers.StopTimer(windows.queue_timer);
    windows.queue_timer = 0;
  });
}

bool HasDueEntry(const EventQueue& queue, uint32_t now) {
  for (const QueuedEvent& entry : queue.entries())
    if (entry.due_tick <= now) return true;
  return false;
}

}  // namespace

platform::IdleAnswer IdleProcessing(EngineWindows& windows) {
  Engine& engine = windows.engine;
  ApplyStoredPositions(windows);
  bool ran = RunDueQueuedEvent(engine);

  uint32_t now = engine.platform.clock->TickCount();
  ScheduleQueueWakeUp(windows, now);
  if (windows.booster) return platform::IdleAnswer::kKeepRunning;
  // Another due entry waits: come back before sleeping, as long as entries are
  // still being consumed (one that cannot run must not keep the loop spinning).
  if (ran && engine.context.current_line == -1 && HasDueEntry(engine.queue, now))
    return platform::IdleAnswer::kRunAgain;
  return platform::IdleAnswer::kDone;
}

}  // namespace ixo
