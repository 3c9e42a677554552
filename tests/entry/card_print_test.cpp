// Printing cards under Wine, driven as the operator drives it: the card's
// print buttons (every record, a range, the shown card), F9's menu and the
// print-mode opening lead to the print-settings screen of cards, whose
// preview shows the card and whose print key prints on the PDF printer of
// the tests' cupsd, a page a record with its record images; on the file
// database (SQLite).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/card_form.h"
#include "entry/entry.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/entry/card_form_fixture.h"
#include "tests/entry/form_input.h"
#include "tests/entry/settings_preview.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"
#include "tests/tally/print_capture.h"

namespace {

// The print buttons of the card: every record, a range, the shown card.
constexpr char kPrintButtons[] =
    "\n[field]\nFLDCODE = 005\nFLDNAME = PRNALL\nFLDTITLE = 全件印刷\nFLDTYPE = PBUT\nFLDTTL = FT\n"
    "FLDEDT = 中央\nFLDSMSU = 10\nFLDX = 4\nFLDY = 26\nFLDCD = #211\n\n"
    "[field]\nFLDCODE = 006\nFLDNAME = PRNRANGE\nFLDTITLE = 範囲印刷\nFLDTYPE = PBUT\nFLDTTL = FT\n"
    "FLDEDT = 中央\nFLDSMSU = 10\nFLDX = 24\nFLDY = 26\nFLDCD = #212\n\n"
    "[field]\nFLDCODE = 007\nFLDNAME = PRNSHOWN\nFLDTITLE = 表示印刷\nFLDTYPE = PBUT\nFLDTTL = FT\n"
    "FLDEDT = 中央\nFLDSMSU = 10\nFLDX = 44\nFLDY = 26\nFLDCD = #213\n";

// Record images of 200 x 60, all ink, so that a page shows where they went.
bool AllInk(int, int) { return true; }

// Printing cards from the card's buttons through the print-settings screen
// of cards, on the PDF printer of the tests' cupsd.
class CardPrintTest : public CardFormTest {
 protected:
  void RegisterWindows() override {
    CardFormTest::RegisterWindows();
    if (!g_printSettingsWindow.window) RegisterPrintSettingsClass();
    ASSERT_NE(g_printSettingsWindow.window, nullptr);
  }
  void SetUp() override {
    CardFormTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    DeleteFileA(PrintSettingsFilePath().c_str());
    g_printSettings = PrintSettings();
    // Record 0002 has images of its name (right of the field), its quantity
    // (below it) and its category, whose field shows none.
    images_ = folder_ + "\\print_images";
    CreateDirectoryA(images_.c_str(), nullptr);
    for (const char* field : {"NAME", "QTY", "CAT"}) {
      ASSERT_TRUE(WriteBmp(images_ + "\\0002_" + field + ".BMP", PatternPicture(200, 60, AllInk), 1));
    }
    SetCardImageComparison(images_.c_str(), 100);
  }
  void TearDown() override {
    if (IsValidSlot(g_printSettingsWindow.slot)) SendMessageA(g_printSettingsWindow.window, kMsgCloseWindow, 0, 0);
    DeleteFileA(PrintSettingsFilePath().c_str());
    for (const char* field : {"NAME", "QTY", "CAT"}) DeleteFileA((images_ + "\\0002_" + field + ".BMP").c_str());
    CardFormTest::TearDown();
  }

  int OpenPrintingCard(const char* input) {
    if (LoadTexts({{"TEST-CARDF.txt", CardScreenText(input) + kPrintButtons}}) != 1) return -1;
    ForgetBoxes();
    return Reopen();
  }
  void ClickButton(const char* name) {
    const int item = ResolveFieldRef(0, name);
    ASSERT_GE(item, 0) << name;
    const RECT r = ItemPixelRect(item);
    ClickAt(Card(), (r.left + r.right) / 2 - Slot(0).scrollX, (r.top + r.bottom) / 2 - Slot(0).scrollY);
    PumpMessages();
  }
  static bool SettingsOpen() { return IsValidSlot(g_printSettingsWindow.slot); }
  // The settings screen's keys, pressed in the field being typed into.
  void PressInSettings(WPARAM key) {
    PressKey(Slot(g_printSettingsWindow.slot).editControl, key);
    PumpMessages();
  }
  void TypeIntoSettings(const char* name, const char* text) {
    ASSERT_TRUE(SettingsOpen());
    ASSERT_TRUE(TypeIntoField(g_printSettingsWindow.slot, name, text)) << name;
    PressInSettings(VK_TAB);
  }
  // F1 of the settings screen prints on the default printer; the pages of
  // the job as the PDF printer wrote them.
  std::vector<PdfPage> PrintFromSettings(const char* what) {
    const std::string name = UniqueDocumentName(what);
    g_reportOutput.documentName = name;
    ModalDialogRecorder dialogs(ChooseDefaultPrinter);
    PressInSettings(VK_F1);
    if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
      const std::string pdf = WaitForPdfFile(name, 60);
      CopyFileA(pdf.c_str(), (std::string(pictures) + "\\card_print_" + what + ".pdf").c_str(), FALSE);
    }
    return WaitForPrintedPages(name, 50);
  }

  // Millimetres from the printer page's top left of a screen pixel (x, y):
  // below the header band, (x + 5 x left margin - 9) x 0.2 mm and
  // (y + 5 x top margin) x 0.2 mm from the origin of the printer's page.
  static double PageMmX(int x) {
    return PrinterOffsetMm(PHYSICALOFFSETX, LOGPIXELSX) + (x + 5 * g_printSettings.leftMargin - 9) * 0.2;
  }
  static double PageMmY(int y) {
    return PrinterOffsetMm(PHYSICALOFFSETY, LOGPIXELSY) +
           (y - Slot(0).headerHeight + 5 * g_printSettings.topMargin) * 0.2;
  }
  static double PrinterOffsetMm(int offset, int dpi) {
    const HDC printer = CreateDCA("WINSPOOL", DefaultPrinterName().c_str(), nullptr, nullptr);
    if (!printer) return -1000;
    const double mm = GetDeviceCaps(printer, offset) * 25.4 / GetDeviceCaps(printer, dpi);
    DeleteDC(printer);
    return mm;
  }

  // The share of a page's pixels inked where a record image of 200 x 60
  // prints beside the field `name` (right of it, else below it): 100 x 30
  // report units of 0.2 mm at half the card's 100 %, less a millimetre all
  // round.
  static double ImageInk(const PdfPage& page, const char* name, bool right) {
    const RECT r = ItemPixelRect(ResolveFieldRef(0, name));
    const double x = right ? PageMmX(r.right + 1) : PageMmX(r.left);
    const double y = right ? PageMmY(r.top) : PageMmY(r.bottom + 1);
    const double pixels = 18 * 4 * (page.dpi / 25.4) * (page.dpi / 25.4);
    return page.InkInMm(x + 1, y + 1, x + 19, y + 5, 128) / pixels;
  }

  std::string images_;
};

TEST_P(CardPrintTest, PrintsEveryRecordARangeAndTheShownCardAPageEach) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ASSERT_EQ(OpenPrintingCard("△"), 0) << Boxes();
  struct Case {
    const char* button;
    const char* start;  // offered by the settings screen
    const char* end;
    const char* typedStart;  // typed over the offer, or nullptr
    const char* typedEnd;
    size_t pages;
    int imagePage;  // the page of record 0002, whose name has an image; -1 none
  };
  const Case cases[] = {
      {"PRNALL", "0001", "0004", nullptr, nullptr, 4, 1},
      {"PRNRANGE", "0001", "0004", "0002", "0003", 2, 0},
      {"PRNRANGE", "0002", "0003", nullptr, nullptr, 2, 0},  // the range printed last
      {"PRNSHOWN", "0001", "0001", nullptr, nullptr, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.button) + " " + c.start);
    ClickButton(c.button);
    ASSERT_TRUE(SettingsOpen()) << Boxes();
    EXPECT_FALSE(IsWindowEnabled(Card())) << "the card waits for its settings";
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "SNO"), c.start);
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "ENO"), c.end);
    if (c.typedStart) {
      TypeIntoSettings("SNO", c.typedStart);
      TypeIntoSettings("ENO", c.typedEnd);
    }
    const std::vector<PdfPage> pages = PrintFromSettings(c.button);
    ASSERT_EQ(pages.size(), c.pages);
    for (size_t k = 0; k < pages.size(); ++k) {
      SCOPED_TRACE(k);
      const double ink = ImageInk(pages[k], "NAME", true);
      if (static_cast<int>(k) == c.imagePage) {
        EXPECT_GT(ink, 0.8);
      } else {
        EXPECT_EQ(ink, 0);
      }
    }
    PressInSettings(VK_ESCAPE);
    EXPECT_FALSE(SettingsOpen());
    EXPECT_TRUE(IsWindowEnabled(Card()));
    EXPECT_EQ(Field("CODE"), "0001") << "the card shows its record again";
    EXPECT_EQ(Field("NAME"), "りんご");
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(CardPrintTest, ACardPrintsWithItsRecordImagesBesideAndBelowItsFields) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ASSERT_EQ(OpenPrintingCard("△"), 0) << Boxes();
  // The preview beside the settings shows the shown card: record 0002's
  // two images of 100 x 30 report units ink about 6,000 more pixels than
  // record 0001, which has none.
  ClickButton("PRNSHOWN");
  ASSERT_TRUE(SettingsOpen()) << Boxes();
  const int withoutImages = PreviewBlackPixels();
  PressInSettings(VK_ESCAPE);
  Press(VK_F2);
  ASSERT_EQ(Field("CODE"), "0002");
  ClickButton("PRNSHOWN");
  ASSERT_TRUE(SettingsOpen()) << Boxes();
  EXPECT_GT(PreviewBlackPixels() - withoutImages, 4000);
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
    SaveWindowPicture(g_printSettingsWindow.window, std::string(pictures) + "\\card_print_preview.png");
  }
  EXPECT_EQ(Field("CODE"), "0002") << "the card shows its record again";
  const std::vector<PdfPage> pages = PrintFromSettings("images");
  ASSERT_EQ(pages.size(), 1u);
  // Right of the name, below the quantity; none for the category, whose
  // field shows no image.
  EXPECT_GT(ImageInk(pages[0], "NAME", true), 0.8);
  EXPECT_GT(ImageInk(pages[0], "QTY", false), 0.8);
  EXPECT_EQ(ImageInk(pages[0], "CAT", true), 0);
  EXPECT_EQ(ImageInk(pages[0], "CAT", false), 0);
  // The buttons of the key bar stay on the screen: nothing above the code.
  const double codeTop = PageMmY(ItemPixelRect(ResolveFieldRef(0, "CODE")).top);
  EXPECT_EQ(pages[0].InkInMm(0, 0, 210, codeTop - 1), 0);
  PressInSettings(VK_ESCAPE);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// The other ways to printing offer every record: a card opened to be
// printed (open mode -14) opens its print settings at once, and F9's menu
// offers "帳  票 印 刷" (211) in its first row.
TEST_P(CardPrintTest, OpenedForPrintingOrFromF9TheSettingsOfferEveryRecord) {
  struct Case {
    const char* what;
    int openMode;
    bool f9;
  };
  for (const Case& c : {Case{"open mode -14", -14, false}, Case{"F9's menu", -1, true}}) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(LoadTexts({{"TEST-CARDF.txt", CardScreenText("△") + kPrintButtons}}), 1);
    ForgetBoxes();
    ASSERT_EQ(OpenScreenDef("", kFixtureDb, "TEST-CARDF", -1, c.openMode, "", owner_), 0) << Boxes();
    PumpMessages();
    if (c.f9) {
      Press(VK_F9);
      ASSERT_EQ(g_screen.popupOpen, 1);
      const int middle = 2 + (Item(ResolveFieldRef(0, "FKEY09")).charSize * 2 + 12) / 2;
      PostMessageA(g_screen.popupWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, middle));
      PostMessageA(g_screen.popupWindow, WM_LBUTTONUP, 0, MAKELPARAM(10, middle));
      PumpMessages();
    }
    ASSERT_TRUE(SettingsOpen()) << Boxes();
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "SNO"), "0001");
    EXPECT_EQ(ShownText(g_printSettingsWindow.slot, "ENO"), "0004");
    PressInSettings(VK_ESCAPE);
    EXPECT_TRUE(IsWindowEnabled(Card()));
    EXPECT_EQ(Field("CODE"), "0001");
    Press(VK_ESCAPE);
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(CardPrintTest, NothingToPrintOpensNoSettings) {
  struct Case {
    const char* what;
    const char* input;
    bool emptyTable;
    const char* button;
    const char* box;
  };
  const Case cases[] = {
      {"a new record shown", "○", false, "PRNSHOWN", "印刷するデータが画面に表示されていません。"},
      {"an empty table", "○", true, "PRNALL", "データは登録されていません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.emptyTable) {
      ASSERT_EQ(ExecOnItems("delete from T_ITEMS"), 0);
    }
    ASSERT_EQ(OpenPrintingCard(c.input), 0) << Boxes();
    ClickButton(c.button);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{c.box});
    EXPECT_FALSE(SettingsOpen());
    Press(VK_ESCAPE);
  }
}

INSTANTIATE_TEST_SUITE_P(FileDatabase, CardPrintTest, testing::Values(kDbKindFile), KindName);

}  // namespace
