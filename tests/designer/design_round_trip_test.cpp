// A sheet designed through the designer's windows is read: its paper and
// key set in the sheet settings screen, the key's field that design mode
// puts on the sheet dragged into place, and its check fields made from the
// canvas menu with the field editor (and a write-in field beside them) are
// stored as rows, the sheet generator draws filled and handwritten pages
// from those rows, and the reading run turns the pages into the records the
// fills promise; the handwriting lies in the boxes the run lays out for the
// write-in field, where the recognition library reads it as written.
#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "designer/designer.h"
#include "designer/field_editor.h"
#include "designer/item_dragging.h"
#include "designer/sheet_settings.h"
#include "foundation/files.h"
#include "foundation/imaging.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tests/reading/run_fixture.h"
#include "tools/sheetgen/page_reader.h"
#include "tools/sheetgen/sheet_definition_db.h"
#include "tools/sheetgen/written_reader.h"

namespace {

class DesignRoundTrip : public ReadingDbTest {
 protected:
  void SetUp() override {
    ReadingDbTest::SetUp();
    main_ = CreateHiddenWindow({"RoundTripMain", DefWindowProcA, 0, WS_POPUP});
    ASSERT_TRUE(main_);
    InitScreenEngine(main_);
    canvas_ = RegisterSheetCanvasWindow(main_);
    editor_ = RegisterPlnWindow(main_);
    settings_ = RegisterSheetSettingsWindow();
    ASSERT_TRUE(canvas_ && editor_ && settings_);
    InstallDesignModeCalls();
    g_lineEdit = RuledLineEditState();
    g_sheetCanvas = SheetCanvasState();
    g_sheetCanvas.columns = g_sheetCanvas.rows = 100;
    g_sheetCanvas.pitch = 10;
  }
  void TearDown() override {
    for (int s = kWindowSlotCount - 1; s >= 0; --s) {
      if (Slot(s).state != kFreeSlotState) CloseScreenWindow(s, 0);
    }
    for (HWND w : {settings_, editor_, canvas_, main_}) DestroyWindow(w);
    ReadingDbTest::TearDown();
  }

  static void Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }

  static void Key(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    if (key == VK_ESCAPE) PostMessageA(target, WM_CHAR, 27, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    Pump();
  }

  // The sheet canvas in its window with the items of the stored rows, in
  // design mode (Ctrl+Shift+F11).
  int OpenCanvasInDesignMode() {
    if (OpenSheetCanvasWindow(-1, 1000, 1400, 0, 0) != 0) return -1;
    int slot = -1;
    for (int s = 0; s < kWindowSlotCount; ++s) {
      if (Slot(s).state != kFreeSlotState && Slot(s).window == canvas_) slot = s;
    }
    if (slot < 0) return -1;
    g_currentSheet.canvasSlot = slot;
    Slot(slot).screenType = kScreenTypeSheet;  // as the project screen opens it
    if (RebuildWindowItems(slot, 1) != 0) return -1;
    ShowWindow(canvas_, SW_SHOW);
    Pump();
    SelectWindowSlot(slot);
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    Key(Slot(slot).editControl, VK_F11);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    return Slot(slot).lineEditMode == 1 ? slot : -1;
  }

  // A field made as the user makes one: a right click at (x, y), the
  // menu's line `line` ("チェック欄 作 成" first, "記 入 欄 作 成" third),
  // the editor's fields, Esc.
  void MakeField(int slot, POINT at, int line, const std::vector<std::pair<const char*, std::string>>& fields) {
    const WindowSlot& s = Slot(slot);
    const LPARAM point = MAKELPARAM(at.x - s.scrollX, at.y - s.scrollY);
    PostMessageA(canvas_, WM_RBUTTONDOWN, MK_RBUTTON, point);
    PostMessageA(canvas_, WM_RBUTTONUP, 0, point);
    Pump();
    const HWND menu = g_screen.popupWindow;
    ASSERT_TRUE(menu && IsWindowVisible(menu)) << testing::PrintToString(Boxes());
    UpdateWindow(menu);
    const LPARAM row = MAKELPARAM(10, 2 + (line - 1) * 24 + 12);
    PostMessageA(menu, WM_LBUTTONDOWN, MK_LBUTTON, row);
    PostMessageA(menu, WM_LBUTTONUP, 0, row);
    Pump();
    const int editor = SheetFieldEditorSlot();
    ASSERT_GE(editor, 0) << testing::PrintToString(Boxes());
    for (const auto& [name, value] : fields) SetItemValueForCommand(editor, name, value.c_str());
    SelectWindowSlot(editor);
    Key(Slot(editor).editControl, VK_ESCAPE);
    ASSERT_LT(SheetFieldEditorSlot(), 0) << testing::PrintToString(Boxes());
  }

  HWND main_ = nullptr, canvas_ = nullptr, editor_ = nullptr, settings_ = nullptr;
};

TEST_F(DesignRoundTrip, FieldsMadeInTheEditorAreReadFromGeneratedPages) {
  // The paper and the key of a new sheet from the sheet settings screen:
  // its defaults number the key by the run; three marks are chosen.
  ASSERT_EQ(OpenSheetSettingsScreen(main_), 0) << testing::PrintToString(Boxes());
  Pump();
  const int settings = SheetSettingsSlot();
  ASSERT_GE(settings, 0);
  for (const auto& [name, value] : std::vector<std::pair<const char*, const char*>>{
           {"ＯＣＲ用紙名", "ROUNDTRIP"}, {"テーブル", "OUT1"}, {"キー項目名", "ID"}, {"補正マーク", "3"}}) {
    SetItemValueForCommand(settings, name, value);
  }
  PostMessageA(Slot(settings).window, WM_CLOSE, 0, 0);
  Pump();
  ASSERT_LT(SheetSettingsSlot(), 0) << testing::PrintToString(Boxes());
  // Design mode puts the key's field on the sheet; the user drags it from
  // the corner to its place.
  const int slot = OpenCanvasInDesignMode();
  ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
  const int idItem = ResolveFieldRef(slot, "ID");
  ASSERT_GE(idItem, 0) << testing::PrintToString(Boxes());
  const POINT grab{Item(idItem).pixelX + 4, Item(idItem).pixelY + Item(idItem).pixelHeight / 2};
  const LPARAM from = MAKELPARAM(grab.x - Slot(slot).scrollX, grab.y - Slot(slot).scrollY);
  const LPARAM to = MAKELPARAM(grab.x + 180 - Slot(slot).scrollX, grab.y + 160 - Slot(slot).scrollY);
  PostMessageA(canvas_, WM_LBUTTONDOWN, MK_LBUTTON, from);
  PostMessageA(canvas_, WM_MOUSEMOVE, MK_LBUTTON, to);
  PostMessageA(canvas_, WM_LBUTTONUP, 0, to);
  Pump();
  MakeField(slot, {240, 300}, 1, {{"領域名", "COLOR"}, {"タイトル", "色"}, {"文字数", "3"}, {"横幅", "5"},
                                    {"高さ", "5"}, {"Ｂサイズ", "1"}, {"しきい値", "100"}});
  MakeField(slot, {240, 420}, 1,
            {{"領域名", "FRUIT"}, {"タイトル", "果物"}, {"文字数", "4"}, {"横幅", "5"}, {"高さ", "5"},
             {"Ｂサイズ", "1"}, {"少数部桁数", "4"}, {"しきい値", "100"}, {"重ね文字", "abcd"}});
  // A write-in field for a number, read whole.
  MakeField(slot, {240, 560}, 3, {{"領域名", "NOTE"}, {"タイトル", "備考"}, {"文字数", "8"}, {"横幅", "5"}, {"高さ", "6"}});
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  CloseScreenWindow(slot, 0);

  // The generator draws from the rows the windows stored.
  SheetDefinition stored;
  ASSERT_EQ(ReadSheetDefinition(folder().c_str(), kSheetDb, &stored), 0);
  ASSERT_EQ(stored.fields.size(), 4u);
  ASSERT_EQ(stored.papers.size(), 1u);
  EXPECT_EQ(stored.papers[0].name, "ROUNDTRIP");
  EXPECT_EQ(stored.papers[0].outputTable, "OUT1");
  EXPECT_EQ(stored.papers[0].compensationMode, 3);
  EXPECT_EQ(stored.papers[0].keyNumbering, 2);
  ASSERT_EQ(stored.keys.size(), 1u);
  EXPECT_EQ(stored.keys[0].name, "ID");
  EXPECT_EQ(stored.fields[0].name, "ID");
  EXPECT_EQ(stored.fields[0].x, 240) << "where it was dragged";
  EXPECT_EQ(stored.fields[0].edit, "０埋");
  EXPECT_EQ(stored.fields[3].name, "NOTE");
  EXPECT_EQ(stored.fields[3].type, "一括");
  EXPECT_EQ(stored.fields[3].count, 8);
  SheetDefinition marks;
  marks.marks.push_back(RegisteredMarkRow(stored, "0001", 300));
  WriteDefinition(marks);
  stored.marks = marks.marks;
  InstallFeeder();
  const std::vector<std::map<std::string, std::vector<int>>> fills = {
      {{"COLOR", {1}}, {"FRUIT", {0, 3}}}, {{"COLOR", {2}}, {"FRUIT", {}}}};
  const char* const notes[] = {"40721", "  9 386"};
  std::vector<GeneratedSheet> pages;
  for (size_t k = 0; k < fills.size(); ++k) {
    SheetRequest request;
    request.seed = static_cast<uint32_t>(k + 7);
    for (const auto& [name, boxes] : fills[k]) request.fills.push_back({name, boxes});
    request.writings.push_back({"NOTE", notes[k]});
    pages.push_back(GenerateSheet(stored, request));
    ASSERT_EQ(pages.back().error, "");
    EXPECT_EQ(pages.back().expected[3].written, notes[k]);
    ASSERT_TRUE(WriteSheetBmp(FeedPath("PAGE0000" + std::to_string(k + 1) + ".BMP"), pages.back()));
  }

  // The reading run as the workbench starts it.
  // The key column as wide as the key field's boxes, as the entry screens write it.
  WriteOutputSpec("OUT1",
                  {"ID:char*:" + std::to_string(stored.fields[0].count), "COLOR", "FRUIT", "NOTE"});
  ASSERT_EQ(LoadCurrentSheetPaper(), 0);
  BuildCanvas();
  g_currentSheet.projectMode = kOperationMode;
  ASSERT_EQ(ValidateSheetFields(), 0) << testing::PrintToString(Boxes());
  g_readingRun.subMode = kScanRun;
  g_readingRun.dpi = 300;
  ASSERT_EQ(RunSheetReading(), 0) << testing::PrintToString(Boxes());
  const auto rows = Rows(kOutputDb, "OUT1", "ID");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].at("COLOR"), "2");
  EXPECT_EQ(rows[0].at("FRUIT"), "ad");
  EXPECT_EQ(rows[1].at("COLOR"), "3");
  EXPECT_EQ(rows[1].at("FRUIT"), "");
  EXPECT_EQ(rows[0].at("NOTE"), "") << "write-in fields are typed in by operators";
  EXPECT_EQ(rows[1].at("NOTE"), "");

  // Where the run lays out the write-in field's boxes, the handwriting
  // reads as it was written, a character a box.
  const ReferenceMarks references = RegisterCleanPage(stored, "0001", 300);
  const std::string dictionary = GetProgramFolder() + "\\digits.dic";
  for (size_t k = 0; k < pages.size(); ++k) {
    SCOPED_TRACE(notes[k]);
    SheetImage image = SheetImageFromGenerated(pages[k]);
    const PageReading reading = ReadPageInMemory(&image, *stored.Paper("0001"), references,
                                                 {FieldSpecFromRow(stored.fields[3])});
    ASSERT_TRUE(reading.read);
    std::string text, why;
    ASSERT_EQ(ReadWrittenBoxes(image, reading.boxes[0], dictionary.c_str(), 1, &text, &why), 0) << why;
    EXPECT_EQ(text, std::string(notes[k]).append(8 - std::strlen(notes[k]), ' '));
  }
}

}  // namespace
