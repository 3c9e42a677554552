// The grid editors of the sheet definition as the operator reaches them
// from the workbench of the program started in the test's process: the
// grid opens in the list-form window over the rows of its kind, what is
// typed into its cells and its header is stored, and the move grid moves
// the marked rows to the other side in one transaction.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "designer/grids.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "program/program.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/designer/designer_program_fixture.h"
#include "tests/support/window_picture.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

constexpr char kSheetName[] = "GRIDS";
constexpr int kAttributeButton = 116;  // 属性 of the operation's workbench
constexpr int kMoveButton = 121;       // 項目移動
constexpr int kFieldListButton = 123;  // 一覧表 of the design's workbench
constexpr int kSideButton = 204;       // the side shown
constexpr int kOrderButton = 133;      // 並び of the design

SheetFieldRow TextItemRow(const char* side, const char* code, const char* text, int x, int y) {
  SheetFieldRow row;
  row.side = side;
  row.code = code;
  row.name = "";
  row.overlay = text;
  row.x = x;
  row.y = y;
  row.boxWidth = row.boxHeight = 0;
  return row;
}

// An A4 sheet: the key item ID (0001), the check fields Q1 to Q3 (0002 to
// 0004), an unread check field (0005) and a text item; `twoSided` adds a
// back with the check field B1 (0001).
SheetDefinition GridSheet(bool twoSided) {
  SheetDefinition d = KeyedSheet("グリッド");
  const struct {
    const char *code, *name;
    int y, threshold;
  } checks[] = {{"0002", "Q1", 280, 100}, {"0003", "Q2", 360, 100}, {"0004", "Q3", 440, 100}, {"0005", "QX", 520, -1}};
  for (const auto& c : checks) {
    SheetFieldRow row = CountedCheckFieldRow(c.code, c.name, 240, c.y, 3, 1);
    row.threshold = c.threshold;
    d.fields.push_back(row);
  }
  d.fields.push_back(TextItemRow("0001", "T001", "ご記入ください", 240, 120));
  if (twoSided) {
    AddBackPaper(d, kScanPaired);
    SheetFieldRow b1 = CountedCheckFieldRow("0001", "B1", 240, 280, 3, 1);
    b1.side = "0002";
    d.fields.push_back(b1);
  }
  return d;
}

// "side:code:name" of the sheet's check fields and key field, side and code
// in order.
std::vector<std::string> FieldCodes() {
  std::vector<std::string> rows;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_FLD", sheet.kind, "MUPADATA", "MUPA_FLD",
                        "select * from MUPA_FLD where 領域コード<='0999' order by ＯＣＲコード,領域コード");
  if (t < 0) return rows;
  for (int rc = db_toppos(t, "ＯＣＲコード,領域コード"); rc == 0; rc = db_nread(t)) {
    rows.push_back(std::string(GetColumnText(t, "ＯＣＲコード")) + ":" + GetColumnText(t, "領域コード") + ":" +
                   GetColumnText(t, "領域名"));
  }
  db_close(t);
  return rows;
}

// A column of one row of the sheet, as text.
std::string FieldColumn(const char* side, const char* code, const char* column) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_FLD", sheet.kind, "MUPADATA", "MUPA_FLD",
                        "select * from MUPA_FLD where ＯＣＲコード=%s and 領域コード=%s", SqlLiteral(side).c_str(),
                        SqlLiteral(code).c_str());
  if (t < 0) return "?";
  const std::string value = db_toppos(t, "領域コード") == 0 ? GetColumnAsText(t, column) : "?";
  db_close(t);
  return value;
}

class GridEditors : public DesignerProgramTest {
 protected:
  void ChooseSheet(const SheetDefinition& definition) { DesignerProgramTest::ChooseSheet(definition, kSheetName); }

  // Statements run on the sheet's definition database.
  static void ExecOnSheet(const std::vector<const char*>& statements) {
    const SheetDefinitionRef& sheet = g_sheetDefinition;
    const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_PAP", sheet.kind, "MUPADATA",
                          "MUPA_PAP", "");
    ASSERT_GT(t, 0);
    for (const char* statement : statements) EXPECT_EQ(db_exec(t, statement), 0) << statement;
    db_close(t);
  }

  static HWND Grid() { return FindWindowA("Lst", nullptr); }
  // Opens the reorder grid of `kind` (1 fields, 2 text items) in its edit
  // mode, in which rows are dragged; false when it did not open.
  bool OpenOrderGrid(int kind, const char* title) {
    Choose(kOrderButton, kind);
    if (!IsWindowVisible(Grid())) return false;
    char shown[64] = "";
    GetWindowTextA(Grid(), shown, sizeof shown);
    EXPECT_STREQ(shown, title);
    ClickItem(Grid(), "FKEY12");
    return true;
  }
  // Drags the row under one cell of the grid onto the row of another.
  void DragInGrid(const char* from, const char* to) {
    const POINT a = CentreOf(GridSlot(), from), b = CentreOf(GridSlot(), to);
    PostMessageA(Grid(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
    PostMessageA(Grid(), WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
    RunPostedMessages();
  }
  static int GridSlot() { return SlotOfWindow(Grid()); }
  static std::string Cell(const char* column, int line) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d", column, line);
    return FieldText(GridSlot(), name);
  }

  // Types into a cell of the grid and leaves it with Enter.
  void TypeIntoCell(const char* column, int line, const char* text) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d", column, line);
    ClickItem(Grid(), name);
    SendMessageA(GetFocus(), EM_SETSEL, 0, -1);  // what was there is typed over
    TypeInFocus(text);
    PressKeyInFocus(VK_RETURN);
  }

  // Closes the grid by its Esc key button, as the operator does (the Esc
  // key itself goes to the input method in a full-width cell).
  void CloseGrid() {
    ClickItem(Grid(), "FKEY00");
    char focus[64] = "";
    GetClassNameA(GetFocus(), focus, sizeof focus);
    EXPECT_FALSE(IsWindowVisible(Grid())) << "focus in " << focus << " " << testing::PrintToString(Boxes());
  }
};

TEST_F(GridEditors, TheCheckFieldGridShowsTheReadCheckFieldsAndStoresWhatIsTyped) {
  ChooseSheet(GridSheet(false));
  OpenBench(kCmdOperation);
  Choose(kAttributeButton, 1);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  char title[64] = "";
  GetWindowTextA(Grid(), title, sizeof title);
  EXPECT_STREQ(title, "マーク欄一覧");
  // Only the check fields that are read, not the key item, the unread
  // check field or the text item.
  EXPECT_EQ(Cell("領域コード", 1), "0002");
  EXPECT_EQ(Cell("領域名", 1), "Q1");
  EXPECT_EQ(Cell("領域コード", 3), "0004");
  EXPECT_EQ(Cell("領域コード", 4), "");
  EXPECT_EQ(FieldText(GridSlot(), "テーブル"), "KAITO") << "the header shows the output settings";
  SavePictureOnRequest(Grid(), "grid_check_fields");

  TypeIntoCell("しきい値", 1, "20");
  TypeIntoCell("領域名", 2, "Q2B");
  TypeIntoCell("重ね文字", 3, "はい,いいえ,不明");
  ClickItem(Grid(), "テーブル");
  SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
  TypeInFocus("KAITO2");
  PressKeyInFocus(VK_RETURN);
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_FALSE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());

  EXPECT_EQ(FieldColumn("0001", "0002", "しきい値"), "20");
  EXPECT_EQ(FieldColumn("0001", "0003", "領域名"), "Q2B");
  EXPECT_EQ(FieldColumn("0001", "0004", "重ね文字"), "はい,いいえ,不明");
  EXPECT_EQ(FieldColumn("0001", "0005", "しきい値"), "-1") << "the unread field was not shown, nor changed";
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_PAP", sheet.kind, "MUPADATA", "MUPA_PAP",
                        "select * from MUPA_PAP where ＯＣＲコード='0001'");
  ASSERT_GT(t, 0);
  ASSERT_EQ(db_toppos(t, "ＯＣＲコード"), 0);
  EXPECT_STREQ(GetColumnText(t, "テーブル"), "KAITO2") << "the header was stored as the grid closed";
  db_close(t);
}

TEST_F(GridEditors, AGridAddsItsRowsToTheSideItShows) {
  ChooseSheet(GridSheet(false));
  OpenBench(kCmdOperation);
  Choose(kAttributeButton, 3);  // 説明文等
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Cell("領域コード", 1), "T001");
  TypeIntoCell("領域コード", 2, "T002");
  TypeIntoCell("重ね文字", 2, "裏面もご記入ください");
  SavePictureOnRequest(Grid(), "grid_description_texts");
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_EQ(FieldColumn("0001", "T002", "重ね文字"), "裏面もご記入ください") << testing::PrintToString(Boxes());
}

TEST_F(GridEditors, TheWriteInAndTextItemGridsShowTheirRowsUnderThePaperSettings) {
  ChooseSheet(GridSheet(false));
  OpenBench(kCmdDesign);
  Choose(kFieldListButton, 1);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Cell("領域コード", 1), "0001") << "the key item is a field of the sheet too";
  EXPECT_EQ(Cell("領域コード", 5), "0005");
  EXPECT_EQ(Cell("領域コード", 6), "") << "the text item is not a field";
  EXPECT_EQ(FieldText(GridSlot(), "ＯＣＲ用紙名"), "グリッド");
  SavePictureOnRequest(Grid(), "grid_write_in_fields");
  TypeIntoCell("タイトル", 2, "好きな色は？");
  CloseGrid();
  EXPECT_EQ(FieldColumn("0001", "0002", "タイトル"), "好きな色は？");

  Choose(kFieldListButton, 2);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Cell("領域コード", 1), "T001");
  EXPECT_EQ(Cell("重ね文字", 1), "ご記入ください");
  SavePictureOnRequest(Grid(), "grid_text_items");
  TypeIntoCell("重ね文字", 1, "黒のペンでご記入ください");
  CloseGrid();
  EXPECT_EQ(FieldColumn("0001", "T001", "重ね文字"), "黒のペンでご記入ください");
}

TEST_F(GridEditors, ANewEnclosureFrameIsAFrameOfTheSide) {
  ChooseSheet(GridSheet(false));
  OpenBench(kCmdOperation);
  Choose(kAttributeButton, 4);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Cell("領域コード", 1), "") << "the text item has no frame";
  TypeIntoCell("領域コード", 1, "T002");
  TypeIntoCell("横幅", 1, "50");
  SavePictureOnRequest(Grid(), "grid_enclosure_frames");
  EXPECT_EQ(Cell("領域コード", 1), "T002") << "the new frame stays in the grid";
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_EQ(FieldColumn("0001", "T002", "横幅"), "50");
  EXPECT_EQ(FieldColumn("0001", "T002", "高さ"), "10");
}

// The question grid opens on the questions of the read check fields (their
// titles without line breaks or filling); what is typed there goes back
// into the titles as it closes, wrapped or filled to the characters a line,
// and shows again at the next opening.
TEST_F(GridEditors, TheQuestionGridShowsTheCheckFieldsQuestionsAndStoresThemAsTitles) {
  ChooseSheet(GridSheet(false));
  // The characters a line: from the first line break, from a title filled
  // with "・", or the field's own.
  ExecOnSheet({"update MUPA_FLD set タイトル='好きな|色は？', 行文字数=0 where 領域名='Q1'",
               "update MUPA_FLD set タイトル='年齢・・・', 行文字数=0 where 領域名='Q2'",
               "update MUPA_FLD set タイトル='あいうえお', 行文字数=3 where 領域名='Q3'"});
  const std::string unreadTitle = FieldColumn("0001", "0005", "タイトル");
  OpenBench(kCmdOperation);
  Choose(kAttributeButton, 2);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  struct Row {
    const char *code, *name, *question, *lineChars;
  };
  const Row opened[] = {{"0001", "Q1", "好きな色は？", "3"},
                        {"0002", "Q2", "年齢・・・", "5"},
                        {"0003", "Q3", "あいうえお", "3"},
                        {"", "", "", ""}};  // the unread field has no question
  for (int line = 1; line <= 4; ++line) {
    const Row& r = opened[line - 1];
    SCOPED_TRACE(line);
    EXPECT_EQ(Cell("質問コード", line), r.code);
    EXPECT_EQ(Cell("項目名", line), r.name);
    EXPECT_EQ(Cell("質問内容", line), r.question);
    EXPECT_EQ(Cell("行文字数", line), r.lineChars);
  }
  SavePictureOnRequest(Grid(), "grid_question_texts");
  TypeIntoCell("質問内容", 1, "好きな食べ物は？");
  CloseGrid();
  EXPECT_EQ(FieldColumn("0001", "0002", "タイトル"), "好きな|食べ物|は？");
  EXPECT_EQ(FieldColumn("0001", "0002", "行文字数"), "3");
  EXPECT_EQ(FieldColumn("0001", "0003", "タイトル"), "年齢　　　") << "the filling becomes blanks";
  EXPECT_EQ(FieldColumn("0001", "0004", "タイトル"), "あいう|えお");
  EXPECT_EQ(FieldColumn("0001", "0005", "タイトル"), unreadTitle) << "the unread field keeps its title";

  Choose(kAttributeButton, 2);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Cell("質問内容", 1), "好きな食べ物は？");
  EXPECT_EQ(Cell("質問内容", 2), "年齢");
  EXPECT_EQ(Cell("行文字数", 2), "5");
  EXPECT_EQ(Cell("質問コード", 4), "") << "made afresh: no rows of the last opening left over";
  CloseGrid();
}

TEST_F(GridEditors, QuestionRowsAreAlignedInStepsOfTheGuideSpacing) {
  ChooseSheet(GridSheet(false));
  ExecOnSheet({"update MUPA_PAP set 縦間隔=3", "update MUPA_FLD set 領域名='質問'||領域名 where 領域名 in ('Q1','Q3')"});
  OpenBench(kCmdOperation);
  Choose(kAttributeButton, 1);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  ForgetBoxes();
  ClickItem(Grid(), "GYOKAN");
  EXPECT_THAT(Boxes(), ElementsAre("Ｙ座標の調整を行います。"));
  EXPECT_EQ(FieldColumn("0001", "0002", "Ｙ座標"), "280") << "the first question keeps its place";
  EXPECT_EQ(FieldColumn("0001", "0004", "Ｙ座標"), "304") << "the next: 3 mm of guide spacing, twice";
  EXPECT_EQ(FieldColumn("0001", "0003", "Ｙ座標"), "360") << "not a question";
  EXPECT_EQ(Cell("Ｙ座標", 3), "304") << "the grid shows the new places";
  PressKeyInFocus(VK_ESCAPE);
}

TEST_F(GridEditors, InTheDesignAFieldDraggedInTheReorderGridTakesTheCodeItIsDroppedOn) {
  ChooseSheet(GridSheet(false));
  const HWND bench = OpenBench(kCmdDesign);
  // The design of the sheet begins from the canvas's menu (its first line).
  const HWND canvas = FindWindowExA(bench, nullptr, "Ocr", nullptr);
  ASSERT_TRUE(canvas);
  PostMessageA(canvas, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(600, 500));
  PostMessageA(canvas, WM_RBUTTONUP, 0, MAKELPARAM(600, 500));
  RunPostedMessages();
  ASSERT_TRUE(g_screen.popupWindow && IsWindowVisible(g_screen.popupWindow)) << testing::PrintToString(Boxes());
  ClickOn(g_screen.popupWindow, {10, 14});
  ASSERT_EQ(Slot(SlotOfWindow(canvas)).lineEditMode, 1) << testing::PrintToString(Boxes());

  ASSERT_TRUE(OpenOrderGrid(1, "記入欄並び順変更")) << testing::PrintToString(Boxes());
  SavePictureOnRequest(Grid(), "grid_field_order");
  DragInGrid("領域名04", "領域名02");
  EXPECT_THAT(FieldCodes(), ElementsAre("0001:0001:ID", "0001:0002:Q3", "0001:0003:Q1", "0001:0004:Q2",
                                        "0001:0005:QX"));
  // The key item keeps the first code.
  DragInGrid("領域名01", "領域名02");
  EXPECT_EQ(FieldColumn("0001", "0001", "領域名"), "ID");
  CloseGrid();
}

// Text items are reordered the same way, from the design begun with the
// workbench's 編集 button; closed and opened again the grid shows the new
// order.
TEST_F(GridEditors, InTheDesignATextItemDraggedInTheReorderGridTakesTheCodeItIsDroppedOn) {
  SheetDefinition sheet = GridSheet(false);
  sheet.fields.push_back(TextItemRow("0001", "T002", "ありがとうございました", 240, 600));
  sheet.fields.push_back(TextItemRow("0001", "T003", "裏面もご記入ください", 240, 700));
  ChooseSheet(sheet);
  const HWND bench = OpenBench(kCmdDesign);
  ClickItem(bench, "OCREDT");
  const HWND canvas = FindWindowExA(bench, nullptr, "Ocr", nullptr);
  ASSERT_EQ(Slot(SlotOfWindow(canvas)).lineEditMode, 1) << testing::PrintToString(Boxes());

  ASSERT_TRUE(OpenOrderGrid(2, "テキスト項目並び順変更")) << testing::PrintToString(Boxes());
  DragInGrid("重ね文字03", "重ね文字01");
  SavePictureOnRequest(Grid(), "grid_text_order");
  EXPECT_EQ(FieldColumn("0001", "T001", "重ね文字"), "裏面もご記入ください");
  EXPECT_EQ(FieldColumn("0001", "T002", "重ね文字"), "ご記入ください");
  EXPECT_EQ(FieldColumn("0001", "T003", "重ね文字"), "ありがとうございました");
  EXPECT_THAT(FieldCodes(), ElementsAre("0001:0001:ID", "0001:0002:Q1", "0001:0003:Q2", "0001:0004:Q3",
                                        "0001:0005:QX"))
      << "the fields keep their codes";
  CloseGrid();
  Choose(kOrderButton, 2);
  ASSERT_TRUE(IsWindowVisible(Grid()));
  EXPECT_EQ(Cell("重ね文字", 1), "裏面もご記入ください");
  EXPECT_EQ(Cell("重ね文字", 3), "ありがとうございました");
  CloseGrid();
}

TEST_F(GridEditors, ACodeTypedIntoAGridMustBeOfItsKind) {
  ChooseSheet(GridSheet(false));
  OpenBench(kCmdOperation);
  Choose(kAttributeButton, 1);  // the check fields: codes 0001 to 0999
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  const struct {
    const char* code;
    bool stored;
  } cases[] = {{"12", false}, {"T005", false}, {"0000", false}, {"00A9", false}, {"0009", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    ForgetBoxes();
    TypeIntoCell("領域コード", 4, c.code);
    if (c.stored) {
      EXPECT_THAT(Boxes(), testing::IsEmpty());
      EXPECT_EQ(Cell("領域コード", 4), c.code);
    } else {
      EXPECT_THAT(Boxes(), ElementsAre(std::string("“No.”は、0001～0999で入力してください。[") + c.code + "]"));
      EXPECT_EQ(Cell("領域コード", 4), "");
    }
  }
  CloseGrid();
  EXPECT_THAT(FieldCodes(), ElementsAre("0001:0001:ID", "0001:0002:Q1", "0001:0003:Q2", "0001:0004:Q3",
                                        "0001:0005:QX", "0001:0009:"));
  EXPECT_EQ(FieldColumn("0001", "0009", "編集"), "ﾁｪｯｸ") << "a new row of the grid is a check field";
}

class MoveGrid : public GridEditors {
 protected:
  // Opens the move grid of the check fields on the front and marks the
  // rows of `lines` by clicking their move cells.
  void MarkOnFront(const std::vector<int>& lines) {
    OpenBench(kCmdDesign);
    Choose(kMoveButton, 1);
    ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
    for (int line : lines) {
      char name[32];
      std::snprintf(name, sizeof name, "表面裏面%02d", line);
      ClickItem(Grid(), name);
    }
  }
};

TEST_F(MoveGrid, MarkedRowsMoveBehindTheOtherSidesCodesAndTheRestCloseUp) {
  ChooseSheet(GridSheet(true));
  MarkOnFront({});
  EXPECT_EQ(Cell("領域コード", 1), "0002") << "the key item is never offered";
  SavePictureOnRequest(Grid(), "grid_move");
  ClickItem(Grid(), "表面裏面01");
  ClickItem(Grid(), "表面裏面03");
  ForgetBoxes();
  ClickItem(Grid(), "IDOU");
  EXPECT_THAT(Boxes(), ElementsAre("「移動」欄にチェックされた項目を「裏面」に移動します"));
  EXPECT_THAT(FieldCodes(), ElementsAre("0001:0001:ID", "0001:0002:Q2", "0001:0003:QX", "0002:0001:B1",
                                        "0002:0002:Q1", "0002:0003:Q3"));
  EXPECT_EQ(FieldColumn("0002", "0002", "表面裏面"), "0");
  EXPECT_EQ(Cell("領域コード", 1), "0002") << "the grid shows what stayed";
  EXPECT_EQ(Cell("領域名", 1), "Q2");
  const int canvas = SlotOfWindow(FindWindowExA(FindWindowA("KQE_READ", nullptr), nullptr, "Ocr", nullptr));
  ASSERT_GE(canvas, 0);

  // Nothing marked: said, and nothing moves.
  ForgetBoxes();
  ClickItem(Grid(), "IDOU");
  EXPECT_THAT(Boxes(), ElementsAre("移動する項目が設定されていません"));
  EXPECT_GE(ResolveFieldRef(canvas, "Q1"), 0) << "the canvas changes as the grid closes";
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_LT(ResolveFieldRef(canvas, "Q1"), 0) << "Q1 is on the back now";
  EXPECT_GE(ResolveFieldRef(canvas, "Q2"), 0);
}

TEST_F(MoveGrid, FromTheBackFieldsGoToTheFrontAndTextItemsToTheBack) {
  ChooseSheet(GridSheet(true));
  OpenBench(kCmdDesign);
  Choose(kSideButton, 2);
  Choose(kMoveButton, 1);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Cell("領域名", 1), "B1");
  ClickItem(Grid(), "表面裏面01");
  ForgetBoxes();
  ClickItem(Grid(), "IDOU");
  EXPECT_THAT(Boxes(), ElementsAre("「移動」欄にチェックされた項目を「表面」に移動します"));
  EXPECT_EQ(Cell("領域コード", 1), "") << "the back has no fields left";
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_EQ(FieldColumn("0001", "0006", "領域名"), "B1");

  Choose(kSideButton, 1);
  Choose(kMoveButton, 2);
  ASSERT_TRUE(IsWindowVisible(Grid())) << testing::PrintToString(Boxes());
  EXPECT_EQ(Cell("重ね文字", 1), "ご記入ください");
  ClickItem(Grid(), "表面裏面01");
  ClickItem(Grid(), "IDOU");
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_EQ(FieldColumn("0002", "T001", "重ね文字"), "ご記入ください");
  EXPECT_EQ(FieldColumn("0001", "T001", "重ね文字"), "?");
}

TEST_F(MoveGrid, AMoveTheDatabaseRefusesHalfWayLeavesBothSidesAsTheyWere) {
  ChooseSheet(GridSheet(true));
  {
    const SheetDefinitionRef& sheet = g_sheetDefinition;
    const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_FLD", sheet.kind, "MUPADATA",
                          "MUPA_FLD", "");
    ASSERT_GT(t, 0);
    ASSERT_EQ(db_exec(t, "create trigger REFUSE_Q3 before update on MUPA_FLD when new.領域名='Q3' and "
                         "new.ＯＣＲコード='0002' begin select raise(abort, 'refused'); end"),
              0);
    db_close(t);
  }
  const std::vector<std::string> before = FieldCodes();
  MarkOnFront({1, 3});
  ForgetBoxes();
  ClickItem(Grid(), "IDOU");
  ASSERT_GE(Boxes().size(), 2u) << "asked, then the refusal";
  EXPECT_EQ(FieldCodes(), before) << "Q1 went back to the front: nothing moved";
  EXPECT_EQ(FieldColumn("0001", "0002", "表面裏面"), "1") << "the marks stay for another try";
  PressKeyInFocus(VK_ESCAPE);
}

}  // namespace
