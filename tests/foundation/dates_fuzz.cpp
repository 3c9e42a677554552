// Feeds arbitrary bytes to the date routines: date texts taken apart, ages
// from any date and reference, and today's date in every form with any era
// name and year, under any clock. Texts stay within kDateTextSize.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/dates.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

LocalClock g_clock;

int32_t Take(const uint8_t*& data, size_t& size) {
  int32_t value = 0;
  const size_t n = size < sizeof value ? size : sizeof value;
  std::memcpy(&value, data, n);
  data += n;
  size -= n;
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  g_clock = {Take(data, size), Take(data, size), Take(data, size), Take(data, size), Take(data, size)};
  SetClockHook([] { return g_clock; });
  const int year = Take(data, size);
  const int month = Take(data, size);
  const int day = Take(data, size);
  const int reference = Take(data, size);
  const int form = Take(data, size);
  const int eraYear = Take(data, size);
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string eraName = text.substr(0, text.find('\0'));

  char out[kDateTextSize + 1];
  out[kDateTextSize] = '\x7f';
  GetTodayString(out);
  Check(std::strlen(out) == 10);
  GetTimeString(out);
  Check(std::strlen(out) == 5);
  for (int part = 0; part <= 4; ++part) GetDatePart(eraName.c_str(), part);
  const int age = ComputeAge(year, month, day, reference);
  Check(year > 0 && month > 0 && day > 0 ? true : age == 0);
  FormatEraDateText(g_clock, eraName.c_str(), eraYear, form, out);
  Check(out[kDateTextSize] == '\x7f' && std::strlen(out) < kDateTextSize);
  SetClockHook(nullptr);
  return 0;
}
