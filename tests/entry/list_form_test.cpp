// The list form under Wine, driven by keys and mouse messages: paging
// through a table larger than a page, typing into cells, copying,
// inserting, deleting and moving records with their codes renumbered in
// one transaction (also when the program dies in the middle), on the file
// database (SQLite) and the server database (PostgreSQL).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/imaging.h"
#include "screen/screen.h"
#include "tests/entry/form_input.h"
#include "tests/entry/list_form_fixture.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/environment_text.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/window_picture.h"

namespace {

std::string Code(int n) {
  char code[8];
  std::snprintf(code, sizeof code, "%04d", n);
  return code;
}

// Keys of a page whose line 1 is `first`, up to the last row.
std::vector<std::string> PageFrom(int first) {
  std::vector<std::string> keys;
  for (int line = 0; line < kPageLines; ++line) keys.push_back(first + line <= kListRows ? Code(first + line) : "");
  return keys;
}

// Every code 0001 .. n once, in order.
void ExpectConsecutive(const std::vector<std::string>& rows, int n) {
  ASSERT_EQ(static_cast<int>(rows.size()), n);
  for (int k = 0; k < n; ++k) EXPECT_EQ(rows[k].substr(0, 4), Code(k + 1)) << rows[k];
}

using ListPaging = ListFormTest;

TEST_P(ListPaging, PagesForwardAndBackThroughATableLargerThanAPage) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  EXPECT_EQ(PageKeys(), PageFrom(1));
  EXPECT_EQ(Cell("NAME", 1), "品名01");
  struct Step {
    const char* what;
    WPARAM key;
    int first;  // line 1's row afterwards
  };
  const Step steps[] = {
      {"next page", VK_F2, 7},
      {"next page", VK_F2, 13},
      {"next page to the last rows", VK_F2, 19},
      {"next page at the end stays", VK_F2, 19},
      {"previous page", VK_F1, 13},
      {"previous page", VK_F1, 7},
      {"previous page to the first", VK_F1, 1},
      {"previous page at the start stays", VK_F1, 1},
      {"last page: its last row on line 1 in input mode", VK_F4, 23},
      {"previous page from the last", VK_F1, 17},
      {"first page", VK_F3, 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    PressKey(Edit(), step.key);
    EXPECT_EQ(PageKeys(), PageFrom(step.first));
  }
  // Down from the last line and up from the first move by one line.
  ClickCell("NAME", kPageLines);
  PressKey(Edit(), VK_DOWN);
  EXPECT_EQ(PageKeys(), PageFrom(2));
  ClickCell("NAME", 1);
  PressKey(Edit(), VK_UP);
  EXPECT_EQ(PageKeys(), PageFrom(1));
  PressKey(Edit(), VK_UP);
  EXPECT_EQ(PageKeys(), PageFrom(1)) << "above the first row nothing moves";
  // The wheel turned backward moves down a line, forward up a line.
  PostMessageA(ListWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  PostMessageA(ListWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
  PumpMessages();
  EXPECT_EQ(PageKeys(), PageFrom(3));
  PostMessageA(ListWindow(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  PumpMessages();
  EXPECT_EQ(PageKeys(), PageFrom(2));
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

// The focused cell's edit control and the row scroll bar show the page the
// list stands on, also after pages turned faster than the list is painted.
TEST_P(ListPaging, TheFocusedCellAndTheRowBarFollowThePage) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  ASSERT_NE(g_list.rowScrollBar, nullptr);
  ClickCell("NAME", 1);
  struct Step {
    const char* what;
    std::vector<WPARAM> keys;  // posted together, handled in one go
    int first;
  };
  const Step steps[] = {
      {"one page on", {VK_F2}, 7},
      {"two pages on before a paint", {VK_F2, VK_F2}, 19},
      {"back three pages, the last one stays", {VK_F1, VK_F1, VK_F1, VK_F1}, 1},
      {"last page", {VK_F4}, 23},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    for (const WPARAM key : step.keys) {
      PostMessageA(Edit(), WM_KEYDOWN, key, 1);
      PostMessageA(Edit(), WM_KEYUP, key, 0xC0000001);
    }
    PumpMessages();
    EXPECT_EQ(PageKeys(), PageFrom(step.first));
    char shown[64] = "";
    GetWindowTextA(Edit(), shown, sizeof shown);
    EXPECT_EQ(shown, Cell("NAME", 1));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS;
    ASSERT_TRUE(GetScrollInfo(g_list.rowScrollBar, SB_CTL, &info));
    // The thumb stands for line 1's row; a page's worth from the end it is
    // at the bottom.
    EXPECT_EQ(info.nPos, std::min(step.first - 1, kListRows - kPageLines));
  }
  // What is typed next goes over the value shown.
  SendMessageA(Edit(), EM_SETSEL, 0, -1);
  TypeText(Edit(), "typed after paging");
  PressKey(Edit(), VK_RETURN);
  EXPECT_EQ(ListTableRows()[kListRows - 1], "0023:typed after paging");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

// Shift and Ctrl held at the last command and Alt held as the list closes
// offer to drop its table; nothing else does.
TEST_P(ListPaging, ClosingWithShiftCtrlAndAltOffersToDropTheTable) {
  struct Case {
    const char* what;
    bool byEsc;                  // else WM_CLOSE
    std::vector<BYTE> held;
    int answer;
    bool asked, dropped;
  };
  const Case cases[] = {
      {"Esc, all three held, Yes", true, {VK_SHIFT, VK_CONTROL, VK_MENU}, IDYES, true, true},
      {"window closed, all three held, No", false, {VK_SHIFT, VK_CONTROL, VK_MENU}, IDNO, true, false},
      {"without Alt", true, {VK_SHIFT, VK_CONTROL}, IDYES, false, false},
      {"without Ctrl", false, {VK_SHIFT, VK_MENU}, IDYES, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(MakeListTable(), 0) << Boxes();
    ASSERT_EQ(OpenList(), 0) << Boxes();
    const ScreenDataSet set = Slot(0).dataSet;
    ForgetBoxes();
    boxes_->Answer(c.answer);
    CloseListHolding(c.held, c.byEsc);
    EXPECT_EQ(Slot(0).state, kFreeSlotState) << "the list closed";
    const std::string question = (set.folder.empty() ? "テーブル“" : "テーブル“" + set.folder + "-") + set.database +
                                 "-" + set.table + "”を削除してもよろしいですか？";
    EXPECT_EQ(BoxTexts(), c.asked ? std::vector<std::string>{question} : std::vector<std::string>{});
    ForgetBoxes();
    EXPECT_EQ(ListTableRows().empty(), c.dropped);
  }
}

TEST_P(ListPaging, TypedCellsAndNewLinesReachTheTable) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  TypeIntoCell("NAME", 3, "O'Hara's, \"x\"");
  TypeIntoCell("QTY", 3, "123");
  PressKey(Edit(), VK_F4);  // the last row on line 1, free lines below
  TypeIntoCell("NAME", 2, "new one");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  const std::vector<std::string> rows = ListTableRows();
  ASSERT_NO_FATAL_FAILURE(ExpectConsecutive(rows, kListRows + 1));
  EXPECT_EQ(rows[2], "0003:O'Hara's, \"x\"") << "a quote is stored as typed";
  EXPECT_EQ(rows[kListRows], "0024:new one") << "a new line gets the next code";
  EXPECT_EQ(Cell("CODE", 2), "0024");
  // A value above the column's limit is refused and nothing is stored.
  PressKey(Edit(), VK_F3);
  TypeIntoCell("QTY", 1, "99999");
  EXPECT_EQ(BoxTexts().size(), 1u) << Boxes();
  const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
  ASSERT_GT(t, 0);
  ASSERT_EQ(db_search(t, "0003", "CODE"), 0);
  EXPECT_EQ(GetColumnInt(t, "QTY"), 123);
  ASSERT_EQ(db_search(t, "0001", "CODE"), 0);
  EXPECT_EQ(GetColumnInt(t, "QTY"), 10);
  db_close(t);
}

// The quantity of a row as stored, by a connection of its own.
int StoredQuantity(const char* code) {
  const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
  if (t < 0) return -1;
  const int quantity = db_search(t, code, "CODE") == 0 ? GetColumnInt(t, "QTY") : -1;
  db_close(t);
  return quantity;
}

TEST_P(ListPaging, AValueNotOfItsColumnsKindIsRefusedBeforeItIsStored) {
  // The quantity's field takes any text: its column, a number, decides.
  std::string text = ListScreenText(keyKind_, "Ｎ");
  ASSERT_TRUE(ChangeScreenText(&text, {{"FLDNAME = QTY\nFLDTITLE = 数量\nFLDLST = ○\nFLDTYPE = 数字",
                                       "FLDNAME = QTY\nFLDTITLE = 数量\nFLDLST = ○\nFLDTYPE = 半角"}}));
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1) << Boxes();
  struct Case {
    const char* typed;
    int stays;  // the quantity of row 0004 afterwards
  };
  const Case cases[] = {{"4x", 40}, {"1.5", 40}, {"abc", 40}, {"-", 40}, {"-7", -7}, {"42", 42}};
  ASSERT_EQ(OpenList(), 0) << Boxes();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ForgetBoxes();
    TypeIntoCell("QTY", 4, c.typed);
    if (c.stays == 40) {
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("“数量”は、数値以外の値は入力できません。[") + c.typed + "]"});
    } else {
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    }
    EXPECT_EQ(StoredQuantity("0004"), c.stays);
  }
}

// A screen may let more be typed than the column holds: what the column
// cannot hold whole is refused, on either database, and what is stored
// stays. Full-width characters count as two bytes, which the server's
// column, counting characters, would take.
TEST_P(ListPaging, AValueItsColumnCannotHoldIsRefusedWithTheDatabasesWords) {
  std::string text = ListScreenText(keyKind_, "Ｎ");
  ASSERT_TRUE(ChangeScreenText(&text, {{"FLDTYPE = 半角\nFLDSMSU = 20", "FLDTYPE = 半角\nFLDSMSU = 60"},
                                      {"FLDSMSU = 5\nFLDMAX = 90000", "FLDSMSU = 12"},
                                      {"FLDSMSU = 8\nFLDDEC = 2", "FLDSMSU = 320\nFLDDEC = 2"}}));
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1) << Boxes();
  const auto fullWidth = [](int characters) {
    std::string text;
    for (int k = 0; k < characters; ++k) text += "あ";
    return text;
  };
  const std::string tooLong = "“NAME”の値は長すぎて入りきらないため、テーブル“T_LST”に書き込めません。";
  const struct Case {
    const char* column;
    std::string typed, refusal;  // "" when stored
  } cases[] = {
      {"NAME", std::string(41, 'x'), tooLong},
      {"NAME", fullWidth(21), tooLong},
      {"NAME", fullWidth(20), ""},
      {"QTY", "32768", "“QTY”の値は大きすぎるため、テーブル“T_LST”に書き込めません。[32768]"},
      {"QTY", "32767", ""},
      {"PRICE", "1" + std::string(309, '0'), "“PRICE”の値は大きすぎるため、テーブル“T_LST”に書き込めません。"},
  };
  // Row 0002 as stored, read by a connection of its own.
  const auto storedRow = [] {
    const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
    if (t < 0) return std::string("<no table>");
    std::string row = "<none>";
    if (db_search(t, "0002", "CODE") == 0) {
      row = std::string(GetColumnText(t, "NAME")) + "|" + GetColumnAsText(t, "QTY") + "|";
      row += GetColumnAsText(t, "PRICE");
    }
    db_close(t);
    return row;
  };
  ASSERT_EQ(OpenList(), 0) << Boxes();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.column) + " " + c.typed.substr(0, 20));
    const std::string before = storedRow();
    ForgetBoxes();
    TypeIntoCell(c.column, 2, c.typed.c_str());
    if (c.refusal.empty()) {
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
      continue;
    }
    ASSERT_EQ(BoxTexts().size(), 1u) << Boxes();
    EXPECT_NE(BoxTexts()[0].find(c.refusal), std::string::npos) << BoxTexts()[0];
    EXPECT_EQ(storedRow(), before) << "nothing stored";
  }
  EXPECT_EQ(storedRow(), fullWidth(20) + "|32767|2.500000");
}

// The list's note column made a date column.
constexpr TextChange kNoteAsDate = {"FLDTITLE = 備考\nFLDLST = ○\nFLDTYPE = 半角\nFLDSMSU = 30",
                                    "FLDTITLE = 日付\nFLDLST = ○\nFLDTYPE = 日付\nFLDSMSU = 10"};

// A date column of the list: what is typed short or in its era form is
// stored as a Western date; a day the calendar does not have is refused
// and the stored date stays.
TEST_P(ListPaging, ADateCellStoresAWesternDateAndRefusesADayTheCalendarLacks) {
  std::string text = ListScreenText(keyKind_, "Ｎ");
  ASSERT_TRUE(ChangeScreenText(&text, {kNoteAsDate}));
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1) << Boxes();
  const auto storedNote = [] {
    const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
    if (t < 0) return std::string("<no table>");
    const std::string note = db_search(t, "0005", "CODE") == 0 ? GetColumnText(t, "NOTE") : "<none>";
    db_close(t);
    return note;
  };
  const struct Case {
    const char* typed;
    const char* stored;
    bool refused;
  } cases[] = {
      {"2024/1/5", "2024/01/05", false}, {"h1/2/3", "1989/02/03", false},  {"2026/02/30", "1989/02/03", true},
      {"2024/02/29", "2024/02/29", false}, {"2025/02/29", "2024/02/29", true}, {"2024/13/01", "2024/02/29", true},
  };
  ASSERT_EQ(OpenList(), 0) << Boxes();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    ForgetBoxes();
    TypeIntoCell("NOTE", 5, c.typed);
    if (c.refused) {
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("“日付”は、日付として正しくありません。[") + c.typed + "]"});
    } else {
      EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
      EXPECT_EQ(Cell("NOTE", 5), c.stored);
    }
    EXPECT_EQ(storedNote(), c.stored);
  }
}

// The column the screen names after a date column with "和暦" shows the
// era form of each line's date: as the page is filled and moved, as a
// date is typed (across the first days of eras), and in the list opened
// anew; it has no column of its own and is typed into by nobody.
TEST_P(ListPaging, TheEraColumnBesideADateShowsItsEraAcrossEraChanges) {
  std::string text = ListScreenText(keyKind_, "Ｎ");
  ASSERT_TRUE(ChangeScreenText(&text, {kNoteAsDate}));
  text += "\n[field]\nFLDCODE = 006\nFLDNAME = NOTE和暦\nFLDTITLE = 和暦\nFLDLST = ○\nFLDTYPE = 全角\n"
          "FLDLOCK = ×\nFLDSMSU = 16\n";
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1) << Boxes();
  const int t = db_alloc_slot("", kFixtureDb, "T_LST", -1);
  ASSERT_GT(t, 0);
  ASSERT_EQ(db_exec(t, "update T_LST set NOTE='2019/04/30' where CODE='0002'"), 0);
  ASSERT_EQ(db_exec(t, "update T_LST set NOTE='2019/05/01' where CODE='0003'"), 0);
  ASSERT_EQ(db_exec(t, "update T_LST set NOTE='1926/12/25' where CODE='0008'"), 0);
  db_disconnect(t);
  ASSERT_EQ(OpenList(), 0) << Boxes();
  EXPECT_EQ(Cell("NOTE和暦", 1), "");
  EXPECT_EQ(Cell("NOTE和暦", 2), "平成31年 4月30日");
  EXPECT_EQ(Cell("NOTE和暦", 3), "令和 1年 5月 1日");
  PressKey(Edit(), VK_F2);
  PumpMessages();
  EXPECT_EQ(Cell("CODE", 2), "0008");
  EXPECT_EQ(Cell("NOTE和暦", 2), "昭和 1年12月25日");
  EXPECT_EQ(Cell("NOTE和暦", 1), "") << "the era of the first page's line 1 left with it";
  PressKey(Edit(), VK_F1);
  PumpMessages();
  const struct Case {
    const char* typed;
    const char* era;
  } cases[] = {
      {"1989/1/7", "昭和64年 1月 7日"}, {"h1/1/8", "平成 1年 1月 8日"},
      {"2026/02/30", ""},  // refused: the cell is emptied, and its era with it
      {"r8/2/28", "令和 8年 2月28日"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    TypeIntoCell("NOTE", 4, c.typed);
    EXPECT_EQ(Cell("NOTE和暦", 4), c.era);
  }
  PostMessageA(ListWindow(), WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_EQ(Slot(0).window, nullptr) << "the list closed";
  ASSERT_EQ(OpenList(), 0) << Boxes();
  EXPECT_EQ(Cell("NOTE", 4), "2026/02/28");
  EXPECT_EQ(Cell("NOTE和暦", 4), "令和 8年 2月28日");
  EXPECT_EQ(Cell("NOTE和暦", 3), "令和 1年 5月 1日");
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
    SaveWindowPicture(ListWindow(), std::string(pictures) + "\\list_form_era_column.png");
  }
}

// A mark turned by clicks holds the number of its state; its candidates
// are how the states look, and never refuse that number.
TEST_P(ListPaging, AMarkTurnedByClicksIsStoredThoughItsCandidatesAreItsGlyphs) {
  std::string text = ListScreenText(keyKind_, "Ｎ");
  ASSERT_TRUE(ChangeScreenText(&text, {{"FLDTYPE = 数字\nFLDEDT = 右詰\nFLDSMSU = 5\nFLDMAX = 90000",
                                       "FLDTYPE = CBOX\nFLDEDT = 中央\nFLDSMSU = 1\nFLDKOHO = ●,×"}}));
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1) << Boxes();
  ASSERT_EQ(OpenList(), 0) << Boxes();
  for (const int stored : {1, 0}) {
    SCOPED_TRACE(stored);
    ForgetBoxes();
    ClickCell("QTY", 4);
    ClickCell("NAME", 4);  // leaving the cell stores it
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    EXPECT_EQ(StoredQuantity("0004"), stored);
  }
}

TEST_P(ListPaging, CopiesInsertsDeletesAndMovesRecordsKeepingCodesConsecutive) {
  ASSERT_EQ(OpenList(), 0) << Boxes();
  // Insert before record 2: 0002 .. 0023 move up by one, 0002 is new.
  ClickCell("NAME", 2);
  PressKey(Edit(), VK_F6);
  std::vector<std::string> rows = ListTableRows();
  ASSERT_NO_FATAL_FAILURE(ExpectConsecutive(rows, kListRows + 1));
  EXPECT_EQ(rows[1], "0002:");
  EXPECT_EQ(rows[2], "0003:品名02");
  EXPECT_EQ(rows[kListRows], "0024:品名23");
  // Copy the line above onto the new record.
  ClickCell("NAME", 2);
  PressKey(Edit(), VK_F5);
  EXPECT_EQ(ListTableRows()[1], "0002:品名01");
  // Delete record 3: the records behind move down by one.
  ClickCell("NAME", 3);
  PressKey(Edit(), VK_F7);
  rows = ListTableRows();
  ASSERT_NO_FATAL_FAILURE(ExpectConsecutive(rows, kListRows));
  EXPECT_EQ(rows[2], "0003:品名03");
  EXPECT_EQ(PageKeys(), PageFrom(1));
  // Drag record 5 onto record 2 in the edit mode: 2, 3, 4 become 3, 4, 5.
  PressKey(Edit(), VK_F12);
  const std::vector<std::string> before = ListTableRows();
  char name[16];
  std::snprintf(name, sizeof name, "NAME%02d", 5);
  const RECT from = ItemPixelRect(ResolveFieldRef(0, name));
  std::snprintf(name, sizeof name, "NAME%02d", 2);
  const RECT to = ItemPixelRect(ResolveFieldRef(0, name));
  const auto drag = [&] {
    PostMessageA(ListWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.left + 3, from.top + 3));
    PostMessageA(ListWindow(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.left + 3, to.top + 3));
    PostMessageA(ListWindow(), WM_LBUTTONUP, 0, MAKELPARAM(to.left + 3, to.top + 3));
    PumpMessages();
  };
  // The move asks first: No moves nothing.
  boxes_->Answer(IDNO);
  drag();
  EXPECT_EQ(ListTableRows(), before);
  drag();
  rows = ListTableRows();
  ASSERT_NO_FATAL_FAILURE(ExpectConsecutive(rows, kListRows));
  EXPECT_EQ(rows[1].substr(5), before[4].substr(5));
  EXPECT_EQ(rows[2].substr(5), before[1].substr(5));
  EXPECT_EQ(rows[4].substr(5), before[3].substr(5));
  EXPECT_EQ(rows[5], before[5]);
  // The answers were all "Yes": the copy onto a record and the delete asked.
  const std::string move = "コード“0005”を“0002”に移動してもよろしいですか？";
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"コード“0001”を複写します。", "コード“0003”を削除してもよろしいですか？",
                                                  move, move}));
}

TEST_P(ListPaging, CopyOntoATypedKeyWithoutARecordIsRefused) {
  keyKind_ = 1;
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", ListScreenText(1, "○")}}), 1) << Boxes();
  ForgetBoxes();
  ASSERT_EQ(OpenList(), 0) << Boxes();
  PressKey(Edit(), VK_F4);
  // Line 2 is free: a key typed there that has no record is no copy target.
  ClickCell("CODE", 2);
  TypeText(Edit(), "0777");
  PressKey(Edit(), VK_F5);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"コード“0777”は登録されていません。"}));
  const std::vector<std::string> rows = ListTableRows();
  EXPECT_EQ(static_cast<int>(rows.size()), kListRows) << "nothing was added";
}

// A code typed for a new record into a key column linked to a master table
// must be one the master holds: another is refused and nothing is added.
// The link names the master in the list's own database or in a database
// of its own name.
TEST_P(ListPaging, ANewCodeOfALinkedKeyColumnMustBeInItsMaster) {
  const int master = db_alloc_slot("", kFixtureDb, "M_ITEM", -1);
  ASSERT_GT(master, 0);
  ExecSlotSql(master, "drop table M_ITEM", 1);
  ASSERT_EQ(db_exec(master, "create table M_ITEM (CODE varchar(4), ITEMNAME varchar(20))"), 0);
  ASSERT_EQ(db_exec(master, "insert into M_ITEM values ('0030','x'),('0031','y')"), 0);
  db_disconnect(master);
  keyKind_ = 1;
  const std::vector<std::string> links = {"#M_ITEM,{CODE},ITEMNAME",
                                          std::string("#") + kFixtureDb + "\\M_ITEM,{CODE},ITEMNAME"};
  for (const std::string& link : links) {
    SCOPED_TRACE(link);
    ASSERT_EQ(MakeListTable(), 0) << Boxes();
    ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", ListScreenText(1, "○", link)}}), 1) << Boxes();
    ForgetBoxes();
    ASSERT_EQ(OpenList(), 0) << Boxes();
    PressKey(Edit(), VK_F4);  // the last row on line 1, free lines below
    TypeIntoCell("CODE", 2, "0040");
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"コード“0040”は登録されていません。"}));
    EXPECT_EQ(Cell("CODE", 2), "") << "the typed code is taken back";
    EXPECT_EQ(static_cast<int>(ListTableRows().size()), kListRows) << "nothing was added";
    ForgetBoxes();
    TypeIntoCell("CODE", 2, "30");
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
    const std::vector<std::string> rows = ListTableRows();
    ASSERT_EQ(static_cast<int>(rows.size()), kListRows + 1);
    EXPECT_EQ(rows.back(), "0030:") << "the code of the master, zero-filled";
    PressKey(Edit(), VK_ESCAPE);
    PumpMessages();
  }
}

// A code typed into a linked column of a record already stored must be
// one its master holds too: another is refused and the stored code stays;
// one of the master is stored and shown when the list opens again.
TEST_P(ListPaging, ACodeOfALinkedColumnOfAStoredRecordMustBeInItsMaster) {
  const int master = db_alloc_slot("", kFixtureDb, "M_NOTE", -1);
  ASSERT_GT(master, 0);
  ExecSlotSql(master, "drop table M_NOTE", 1);
  ASSERT_EQ(db_exec(master, "create table M_NOTE (NOTE varchar(4), NOTENAME varchar(20))"), 0);
  ASSERT_EQ(db_exec(master, "insert into M_NOTE values ('B2','x'),('C3','y')"), 0);
  db_disconnect(master);
  std::string text = ListScreenText(keyKind_, "Ｎ");
  ASSERT_TRUE(ChangeScreenText(&text, {{"FLDTITLE = 備考\nFLDLST = ○\nFLDTYPE = 半角\nFLDSMSU = 30",
                                       "FLDTITLE = 備考\nFLDLST = ○\nFLDTYPE = 半角\nFLDSMSU = 30\n"
                                       "FLDKOHO = #M_NOTE,{NOTE},NOTENAME"}}));
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1) << Boxes();
  const auto storedNote = [] {
    const int t = db_open("", kFixtureDb, "T_LST", -1, "", "", "select * from T_LST");
    if (t < 0) return std::string("<no table>");
    const std::string note = db_search(t, "0003", "CODE") == 0 ? GetColumnText(t, "NOTE") : "<none>";
    db_close(t);
    return note;
  };
  ASSERT_EQ(OpenList(), 0) << Boxes();
  ForgetBoxes();
  TypeIntoCell("NOTE", 3, "A1");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"コード“A1”は登録されていません。"}));
  EXPECT_EQ(Cell("NOTE", 3), "") << "the typed code is taken back";
  EXPECT_EQ(storedNote(), "");
  ForgetBoxes();
  TypeIntoCell("NOTE", 3, "B2");
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  EXPECT_EQ(storedNote(), "B2");
  PostMessageA(ListWindow(), WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_EQ(OpenList(), 0) << Boxes();
  EXPECT_EQ(Cell("NOTE", 3), "B2");
}

// A selection list picks the record on its row bar's line for its owner by
// Enter: the owner reads its key, and the list shows its first page again
// when the owner took the record, else it closes. Enter tells the owner
// nothing else.
TEST_P(ListPaging, ASelectionListPicksARecordForItsOwnerByEnter) {
  std::string text = ListScreenText(3, "Ｎ");
  text.replace(text.find("ﾘｽﾄI"), std::string("ﾘｽﾄI").size(), "ﾘｽﾄS");
  ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1) << Boxes();
  for (const bool takes : {true, false}) {
    SCOPED_TRACE(takes ? "the owner takes it" : "the owner does not");
    SetMessageAnswer(owner_, kMsgRecordPicked, takes ? 1 : 0);
    ASSERT_EQ(OpenList(), 0) << Boxes();
    PressKey(Edit(), VK_DOWN);
    PressKey(Edit(), VK_DOWN);
    ClearMessages(owner_);
    PressKey(Edit(), VK_RETURN);
    int picks = 0, fieldMessages = 0;
    for (const ReceivedMessage& m : MessagesOf(owner_)) {
      picks += m.message == kMsgRecordPicked && m.wParam == 61;
      fieldMessages += m.message == kMsgFieldMessage;
    }
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(fieldMessages, 0);
    EXPECT_STREQ(GetPickedListKey(), "0003");
    EXPECT_EQ(Slot(0).state != kFreeSlotState, takes) << "the list stays open only for an owner that took it";
    if (takes) {
      EXPECT_EQ(PageKeys(), PageFrom(1));
      PressKey(Edit(), VK_ESCAPE);
    }
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  }
}

TEST_P(ListPaging, ClosingWithATypedCellNotStoredAsksWhetherToStoreIt) {
  struct Case {
    const char* what;
    const char* typed;
    int answer;
    const char* stored;  // row 0002 afterwards
    bool open;           // the list still open
  };
  const Case cases[] = {
      {"Yes stores and closes", "yes", IDYES, "0002:yes", false},
      {"No drops and closes", "no", IDNO, "0002:yes", false},
      {"Cancel stays with the value typed", "stay", IDCANCEL, "0002:yes", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(OpenList(), 0) << Boxes();
    ClickCell("NAME", 2);
    SendMessageA(Edit(), EM_SETSEL, 0, -1);
    TypeText(Edit(), c.typed);
    ForgetBoxes();
    boxes_->Answer(c.answer);
    PostMessageA(ListWindow(), WM_CLOSE, 0, 0);
    PumpMessages();
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("まだ登録されていません"), std::string::npos) << Boxes();
    EXPECT_EQ(ListTableRows()[1], c.stored);
    EXPECT_EQ(IsWindowVisible(ListWindow()) != FALSE, c.open);
  }
  // What stayed typed is stored by Enter as ever.
  PressKey(Edit(), VK_RETURN);
  EXPECT_EQ(ListTableRows()[1], "0002:stay");
  // A character typed and taken back leaves nothing to ask about.
  ClickCell("NAME", 3);
  TypeText(Edit(), "x\b");
  ForgetBoxes();
  PostMessageA(ListWindow(), WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  EXPECT_FALSE(IsWindowVisible(ListWindow()));
}

TEST_P(ListPaging, TheQuestionOfTheCloseBoxKeepsTheTypedValueThoughTheBoxTakesTheFocus) {
  // Each box takes the focus from the cell as a real one does; the cell is
  // focused again when it is answered.
  const auto answerNext = [this](int answer) {
    ForgetBoxes();
    boxes_->TakeFocus(true);
    boxes_->Answer(answer);
  };
  // End, BackSpace twice and two digits in line 6's quantity, then the
  // window's close box.
  const auto editAndClose = [&](const char* digits, int answer) {
    ClickCell("QTY", 6);
    PressKey(Edit(), VK_END);
    TypeText(Edit(), (std::string("\b\b") + digits).c_str());
    answerNext(answer);
    PostMessageA(ListWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    ASSERT_EQ(BoxTexts().size(), 1u) << Boxes();
    EXPECT_EQ(BoxTexts()[0].rfind("“数量”に入力した内容は、まだ登録されていません。", 0), 0u) << Boxes();
  };
  ASSERT_EQ(OpenList(), 0) << Boxes();
  editAndClose("23", IDCANCEL);
  ASSERT_TRUE(IsWindowVisible(ListWindow())) << "Cancel stays on the list";
  EXPECT_EQ(Cell("QTY", 6), "23") << "with the value typed";
  char shown[16] = "";
  GetWindowTextA(Edit(), shown, sizeof shown);
  EXPECT_STREQ(shown, "23");
  EXPECT_EQ(StoredQuantity("0006"), 60);
  // Closed again, it asks again; Yes stores the value and closes.
  answerNext(IDYES);
  PostMessageA(ListWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_EQ(BoxTexts().size(), 1u) << Boxes();
  EXPECT_FALSE(IsWindowVisible(ListWindow()));
  EXPECT_EQ(StoredQuantity("0006"), 23);
  // Opened again: Yes at once stores as well.
  ASSERT_EQ(OpenList(), 0) << Boxes();
  EXPECT_EQ(Cell("QTY", 6), "23");
  editAndClose("45", IDYES);
  EXPECT_FALSE(IsWindowVisible(ListWindow()));
  EXPECT_EQ(StoredQuantity("0006"), 45);
}

INSTANTIATE_TEST_SUITE_P(Databases, ListPaging, testing::Values(kDbKindFile, kDbKindServer), KindName);

// ---------------------------------------------------------------------------
// A renumbering that dies half way leaves the table as it was: a second run
// of this program deletes a record and is stopped after a few renumbered
// rows; the table then still holds every record under its old code.

constexpr char kChildVariable[] = "SHEETDESK_LIST_CHILD";
constexpr int kChildExitCode = 7;

TEST(ListFormChild, DeletesARecordAndDiesWhileRenumbering) {
  const std::string setting = EnvironmentText(kChildVariable);
  if (setting.empty()) GTEST_SKIP() << "run by the parent test";
  const int kind = setting[0] - '0';
  const std::string folder = setting.substr(2);
  MessageBoxRecorder boxes(IDYES);
  const HWND main = CreateTestWindow("main");
  InitScreenEngine(main);
  g_screen.metrics = TestMetrics();
  ReadOcrIni();
  BindImagingLibrary();
  ServerLogin login;
  if (kind == kDbKindServer) {
    const char* pg = std::getenv("SHEETDESK_PG");
    ASSERT_TRUE(pg && *pg);
    login = {ConnectionValue(pg, "Server") + ":" + ConnectionValue(pg, "Port"), ConnectionValue(pg, "Uid"),
             ConnectionValue(pg, "Pwd")};
  }
  UseFixtureDatabase(kind, folder, login);
  ASSERT_NE(RegisterMenuWindow(main), nullptr);
  ASSERT_NE(RegisterListWindow(main), nullptr);
  const HWND owner = CreateTestWindow("owner");
  ASSERT_EQ(OpenScreenDef("", kFixtureDb, "TEST-LSTK", -1, -1, "", owner), 0);
  PumpMessages();
  SetRenumberStepHook([](int step) {
    if (step == 5) TerminateProcess(GetCurrentProcess(), kChildExitCode);
  });
  const RECT cell = ItemPixelRect(ResolveFieldRef(0, "NAME02"));
  ClickAt(Slot(0).window, cell.left + 3, cell.top + 3);
  PressKey(Slot(0).editControl, VK_F7);
  FAIL() << "the renumbering ran to its end";
}

TEST_P(ListPaging, ARenumberingStoppedHalfWayLeavesTheTableWhole) {
  const std::vector<std::string> before = ListTableRows();
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string command = std::string("\"") + exe + "\" --gtest_filter=ListFormChild.*";
  const std::string setting = std::to_string(GetParam()) + ";" + folder_;
  SetEnvironmentVariableA(kChildVariable, setting.c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                      &child);
  SetEnvironmentVariableA(kChildVariable, nullptr);
  ASSERT_TRUE(started);
  const DWORD waited = WaitForSingleObject(child.hProcess, 120000);
  DWORD code = 0;
  GetExitCodeProcess(child.hProcess, &code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 1);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  ASSERT_EQ(waited, WAIT_OBJECT_0);
  ASSERT_EQ(code, static_cast<DWORD>(kChildExitCode)) << "the second run stopped in the renumbering";
  EXPECT_EQ(ListTableRows(), before) << "no record is lost, doubled or left under another code";
}

}  // namespace
