#include "engine/time_family.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/day_number.h"
#include "engine/engine.h"
#include "engine/messages.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

class TimeFamilyTest : public ScriptTest {
 protected:
  TimeFamilyTest() {
    // What start-up does before the first events: the time base is the counter now.
    engine().startup.time_base_count = runner().clock().HighResolutionCount();
    engine().startup.time_base_frequency = runner().clock().HighResolutionFrequency();
  }

  Result Time(const std::vector<std::string>& path, const std::vector<std::string>& parameters = {}) {
    std::vector<std::string> full = {"time"};
    full.insert(full.end(), path.begin(), path.end());
    return Command(full, parameters);
  }

  // Runs the command and expects no result and a report holding `message`.
  void ExpectReported(const std::vector<std::string>& path, const std::vector<std::string>& parameters,
                      const std::string& message) {
    engine().context.last_error.clear();
    EXPECT_EQ(Time(path, parameters), kNoResult);
    EXPECT_NE(engine().context.last_error.find(message), std::string::npos) << engine().context.last_error;
  }

  void ExpectNoReport(const std::vector<std::string>& path) {
    engine().context.last_error.clear();
    Time(path);
    EXPECT_EQ(engine().context.last_error, "");
  }
};

struct DateCase {
  int32_t year, month, day;
  int32_t number;
};

// Worked out independently; the weekdays of some were checked against calendars.
const std::vector<DateCase> kKnownDates = {
    {1, 1, 1, -693593},       {1, 12, 31, -693229},    {100, 3, 1, -657375},
    {1582, 10, 15, -115858},  {1600, 2, 29, -109512},  {1700, 3, 1, -72987},
    {1899, 12, 29, -1},       {1899, 12, 30, 0},       {1899, 12, 31, 1},
    {1900, 1, 1, 2},          {1900, 2, 28, 60},       {1900, 3, 1, 61},
    {1970, 1, 1, 25569},      {2000, 1, 1, 36526},     {2000, 2, 29, 36585},
    {2000, 3, 1, 36586},      {2024, 2, 29, 45351},    {2100, 3, 1, 73110},
    {9999, 12, 31, 2958465},
};

TEST_F(TimeFamilyTest, ConvertsKnownDatesBothWays) {
  for (const DateCase& c : kKnownDates) {
    std::string year = std::to_string(c.year), month = std::to_string(c.month), day = std::to_string(c.day);
    std::string number = std::to_string(c.number);
    SCOPED_TRACE(year + "-" + month + "-" + day);
    EXPECT_EQ(Time({"datetonumber"}, {year, month, day}), Result(number));
    EXPECT_EQ(Time({"numbertoyear"}, {number}), Result(year));
    EXPECT_EQ(Time({"numbertomonth"}, {number}), Result(month));
    EXPECT_EQ(Time({"numbertoday"}, {number}), Result(day));
  }
}

TEST_F(TimeFamilyTest, ReadsDateParametersAsNumericExpressions) {
  EXPECT_EQ(Time({"datetonumber"}, {"1999+1", "2*1", "30-1"}), Result("36585"));
  EXPECT_EQ(Time({"numbertoyear"}, {"36526-36527"}), Result("1899"));
  EXPECT_EQ(Time({"numbertoday"}, {"0-2"}), Result("28"));
}

// Every day from 1 January of year 1 to 31 December 9999 follows the one before
// it in the calendar, and converts back to its own number.
TEST(DayNumberTest, EveryDayFollowsTheDayBeforeAndConvertsBack) {
  CalendarDate previous = *DateOfDayNumber(kFirstDayNumber);
  ASSERT_EQ(previous, (CalendarDate{1, 1, 1}));
  for (int32_t n = kFirstDayNumber + 1; n <= kLastDayNumber; ++n) {
    std::optional<CalendarDate> date = DateOfDayNumber(n);
    ASSERT_TRUE(date) << n;
    CalendarDate expected = previous;
    if (++expected.day > DaysInMonth(expected.year, expected.month)) {
      expected.day = 1;
      if (++expected.month > 12) {
        expected.month = 1;
        ++expected.year;
      }
    }
    ASSERT_EQ(*date, expected) << n;
    ASSERT_EQ(DayNumberOf(*date), n);
    previous = *date;
  }
  EXPECT_EQ(previous, (CalendarDate{9999, 12, 31}));
}

TEST(DayNumberTest, KnowsTheGregorianLeapYears) {
  for (int32_t year : {4, 1600, 1896, 2000, 2024, 2400})
    EXPECT_EQ(DaysInMonth(year, 2), 29) << year;
  for (int32_t year : {1, 100, 1700, 1800, 1900, 2023, 2100})
    EXPECT_EQ(DaysInMonth(year, 2), 28) << year;
  // 400 years are always 146097 days, across day 0 and well before it.
  for (int32_t year : {1, 1601, 1800, 1899, 1900, 2000})
    EXPECT_EQ(*DayNumberOf({year + 400, 3, 1}) - *DayNumberOf({year, 3, 1}), 146097) << year;
}

TEST_F(TimeFamilyTest, ReportsImpossibleDatesWithoutAResult) {
  const std::vector<std::vector<std::string>> impossible = {
      {"2000", "13", "1"},  {"2000", "0", "1"},   {"2000", "-1", "1"}, {"2000", "4", "31"},
      {"2000", "1", "32"},  {"2000", "1", "0"},   {"2001", "2", "29"}, {"1900", "2", "29"},
      {"2100", "2", "29"},  {"0", "1", "1"},      {"-1", "12", "31"},  {"10000", "1", "1"},
      {},
  };
  for (const std::vector<std::string>& parameters : impossible) {
    SCOPED_TRACE(parameters.empty() ? "empty" : parameters[0] + "-" + parameters[1] + "-" + parameters[2]);
    ExpectReported({"datetonumber"}, parameters, "Invalid date.");
  }
}

TEST_F(TimeFamilyTest, ReportsDayNumbersOutsideTheCalendar) {
  for (std::string part : {"numbertoyear", "numbertomonth", "numbertoday"}) {
    for (std::string number : {"-693594", "2958466", "-2147483648"}) {
      SCOPED_TRACE(part + " " + number);
      ExpectReported({part}, {number}, "Invalid day number.");
    }
  }
}

TEST_F(TimeFamilyTest, TicksCountFiveMicrosecondsFromTheTimeBase) {
  platform::VirtualClock& clock = runner().clock();
  EXPECT_EQ(Time({"tick", "get"}), Result("0"));
  clock.Advance(1000);
  EXPECT_EQ(Time({"tick", "get"}), Result("200000"));
  clock.Advance(1);
  EXPECT_EQ(Time({"tick", "get"}), Result("200200"));

  ExpectNoReport({"tick", "reset"});
  EXPECT_EQ(Time({"tick", "reset"}), kNoResult);
  EXPECT_EQ(Time({"tick", "get"}), Result("0"));
  clock.Advance(7);
  EXPECT_EQ(Time({"tick", "get"}), Result("1400"));

  // The count keeps only its low 32 bits, shown as a signed number: just over
  // 2^31 ticks (about three hours) reads as a large negative number.
  clock.Advance(10737419 - 7);
  EXPECT_EQ(Time({"tick", "get"}), Result("-2147483496"));
}

TEST(CounterTicksTest, ScalesAnyFrequencyExactly) {
  struct Case {
    int64_t count;
    uint64_t frequency;
    uint32_t expected;
  };
  const std::vector<Case> cases = {
      {3, 3, 200000},
      {1, 3, 66666},                                  // truncated
      {-1, 3, static_cast<uint32_t>(-66666)},         // truncated toward zero
      {10000000, 10000000, 200000},
      {1, 1000000000, 0},
      // 100000 seconds of a nanosecond counter: the product is past 2^64, the
      // result is 2 * 10^10 ticks modulo 2^32.
      {100000LL * 1000000000, 1000000000, 2820130816u},
      {12345, 0, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CounterTicks(c.count, c.frequency), c.expected) << c.count << " / " << c.frequency;
}

TEST_F(TimeFamilyTest, GivesTheLastResetIn32BitUnsignedArithmetic) {
  runner().clock().Advance(5000);
  Time({"tick", "reset"});
  // 5 000 000 x 200 000 modulo 2^32 is 3 567 587 328 (negative as a signed
  // 32-bit number); over 1 000 000 that is 3567.
  EXPECT_EQ(Time({"tick", "getlastreset"}), Result("3567"));

  struct Case {
    uint64_t count, frequency;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {0, 1000000, "0"},
      // Only the low 32 bits of counter and frequency take part.
      {(uint64_t{7} << 32) + 5000000, (uint64_t{1} << 32) + 1000000, "3567"},
      // An unsigned quotient past 2^31 is shown as a signed number.
      {20000, 1, "-294967296"},
      {123, uint64_t{1} << 32, "0"},  // the frequency's low 32 bits are zero
  };
  for (const Case& c : cases) {
    engine().startup.time_base_count = c.count;
    engine().startup.time_base_frequency = c.frequency;
    EXPECT_EQ(Time({"tick", "getlastreset"}), Result(c.expected)) << c.count << " / " << c.frequency;
  }
}

TEST_F(TimeFamilyTest, StopwatchMeasuresMillisecondsFromItsStart) {
  platform::VirtualClock& clock = runner().clock();
  clock.Advance(1234);
  // Never started: the start is 0, so the stopwatch gives the whole tick count.
  EXPECT_EQ(Time({"chrono", "stop"}), Result("1234"));
  EXPECT_EQ(Time({"chrono", "get"}), Result("1234"));

  ExpectNoReport({"chrono", "start"});
  EXPECT_EQ(Time({"chrono", "start"}), kNoResult);
  clock.Advance(250);
  EXPECT_EQ(Time({"chrono", "stop"}), Result("250"));
  clock.Advance(50);
  EXPECT_EQ(Time({"chrono", "stop"}), Result("300"));  // it keeps running
  EXPECT_EQ(Time({"chrono", "get"}), Result("1534"));

  // Across the wrap of the millisecond tick at 2^32.
  clock.Advance((uint64_t{1} << 32) - 100 - 1534);
  EXPECT_EQ(Time({"chrono", "get"}), Result("-100"));
  Time({"chrono", "start"});
  clock.Advance(300);
  EXPECT_EQ(Time({"chrono", "stop"}), Result("300"));
  EXPECT_EQ(Time({"chrono", "get"}), Result("200"));
}

TEST_F(TimeFamilyTest, ReportsUnknownCommands) {
  const std::vector<std::vector<std::string>> unknown = {
      {"nosuch"}, {""},           {"Hour"},         {"tick"},           {"tick", "nosuch"},
      {"chrono"}, {"chrono", "reset"}, {"tick", "start"}, {"chrono", "getlastreset"},
  };
  for (const std::vector<std::string>& path : unknown) {
    SCOPED_TRACE(path.size() > 1 ? path[0] + "." + path[1] : path[0]);
    ExpectReported(path, {}, message::kUnknownCommand);
  }
}

TEST(LocalTimeTest, PicksTheFieldOfEachCommand) {
  LocalTime now;
  now.date = {2024, 2, 29};
  now.hour = 13;
  now.minute = 45;
  now.second = 7;
  now.millisecond = 89;
  now.day_of_week = 5;
  const std::vector<std::pair<std::string, int32_t>> fields = {
      {"hour", 13}, {"minute", 45}, {"second", 7},    {"millisecond", 89}, {"day", 29},
      {"month", 2}, {"year", 2024}, {"dayofweek", 5}, {"date", 45351},
  };
  for (const auto& [name, value] : fields) EXPECT_EQ(LocalTimeValue(name, now), value) << name;
  EXPECT_EQ(LocalTimeValue("tick", now), std::nullopt);
  EXPECT_EQ(LocalTimeValue("", now), std::nullopt);
}

TEST_F(TimeFamilyTest, ReadsTheLocalClock) {
  auto value = [this](const std::string& name) { return std::stoi(Time({name}).value_or("-1")); };
  for (const auto& [name, low, high] : std::vector<std::tuple<std::string, int, int>>{
           {"hour", 0, 23}, {"minute", 0, 59}, {"second", 0, 59}, {"millisecond", 0, 999},
           {"day", 1, 31}, {"month", 1, 12}, {"year", 2020, 9999}, {"dayofweek", 1, 7}}) {
    int v = value(name);
    EXPECT_GE(v, low) << name;
    EXPECT_LE(v, high) << name;
  }
  // Today's number agrees with today's date and weekday (day 0 was a Saturday).
  // Read again should midnight pass in between.
  for (int attempt = 0; attempt < 3; ++attempt) {
    int date = value("date");
    int year = value("year"), month = value("month"), day = value("day"), weekday = value("dayofweek");
    if (value("date") != date) continue;
    EXPECT_EQ(DayNumberOf({year, month, day}), date);
    EXPECT_EQ((date + 6) % 7 + 1, weekday);
    return;
  }
  ADD_FAILURE() << "the date kept changing";
}

TEST_F(TimeFamilyTest, ScriptsConvertDatesAndMeasureTime) {
  Run(R"(
event.initialize()
  &n = time.datetonumber(1899,12,{num.compute(28+1)})
  &y = time.numbertoyear({&n})
  &m = time.numbertomonth({&n})
  &d = time.numbertoday({num.compute({&n}+3)})
  time.chrono.start()
  doevent.later(50)
event.end()

event.later()
  &elapsed = time.chrono.stop()
  &ticks = time.tick.get()
event.end()
)");
  EXPECT_EQ(Var("n"), "-1");
  EXPECT_EQ(Var("y"), "1899");
  EXPECT_EQ(Var("m"), "12");
  EXPECT_EQ(Var("d"), "1");
  EXPECT_EQ(Var("elapsed"), "50");
  EXPECT_EQ(Var("ticks"), "10000");
  EXPECT_EQ(AllReports(), "");
}

}  // namespace
}  // namespace ixo
