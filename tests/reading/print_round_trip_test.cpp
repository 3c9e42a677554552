// Sheets printed by the program and read back: numbered sheets printed
// through CUPS to a PDF, rendered at 200, 300 and 400 dpi to 1-bit pages,
// filled by the sheet generator's pen on the rendered page, scanned with a
// shift, skew, scale and specks, and read with the reading run's steps:
// every box reads as filled, and each sheet's number stands inside the
// boxes of its field. The frames print pale, as a drop-out colour the
// scanner's threshold leaves out. The operator's road as well: the scanned
// pages put into the scanner's feeder and read from the workbench into
// the output table.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "tests/reading/workbench_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/required_service.h"
#include "tools/print_round_trip/round_trip.h"
#include "tools/sheetgen/page_reader.h"

namespace {

class PrintRoundTrip : public ReadingDbTest {
 protected:
  void ExpectFewerMarksReadBack(int mode);
};

TEST_F(PrintRoundTrip, PrintedSheetsReadBackAsFilled) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const SheetDefinition sheet = RoundTripSheet();
  WriteDefinition(sheet);
  ASSERT_EQ(UsePaleFrames(folder().c_str(), kSheetDb), 0);
  BuildCanvas();
  const std::vector<int> dpis = {200, 300, 400};
  std::vector<std::vector<PdfPage>> rendered;
  std::string fault;
  ASSERT_EQ(PrintNumberedSheets("000098", "000099", 600, dpis, &rendered, &fault), 0)
      << fault << testing::PrintToString(Boxes());
  for (size_t d = 0; d < dpis.size(); ++d) {
    SCOPED_TRACE(dpis[d]);
    ASSERT_EQ(rendered[d].size(), 2u);
    for (size_t p = 0; p < rendered[d].size(); ++p) {
      SCOPED_TRACE(p);
      const GeneratedSheet printed = PrintedPageOf(rendered[d][p]);
      const FieldInk number = InkOfField(sheet, printed, "ID");
      EXPECT_EQ(number.boxesInked, 6) << "a digit in every box of the number";
      EXPECT_EQ(number.outside, 0) << "nothing of it beside the field";
      for (uint32_t seed : {1u, 2u}) {
        for (bool degrade : {false, true}) {
          SCOPED_TRACE(testing::Message() << "seed " << seed << (degrade ? ", scanned" : ""));
          const RoundTripCase c{dpis[d], seed + 10 * static_cast<uint32_t>(p), degrade};
          const RoundTripResult result = ReadFilledPage(sheet, printed, c);
          EXPECT_TRUE(result.read);
          EXPECT_GT(result.boxes, 40);
          EXPECT_EQ(result.wrong, 0) << testing::PrintToString(result.faults);
        }
      }
    }
  }
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

// One and two registration marks print where the reader looks for them as
// well as three do (above): a sheet of each mode, printed, read back.
void PrintRoundTrip::ExpectFewerMarksReadBack(int mode) {
  SheetDefinition sheet = RoundTripSheet();
  sheet.papers[0].compensationMode = mode;
  WriteDefinition(sheet);
  ASSERT_EQ(UsePaleFrames(folder().c_str(), kSheetDb), 0);
  BuildCanvas();
  std::vector<std::vector<PdfPage>> rendered;
  std::string fault;
  ASSERT_EQ(PrintNumberedSheets("000001", "000001", 600, {300}, &rendered, &fault), 0)
      << fault << testing::PrintToString(Boxes());
  ASSERT_EQ(rendered[0].size(), 1u);
  const GeneratedSheet printed = PrintedPageOf(rendered[0][0]);
  // One mark registers a shift only: that sheet is read unturned.
  const RoundTripResult result = ReadFilledPage(sheet, printed, {300, 3, mode == 2});
  EXPECT_TRUE(result.read);
  EXPECT_GT(result.boxes, 40);
  EXPECT_EQ(result.wrong, 0) << testing::PrintToString(result.faults);
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

TEST_F(PrintRoundTrip, OneMarkSheetsReadBackAsFilled) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ExpectFewerMarksReadBack(1);
}

TEST_F(PrintRoundTrip, TwoMarkSheetsReadBackAsFilled) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ExpectFewerMarksReadBack(2);
}

// Sheets merged with master rows: each printed row's code stands in the
// boxes of its field and nowhere beside them, and the sheet still reads
// back as filled.
TEST_F(PrintRoundTrip, MergedSheetsCarryTheirRowsInTheirFields) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  SheetDefinition sheet = RoundTripSheet();
  SheetFieldRow code = WriteInFieldRow("0009", "CODE", 110 * 4, 40 * 4, 6);
  code.boxHeight = 7;
  sheet.fields.push_back(code);
  WriteDefinition(sheet);
  ASSERT_EQ(UsePaleFrames(folder().c_str(), kSheetDb), 0);
  BuildCanvas();
  const int master = db_alloc_slot(folder().c_str(), kOutputDb, "T_CODES", kDbKindFile);
  ASSERT_GT(master, 0);
  for (const char* sql : {"create table T_CODES (CODE varchar(6) primary key, printflag int)",
                          "insert into T_CODES values ('12', 1)", "insert into T_CODES values ('3456', 0)",
                          "insert into T_CODES values ('987654', 1)"}) {
    EXPECT_EQ(db_exec(master, sql), 0) << sql;
  }
  db_disconnect(master);
  std::vector<std::vector<PdfPage>> rendered;
  std::string fault;
  ASSERT_EQ(PrintMergedSheets({"050", "T_CODES", {"CODE"}}, 600, {300}, &rendered, &fault), 0)
      << fault << testing::PrintToString(Boxes());
  const std::vector<std::string> printedCodes = {"12", "987654"};  // printflag 1, in key order
  ASSERT_EQ(rendered[0].size(), printedCodes.size());
  for (size_t p = 0; p < printedCodes.size(); ++p) {
    SCOPED_TRACE(printedCodes[p]);
    const GeneratedSheet printed = PrintedPageOf(rendered[0][p]);
    const FieldInk ink = InkOfField(sheet, printed, "CODE");
    EXPECT_EQ(ink.boxesInked, static_cast<int>(printedCodes[p].size())) << "a digit a box from the left";
    EXPECT_EQ(ink.outside, 0) << "nothing of it beside the field";
    const RoundTripResult result = ReadFilledPage(sheet, printed, {300, 5 + static_cast<uint32_t>(p), true});
    EXPECT_TRUE(result.read);
    EXPECT_EQ(result.wrong, 0) << testing::PrintToString(result.faults);
  }
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

// The run stores the check fields of the round-trip sheet in these columns
// and numbers its key, the printed identification number, from the number
// the operator types into the dialog.
class PrintedSheetsOnTheWorkbench : public WorkbenchFixture {
 protected:
  static SheetDefinition RunSheet() {
    SheetDefinition sheet = RoundTripSheet();
    sheet.papers[0].keyNumbering = 2;
    SheetKeyRow key;
    key.name = "ID";
    key.width = 6;
    sheet.keys.push_back(key);
    return sheet;
  }
  static std::vector<std::string> CheckColumns(const SheetDefinition& sheet) {
    std::vector<std::string> columns;
    for (const SheetFieldRow* row : sheet.FieldsOf("0001")) {
      if (row->IsCheck()) columns.push_back(row->name);
    }
    return columns;
  }
};

TEST_F(PrintedSheetsOnTheWorkbench, EveryStoredRowIsWhatThePenFilled) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const SheetDefinition sheet = RunSheet();
  WriteDefinition(sheet);
  ASSERT_EQ(UsePaleFrames(folder().c_str(), kSheetDb), 0);
  std::vector<std::string> columns = {"ID:char*:6"};
  for (const std::string& name : CheckColumns(sheet)) columns.push_back(name);
  WriteOutputSpec("ROUNDOUT", columns);
  ASSERT_EQ(LoadCurrentSheetPaper(), 0);
  BuildCanvas();
  // Two sheets a resolution, each numbered on its own.
  const std::vector<int> dpis = {200, 300, 400};
  std::vector<std::vector<PdfPage>> rendered;
  std::string fault;
  ASSERT_EQ(PrintNumberedSheets("000101", "000106", 600, dpis, &rendered, &fault), 0)
      << fault << testing::PrintToString(Boxes());
  // Each resolution's references, registered from a clean printed page as
  // the designer's test scan registers them.
  SheetDefinition references;
  for (size_t d = 0; d < dpis.size(); ++d) {
    ASSERT_EQ(rendered[d].size(), 6u);
    const GeneratedSheet clean = PrintedPageOf(rendered[d][0]);
    references.marks.push_back(RegisteredMarkRow(sheet, "0001", dpis[d], &clean));
  }
  WriteDefinition(references);
  ASSERT_EQ(LoadCurrentSheetPaper(), 0);

  std::vector<std::map<std::string, std::string>> filled;  // what each stored row must hold
  for (size_t d = 0; d < dpis.size(); ++d) {
    SCOPED_TRACE(dpis[d]);
    UseDpi(dpis[d]);
    OpenWorkbench(kOperationMode, "ROUNDTRIP");
    for (size_t p = 2 * d; p < 2 * d + 2; ++p) {
      char number[8];
      std::snprintf(number, sizeof number, "%06zu", 101 + p);
      SCOPED_TRACE(number);
      const GeneratedSheet printed = PrintedPageOf(rendered[d][p]);
      const FieldInk ink = InkOfField(sheet, printed, "ID");
      EXPECT_EQ(ink.boxesInked, 6) << "a digit in every box of the number";
      EXPECT_EQ(ink.outside, 0) << "nothing of it beside the field";
      const GeneratedSheet scanned = FillPrintedPage(sheet, printed, {dpis[d], static_cast<uint32_t>(p + 1), true});
      ASSERT_EQ(scanned.error, "");
      ASSERT_TRUE(WriteSheetBmp(FeedPath(std::string("PAGE") + number + ".BMP"), scanned));
      std::map<std::string, std::string> row = {{"ID", number}};
      for (const ExpectedField& field : scanned.expected) {
        // The store narrows the read digits.
        if (field.name != "ID") row[field.name] = WideTextToNarrow(field.value.c_str());
      }
      filled.push_back(row);
    }
    ClickButton(Workbench(), "OCRREAD");
    ASSERT_TRUE(DialogOpen()) << testing::PrintToString(Boxes());
    if (d == 0) {
      EXPECT_EQ(Field(Dialog(), "CNT_CODE"), "000001") << "an empty table starts at 1";
      Type(Dialog(), "CNT_CODE", "000101");
    } else {
      EXPECT_EQ(Field(Dialog(), "CNT_CODE"), filled[2 * d].at("ID")) << "the next printed number";
    }
    ClickButton(Dialog(), "DEF01");
    PumpMessages();
    EXPECT_FALSE(DialogOpen());
    if (d + 1 == dpis.size()) SavePicture(Workbench(), "workbench_after_printed_sheets");
    CloseWorkbench();
  }
  const auto rows = Rows(kOutputDb, "ROUNDOUT", "ID");
  ASSERT_EQ(rows.size(), filled.size()) << testing::PrintToString(Boxes());
  for (size_t k = 0; k < rows.size(); ++k) {
    SCOPED_TRACE(filled[k].at("ID"));
    for (const auto& [column, value] : filled[k]) {
      ASSERT_TRUE(rows[k].count(column)) << column;
      EXPECT_EQ(rows[k].at(column), value) << column;
    }
  }
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

}  // namespace
