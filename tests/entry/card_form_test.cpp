// The card form under Wine, driven as the operator drives it: a card over
// T_ITEMS of the screen fixture, its fields clicked and typed into, its
// keys pressed in the field being typed into. What it stores is read back
// from the table through a connection of the test's own, on the file
// database (SQLite) and on the server database (PostgreSQL). Its cards
// print, through the print-settings screen, on the PDF printer.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/card_form.h"
#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/foundation/db_test_support.h"
#include "tests/entry/form_input.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/required_service.h"
#include "tests/support/test_pictures.h"
#include "tests/tally/print_capture.h"
#include "tests/support/window_picture.h"

namespace {

constexpr UINT kMsgRecordWritten = WM_USER + 113;  // 1137
constexpr int kCardNumber = 33;

// A card over T_ITEMS; `input` is its input setting ("△" browses from the
// first record, "○" starts with a new record whose code may be typed). Its
// CSV output breaks the line after the quantity.
std::string CardScreenText(const char* input) {
  char text[2048];
  std::snprintf(text, sizeof text,
                "[screen]\nSCRCODE = TEST-CARDF\nSCRNAME = TEST-CARDF\nSCRTYPE = ｶｰﾄﾞ\nSCRTITLE = 商品カード\n"
                "SCRTBL = T_ITEMS\nSCRDBS = SCRTEST\nSCRINP = %s\nSCRCSIZ = 8\nSCRWID = 90\nSCRHIG = 30\n"
                "SCRPOS = 左上\nSCRNO = %d\nSCRFKEY = 2222222222222000\n\n"
                "[field]\nFLDCODE = 001\nFLDNAME = CODE\nFLDTITLE = コード\nFLDTYPE = 数字\nFLDEDT = ZERO\n"
                "FLDSMSU = 4\nFLDX = 14\nFLDY = 3\nFLDUNQ = ×\n\n"
                "[field]\nFLDCODE = 002\nFLDNAME = NAME\nFLDTITLE = 品名\nFLDTYPE = 半角\nFLDSMSU = 30\n"
                "FLDX = 14\nFLDY = 5\nFLDUNQ = →\n\n"
                "[field]\nFLDCODE = 003\nFLDNAME = QTY\nFLDTITLE = 数量\nFLDTYPE = 数字\nFLDEDT = 右詰\n"
                "FLDSMSU = 6\nFLDX = 14\nFLDY = 12\nFLDTFLG = 2\n\n"
                "[field]\nFLDCODE = 004\nFLDNAME = CAT\nFLDTITLE = 分類\nFLDTYPE = 半角\nFLDSMSU = 2\n"
                "FLDX = 14\nFLDY = 20\nFLDUNQ = ×\n",
                input, kCardNumber);
  return text;
}

// "CODE:NAME:QTY" of every row of T_ITEMS, by a connection of its own.
std::map<std::string, std::string> StoredItems() {
  std::map<std::string, std::string> rows;
  const int t = db_open("", kFixtureDb, "T_ITEMS", -1, "", "", "select * from T_ITEMS");
  if (t < 0) return {{"<no table>", ""}};
  for (int rc = db_tfind(t, 0); rc == 0; rc = db_nread(t)) {
    rows[GetColumnText(t, "CODE")] = std::string(GetColumnText(t, "NAME")) + ":" + std::to_string(GetColumnInt(t, "QTY"));
  }
  db_close(t);
  return rows;
}

int ExecOnItems(const std::string& sql) {
  const int t = db_alloc_slot("", kFixtureDb, "T_ITEMS", -1);
  if (t <= 0) return -1;
  const int rc = db_exec(t, sql.c_str());
  db_disconnect(t);
  return rc;
}

class CardFormTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    for (HWND window : {RegisterMenuWindow(main_), RegisterListWindow(main_), RegisterCardWindow(main_),
                        RegisterJobWindow(main_)}) {
      ASSERT_NE(window, nullptr);
      windows_.push_back(window);
    }
    owner_ = CreateTestWindow("owner");
    windows_.push_back(owner_);
  }

  void TearDown() override {
    SetCardImageComparison("", 0);
    ScreenDbTest::TearDown();
  }

  // Loads the card with its input setting and opens it: 0 or -1.
  int OpenCard(const char* input) {
    if (LoadTexts({{"TEST-CARDF.txt", CardScreenText(input)}}) != 1) return -1;
    ForgetBoxes();
    return Reopen();
  }
  int Reopen() {
    const int rc = OpenScreenDef("", kFixtureDb, "TEST-CARDF", -1, -1, "", owner_);
    PumpMessages();
    return rc;
  }

  HWND Card() const { return GetWorkWindow(WorkWindow::kCard); }
  HWND Edit() const { return Slot(0).editControl; }
  std::string Field(const char* name) const { return ShownText(0, name); }
  void TypeInto(const char* name, const char* text) { ASSERT_TRUE(TypeIntoField(0, name, text)) << name; }
  void Press(WPARAM key) {
    PressKey(Edit(), key);
    PumpMessages();
  }

  // The job dialog (the slot after the card's), its field typed into and
  // left with Tab, and its job run with F1 ("実 行").
  static int DialogSlot() { return IsValidSlot(1) && Slot(1).state != kFreeSlotState ? 1 : -1; }
  void TypeIntoDialog(const char* name, const char* text) {
    ASSERT_GT(DialogSlot(), 0) << "the job dialog is open";
    ASSERT_TRUE(TypeIntoField(1, name, text)) << name;
    PressKey(Slot(1).editControl, VK_TAB);
  }
  void RunJob() {
    ASSERT_GT(DialogSlot(), 0);
    PressKey(Slot(1).editControl, VK_F1);
    PumpMessages();
  }
  // Clicks a check box of the job dialog until it shows `on` (the dialog
  // keeps what was set last).
  void SetCheck(const char* name, bool on) {
    const int item = ResolveFieldRef(1, name);
    ASSERT_GE(item, 0) << name;
    for (int click = 0; click < 2; ++click) {
      char value[16] = "";
      GetItemValueForCommand(1, name, value);
      if ((value[0] == '1') == on) return;
      const RECT r = ItemPixelRect(item);
      ClickAt(Slot(1).window, (r.left + r.right) / 2 - Slot(1).scrollX, (r.top + r.bottom) / 2 - Slot(1).scrollY);
    }
    FAIL() << name << " does not turn " << (on ? "on" : "off");
  }
  void ChooseJob(int job) {
    PostMessageA(Card(), kMsgCardPrint, job, 0);
    PumpMessages();
  }

  int WrittenNotices() const {
    int count = 0;
    for (const ReceivedMessage& m : MessagesOf(owner_)) count += m.message == kMsgRecordWritten ? 1 : 0;
    return count;
  }

  HWND owner_ = nullptr;
};

TEST_P(CardFormTest, PagesThroughTheRecordsByTheirCodes) {
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  EXPECT_EQ(Field("CODE"), "0001");
  EXPECT_EQ(Field("NAME"), "りんご");
  EXPECT_EQ(Field("QTY"), "12");
  // F1/F2 and Page Up/Down step by code; F3 goes to the first record; a
  // browsing card's F4 shows the last record, F2 past it starts a new one.
  struct Step {
    WPARAM key;
    const char* code;
    const char* name;
  };
  const Step steps[] = {
      {VK_F2, "0002", "ノート（Ａ４）"}, {VK_NEXT, "0003", "O'Brien の表ソ"}, {VK_F1, "0002", "ノート（Ａ４）"},
      {VK_PRIOR, "0001", "りんご"},     {VK_F1, "0001", "りんご"},          {VK_F4, "0004", "みかん"},
      {VK_F3, "0001", "りんご"},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.code);
    Press(step.key);
    EXPECT_EQ(Field("CODE"), step.code);
    EXPECT_EQ(Field("NAME"), step.name);
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
  EXPECT_EQ(WrittenNotices(), 0) << "nothing typed, nothing written";
  // A browsing card makes no new records: F2 on the last stays there.
  Press(VK_F4);
  Press(VK_F2);
  EXPECT_EQ(Field("CODE"), "0004");
  EXPECT_EQ(g_cardForm.entryState, kCardStoredRecord);
}

TEST_P(CardFormTest, AValueTypedIsStoredWhenAKeyLeavesTheRecord) {
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  // Quotes and the trail byte 0x5C reach the table as typed.
  const char* name = "O'Neil の表ソ'); --";
  TypeInto("NAME", name);
  Press(VK_TAB);
  TypeInto("QTY", "77");
  Press(VK_F2);
  EXPECT_EQ(Field("CODE"), "0002") << Boxes();
  EXPECT_EQ(StoredItems()["0001"], std::string(name) + ":77");
  EXPECT_EQ(WrittenNotices(), 1);
  // Esc writes too; the card opened again shows what was stored.
  TypeInto("QTY", "31");
  Press(VK_ESCAPE);
  EXPECT_EQ(Slot(0).window, nullptr) << "Esc closed the card";
  EXPECT_EQ(MessagesOf(owner_).back(), (ReceivedMessage{kMsgScreenClosed, kCardNumber, 0}));
  EXPECT_EQ(StoredItems()["0002"], "ノート（Ａ４）:31");
  ASSERT_EQ(Reopen(), 0) << Boxes();
  EXPECT_EQ(Field("NAME"), name);
  EXPECT_EQ(Field("QTY"), "77");
  EXPECT_EQ(StoredItems().size(), 4u);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(CardFormTest, ANewRecordTakesTheNextCodeAndIsInsertedWhenLeft) {
  ASSERT_EQ(OpenCard("○"), 0) << Boxes();
  EXPECT_EQ(Field("CODE"), "0005") << "the card starts with a new record after the last";
  EXPECT_EQ(Field("NAME"), "");
  TypeInto("NAME", "ぶどう");
  Press(VK_TAB);
  TypeInto("QTY", "9");
  Press(VK_F1);
  EXPECT_EQ(StoredItems()["0005"], "ぶどう:9") << Boxes();
  EXPECT_EQ(Field("CODE"), "0004") << "F1 showed the record before the new one";
  Press(VK_F2);
  EXPECT_EQ(Field("NAME"), "ぶどう");
  Press(VK_F2);
  EXPECT_EQ(Field("CODE"), "0006") << "F2 on the last record starts a new record";
  EXPECT_EQ(Field("NAME"), "");
  EXPECT_EQ(g_cardForm.entryState, kCardNewRecord);
  // A code typed for a new record must be free: the focus stays until it is.
  TypeInto("CODE", "2");
  Press(VK_TAB);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"コード番号“0002”はすでに登録されています。"});
  EXPECT_EQ(g_screen.currentItem, ResolveFieldRef(0, "CODE"));
  TypeInto("CODE", "8");
  Press(VK_TAB);
  TypeInto("NAME", "もも");
  Press(VK_F3);
  EXPECT_EQ(StoredItems()["0008"], "もも:0");
  EXPECT_EQ(StoredItems().count("0006"), 0u);
}

TEST_P(CardFormTest, NewCodesCountOnFromTheLastCode) {
  // The next code is the last code plus one as a digit string: four zeros
  // for an empty table, and "9999" wraps to "0000".
  struct Case {
    const char* last;  // the one row's code, nullptr for an empty table
    const char* next;
  };
  for (const Case& c : {Case{nullptr, "0001"}, Case{"0999", "1000"}, Case{"9999", "0000"}}) {
    SCOPED_TRACE(c.last ? c.last : "empty");
    ASSERT_EQ(ExecOnItems("delete from T_ITEMS"), 0);
    if (c.last) {
      ASSERT_EQ(ExecOnItems(std::string("insert into T_ITEMS (CODE,NAME,QTY) values (") + SqlLiteral(c.last) +
                            ",'x',1)"),
                0);
    }
    ASSERT_EQ(OpenCard("Ｎ"), 0) << Boxes();
    EXPECT_EQ(Field("CODE"), c.next);
    Press(VK_ESCAPE);
  }
}

TEST_P(CardFormTest, CopyAndDeleteWaitForTheInputToBeUnlocked) {
  ASSERT_EQ(OpenCard("○"), 0) << Boxes();
  Press(VK_F3);
  Press(VK_F4);
  ASSERT_EQ(Field("CODE"), "0005");
  Press(VK_F5);
  Press(VK_F7);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>(2, "入力画面がロックされています。"));
  ForgetBoxes();
  Press(VK_F12);
  Press(VK_F5);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"コード番号“0001”のデータを複写しました。"});
  EXPECT_EQ(Field("CODE"), "0005");
  EXPECT_EQ(Field("NAME"), "りんご");
  Press(VK_F2);
  EXPECT_EQ(StoredItems()["0005"], "りんご:12") << "the copy is stored when the card is left";
  ForgetBoxes();
  // Outside a new record there is nothing to copy into; a new record has
  // nothing to delete.
  Press(VK_F3);
  Press(VK_F5);
  Press(VK_F4);
  Press(VK_F7);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"新規登録キーを押した後､複写キーを押してください。",
                                                  "削除するデータが画面に表示されていません。"}));
  ForgetBoxes();
  Press(VK_F3);
  Press(VK_F7);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"0001 を削除してもよろしいですか？"});
  EXPECT_EQ(StoredItems().count("0001"), 0u);
  EXPECT_EQ(Field("CODE"), "0002") << "the next record is shown";
}

TEST_P(CardFormTest, ShowsTheRecordImageBesideItsField) {
  const std::string folder = folder_ + "\\images";
  CreateDirectoryA(folder.c_str(), nullptr);
  // The cut-out of the name field of record 0002, 120 x 40: a frame and a
  // band across its middle.
  const Picture cutOut = PatternPicture(120, 40, [](int x, int y) {
    return x < 3 || y < 3 || x > 116 || y > 36 || (y >= 16 && y <= 24);
  });
  ASSERT_TRUE(WriteBmp(folder + "\\0002_NAME.BMP", cutOut, 1));
  SetCardImageComparison(folder.c_str(), 50);
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  EXPECT_TRUE(g_cardForm.images.empty()) << "record 0001 has no image";
  Press(VK_F2);
  ASSERT_EQ(g_cardForm.images.size(), 1u);
  const CardRecordImage& shown = g_cardForm.images[0];
  EXPECT_EQ(shown.item, ResolveFieldRef(0, "NAME"));
  EXPECT_EQ(shown.width, 60);
  EXPECT_EQ(shown.height, 20);
  // Painted right of the field.
  ShowWindow(Card(), SW_SHOW);
  UpdateWindow(Card());
  const RECT field = ItemPixelRect(shown.item);
  HDC dc = GetDC(Card());
  const COLORREF inside = GetPixel(dc, field.right + 30 - Slot(0).scrollX, field.top + 10 - Slot(0).scrollY);
  ReleaseDC(Card(), dc);
  EXPECT_EQ(inside, kBlack);
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
    SaveWindowPicture(Card(), std::string(pictures) + "\\card_form_record_image.png");
  }
  Press(VK_F2);
  EXPECT_TRUE(g_cardForm.images.empty()) << "each record shows its own images";
}

TEST_P(CardFormTest, RangeJobsAndTheNumberSearchRunFromTheJobDialog) {
  constexpr int kRangeDelete = 204, kRangeInput = 205;
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  // F8: the number search, a code typed without its zeros.
  Press(VK_F8);
  TypeIntoDialog("FCODE", "3");
  RunJob();
  EXPECT_EQ(DialogSlot(), -1) << "the dialog closed";
  EXPECT_EQ(Field("CODE"), "0003");
  // Range input into the field the focus is on, a quote in the value.
  ASSERT_TRUE(TypeIntoField(0, "NAME", Field("NAME").c_str()));
  ChooseJob(kRangeInput);
  EXPECT_EQ(ShownText(1, "SNO"), "0001") << "the range offered is the table's";
  EXPECT_EQ(ShownText(1, "ENO"), "0004");
  TypeIntoDialog("SNO", "0002");
  TypeIntoDialog("ENO", "0003");
  TypeIntoDialog("INPDAT", "済'み");
  RunJob();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"0002～0003に“済'み”を書き込みます。"});
  const std::map<std::string, std::string> filled = {
      {"0001", "りんご:12"}, {"0002", "済'み:30"}, {"0003", "済'み:5"}, {"0004", "みかん:48"}};
  EXPECT_EQ(StoredItems(), filled);
  EXPECT_EQ(Field("NAME"), "済'み") << "the card shows the new value";
  ForgetBoxes();
  ChooseJob(kRangeDelete);
  TypeIntoDialog("SNO", "0001");
  TypeIntoDialog("ENO", "0002");
  RunJob();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"コード番号 0001～0002 を削除します。"});
  EXPECT_EQ(StoredItems().size(), 2u);
  EXPECT_EQ(StoredItems().count("0002"), 0u);
  EXPECT_EQ(Field("CODE"), "0003") << "the first record after the range";
}

TEST_P(CardFormTest, WritesTheRecordsOfARangeToACsvFile) {
  constexpr int kCsvOutput = 202;
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  const std::string file = folder_ + "\\card.csv";
  DeleteFileA(file.c_str());
  struct Case {
    const char* what;
    const char* name;  // of the file, in the test's folder
    const char* start;
    const char* end;
    bool titlesAndQuotes;  // both options on
    std::vector<std::string> boxes;
    const char* text;  // of card.csv afterwards
  };
  const std::string path = folder_ + "\\card.csv";
  const Case cases[] = {
      {"no CSV or TXT extension", "card.dat", "0002", "0003", false,
       {"出力するファイルの拡張子は、“CSV”または“TXT”にしてください。（" + folder_ + "\\card.dat）"}, "<missing>"},
      {"a start code not stored", "card.csv", "0009", "0010", false,
       {"ＣＳＶファイル“" + path + "”を作成します。", "“0009”は登録されていません。"}, "<missing>"},
      {"plain, a line break after QTY", "card.csv", "0002", "0003", false,
       {"ＣＳＶファイル“" + path + "”を作成します。", "“" + path + "”に、2件のデータを出力しました。"},
       "0002,ノート（Ａ４）,30\r\n02\r\n0003,O'Brien の表ソ,5\r\n03\r\n"},
      {"names and quotes, over the old file", "card.csv", "0002", "0003", true,
       {"ＣＳＶファイル“" + path + "”を作成します。",
        "ＣＳＶファイル“" + path + "”は既に存在します。\n上書きしてもよろしいですか？",
        "“" + path + "”に、2件のデータを出力しました。"},
       "\"CODE\",\"NAME\",\"QTY\",\"CAT\"\r\n\"0002\",\"ノート（Ａ４）\",30\r\n\"02\"\r\n"
       "\"0003\",\"O'Brien の表ソ\",5\r\n\"03\"\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ForgetBoxes();
    ChooseJob(kCsvOutput);
    TypeIntoDialog("TXTO", (folder_ + "\\" + c.name).c_str());
    TypeIntoDialog("SNO", c.start);
    TypeIntoDialog("ENO", c.end);
    SetCheck("TTLPUT", c.titlesAndQuotes);
    SetCheck("DQPUT", c.titlesAndQuotes);
    RunJob();
    EXPECT_EQ(BoxTexts(), c.boxes);
    EXPECT_EQ(ReadBytes(file).empty() ? std::string("<missing>") : ReadBytes(file), c.text);
  }
}

TEST_P(CardFormTest, ClosingWithCtrlShiftAltOffersToDropTheTable) {
  const auto tableThere = [] {
    const int t = db_open_nocreate("", kFixtureDb, "T_ITEMS", -1, "", "", "");
    if (t > 0) db_close(t);
    return t > 0;
  };
  const auto closeHoldingAll = [this] {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_CONTROL] = keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(Card(), WM_CLOSE, 0, 0);
    keys[VK_SHIFT] = keys[VK_CONTROL] = keys[VK_MENU] = 0;
    SetKeyboardState(keys);
  };
  const std::vector<std::string> question = {"テーブル“SCRTEST-T_ITEMS”を削除してもよろしいですか？"};
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  boxes_->Answer(IDNO);
  closeHoldingAll();
  EXPECT_EQ(BoxTexts(), question);
  EXPECT_TRUE(tableThere()) << "No keeps the table";
  EXPECT_EQ(Slot(0).window, nullptr) << "the card closed all the same";
  ASSERT_EQ(Reopen(), 0) << Boxes();
  ForgetBoxes();
  SendMessageA(Card(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(BoxTexts().empty()) << "a plain close asks nothing";
  ASSERT_EQ(Reopen(), 0) << Boxes();
  ForgetBoxes();
  closeHoldingAll();
  EXPECT_EQ(BoxTexts(), question);
  EXPECT_FALSE(tableThere());
}

// A card of people: the birth date is typed as a date and the age shown
// beside it.
TEST_P(CardFormTest, ABirthDateIsTypedAsADateAndShowsTheAge) {
  const std::string spec = std::string(GetSpecFolder()) + "\\T_PERSON.SPC";
  ASSERT_TRUE(WriteBytes(spec,
                         "T_PERSON\r\nFIELD\r\n\"コード\",\"char*\",\"CODE\",4,0,0,\"\",4\r\n"
                         "\"生年月日\",\"char*\",\"BIRTH\",10,0,0,\"\",10\r\nINDEX\r\n\"CODE\",\"△\"\r\nEND\r\n"));
  const int t = db_alloc_slot("", kFixtureDb, "T_PERSON", -1);
  ASSERT_GT(t, 0);
  ExecSlotSql(t, "drop table T_PERSON", 1);
  db_disconnect(t);
  ASSERT_EQ(CreateTableFromSpec("", kFixtureDb, "T_PERSON", -1, "", "T_PERSON"), 0) << Boxes();
  const int rows = db_alloc_slot("", kFixtureDb, "T_PERSON", -1);
  ASSERT_EQ(db_exec(rows, "insert into T_PERSON (CODE,BIRTH) values ('0001','1990/04/01')"), 0);
  ASSERT_EQ(db_exec(rows, "insert into T_PERSON (CODE,BIRTH) values ('0002','')"), 0);
  db_disconnect(rows);
  const char text[] =
      "[screen]\nSCRCODE = TEST-CARDP\nSCRNAME = TEST-CARDP\nSCRTYPE = ｶｰﾄﾞ\nSCRTITLE = 名簿\nSCRTBL = T_PERSON\n"
      "SCRDBS = SCRTEST\nSCRINP = △\nSCRCSIZ = 8\nSCRWID = 60\nSCRHIG = 12\nSCRPOS = 左上\nSCRNO = 34\n"
      "SCRFKEY = 2222222222222000\n\n"
      "[field]\nFLDCODE = 001\nFLDNAME = CODE\nFLDTITLE = コード\nFLDTYPE = 数字\nFLDEDT = ZERO\nFLDSMSU = 4\n"
      "FLDX = 14\nFLDY = 3\n\n"
      "[field]\nFLDCODE = 002\nFLDNAME = BIRTH\nFLDTITLE = 生年月日\nFLDTYPE = 生年\nFLDSMSU = 10\nFLDX = 14\n"
      "FLDY = 5\n\n"
      "[field]\nFLDCODE = 003\nFLDNAME = AGE\nFLDTITLE = 年齢\nFLDTYPE = 年令\nFLDSMSU = 3\nFLDX = 14\nFLDY = 7\n";
  ASSERT_EQ(LoadTexts({{"TEST-CARDP.txt", text}}), 1) << Boxes();
  ForgetBoxes();
  ASSERT_EQ(OpenScreenDef("", kFixtureDb, "TEST-CARDP", -1, -1, "", owner_), 0) << Boxes();
  PumpMessages();
  // The whole years since a birth date, counted here from today's date.
  SYSTEMTIME today;
  GetLocalTime(&today);
  const auto ageOf = [&](int year, int month, int day) {
    return today.wYear - year - (today.wMonth * 100 + today.wDay < month * 100 + day ? 1 : 0);
  };
  EXPECT_EQ(Field("BIRTH"), "1990/04/01");
  EXPECT_EQ(Field("AGE"), std::to_string(ageOf(1990, 4, 1)));
  Press(VK_F2);
  EXPECT_EQ(Field("AGE"), "") << "no birth date, no age";
  TypeInto("BIRTH", "2000/1/5");
  Press(VK_TAB);
  EXPECT_EQ(Field("BIRTH"), "2000/01/05");
  EXPECT_EQ(Field("AGE"), std::to_string(ageOf(2000, 1, 5)));
  Press(VK_F1);
  const int stored = db_open("", kFixtureDb, "T_PERSON", -1, "", "", "");
  ASSERT_GT(stored, 0);
  ASSERT_EQ(db_search(stored, "0002", "CODE"), 0);
  EXPECT_STREQ(GetColumnText(stored, "BIRTH"), "2000/01/05");
  db_close(stored);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

INSTANTIATE_TEST_SUITE_P(Databases, CardFormTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

// The print buttons of the card: every record, a range, the shown card.
constexpr char kPrintButtons[] =
    "\n[field]\nFLDCODE = 005\nFLDNAME = PRNALL\nFLDTITLE = 全件印刷\nFLDTYPE = PBUT\nFLDTTL = FT\n"
    "FLDEDT = 中央\nFLDSMSU = 10\nFLDX = 4\nFLDY = 26\nFLDCD = #211\n\n"
    "[field]\nFLDCODE = 006\nFLDNAME = PRNRANGE\nFLDTITLE = 範囲印刷\nFLDTYPE = PBUT\nFLDTTL = FT\n"
    "FLDEDT = 中央\nFLDSMSU = 10\nFLDX = 24\nFLDY = 26\nFLDCD = #212\n\n"
    "[field]\nFLDCODE = 007\nFLDNAME = PRNSHOWN\nFLDTITLE = 表示印刷\nFLDTYPE = PBUT\nFLDTTL = FT\n"
    "FLDEDT = 中央\nFLDSMSU = 10\nFLDX = 44\nFLDY = 26\nFLDCD = #213\n";

// Record images of 200 x 60, all ink, so that a page shows where they went.
bool AllInk(int, int) { return true; }

// Printing cards from the card's buttons through the print-settings screen
// of cards, on the PDF printer of the tests' cupsd.
class CardPrintTest : public CardFormTest {
 protected:
  void RegisterWindows() override {
    CardFormTest::RegisterWindows();
    if (!g_printSettingsWindow.window) RegisterPrintSettingsClass();
    ASSERT_NE(g_printSettingsWindow.window, nullptr);
  }
  void SetUp() override {
    CardFormTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    DeleteFileA(PrintSettingsFilePath().c_str());
    g_printSettings = PrintSettings();
    // Record 0002 has images of its name (right of the field), its quantity
    // (below it) and its category, whose field shows none.
    images_ = folder_ + "\\print_images";
    CreateDirectoryA(images_.c_str(), nullptr);
    for (const char* field : {"NAME", "QTY", "CAT"}) {
      ASSERT_TRUE(WriteBmp(images_ + "\\0002_" + field + ".BMP", PatternPicture(200, 60, AllInk), 1));
    }
    SetCardImageComparison(images_.c_str(), 100);
  }
  void TearDown() override {
    if (IsValidSlot(g_printSettingsWindow.slot)) SendMessageA(g_printSettingsWindow.window, kMsgCloseWindow, 0, 0);
    DeleteFileA(PrintSettingsFilePath().c_str());
    for (const char* field : {"NAME", "QTY", "CAT"}) DeleteFileA((images_ + "\\0002_" + field + ".BMP").c_str());
    CardFormTest::TearDown();
  }

  int OpenPrintingCard(const char* input) {
    if (LoadTexts({{"TEST-CARDF.txt", CardScreenText(input) + kPrintButtons}}) != 1) return -1;
    ForgetBoxes();
    return Reopen();
  }
  void ClickButton(const char* name) {
    const int item = ResolveFieldRef(0, name);
    ASSERT_GE(item, 0) << name;
    const RECT r = ItemPixelRect(item);
    ClickAt(Card(), (r.left + r.right) / 2 - Slot(0).scrollX, (r.top + r.bottom) / 2 - Slot(0).scrollY);
    PumpMessages();
  }
  static bool SettingsOpen() { return IsValidSlot(g_printSettingsWindow.slot); }
  // The settings screen's keys, pressed in the field being typed into.
  void PressInSettings(WPARAM key) {
    PressKey(Slot(g_printSettingsWindow.slot).editControl, key);
    PumpMessages();
  }
  void TypeIntoSettings(const char* name, const char* text) {
    ASSERT_TRUE(SettingsOpen());
    ASSERT_TRUE(TypeIntoField(g_printSettingsWindow.slot, name, text)) << name;
    PressInSettings(VK_TAB);
  }
  // F1 of the settings screen prints on the default printer; the pages of
  // the job as the PDF printer wrote them.
  std::vector<PdfPage> PrintFromSettings(const char* what) {
    const std::string name = UniqueDocumentName(what);
    g_reportOutput.documentName = name;
    ModalDialogRecorder dialogs(ChooseDefaultPrinter);
    PressInSettings(VK_F1);
    if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
      const std::string pdf = WaitForPdfFile(name, 60);
      CopyFileA(pdf.c_str(), (std::string(pictures) + "\\card_print_" + what + ".pdf").c_str(), FALSE);
    }
    return WaitForPrintedPages(name, 50);
  }

  // Millimetres from the printer page's top left of a screen pixel (x, y):
  // below the header band, (x + 5 x left margin - 9) x 0.2 mm and
  // (y + 5 x top margin) x 0.2 mm from the origin of the printer's page.
  static double PageMmX(int x) {
    return PrinterOffsetMm(PHYSICALOFFSETX, LOGPIXELSX) + (x + 5 * g_printSettings.leftMargin - 9) * 0.2;
  }
  static double PageMmY(int y) {
    return PrinterOffsetMm(PHYSICALOFFSETY, LOGPIXELSY) +
           (y - Slot(0).headerHeight + 5 * g_printSettings.topMargin) * 0.2;
  }
  static double PrinterOffsetMm(int offset, int dpi) {
    const HDC printer = CreateDCA("WINSPOOL", DefaultPrinterName().c_str(), nullptr, nullptr);
    if (!printer) return -1000;
    const double mm = GetDeviceCaps(printer, offset) * 25.4 / GetDeviceCaps(printer, dpi);
    DeleteDC(printer);
    return mm;
  }

  // The share of a page's pixels inked where a record image of 200 x 60
  // prints beside the field `name` (right of it, else below it): 100 x 30
  // report units of 0.2 mm at half the card's 100 %, less a millimetre all
  // round.
  static double ImageInk(const PdfPage& page, const char* name, bool right) {
    const RECT r = ItemPixelRect(ResolveFieldRef(0, name));
    const double x = right ? PageMmX(r.right + 1) : PageMmX(r.left);
    const double y = right ? PageMmY(r.top) : PageMmY(r.bottom + 1);
    const double pixels = 18 * 4 * (page.dpi / 25.4) * (page.dpi / 25.4);
    return page.InkInMm(x + 1, y + 1, x + 19, y + 5, 128) / pixels;
  }

  // Black pixels of the preview beside the settings, as the display shows
  // it once the card has drawn its page there.
  static int PreviewBlackPixels() {
    const HWND preview = g_printSettingsWindow.preview;
    RunDisplayMessages();
    RECT client{};
    GetClientRect(preview, &client);
    MemoryCanvas canvas(client.right, client.bottom);
    const HDC dc = GetDC(preview);
    BitBlt(canvas.dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(preview, dc);
    return canvas.CountColor(0, 0, client.right, client.bottom, kBlack);
  }

  std::string images_;
};

TEST_P(CardPrintTest, PrintsEveryRecordARangeAndTheShownCardAPageEach) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ASSERT_EQ(OpenPrintingCard("△"), 0) << Boxes();
  struct Case {
    const char* button;
    const char* start;  // offered by the settings screen
    const char* end;
    const char* typedStart;  // typed over the offer, or nullptr
    const char* typedEnd;
    size_t pages;
    int imagePage;  // the page of record 0002, whose name has an image; -1 none
  };
  const Case cases[] = {
      {"PRNALL", "0001", "0004", nullptr, nullptr, 4, 1},
      {"PRNRANGE", "0001", "0004", "0002", "0003", 2, 0},
      {"PRNRANGE", "0002", "0003", nullptr, nullptr, 2, 0},  // the range printed last
      {"PRNSHOWN", "0001", "0001", nullptr, nullptr, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " " + c.start);
    ClickButton(c.button);
    ASSERT_TRUE(SettingsOpen()) << Boxes();
    EXPECT_FALSE(IsWindowEnabled(Card())) << "the card waits for its settings";
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "SNO"), c.start);
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "ENO"), c.end);
    if (c.typedStart) {
      TypeIntoSettings("SNO", c.typedStart);
      TypeIntoSettings("ENO", c.typedEnd);
    }
    const std::vector<PdfPage> pages = PrintFromSettings(c.button);
    ASSERT_EQ(pages.size(), c.pages);
    for (size_t k = 0; k < pages.size(); ++k) {
      SCOPED_TRACE(k);
      const double ink = ImageInk(pages[k], "NAME", true);
      if (static_cast<int>(k) == c.imagePage) {
        EXPECT_GT(ink, 0.8);
      } else {
        EXPECT_EQ(ink, 0);
      }
    }
    PressInSettings(VK_ESCAPE);
    EXPECT_FALSE(SettingsOpen());
    EXPECT_TRUE(IsWindowEnabled(Card()));
    EXPECT_EQ(Field("CODE"), "0001") << "the card shows its record again";
    EXPECT_EQ(Field("NAME"), "りんご");
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(CardPrintTest, ACardPrintsWithItsRecordImagesBesideAndBelowItsFields) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ASSERT_EQ(OpenPrintingCard("△"), 0) << Boxes();
  // The preview beside the settings shows the shown card: record 0002's
  // two images of 100 x 30 report units ink about 6,000 more pixels than
  // record 0001, which has none.
  ClickButton("PRNSHOWN");
  ASSERT_TRUE(SettingsOpen()) << Boxes();
  const int withoutImages = PreviewBlackPixels();
  PressInSettings(VK_ESCAPE);
  Press(VK_F2);
  ASSERT_EQ(Field("CODE"), "0002");
  ClickButton("PRNSHOWN");
  ASSERT_TRUE(SettingsOpen()) << Boxes();
  EXPECT_GT(PreviewBlackPixels() - withoutImages, 4000);
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
    SaveWindowPicture(g_printSettingsWindow.window, std::string(pictures) + "\\card_print_preview.png");
  }
  EXPECT_EQ(Field("CODE"), "0002") << "the card shows its record again";
  const std::vector<PdfPage> pages = PrintFromSettings("images");
  ASSERT_EQ(pages.size(), 1u);
  // Right of the name, below the quantity; none for the category, whose
  // field shows no image.
  EXPECT_GT(ImageInk(pages[0], "NAME", true), 0.8);
  EXPECT_GT(ImageInk(pages[0], "QTY", false), 0.8);
  EXPECT_EQ(ImageInk(pages[0], "CAT", true), 0);
  EXPECT_EQ(ImageInk(pages[0], "CAT", false), 0);
  // The buttons of the key bar stay on the screen: nothing above the code.
  const double codeTop = PageMmY(ItemPixelRect(ResolveFieldRef(0, "CODE")).top);
  EXPECT_EQ(pages[0].InkInMm(0, 0, 210, codeTop - 1), 0);
  PressInSettings(VK_ESCAPE);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// The other ways to printing offer every record: a card opened to be
// printed (open mode -14) opens its print settings at once, and F9's menu
// offers "帳  票 印 刷" (211) in its first row.
TEST_P(CardPrintTest, OpenedForPrintingOrFromF9TheSettingsOfferEveryRecord) {
  struct Case {
    const char* what;
    int openMode;
    bool f9;
  };
  for (const Case& c : {Case{"open mode -14", -14, false}, Case{"F9's menu", -1, true}}) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(LoadTexts({{"TEST-CARDF.txt", CardScreenText("△") + kPrintButtons}}), 1);
    ForgetBoxes();
    ASSERT_EQ(OpenScreenDef("", kFixtureDb, "TEST-CARDF", -1, c.openMode, "", owner_), 0) << Boxes();
    PumpMessages();
    if (c.f9) {
      Press(VK_F9);
      ASSERT_EQ(g_screen.popupOpen, 1);
      const int middle = 2 + (Item(ResolveFieldRef(0, "FKEY09")).charSize * 2 + 12) / 2;
      PostMessageA(g_screen.popupWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, middle));
      PostMessageA(g_screen.popupWindow, WM_LBUTTONUP, 0, MAKELPARAM(10, middle));
      PumpMessages();
    }
    ASSERT_TRUE(SettingsOpen()) << Boxes();
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "SNO"), "0001");
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "ENO"), "0004");
    PressInSettings(VK_ESCAPE);
    EXPECT_TRUE(IsWindowEnabled(Card()));
    EXPECT_EQ(Field("CODE"), "0001");
    Press(VK_ESCAPE);
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(CardPrintTest, NothingToPrintOpensNoSettings) {
  struct Case {
    const char* what;
    const char* input;
    bool emptyTable;
    const char* button;
    const char* box;
  };
  const Case cases[] = {
      {"a new record shown", "○", false, "PRNSHOWN", "印刷するデータが画面に表示されていません。"},
      {"an empty table", "○", true, "PRNALL", "データは登録されていません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.emptyTable) {
      ASSERT_EQ(ExecOnItems("delete from T_ITEMS"), 0);
    }
    ASSERT_EQ(OpenPrintingCard(c.input), 0) << Boxes();
    ClickButton(c.button);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
    EXPECT_FALSE(SettingsOpen());
    Press(VK_ESCAPE);
  }
}

INSTANTIATE_TEST_SUITE_P(FileDatabase, CardPrintTest, testing::Values(kDbKindFile), KindName);

}  // namespace
