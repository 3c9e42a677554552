// Lines of the print-settings file written then read: arbitrary settings
// (texts of any bytes, any numbers) come back as they were written, texts
// cut to their room and the reduction to the one decimal the file keeps,
// and the line reads under the code it was written with. Byte 1 separates
// the texts; the bytes after the fifth text give the numbers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/bounded_format.h"
#include "tally/tally.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> texts(1);
  size_t i = 0;
  for (; i < size && texts.size() <= 5; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\x01') {
      texts.emplace_back();
    } else if (c != '\0') {
      texts.back() += c;
    }
  }
  texts.resize(6);
  auto number = [&]() {
    int32_t n = 0;
    for (int k = 0; k < 4; ++k) n = static_cast<int32_t>((static_cast<uint32_t>(n) << 8) | (i < size ? data[i++] : 0));
    return static_cast<int>(n);
  };

  PrintSettings written;
  std::string* const fields[6] = {&written.code,  &written.startCode, &written.endCode,
                                  &written.paper, &written.field,     &written.file};
  const int rooms[6] = {6, 50, 50, 6, 50, 256};
  for (int k = 0; k < 6; ++k) *fields[k] = CutAtCharBoundary(texts[k].c_str(), rooms[k]);
  int* const numbers[] = {&written.topMargin,  &written.charSize,    &written.leftMargin,
                          &written.lines,      &written.lineSpacing, &written.reserved10,
                          &written.reserved11, &written.reserved12,  &written.labelWidth,
                          &written.labelHeight, &written.columns,    &written.labelRows,
                          &written.labelTop,   &written.labelLeft,   &written.framePrint,
                          &written.notch,      &written.upperLimit,  &written.lowerLimit,
                          &written.quoteTexts, &written.reserved27,  &written.titleLine,
                          &written.pageNumbers, &written.radarMaximum, &written.firstLabel};
  for (int* n : numbers) *n = number();
  written.previewReduction = number() / 10.0;

  const std::string line = FormatPrintSettingsLine(written);
  PrintSettings read;
  Check(ParsePrintSettingsLine(line.c_str(), read) == kPrintSettingsFields);
  Check(PrintSettingsLineCode(line.c_str()) == written.code);
  Check(read.code == written.code && read.startCode == written.startCode &&
        read.endCode == written.endCode && read.paper == written.paper &&
        read.field == written.field && read.file == written.file);
  for (size_t k = 0; k < sizeof numbers / sizeof numbers[0]; ++k) {
    const size_t offset = reinterpret_cast<const char*>(numbers[k]) -
                          reinterpret_cast<const char*>(&written);
    Check(*reinterpret_cast<const int*>(reinterpret_cast<const char*>(&read) + offset) ==
          *numbers[k]);
  }
  Check(FormatPrintSettingsLine(read) == line);
  return 0;
}
