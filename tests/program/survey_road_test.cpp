// A survey's road through the program's windows, as its users go it: a
// sheet designed on the settings screen and on the canvas (a text item,
// check fields of several kinds, one repeated, a write-in field and a
// ruled line), 50 numbered sheets printed to a PDF from the workbench,
// filled by the pen on the printed pages and scanned into the feeder, and
// read from the workbench into one row a sheet of the output table, on the
// file database and on the PostgreSQL server; then two values corrected in
// the card form and one in the list form; then the sheet's design made the
// survey's questions, its first field the grouping item, the tallies and a
// graph of each kind printed from the tally menu, every count and percentage
// the graphs print read back from the PDF, and the simple and cross tallies
// written to CSV files through the tallies' CSV dialog, every cell compared
// with the answers filled and corrected. Each step's picture is saved under
// "survey_road" beside the tests.
#include <windows.h>

#include <commdlg.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/sheet_settings.h"
#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "program/program.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/sheet_printing.h"
#include "tally/tally.h"
#include "tests/foundation/db_test_support.h"
#include "tests/program/program_fixture.h"
#include "tests/program/survey_walk.h"
#include "tests/support/required_service.h"
#include "tests/support/table_rows.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"
#include "tests/tally/print_capture.h"
#include "tools/print_round_trip/round_trip.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

constexpr char kSheetName[] = "ROAD";
constexpr char kOutputTable[] = "ANSWERS";

// What a graph prints of each choice of a question, in the order drawn.
struct GraphNumbers {
  bool zeros;       // choices no sheet chose too
  bool count;       // the count beside the percentage
  bool countFirst;  // the count before it
};
constexpr GraphNumbers kBarNumbers{true, true, true}, kBandNumbers{false, true, false},
    kPieNumbers{false, false, false}, kRadarNumbers{true, false, false};

// The numbers of a printed page's texts in the order drawn: counts and
// percentages to a tenth; the radar's scale ("10％") left out.
std::vector<std::string> PrintedNumbers(const PdfText& printed) {
  std::vector<std::string> numbers;
  for (const PdfTextRun& run : printed.runs) {
    const std::string& t = run.text;
    for (size_t i = 0; i < t.size();) {
      if (!std::isdigit(static_cast<unsigned char>(t[i]))) {
        ++i;
        continue;
      }
      const size_t start = i;
      while (i < t.size() && (std::isdigit(static_cast<unsigned char>(t[i])) || t[i] == '.')) ++i;
      const std::string number = t.substr(start, i - start);
      const auto followedBy = [&](const std::string& mark) { return t.compare(i, mark.size(), mark) == 0; };
      const bool scale = number.find('.') == std::string::npos && (followedBy("%") || followedBy("％"));
      if (!scale) numbers.push_back(number);
    }
  }
  return numbers;
}

class SurveyRoad : public SurveyWalk {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    StartWalk("survey_road");
  }

  // The sheet's paper and key set on the settings screen.
  void SetSheet() {
    TypeSheetSettings({{"ＯＣＲ用紙名", "顧客アンケート"},
                       {"テーブル", kOutputTable},
                       {"キー項目名", "ID"},
                       {"補正マーク", "3"},
                       {"プレプリント", "1"},
                       {"色を薄くする", "1"},
                       {"罫線", "1"}},
                      "01_settings");
  }

  // The sheet's items made on the canvas in design mode: a text item (the
  // sheet's heading), ten check fields of several kinds, one of them
  // repeated to 20 rows, a write-in field, and a ruled line under the
  // heading.
  void DesignSheet() {
    const HWND bench = FindWindowA("KQE_READ", nullptr);
    ChooseMenuLine(Dots(100, 200), 1);  // フォーム編集開始
    ASSERT_EQ(Slot(SlotOfWindow(Canvas())).lineEditMode, 1) << testing::PrintToString(Boxes());
    ChooseMenuLine(Dots(60, 22), 2);  // テキスト項目作成
    FillEditor({{"タイトル", "お客様アンケート"}}, "04_text_item");
    for (const CheckFieldDesign& f : kCheckFields) {
      ChooseMenuLine(Dots(f.xMm, f.yMm), 1);  // チェック欄 作 成
      const Fields fields{{"領域名", f.name},
                          {"タイトル", f.title},
                          {"文字数", std::to_string(f.boxes)},
                          {"横幅", "5"},
                          {"高さ", "5"},
                          {"Ｂサイズ", std::to_string(f.gapMm)},
                          {"少数部桁数", std::to_string(f.most)},
                          {"しきい値", "30"},
                          {"マーク型", "×"},
                          {"重ね文字", f.choices},
                          {"背景色", f.choicesPlace}};
      FillEditor(fields, f.name == std::string("SEX") ? "05_check_field" : nullptr);
    }
    // The repetition of the last field, from its own menu.
    ChooseMenuLine(Dots(kCheckFields[9].xMm + 2, kCheckFields[9].yMm + 2), 2);  // 繰り返し項目定義
    FillEditor({{"配列開始", "1"},
                {"配列個数", std::to_string(kRepeats)},
                {"配列行間", std::to_string(kRepeatGapMm)}},
               "06_repetition");
    ChooseMenuLine(Dots(20, 212), 3);  // 記 入 欄 作 成
    FillEditor(
        {{"領域名", "AGE"}, {"タイトル", "年齢"}, {"文字数", "3"}, {"横幅", "6"}, {"高さ", "7"}},
        "07_write_in");
    // A ruled line under the heading, dragged with the left button.
    const int slot = SlotOfWindow(Canvas());
    const POINT from = Dots(20, 32), to = Dots(190, 32);
    PostMessageA(Canvas(), WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(from.x - Slot(slot).scrollX, from.y - Slot(slot).scrollY));
    PostMessageA(Canvas(), WM_MOUSEMOVE, MK_LBUTTON,
                 MAKELPARAM(to.x - Slot(slot).scrollX, to.y - Slot(slot).scrollY));
    PostMessageA(Canvas(), WM_LBUTTONUP, 0,
                 MAKELPARAM(to.x - Slot(slot).scrollX, to.y - Slot(slot).scrollY));
    RunPostedMessages();
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    Picture(bench, "08_designed");
    ChooseMenuLine(Dots(100, 250), 4);  // フォーム編集終了
    ASSERT_EQ(Slot(SlotOfWindow(Canvas())).lineEditMode, 0) << testing::PrintToString(Boxes());
  }

  // Every check field has its choices: a question without choice texts
  // would be left out of the tallies. Where the boxes stand too close for
  // texts beside them, the choices are not printed ("×").
  struct CheckFieldDesign {
    const char* name;
    const char* title;
    int xMm, yMm, boxes, gapMm, most;
    const char* choices;
    const char* choicesPlace;  // "→": beside the boxes, "×": not printed
  };
  static constexpr int kRepeats = 21, kRepeatGapMm = 3;
  static constexpr CheckFieldDesign kCheckFields[] = {
      {"SEX", "性別", 30, 40, 2, 8, 1, "男,女", "→"},
      {"AREA", "地域", 30, 52, 6, 2, 1, "北海道,東北,関東,中部,近畿,九州", "×"},
      {"VISIT", "来店回数", 30, 64, 4, 3, 1, "初めて,２回,３回,４回以上", "×"},
      {"MEDIA", "知った媒体", 30, 76, 5, 2, 5, "新聞,雑誌,テレビ,ネット,知人", "×"},
      {"GOOD", "良かった点", 30, 88, 6, 2, 3, "味,量,価格,接客,雰囲気,立地", "×"},
      {"SAT", "満足度", 30, 100, 5, 8, 1, "A,B,C,D,E", "→"},
      {"AGAIN", "また来たい", 30, 112, 2, 8, 1, "はい,いいえ", "→"},
      {"STAFF", "接客", 30, 124, 3, 4, 1, "良い,普通,悪い", "×"},
      {"PRICE", "価格", 30, 136, 3, 4, 1, "安い,普通,高い", "×"},
      {"Q", "評価", 120, 40, 5, 2, 1, "とても良い,良い,普通,悪い,とても悪い", "×"},
  };

  // The questions of the survey in their order, as the transfer makes them
  // from the check fields: the repeated field's members one a question.
  static std::vector<TallyQuestion> Questions() {
    std::vector<TallyQuestion> questions;
    for (const CheckFieldDesign& f : kCheckFields) {
      if (std::string(f.name) != "Q") {
        questions.push_back({f.name, f.title, f.choices, f.boxes});
        continue;
      }
      for (int k = 1; k <= kRepeats; ++k) {
        char name[8];
        std::snprintf(name, sizeof name, "Q%02d", k);
        questions.push_back({name, f.title, f.choices, f.boxes});
      }
    }
    return questions;
  }

  // The numbers a graph prints of the questions: each choice's share of the
  // choices chosen, and its count where the graph shows it.
  static std::vector<std::string> ExpectedGraphNumbers(const Answers& filled, const GraphNumbers& shown) {
    std::vector<std::string> numbers;
    for (const TallyQuestion& q : Questions()) {
      const Counts counts = CountAnswers(filled, q);
      int chosen = 0;
      for (int n : counts.hits) chosen += n;
      for (int n : counts.hits) {
        if (n == 0 && !shown.zeros) continue;
        if (shown.count && shown.countFirst) numbers.push_back(std::to_string(n));
        numbers.push_back(Percent(n, chosen));
        if (shown.count && !shown.countFirst) numbers.push_back(std::to_string(n));
      }
    }
    return numbers;
  }

  // The cross tabulation by `group`: every other question's counts on the
  // sheets of each of the group's choices (a sheet belongs to each choice it
  // has filled), and their sum.
  static std::vector<CsvRow> ExpectedCrossTally(const Answers& filled, const std::string& group) {
    const std::vector<TallyQuestion> questions = Questions();
    const TallyQuestion* grouping = nullptr;
    for (const TallyQuestion& q : questions) {
      if (q.name == group) grouping = &q;
    }
    if (!grouping) return {};
    const CsvRow groupChoices = SplitList(grouping->choices);
    std::vector<CsvRow> rows;
    for (const TallyQuestion& q : questions) {
      if (&q == grouping) continue;
      rows.push_back({"", q.title});
      rows.push_back(TallyHeading({group}, q));
      Counts sum;
      sum.hits.resize(q.boxes);
      for (size_t choice = 0; choice < groupChoices.size(); ++choice) {
        Answers sheets;
        for (const auto& sheet : filled) {
          if (sheet.at(group).find(static_cast<char>('1' + choice)) != std::string::npos) sheets.push_back(sheet);
        }
        const Counts counts = CountAnswers(sheets, q);
        for (size_t box = 0; box < counts.hits.size(); ++box) sum.hits[box] += counts.hits[box];
        sum.empty += counts.empty;
        AddCountLines(rows, {groupChoices[choice]}, counts);
      }
      AddCountLines(rows, {"合計"}, sum);
      rows.insert(rows.end(), 2, CsvRow());
    }
    return rows;
  }

  // The definition the pen fills from: the stored rows, the repeated field
  // as its members (the program names them "Q01" to "Q21" and puts each a
  // box height and the repetition's gap below the one before).
  SheetDefinition PenDefinition() {
    SheetDefinition stored;
    EXPECT_EQ(ReadSheetDefinition((folder() + "\\teigi").c_str(), kSheetName, &stored), 0);
    SheetDefinition pen = stored;
    pen.fields.clear();
    for (const SheetFieldRow& row : stored.fields) {
      if (row.arrayCount < 2) {
        pen.fields.push_back(row);
        continue;
      }
      for (int k = 0; k < row.arrayCount; ++k) {
        SheetFieldRow member = row;
        char name[40];
        std::snprintf(name, sizeof name, "%s%02d", row.name.c_str(), k + 1);
        member.name = name;
        member.y = row.y + (row.boxHeight + row.arrayGap) * 4 * k;
        member.arrayCount = member.arrayGap = 0;
        pen.fields.push_back(member);
      }
    }
    return pen;
  }

  // Prints the numbered sheets 1 to 50 from the workbench's print window
  // and renders them.
  std::vector<PdfPage> PrintSheets(HWND bench) {
    ClickItem(bench, "PRINT");
    const HWND print = FindWindowA("PrnSheet", nullptr);
    EXPECT_TRUE(IsWindowVisible(print)) << testing::PrintToString(Boxes());
    if (!IsWindowVisible(print)) return {};
    const int slot = SlotOfWindow(print);
    SetItemValueForCommand(slot, "PRESNO", "1");
    SetItemValueForCommand(slot, "PREENO", std::to_string(kSheets).c_str());
    // The margins as offered: the sheet prints at its own millimetres.
    EXPECT_EQ(FieldText(slot, "LFTMGN"), "0");
    EXPECT_EQ(FieldText(slot, "TOPMGN"), "0");
    Picture(print, "09_print_window");
    // The job's title tells its PDF from those of other runs.
    g_sheetPrintRequest.documentName = UniqueDocumentName("survey_road");
    ModalDialogRecorder dialogs(
        [](const ModalDialogCall& call) { return ChooseDefaultPrinterAt(call, 600); });
    ClickItem(print, "DEF01");
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    const auto pages = WaitForPrintedPagesAt(g_sheetPrintRequest.documentName, {kDpi});
    return pages.empty() ? std::vector<PdfPage>{} : pages[0];
  }

  // Opens the card or the list form of the sheet from the workbench's
  // button through the screen-set window.
  HWND OpenForm(HWND bench, const char* button, const char* formClass, const char* picture) {
    ClickItem(bench, button);
    const HWND screenSet = FindWindowA("ScrSet", nullptr);
    EXPECT_TRUE(IsWindowVisible(screenSet)) << testing::PrintToString(Boxes());
    if (!IsWindowVisible(screenSet)) return nullptr;
    ClickItem(screenSet, "SCRDISP");
    const HWND form = FindWindowA(formClass, nullptr);
    EXPECT_TRUE(IsWindowVisible(form)) << testing::PrintToString(Boxes());
    if (IsWindowVisible(form)) Picture(form, picture);
    return IsWindowVisible(form) ? form : nullptr;
  }

  // Another answer of a single-choice field than `read`.
  static std::string OtherAnswer(const std::string& read) { return read == "1" ? "2" : "1"; }

  // A tally menu button's output printed from its print settings: the
  // printed text.
  PdfText PrintTally(int menu, const char* button, const char* picture) {
    ClickItem(Slot(menu).window, button);
    const HWND settings = FindWindowA("Prn", nullptr);
    EXPECT_TRUE(IsWindowVisible(settings)) << button << testing::PrintToString(Boxes());
    if (!IsWindowVisible(settings)) return {};
    g_reportOutput.documentName = UniqueDocumentName(button);
    ModalDialogRecorder dialogs(ChooseDefaultPrinter);
    ClickItem(settings, "P01");
    EXPECT_THAT(Boxes(), testing::IsEmpty()) << button;
    Picture(settings, picture);
    ClickItem(settings, "P00");
    EXPECT_FALSE(IsWindowVisible(settings)) << button;
    return WaitForPrintedText(g_reportOutput.documentName);
  }

  static constexpr int kSheets = 50, kDpi = 200;
};

TEST_P(SurveyRoad, ASheetDesignedInTheWindowsIsPrintedFilledReadAndCorrected) {
  ChooseNewDefinition(kSheetName);
  InstallFeeder();
  SetSheet();
  Command(kCmdDesign);
  LogIn();
  if (server()) {
    DropServerTable(kOutputTable);
  } else {
    // The first use of the installation makes the output database's folder.
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].rfind("データベース・フォルダ“", 0), 0u) << Boxes()[0];
  }
  ForgetBoxes();
  const HWND bench = FindWindowA("KQE_READ", nullptr);
  ASSERT_TRUE(IsWindowVisible(bench))
      << testing::PrintToString(Boxes()) << testing::PrintToString(OpenScreens());
  ASSERT_TRUE(IsWindowVisible(Canvas()));
  Picture(bench, "02_workbench_design");
  DesignSheet();
  const SheetDefinition pen = PenDefinition();
  ASSERT_EQ(pen.fields.size(), 33u)
      << "the key, 30 check fields, the write-in field and the text item";
  ForgetBoxes();

  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const std::vector<PdfPage> printed = PrintSheets(bench);
  ASSERT_EQ(printed.size(), static_cast<size_t>(kSheets));
  // The first sheet as printed, scanned straight in a test reading, gives
  // the registration marks' reference positions.
  ASSERT_TRUE(WriteSheetBmp(folder() + "\\feed\\CLEAN.BMP", PrintedPageOf(printed[0])));
  ClickItem(bench, "OCRREAD");
  const HWND test = FindWindowA("Def", nullptr);
  ASSERT_TRUE(IsWindowVisible(test)) << testing::PrintToString(Boxes());
  ClickItem(test, "DEF01");
  RunPostedMessages();
  ClickItem(bench, "OCRFORM");
  ChoosePopupLine(1);
  EXPECT_EQ(FieldText(SlotOfWindow(bench), "位置記憶"), "登録済み")
      << testing::PrintToString(Boxes());
  Picture(bench, "10_reference_marks");
  ForgetBoxes();
  // Each sheet filled with the pen and scanned into the feeder.
  Answers filled;
  for (int k = 0; k < kSheets; ++k) {
    SheetRandom random(static_cast<uint32_t>(k + 1));
    SheetRequest request;
    const GeneratedSheet page = PrintedPageOf(printed[k]);
    request.printedPage = &page;
    request.dpi = kDpi;
    request.seed = static_cast<uint32_t>(k + 1);
    request.fills = RandomFills(pen, "0001", 0.35, random);
    request.scan = RandomDegradation(random);
    request.scan.specks = 150;
    const GeneratedSheet sheet = GenerateSheet(pen, request);
    ASSERT_EQ(sheet.error, "");
    char name[40];
    std::snprintf(name, sizeof name, "\\feed\\PAGE%05d.BMP", k + 1);
    ASSERT_TRUE(WriteSheetBmp(folder() + name, sheet));
    // What the run stores of a check field: the numbers of its filled boxes.
    std::map<std::string, std::string> values;
    for (const ExpectedField& e : sheet.expected) {
      if (e.name == "ID") continue;
      std::string numbers;
      for (size_t b = 0; b < e.marks.size(); ++b) {
        if (e.marks[b] == '1') numbers += static_cast<char>('1' + b);
      }
      values[e.name] = numbers;
    }
    filled.push_back(values);
  }

  // The entry screens made from the sheet describe its output table.
  ClickItem(bench, "LISTINP");
  const HWND screenSet = FindWindowA("ScrSet", nullptr);
  ASSERT_TRUE(IsWindowVisible(screenSet)) << testing::PrintToString(Boxes());
  Picture(screenSet, "11_screen_set");
  ClickItem(screenSet, "SCRQUIT");
  ClickItem(bench, "PRJESC");
  ForgetBoxes();
  Command(kCmdOperation);
  LogIn();
  const HWND reading = FindWindowA("KQE_READ", nullptr);
  ASSERT_TRUE(IsWindowVisible(reading)) << testing::PrintToString(Boxes());
  ClickItem(reading, "OCRREAD");
  const HWND dialog = FindWindowA("Def", nullptr);
  ASSERT_TRUE(IsWindowVisible(dialog)) << testing::PrintToString(Boxes());
  Picture(dialog, "12_reading_dialog");
  ClickItem(dialog, "DEF01");
  RunPostedMessages();
  Picture(reading, "13_read");
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  // A row a sheet, keyed by the run's numbers in the order they were fed.
  std::vector<std::string> columns = {"ID"};
  for (const auto& [name, value] : filled[0]) columns.push_back(name);
  const auto rows = OutputRows(kOutputTable, "ID", columns);
  ASSERT_EQ(rows.size(), static_cast<size_t>(kSheets));
  for (int k = 0; k < kSheets; ++k) {
    SCOPED_TRACE(k);
    char id[8];
    std::snprintf(id, sizeof id, "%06d", k + 1);
    EXPECT_EQ(rows[k].at("ID"), id) << "numbered as wide as the key's field";
    for (const auto& [name, value] : filled[k]) EXPECT_EQ(rows[k].at(name), value) << name;
  }

  // Two values corrected in the card form (the first record's and, after
  // F2, the second's) and one in the list form (the third record's line).
  // The card form's button is on the workbench of the design.
  ClickItem(reading, "PRJESC");
  Command(kCmdDesign);
  LogIn();
  const HWND designBench = FindWindowA("KQE_READ", nullptr);
  ASSERT_TRUE(IsWindowVisible(designBench)) << testing::PrintToString(Boxes());
  const HWND card = OpenForm(designBench, "CARDINP", "Cad", "14_card");
  ASSERT_TRUE(card);
  const int cardSlot = SlotOfWindow(card);
  // The card opens on the first record; F4 shows the last, F3 the first
  // again.
  EXPECT_EQ(FieldText(cardSlot, "ID"), "000001");
  PressKeyInFocus(VK_F4);
  EXPECT_EQ(FieldText(cardSlot, "ID"), "000050");
  PressKeyInFocus(VK_F3);
  EXPECT_EQ(FieldText(cardSlot, "ID"), "000001");
  filled[0]["SEX"] = OtherAnswer(filled[0]["SEX"]);
  Retype(card, "SEX", filled[0]["SEX"], VK_TAB);
  PressKeyInFocus(VK_F2);
  EXPECT_EQ(FieldText(cardSlot, "ID"), "000002");
  filled[1]["AGAIN"] = OtherAnswer(filled[1]["AGAIN"]);
  Retype(card, "AGAIN", filled[1]["AGAIN"], VK_TAB);
  Picture(card, "15_card_corrected");
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(card));
  const HWND list = OpenForm(designBench, "LISTINP", "Lst", "16_list");
  ASSERT_TRUE(list);
  filled[2]["STAFF"] = OtherAnswer(filled[2]["STAFF"]);
  Retype(list, "STAFF03", filled[2]["STAFF"], VK_RETURN);
  Picture(list, "17_list_corrected");
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  const auto corrected = OutputRows(kOutputTable, "ID", columns);
  ASSERT_EQ(corrected.size(), static_cast<size_t>(kSheets));
  for (int k = 0; k < kSheets; ++k) {
    SCOPED_TRACE(k);
    for (const auto& [name, value] : filled[k]) EXPECT_EQ(corrected[k].at(name), value) << name;
  }

  // The tallies of the corrected answers: each question's choices counted
  // as its boxes were filled.
  ClickItem(designBench, "PRJESC");
  MakeSurvey("SEX", 31);
  Command(kCmdTally);
  LogIn();
  const int menu = SlotOfCode("SPRN-MENU");
  ASSERT_GE(menu, 0) << testing::PrintToString(Boxes());
  Picture(Slot(menu).window, "19_tally_menu");
  // The printouts of the 30 questions (the write-in field has no choices);
  // the graphs' numbers as the answers filled and corrected give them.
  const struct {
    const char* button;
    const char* picture;
    int pages;
    const GraphNumbers* graph;
  } printouts[] = {
      {"SIMPLE", "20_simple_tally", 3, nullptr},     {"CROSS1", "21_cross_tally", 5, nullptr},
      {"BAR1", "22_bar_graph", 6, &kBarNumbers},     {"BAND1", "23_choice_graph", 5, &kBandNumbers},
      {"PIE1", "24_pie_graph", 5, &kPieNumbers},     {"RADAR1", "25_radar_graph", 5, &kRadarNumbers},
  };
  for (const auto& p : printouts) {
    SCOPED_TRACE(p.button);
    const PdfText printed = PrintTally(menu, p.button, p.picture);
    EXPECT_EQ(printed.pages, p.pages);
    if (p.graph) {
      EXPECT_EQ(PrintedNumbers(printed), ExpectedGraphNumbers(filled, *p.graph));
    }
  }
  // The simple tally and the cross tabulation by 性別 written as CSV: every
  // count and percentage of the 30 questions.
  ExpectCsvRows(ExportTally(menu, "SIMPLE", "simple.csv"), ExpectedSimpleTally(filled, Questions()));
  ExpectCsvRows(ExportTally(menu, "CROSS1", "cross.csv"), ExpectedCrossTally(filled, "SEX"));
}

INSTANTIATE_TEST_SUITE_P(Databases, SurveyRoad, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
