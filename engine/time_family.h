// The "time" family: a 5-microsecond tick counter relative to the start of the
// run, a millisecond stopwatch, the local date and time, and conversions between
// dates and day numbers (engine/day_number.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/day_number.h"
#include "engine/result.h"

namespace ixo {

class Engine;

// Runs the "time" command in the slots (K2, and K3 for "tick" and "chrono",
// select it); an unknown one is reported.
Result TimeFamily(Engine& engine);

// Ticks of the "tick" counter per second: one tick is 5 microseconds.
inline constexpr int64_t kTicksPerSecond = 200000;

// Ticks in `count` units of a counter that makes `frequency` units a second,
// truncated toward zero and then to its low 32 bits. The product is taken
// exactly, so no counter frequency makes it overflow. A zero frequency gives 0.
uint32_t CounterTicks(int64_t count, uint64_t frequency);

// The local date and time, as one reading of the system clock.
struct LocalTime {
  CalendarDate date;
  int32_t hour = 0;         // 0 to 23
  int32_t minute = 0;
  int32_t second = 0;
  int32_t millisecond = 0;
  int32_t day_of_week = 1;  // 1 = Sunday to 7 = Saturday
};

LocalTime ReadLocalTime();

// The value the time-of-day sub-command `name` ("hour", "date", ...) gives for
// `now`, or nothing when `name` is not one of them.
std::optional<int32_t> LocalTimeValue(std::string_view name, const LocalTime& now);

}  // namespace ixo
