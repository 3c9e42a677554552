// The tally's output on the printer and the preview: every graph kind
// prints the generated survey's questions, and the preview shows the page
// the page range starts at, stops at its page break and tells when no page
// break is set.
#include <gtest/gtest.h>

#include <windows.h>

#include "designer/survey.h"
#include "tally/tally.h"
#include "tests/support/hook_recorder.h"
#include "tests/support/memory_canvas.h"
#include "tests/support/required_service.h"
#include "tests/tally/print_capture.h"
#include "tests/tally/survey_fixture.h"

namespace {

using Texts = std::vector<std::string>;

class TallyOutput : public SurveyDbTest {
 protected:
  void SetUp() override {
    SurveyDbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    WriteSurvey(GenerateRecords(60, 3));
    ASSERT_EQ(LoadSurveyItems(), 0);
    ASSERT_EQ(ReloadTallyQuestions(), 1);
    ForgetBoxes();
  }

  // The tally's settings of a print type, as its screen loads them.
  void LoadSettings(int printType) {
    g_printSettings = PrintSettings();
    g_printSettings.printType = printType;
    ASSERT_EQ(LoadPrintTableSettings(TallyPrintCode(printType, 1).c_str()), 0);
    ASSERT_EQ(LoadPrintFlags(), 0);
    g_printSettings.printItems = "000011";
  }

  // Questions the run counted: those whose total in the run table is not 0.
  static Texts Counted() {
    Texts counted;
    for (int q = 1; q <= g_survey.questionCount; ++q) {
      if (g_tallyCounts[kRunCounts].counts[q][0] > 0) counted.push_back(g_survey.items[q].itemName);
    }
    return counted;
  }
};

TEST_P(TallyOutput, EveryGraphKindPrints) {
  const std::string why = PrintingUnavailable();
  if (!why.empty()) SKIP_WITHOUT_SERVICE(why);
  ModalDialogRecorder dialogs(ChooseDefaultPrinter);
  struct Case {
    int kind, printType;
  };
  // The last case: pies with no number of graphs per row, taken as one.
  const Case cases[] = {{4, 26},  {5, 26},  {6, 27},  {7, 27},  {8, 28},
                        {9, 28},  {10, 29}, {11, 29}, {12, 29}, {8, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    LoadSettings(c.printType == 0 ? kPrintTypePieGraph : c.printType);
    if (c.printType == 0) g_printSettings.columns = 0;
    const std::string name = UniqueDocumentName(("kind" + std::to_string(c.kind)).c_str());
    g_reportOutput.documentName = name;
    EXPECT_EQ(RunTally(kReportPrinter, c.kind), 0);
    const std::vector<PdfPage> pages = WaitForPrintedPages(name, 30);
    ASSERT_GE(pages.size(), 1u);
    int ink = 0;
    for (unsigned char gray : pages[0].gray) ink += gray < 128;
    EXPECT_GT(ink, 200);  // a blank page has none
  }
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(TallyOutput, ThePreviewShowsOnePageOfTheRange) {
  LoadSettings(kPrintTypeTally);
  MemoryCanvas canvas(600, 850);
  SetReportPreviewDC(canvas.dc(), canvas.width(), canvas.height(), 1.75);
  // No page break: the note says to set one; the last question gets one.
  g_tally.startPage = 1;
  ASSERT_EQ(RunTally(kReportPreview, kTallySimple), 0);
  EXPECT_EQ(g_tally.pageNote[0], "改頁する箇所を設定し");
  EXPECT_EQ(g_tally.pageNote[1], "てください。");
  EXPECT_GT(canvas.InkIn(0, 0, canvas.width(), canvas.height()), 2000);

  // Pages end after SAT and after AGE: page 2 holds USE and AGE.
  for (int q = 1; q <= g_survey.questionCount; ++q) {
    const std::string& name = g_survey.items[q].itemName;
    g_survey.items[q].pageBreak[kTallySimple] = name == "SAT" || name == "AGE";
  }
  CountSurveyPages(kTallySimple);
  g_tally.startPage = 2;
  canvas.Clear(RGB(255, 255, 255));
  ASSERT_EQ(RunTally(kReportPreview, kTallySimple), 0);
  EXPECT_EQ(Counted(), (Texts{"USE", "AGE"}));
  EXPECT_EQ(g_tally.pageNote[0], "");
  EXPECT_GT(canvas.InkIn(0, 0, canvas.width(), canvas.height()), 1000);
  g_tally.startPage = 1;
  EXPECT_EQ(Boxes(), Texts{});
}

// A table wider than the page goes on in blocks of its choices, one under
// the other: nothing is drawn past the page's right edge.
TEST_P(TallyOutput, AWideTableStaysOnThePage) {
  LoadSettings(kPrintTypeTally);
  SurveyItem& sat = g_survey.items[4];
  ASSERT_EQ(sat.itemName, "SAT");
  std::string codes, labels;
  for (int k = 1; k <= 24; ++k) {
    codes += (k > 1 ? "," : "") + std::to_string(k);
    labels += (k > 1 ? ",選択" : "選択") + std::to_string(k);
  }
  sat.codes = codes;
  sat.choices = labels;
  sat.commaList = true;
  sat.answerCount = 24;
  constexpr double kZoom = 1.75;
  MemoryCanvas canvas(1600, 850);
  SetReportPreviewDC(canvas.dc(), canvas.width(), canvas.height(), kZoom);
  g_tally.startPage = 1;
  ASSERT_EQ(RunTally(kReportPreview, kTallySimple), 0);
  const int pageRight = static_cast<int>(g_reportOutput.pageWidth / kZoom);
  ASSERT_GT(pageRight, 200);
  ASSERT_LT(pageRight, canvas.width());
  EXPECT_GT(canvas.InkIn(0, 0, pageRight, canvas.height()), 2000);
  EXPECT_EQ(canvas.InkIn(pageRight, 0, canvas.width(), canvas.height()), 0);
  EXPECT_EQ(Boxes(), Texts{});
}

INSTANTIATE_TEST_SUITE_P(Drivers, TallyOutput, testing::Values(kDbKindFile), KindName);

}  // namespace
