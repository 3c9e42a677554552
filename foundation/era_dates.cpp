// Today's date in Western or Japanese era form, and era dates converted with
// the era table file of the program folder. Today's era comes from the era
// table that the caller has opened in a table slot: rows keyed by SEIREKI
// (the Western year as "%d") holding GENGO (the era name) and WAREKI (the
// year within the era).
#include <cstdio>
#include <string>

#include "foundation/dates.h"
#include "foundation/db.h"
#include "foundation/files.h"

int GetTodayEraString(int eraSlot, int form, char* out) {
  const LocalClock today = ReadLocalClock();
  std::string eraName;
  int eraYear = 0;
  if (form != 1 && eraSlot >= 0) {
    char year[16];
    std::snprintf(year, sizeof year, "%d", today.year);
    if (db_search(eraSlot, year, "SEIREKI") == 0) {
      eraName = GetColumnText(eraSlot, "GENGO");
      eraYear = GetColumnInt(eraSlot, "WAREKI");
    }
  }
  return FormatEraDateText(today, eraName.c_str(), eraYear, form, out);
}

int ConvertEraDate(char* out, const char* text) {
  out[0] = '\0';
  const std::string path = GetProgramFolder() + "\\西暦和暦.txt";
  std::vector<EraEntry> eras;
  if (LoadEraTableFile(path.c_str(), &eras) < 0) return -1;
  return ConvertEraDateWith(eras, out, text);
}

int WesternToEraText(char* out, const char* date, int style) {
  out[0] = '\0';
  const std::string path = GetProgramFolder() + "\\西暦和暦.txt";
  std::vector<EraEntry> eras;
  if (LoadEraTableFile(path.c_str(), &eras) < 0) return -1;
  return WesternToEraTextWith(eras, out, date, style);
}

int WesternToEraCompact(char* out, const char* date) { return WesternToEraText(out, date, 0); }
