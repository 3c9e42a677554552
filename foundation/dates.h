// Dates and times as the program passes them around: text "%04d/%02d/%02d"
// (compared as text) and "%02d:%02d", ages in whole years, today's date in
// Western or Japanese era form, and era dates typed as an era letter and
// numbers, converted through the era table file.
#pragma once

#include <string>
#include <vector>

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

// ---------------------------------------------------------------------------
// The era table file "西暦和暦.txt" of the program folder: one era a line,
// newest first, five comma-separated fields (double quotes allowed): the
// era's first day as Western year, month and day, the era name and the era
// letter. Lines are tried in file order; the first that fits wins. A line
// that is not an era (fewer fields, no year, no Latin letter) is skipped.

// Longest date text that SplitDateText takes apart.
constexpr int kDateTextMaxInput = 10;

struct EraEntry {
  int startYear = 0;   // cut to 4 bytes
  int startMonth = 0;  // 2 bytes
  int startDay = 0;    // 2 bytes
  std::string name;    // 4 bytes: two double-byte characters
  char letter = 0;     // upper case
};

// One line of the table into `era`: 0, or -1 when the line is no era.
int ParseEraTableLine(const char* line, EraEntry* era);
// Every era of a whole file's text, in file order; returns their number.
int ParseEraTable(const char* text, std::vector<EraEntry>* eras);
// Reads the era table file at `path`: 0, or -1 (quietly, `eras` empty) when
// it is missing or cannot be read.
int LoadEraTableFile(const char* path, std::vector<EraEntry>* eras);

// Splits a date text of 1 to 10 bytes at "/" and blanks into year, month and
// day (room for 11 bytes each), dropping Latin letters; a run of separators
// ends a part once. A longer or empty text gives three empty parts. Returns 0.
int SplitDateText(char* year, char* month, char* day, const char* text);

// An era date ("H1/2/3": the era letter in either case, then era year, month
// and day) as "%04d/%02d/%02d" into `out` (room for kDateTextSize bytes),
// with the eras of `eras`. 0, or -1 with `out` empty when no era has the
// letter or the text holds no era year. No message: callers keep what was
// typed.
int ConvertEraDateWith(const std::vector<EraEntry>& eras, char* out, const char* text);
// ConvertEraDateWith the era table file of the program folder; -1 also when
// the file is missing or cannot be read.
int ConvertEraDate(char* out, const char* text);

// A Western date "%04d/%02d/%02d" in era form into `out` (room for
// kDateTextSize bytes): style 2 "%s %2d 年 %2d 月 %2d 日", any other style
// "%s%2d年%2d月%2d日" (era name, era year, month, day). The first era (in
// file order) whose first day is not after the date wins; its first day is
// era year 1. 0, or -1 with `out` empty when no era fits.
int WesternToEraTextWith(const std::vector<EraEntry>& eras, char* out, const char* date,
                         int style);
// WesternToEraTextWith the era table file of the program folder; -1 also
// when the file is missing or cannot be read (no message).
int WesternToEraText(char* out, const char* date, int style);
// WesternToEraText in the compact style 0.
int WesternToEraCompact(char* out, const char* date);

// What a date field holds after the operator leaves it, into `out` (room
// for kDateTextSize bytes): an empty text stays empty; a text that begins
// with a Latin letter and converts as an era date becomes that Western
// date; any other text that is not exactly 10 bytes long is split and
// written as "%04d/%02d/%02d" of its parts (a missing part is 0). A 10-byte
// text is kept as typed.
void NormalizeDateTextWith(const std::vector<EraEntry>& eras, char* out, const char* text);
