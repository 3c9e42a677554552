// Feeds arbitrary bytes to the era table and era dates: a table file's text
// (up to the first NUL) and an era date typed after it. Every era read has
// its fields within their limits; a conversion writes a whole date within
// the room of a date text, or nothing.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/dates.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsDateText(const char* text) {
  // digits "/" digits "/" digits, each part at least as wide as "%04d/%02d/%02d" makes it
  const char* p = text;
  for (int part = 0; part < 3; ++part) {
    const char* start = p;
    if (*p == '-') ++p;
    while (*p >= '0' && *p <= '9') ++p;
    if (p - start < (part == 0 ? 4 : 2)) return false;
    if (part < 2 && *p++ != '/') return false;
  }
  return *p == '\0';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string all(reinterpret_cast<const char*>(data), size);
  const size_t split = all.find('\0');
  const std::string table = all.substr(0, split);
  const std::string date = split == std::string::npos ? std::string() : all.substr(split + 1);

  std::vector<EraEntry> eras;
  ParseEraTable(table.c_str(), &eras);
  for (const EraEntry& era : eras) {
    Check(era.startYear > 0 && era.startYear <= 9999);
    Check(era.startMonth <= 99 && era.startDay <= 99);
    Check(era.name.size() <= 4);
    Check(era.letter >= 'A' && era.letter <= 'Z');
  }

  char year[kDateTextMaxInput + 2], month[kDateTextMaxInput + 2], day[kDateTextMaxInput + 2];
  year[kDateTextMaxInput + 1] = month[kDateTextMaxInput + 1] = day[kDateTextMaxInput + 1] = 'x';
  SplitDateText(year, month, day, date.c_str());
  Check(year[kDateTextMaxInput + 1] == 'x' && month[kDateTextMaxInput + 1] == 'x' &&
        day[kDateTextMaxInput + 1] == 'x');

  char out[kDateTextSize + 1];
  out[kDateTextSize] = '\x7f';
  const int result = ConvertEraDateWith(eras, out, date.c_str());
  Check(out[kDateTextSize] == '\x7f');
  Check(result == 0 ? IsDateText(out) : out[0] == '\0');
  return 0;
}
