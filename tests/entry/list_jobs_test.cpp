// The jobs of the list form under Wine: CSV files written and read back
// through the job dialog (quotes, commas, line ends inside cells,
// Shift-JIS), imports that would wrap their codes or hold an overlong line
// refused whole, range input and range delete and the search window, on
// both databases.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tests/entry/list_form_fixture.h"
#include "tests/entry/spreadsheet_setting.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"

namespace {

constexpr int kCsvOutput = 202, kCsvInput = 201, kRangeDelete = 204, kRangeInput = 205, kSearch = 208;

std::string ReadBytes(const std::string& path) {
  std::string text;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return "<missing>";
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  std::fclose(file);
  return text;
}

void Exec(const char* sql) {
  const int slot = db_alloc_slot("", kFixtureDb, "T_LST", -1);
  ASSERT_GT(slot, 0);
  EXPECT_EQ(db_exec(slot, sql), 0) << sql;
  db_disconnect(slot);
}

class ListJobs : public ListFormTest {
 protected:
  // Every test starts without settings kept by an earlier one.
  void SetUp() override {
    DeleteFileA(PrintSettingsFilePath().c_str());
    g_printSettings = PrintSettings();
    ListFormTest::SetUp();
  }
  void TearDown() override {
    ListFormTest::TearDown();
    DeleteFileA(PrintSettingsFilePath().c_str());
  }
  // Types into a field of the job dialog (or search window) over what it
  // holds.
  void TypeIntoField(const char* name, const char* text) {
    const int slot = TopSlot();
    ASSERT_GT(slot, 0) << "a dialog is open";
    const int item = ResolveFieldRef(slot, name);
    ASSERT_GE(item, 0) << name;
    const RECT r = ItemPixelRect(item);
    ClickAt(Slot(slot).window, r.left + 3 - Slot(slot).scrollX, r.top + 3 - Slot(slot).scrollY);
    ASSERT_EQ(g_screen.currentItem, item) << "the click focuses " << name;
    SendMessageA(Slot(slot).editControl, EM_SETSEL, 0, -1);
    TypeText(Slot(slot).editControl, text);
    // Tab leaves the field with what was typed.
    PressKey(Slot(slot).editControl, VK_TAB);
  }
  // Clicks a check box of the dialog until it shows `on`.
  void SetCheck(const char* name, bool on) {
    const int slot = TopSlot();
    ASSERT_GT(slot, 0);
    const int item = ResolveFieldRef(slot, name);
    ASSERT_GE(item, 0) << name;
    for (int click = 0; click < 2; ++click) {
      char value[16] = "";
      GetItemValueForCommand(slot, name, value);
      if ((value[0] == '1') == on) return;
      const RECT r = ItemPixelRect(item);
      ClickAt(Slot(slot).window, (r.left + r.right) / 2 - Slot(slot).scrollX, (r.top + r.bottom) / 2 - Slot(slot).scrollY);
    }
    FAIL() << name << " does not turn " << (on ? "on" : "off");
  }
  // Runs the open dialog's job with F1 ("実 行").
  void RunJob() {
    const int slot = TopSlot();
    ASSERT_GT(slot, 0);
    PressKey(Slot(slot).editControl, VK_F1);
  }
  // Writes the list into `file` with the job dialog: codes, no titles, no
  // quotes.
  void WritePlainCsv(const std::string& file) {
    ChooseMenuCommand(kCsvOutput);
    TypeIntoField("TXTO", file.c_str());
    SetCheck("NOPUT", true);
    SetCheck("TTLPUT", false);
    SetCheck("DQPUT", false);
    RunJob();
  }
  std::string Path(const char* name) const { return folder_ + "\\" + name; }
};

TEST_P(ListJobs, CsvFilesMakeARoundTrip) {
  Exec("update T_LST set NOTE='a,b' where CODE='0001'");
  Exec("update T_LST set NOTE='say \"hi\"' where CODE='0002'");
  Exec("update T_LST set NOTE='line 1\r\nline 2' where CODE='0003'");
  const std::vector<std::string> before = ListTableRows();
  ASSERT_EQ(OpenList(), 0) << Boxes();
  const std::string file = Path("list_round_trip.csv");
  DeleteFileA(file.c_str());
  WritePlainCsv(file);
  const std::string written = ReadBytes(file);
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), "\"" + file + "\" に、23件のデータを出力しました。");
  const std::string head = "0001,品名01,10,1.50,\"a,b\"\r\n0002,品名02,20,2.50,\"say \"\"hi\"\"\"\r\n"
                           "0003,品名03,30,3.50,\"line 1\r\nline 2\"\r\n";
  EXPECT_EQ(written.substr(0, head.size()), head);
  EXPECT_NE(written.find("0007,ソフト表,70,7.50,\r\n"), std::string::npos) << "Shift-JIS as it is";
  // Into a folder that does not exist nothing is written.
  ForgetBoxes();
  const std::string missing = Path("no-such-folder") + "\\list.csv";
  ChooseMenuCommand(kCsvOutput);
  TypeIntoField("TXTO", missing.c_str());
  RunJob();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"フォルダ“" + Path("no-such-folder") + "”は、存在しません。"}));
  // The root of the system drive is refused by newer Windows: the question
  // says so, and No writes nothing.
  g_program.windowsVersionClass = 9;
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, sizeof windows);
  const std::string root = std::string(1, windows[0]) + ":\\list_root.csv";
  DeleteFileA(root.c_str());
  ForgetBoxes();
  boxes_->Answer(IDNO);
  ChooseMenuCommand(kCsvOutput);
  TypeIntoField("TXTO", root.c_str());
  RunJob();
  ASSERT_EQ(BoxTexts().size(), 1u);
  const std::string drive = root.substr(0, 2);
  EXPECT_NE(BoxTexts()[0].find("\n\n“" + drive + "\\”は、システムドライブです。\nWindows7/8 では、" + drive +
                               "ドライブの直下には出力できません。\n処理を続行しますか？"),
            std::string::npos)
      << Boxes();
  EXPECT_EQ(GetFileAttributesA(root.c_str()), INVALID_FILE_ATTRIBUTES);
  g_program.windowsVersionClass = 10;
  // Everything deleted, then read back with the keys of the file.
  ChooseMenuCommand(kRangeDelete);
  RunJob();
  EXPECT_EQ(ListTableRows(), std::vector<std::string>{});
  ChooseMenuCommand(kCsvInput);
  // Under the file's name, how its lines are laid out.
  EXPECT_EQ(ValueOf(TopSlot(), "TINPMSG1"), "入力するＣＳＶファイルは、項目間を");
  EXPECT_EQ(ValueOf(TopSlot(), "TINPMSG2"), "半角のカンマで区切ってください。　");
  TypeIntoField("TXTI", file.c_str());
  SetCheck("NOPUT", true);
  RunJob();
  EXPECT_EQ(ListTableRows(), before) << Boxes();
  const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
  ASSERT_GT(t, 0);
  ASSERT_EQ(db_search(t, "0003", "CODE"), 0);
  EXPECT_STREQ(GetColumnText(t, "NOTE"), "line 1\r\nline 2");
  EXPECT_EQ(GetColumnDouble(t, "PRICE"), 3.5);
  db_close(t);
}

// A list that adds no records offers no choice of the codes: its file
// holds them even when the choice was left off while the screen still
// added records, and the choice kept for the screen is on again.
TEST_P(ListJobs, AListThatAddsNoRecordsWritesItsCodes) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  const std::string file = Path("no_new_rows.csv");
  DeleteFileA(file.c_str());
  ChooseMenuCommand(kCsvOutput);
  TypeIntoField("TXTO", file.c_str());
  SetCheck("NOPUT", false);
  RunJob();
  EXPECT_EQ(ReadBytes(file).substr(0, 9), "\"品名01\",") << "no codes, as chosen";
  CloseListHolding({}, true);
  for (const char* input : {"△", "Ｎ"}) {
    SCOPED_TRACE(input);
    ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", ListScreenText(keyKind_, input)}}), 1) << Boxes();
    ASSERT_EQ(OpenList(), 0) << Boxes();
    DeleteFileA(file.c_str());
    ChooseMenuCommand(kCsvOutput);
    EXPECT_EQ(ResolveFieldRef(TopSlot(), "NOPUT") >= 0, std::string(input) == "Ｎ") << "the choice offered";
    TypeIntoField("TXTO", file.c_str());
    RunJob();
    EXPECT_EQ(ReadBytes(file).substr(0, 7), "\"0001\",") << Boxes();
    CloseListHolding({}, true);
  }
}

// Folder and file names whose last byte is that of "\" (表, ソ, 能, 十)
// are written where they are typed.
TEST_P(ListJobs, CsvFilesGoIntoFoldersNamedInShiftJis) {
  const std::string folder = Path("集計表");
  CreateDirectoryA(folder.c_str(), nullptr);
  ASSERT_EQ(OpenList(), 0) << Boxes();
  for (const char* name : {"ソフト.csv", "機能十.csv"}) {
    SCOPED_TRACE(name);
    const std::string file = folder + "\\" + name;
    DeleteFileA(file.c_str());
    ForgetBoxes();
    WritePlainCsv(file);
    ASSERT_FALSE(BoxTexts().empty());
    EXPECT_EQ(BoxTexts().back(), "\"" + file + "\" に、23件のデータを出力しました。");
    EXPECT_NE(ReadBytes(file).find("0007,ソフト表,70,7.50,"), std::string::npos);
    DeleteFileA(file.c_str());
  }
  RemoveDirectoryA(folder.c_str());
}

// A written CSV file opens in the spreadsheet program when USER.INI names
// one (the program start is answered by the hook), its path quoted: Excel is refused
// a folder with a blank, which it would take for the end of the name, after
// a folder with a "." too; a program that does not start is reported;
// without a program the count is.
TEST_P(ListJobs, AWrittenCsvFileOpensInTheSpreadsheetProgram) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  const std::string blankFolder = Path("with blank");
  CreateDirectoryA(blankFolder.c_str(), nullptr);
  const std::string dottedFolder = Path("v1.2"), blankAfterDot = dottedFolder + "\\with blank";
  CreateDirectoryA(dottedFolder.c_str(), nullptr);
  CreateDirectoryA(blankAfterDot.c_str(), nullptr);
  struct Case {
    const char* what;
    const char* program;
    std::string file;
    UINT startResult;
    bool started;
    std::string message;  // the last box, "" for none after the questions
  };
  const std::string plain = Path("sheet_out.csv"), blank = blankFolder + "\\sheet_out.csv";
  const std::string dotted = dottedFolder + "\\sheet_out.csv",
                    blankAfterDotFile = blankAfterDot + "\\sheet_out.csv";
  const auto refused = [](const std::string& file) {
    return std::string("Microsoft Excel は、空白を含むフォルダ名をパラメーターに使用できませんので、"
                       "出力するフォルダ名を空白を含まないものに変更してください。\n(") +
           file + ")";
  };

  const Case cases[] = {
      {"another program", "C:\\Tools\\calc.exe", blank, 33, true, ""},
      {"Excel, no blank", "C:\\Office\\excel.exe", plain, 33, true, ""},
      {"Excel, a folder with a dot", "C:\\Office\\excel.exe", dotted, 33, true, ""},
      {"Excel quoted for a blank", "\"C:\\Program Files\\Office\\EXCEL.EXE\"", plain, 33, true, ""},
      {"Excel, a blank in the folder", "C:\\Office\\EXCEL.EXE", blank, 33, false, refused(blank)},
      {"Excel, a blank after a dot", "C:\\Office\\EXCEL.EXE", blankAfterDotFile, 33, false,
       refused(blankAfterDotFile)},
      {"does not start", "calc.exe", plain, 2, true,
       "“calc.exe \"" + plain + "\"”を起動できません。(2)"},
      {"no program", "", plain, 33, false, "\"" + plain + "\" に、23件のデータを出力しました。"},
  };
  SpreadsheetSetting setting;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setting.Name(c.program);
    ProgramStartRecorder starts(c.startResult);
    DeleteFileA(c.file.c_str());
    ForgetBoxes();
    ChooseMenuCommand(kCsvOutput);
    TypeIntoField("TXTO", c.file.c_str());
    RunJob();
    EXPECT_NE(ReadBytes(c.file), "<missing>") << "the file is written first";
    ASSERT_EQ(starts.calls().size(), c.started ? 1u : 0u);
    if (c.started) {
      EXPECT_EQ(starts.calls()[0].commandLine, std::string(c.program) + " \"" + c.file + "\"");
      EXPECT_EQ(starts.calls()[0].show, static_cast<UINT>(SW_SHOWNORMAL));
    }
    ASSERT_FALSE(BoxTexts().empty());
    if (c.message.empty()) {
      EXPECT_NE(BoxTexts().back().find("を作成します。"), std::string::npos) << "only the question: " << Boxes();
    } else {
      EXPECT_EQ(BoxTexts().back(), c.message);
    }
  }
}

// The job dialog's file, range and options are the list's line of the
// print-settings file: a later run of the program finds them; a cancelled
// dialog keeps what was last run, not what was typed.
TEST_P(ListJobs, TheJobDialogKeepsItsSettingsInThePrintSettingsFile) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  char printCode[16];
  std::snprintf(printCode, sizeof printCode, "L%05d", Slot(0).screenNumber);
  const std::string file = Path("kept settings.csv");
  ChooseMenuCommand(kCsvOutput);
  EXPECT_EQ(ValueOf(TopSlot(), "TXTO"), ProgramDataFolder() + "\\T_LST.CSV")
      << "a first output is offered the program's data folder, not a drive's root";
  TypeIntoField("TXTO", file.c_str());
  SetCheck("TTLPUT", true);
  SetCheck("NOPUT", true);
  SetCheck("DQPUT", true);
  RunJob();
  PressKey(Edit(), VK_F8);  // number search
  TypeIntoField("FCODE", "0005");
  RunJob();
  EXPECT_EQ(Cell("CODE", 1), "0005");
  const std::string kept = ReadBytes(PrintSettingsFilePath());
  EXPECT_EQ(kept.compare(0, std::strlen(printCode) + 1, std::string(printCode) + ","), 0) << kept;
  EXPECT_NE(kept.find(file), std::string::npos) << kept;
  EXPECT_NE(kept.find(",0005,"), std::string::npos) << kept;

  // Another run of the program: nothing held in memory.
  g_printSettings = PrintSettings();
  ForgetBoxes();
  PressKey(Edit(), VK_F8);
  TypeIntoField("FCODE", "0009");
  PressKey(Slot(TopSlot()).editControl, VK_ESCAPE);
  ASSERT_EQ(TopSlot(), -1) << "the dialog closed";
  g_printSettings = PrintSettings();
  PressKey(Edit(), VK_F8);
  EXPECT_EQ(ValueOf(TopSlot(), "FCODE"), "0005") << "a cancelled dialog keeps the last search";
  PressKey(Slot(TopSlot()).editControl, VK_ESCAPE);
  ChooseMenuCommand(kCsvOutput);
  const int dialog = TopSlot();
  ASSERT_GT(dialog, 0);
  EXPECT_EQ(ValueOf(dialog, "TXTO"), file);
  for (const char* check : {"TTLPUT", "NOPUT", "DQPUT"}) {
    char value[16] = "";
    GetItemValueForCommand(dialog, check, value);
    EXPECT_STREQ(value, "1") << check;
  }
  PressKey(Slot(dialog).editControl, VK_ESCAPE);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

TEST_P(ListJobs, ImportsThatCannotBeTakenWholeChangeNothing) {
  const std::vector<std::string> before = ListTableRows();
  ASSERT_EQ(OpenList(), 0) << Boxes();
  struct Case {
    const char* what;
    std::string text;
    const char* message;  // the start of the refusal
  };
  const Case cases[] = {
      {"a line over 2048 bytes", "0005,x\r\n0006,y\r\n0007," + std::string(2100, 'z') + "\r\n",
       "ＣＳＶファイルの3行目が2048バイトを越えています。"},
      {"a field longer than its column", "0005,x\r\n0006," + std::string(50, 'n') + "\r\n", "“NAME”の桁数が20を越えました。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = Path("list_refused.csv");
    WriteTextFile(file, c.text);
    ForgetBoxes();
    ChooseMenuCommand(kCsvInput);
    TypeIntoField("TXTI", file.c_str());
    SetCheck("NOPUT", true);
    RunJob();
    const std::vector<std::string> boxes = BoxTexts();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().substr(0, std::string(c.message).size()), c.message) << Boxes();
    EXPECT_EQ(ListTableRows(), before);
  }
}

TEST_P(ListJobs, GeneratedCodesNeverWrapOntoStoredRecords) {
  Exec("update T_LST set CODE='9998' where CODE='0023'");
  const std::vector<std::string> before = ListTableRows();
  ASSERT_EQ(OpenList(), 0) << Boxes();
  const std::string file = Path("list_wrap.csv");
  WriteTextFile(file, "a\r\nb\r\nc\r\n");
  ChooseMenuCommand(kCsvInput);
  TypeIntoField("TXTI", file.c_str());
  SetCheck("NOPUT", false);
  RunJob();
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), "コード番号が4桁を越えるため、3件のデータは入力できません。(9998)");
  EXPECT_EQ(ListTableRows(), before);
}

TEST_P(ListJobs, RangeInputAndRangeDelete) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  ClickCell("NOTE", 1);
  ChooseMenuCommand(kRangeInput);
  TypeIntoField("SNO", "0003");
  TypeIntoField("ENO", "0005");
  TypeIntoField("INPDAT", "it's");
  RunJob();
  const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
  ASSERT_GT(t, 0);
  for (const char* code : {"0002", "0003", "0005", "0006"}) {
    ASSERT_EQ(db_search(t, code, "CODE"), 0);
    const bool inRange = std::string(code) >= "0003" && std::string(code) <= "0005";
    EXPECT_STREQ(GetColumnText(t, "NOTE"), inRange ? "it's" : "") << code;
  }
  db_close(t);
  // A range the wrong way round keeps the dialog open.
  ForgetBoxes();
  ChooseMenuCommand(kRangeDelete);
  TypeIntoField("SNO", "0009");
  TypeIntoField("ENO", "0004");
  RunJob();
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"範囲の設定(0009～0004)が間違っています。"}));
  ASSERT_GT(TopSlot(), 0);
  TypeIntoField("SNO", "0004");
  TypeIntoField("ENO", "0009");
  RunJob();
  // Codes behind the range close up.
  const std::vector<std::string> rows = ListTableRows();
  ASSERT_EQ(rows.size(), static_cast<size_t>(kListRows - 6));
  EXPECT_EQ(rows[2], "0003:品名03");
  EXPECT_EQ(rows[3], "0004:品名10");
  EXPECT_EQ(rows.back(), "0017:品名23");
}

TEST_P(ListJobs, ARangeDeleteToTheLastCodeKeepsTheRowsBeforeIt) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  ChooseMenuCommand(kRangeDelete);
  TypeIntoField("SNO", "0005");
  TypeIntoField("ENO", "9999");
  RunJob();
  const std::vector<std::string> kept = {"0001:品名01", "0002:品名02", "0003:品名03", "0004:品名04"};
  EXPECT_EQ(ListTableRows(), kept);
  EXPECT_EQ(PageKeys(), (std::vector<std::string>{"0001", "0002", "0003", "0004", "", ""}));
  // F7 on the record of the last code there can be renumbers nothing.
  PressKey(Edit(), VK_ESCAPE);
  Exec("insert into T_LST (CODE,NAME,QTY,PRICE,NOTE) values ('9999','last',1,1.5,'')");
  ASSERT_EQ(OpenList(), 0) << Boxes();
  ClickCell("NAME", 5);
  ASSERT_EQ(Cell("CODE", 5), "9999");
  ForgetBoxes();
  boxes_->Answer(IDYES);
  PressKey(Edit(), VK_F7);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"コード“9999”を削除してもよろしいですか？"}));
  EXPECT_EQ(ListTableRows(), kept);
}

TEST_P(ListJobs, SearchesAColumnUpAndDown) {
  const std::string search = GetProgramFolder() + "\\SEARCH.TXT";
  DeleteFileA(search.c_str());
  ASSERT_EQ(OpenList(), 0) << Boxes();
  ClickCell("NAME", 1);
  // A backslash: never the trail byte of "ソ" or "表" (row 7), found in row 15.
  ChooseMenuCommand(kSearch);
  TypeIntoField("検索文字列", "\\");
  PressKey(Slot(TopSlot()).editControl, VK_RETURN);
  EXPECT_EQ(Cell("CODE", 1), "0015");
  EXPECT_EQ(ReadBytes(search), "\\\n2\n") << "the text and the direction are kept";
  // Upwards from the first row nothing is found: the list stays.
  WriteTextFile(search, "O'Brien\r\n1\r\n");
  PressKey(Edit(), VK_F3);
  ClickCell("NAME", 1);
  ChooseMenuCommand(kSearch);
  PressKey(Slot(TopSlot()).editControl, VK_RETURN);
  EXPECT_EQ(Cell("CODE", 1), "0001");
  // Downwards the double-byte text is found.
  WriteTextFile(search, "フト\r\n2\r\n");
  ChooseMenuCommand(kSearch);
  PressKey(Slot(TopSlot()).editControl, VK_RETURN);
  EXPECT_EQ(Cell("CODE", 1), "0007");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Databases, ListJobs, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
