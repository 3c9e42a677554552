// The keys of a graph's print settings that open further screens, used as
// a user uses them. The colour key opens the colour slots of the graph
// type, a slot's button the graph-colour window, where a colour and a fill
// are chosen and taken; the slots show it at once and when opened again
// (by F7), and the graph prints in it. The layout key (F6) lists the
// questions with the print switch and page break of the graph shown. The
// tally menu's write-in list prints the images cut out of a write-in field.
// Each on the file database and on the PostgreSQL server.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/db.h"
#include "program/program.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tests/program/program_fixture.h"
#include "tests/program/survey_walk.h"
#include "tests/support/test_pictures.h"
#include "tests/tally/print_capture.h"

namespace {

// Colour 09 of the graph-colour window, and the default of slot 1 (01).
constexpr COLORREF kChosenRed = RGB(255, 64, 64);
constexpr COLORREF kDefaultBlue = RGB(0, 0, 255);

// The bar graph's questions: their texts as its titles print them.
constexpr const char* kQuestions[] = {"好きですか", "行きますか", "見ますか"};

class TallyOptions : public SurveyWalk {
 protected:
  void SetUp() override {
    SurveyWalk::SetUp();
    if (HasFatalFailure()) return;
    StartWalk("tally_options");
    if (IsSkipped() || HasFatalFailure()) return;
    // Three questions (はい, いいえ) answered はい once: the bars of choice 1.
    SampleDefinition definition;
    if (server()) {
      definition.serverDatabase = server_.database;
      DropServerTable("KAITO");
    }
    ChooseSample(definition);
    AddQuestion();
    AddQuestions();
    std::string description = "KAITO\r\nFIELD\r\n\"ID\",\"char*\",\"ID\",10,0,0,\"\",10\r\n";
    for (int q = 1; q <= 3; ++q) {
      const std::string column = AnswerColumn(q);
      description += "\"" + column + "\",\"char*\",\"" + column + "\",4,0,0,\"\",4\r\n";
    }
    WriteInstallationFile("KAITO.spc", description + "INDEX\r\n\"ID\",\"\xe2\x96\xb3\"\r\nEND\r\n");
    ASSERT_EQ(LoadOutputDatabaseSettings(), 0) << testing::PrintToString(Boxes());
    // The answers are stored as the reading would, under the server's user.
    ASSERT_EQ(g_output.dbKind, GetParam());
    if (server()) SetDbLogin(server_.user.c_str(), server_.password.c_str());
    StoreAnswers();
    if (HasFatalFailure()) return;
    Command(kCmdTally);
    LogIn();
    menu_ = SlotOfCode("SPRN-MENU");
    ASSERT_GE(menu_, 0) << testing::PrintToString(Boxes());
    ForgetBoxes();
  }

  // A button of the tally menu: the print settings it opens.
  void OpenSettings(const char* button) {
    ClickItem(Slot(menu_).window, button);
    settings_ = FindWindowA("Prn", nullptr);
    ASSERT_TRUE(IsWindowVisible(settings_)) << testing::PrintToString(Boxes());
  }

  // Questions 2 and 3 beside the fixture's first; every question's text.
  void AddQuestions() {
    const int items = OpenItemTable();
    ASSERT_GE(items, 0);
    for (int q = 2; q <= 3; ++q) {
      db_clear(items);
      SetColumnText(items, "質問コード", ("00" + std::to_string(q)).c_str());
      SetColumnText(items, "項目名", ("Q" + std::to_string(q)).c_str());
      SetColumnText(items, "選択肢", "はい,いいえ");
      SetColumnText(items, "カウントデータ", "12");
      ASSERT_EQ(db_add(items), 0);
    }
    for (int q = 1; q <= 3; ++q) {
      ASSERT_EQ(db_search(items, ("00" + std::to_string(q)).c_str(), "質問コード"), 0);
      SetColumnText(items, "質問内容", kQuestions[q - 1]);
      ASSERT_EQ(db_update(items), 0);
    }
    db_close(items);
  }

  void StoreAnswers() {
    const int t = db_open(g_output.folder.c_str(), g_output.database.c_str(), "KAITO", g_output.dbKind, "KAITO",
                          "KAITO", "");
    ASSERT_GE(t, 0) << testing::PrintToString(Boxes());
    db_clear(t);
    SetColumnText(t, "ID", "0001");
    for (int q = 1; q <= 3; ++q) SetColumnText(t, AnswerColumn(q).c_str(), "1");
    ASSERT_EQ(db_add(t), 0);
    db_close(t);
  }


  // Prints the graph from its settings: the job's name.
  std::string Print() {
    const std::string name = UniqueDocumentName("tally_options");
    g_reportOutput.documentName = name;
    ModalDialogRecorder dialogs(ChooseDefaultPrinter);
    ClickItem(settings_, "P01");
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    return name;
  }

  // A quick click as a user's: the window comes to the front with the
  // focus first, and the button is down and up before anything it opens
  // shows.
  void UserClick(HWND window, POINT at) {
    SetForegroundWindow(window);
    SetFocus(window);
    RunPostedMessages();
    const LPARAM point = MAKELPARAM(at.x, at.y);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(window, WM_LBUTTONUP, 0, point);
    RunPostedMessages();
  }
  void UserClick(HWND window, const char* name) { UserClick(window, CentreOf(SlotOfWindow(window), name)); }

  // Pixels of `color` in a field's box as its window shows it.
  static int PixelsOfColour(int slot, const char* name, COLORREF color) {
    const HWND window = Slot(slot).window;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const int i = ResolveFieldRef(slot, name);
    if (i < 0) return -1;
    const ScreenItem& item = Item(i);
    const HDC dc = GetDC(window);
    int count = 0;
    for (int y = item.pixelY; y < item.pixelY + item.pixelHeight; ++y) {
      for (int x = item.pixelX; x < item.pixelX + item.pixelWidth; ++x) count += GetPixel(dc, x, y) == color;
    }
    ReleaseDC(window, dc);
    return count;
  }

  static HWND ColorWindow() { return FindWindowA("Gcol", nullptr); }
  static HWND SlotsWindow() {
    const int slots = SlotOfCode("GCOL-SET");
    return slots >= 0 ? Slot(slots).window : nullptr;
  }

  // Answers in the columns of the older layout, numbered by their
  // questions ("回答01", ...), instead of named by their items.
  bool numbered_ = false;
  std::string AnswerColumn(int q) const { return (numbered_ ? "回答0" : "Q") + std::to_string(q); }

  int menu_ = -1;
  HWND settings_ = nullptr;
};

TEST_P(TallyOptions, AColourTakenInTheWindowIsShownKeptAndPrinted) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings("BAR1"));
  // The colour key, by the mouse.
  ClickItem(settings_, "COLSET");
  int slots = SlotOfCode("GCOL-SET");
  ASSERT_GE(slots, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(Slot(slots).screenNumber, 61);
  EXPECT_FALSE(IsWindowEnabled(settings_)) << "the print settings wait for the colours";
  EXPECT_EQ(FieldText(slots, "GCOL01"), "01-06") << "slot 1 as stored: blue, crossed";
  EXPECT_GT(PixelsOfColour(slots, "GCOL01", kDefaultBlue), 20) << "its swatch";
  EXPECT_EQ(PixelsOfColour(slots, "GCOL01", kChosenRed), 0);
  SavePictureOnRequest(SlotsWindow(), "graph_colour_slots");

  // Slot 1's button: the graph-colour window on its colour.
  UserClick(SlotsWindow(), "GCOL01");
  ASSERT_TRUE(IsWindowVisible(ColorWindow())) << testing::PrintToString(Boxes());
  EXPECT_FALSE(IsWindowVisible(SlotsWindow())) << "the slots wait behind it";
  UserClick(ColorWindow(), "COL09");
  UserClick(ColorWindow(), "HAT00");
  SavePictureOnRequest(ColorWindow(), "graph_colour_window");
  UserClick(ColorWindow(), "SELCOL");
  EXPECT_FALSE(IsWindowVisible(ColorWindow()));
  ASSERT_TRUE(IsWindowVisible(SlotsWindow()));
  EXPECT_EQ(FieldText(slots, "GCOL01"), "09-00") << "the slot shows what was taken";
  EXPECT_GT(PixelsOfColour(slots, "GCOL01", kChosenRed), 100) << "a solid swatch";
  EXPECT_EQ(PixelsOfColour(slots, "GCOL01", kDefaultBlue), 0);
  EXPECT_EQ(FieldText(slots, "GCOL02"), "02-06");

  UserClick(SlotsWindow(), "QUIT");
  EXPECT_LT(SlotOfCode("GCOL-SET"), 0);
  EXPECT_TRUE(IsWindowEnabled(settings_));

  // Opened again by its key (F7): the colour was stored.
  SetForegroundWindow(settings_);
  SetFocus(settings_);
  PressKeyInFocus(VK_F7);
  slots = SlotOfCode("GCOL-SET");
  ASSERT_GE(slots, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(FieldText(slots, "GCOL01"), "09-00");
  SelectWindowSlot(slots);
  SendKeyCommand(kKeyEscape);
  RunPostedMessages();
  EXPECT_LT(SlotOfCode("GCOL-SET"), 0);
  EXPECT_THAT(Boxes(), testing::IsEmpty());

  // The bar graph printed: its bar solid in the red taken, no longer blue.
  const std::string why = PrintingUnavailable();
  if (!why.empty()) GTEST_SKIP() << why;
  const std::string job = Print();
  ClickItem(settings_, "P00");
  const std::vector<PdfPage> pages = WaitForPrintedColourPages(job, 100);
  ASSERT_EQ(pages.size(), 1u);
  const PdfPage& page = pages[0];
  EXPECT_GT(page.ColourInMm(0, 0, 210, 297, kChosenRed), 3 * 200) << "three bars, filled red";
  EXPECT_EQ(page.ColourInMm(0, 0, 210, 297, kDefaultBlue), 0);
}

TEST_P(TallyOptions, TheClickThatOpensTheColourWindowChoosesNothingInIt) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings("BAR1"));
  ClickItem(settings_, "COLSET");
  const int slots = SlotOfCode("GCOL-SET");
  ASSERT_GE(slots, 0) << testing::PrintToString(Boxes());
  // Slot 2's button, then at once the window's take key: the window opened
  // on slot 2's colour, and nothing chosen is stored.
  UserClick(SlotsWindow(), "GCOL02");
  ASSERT_TRUE(IsWindowVisible(ColorWindow())) << testing::PrintToString(Boxes());
  const int window = SlotOfWindow(ColorWindow());
  ASSERT_GE(window, 0);
  EXPECT_EQ(FieldText(window, "SELCOL"), "02-06");
  UserClick(ColorWindow(), "SELCOL");
  EXPECT_FALSE(IsWindowVisible(ColorWindow()));
  EXPECT_EQ(FieldText(slots, "GCOL02"), "02-06");
  UserClick(SlotsWindow(), "QUIT");
  EXPECT_THAT(Boxes(), testing::IsEmpty());
}

// How many of the printed texts read `text`, whole but for the blanks
// that pad a cell.
int PrintedTimes(const PdfText& printed, const std::string& text) {
  int times = 0;
  for (const PdfTextRun& run : printed.runs) {
    const size_t first = run.text.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    times += run.text.substr(first, run.text.find_last_not_of(' ') + 1 - first) == text;
  }
  return times;
}

// The pages (from 1) on which a text is printed.
std::vector<int> PagesPrinting(const PdfText& printed, const char* text) {
  std::vector<int> pages;
  for (const PdfTextRun& run : printed.runs) {
    if (run.text.find(text) != std::string::npos) pages.push_back(run.page);
  }
  return pages;
}

TEST_P(TallyOptions, AQuestionLeftOutOrEndingAPageIsSoPrinted) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings("BAR1"));
  // The layout key, by F6: the questions with the bar graph's switches.
  SetForegroundWindow(settings_);
  SetFocus(settings_);
  PressKeyInFocus(VK_F6);
  int list = SlotOfCode("SPRN-SET");
  ASSERT_GE(list, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(Slot(list).screenNumber, 37);
  EXPECT_EQ(FieldText(list, "質問内容01"), kQuestions[0]);
  EXPECT_EQ(FieldText(list, "質問内容03"), kQuestions[2]);
  SavePictureOnRequest(Slot(list).window, "tally_question_settings");

  // A page break after question 1; question 2 left out.
  UserClick(Slot(list).window, CentreOf(list, "改頁0401"));
  UserClick(Slot(list).window, CentreOf(list, "印字0402"));
  UserClick(Slot(list).window, CentreOf(list, "FKEY00"));
  EXPECT_LT(SlotOfCode("SPRN-SET"), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(Stored("001", "改頁04"), "1");
  EXPECT_EQ(Stored("002", "印字04"), "1");
  EXPECT_EQ(Stored("002", "改頁04"), "0");
  EXPECT_EQ(Stored("001", "印字05"), "0") << "the other kinds keep theirs";

  // Opened again by its button: as stored.
  ClickItem(settings_, "FLGSET");
  list = SlotOfCode("SPRN-SET");
  ASSERT_GE(list, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(FieldText(list, "改頁0401"), "1");
  EXPECT_EQ(FieldText(list, "印字0402"), "1");
  EXPECT_EQ(FieldText(list, "印字0401"), "0");
  UserClick(Slot(list).window, CentreOf(list, "FKEY00"));
  EXPECT_LT(SlotOfCode("SPRN-SET"), 0);
  EXPECT_THAT(Boxes(), testing::IsEmpty());

  const std::string why = PrintingUnavailable();
  if (!why.empty()) GTEST_SKIP() << why;
  const std::string job = Print();
  ClickItem(settings_, "P00");
  const PdfText printed = WaitForPrintedText(job);
  EXPECT_EQ(printed.pages, 2);
  EXPECT_THAT(PagesPrinting(printed, kQuestions[0]), testing::ElementsAre(1));
  EXPECT_THAT(PagesPrinting(printed, kQuestions[1]), testing::IsEmpty());
  EXPECT_THAT(PagesPrinting(printed, kQuestions[2]), testing::ElementsAre(2));
}

TEST_P(TallyOptions, OneQuestionAtATimeGroupsTheCrossesOffered) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings("SIMPLE"));
  const int settings = SlotOfWindow(settings_);
  ASSERT_GE(settings, 0);
  const int cross = ResolveFieldRef(settings, "クロス設定");
  ASSERT_GE(cross, 0);
  // The simple tally's list: question 1, then question 2 ticked as the
  // grouping item; the first tick goes.
  ClickItem(settings_, "FLGSET");
  int list = SlotOfCode("SPRN-SET2");
  ASSERT_GE(list, 0) << testing::PrintToString(Boxes());
  UserClick(Slot(list).window, CentreOf(list, "チェック0101"));
  EXPECT_EQ(Stored("001", "チェック01"), "1");
  UserClick(Slot(list).window, CentreOf(list, "チェック0102"));
  EXPECT_EQ(Stored("002", "チェック01"), "1");
  EXPECT_EQ(Stored("001", "チェック01"), "0") << "one grouping item";
  EXPECT_EQ(FieldText(list, "チェック0101"), "0") << "the list shows it";
  SavePictureOnRequest(Slot(list).window, "tally_grouping_item");
  UserClick(Slot(list).window, CentreOf(list, "FKEY00"));
  EXPECT_LT(SlotOfCode("SPRN-SET2"), 0) << testing::PrintToString(Boxes());

  // The settings offer the cross by question 2's item.
  EXPECT_EQ(Item(cross).state, kItemEnabled);
  EXPECT_EQ(Item(cross).choices, "単純集計,Q2");

  // Untied again: no cross to offer, back to the simple tally.
  ClickItem(settings_, "FLGSET");
  list = SlotOfCode("SPRN-SET2");
  ASSERT_GE(list, 0) << testing::PrintToString(Boxes());
  UserClick(Slot(list).window, CentreOf(list, "チェック0102"));
  EXPECT_EQ(Stored("002", "チェック01"), "0");
  UserClick(Slot(list).window, CentreOf(list, "FKEY00"));
  EXPECT_EQ(Item(cross).state, kItemHidden);
  EXPECT_EQ(FieldText(settings, "クロス設定"), "単純集計");
  EXPECT_THAT(Boxes(), testing::IsEmpty());
}

// A dark area of a page: its bounds in pixels.
struct Blob {
  int left, top, right, bottom;
};

// The areas of connected dark pixels of a page larger than `minPixels`.
std::vector<Blob> DarkBlobs(const PdfPage& page, int minPixels) {
  std::vector<Blob> blobs;
  std::vector<char> seen(page.gray.size(), 0);
  std::vector<int> stack;
  for (int start = 0; start < static_cast<int>(page.gray.size()); ++start) {
    if (seen[start] || page.gray[start] >= 128) continue;
    Blob b{page.width, page.height, -1, -1};
    int pixels = 0;
    stack.assign(1, start);
    seen[start] = 1;
    while (!stack.empty()) {
      const int at = stack.back();
      stack.pop_back();
      const int x = at % page.width, y = at / page.width;
      ++pixels;
      b.left = std::min(b.left, x);
      b.right = std::max(b.right, x);
      b.top = std::min(b.top, y);
      b.bottom = std::max(b.bottom, y);
      const int next[] = {x > 0 ? at - 1 : -1, x + 1 < page.width ? at + 1 : -1, y > 0 ? at - page.width : -1,
                          y + 1 < page.height ? at + page.width : -1};
      for (int n : next) {
        if (n >= 0 && !seen[n] && page.gray[n] < 128) {
          seen[n] = 1;
          stack.push_back(n);
        }
      }
    }
    if (pixels >= minPixels) blobs.push_back(b);
  }
  return blobs;
}

bool Inked(int, int) { return true; }
bool Blank(int, int) { return false; }

TEST_P(TallyOptions, TheWriteInListPrintsTheImagesCutOutOfItsField) {
  // The list reads the sheet's definition and the image files alone.
  if (server()) GTEST_SKIP() << "the write-in list reads no output database";
  // Three records' cut-outs of field 02 and a blank one; one of field 01.
  const std::string folder = g_output.folder;
  for (const char* record : {"0001", "0002", "0003"}) {
    WriteOneBitBmp(folder + "\\IMG_" + record + "_02.BMP", 300, 60, true, Inked);
  }
  WriteOneBitBmp(folder + "\\IMG_0004_02.BMP", 300, 60, true, Blank);
  WriteOneBitBmp(folder + "\\IMG_0001_01.BMP", 600, 300, true, Inked);

  ClickItem(Slot(menu_).window, "FREETEXT");
  settings_ = FindWindowA("Prn", nullptr);
  ASSERT_TRUE(IsWindowVisible(settings_)) << testing::PrintToString(Boxes());
  EXPECT_FALSE(IsWindowVisible(Slot(menu_).window)) << "the settings take the menu's place";
  const int slot = SlotOfWindow(settings_);
  ASSERT_GE(slot, 0);
  EXPECT_EQ(FieldText(slot, "IMGNO"), "01");
  EXPECT_EQ(FieldText(slot, "RCNT"), "2");
  EXPECT_EQ(FieldText(slot, "LHIG"), "60");
  // Field 02, typed over the image number.
  ClickOn(settings_, CentreOf(slot, "IMGNO"));
  SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
  TypeInFocus("02");
  PressKeyInFocus(VK_TAB);
  SavePictureOnRequest(settings_, "write_in_list_settings");

  const std::string why = PrintingUnavailable();
  if (!why.empty()) GTEST_SKIP() << why;
  const std::string job = Print();
  ClickItem(settings_, "P00");
  EXPECT_TRUE(IsWindowVisible(Slot(menu_).window)) << "the menu back after the settings";
  const std::vector<PdfPage> pages = WaitForPrintedPages(job, 100);
  ASSERT_EQ(pages.size(), 1u);
  // Each image at 60 % of its size in units of 0.2 mm: 36 by 7.2 mm, two
  // to a row.
  const double px = 100 / 25.4;
  std::vector<Blob> blobs = DarkBlobs(pages[0], 500);
  ASSERT_EQ(blobs.size(), 3u);
  std::sort(blobs.begin(), blobs.end(), [](const Blob& a, const Blob& b) {
    return a.top != b.top ? a.top < b.top : a.left < b.left;
  });
  for (const Blob& b : blobs) {
    EXPECT_NEAR((b.right - b.left + 1) / px, 36.0, 1.0);
    EXPECT_NEAR((b.bottom - b.top + 1) / px, 7.2, 1.0);
  }
  EXPECT_NEAR(blobs[0].top, blobs[1].top, 2) << "the first two in a row";
  EXPECT_GT(blobs[1].left, blobs[0].right);
  EXPECT_GT(blobs[2].top, blobs[0].bottom) << "the third below them";
  EXPECT_NEAR(blobs[2].left, blobs[0].left, 2);
}

// The tally table is a view of the output table: a column added to the
// output table later, answered, is tallied once the menu opens again.
TEST_P(TallyOptions, AColumnAddedToTheAnswersIsTallied) {
  ClickItem(Slot(menu_).window, "QUIT");
  ASSERT_LT(SlotOfCode("SPRN-MENU"), 0) << testing::PrintToString(Boxes());
  const int items = OpenItemTable();
  ASSERT_GE(items, 0);
  db_clear(items);
  SetColumnText(items, "質問コード", "004");
  SetColumnText(items, "項目名", "Q4");
  SetColumnText(items, "質問内容", "来ますか");
  SetColumnText(items, "選択肢", "はい,いいえ");
  SetColumnText(items, "カウントデータ", "12");
  ASSERT_EQ(db_add(items), 0);
  db_close(items);
  const int t = db_alloc_slot(g_output.folder.c_str(), g_output.database.c_str(), "KAITO", g_output.dbKind);
  ASSERT_GT(t, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(ExecSlotSql(t, "alter table KAITO add column Q4 varchar(4)", 0), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(ExecSlotSql(t, "update KAITO set Q4='1'", 0), 0) << testing::PrintToString(Boxes());
  db_disconnect(t);

  Command(kCmdTally);
  LogIn();
  menu_ = SlotOfCode("SPRN-MENU");
  ASSERT_GE(menu_, 0) << testing::PrintToString(Boxes());
  ASSERT_NO_FATAL_FAILURE(OpenSettings("SIMPLE"));
  const std::string why = PrintingUnavailable();
  if (!why.empty()) GTEST_SKIP() << why;
  const std::string job = Print();
  ClickItem(settings_, "P00");
  const PdfText printed = WaitForPrintedText(job);
  // Each question's choice 1 and row total at 100 %, いいえ at 0.
  EXPECT_EQ(PrintedTimes(printed, "100.0"), 4 * 2) << "the fourth question answered as the others";
  EXPECT_EQ(PrintedTimes(printed, "0.0"), 4);
  EXPECT_THAT(Boxes(), testing::IsEmpty());
}

// The same survey with its answers in a table of the older layout.
class NumberedAnswerColumns : public TallyOptions {
 protected:
  NumberedAnswerColumns() { numbered_ = true; }
};

TEST_P(NumberedAnswerColumns, TallyAsColumnsNamedByTheirItems) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings("SIMPLE"));
  const std::string why = PrintingUnavailable();
  if (!why.empty()) GTEST_SKIP() << why;
  const std::string job = Print();
  ClickItem(settings_, "P00");
  const PdfText printed = WaitForPrintedText(job);
  // Each question's one answer is its first choice: choice 1 and the row
  // total at 100 %, いいえ at 0.
  EXPECT_EQ(PrintedTimes(printed, "100.0"), 3 * 2);
  EXPECT_EQ(PrintedTimes(printed, "0.0"), 3);
}

INSTANTIATE_TEST_SUITE_P(Databases, NumberedAnswerColumns, testing::Values(kDbKindFile, kDbKindServer), KindName);

INSTANTIATE_TEST_SUITE_P(Databases, TallyOptions, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
