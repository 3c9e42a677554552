// The design of the sheet begun and ended with the workbench's 編集 button
// of the program started in the test's process: the design's buttons and
// notice, guide snapping from the "スナップ" button, ruled lines drawn with
// the mouse and saved with the side they were drawn on when the side switch
// turns the sheet, and kept when the workbench is closed and opened again.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer/item_dragging.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "program/program.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tests/designer/designer_program_fixture.h"

namespace {

constexpr char kSheetName[] = "DESIGN";

// An A4 sheet with the key item ID and a check field on the front; a
// paired scan type (3, or 4 for two sheets a set) makes it two pages a
// record, with the back's paper row unless `backRow` is false.
SheetDefinition DesignSheet(int scanType, bool backRow = true) {
  SheetDefinition d = KeyedSheet("デザイン");
  d.papers[0].scanType = scanType;
  d.fields.push_back(CountedCheckFieldRow("0002", "Q1", 240, 280, 3, 1));
  if (scanType >= kScanPaired && backRow) AddBackPaper(d, scanType);
  return d;
}

// "side:x1,y1-x2,y2" of the sheet's stored ruled lines.
std::vector<std::string> StoredLines() {
  std::vector<std::string> lines;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_LIN", sheet.kind, "MUPADATA", "MUPA_LIN",
                        "select * from MUPA_LIN order by ＯＣＲコード,LINCODE");
  if (t < 0) return {"?"};
  for (int rc = db_toppos(t, "ＯＣＲコード,LINCODE"); rc == 0; rc = db_nread(t)) {
    // GetColumnAsText gives one buffer for every call: each is kept at once.
    const auto number = [t](const char* column) { return std::string(GetColumnAsText(t, column)); };
    const std::string x1 = number("LINX1"), y1 = number("LINY1"), x2 = number("LINX2"), y2 = number("LINY2");
    lines.push_back(std::string(GetColumnText(t, "ＯＣＲコード")) + ":" + x1 + "," + y1 + "-" + x2 + "," + y2);
  }
  db_close(t);
  return lines;
}

std::vector<std::string> PaperSides() {
  std::vector<std::string> sides;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_PAP", sheet.kind, "MUPADATA", "MUPA_PAP",
                        "");
  if (t < 0) return {"?"};
  for (int rc = db_toppos(t, "ＯＣＲコード"); rc == 0; rc = db_nread(t)) sides.push_back(GetColumnText(t, "ＯＣＲコード"));
  db_close(t);
  return sides;
}

class FormatEditing : public DesignerProgramTest {
 protected:
  HWND OpenBench() { return DesignerProgramTest::OpenBench(kCmdDesign); }
  static HWND Bench() { return FindWindowA("KQE_READ", nullptr); }
  static HWND Canvas() { return FindWindowExA(Bench(), nullptr, "Ocr", nullptr); }
  static int BenchSlot() { return SlotOfWindow(Bench()); }
  static int CanvasSlot() { return SlotOfWindow(Canvas()); }
  static int State(const char* name) {
    const int item = ResolveFieldRef(BenchSlot(), name);
    return item >= 0 ? Item(item).state : -1;
  }
  static std::string Guide(const char* name) {
    const int item = ResolveFieldRef(BenchSlot(), name);
    return item >= 0 ? Item(item).guide : "?";
  }

  // Clicks line `row` (from 0) of the side switch, a radio group without a
  // caption: its lines are a pitch apart from the top.
  void ClickSide(int row) {
    const int slot = BenchSlot();
    const ScreenItem& item = Item(ResolveFieldRef(slot, "RYOUMEN"));
    const int pitch = item.pixelHeight / (item.count + 1);
    ClickOn(Bench(), POINT{item.pixelX + 2 * item.charSize + 8 - Slot(slot).scrollX,
                           item.pixelY + (row + 1) * pitch - Slot(slot).scrollY});
  }

  // Draws a line with the mouse on an empty part of the canvas.
  static void DrawLine(POINT from, POINT to) {
    const HWND canvas = Canvas();
    PostMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    PostMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    PostMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    RunPostedMessages();
  }

  // The canvas's lines in memory, as "x1,y1-x2,y2".
  static std::vector<std::string> ShownLines() {
    std::vector<std::string> lines;
    const WindowSlot& s = Slot(CanvasSlot());
    for (int k = s.firstLine; k < s.firstLine + s.lineCount && k < kMaxRuledLines; ++k) {
      const RuledLine& l = g_ruledLines[k];
      if (l.kind == 0) continue;
      lines.push_back(std::to_string(l.x1) + "," + std::to_string(l.y1) + "-" + std::to_string(l.x2) + "," +
                      std::to_string(l.y2));
    }
    return lines;
  }
};

TEST_F(FormatEditing, TheEditButtonDesignsTheSheetAndItsLinesStayWithTheirSide) {
  ChooseSheet(DesignSheet(kScanPaired), kSheetName);
  OpenBench();
  ASSERT_TRUE(Canvas());
  EXPECT_EQ(Slot(CanvasSlot()).lineEditMode, 0);
  EXPECT_EQ(FieldText(BenchSlot(), "RYOUMEN"), "1") << "the front is shown";

  ClickItem(Bench(), "OCREDT");
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  ASSERT_EQ(Slot(CanvasSlot()).lineEditMode, 1);
  // The notice begins in the field, as much as its width holds.
  EXPECT_EQ(FieldText(BenchSlot(), "EDITMSG").rfind("[Shift]＋[矢印キー]＝", 0), 0u);
  for (const char* name : {"OCRREAD", "SCANER", "LT"}) EXPECT_EQ(State(name), kItemHidden) << name;
  for (const char* name : {"スナップ", "KNARABI", "RYOUMEN"}) EXPECT_EQ(State(name), kItemEnabled) << name;

  // Guide snapping goes on and off with the button, its tip saying what
  // the next click does.
  EXPECT_EQ(GuideSnapOn(), 0);
  EXPECT_EQ(Guide("スナップ"), "ガイドラインへの自動配置(スナップ)を有効(ＯＮ)にします");
  ClickItem(Bench(), "スナップ");
  EXPECT_EQ(GuideSnapOn(), 1);
  EXPECT_EQ(Guide("スナップ"), "ガイドラインへの自動配置(スナップ)を無効(ＯＦＦ)にします");
  EXPECT_EQ(FieldText(BenchSlot(), "スナップ"), "1");
  ClickItem(Bench(), "スナップ");
  EXPECT_EQ(GuideSnapOn(), 0);

  // A line drawn on the front is saved with the front when the back is
  // shown; the back shows its own (none), the front its line again.
  DrawLine({100, 700}, {400, 700});
  ASSERT_EQ(ShownLines().size(), 1u);
  const std::string front = ShownLines()[0];
  SavePictureOnRequest(Bench(), "workbench_format_editing");
  EXPECT_THAT(StoredLines(), testing::IsEmpty()) << "saved when the design ends or the side changes";
  ClickSide(1);
  EXPECT_EQ(g_sheetDefinition.sheetCode, "0002");
  EXPECT_EQ(FieldText(BenchSlot(), "RYOUMEN"), "2");
  EXPECT_THAT(StoredLines(), testing::ElementsAre("0001:" + front));
  EXPECT_THAT(ShownLines(), testing::IsEmpty());
  EXPECT_EQ(Slot(CanvasSlot()).lineEditMode, 1) << "the design goes on on the back";
  DrawLine({100, 500}, {100, 900});
  ASSERT_EQ(ShownLines().size(), 1u);
  const std::string back = ShownLines()[0];
  ClickSide(0);
  EXPECT_THAT(ShownLines(), testing::ElementsAre(front));
  EXPECT_THAT(StoredLines(), testing::ElementsAre("0001:" + front, "0002:" + back));

  // The end of the design brings the reading buttons back; the snapping
  // button then does nothing.
  ClickItem(Bench(), "OCREDT");
  EXPECT_EQ(Slot(CanvasSlot()).lineEditMode, 0);
  for (const char* name : {"OCRREAD", "SCANER", "LT"}) EXPECT_EQ(State(name), kItemEnabled) << name;
  EXPECT_EQ(State("スナップ"), kItemHidden);
  Choose(205, 1);
  EXPECT_EQ(GuideSnapOn(), 0);
  EXPECT_THAT(Boxes(), testing::IsEmpty());

  // Closed and opened again, the workbench shows the front's line.
  ClickItem(Bench(), "PRJESC");
  EXPECT_FALSE(IsWindowVisible(Bench()));
  OpenBench();
  EXPECT_THAT(ShownLines(), testing::ElementsAre(front));
  EXPECT_EQ(FieldText(BenchSlot(), "RYOUMEN"), "1");
  ClickItem(Bench(), "PRJESC");
}

// Leaving the design, the sheet's list screen made before it is checked
// against the sheet: a field added since asks for the screen to be built
// again.
TEST_F(FormatEditing, LeavingTheDesignSaysWhenTheEntryScreenMustBeBuiltAgain) {
  ChooseSheet(DesignSheet(kScanFeeder), kSheetName);
  OpenBench();
  ClickItem(Bench(), "LISTINP");  // the list screen is made from the sheet
  const HWND screenSet = FindWindowA("ScrSet", nullptr);
  ASSERT_TRUE(IsWindowVisible(screenSet)) << testing::PrintToString(Boxes());
  ClickItem(screenSet, "SCRQUIT");
  ASSERT_FALSE(IsWindowVisible(screenSet));
  ClickItem(Bench(), "OCREDT");
  ClickItem(Bench(), "OCREDT");
  EXPECT_THAT(Boxes(), testing::IsEmpty()) << "nothing changed";

  ClickItem(Bench(), "OCREDT");
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = db_open(sheet.folder.c_str(), sheet.database.c_str(), "MUPA_FLD", sheet.kind, "MUPADATA", "MUPA_FLD", "");
  ASSERT_GT(t, 0);
  EXPECT_EQ(db_exec(t, "insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,編集,文字数,しきい値,Ｘ座標,Ｙ座標,横幅,高さ) "
                       "values ('0001','0003','Q2','ﾁｪｯｸ',3,100,240,360,5,5)"),
            0);
  db_close(t);
  ClickItem(Bench(), "OCREDT");
  EXPECT_THAT(Boxes(), testing::ElementsAre("ＯＣＲシートの内容が変更されています。\n"
                                            "「シートフォーマットをもとに再構築」にチェックして〔実行〕を押してください。"));
  EXPECT_EQ(Slot(CanvasSlot()).lineEditMode, 0);
}

// The side switch is there for sheets read two pages a record, with the
// texts of its kind; the back gets its paper row from the front.
TEST_F(FormatEditing, TheSideSwitchShowsForPairedSheetsOnly) {
  const struct {
    const char* what;
    const char* sheet;
    int scanType;
    bool backRow;
    int state;
    const char* choices;
    std::vector<std::string> sides;
  } cases[] = {
      {"one-sided", "ONESIDE", kScanFeeder, false, kItemHidden, nullptr, {"0001"}},
      {"two-sided", "TWOSIDES", kScanPaired, true, kItemEnabled, "表面,裏面", {"0001", "0002"}},
      {"two sheets a set, back row missing", "TWOSHEETS", 4, false, kItemEnabled, "１枚目,２枚目", {"0001", "0002"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ChooseSheet(DesignSheet(c.scanType, c.backRow), c.sheet);
    OpenBench();
    EXPECT_EQ(State("RYOUMEN"), c.state);
    EXPECT_EQ(State("RYOUTTL"), c.state);
    if (c.choices) {
      EXPECT_EQ(Item(ResolveFieldRef(BenchSlot(), "RYOUMEN")).choices, c.choices);
    }
    EXPECT_EQ(PaperSides(), c.sides);
    if (c.scanType == 4) SavePictureOnRequest(Bench(), "workbench_side_switch");
    ClickItem(Bench(), "PRJESC");
    EXPECT_FALSE(IsWindowVisible(Bench()));
  }
}

}  // namespace
