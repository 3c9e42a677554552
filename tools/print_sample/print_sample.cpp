// Prints a sample report on the default printer, without dialogs: a title,
// a tally table in framed cells with counts and percentages, a multi-line
// box, vertical text with joined kana, numbered and postcode boxes and the
// page number. The document name (argument 1) lets print_sample.sh find the
// PDF of the job. Exit code 0 when the job was printed.
#include <windows.h>

#include "tally/tally.h"

namespace {

struct TallyRow {
  const char* question;
  int counts[4];
};

const char* const kChoices[] = {"はい", "いいえ", "ｶﾞｲﾄﾞ", "無回答"};
const TallyRow kRows[] = {
    {"問１ 満足度", {42, 17, 5, 3}},
    {"問２ 再来店の意向", {38, 20, 6, 3}},
    {"問３ \"推薦\", 友人へ", {25, 30, 9, 3}},
};

void PrintTallyTable() {
  SetReportCellFrame(1);
  ReportPrintCellWidth(24, "%s", "質　問");
  for (const char* choice : kChoices) ReportPrintCellWidth(8, "%s", choice);
  ReportPrintCellWidth(8, "%s", "合　計");
  AdvanceReportLine(1);
  for (const TallyRow& row : kRows) {
    int total = 0;
    for (int count : row.counts) total += count;
    SetReportRowSpan(2);
    SetReportCellFrame(3);
    ReportPrintCellWidth(24, "%s", row.question);
    SetReportCellFrame(1);
    for (int count : row.counts) ReportPrintCellWidth(8, "%d", count);
    ReportPrintCellWidth(8, "%d", total);
    AdvanceReportLine(1);
    SetReportCellFrame(4);
    ReportPrintCellWidth(24, "%s", "");
    SetReportCellFrame(1);
    for (int count : row.counts) ReportPrintCellWidth(8, "%5.1f％", 100.0 * count / total);
    ReportPrintCellWidth(8, "%5.1f％", 100.0);
    AdvanceReportLine(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Twips on A4: 11/1440 inch a report unit.
  BeginReportOutput(nullptr, 2, 1, 10, 20, 20);
  g_reportOutput.pageWidth = 1082;
  g_reportOutput.pageHeight = 1530;
  g_reportOutput.lineSpacing = 6;
  if (argc > 1) g_reportOutput.documentName = argv[1];
  if (!StartPrintJobDefault(kReportPrinter, "C")) return 1;

  PrintCenteredTitle("集計表　サンプル");
  SetReportColumnStart(0, 3);
  PrintTallyTable();
  AdvanceReportLine(1);
  SetReportCellFrame(2);
  ReportPrintCell("%s", "備考：");
  SetReportCellFrame(1);
  ReportPrintCellBox(30, 90, "%s",
                     "自由記述欄の長い文章は、枠の幅で折り返されます。"
                     "全角と半角ｶﾅ（ｱｲｳ）が混ざっても文字は割れません。");
  DrawVerticalText(190, 60, 4, 8, "ｱﾝｹｰﾄ集計", 1, 0);
  DrawVerticalText(200, 60, 4, 8, "ﾃﾞｰﾀ", 1, 1);
  DrawNumberedBox(20, 120, 30, 10, 2, 0, 7);
  DrawDashedNumberedBox(60, 120, 30, 10, 1, 2, 0);
  DrawPostcodeBoxes(20, 140, 0, "", 1, 1);
  DrawPostcodeBoxes(20, 140, 0, "123-4567", 1, 2);
  PrintPageNumber(1, 1, 0);
  NextPrintPage();
  const int aborted = AbortPrintJob();
  EndPrintJob();
  return aborted == 0 ? 0 : 1;
}
