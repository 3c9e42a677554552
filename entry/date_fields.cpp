// Date fields of entry screens: what the operator typed is made a Western
// date when the field is left, and the era form or the age of the date is
// shown in a field beside it. The eras come from the era table file.
#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "foundation/dates.h"
#include "foundation/files.h"
#include "screen/calendar_dates.h"
#include "screen/screen.h"

namespace {

// The current field of the current screen, or -1.
int CurrentDateItem() {
  const int item = g_screen.currentItem;
  if (!IsValidSlot(g_screen.currentSlot)) return -1;
  const WindowSlot& slot = Slot(g_screen.currentSlot);
  return item >= slot.firstItem && item <= slot.lastItem && slot.itemCount > 0 ? item : -1;
}

// A date of the field: "%04d/%02d/%02d" with a year, a month and a day
// ("0000/00/00" is what a text that is no date becomes).
bool HoldsDate(const std::string& text) {
  return text.size() == 10 && text[4] == '/' && text[7] == '/' && GetDatePart(text.c_str(), 1) > 0 &&
         GetDatePart(text.c_str(), 2) > 0 && GetDatePart(text.c_str(), 3) > 0;
}

}  // namespace

int NormalizeDateField() {
  const int item = CurrentDateItem();
  if (item < 0) return -1;
  std::vector<EraEntry> eras;
  LoadEraTableFile((GetProgramFolder() + "\\西暦和暦.txt").c_str(), &eras);
  char date[kDateTextSize];
  NormalizeDateTextWith(eras, date, Item(item).displayText.c_str());
  SetItemValueAt(g_screen.currentSlot, item, date);
  return 0;
}

int ShowEraOfDateField(const char* eraField) {
  const int item = CurrentDateItem();
  if (item < 0 || !eraField || !eraField[0]) return -1;
  const std::string date = Item(item).displayText;
  if (!HoldsDate(date)) return -1;
  const std::string era = EraOfDate(date);
  SetItemValueForCommand(g_screen.currentSlot, eraField, era.c_str());
  return era.empty() ? -1 : 0;
}

std::string EraFieldName(const std::string& dateField) { return dateField + "和暦"; }

bool IsCalendarDate(const std::string& text) {
  const auto digits = [&](size_t at, size_t count) {
    return std::all_of(text.begin() + at, text.begin() + at + count,
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
  };
  if (text.size() != 10 || text[4] != '/' || text[7] != '/' || !digits(0, 4) || !digits(5, 2) || !digits(8, 2)) {
    return false;
  }
  const int year = GetDatePart(text.c_str(), 1), month = GetDatePart(text.c_str(), 2),
            day = GetDatePart(text.c_str(), 3);
  return year >= 1 && day >= 1 && day <= DaysInMonth(year, month);
}

std::string EraOfDate(const std::string& date) {
  char era[kDateTextSize] = "";
  if (!IsCalendarDate(date) || WesternToEraCompact(era, date.c_str()) != 0) return "";
  return era;
}

int ShowAgeOfDateField(const char* ageField) {
  const int item = CurrentDateItem();
  if (item < 0 || !ageField || !ageField[0]) return -1;
  const std::string date = Item(item).displayText;
  if (!HoldsDate(date)) return -1;
  const int age = ComputeAge(GetDatePart(date.c_str(), 1), GetDatePart(date.c_str(), 2), GetDatePart(date.c_str(), 3));
  SetItemValueForCommand(g_screen.currentSlot, ageField, std::to_string(age).c_str());
  return 0;
}
