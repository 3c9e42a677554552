// Calendar arithmetic: weekdays from the Gregorian start on, leap years,
// month lengths and date order.
#include "screen/calendar_dates.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CalendarDates, FindsTheWeekday) {
  struct Case {
    int year, month, day;
    int weekday;
    const char* name;
  };
  const Case cases[] = {
      {1582, 10, 15, 6, "\x8b\xe0"},  // the first Gregorian day, a Friday
      {1582, 10, 14, -1, ""},         // before it: none
      {1500, 1, 1, -1, ""},          {2000, 1, 1, 7, "\x93\x79"},  // Saturday
      {2000, 2, 29, 3, "\x89\xce"},                                // Tuesday
      {2024, 3, 1, 6, "\x8b\xe0"},   {2024, 12, 31, 3, "\x89\xce"}, {1999, 12, 26, 1, "\x93\xfa"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" +
                 std::to_string(c.day));
    char name[kWeekdayNameSize] = "xx";
    EXPECT_EQ(WeekdayOfDate(name, c.year, c.month, c.day), c.weekday);
    EXPECT_STREQ(name, c.name);
  }
  EXPECT_GT(WeekdayOfDate(nullptr, 2147483647, 12, 31), 0);  // no overflow
}

TEST(CalendarDates, CountsTheDaysOfMonths) {
  EXPECT_EQ(DaysInMonth(2000, 2), 29);  // divisible by 400
  EXPECT_EQ(DaysInMonth(1900, 2), 28);  // by 100 only
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(2023, 4), 30);
  EXPECT_EQ(DaysInMonth(2023, 12), 31);
  EXPECT_EQ(DaysInMonth(2023, 13), 0);
  EXPECT_EQ(IsLeapYear(2000), 1);
  EXPECT_EQ(IsLeapYear(2100), 0);
}

TEST(CalendarDates, ComparesDatesAsTheirTexts) {
  EXPECT_LT(CompareDates(2024, 1, 31, 2024, 2, 1), 0);
  EXPECT_EQ(CompareDates(2024, 2, 1, 2024, 2, 1), 0);
  EXPECT_GT(CompareDates(2025, 1, 1, 2024, 12, 31), 0);
}

}  // namespace
