#include "engine/day_number.h"

namespace ixo {

namespace {

// The calendar repeats every 400 years, which are exactly 146097 days. Counting
// years from 1 March puts the leap day at the end of the year, so the day of the
// year gives the month with one linear formula.
constexpr int64_t kDaysPer400Years = 146097;

// Days from 1 March of year 0 to 30 December 1899.
constexpr int64_t kDayZero = 693899;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

int64_t DaysSinceEra(int64_t year, int64_t month, int64_t day) {
  if (month <= 2) --year;
  int64_t era = FloorDiv(year, 400);
  int64_t year_of_era = year - era * 400;                                  // 0..399
  int64_t day_of_year = (153 * ((month + 9) % 12) + 2) / 5 + day - 1;      // 0..365, from 1 March
  int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * kDaysPer400Years + day_of_era;
}

}  // namespace

bool IsLeapYear(int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int32_t DaysInMonth(int32_t year, int32_t month) {
  static constexpr int32_t kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kLengths[month - 1];
}

std::optional<int32_t> DayNumberOf(const CalendarDate& date) {
  if (date.year < 1 || date.year > 9999) return std::nullopt;
  if (date.day < 1 || date.day > DaysInMonth(date.year, date.month)) return std::nullopt;
  return static_cast<int32_t>(DaysSinceEra(date.year, date.month, date.day) - kDayZero);
}

std::optional<CalendarDate> DateOfDayNumber(int32_t day_number) {
  if (day_number < kFirstDayNumber || day_number > kLastDayNumber) return std::nullopt;
  int64_t days = int64_t{day_number} + kDayZero;
  int64_t era = FloorDiv(days, kDaysPer400Years);
  int64_t day_of_era = days - era * kDaysPer400Years;                                     // 0..146096
  int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;  // 0..399
  int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  int64_t shifted_month = (5 * day_of_year + 2) / 153;                                    // 0 = March
  int64_t day = day_of_year - (153 * shifted_month + 2) / 5 + 1;
  int64_t month = shifted_month < 10 ? shifted_month + 3 : shifted_month - 9;
  int64_t year = year_of_era + era * 400 + (month <= 2);
  return CalendarDate{static_cast<int32_t>(year), static_cast<int32_t>(month), static_cast<int32_t>(day)};
}

}  // namespace ixo
