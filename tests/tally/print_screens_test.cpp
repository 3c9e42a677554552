// Every fixture screen printed the way the program prints a screen
// (DrawWindowItems), under Wine: in a preview on a memory bitmap (each
// caption, value and frame where the screen shows it), on the printer
// through CUPS to a PDF (one page a screen, each value at its place on the
// paper) and into a text file (one CSV line a line of the screen).
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/entry.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/required_service.h"
#include "tests/tally/print_capture.h"

namespace {

const char* const kFixtureScreens[] = {"TEST-MENU", "TEST-SUB", "TEST-LIST",
                                       "TEST-CARD", "TEST-SET", "TEST-FORM"};

// A rectangle of the page in report units, before the printer's scale.
struct PageRect {
  int left, top, right, bottom;
};

// Whether an item's value prints in a frame, as on the screen.
struct Framing {
  const char* screen;
  const char* item;
  bool framed;
};
const Framing kFramings[] = {
    {"TEST-CARD", "NAME", true},
    {"TEST-FORM", "CUSTOMER", true},
    {"TEST-FORM", "HEADING", false},  // no frame (枠無)
    {"TEST-MENU", "TITLE", false},
};

// A point of a ruled line of a screen (pixels, below its header band).
struct LinePoint {
  const char* screen;
  int x, y;
};
const LinePoint kLinePoints[] = {
    {"TEST-MENU", 260, 92},   // size 2
    {"TEST-MENU", 260, 215},  // size 1
    {"TEST-FORM", 400, 200},
};

class PrintScreensTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    for (HWND window : {RegisterMenuWindow(main_), RegisterListWindow(main_),
                        RegisterCardWindow(main_), RegisterSupWindow(main_)}) {
      ASSERT_NE(window, nullptr);
      windows_.push_back(window);
    }
    owner_ = CreateTestWindow("owner");
    windows_.push_back(owner_);
  }
  void TearDown() override {
    EndPrintJob();
    g_reportOutput.previewDC = nullptr;
    ScreenDbTest::TearDown();
  }

  // Opens a fixture screen in slot 0 (a menu in the hidden main window,
  // the menu it names beside it in slot 1).
  void Open(const char* code) {
    ASSERT_EQ(OpenScreenDef("", kFixtureDb, code, -1, -1, "", owner_), 0) << Boxes();
    ASSERT_NE(Slot(0).state, kFreeSlotState);
    // The work windows load their ruled lines; the main window's menu is
    // given its lines here, as the program's main window does.
    if (Slot(0).lineCount == 0) LoadLineDefinitions(0);
    ASSERT_TRUE(BoxTexts().empty()) << Boxes();
  }
  // Closes every slot (a menu opens its submenu beside it).
  void Close() {
    for (int slot = kWindowSlotCount - 1; slot >= 0; --slot) CloseSlot(slot);
  }

  // The texts slot 0 prints (captions and values), with where they go:
  // pixels of the screen below its header band.
  static std::map<std::string, RECT> TextRects() {
    std::map<std::string, RECT> rects;
    const WindowSlot& s = Slot(0);
    const int top = s.headerHeight;
    for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
      const ScreenItem& item = Item(i);
      if (item.state == kItemHidden || item.titleStyle == 13 || item.edit == 'I') continue;
      ItemCaptionRect caption;
      if (GetItemRect(i, &caption) > 0 && caption.placement != kCaptionNone) {
        rects[item.name + " caption"] =
            RECT{caption.left, caption.top - top, caption.right, caption.bottom - top};
      }
      if (std::string(FormatItemDisplayText(i)).empty()) continue;
      rects[item.name] = RECT{item.pixelX, item.pixelY - top, item.pixelX + item.pixelWidth,
                              item.pixelY - top + item.pixelHeight};
    }
    return rects;
  }

  HWND owner_ = nullptr;
};

TEST_P(PrintScreensTest, APreviewShowsEachValueAndFrameWhereTheScreenShowsIt) {
  for (const char* code : kFixtureScreens) {
    SCOPED_TRACE(code);
    Open(code);
    const std::map<std::string, RECT> texts = TextRects();
    ASSERT_FALSE(texts.empty());
    MemoryCanvas canvas(1400, 1400);
    const int gdiBaseline = LiveGdiObjects();
    SetReportPreviewDC(canvas.dc(), canvas.width(), canvas.height(), 1.0);
    // Margins of 4 steps: 20 report units, and the preview's own 10.
    BeginReportOutput(nullptr, 2, 1, 8, 4, 4);
    g_reportOutput.originX = g_reportOutput.originY = 0;
    ASSERT_EQ(StartPrintJobDefault(kReportPreview, "L"), 1);
    DrawWindowItems(0, 0, 0);
    EndPrintJob();
    EXPECT_EQ(LiveGdiObjects(), gdiBaseline) << "every pen, brush and font is given back";
    constexpr int kIn = 30;
    for (const auto& [name, r] : texts) {
      SCOPED_TRACE(name);
      EXPECT_GT(canvas.InkIn(r.left + kIn, r.top + kIn, r.right + kIn, r.bottom + kIn), 0);
    }
    for (const LinePoint& l : kLinePoints) {
      if (std::string(l.screen) != code) continue;
      SCOPED_TRACE(l.y);
      EXPECT_EQ(canvas.Pixel(l.x + kIn, l.y + kIn), RGB(0, 0, 0));
      EXPECT_EQ(canvas.Pixel(l.x + kIn, l.y + kIn - 3), RGB(255, 255, 255));
    }
    for (const Framing& f : kFramings) {
      if (std::string(f.screen) != code) continue;
      SCOPED_TRACE(f.item);
      const int i = ResolveFieldRef(0, f.item);
      ASSERT_GE(i, 0);
      const ScreenItem& item = Item(i);
      const int x = item.pixelX + kIn, y = item.pixelY - Slot(0).headerHeight + kIn;
      EXPECT_EQ(canvas.Pixel(x, y + item.pixelHeight / 2) == RGB(0, 0, 0), f.framed);
    }
    Close();
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(PrintScreensTest, OnThePrinterEachScreenIsAPageWithItsTextsInPlace) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  const std::string name = UniqueDocumentName("screens");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  // A4, margins of 4 steps; 0.2 mm a screen pixel ("L").
  BeginReportOutput(owner_, 2, 1, 8, 4, 4);
  g_reportOutput.documentName = name;
  const HDC dc = reinterpret_cast<HDC>(StartPrintJobDefault(kReportPrinter, "L"));
  ASSERT_NE(dc, nullptr) << Boxes();
  // Millimetres of the paper where the page's origin lies.
  const double originX = GetDeviceCaps(dc, PHYSICALOFFSETX) * 25.4 / GetDeviceCaps(dc, LOGPIXELSX);
  const double originY = GetDeviceCaps(dc, PHYSICALOFFSETY) * 25.4 / GetDeviceCaps(dc, LOGPIXELSY);
  std::vector<std::map<std::string, RECT>> texts;
  for (const char* code : kFixtureScreens) {
    SCOPED_TRACE(code);
    Open(code);
    texts.push_back(TextRects());
    DrawWindowItems(0, 0, 0);
    NextPrintPage();
    Close();
  }
  EXPECT_EQ(AbortPrintJob(), 0);
  EndPrintJob();
  const std::vector<PdfPage> pages = WaitForPrintedPages(name, 100);
  ASSERT_EQ(pages.size(), std::size(kFixtureScreens));
  // A screen pixel at x lies (x + 4 x 5 - 9) x 0.2 mm into the page.
  auto mmX = [&](int x) { return originX + (x + 20 - 9) * 0.2; };
  auto mmY = [&](int y) { return originY + (y + 20) * 0.2; };
  for (size_t k = 0; k < pages.size(); ++k) {
    SCOPED_TRACE(kFixtureScreens[k]);
    for (const auto& [what, r] : texts[k]) {
      SCOPED_TRACE(what);
      EXPECT_GT(pages[k].InkInMm(mmX(r.left), mmY(r.top), mmX(r.right), mmY(r.bottom)), 0);
    }
    for (const LinePoint& l : kLinePoints) {
      if (std::string(l.screen) != kFixtureScreens[k]) continue;
      SCOPED_TRACE(l.y);
      EXPECT_GT(pages[k].InkInMm(mmX(l.x), mmY(l.y) - 0.5, mmX(l.x) + 1, mmY(l.y) + 0.5), 0);
    }
    // Nothing of the screen lies outside it: the page's far half is blank.
    EXPECT_EQ(pages[k].InkInMm(0, 200, 210, 297), 0);
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// The bytes of a file.
std::string ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

TEST_P(PrintScreensTest, InATextFileEachLineOfTheScreenIsACsvLine) {
  struct Case {
    const char* code;
    const char* text;
  };
  const Case cases[] = {
      {"TEST-MENU",
       "ＯＣＲシート処理メニュー\r\nサーバー設定,シート読取\r\nシート定義の選択,"
       "終　了\r\nヘルプ\r\n"},
      {"TEST-SUB", "閉じる\r\n"},
      {"TEST-LIST",
       "コード,品　　名,数量,分類,点01,点02\r\n0001,りんご,12,果物,80,75\r\n"
       "0002,ノート（Ａ４）,30,文具,55,65\r\n0003,O'Brien の表ソ,5,表示ソフト,100,95\r\n"
       "0004,みかん,48,果物,40,50\r\n"},
      {"TEST-CARD",
       "コード,0001\r\n品名,りんご\r\n数量,12\r\n分類,01\r\n1回,2回,3回,4回\r\n80,75,90,60\r\n"},
      {"TEST-SET", "分類コード,01\r\n分類名,果物\r\n"},
      {"TEST-FORM", "納　品　書\r\nお客様名\r\n合計金額\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Open(c.code);
    // The card starts with a new record; F3 shows its first.
    if (std::string(c.code) == "TEST-CARD") SendMessageA(Slot(0).window, kMsgScreenCommand, kKeyF1 + 2, 0);
    const std::string path = folder_ + "\\" + c.code + ".csv";
    BeginReportOutput(owner_, 2, 1, 8, 4, 4);
    ASSERT_EQ(StartPrintJobDefault(kReportTextFile, path.c_str()), 1) << Boxes();
    DrawWindowItems(0, 0, 0);
    EndPrintJob();
    EXPECT_EQ(ReadFileBytes(path), c.text);
    Close();
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

INSTANTIATE_TEST_SUITE_P(Databases, PrintScreensTest, testing::Values(kDbKindFile), KindName);

}  // namespace
