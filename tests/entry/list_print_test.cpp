// The printed list under Wine, driven as the operator drives it: F9's menu
// of the list opens the print-settings screen of lists over the table's
// first and last code; the rows a page and the range typed there print on
// the PDF printer of the tests' cupsd (by F1 or by the print button), the
// preview beside the settings shows the first page, and the settings are
// kept for the list's next print, also after the list was closed; on both
// databases.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/entry/form_input.h"
#include "tests/entry/list_form_fixture.h"
#include "tests/entry/settings_preview.h"
#include "tests/foundation/db_test_support.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/required_service.h"
#include "tests/support/window_picture.h"
#include "tests/tally/print_capture.h"

namespace {

// The third entry of the list's F9 menu: "印        刷".
constexpr int kPrintEntry = 3;
// The print key of the key bar ("~").
constexpr WPARAM kPrintKey = 126;
// The colour of the printed table's ruled lines on the preview.
constexpr COLORREF kRuleColour = RGB(0, 0, 255);

// The codes each page of a printed list prints (its cells holding only a
// code of four digits), page by page.
std::vector<std::vector<std::string>> CodesByPage(const PdfText& printed) {
  std::vector<std::vector<std::string>> pages(printed.pages);
  for (const PdfTextRun& run : printed.runs) {
    const size_t first = run.text.find_first_not_of(' ');
    if (first == std::string::npos || run.page < 1 || run.page > printed.pages) continue;
    const std::string text = run.text.substr(first, run.text.find_last_not_of(' ') - first + 1);
    if (text.size() == 4 && text.find_first_not_of("0123456789") == std::string::npos) {
      pages[run.page - 1].push_back(text);
    }
  }
  return pages;
}

// Codes "%04d" from `first` to `last`.
std::vector<std::string> Codes(int first, int last) {
  std::vector<std::string> codes;
  for (int n = first; n <= last; ++n) {
    char code[8];
    std::snprintf(code, sizeof code, "%04d", n);
    codes.push_back(code);
  }
  return codes;
}

class ListPrint : public ListFormTest {
 protected:
  void SetUp() override {
    DeleteFileA(PrintSettingsFilePath().c_str());
    g_printSettings = PrintSettings();
    ListFormTest::SetUp();
  }
  void RegisterWindows() override {
    ListFormTest::RegisterWindows();
    if (!g_printSettingsWindow.window) RegisterPrintSettingsClass();
    ASSERT_NE(g_printSettingsWindow.window, nullptr);
  }
  void TearDown() override {
    if (SettingsOpen()) SendMessageA(g_printSettingsWindow.window, kMsgCloseWindow, 0, 0);
    ListFormTest::TearDown();
    DeleteFileA(PrintSettingsFilePath().c_str());
  }

  static bool SettingsOpen() { return IsValidSlot(g_printSettingsWindow.slot); }
  static int Settings() { return g_printSettingsWindow.slot; }

  // F9 in a cell of the list (the list is slot 0), then a click on the
  // menu's print entry.
  void OpenPrintSettings() {
    ClickCell("NAME", 1);
    PressKey(Edit(), VK_F9);
    PumpMessages();
    ASSERT_EQ(g_screen.popupOpen, 1) << "F9 shows the menu";
    const int row = Item(ResolveFieldRef(0, "FKEY09")).charSize * 2 + 12;
    const int y = 2 + (kPrintEntry - 1) * row + row / 2;
    PostMessageA(g_screen.popupWindow, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y));
    PostMessageA(g_screen.popupWindow, WM_LBUTTONUP, 0, MAKELPARAM(10, y));
    PumpMessages();
    ASSERT_TRUE(SettingsOpen()) << testing::PrintToString(BoxTexts());
  }
  void PressInSettings(WPARAM key) {
    PressKey(Slot(Settings()).editControl, key);
    PumpMessages();
  }
  void TypeIntoSettings(const char* name, const char* text) {
    ASSERT_TRUE(TypeIntoField(Settings(), name, text)) << name;
    PressInSettings(VK_TAB);
  }
  // Prints from the settings by F1, or by a click on the print button; the
  // job's text as the PDF printer wrote it.
  PdfText Print(const char* what, bool byButton) {
    const std::string name = UniqueDocumentName(what);
    g_reportOutput.documentName = name;
    ModalDialogRecorder dialogs(ChooseDefaultPrinter);
    if (byButton) {
      ClickItem(Settings(), ResolveFieldRef(Settings(), "P01"));
      PumpMessages();
    } else {
      PressInSettings(VK_F1);
    }
    if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
      const std::string pdf = WaitForPdfFile(name, 60);
      CopyFileA(pdf.c_str(), (std::string(pictures) + "\\list_print_" + what + ".pdf").c_str(), FALSE);
    }
    return WaitForPrintedText(name);
  }
};

TEST_P(ListPrint, PrintsTheRowsAPageAndTheRangeSetOnTheSettingsScreen) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ASSERT_EQ(OpenList(), 0) << testing::PrintToString(BoxTexts());
  struct Case {
    const char* what;
    const char* lines;  // typed into 印字行数
    const char *start, *end;  // typed over the offered codes, or nullptr
    bool byButton;
    std::vector<int> rowsPerPage;
    int first, last;
  };
  const Case cases[] = {
      {"every_row", "10", nullptr, nullptr, false, {10, 10, 3}, 1, 23},
      {"a_range", "8", "0003", "0021", true, {8, 8, 3}, 3, 21},
      {"one_page", "50", "0020", nullptr, false, {4}, 20, 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OpenPrintSettings();
    EXPECT_FALSE(IsWindowEnabled(ListWindow())) << "the list waits for its settings";
    EXPECT_EQ(ShownText(Settings(), "SNO"), "0001");
    EXPECT_EQ(ShownText(Settings(), "ENO"), "0023");
    TypeIntoSettings("LINE", c.lines);
    if (c.start) TypeIntoSettings("SNO", c.start);
    if (c.end) TypeIntoSettings("ENO", c.end);
    const PdfText printed = Print(c.what, c.byButton);
    const std::vector<std::vector<std::string>> pages = CodesByPage(printed);
    ASSERT_EQ(pages.size(), c.rowsPerPage.size());
    std::vector<std::string> all;
    for (size_t p = 0; p < pages.size(); ++p) {
      EXPECT_EQ(static_cast<int>(pages[p].size()), c.rowsPerPage[p]) << "page " << p + 1;
      all.insert(all.end(), pages[p].begin(), pages[p].end());
    }
    EXPECT_EQ(all, Codes(c.first, c.last));
    PressInSettings(VK_ESCAPE);
    EXPECT_FALSE(SettingsOpen());
    EXPECT_TRUE(IsWindowEnabled(ListWindow()));
    EXPECT_EQ(PageKeys(), Codes(1, kPageLines)) << "the list shows its first page again";
  }
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

TEST_P(ListPrint, TheSettingsAreKeptForTheNextPrintOfTheList) {
  ASSERT_EQ(OpenList(), 0) << testing::PrintToString(BoxTexts());
  OpenPrintSettings();
  EXPECT_EQ(ShownText(Settings(), "LINE"), "50") << "a list prints 50 rows a page at first";
  TypeIntoSettings("LINE", "12");
  TypeIntoSettings("TMGN", "20");
  PressInSettings(VK_ESCAPE);
  // Closed and opened again, and after the list itself was closed.
  for (bool reopenList : {false, true}) {
    SCOPED_TRACE(reopenList ? "list reopened" : "settings reopened");
    if (reopenList) {
      CloseListHolding({}, true);
      ASSERT_EQ(OpenList(), 0) << testing::PrintToString(BoxTexts());
    }
    OpenPrintSettings();
    EXPECT_EQ(ShownText(Settings(), "LINE"), "12");
    EXPECT_EQ(ShownText(Settings(), "TMGN"), "20");
    EXPECT_EQ(ShownText(Settings(), "SNO"), "0001") << "the range is the table's";
    EXPECT_EQ(ShownText(Settings(), "ENO"), "0023");
    PressInSettings(VK_ESCAPE);
  }
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

TEST_P(ListPrint, ThePreviewShowsTheFirstPageOfTheRange) {
  ASSERT_EQ(OpenList(), 0) << testing::PrintToString(BoxTexts());
  OpenPrintSettings();
  // The table's ruled lines end lower by 15 rows of the same pitch.
  TypeIntoSettings("LINE", "5");
  const int fiveRows = PreviewLowestRowOf(kRuleColour);
  TypeIntoSettings("LINE", "20");
  const int twentyRows = PreviewLowestRowOf(kRuleColour);
  if (const char* pictures = std::getenv("SHEETDESK_PICTURES"); pictures && *pictures) {
    SaveWindowPicture(g_printSettingsWindow.window, std::string(pictures) + "\\list_print_preview.png");
  }
  ASSERT_GT(fiveRows, 0);
  const int pitch = (twentyRows - fiveRows) / 15;
  EXPECT_GT(pitch, 10);
  EXPECT_LT(fiveRows - 7 * pitch, 100) << "the title, the headings and five rows";
  // A start after the last code: nothing to show, nothing printed, said.
  TypeIntoSettings("ENO", "0040");
  TypeIntoSettings("SNO", "0030");
  EXPECT_EQ(PreviewLowestRowOf(kRuleColour), -1);
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
  {
    ModalDialogRecorder dialogs;
    PressInSettings(VK_F1);
    EXPECT_EQ(dialogs.kinds(), std::vector<std::string>{}) << "no printer is asked for";
  }
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{"コード“0030”は登録されていません。"});
  PressInSettings(VK_ESCAPE);
  EXPECT_TRUE(IsWindowEnabled(ListWindow()));
}

// The key bar's "~" (command 126) prints the sheets' own lists (screens 91
// and 92) as the menu's entry does; other lists ignore it.
TEST_P(ListPrint, TheSheetsOwnListsPrintFromTheirKeyBar) {
  struct Case {
    const char* number;
    bool opens;
  };
  for (const Case& c : {Case{"61", false}, Case{"91", true}, Case{"92", true}}) {
    SCOPED_TRACE(c.number);
    std::string text = ListScreenText(keyKind_, "Ｎ");
    const std::string number = std::string("SCRNO = ") + c.number;
    ASSERT_TRUE(ChangeScreenText(&text, {{"SCRNO = 61", number.c_str()}}));
    ASSERT_EQ(LoadTexts({{"TEST-LSTK.txt", text}}), 1);
    ASSERT_EQ(OpenList(), 0) << testing::PrintToString(BoxTexts());
    ClickCell("NAME", 1);
    PostMessageA(ListWindow(), kMsgScreenCommand, kPrintKey, 0);
    PumpMessages();
    EXPECT_EQ(SettingsOpen(), c.opens);
    if (SettingsOpen()) {
      EXPECT_EQ(ShownText(Settings(), "SNO"), "0001");
      EXPECT_EQ(ShownText(Settings(), "ENO"), "0023");
      PressInSettings(VK_ESCAPE);
    }
    EXPECT_TRUE(IsWindowEnabled(ListWindow()));
    CloseListHolding({}, true);
  }
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Databases, ListPrint, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
