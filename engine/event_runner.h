// Raising events, the queue of pending events and the run loop that executes an
// event's lines. There is one execution context: an immediate raise inside a
// running event takes it over, and the interrupted event does not resume.
#pragma once

#include <string_view>

namespace ixo {

class Engine;

// Runs the event now when no event is running or when immediate is set, otherwise
// queues it. Returns true when the immediate path was taken (whether or not a
// handler was found); false when queued, dropped or without handler. With
// group_suffix, ":" and the window's group name are appended to the name.
bool RaiseEvent(Engine& engine, std::string_view name, bool immediate, int window_index, bool group_suffix);

// Starts the oldest due queued event that can run. Returns whether one ran.
bool RunDueQueuedEvent(Engine& engine);

// Ends the running event as "event" "end" does.
void EndRunningEvent(Engine& engine);

// Runs the current event from the current line until it ends.
void RunEventLines(Engine& engine);

}  // namespace ixo
