// The workbench and the reading-run dialog under Wine, driven as the
// operator drives them: buttons clicked with the mouse, the dialog's values
// typed in, generated sheets in the feeder, into an SQLite output table;
// reference marks registered from test scans, margins and ratios stepped,
// the error log shown and closed, and the image check view opened.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "reading/reading.h"
#include "reading/workbench.h"
#include "screen/screen.h"
#include "tests/reading/workbench_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/test_pictures.h"
#include "tools/sheetgen/page_reader.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

constexpr int kDpi = 200;  // USER.INI beside the tests: DPI 200

// An A4 sheet with three marks: its key ID numbered by the run, under the
// key item KAI that no field bears (asked in the dialog), and two check
// fields.
SheetDefinition WorkSheet() {
  SheetDefinition d = NumberedKeySheet("WORKTEST", "OUT1");
  d.papers[0].noiseSize = 2;
  d.fields.push_back(CountedCheckFieldRow("0002", "Q1", 240, 280, 5, 5));
  d.fields.push_back(CountedCheckFieldRow("0003", "Q2", 240, 360, 3, 1));
  SheetKeyRow round;
  round.code = "01";
  round.name = "KAI";
  round.title = "回";
  round.width = 2;
  round.initial = "1";
  d.keys.push_back(round);
  SheetKeyRow key;
  key.code = "02";
  key.name = "ID";
  key.width = 4;
  d.keys.push_back(key);
  return d;
}

using Row = std::map<std::string, std::string>;

class WorkbenchTest : public WorkbenchFixture {
 protected:
  void SetUp() override {
    WorkbenchFixture::SetUp();
    definition_ = WorkSheet();
  }

  // Writes the definition and the output table's description and opens the
  // workbench on the sheet in a mode, as the project screen does.
  void Prepare(int mode, int markDpi = kDpi) {
    definition_.marks.push_back(RegisteredMarkRow(definition_, "0001", markDpi));
    WriteDefinition(definition_);
    WriteOutputSpec("OUT1", {"ID:char*:4", "KAI:char*:2", "Q1", "Q2"});
    ASSERT_EQ(LoadCurrentSheetPaper(), 0);
    BuildCanvas();
    OpenWorkbench(mode);
  }

  using WorkbenchFixture::OpenWorkbench;
  void OpenWorkbench(int mode) { OpenWorkbench(mode, "WORKTEST"); }

  // Puts generated sheets into the feeder (the boxes of Q1 and Q2 filled),
  // scanned with small random shifts and turns unless `clean`; `lostMark`
  // erases the top-left mark of that sheet (from 0).
  void Feed(const std::vector<std::pair<std::vector<int>, std::vector<int>>>& sheets, int lostMark = -1,
            int dpi = kDpi, bool clean = false) {
    for (std::size_t k = 0; k < sheets.size(); ++k) {
      SheetRequest request;
      request.dpi = dpi;
      request.seed = static_cast<uint32_t>(fed_ + 1);
      SheetRandom random(request.seed);
      if (!clean) request.scan = RandomDegradation(random);
      request.fills = {{"Q1", sheets[k].first}, {"Q2", sheets[k].second}};
      GeneratedSheet sheet = GenerateSheet(definition_, request);
      ASSERT_EQ(sheet.error, "");
      if (static_cast<int>(k) == lostMark) EraseTopLeftMark(sheet);
      char name[32];
      std::snprintf(name, sizeof name, "PAGE%05d.BMP", ++fed_);
      ASSERT_TRUE(WriteSheetBmp(FeedPath(name), sheet));
    }
  }

  void EraseTopLeftMark(GeneratedSheet& sheet) {
    const SheetMarkRow marks = RegisteredMarkRow(definition_, "0001", sheet.dpi);
    const int reach = sheet.dpi / 4;
    for (int y = std::max(0, marks.y1 - reach); y < std::min(sheet.height, marks.y1 + reach); ++y) {
      for (int x = std::max(0, marks.x1 - reach); x < std::min(sheet.width, marks.x1 + reach); ++x) {
        sheet.black[static_cast<std::size_t>(y) * sheet.width + x] = 0;
      }
    }
  }

  std::vector<Row> OutputRows() { return Rows(kOutputDb, "OUT1", "ID"); }
  std::string Log(const char* suffix) { return ReadBytes(Path(std::string("log\\SHEET") + suffix)); }

  SheetDefinition definition_;
  int fed_ = 0;
};

std::vector<std::string> Values(const std::vector<Row>& rows, const char* column) {
  std::vector<std::string> values;
  for (const Row& row : rows) values.push_back(row.at(column));
  return values;
}

TEST_F(WorkbenchTest, AnOperatorReadsTheFeederFromTheWorkbench) {
  Prepare(kOperationMode);
  Feed({{{0, 2}, {1}}, {{4}, {}}, {{}, {0, 2}}});
  ClickButton(Workbench(), "OCRREAD");
  ASSERT_TRUE(DialogOpen());
  EXPECT_EQ(Field(Dialog(), "CNT_CODE"), "0001") << "the next number stands ready";
  Type(Dialog(), "CNT_CODE", "");
  EXPECT_FALSE(IsWindowEnabled(Workbench()));
  char title[128] = "";
  GetWindowTextA(Dialog(), title, sizeof title);
  EXPECT_STREQ(title, "シート読み取り（スキャニング＋文字認識）");
  SavePicture(Dialog(), "read_run_dialog");
  EXPECT_EQ(Field(Dialog(), "DEFVAL01"), "1") << "the key item no field bears, with its stored value";
  ClickButton(Dialog(), "AUTOBUTT");
  EXPECT_EQ(Field(Dialog(), "CNT_CODE"), "0001") << "an empty table starts at 1, as wide as the key";
  Type(Dialog(), "DEFVAL01", "7");
  ClickButton(Dialog(), "DEF01");
  PumpMessages();

  EXPECT_FALSE(DialogOpen()) << "the dialog closes when not asked to stay";
  EXPECT_TRUE(IsWindowEnabled(Workbench()));
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  const std::vector<Row> rows = OutputRows();
  EXPECT_EQ(Values(rows, "ID"), (std::vector<std::string>{"0001", "0002", "0003"}));
  EXPECT_EQ(Values(rows, "KAI"), (std::vector<std::string>{"7", "7", "7"})) << "the dialog's value";
  EXPECT_EQ(Values(rows, "Q1"), (std::vector<std::string>{"13", "5", ""}));
  EXPECT_EQ(Values(rows, "Q2"), (std::vector<std::string>{"2", "", ""}));
  EXPECT_THAT(Field(Workbench(), "OCRMSG"), HasSubstr("読取枚数：3枚"));
  const std::string equals = std::string(100, '=') + "\r\n", dashes = std::string(100, '-') + "\r\n";
  EXPECT_EQ(Log("_PUT.LOG"), equals + "〔000001〕 \r\n◎ [KAI] [ID] 0001 13 2 \r\n" + dashes +
                                 "〔000002〕 \r\n◎ [KAI] [ID] 0002 5  \r\n" + dashes +
                                 "〔000003〕 \r\n◎ [KAI] [ID] 0003   \r\n" + dashes);
  EXPECT_THAT(Log("_ERR.LOG"), HasSubstr("“Q2”のチェック数が“1”を越えました。"));
  EXPECT_EQ(ReadBytes(Path("log\\READEND.TXT")), "1\r\n");
  EXPECT_EQ(ReadBytes(Path("log\\ENDCODE.TXT")), "0003\r\n");
  SavePicture(Workbench(), "workbench_after_run");
  EXPECT_EQ(g_readingRun.confirmed, 0) << "a later test scan is a test scan again";
  // The dialog's value is kept for the next run.
  ClickButton(Workbench(), "OCRREAD");
  EXPECT_EQ(Field(Dialog(), "DEFVAL01"), "7");
  ClickButton(Dialog(), "DEF00");
  EXPECT_FALSE(DialogOpen());
}

TEST_F(WorkbenchTest, AnEmptyValueKeepsTheDialogOpenAndCancelSavesNothing) {
  Prepare(kOperationMode);
  Feed({{{0}, {0}}});
  ClickButton(Workbench(), "OCRREAD");
  Type(Dialog(), "DEFVAL01", "");
  ClickButton(Dialog(), "DEF01");
  EXPECT_THAT(Boxes(), ElementsAre("“回”が入力されていません。"));
  EXPECT_TRUE(DialogOpen());
  Type(Dialog(), "DEFVAL01", "5");
  ClickButton(Dialog(), "DEF00");
  EXPECT_FALSE(DialogOpen());
  EXPECT_TRUE(IsWindowEnabled(Workbench()));
  EXPECT_TRUE(OutputRows().empty()) << "no run";
  EXPECT_TRUE(GetFileAttributesA(FeedPath("PAGE00001.BMP").c_str()) != INVALID_FILE_ATTRIBUTES);
  const auto keys = Rows(kSheetDb, "MUPA_IDX", "ＩＤＸコード");
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0].at("初期値"), "1") << "cancel saves nothing";
  EXPECT_EQ(g_readingRun.confirmed, 0);
}

TEST_F(WorkbenchTest, TheDialogComesBackForTheNextFeedWhenAsked) {
  Prepare(kOperationMode);
  Feed({{{1}, {0}}, {{2}, {1}}});
  ClickButton(Workbench(), "OCRREAD");
  Type(Dialog(), "画面を閉じる", "1");
  ClickButton(Dialog(), "DEF01");
  PumpMessages();
  EXPECT_EQ(OutputRows().size(), 2u);
  ASSERT_TRUE(DialogOpen()) << "opened again for the next feed";
  EXPECT_EQ(Field(Dialog(), "画面を閉じる"), "1");
  Feed({{{3}, {2}}});
  EXPECT_EQ(Field(Dialog(), "CNT_CODE"), "0003") << "numbering goes on";
  Type(Dialog(), "画面を閉じる", "0");
  ClickButton(Dialog(), "DEF01");
  PumpMessages();
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(Values(OutputRows(), "ID"), (std::vector<std::string>{"0001", "0002", "0003"}));
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

// The refused sheet stays in the feeder with the later ones; the error log
// names its page and why, and the message line counts it.
TEST_F(WorkbenchTest, ALostMarkStopsTheRunWithTheCornerMessageAndTheDialogStaysClosed) {
  Prepare(kOperationMode);
  Feed({{{0}, {0}}, {{1}, {1}}, {{2}, {2}}}, 1);
  ClickButton(Workbench(), "OCRREAD");
  Type(Dialog(), "画面を閉じる", "1");
  ClickButton(Dialog(), "DEF01");
  PumpMessages();
  EXPECT_EQ(Values(OutputRows(), "ID"), (std::vector<std::string>{"0001"}));
  ASSERT_EQ(Boxes().size(), 1u) << testing::PrintToString(Boxes());
  EXPECT_THAT(Boxes()[0], HasSubstr("シート左上の“■マーク”を認識できませんので、処理を中断します。"));
  EXPECT_FALSE(DialogOpen()) << "no next feed after a stop";
  EXPECT_THAT(Field(Workbench(), "OCRMSG"), testing::Eq("読取枚数：1枚　不可：1枚"));
  SavePicture(Workbench(), "workbench_refused_sheet");
  EXPECT_THAT(Log("_ERR.LOG"),
              HasSubstr("〔2ページ目〕読み取ったイメージを補正するための左上のマーク“■”を認識できません。\r\n"));
  EXPECT_TRUE(GetFileAttributesA(FeedPath("PAGE00002.BMP").c_str()) != INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(GetFileAttributesA(FeedPath("PAGE00003.BMP").c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST_F(WorkbenchTest, NumbersThatWouldWrapAreRefusedBeforeTheRun) {
  Prepare(kOperationMode);
  const int out = db_open(folder().c_str(), kOutputDb, "OUT1", kDbKindFile, "OUT1", "OUT1", "");
  ASSERT_GT(out, 0);
  db_clear(out);
  SetColumnText(out, "KAI", "1");
  SetColumnText(out, "ID", "9999");
  ASSERT_EQ(db_add(out), 0);
  db_close(out);
  Feed({{{0}, {0}}});
  ClickButton(Workbench(), "OCRREAD");
  EXPECT_EQ(Field(Dialog(), "CNT_CODE"), "") << "no next number to offer";
  EXPECT_TRUE(Boxes().empty());
  ClickButton(Dialog(), "AUTOBUTT");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_THAT(Boxes()[0], HasSubstr("「ID」の連番が“0000”で桁数の上限に達しましたので"));
  EXPECT_TRUE(DialogOpen());
  EXPECT_EQ(Field(Dialog(), "CNT_CODE"), "");
  ClickButton(Dialog(), "DEF01");
  EXPECT_THAT(Boxes().back(), "“ID”の先頭番号が入力されていません。");
  EXPECT_TRUE(DialogOpen());
  ClickButton(Dialog(), "DEF00");
  EXPECT_EQ(OutputRows().size(), 1u) << "the stored record is untouched";
}

TEST_F(WorkbenchTest, ReferenceMarksOfATestScanLandInTheRowOfTheResolution) {
  struct Case {
    int dpi;
    const char* code;
  };
  for (const Case& c : {Case{200, "01"}, Case{300, "02"}, Case{400, "03"}}) {
    SCOPED_TRACE(c.dpi);
    UseDpi(c.dpi);
    if (c.dpi == 200) {
      definition_.papers[0].compensationMode = 3;
      WriteDefinition(definition_);
      WriteOutputSpec("OUT1", {"ID:char*:4", "KAI:char*:2", "Q1", "Q2"});
      ASSERT_EQ(LoadCurrentSheetPaper(), 0);
      BuildCanvas();
    }
    OpenWorkbench(kDesignMode);
    EXPECT_EQ(Field(Workbench(), "位置記憶"), "未登録");
    Feed({{{0}, {1}}}, -1, c.dpi, true);  // a sheet fed straight
    ClickButton(Workbench(), "OCRREAD");
    char title[128] = "";
    GetWindowTextA(Dialog(), title, sizeof title);
    EXPECT_STREQ(title, "テスト読み取り（スキャニングのみ）");
    ClickButton(Dialog(), "DEF01");
    PumpMessages();
    ASSERT_NE(GetFileAttributesA(ImagePath("CONV_" + std::to_string(c.dpi) + ".BMP").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << testing::PrintToString(Boxes());
    if (c.dpi == kDpi) {
      // The page the test scan read, with the frames of the fields over it.
      ClickButton(Workbench(), "WITHIMG");
      SavePicture(FindWindowA("WITHIMAGE", nullptr), "image_view_of_a_test_scan");
      SendMessageA(FindWindowA("WITHFRAME", nullptr), WM_CLOSE, 0, 0);
    }
    ForgetBoxes();
    Choose(128, 1);
    EXPECT_EQ(Field(Workbench(), "位置記憶"), "登録済み");
    ASSERT_FALSE(Boxes().empty());
    EXPECT_THAT(Boxes().back(), HasSubstr("基準になる位置を登録しました。"));
    CloseWorkbench();
    EXPECT_EQ(GetFileAttributesA(ImagePath("CONV_200.BMP").c_str()), INVALID_FILE_ATTRIBUTES)
        << "closing deletes the 200 dpi work files";
  }
  const auto marks = Rows(kSheetDb, "MUPA_HMK", "コード");
  ASSERT_EQ(marks.size(), 3u);
  EXPECT_EQ(Values(marks, "コード"), (std::vector<std::string>{"01", "02", "03"}));
  for (const Row& row : marks) {
    EXPECT_EQ(row.at("ＯＣＲコード"), "0001");
    EXPECT_NE(row.at("Ｘ３"), "-1");
  }
  EXPECT_TRUE(OutputRows().empty()) << "a test scan writes no record";
}

TEST_F(WorkbenchTest, MarginsAndRatiosAreSteppedStoredAndReadBack) {
  definition_.papers[0].gridShiftX = -20;
  definition_.papers[0].ratioX[0] = 2.00;  // shown 1.00 at 200 dpi
  Prepare(kDesignMode);
  EXPECT_EQ(Field(Workbench(), "LMGN"), "-20");
  EXPECT_EQ(Field(Workbench(), "IMGRATE1"), "1.00");
  // An unusual value is told in the message window below the mouse (60
  // pixels lower, kept on the screen), which stands on the button just
  // pressed; a usual one takes the window away.
  const HWND warning = FindWindowA("Messgwnd", nullptr);
  ASSERT_NE(warning, nullptr);
  const auto pressWithMouse = [this](const char* name) {
    const ScreenItem& button = Item(ResolveFieldRef(SlotOf(Workbench()), name));
    POINT at{button.pixelX + button.pixelWidth / 2, button.pixelY + button.pixelHeight / 2};
    ClientToScreen(Workbench(), &at);
    SetCursorPos(at.x, at.y);
    ClickButton(Workbench(), name);
  };
  // "" when the window shows below the mouse, else where it is.
  const auto warningBelowMouse = [warning]() -> std::string {
    POINT mouse{};
    GetCursorPos(&mouse);
    RECT r{};
    GetWindowRect(warning, &r);
    if (IsWindowVisible(warning) && r.top >= mouse.y + 60) return "";
    return testing::PrintToString(std::vector<long>{IsWindowVisible(warning), r.left, r.top, mouse.x, mouse.y});
  };
  pressWithMouse("LT");
  EXPECT_EQ(Field(Workbench(), "LMGN"), "-21");
  EXPECT_EQ(warningBelowMouse(), "") << "左側余白が“-21”";
  SavePicture(Workbench(), "workbench_margin_warning");
  EXPECT_EQ(Field(Workbench(), "OCRMSG"), "") << "not in the message line";
  pressWithMouse("RT");
  EXPECT_EQ(Field(Workbench(), "LMGN"), "-20");
  EXPECT_FALSE(IsWindowVisible(warning));
  for (int k = 0; k < 3; ++k) ClickButton(Workbench(), "DW");
  for (int k = 0; k < 10; ++k) ClickButton(Workbench(), "MAGNI1");
  EXPECT_EQ(Field(Workbench(), "IMGRATE1"), "1.10");
  EXPECT_FALSE(IsWindowVisible(warning)) << "1.10 is inside the range";
  pressWithMouse("MAGNI1");
  EXPECT_EQ(Field(Workbench(), "IMGRATE1"), "1.11");
  EXPECT_EQ(warningBelowMouse(), "") << "イメージの割合が“1.11”";
  // The vertical ratio, stored 0, starts at the printed quarter millimetre:
  // 1.97 pixels, shown 1.03 against 2.00.
  for (int k = 0; k < 2; ++k) ClickButton(Workbench(), "REDUCT2");
  EXPECT_EQ(Field(Workbench(), "IMGRATE2"), "1.01");
  CloseWorkbench();

  const auto papers = Rows(kSheetDb, "MUPA_PAP", "ＯＣＲコード");
  ASSERT_EQ(papers.size(), 1u);
  EXPECT_EQ(papers[0].at("横シフト"), "-20");
  EXPECT_EQ(papers[0].at("縦シフト"), "3");
  EXPECT_DOUBLE_EQ(std::stod(papers[0].at("イメージ割合01")), 1.89);
  EXPECT_DOUBLE_EQ(std::stod(papers[0].at("イメージ割合11")), 1.99);
  OpenWorkbench(kDesignMode);
  EXPECT_EQ(Field(Workbench(), "LMGN"), "-20");
  EXPECT_EQ(Field(Workbench(), "TMGN"), "3");
  EXPECT_EQ(Field(Workbench(), "IMGRATE1"), "1.11");
  EXPECT_EQ(Field(Workbench(), "IMGRATE2"), "1.01");
}

// Whether a process of that id still runs.
bool ProcessRuns(DWORD id) {
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (!process) return false;
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return runs;
}

// The viewer's windows, by their process.
int WindowsOfProcess(DWORD id) {
  struct Count {
    DWORD id;
    int windows;
  } count = {id, 0};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* c = reinterpret_cast<Count*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == c->id && IsWindowVisible(window)) ++c->windows;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.windows;
}

TEST_F(WorkbenchTest, TheErrorLogViewerIsKnownByItsProcess) {
  Prepare(kOperationMode);
  Choose(115, 1);
  EXPECT_THAT(Boxes(), ElementsAre(HasSubstr("SHEET_ERR.LOG”は作成されていません。")));
  WriteBytes(Path("log\\SHEET_ERR.LOG"), "〔000001〕\r\n");
  WriteBytes(Path("log\\SHEET_PUT.LOG"), "〔000001〕\r\n");
  Choose(115, 1);
  DWORD viewer = 0;
  for (int wait = 0; wait < 100 && !viewer; ++wait) {
    Sleep(50);
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          char title[256] = "";
          GetWindowTextA(window, title, sizeof title);
          if (std::strstr(title, "SHEET_ERR.LOG")) GetWindowThreadProcessId(window, reinterpret_cast<DWORD*>(data));
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&viewer));
  }
  ASSERT_NE(viewer, 0u) << "Notepad shows the error log";
  EXPECT_EQ(WindowsOfProcess(viewer), 1);
  Choose(115, 1);  // the toggle closes it, whatever its title
  EXPECT_FALSE(ProcessRuns(viewer));
  // Deleting the logs closes a running viewer first.
  Choose(115, 1);
  Choose(115, 2);
  EXPECT_THAT(Boxes().back(), "エラーログファイルを削除してもよろしいですか？");
  EXPECT_EQ(GetFileAttributesA(Path("log\\SHEET_ERR.LOG").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA(Path("log\\SHEET_PUT.LOG").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WorkbenchTest, ACompletionSoundThatCannotPlayIsIgnored) {
  // The shipped sound cannot play without a sound device; nor can a file
  // that is no wave at all.
  const std::string sound = ProgramFolderPath("readend.wav");
  const std::string shipped = ReadBytes(sound);
  WriteBytes(sound, "RIFF not a wave");
  Prepare(kOperationMode);
  Feed({{{0}, {0}}});
  ClickButton(Workbench(), "OCRREAD");
  ClickButton(Dialog(), "DEF01");
  PumpMessages();
  WriteBytes(sound, shipped);
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  EXPECT_EQ(OutputRows().size(), 1u);
  EXPECT_THAT(Field(Workbench(), "OCRMSG"), HasSubstr("読取枚数：1枚"));
}

TEST_F(WorkbenchTest, TheImageCheckViewOpensOverTheWorkbenchAndGivesItBack) {
  Prepare(kDesignMode);
  ClickButton(Workbench(), "WITHIMG");
  const HWND frame = FindWindowA("WITHFRAME", nullptr);
  ASSERT_TRUE(IsWindowVisible(frame));
  EXPECT_TRUE(IsWindowVisible(FindWindowA("WITHIMAGE", nullptr)));
  EXPECT_FALSE(IsWindowEnabled(Workbench()));
  EXPECT_EQ(Field(frame, "WIMGMSG1"), "表示するイメージは作成されていません。");
  ClickButton(frame, "PRJESC");
  EXPECT_FALSE(IsWindowVisible(frame));
  EXPECT_FALSE(IsWindowVisible(FindWindowA("WITHIMAGE", nullptr)));
  EXPECT_TRUE(IsWindowEnabled(Workbench()));
  // With a converted page, the hints ask to look at the frames.
  SheetRequest page;
  page.dpi = kDpi;
  page.fills = {{"Q1", {0, 2}}, {"Q2", {1}}};
  WritePage("CONV_200.BMP", definition_, page);
  ClickButton(Workbench(), "WITHIMG");
  EXPECT_EQ(Field(frame, "WIMGMSG1"), "紫色の枠内に、ノイズ(斑点)が残っていないか確認してください。");
  SavePicture(frame, "image_check_view");
  SavePicture(FindWindowA("WITHIMAGE", nullptr), "image_view_only");
  SendMessageA(frame, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(Workbench()));
}

TEST_F(WorkbenchTest, AStoredPageIsConvertedIntoARecord) {
  Prepare(kDesignMode);
  SheetRequest page;
  page.dpi = kDpi;
  page.fills = {{"Q1", {1, 3}}, {"Q2", {2}}};
  WritePage("SCAN_200.BMP", definition_, page);
  ClickButton(Workbench(), "IMGCHR");
  ASSERT_TRUE(DialogOpen());
  EXPECT_EQ(Field(Dialog(), "CNT_CODE"), "0001");
  ClickButton(Dialog(), "DEF01");
  PumpMessages();
  const std::vector<Row> rows = OutputRows();
  ASSERT_EQ(rows.size(), 1u) << testing::PrintToString(Boxes());
  EXPECT_EQ(rows[0].at("ID"), "0001");
  EXPECT_EQ(rows[0].at("KAI"), "1");
  EXPECT_EQ(rows[0].at("Q1"), "24");
  EXPECT_EQ(rows[0].at("Q2"), "3");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_THAT(Boxes()[0], HasSubstr("イメージの基準位置とのズレ"));
  EXPECT_NE(GetFileAttributesA(ImagePath("SCAN_200.BMP").c_str()), INVALID_FILE_ATTRIBUTES)
      << "a stored page stays in design mode";
}

TEST_F(WorkbenchTest, TheScanTypeAndBrightnessAreStoredForTheSheet) {
  Prepare(kDesignMode);
  char caption[64] = "";
  GetFieldCaption("SCNTYPE", caption);
  EXPECT_STREQ(caption, "ＡＤＦ");
  Choose(127, 4);
  Choose(131, 7);
  GetFieldCaption("SCNTYPE", caption);
  EXPECT_STREQ(caption, "ＡＤＦ２枚１組");
  GetFieldCaption("BRIGHT", caption);
  EXPECT_STREQ(caption, "7");
  Choose(204, 1);  // the side shown already: nothing changes
  EXPECT_EQ(g_sheetDefinition.sheetCode, "0001");
  const auto papers = Rows(kSheetDb, "MUPA_PAP", "ＯＣＲコード");
  ASSERT_EQ(papers.size(), 1u);
  EXPECT_EQ(papers[0].at("予備１"), "4");
  EXPECT_EQ(papers[0].at("明るさ"), "7");
  EXPECT_EQ(g_sheetSettings.scanType, kScanPaired);
  EXPECT_EQ(g_sheetSettings.twoSheetSet, 1);
}

// The first black pixel of the image view in reading order, as painted.
POINT FirstBlackOfView() {
  const HWND view = FindWindowA("WITHIMAGE", nullptr);
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const HDC dc = GetDC(view);
  POINT found = {-1, -1};
  for (int y = 0; y < 300 && found.x < 0; ++y) {
    for (int x = 0; x < 300; ++x) {
      if (GetPixel(dc, x, y) == RGB(0, 0, 0)) {
        found = {x, y};
        break;
      }
    }
  }
  ReleaseDC(view, dc);
  return found;
}

TEST_F(WorkbenchTest, TheViewMovesThePageByTwiceTheMarginAndStretchesItByHalfTheRatio) {
  Prepare(kDesignMode);
  SheetRequest page;
  page.dpi = kDpi;
  WritePage("CONV_200.BMP", definition_, page);
  ClickButton(Workbench(), "WITHIMG");
  const POINT plain = FirstBlackOfView();
  ASSERT_GE(plain.x, 0) << "the top-left mark is in view";
  SendMessageA(FindWindowA("WITHFRAME", nullptr), WM_CLOSE, 0, 0);
  for (int k = 0; k < 3; ++k) ClickButton(Workbench(), "RT");
  for (int k = 0; k < 4; ++k) ClickButton(Workbench(), "MAGNI1");
  ClickButton(Workbench(), "WITHIMG");
  const POINT moved = FirstBlackOfView();
  // A left margin of 3 moves the page 6 pixels; the shown ratio 1.04
  // stretches it by 1.02 from its left edge.
  EXPECT_EQ(moved.y, plain.y);
  EXPECT_NEAR(moved.x, 6 + plain.x * 1.02, 1.0) << plain.x;
  SendMessageA(FindWindowA("WITHFRAME", nullptr), WM_CLOSE, 0, 0);
}

// Magenta pixels the image view shows: its frames.
int MagentaOfView() {
  const HWND view = FindWindowA("WITHIMAGE", nullptr);
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT client;
  GetClientRect(view, &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC dc = GetDC(view);
  const HDC memory = CreateCompatibleDC(dc);
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  int count = 0;
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (long i = 0; i < static_cast<long>(client.right) * client.bottom; ++i) count += (pixels[i] & 0xFFFFFF) == 0xFF00FF;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(view, dc);
  return count;
}

TEST_F(WorkbenchTest, AChoiceMarkedWithACaretGetsNoFrame) {
  Prepare(kDesignMode);
  Item(FindCanvasField("Q1")).overlayText = "a,b,c,d,e";
  ClickButton(Workbench(), "WITHIMG");
  const int framed = MagentaOfView();
  SendMessageA(FindWindowA("WITHFRAME", nullptr), WM_CLOSE, 0, 0);
  Item(FindCanvasField("Q1")).overlayText = "a,^,c,d,e";
  ClickButton(Workbench(), "WITHIMG");
  const int caret = MagentaOfView();
  SendMessageA(FindWindowA("WITHFRAME", nullptr), WM_CLOSE, 0, 0);
  EXPECT_GT(framed, 0);
  // One box of Q1 fewer: a box's perimeter of magenta less.
  EXPECT_LT(caret, framed);
  EXPECT_GT(caret, framed * 3 / 4);
}

TEST_F(WorkbenchTest, RecordsSharingAnIdentificationNumberAreListed) {
  Prepare(kOperationMode);
  const int paper = db_open(folder().c_str(), kSheetDb, "MUPA_PAP", kDbKindFile, "MUPADATA", "MUPA_PAP", "");
  ASSERT_GT(paper, 0);
  ASSERT_EQ(db_toppos(paper, "ＯＣＲコード"), 0);
  SetColumnInt(paper, "プレプリント", 1);
  SetColumnText(paper, "プレプリント欄", "PID");
  ASSERT_EQ(db_update(paper), 0);
  db_close(paper);
  WriteOutputSpec("OUT1", {"ID:char*:4", "KAI:char*:2", "Q1", "Q2", "PID:char*:6"});
  ScreenDataSet list;
  list.folder = folder();
  list.database = kOutputDb;
  list.table = "OUT1";
  list.dbKind = kDbKindFile;
  struct Case {
    const char* what;
    std::vector<const char*> ids;  // of the records 1, 2, ... (KAI = its number)
    int groups;
    std::string log;
  };
  const Case cases[] = {
      {"all distinct", {"A1", "B2", "C3"}, 0, ""},
      {"two pairs", {"A1", "B2", "A1", "C3", "B2", "D4"}, 2,
       "KAI PID\r\n-------\r\n1   A1 \r\n3   A1 \r\n-------\r\n2   B2 \r\n5   B2 \r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int out = db_open(folder().c_str(), kOutputDb, "OUT1", kDbKindFile, "OUT1", "OUT1", "");
    ASSERT_GT(out, 0);
    for (int rc = db_toppos(out, "ID"); rc == 0; rc = db_toppos(out, "ID")) db_delete(out);
    for (std::size_t k = 0; k < c.ids.size(); ++k) {
      db_clear(out);
      SetColumnText(out, "ID", ("000" + std::to_string(k + 1)).c_str());
      SetColumnText(out, "KAI", std::to_string(k + 1).c_str());
      SetColumnText(out, "PID", c.ids[k]);
      ASSERT_EQ(db_add(out), 0);
    }
    db_close(out);
    ForgetBoxes();
    AnswerNext(IDNO);
    EXPECT_EQ(CheckDuplicateIds(list, Path("log")), c.groups);
    EXPECT_EQ(ReadBytes(Path("log\\SHEET_ID.LOG")), c.log) << "written anew each time";
    if (c.groups == 0) {
      EXPECT_TRUE(Boxes().empty());
    } else {
      EXPECT_THAT(Boxes(), ElementsAre(HasSubstr("「PID」に重複する番号が登録されています。")));
    }
  }
}

// Printing, clearing and the entry screens open windows of the program,
// which these tests do not start: without it those buttons say so too.
TEST_F(WorkbenchTest, ButtonsWhoseScreensAreNotBuiltSaySo) {
  Prepare(kDesignMode);
  const std::pair<const char*, const char*> buttons[] = {
      {"PRINT", "ＯＣＲシート印刷"},           {"CARDINP", "カード形式画面"},
      {"LISTINP", "一覧表形式画面"},          {"DELTBL", "データ初期化"},
  };
  for (const auto& [button, part] : buttons) {
    SCOPED_TRACE(button);
    ForgetBoxes();
    ClickButton(Workbench(), button);
    EXPECT_THAT(Boxes(), ElementsAre(std::string("「") + part + "」は、このバージョンにはまだありません。"));
  }
}

}  // namespace
