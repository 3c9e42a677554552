// The report cursor: line advances (which write the CSV line in a text
// file), extra space, column positions and margins, and the end of a
// preview page.
#include <algorithm>

#include "foundation/files.h"
#include "tally/report_internal.h"

namespace {

// Pieces of the CSV line handed to the CR LF writer at a time; well inside
// its buffer, so no line of any length is cut.
constexpr size_t kCsvWriteChunk = 1024;

}  // namespace

void WriteReportCsvLine() {
  ReportOutputContext& r = g_reportOutput;
  if (r.csvLine.empty() || r.textFile == INVALID_HANDLE_VALUE) {
    r.csvLine.clear();
    return;
  }
  // The comma after the last cell becomes the line end.
  if (r.csvLine.back() == ',') r.csvLine.pop_back();
  r.csvLine += '\n';
  for (size_t at = 0; at < r.csvLine.size(); at += kCsvWriteChunk) {
    const size_t length = std::min(kCsvWriteChunk, r.csvLine.size() - at);
    WriteTextCrLf(r.textFile, "%.*s", static_cast<int>(length),
                  r.csvLine.c_str() + at);
  }
  r.csvLine.clear();
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
