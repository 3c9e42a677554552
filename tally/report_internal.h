// Shared inside the report layer (report_*.cpp): the device context as
// drawing and measuring need it, the report font, CSV lines and pens. Every
// pen, brush and font the layer creates lives in a GdiOwner
// (foundation/gdi_draw.h), so tests can count what is alive.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

#include "tally/tally.h"

inline bool ReportOnPrinter() { return g_reportOutput.mode == kReportPrinter; }
inline bool ReportDraws() {
  return (g_reportOutput.mode == kReportPreview ||
          g_reportOutput.mode == kReportPrinter) &&
         g_reportOutput.dc != nullptr;
}
// The scale of report units on the printer, 1 elsewhere.
inline int ReportScale() { return ReportOnPrinter() ? g_reportOutput.scale : 1; }

// The DC to draw on, with the printer page begun when nothing was drawn on
// it yet; null when nothing is to be drawn (a file, no output, no DC, or a
// page that could not be started).
HDC ReportDrawDC();
// The DC to measure text on (no page needed); null when there is none.
HDC ReportMeasureDC();

// Makes `font` (owned from here on) the report font with the cache key face/height, deleting the previous one.
void ReplaceReportFont(HFONT font, int face, int height);
// Puts the DC's own font back and deletes the report font.
void ReleaseReportFont();

// Mode 2: writes the collected CSV line, its last comma turned into the line
// end (CR LF), and empties it; an empty line writes nothing.
void WriteReportCsvLine();

// Formats a report cell (at most kReportCellTextSize - 1 bytes, cut at a
// character boundary).
std::string FormatReportCellV(const char* format, va_list args);

// The pen of report lines: the current line style (0 solid, 2 dotted),
// width and colour code; the caller owns it.
HPEN CreateReportLinePen(int width, int colorCode);

// The fill of a graph's bar, slice or swatch: solid (kFillSolid), hatched
// (0 to 5) or none (null) in the colour of the colour code; the caller owns
// it.
HBRUSH CreateGraphBrush(int colorCode, int pattern);
// A white ground under hatching, so patterns look alike on the screen and
// on paper.
void UseGraphFill(HDC dc);

// Draws one line from (x1, y1) to (x2, y2) on `dc` in device coordinates.
inline void DrawReportSegment(HDC dc, int x1, int y1, int x2, int y2) {
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
}
