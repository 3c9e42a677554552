#include "bench/reading_sheet.h"

#include <cstdio>

namespace {

constexpr int kDotsPerMm = 4;

}  // namespace

SheetDefinition BenchmarkSheet() {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = "BENCH";
  paper.outputTable = "BENCHOUT";
  paper.compensationMode = 3;
  paper.noiseSize = 2;
  paper.keyNumbering = 2;
  d.papers.push_back(paper);
  int code = 0;
  auto nextCode = [&code] {
    char text[8];
    std::snprintf(text, sizeof text, "%04d", ++code);
    return std::string(text);
  };
  // The corners where the marks are searched (up to 36 x 51 mm) hold no
  // field: a filled box there could pass for a mark.
  // Write-in fields at the foot of the sheet; the first is the key.
  const char* const writeIns[4] = {"ID", "NAME", "CLASS", "MEMO"};
  for (int i = 0; i < 4; ++i) {
    SheetFieldRow field = WriteInFieldRow(nextCode().c_str(), writeIns[i],
                                          (40 + 32 * i) * kDotsPerMm, 250 * kDotsPerMm,
                                          i == 0 ? 4 : 6);
    field.boxHeight = 7;
    field.gap = 0;
    field.edit = i == 0 ? "０埋" : "左詰";
    d.fields.push_back(field);
  }
  // 100 rows of 10 choices in three columns, between 52 and 243 mm down.
  for (int n = 0; n < 100; ++n) {
    char name[8];
    std::snprintf(name, sizeof name, "Q%03d", n + 1);
    SheetFieldRow field = CheckFieldRow(nextCode().c_str(), name, (15 + 65 * (n / 34)) * kDotsPerMm,
                                        52 * kDotsPerMm + 22 * (n % 34), 10, 4);
    field.gap = 1;
    field.threshold = 30;
    field.decimals = 10;  // any number of marks
    d.fields.push_back(field);
  }
  SheetKeyRow key;
  key.name = "ID";
  key.title = "ID";
  key.width = 4;
  d.keys.push_back(key);
  return d;
}
