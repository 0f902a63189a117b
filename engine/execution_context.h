// The single execution context of the interpreter and the queue of pending events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ixo {

inline constexpr size_t kWorkBufferSize = 357000;
inline constexpr size_t kMaxQueuedEvents = 200;
inline constexpr int kMaxCopiesQueued = 2;
inline constexpr size_t kMaxEventNameLength = 255;

struct ExecutionContext {
  int current_line = -1;              // -1: no event is running
  std::string current_event;          // full name of the running event
  std::string current_function;       // innermost running function, "" outside functions
  int event_window_index = -1;        // window index given to the raise that started the event
  std::string work_buffer;            // the line under evaluation, edited in place
  bool rerun = false;                 // the work buffer holds a new line to evaluate before moving on
  bool abort_line = false;            // a command abandoned the rest of the current line
  bool closing = false;               // the run loop returns after the current line
  bool shutting_down = false;         // nothing is raised or dispatched any more
  bool error_reporting = true;
  std::string last_error;
  // Start and end of the nested expression whose command is being dispatched;
  // start is -1 while the whole line is dispatched.
  int evaluation_start = -1;
  int evaluation_end = -1;
  // Counts every start of an event or host call. A nested evaluation that sees it
  // change knows another run took the context over and abandons its line.
  uint64_t run_generation = 0;
  // How many more lines may run; 0 means no bound. A host that must bound a run
  // (fuzzing, tests of scripts that never end) sets it; when it runs out, the
  // engine shuts down as if the object had ended.
  uint64_t line_budget = 0;
};

struct QueuedEvent {
  std::string name;        // full name, group suffix applied
  uint32_t due_tick = 0;   // 0: at once
  int16_t window_index = -1;
};

class EventQueue {
 public:
  // Appends unless the queue is full or already holds two entries of that name.
  bool Push(std::string name, uint32_t due_tick, int window_index);
  void Remove(size_t index) { entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index)); }

  const std::vector<QueuedEvent>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }

 private:
  std::vector<QueuedEvent> entries_;
};

}  // namespace ixo
