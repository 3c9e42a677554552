// Calendar arithmetic (see calendar_dates.h).
#include "screen/calendar_dates.h"

#include <cstdio>
#include <cstring>

namespace {

// Spelled as bytes so every compiler reads them alike.
constexpr const char* kWeekdayNames[7] = {
    "\x93\xfa",  // 日
    "\x8c\x8e",  // 月
    "\x89\xce",  // 火
    "\x90\x85",  // 水
    "\x96\xd8",  // 木
    "\x8b\xe0",  // 金
    "\x93\x79",  // 土
};

}  // namespace

const char* WeekdayName(int index) { return index >= 0 && index < 7 ? kWeekdayNames[index] : ""; }

int WeekdayOfDate(char* name, int year, int month, int day) {
  if (name) name[0] = '\0';
  if (CompareDates(year, month, day, 1582, 10, 15) < 0) return -1;
  // In 64 bits: a year read from a text may be as large as an int.
  long long y = year;
  long long m = month;
  if (m < 3) {
    y -= 1;
    m += 12;
  }
  const long long sum = day + y / 400 + y + y / 4 + (13 * m + 8) / 5 - y / 100;
  const int w = static_cast<int>(((sum % 7) + 7) % 7);
  if (name) std::memcpy(name, kWeekdayNames[w], kWeekdayNameSize);
  return w + 1;
}

int IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 1 : 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int CompareDates(int year1, int month1, int day1, int year2, int month2, int day2) {
  char first[40], second[40];
  std::snprintf(first, sizeof first, "%04d/%02d/%02d", year1, month1, day1);
  std::snprintf(second, sizeof second, "%04d/%02d/%02d", year2, month2, day2);
  return std::strcmp(first, second);
}
