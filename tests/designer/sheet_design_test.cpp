// The sheet canvas in design mode under Wine: an item dragged with the
// mouse lands on the half-grid (or the guide lines) and its place is stored
// in MUPA_FLD; ruled lines drawn on the sheet are stored in MUPA_LIN with
// their codes in order. Runs on the file database (SQLite) and on the
// server database (PostgreSQL).
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/choice_editor.h"
#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/form_items.h"
#include "designer/item_dragging.h"
#include "designer/key_item_dialog.h"
#include "designer/mark_settings.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/table_rows.h"
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
    keyDialog_ = RegisterIdxCtrlWindow();
    choices_ = RegisterMeditWindow();
    windows_.push_back(keyDialog_);
    windows_.push_back(choices_);
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
    return TableRowTexts("", kSheetDb, GetParam(), kSheetSpecFile, table, columns, "", order);
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
    ChooseShownLine(line);
  }

  // Clicks line `line` of the pop-up menu that is open.
  void ChooseShownLine(int line) {
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

  // A click on the choice `row` (from 0) of the radio or check group
  // `name` of the slot's window.
  static void ClickChoice(int slot, const char* name, int row) {
    const ScreenItem& group = Item(ResolveFieldRef(slot, name));
    const int pitch = group.pixelHeight / (group.count + 2);
    ClickAt(Slot(slot).window, group.pixelX + 2 * group.charSize + 12 - Slot(slot).scrollX,
            group.pixelY + pitch / 2 + 4 + pitch + row * pitch + group.charSize - Slot(slot).scrollY);
  }

  // The open editor's fields set and Esc pressed: the one message `box`,
  // and the editor still open.
  void ExpectCloseRefused(const std::vector<std::pair<const char*, std::string>>& fields, const std::string& box) {
    ForgetBoxes();
    const int slot = SheetFieldEditorSlot();
    FillAndClose(fields);
    EXPECT_THAT(BoxTexts(), ElementsAre(box));
    EXPECT_EQ(SheetFieldEditorSlot(), slot);
  }

  // Each case a new item's form, opened from the menu's line `line` at
  // `at`, given its fields and closed: the message it gives, and whether
  // the form stays open (it is then emptied and closed).
  struct Refusal {
    const char* what;
    std::vector<std::pair<const char*, std::string>> fields;
    std::string box;
    bool open;
  };
  void ExpectRefusals(POINT at, int line, const std::vector<Refusal>& cases) {
    for (const Refusal& c : cases) {
      SCOPED_TRACE(c.what);
      ChooseFromMenu(at, line);
      ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
      ForgetBoxes();
      FillAndClose(c.fields);
      EXPECT_THAT(BoxTexts(), ElementsAre(c.box));
      EXPECT_EQ(SheetFieldEditorSlot() >= 0, c.open);
      if (SheetFieldEditorSlot() >= 0) FillAndClose({{"領域名", ""}, {"タイトル", ""}, {"文字数", "0"}});
      EXPECT_LT(SheetFieldEditorSlot(), 0);
    }
  }

  // What the canvas shows, given the room of a workbench, into `shown`
  // (the canvas's client size): painted afresh, or (`repaint` false) as
  // the display holds it, what its last paintings left.
  void CaptureCanvas(std::unique_ptr<MemoryCanvas>* shown, bool repaint = true) {
    const HWND root = GetAncestor(canvas_, GA_ROOT);
    RECT placed{};
    GetWindowRect(root, &placed);
    if (placed.right - placed.left != 1000) {
      MoveWindow(root, 0, 0, 1000, 760, TRUE);
      if (root != canvas_) MoveWindow(canvas_, 0, 0, 980, 720, TRUE);
    }
    RECT client;
    GetClientRect(canvas_, &client);
    *shown = std::make_unique<MemoryCanvas>(client.right, client.bottom);
    if (repaint) RedrawWindow(canvas_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RunDisplayMessages();
    const HDC dc = GetDC(canvas_);
    BitBlt((*shown)->dc(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(canvas_, dc);
  }

  // The field editor's button "マーク欄編集", clicked.
  static void PressChoiceButton(int editor) {
    const ScreenItem& button = Item(ResolveFieldRef(editor, "MEDIT"));
    ClickAt(Slot(editor).window, button.pixelX + button.pixelWidth / 2 - Slot(editor).scrollX,
            button.pixelY + button.pixelHeight / 2 - Slot(editor).scrollY);
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
  HWND keyDialog_ = nullptr;
  HWND choices_ = nullptr;
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
  ChooseFromMenu(on, 3);  // "チェック欄削除"
  EXPECT_THAT(BoxTexts(), ElementsAre("“COLOR”を削除してもよろしいですか？"));
  EXPECT_THAT(Rows("MUPA_FLD", "領域名", "領域コード"), ElementsAre("AGE"));
  EXPECT_LT(ResolveFieldRef(0, "COLOR"), 0);
}

// What moves or closes leaves the sheet as it was under it: a field's
// title dragged away with the field, and the menu chosen from.
TEST_P(SheetDesign, DragsAndMenusLeaveNothingBehind) {
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,タイトル位置,サイズ,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ) "
       "values ('0001','0002','COLOR','好きな色はどれですか','←',8,'ﾁｪｯｸ',3,400,300,5,5)");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  std::unique_ptr<MemoryCanvas> before;
  CaptureCanvas(&before);
  const WindowSlot& s = Slot(0);
  const int color = ResolveFieldRef(0, "COLOR");
  ASSERT_GE(color, 0);
  ItemCaptionRect title;
  ASSERT_GT(GetItemRect(color, &title), 0);
  const RECT titleShown{title.left - s.scrollX, title.top - s.scrollY, title.right - s.scrollX, title.bottom - s.scrollY};
  const auto changed = [](const MemoryCanvas& a, const MemoryCanvas& b, const RECT& r) {
    int n = 0;
    for (int y = std::max(0L, r.top); y < r.bottom && y < a.height(); ++y) {
      for (int x = std::max(0L, r.left); x < r.right && x < a.width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
    }
    return n;
  };
  // Held down over the field and moved 200 pixels down: where the title
  // stood shows the paper again.
  const ScreenItem& item = Item(color);
  const LPARAM grab = MAKELPARAM(item.pixelX + 4 - s.scrollX, item.pixelY + 4 - s.scrollY);
  PostMessageA(canvas_, WM_LBUTTONDOWN, MK_LBUTTON, grab);
  PostMessageA(canvas_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(item.pixelX + 4 - s.scrollX, item.pixelY + 204 - s.scrollY));
  PumpMessages();
  std::unique_ptr<MemoryCanvas> dragging;
  CaptureCanvas(&dragging, false);
  EXPECT_GT(item.pixelY, title.top + 100) << "the field moves with the mouse";
  PostMessageA(canvas_, WM_LBUTTONUP, 0, MAKELPARAM(item.pixelX + 4 - s.scrollX, item.pixelY + 4 - s.scrollY));
  PumpMessages();
  // Where the title stood, nothing is left of its letters: the paper's
  // cyan guide lines and white only.
  int letters = 0;
  for (int y = std::max(0L, titleShown.top); y < titleShown.bottom; ++y) {
    for (int x = std::max(0L, titleShown.left); x < titleShown.right; ++x) {
      const COLORREF c = dragging->Pixel(x, y);
      letters += GetRValue(c) < 100 && GetGValue(c) < 100;
    }
  }
  EXPECT_EQ(letters, 0) << "the dragged title left a trail";

  // A menu opened and left with Esc: the canvas under it as before.
  std::unique_ptr<MemoryCanvas> beforeMenu;
  CaptureCanvas(&beforeMenu);
  PostMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300 - s.scrollX, 600 - s.scrollY));
  PostMessageA(canvas_, WM_RBUTTONUP, 0, MAKELPARAM(300 - s.scrollX, 600 - s.scrollY));
  PumpMessages();
  const HWND menu = g_screen.popupWindow;
  ASSERT_TRUE(menu && IsWindowVisible(menu)) << Boxes();
  UpdateWindow(menu);
  RECT menuRect;
  GetWindowRect(menu, &menuRect);
  MapWindowPoints(nullptr, canvas_, reinterpret_cast<POINT*>(&menuRect), 2);
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 0);
  PumpMessages();
  ASSERT_FALSE(g_screen.popupOpen) << Boxes();
  std::unique_ptr<MemoryCanvas> afterMenu;
  CaptureCanvas(&afterMenu, false);
  SavePicture(canvas_, "canvas-after-menu.png");
  EXPECT_EQ(changed(*beforeMenu, *afterMenu, menuRect), 0) << "the menu stayed painted";
}

TEST_P(SheetDesign, ANewFieldAtThePapersLeftEdgeKeepsItsTitleOnThePaper) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({8, 400}, 1);  // "チェック欄 作 成"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  FillAndClose({{"領域名", "COLOR"}, {"タイトル", "好きな色"}, {"文字数", "3"}});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  const int color = ResolveFieldRef(0, "COLOR");
  ASSERT_GE(color, 0);
  ItemCaptionRect caption;
  ASSERT_GT(GetItemRect(color, &caption), 0);
  EXPECT_GE(caption.left, 0) << "the title starts on the paper";
  EXPECT_LT(Item(color).pixelX, 200) << "and the field stays near where it was asked for";
}

// Twenty-four choices in three rows across (5 mm boxes 2 mm apart, rows
// 3 mm apart) show as eight columns of three rows, as they print: nothing
// where a single line would have run on. Labels stand where they print.
TEST_P(SheetDesign, ChoicesInRowsShowInTheirRows) {
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ,Ｂサイズ,"
       "タイプ,配列個数,配列行間,配列開始,背景色) values ('0001','0002','GRID','','ﾁｪｯｸ',24,100,200,5,5,2,'Ｘ',3,3,-1,'×')");
  // Three choices 10 mm apart, each labelled on its right.
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ,Ｂサイズ,"
       "重ね文字,背景色,サイズ) values ('0001','0003','LABELS','','ﾁｪｯｸ',3,100,400,5,5,10,'赤,青,緑','→',8)");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  std::unique_ptr<MemoryCanvas> shown;
  CaptureCanvas(&shown);
  SavePicture(canvas_, "canvas-choices-in-rows.png");
  const WindowSlot& s = Slot(0);
  const auto at = [&s](int x, int y) { return POINT{x - s.scrollX, y - s.scrollY}; };
  // The frame's colour, on the first box's left side.
  const POINT edge = at(100, 210);
  const COLORREF frame = shown->Pixel(edge.x, edge.y);
  const auto framed = [&](int x, int y) {
    const POINT p = at(x, y);
    return shown->CountColor(p.x - 2, p.y - 2, p.x + 22, p.y + 22, frame);
  };
  EXPECT_GT(framed(100 + 7 * 28, 200), 0) << "the first row's eighth box";
  EXPECT_GT(framed(100, 200 + 2 * 32), 0) << "the third row's first box";
  EXPECT_EQ(framed(100 + 8 * 28, 200), 0) << "no ninth box in the first row";
  EXPECT_EQ(framed(100 + 15 * 28, 200), 0) << "nor further on";
  // Ink other than the paper's white and its cyan guide lines.
  const auto inked = [&](int x, int y) {
    const POINT p = at(x, y);
    int n = 0;
    for (int v = p.y; v < p.y + 20; ++v) {
      for (int u = p.x; u < p.x + 20; ++u) {
        const COLORREF c = shown->Pixel(u, v);
        const bool paper = GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200;
        const bool guide = GetRValue(c) < 100 && GetGValue(c) > 150 && GetBValue(c) > 150;
        n += !paper && !guide;
      }
    }
    return n;
  };
  for (int k = 0; k < 3; ++k) EXPECT_GT(inked(100 + k * 60 + 28, 400), 10) << "the label right of box " << k + 1;
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

// Typed into the text item's form as a user does: the message shows inside
// its frame on the canvas (not the field's input mask) and the frame's
// title where its position puts it.
TEST_P(SheetDesign, ATextItemTypedIntoItsFormShowsItsMessageAndItsFrameTitle) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({120, 600}, 2);  // "テキスト項目作成"
  const int slot = SheetFieldEditorSlot();
  ASSERT_GE(slot, 0) << Boxes();
  const std::pair<const char*, const char*> typed[] = {
      {"重ね文字", "ご記入ください"}, {"タイトル", "注意"}, {"タイトル位置", "↑"},
      {"横幅", "60"},               {"高さ", "12"},        {"マーク型", "●"}};
  for (const auto& [name, text] : typed) {
    const ScreenItem& field = Item(ResolveFieldRef(slot, name));
    ClickAt(Slot(slot).window, field.pixelX + 6 - Slot(slot).scrollX, field.pixelY + 6 - Slot(slot).scrollY);
    for (int k = 0; k < 20; ++k) PressKey(Slot(slot).editControl, VK_DELETE), PressKey(Slot(slot).editControl, VK_BACK);
    TypeText(Slot(slot).editControl, text);
    PressKey(Slot(slot).editControl, VK_TAB);
  }
  SavePicture(Slot(slot).window, "text-item-form.png");
  SelectWindowSlot(slot);
  PressKey(Slot(slot).editControl, VK_ESCAPE);
  ASSERT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,重ね文字,タイトル,タイトル位置,横幅,高さ,マーク型", "領域コード"),
              ElementsAre("0001||年齢||6|5|0", "T001|ご記入ください|注意|↑|60|12|1"));

  const WindowSlot& s = Slot(0);
  int text = -1;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    if (Item(i).code == "T001") text = i;
  }
  ASSERT_GE(text, 0) << "the canvas shows the text item";
  const ScreenItem& item = Item(text);
  EXPECT_EQ(item.sheetText, "ご記入ください");
  EXPECT_EQ(item.caption, "注意");
  EXPECT_EQ(item.titleStyle, 3) << "above its frame";
  // What the canvas shows, the canvas given the room of a workbench: the
  // message's characters fill most of a line inside the frame, and the
  // title stands over it.
  std::unique_ptr<MemoryCanvas> picture;
  CaptureCanvas(&picture);
  SavePicture(canvas_, "canvas-text-item.png");
  const MemoryCanvas& shown = *picture;
  RECT client;
  GetClientRect(canvas_, &client);
  const int left = item.pixelX - s.scrollX, top = item.pixelY - s.scrollY;
  const int right = left + item.pixelWidth, bottom = top + item.pixelHeight;
  ASSERT_TRUE(left >= 0 && right < client.right && top >= 40 && bottom < client.bottom) << "in sight";
  // The sheet's texts are blue over its cyan grid and red rules.
  const auto blue = [&shown](int x, int y) {
    const COLORREF c = shown.Pixel(x, y);
    return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100;
  };
  int first = -1, last = -1;
  for (int x = left + 3; x < right - 3; ++x) {
    for (int y = top + 3; y < bottom - 3; ++y) {
      if (!blue(x, y)) continue;
      if (first < 0) first = x;
      last = x;
      break;
    }
  }
  EXPECT_GT(last - first, 7 * item.charSize * 2 * 3 / 4) << "seven characters of the message";
  int title = 0;
  for (int x = left; x < right; ++x) {
    for (int y = top - 4 * item.charSize; y < top - 2; ++y) title += blue(x, y);
  }
  EXPECT_GT(title, 20) << "the frame's title";
}

// The notes each form carries under its fields: all there, inside the
// window and clear of the fields; the write-in form names the column types
// of the output database's kind.
TEST_P(SheetDesign, EachFormShowsItsNotesInsideItsWindowBelowItsFields) {
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ) "
       "values ('0001','0002','NAME','氏名','左詰',4,40,200,6,5)");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const ScreenItem& field = Item(ResolveFieldRef(0, "NAME"));
  const POINT name{field.pixelX + 4, field.pixelY + field.pixelHeight / 2};
  struct Case {
    const char* what;
    int outputKind;
    POINT at;
    int line;
    const char* prefix;
    int notes;
    const char* holds;  // in one of the notes
    const char* picture;
  };
  const Case cases[] = {
      {"write-in, file database", 1, {300, 500}, 3, "GMSG", 11, "Access", "write-in-notes.png"},
      {"write-in, server database", 2, {300, 500}, 3, "GMSG", 11, "varchar", "write-in-notes-server.png"},
      {"check field", 1, {300, 400}, 1, "GMSG", 6, "並び番号", "check-field-notes.png"},
      {"reference master", 1, name, 2, "MMSG", 3, "書込項目名", "reference-master-notes.png"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_currentSheet.outputKind = c.outputKind;
    ChooseFromMenu(c.at, c.line);
    const int slot = SheetFieldEditorSlot();
    ASSERT_GE(slot, 0) << Boxes();
    const WindowSlot& s = Slot(slot);
    RECT client;
    GetClientRect(s.window, &client);
    int fieldsBottom = 0;
    for (int i = s.firstItem; i <= s.lastItem; ++i) {
      if (Item(i).name.compare(0, 4, c.prefix) != 0 && Item(i).state != kItemHidden) {
        fieldsBottom = std::max(fieldsBottom, Item(i).pixelY + Item(i).pixelHeight);
      }
    }
    std::string all;
    for (int n = 1; n <= c.notes + 1; ++n) {
      char note[16];
      std::snprintf(note, sizeof note, "%s%02d", c.prefix, n);
      const int i = ResolveFieldRef(slot, note);
      if (n > c.notes) {
        EXPECT_LT(i, 0) << note;
        break;
      }
      ASSERT_GE(i, 0) << note;
      const ScreenItem& it = Item(i);
      all += it.caption;
      EXPECT_FALSE(it.caption.empty()) << note;
      EXPECT_GE(it.pixelY, fieldsBottom) << note << " under the fields";
      EXPECT_LE(it.pixelX + static_cast<int>(it.caption.size()) * s.fontUnit, client.right + s.scrollX) << note;
      EXPECT_LE(it.pixelY + it.pixelHeight, client.bottom + s.scrollY) << note;
    }
    EXPECT_NE(all.find(c.holds), std::string::npos);
    SavePicture(s.window, c.picture);
    FillAndClose({});
    ASSERT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  }
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
  SavePicture(Slot(marks).window, "mark-settings.png");
  bool pictured = false;
  for (int i = Slot(marks).firstItem; i <= Slot(marks).lastItem; ++i) {
    if (Item(i).name == "SHEET") pictured = Item(i).image != nullptr && Item(i).pixelHeight > 96;
  }
  EXPECT_TRUE(pictured) << "the picture of the sheet's corner stands below the fields";
  EXPECT_FALSE(IsWindowEnabled(canvas_));
  const HWND window = Slot(marks).window;
  EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU) << "a close button";
  // The guide line of the field in focus shows whole.
  RECT guide{};
  GetWindowRect(Slot(marks).statics[1], &guide);
  EXPECT_TRUE(IsWindowVisible(Slot(marks).statics[1]));
  EXPECT_EQ(guide.right - guide.left,
            MeasureGuideBox(Item(ResolveFieldRef(marks, "補正Ｙエリア")).guide.c_str(), Slot(marks).fontUnit).width);
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
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // its close button
  PumpMessages();
  EXPECT_LT(MarkSettingsSlot(), 0);
  EXPECT_TRUE(IsWindowEnabled(canvas_));
  EXPECT_THAT(Rows("MUPA_PAP", "補正Ｙ余白,補正Ｘ余白,補正Ｙエリア１,補正Ｘエリア１", "ＯＣＲコード"), ElementsAre("7|9|20|0"));
  EXPECT_EQ(g_sheetSettings.markMarginY, 9) << "held with 2 added";
}

TEST_P(SheetDesign, TheEditorRefusesWhatTheReadingCouldNotUse) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ExpectRefusals({300, 400}, 1, {
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
  });
  EXPECT_THAT(Rows("MUPA_FLD", "領域名", "領域コード"), ElementsAre("AGE")) << "nothing refused was stored";
}

TEST_P(SheetDesign, AWriteInFieldIsMadeEditedAndDeletedFromTheMenus) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({300, 500}, 3);  // "記 入 欄 作 成"
  const int editor = SheetFieldEditorSlot();
  ASSERT_GE(editor, 0) << Boxes();
  char title[64] = "";
  GetWindowTextA(Slot(editor).window, title, sizeof title);
  EXPECT_STREQ(title, "記入欄");
  SavePicture(Slot(editor).window, "write-in-editor.png");
  // The number type is the output column's, not what is read: said as it
  // is chosen.
  ForgetBoxes();
  ClickChoice(editor, "文字型", 1);  // 数値型
  EXPECT_THAT(BoxTexts(), ElementsAre("【項目の型】は、データベースのフィールドの型です。\n"
                                      "（認識する文字の種類ではありませんので、ご注意ください）\n"
                                      "通常の処理では、“数値型”に設定する必要はありません。"));
  ForgetBoxes();
  ClickChoice(editor, "文字型", 0);
  EXPECT_THAT(BoxTexts(), testing::IsEmpty()) << "the text type goes without a word";
  // Boxes without partitions cannot be read one by one: the whole field is.
  ForgetBoxes();
  FillAndClose({{"領域名", "NAME"}, {"タイトル", "氏名"}, {"文字数", "6"}, {"横幅", "5"}, {"高さ", "6"},
                {"タイプ", "1"}, {"Ｂサイズ", "-1"}, {"有効文字種", "101"}, {"網掛け", "●"}});
  EXPECT_THAT(BoxTexts(), ElementsAre("「字間」が“仕切なし”の場合は、自動的に「認識の単位」は“記入欄”に設定されます。"));
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  const char* columns = "領域コード,領域名,タイトル,文字数,横幅,高さ,Ｂサイズ,タイプ,有効文字種,編集,文字型,全半角,網掛け,Ｘ座標,Ｙ座標";
  EXPECT_THAT(Rows("MUPA_FLD", columns, "領域コード"),
              ElementsAre("0001|AGE|年齢|3|6|5|0|||左詰|||0|40|80",
                          "0002|NAME|氏名|6|5|6|-1|一括|1010000000|左詰|文字|半角|1|300|500"));
  const int name = ResolveFieldRef(0, "NAME");
  ASSERT_GE(name, 0) << "the canvas shows the new field";

  // Its own menu opens it again with what was stored; a number is read
  // whole, right-aligned and half-width.
  const POINT on{Item(name).pixelX + Item(name).pixelWidth / 2, Item(name).pixelY + Item(name).pixelHeight / 2};
  ChooseFromMenu(on, 1);  // "記 入 欄 編 集"
  const int again = SheetFieldEditorSlot();
  ASSERT_GE(again, 0) << Boxes();
  SelectWindowSlot(again);
  EXPECT_EQ(FormFieldText("領域名"), "NAME");
  EXPECT_EQ(GetFieldInt("タイプ"), 2);
  EXPECT_EQ(FormFieldText("有効文字種").substr(0, 3), "101");
  EXPECT_EQ(FormFieldText("網掛け"), "●");
  FillAndClose({{"文字型", "2"}, {"タイプ", "1"}, {"Ｂサイズ", "1"}, {"全半角", "1"}, {"変換条件", "1=男,2=女"}});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,文字型,タイプ,編集,全半角,Ｂサイズ,変換条件", "領域コード"),
              ElementsAre("AGE|||左詰||0|", "NAME|数値|一括|右詰|半角|1|1=男,2=女"));
  ForgetBoxes();
  ChooseFromMenu(on, 4);  // "記 入 欄 削 除"
  EXPECT_THAT(BoxTexts(), ElementsAre("“NAME”を削除してもよろしいですか？"));
  EXPECT_THAT(Rows("MUPA_FLD", "領域名", "領域コード"), ElementsAre("AGE"));
}

TEST_P(SheetDesign, TheWriteInFormRefusesWhatTheReadingCouldNotUse) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const std::pair<const char*, std::string> named{"領域名", "HOUR"}, five{"文字数", "5"}, time{"重ね文字", "  :  "};
  ExpectRefusals({300, 500}, 3, {
      {"no name", {{"文字数", "3"}}, "「項目名」が設定されていません。", true},
      {"half-width preprinted in a full-width field", {named, five, {"全半角", "1"}, {"重ね文字", "A"}},
       "「重ね文字」に半角文字が含まれています。\n\n「出力文字種」の設定に合わせて、全ての文字を“全角”で入力してください。",
       true},
      {"full-width preprinted in a half-width field", {named, five, {"全半角", "2"}, {"重ね文字", "Ａ"}},
       "「重ね文字」に全角文字が含まれています。\n\n「出力文字種」の設定に合わせて、全ての文字を“半角”で入力してください。",
       true},
      {"a time with signs", {named, five, time, {"有効文字種", "110"}},
       "時間項目の「認識対象文字種」は“数値”のみに設定してください。", true},
      {"a time stored as a number", {named, five, time, {"文字型", "2"}},
       "時間項目の「項目の型」は“文字型”に設定してください。", true},
      {"a time read whole but not right-aligned", {named, five, time, {"タイプ", "2"}, {"編集", "1"}},
       "時間項目で「認識の単位」が“記入欄”の場合は、「文字編集」は“右詰め”に設定してください。", true},
      {"a name with a sign", {{"領域名", "Q-1"}, five},
       "「項目名」に“半角カッコ”および“記号”“空白”は使用できません。", true},
      {"no characters: nothing is stored", {named, {"文字数", "0"}},
       "「文字数」が設定されていません。編集内容は、無効とします。", false},
  });
  // A time read box by box, as it should be, is kept.
  ChooseFromMenu({300, 500}, 3);
  FillAndClose({named, five, time, {"タイプ", "1"}});
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,重ね文字,有効文字種", "領域コード"),
              ElementsAre("AGE||", "HOUR|  :|1000000000")) << Boxes();
}

TEST_P(SheetDesign, TheKeyItemsDialogKeepsTheKeyAWriteInFieldAndRenamesTheKey) {
  ASSERT_EQ(CreateTableFromSpec("", kSheetDb, "MUPA_PAP", GetParam(), kSheetSpecFile, "MUPA_PAP"), 0);
  Exec("delete from MUPA_PAP");
  Exec("insert into MUPA_PAP (ＯＣＲコード,用紙サイズ,用紙方向,予備３,既存データ) values ('0001','Ａ４','縦',1,1)");
  // The key's field was made a check field: the dialog makes it a write-in
  // field again.
  Exec("update MUPA_FLD set 編集='ﾁｪｯｸ', 重ね文字='A,B', 背景色='→'");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const int age = ResolveFieldRef(0, "AGE");
  ASSERT_GE(age, 0);
  const POINT on{Item(age).pixelX + 4, Item(age).pixelY + Item(age).pixelHeight / 2};
  ChooseFromMenu(on, 2);  // "記入欄に変更"
  const int dialog = KeyFieldDialogSlot();
  ASSERT_GE(dialog, 0) << Boxes();
  EXPECT_FALSE(IsWindowEnabled(canvas_));
  SavePicture(Slot(dialog).window, "key-item-dialog.png");
  SelectWindowSlot(dialog);
  EXPECT_EQ(FormFieldText("領域名"), "AGE");
  EXPECT_EQ(FormFieldText("重ね文字"), "") << "a check field's choices are no key's";
  EXPECT_EQ(GetFieldInt("オートナンバー"), 1);

  struct Case {
    const char* what;
    std::vector<std::pair<const char*, std::string>> fields;
    std::string box;
  };
  const Case refused[] = {
      {"no name", {{"領域名", ""}}, "「項目名」が設定されていません。"},
      {"a name with a sign", {{"領域名", "NO."}}, "「項目名」に“半角カッコ”および“記号”“空白”は使用できません。"},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.what);
    ForgetBoxes();
    for (const auto& [name, value] : c.fields) SetItemValueForCommand(dialog, name, value.c_str());
    PostMessageA(Slot(dialog).window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_THAT(BoxTexts(), ElementsAre(c.box));
    EXPECT_EQ(KeyFieldDialogSlot(), dialog) << "the dialog stays open";
  }
  ForgetBoxes();
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"領域名", "SERIAL"}, {"タイトル", "整理番号"}, {"文字数", "5"}, {"オートナンバー", "2"},
           {"既存データ", "2"}, {"Ｎｏ入力画面", "1"}}) {
    SetItemValueForCommand(dialog, name, value);
  }
  PostMessageA(Slot(dialog).window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_THAT(BoxTexts(), ElementsAre("「キー項目欄」“AGE”の形式を、「チェック欄」から「記入欄」に変更してもよろしいですか？"));
  EXPECT_LT(KeyFieldDialogSlot(), 0) << Boxes();
  EXPECT_TRUE(IsWindowEnabled(canvas_));
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,タイトル,文字数,編集,タイプ,背景色,重ね文字", "領域コード"),
              ElementsAre("SERIAL|整理番号|5|０埋|一括|×|"));
  EXPECT_THAT(Rows("MUPA_PAP", "予備３,既存データ,Ｎｏ入力画面", "ＯＣＲコード"), ElementsAre("2|2|1"));
  EXPECT_THAT(Rows("MUPA_IDX", "ＩＤＸコード,項目名,タイトル", "ＩＤＸコード"), ElementsAre("01|SERIAL|整理番号"));
  EXPECT_GE(ResolveFieldRef(0, "SERIAL"), 0) << "the canvas shows the key under its new name";
  EXPECT_EQ(g_sheetKeys.lastKeyName, "SERIAL");

  // No characters: nothing is stored.
  ChooseFromMenu(on, 1);  // "記 入 欄 編 集" of the key's write-in field
  ASSERT_GE(KeyFieldDialogSlot(), 0) << Boxes();
  ForgetBoxes();
  SetItemValueForCommand(KeyFieldDialogSlot(), "文字数", "0");
  PostMessageA(Slot(KeyFieldDialogSlot()).window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_THAT(BoxTexts(), ElementsAre("「文字数」が設定されていません。編集内容は、無効とします。"));
  EXPECT_LT(KeyFieldDialogSlot(), 0);
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,文字数", "領域コード"), ElementsAre("SERIAL|5"));
}

TEST_P(SheetDesign, TheKeyFieldTurnedIntoACheckFieldKeepsItsKeySwitches) {
  ASSERT_EQ(CreateTableFromSpec("", kSheetDb, "MUPA_PAP", GetParam(), kSheetSpecFile, "MUPA_PAP"), 0);
  Exec("delete from MUPA_PAP");
  Exec("insert into MUPA_PAP (ＯＣＲコード,用紙サイズ,用紙方向,予備３,既存データ) values ('0001','Ａ４','縦',2,1)");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const ScreenItem& age = Item(ResolveFieldRef(0, "AGE"));
  const POINT on{age.pixelX + 4, age.pixelY + age.pixelHeight / 2};
  ChooseFromMenu(on, 2);  // "チェック欄に変更"
  const int editor = SheetFieldEditorSlot();
  ASSERT_GE(editor, 0) << Boxes();
  SavePicture(Slot(editor).window, "key-check-field-editor.png");
  SelectWindowSlot(editor);
  EXPECT_LT(ResolveFieldRef(editor, "文字型"), 0) << "the key's type is not chosen";
  EXPECT_EQ(GetFieldInt("既存データ"), 1);
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"領域名", "AGE"}, {"背景色", "Ｍ"}, {"マーク型", "●"}, {"高さ", "3"}, {"Ｂサイズ", "4"}}) {
    EXPECT_EQ(FormFieldText(name), value) << name << ": preset as a column of ovals";
  }
  // The change is asked for: declined, the key stays a write-in field
  // and the editor closes.
  const char* question = "「キー項目欄」“AGE”の形式を、「記入欄」から「チェック欄」に変更してもよろしいですか？";
  const std::vector<std::pair<const char*, std::string>> typed = {
      {"文字数", "10"}, {"重ね文字", "0123456789"}, {"既存データ", "2"}};
  ForgetBoxes();
  boxes_->Answer(IDNO);
  FillAndClose(typed);
  EXPECT_THAT(BoxTexts(), ElementsAre(question));
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,編集", "領域コード"), ElementsAre("AGE|左詰"));
  EXPECT_THAT(Rows("MUPA_PAP", "予備３,既存データ", "ＯＣＲコード"), ElementsAre("2|1")) << "nor its switches";
  ChooseFromMenu(on, 2);  // "チェック欄に変更"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  ForgetBoxes();
  FillAndClose(typed);
  EXPECT_THAT(BoxTexts(), ElementsAre(question));
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,編集,文字型,文字数,重ね文字,背景色,マーク型,高さ,Ｂサイズ", "領域コード"),
              ElementsAre("AGE|ﾁｪｯｸ|文字|10|0123456789|Ｍ|1|3|4"));
  EXPECT_THAT(Rows("MUPA_PAP", "予備３,既存データ", "ＯＣＲコード"), ElementsAre("1|2"))
      << "marked numbers are read from the sheet";

  // Now a check field: edited as one, with the stored switch.
  const ScreenItem& marks = Item(ResolveFieldRef(0, "AGE"));
  const POINT onMarks{marks.pixelX + 4, marks.pixelY + marks.pixelHeight / 2};
  ChooseFromMenu(onMarks, 1);  // "チェック欄編集"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  SelectWindowSlot(SheetFieldEditorSlot());
  EXPECT_EQ(GetFieldInt("既存データ"), 2);
  EXPECT_EQ(FormFieldText("Ｂサイズ"), "4");
  FillAndClose({});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();

  // Operators edit the key in its dialog only.
  g_currentSheet.projectMode = 2;
  ChooseFromMenu(onMarks, 1);  // "キー項目欄編集"
  g_currentSheet.projectMode = 1;
  EXPECT_GE(KeyFieldDialogSlot(), 0) << Boxes();
}

// Each item the editors start a user on, given only the name and count a
// user must type, is stored as the sheet's own checks before printing and
// reading take it (the shipped paper settings: A4, printed in black).
TEST_P(SheetDesign, EveryPresetOfTheEditorsPassesTheSheetChecks) {
  struct Preset {
    const char* what;
    bool onKey;  // the menu of the key field AGE, else of the empty sheet
    int line;
    std::vector<std::pair<const char*, std::string>> typed;
    const char* firstRefusal;  // the form's own correction, then closed again
  };
  const Preset presets[] = {
      {"a new check field", false, 1, {{"領域名", "Q1"}, {"文字数", "3"}}, nullptr},
      {"a new check field printing its choices in ovals", false, 1,
       {{"領域名", "Q2"}, {"文字数", "3"}, {"背景色", "Ｍ"}},
       "「選択肢の内容」の「位置」が“Ｍ”(ﾏｰｸ型)の場合は、「形式」は自動的に(●)になります。"},
      {"a new write-in field", false, 3, {{"領域名", "W1"}, {"文字数", "4"}}, nullptr},
      {"the key field turned into a check field", true, 2, {{"文字数", "10"}}, nullptr},
  };
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  g_sheetSettings.widthMm = 210;
  g_sheetSettings.heightMm = 297;
  g_sheetSettings.printColourState = 0;  // 印字カラー 1: black
  POINT free{200, 300};
  for (const Preset& p : presets) {
    SCOPED_TRACE(p.what);
    if (p.onKey) {
      const ScreenItem& age = Item(ResolveFieldRef(0, "AGE"));
      ChooseFromMenu({age.pixelX + 4, age.pixelY + age.pixelHeight / 2}, p.line);
    } else {
      ChooseFromMenu(free, p.line);
      free.y += 120;
    }
    ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
    ForgetBoxes();
    FillAndClose(p.typed);
    if (p.firstRefusal) {
      EXPECT_THAT(BoxTexts(), ElementsAre(p.firstRefusal));
      ForgetBoxes();
      FillAndClose({});
    }
    EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
    ForgetBoxes();
    EXPECT_EQ(ValidateSheetFields(), 0);
    EXPECT_THAT(BoxTexts(), ElementsAre());
  }
}

TEST_P(SheetDesign, AKeyThatCannotBeRenamedLeavesTheFieldAndTheSwitchesAsTheyWere) {
  ASSERT_EQ(CreateTableFromSpec("", kSheetDb, "MUPA_PAP", GetParam(), kSheetSpecFile, "MUPA_PAP"), 0);
  Exec("delete from MUPA_PAP");
  Exec("insert into MUPA_PAP (ＯＣＲコード,用紙サイズ,用紙方向,予備３,既存データ) values ('0001','Ａ４','縦',1,1)");
  // A key table that refuses the name BAD.
  Exec("drop table MUPA_IDX");
  Exec("create table MUPA_IDX (ＯＣＲコード varchar(4), ＩＤＸコード varchar(2), 項目名 varchar(40) "
       "check (項目名 <> 'BAD'), タイトル varchar(50), 文字数 int, 初期値 varchar(50))");
  Exec("insert into MUPA_IDX (ＯＣＲコード,ＩＤＸコード,項目名) values ('0001','01','AGE')");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const ScreenItem& age = Item(ResolveFieldRef(0, "AGE"));
  ChooseFromMenu({age.pixelX + 4, age.pixelY + age.pixelHeight / 2}, 1);  // "記 入 欄 編 集"
  const int dialog = KeyFieldDialogSlot();
  ASSERT_GE(dialog, 0) << Boxes();
  ForgetBoxes();
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"領域名", "BAD"}, {"文字数", "5"}, {"オートナンバー", "2"}}) {
    SetItemValueForCommand(dialog, name, value);
  }
  PostMessageA(Slot(dialog).window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_FALSE(BoxTexts().empty()) << "the failed write is reported";
  EXPECT_EQ(KeyFieldDialogSlot(), dialog) << "the dialog stays open";
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,文字数,編集", "領域コード"), ElementsAre("AGE|3|左詰"));
  EXPECT_THAT(Rows("MUPA_PAP", "予備３", "ＯＣＲコード"), ElementsAre("1"));
  EXPECT_THAT(Rows("MUPA_IDX", "項目名", "ＩＤＸコード"), ElementsAre("AGE"));
}

TEST_P(SheetDesign, ACheckFieldInRowsKeepsItsRowsAndTheChoiceEditorShowsThem) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({300, 400}, 1);  // "チェック欄 作 成"
  const int editor = SheetFieldEditorSlot();
  ASSERT_GE(editor, 0) << Boxes();
  const auto state = [editor](const char* name) { return Item(ResolveFieldRef(editor, name)).state; };
  EXPECT_EQ(state("配列個数"), kItemProtected) << "one line of choices has no rows";
  SetItemValueForCommand(editor, "領域名", "Q1");
  SetItemValueForCommand(editor, "文字数", "30");
  ClickChoice(editor, "複数行指定", 1);  // 横向き（→）
  SelectWindowSlot(editor);
  EXPECT_EQ(GetFieldInt("複数行指定"), 2);
  EXPECT_EQ(state("配列個数"), kItemEnabled);
  SetItemValueForCommand(editor, "配列個数", "4");
  SetItemValueForCommand(editor, "配列行間", "6");
  SavePicture(Slot(editor).window, "check-field-editor.png");
  ForgetBoxes();
  ClickChoice(editor, "文字型", 1);  // 数値型
  EXPECT_THAT(BoxTexts(), ElementsAre("注意：“数値型”にチェックした場合は、記入エラー時に、“*”マークを出力できません。\n"
                                      "【項目の型】は、データベースのフィールドの型です。\n"
                                      "チェック内容を番号(数字)で取得する場合も、通常は“文字型”にチェックしてください。"));
  ClickChoice(editor, "文字型", 0);

  // The choice editor lays the 30 choices out in the 4 rows, 8 a row.
  const ScreenItem& button = Item(ResolveFieldRef(editor, "MEDIT"));
  ClickAt(Slot(editor).window, button.pixelX + button.pixelWidth / 2 - Slot(editor).scrollX,
          button.pixelY + button.pixelHeight / 2 - Slot(editor).scrollY);
  const int choices = ChoiceEditorSlot();
  ASSERT_GE(choices, 0) << Boxes();
  SavePicture(Slot(choices).window, "choice-editor-rows.png");
  const auto row = [choices](const char* name) { return Item(ResolveFieldRef(choices, name)).row; };
  EXPECT_EQ(row("MARK08"), row("MARK01"));
  EXPECT_GT(row("MARK09"), row("MARK01"));
  EXPECT_GT(row("MARK25"), row("MARK17"));
  PostMessageA(Slot(choices).window, WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_LT(ChoiceEditorSlot(), 0);

  ExpectCloseRefused({{"配列個数", "31"}}, "「行数」が「チェック数」を越えています。");
  ExpectCloseRefused({{"配列個数", "4"}, {"背景色", "Ｍ"}, {"マーク型", "×"}},
                     "「選択肢の内容」の「位置」が“Ｍ”(ﾏｰｸ型)の場合は、「形式」は自動的に(●)になります。");
  SelectWindowSlot(editor);
  EXPECT_EQ(FormFieldText("マーク型"), "●");
  FillAndClose({});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,タイプ,配列個数,配列行間,配列開始,マーク型,背景色,文字型", "領域コード"),
              ElementsAre("AGE||0|0|0|0||", "Q1|Ｘ|4|6|-1|1|Ｍ|文字"));

  // Back to one line: the rows leave no repetition behind.
  const ScreenItem& q1 = Item(ResolveFieldRef(0, "Q1"));
  ChooseFromMenu({q1.pixelX + 4, q1.pixelY + q1.pixelHeight / 2}, 1);  // "チェック欄編集"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  SelectWindowSlot(SheetFieldEditorSlot());
  EXPECT_EQ(GetFieldInt("配列個数"), 4);
  ClickChoice(SheetFieldEditorSlot(), "複数行指定", 0);
  FillAndClose({});
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,タイプ,配列個数,配列開始", "領域コード"), ElementsAre("AGE||0|0", "Q1||0|0"));
}

// Files dropped from the desktop as a user drops them: a WM_DROPFILES
// with the files' paths at the point `at` of the canvas's client area.
void DropFiles(HWND window, const std::vector<std::string>& paths, POINT at) {
  size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string& p : paths) bytes += p.size() + 1;
  const HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = at;
  char* names = reinterpret_cast<char*>(drop + 1);
  for (const std::string& p : paths) names = std::copy(p.begin(), p.end(), names) + 1;
  GlobalUnlock(memory);
  PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
  PumpMessages();
}

TEST_P(SheetDesign, FilesDroppedOnTheSheetBecomePicturesAndTextItems) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string picture = std::string(temp) + "LOGO.BMP", text = std::string(temp) + "NOTE.TXT";
  // A grey picture of 40 x 30 pixels, 24 bits a pixel (rows of 120 bytes).
  std::string bmp(54 + 120 * 30, '\x80');
  const auto put = [&bmp](size_t at, uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k) bmp[at + k] = static_cast<char>(value >> (8 * k));
  };
  bmp[0] = 'B', bmp[1] = 'M';
  put(2, static_cast<uint32_t>(bmp.size()), 4), put(6, 0, 4), put(10, 54, 4), put(14, 40, 4), put(18, 40, 4);
  put(22, 30, 4), put(26, 1, 2), put(28, 24, 2);
  for (size_t at = 30; at < 54; ++at) bmp[at] = 0;
  WriteTextFile(picture, bmp);
  WriteTextFile(text, "ご記入のお願い\r\n二行目は読まない\r\n");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  DropFiles(canvas_, {picture}, {200, 600});
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード", "領域コード"), ElementsAre("0001")) << "not in design mode";
  ToggleDesign();
  const WindowSlot& s = Slot(0);
  DropFiles(canvas_, {picture}, {200, 600});
  DropFiles(canvas_, {text}, {200, 700});
  const std::string x = std::to_string(200 + s.scrollX), y = std::to_string(600 + s.scrollY);
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,編集,アイコン,タイプ,Ｂサイズ,重ね文字,文字数,Ｘ座標,Ｙ座標", "領域コード"),
              ElementsAre("0001|左詰|||0||3|40|80", "B001|BMAP|" + picture.substr(2) + "|PBUT|1||0|" + x + "|" + y,
                          "T001|左詰|||0|ご記入のお願い|14|" + x + "|" + std::to_string(700 + s.scrollY)))
      << Boxes();
  int shown = -1;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    if (Item(i).code == "B001") shown = i;
  }
  ASSERT_GE(shown, 0) << "the canvas shows the picture";
  EXPECT_EQ(Item(shown).edit, 'I');
  // A copy stands right of the picture, under the next picture code.
  const POINT centre{Item(shown).pixelX + Item(shown).pixelWidth / 2, Item(shown).pixelY + Item(shown).pixelHeight / 2};
  const std::string copyX = std::to_string(200 + s.scrollX + Item(shown).pixelWidth + 20);
  ChooseFromMenu(centre, 2);  // "ビットマップ複製"
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,アイコン,Ｘ座標", "領域コード"),
              ElementsAre("0001||40", "B001|" + picture.substr(2) + "|" + x, "B002|" + picture.substr(2) + "|" + copyX,
                          "T001||" + x))
      << Boxes();
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    if (Item(i).code == "B001") shown = i;
  }
  ForgetBoxes();
  EXPECT_GT(Item(shown).pixelWidth, 0) << "the picture has its size";
  ChooseFromMenu({Item(shown).pixelX + Item(shown).pixelWidth / 2, Item(shown).pixelY + Item(shown).pixelHeight / 2},
                 1);  // "ビットマップ削除"
  EXPECT_THAT(BoxTexts(), ElementsAre("“LOGO.BMP”を削除してもよろしいですか？"));
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード", "領域コード"), ElementsAre("0001", "B002", "T001"));
  DeleteFileA(picture.c_str());
  DeleteFileA(text.c_str());
}

TEST_P(SheetDesign, ACopyTakesTheLowestFreeCodeAndStandsRightOfItsItem) {
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,タイトル位置,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ,"
       "Ｂサイズ,サイズ) values ('0001','0002','Q1','問','←','ﾁｪｯｸ',3,40,300,5,5,1,7)");
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ,タイプ) "
       "values ('0001','0004','Q2','','ﾁｪｯｸ',4,40,500,5,5,'Ｘ')");
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ) "
       "values ('0001','0007','MEMO','','左詰',4,40,700,6,5)");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const ScreenItem& q1 = Item(ResolveFieldRef(0, "Q1"));
  ChooseFromMenu({q1.pixelX + 4, q1.pixelY + q1.pixelHeight / 2}, 4);  // "チェック欄複製"
  // (3 boxes + 1 mm apart) x 5 mm x the dots of a mm, and the title "問"
  // with 2 more characters of size 7.
  const int x = 40 + (3 + 1) * 5 * SheetDotsPerGridUnit() + (2 + 2) * 7;
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,領域名,Ｘ座標,Ｙ座標", "領域コード"),
              ElementsAre("0001|AGE|40|80", "0002|Q1|40|300", "0003|Q1|" + std::to_string(x) + "|300",
                          "0004|Q2|40|500", "0007|MEMO|40|700"))
      << Boxes();
  // Choices in rows have no repetition of their own: their menu's fourth
  // line is no longer there.
  const ScreenItem& q2 = Item(ResolveFieldRef(0, "Q2"));
  ChooseFromMenu({q2.pixelX + 4, q2.pixelY + q2.pixelHeight / 2}, 3);  // "チェック欄複製"
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード", "領域コード"), ElementsAre("0001", "0002", "0003", "0004", "0005", "0007"))
      << Boxes();
  // A write-in field's copy: right of its four boxes of 6 mm.
  const ScreenItem& memo = Item(ResolveFieldRef(0, "MEMO"));
  ChooseFromMenu({memo.pixelX + 4, memo.pixelY + memo.pixelHeight / 2}, 5);  // "記 入 欄 複 製"
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,領域名,Ｘ座標,Ｙ座標", "領域コード"),
              testing::Contains("0006|MEMO|" + std::to_string(40 + 4 * 6 * SheetDotsPerGridUnit()) + "|700"))
      << Boxes();
}

TEST_P(SheetDesign, TheChoiceEditorEditsEachChoiceAndGivesTheTextsBack) {
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({300, 400}, 1);  // "チェック欄 作 成"
  const int editor = SheetFieldEditorSlot();
  ASSERT_GE(editor, 0) << Boxes();
  const auto pressChoiceButton = [editor] { PressChoiceButton(editor); };
  // Without choices or a name there is nothing to edit.
  ForgetBoxes();
  pressChoiceButton();
  EXPECT_THAT(BoxTexts(), ElementsAre("「チェック数」が設定されていません。"));
  SetItemValueForCommand(editor, "文字数", "3");
  ForgetBoxes();
  pressChoiceButton();
  EXPECT_THAT(BoxTexts(), ElementsAre("「項目名 (フィールド名)」が設定されていません。"));
  EXPECT_LT(ChoiceEditorSlot(), 0);

  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"領域名", "Q1"}, {"重ね文字", "A,B,C"}, {"変換条件", ""}}) {
    SetItemValueForCommand(editor, name, value);
  }
  pressChoiceButton();
  const int choices = ChoiceEditorSlot();
  ASSERT_GE(choices, 0) << Boxes();
  EXPECT_FALSE(IsWindowEnabled(Slot(editor).window)) << "the field editor waits";
  SavePicture(Slot(choices).window, "choice-editor.png");
  SelectWindowSlot(choices);
  EXPECT_EQ(FormFieldText("MARK02"), "B");
  // Closed unchanged, the texts stay as they were typed.
  PostMessageA(Slot(choices).window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_LT(ChoiceEditorSlot(), 0);
  EXPECT_TRUE(IsWindowEnabled(Slot(editor).window));
  SelectWindowSlot(editor);
  EXPECT_EQ(FormFieldText("重ね文字"), "A,B,C");

  pressChoiceButton();
  ASSERT_GE(ChoiceEditorSlot(), 0);
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"MARK02", "BB"}, {"MARK03", "^"}, {"DATA01", "1"}, {"DATA02", "2"}}) {
    SetItemValueForCommand(ChoiceEditorSlot(), name, value);
  }
  PostMessageA(Slot(ChoiceEditorSlot()).window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_LT(ChoiceEditorSlot(), 0);
  FillAndClose({});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,重ね文字,変換条件", "領域コード"), ElementsAre("AGE||", "Q1|A,BB,^|12^"));
}

TEST_P(SheetDesign, AOneChoiceFieldKeepsItsWholeChoiceThroughTheChoiceEditor) {
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ,重ね文字,"
       "変換条件,背景色) values ('0001','0002','AGREE','同意','ﾁｪｯｸ',1,300,400,8,9,'OK','10','→')");
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const ScreenItem& agree = Item(ResolveFieldRef(0, "AGREE"));
  ChooseFromMenu({agree.pixelX + 4, agree.pixelY + agree.pixelHeight / 2}, 1);  // "チェック欄編集"
  const int editor = SheetFieldEditorSlot();
  ASSERT_GE(editor, 0) << Boxes();
  PressChoiceButton(editor);
  ASSERT_GE(ChoiceEditorSlot(), 0) << Boxes();
  SelectWindowSlot(ChoiceEditorSlot());
  EXPECT_EQ(FormFieldText("MARK01"), "OK");
  EXPECT_EQ(FormFieldText("DATA01"), "10");
  // The value changed: the printed content stays whole.
  SetItemValueForCommand(ChoiceEditorSlot(), "DATA01", "20");
  PostMessageA(Slot(ChoiceEditorSlot()).window, WM_CLOSE, 0, 0);
  PumpMessages();
  EXPECT_LT(ChoiceEditorSlot(), 0);
  FillAndClose({});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,重ね文字,変換条件", "領域コード"), ElementsAre("AGE||", "AGREE|OK|20"));
}

// The output table's columns that no field fills yet are offered on the
// background in design mode; the one chosen becomes a write-in field of its
// name where the menu was opened: a number ten boxes wide, a text as long as
// its column. The sheet opens again with it.
TEST_P(SheetDesign, AColumnOfTheOutputTableBecomesAFieldWhereTheMenuWasOpened) {
  const int slot = db_alloc_slot("", kSheetDb, "KAITO", GetParam());
  ASSERT_GT(slot, 0);
  ExecSlotSql(slot, "drop table KAITO", 1);
  db_disconnect(slot);
  Exec("create table KAITO (ID varchar(8), NAME varchar(12), AGE integer, SCORE float)");
  g_sheetSettings.outputTable = "KAITO";
  g_currentSheet.outputFolder = "";
  g_currentSheet.outputDatabase = kSheetDb;
  g_currentSheet.outputKind = GetParam();
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  ChooseFromMenu({300, 500}, 5);  // "出力項目から作成"
  ChooseShownLine(2);  // ID, NAME, SCORE: AGE is a field already
  ChooseFromMenu({300, 700}, 5);
  ChooseShownLine(2);  // ID, SCORE
  EXPECT_THAT(Rows("MUPA_FLD", "領域コード,領域名,タイトル,文字型,文字数,Ｘ座標,Ｙ座標", "領域コード"),
              ElementsAre("0001|AGE|年齢||3|40|80", "0002|NAME|NAME|文字|12|300|500",
                          "0003|SCORE|SCORE|数値|10|300|700"))
      << Boxes();
  EXPECT_GE(ResolveFieldRef(0, "NAME"), 0) << "shown at once";
  ToggleDesign();
  CloseSlot(0);
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  EXPECT_GE(ResolveFieldRef(0, "SCORE"), 0);
  ToggleDesign();
  // With every column a field the entry is not offered.
  ChooseFromMenu({300, 800}, 3);  // "記 入 欄 作 成"
  ASSERT_GE(SheetFieldEditorSlot(), 0);
  FillAndClose({{"領域名", "ID"}, {"タイトル", "番号"}, {"文字数", "8"}});
  ASSERT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  const WindowSlot& s = Slot(0);
  PostMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300 - s.scrollX, 900 - s.scrollY));
  PumpMessages();
  ChooseShownLine(5);  // no such line: nothing
  EXPECT_EQ(Rows("MUPA_FLD", "領域名", "領域コード").size(), 4u);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
  Exec("drop table KAITO");
  g_sheetSettings.outputTable.clear();
}

TEST_P(SheetDesign, RepetitionsAndReferenceMastersAreSettingsOfAFieldOnTheSheet) {
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ) "
       "values ('0001','0002','NAME','氏名','左詰',4,40,200,6,5)");
  Exec("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,編集,文字数,Ｘ座標,Ｙ座標,横幅,高さ,しきい値) "
       "values ('0001','0003','COLOR','色','ﾁｪｯｸ',3,40,400,5,5,40)");
  g_sheetSettings.outputTable = "OUT1";  // as the sheet's paper row names it
  ASSERT_EQ(OpenProject(), 0) << Boxes();
  ToggleDesign();
  const auto centre = [](const char* name) {
    const ScreenItem& it = Item(ResolveFieldRef(0, name));
    return POINT{it.pixelX + 4, it.pixelY + it.pixelHeight / 2};
  };
  const POINT name = centre("NAME");

  ChooseFromMenu(name, 2);  // "参照マスター定義"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  SavePicture(Slot(SheetFieldEditorSlot()).window, "reference-master.png");
  ForgetBoxes();
  FillAndClose({{"参照テーブル", "OUT1"}});
  EXPECT_THAT(BoxTexts(), ElementsAre("参照するマスターファイルのテーブル名が、出力テーブル“OUT1”と同じ名前に設定されています。"));
  ASSERT_GE(SheetFieldEditorSlot(), 0) << "the form stays open";
  FillAndClose({{"参照テーブル", "MST"}, {"キー項目名", "CODE"}, {"取得項目名", "LABEL"}, {"書込項目名", "NAME2"},
                {"マスターエラー", "1"}});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,参照テーブル,キー項目名,取得項目名,書込項目名,マスターエラー,文字数", "領域コード"),
              ElementsAre("AGE|||||0|3", "NAME|MST|CODE|LABEL|NAME2|1|4", "COLOR|||||0|3"));

  ChooseFromMenu(name, 3);  // "繰り返し項目定義"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  SavePicture(Slot(SheetFieldEditorSlot()).window, "repeated-item.png");
  ForgetBoxes();
  FillAndClose({{"配列個数", "1"}});
  EXPECT_THAT(BoxTexts(), ElementsAre("「個数」は、２以上の値を入力してください。"));
  ASSERT_GE(SheetFieldEditorSlot(), 0) << "the form stays open";
  ForgetBoxes();
  FillAndClose({{"配列開始", "1"}, {"配列個数", "3"}, {"配列行間", "10"}, {"配列番号", "4"}, {"印字開始番号", "5"},
                {"番号印字位置", "2"}, {"配列ﾀｲﾄﾙ", "1"}});
  EXPECT_LT(SheetFieldEditorSlot(), 0) << Boxes();
  // A check field's repetition keeps its mark threshold: the number's place
  // has no column of its own.
  ChooseFromMenu(centre("COLOR"), 2);  // "繰り返し項目定義"
  ASSERT_GE(SheetFieldEditorSlot(), 0) << Boxes();
  FillAndClose({{"配列開始", "1"}, {"配列個数", "2"}, {"配列番号", "2"}, {"番号印字位置", "2"}});
  EXPECT_THAT(Rows("MUPA_FLD", "領域名,配列開始,配列個数,配列行間,配列番号,印字開始番号,重複,しきい値", "領域コード"),
              ElementsAre("AGE|0|0|0|0|0||0", "NAME|1|3|10|3|5|1|2", "COLOR|1|2|0|1|0|0|40"));
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

INSTANTIATE_TEST_SUITE_P(Databases, SheetDesign, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
