// Dates and times as the program passes them around: text "%04d/%02d/%02d"
// (compared as text) and "%02d:%02d", ages in whole years, and today's date in
// Western or Japanese era form.
#pragma once

// Room for any text written here (GetTodayEraString's longest form included).
constexpr int kDateTextSize = 64;

// The local date and time as the program sees it.
struct LocalClock {
  int year;
  int month;   // 1-12
  int day;     // 1-31
  int hour;    // 0-23
  int minute;  // 0-59
};

// Where the program reads the local clock; tests install a fixed "now".
// A null hook restores the real clock.
using ClockHook = LocalClock (*)();
void SetClockHook(ClockHook hook);
LocalClock ReadLocalClock();

// Today as "%04d/%02d/%02d" into `out` (room for 11 bytes). Returns `out`.
char* GetTodayString(char* out);
// The local time as "%02d:%02d" into `out` (room for 6 bytes). Returns `out`.
char* GetTimeString(char* out);
// From a date text: part 1 the year (characters 1-4), 2 the month (6-7), 3
// the day (9-10), as a number; 0 for another part or a short text.
int GetDatePart(const char* date, int part);
// Age in whole years of someone born on year/month/day, as of today when
// `referenceYear` is not positive, else as of 1 April of that year (a birthday
// on that day counts as reached). 0 when a date part is not positive.
int ComputeAge(int year, int month, int day, int referenceYear = 0);

// `date` in form 1 "%04d年%2d月%2d日", 2 the era form "%s%2d年%2d月%2d日" with
// `eraName` and `eraYear`, 3 "Western (era)", 4 "era (Western)", any other
// "%04d/%2d/%2d" (blanks, not zeros), into `out` (room for kDateTextSize
// bytes; a longer text is cut at a character boundary). Returns 0.
int FormatEraDateText(const LocalClock& date, const char* eraName, int eraYear, int form,
                      char* out);
// Today's date in form 1 "%04d年%2d月%2d日", 2 the era form "%s%2d年%2d月%2d日",
// 3 "Western (era)", 4 "era (Western)", any other "%04d/%2d/%2d", into `out`
// (room for kDateTextSize bytes). The era name and year come from the row of
// the open era table in `eraSlot` whose SEIREKI is the year (GENGO, WAREKI);
// a missing row or a negative slot gives an empty name and year 0. Returns 0.
int GetTodayEraString(int eraSlot, int form, char* out);
