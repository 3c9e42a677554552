// A sheet as a new user designs it, printed through CUPS on a printer that
// cannot print the outer 5 mm of the paper, rendered at 200, 300 and 400
// dpi, filled as people fill sheets (dark scribbles and circles, light
// ticks, an erased smudge, two marks where one is asked for), scanned
// skewed and shifted, and read from the workbench with the settings the
// sheet was made with: no reference marks registered, no grid ratio
// stored. Every stored value is what was filled, or the field is refused
// with its line in the error log. The rows go to the SQLite output database
// and to the PostgreSQL one.
#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "tests/reading/workbench_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/required_service.h"
#include "tests/support/test_pictures.h"
#include "tools/print_round_trip/round_trip.h"
#include "tools/sheetgen/page_reader.h"

namespace {

constexpr int kDotsPerMm = 4;
SheetDefinition SurveySheet() {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = "SURVEY";
  paper.outputTable = "SURVEYOUT";
  paper.compensationMode = 2;  // the designer's: two marks
  paper.keyNumbering = 2;
  d.papers.push_back(paper);
  SheetFieldRow key = WriteInFieldRow("0001", "ID", 40 * kDotsPerMm, 25 * kDotsPerMm, 6);
  d.fields.push_back(key);
  d.fields.push_back(DesignedCheckFieldRow("0002", "ONE", 40, 45, 5, 1));
  d.fields.push_back(DesignedCheckFieldRow("0003", "MANY", 40, 58, 5, 5));
  d.fields.push_back(DigitGridRow("0004", "AGE", 40, 75, 2, "Ｙ"));
  d.fields.push_back(DigitGridRow("0005", "YEAR", 70, 150, 2, "Ｘ"));
  SheetFieldRow oval = DesignedCheckFieldRow("0006", "OVAL", 40, 175, 4, 1);
  oval.markType = 1;
  oval.threshold = kLeastOvalThreshold;  // percent of the oval
  d.fields.push_back(oval);
  // The designer's ovals with their choices inside ("Ｍ").
  SheetFieldRow drawn = DesignedCheckFieldRow("0008", "MARKS", 40, 190, 4, 1);
  drawn.shape = "Ｍ";
  drawn.markType = 1;
  drawn.threshold = kLeastOvalThreshold;
  drawn.boxHeight = 3;
  drawn.gap = 4;
  drawn.overlay = "1234";
  d.fields.push_back(drawn);
  d.fields.push_back(WriteInFieldRow("0007", "MEMO", 100 * kDotsPerMm, 75 * kDotsPerMm, 10));
  SheetKeyRow item;
  item.name = "ID";
  item.width = 6;
  d.keys.push_back(item);
  return d;
}

// One filled sheet: the pen, the boxes of each field, and the scanner.
struct Filling {
  Ink ink;
  PenStroke stroke;
  std::vector<FieldFill> fills;
  double skew, shiftXmm, shiftYmm;
  bool smudge;  // an erased mark left in the last box of MANY, empty
};

// Boxes from 0; AGE and YEAR hold the tens first.
const Filling kFillings[] = {
    {Ink::kHeavy, PenStroke::kScribble,
     {{"ONE", {2}}, {"MANY", {0, 4}}, {"AGE", {3, 16}}, {"YEAR", {1, 17}}, {"OVAL", {0}},
      {"MARKS", {1}}},
     1.0, 3, -2, false},
    // A light tick is no mark in an oval, which must be a fifth full.
    {Ink::kLight, PenStroke::kTick,
     {{"ONE", {4}}, {"MANY", {1, 2, 3}}, {"AGE", {0, 19}}, {"YEAR", {9, 10}}, {"OVAL", {}},
      {"MARKS", {}}},
     -0.6, -3, 3, true},
    {Ink::kNormal, PenStroke::kCircle,
     {{"ONE", {0, 1}}, {"MANY", {}}, {"AGE", {8, 15}}, {"YEAR", {2, 12}}, {"OVAL", {1}},
      {"MARKS", {3}}},
     0.3, 1.5, 2.5, false},
    {Ink::kNormal, PenStroke::kScribble,
     {{"ONE", {}}, {"MANY", {3}}, {"AGE", {6, 10}}, {"YEAR", {4, 18}}, {"OVAL", {2, 3}},
      {"MARKS", {0}}},
     -1.0, 0, -3, true},
};

class PrintedSheetRead : public OnBothDatabases<WorkbenchFixture> {};

TEST_P(PrintedSheetRead, EveryValueReadWithTheShippedSettingsIsTheFilling) {
  const std::string why = MarginsPrinterMissing();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const SheetDefinition sheet = SurveySheet();
  DropOutputTable("SURVEYOUT");
  WriteDefinition(sheet);
  WriteOutputSpec("SURVEYOUT", {"ID:char*:6", "ONE", "MANY", "AGE", "YEAR", "OVAL", "MARKS", "MEMO"});
  ASSERT_EQ(LoadCurrentSheetPaper(), 0);
  BuildCanvas();
  const std::vector<int> dpis = {200, 300, 400};
  std::vector<std::vector<PdfPage>> rendered;
  std::string fault;
  ASSERT_EQ(PrintPlainSheets(kMarginsPrinter, 600, dpis, &rendered, &fault), 0)
      << fault << testing::PrintToString(Boxes());

  std::vector<std::map<std::string, std::string>> filled;  // what each stored row must hold
  std::vector<std::string> refusals;                        // the error log's lines for them
  int number = 0;
  for (size_t d = 0; d < dpis.size(); ++d) {
    SCOPED_TRACE(dpis[d]);
    ASSERT_EQ(rendered[d].size(), 1u);
    const GeneratedSheet printed = PrintedPageOf(rendered[d][0], 128);
    const GeneratedSheet smudged = SmudgedPage(sheet, printed, "MANY", 4);
    UseDpi(dpis[d]);
    OpenWorkbench(kOperationMode, "SURVEY");
    for (const Filling& f : kFillings) {
      SheetRequest request;
      request.printedPage = f.smudge ? &smudged : &printed;
      request.dpi = dpis[d];
      request.ink = f.ink;
      request.fills = f.fills;
      for (FieldFill& fill : request.fills) fill.stroke = f.stroke;
      request.writings = {{"MEMO", "12 AB"}};
      request.scan.skewDegrees = f.skew;
      request.scan.shiftXmm = f.shiftXmm;
      request.scan.shiftYmm = f.shiftYmm;
      request.seed = static_cast<uint32_t>(++number);
      const GeneratedSheet scanned = GenerateSheet(sheet, request);
      ASSERT_EQ(scanned.error, "");
      char id[8];
      std::snprintf(id, sizeof id, "%06d", number);
      ASSERT_TRUE(WriteSheetBmp(FeedPath(std::string("PAGE") + id + ".BMP"), scanned));
      std::map<std::string, std::string> row = {{"ID", id}, {"MEMO", ""}};
      for (const ExpectedField& field : scanned.expected) {
        if (field.name == "ID" || field.name == "MEMO") continue;
        // The store narrows the read digits.
        row[field.name] = WideTextToNarrow(field.value.c_str());
      }
      filled.push_back(row);
      for (const FieldFill& fill : f.fills) {
        const int most = fill.name == "MANY" ? 5 : fill.name == "AGE" || fill.name == "YEAR" ? 2 : 1;
        if (static_cast<int>(fill.boxes.size()) > most) {
          refusals.push_back("“" + fill.name + "”のチェック数が“" + std::to_string(most) + "”を越えました。");
        }
      }
    }
    ClickButton(Workbench(), "OCRREAD");
    ASSERT_TRUE(DialogOpen()) << testing::PrintToString(Boxes());
    ClickButton(Dialog(), "DEF01");
    PumpMessages();
    EXPECT_FALSE(DialogOpen());
    CloseWorkbench();
  }
  const std::string errors = ReadBytes(Path("log\\SHEET_ERR.LOG"));
  const auto rows = Rows(kOutputDb, "SURVEYOUT", "ID");
  ASSERT_EQ(rows.size(), filled.size()) << testing::PrintToString(Boxes());
  std::map<int, int> right;  // values stored right, by resolution
  for (size_t k = 0; k < rows.size(); ++k) {
    SCOPED_TRACE(filled[k].at("ID"));
    for (const auto& [column, value] : filled[k]) {
      ASSERT_TRUE(rows[k].count(column)) << column;
      EXPECT_EQ(rows[k].at(column), value) << column << " (the error log:\n" << errors << ")";
      right[dpis[k / std::size(kFillings)]] += rows[k].at(column) == value;
    }
  }
  for (const auto& [dpi, count] : right) std::printf("%d dpi: %d values right\n", dpi, count);
  for (const std::string& line : refusals) {
    EXPECT_NE(errors.find(line), std::string::npos) << line << " in\n" << errors;
  }
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

INSTANTIATE_ON_BOTH_DATABASES(PrintedSheetRead);

}  // namespace
