// The sheet canvas in design mode under Wine: an item dragged with the
// mouse lands on the half-grid (or the guide lines) and its place is stored
// in MUPA_FLD; ruled lines drawn on the sheet are stored in MUPA_LIN with
// their codes in order. Runs on the file database (SQLite) and on the
// server database (PostgreSQL).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/item_dragging.h"
#include "designer/mark_settings.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/window_picture.h"

namespace {

using testing::ElementsAre;

constexpr char kSheetDb[] = "DESIGNTEST";

class SheetDesign : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    UseRecordingWorkWindows();
    workbench_ = CreateTestWindowOfClass("KQE_READ");
    // The designer's own canvas and field editor.
    canvas_ = RegisterSheetCanvasWindow(main_);
    editor_ = RegisterPlnWindow(main_);
    marks_ = RegisterHoseiWindow();
    windows_.push_back(canvas_);
    windows_.push_back(editor_);
    windows_.push_back(marks_);
    windows_.push_back(workbench_);
    g_sheetDefinition = SheetDefinitionRef();
    g_sheetDefinition.database = kSheetDb;
    g_sheetDefinition.kind = GetParam();
    g_sheetCanvas = SheetCanvasState();
    g_sheetCanvas.columns = g_sheetCanvas.rows = 100;
    g_sheetCanvas.pitch = 10;
    g_lineEdit = RuledLineEditState();
    InstallDesignModeCalls();
    for (const char* table : {"MUPA_FLD", "MUPA_LIN", "MUPA_IDX"}) {
      const int slot = db_alloc_slot("", kSheetDb, table, GetParam());
      ASSERT_GT(slot, 0);
      ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
      db_disconnect(slot);
    }
    ASSERT_EQ(CreateTableFromSpec("", kSheetDb, kSheetFieldTable, GetParam(), kSheetSpecFile, kSheetFieldTable), 0);
    // The sheet's key item is its field AGE.
    ASSERT_EQ(CreateTableFromSpec("", kSheetDb, "MUPA_IDX", GetParam(), kSheetSpecFile, "MUPA_IDX"), 0);
    Exec("insert into MUPA_IDX (ＯＣＲコード,ＩＤＸコード,項目名) values ('0001','01','AGE')");
    // One write-in field: 6 x 5 mm boxes, three of them, at (40, 80).
    Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ) "
         "values ('0001','0001','AGE','年齢','左詰',3,40,80,6,5)");
  }

  void Exec(const std::string& sql) {
    const int slot = db_alloc_slot("", kSheetDb, kSheetFieldTable, GetParam());
    ASSERT_GT(slot, 0);
    EXPECT_EQ(db_exec(slot, sql.c_str()), 0) << sql << Boxes();
    db_disconnect(slot);
  }

  std::vector<std::string> Rows(const char* table, const char* columns, const char* order) {
    std::vector<std::string> rows;
    const int t = db_open("", kSheetDb, table, GetParam(), kSheetSpecFile, table, "select %s from %s", columns,
                          table);
    if (t < 0) return rows;
    std::vector<std::string> names;
    for (std::string rest = columns; !rest.empty();) {
      const size_t comma = rest.find(',');
      names.push_back(rest.substr(0, comma));
      rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
    }
    for (int rc = db_toppos(t, order); rc == 0; rc = db_nread(t)) {
      std::string row;
      for (const std::string& n : names) row += (row.empty() ? "" : "|") + std::string(GetColumnText(t, n.c_str()));
      rows.push_back(row);
    }
    db_close(t);
    return rows;
  }

  int OpenProject() {
    if (LoadTexts({{"p.txt", "[screen]\nSCRCODE=PLN\nSCRNAME=PRJ1-PLN\nSCRTYPE=PROJ\nCURMOV=R\nSCREDT=BUTT\n"}}) != 1) {
      return -1;
    }
    const int rc = OpenScreen("", kFixtureDb, "PLN", -1, -10, "");
    if (rc == 0) {
      ShowWindow(GetAncestor(canvas_, GA_ROOT), SW_SHOW);
      ShowWindow(canvas_, SW_SHOW);
      PumpMessages();
    }
    return rc;
  }

  // Ctrl+Shift+F11 on the canvas: design mode on or off.
  void ToggleDesign() {
    SelectWindowSlot(0);
    HoldModifiers(true, true);
    PressKey(Slot(0).editControl, VK_F11);
    HoldModifiers(false, false);
  }

  void Drag(POINT from, POINT to) {
    const WindowSlot& s = Slot(0);
    const auto at = [&s](POINT p) { return MAKELPARAM(p.x - s.scrollX, p.y - s.scrollY); };
    PostMessageA(canvas_, WM_LBUTTONDOWN, MK_LBUTTON, at(from));
    PostMessageA(canvas_, WM_MOUSEMOVE, MK_LBUTTON, at({(from.x + to.x) / 2, (from.y + to.y) / 2}));
    PostMessageA(canvas_, WM_MOUSEMOVE, MK_LBUTTON, at(to));
    PostMessageA(canvas_, WM_LBUTTONUP, 0, at(to));
    PumpMessages();
  }

  // A right click at `at` of the sheet and the menu's line `line`.
  void ChooseFromMenu(POINT at, int line) {
    const WindowSlot& s = Slot(0);
    PostMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x - s.scrollX, at.y - s.scrollY));
    PostMessageA(canvas_, WM_RBUTTONUP, 0, MAKELPARAM(at.x - s.scrollX, at.y - s.scrollY));
    PumpMessages();
    const HWND menu = g_screen.popupWindow;
    ASSERT_TRUE(menu && IsWindowVisible(menu)) << Boxes();
    UpdateWindow(menu);
    const LPARAM row = MAKELPARAM(10, 2 + (line - 1) * 24 + 12);
    PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, row);
    PostMessageA(menu, WM_LBUTTONUP, 0, row);
    PumpMessages();
  }

  // The editor's fields set as typed, then Esc.
  void FillAndClose(const std::vector<std::pair<const char*, std::string>>& fields) {
    const int slot = SheetFieldEditorSlot();
    ASSERT_GE(slot, 0);
    for (const auto& [name, value] : fields) SetItemValueForCommand(slot, name, value.c_str());
    SelectWindowSlot(slot);
    PressKey(Slot(slot).editControl, VK_ESCAPE);
  }

  // With SHEETDESK_PICTURES naming a folder, what the window shows is
  // saved there for a person to look at.
  static void SavePicture(HWND window, const char* name) {
    const char* folder = std::getenv("SHEETDESK_PICTURES");
    if (!folder || !*folder) return;
    // The canvas stands in the (test's) workbench: shown whole.
    const HWND root = GetAncestor(window, GA_ROOT);
    RECT r{};
    GetWindowRect(root, &r);
    if (r.right <= r.left) MoveWindow(root, 0, 0, 1000, 760, TRUE);
    ShowWindow(root, SW_SHOW);
    SaveWindowPicture(root, std::string(folder) + "\\" + name);
  }

  HWND workbench_ = nullptr;
  HWND canvas_ = nullptr;
  HWND editor_ = nullptr;
  HWND marks_ = nullptr;
};

TEST_P(SheetDesign, ADraggedFieldIsStoredWhereItLanded) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  const int age = ResolveFieldRef(0, "AGE");
  ASSERT_GE(age, 0);
  const ScreenItem& it = Item(age);
  const POINT grab{it.pixelX + it.pixelWidth / 2, it.pixelY + it.pixelHeight / 2};
  ToggleDesign();
  ASSERT_EQ(Slot(0).lineEditMode, 1);
  // 37 across and 21 down: with guide snapping off the step is half a grid
  // unit (2 pixels); x 77 keeps its remainder of 1 (not above half the
  // step) and lands at 76, y is snapped by the field's centre.
  Drag(grab, {grab.x + 37, grab.y + 21});
  const int half = Item(age).pixelHeight / 2;
  const int centre = 80 + 21 + half;
  const int expectedY = (centre % 2 > 1 ? centre + 1 : centre - centre % 2) - half;
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,Ｘ座標,Ｙ座標", "領域コード"),
              ElementsAre("AGE|76|" + std::to_string(expectedY)))
      << Boxes();
  EXPECT_EQ(Item(age).column, 76) << "the canvas shows it where it is stored";
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(SheetDesign, LinesDrawnOnTheSheetAreStoredInOrder) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  Drag({200, 300}, {400, 300});
  Drag({200, 340}, {400, 340});
  Drag({500, 300}, {502, 301});  // too short: no line
  ToggleDesign();
  EXPECT_EQ(Slot(0).lineEditMode, 0);
  const std::vector<std::string> rows = Rows("MUPA_LIN", "ＯＣＲコード,LINCODE,LINSTYLE,LINSIZE,LINX1,LINX2", "LINCODE");
  EXPECT_THAT(rows, ElementsAre("0001|001|L|1|200|400", "0001|002|L|1|200|400")) << Boxes();
}

TEST_P(SheetDesign, LinesThatCannotAllBeStoredLeaveTheStoredLinesAsTheyWere) {
  // A table that refuses every new row: its extra column needs a value.
  Exec("create table MUPA_LIN (ＯＣＲコード varchar(4), LINCODE varchar(3), LINSTYLE varchar(1), LINSIZE int, "
       "LINX1 int, LINY1 int, LINX2 int, LINY2 int, EXTRA varchar(1) not null)");
  Exec("insert into MUPA_LIN values ('0001','001','L',1,40,60,300,60,'x')");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  Drag({200, 300}, {400, 300});
  ForgetBoxes();
  ToggleDesign();
  EXPECT_FALSE(BoxTexts().empty()) << "the failed write is reported";
  EXPECT_THAT(Rows("MUPA_LIN", "LINCODE,LINX1,LINX2", "LINCODE"), ElementsAre("001|40|300"));
}

TEST_P(SheetDesign, ShiftAndAnArrowMoveTheWholeLayoutAGridUnit) {
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ) "
       "values ('0001','T001','','注意','左詰',2,100,20,0,0)");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  Drag({200, 300}, {400, 300});
  HoldModifiers(true, false);
  PressKey(Slot(0).editControl, VK_RIGHT);
  PressKey(Slot(0).editControl, VK_DOWN);
  PressKey(Slot(0).editControl, VK_DOWN);
  HoldModifiers(false, false);
  ToggleDesign();
  const int dots = SheetDotsPerGridUnit();
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,Ｘ座標,Ｙ座標", "領域コード"),
              ElementsAre("0001|" + std::to_string(40 + dots) + "|" + std::to_string(80 + 2 * dots),
                          "T001|" + std::to_string(100 + dots) + "|" + std::to_string(20 + 2 * dots)));
  EXPECT_EQ(Item(ResolveFieldRef(0, "AGE")).column, 40 + dots);
  const std::vector<std::string> lines = Rows("MUPA_LIN", "LINX1,LINX2", "LINCODE");
  EXPECT_THAT(lines, ElementsAre(std::to_string(200 + dots) + "|" + std::to_string(400 + dots)));
}

TEST_P(SheetDesign, ACheckFieldMadeFromTheMenuIsStoredAndShownWhereItWasAskedFor) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({300, 400}, 1);  // "チェック欄 作 成"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_FALSE(IsWindowEnabled(canvas_)) << "the canvas waits for the editor";
  SavePicture(Slot(SheetFieldEditorSlot()).window, "field-editor.png");
  FillAndClose({{"領域名", "COLOR"}, {"タイトル", "好きな色"}, {"文字数", "3"}, {"重ね文字", "赤,青,緑"}});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_TRUE(IsWindowEnabled(canvas_));
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,領域名,編集,文字数,重ね文字,Ｘ座標,Ｙ座標,しきい値", "領域コード"),
              ElementsAre("0001|AGE|左詰|3||40|80|0", "0002|COLOR|ﾁｪｯｸ|3|赤,青,緑|300|400|10"));
  const int color = ResolveFieldRef(0, "COLOR");
  ASSERT_GE(color, 0) << "the canvas shows the new field";
  EXPECT_EQ(Item(color).edit, 'C');
  SavePicture(canvas_, "canvas-design-mode.png");

  // Edited again from its own menu, then deleted.
  const POINT on{Item(color).pixelX + 4, Item(color).pixelY + Item(color).pixelHeight / 2};
  ChooseFromMenu(on, 1);  // "チェック欄編集"
  FillAndClose({{"タイトル", "好きな色は？"}});
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,タイトル", "領域コード"), ElementsAre("AGE|年齢", "COLOR|好きな色は？"));
  ForgetBoxes();
  ChooseFromMenu(on, 2);  // "チェック欄削除"
  EXPECT_THAT(BoxTexts(), ElementsAre("“COLOR”を削除してもよろしいですか？"));
  EXPECT_THAT(Rows("MUPA_FLD", "領域名", "領域コード"), ElementsAre("AGE"));
  EXPECT_LT(ResolveFieldRef(0, "COLOR"), 0);
}

TEST_P(SheetDesign, DesignStartsWithTheKeyItemOnTheSheet) {
  Exec("update MUPA_IDX set 項目名='SERIAL'");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,領域名,編集,文字数,Ｘ座標,Ｙ座標", "領域コード"),
              ElementsAre("0001|AGE|左詰|3|40|80", "0002|SERIAL|０埋|6|60|40"));
  EXPECT_GE(ResolveFieldRef(0, "SERIAL"), 0) << "the canvas shows it";
  ToggleDesign();
  // Without a key item the design says where to set one.
  Exec("delete from MUPA_IDX");
  ForgetBoxes();
  ToggleDesign();
  EXPECT_THAT(BoxTexts(), ElementsAre("“”の「キー項目名」が定義されていません。\n"
                                      "メインメニューの〔シート定義〕で「キー項目名」を設定してください。"));
  EXPECT_EQ(Slot(0).lineEditMode, 1) << "the design goes on";
}

TEST_P(SheetDesign, OperatorsGetNoDesignMenu) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  g_currentSheet.projectMode = 2;
  PostMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 400));
  PumpMessages();
  g_currentSheet.projectMode = 1;
  EXPECT_FALSE(g_screen.popupWindow && IsWindowVisible(g_screen.popupWindow));
  EXPECT_EQ(Slot(0).lineEditMode, 0);
}

TEST_P(SheetDesign, ATextItemMadeFromTheMenuKeepsItsMessageAndFrame) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({120, 600}, 2);  // "テキスト項目作成"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  SavePicture(Slot(SheetFieldEditorSlot()).window, "text-item-editor.png");
  FillAndClose({{"重ね文字", "ご協力ありがとうございました"}, {"文字数", "14"}, {"横幅", "80"}, {"高さ", "10"},
                {"タイトル枠", "3"}, {"文字太", "2"}});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,重ね文字,タイトル枠,文字太,サイズ,Ｘ座標,Ｙ座標", "領域コード"),
              ElementsAre("0001|||0|0|40|80", "T001|ご協力ありがとうございました|実|2|8|120|600"));
  // An empty new text item is not kept.
  ChooseFromMenu({120, 700}, 2);
  FillAndClose({});
  EXPECT_LT(SheetFieldEditorSlot(), 0);
  EXPECT_EQ(Rows("MUPA_FLD", "領域コード", "領域コード").size(), 2u);
}

TEST_P(SheetDesign, TheMarkSettingsStoreBothMarginsOrNeither) {
  ASSERT_EQ(CreateTableFromSpec("", kSheetDb, "MUPA_PAP", GetParam(), kSheetSpecFile, "MUPA_PAP"), 0);
  Exec("delete from MUPA_PAP");
  Exec("insert into MUPA_PAP (ＯＣＲコード,用紙サイズ,用紙方向) values ('0001','Ａ４','縦')");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const WindowSlot& s = Slot(0);
  PostMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(12 - s.scrollX, 12 - s.scrollY));
  PumpMessages();
  const int marks = MarkSettingsSlot();
  ASSERT_GE(marks, 0) << "a right click on the marks' area opens their settings" << Boxes();
  EXPECT_FALSE(IsWindowEnabled(canvas_));
  struct Case {
    const char* top;
    const char* sides;
    std::string box;
  };
  const Case refused[] = {
      {"7", "0", "「左右の余白」に値を入力してください。\n初期値に戻す場合は、｢上部｣｢左右｣とも“0”にしてください。"},
      {"0", "8", "「上部の余白」に値を入力してください。\n初期値に戻す場合は、｢上部｣｢左右｣とも“0”にしてください。"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.top);
    ForgetBoxes();
    SetItemValueForCommand(marks, "補正Ｙ余白", c.top);
    SetItemValueForCommand(marks, "補正Ｘ余白", c.sides);
    PostMessageA(Slot(marks).window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_THAT(BoxTexts(), ElementsAre(c.box));
    EXPECT_EQ(MarkSettingsSlot(), marks) << "the settings stay open";
  }
  SetItemValueForCommand(marks, "補正Ｙ余白", "7");
  SetItemValueForCommand(marks, "補正Ｘ余白", "9");
  SetItemValueForCommand(marks, "補正Ｙエリア", "20");
  PostMessageA(Slot(marks).window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_LT(MarkSettingsSlot(), 0);
  EXPECT_TRUE(IsWindowEnabled(canvas_));
  EXPECT_THAT(Rows("MUPA_PAP", "補正Ｙ余白,補正Ｘ余白,補正Ｙエリア１,補正Ｘエリア１", "ＯＣＲコード"), ElementsAre("7|9|20|0"));
  EXPECT_EQ(g_sheetSettings.markMarginY, 9) << "held with 2 added";
}

TEST_P(SheetDesign, TheEditorRefusesWhatTheReadingCouldNotUse) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, std::string>> fields;
    std::string box;
    bool open;  // the editor stays open
  };
  const Case cases[] = {
      {"no name", {{"文字数", "3"}}, "「項目名」が設定されていません。", true},
      {"an image column's name", {{"領域名", "IMG12"}, {"文字数", "3"}}, "「項目名」に“IMG12”は使用できません。", true},
      {"a name with a sign", {{"領域名", "Q-1"}, {"文字数", "3"}},
       "「項目名」に“半角カッコ”および“記号”“空白”は使用できません。", true},
      {"the choices taken whole from several marks",
       {{"領域名", "Q1"}, {"文字数", "3"}, {"少数部桁数", "2"}, {"重ね文字", "A,B,C"}, {"変換条件", "〃"}},
       "｢取得する内容｣が“〃”で、｢最大｣が“2”に設定されています。\n"
       "複数の回答を許可する場合は、｢取得する内容｣に、取得する文字を、１選択肢あたり１文字で設定してください。\n"
       "(カンマは付けないでください)\n並び番号を取得する場合は、｢取得する内容｣を空白にしてください。\n"
       "文字列データとして取得(カンマ区切りに)する場合は｢最大｣を“1”にしてください。",
       true},
      {"commas in what several marks take", {{"領域名", "Q1"}, {"文字数", "3"}, {"少数部桁数", "3"}, {"変換条件", "1,2,3"}},
       "｢最大｣が“3”に設定されています。\n複数の回答を許可する場合は、下記のように、｢取得する内容｣のカンマは除いてください。\n"
       "[123]\n\n文字列データとして取得(カンマ区切りに)する場合は｢最大｣を“1”にしてください。",
       true},
      {"no choices: nothing is stored", {{"領域名", "Q1"}, {"文字数", "0"}},
       "「文字数」が設定されていません。編集内容は、無効とします。", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ChooseFromMenu({300, 400}, 1);
    ForgetBoxes();
    FillAndClose(c.fields);
    EXPECT_THAT(BoxTexts(), ElementsAre(c.box));
    EXPECT_EQ(SheetFieldEditorSlot() >= 0, c.open);
    if (SheetFieldEditorSlot() >= 0) FillAndClose({{"領域名", ""}, {"タイトル", ""}, {"文字数", "0"}});
    EXPECT_LT(SheetFieldEditorSlot(), 0);
  }
  EXPECT_THAT(Rows("MUPA_FLD", "領域名", "領域コード"), ElementsAre("AGE")) << "nothing refused was stored";
}

INSTANTIATE_TEST_SUITE_P(Databases, SheetDesign, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
