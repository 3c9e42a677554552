// Screen items printed one by one in a preview on a memory bitmap and into
// a text file: marks, postcodes, frames by item state and class, a
// registration square, and the handwriting face the sheets print digits in.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/memory_canvas.h"

namespace {

// Preview pages start 10 report units in; margins of 2 steps add 10.
constexpr int kIn = 20;

class PrintFieldsTest : public ScreenEngineTest {
 protected:
  void TearDown() override {
    EndPrintJob();
    g_reportOutput.previewDC = nullptr;
    g_sheetPrint = SheetPrintState();
    ScreenEngineTest::TearDown();
  }
  int Open() {
    const int slot = FindFreeWindowSlot();
    EXPECT_EQ(OpenScreenWindow(NewWindow(), 0, 0, 780, 380, 0, 41, 1, 1, -1, ""), 0);
    return slot;
  }
  // Prints the slot in a preview on `canvas`; no GDI object outlives it.
  void Preview(int slot, MemoryCanvas& canvas) {
    const int live = LiveGdiObjects();
    SetReportPreviewDC(canvas.dc(), canvas.width(), canvas.height(), 1.0);
    BeginReportOutput(nullptr, 2, 1, 8, 2, 2);
    g_reportOutput.originX = g_reportOutput.originY = 0;
    ASSERT_EQ(StartPrintJobDefault(kReportPreview, "L"), 1);
    DrawWindowItems(slot, 0, 0);
    EndPrintJob();
    EXPECT_EQ(LiveGdiObjects(), live);
  }
  // Prints the slot into a text file; returns the file.
  std::string Text(int slot) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "print_fields_test.csv";
    BeginReportOutput(nullptr, 2, 1, 8, 2, 2);
    EXPECT_EQ(StartPrintJobDefault(kReportTextFile, path.c_str()), 1);
    DrawWindowItems(slot, 0, 0);
    EndPrintJob();
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    file.close();
    DeleteFileA(path.c_str());
    return text.str();
  }
};

TEST_F(PrintFieldsTest, MarksAndPostcodesPrintAsTheirGlyphs) {
  struct Case {
    char kind;
    const char* value;
    const char* printed;
  };
  const Case cases[] = {
      {'c', "0", "×\r\n"}, {'c', "1", "○\r\n"},
      {'c', "2", "◎\r\n"}, {'z', "1234567", "〒1234567\r\n"},
      {'z', "", ""},       {'X', "1", "1\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const int item = AddItem("F", c.kind, 10, 1, 8, 8);
    const int slot = Open();
    Item(item).displayText = c.value;
    EXPECT_EQ(Text(slot), c.printed);
    CloseAll();
  }
}

TEST_F(PrintFieldsTest, FramesFollowTheItemsStateAndClass) {
  const int plain = AddItem("PLAIN", 'X', 10, 1, 10, 10);
  const int thick = AddItem("THICK", 'X', 10, 3, 10, 10);
  const int guarded = AddItem("GUARD", 'M', 10, 5, 10, 10);
  const int hidden = AddItem("HIDE", 'X', 10, 7, 10, 10);
  const int bare = AddItem("BARE", 'X', 10, 9, 10, 10);
  const int slot = Open();
  Item(thick).itemClass = kItemClassThickFrame;
  Item(guarded).state = kItemProtected;
  Item(hidden).state = kItemHidden;
  Item(hidden).displayText = "HIDDEN";
  Item(bare).itemClass = kItemClassNoFrame;
  MemoryCanvas canvas(800, 400);
  Preview(slot, canvas);
  // The frame's left side, halfway down, and one pixel further out.
  auto side = [&](int i, int out) {
    const ScreenItem& item = Item(i);
    return canvas.Pixel(item.pixelX + kIn - out, item.pixelY + kIn + item.pixelHeight / 2);
  };
  EXPECT_EQ(side(plain, 0), RGB(0, 0, 0));
  EXPECT_EQ(side(plain, 1), RGB(255, 255, 255));
  EXPECT_EQ(side(thick, 0), RGB(0, 0, 0));
  EXPECT_EQ(side(thick, 1), RGB(0, 0, 0)) << "a thick frame is doubled";
  EXPECT_EQ(side(guarded, 0), RGB(255, 255, 255)) << "a protected mark item has no frame";
  EXPECT_EQ(side(bare, 0), RGB(255, 255, 255));
  const ScreenItem& h = Item(hidden);
  EXPECT_EQ(canvas.InkIn(h.pixelX + kIn - 2, h.pixelY + kIn - 2, h.pixelX + h.pixelWidth + kIn + 2,
                         h.pixelY + h.pixelHeight + kIn + 2),
            0)
      << "a hidden item prints nothing";
}

TEST_F(PrintFieldsTest, ARegistrationSquareOfNoExtentsStandsFiveUnitsUpAndLeft) {
  MemoryCanvas canvas(200, 200);
  SetReportPreviewDC(canvas.dc(), canvas.width(), canvas.height(), 1.0);
  BeginReportOutput(nullptr, 2, 1, 8, 0, 0);
  ASSERT_EQ(StartPrintJobDefault(kReportPreview, "O"), 1);
  SetPrintLineExtent(0, 0);
  DrawPrintShadedBox(50, 60, 10);
  SetPrintLineExtent(80, 40);  // 20 and 10 report units in: 15 and 5 right and down
  DrawPrintShadedBox(50, 60, 10);
  EndPrintJob();
  EXPECT_EQ(canvas.Pixel(45, 55), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(54, 64), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(56, 54), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(65, 65), RGB(0, 0, 0));
  EXPECT_EQ(canvas.Pixel(74, 74), RGB(0, 0, 0));
}

// The handwriting face (identification numbers, digits and capitals of
// write-in boxes) is a font of its own, not the Gothic face it would
// otherwise fall back to.
TEST_F(PrintFieldsTest, TheHandwritingFaceIsInstalledAndDrawsItsOwnDigits) {
  struct Found {
    static int CALLBACK Proc(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
      *reinterpret_cast<bool*>(found) = true;
      return 0;
    }
  };
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesA(screen, "KQMUPA", &Found::Proc, reinterpret_cast<LPARAM>(&found));
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(found) << "tools/prepare-runtime.sh maps KQMUPA to a handwriting font";
  auto draw = [](const char* face) {
    MemoryCanvas canvas(120, 120);
    HFONT font = CreateFontByName(face, 100, FW_NORMAL);
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    TextOutA(canvas.dc(), 10, 10, "2", 1);
    SelectObject(canvas.dc(), old);
    DeleteObject(font);
    return canvas.Rows();
  };
  EXPECT_NE(draw("KQMUPA"), draw("ＭＳ ゴシック"));
  EXPECT_NE(draw("KQMUPA"), draw("ＭＳ 明朝"));
}

}  // namespace
