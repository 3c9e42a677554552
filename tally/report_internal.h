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

// Device x and y (y not yet signed) of a screen position on the page: the
// margins taken in, 10 report units further in a preview, scaled on the
// printer.
int PageXOf(int x);
int PageYOf(int y);

// The text a screen item's value prints as: the glyph of a two-state mark
// (kind 'c': "0" "×", "1" "○", "2" "◎"), a postcode (kind 'z') after "〒".
std::string PrintedValueText(char kind, const char* value);

// Text colour of later report text: a colour code, or an RGB value.
void SetReportTextColor(int colorCode);
void SetReportTextRgb(COLORREF rgb);
// Draws `text` with its top left at device (x, y), y in report direction,
// on a transparent background; nothing when there is no DC to draw on.
void ReportTextAt(int x, int y, const char* text);
// Width and height of `text` in the current report font, device units
// (0, 0 when there is no DC).
SIZE ReportTextExtent(const char* text);

// Images of reports (report_images.cpp): `file` with its top left at
// device (x, y), y in report direction, at the current image size, which a
// negative width or height first sets to the image's own pixel size times
// `sizeFactor` (report units). -1 when the file does not load, else 0.
int DrawReportImage(const char* file, int x, int y, int width, int height, double sizeFactor);

// Sheet printing (sheet_primitives.cpp, print_sheet_*.cpp).
// The units sheets print in on the current target.
SheetPrintUnits CurrentSheetUnits();
// Device units of a length given in hundredths of a millimetre of a sheet
// printed at scale 100 (pens, insets and dot spacings of sheet drawing).
int SheetLength(int hundredths);
// y in report direction: times the y sign.
inline int SignedY(int y) { return y * g_reportOutput.ySign; }

// One OCR-sheet item being printed: where it goes and in which colours.
struct SheetItemJob {
  int item = -1;
  SheetPrintUnits units;
  SheetItemPlace place;
  int xExtent = 0, yExtent = 0;
  int colour = 0;        // c: colour of boxes and texts
  int fontSize = 0;      // fs: twice the item's character size
  bool answer = false;   // the answer print of a read sheet
  std::string value;     // the field's value
  std::string markPattern, errorNote;  // of the reading, for the answer print
};
// A height of `fs` screen units in device units (h x s / ud).
inline int SheetFontHeight(const SheetItemJob& job, int height) {
  return height * job.units.scale / job.units.unitDivisor;
}
// The colour code a text colour of a sheet item stands for: 13 is the
// print colour.
inline int SheetTextColour(const SheetItemJob& job, int colorA) {
  return colorA == 13 ? job.colour : colorA;
}
// The boxes of a write-in or check field and what they hold
// (print_sheet_boxes.cpp).
void PrintSheetFieldBoxes(SheetItemJob& job);
