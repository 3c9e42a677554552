// Screens opened from the screen database under Wine: the fixture screens
// in the windows their types select (recording windows of the work
// windows' classes), their items, function keys written back into their
// rows, list data sets on real tables, and the refusals that leave nothing
// of a screen behind. Every case runs on the file database (SQLite) and on
// the server database (PostgreSQL).
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "screen/screen.h"
#include "screen/screen_words.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

class ScreenOpenTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override { UseRecordingWorkWindows(); }

  // The stored function-key string of a screen.
  static std::string StoredKeys(const char* code) {
    const int t = db_open("", kFixtureDb, kScreenTable, g_screenDefs.screenDbKind, "FSCRTBL3.SPC", "SCRTBL", "");
    std::string keys;
    if (t > 0 && db_search_key(t, code, 0) == 0) {
      for (int i = 0; i < kFunctionKeyPositions; ++i) {
        const char c = GetColumnCharIdx(t, "SCRFKEY", i);
        keys += c ? c : '_';
      }
    }
    if (t > 0) db_close(t);
    return keys;
  }
};

int ItemOf(int slot, const char* name) { return ResolveFieldRef(slot, name); }

TEST_P(ScreenOpenTest, EveryFixtureScreenOpensInTheWindowItsTypeSelects) {
  // The menu takes slot 0 and, the main window being hidden, the main
  // window; the menu it names opens beside it in the menu window.
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-MENU", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(Slot(0).window, main_);
  EXPECT_EQ(Slot(0).screenType, kScreenTypeMenu);
  EXPECT_EQ(Slot(0).screenNumber, 1);
  EXPECT_EQ(Slot(1).window, GetWorkWindow(WorkWindow::kMenu));
  EXPECT_EQ(Slot(1).screenCode, "TEST-SUB");
  EXPECT_GE(ItemOf(0, "READ"), 0);
  EXPECT_EQ(Item(ItemOf(0, "READ")).keyCode, 42) << "the command code of FLDCD";
  EXPECT_EQ(Item(ItemOf(0, "QUIT")).keyCode, 99);
  EXPECT_EQ(Item(ItemOf(1, "CLOSE")).keyCode, 99);
  CloseSlot(1);
  CloseSlot(0);

  // The owner hears of the screen's number while it is built (a card also
  // of the width of its key bar), then of the window around it; the window
  // takes its slot.
  struct Case {
    const char* code;
    int type;
    HWND window;
    std::vector<ReceivedMessage> owner;
  };
  const Case cases[] = {
      {"TEST-LIST", kScreenTypeList, GetWorkWindow(WorkWindow::kList),
       {{kMsgScreenNumber, 21, 0}, {kMsgScreenBuilding, 21, 0}, {kMsgScreenBuilt, 21, 0}}},
      {"TEST-CARD", kScreenTypeCard, GetWorkWindow(WorkWindow::kCard),
       {{kMsgScreenNumber, 31, 0}, {kMsgFunctionKeys, 31, 68}, {kMsgScreenBuilding, 31, 0},
        {kMsgScreenBuilt, 31, 0}}},
      {"TEST-SET", kScreenTypeSet, GetWorkWindow(WorkWindow::kSet),
       {{kMsgScreenNumber, 41, 0}, {kMsgScreenBuilding, 41, 0}, {kMsgScreenBuilt, 41, 0}}},
      {"TEST-FORM", kScreenTypeForm, nullptr, {{kMsgScreenNumber, 51, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ClearMessages(main_);
    ASSERT_EQ(OpenScreen("", kFixtureDb, c.code, -1, -1, ""), 0) << Boxes();
    EXPECT_EQ(Slot(0).screenType, c.type);
    EXPECT_EQ(Slot(0).window, c.window);
    EXPECT_GT(Slot(0).itemCount, 0);
    EXPECT_EQ(OpenedTableSlots(), 0) << "the screen's table slots are closed";
    EXPECT_EQ(MessagesOf(main_), c.owner);
    if (c.window) {
      EXPECT_EQ(MessagesOf(c.window).back(), (ReceivedMessage{kMsgSlotOpened, 0, 0}));
    }
    CloseSlot(0);
    EXPECT_EQ(g_screenItems.totalCount, 0);
  }
  EXPECT_EQ(OpenedTableSlots(), 0);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(ScreenOpenTest, AListShowsItsColumnsAndTheRowsOfItsTables) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-LIST", -1, -1, ""), 0) << Boxes();
  std::vector<std::string> names;
  for (const ListColumn& c : g_list.columns) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"CODE", "NAME", "QTY", "CATNAME", "SCORE01", "SCORE02",
                                             "SCORE03", "SCORE04"}));
  EXPECT_EQ(g_list.group.first, 4);
  EXPECT_EQ(g_list.group.count, 4);
  EXPECT_EQ(g_list.group.shown, 2);
  EXPECT_EQ(g_list.columns[4].title, "点01") << "title and member number";
  EXPECT_NE(g_list.groupScrollBar, nullptr) << "more members than shown: a scroll bar";
  EXPECT_EQ(g_list.rows, 6);
  EXPECT_GE(ItemOf(0, "CODE06"), 0);
  EXPECT_LT(ItemOf(0, "CODE07"), 0);
  EXPECT_GE(ItemOf(0, "SCORE0101"), 0);
  EXPECT_LT(ItemOf(0, "SCORE0301"), 0) << "members outside the shown window make no cells";
  EXPECT_EQ(Item(ItemOf(0, "NAME01")).colorB, 111);
  EXPECT_EQ(Item(ItemOf(0, "NAME02")).colorB, 110);

  // The list window opens the data set: the rows of T_ITEMS in key order,
  // with the category names of T_CATS.
  const int t = ReloadListData();
  ASSERT_GT(t, 0) << Boxes();
  const std::string join = GetParam() == kDbKindFile ? " left join " : " left outer join ";
  EXPECT_EQ(g_list.selectText,
            "select T_ITEMS.CODE,T_ITEMS.NAME,T_ITEMS.QTY,T_CATS.CATNAME,T_ITEMS.SCORE01,"
            "T_ITEMS.SCORE02,T_ITEMS.SCORE03,T_ITEMS.SCORE04 from T_ITEMS" +
                join + "T_CATS on T_ITEMS.CAT=T_CATS.CAT");
  EXPECT_EQ(Slot(0).dataSet.keyColumn, "CODE");
  EXPECT_EQ(g_list.columns[2].dbType, kColumnShort);
  const char* categories[] = {"果物", "文具", "表示ソフト", "果物"};
  int rc = db_tfind(t, 0);
  for (int row = 0; row < kFixtureItemCount; ++row, rc = db_nread(t)) {
    SCOPED_TRACE(kFixtureItems[row].code);
    ASSERT_EQ(rc, 0);
    EXPECT_STREQ(GetColumnText(t, "CODE"), kFixtureItems[row].code);
    EXPECT_STREQ(GetColumnText(t, "NAME"), kFixtureItems[row].name);
    EXPECT_STREQ(GetColumnText(t, "CATNAME"), categories[row]);
  }
  EXPECT_NE(rc, 0);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(ScreenOpenTest, FunctionKeysFollowTheScreenAndAreStoredInItsRow) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-LIST", -1, -1, ""), 0) << Boxes();
  // The empty string became the list's default; a list of entry mode 1
  // cannot insert lines (F6) and without candidates has no F11.
  EXPECT_EQ(Slot(0).functionKeys, "2222221222112000");
  EXPECT_EQ(StoredKeys("TEST-LIST"), "2222221222112000");
  EXPECT_EQ(Item(ItemOf(0, "FKEY06")).state, kItemProtected);
  EXPECT_EQ(Item(ItemOf(0, "FKEY00")).keyCode, 100);
  EXPECT_EQ(Item(ItemOf(0, "FKEY12")).keyCode, 123);
  EXPECT_LT(ItemOf(0, "FKEY13"), 0);
  const ScreenItem& f9 = Item(ItemOf(0, "FKEY09"));
  EXPECT_EQ(f9.choices,
            "CSVﾌｧｲﾙ 入力(201),CSVﾌｧｲﾙ 出力(202),印        刷(203),範囲指定削除(204),範囲指定入力(205)");
  EXPECT_EQ(f9.minimum, 201);
  CloseSlot(0);

  // A menu's keys are blanked in its row at every open.
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-SUB", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(StoredKeys("TEST-SUB"), std::string(16, ' '));
  EXPECT_LT(ItemOf(0, "FKEY00"), 0) << "menus have no key bar";
}

TEST_P(ScreenOpenTest, CardFieldsUnrollTheirGroupsAndTakeJoinsFromCandidates) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-CARD", -1, -1, "P1"), 0) << Boxes();
  EXPECT_EQ(g_screenDefs.cardParameter, "P1");
  EXPECT_EQ(g_screenDefs.cardCodeChar, "C");
  EXPECT_EQ(g_screenDefs.cardFieldCount, 8);
  const int columns[] = {14, 20, 26, 32};
  for (int k = 1; k <= 4; ++k) {
    char name[16];
    std::snprintf(name, sizeof name, "SCORE%02d", k);
    SCOPED_TRACE(name);
    const int i = ItemOf(0, name);
    ASSERT_GE(i, 0);
    EXPECT_EQ(Item(i).column, columns[k - 1]);
    EXPECT_EQ(Item(i).row, 12);
    EXPECT_EQ(Item(i).caption, std::to_string(k) + "回");
    EXPECT_EQ(Item(i).groupSize, k == 1 ? 4 : -1);
  }
  const ScreenItem& cat = Item(ItemOf(0, "CAT"));
  EXPECT_EQ(cat.joinText, "T_ITEMS.CAT=T_CATS.CAT");
  EXPECT_EQ(cat.choices, "");
  EXPECT_EQ(Slot(0).functionKeys, "2222211222112000") << "a card's default without F11";
}

TEST_P(ScreenOpenTest, ASecondListCardOrSetFailsWithoutLeavingAnything) {
  for (const char* code : {"TEST-LIST", "TEST-CARD", "TEST-SET"}) {
    SCOPED_TRACE(code);
    ASSERT_EQ(OpenScreen("", kFixtureDb, code, -1, -1, ""), 0) << Boxes();
    const int items = g_screenItems.totalCount;
    const int tables = OpenedTableSlots();
    ForgetBoxes();
    EXPECT_EQ(OpenScreen("", kFixtureDb, code, -1, -1, ""), -1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"ウインドウはオープン済みです。(1)"});
    EXPECT_EQ(Slot(1).state, kFreeSlotState);
    EXPECT_EQ(Slot(1).dataSet.table, "") << "the data set is given back";
    EXPECT_EQ(g_screenItems.totalCount, items);
    EXPECT_EQ(OpenedTableSlots(), tables);
    CloseSlot(0);
  }
}

TEST_P(ScreenOpenTest, RefusedOpensReportOnceAndLeaveNoSlot) {
  ASSERT_EQ(LoadTexts({{"a.txt", "[screen]\nSCRCODE=EMPTY-LIST\nSCRTYPE=ﾘｽﾄ\nSCRTBL=T_ITEMS\n"
                                 "SCRDBS=SCRTEST\n"}}),
            1)
      << Boxes();
  struct Case {
    const char* what;
    const char* database;
    const char* code;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"no database", "", "TEST-MENU", {"スクリーン定義ファイル名が設定されていません。(TEST-MENU)"}},
      {"unknown code", kFixtureDb, "NO-SUCH", {"“SCRTEST”にスクリーン定義情報“NO-SUCH”がありません。"}},
      {"list without columns",
       kFixtureDb,
       "EMPTY-LIST",
       {"スクリーンフィールドは定義されていません。", "スクリーンEMPTY-LISTはオープンできません。"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ForgetBoxes();
    EXPECT_EQ(OpenScreen("", c.database, c.code, -1, -1, ""), -1);
    EXPECT_EQ(BoxTexts(), c.boxes);
    EXPECT_EQ(Slot(0).state, kFreeSlotState);
    EXPECT_EQ(Slot(0).dataSet.table, "");
    EXPECT_EQ(g_screenItems.totalCount, 0);
    EXPECT_EQ(OpenedTableSlots(), 0);
  }
}

TEST_P(ScreenOpenTest, ADataSetThatCannotBeRegisteredFailsTheOpen) {
  // A window that kept its data set open after its screen closed: the next
  // screen in that slot cannot register its own.
  for (const char* code : {"TEST-LIST", "TEST-CARD", "TEST-SET"}) {
    SCOPED_TRACE(code);
    Slot(0).dataSet.database = "OTHER";
    Slot(0).dataSet.table = "T9";
    Slot(0).dataSet.tableSlot = 99;
    ForgetBoxes();
    EXPECT_EQ(OpenScreen("", kFixtureDb, code, -1, -1, ""), -1);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"オープン済みです。[OTHER][T9]"});
    EXPECT_EQ(Slot(0).state, kFreeSlotState);
    EXPECT_EQ(Slot(0).dataSet.table, "T9") << "the other data set is left to its window";
    EXPECT_EQ(g_screenItems.totalCount, 0);
    EXPECT_EQ(OpenedTableSlots(), 0);
  }
  Slot(0).dataSet = ScreenDataSet();
}

TEST_P(ScreenOpenTest, KeyDefaultsReachTheQueryQuotedAsValues) {
  // A key field's default with a quote and Shift-JIS characters whose
  // second byte is a backslash selects exactly its row.
  ASSERT_EQ(LoadTexts({{"k.txt",
                        "[screen]\nSCRCODE=KEYED-LIST\nSCRTYPE=ﾘｽﾄ\nSCRTBL=T_ITEMS\nSCRDBS=SCRTEST\n"
                        "[field]\nFLDCODE=1\nFLDNAME=NAME\nFLDLST=○\nFLDLOCK=Ｄ\nFLDSMSU=20\n"
                        "[field]\nFLDCODE=2\nFLDNAME=CODE\nFLDLST=○\nFLDSMSU=4\n"}}),
            1)
      << Boxes();
  SetFieldDefault("NAME", kFixtureItems[2].name);
  ASSERT_EQ(OpenScreen("", kFixtureDb, "KEYED-LIST", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(g_list.conditionText, "T_ITEMS.NAME='O''Brien の表ソ'");
  const int t = ReloadListData();
  ASSERT_GT(t, 0) << Boxes();
  ASSERT_EQ(db_tfind(t, 0), 0);
  EXPECT_STREQ(GetColumnText(t, "CODE"), "0003");
  EXPECT_NE(db_nread(t), 0) << "one row only";
}

TEST_P(ScreenOpenTest, AKeyFieldWithoutItsDefaultFailsTheOpen) {
  ASSERT_EQ(LoadTexts({{"k.txt", "[screen]\nSCRCODE=KEYED-CARD\nSCRTYPE=CI\nSCRTBL=T_ITEMS\nSCRDBS=SCRTEST\n"
                                 "[field]\nFLDCODE=1\nFLDNAME=CODE\nFLDLOCK=Ｄ\nFLDSMSU=4\n"}}),
            1)
      << Boxes();
  EXPECT_EQ(OpenScreen("", kFixtureDb, "KEYED-CARD", -1, -1, ""), -1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"フィールド“CODE”の初期値は設定されていません。"});
  EXPECT_EQ(Slot(0).state, kFreeSlotState);
  EXPECT_EQ(Slot(0).dataSet.table, "");
  EXPECT_EQ(g_screenItems.totalCount, 0);
  EXPECT_EQ(OpenedTableSlots(), 0);
}

TEST_P(ScreenOpenTest, OcrCardsAndFixedScreens) {
  ASSERT_EQ(LoadTexts({{"c.txt", "[screen]\nSCRCODE=OCR-CARD\nSCRTYPE=OCRｶｰﾄﾞ\nSCRTBL=T_ITEMS\nSCRDBS=SCRTEST\n"
                                 "SCRPOS=最大\nPAPSIZE=A4縦\n"
                                 "[field]\nFLDCODE=1\nFLDNAME=CODE\nFLDSMSU=4\nFLDX=2\nFLDY=2\n"}}),
            1)
      << Boxes();
  struct Case {
    int number;
    bool designer;  // the sheet designer installed (shipped: on)
    int mode, standardItemMode;
    const char* keys;
  };
  const Case cases[] = {
      // Screen edit: standard items off. The key string stored at the first
      // open has F12 protected, as every OCR card keeps it.
      {91, true, 2, 0, "2222211222111000"},
      {91, false, 2, 0, "2222211222111000"},
      // With the designer every screen has the standard items its design
      // needs; without it a screen of a paper size has mode -2.
      {31, true, 1, 0, "2222211222111000"},
      {31, false, 1, -2, "2222211222111000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.number << (c.designer ? " with" : " without") << " the designer");
    ReadSettings(c.designer);
    ASSERT_EQ(OpenScreen("", kFixtureDb, "OCR-CARD", c.number, -1, ""), 0) << Boxes();
    EXPECT_EQ(Slot(0).ocrCardMode, c.mode);
    EXPECT_EQ(g_screenDefs.standardItemMode, c.standardItemMode);
    EXPECT_EQ(Slot(0).functionKeys, c.keys);
    EXPECT_EQ(Slot(0).windowKind, 3) << "A4縦";
    EXPECT_EQ(ItemOf(0, "SCREDT") >= 0, c.mode == 2) << "the screen-edit button of mode 2";
    CloseSlot(0);
  }
}

TEST_P(ScreenOpenTest, MenusOpenTheScreenTheyNameUnlessItIsASpecification) {
  ASSERT_EQ(LoadTexts({{"m.txt", "[screen]\nSCRCODE=SPEC-MENU\nSCRTYPE=N\nSCRTBL=ITEMS.SPC\nSCRDBS=SCRTEST\n"
                                 "[field]\nFLDCODE=1\nFLDNAME=QUIT\nFLDTYPE=PBUT\nFLDCD=#99\n"}}),
            1)
      << Boxes();
  ASSERT_EQ(OpenScreen("", kFixtureDb, "SPEC-MENU", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(Slot(1).state, kFreeSlotState) << "a specification file opens no second screen";
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(ScreenOpenTest, AFormKeepsItsItemsInASlotWithoutAWindow) {
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-FORM", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(Slot(0).window, nullptr);
  EXPECT_EQ(Slot(0).state, 1);
  EXPECT_EQ(Slot(0).windowKind, 3) << "the paper word after the form's kind";
  EXPECT_GE(ItemOf(0, "TOTAL"), 0);
  EXPECT_LT(ItemOf(0, "FKEY00"), 0) << "no keys on forms";
  EXPECT_EQ(MessagesOf(main_), (std::vector<ReceivedMessage>{{kMsgScreenNumber, 51, 0}}))
      << "no window: no messages of opening one";
}

TEST_P(ScreenOpenTest, TextsThatWouldNotStoreLeaveTheDatabaseAlone) {
  const int rc = LoadTexts({{"a.txt", "[screen]\nSCRCODE=TEST-MENU\nSCRTYPE=N\n"},
                            {"b.txt", "[screen]\nSCRCODE=B\n[field]\nFLDCODE=1\nFLDSMSU=wide\n"}});
  EXPECT_EQ(rc, -1);
  ASSERT_EQ(BoxTexts().size(), 1u);
  EXPECT_NE(BoxTexts()[0].find("b.txt”の 5 行目：FLDSMSU の値は整数ではないか"), std::string::npos) << Boxes();
  // TEST-MENU kept its rows: it still opens its second screen.
  ForgetBoxes();
  ASSERT_EQ(OpenScreen("", kFixtureDb, "TEST-MENU", -1, -1, ""), 0) << Boxes();
  EXPECT_EQ(Slot(1).screenCode, "TEST-SUB");
}

INSTANTIATE_TEST_SUITE_P(Databases, ScreenOpenTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
