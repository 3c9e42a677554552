// Printer fonts and vertical text. One report font is selected into the
// report DC at a time, cached by face and height; selecting another deletes
// the previous one, and the end of the job puts the DC's own font back.
#include "tally/report_internal.h"

namespace {

// Faces of the rotated fonts: face code 1 or else 0.
const char* RotatedFaceName(int face) { return FaceNameOfCode(face == 1 ? 1 : 0); }

// Text at device (x, y) with y in report direction; no inner margin.
void DrawCellText(HDC dc, int x, int y, const std::string& text) {
  SetBkMode(dc, TRANSPARENT);
  TextOutA(dc, x, y * g_reportOutput.ySign, text.c_str(),
           static_cast<int>(text.size()));
}

}  // namespace

void ReplaceReportFont(HFONT font, int face, int height) {
  ReportOutputContext& r = g_reportOutput;
  if (!font) return;
  if (!r.dc) {
    DeleteObject(font);
    return;
  }
  HGDIOBJ previous = SelectObject(r.dc, font);
  if (!r.font.get()) r.replacedFont = previous;
  r.font.reset(font);  // the previous report font is no longer selected
  r.fontFace = face;
  r.fontHeight = height;
  r.fontAsOutlines = false;
}

void ReleaseReportFont() {
  ReportOutputContext& r = g_reportOutput;
  if (r.font.get() && r.dc) SelectObject(r.dc, r.replacedFont);
  r.font.reset(nullptr);
  r.replacedFont = nullptr;
  r.fontFace = -1;
  r.fontHeight = -1;
  r.fontAsOutlines = false;
}

int SelectPrinterFont(int face, int height) {
  ReportOutputContext& r = g_reportOutput;
  if (face == r.fontFace && height == r.fontHeight) return face;
  if (!ReportMeasureDC()) return face;
  ReplaceReportFont(CreateFontByCode(face, height, FW_NORMAL), face, height);
  return face;
}

HFONT CreateRotatedFont(int face, int height) {
  // A quarter turn that reads top to bottom: counter-clockwise on the
  // printer's metric page (and in a file), clockwise on the screen.
  const int escapement = g_reportOutput.mode == kReportPreview ? 2700 : 900;
  return CreateFontByName(RotatedFaceName(face), height, FW_NORMAL, escapement);
}

HGDIOBJ SelectRotatedFont(int face, int height) {
  ReplaceReportFont(CreateRotatedFont(face, height), 0, 0);
  return g_reportOutput.replacedFont;
}

int SelectFontByName(const char* faceName, int height) {
  return SelectFontByNameWeight(faceName, height, FW_NORMAL);
}

int SelectHandwritingFont(int height) {
  constexpr int kHandwritingFaceCode = 4;
  if (SelectFontByName(FaceNameOfCode(kHandwritingFaceCode), height) != 0) return -1;
  g_reportOutput.fontAsOutlines = true;
  return 0;
}

int SelectFontByNameWeight(const char* faceName, int height, int weight) {
  if (!ReportMeasureDC()) return 0;
  HFONT font = CreateFontByName(faceName, height, weight);
  if (!font) return -1;
  ReplaceReportFont(font, -1, -1);
  return 0;
}

void DrawVerticalText(int column, int row, int size, int cells,
                      const char* text, int convert, int alignBottom) {
  const int s = ReportScale();
  int h = size * 5;
  int x = column * 5;
  int y = row * 5;
  if (ReportOnPrinter()) {
    x = (column * 5 - 25) * s;
    y = (row * 5 - 25) * s;
    h *= s;
  }
  SelectPrinterFont(0, h);
  const std::vector<VerticalCell> parts = SplitVerticalCells(text, convert == 1);
  // Bottom alignment counts the cells actually drawn, so joined kana end on
  // the last cell too.
  if (alignBottom == 1) y += h * (cells - static_cast<int>(parts.size()));
  for (const VerticalCell& part : parts) {
    HDC dc = ReportDrawDC();
    if (!dc) return;
    if (part.rotated) {
      SelectRotatedFont(0, h);
      DrawCellText(dc, x + h, y, part.text);
      SelectPrinterFont(0, h);
    } else {
      ReportTextOut(x, y, part.text.c_str());
    }
    y += h;
  }
}

void DrawTextAtCell(int column, int row, int size, int face, int colorCode,
                    const char* text) {
  const int s = ReportScale();
  int x = column * 5;
  int y = row * 5;
  if (ReportOnPrinter()) {
    x = (column * 5 - 25) * s;
    y = (row * 5 - 25) * s;
  }
  SelectPrinterFont(face, size * s);
  HDC dc = ReportDrawDC();
  if (!dc) return;
  if (colorCode != -1) SetTextColor(dc, ColorFromCode(colorCode));
  DrawCellText(dc, x, y, text);
  if (colorCode != -1) SetTextColor(dc, RGB(0, 0, 0));
}
