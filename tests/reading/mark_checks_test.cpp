// Missing registration marks: what stops a sheet, what only tells, and what
// the error log says; the compensation of a page that may be read.
#include <gtest/gtest.h>

#include <string>

#include "designer/sheet_settings.h"
#include "foundation/files.h"
#include "reading/reading.h"
#include "tests/platform/image_fixtures.h"
#include "tests/support/hook_recorder.h"

namespace {

class MarkChecks : public testing::Test {
 protected:
  void SetUp() override {
    log_ = FreshFolder("markchecks") + "\\ERR.LOG";
    Reset();
  }
  void TearDown() override { CloseLog(); }
  // A fresh error log and the settings and marks of a 300 dpi page read
  // with three marks.
  void Reset() {
    CloseLog();
    DeleteFileA(log_.c_str());
    g_resultLogs.err = OpenFileForAppend(log_.c_str());
    g_sheetSettings = SheetSettings();
    g_sheetSettings.compensationMode = 3;
    g_readingRun = ReadingRun();
    g_readingRun.subMode = kStoredPageRun;
    ReferenceMarks& r = g_readingRun.references[0];
    r.x1 = 118, r.y1 = 165, r.x2 = 2361, r.y2 = 165, r.x3 = 118, r.y3 = 3388;
    g_cornerMarks = CornerMarkPositions();
    g_cornerMarks.topLeft = {128, 160};
    g_cornerMarks.topRight = {2376, 160};
    g_cornerMarks.bottomLeft = {128, 3373};
  }
  void CloseLog() {
    if (g_resultLogs.err != INVALID_HANDLE_VALUE) CloseHandle(g_resultLogs.err);
    g_resultLogs.err = INVALID_HANDLE_VALUE;
  }
  std::string Log() const { return ReadBytes(log_); }
  std::string log_;
};

const char kAdvice[] =
    "\n\nシートが傾いて給紙されていないか、または、補正マークが「まだら模様」になっていないか"
    "確認してください。\nシート上の補正マークがくっきり写っていない場合は、「プリンタ」の問題"
    "が考えられます。\nシートの印刷に問題がない場合は、「スキャナ」の設定または精度に問題が"
    "ある可能性があります。";

TEST_F(MarkChecks, AMissingMarkStopsOperationAndOnlyTellsInDesign) {
  g_cornerMarks.topRight = MarkPoint();
  struct Case {
    int projectMode;
    int show;
    int result;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {kDesignMode, 1, 0,
       {std::string("シート右上の“■マーク”を認識できませんので、スキャニングしたイメージの"
                    "位置補正は行いません。") + kAdvice}},
      {kDesignMode, 0, 0, {}},
      {kOperationMode, 1, -1,
       {std::string("シート右上の“■マーク”を認識できませんので、処理を中断します。") + kAdvice}},
      {kOperationMode, 0, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.projectMode << " show " << c.show);
    g_currentSheet.projectMode = c.projectMode;
    MessageBoxRecorder boxes;
    EXPECT_EQ(ReportCornerMarks(c.show), c.result);
    EXPECT_EQ(boxes.texts(), c.boxes);
  }
  EXPECT_EQ(CheckCornerMarksFound(), -1);
  CloseLog();
  EXPECT_EQ(Log(), "読み取ったイメージを補正するための右上のマーク“■”を認識できません。\r\n");
}

TEST_F(MarkChecks, CompensationBySubMode) {
  struct Case {
    const char* what;
    int projectMode, subMode;
    bool topLeftFound;
    int result;
    const char* log;
  };
  const Case cases[] = {
      {"operation, marks found", kOperationMode, kStoredPageRun, true, 0, ""},
      {"operation, top-left missing: the page refused", kOperationMode, kStoredPageRun, false, -1,
       "〔SCAN_300.BMP〕読み取ったイメージを補正するための左上のマーク“■”を認識できません。\r\n"},
      {"design, top-left missing", kDesignMode, kStoredPageRun, false, 0, ""},
      {"mark log", kOperationMode, kMarkLogRun, false, -1,
       "読み取ったイメージを補正するための左上のマーク“■”を認識できません。\r\nsheet 7\r\n"},
      {"align only", kDesignMode, kAlignOnlyRun, false, 1,
       "読み取ったイメージを補正するための左上のマーク“■”を認識できません。\r\nsheet 7\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Reset();
    g_currentSheet.projectMode = c.projectMode;
    g_readingRun.subMode = c.subMode;
    g_readingRun.message = "sheet 7";
    g_readingRun.pageFile = "SCAN_300.BMP";
    if (!c.topLeftFound) g_cornerMarks.topLeft = MarkPoint();
    MessageBoxRecorder boxes;
    EXPECT_EQ(ComputeImageCompensation(), c.result);
    EXPECT_TRUE(boxes.texts().empty());
    if (c.result == 0) {
      const ImageCompensation& got = CurrentCompensation();
      EXPECT_EQ(got.shiftX, c.topLeftFound ? 10 : 0);
      EXPECT_EQ(got.shiftY, c.topLeftFound ? -5 : 0);
      EXPECT_DOUBLE_EQ(got.widthRatio, c.topLeftFound ? 2248.0 / 2243 : 1.0);
    }
    CloseLog();
    EXPECT_EQ(Log(), c.log);
  }
}

}  // namespace
