// The workbench scanning through a TWAIN scanner as an operator does it:
// the scanner chosen with its key among those installed (Wine's source
// manager, twain_32.dll, with the tests' own source, and the folder
// feeder), the scan type and brightness picked from their fields' pop-ups,
// the run started with the mouse; the sheets read into SQLite and
// PostgreSQL; the source's settings screen when the sheet asks for it; a
// scan that stops part-way keeps every sheet stored and says how many; and
// the folder feeder gives the same rows.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tests/platform/twain_test_source.h"
#include "tests/platform/window_answers.h"
#include "tests/reading/workbench_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/required_service.h"
#include "tests/support/test_pictures.h"
#include "tools/sheetgen/page_reader.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

constexpr int kDpi = 200;  // USER.INI beside the tests: DPI 200
constexpr char kSheetName[] = "TWAINTEST";
constexpr char kTable[] = "TWAINOUT";
constexpr char kFeederName[] = "Test Feeder";  // the fixture's folder feeder

using Row = std::map<std::string, std::string>;

// An A4 sheet whose key ID the run numbers, with two check fields on the
// front and, two-sided, one on the back.
SheetDefinition ScanSheet(bool twoSided) {
  SheetDefinition d = NumberedKeySheet(kSheetName, kTable);
  SheetKeyRow key;
  key.name = "ID";
  d.keys.push_back(key);
  d.fields.push_back(CountedCheckFieldRow("0002", "Q1", 240, 280, 5, 5));
  d.fields.push_back(CountedCheckFieldRow("0003", "Q2", 240, 360, 4, 1));
  d.marks.push_back(RegisteredMarkRow(d, "0001", kDpi));
  if (!twoSided) return d;
  d.papers.push_back(d.papers[0]);
  d.papers.back().side = "0002";
  SheetFieldRow back = CountedCheckFieldRow("0001", "B1", 240, 300, 3, 3);
  back.side = "0002";
  d.fields.push_back(back);
  d.marks.push_back(RegisteredMarkRow(d, "0002", kDpi));
  return d;
}

// Sheet n has one box of each field filled, a different one from sheet to
// sheet; these are the fills of a side and the row the sheet makes.
std::vector<FieldFill> Fills(int n, const std::string& side) {
  if (side == "0002") return {{"B1", {n % 3}}};
  return {{"Q1", {n % 5}}, {"Q2", {n % 4}}};
}

Row ExpectedRow(int n, bool twoSided) {
  char id[8];
  std::snprintf(id, sizeof id, "%04d", n);
  Row row = {{"ID", id}, {"Q1", std::to_string(n % 5 + 1)}, {"Q2", std::to_string(n % 4 + 1)}};
  if (twoSided) row["B1"] = std::to_string(n % 3 + 1);
  return row;
}

std::vector<Row> ExpectedRows(int sheets, bool twoSided) {
  std::vector<Row> rows;
  for (int n = 1; n <= sheets; ++n) rows.push_back(ExpectedRow(n, twoSided));
  return rows;
}

class TwainWorkbench : public WorkbenchFixture {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(InstallTestSource()); }
  static void TearDownTestSuite() { RemoveTestSource(); }

  void SetUp() override {
    WorkbenchFixture::SetUp();
    CreateDirectoryA(Path("scanner").c_str(), nullptr);
    source_ = {Path("source.ini"), Path("scanner"), Path("source.log")};
    source_.Configure("");
    DeleteFileA(ProgramFolderPath("SCANERS").c_str());
  }
  void TearDown() override {
    WorkbenchFixture::TearDown();
    DeleteFileA(ProgramFolderPath("SCANERS").c_str());
  }

  // Writes the sheet and its output table's description and opens the
  // workbench on it in operation mode.
  void Prepare(bool twoSided) {
    twoSided_ = twoSided;
    definition_ = ScanSheet(twoSided);
    WriteDefinition(definition_);
    std::vector<std::string> columns = {"ID:char*:4", "Q1", "Q2"};
    if (twoSided) columns.push_back("B1");
    WriteOutputSpec(kTable, columns);
    ASSERT_EQ(LoadCurrentSheetPaper(), 0);
    BuildCanvas();
    OpenWorkbench(kOperationMode, kSheetName);
  }

  HWND Edit() const { return Slot(SlotOf(Workbench())).editControl; }

  // The scanner key: the scanners installed to choose from, the choice
  // answered with `key` on its list before Enter (0 the first one,
  // VK_ESCAPE cancels).
  void ChooseScanner(UINT key) {
    answers_.key = key;
    PressKey(Edit(), VK_F14);
  }
  // A line of a field's pop-up as the operator takes it: the field
  // clicked, its choices opened with F11, the line reached with the arrow
  // key and taken with Enter.
  void Pick(const char* field, int line) {
    ClickButton(Workbench(), field);
    PressKey(Edit(), VK_F11);
    const HWND popup = g_screen.popupWindow;
    ASSERT_TRUE(popup && g_screen.popupOpen) << field;
    for (int k = 1; k < line; ++k) PressKey(popup, VK_DOWN);
    PressKey(popup, VK_RETURN);
  }
  // The scanner of the source, one-sided or two-sided, at brightness 7.
  void SetUpScan() {
    ChooseScanner(0);
    Pick("SCNTYPE", twoSided_ ? 3 : 2);
    Pick("BRIGHT", 7);
  }
  std::string Caption(const char* name) {
    char caption[128] = "";
    GetFieldCaption(name, caption);
    return caption;
  }

  // Sheets `first` to `last` into a folder, their pages in name order
  // (front, then back), scanned with small random shifts and turns.
  void Feed(const std::string& folder, int first, int last) {
    for (int n = first; n <= last; ++n) {
      for (const char* side : {"0001", "0002"}) {
        if (!twoSided_ && side[3] == '2') break;
        SheetRequest request;
        request.side = side;
        request.dpi = kDpi;
        request.seed = static_cast<uint32_t>(2 * n + (side[3] - '1'));
        SheetRandom random(request.seed);
        request.scan = RandomDegradation(random);
        request.fills = Fills(n, side);
        const GeneratedSheet sheet = GenerateSheet(definition_, request);
        ASSERT_EQ(sheet.error, "");
        char name[32];
        std::snprintf(name, sizeof name, "\\S%03d_%c.BMP", n, side[3]);
        ASSERT_TRUE(WriteSheetBmp(folder + name, sheet));
      }
    }
  }
  int SheetsInScanner() const { return CountFiles(source_.sheets + "\\*.bmp"); }

  // The read button and the dialog's run button.
  void Read() {
    ClickButton(Workbench(), "OCRREAD");
    ASSERT_TRUE(DialogOpen()) << testing::PrintToString(Boxes());
    ClickButton(Dialog(), "DEF01");
    PumpMessages();
  }

  // The output rows, the columns of the sheet only, named as written.
  std::vector<Row> OutputRows() {
    std::vector<Row> rows;
    for (const Row& stored : Rows(kOutputDb, kTable, "ID")) {
      Row row;
      for (const auto& [name, value] : stored) {
        std::string upper = name;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper == "ID" || upper == "Q1" || upper == "Q2" || upper == "B1") row[upper] = value;
      }
      rows.push_back(row);
    }
    return rows;
  }

  SheetDefinition definition_;
  bool twoSided_ = false;
  TestSourceSetup source_;
  WindowAnswers answers_;
};

TEST_F(TwainWorkbench, TheScannerKeyChoosesAmongTheScannersInstalled) {
  Prepare(false);
  EXPECT_EQ(Caption("SCANER"), "") << "none chosen yet";
  const std::string list = ProgramFolderPath("SCANERS");
  struct Case { const char* what; UINT key; const char* chosen; };
  const Case cases[] = {
      {"the source, listed first", 0, kTestSourceName},
      {"cancelled: the scanner stays", VK_ESCAPE, kTestSourceName},
      {"the feeder, listed last", VK_END, kFeederName},
  };
  int windows = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ChooseScanner(c.key);
    EXPECT_EQ(answers_.choiceWindows, ++windows);
    EXPECT_EQ(answers_.choices, (std::vector<std::string>{kTestSourceName, kFeederName}));
    EXPECT_EQ(ReadBytes(list), c.chosen);
    EXPECT_EQ(Caption("SCANER"), c.chosen);
    EXPECT_EQ(Field(Workbench(), "SCANER"), c.chosen);
  }
  SavePicture(Workbench(), "twain_workbench_scanner_chosen");
  CloseWorkbench();
  OpenWorkbench(kOperationMode, kSheetName);
  EXPECT_EQ(Caption("SCANER"), kFeederName) << "the choice is kept for the next opening";
  EXPECT_THAT(Boxes(), IsEmpty());
  EXPECT_THAT(answers_.boxes, IsEmpty());
}

// A line just taken from another field's pop-up is no choice of the
// scanner key: with several names in the list, the key still opens the
// choice among the scanners installed, and the scanner's number stays.
TEST_F(TwainWorkbench, TheScannerKeyAfterAnotherPopUpOpensTheChoice) {
  // The list's current scanner, then the names its button offers.
  const std::string list = std::string(kTestSourceName) + ",Scanner A,Scanner B";
  Prepare(false);
  for (const char* field : {"SCNTYPE", "BRIGHT", "SCNTYPE"}) {
    SCOPED_TRACE(field);
    WriteBytes(ProgramFolderPath("SCANERS"), list);
    Pick(field, 2);
    const int windows = answers_.choiceWindows;
    ChooseScanner(VK_END);
    EXPECT_EQ(answers_.choiceWindows, windows + 1) << "the key opens the scanners installed";
    EXPECT_EQ(ReadBytes(ProgramFolderPath("SCANERS")), kFeederName);
    EXPECT_EQ(Caption("SCANER"), kFeederName);
  }
  EXPECT_EQ(Caption("SCNTYPE"), "ＡＤＦ") << "the line taken with Enter is the pop-up's choice";
  CloseWorkbench();
  OpenWorkbench(kOperationMode, kSheetName);
  EXPECT_EQ(Caption("SCANER"), kFeederName) << "kept for the next opening";
  EXPECT_THAT(answers_.boxes, IsEmpty());
}

// Both databases: the file one and, where SHEETDESK_PG names one, the
// server.
class TwainWorkbenchRead : public TwainWorkbench, public testing::WithParamInterface<int> {
 protected:
  // Reads `sheets` sheets through the source with the type and brightness
  // set on the workbench; every value of every sheet is stored.
  void UseDatabase() {
    if (GetParam() != kDbKindServer) return;
    if (!UseServerOutput()) SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
    const int t = db_alloc_slot("", g_currentSheet.outputDatabase.c_str(), kTable, kDbKindServer);
    ASSERT_GT(t, 0);
    ExecSlotSql(t, "drop table if exists TWAINOUT", 1);
    db_disconnect(t);
  }
  void ReadEverySheet(bool twoSided, int sheets) {
    UseDatabase();
    if (IsSkipped() || HasFatalFailure()) return;
    Prepare(twoSided);
    SetUpScan();
    EXPECT_EQ(Caption("SCNTYPE"), twoSided ? "ＡＤＦ両面" : "ＡＤＦ");
    EXPECT_EQ(Caption("BRIGHT"), "7");
    Feed(source_.sheets, 1, sheets);
    Read();
    EXPECT_THAT(Boxes(), IsEmpty());
    EXPECT_THAT(answers_.boxes, IsEmpty());
    EXPECT_EQ(OutputRows(), ExpectedRows(sheets, twoSided));
    EXPECT_EQ(SheetsInScanner(), 0);
    const std::string log = source_.Log();
    // Brightness 7 of 1 to 10 on the source's range of -1000 to 1000.
    const std::vector<std::string> lines = {"open ImageKit7", "set 1101 400", "set 1118 200",
                                            "set 0101 0", std::string("set 1013 ") + (twoSided ? "1" : "0"),
                                            "enable screen=0"};
    for (const std::string& line : lines) {
      EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
  }
};

TEST_P(TwainWorkbenchRead, TwentyOneSidedSheetsAreStoredWithEveryValue) { ReadEverySheet(false, 20); }

TEST_P(TwainWorkbenchRead, TenTwoSidedSheetsAreStoredWithEveryValue) { ReadEverySheet(true, 10); }

// While the scanner feeds, the message line counts the sheets read; Esc
// typed meanwhile asks whether to stop, and a stop leaves the next sheet
// and the rest in the scanner, to be read with the next numbers. The
// record count shows what the output table holds.
TEST_P(TwainWorkbenchRead, EscStopsTheRunBetweenSheetsAndTheCountShowsTheRecords) {
  UseDatabase();
  if (IsSkipped() || HasFatalFailure()) return;
  Prepare(false);
  SetUpScan();
  // The folder feeder: the TWAIN source's wait for its first page passes
  // keys on to the window they were typed in.
  ChooseScanner(VK_END);
  ASSERT_EQ(Caption("SCANER"), kFeederName);
  EXPECT_EQ(Field(Workbench(), "RECCNT"), "") << "no records yet";
  constexpr int kSheets = 6;
  Feed(Path("feed"), 1, kSheets);
  struct Case { const char* what; int answer; std::vector<std::string> boxes; int stored, left; };
  const std::string asked = "読み取り済み：1枚\n読み取りを中止してもよろしいですか？\n（残りの用紙は、スキャナに残ります）";
  const Case cases[] = {
      {"Esc, and the stop confirmed", IDYES, {asked}, 1, kSheets - 1},
      {"Esc, and the run goes on", IDNO, {asked}, kSheets, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ForgetBoxes();
    AnswerNext(c.answer);
    ClickButton(Workbench(), "OCRREAD");
    ASSERT_TRUE(DialogOpen());
    // The run button clicked, and Esc typed as the run starts: the key
    // waits in the queue until the first sheet is read.
    const int slot = SlotOf(Dialog());
    const ScreenItem& run = Item(ResolveFieldRef(slot, "DEF01"));
    const LPARAM at = MAKELPARAM(run.pixelX + run.pixelWidth / 2, run.pixelY + run.pixelHeight / 2);
    for (const UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP}) {
      PostMessageA(Dialog(), mouse, mouse == WM_LBUTTONDOWN ? MK_LBUTTON : 0, at);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
        if (msg.message == mouse) break;
      }
    }
    PostMessageA(Edit(), WM_KEYDOWN, VK_ESCAPE, 1);
    PumpMessages();
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(OutputRows(), ExpectedRows(c.stored, false));
    EXPECT_EQ(CountFiles(Path("feed") + "\\*.bmp"), c.left);
    EXPECT_EQ(Field(Workbench(), "RECCNT"), "(登録件数：" + std::to_string(c.stored) + ")");
    EXPECT_TRUE(IsWindowVisible(Workbench())) << "Esc did not close the workbench";
  }
  SavePicture(Workbench(), "twain_workbench_after_stop");
  CloseWorkbench();
  OpenWorkbench(kOperationMode, kSheetName);
  EXPECT_EQ(Field(Workbench(), "RECCNT"), "(登録件数：" + std::to_string(kSheets) + ")");
  EXPECT_THAT(answers_.boxes, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(Databases, TwainWorkbenchRead, testing::Values(kDbKindFile, kDbKindServer),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(info.param == kDbKindServer ? "PostgreSQL" : "SQLite");
                         });

TEST_F(TwainWorkbench, TheSourcesSettingsScreenIsShownWhenTheSheetAsksForIt) {
  Prepare(false);
  SetUpScan();
  // The dialog's check is clicked each time: set, then cleared again.
  struct Case { const char* what; const char* logged; };
  const Case cases[] = {
      {"asked for", "enable screen=1\nscreen ok\n"},
      {"not asked for", "enable screen=0\n"},
  };
  int stored = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    source_.Configure("");
    Feed(source_.sheets, stored + 1, stored + 2);
    ClickButton(Workbench(), "OCRREAD");
    ASSERT_TRUE(DialogOpen());
    ClickButton(Dialog(), "スキャナ設定画面");
    ClickButton(Dialog(), "DEF01");
    PumpMessages();
    stored += 2;
    EXPECT_NE(source_.Log().find(c.logged), std::string::npos) << source_.Log();
    EXPECT_EQ(OutputRows(), ExpectedRows(stored, false));
    EXPECT_THAT(Boxes(), IsEmpty());
  }
}

// However the scan stops, the sheets read before stay stored and the later
// ones in the scanner; the operator is told why and how many were read.
// Fed again, the rest follow with the next numbers: none is lost.
TEST_F(TwainWorkbench, AScanThatStopsPartWayKeepsEverySheetReadAndSaysHowMany) {
  Prepare(false);
  SetUpScan();
  constexpr int kSheets = 8;
  Feed(source_.sheets, 1, kSheets);
  struct Case { const char* what; const char* source; std::vector<std::string> boxes; int stored; };
  const Case cases[] = {
      {"a jam at the fourth", "JamAt=4\r\n",
       {"紙詰まりのため、読み取りを中断しました。\n詰まった用紙を取り除いてください。\n"
        "中断までに読み取った用紙：3枚"},
       3},
      {"cancelled on the scanner at the third", "CancelAt=3\r\n",
       {"スキャナで読み取りが取り消されました。\n中断までに読み取った用紙：2枚"}, 5},
      {"the rest, until the paper runs out", "", {}, kSheets},
      {"no paper", "", {"スキャナに用紙がセットされていません。\n用紙をセットしてから、読み取りを行ってください。"},
       kSheets},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    source_.Configure(c.source);
    ForgetBoxes();
    Read();
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_EQ(OutputRows(), ExpectedRows(c.stored, false));
    EXPECT_EQ(SheetsInScanner(), kSheets - c.stored);
    EXPECT_THAT(source_.Log(), testing::EndsWith("close\n")) << "the source is closed";
  }
  // A scanner that is not there any more.
  WriteBytes(ProgramFolderPath("SCANERS"), "No Such Scanner");
  Feed(source_.sheets, kSheets + 1, kSheets + 1);
  ForgetBoxes();
  Read();
  EXPECT_THAT(Boxes(), ElementsAre("イメージスキャナ“No Such Scanner”で読み取りを開始できません。\n"
                                   "スキャナの電源と接続を確認するか、画面右上のボタンで、"
                                   "イメージスキャナを選択し直してください。"));
  EXPECT_EQ(OutputRows().size(), static_cast<std::size_t>(kSheets));
  EXPECT_THAT(answers_.boxes, IsEmpty());
}

TEST_F(TwainWorkbench, TheFolderFeederGivesTheRowsOfTheTwainScanner) {
  Prepare(false);
  SetUpScan();
  constexpr int kSheets = 6;
  Feed(source_.sheets, 1, kSheets);
  Read();
  const std::vector<Row> twain = OutputRows();
  ASSERT_EQ(twain, ExpectedRows(kSheets, false)) << testing::PrintToString(Boxes());
  const int out = db_open(folder().c_str(), kOutputDb, kTable, kDbKindFile, kTable, kTable, "");
  ASSERT_GT(out, 0);
  for (int rc = db_toppos(out, "ID"); rc == 0; rc = db_toppos(out, "ID")) db_delete(out);
  db_close(out);
  ChooseScanner(VK_END);
  ASSERT_EQ(Caption("SCANER"), kFeederName);
  Feed(Path("feed"), 1, kSheets);
  Read();
  EXPECT_EQ(OutputRows(), twain) << "numbered from the emptied table again";
  EXPECT_THAT(Boxes(), IsEmpty());
}

}  // namespace
