// The era table and era dates: the text file that lists the Japanese eras
// (newest first, one a line) and the conversion of an era date such as
// "H1/2/3" to the Western "1989/02/03". The eras are data, so a new era is
// one more line in the file. Portable: no Windows API; the file of the
// program folder is found in era_dates.cpp.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/bounded_format.h"
#include "foundation/csv_token.h"
#include "foundation/dates.h"
#include "foundation/sjis_text.h"

namespace {

constexpr int kEraLineSize = 2048;
// Longest field the table reads; each field is then cut to its own limit.
constexpr int kEraFieldSize = kEraLineSize;

bool IsLatinLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

char UpperLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDateSeparator(char c) { return c == '/' || c == ' '; }

// The first `limit` bytes of `field`, never ending inside a character.
std::string CutField(const char* field, int limit) {
  return std::string(field, CharBoundaryLength(field, limit));
}

}  // namespace

int ParseEraTableLine(const char* line, EraEntry* era) {
  std::string fields[5];
  CsvCursor cursor;
  std::string buffer(kEraFieldSize + 1, '\0');
  int count = 0;
  int rc;
  do {
    rc = NextCsvTokenWith(cursor, buffer.data(), kEraFieldSize, line);
    if (rc == -2) return -1;  // a field longer than a whole line: no era line
    if (count < 5) fields[count] = buffer.c_str();
    ++count;
  } while (rc > 0);
  if (count < 5) return -1;
  EraEntry parsed;
  parsed.startYear = DecimalTextToInt(CutField(fields[0].c_str(), 4).c_str());
  parsed.startMonth = DecimalTextToInt(CutField(fields[1].c_str(), 2).c_str());
  parsed.startDay = DecimalTextToInt(CutField(fields[2].c_str(), 2).c_str());
  parsed.name = CutField(fields[3].c_str(), 4);
  const std::string letter = CutField(fields[4].c_str(), 1);
  if (parsed.startYear <= 0 || letter.empty() || !IsLatinLetter(letter[0])) return -1;
  parsed.letter = UpperLetter(letter[0]);
  *era = parsed;
  return 0;
}

int ParseEraTable(const char* text, std::vector<EraEntry>* eras) {
  eras->clear();
  const char* line = text;
  while (*line) {
    const char* end = std::strchr(line, '\n');
    const size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
    const std::string one(line, std::min<size_t>(length, kEraLineSize));
    EraEntry era;
    if (ParseEraTableLine(one.c_str(), &era) == 0) eras->push_back(era);
    if (!end) break;
    line = end + 1;
  }
  return static_cast<int>(eras->size());
}

int LoadEraTableFile(const char* path, std::vector<EraEntry>* eras) {
  eras->clear();
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return -1;
  std::string text;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return -1;
  // A NUL inside the file ends the text: what follows it is no era line.
  ParseEraTable(text.c_str(), eras);
  return 0;
}

int SplitDateText(char* year, char* month, char* day, const char* text) {
  char* parts[3] = {year, month, day};
  for (char* part : parts) part[0] = '\0';
  const size_t length = std::strlen(text);
  if (length == 0 || length > kDateTextMaxInput) return 0;
  int index = 0;
  size_t used = 0;
  for (size_t i = 0; i < length && index < 3;) {
    const int bytes = SjisCharLength(text + i);
    if (bytes == 1 && IsDateSeparator(text[i])) {
      // A run of separators ends the part once; separators in front of the
      // first part end nothing.
      if (used > 0) {
        ++index;
        used = 0;
      }
      ++i;
      continue;
    }
    if (bytes == 1 && IsLatinLetter(text[i])) {
      ++i;
      continue;
    }
    std::memcpy(parts[index] + used, text + i, bytes);
    used += bytes;
    parts[index][used] = '\0';
    i += bytes;
  }
  return 0;
}

int ConvertEraDateWith(const std::vector<EraEntry>& eras, char* out, const char* text) {
  out[0] = '\0';
  if (!text || !text[0]) return -1;
  const char letter = UpperLetter(text[0]);
  for (const EraEntry& era : eras) {
    if (era.letter != letter) continue;
    char year[kDateTextMaxInput + 1], month[kDateTextMaxInput + 1], day[kDateTextMaxInput + 1];
    SplitDateText(year, month, day, text);
    // Without an era year there is no date to write (a text too long to
    // split included): "0000"-like dates are never made up.
    if (!year[0]) return -1;
    const int western = DecimalTextToInt(year) + era.startYear - 1;
    FormatTextBounded(out, kDateTextSize, "%04d/%02d/%02d", western, DecimalTextToInt(month),
                      DecimalTextToInt(day));
    return 0;
  }
  return -1;
}

int WesternToEraTextWith(const std::vector<EraEntry>& eras, char* out, const char* date,
                         int style) {
  out[0] = '\0';
  if (!date) return -1;
  for (const EraEntry& era : eras) {
    char firstDay[kDateTextSize];
    FormatTextBounded(firstDay, sizeof firstDay, "%04d/%02d/%02d", era.startYear, era.startMonth,
                      era.startDay);
    if (std::strcmp(date, firstDay) < 0) continue;
    const int eraYear = GetDatePart(date, 1) - era.startYear + 1;
    const char* format = style == 2 ? "%s %2d 年 %2d 月 %2d 日" : "%s%2d年%2d月%2d日";
    FormatTextBounded(out, kDateTextSize, format, era.name.c_str(), eraYear, GetDatePart(date, 2),
                      GetDatePart(date, 3));
    return 0;
  }
  return -1;
}

void NormalizeDateTextWith(const std::vector<EraEntry>& eras, char* out, const char* text) {
  FormatTextBounded(out, kDateTextSize, "%s", text);
  if (!out[0]) return;
  char western[kDateTextSize];
  if (IsLatinLetter(out[0]) && ConvertEraDateWith(eras, western, out) == 0) {
    FormatTextBounded(out, kDateTextSize, "%s", western);
  }
  if (std::strlen(out) == static_cast<size_t>(kDateTextMaxInput)) return;
  char year[kDateTextSize], month[kDateTextSize], day[kDateTextSize];
  SplitDateText(year, month, day, out);
  FormatTextBounded(out, kDateTextSize, "%04d/%02d/%02d", DecimalTextToInt(year),
                    DecimalTextToInt(month), DecimalTextToInt(day));
}
