// The parts of screens besides their field rows, under Wine: the
// workbench's button bar, list screens built by code, ruled lines from
// S_LINE, positions written back into field rows, and the sizes and
// buttons a screen row asks for. Every case runs on the file database
// (SQLite) and on the server database (PostgreSQL).
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/test_pictures.h"

namespace {

class ScreenBarsTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    UseRecordingWorkWindows();
    workbench_ = CreateTestWindowOfClass("KQE_READ");
    windows_.push_back(workbench_);
    g_workbench = WorkbenchSettings();
    for (RuledLine& line : g_ruledLines) line = RuledLine();
  }

  // The items of a slot in table order with their columns.
  static std::vector<std::pair<std::string, int>> Buttons(int slot, const std::vector<std::string>& names) {
    std::vector<std::pair<std::string, int>> shown;
    for (const std::string& name : names) {
      const int i = ResolveFieldRef(slot, name.c_str());
      if (i >= 0) shown.push_back({name, Item(i).column});
    }
    return shown;
  }

  HWND workbench_ = nullptr;
};

const std::vector<std::string> kBarButtons = {"PRJESC",  "PRINT",  "OCRREAD", "IMGCHR", "LOGDSP", "CARDINP",
                                              "ZOKUSEI", "LISTINP", "DELTBL", "DATCLR", "OCREDT"};

// The scanner, margin, message and count fields at the right of the bar
// with their names, and the registration state beside the edit buttons: a
// field lying over another hides its text and takes its clicks.
TEST_P(ScreenBarsTest, TheFieldsAtTheRightOfTheOperationBarStandApart) {
  const char* const names[] = {"位置記憶", "SCANER", "SCNTYPE", "BRIGHT",    "LMGN",       "TMGN",
                               "OCRMSG",   "RECCNT", "EDITMSG", "SCANERTTL", "SCNTYPETTL", "BRIGHTTTL",
                               "LMGNTTL",  "OCRFORM", "WITHIMG"};
  // A display 1280 wide, as the operators' are.
  const ScreenMetrics metrics = g_screen.metrics;
  g_screen.metrics.screenWidth = g_screen.metrics.screenPixels = 1280;
  for (const int mode : {2, 1}) {
  for (const int scannerDialog : {0, 1}) {
    SCOPED_TRACE(testing::Message() << "mode " << mode << ", scanner dialog " << scannerDialog);
    g_workbench = WorkbenchSettings();
    g_workbench.scannerDialog = scannerDialog;
    ASSERT_EQ(BuildOcrWorkButtons(mode, "読み取り"), 0) << Boxes();
    const int s = FindActiveWindowSlot() >= 0 ? FindActiveWindowSlot() : 0;
    std::vector<std::pair<std::string, RECT>> shown;
    for (const char* name : names) {
      const int i = ResolveFieldRef(s, name);
      if (i < 0 || Item(i).state == kItemHidden) continue;
      const ScreenItem& it = Item(i);
      shown.push_back({name, {it.pixelX, it.pixelY, it.pixelX + it.pixelWidth, it.pixelY + it.pixelHeight}});
    }
    EXPECT_GE(shown.size(), 11u) << "位置記憶 and the names shown";
    for (size_t a = 0; a < shown.size(); ++a) {
      for (size_t b = a + 1; b < shown.size(); ++b) {
        RECT both;
        EXPECT_FALSE(IntersectRect(&both, &shown[a].second, &shown[b].second))
            << shown[a].first << " lies over " << shown[b].first;
      }
    }
    CloseSlot(s);
  }
  }
  g_screen.metrics = metrics;
}

TEST_P(ScreenBarsTest, TheWorkbenchBarShowsTheButtonsOfItsMode) {
  // Operation mode packs the buttons the sheet's mask leaves.
  g_workbench.buttonMask = "101000000";
  g_workbench.panelLayout[0] = 2;
  ASSERT_EQ(BuildOcrWorkButtons(2, "読み取り"), 0) << Boxes();
  const int s = FindActiveWindowSlot() >= 0 ? FindActiveWindowSlot() : 0;
  EXPECT_EQ(Slot(s).window, workbench_);
  EXPECT_EQ(Slot(s).windowCode, 90);
  EXPECT_EQ(Buttons(s, kBarButtons),
            (std::vector<std::pair<std::string, int>>{{"PRJESC", 2}, {"PRINT", 7}, {"LOGDSP", 12}}));
  EXPECT_LT(ResolveFieldRef(s, "LT"), 0) << "no image shift without mask position 7";
  EXPECT_GE(ResolveFieldRef(s, "BRIGHT"), 0);
  EXPECT_EQ(Slot(s).windowWidth, 40 * 3 + 36) << "a panel as wide as its buttons";
  CloseSlot(s);

  // Design mode shows every design button in its place, and the image
  // shift and stretch buttons of its own mask.
  ASSERT_EQ(BuildOcrWorkButtons(1, "設計"), 0) << Boxes();
  EXPECT_EQ(g_workbench.buttonMask, "111110011");
  EXPECT_EQ(Buttons(0, kBarButtons), (std::vector<std::pair<std::string, int>>{
                                         {"PRJESC", 2}, {"PRINT", 7}, {"OCRREAD", 12}, {"IMGCHR", 17},
                                         {"LOGDSP", 22}, {"CARDINP", 27}, {"LISTINP", 32}, {"DELTBL", 37},
                                         {"OCREDT", 42}}));
  for (const char* name : {"LT", "RT", "UP", "DW", "MAGNI1", "REDUCT2", "IMGRATE1", "RYOUMEN", "FLDIDOU",
                           "OCRFORM", "スナップ", "KNARABI", "EDITMSG"}) {
    EXPECT_GE(ResolveFieldRef(0, name), 0) << name;
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(ScreenBarsTest, TheWorkbenchStaticButtonKeepsItsRaisedFrameAroundItsFace) {
  ASSERT_EQ(BuildOcrWorkButtons(1, "設計"), 0) << Boxes();
  const int i = ResolveFieldRef(0, "OCRFORM");
  ASSERT_GE(i, 0);
  const ScreenItem& item = Item(i);
  MemoryCanvas canvas(item.pixelX + item.pixelWidth + 20, item.pixelY + item.pixelHeight + 20);
  canvas.Clear(RGB(0, 0, 64));
  ASSERT_NE(BeginScreenPaintDC(canvas.dc(), 0, Slot(0).scrollPosH, Slot(0).scrollPosV), nullptr);
  PaintScreenPage(Slot(0).window, 0);
  EndScreenPaintDC();
  // The frame one pixel inside the item, raised; the face in its box
  // colour (110) within it.
  const int left = item.pixelX + 1, top = item.pixelY + 1;
  const int right = item.pixelX + item.pixelWidth - 2, bottom = item.pixelY + item.pixelHeight - 3;
  EXPECT_EQ(canvas.Pixel(left, (top + bottom) / 2), kWhite);
  EXPECT_EQ(canvas.Pixel(left + 3, top), kWhite);
  EXPECT_EQ(canvas.Pixel(right, (top + bottom) / 2), kEdgeGrey);
  EXPECT_EQ(canvas.Pixel(left + 3, bottom), kEdgeGrey);
  EXPECT_EQ(canvas.Pixel(left + 1, top + 1), RGB(210, 210, 210));
  EXPECT_EQ(canvas.Pixel(right - 1, bottom - 1), RGB(210, 210, 210));
}

TEST_P(ScreenBarsTest, GridEditorsBuildTheirListsByCode) {
  ASSERT_EQ(OpenScreenDataSet("", kFixtureDb, "T_CATS", -1, "", "", 0, 3), 0) << Boxes();
  ListColumn code;
  code.name = "CAT";
  code.title = "分類";
  code.width = 2;
  ListColumn name = code;
  name.name = "CATNAME";
  name.title = "";
  name.width = 20;
  g_list.columns = {code, name};
  const int s = CreateScreenWindow(GetWorkWindow(WorkWindow::kList), 13, 2, 6, -2, -2, 5, 7, 3, 1, 1, 0,
                                   "2000000000000000,範囲指定入力(205)", "ＯＣＲシート定義", 0, 0);
  ASSERT_EQ(s, 0) << Boxes();
  EXPECT_EQ(Slot(s).windowCode, 13);
  EXPECT_EQ(Slot(s).fontUnit, 7);
  EXPECT_EQ(Slot(s).functionKeys, "2000000000000000");
  EXPECT_EQ(g_screenDefs.f9Commands, "範囲指定入力(205)");
  for (const char* cell : {"CAT01", "CAT05", "CATNAME05"}) EXPECT_GE(ResolveFieldRef(s, cell), 0) << cell;
  EXPECT_LT(ResolveFieldRef(s, "CAT06"), 0);
  char column[64], title[256];
  GetListColumnNames(1, column, title);
  EXPECT_STREQ(column, "CATNAME");
  EXPECT_STREQ(title, "CATNAME") << "an empty title falls back to the name";
  int left = 0, top = 0, right = 0, second = 0, rows = 0;
  EXPECT_EQ(GetScreenGeometry(&left, &top, &right, &second, &rows), 2);
  EXPECT_EQ(rows, 5);
  EXPECT_GT(second, top);
  EXPECT_GT(right, left);
}

TEST_P(ScreenBarsTest, ListGroupsMapShownColumnsToDataColumns) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-LIST", -1, -1, ""), 0) << Boxes();
  // CODE NAME QTY CATNAME | SCORE01..SCORE04 shown two at a time.
  struct Case {
    int offset, shown, data;
  };
  const Case cases[] = {{0, 3, 3}, {0, 4, 4}, {0, 5, 5}, {0, 6, 8}, {2, 4, 6}, {2, 5, 7}, {2, 6, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.offset) + " " + std::to_string(c.shown));
    g_list.group.offset = c.offset;
    EXPECT_EQ(MapListColumn(c.shown), c.data);
  }
  EXPECT_EQ(ClampListColumn(3), 3);
  EXPECT_EQ(ClampListColumn(6), 4) << "inside the group: its first column";
  EXPECT_EQ(ClampListColumn(8), 6) << "after the group: as if two were shown";
  EXPECT_EQ(FindListColumn("SCORE03"), 6);
  EXPECT_EQ(SetListColumnTitle("QTY", "個数"), 2);
  EXPECT_EQ(g_list.columns[2].title, "個数");
  EXPECT_EQ(SetListColumnTitle("PRICE", "値段"), -1);
}

TEST_P(ScreenBarsTest, RuledLinesComeFromTheScreenAndNeverCoverOtherWindows) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-FORM", -1, -1, ""), 0) << Boxes();
  ASSERT_EQ(LoadLineDefinitions(0), 0);
  ASSERT_EQ(Slot(0).lineCount, 1);
  const RuledLine& line = g_ruledLines[Slot(0).firstLine];
  EXPECT_EQ(line.kind, 'L');
  EXPECT_EQ(line.sizeCode, 2);
  EXPECT_EQ(line.x1, 100);
  EXPECT_EQ(line.y2, 200);
  CloseSlot(0);
  EXPECT_EQ(g_ruledLines[0].kind, 0) << "closing gives the lines back";

  // Other windows hold every entry but the first and the last: a form's
  // line takes the first; the menu's two find no run of two free entries
  // and take none, and no other window's line is touched.
  for (int k = 1; k < kMaxRuledLines - 1; ++k) g_ruledLines[k] = {'L', 1, k, k, k + 10, k};
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-FORM", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(LoadLineDefinitions(0), 0);
  EXPECT_EQ(Slot(0).firstLine, 0);
  EXPECT_EQ(Slot(0).lineCount, 1);
  ShowWindow(main_, SW_SHOWNA);  // menus go to the menu window
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-MENU", -1, -1, ""), 0) << Boxes();
  ASSERT_EQ(Slot(1).screenCode, "TEST-MENU");
  EXPECT_EQ(LoadLineDefinitions(1), 0);
  EXPECT_EQ(Slot(1).lineCount, 0);
  for (int k = 1; k < kMaxRuledLines - 1; ++k) {
    ASSERT_EQ(g_ruledLines[k].x1, k) << "entry " << k << " kept";
  }
  CloseSlot(1);
  CloseSlot(0);
  ForgetBoxes();

  // A window with a format file reads it; a missing one is made empty.
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-FORM", -1, -1, ""), 0) << Boxes();
  Slot(0).formatFile = "screen_bars_test.frm";
  DeleteFileA("screen_bars_test.frm");
  EXPECT_EQ(LoadLineDefinitions(0), 0);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_NE(BoxTexts()[0].find("screen_bars_test.frm”を作成しました。"), std::string::npos) << Boxes();
  EXPECT_EQ(Slot(0).lineCount, 0);
  DeleteFileA("screen_bars_test.frm");
}

TEST_P(ScreenBarsTest, MovedFieldsAreWrittenBackIntoTheirRows) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-CARD", -1, -1, ""), 0) << Boxes();
  const int i = ResolveFieldRef(0, "QTY");
  ASSERT_GE(i, 0);
  Item(i).column = 30;
  Item(i).row = 8;
  Item(i).xOffset = 3;
  const int t = db_open("", kFixtureDb, kFieldTable, g_screenDefs.screenDbKind, "FSCRTBL3.SPC", "FLDTBL",
                        "select * from S_FIELD where SCRCODE=%s", SqlLiteral("TEST-CARD").c_str());
  ASSERT_GT(t, 0);
  ASSERT_EQ(db_search(t, "003", "FLDCODE"), 0);
  EXPECT_EQ(SaveFieldPosition(t, 0, i), 0);
  ASSERT_EQ(db_search(t, "003", "FLDCODE"), 0);
  EXPECT_EQ(GetColumnInt(t, "FLDX"), 30);
  EXPECT_EQ(GetColumnInt(t, "FLDY"), 8);
  EXPECT_EQ(GetColumnInt(t, "FLDXSFT"), 3);
  EXPECT_STREQ(GetColumnText(t, "FLDNAME"), "QTY") << "the rest of the row stays";

  // The owner of a screen being built renames a field row by its prefix.
  g_screenDefs.fieldDefSlot = t;
  EXPECT_EQ(FindFieldRowByName("NA", "TITLE"), 0);
  EXPECT_EQ(FindFieldRowByName("ZZ", "X"), -1);
  g_screenDefs.fieldDefSlot = -1;
  ASSERT_EQ(db_search(t, "002", "FLDCODE"), 0);
  EXPECT_STREQ(GetColumnText(t, "FLDNAME"), "TITLE");
  db_close(t);
}

TEST_P(ScreenBarsTest, ScreenRowsDecideSizesAndHeaderButtons) {
  ASSERT_EQ(LoadTexts({{"h.txt",
                        "[screen]\nSCRCODE=TALL-LIST\nSCRTYPE=ﾘｽﾄ\nSCRTBL=T_ITEMS\nSCRDBS=SCRTEST\nSCRHIG=-1\n"
                        "[field]\nFLDCODE=1\nFLDNAME=CODE\nFLDLST=○\nFLDSMSU=4\n"},
                       {"b.txt",
                        "[screen]\nSCRCODE=BUTTON-CARD\nSCRTYPE=CI\nSCRTBL=T_ITEMS\nSCRDBS=SCRTEST\nBORATE=1\n"
                        "[field]\nFLDCODE=1\nFLDNAME=NAME\nFLDTITLE=品名\nFLDTTL=×\nFLDSMSU=20\nFLDX=20\n"
                        "FLDY=4\n"}}),
            2)
      << Boxes();
  // A height of the whole screen with no row pitch given: the pitch of
  // the font unit (7 for lists: rows of 22 pixels).
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TALL-LIST", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(Slot(0).rowPitch, 22);
  EXPECT_EQ(Slot(0).scrHeight, 740 / 22);
  CloseSlot(0);

  // A card with header buttons puts a button before each field without a
  // caption of its own.
  ASSERT_EQ(OpenScreen("", kFixtureDb, "BUTTON-CARD", -1, -1, ""), 0) << Boxes();
  const int button = ResolveFieldRef(0, "NAMEB");
  ASSERT_GE(button, 0);
  EXPECT_EQ(Item(button).keyCode, 301);
  EXPECT_EQ(Item(button).kind, 'B');
  EXPECT_EQ(Item(button).column, 20 - 4 - 1) << "left of the field by the caption's length";
  EXPECT_EQ(g_screenDefs.cardFieldCount, 2);
}

TEST_P(ScreenBarsTest, ListsDescribeTheirDataSetAndTellAnEmptyOne) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-LIST", -1, -1, ""), 0) << Boxes();
  ASSERT_GT(ReloadListData(), 0) << Boxes();
  EXPECT_EQ(ShowDataNotRegistered(), 0);
  EXPECT_EQ(g_list.firstKey, "0001");
  EXPECT_EQ(g_list.lastKey, "0004");

  ProgramStartRecorder programs;
  DeleteFileA("TEST-LIST.TXT");
  EXPECT_EQ(WriteScreenDocument(), 0);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ドキュメントファイル“TEST-LIST.TXT”を出力します。"});
  ASSERT_EQ(programs.calls().size(), 1u);
  EXPECT_EQ(programs.calls()[0].commandLine, "NOTEPAD.EXE TEST-LIST.TXT");
  const std::string document = ReadBytes("TEST-LIST.TXT");
  for (const char* part : {"  テーブル名　　：T_ITEMS\r\n", "  インデックス名：CODE\r\n",
                           "  04 分類                 CATNAME      10 T_ITEMS.CAT=T_CATS.CAT \r\n",
                           "\r\n〔件　数〕\r\n   4 件\r\n"}) {
    EXPECT_NE(document.find(part), std::string::npos) << part << "\n" << document;
  }
  DeleteFileA("TEST-LIST.TXT");

  // A filter that no row passes.
  g_list.extraWhere = "T_ITEMS.QTY>1000";
  ASSERT_GT(ReloadListData(), 0) << Boxes();
  ForgetBoxes();
  EXPECT_EQ(ShowDataNotRegistered(), -1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"データは登録されていません。"});
}

TEST_P(ScreenBarsTest, AtMostFiveScreensAndMenusWithoutWindowSizes) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-SUB", -1, -9, ""), 0) << Boxes();
  EXPECT_EQ(Slot(0).window, main_);
  EXPECT_FALSE(IsWindowVisible(main_)) << "mode -9 leaves the window as it is";
  for (int s = 1; s < kWindowSlotCount; ++s) ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-FORM", -1, -1, ""), 0);
  const int items = g_screenItems.totalCount;
  EXPECT_EQ(OpenScreen("", kFixtureDb, "TEST-FORM", -1, -1, ""), -1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"同時に開ける画面は 5 つまでです。"});
  EXPECT_EQ(g_screenItems.totalCount, items);
  EXPECT_EQ(OpenedTableSlots(), 0);
}

INSTANTIATE_TEST_SUITE_P(Databases, ScreenBarsTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
