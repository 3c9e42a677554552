// The card form under Wine, driven as the operator drives it: a card over
// T_ITEMS of the screen fixture, its fields clicked and typed into, its
// keys pressed in the field being typed into. What it stores is read back
// from the table through a connection of the test's own, on the file
// database (SQLite) and on the server database (PostgreSQL).
#include <windows.h>

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
#include "tests/entry/card_form_fixture.h"
#include "tests/entry/form_input.h"
#include "tests/entry/spreadsheet_setting.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"

namespace {

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
  // With a spreadsheet program named in USER.INI, the file opens in it
  // instead of the count being reported.
  ProgramStartRecorder starts;
  {
    SpreadsheetSetting setting;
    setting.Name("C:\\Tools\\calc.exe");
    ForgetBoxes();
    ChooseJob(kCsvOutput);
    TypeIntoDialog("TXTO", path.c_str());
    RunJob();
  }
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"ＣＳＶファイル“" + path + "”を作成します。",
                                                  "ＣＳＶファイル“" + path + "”は既に存在します。\n上書きしてもよろしいですか？"}));
  ASSERT_EQ(starts.calls().size(), 1u);
  EXPECT_EQ(starts.calls()[0].commandLine, "C:\\Tools\\calc.exe \"" + path + "\"");
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

TEST_P(CardFormTest, AWriteRefusedAsTheFrameClosesKeepsTheCardAndItsValue) {
  // Two items never share a name: the second such write is refused.
  ASSERT_EQ(ExecOnItems("create unique index T_ITEMS_NAME on T_ITEMS (NAME)"), 0);
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  TypeInto("NAME", "みかん");
  const auto closeByFrame = [this] {
    PostMessageA(Card(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
  };
  closeByFrame();
  ASSERT_EQ(BoxTexts().size(), 2u) << "the database's refusal is told";
  EXPECT_EQ(BoxTexts()[1].rfind("[update T_ITEMS set NAME=", 0), 0u) << Boxes();
  ASSERT_TRUE(IsWindowVisible(Card())) << "the card stays open";
  EXPECT_EQ(Field("NAME"), "みかん") << "with what was typed";
  EXPECT_EQ(StoredItems()["0001"], "りんご:12");
  EXPECT_EQ(WrittenNotices(), 0);
  // Put right, the frame writes it and closes.
  ForgetBoxes();
  TypeInto("NAME", "青りんご");
  closeByFrame();
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
  EXPECT_EQ(Slot(0).window, nullptr);
  EXPECT_EQ(StoredItems()["0001"], "青りんご:12");
  ASSERT_EQ(Reopen(), 0) << Boxes();
  EXPECT_EQ(Field("NAME"), "青りんご");
}

// A card whose fields take more than their columns hold: what a column
// cannot hold whole is refused as the card is written, the card stays
// open with it, and the stored record stays.
TEST_P(CardFormTest, AValueItsColumnCannotHoldIsRefusedAndTheRecordStays) {
  std::string text = CardScreenText("△");
  ASSERT_TRUE(ChangeScreenText(&text, {{"FLDTYPE = 半角\nFLDSMSU = 30", "FLDTYPE = 半角\nFLDSMSU = 50"},
                                      {"FLDEDT = 右詰\nFLDSMSU = 6", "FLDEDT = 右詰\nFLDSMSU = 12"},
                                      {"FLDTYPE = 半角\nFLDSMSU = 2", "FLDTYPE = 半角\nFLDSMSU = 4"}}));
  ASSERT_EQ(LoadTexts({{"TEST-CARDF.txt", text}}), 1) << Boxes();
  ASSERT_EQ(Reopen(), 0) << Boxes();
  const struct Case {
    const char *field, *typed, *refusal;
  } cases[] = {
      {"NAME", "abcdefghijklmnopqrstuvwxyzabcdefghijklmno", "“NAME”の値は長すぎて入りきらない"},
      {"QTY", "99999999999", "“QTY”の値は大きすぎるため"},
      {"CAT", "あい", "“CAT”の値は長すぎて入りきらない"},
  };
  const auto closeByFrame = [this] {
    PostMessageA(Card(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
  };
  const std::map<std::string, std::string> stored = StoredItems();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    const std::string shown = Field(c.field);
    ForgetBoxes();
    TypeInto(c.field, c.typed);
    closeByFrame();
    ASSERT_EQ(BoxTexts().size(), 1u) << Boxes();
    EXPECT_NE(BoxTexts()[0].find(c.refusal), std::string::npos) << BoxTexts()[0];
    ASSERT_TRUE(IsWindowVisible(Card()));
    EXPECT_EQ(Field(c.field), c.typed);
    EXPECT_EQ(StoredItems(), stored);
    TypeInto(c.field, shown.c_str());
  }
  ForgetBoxes();
  closeByFrame();
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
  EXPECT_EQ(StoredItems(), stored);
}

// T_PERSON of people by code with their birth dates: 0001 born 1990/04/01,
// 0002 without a birth date.
void MakePersonTable() {
  const std::string spec = std::string(GetSpecFolder()) + "\\T_PERSON.SPC";
  ASSERT_TRUE(WriteBytes(spec,
                         "T_PERSON\r\nFIELD\r\n\"コード\",\"char*\",\"CODE\",4,0,0,\"\",4\r\n"
                         "\"生年月日\",\"char*\",\"BIRTH\",10,0,0,\"\",10\r\nINDEX\r\n\"CODE\",\"△\"\r\nEND\r\n"));
  const int t = db_alloc_slot("", kFixtureDb, "T_PERSON", -1);
  ASSERT_GT(t, 0);
  ExecSlotSql(t, "drop table T_PERSON", 1);
  db_disconnect(t);
  ASSERT_EQ(CreateTableFromSpec("", kFixtureDb, "T_PERSON", -1, "", "T_PERSON"), 0);
  const int rows = db_alloc_slot("", kFixtureDb, "T_PERSON", -1);
  ASSERT_EQ(db_exec(rows, "insert into T_PERSON (CODE,BIRTH) values ('0001','1990/04/01')"), 0);
  ASSERT_EQ(db_exec(rows, "insert into T_PERSON (CODE,BIRTH) values ('0002','')"), 0);
  db_disconnect(rows);
}

// A card of T_PERSON: the code, the birth date and the age beside it.
const char kPersonCard[] =
    "[screen]\nSCRCODE = TEST-CARDP\nSCRNAME = TEST-CARDP\nSCRTYPE = ｶｰﾄﾞ\nSCRTITLE = 名簿\nSCRTBL = T_PERSON\n"
    "SCRDBS = SCRTEST\nSCRINP = △\nSCRCSIZ = 8\nSCRWID = 60\nSCRHIG = 12\nSCRPOS = 左上\nSCRNO = 34\n"
    "SCRFKEY = 2222222222222000\n\n"
    "[field]\nFLDCODE = 001\nFLDNAME = CODE\nFLDTITLE = コード\nFLDTYPE = 数字\nFLDEDT = ZERO\nFLDSMSU = 4\n"
    "FLDX = 14\nFLDY = 3\n\n"
    "[field]\nFLDCODE = 002\nFLDNAME = BIRTH\nFLDTITLE = 生年月日\nFLDTYPE = 生年\nFLDSMSU = 10\nFLDX = 14\n"
    "FLDY = 5\n\n"
    "[field]\nFLDCODE = 003\nFLDNAME = AGE\nFLDTITLE = 年齢\nFLDTYPE = 年令\nFLDSMSU = 3\nFLDX = 14\nFLDY = 7\n";

// A card of people: the birth date is typed as a date and the age shown
// beside it.
TEST_P(CardFormTest, ABirthDateIsTypedAsADateAndShowsTheAge) {
  MakePersonTable();
  ASSERT_EQ(LoadTexts({{"TEST-CARDP.txt", kPersonCard}}), 1) << Boxes();
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
  // A day the calendar does not have is refused as the card is written,
  // which then stays on the record with it.
  TypeInto("BIRTH", "2026/02/30");
  Press(VK_TAB);
  Press(VK_F1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"“生年月日”は、日付として正しくありません。[2026/02/30]"});
  EXPECT_EQ(Field("BIRTH"), "2026/02/30");
  const int again = db_open("", kFixtureDb, "T_PERSON", -1, "", "", "");
  ASSERT_GT(again, 0);
  ASSERT_EQ(db_search(again, "0002", "CODE"), 0);
  EXPECT_STREQ(GetColumnText(again, "BIRTH"), "2000/01/05");
  db_close(again);
}

// The era form of the birth date stands in the field beside it that the
// screen names after it: shown with every record, with what is typed as
// the field is left, across the first days of eras, and again when the
// card is opened anew.
TEST_P(CardFormTest, TheEraFieldBesideADateShowsItsEraAcrossEraChanges) {
  MakePersonTable();
  const std::string text = std::string(kPersonCard) +
                           "\n[field]\nFLDCODE = 004\nFLDNAME = BIRTH和暦\nFLDTITLE = 和暦\nFLDTYPE = 全角\n"
                           "FLDLOCK = ×\nFLDSMSU = 16\nFLDX = 30\nFLDY = 5\n";
  ASSERT_EQ(LoadTexts({{"TEST-CARDP.txt", text}}), 1) << Boxes();
  ForgetBoxes();
  const auto open = [&] {
    ASSERT_EQ(OpenScreenDef("", kFixtureDb, "TEST-CARDP", -1, -1, "", owner_), 0) << Boxes();
    PumpMessages();
  };
  open();
  EXPECT_EQ(Field("BIRTH"), "1990/04/01");
  EXPECT_EQ(Field("BIRTH和暦"), "平成 2年 4月 1日");
  Press(VK_F2);
  EXPECT_EQ(Field("BIRTH和暦"), "") << "no date, no era";
  const struct Case {
    const char* typed;
    const char* date;
    const char* era;
  } cases[] = {
      {"2019/4/30", "2019/04/30", "平成31年 4月30日"}, {"2019/5/1", "2019/05/01", "令和 1年 5月 1日"},
      {"1989/01/07", "1989/01/07", "昭和64年 1月 7日"}, {"1989/01/08", "1989/01/08", "平成 1年 1月 8日"},
      {"r8/2/28", "2026/02/28", "令和 8年 2月28日"},    {"1868/10/22", "1868/10/22", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    TypeInto("BIRTH", c.typed);
    Press(VK_TAB);
    EXPECT_EQ(Field("BIRTH"), c.date);
    EXPECT_EQ(Field("BIRTH和暦"), c.era);
  }
  // A day the calendar lacks is refused as the card is written; the era of
  // the date that stays is shown again with the record.
  TypeInto("BIRTH", "2026/02/30");
  Press(VK_TAB);
  EXPECT_EQ(Field("BIRTH和暦"), "") << "no date of the calendar, no era";
  Press(VK_F1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"“生年月日”は、日付として正しくありません。[2026/02/30]"});
  TypeInto("BIRTH", "2019/5/1");
  Press(VK_TAB);
  Press(VK_F1);
  EXPECT_EQ(Field("CODE"), "0001");
  Press(VK_ESCAPE);
  ASSERT_EQ(Slot(0).window, nullptr) << "Esc closed the card";
  open();
  Press(VK_F2);
  EXPECT_EQ(Field("BIRTH"), "2019/05/01");
  EXPECT_EQ(Field("BIRTH和暦"), "令和 1年 5月 1日");
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
    SaveWindowPicture(Card(), std::string(pictures) + "\\card_form_era_field.png");
  }
}

// The card's window moved and sized (as the window manager does for a
// drag of its frame) opens there again after Esc; one left as it opened
// keeps its screen's own place.
TEST_P(CardFormTest, TheCardOpensAgainWhereItsWindowWasLeft) {
  ASSERT_EQ(OpenCard("△"), 0) << Boxes();
  RECT opened, again;
  ASSERT_TRUE(GetWindowRect(Card(), &opened));
  Press(VK_ESCAPE);
  ASSERT_EQ(Slot(0).window, nullptr) << "Esc closed the card";
  ASSERT_EQ(Reopen(), 0) << Boxes();
  ASSERT_TRUE(GetWindowRect(Card(), &again));
  EXPECT_TRUE(EqualRect(&opened, &again));
  const int unit = Slot(0).fontUnit, pitch = Slot(0).rowPitch;
  const RECT moved = {unit * 12, pitch * 4, unit * 62, pitch * 18};
  ASSERT_TRUE(SetWindowPos(Card(), nullptr, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top,
                           SWP_NOZORDER | SWP_NOACTIVATE));
  PumpMessages();
  Press(VK_ESCAPE);
  ASSERT_EQ(Slot(0).window, nullptr) << "Esc closed the card";
  ASSERT_EQ(Reopen(), 0) << Boxes();
  ASSERT_TRUE(GetWindowRect(Card(), &again));
  EXPECT_EQ(again.left, moved.left);
  EXPECT_EQ(again.top, moved.top);
  EXPECT_EQ(again.right - again.left, moved.right - moved.left);
  EXPECT_NEAR(again.bottom - again.top, moved.bottom - moved.top, pitch / 2);
  EXPECT_EQ(Field("CODE"), "0001") << "the card shows its records as before";
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

INSTANTIATE_TEST_SUITE_P(Databases, CardFormTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
