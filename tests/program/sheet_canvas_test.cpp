// The sheet canvas inside the workbench as the program opens it from the
// menu: it becomes the canvas of the reading run, so a feeder of generated
// sheets is read into one row per sheet with the key the run numbers; it
// paints the sheet's fields over the paper; and it takes dropped files by
// the rules of its mode.
#include <windows.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "designer/question_list.h"
#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "program/program.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tests/program/program_fixture.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/table_rows.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"
#include "tools/sheetgen/page_reader.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

using testing::HasSubstr;

constexpr int kDpi = 200;  // USER.INI beside the tests: DPI 200
constexpr char kSheetName[] = "CANVAS";

// An A4 sheet whose key item ID is borne by a write-in field and numbered
// by the run, with two check fields; `twoSided` adds a back with one check
// field of its own.
SheetDefinition CanvasSheet(bool twoSided) {
  SheetDefinition d = NumberedKeySheet("キャンバス", "KAITO");
  d.papers[0].noiseSize = 2;
  d.papers[0].scanType = twoSided ? kScanPaired : kScanFeeder;
  // Check fields read at a light threshold: side, code, name, row, boxes
  // and the most marks counted.
  const struct {
    const char *side, *code, *name;
    int y, boxes, most;
  } checks[] = {{"0001", "0002", "Q1", 280, 5, 5}, {"0001", "0003", "Q2", 360, 3, 1}, {"0002", "0004", "Q3", 280, 4, 1}};
  for (const auto& c : checks) {
    if (!twoSided && std::string(c.side) == "0002") continue;
    SheetFieldRow row = CountedCheckFieldRow(c.code, c.name, 240, c.y, c.boxes, c.most);
    row.side = c.side;
    d.fields.push_back(row);
  }
  if (twoSided) {
    SheetPaperRow back = d.papers[0];
    back.side = "0002";
    d.papers.push_back(back);
  }
  SheetKeyRow key;
  key.code = "01";
  key.name = "ID";
  key.title = "ＩＤ";
  key.width = 4;
  d.keys.push_back(key);
  for (const SheetPaperRow& p : d.papers) d.marks.push_back(RegisteredMarkRow(d, p.side, kDpi));
  return d;
}

using Row = std::map<std::string, std::string>;

class SheetCanvasProgram : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    SetSheetDesigner(true);
    ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
    feederSettings_ = GetProgramFolder() + "\\SCANFEED.INI";
    CreateDirectoryA((folder() + "\\feed").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(feederSettings_, "[Feeder]\r\nName=Test Feeder\r\nFolder=" + folder() +
                                                "\\feed\r\nTray=" + folder() + "\\fed\r\n"));
  }

  void TearDown() override {
    DeleteFileA(feederSettings_.c_str());
    ProgramTest::TearDown();
  }

  // Writes the sheet's definition and the output table's description and
  // chooses the sheet, as the menu's file choice leaves it.
  void ChooseSheet(const SheetDefinition& definition) {
    definition_ = definition;
    const std::string teigi = folder() + "\\teigi";
    CreateDirectoryA(teigi.c_str(), nullptr);
    ASSERT_EQ(WriteSheetDefinition(teigi.c_str(), kSheetName, definition), 0) << testing::PrintToString(Boxes());
    for (const char* table : {"調査定義", "調査項目"}) {
      ASSERT_EQ(CreateTableFromSpec(teigi.c_str(), kSheetName, table, kDbKindFile, table, table), 0);
    }
    WriteInstallationFile("KAITO.spc", "KAITO\r\nFIELD\r\n\"ID\",\"char*\",\"ID\",4,0,0,\"\",4\r\n"
                                       "\"Q1\",\"char*\",\"Q1\",20,0,0,\"\",20\r\n"
                                       "\"Q2\",\"char*\",\"Q2\",20,0,0,\"\",20\r\n"
                                       "\"Q3\",\"char*\",\"Q3\",20,0,0,\"\",20\r\n"
                                       "INDEX\r\n\"ID\",\"\xe2\x96\xb3\"\r\nEND\r\n");
    // The output database's folder, made by the first use of an
    // installation (which says so), is there.
    CreateDirectoryA((folder() + "\\data").c_str(), nullptr);
    SetCurrentDefinition(teigi, kSheetName);
    ASSERT_EQ(WriteDefinitionPath(), 0);
  }

  // The workbench of the chosen sheet, opened from the menu in a mode.
  HWND OpenBench(int command) {
    ForgetBoxes();
    Command(command);
    const HWND bench = FindWindowA("KQE_READ", nullptr);
    EXPECT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes()) << testing::PrintToString(OpenScreens());
    return bench;
  }

  // The canvas, a child of the workbench while a sheet is open in it.
  static HWND Canvas() {
    const HWND inside = FindWindowExA(FindWindowA("KQE_READ", nullptr), nullptr, "Ocr", nullptr);
    return inside ? inside : FindWindowA("Ocr", nullptr);
  }

  // A generated sheet with the boxes of its fields filled.
  GeneratedSheet Generate(const std::string& side, const std::vector<FieldFill>& fills) {
    SheetRequest request;
    request.dpi = kDpi;
    request.side = side;
    request.seed = static_cast<uint32_t>(++generated_);
    request.fills = fills;
    GeneratedSheet sheet = GenerateSheet(definition_, request);
    EXPECT_EQ(sheet.error, "");
    return sheet;
  }

  std::vector<Row> OutputRows() {
    std::vector<Row> rows;
    const int t = db_open(g_output.folder.c_str(), g_output.database.c_str(), "KAITO", kDbKindFile, "KAITO", "KAITO",
                          "select * from KAITO order by ID");
    if (t < 0) return rows;
    for (int rc = db_toppos(t, "ID"); rc == 0; rc = db_nread(t)) {
      Row row;
      for (const char* column : {"ID", "Q1", "Q2"}) row[column] = GetColumnText(t, column);
      rows.push_back(row);
    }
    db_close(t);
    return rows;
  }

  // Drops files on the canvas as the shell does: a DROPFILES block with
  // the names, each ended by a zero, and one more zero.
  void DropFiles(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& file : files) names += file + '\0';
    names += '\0';
    const HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(block);
    PostMessageA(Canvas(), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
    RunPostedMessages();
  }

  // What the canvas shows, read back from the display.
  void CaptureCanvas(MemoryCanvas* picture) {
    RedrawWindow(Canvas(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    RunDisplayMessages();
    const HDC dc = GetDC(Canvas());
    BitBlt(picture->dc(), 0, 0, picture->width(), picture->height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(Canvas(), dc);
  }

  // The right button on a point of the canvas, then a line of its menu.
  void ChooseCanvasMenuLine(POINT at, int line) {
    PostMessageA(Canvas(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageA(Canvas(), WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    RunPostedMessages();
    ChoosePopupLine(line);
  }

  SheetDefinition definition_;
  std::string feederSettings_;
  int generated_ = 0;
};

TEST_F(SheetCanvasProgram, TheMenusWorkbenchReadsTheFeederThroughItsCanvas) {
  ChooseSheet(CanvasSheet(false));
  // The boxes filled (from 0) and the answer codes they give (from 1).
  const struct {
    std::vector<FieldFill> fills;
    const char *q1, *q2;
  } sheets[] = {
      {{{"Q1", {0, 2}}, {"Q2", {1}}}, "13", "2"},
      {{{"Q1", {4}}}, "5", ""},
      {{{"Q2", {2}}}, "", "3"},
  };
  for (const auto& sheet : sheets) {
    char name[32];
    std::snprintf(name, sizeof name, "\\feed\\PAGE%05d.BMP", generated_ + 1);
    ASSERT_TRUE(WriteSheetBmp(folder() + name, Generate("0001", sheet.fills)));
  }
  const HWND bench = OpenBench(kCmdOperation);
  ASSERT_TRUE(IsWindowVisible(Canvas())) << testing::PrintToString(OpenScreens());
  const int canvas = SlotOfWindow(Canvas());
  ASSERT_GE(canvas, 0);
  EXPECT_EQ(g_currentSheet.canvasSlot, canvas) << "the canvas slot of the run";
  EXPECT_EQ(GetAncestor(Canvas(), GA_PARENT), bench);
  SavePictureOnRequest(bench, "workbench_with_canvas");

  ClickItem(bench, "OCRREAD");
  const HWND dialog = FindWindowA("Def", nullptr);
  ASSERT_TRUE(IsWindowVisible(dialog)) << testing::PrintToString(Boxes());
  EXPECT_EQ(FieldText(SlotOfWindow(dialog), "CNT_CODE"), "0001") << "the key the run numbers from";
  ClickItem(dialog, "DEF01");
  RunPostedMessages();

  EXPECT_THAT(Boxes(), testing::IsEmpty());
  const std::vector<Row> rows = OutputRows();
  ASSERT_EQ(rows.size(), std::size(sheets));
  for (size_t k = 0; k < rows.size(); ++k) {
    SCOPED_TRACE(k);
    char id[8];
    std::snprintf(id, sizeof id, "%04d", static_cast<int>(k) + 1);
    EXPECT_EQ(rows[k].at("ID"), id) << "the key field's number";
    EXPECT_EQ(rows[k].at("Q1"), sheets[k].q1);
    EXPECT_EQ(rows[k].at("Q2"), sheets[k].q2);
  }
  EXPECT_THAT(FieldText(SlotOfWindow(bench), "OCRMSG"), HasSubstr("読取枚数：3枚"));
  SavePictureOnRequest(bench, "workbench_after_reading");
  ClickItem(bench, "PRJESC");
  EXPECT_FALSE(IsWindowVisible(Canvas()));
  EXPECT_EQ(g_currentSheet.canvasSlot, -1) << "no canvas slot once the canvas closed";
}

TEST_F(SheetCanvasProgram, TheCanvasPaintsTheSheetsFieldsOverThePaper) {
  ChooseSheet(CanvasSheet(false));
  OpenBench(kCmdDesign);
  const int canvas = SlotOfWindow(Canvas());
  ASSERT_GE(canvas, 0);
  const int q1 = ResolveFieldRef(canvas, "Q1");
  ASSERT_GE(q1, 0);
  const ScreenItem& item = Item(q1);
  EXPECT_FALSE(IsFixedItem(item)) << "a sheet's field scrolls with the paper";
  RECT client;
  GetClientRect(Canvas(), &client);
  MemoryCanvas shown(client.right, client.bottom);
  CaptureCanvas(&shown);
  const int left = item.pixelX - Slot(canvas).scrollX, top = item.pixelY - Slot(canvas).scrollY;
  ASSERT_LT(left + item.pixelWidth, client.right) << "the field lies in the canvas's view";
  EXPECT_GT(shown.InkIn(left, top, left + item.pixelWidth, top + item.pixelHeight), 0) << "its boxes are painted";
  // The top-left of the three registration marks, 3 mm square at
  // (10, 14) mm, and the paper beside it.
  const int scale = SheetDotsPerGridUnit();
  EXPECT_NE(shown.Pixel(11 * scale - Slot(canvas).scrollX, 15 * scale - Slot(canvas).scrollY), RGB(255, 255, 255));
  EXPECT_EQ(shown.Pixel(15 * scale - Slot(canvas).scrollX, 15 * scale - Slot(canvas).scrollY), RGB(255, 255, 255));
  SavePictureOnRequest(FindWindowA("KQE_READ", nullptr), "workbench_design");

  // Scrolled a page down, the field is painted where it now stands and the
  // workbench keeps the keyboard.
  PostMessageA(Canvas(), WM_VSCROLL, SB_LINEDOWN, 0);
  PostMessageA(Canvas(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
  RunPostedMessages();
  const int scrolled = Slot(canvas).scrollY;
  EXPECT_GT(scrolled, 0);
  const HWND bench = FindWindowA("KQE_READ", nullptr);
  const HWND focus = GetFocus();
  EXPECT_TRUE(focus == bench || (IsChild(bench, focus) && focus != Canvas() && !IsChild(Canvas(), focus)));
  MemoryCanvas moved(client.right, client.bottom);
  CaptureCanvas(&moved);
  EXPECT_GT(moved.InkIn(left, top - scrolled, left + item.pixelWidth, top - scrolled + item.pixelHeight), 0);

  // Operators reading a stack of files see the paper without the items.
  g_canvasView.itemsVisible = 0;
  g_currentSheet.projectMode = 2;
  MemoryCanvas hidden(client.right, client.bottom);
  CaptureCanvas(&hidden);
  EXPECT_EQ(hidden.InkIn(left, top - scrolled, left + item.pixelWidth, top - scrolled + item.pixelHeight), 0);
  g_canvasView.itemsVisible = 1;
  g_currentSheet.projectMode = 1;
}

// The item of a sheet's area code on the canvas slot, or -1.
int ItemOfCode(int slot, const char* code) {
  const WindowSlot& s = Slot(slot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    if (Item(i).code == code) return i;
  }
  return -1;
}

// The fields at the right of the bar show what they hold: the scanner, its
// type, and the two margins side by side.
TEST_F(SheetCanvasProgram, TheBarShowsTheScannerItsTypeAndTheMargins) {
  const std::string list = GetProgramFolder() + "\\SCANERS";
  ASSERT_TRUE(WriteBytes(list, "Test Feeder,Test Feeder"));
  ChooseSheet(CanvasSheet(false));
  OpenBench(kCmdDesign);
  DeleteFileA(list.c_str());
  const int bar = SlotOfNumber(90);
  ASSERT_GE(bar, 0);
  SavePictureOnRequest(FindWindowA("KQE_READ", nullptr), "workbench_bar");
  EXPECT_EQ(FieldText(bar, "SCANER"), "Test Feeder");
  EXPECT_NE(FieldText(bar, "SCNTYPE"), "");
  const ScreenItem& left = Item(ResolveFieldRef(bar, "LMGN"));
  const ScreenItem& top = Item(ResolveFieldRef(bar, "TMGN"));
  EXPECT_EQ(left.pixelY, top.pixelY);
  EXPECT_LE(left.pixelX + left.pixelWidth, top.pixelX) << "the margins do not hide each other";
}

TEST_F(SheetCanvasProgram, DroppedFilesFollowTheRulesOfTheMode) {
  ChooseSheet(CanvasSheet(true));
  OpenBench(kCmdDesign);
  ASSERT_GE(SlotOfWindow(Canvas()), 0);

  // Reading: a TIFF of front, back and front again reads the first sheet
  // and says that the last page has no back.
  std::vector<Picture> pages;
  const std::string tiff = folder() + "\\THREE.TIF";
  int page = 0;
  for (const char* side : {"0001", "0002", "0001"}) {
    const GeneratedSheet sheet = Generate(side, {});
    const std::string bmp = folder() + "\\PAGE" + std::to_string(++page) + ".BMP";
    ASSERT_TRUE(WriteSheetBmp(bmp, sheet));
    ASSERT_EQ(ConvertImageFileToBmp(bmp.c_str(), tiff.c_str(), page > 1 ? 1 : 0), 0);
  }
  int count = 0, bits = 0;
  ASSERT_EQ(GetImageFileSize(tiff.c_str(), &count, &bits), 0);
  ASSERT_EQ(count, 3);
  ForgetBoxes();
  DropFiles({tiff});
  ASSERT_EQ(Boxes().size(), 1u) << testing::PrintToString(Boxes());
  EXPECT_THAT(Boxes()[0], HasSubstr("THREE.TIF”のページ数（3）が奇数です。"));
  EXPECT_EQ(g_readingRun.runError, kRunUnpairedPage);

  // A single page cannot hold both sides.
  ForgetBoxes();
  DropFiles({folder() + "\\PAGE1.BMP"});
  ASSERT_EQ(Boxes().size(), 1u) << testing::PrintToString(Boxes());
  EXPECT_THAT(Boxes()[0], HasSubstr("マルチページTIFFファイルを使用してください。"));

  // Designing, from the canvas's menu: a file of another kind is refused
  // by its extension, a text file becomes a text item.
  ForgetBoxes();
  ChooseCanvasMenuLine(POINT{600, 500}, 1);  // フォーム編集開始
  ASSERT_EQ(Slot(SlotOfWindow(Canvas())).lineEditMode, 1) << testing::PrintToString(Boxes());
  ForgetBoxes();
  const std::string document = folder() + "\\NOTE.DOC";
  DropFiles({document});
  EXPECT_THAT(Boxes(), testing::ElementsAre("拡張子“DOC”のファイルは使えません。\n\n〔" + document + "〕"));
  const std::string text = folder() + "\\TITLE.TXT";
  ASSERT_TRUE(WriteBytes(text, "アンケートのお願い\r\n二行目\r\n"));
  ForgetBoxes();
  DropFiles({text});
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  const int t1 = ItemOfCode(SlotOfWindow(Canvas()), "T001");
  ASSERT_GE(t1, 0) << "the text file became the sheet's first text item";
  EXPECT_EQ(Item(t1).sheetText, "アンケートのお願い") << "its message";

  // A picture becomes a bitmap item, unless its name is too long to keep;
  // a name longer than MAX_PATH is taken whole, with its extension.
  for (const size_t length : {100u, 300u}) {
    SCOPED_TRACE(length);
    ForgetBoxes();
    DropFiles({folder() + "\\" + std::string(length, 'P') + ".BMP"});
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_THAT(Boxes()[0], HasSubstr("ファイル名（フォルダ名を含む）は、100バイト以内の長さにしてください。"));
  }
  ForgetBoxes();
  DropFiles({folder() + "\\PAGE1.BMP"});
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  EXPECT_GE(ItemOfCode(SlotOfWindow(Canvas()), "B001"), 0) << "the sheet's first bitmap item";
}

TEST_F(SheetCanvasProgram, TheCanvasMenuSwitchesTheWorkbenchBetweenDesignAndReading) {
  ChooseSheet(CanvasSheet(false));
  const HWND bench = OpenBench(kCmdDesign);
  const int slot = SlotOfWindow(bench);
  ASSERT_GE(slot, 0);
  const auto state = [slot](const char* name) {
    const int item = ResolveFieldRef(slot, name);
    return item >= 0 ? Item(item).state : -1;
  };
  // Design: the reading buttons go, the snapping switch and the design
  // buttons come; the key item's field stays on the sheet.
  ChooseCanvasMenuLine(POINT{600, 500}, 1);  // フォーム編集開始
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  for (const char* name : {"OCRREAD", "SCANER", "LT", "IMGRATE1", "位置記憶"}) EXPECT_EQ(state(name), kItemHidden) << name;
  for (const char* name : {"スナップ", "IMGDISP", "CHKLIST"}) EXPECT_EQ(state(name), kItemEnabled) << name;
  SavePictureOnRequest(bench, "workbench_designing");
  // Back to reading: the buttons of the read image return.
  ChooseCanvasMenuLine(POINT{600, 500}, 4);  // フォーム編集終了
  EXPECT_EQ(Slot(SlotOfWindow(Canvas())).lineEditMode, 0);
  for (const char* name : {"OCRREAD", "SCANER", "LT", "OCRFORM"}) EXPECT_EQ(state(name), kItemEnabled) << name;
  for (const char* name : {"IMGRATE1", "位置記憶"}) EXPECT_EQ(state(name), kItemProtected) << name;
  for (const char* name : {"スナップ", "IMGDISP", "CHKLIST"}) EXPECT_EQ(state(name), kItemHidden) << name;
}

// The black edges of a ruler's ticks near the strip's edge along the
// sheet, as positions along the strip (the first nine steps, before the
// first number).
std::vector<int> RulerTicks(const MemoryCanvas& shown, const RECT& strip, bool top) {
  std::vector<int> ticks;
  const int along = top ? strip.bottom - 4 : strip.right - 4;
  const int start = top ? strip.left : strip.top, end = top ? strip.right : strip.bottom;
  for (int at = start; at < end && at < start + 9 * 20; ++at) {
    const COLORREF pixel = top ? shown.Pixel(at, along) : shown.Pixel(along, at);
    if (pixel == RGB(0, 0, 0)) ticks.push_back(at - start);
  }
  return ticks;
}

// The workbench rules the sheet above and left of the canvas, a tick every
// 5 mm of the sheet (20 pixels); scrolled, the ticks move with the sheet.
TEST_F(SheetCanvasProgram, TheWorkbenchRulersFollowTheScrolledSheet) {
  ChooseSheet(CanvasSheet(false));
  const HWND bench = OpenBench(kCmdDesign);
  RECT top, left;
  ASSERT_TRUE(CanvasRulerStrips(Canvas(), &top, &left));
  RECT client;
  GetClientRect(bench, &client);
  const auto capture = [&](MemoryCanvas* picture) {
    RedrawWindow(bench, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_ALLCHILDREN);
    RunDisplayMessages();
    const HDC dc = GetDC(bench);
    BitBlt(picture->dc(), 0, 0, picture->width(), picture->height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(bench, dc);
  };
  MemoryCanvas shown(client.right, client.bottom);
  capture(&shown);
  SavePictureOnRequest(bench, "workbench_rulers");
  const std::vector<int> everyStep = {1, 21, 41, 61, 81, 101, 121, 141, 161};
  EXPECT_EQ(RulerTicks(shown, top, true), everyStep);
  EXPECT_EQ(RulerTicks(shown, left, false), everyStep);

  // One line down: the sheet moves up, and the left ruler's ticks with it;
  // the top ruler stays.
  PostMessageA(Canvas(), WM_VSCROLL, SB_LINEDOWN, 0);
  RunPostedMessages();
  const int scrolledBy = Slot(SlotOfWindow(Canvas())).scrollY;
  ASSERT_GT(scrolledBy % 20, 0) << "a scroll that moves the ticks";
  MemoryCanvas scrolled(client.right, client.bottom);
  capture(&scrolled);
  EXPECT_EQ(RulerTicks(scrolled, top, true), everyStep);
  std::vector<int> moved;
  for (int at = 20 - scrolledBy % 20; at < 9 * 20; at += 20) moved.push_back(at + 1);
  EXPECT_EQ(RulerTicks(scrolled, left, false), moved);
}

TEST_F(SheetCanvasProgram, ADroppedTestPageIsShownUnderTheDesign) {
  ChooseSheet(CanvasSheet(false));
  const HWND bench = OpenBench(kCmdDesign);
  const std::string page = folder() + "\\TEST.BMP";
  ASSERT_TRUE(WriteSheetBmp(page, Generate("0001", {{"Q1", {1}}})));
  DropFiles({page});
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  ChooseCanvasMenuLine(POINT{600, 500}, 1);  // フォーム編集開始
  ClickItem(bench, "IMGDISP");
  const int canvas = SlotOfWindow(Canvas());
  ASSERT_NE(Slot(canvas).backgroundImage, nullptr) << "the converted test page under the design";
  // The page of 200 dpi at the canvas's 4 pixels a millimetre: about the
  // paper's 840 pixels.
  const RECT& r = g_canvasView.imageRect;
  EXPECT_NEAR(r.right - r.left, 840, 20);
  EXPECT_NEAR(r.bottom - r.top, 1188, 30);
  SavePictureOnRequest(bench, "workbench_test_page");
}

TEST_F(SheetCanvasProgram, ImagesDroppedInOperationAreReadIntoTheOutputTable) {
  ChooseSheet(CanvasSheet(false));
  HWND bench = OpenBench(kCmdOperation);
  EXPECT_EQ(FieldText(SlotOfWindow(bench), "RECCNT"), "") << "no records stored yet";
  std::vector<std::string> pages;
  for (const auto& fill : {std::vector<FieldFill>{{"Q1", {2}}}, std::vector<FieldFill>{{"Q2", {0}}}}) {
    pages.push_back(folder() + "\\DROP" + std::to_string(pages.size() + 1) + ".BMP");
    ASSERT_TRUE(WriteSheetBmp(pages.back(), Generate("0001", fill)));
  }
  pages.push_back(folder() + "\\NOTE.DOC");  // not an image: passed over
  ASSERT_TRUE(WriteBytes(pages.back(), "x"));
  DropFiles(pages);
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  const std::vector<Row> rows = OutputRows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("ID"), "0001");
  EXPECT_EQ(rows[0].at("Q1"), "3");
  EXPECT_EQ(rows[1].at("ID"), "0002");
  EXPECT_EQ(rows[1].at("Q2"), "1");
  EXPECT_THAT(FieldText(SlotOfWindow(bench), "OCRMSG"), HasSubstr("登録件数：2件")) << "the count and time of the drop";
  EXPECT_EQ(FieldText(SlotOfWindow(bench), "RECCNT"), "(登録件数：2)") << "the records of the output table";
  EXPECT_EQ(g_canvasView.itemsVisible, 1) << "the items are shown again after the stack";
  // Opened again, the workbench counts the stored records at once.
  ClickItem(bench, "PRJESC");
  ASSERT_FALSE(IsWindowVisible(bench));
  bench = OpenBench(kCmdOperation);
  EXPECT_EQ(FieldText(SlotOfWindow(bench), "RECCNT"), "(登録件数：2)");
}

// The rows of a table of the sheet's definition, "|" between the columns.
std::vector<std::string> DefinitionRows(const char* table, const char* columns, const char* where, const char* order) {
  const SheetDefinitionRef& d = g_sheetDefinition;
  return TableRowTexts(d.folder, d.database, d.kind, "MUPADATA", table, columns, where, order);
}

std::vector<std::string> ListRows() {
  return DefinitionRows("MUPA_LST", "一覧コード,領域コード,領域名,重ね文字", "", "一覧コード");
}

std::vector<std::string> CheckFields() {
  return DefinitionRows("MUPA_FLD", "領域コード,領域名,タイトル,文字数,Ｘ座標,Ｙ座標",
                        "where ＯＣＲコード='0001' and 編集='ﾁｪｯｸ'", "領域コード");
}

class QuestionListProgram : public SheetCanvasProgram {
 protected:
  // The design workbench of the canvas sheet with its check-field list
  // opened by its button: the list's window.
  HWND OpenList() {
    ChooseSheet(CanvasSheet(false));
    const HWND bench = OpenBench(kCmdDesign);
    StartDesigning();
    ClickItem(bench, "CHKLIST");
    const HWND list = FindWindowA("Lst", nullptr);
    EXPECT_TRUE(IsWindowVisible(list)) << testing::PrintToString(Boxes());
    return list;
  }

  void StartDesigning() {
    ChooseCanvasMenuLine(POINT{600, 500}, 1);  // フォーム編集開始
    ASSERT_EQ(Slot(SlotOfWindow(Canvas())).lineEditMode, 1) << testing::PrintToString(Boxes());
  }

  void TypeInto(HWND window, const char* name, const std::string& text) {
    const int slot = SlotOfWindow(window);
    ClickOn(window, CentreOf(slot, name));
    PostMessageA(GetFocus(), EM_SETSEL, 0, -1);
    TypeInFocus(text);
  }

  std::string WriteFile(const char* name, const std::string& text) {
    const std::string path = folder() + "\\" + name;
    EXPECT_TRUE(WriteBytes(path, text));
    return path;
  }
};

TEST_F(QuestionListProgram, TheListShowsTheCheckFieldsAndWritesAnEditBack) {
  const HWND list = OpenList();
  ASSERT_GE(QuestionListSlot(), 0);
  EXPECT_THAT(ListRows(), testing::ElementsAre("001|0002|Q1|", "002|0003|Q2|"));
  EXPECT_FALSE(IsWindowEnabled(Canvas())) << "the canvas waits for the list";
  SavePictureOnRequest(list, "question_list");

  TypeInto(list, "領域名01", "SEX");
  TypeInto(list, "重ね文字01", "M,F,X");
  ClickItem(list, "HOZON");
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  EXPECT_LT(QuestionListSlot(), 0);
  EXPECT_TRUE(IsWindowEnabled(Canvas()));
  const std::vector<std::string> fields = CheckFields();
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_THAT(fields[0], testing::StartsWith("0002|SEX||3|")) << "three choices";
  EXPECT_THAT(fields[1], testing::StartsWith("0003|Q2|"));
  EXPECT_THAT(ListRows(), testing::IsEmpty()) << "the work table is emptied once written back";
  EXPECT_GE(ItemOfCode(SlotOfWindow(Canvas()), "0002"), 0);
}

TEST_F(QuestionListProgram, NamesAreCheckedAndALayoutAloneMovesTheFields) {
  const HWND list = OpenList();
  TypeInto(list, "領域名01", "Q(1)");
  ClickItem(list, "HOZON");
  EXPECT_THAT(Boxes(), testing::ElementsAre("「項目名」に“半角カッコ”および“記号”は使用できません。\n　[001] [Q(1)]"));
  EXPECT_GE(QuestionListSlot(), 0) << "a refused name keeps the list open";
  TypeInto(list, "領域名01", "2Q");
  ForgetBoxes();
  ClickItem(list, "HOZON");
  EXPECT_THAT(Boxes(), testing::ElementsAre("数字で始まる「項目名」は、推奨されません。[2Q]\n"
                                            "Access から 直接、テーブルにアクセスする際にエラーになる場合があります。"));
  EXPECT_LT(QuestionListSlot(), 0) << "a leading digit is only warned of";
  EXPECT_THAT(CheckFields()[0], testing::StartsWith("0002|2Q||5|"));

  // Only a layout typed: the questions move, 20 mm apart from (10, 100) mm.
  ClickItem(FindWindowA("KQE_READ", nullptr), "CHKLIST");
  ASSERT_GE(QuestionListSlot(), 0);
  TypeInto(list, "Ｙ座標", "100");
  TypeInto(list, "Ｘ座標", "10");
  TypeInto(list, "行送り", "20");
  ClickItem(list, "HOZON");
  const int scale = SheetDotsPerGridUnit();
  EXPECT_THAT(CheckFields(), testing::ElementsAre("0002|2Q||5|" + std::to_string(10 * scale) + "|" +
                                                      std::to_string(100 * scale),
                                                  "0003|Q2||3|" + std::to_string(10 * scale) + "|" +
                                                      std::to_string(120 * scale)));
}

TEST_F(QuestionListProgram, LeavingWithEscAsksBeforeChangesAreLost) {
  const HWND list = OpenList();
  TypeInto(list, "領域名01", "CHANGED");
  ForgetBoxes();
  boxes().Answer(IDNO);
  ClickItem(list, "CANSEL");
  EXPECT_THAT(Boxes(), testing::ElementsAre("変更された内容を破棄してもよろしいですか？"));
  EXPECT_GE(QuestionListSlot(), 0) << "No keeps the list open";
  ClickItem(list, "CANSEL");
  EXPECT_LT(QuestionListSlot(), 0);
  EXPECT_THAT(ListRows(), testing::IsEmpty());
  EXPECT_THAT(CheckFields()[0], testing::StartsWith("0002|Q1|")) << "nothing written";
}

TEST_F(QuestionListProgram, ACsvDroppedOnTheCanvasBecomesNewCheckFields) {
  const std::string csv =
      WriteFile("QUESTIONS.CSV", "AGE2,年代は？,\"10代,20代,30代\"\r\nSAT,満足ですか？,12345\r\n");
  ChooseSheet(CanvasSheet(false));
  OpenBench(kCmdDesign);
  StartDesigning();
  ForgetBoxes();
  DropFiles({csv});
  ASSERT_GE(QuestionListSlot(), 0) << testing::PrintToString(Boxes());
  EXPECT_THAT(Boxes(), testing::ElementsAre("すでにデータが存在します。追加登録しますか？\n　追加する先頭コード“003”"));
  EXPECT_THAT(ListRows(), testing::ElementsAre("001|0002|Q1|", "002|0003|Q2|", "003||AGE2|10代,20代,30代",
                                               "004||SAT|12345"));
  const HWND list = FindWindowA("Lst", nullptr);
  SavePictureOnRequest(list, "question_list_imported");

  // New questions need a place: the list stays open until it has one.
  ForgetBoxes();
  ClickItem(list, "HOZON");
  EXPECT_THAT(Boxes(), testing::ElementsAre("「先頭のチェック欄の開始位置」を設定してください。"));
  EXPECT_GE(QuestionListSlot(), 0);
  EXPECT_EQ(ListRows().size(), 4u);
  TypeInto(list, "Ｙ座標", "60");
  TypeInto(list, "Ｘ座標", "30");
  TypeInto(list, "行送り", "15");
  ForgetBoxes();
  ClickItem(list, "HOZON");
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  EXPECT_LT(QuestionListSlot(), 0);
  const int scale = SheetDotsPerGridUnit();
  const auto at = [scale](int row) {
    return "|" + std::to_string(30 * scale) + "|" + std::to_string((60 + 15 * row) * scale);
  };
  SavePictureOnRequest(FindWindowA("KQE_READ", nullptr), "canvas_after_question_list");
  // The fields counted without choice texts keep their boxes.
  EXPECT_THAT(CheckFields(), testing::ElementsAre("0002|Q1||5" + at(0), "0003|Q2||3" + at(1),
                                                  "0004|AGE2|年代は？|3" + at(2), "0005|SAT|満足ですか？|5" + at(3)));
}

TEST_F(QuestionListProgram, TheListsButtonsImportAFileAndAlignTheQuestions) {
  const std::string csv = WriteFile("Q.CSV", "年代は？,\"10代,20代\"\r\n満足ですか？,\"はい,いいえ\"\r\n");
  const HWND list = OpenList();
  ClickItem(list, "RECDDEL");
  EXPECT_THAT(Boxes(), testing::ElementsAre("2件の質問のすべてを削除してもよろしいですか？", "すべての質問を削除しました。"));
  EXPECT_THAT(ListRows(), testing::IsEmpty());

  ClickItem(list, "TXTINP");
  const HWND dialog = FindWindowA("CsvInp", nullptr);
  ASSERT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(IsWindowEnabled(list)) << "the list waits for the dialog";
  TypeInto(dialog, "TXTFILE", csv);
  SavePictureOnRequest(dialog, "question_csv_dialog");
  ForgetBoxes();
  ClickItem(dialog, "F01");
  EXPECT_THAT(Boxes(), testing::ElementsAre("“" + csv + "”から入力を行います。"));
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_THAT(ListRows(), testing::ElementsAre("01|||10代,20代", "02|||はい,いいえ")) << "an empty list numbers from 01";

  // Both questions brought to six characters with the full-width dot.
  ClickItem(list, "SETUMON");
  ASSERT_TRUE(IsWindowVisible(dialog));
  const int slot = SlotOfWindow(dialog);
  EXPECT_EQ(FieldText(slot, "SNO"), "01");
  EXPECT_EQ(FieldText(slot, "ENO"), "02");
  TypeInto(dialog, "LEN", "6");
  SavePictureOnRequest(dialog, "question_align_dialog");
  ForgetBoxes();
  ClickItem(dialog, "F01");
  EXPECT_THAT(Boxes(), testing::ElementsAre("質問の後部余白を“・”で埋めて、長さを6文字で揃えます。", "後部余白を“・”で埋めました。"));
  EXPECT_THAT(DefinitionRows("MUPA_LST", "タイトル", "", "一覧コード"), testing::ElementsAre("年代は？・・", "満足ですか？"));

    TypeInto(list, "領域名01", "AGE");
  TypeInto(list, "領域名02", "SAT");
  ForgetBoxes();
  ClickItem(list, "HOZON");
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  // With no layout given, the new questions stand where the old ones stood
  // (60 and 70 mm, 20 mm apart), under the codes they left free.
  EXPECT_THAT(CheckFields(), testing::ElementsAre("0002|AGE|年代は？・・|2|240|280", "0003|SAT|満足ですか？|2|240|360"));
}

TEST_F(QuestionListProgram, AFileThatCannotBeTakenWholeLeavesTheListAsItWas) {
  const HWND list = OpenList();
  struct Case {
    const char* what;
    std::string text;
    std::string box;
  };
  const Case cases[] = {
      {"a two-field line among three-field lines", "A,a,\"x,y\"\r\nB,b\r\nC,c,z\r\n",
       "矛盾する行が存在します。行番号2\nB,b"},
      {"one field a line", "A\r\n", ""},
      {"broken Shift-JIS", "A,a,x\r\nB,b\x82\r\n", "Shift-JISとして読めない文字があります。\n行番号2"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = WriteFile(("BAD" + std::to_string(++n) + ".CSV").c_str(), c.text);
    ForgetBoxes();
    EXPECT_EQ(ImportQuestionCsv(path), -1);
    ASSERT_EQ(Boxes().size(), 1u);
    if (!c.box.empty()) {
      EXPECT_EQ(Boxes()[0], c.box);
    }
    EXPECT_THAT(ListRows(), testing::ElementsAre("001|0002|Q1|", "002|0003|Q2|"));
  }
  ClickItem(list, "CANSEL");
}

TEST_F(QuestionListProgram, AListThatCannotBeWrittenStaysOpenWithItsRows) {
  const HWND list = OpenList();
  // Every code of the side is taken: a new question has none.
  const int t = db_open(g_sheetDefinition.folder.c_str(), g_sheetDefinition.database.c_str(), "MUPA_FLD",
                        g_sheetDefinition.kind, "MUPADATA", "MUPA_FLD", "");
  ASSERT_GE(t, 0);
  ASSERT_EQ(BeginTableTransaction(t), 0);
  for (int code = 4; code <= 999; ++code) {
    char sql[160];
    std::snprintf(sql, sizeof sql, "insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,編集) values ('0001','%04d','W%d','左詰')",
                  code, code);
    ASSERT_EQ(db_exec(t, sql), 0);
  }
  ASSERT_EQ(EndTableTransaction(t, true), 0);
  db_close(t);
  TypeInto(list, "領域名03", "NEWQ");
  TypeInto(list, "一覧コード03", "003");
  TypeInto(list, "Ｙ座標", "60");
  TypeInto(list, "Ｘ座標", "30");
  TypeInto(list, "行送り", "15");
  TypeInto(list, "領域名01", "RENAMED");
  ForgetBoxes();
  ClickItem(list, "HOZON");
  ASSERT_EQ(Boxes().size(), 1u) << testing::PrintToString(ListRows());
  EXPECT_THAT(Boxes()[0], HasSubstr("“0999”まで使用されています"));
  EXPECT_GE(QuestionListSlot(), 0) << "the list stays open";
  EXPECT_EQ(ListRows().size(), 3u) << "with its rows";
  EXPECT_THAT(CheckFields()[0], testing::StartsWith("0002|Q1|")) << "no field was changed";
  ForgetBoxes();
  ClickItem(list, "CANSEL");
}

TEST_F(QuestionListProgram, ClipboardLinesBecomeTheQuestionTexts) {
  ChooseSheet(CanvasSheet(false));
  OpenBench(kCmdOperation);
  // Q2's question is printed six characters a line; Q1 has no line width.
  const int t = db_open(g_sheetDefinition.folder.c_str(), g_sheetDefinition.database.c_str(), "MUPA_FLD",
                        g_sheetDefinition.kind, "MUPADATA", "MUPA_FLD", "");
  ASSERT_GE(t, 0);
  ASSERT_EQ(db_exec(t, "update MUPA_FLD set 行文字数=6 where 領域コード='0003'"), 0);
  db_close(t);
  const std::string text = "  性別は？\r\n年代をお答えください。長い質問です。\r\nあまり\r\n";
  ASSERT_TRUE(OpenClipboard(Canvas()));
  EmptyClipboard();
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  SetClipboardData(CF_TEXT, block);
  CloseClipboard();
  // 属性's fifth choice, ｸﾘｯﾌﾟﾎﾞｰﾄﾞ, on the operation's workbench.
  g_screen.lastPopupChoice = 5;
  PostMessageA(FindWindowA("KQE_READ", nullptr), kMsgScreenCommand, 116, 0);
  RunPostedMessages();
  const HWND clip = FindWindowA("Clip", nullptr);
  ASSERT_TRUE(IsWindowVisible(clip));
  const int slot = SlotOfWindow(clip);
  EXPECT_EQ(FieldText(slot, "DATA01"), "性別は？") << "leading blanks dropped";
  SavePictureOnRequest(clip, "clipboard_questions");
  ForgetBoxes();
  ClickItem(clip, "F01");
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_LT(ClipWindowSlot(), 0);
  const std::vector<std::string> fields = CheckFields();
  ASSERT_EQ(fields.size(), 2u);
  EXPECT_THAT(fields[0], testing::StartsWith("0002|Q1|性別は？|")) << "kept whole without a line width";
  EXPECT_THAT(fields[1], testing::StartsWith("0003|Q2|年代をお答え|")) << "cut to six characters";
  // The canvas shows the new texts.
  const int q2 = ItemOfCode(SlotOfWindow(Canvas()), "0003");
  ASSERT_GE(q2, 0);
  EXPECT_EQ(Item(q2).caption, "年代をお答え");
}

// The printed field list from the design's 印刷 button: both sides in one
// list, with the columns the fields call for (the used character types,
// limits, arrays) and the conversions and choices switched on.
TEST_F(SheetCanvasProgram, TheDesignsPrintButtonListsTheFieldsOfBothSides) {
  SheetDefinition d = CanvasSheet(true);
  SheetFieldRow age = WriteInFieldRow("0005", "年齢", 240, 440, 3);
  age.charType = "数値";
  age.mask = "1100000000";
  age.minimum = "18";
  age.maximum = "99";
  d.fields.push_back(age);
  for (SheetFieldRow& field : d.fields) {
    if (field.name != "Q3") continue;
    field.arrayCount = 2;
    field.arrayGap = 3;
    field.overlay = "1,2,3,4";
    field.condition = "A,B,C,D";
  }
  ChooseSheet(d);
  const HWND bench = OpenBench(kCmdDesign);
  ChooseCanvasMenuLine(POINT{600, 500}, 1);  // フォーム編集開始
  ClickItem(bench, "KINPRIN");
  RunPostedMessages();
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  const HWND settings = FindWindowA("Prn", nullptr);
  ASSERT_TRUE(IsWindowVisible(settings)) << testing::PrintToString(OpenScreens());
  const int slot = SlotOfWindow(settings);
  EXPECT_EQ(FieldText(slot, "SNO"), "0001") << "the first code of both sides";
  EXPECT_EQ(FieldText(slot, "ENO"), "0005");
  SavePictureOnRequest(settings, "field_list_preview");

  g_printSettings.file = folder() + "\\FIELDS.CSV";
  g_printSettings.field = "11";
  g_printSettings.lines = 2;
  ASSERT_EQ(PrintFieldListReport(kReportTextFile), 0) << testing::PrintToString(Boxes());
  // In CSV the heading and titles come once, whatever the rows of a page;
  // the rows run by side, the front's last field after its neighbours.
  const std::string expected =
      "【キャンバス】 Ａ４縦 〔" + folder() + "\\data\\OCRDBS.MDB-KAITO〕\r\n"
      "No.,記入欄名,数　　字,数字記号,桁数,種別,型,編集,最小値,最大値,Ｘ,Ｙ,個数,行間,"
      "変 換 の 条 件,選 択 肢 (重ね文字)\r\n"
      "0001,ID,●,－,4,MUPA,文字,０埋,,,240,200,,,,\r\n"
      "0002,Q1,,,5,MUPA,文字,ﾁｪｯｸ,,,240,280,,,,\r\n"
      "0003,Q2,,,3,MUPA,文字,ﾁｪｯｸ,,,240,360,,,,\r\n"
      "0005,年齢,●,●,3,MUPA,数値,左詰,18,99,240,440,,,,\r\n"
      "0004,Q3,,,4,MUPA,文字,ﾁｪｯｸ,,,240,280,2,3,\"A,B,C,D\",\"1,2,3,4\"\r\n";
  EXPECT_EQ(ReadBytes(g_printSettings.file), expected);
}

}  // namespace
