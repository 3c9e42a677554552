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

#include "designer/sheet_canvas.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "program/program.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"
#include "tests/support/memory_canvas.h"
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
    EnableSheetDesigner();
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

  static void SavePictureOnRequest(HWND window, const char* name) {
    char folder[MAX_PATH] = "";
    if (GetEnvironmentVariableA("SHEETDESK_PICTURES", folder, MAX_PATH) == 0) return;
    SaveWindowPicture(window, std::string(folder) + "\\" + name + ".png");
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

  // A picture becomes a bitmap item, unless its name is too long to keep.
  const std::string longName = folder() + "\\" + std::string(100, 'P') + ".BMP";
  ForgetBoxes();
  DropFiles({longName});
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_THAT(Boxes()[0], HasSubstr("ファイル名（フォルダ名を含む）は、100バイト以内の長さにしてください。"));
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
  const HWND bench = OpenBench(kCmdOperation);
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
  EXPECT_EQ(g_canvasView.itemsVisible, 1) << "the items are shown again after the stack";
}

}  // namespace
