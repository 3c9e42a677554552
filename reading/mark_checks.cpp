// Whether a page may be read with the marks it shows, and its compensation.
// A mark the compensation mode uses, registered for the sheet and missing on
// the page stops the sheet in operation; in design and test reading the page
// is read without compensation after a message.
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"

namespace {

constexpr char kCaption[] = "";

const char* MissingMarkLine(MissingMark missing) {
  switch (missing) {
    case MissingMark::kTopLeft:
      return "読み取ったイメージを補正するための左上のマーク“■”を認識できません。\n";
    case MissingMark::kTopRight:
      return "読み取ったイメージを補正するための右上のマーク“■”を認識できません。\n";
    case MissingMark::kBottomLeft:
      return "読み取ったイメージを補正するための左下のマーク“■”を認識できません。\n";
    default:
      return "";
  }
}

const char* CornerHeading(MissingMark missing) {
  switch (missing) {
    case MissingMark::kTopLeft: return "シート左上の%s";
    case MissingMark::kTopRight: return "シート右上の%s";
    default: return "シート左下の%s";
  }
}

void WriteErrorLog(const char* format, const char* text) {
  if (g_resultLogs.err != INVALID_HANDLE_VALUE) WriteTextCrLf(g_resultLogs.err, format, text);
}

MissingMark MissingMarkOfPage() {
  return FindMissingMark(g_sheetSettings.compensationMode, g_cornerMarks, CurrentReferences());
}

// A sheet the run does not read: counted, and its page and the cause in the
// error log. A refused second side takes its first side with it.
void RefuseSheet(const char* cause) {
  ReadingRun& run = g_readingRun;
  ++run.refusedSheets;
  run.refusedPages += run.scanType == kScanPaired && run.currentSide == 2 ? 2 : 1;
  if (g_resultLogs.err == INVALID_HANDLE_VALUE) return;
  if (run.pageNumber > 0 && run.scanType == kScanPaired) {
    WriteTextCrLf(g_resultLogs.err, "〔%d・%dページ目〕%s", run.pageNumber - 1, run.pageNumber, cause);
  } else if (run.pageNumber > 0) {
    WriteTextCrLf(g_resultLogs.err, "〔%dページ目〕%s", run.pageNumber, cause);
  } else {
    WriteTextCrLf(g_resultLogs.err, "〔%s〕%s", run.pageFile.c_str(), cause);
  }
}

}  // namespace

int CheckCornerMarksFound() {
  const MissingMark missing = MissingMarkOfPage();
  if (missing == MissingMark::kNone) return 0;
  WriteErrorLog("%s", MissingMarkLine(missing));
  return -1;
}

int ReportCornerMarks(int show) {
  const MissingMark missing = MissingMarkOfPage();
  if (missing == MissingMark::kNone) return 0;
  const bool operation = g_currentSheet.projectMode == kOperationMode;
  if (show == 1) {
    const char* advice =
        "\n\nシートが傾いて給紙されていないか、または、補正マークが「まだら模様」になっていないか"
        "確認してください。\nシート上の補正マークがくっきり写っていない場合は、「プリンタ」の問題"
        "が考えられます。\nシートの印刷に問題がない場合は、「スキャナ」の設定または精度に問題が"
        "ある可能性があります。";
    const std::string text =
        std::string(operation ? "“■マーク”を認識できませんので、処理を中断します。"
                              : "“■マーク”を認識できませんので、スキャニングしたイメージの"
                                "位置補正は行いません。") +
        advice;
    ShowWorkbenchMessage(kCaption, CornerHeading(missing), text.c_str());
  }
  return operation ? -1 : 0;
}

int ComputeImageCompensation() {
  const int mode = g_sheetSettings.compensationMode;
  if (mode == 0) return 0;
  ReadingRun& run = g_readingRun;
  bool marksFailed = false;
  if (run.subMode == kMarkLogRun) {
    if (CheckCornerMarksFound() != 0) {
      WriteErrorLog("%s\n", run.message.c_str());
      return -1;
    }
  } else if (run.subMode == kAlignOnlyRun) {
    ShowRunMessage(run.message.c_str());
    if (CheckCornerMarksFound() != 0) {
      WriteErrorLog("%s\n", run.message.c_str());
      marksFailed = true;
    }
  }
  if (run.subMode != kMarkLogRun && ReportCornerMarks(0) != 0) {
    RefuseSheet(MissingMarkLine(MissingMarkOfPage()));
    return -1;
  }
  if (marksFailed) return 1;
  CurrentCompensation() =
      ComputeCompensationValues(mode, g_cornerMarks, CurrentReferences(), CurrentCompensation());
  return 0;
}
