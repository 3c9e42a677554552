// Master look-ups of the candidate pop-up and fields filled from table
// columns, on real tables of both databases: rows shown in key order from
// the field's value on, the chosen row spread over the fields, keys and
// typed values holding quotes, address tables, missing tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"

namespace {

constexpr int kCodeKey = 66;

// The address table: postcodes and addresses.
const char kAddressSpec[] =
    "FIELD\r\n"
    "\"Zip\",\"char*\",\"ZIP\",8,0,0,\"\",8\r\n"
    "\"Address\",\"char*\",\"ADDR\",20,0,0,\"\",20\r\n"
    "INDEX\r\n"
    "\"ZIP\",\"△\"\r\n"
    "END\r\n";
const char kAddressTable[] = "住所";

class LookupTest : public DbTest {
 protected:
  void SetUp() override {
    main_ = CreateTestWindow("main");
    InitScreenEngine(main_);
    g_screen.metrics = TestMetrics();
    DbTest::SetUp();
    if (IsSkipped()) return;
    WriteSpec(kAddressTable, kAddressSpec);
    const int drop = db_alloc_slot("", kDb, "T1", -1);
    ASSERT_GT(drop, 0);
    ExecSlotSql(drop, (std::string("drop table ") + kAddressTable).c_str(), 1);
    db_disconnect(drop);
    const int t1 = Open("T1");
    ASSERT_GT(t1, 0);
    db_close(t1);
    Exec({"insert into T1 (CODE,NAME,QTY) values ('A01','Apple',1)",
          "insert into T1 (CODE,NAME,QTY) values ('A02','Banana',2)",
          "insert into T1 (CODE,NAME,QTY) values ('B01','Cherry',3)",
          "insert into T1 (CODE,NAME,QTY,AMOUNT) values ('B02','O''Neil',4,12.5)",
          "insert into T1 (CODE,NAME,QTY) values ('C01','Date',5)",
          "insert into T1 (CODE,NAME,QTY) values ('Q''1','Quote',6)"});
    ForgetBoxes();
  }
  void TearDown() override {
    for (int s = kWindowSlotCount - 1; s >= 0; --s) {
      if (Slot(s).state != kFreeSlotState) CloseScreenWindow(s, 0);
    }
    if (window_) DestroyWindow(window_);
    DestroyWindow(main_);
    DbTest::TearDown();
  }
  // CODE (with `choices`), a button, then NAME below it and OTHER to its
  // right on the same row.
  void OpenScreenWith(const char* choices, const char* value) {
    AddScreenItem("", "CODE", 2, 1, 0, 6, 6, 0, 'X', 0, 0, kCodeKey, 'L', kItemEnabled, 0, 5, 0, 0,
                  "", choices);
    AddScreenItem("", "GO", 2, 6, 0, 6, 22, 0, 'B', 0, 0, 301, 'S', kItemEnabled, 0, 6, 0, 0, "",
                  "");
    AddScreenItem("", "NAME", 2, 3, 0, 10, 10, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "",
                  "");
    AddScreenItem("", "OTHER", 20, 1, 0, 10, 10, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "",
                  "");
    window_ = CreateTestWindow("lookup");
    slot_ = FindFreeWindowSlot();
    ASSERT_EQ(OpenScreenWindow(window_, 0, 0, 500, 300, 0, 41, 1, 1, -1, ""), 0);
    ShowWindow(window_, SW_SHOW);
    FocusField("CODE");
    SetFieldText("CODE", value);
    ClearMessages(window_);
  }
  std::string Value(const char* name) {
    char text[64] = "";
    GetItemValueForCommand(slot_, name, text);
    return text;
  }
  HWND Sel() const { return g_screen.popupWindow; }
  int OpenTables() const {
    int open = 0;
    for (int s = 1; s <= kMaxTableSlots; ++s) open += GetSlotConnState(s) > 1 ? 1 : 0;
    return open;
  }
  void Choose(int downs) {
    for (int k = 0; k < downs; ++k) PressKey(Sel(), VK_DOWN);
    PressKey(Sel(), VK_RETURN);
  }

  HWND main_ = nullptr;
  HWND window_ = nullptr;
  int slot_ = -1;
};

TEST_P(LookupTest, ShowsRowsInKeyOrderFromTheValueAndFillsTheFields) {
  OpenScreenWith("\\SDTEST\\T1,<0>,CODE,NAME,(3)", "A02");
  ASSERT_EQ(ShowFieldPopup(ResolveFieldRef(slot_, "CODE")), 0);
  EXPECT_EQ(GetScrollPos(Sel(), SB_VERT), 1);  // A01 is above the first row shown
  Choose(2);                                   // A02, B01, B02
  EXPECT_EQ(Value("CODE"), "B02");
  EXPECT_EQ(Value("NAME"), "O'Neil");  // the next field, past the button
  EXPECT_EQ(Value("OTHER"), "");
  EXPECT_EQ(GetChosenCandidateCode(), 2);
  EXPECT_EQ(IsFieldEdited(), 1);
  EXPECT_EQ(OpenTables(), 0);
  const std::vector<ReceivedMessage> want = {{kMsgFieldChosen, kCodeKey, 1}};
  EXPECT_EQ(MessagesOf(window_), want);
  EXPECT_TRUE(Boxes().empty());
}

TEST_P(LookupTest, ModesChooseWhichColumnsGoWhere) {
  struct Case {
    const char* what;
    const char* choices;
    std::string code, name, other;
    int transferred;
  };
  const Case cases[] = {
      {"mode 1 starts with the second column", "\\SDTEST\\T1,<0>,CODE,NAME,(3),1", "Banana", "", "",
       1},
      {"mode 2 fills the field to the right", "\\SDTEST\\T1,<0>,CODE,NAME,(3),2", "A02", "",
       "Banana", 2},
      {"mode 3 fills one column", "\\SDTEST\\T1,<0>,CODE,NAME,(3),3", "A02", "", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenScreenWith(c.choices, "A02");
    ASSERT_EQ(ShowFieldPopup(ResolveFieldRef(slot_, "CODE")), 0);
    Choose(0);
    EXPECT_EQ(Value("CODE"), c.code);
    EXPECT_EQ(Value("NAME"), c.name);
    EXPECT_EQ(Value("OTHER"), c.other);
    EXPECT_EQ(GetChosenCandidateCode(), c.transferred);
    CloseScreenWindow(slot_, 0);
    DestroyWindow(window_);
    window_ = nullptr;
  }
}

TEST_P(LookupTest, ClosingTheScreenClosesItsPopupAndTable) {
  OpenScreenWith("\\SDTEST\\T1,<0>,CODE,NAME,(3)", "A02");
  ASSERT_EQ(ShowFieldPopup(ResolveFieldRef(slot_, "CODE")), 0);
  EXPECT_EQ(OpenTables(), 1);
  CloseScreenWindow(slot_, 0);
  EXPECT_EQ(g_screen.popupOpen, 0);
  EXPECT_EQ(OpenTables(), 0);
  EXPECT_TRUE(MessagesOf(window_).empty());  // no choice was made
}

TEST_P(LookupTest, KeysWithQuotesAreFoundAgain) {
  OpenScreenWith("\\SDTEST\\T1,{CODE},CODE,NAME", "Q");
  ASSERT_EQ(ShowFieldPopup(ResolveFieldRef(slot_, "CODE")), 0);
  Choose(0);
  EXPECT_EQ(Value("CODE"), "Q'1");
  EXPECT_EQ(Value("NAME"), "Quote");
  EXPECT_TRUE(Boxes().empty());
}

TEST_P(LookupTest, AddressTablesShowTheRowsOfTheTypedPrefix) {
  const int table = Open(kAddressTable);
  ASSERT_GT(table, 0);
  db_close(table);
  Exec({"insert into 住所 (ZIP,ADDR) values ('100','Chiyoda')",
        "insert into 住所 (ZIP,ADDR) values ('150','Shibuya')",
        "insert into 住所 (ZIP,ADDR) values ('160','Shinjuku')"});
  ForgetBoxes();
  OpenScreenWith("\\SDTEST\\住所,{ZIP},ZIP,ADDR", "15");
  ASSERT_EQ(ShowFieldPopup(ResolveFieldRef(slot_, "CODE")), 0);
  Choose(1);  // one row only: the bar stays on it
  EXPECT_EQ(Value("CODE"), "150");
  EXPECT_EQ(Value("NAME"), "Shibuya");
  // A typed quote stays a character of the value.
  SetFieldText("CODE", "1'");
  ForgetBoxes();
  ASSERT_EQ(ShowFieldPopup(ResolveFieldRef(slot_, "CODE")), 0);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"候補ウインドウに表示するデータはありません。"});
  EXPECT_EQ(g_screen.popupOpen, 0);
  EXPECT_EQ(OpenTables(), 0);
}

TEST_P(LookupTest, AMissingTableIsReportedAndLeavesNothingOpen) {
  OpenScreenWith("\\SDTEST\\T2,<0>,CODE,NAME", "A");
  EXPECT_EQ(ShowFieldPopup(ResolveFieldRef(slot_, "CODE")), -1);
  const std::vector<std::string> boxes = Boxes();
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back(), "テーブル“T2”は、作成されていません。");
  EXPECT_EQ(g_screen.popupOpen, 0);
  EXPECT_EQ(OpenTables(), 0);
}

TEST_P(LookupTest, FieldsTakeTheColumnsOfTheirNames) {
  AddScreenItem("", "NAME", 2, 1, 0, 10, 10, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "",
                "");
  AddScreenItem("", "QTY", 2, 2, 0, 5, 5, 0, 'N', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "", "");
  AddScreenItem("", "AMOUNT", 2, 3, 0, 10, 10, 0, 'N', 2, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "",
                "");
  window_ = CreateTestWindow("fill");
  slot_ = FindFreeWindowSlot();
  ASSERT_EQ(OpenScreenWindow(window_, 0, 0, 500, 300, 0, 41, 1, 1, -1, ""), 0);
  const int table = Open("T1");
  ASSERT_GT(table, 0);
  ASSERT_EQ(db_search(table, "B02", "CODE"), 0);
  SetFieldTextFromTable("NAME", table);
  SetFieldIntFromTableAlt("QTY", table);
  SetFieldDoubleFromTable("AMOUNT", table);
  EXPECT_EQ(Value("NAME"), "O'Neil");
  EXPECT_EQ(Value("QTY"), "4");
  EXPECT_EQ(Value("AMOUNT"), "     12.50");  // two decimals in 10
  SetFieldFromTable("NOSUCH", table, "x");   // no such field: nothing
  ASSERT_EQ(db_search(table, "A01", "CODE"), 0);
  SetColumnText(table, "NAME", "");
  SetFieldFromTable("NAME", table, "(none)");
  EXPECT_EQ(Value("NAME"), "(none)");
  db_close(table);
}

INSTANTIATE_TEST_SUITE_P(Drivers, LookupTest, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

}  // namespace
