// Feeds arbitrary bytes to the screen-text parser (and the word tables it
// leads to) against a table description of each column type. A text that
// parses stores only values that fit their columns: numbers as integers,
// one byte a character, texts within their length, every row complete.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "screen/screen_text.h"
#include "screen/screen_words.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const char kTables[] =
    "SCRTBL\n"
    "FIELD\n"
    "\"t\",\"char*\",\"SCRCODE\",20,0,0,\"\",20\n"
    "\"t\",\"char*\",\"SCRTYPE\",10,0,0,\"\",10\n"
    "\"t\",\"char\",\"SCRFKEY\",1,16,0,\"\",1\n"
    "\"t\",\"int\",\"SCRNO\",4,0,0,\"\",4\n"
    "\"t\",\"long\",\"LINCNT\",6,0,0,\"\",6\n"
    "\"t\",\"double\",\"RATE\",8,0,2,\"\",8\n"
    "END\n"
    "FLDTBL\n"
    "FIELD\n"
    "\"t\",\"char*\",\"SCRCODE\",20,0,0,\"\",20\n"
    "\"t\",\"char*\",\"FLDCODE\",10,0,0,\"\",10\n"
    "\"t\",\"char\",\"FLDCD\",1,0,0,\"\",1\n"
    "\"t\",\"char*\",\"FLDKOHO\",40,0,0,\"\",40\n"
    "END\n"
    "LINTBL\n"
    "FIELD\n"
    "\"t\",\"char*\",\"SCRCODE\",20,0,0,\"\",20\n"
    "\"t\",\"char*\",\"LINCODE\",4,0,0,\"\",4\n"
    "\"t\",\"long\",\"LINX1\",6,0,0,\"\",6\n"
    "END\n";

const ScreenTableColumns& Columns() {
  static const ScreenTableColumns columns{ParseSpecColumns(kTables, "SCRTBL").columns,
                                          ParseSpecColumns(kTables, "FLDTBL").columns,
                                          ParseSpecColumns(kTables, "LINTBL").columns};
  return columns;
}

void CheckRow(const ScreenTextRow& row, const std::vector<SpecColumn>& columns) {
  Check(row.values.size() == columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    const SpecColumn& c = columns[i];
    const std::string& value = row.values[i].second;
    Check(row.values[i].first == c.name);
    if (c.type == kColumnChar) Check(value.size() <= 1);
    if (c.type == kColumnText) Check(static_cast<int>(value.size()) <= c.length);
    if (c.type == kColumnShort || c.type == kColumnLong) {
      char* end = nullptr;
      std::strtol(value.c_str(), &end, 10);
      Check(!value.empty() && *end == '\0');
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ScreenText parsed;
  ScreenTextError error;
  if (!ParseScreenText(text, Columns(), parsed, error)) {
    Check(!error.message.empty());
    return 0;
  }
  Check(!parsed.Code().empty());
  CheckRow(parsed.screen, Columns().screen);
  for (const ScreenTextRow& row : parsed.fields) CheckRow(row, Columns().field);
  for (const ScreenTextRow& row : parsed.lines) CheckRow(row, Columns().line);
  // The word tables take any stored text.
  ScreenTypeFromWord(parsed.screen.Value("SCRTYPE"), -1);
  PaperFromWord(parsed.screen.Value("SCRTYPE"));
  for (const ScreenTextRow& row : parsed.fields) FieldAttrCode(row.Value("FLDKOHO"));
  return 0;
}
