#include "engine/time_family.h"

#include <ctime>
#include <optional>
#include <string_view>

#include "engine/engine.h"
#include "engine/error_report.h"
#include "engine/messages.h"
#include "engine/numeric_expression.h"
#include "engine/value_text.h"

namespace ixo {

namespace {

constexpr const char* kInvalidDate = "Invalid date.";
constexpr const char* kInvalidDayNumber = "Invalid day number. Dates run from year 1 to year 9999.";

int32_t Number(const Engine& engine, int parameter) { return EvaluateNumber(engine.slots.P(parameter), 0); }

// Every 32-bit count is shown the way every number is: as a signed decimal.
Result CountText(uint32_t count) { return NumberText(static_cast<int32_t>(count)); }

// "tick": elapsed time since start-up or the last reset, in 5-microsecond ticks.
// Nothing (rather than no result) when the action is not one of its own.
std::optional<Result> Tick(Engine& engine, std::string_view action) {
  StartupState& startup = engine.startup;
  platform::Clock& clock = *engine.platform.clock;
  if (action == "get") {
    int64_t elapsed = static_cast<int64_t>(clock.HighResolutionCount() - startup.time_base_count);
    return CountText(CounterTicks(elapsed, startup.time_base_frequency));
  }
  if (action == "getlastreset") {
    // Deliberately in 32-bit arithmetic: the low 32 bits of the counter, times the
    // ticks per second modulo 2^32, over the low 32 bits of the frequency.
    uint32_t scaled = static_cast<uint32_t>(startup.time_base_count) * uint32_t{kTicksPerSecond};
    uint32_t frequency = static_cast<uint32_t>(startup.time_base_frequency);
    return CountText(frequency == 0 ? 0 : scaled / frequency);
  }
  if (action == "reset") {
    startup.time_base_count = clock.HighResolutionCount();
    return Result(kNoResult);
  }
  return std::nullopt;
}

// "chrono": a stopwatch on the millisecond tick, which wraps at 2^32. Nothing
// when the action is not one of its own.
std::optional<Result> Chrono(Engine& engine, std::string_view action) {
  platform::Clock& clock = *engine.platform.clock;
  if (action == "start") {
    engine.startup.stopwatch_start = clock.TickCount();
    return Result(kNoResult);
  }
  if (action == "stop") return CountText(clock.TickCount() - engine.startup.stopwatch_start);
  if (action == "get") return CountText(clock.TickCount());
  return std::nullopt;
}

Result DateToNumber(Engine& engine) {
  std::optional<int32_t> day_number = DayNumberOf({Number(engine, 1), Number(engine, 2), Number(engine, 3)});
  if (!day_number) {
    ReportError(engine, kInvalidDate);
    return kNoResult;
  }
  return NumberText(*day_number);
}

Result DatePart(Engine& engine, int32_t CalendarDate::*part) {
  std::optional<CalendarDate> date = DateOfDayNumber(Number(engine, 1));
  if (!date) {
    ReportError(engine, kInvalidDayNumber);
    return kNoResult;
  }
  return NumberText((*date).*part);
}

}  // namespace

uint32_t CounterTicks(int64_t count, uint64_t frequency) {
  if (frequency == 0) return 0;
  __int128 ticks = static_cast<__int128>(count) * kTicksPerSecond / static_cast<__int128>(frequency);
  return static_cast<uint32_t>(static_cast<unsigned __int128>(ticks));
}

LocalTime ReadLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm fields{};
  if (!localtime_r(&now.tv_sec, &fields)) gmtime_r(&now.tv_sec, &fields);
  LocalTime local;
  local.date = {fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday};
  local.hour = fields.tm_hour;
  local.minute = fields.tm_min;
  // A leap second still reads as the last second of its minute.
  local.second = fields.tm_sec > 59 ? 59 : fields.tm_sec;
  local.millisecond = static_cast<int32_t>(now.tv_nsec / 1000000);
  local.day_of_week = fields.tm_wday + 1;
  return local;
}

std::optional<int32_t> LocalTimeValue(std::string_view name, const LocalTime& now) {
  if (name == "hour") return now.hour;
  if (name == "minute") return now.minute;
  if (name == "second") return now.second;
  if (name == "millisecond") return now.millisecond;
  if (name == "day") return now.date.day;
  if (name == "month") return now.date.month;
  if (name == "year") return now.date.year;
  if (name == "dayofweek") return now.day_of_week;
  if (name == "date") return DayNumberOf(now.date).value_or(0);
  return std::nullopt;
}

Result TimeFamily(Engine& engine) {
  const std::string& command = engine.slots.K(2);
  // "tick" and "chrono" with an action they do not know fall through to the
  // other words and end as an unknown command.
  if (command == "tick") {
    if (std::optional<Result> result = Tick(engine, engine.slots.K(3))) return *result;
  } else if (command == "chrono") {
    if (std::optional<Result> result = Chrono(engine, engine.slots.K(3))) return *result;
  } else if (command == "datetonumber") {
    return DateToNumber(engine);
  } else if (command == "numbertoyear") {
    return DatePart(engine, &CalendarDate::year);
  } else if (command == "numbertomonth") {
    return DatePart(engine, &CalendarDate::month);
  } else if (command == "numbertoday") {
    return DatePart(engine, &CalendarDate::day);
  } else if (std::optional<int32_t> value = LocalTimeValue(command, ReadLocalTime())) {
    return NumberText(*value);
  }
  ReportError(engine, message::kUnknownCommand);
  return kNoResult;
}

}  // namespace ixo
