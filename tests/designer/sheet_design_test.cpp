// The sheet canvas in design mode under Wine: an item dragged with the
// mouse lands on the half-grid (or the guide lines) and its place is stored
// in MUPA_FLD; ruled lines drawn on the sheet are stored in MUPA_LIN with
// their codes in order. Runs on the file database (SQLite) and on the
// server database (PostgreSQL).
#include <windows.h>

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/item_dragging.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

namespace {

using testing::ElementsAre;

constexpr char kSheetDb[] = "DESIGNTEST";

class SheetDesign : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    UseRecordingWorkWindows();
    workbench_ = CreateTestWindowOfClass("KQE_READ");
    canvas_ = CreateTestWindowOfClass("Ocr");
    windows_.push_back(canvas_);
    windows_.push_back(workbench_);
    g_sheetDefinition = SheetDefinitionRef();
    g_sheetDefinition.database = kSheetDb;
    g_sheetDefinition.kind = GetParam();
    g_sheetCanvas = SheetCanvasState();
    g_sheetCanvas.columns = g_sheetCanvas.rows = 100;
    g_sheetCanvas.pitch = 10;
    g_lineEdit = RuledLineEditState();
    InstallDesignModeCalls();
    for (const char* table : {"MUPA_FLD", "MUPA_LIN"}) {
      const int slot = db_alloc_slot("", kSheetDb, table, GetParam());
      ASSERT_GT(slot, 0);
      ExecSlotSql(slot, (std::string("drop table ") + table).c_str(), 1);
      db_disconnect(slot);
    }
    ASSERT_EQ(CreateTableFromSpec("", kSheetDb, kSheetFieldTable, GetParam(), kSheetSpecFile, kSheetFieldTable), 0);
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

  HWND workbench_ = nullptr;
  HWND canvas_ = nullptr;
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

INSTANTIATE_TEST_SUITE_P(Databases, SheetDesign, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
