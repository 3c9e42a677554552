// The screen-set window under Wine and Xvfb, driven with the mouse: a
// missing screen generated, the generated list and card screens opened on
// the output table, a sheet changed after its screens were made reconciled
// or refused, and the rebuild with its questions.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/entry/form_input.h"
#include "tests/entry/sheet_output_fixture.h"
#include "tests/platform/image_fixtures.h"
#include "tests/reading/run_setup.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/required_service.h"
#include "tests/support/window_picture.h"

namespace {

using Row = std::map<std::string, std::string>;

class ScreenSetTest : public SheetOutputTest {
 protected:
  void SetUp() override {
    SheetOutputTest::SetUp();
    // The output database lies in a folder of its own, not in the database
    // folder of the settings: the screens find it there.
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    outputFolder_ = FreshFolder(std::string(current) + "\\scrset_output");
    g_currentSheet.outputFolder = outputFolder_;
    ASSERT_EQ(SetDbFolder(FreshFolder(std::string(current) + "\\scrset_settings").c_str()), 0);
    main_ = CreateTestWindow("main");
    InitScreenEngine(main_);
    g_screen.metrics = TestMetrics();
    for (HWND window : {RegisterMenuWindow(main_), RegisterListWindow(main_), RegisterCardWindow(main_),
                        RegisterJobWindow(main_), RegisterSearchWindow(), RegisterScreenSetWindow()}) {
      ASSERT_NE(window, nullptr);
      windows_.push_back(window);
    }
    owner_ = CreateTestWindow("owner");
    windows_.push_back(owner_);
  }

  void TearDown() override {
    HoldModifiers(false, false);
    for (int s = kWindowSlotCount - 1; s >= 0; --s) {
      if (Slot(s).state != kFreeSlotState && Slot(s).window != owner_) CloseScreenWindow(s, 0);
    }
    PumpMessages();
    for (HWND window : windows_) DestroyWindow(window);
    DestroyWindow(main_);
    SheetOutputTest::TearDown();
  }

  // The sheet with its output table, `records` records (0001 ...) and both
  // screens made; `keyWidth` is the width the key item 番号 declares, the
  // reading run's numbers as wide (the sheet's field has 4 boxes).
  void PrepareScreens(int records = 2, int keyWidth = 4) {
    Prepare({"update MUPA_IDX set 文字数=" + std::to_string(keyWidth) + " where 項目名='番号'"});
    SetActiveWindow(owner_);
    ASSERT_EQ(OpenScreenSetWindow(1, 1), 1) << testing::PrintToString(Boxes());
    ASSERT_EQ(OpenScreenSetWindow(1, 2), 1) << testing::PrintToString(Boxes());
    const int slot = OpenOutputTable();
    ASSERT_GT(slot, 0);
    for (int k = 1; k <= records; ++k) {
      char number[40];
      std::snprintf(number, sizeof number, "%0*d", keyWidth, k);
      db_clear(slot);
      SetColumnText(slot, "地区", "01");
      SetColumnText(slot, "学年", "1");
      SetColumnText(slot, "番号", number);
      SetColumnText(slot, "氏名", (std::string("氏名") + (number + keyWidth - 4)).c_str());
      SetColumnInt(slot, "点数", std::atoi(number) * 10);
      ASSERT_EQ(db_add(slot), 0);
    }
    db_close(slot);
    ForgetBoxes();
  }

  // The sheet's output table OUT1, wherever the output database lies: its
  // slot, or -1.
  static int OpenOutputTable() {
    const CurrentSheet& sheet = g_currentSheet;
    return db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), "OUT1", sheet.outputKind, "OUT1",
                            "", "");
  }

  HWND ScreenSet() const { return FindWindowA("ScrSet", nullptr); }
  HWND List() const { return FindWindowA("Lst", nullptr); }
  HWND Card() const { return FindWindowA("Cad", nullptr); }

  static int SlotOf(HWND window) {
    for (int s = 0; s < kWindowSlotCount; ++s) {
      if (Slot(s).state != kFreeSlotState && Slot(s).window == window) return s;
    }
    return -1;
  }

  // Opens the window for a form and clicks its items by name.
  void OpenWindow(int form) {
    SetActiveWindow(owner_);
    ASSERT_EQ(OpenScreenSetWindow(0, form), 0) << testing::PrintToString(Boxes());
    PumpMessages();
    ASSERT_TRUE(IsWindowVisible(ScreenSet()));
  }
  void Click(const char* name, int dx = -1) {
    const int slot = SlotOf(ScreenSet());
    ASSERT_GE(slot, 0) << name;
    const int item = ResolveFieldRef(slot, name);
    ASSERT_GE(item, 0) << name;
    const ScreenItem& it = Item(item);
    const int x = it.pixelX + (dx >= 0 ? dx : it.pixelWidth / 2) - Slot(slot).scrollX;
    ClickAt(ScreenSet(), x, it.pixelY + it.pixelHeight / 2 - Slot(slot).scrollY);
    PumpMessages();
  }
  void SavePicture(HWND window, const char* name) {
    char folder[MAX_PATH] = "";
    if (GetEnvironmentVariableA("SHEETDESK_PICTURES", folder, MAX_PATH) == 0) return;
    SaveWindowPicture(window, std::string(folder) + "\\" + name + ".png");
  }

  // The sheet's MUPA_PAP row of the front.
  Row PaperRow() {
    for (const Row& row : Rows(kSheetDb, "MUPA_PAP", "ＯＣＲコード")) {
      if (row.at("ＯＣＲコード") == "0001") return row;
    }
    return Row();
  }

  // The names of the stored records, in key order.
  std::vector<std::string> RecordNames() {
    std::vector<std::string> names;
    const int slot = OpenOutputTable();
    if (slot < 0) return names;
    for (int rc = db_toppos(slot, "番号"); rc == 0; rc = db_nread(slot)) names.push_back(GetColumnText(slot, "氏名"));
    db_close(slot);
    return names;
  }

  std::string outputFolder_;
  HWND main_ = nullptr;
  HWND owner_ = nullptr;
  std::vector<HWND> windows_;
};

// The forms over the records stored in the output database, on the file
// database (SQLite) and on the server (PostgreSQL).
class StoredRecords : public ScreenSetTest, public testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    ScreenSetTest::SetUp();
    if (HasFatalFailure() || GetParam() != kDbKindServer) return;
    if (!UseServerOutput()) SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
    const int t = db_alloc_slot("", g_currentSheet.outputDatabase.c_str(), "OUT1", kDbKindServer);
    ASSERT_GT(t, 0);
    ExecSlotSql(t, "drop table if exists OUT1", 1);
    db_disconnect(t);
  }
};

TEST_F(ScreenSetTest, RunOpensTheGeneratedListOnTheOutputTable) {
  PrepareScreens();
  OpenWindow(1);
  SavePicture(ScreenSet(), "screen_set_list");
  EXPECT_FALSE(IsWindowEnabled(owner_));
  Click("SCRDISP");
  EXPECT_FALSE(IsWindowVisible(ScreenSet()));
  ASSERT_TRUE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  SavePicture(List(), "generated_list");
  std::vector<std::string> names;
  for (const ListColumn& column : g_list.columns) names.push_back(column.name);
  // The key items the sheet does not read are hidden: the list shows their records.
  EXPECT_EQ(names, (std::vector<std::string>{"番号", "氏名", "点数", "金額", "性別", "読取日", "Q01", "Q02", "Q03"}));
  // Every heading fits its column on one line, and a cell holds no more
  // than its value's length however wide its heading makes it.
  for (const ListColumn& column : g_list.columns) {
    EXPECT_GE(column.width, static_cast<int>(column.title.size())) << column.name;
  }
  for (const Row& row : ScreenRows("101")) {
    const int cell = ListCellItem(FindListColumn(row.at("FLDNAME").c_str()), 1);
    if (cell < 0) continue;
    EXPECT_EQ(Item(cell).width, std::stoi(row.at("FLDSMSU"))) << row.at("FLDNAME");
    EXPECT_EQ(Item(cell).length, std::stoi(row.at("FLDRMSU"))) << row.at("FLDNAME");
  }
  EXPECT_EQ(ListCellText(KeyColumnIndex(), 1), "0001");
  EXPECT_EQ(LineKey(2), "0002");
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_P(StoredRecords, TheGeneratedListPagesAndStoresACorrection) {
  PrepareScreens(23);
  OpenWindow(1);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  const HWND edit = Slot(g_screen.currentSlot).editControl;
  ASSERT_NE(edit, nullptr);
  PressKey(edit, VK_F2);
  EXPECT_EQ(LineKey(1), "0021");  // 20 lines a page
  PressKey(Slot(g_screen.currentSlot).editControl, VK_F3);
  EXPECT_EQ(LineKey(1), "0001");
  // The operator corrects a name on line 2 and leaves it with Enter.
  int column = -1;
  for (std::size_t c = 0; c < g_list.columns.size(); ++c) {
    if (g_list.columns[c].name == "氏名") column = static_cast<int>(c);
  }
  ASSERT_GE(column, 0);
  const RECT r = ItemPixelRect(ListCellItem(column, 2));
  const int slot = SlotOf(List());
  ClickAt(List(), r.left + 3 - Slot(slot).scrollX, r.top + 3 - Slot(slot).scrollY);
  const HWND cell = Slot(g_screen.currentSlot).editControl;
  SendMessageA(cell, EM_SETSEL, 0, -1);
  TypeText(cell, "山田");
  PressKey(cell, VK_RETURN);
  const std::vector<std::string> names = RecordNames();
  ASSERT_EQ(names.size(), 23u);
  EXPECT_EQ(names[0], "氏名0001");
  EXPECT_EQ(names[1], "山田");
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_F(ScreenSetTest, AScreenWithoutRowsIsMadeBeforeTheWindowOpens) {
  Prepare();
  EXPECT_TRUE(ScreenRows("101").empty());
  OpenWindow(1);
  EXPECT_EQ(ScreenRows("101").size(), 11u);
  // Asked for the card without its window: made (1), then there (2).
  EXPECT_EQ(OpenScreenSetWindow(2, 2), 1) << testing::PrintToString(Boxes());
  EXPECT_EQ(OpenScreenSetWindow(2, 2), 2);
  Click("SCRQUIT");
  EXPECT_FALSE(IsWindowVisible(ScreenSet()));
  EXPECT_FALSE(IsWindowVisible(List()));
}

TEST_P(StoredRecords, RunOpensTheGeneratedCard) {
  PrepareScreens();
  OpenWindow(2);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(Card())) << testing::PrintToString(Boxes());
  SavePicture(Card(), "generated_card");
  // The card shows the stored records and stores the operator's correction.
  const int slot = SlotOf(Card());
  EXPECT_EQ(ShownText(slot, "氏名"), "氏名0001");
  ASSERT_TRUE(TypeIntoField(slot, "氏名", "山田"));
  PressKey(Slot(slot).editControl, VK_TAB);
  PressKey(Slot(slot).editControl, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(Card()));
  EXPECT_EQ(RecordNames(), (std::vector<std::string>{"山田", "氏名0002"}));
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_P(StoredRecords, TheFormsKeepTheKeyAsWideAsTheRunNumbersIt) {
  // The run numbers the sheet's records; the key item declares 30
  // characters where its field has 4 boxes: the numbers have 30 digits.
  definition_.papers[0].keyNumbering = 2;
  PrepareScreens(2, 30);
  const std::string first = std::string(29, '0') + "1", second = std::string(29, '0') + "2";
  OpenWindow(1);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Boxes(), std::vector<std::string>{}) << "the key's width is kept";
  EXPECT_EQ(LineKey(1), first);
  EXPECT_EQ(LineKey(2), second);
  const int list = SlotOf(List());
  ASSERT_TRUE(TypeIntoField(list, "氏名02", "山田"));
  PressKey(Slot(list).editControl, VK_RETURN);
  EXPECT_EQ(RecordNames(), (std::vector<std::string>{"氏名0001", "山田"}));
  PostMessageA(List(), WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_FALSE(IsWindowVisible(List()));

  OpenWindow(2);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(Card())) << testing::PrintToString(Boxes());
  const int card = SlotOf(Card());
  EXPECT_EQ(ShownText(card, "番号"), first);
  PressKey(Slot(card).editControl, VK_F2);
  EXPECT_EQ(ShownText(card, "番号"), second);
  EXPECT_EQ(ShownText(card, "氏名"), "山田");
  ASSERT_TRUE(TypeIntoField(card, "氏名", "佐藤"));
  PressKey(Slot(card).editControl, VK_TAB);
  PressKey(Slot(card).editControl, VK_F3);
  EXPECT_EQ(ShownText(card, "番号"), first);
  PressKey(Slot(card).editControl, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(Card()));
  EXPECT_EQ(RecordNames(), (std::vector<std::string>{"氏名0001", "佐藤"})) << "no record added";
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_P(StoredRecords, TheCardOfASheetNumberedByTheRunBrowsesItsRecordsUnlocked) {
  // The run numbers the sheet's records: the card corrects them.
  definition_.papers[0].keyNumbering = 2;
  PrepareScreens(3);
  OpenWindow(2);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(Card())) << testing::PrintToString(Boxes());
  const int card = SlotOf(Card());
  EXPECT_EQ(ShownText(card, "番号"), "0001") << "the first record";
  EXPECT_EQ(ShownText(card, "氏名"), "氏名0001");
  PressKey(Slot(card).editControl, VK_F4);
  EXPECT_EQ(ShownText(card, "番号"), "0003") << "F4 shows the last record";
  PressKey(Slot(card).editControl, VK_F2);
  EXPECT_EQ(ShownText(card, "番号"), "0003") << "and makes none";
  ASSERT_TRUE(TypeIntoField(card, "氏名", "山田"));
  PressKey(Slot(card).editControl, VK_TAB);
  // F7 asks to delete the record whose correction it stored first.
  AnswerNext(IDNO);
  PressKey(Slot(card).editControl, VK_F7);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"0003 を削除してもよろしいですか？"});
  EXPECT_EQ(RecordNames(), (std::vector<std::string>{"氏名0001", "氏名0002", "山田"}));
  PostMessageA(Card(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(IsWindowVisible(Card()));
}

TEST_P(StoredRecords, TheFormsRefuseAValueThatIsNoneOfItsFieldsChoices) {
  PrepareScreens();
  const auto storedSex = [this](const char* code) {
    std::string value = "<none>";
    const int slot = OpenOutputTable();
    if (slot < 0) return value;
    if (db_search(slot, code, "番号") == 0) value = GetColumnText(slot, "性別");
    db_close(slot);
    return value;
  };
  const auto refusedWith = [](const std::vector<std::string>& boxes, const char* value) {
    return boxes.size() == 1 && boxes[0].find("“男,女”以外の値は入力できません。[" + std::string(value) + "]") !=
                                    std::string::npos;
  };
  OpenWindow(1);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  const int list = SlotOf(List());
  ASSERT_TRUE(TypeIntoField(list, "性別01", "9"));
  PressKey(Slot(list).editControl, VK_RETURN);
  EXPECT_TRUE(refusedWith(Boxes(), "9")) << testing::PrintToString(Boxes());
  EXPECT_EQ(storedSex("0001"), "");
  ForgetBoxes();
  ASSERT_TRUE(TypeIntoField(list, "性別01", "女"));
  PressKey(Slot(list).editControl, VK_RETURN);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_EQ(storedSex("0001"), "女");
  PostMessageA(List(), WM_CLOSE, 0, 0);
  PumpMessages();

  // The card refuses it as it is written, and stays open with it.
  OpenWindow(2);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(Card())) << testing::PrintToString(Boxes());
  const int card = SlotOf(Card());
  ASSERT_TRUE(TypeIntoField(card, "性別", "9"));
  ForgetBoxes();
  PostMessageA(Card(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_TRUE(refusedWith(Boxes(), "9")) << testing::PrintToString(Boxes());
  ASSERT_TRUE(IsWindowVisible(Card()));
  EXPECT_EQ(storedSex("0001"), "女");
  ForgetBoxes();
  ASSERT_TRUE(TypeIntoField(card, "性別", "男"));
  PostMessageA(Card(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  EXPECT_FALSE(IsWindowVisible(Card()));
  EXPECT_EQ(storedSex("0001"), "男");
}

INSTANTIATE_TEST_SUITE_P(Databases, StoredRecords, testing::Values(kDbKindFile, kDbKindServer),
                         [](const testing::TestParamInfo<int>& info) {
                           return std::string(info.param == kDbKindServer ? "PostgreSQL" : "SQLite");
                         });

TEST_F(ScreenSetTest, WidenedItemIsReconciledWhenTheScreenOpens) {
  PrepareScreens();
  ASSERT_EQ(ExecOnSheet("update MUPA_FLD set 文字数=15 where 領域名='氏名'"), 0);
  OpenWindow(1);
  Click("SCRDISP");
  ASSERT_TRUE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  for (const Row& row : ScreenRows("101")) {
    if (row.at("FLDNAME") == "氏名") {
      EXPECT_EQ(row.at("FLDRMSU"), "30");
    }
  }
  EXPECT_EQ(RecordNames(), (std::vector<std::string>{"氏名0001", "氏名0002"}));
}

TEST_F(ScreenSetTest, ChangedCheckFieldKeepsTheWindowUntilCtrlRuns) {
  PrepareScreens();
  ASSERT_EQ(ExecOnSheet("update MUPA_FLD set 文字型='ﾌﾗｸﾞ' where 領域名='性別'"), 0);
  OpenWindow(2);
  Click("SCRDISP");
  EXPECT_EQ(Boxes(), std::vector<std::string>{"チェック欄“性別”の内容が変更されています。\n"
                                              "「シートフォーマットをもとに再構築」にチェックして〔実行〕を押してください。"});
  EXPECT_TRUE(IsWindowVisible(ScreenSet()));
  EXPECT_FALSE(IsWindowVisible(Card()));
  // Ctrl held: the screen opens as it is, unchecked.
  ForgetBoxes();
  HoldModifiers(false, true);
  Click("SCRDISP");
  HoldModifiers(false, false);
  EXPECT_FALSE(IsWindowVisible(ScreenSet()));
  EXPECT_TRUE(IsWindowVisible(Card())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_F(ScreenSetTest, RebuildAsksAndNoLeavesEverything) {
  PrepareScreens();
  ASSERT_EQ(ExecOnSheet("update S_FIELD set FLDTITLE='お名前' where FLDNAME='氏名' and SCRCODE='101'"), 0);
  const struct {
    std::vector<int> answers;
    size_t records;
    const char* title;
    bool opens;
  } cases[] = {
      {{IDNO}, 2, "お名前", false},                 // not rebuilt
      {{IDYES, IDYES, IDNO}, 2, "お名前", true},    // the records kept: nothing changes
      {{IDYES, IDNO, IDYES}, 0, "お名前", true},    // rebuilt, the edits kept
      {{IDYES, IDYES, IDYES}, 0, "氏名", true},     // rebuilt afresh (no records left to ask about)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answers.size());
    ForgetBoxes();
    for (int answer : c.answers) AnswerNext(answer);
    OpenWindow(1);
    Click("更新", 6);
    Click("SCRDISP");
    EXPECT_FALSE(IsWindowVisible(ScreenSet()));
    EXPECT_EQ(RecordNames().size(), c.records);
    for (const Row& row : ScreenRows("101")) {
      if (row.at("FLDNAME") == "氏名") {
        EXPECT_EQ(row.at("FLDTITLE"), c.title);
      }
    }
    EXPECT_EQ(IsWindowVisible(List()) != FALSE, c.opens) << testing::PrintToString(Boxes());
    if (IsWindowVisible(List())) SendMessageA(List(), WM_CLOSE, 0, 0);
    PumpMessages();
  }
}


// "並び変更": the list screen's rows in the item-order dialog, a heading
// typed into one, the item names copied into every heading, and the
// headings' height changed before closing.
TEST_F(ScreenSetTest, LayoutDialogEditsTheListScreensRows) {
  PrepareScreens();
  ASSERT_GE(LoadScreenTexts((GetProgramFolder() + "\\screens").c_str(), "", kScreenDatabase), 2)
      << testing::PrintToString(Boxes());
  ASSERT_EQ(ExecOnSheet("update S_FIELD set FLDSMSU=1 where SCRCODE='101'"), 0);
  const auto cardRows = ScreenRows("201");
  OpenWindow(1);
  Click("SCRSORT");
  EXPECT_FALSE(IsWindowVisible(ScreenSet()));
  ASSERT_TRUE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  const int slot = SlotOf(List());
  ASSERT_GE(slot, 0);
  EXPECT_EQ(Slot(slot).screenNumber, kScreenLayoutNumber);
  std::vector<std::string> names;
  for (const ListColumn& column : g_list.columns) names.push_back(column.name);
  EXPECT_EQ(names, (std::vector<std::string>{"FLDCODE", "FLDNAME", "FLDTITLE", "FLDSMSU", "FLDLOCK", "FLDTFLG"}));
  int pictures = 0;
  for (const Row& row : ScreenRows("101")) pictures += row.at("FLDEDT") == "BMAP";
  size_t shown = 0;
  while (shown < 20 && !LineKey(static_cast<int>(shown) + 1).empty()) ++shown;
  EXPECT_EQ(shown, ScreenRows("101").size() - pictures);
  EXPECT_EQ(LineKey(1), "001");
  SavePicture(List(), "layout_dialog_list");

  // A heading typed into line 2 goes to that row of the list screen only.
  const int titleColumn = FindListColumn("FLDTITLE");
  ASSERT_GE(titleColumn, 0);
  const RECT r = ItemPixelRect(ListCellItem(titleColumn, 2));
  ClickAt(List(), r.left + 3 - Slot(slot).scrollX, r.top + 3 - Slot(slot).scrollY);
  HWND cell = Slot(g_screen.currentSlot).editControl;
  SendMessageA(cell, EM_SETSEL, 0, -1);
  TypeText(cell, "二行目の見出し");
  PressKey(cell, VK_RETURN);
  for (const Row& row : ScreenRows("101")) {
    if (row.at("FLDCODE") == "002") {
      EXPECT_EQ(row.at("FLDTITLE"), "二行目の見出し");
    }
  }
  EXPECT_EQ(ScreenRows("201"), cardRows);

  // KOMCOPY: asked, then every heading is its item name, the widths
  // counted again from it ("Q01" on one line: 4).
  AnswerNext(IDYES);
  ClickItem(slot, ResolveFieldRef(slot, "KOMCOPY"));
  PumpMessages();
  EXPECT_EQ(Boxes(), std::vector<std::string>{"｢項目名｣の列を｢見出し｣にコピーします。\n"
                                              "現在の｢見出し｣の内容は上書き消去されます。"});
  for (const Row& row : ScreenRows("101")) {
    SCOPED_TRACE(row.at("FLDNAME"));
    EXPECT_EQ(row.at("FLDTITLE"), row.at("FLDNAME"));
    const int length = static_cast<int>(row.at("FLDNAME").size());
    EXPECT_EQ(row.at("FLDSMSU"), std::to_string(std::max((length + 1) / 2, 1) * 2));
  }
  EXPECT_EQ(ScreenRows("201"), cardRows);
  EXPECT_EQ(ListCellText(titleColumn, 2), ScreenRows("101")[1].at("FLDNAME"));

  // Headings on two lines: the first Esc stores the setting, counts the
  // widths again and keeps the dialog; the second closes it.
  ForgetBoxes();
  ASSERT_TRUE(TypeIntoField(slot, "タイトル高さ", "2"));
  PressKey(Slot(slot).editControl, VK_RETURN);
  ASSERT_TRUE(TypeIntoField(slot, "商品番号項目", "番号"));
  PressKey(Slot(slot).editControl, VK_RETURN);
  PressKey(Slot(g_screen.currentSlot).editControl, VK_ESCAPE);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"「横幅」(列幅)の調整を行いました。\n"
                                              "画面を閉じる場合は、もう一度、終了ボタンをクリックしてください。"});
  EXPECT_TRUE(IsWindowVisible(List()));
  const int record = db_open(folder().c_str(), kSheetDb, kScreenTable, -1, "FSCRTBL3", "SCRTBL",
                             "select * from S_SCREEN where SCRCODE='101'");
  ASSERT_GT(record, 0);
  ASSERT_EQ(db_tfind(record, 1), 0);
  EXPECT_EQ(GetColumnInt(record, "READER"), 2);
  db_close(record);
  EXPECT_EQ(PaperRow().at("商品番号項目"), "番号");
  PressKey(Slot(g_screen.currentSlot).editControl, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(List()));
}

// The card's dialog: the card's own columns, its settings shown from the
// screen's row and the sheet's, stored as it closes (at once: a card counts
// no widths).
TEST_F(ScreenSetTest, LayoutDialogOfTheCardKeepsItsSettings) {
  PrepareScreens();
  ASSERT_GE(LoadScreenTexts((GetProgramFolder() + "\\screens").c_str(), "", kScreenDatabase), 2)
      << testing::PrintToString(Boxes());
  ASSERT_EQ(ExecOnSheet("update S_SCREEN set LINCNT=0 where SCRCODE='201'"), 0);
  OpenWindow(2);
  Click("SCRSORT");
  ASSERT_TRUE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  const int slot = SlotOf(List());
  ASSERT_GE(slot, 0);
  std::vector<std::string> names;
  for (const ListColumn& column : g_list.columns) names.push_back(column.name);
  EXPECT_EQ(names, (std::vector<std::string>{"FLDCODE", "FLDNAME", "FLDTITLE", "FLDTTL", "FLDSMSU", "FLDCSIZ",
                                             "FLDLOCK", "FLDUNQ", "FLDTFLG"}));
  EXPECT_EQ(ShownText(slot, "行送り"), "24");
  EXPECT_EQ(ShownText(slot, "ｲﾒｰｼﾞｻｲｽﾞ"), "73") << "an image size of 0 shows the default";
  SavePicture(List(), "layout_dialog_card");
  // The image settings wait for their check; its box stands inside its
  // frame, left of its caption.
  EXPECT_EQ(Item(ResolveFieldRef(slot, "比較イメージフォルダ")).state, kItemProtected);
  const RECT check = ItemPixelRect(ResolveFieldRef(slot, "ｲﾒｰｼﾞ比較修正"));
  ClickAt(List(), check.left + 24 - Slot(slot).scrollX, (check.top + check.bottom) / 2 - Slot(slot).scrollY);
  PumpMessages();
  EXPECT_EQ(Item(ResolveFieldRef(slot, "比較イメージフォルダ")).state, kItemEnabled);
  ASSERT_TRUE(TypeIntoField(slot, "ｲﾒｰｼﾞｻｲｽﾞ", "80"));
  PressKey(Slot(slot).editControl, VK_RETURN);
  ASSERT_TRUE(TypeIntoField(slot, "比較イメージフォルダ", "D:\\比較"));
  PressKey(Slot(slot).editControl, VK_RETURN);
  PressKey(Slot(g_screen.currentSlot).editControl, VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(List())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
  const int record = db_open(folder().c_str(), kSheetDb, kScreenTable, -1, "FSCRTBL3", "SCRTBL",
                             "select * from S_SCREEN where SCRCODE='201'");
  ASSERT_GT(record, 0);
  ASSERT_EQ(db_tfind(record, 1), 0);
  EXPECT_EQ(GetColumnInt(record, "LINCNT"), 80);
  EXPECT_EQ(GetColumnInt(record, "SCRLPCH"), 24);
  db_close(record);
  const Row paper = PaperRow();
  EXPECT_EQ(paper.at("比較用イメージ出力"), "1");
  EXPECT_EQ(paper.at("比較イメージフォルダ"), "D:\\比較");
}

// The widths a heading needs, on one or more lines and turned on its side.
TEST_F(ScreenSetTest, TitleWidthsFollowTheHeadings) {
  PrepareScreens();
  struct Case {
    const char* what;
    const char* title;
    int width, direction, lines, expected;
  };
  const Case cases[] = {
      {"full-width, one line", "ＡＢＣＤＥ", 2, 0, 1, 10},
      {"two lines round up", "ＡＢＣＤＥ", 2, 0, 2, 6},
      {"on its side: half-width", "ＡＢＣＤＥ", 2, 1, 1, 6},
      {"an odd half-width heading rounds up", "ABC", 2, 0, 1, 4},
      {"never narrowed", "Ａ", 12, 0, 1, 12},
      {"an empty heading keeps 2", "", 0, 0, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    char sql[256];
    std::snprintf(sql, sizeof sql, "update S_FIELD set FLDTITLE='%s', FLDSMSU=%d where SCRCODE='101'", c.title,
                  c.width);
    ASSERT_EQ(ExecOnSheet(sql), 0);
    const int changed = RecountFieldTitleWidths("101", c.direction, c.lines);
    EXPECT_EQ(changed, c.expected == c.width ? 0 : static_cast<int>(ScreenRows("101").size()));
    for (const Row& row : ScreenRows("101")) EXPECT_EQ(row.at("FLDSMSU"), std::to_string(c.expected));
  }
}

}  // namespace
