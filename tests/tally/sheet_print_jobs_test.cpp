// Blank OCR sheets printed as a user prints them, under Wine: the sheet
// print window opened for plain and numbered sheets and driven by the
// mouse (the PDF check box switching the two margin sets, cancel storing
// and printing nothing, execute refusing a missing number), and the jobs
// printed through CUPS to a PDF and rendered: plain, numbered and merged,
// one- and two-sided, with the registration marks of the side. Runs that
// could only print part of what was asked (a number past the field's
// digits, an empty master, a missing merge screen) print nothing.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "designer/designer.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "tally/sheet_printing.h"
#include "tally/tally.h"
#include "tally/work_windows.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"
#include "tests/support/window_picture.h"
#include "tests/tally/print_capture.h"
#include "tests/tally/sample_sheet.h"

namespace {

std::string N(int value) { return std::to_string(value); }

// The paper of a side: A4 upright, three marks without margins, the
// margin sets 0/0/100 (printer, as a new sheet has them) and 6/7/0 (PDF),
// the numbers for "ID".
std::string PaperRow(const char* side, int mode) {
  return std::string("insert into MUPA_PAP (ＯＣＲコード,LINESTYLE,補正Ｘ余白,補正Ｙ余白,用紙サイズ,"
                     "用紙方向,予備１,プレプリント,プレプリント欄,左側余白１,上部余白１,割合１,"
                     "左側余白２,上部余白２,割合２,ＰＤＦ出力) values (") +
         SqlLiteral(side) + "," + N(mode) + ",0,0," + SqlLiteral("Ａ４") + "," + SqlLiteral("縦") +
         ",4,1," + SqlLiteral("ID") + ",0,0,100,6,7,0,0)";
}

// A field of the back side: one row of three check boxes.
std::string BackFieldRow() {
  return std::string("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,タイトル位置,編集,"
                     "Ｘ座標,Ｙ座標,文字数,横幅,高さ,Ｂサイズ,サイズ,網掛け,背景色,しきい値) values (") +
         SqlLiteral("0002") + "," + SqlLiteral("0001") + "," + SqlLiteral("BACK") + "," +
         SqlLiteral("") + "," + SqlLiteral("×") + "," + SqlLiteral("ﾁｪｯｸ") +
         ",160,160,3,5,5,5,8,1," + SqlLiteral("×") + ",100)";
}

// An array of three write-in rows on the front: codes looked up in the
// master T_NAMES, their names into the linked array NM.
std::string ArrayFieldRow(const char* code, const char* name, int x, int boxes, const char* more,
                          const char* values) {
  return std::string("insert into MUPA_FLD (ＯＣＲコード,領域コード,領域名,タイトル,タイトル位置,編集,"
                     "Ｘ座標,Ｙ座標,文字数,横幅,高さ,Ｂサイズ,サイズ,網掛け,全半角,配列開始,配列個数,"
                     "配列行間") + more + ") values (" + SqlLiteral("0001") + "," + SqlLiteral(code) +
         "," + SqlLiteral(name) + "," + SqlLiteral("") + "," + SqlLiteral("×") + "," +
         SqlLiteral("左詰") + "," + N(x) + ",1000," + N(boxes) + ",5,7,1,8,1," +
         SqlLiteral("半角") + ",1,3,10" + values + ")";
}

// Top-left mark corner of the printed squares: the paper's millimetres at
// the printer's origin are added when the page is read.
struct PrintedPage {
  const PdfPage* page;
  double originX, originY;
  int Ink(double left, double top, double right, double bottom) const {
    return page->InkInMm(originX + left, originY + top, originX + right, originY + bottom);
  }
  // A filled square of `size` mm at (x, y) mm of the sheet: its middle
  // inked, a ring around it white.
  bool Square(int x, int y, int size) const {
    const double s = size;
    const int inside = Ink(x + 0.3, y + 0.3, x + s - 0.3, y + s - 0.3);
    const double area = (s - 0.6) * (s - 0.6) * page->dpi * page->dpi / (25.4 * 25.4);
    return inside > area * 0.9 && Ink(x - 1.2, y - 1.2, x - 0.4, y + s) == 0 &&
           Ink(x + s + 0.4, y, x + s + 1.2, y + s) == 0;
  }
};

class SheetPrintJobTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    windows_.push_back(CreateTestWindowOfClass("KQE_READ"));
    windows_.push_back(CreateTestWindowOfClass("Ocr"));
    if (!g_sheetPrintWindow.window) RegisterPrintSheetWindow();
    if (!FindWindowA("Messgwnd", nullptr)) RegisterMessgwndWindow();
  }
  void SetUp() override {
    ScreenDbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    OpenSheet();
  }
  void TearDown() override {
    if (g_sheetPrintWindow.slot >= 0) {
      g_sheetPrintWindow.lastCommand = 100;
      SendMessageA(g_sheetPrintWindow.window, kMsgCloseWindow, 0, 0);
    }
    EndPrintJob();
    g_sheetPrint = SheetPrintState();
    g_sheetPrintWindow.startNumber.clear();
    g_sheetPrintWindow.endNumber.clear();
    g_sheetPrintRequest = SheetPrintRequest();
    g_sheetDefinition.sheetCode = "0001";
    g_currentSheet = CurrentSheet();
    ScreenDbTest::TearDown();
  }

  // The sample sheet on the front, a row of boxes on the back and the
  // paper of both sides; a master table in the output database (the
  // fixture's), whose merge screen goes with the sheet.
  void OpenSheet(int mode = 3) {
    ASSERT_EQ(LoadProjectScreen(folder_ + "\\project"), 0) << Boxes();
    ASSERT_EQ(WriteSheetFields(kSampleSheetDb, GetParam(), SampleSheetFields()), 0) << Boxes();
    Exec(kSampleSheetDb, kSheetFieldTable, BackFieldRow());
    const int dropper = db_alloc_slot("", kSampleSheetDb, kPaperTable, GetParam());
    ASSERT_GT(dropper, 0);
    ExecSlotSql(dropper, "drop table MUPA_PAP", 1);
    // No merge screen stays from an earlier test.
    for (const char* table : {kScreenTable, kFieldTable, kLineTable}) {
      ExecSlotSql(dropper, (std::string("drop table ") + table).c_str(), 1);
    }
    db_disconnect(dropper);
    ASSERT_EQ(CreateTableFromSpec("", kSampleSheetDb, kPaperTable, GetParam(), kSheetSpecFile,
                                  kPaperTable),
              0);
    Exec(kSampleSheetDb, kPaperTable, PaperRow("0001", mode));
    Exec(kSampleSheetDb, kPaperTable, PaperRow("0002", mode));
    ASSERT_EQ(OpenSheetCanvas(kSampleSheetDb, GetParam()), 0) << Boxes();
    g_currentSheet.canvasSlot = 0;
    g_currentSheet.outputDatabase = kFixtureDb;
    g_currentSheet.outputKind = GetParam();
    ASSERT_EQ(LoadCurrentSheetPaper(), 0) << Boxes();
    ForgetBoxes();
  }
  void Exec(const char* database, const char* table, const std::string& sql) {
    const int slot = db_alloc_slot("", database, table, GetParam());
    ASSERT_GT(slot, 0) << Boxes();
    EXPECT_EQ(db_exec(slot, sql.c_str()), 0) << sql << Boxes();
    db_disconnect(slot);
  }
  // The master table T_NAMES (rows with printflag 1 print) and the merge
  // screen "050" listing its column NAME.
  void MakeMaster(const std::vector<std::pair<std::string, int>>& names) {
    const int dropper = db_alloc_slot("", kFixtureDb, "T_NAMES", GetParam());
    ExecSlotSql(dropper, "drop table T_NAMES", 1);
    db_disconnect(dropper);
    Exec(kFixtureDb, "T_NAMES",
         "create table T_NAMES (CODE varchar(4) primary key, KANA varchar(20), printflag int)");
    int code = 0;
    for (const auto& [name, flag] : names) {
      Exec(kFixtureDb, "T_NAMES",
           "insert into T_NAMES values (" + SqlLiteral(("000" + N(++code)).c_str()) + "," +
               SqlLiteral(name.c_str()) + "," + N(flag) + ")");
    }
    ASSERT_EQ(LoadTexts({{"MASTER.txt",
                          "[screen]\nSCRCODE = 050\nSCRNAME = MASTER\nSCRTBL = T_NAMES\n"
                          "COMPORT = 1\n\n[field]\nFLDCODE = 001\nFLDNAME = CODE\n\n"
                          "[field]\nFLDCODE = 002\nFLDNAME = KANA\n"}},
                        kSampleSheetDb),
              1)
        << Boxes();
  }

  // Prints with `job` through the print dialog answered with the default
  // printer; the pages of the PDF at 150 dpi.
  template <class Job>
  std::vector<PdfPage> Print(Job job, int* rc, std::vector<std::string>* dialogs = nullptr,
                             ModalDialogRecorder::Answer answer = ChooseDefaultPrinter) {
    ModalDialogRecorder recorder(answer);
    const std::string name = UniqueDocumentName("sheets");
    g_sheetPrintRequest.documentName = name;
    *rc = job();
    if (dialogs) *dialogs = recorder.kinds();
    if (*rc != 0) return {};
    return WaitForPrintedPages(name, 150);
  }
  PrintedPage Page(const std::vector<PdfPage>& pages, size_t k) {
    // The printer's origin on A4, as the jobs print.
    DEVMODEA paper{};
    paper.dmSize = sizeof paper;
    paper.dmFields = DM_PAPERSIZE | DM_ORIENTATION;
    paper.dmPaperSize = DMPAPER_A4;
    paper.dmOrientation = DMORIENT_PORTRAIT;
    HDC dc = CreateDCA("WINSPOOL", DefaultPrinterName().c_str(), nullptr, &paper);
    PrintedPage page{&pages[k], 0, 0};
    if (dc) {
      page.originX = GetDeviceCaps(dc, PHYSICALOFFSETX) * 25.4 / GetDeviceCaps(dc, LOGPIXELSX);
      page.originY = GetDeviceCaps(dc, PHYSICALOFFSETY) * 25.4 / GetDeviceCaps(dc, LOGPIXELSY);
      DeleteDC(dc);
    }
    return page;
  }

  // The window's item `name` clicked in its middle.
  void Click(const char* name) {
    const int i = ResolveFieldRef(g_sheetPrintWindow.slot, name);
    ASSERT_GE(i, 0) << name;
    const ScreenItem& item = Item(i);
    const WindowSlot& s = Slot(g_sheetPrintWindow.slot);
    // A check box is hit right of its box's left edge.
    const int dx = item.kind == 'C' ? 2 * item.charSize + 4 : item.pixelWidth / 2;
    ClickAt(g_sheetPrintWindow.window, item.pixelX - s.scrollX + dx,
            item.pixelY - s.scrollY + item.pixelHeight / 2);
    PumpMessages();
  }
  // Dark pixels of the window's check box `name` right of its box: its
  // text as the display shows it.
  int DarkPixelsBesideTheBox(const char* name) {
    const ScreenItem& item = Item(ResolveFieldRef(g_sheetPrintWindow.slot, name));
    const WindowSlot& s = Slot(g_sheetPrintWindow.slot);
    RedrawWindow(g_sheetPrintWindow.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    HDC dc = GetDC(g_sheetPrintWindow.window);
    int dark = 0;
    // Inside the item's sunken frame.
    const int left = item.pixelX - s.scrollX + 4 * item.charSize, top = item.pixelY - s.scrollY + 3;
    const int right = item.pixelX - s.scrollX + item.pixelWidth - 3;
    for (int y = top; y < top + item.pixelHeight - 6; ++y) {
      for (int x = left; x < right; ++x) {
        const COLORREF c = GetPixel(dc, x, y);
        dark += c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 200;
      }
    }
    ReleaseDC(g_sheetPrintWindow.window, dc);
    return dark;
  }
  std::string Shown(const char* name) {
    if (ResolveFieldRef(g_sheetPrintWindow.slot, name) < 0) return "<none>";
    char value[1024] = "";
    GetItemValueForCommand(g_sheetPrintWindow.slot, name, value);
    std::string text = value;
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  }
  void Type(const char* name, const char* text) {
    SetItemValueForCommand(g_sheetPrintWindow.slot, name, text);
  }
  std::vector<std::string> Margins() { return {Shown("LFTMGN"), Shown("TOPMGN"), Shown("WARIAI")}; }
  // The stored margin sets and PDF flag of MUPA_PAP "0001".
  std::vector<int> StoredSets() {
    const int slot = db_open("", kSampleSheetDb, kPaperTable, GetParam(), kSheetSpecFile, kPaperTable,
                             "select * from MUPA_PAP where ＯＣＲコード='0001'");
    std::vector<int> values;
    if (slot < 0 || db_toppos(slot, "ＯＣＲコード") != 0) return values;
    for (const char* column :
         {"左側余白１", "上部余白１", "割合１", "左側余白２", "上部余白２", "割合２", "ＰＤＦ出力"}) {
      values.push_back(GetColumnInt(slot, column));
    }
    db_close(slot);
    return values;
  }
};

TEST_P(SheetPrintJobTest, TheWindowSwitchesMarginSetsAndCancelStoresWithoutPrinting) {
  ModalDialogRecorder dialogs;
  ASSERT_EQ(OpenSerialPrintScreen(kPrintTypePlainSheets, 0), 0) << Boxes();
  PumpMessages();
  ASSERT_GE(g_sheetPrintWindow.slot, 0);
  EXPECT_TRUE(IsWindowVisible(g_sheetPrintWindow.window));
  EXPECT_FALSE(IsWindowEnabled(FindWindowA("KQE_READ", nullptr)));
  EXPECT_EQ(Shown("PRESNO"), "<none>") << "plain sheets have no numbers";
  const std::vector<std::string> printer = {"0", "0", "100"};
  const std::vector<std::string> pdf = {"6", "7", "103"};  // a stored ratio 0 shows 103
  EXPECT_EQ(Margins(), printer);
  EXPECT_EQ(Shown("WMSG"), "");
  EXPECT_GT(DarkPixelsBesideTheBox("PDFPUT"), 20) << "the check box's text";
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Click("PDFPUT");
    EXPECT_EQ(Shown("PDFPUT"), "1");
    EXPECT_EQ(Margins(), pdf);
    EXPECT_NE(Shown("WMSG"), "");
    Click("PDFPUT");
    EXPECT_EQ(Margins(), printer);
  }
  Click("PDFPUT");  // leave the PDF set shown, with a margin typed
  Type("LFTMGN", "9");
  Click("DEF00");
  EXPECT_LT(g_sheetPrintWindow.slot, 0) << "closed";
  EXPECT_TRUE(IsWindowEnabled(FindWindowA("KQE_READ", nullptr)));
  EXPECT_EQ(StoredSets(), (std::vector<int>{0, 0, 100, 9, 7, 103, 1}));
  EXPECT_TRUE(dialogs.kinds().empty()) << "nothing printed";
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(SheetPrintJobTest, NumberedSheetsNeedBothNumbers) {
  ModalDialogRecorder dialogs;
  ASSERT_EQ(OpenSerialPrintScreen(kPrintTypeNumberedSheets, 0), 0) << Boxes();
  PumpMessages();
  ASSERT_GE(g_sheetPrintWindow.slot, 0);
  EXPECT_EQ(Shown("プレプリント欄"), "ID");
  const int start = ResolveFieldRef(g_sheetPrintWindow.slot, "PRESNO");
  ASSERT_GE(start, 0);
  EXPECT_EQ(Item(start).width, 6) << "as wide as the field's boxes";
  Click("DEF01");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"開始番号が入力されていません。"}));
  Type("PRESNO", "000001");
  ForgetBoxes();
  Click("DEF01");
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"終了番号が入力されていません。"}));
  EXPECT_GE(g_sheetPrintWindow.slot, 0) << "still open";
  EXPECT_TRUE(dialogs.kinds().empty());
  std::string choices;
  EXPECT_EQ(BuildIdFieldChoices(&choices), 0);
  EXPECT_EQ(choices, "ID,ZIP,KANA,DAY,(5)") << "write-in fields that are no arrays";
}

TEST_P(SheetPrintJobTest, PlainSheetsPrintFrontAndBackWithTheirMarks) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  int rc = -1;
  bool advice = false;  // the message window shown while the dialog asked
  const std::vector<PdfPage> pages = Print([] { return PrintSheetJob(kSideChoiceBoth); }, &rc, nullptr,
                                           [&](const ModalDialogCall& call) {
                                             advice = MessageWindowShown();
                                             return ChooseDefaultPrinter(call);
                                           });
  ASSERT_EQ(rc, 0) << Boxes();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_TRUE(advice) << "the advice for two-sided printing";
  EXPECT_FALSE(MessageWindowShown()) << "and hidden when the job started";
  EXPECT_EQ(g_sheetDefinition.sheetCode, "0001") << "the front is shown again";
  const PrintedPage front = Page(pages, 0), back = Page(pages, 1);
  for (const PrintedPage* page : {&front, &back}) {
    EXPECT_TRUE(page->Square(10, 14, 3));
    EXPECT_TRUE(page->Square(197, 14, 3));
    EXPECT_TRUE(page->Square(10, 284, 3));
  }
  EXPECT_FALSE(front.Square(10, 19, 3));
  EXPECT_TRUE(back.Square(10, 19, 3)) << "the back side's mark";
  // The sample sheet's title on the front, the back's boxes on the back.
  EXPECT_GT(front.Ink(55, 14, 80, 18), 0);
  EXPECT_EQ(back.Ink(55, 14, 80, 18), 0);
  EXPECT_GT(back.Ink(39.8, 39.8, 45.2, 45.2), 0);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// The spooler's job carries the document's whole name, Japanese as well.
TEST_P(SheetPrintJobTest, JobsAreNamedInFull) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ModalDialogRecorder recorder(ChooseDefaultPrinter);
  g_sheetPrintRequest.documentName = UniqueDocumentName("OCRシート");
  ASSERT_EQ(PrintSheetJob(kSideChoiceNone), 0) << Boxes();
  EXPECT_EQ(WaitForPrintedPages(g_sheetPrintRequest.documentName, 72).size(), 1u);
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// The window's margins as a new sheet has them, 0, print the sheet where it
// stands on the paper, also on a printer that cannot print the outer 5 mm:
// its marks and title at their millimetres from the paper's corner, and a
// margin moves them by its millimetres.
TEST_P(SheetPrintJobTest, MarginsOfZeroPrintTheSheetInItsPlaceOnThePaper) {
  std::string why = PrintingUnavailable();
  if (why.empty()) why = PrinterMissing(kMarginsPrinter);
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  // Margins in millimetres, typed or as offered.
  for (const int margin : {0, 3}) {
    SCOPED_TRACE(margin);
    int rc = -1;
    const std::vector<PdfPage> pages = Print(
        [this, margin] {
          if (OpenSerialPrintScreen(kPrintTypePlainSheets, kSideChoiceNone) != 0) return -1;
          PumpMessages();
          EXPECT_EQ(Margins(), (std::vector<std::string>{"0", "0", "100"}));
          Type("LFTMGN", std::to_string(margin).c_str());
          Click("DEF01");
          return 0;
        },
        &rc, nullptr, [](const ModalDialogCall& call) { return ChoosePrinterAt(call, kMarginsPrinter, 300); });
    ASSERT_EQ(rc, 0) << Boxes();
    ASSERT_EQ(pages.size(), 1u) << Boxes();
    const PrintedPage page{&pages[0], static_cast<double>(margin), 0};  // the paper's corner
    EXPECT_TRUE(page.Square(10, 14, 3));
    EXPECT_TRUE(page.Square(197, 14, 3));
    EXPECT_TRUE(page.Square(10, 284, 3));
    EXPECT_GT(page.Ink(55, 14, 80, 18), 0) << "the sheet's title";
    EXPECT_EQ(StoredSets()[0], margin);
  }
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(SheetPrintJobTest, OneMarkOnlyInModeOneAndNoneInModeZero) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  for (int mode : {1, 0}) {
    SCOPED_TRACE(mode);
    OpenSheet(mode);
    int rc = -1;
    const std::vector<PdfPage> pages = Print([] { return PrintSheetJob(kSideChoiceNone); }, &rc);
    ASSERT_EQ(rc, 0) << Boxes();
    ASSERT_EQ(pages.size(), 1u);
    const PrintedPage page = Page(pages, 0);
    EXPECT_EQ(page.Square(6, 6, 2), mode == 1);
    EXPECT_FALSE(page.Square(202, 6, 2));
    EXPECT_EQ(page.Ink(0, 0, 30, 30), mode == 1 ? page.Ink(5, 5, 9, 9) : 0) << "nothing else there";
  }
}

// The dark pixels of `width` x `height` at (x, y) of a DC, row by row.
std::vector<bool> DarkPixels(HDC dc, int x, int y, int width, int height) {
  std::vector<bool> dark;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const COLORREF c = GetPixel(dc, x + column, y + row);
      dark.push_back(c != CLR_INVALID && GetRValue(c) + GetGValue(c) + GetBValue(c) < 480);
    }
  }
  return dark;
}

// The dark pixels of `text` drawn in the face of `face` in cells of
// `height`.
std::vector<bool> TextPixels(const char* text, int face, int height, int width) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  const HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HFONT font = CreateFontByCode(face, height, FW_NORMAL);
  const HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, 0, 0, text, static_cast<int>(std::strlen(text)));
  std::vector<bool> dark = DarkPixels(dc, 0, 0, width, height);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return dark;
}

int Differences(const std::vector<bool>& a, const std::vector<bool>& b) {
  int differ = 0;
  for (size_t k = 0; k < a.size() && k < b.size(); ++k) differ += a[k] != b[k];
  return differ;
}

// The window for numbered sheets shows its sample digits in the
// handwriting face the numbers print in, not in the screen's own face.
TEST_P(SheetPrintJobTest, TheSampleOfTheNumbersIsInTheHandwritingFace) {
  ASSERT_EQ(OpenSerialPrintScreen(kPrintTypeNumberedSheets, kSideChoiceNone), 0) << Boxes();
  PumpMessages();
  const int i = ResolveFieldRef(g_sheetPrintWindow.slot, "KQMUPAb");
  ASSERT_GE(i, 0);
  const ScreenItem& item = Item(i);
  const WindowSlot& s = Slot(g_sheetPrintWindow.slot);
  if (const char* folder = std::getenv("SHEETDESK_PICTURES")) {
    SaveWindowPicture(g_sheetPrintWindow.window, std::string(folder) + "\\sheet-print-numbers.png");
  }
  RedrawWindow(g_sheetPrintWindow.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  PumpMessages();
  // Inside the item's frame, 3 pixels in.
  const int width = item.pixelWidth - 6, height = item.pixelHeight - 6;
  HDC dc = GetDC(g_sheetPrintWindow.window);
  const std::vector<bool> shown =
      DarkPixels(dc, item.pixelX - s.scrollX + 3, item.pixelY - s.scrollY + 3, width, height);
  ReleaseDC(g_sheetPrintWindow.window, dc);
  const char digits[] = "０１２３４５６７８９";
  const std::vector<bool> handwriting = TextPixels(digits, 4, height, width);
  const std::vector<bool> gothic = TextPixels(digits, 1, height, width);
  const int inkShown = static_cast<int>(std::count(shown.begin(), shown.end(), true));
  ASSERT_GT(inkShown, 0);
  // Edges may be smoothed otherwise on the window than on a bitmap: the
  // digits shown are far nearer the handwriting face than the screen's.
  EXPECT_LT(2 * Differences(shown, handwriting), Differences(shown, gothic))
      << Differences(shown, handwriting) << " " << Differences(shown, gothic) << " " << inkShown;
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// Numbered sheets as a user prints them: the window for numbers opened
// for both sides, the range typed, "実 行" clicked.
TEST_P(SheetPrintJobTest, NumberedSheetsCountDownIntoTheirField) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  int rc = -1;
  const std::vector<PdfPage> pages = Print(
      [&] {
        if (OpenSerialPrintScreen(kPrintTypeNumberedSheets, kSideChoiceBoth) != 0) return -1;
        PumpMessages();
        Type("PRESNO", "10");
        Type("PREENO", "8");
        Click("DEF01");  // the window closes and prints
        return g_sheetPrintWindow.slot < 0 ? 0 : -1;
      },
      &rc);
  ASSERT_EQ(rc, 0) << Boxes();
  ASSERT_EQ(pages.size(), 6u) << "three sheets, front and back";
  EXPECT_EQ(g_sheetPrintRequest.startNumber, "10");
  // "ID": six boxes of 5 x 7 mm, 6 mm apart, at (40, 35) mm: 0000 in the
  // first four, then 10, 09, 08 on the fronts; the backs carry no number.
  const char* const lastTwo[] = {"10", "09", "08"};
  for (size_t k = 0; k < 3; ++k) {
    SCOPED_TRACE(lastTwo[k]);
    const PrintedPage front = Page(pages, 2 * k), back = Page(pages, 2 * k + 1);
    for (int box = 0; box < 6; ++box) {
      EXPECT_GT(front.Ink(40 + 6 * box + 1, 36, 40 + 6 * box + 4, 41), 0) << "a digit in box " << box;
    }
    EXPECT_EQ(back.Ink(40, 35, 76, 38.5), 0) << "above the back's boxes";
    EXPECT_TRUE(back.Square(10, 19, 3));
  }
  // "1" and "0" tell the sheets apart: a "0" takes more ink than a "1".
  const PrintedPage first = Page(pages, 0), last = Page(pages, 4);
  EXPECT_LT(first.Ink(40 + 24 + 1, 36, 40 + 24 + 4, 41), last.Ink(40 + 24 + 1, 36, 40 + 24 + 4, 41));
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

// Plain sheets of a sheet with a merge definition: the window asks, and
// the answer Yes merges the master rows.
TEST_P(SheetPrintJobTest, ThePlainWindowAsksBeforeMerging) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  MakeMaster({{"ｱｵｷ", 1}, {"ｲﾄｳ", 1}});
  int rc = -1;
  const std::vector<PdfPage> pages = Print(
      [&] {
        if (OpenSerialPrintScreen(kPrintTypePlainSheets, kSideChoiceNone) != 0) return -1;
        PumpMessages();
        Click("DEF01");
        return g_sheetPrintWindow.slot < 0 ? 0 : -1;
      },
      &rc);
  ASSERT_EQ(rc, 0) << Boxes();
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{"ＯＣＲシートに、マスターファイル“T_NAMES”の差し込み印刷を行いますか？"}));
  EXPECT_EQ(pages.size(), 2u) << "a sheet a master row";
}

TEST_P(SheetPrintJobTest, RunsThatCannotPrintWholePrintNothing) {
  const auto dialogsOf = [&](auto job) {
    std::vector<std::string> dialogs;
    int rc = 0;
    Print(job, &rc, &dialogs);
    EXPECT_EQ(rc, -1);
    return dialogs;
  };
  struct Case {
    const char* what;
    const char *start, *end;
  };
  const Case numbers[] = {
      {"upward past the field's six digits", "999998", "1000000"},
      {"not a number", "0000A1", "000003"},
  };
  for (const Case& c : numbers) {
    SCOPED_TRACE(c.what);
    g_sheetPrintRequest.idField = "ID";
    g_sheetPrintRequest.startNumber = c.start;
    g_sheetPrintRequest.endNumber = c.end;
    ForgetBoxes();
    EXPECT_TRUE(dialogsOf([] { return PrintSheetsWithIds(kSideChoiceNone); }).empty());
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("印刷を中止します"), std::string::npos) << Boxes();
  }
  MakeMaster({{"ｱｵｷ", 0}});  // no row to print
  MergeDefinition merge;
  ASSERT_EQ(LoadMergeDefinition("050", &merge), 0) << Boxes();
  ForgetBoxes();
  EXPECT_TRUE(dialogsOf([&] { return MergePrintSheets(kSideChoiceNone, merge); }).empty());
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{"マスターファイル“T_NAMES”に、データが登録されていません。"}));
  ForgetBoxes();
  EXPECT_TRUE(dialogsOf([&] { return MergePrintArrays(kSideChoiceNone, merge); }).empty())
      << "no field of the sheet takes the master's rows";
  EXPECT_EQ(BoxTexts().size(), 1u) << Boxes();
  ForgetBoxes();
  EXPECT_EQ(LoadMergeDefinition("051", &merge), -1);
  EXPECT_EQ(BoxTexts().size(), 1u) << "a missing merge screen is named";

  // A master name that would change the SQL it is put in.
  ASSERT_EQ(LoadTexts({{"BAD.txt", "[screen]\nSCRCODE = 052\nSCRNAME = BAD\n"
                                   "SCRTBL = T_NAMES where 1=1 or printflag\nCOMPORT = 0\n\n"
                                   "[field]\nFLDCODE = 001\nFLDNAME = CODE\n"}},
                      kSampleSheetDb),
            1);
  ASSERT_EQ(LoadMergeDefinition("052", &merge), 0) << Boxes();
  ForgetBoxes();
  EXPECT_TRUE(dialogsOf([&] { return MergePrintSheets(kSideChoiceNone, merge); }).empty());
  EXPECT_EQ(BoxTexts().size(), 1u) << Boxes();

  // The print dialog cancelled: the job does not start, and says nothing
  // more than the dialog did.
  ForgetBoxes();
  ModalDialogRecorder cancelled;
  EXPECT_EQ(PrintSheetJob(kSideChoiceBoth), -1);
  EXPECT_EQ(cancelled.kinds(), (std::vector<std::string>{"PrintDlg"}));
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
  EXPECT_EQ(g_sheetDefinition.sheetCode, "0001");
}

// A printer that takes no document (its queue rejects jobs: the spooler
// finds out as the job ends): every job says so and none reports success.
TEST_P(SheetPrintJobTest, APrinterThatRefusesTheDocumentEndsEveryJobWithAMessage) {
  const std::string why = RefusingPrinterMissing();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  MakeMaster({{"ｱｵｷ", 1}, {"ｲﾄｳ", 1}});
  MergeDefinition merge;
  ASSERT_EQ(LoadMergeDefinition("050", &merge), 0) << Boxes();
  g_sheetPrintRequest.idField = "ID";
  g_sheetPrintRequest.startNumber = "000001";
  g_sheetPrintRequest.endNumber = "000003";
  const std::pair<const char*, std::function<int()>> jobs[] = {
      {"plain", [] { return PrintSheetJob(kSideChoiceBoth); }},
      {"numbered", [] { return PrintSheetsWithIds(kSideChoiceNone); }},
      {"merged", [&] { return MergePrintSheets(kSideChoiceNone, merge); }},
  };
  for (const auto& [what, job] : jobs) {
    SCOPED_TRACE(what);
    ForgetBoxes();
    int rc = 0;
    Print(job, &rc, nullptr, ChooseRefusingPrinter);
    EXPECT_EQ(rc, -1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "プリンタ“REFUSING”が印刷を受け付けませんでした。印刷を中止します。"}));
    EXPECT_FALSE(g_reportOutput.jobOpen);
    EXPECT_EQ(g_sheetDefinition.sheetCode, "0001");
  }
}

// A printer that refuses a page in the middle of a numbered run (the third
// of five): the run stops naming that sheet, reports no success, and drops
// the document rather than print the sheets before it alone.
TEST_P(SheetPrintJobTest, APageRefusedMidRunStopsTheRunAndPrintsNothing) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  struct RefuseThird {
    int pages = 0;
    static int Start(HDC dc, void* self) {
      return ++static_cast<RefuseThird*>(self)->pages == 3 ? 0 : StartPage(dc);
    }
  } printer;
  SetPrinterPageHook(RefuseThird::Start, &printer);
  g_sheetPrintRequest.idField = "ID";
  g_sheetPrintRequest.startNumber = "000001";
  g_sheetPrintRequest.endNumber = "000005";
  int rc = 0;
  Print([] { return PrintSheetsWithIds(kSideChoiceNone); }, &rc);
  SetPrinterPageHook(nullptr, nullptr);
  EXPECT_EQ(rc, -1);
  EXPECT_EQ(printer.pages, 3) << "no page after the refused one";
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"3枚目の印刷ができませんでした。印刷を中止します。"}));
  EXPECT_FALSE(g_reportOutput.jobOpen);
  EXPECT_EQ(WaitForPdfFile(g_sheetPrintRequest.documentName, 5), "") << "the document was dropped";
}

// A numbered run of 50 sheets stopped by the abort dialog's button,
// clicked while the third page prints: the pages up to it are printed, and
// the window opened again offers the run from its first sheet not printed
// on every side (a front without its back is printed again).
TEST_P(SheetPrintJobTest, AStoppedRunKeepsItsPagesAndGoesOnFromTheNextSheet) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  struct StopOnThirdPage {
    int pages = 0;
    static int Start(HDC dc, void* self) {
      if (++static_cast<StopOnThirdPage*>(self)->pages == 3) {
        // Only posted: the job's own message pump takes the click.
        HWND button = GetDlgItem(g_reportOutput.abortDialog, IDCANCEL);
        RECT box{};
        GetClientRect(button, &box);
        const LPARAM middle = MAKELPARAM(box.right / 2, box.bottom / 2);
        PostMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageA(button, WM_LBUTTONUP, 0, middle);
      }
      return StartPage(dc);
    }
  };
  struct Case {
    int sideChoice;
    const char* next;
  };
  // The third page is the front of sheet 3, or of sheet 2 printed on both
  // sides.
  for (const Case& c : {Case{kSideChoiceNone, "4"}, Case{kSideChoiceBoth, "2"}}) {
    SCOPED_TRACE(c.sideChoice);
    g_sheetPrintWindow.startNumber.clear();
    ForgetBoxes();
    StopOnThirdPage printer;
    SetPrinterPageHook(StopOnThirdPage::Start, &printer);
    ModalDialogRecorder dialogs(ChooseDefaultPrinter);
    g_sheetPrintRequest.documentName = UniqueDocumentName("stopped");
    ASSERT_EQ(OpenSerialPrintScreen(kPrintTypeNumberedSheets, c.sideChoice), 0) << Boxes();
    PumpMessages();
    Type("PRESNO", "1");
    Type("PREENO", "50");
    Click("DEF01");
    SetPrinterPageHook(nullptr, nullptr);
    EXPECT_EQ(dialogs.kinds(), (std::vector<std::string>{"PrintDlg", "AbortDialog"}));
    EXPECT_EQ(printer.pages, 3) << "no page begun after the stop";
    EXPECT_TRUE(BoxTexts().empty()) << Boxes();
    EXPECT_FALSE(g_reportOutput.jobOpen);
    EXPECT_EQ(g_reportOutput.abortDialog, nullptr);
    EXPECT_TRUE(IsWindowEnabled(FindWindowA("KQE_READ", nullptr)));
    const std::vector<PdfPage> pages = WaitForPrintedPages(g_sheetPrintRequest.documentName, 150);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_GT(Page(pages, 2).Ink(40 + 30 + 1, 36, 40 + 30 + 4, 41), 0) << "a number on a front";

    ASSERT_EQ(OpenSerialPrintScreen(kPrintTypeNumberedSheets, c.sideChoice), 0) << Boxes();
    PumpMessages();
    EXPECT_EQ(Shown("PRESNO"), c.next);
    EXPECT_EQ(Shown("PREENO"), "50");
    Click("DEF00");
  }
}

TEST_P(SheetPrintJobTest, MergedSheetsCarryOneMasterRowEach) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  MakeMaster({{"ｱｵｷ", 1}, {"ｲﾄｳ", 0}, {"ｳｴﾀﾞ", 1}});
  std::string screen;
  ASSERT_EQ(FindMergePrintScreen(&screen), 0);
  EXPECT_EQ(screen, "050");
  MergeDefinition merge;
  ASSERT_EQ(LoadMergeDefinition(screen, &merge), 0) << Boxes();
  EXPECT_EQ(merge.table, "T_NAMES");
  EXPECT_EQ(SheetHasMasterArrays(merge.table), 0);
  int rc = -1;
  const std::vector<PdfPage> pages =
      Print([&] { return MergePrintSheets(kSideChoiceBoth, merge); }, &rc);
  ASSERT_EQ(rc, 0) << Boxes();
  ASSERT_EQ(pages.size(), 4u) << "two rows to print, front and back";
  // KANA: ten boxes of 6 x 8 mm at (40, 145) mm; "ｳｴﾀﾞ" fills four.
  const PrintedPage first = Page(pages, 0), second = Page(pages, 2);
  EXPECT_GT(first.Ink(40, 145, 58, 153), 0);
  EXPECT_EQ(first.Ink(58.5, 146, 63.5, 152), 0) << "three letters of ｱｵｷ";
  EXPECT_GT(second.Ink(58.5, 146, 63.5, 152), 0) << "the fourth of ｳｴﾀﾞ";
  EXPECT_TRUE(Page(pages, 1).Square(10, 19, 3)) << "a back side";
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

TEST_P(SheetPrintJobTest, MasterRowsSpreadOverTheArrayFields) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  Exec(kSampleSheetDb, kSheetFieldTable,
       ArrayFieldRow("0020", "CODE", 160, 4, ",参照テーブル,キー項目名,取得項目名,書込項目名",
                     ",'T_NAMES','CODE','KANA','NM'"));
  Exec(kSampleSheetDb, kSheetFieldTable, ArrayFieldRow("0021", "NM", 400, 6, "", ""));
  ASSERT_EQ(RebuildWindowItems(0, 0), 0) << Boxes();
  MakeMaster({{"ｱｵｷ", 1}, {"ｲﾄｳ", 1}, {"ｳｴﾀﾞ", 1}, {"ｴﾓﾄ", 0}, {"ｵｶﾞﾜ", 1}, {"ｶﾄｳ", 1}});
  MergeDefinition merge;
  ASSERT_EQ(LoadMergeDefinition("050", &merge), 0) << Boxes();
  EXPECT_EQ(SheetHasMasterArrays(merge.table), 1);
  int rc = -1;
  const std::vector<PdfPage> pages =
      Print([&] { return MergePrintArrays(kSideChoiceNone, merge); }, &rc);
  ASSERT_EQ(rc, 0) << Boxes();
  EXPECT_EQ(pages.size(), 2u) << "five rows to print, three a sheet";
  // The last sheet: the fifth and sixth rows, then an empty row.
  EXPECT_EQ(ValueOf(0, "CODE01"), "0005");
  EXPECT_EQ(ValueOf(0, "NM01"), "ｵｶﾞﾜ");
  EXPECT_EQ(ValueOf(0, "CODE02"), "0006");
  EXPECT_EQ(ValueOf(0, "NM02"), "ｶﾄｳ");
  EXPECT_EQ(ValueOf(0, "CODE03"), "");
  EXPECT_EQ(ValueOf(0, "NM03"), "");
  EXPECT_TRUE(BoxTexts().empty()) << Boxes();
}

INSTANTIATE_TEST_SUITE_P(Databases, SheetPrintJobTest, testing::Values(kDbKindFile), KindName);

}  // namespace
