// Printer jobs through Wine, CUPS and the PDF printer: what lands on the
// paper (pages, frames, units, orientation), the print-settings protocol
// around a job (abort dialog, disabled owner, message 1129), and every way
// a job can fail without leaving a window disabled or a GDI object behind.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h
#include <commdlg.h>

#include <cstdio>

#include "tally/tally.h"
#include "tests/support/hook_recorder.h"
#include "tests/tally/print_capture.h"
#include "tests/support/required_service.h"

namespace {

// A window that records the messages 1129 it receives.
struct RequestLog {
  static std::vector<WPARAM>& Received() {
    static std::vector<WPARAM> received;
    return received;
  }
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    if (message == WM_USER + 105) Received().push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
  }
};

HWND MakeWindow(const char* title) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RequestLog::Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ReportPrintTestWindow";
    RegisterClassA(&windowClass);
    registered = true;
  }
  return CreateWindowA("ReportPrintTestWindow", title, WS_OVERLAPPEDWINDOW, 0,
                       0, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                       nullptr);
}

class ReportPrint : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string why = PrintingUnavailable();
    if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
    owner_ = MakeWindow("owner");
    requester_ = MakeWindow("requester");
    RequestLog::Received().clear();
    gdiBaseline_ = LiveGdiObjects();
    g_reportOutput.previewWindow = nullptr;
    g_reportOutput.previewDC = nullptr;
  }
  void TearDown() override {
    if (owner_) DestroyWindow(owner_);
    if (requester_) DestroyWindow(requester_);
  }
  // A job as the print-settings window starts it, on A4 with margins of
  // 20 steps (20 mm in 0.2 mm units).
  void DescribePrintSettingsJob(int orientation, const std::string& name) {
    BeginReportOutput(owner_, 2, orientation, 10, 20, 20);
    g_reportOutput.fromPrintSettings = 0;
    g_reportOutput.requestingWindow = requester_;
    g_reportOutput.requestParameter = 7;
    g_reportOutput.documentName = name;
  }
  void DescribeDirectJob(int orientation, const std::string& name) {
    BeginReportOutput(owner_, 2, orientation, 10, 20, 20);
    g_reportOutput.documentName = name;
  }
  // Nothing of a job is left: owner usable, no abort dialog, no GDI object.
  void ExpectCleanAfterJob() {
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(g_reportOutput.abortDialog, nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "印  刷  処  理"), nullptr);
    EXPECT_EQ(g_reportOutput.dc, nullptr);
    EXPECT_EQ(LiveGdiObjects(), gdiBaseline_);
  }
  HWND owner_ = nullptr;
  HWND requester_ = nullptr;
  int gdiBaseline_ = 0;
};

TEST_F(ReportPrint, FramedCellsLandOnTheirPagesWithoutATrailingBlankPage) {
  const std::string name = UniqueDocumentName("cells");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  DescribePrintSettingsJob(1, name);
  HDC dc = reinterpret_cast<HDC>(StartPrintJobDefault(1, "L"));
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(dialogs.kinds(), (std::vector<std::string>{"PrintDlg", "AbortDialog"}));
  ASSERT_NE(g_reportOutput.abortDialog, nullptr);
  char caption[64] = "";
  GetWindowTextA(g_reportOutput.abortDialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "印  刷  処  理");
  EXPECT_FALSE(IsWindowEnabled(owner_));
  EXPECT_EQ(g_reportOutput.scale, 2);
  // 0.1 mm a logical unit, y counting up: 100 mm are 3.937 inches.
  POINT hundredMm{1000, 1000};
  LPtoDP(dc, &hundredMm, 1);
  EXPECT_EQ(hundredMm.x, GetDeviceCaps(dc, LOGPIXELSX) * 1000 / 254);
  EXPECT_EQ(hundredMm.y, -GetDeviceCaps(dc, LOGPIXELSY) * 1000 / 254);

  SetReportCellFrame(1);
  ReportPrintCell("%s", "ABCDEFGHIJ");
  const int digit = ReportDigitWidth();  // 0.1 mm
  AdvanceReportLine(1);
  SetReportCellFrame(2);
  ReportPrintCell("%s", "rule");
  EXPECT_EQ(AbortPrintJob(), 0);
  NextPrintPage();
  SetReportCellFrame(1);
  ReportPrintCell("%s", "second");
  // Callers end the last page before they end the job: no blank page.
  NextPrintPage();
  EndPrintJob();
  ExpectCleanAfterJob();
  EXPECT_EQ(GetObjectType(dc), 0u);  // the printer DC is deleted
  EXPECT_EQ(RequestLog::Received(), (std::vector<WPARAM>{7}));

  const std::vector<PdfPage> pages = WaitForPrintedPages(name, 100);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_LT(pages[0].width, pages[0].height);
  // Printer line origin: (20 - 6) x 5 and (20 - 5) x 5 report units of
  // 0.2 mm; the line is 2 x 10 units of 0.2 mm high.
  const double left = 14, top = 15, bottom = 19;
  const double right = left + 10 * digit / 10.0;
  const PdfPage& first = pages[0];
  EXPECT_TRUE(first.DarkNearMm(left, 17));
  EXPECT_TRUE(first.DarkNearMm(right, 17));
  EXPECT_TRUE(first.DarkNearMm((left + right) / 2, top));
  EXPECT_TRUE(first.DarkNearMm((left + right) / 2, bottom));
  EXPECT_FALSE(first.DarkNearMm(left - 3, 17));
  EXPECT_FALSE(first.DarkNearMm(right + 3, 17));
  // Style 2 on the second line: a rule under the text, no verticals.
  EXPECT_FALSE(first.DarkNearMm(left, 21, 1));
  EXPECT_TRUE(pages[1].DarkNearMm(left, 17));
}

TEST_F(ReportPrint, SheetUnitsAreMillimetresOnALandscapePage) {
  const std::string name = UniqueDocumentName("sheet");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  DescribeDirectJob(2, name);
  ASSERT_NE(StartPrintJobDefault(1, "O"), 0);
  // A job begun directly shows no abort dialog.
  EXPECT_EQ(dialogs.kinds(), (std::vector<std::string>{"PrintDlg"}));
  EXPECT_EQ(g_reportOutput.abortDialog, nullptr);
  EXPECT_EQ(g_reportOutput.scale, 100);
  const int s = g_reportOutput.scale;
  ReportLine(20 * s, 30 * s, 60 * s, 50 * s);
  EndPrintJob();
  ExpectCleanAfterJob();
  EXPECT_TRUE(RequestLog::Received().empty());

  const std::vector<PdfPage> pages = WaitForPrintedPages(name, 100);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_GT(pages[0].width, pages[0].height);
  EXPECT_TRUE(pages[0].DarkNearMm(20, 40));
  EXPECT_TRUE(pages[0].DarkNearMm(60, 40));
  EXPECT_TRUE(pages[0].DarkNearMm(40, 30));
  EXPECT_TRUE(pages[0].DarkNearMm(40, 50));
  EXPECT_FALSE(pages[0].DarkNearMm(40, 40, 5));
}

TEST_F(ReportPrint, DirectKindUsesTheDefaultPrinterWithoutDialogs) {
  const std::string name = UniqueDocumentName("direct");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  DescribePrintSettingsJob(1, name);
  ASSERT_NE(StartPrintJobDefault(1, "o"), 0);
  EXPECT_TRUE(dialogs.kinds().empty());
  EXPECT_EQ(g_reportOutput.abortDialog, nullptr);
  EXPECT_EQ(g_reportOutput.printerName, DefaultPrinterName());
  const int s = g_reportOutput.scale;
  ReportBox(10 * s, 10 * s, 100 * s, 20 * s, 0);
  EndPrintJob();
  ExpectCleanAfterJob();
  ASSERT_EQ(WaitForPrintedPages(name, 50).size(), 1u);
}

TEST_F(ReportPrint, RefusedJobUndoesTheWholeOpening) {
  // The "printer" of this dialog answer refuses every document.
  HDC refusing = nullptr;
  ModalDialogRecorder dialogs([&refusing](const ModalDialogCall& call) -> INT_PTR {
    if (call.kind != "PrintDlg") return call.real(call.data);
    refusing = CreateCompatibleDC(nullptr);
    static_cast<PRINTDLGA*>(call.data)->hDC = refusing;
    return 1;
  });
  MessageBoxRecorder boxes;
  DescribePrintSettingsJob(1, UniqueDocumentName("refused"));
  EXPECT_EQ(StartPrintJobDefault(1, "L"), 0);
  ExpectCleanAfterJob();
  ASSERT_NE(refusing, nullptr);
  EXPECT_EQ(GetObjectType(refusing), 0u);
  const std::string expected =
      "“" + DefaultPrinterName() + "”の初期化ができません。";
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{expected}));
  ASSERT_EQ(boxes.calls().size(), 1u);
  EXPECT_EQ(boxes.calls()[0].caption, "");
  // The failed job is closed already; ending it again changes nothing.
  EndPrintJob();
  EXPECT_TRUE(RequestLog::Received().empty());
}

TEST_F(ReportPrint, CancelledDialogStartsNothing) {
  ModalDialogRecorder dialogs;  // every dialog cancelled
  MessageBoxRecorder boxes;
  DescribePrintSettingsJob(1, UniqueDocumentName("cancel"));
  EXPECT_EQ(StartPrintJobDefault(1, "L"), 0);
  EXPECT_EQ(dialogs.kinds(), (std::vector<std::string>{"PrintDlg"}));
  EXPECT_TRUE(boxes.calls().empty());
  ExpectCleanAfterJob();
}

TEST_F(ReportPrint, AbortButtonStopsTheJob) {
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  DescribePrintSettingsJob(1, UniqueDocumentName("abort"));
  ASSERT_NE(StartPrintJobDefault(1, "L"), 0);
  ReportPrintCell("%s", "page one");
  HWND dialog = g_reportOutput.abortDialog;
  ASSERT_NE(dialog, nullptr);
  // The click reaches the dialog through the job's own message pump.
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  EXPECT_EQ(AbortPrintJob(), -1);
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(AbortPrintJob(), -1);
  ReportPrintCell("%s", "not drawn");  // nothing is drawn after an abort
  EndPrintJob();
  ExpectCleanAfterJob();
}

TEST_F(ReportPrint, BeginPrintPageStartsAPageEvenWithNothingOnIt) {
  const std::string name = UniqueDocumentName("begin");
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  DescribeDirectJob(1, name);
  ASSERT_NE(StartPrintJobDefault(1, "o"), 0);
  ReportBox(10, 10, 100, 20, 0);
  EXPECT_EQ(BeginPrintPage(), 0);  // the page is open already
  EXPECT_EQ(g_reportOutput.pagesStarted, 1);
  NextPrintPage();
  EXPECT_EQ(BeginPrintPage(), 0);  // a blank page, asked for
  EXPECT_TRUE(g_reportOutput.pageOpen);
  EXPECT_EQ(g_reportOutput.pagesStarted, 2);
  NextPrintPage();
  EndPrintJob();
  ExpectCleanAfterJob();
  EXPECT_EQ(WaitForPrintedPages(name, 50).size(), 2u);
}

TEST_F(ReportPrint, BeginPrintPageFailsWhenThePageCannotStart) {
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  MessageBoxRecorder boxes;
  DescribeDirectJob(1, UniqueDocumentName("nopage"));
  ASSERT_NE(StartPrintJobDefault(1, "o"), 0);
  // A device that refuses the page: for a moment the job draws on a DC that
  // no longer exists, so StartPage fails as it does for a spooler error.
  const HDC printer = g_reportOutput.dc;
  const HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  g_reportOutput.dc = gone;
  EXPECT_EQ(BeginPrintPage(), -1);
  g_reportOutput.dc = printer;
  EXPECT_FALSE(g_reportOutput.pageOpen);
  EXPECT_EQ(g_reportOutput.pagesStarted, 0);
  EXPECT_TRUE(boxes.calls().empty());  // not reported
  EXPECT_EQ(AbortPrintJob(), -1);      // the caller's next check ends it
  EXPECT_EQ(BeginPrintPage(), -1);
  EndPrintJob();
  ExpectCleanAfterJob();
}

TEST_F(ReportPrint, NoDefaultPrinterIsReported) {
  char saved[512] = "";
  GetProfileStringA("windows", "device", "", saved, sizeof saved);
  WriteProfileStringA("windows", "device", "");
  MessageBoxRecorder boxes;
  DescribeDirectJob(1, UniqueDocumentName("noprinter"));
  EXPECT_EQ(StartPrintJobDefault(1, "C"), 0);
  WriteProfileStringA("windows", "device", saved);
  EXPECT_EQ(boxes.texts(),
            (std::vector<std::string>{"通常使うプリンタが設定されていません。"}));
  ExpectCleanAfterJob();
}

}  // namespace
