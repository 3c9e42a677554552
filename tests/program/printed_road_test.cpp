// Two sheets of a user's own survey from the print window to the tally, on
// the file database and on the PostgreSQL server: one whose key the run
// numbers and one whose key is marked on a grid of digits, each with a
// choice of one, a choice of many, grids of digits filled down and across
// and a write-in field. The first is designed as its user designs it, on
// the settings screen and the canvas with what the editors offer (boxes
// that touch, rows without a gap); the second is written as a file. Each
// is printed from the workbench's sheet print
// window with the margins it offers on a printer that cannot print the
// outer 5 mm of the paper, rendered at 200, 300 and 400 dpi, filled as
// people fill sheets (dark scribbles and circles, light ticks, an erased
// smudge, two marks where one is asked for), scanned skewed up to 1 degree
// and shifted up to 3 mm, and read from the workbench with the settings as
// made. Every stored value is the filling, or the field is refused with
// its line in the error log; the simple tally counts the stored choices.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "designer/designer.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/sjis_text.h"
#include "program/program.h"
#include "reading/workbench.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/sheet_printing.h"
#include "tests/program/survey_walk.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"
#include "tests/support/table_rows.h"
#include "tests/support/test_pictures.h"
#include "tests/tally/print_capture.h"
#include "tools/print_round_trip/round_trip.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

constexpr int kDotsPerMm = 4;
constexpr int kSheetsPerDpi = 20;
const std::vector<int> kDpis = {200, 300, 400};

struct RoadSheet {
  const char* name;
  const char* table;
  bool keyMarked;  // else numbered by the run
  bool designed;   // on the settings screen and the canvas, else written as a file
};
constexpr RoadSheet kNumbered{"ROADNUM", "ROADNUMOUT", false, true};
constexpr RoadSheet kMarked{"ROADMARK", "ROADMARKOUT", true, false};

// A check field as a user makes it on the canvas: where it is clicked,
// what is typed and which arrangement of rows is chosen; the rest as the
// editor offers it.
struct CanvasField {
  const char* name;
  int xMm, yMm, boxes, most;
  const char* choices;
  int arrangement;  // 0 one line, 1 rows across (横向き), 2 rows down (縦向き)
  int rows;
};
constexpr CanvasField kCanvasFields[] = {
    {"ONE", 40, 45, 5, 1, "A,B,C,D,E", 0, 0},
    {"MANY", 40, 58, 5, 5, "A,B,C,D,E", 0, 0},
    // Two digits: ten rows of two, the tens down the first column.
    {"AGE", 40, 75, 20, 2, "01234567890123456789", 2, 10},
    // Two digits: two rows of ten, the tens across the first row.
    {"YEAR", 70, 175, 20, 2, "01234567890123456789", 1, 2},
};

// The choices of a field, beside its boxes but not printed: the sheet
// stores the numbers of the boxes marked.
SheetFieldRow Choices(const char* code, const char* name, int yMm, int most) {
  SheetFieldRow row = DesignedCheckFieldRow(code, name, 40, yMm, 5, most);
  row.title = name;
  row.overlay = "A,B,C,D,E";
  row.shape = "×";
  return row;
}

// The sheet whose key is marked, written as a definition file: four
// columns of digits down.
SheetDefinition MarkedKeyDefinition(const RoadSheet& s) {
  SheetDefinition d;
  SheetPaperRow paper;
  paper.name = s.name;
  paper.outputTable = s.table;
  paper.compensationMode = 2;  // the designer's: two marks
  paper.keyNumbering = 1;
  d.papers.push_back(paper);
  SheetKeyRow key;
  key.name = "ID";
  key.width = 4;
  d.keys.push_back(key);
  d.fields.push_back(DigitGridRow("0001", "ID", 150, 90, 4, "Ｙ"));
  d.fields.push_back(Choices("0002", "ONE", 45, 1));
  d.fields.push_back(Choices("0003", "MANY", 58, 5));
  d.fields.push_back(DigitGridRow("0004", "AGE", 40, 75, 2, "Ｙ"));
  d.fields.push_back(DigitGridRow("0005", "YEAR", 70, 150, 2, "Ｘ"));
  d.fields.push_back(WriteInFieldRow("0006", "MEMO", 100 * kDotsPerMm, 75 * kDotsPerMm, 10));
  return d;
}

// How sheet k of a resolution is filled and scanned.
struct Filling {
  Ink ink;
  PenStroke stroke;
  std::vector<FieldFill> fills;
  double skew, shiftXmm, shiftYmm;
  bool smudge;  // an erased mark in the last box of MANY, empty
};

// Sheet k of resolution d; `number` is the key it is marked with.
Filling FillingOf(int d, int k, int number, bool keyMarked) {
  static const Ink kInks[] = {Ink::kHeavy, Ink::kLight, Ink::kNormal, Ink::kNormal};
  static const PenStroke kStrokes[] = {PenStroke::kScribble, PenStroke::kTick, PenStroke::kCircle,
                                       PenStroke::kScribble};
  static const std::vector<int> kMany[] = {{0, 2}, {1, 2, 3}, {}, {3}};
  Filling f;
  f.ink = kInks[k % 4];
  f.stroke = kStrokes[k % 4];
  std::vector<int> one = {k % 5};
  if (k % 10 == 3) one.push_back((k + 1) % 5);  // two marks on a choice of one
  std::vector<int> age = {k % 10, 10 + (3 * k) % 10};
  if (k % 10 == 7) age.push_back((k + 4) % 10);  // three on two columns
  f.fills = {{"ONE", one}, {"MANY", kMany[k % 4]}, {"AGE", age}, {"YEAR", {(7 * k) % 10, 10 + (k + d) % 10}}};
  if (keyMarked) {
    // The number's digits in the rightmost columns, the columns before
    // them left empty.
    FieldFill key{"ID", {}, PenStroke::kScribble};
    const std::string digits = std::to_string(number);
    for (size_t i = 0; i < digits.size(); ++i) {
      const int column = static_cast<int>(4 - digits.size() + i);
      key.boxes.push_back(10 * column + (digits[i] - '0'));
    }
    f.fills.push_back(key);
  }
  f.skew = ((k % 9) - 4) * 0.25;
  f.shiftXmm = (k % 7) - 3;
  f.shiftYmm = ((k % 5) - 2) * 1.5;
  f.smudge = k % 2 == 1;
  return f;
}

class PrintedRoad : public SurveyWalk {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    userIni_ = ReadBytes(GetProgramFolder() + "\\USER.INI");
    StartWalk("printed_road");
    if (HasFatalFailure() || IsSkipped()) return;
    InstallFeeder();
  }
  void TearDown() override {
    WriteBytes(GetProgramFolder() + "\\USER.INI", userIni_);
    SurveyWalk::TearDown();
  }

  // Writes the sheet's definition with the survey's tables and chooses it,
  // as the menu's file choice leaves it; on the server its output database
  // is named on the sheet's settings screen.
  void ChooseSheet(const RoadSheet& s, const SheetDefinition& definition) {
    const std::string teigi = folder() + "\\teigi";
    CreateDirectoryA(teigi.c_str(), nullptr);
    ASSERT_EQ(WriteSheetDefinition(teigi.c_str(), s.name, definition), 0) << testing::PrintToString(Boxes());
    for (const char* table : {"調査定義", "調査項目"}) {
      ASSERT_EQ(CreateTableFromSpec(teigi.c_str(), s.name, table, kDbKindFile, table, table), 0);
    }
    CreateDirectoryA((folder() + "\\data").c_str(), nullptr);
    SetCurrentDefinition(teigi, s.name);
    ASSERT_EQ(WriteDefinitionPath(), 0);
    DropServerTable(s.table);
    if (server()) TypeSheetSettings({});
  }

  // The sheet designed as its user designs it, with what the program
  // offers unless typed: a new definition chosen on the menu, its table
  // and key named on the settings screen, its fields made from the
  // canvas's menus. Leaves the workbench of the design open; `stored` is
  // the definition as saved.
  HWND DesignSheet(const RoadSheet& s, SheetDefinition* stored) {
    ChooseNewDefinition(s.name);
    CreateDirectoryA((folder() + "\\data").c_str(), nullptr);
    DropServerTable(s.table);
    TypeSheetSettings({{"テーブル", s.table}, {"キー項目名", "ID"}});
    if (HasFatalFailure()) return nullptr;
    const HWND bench = OpenBench(kCmdDesign);
    ChooseMenuLine(Dots(100, 200), 1);  // フォーム編集開始
    for (const CanvasField& f : kCanvasFields) {
      ChooseMenuLine(Dots(f.xMm, f.yMm), 1);  // チェック欄 作 成
      Fields fields{{"領域名", f.name}, {"タイトル", f.name}, {"文字数", std::to_string(f.boxes)},
                    {"少数部桁数", std::to_string(f.most)}, {"重ね文字", f.choices}};
      std::vector<std::pair<const char*, int>> choices;
      if (f.arrangement) {
        choices.push_back({"複数行指定", f.arrangement});
        fields.push_back({"配列個数", std::to_string(f.rows)});
      }
      FillEditor(fields, nullptr, choices);
    }
    ChooseMenuLine(Dots(100, 75), 3);  // 記 入 欄 作 成
    FillEditor({{"領域名", "MEMO"}, {"タイトル", "MEMO"}, {"文字数", "10"}});
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    Picture(bench, (std::string(s.name) + "_designed").c_str());
    ChooseMenuLine(Dots(100, 250), 4);  // フォーム編集終了
    EXPECT_EQ(ReadSheetDefinition((folder() + "\\teigi").c_str(), s.name, stored), 0);
    return bench;
  }

  // The workbench opened from the menu by `command`.
  HWND OpenBench(int command) {
    ForgetBoxes();
    Command(command);
    LogIn();
    const HWND bench = FindWindowA("KQE_READ", nullptr);
    EXPECT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes())
                                        << testing::PrintToString(OpenScreens());
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    return bench;
  }

  // A blank sheet printed from the workbench's print window with the
  // margins it offers, on the printer with margins, rendered at each
  // resolution.
  std::vector<GeneratedSheet> PrintSheet(HWND bench, const char* picture) {
    ClickItem(bench, "PRINT");
    const HWND print = FindWindowA("PrnSheet", nullptr);
    EXPECT_TRUE(IsWindowVisible(print)) << testing::PrintToString(Boxes());
    if (!IsWindowVisible(print)) return {};
    const int slot = SlotOfWindow(print);
    EXPECT_EQ(FieldText(slot, "LFTMGN"), "0");
    EXPECT_EQ(FieldText(slot, "TOPMGN"), "0");
    EXPECT_EQ(FieldText(slot, "WARIAI"), "100");
    Picture(print, picture);
    g_sheetPrintRequest.documentName = UniqueDocumentName("printed_road");
    ModalDialogRecorder dialogs(
        [](const ModalDialogCall& call) { return ChoosePrinterAt(call, kMarginsPrinter, 600); });
    ClickItem(print, "DEF01");
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    const auto rendered = WaitForPrintedPagesAt(g_sheetPrintRequest.documentName, kDpis);
    std::vector<GeneratedSheet> pages;
    for (const auto& pagesAtDpi : rendered) {
      EXPECT_EQ(pagesAtDpi.size(), 1u);
      if (pagesAtDpi.size() == 1) pages.push_back(PrintedPageOf(pagesAtDpi[0], 128));
    }
    return pages;
  }

  // The entry screens made from the sheet describe its output table.
  void DescribeOutput(HWND bench) {
    ClickItem(bench, "LISTINP");
    const HWND screenSet = FindWindowA("ScrSet", nullptr);
    ASSERT_TRUE(IsWindowVisible(screenSet)) << testing::PrintToString(Boxes());
    ClickItem(screenSet, "SCRQUIT");
    ForgetBoxes();
  }

  // Fills and scans the sheets of a resolution into the feeder: what each
  // stored row must hold, and the error log's lines for the refusals.
  void Feed(const SheetDefinition& sheet, const RoadSheet& s, const GeneratedSheet& printed, int d,
            int* number, Answers* filled, std::vector<std::string>* refusals) {
    const GeneratedSheet smudged = SmudgedPage(sheet, printed, "MANY", 4);
    for (int k = 0; k < kSheetsPerDpi; ++k) {
      ++*number;
      const Filling f = FillingOf(d, k, *number, s.keyMarked);
      SheetRequest request;
      request.printedPage = f.smudge ? &smudged : &printed;
      request.dpi = printed.dpi;
      request.ink = f.ink;
      request.fills = f.fills;
      for (FieldFill& fill : request.fills) {
        if (fill.name != "ID") fill.stroke = f.stroke;
      }
      request.writings = {{"MEMO", "12 AB"}};
      request.scan.skewDegrees = f.skew;
      request.scan.shiftXmm = f.shiftXmm;
      request.scan.shiftYmm = f.shiftYmm;
      request.seed = static_cast<uint32_t>(*number);
      const GeneratedSheet scanned = GenerateSheet(sheet, request);
      ASSERT_EQ(scanned.error, "");
      char name[40];
      std::snprintf(name, sizeof name, "\\feed\\PAGE%05d.BMP", *number);
      ASSERT_TRUE(WriteSheetBmp(folder() + name, scanned));
      char id[8];
      std::snprintf(id, sizeof id, "%06d", *number);
      std::map<std::string, std::string> row = {{"ID", id}, {"MEMO", ""}};
      for (const ExpectedField& field : scanned.expected) {
        if (field.name == "MEMO" || (field.name == "ID" && !s.keyMarked)) continue;
        row[field.name] = WideTextToNarrow(field.value.c_str());
      }
      for (const FieldFill& fill : f.fills) {
        const int most = fill.name == "ONE" ? 1 : fill.name == "MANY" ? 5 : fill.name == "ID" ? 4 : 2;
        if (static_cast<int>(fill.boxes.size()) <= most) continue;
        refusals->push_back("“" + fill.name + "”のチェック数が“" + std::to_string(most) + "”を越えました。");
        // The column of a choice of one, a character, holds the refusal.
        if (most == 1) row[fill.name] = "*";
      }
      filled->push_back(row);
    }
  }

  // The feeder read from the workbench of operation at `dpi`, the
  // scanner's resolution.
  void Read(int dpi, const char* picture) {
    ASSERT_TRUE(WriteBytes(GetProgramFolder() + "\\USER.INI", "DPI " + std::to_string(dpi) + "\r\n"));
    const HWND bench = OpenBench(kCmdOperation);
    ClickItem(bench, "OCRREAD");
    const HWND dialog = FindWindowA("Def", nullptr);
    ASSERT_TRUE(IsWindowVisible(dialog)) << testing::PrintToString(Boxes());
    ClickItem(dialog, "DEF01");
    RunPostedMessages();
    Picture(bench, picture);
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    ClickItem(bench, "PRJESC");
  }

  // One sheet's road: printed, filled at each resolution, read, compared
  // row by row; then tallied.
  void Walk(const RoadSheet& s) {
    SCOPED_TRACE(s.name);
    const auto start = std::chrono::steady_clock::now();
    SheetDefinition sheet;
    HWND bench = nullptr;
    if (s.designed) {
      bench = DesignSheet(s, &sheet);
    } else {
      sheet = MarkedKeyDefinition(s);
      ChooseSheet(s, sheet);
      if (HasFatalFailure()) return;
      bench = OpenBench(kCmdDesign);
    }
    ASSERT_TRUE(IsWindowVisible(bench));
    DescribeOutput(bench);
    const std::vector<GeneratedSheet> printed = PrintSheet(bench, (std::string(s.name) + "_print").c_str());
    ASSERT_EQ(printed.size(), kDpis.size());
    ClickItem(bench, "PRJESC");
    Answers filled;
    std::vector<std::string> refusals;
    int number = 0;
    for (size_t d = 0; d < kDpis.size(); ++d) {
      SCOPED_TRACE(kDpis[d]);
      Feed(sheet, s, printed[d], static_cast<int>(d), &number, &filled, &refusals);
      if (HasFatalFailure()) return;
      Read(kDpis[d], (std::string(s.name) + "_read_" + std::to_string(kDpis[d])).c_str());
    }
    std::printf("%s: printed, filled and read in %.0f s\n", s.name,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

    const std::vector<std::string> columns = {"ID", "ONE", "MANY", "AGE", "YEAR", "MEMO"};
    std::map<std::string, std::map<std::string, std::string>> stored;
    for (const auto& row : OutputRows(s.table, "ID", columns)) stored[row.at("ID")] = row;
    const std::string errors = ReadBytes(DefinitionLogPath(g_currentSheet.logFolder, "_ERR.LOG"));
    EXPECT_EQ(stored.size(), filled.size()) << errors;
    for (const auto& want : filled) {
      SCOPED_TRACE(want.at("ID"));
      const auto got = stored.find(want.at("ID"));
      if (got == stored.end()) {
        ADD_FAILURE() << "not stored";
        continue;
      }
      for (const auto& [column, value] : want) {
        EXPECT_EQ(got->second.at(column), value) << column << " (the error log:\n" << errors << ")";
      }
    }
    for (const std::string& line : refusals) {
      EXPECT_NE(errors.find(line), std::string::npos) << line << " in\n" << errors;
    }
    Tally(s, filled);
  }

  // The simple tally of the stored rows written to CSV: the blocks of the
  // choices count what was stored.
  void Tally(const RoadSheet& s, const Answers& filled) {
    const std::vector<TallyQuestion> questions = {{"ONE", "ONE", "A,B,C,D,E", 5},
                                                  {"MANY", "MANY", "A,B,C,D,E", 5}};
    MakeSurvey("ONE", 5);
    Command(kCmdTally);
    LogIn();
    const int menu = SlotOfCode("SPRN-MENU");
    ASSERT_GE(menu, 0) << testing::PrintToString(Boxes());
    const std::vector<CsvRow> tally = ExportTally(menu, "SIMPLE", (std::string(s.name) + ".csv").c_str());
    ExpectCsvRows(QuestionBlocks(tally, questions), ExpectedSimpleTally(filled, questions));
    ClickItem(Slot(menu).window, "QUIT");
  }

  // The blocks of `questions` in a simple tally, each from its title line
  // to the two empty lines after it.
  static std::vector<CsvRow> QuestionBlocks(const std::vector<CsvRow>& tally,
                                            const std::vector<TallyQuestion>& questions) {
    std::vector<CsvRow> blocks;
    for (const TallyQuestion& q : questions) {
      for (size_t i = 0; i < tally.size(); ++i) {
        if (tally[i] != CsvRow{q.title}) continue;
        for (size_t j = i; j < tally.size() && j < i + 6; ++j) blocks.push_back(tally[j]);
        break;
      }
    }
    return blocks;
  }

  std::string userIni_;
};

TEST_P(PrintedRoad, SheetsPrintedOnAPrinterWithMarginsAreReadAsFilledAndTallied) {
  const std::string why = MarginsPrinterMissing();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  for (const RoadSheet& s : {kNumbered, kMarked}) Walk(s);
}

INSTANTIATE_TEST_SUITE_P(Databases, PrintedRoad, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
