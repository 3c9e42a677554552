// Calendar arithmetic of the month calendar: weekdays, leap years, month
// lengths and date comparison. Portable: no Windows API.
#pragma once

// Room of a weekday name ("日" .. "土", one double-byte character).
constexpr int kWeekdayNameSize = 3;

// The weekday names, index 0 (Sunday) to 6 (Saturday), in Shift-JIS.
const char* WeekdayName(int index);
// Weekday of a Gregorian date, 1 = Sunday .. 7 = Saturday, with its name in
// `name` (room for kWeekdayNameSize bytes; may be null). -1 and an empty
// name for dates before 1582-10-15, when the calendar began.
int WeekdayOfDate(char* name, int year, int month, int day);
// 1 for a Gregorian leap year, else 0.
int IsLeapYear(int year);
// Days of a month (1-12) of a year; 0 for another month.
int DaysInMonth(int year, int month);
// Compares two dates as their "%04d/%02d/%02d" texts: <0, 0 or >0.
int CompareDates(int year1, int month1, int day1, int year2, int month2, int day2);
