// Calendar dates as day numbers: whole days since 30 December 1899 (day 0), in
// the proleptic Gregorian calendar, so 1 January 2000 is day 36526 and earlier
// dates have negative numbers. Dates run from 1 January of year 1 to
// 31 December 9999.
#pragma once

#include <cstdint>
#include <optional>

namespace ixo {

struct CalendarDate {
  int32_t year = 0;
  int32_t month = 0;  // 1 to 12
  int32_t day = 0;    // 1 to the length of the month

  bool operator==(const CalendarDate&) const = default;
};

inline constexpr int32_t kFirstDayNumber = -693593;  // 1 January 0001
inline constexpr int32_t kLastDayNumber = 2958465;   // 31 December 9999

bool IsLeapYear(int32_t year);

// 28 to 31 for months 1 to 12, 0 for any other month.
int32_t DaysInMonth(int32_t year, int32_t month);

// The day number of a date, or nothing when no such day exists in years 1 to 9999.
std::optional<int32_t> DayNumberOf(const CalendarDate& date);

// The date of a day number, or nothing outside kFirstDayNumber..kLastDayNumber.
std::optional<CalendarDate> DateOfDayNumber(int32_t day_number);

}  // namespace ixo
