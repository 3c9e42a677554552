// Text primitives and formatted cells. A report is written cell by cell
// along lines like a typewriter: each cell prints at the cursor and moves it
// right. Cells are measured in digit widths (a cell of n characters is as
// wide as n "0"), not by their glyphs. In a text file (mode 2) the cells
// become the fields of the CSV line.
#include <cstdio>
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/csv_token.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "tally/report_internal.h"

namespace {

// Pieces of at most `bytesPerLine` bytes, never splitting a double-byte
// character; at most `maxPieces` of them (all with -1).
std::vector<std::string> CutReportText(const std::string& text,
                                       int bytesPerLine, int maxPieces) {
  std::vector<std::string> pieces;
  if (bytesPerLine < 1) bytesPerLine = 1;
  std::vector<char> piece(bytesPerLine + 3);
  for (int start = 0; start < static_cast<int>(text.size());) {
    if (maxPieces >= 0 && static_cast<int>(pieces.size()) >= maxPieces) break;
    start = CountMixedWidth(start, bytesPerLine, piece.data(), text.c_str());
    pieces.emplace_back(piece.data());
  }
  return pieces;
}

void DrawTextAt(HDC dc, int x, int y, const std::string& text) {
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, x, y * g_reportOutput.ySign, text.c_str(),
           static_cast<int>(text.size()));
}

// The width of a cell of `n` digits, with the printer's extra width.
int CellWidthOfDigits(int n) {
  int width = n * ReportDigitWidth();
  if (ReportOnPrinter()) width += g_reportOutput.extraCellWidth;
  return width;
}

// Frame of a cell of width `w` whose closed frame reaches `bottom`, in the
// current frame style; then the row span is back to 1.
void DrawCellFrame(const ReportCellGeometry& g, int w, int bottom) {
  ReportOutputContext& r = g_reportOutput;
  if (r.frameStyle == 0 || !r.framesOn) return;
  const int rule = g.textTop + r.textHeight;
  switch (r.frameStyle) {
    case 1: ReportLine(g.x, g.y, g.x + w, bottom); break;
    case 2: ReportLine(g.x, rule, g.x + w, rule); break;
    case 3: ReportOpenBox(g.x, g.y, g.x + w, bottom, 1); break;
    case 4: ReportOpenBox(g.x, g.y, g.x + w, bottom, 2); break;
    default: break;
  }
  r.rowSpan = 1;
}

// Bottom of a closed frame: the text's own height when it is taller than
// the line, else the row span.
int SpanBottom(const ReportCellGeometry& g) {
  const ReportOutputContext& r = g_reportOutput;
  return r.textHeight > g.lineHeight ? g.y + r.textHeight
                                     : g.y + g.lineHeight * r.rowSpan;
}

void MoveCursorPast(int width) {
  g_reportOutput.columnOffset += width;
  if (ReportOnPrinter()) g_reportOutput.extraCellWidth = 0;
}

// A cell whose text is centred in `n` digit widths; `rows` > 0 gives its
// frame that many lines, else the span rule of ReportPrintCell.
void PrintCentredCell(int n, int rows, const std::string& text) {
  ReportOutputContext& r = g_reportOutput;
  const ReportCellGeometry g = ComputeCellGeometry(r);
  r.lineHeight = g.lineHeight;
  const int w = CellWidthOfDigits(n);
  const int textWidth = ReportTextWidth(text.c_str());
  if (HDC dc = ReportDrawDC()) DrawTextAt(dc, g.x + (w - textWidth) / 2, g.textTop, text);
  DrawCellFrame(g, w, rows > 0 ? g.y + rows * g.lineHeight : SpanBottom(g));
  MoveCursorPast(w);
}

// One more cell of the file's line, up to the cells a CSV reader takes in
// one line; the first cell past them in a job is said, never dropped
// silently.
void AppendReportCsvCell(const std::string& text, bool quote) {
  ReportOutputContext& r = g_reportOutput;
  if (r.csvCells >= kCsvFieldLimit) {
    if (!r.csvCellsDropped) {
      ShowErrorMessage("", "ﾃｷｽﾄﾌｧｲﾙの1行に書けるのは %d 項目までです。%d 項目目からは書き込まれません。",
                       kCsvFieldLimit, kCsvFieldLimit + 1);
    }
    r.csvCellsDropped = true;
    return;
  }
  AppendCsvField(r.csvLine, text.c_str(), quote);
  ++r.csvCells;
}

// Cells without a drawn form in a file still become CSV fields there, so a
// report written to a file keeps all its columns.
bool AppendToCsvLine(const char* format, const std::string& text) {
  if (g_reportOutput.mode != kReportTextFile) return false;
  AppendReportCsvCell(text, FormatHasStringField(format) == 1);
  return true;
}

}  // namespace

std::string FormatReportCellV(const char* format, va_list args) {
  char text[kReportCellTextSize];
  FormatTextBoundedV(text, sizeof text, format, args);
  return text;
}

int ReportTextWidth(const char* text) {
  HDC dc = ReportMeasureDC();
  if (!dc) return 0;
  SIZE size{};
  GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
  g_reportOutput.textHeight = size.cy;
  return size.cx;
}

int ReportTextWidthUnits(const char* text) {
  return ReportTextWidth(text) / ReportScale();
}

int ReportDigitWidth() { return ReportTextWidth("0"); }

int ReportTextOut(int x, int y, const char* text) {
  const int margin = g_reportOutput.innerMargin;
  const int width =
      static_cast<int>(std::strlen(text)) * ReportDigitWidth() + 2 * margin;
  if (HDC dc = ReportDrawDC()) DrawTextAt(dc, x + margin, y, text);
  return width;
}

void ReportTextOutWrapped(int oneLine, int bytesPerLine, int lineStep, int x,
                          int y, const char* text) {
  if (oneLine == 1) {
    ReportTextOut(x, y, text);
    return;
  }
  HDC dc = ReportDrawDC();
  if (!dc) return;
  if (static_cast<int>(std::strlen(text)) <= bytesPerLine) {
    DrawTextAt(dc, x, y, text);
    return;
  }
  int line = 0;
  for (const std::string& piece : CutReportText(text, bytesPerLine, -1)) {
    DrawTextAt(dc, x, y + line++ * lineStep, piece);
  }
}

void ReportTextOutAt(int oneLine, int bytesPerLine, int lineStep, int x,
                     int y, const char* text) {
  if (oneLine == 1) {
    ReportTextOut(x, y, text);
    return;
  }
  int line = 0;
  for (const std::string& piece : CutReportText(text, bytesPerLine, -1)) {
    ReportTextOut(x, y + line++ * lineStep, piece.c_str());
  }
}

void ReportSetFontSize(int face, int size) {
  if (g_reportOutput.mode == kReportTextFile) return;
  SelectPrinterFont(face, 2 * size * ReportScale());
}

void ReportPrintCell(const char* format, ...) {
  ReportOutputContext& r = g_reportOutput;
  va_list args;
  va_start(args, format);
  const std::string text = FormatReportCellV(format, args);
  va_end(args);
  const ReportCellGeometry g = ComputeCellGeometry(r);
  r.lineHeight = g.lineHeight;
  if (AppendToCsvLine(format, text) || !ReportMeasureDC()) return;
  int w = ReportTextOut(g.x, g.textTop, text.c_str());
  if (ReportOnPrinter()) w += r.extraCellWidth;
  r.lastCellTop = g.y / g.scale;
  r.lastCellRight = (g.x + w) / g.scale;
  DrawCellFrame(g, w, SpanBottom(g));
  r.lastCellTextBottom = (g.textTop + r.textHeight) / g.scale;
  MoveCursorPast(w);
}

void ReportPrintCellWidth(int n, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatReportCellV(format, args);
  va_end(args);
  if (AppendToCsvLine(format, text) || !ReportMeasureDC()) return;
  PrintCentredCell(n, 0, text);
}

void ReportPrintCellAt(int n, int rows, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatReportCellV(format, args);
  va_end(args);
  if (AppendToCsvLine(format, text) || !ReportMeasureDC()) return;
  PrintCentredCell(n, rows < 1 ? 1 : rows, text);
}

int ReportPrintCellBox(int bytesPerLine, int capacity, const char* format,
                       ...) {
  ReportOutputContext& r = g_reportOutput;
  va_list args;
  va_start(args, format);
  const std::string text = FormatReportCellV(format, args);
  va_end(args);
  if (bytesPerLine < 1) bytesPerLine = 1;
  const int lines = capacity > bytesPerLine
                        ? (capacity + bytesPerLine - 1) / bytesPerLine
                        : 1;
  if (AppendToCsvLine(format, text) || !ReportMeasureDC()) return lines;
  const ReportCellGeometry g = ComputeCellGeometry(r);
  r.lineHeight = g.lineHeight;
  const int w = CellWidthOfDigits(bytesPerLine + 2) + 2 * r.innerMargin;
  if (static_cast<int>(text.size()) <= bytesPerLine) {
    const int textWidth = ReportTextWidth(text.c_str());
    if (HDC dc = ReportDrawDC()) DrawTextAt(dc, g.x + (w - textWidth) / 2, g.textTop, text);
  } else {
    const int step = ReportTextWidth("□") + r.lineFeedExtra;
    int line = 0;
    // A text longer than the box is cut at the box's last line.
    for (const std::string& piece : CutReportText(text, bytesPerLine, lines)) {
      ReportTextOut(g.x, g.textTop + line++ * step, (" " + piece + " ").c_str());
    }
  }
  if (r.frameStyle == 1 && r.framesOn) {
    ReportLine(g.x, g.y, g.x + w, g.y + g.lineHeight * lines);
    r.rowSpan = 1;
  }
  MoveCursorPast(w);
  return lines;
}

void ReportPrintWrappedList(int lines, int bytesPerLine, const char* format,
                            ...) {
  ReportOutputContext& r = g_reportOutput;
  va_list args;
  va_start(args, format);
  const std::string text = FormatReportCellV(format, args);
  va_end(args);
  if (AppendToCsvLine(format, text) || !ReportMeasureDC()) return;
  const ReportCellGeometry g = ComputeCellGeometry(r);
  r.lineHeight = g.lineHeight;
  const int w = CellWidthOfDigits(bytesPerLine + 2) + 2 * r.innerMargin;
  int line = 0;
  for (const std::string& piece : CutReportText(text, bytesPerLine, lines)) {
    ReportTextOut(g.x, g.textTop + line++ * g.lineHeight,
                  (" " + piece + " ").c_str());
  }
  if (r.framesOn && r.frameStyle == 1) {
    ReportLine(g.x, g.y, g.x + w, g.y + lines * g.lineHeight);
  } else if (r.framesOn && r.frameStyle == 2) {
    const int rule = g.y + r.textHeight + 4;
    ReportLine(g.x, rule, g.x + w, rule);
  }
  if (r.framesOn && r.frameStyle != 0) r.rowSpan = 1;
  MoveCursorPast(w);
}

void ReportPrintLines(int lines, int bytesPerLine, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = FormatReportCellV(format, args);
  va_end(args);
  if (!ReportMeasureDC()) return;
  const ReportCellGeometry g = ComputePlainCellGeometry(g_reportOutput);
  int line = 0;
  for (const std::string& piece : CutReportText(text, bytesPerLine, lines)) {
    ReportTextOut(g.x, g.textTop + line++ * g.lineHeight, piece.c_str());
  }
}

void ReportCsvCell(int quoteMode, const char* format, ...) {
  if (g_reportOutput.mode != kReportTextFile) return;
  va_list args;
  va_start(args, format);
  const std::string text = FormatReportCellV(format, args);
  va_end(args);
  AppendReportCsvCell(text, quoteMode == 1 && FormatHasStringField(format) == 1);
}

int GetLastCellRight() { return g_reportOutput.lastCellRight; }
int GetLastCellTop() { return g_reportOutput.lastCellTop; }
int GetLastCellBottom() { return g_reportOutput.lastCellTextBottom; }
int GetReportLeftEdge() { return g_reportOutput.leftMargin * 5; }
void SetReportCellFrame(int style) { g_reportOutput.frameStyle = style; }
void SetReportFrameOn(int on) { g_reportOutput.framesOn = on; }
void SetReportInnerMargin(int margin) { g_reportOutput.innerMargin = margin; }
void SetReportRowSpan(int rows) { g_reportOutput.rowSpan = rows; }
void SetReportExtraWidth(int width) { g_reportOutput.extraCellWidth = width; }
void SetReportLinePitch(int pitch) { g_reportOutput.linePitch = pitch; }

void PrintCenteredTitle(const char* text) {
  ReportOutputContext& r = g_reportOutput;
  if (!ReportMeasureDC()) return;
  const int s = ReportScale();
  SelectPrinterFont(0, 26 * s);
  int x = (r.pageWidth - ReportTextWidth(text) / s) / 2;
  int y = ReportOnPrinter() ? 15 : 40;
  if (ReportOnPrinter()) {
    x = (x - 25) * s;
    y *= s;
  }
  if (HDC dc = ReportDrawDC()) DrawTextAt(dc, x, y, text);
  SelectPrinterFont(0, 2 * r.fontSize * s);
}

void PrintPageNumber(int number, int flag, int position) {
  ReportOutputContext& r = g_reportOutput;
  if (flag != 1 || !ReportMeasureDC()) return;
  const int s = ReportScale();
  ReportSetFontSize(0, 10);
  char text[16];
  std::snprintf(text, sizeof text, "%d", number);
  int x = (r.pageWidth - ReportTextWidth(text) / s) / 2;
  const int distance = !ReportOnPrinter() ? 50 : position == 0 ? 64 : 60;
  int y = r.pageHeight - distance;
  if (ReportOnPrinter()) {
    x *= s;
    y *= s;
  }
  if (HDC dc = ReportDrawDC()) DrawTextAt(dc, x, y, text);
  SelectPrinterFont(0, 2 * r.fontSize * s);
}
