// The local clock, date texts and ages. Today's era date, which reads the era
// table through the database layer, lives in era_dates.cpp.
#include "foundation/dates.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ctime>

#include "foundation/bounded_format.h"
#include "foundation/sjis_text.h"

namespace {

ClockHook g_clockHook = nullptr;

// Shift-JIS as bytes: the clang fuzz build compiles this file and cannot
// convert literals to code page 932.
constexpr char kWesternDateFormat[] = "%04d\x94\x4E%2d\x8C\x8E%2d\x93\xFA";  // "%04d年%2d月%2d日"
constexpr char kEraDateFormat[] = "%s%2d\x94\x4E%2d\x8C\x8E%2d\x93\xFA";     // "%s%2d年%2d月%2d日"

LocalClock ReadSystemClock() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);  // the program has one thread
  return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour,
          local->tm_min};
}

}  // namespace

void SetClockHook(ClockHook hook) { g_clockHook = hook; }

LocalClock ReadLocalClock() { return g_clockHook ? g_clockHook() : ReadSystemClock(); }

char* GetTodayString(char* out) {
  const LocalClock now = ReadLocalClock();
  std::snprintf(out, 11, "%04d/%02d/%02d", std::clamp(now.year, 0, 9999),
                std::clamp(now.month, 0, 99), std::clamp(now.day, 0, 99));
  return out;
}

char* GetTimeString(char* out) {
  const LocalClock now = ReadLocalClock();
  std::snprintf(out, 6, "%02d:%02d", std::clamp(now.hour, 0, 99), std::clamp(now.minute, 0, 99));
  return out;
}

int GetDatePart(const char* date, int part) {
  switch (part) {
    case 1: return SubstringToInt(date, 1, 4);
    case 2: return SubstringToInt(date, 6, 2);
    case 3: return SubstringToInt(date, 9, 2);
    default: return 0;
  }
}

int ComputeAge(int year, int month, int day, int referenceYear) {
  if (year <= 0 || month <= 0 || day <= 0) return 0;
  int referenceMonth = 4;
  int referenceDay = 1;
  if (referenceYear <= 0) {
    const LocalClock today = ReadLocalClock();
    referenceYear = today.year;
    referenceMonth = today.month;
    referenceDay = today.day;
  }
  const bool birthdayReached =
      month < referenceMonth || (month == referenceMonth && referenceDay >= day);
  // In 64 bits: a clock or a birth year far out of range gives a clamped
  // age, never an overflow.
  const long long age = static_cast<long long>(referenceYear) - year - 1 + (birthdayReached ? 1 : 0);
  return static_cast<int>(std::clamp<long long>(age, INT_MIN, INT_MAX));
}

int FormatEraDateText(const LocalClock& date, const char* eraName, int eraYear, int form,
                      char* out) {
  char western[kDateTextSize];
  char era[kDateTextSize];
  FormatTextBounded(western, kDateTextSize, kWesternDateFormat, date.year, date.month, date.day);
  FormatTextBounded(era, kDateTextSize, kEraDateFormat, eraName, eraYear, date.month, date.day);
  switch (form) {
    case 1: FormatTextBounded(out, kDateTextSize, "%s", western); break;
    case 2: FormatTextBounded(out, kDateTextSize, "%s", era); break;
    case 3: FormatTextBounded(out, kDateTextSize, "%s (%s)", western, era); break;
    case 4: FormatTextBounded(out, kDateTextSize, "%s (%s)", era, western); break;
    default:
      FormatTextBounded(out, kDateTextSize, "%04d/%2d/%2d", date.year, date.month, date.day);
      break;
  }
  return 0;
}
