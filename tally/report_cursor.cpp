// The report cursor: line advances (which write the CSV line in a text
// file), extra space, column positions and margins, and the end of a
// preview page.
#include "foundation/files.h"
#include "tally/report_internal.h"

void WriteReportCsvLine() {
  ReportOutputContext& r = g_reportOutput;
  r.csvCells = 0;
  if (r.csvLine.empty() || r.textFile == INVALID_HANDLE_VALUE) {
    r.csvLine.clear();
    return;
  }
  // Written as it is: a line end inside a cell is part of the cell, only the
  // line's own end is CR LF.
  FinishCsvLine(r.csvLine);
  DWORD written = 0;
  if (!WriteFile(r.textFile, r.csvLine.data(), static_cast<DWORD>(r.csvLine.size()), &written,
                 nullptr) ||
      written != r.csvLine.size()) {
    r.textFailed = true;
  }
  r.csvLine.clear();
}

void WriteReportText(const char* text) {
  ReportOutputContext& r = g_reportOutput;
  if (r.textFile != INVALID_HANDLE_VALUE && WriteTextCrLf(r.textFile, "%s", text) < 0) {
    r.textFailed = true;
  }
}

int AdvanceReportLine(int n) {
  ReportOutputContext& r = g_reportOutput;
  r.lineNumber += n;
  r.columnOffset = r.columnOrigin;
  r.extraColumn = 0;
  if (r.mode == kReportTextFile) WriteReportCsvLine();
  return r.lineNumber;
}

void AddReportSpace(int n) {
  g_reportOutput.extraVertical += ScaleReportSpace(g_reportOutput, n);
}

void AddReportSpaceScaled(int n) {
  g_reportOutput.extraVertical += n * ReportScale();
}

void AdvanceReportColumn(int n) {
  g_reportOutput.extraColumn += ScaleReportColumn(g_reportOutput, n, false);
}

void AdvanceReportColumnPlain(int n) {
  g_reportOutput.extraColumn += ScaleReportColumn(g_reportOutput, n, true);
}

int SetReportFontWidth(int n, int line) {
  ReportOutputContext& r = g_reportOutput;
  const int width = n * ReportDigitWidth();
  r.columnOrigin = width;
  r.columnOffset = width;
  r.lineNumber = line;
  return width;
}

void SetReportColumnStart(int n, int line) {
  SetReportFontWidth(n, line);
  g_reportOutput.extraVertical = 0;
  g_reportOutput.extraColumn = 0;
}

int GetReportPosition(int* columnOffset, int* line) {
  *columnOffset = g_reportOutput.columnOffset;
  *line = g_reportOutput.lineNumber;
  return ReportDigitWidth();
}

void SetReportPosition(int columnOffset, int line) {
  g_reportOutput.columnOffset = columnOffset;
  g_reportOutput.lineNumber = line;
  g_reportOutput.extraColumn = 0;
}

void SetReportLeftMarginSteps(int leftMargin) {
  g_reportOutput.leftMargin = leftMargin;
}

void SetReportTopMarginSteps(int topMargin) {
  g_reportOutput.topMargin = topMargin;
}

void SetReportMargins(int leftMargin, int topMargin) {
  ReportOutputContext& r = g_reportOutput;
  SetReportLeftMarginSteps(leftMargin);
  SetReportTopMarginSteps(topMargin);
  r.columnOffset = 0;
  r.lineNumber = 0;
  r.extraVertical = 0;
  r.extraColumn = 0;
}

int ReportPastPageEnd() { return IsPastPreviewPageEnd(g_reportOutput); }

int ReportRowFits() { return ReportPastPageEnd() ? 0 : 1; }
