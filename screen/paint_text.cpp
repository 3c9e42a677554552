// Texts, write-in cells, the ruler and images on the current drawing
// context. Texts use the context's current font; long texts are cut into
// lines without ever splitting a double-byte character.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

void TextOutString(HDC dc, int x, int y, const std::string& text) {
  TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// The characters of a text, a double-byte pair as one.
std::vector<std::string> SplitChars(const char* text) {
  std::vector<std::string> chars;
  for (const char* p = text; *p; ++p) {
    const bool pair = IsSjisLeadByte(static_cast<unsigned char>(*p)) && p[1];
    chars.emplace_back(p, pair ? 2 : 1);
    if (pair) ++p;
  }
  return chars;
}

}  // namespace

std::vector<std::string> SplitAtBars(const char* text) {
  std::vector<std::string> lines(1);
  for (const char* p = text; *p; ++p) {
    if (IsSjisLeadByte(static_cast<unsigned char>(*p)) && p[1]) {
      lines.back().append(p, 2);
      ++p;
    } else if (*p == '|') {
      lines.emplace_back();
    } else {
      lines.back().push_back(*p);
    }
  }
  return lines;
}

void DrawTextPlain(int x, int y, const char* text) {
  if (PaintDC()) TextOutString(PaintDC(), x, y, text);
}

void DrawTextAt(int x, int y, const char* text, int color) {
  const HDC dc = PaintDC();
  if (!dc) return;
  SetBkMode(dc, TRANSPARENT);
  if (color >= 0) SetTextColor(dc, ColorFromCode(color));
  TextOutString(dc, x, y, text);
}

void DrawTextOpaque(int x, int y, const char* text, int width, int textColor, int backColor) {
  const HDC dc = PaintDC();
  if (!dc) return;
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, ColorFromCode(backColor));
  SetTextColor(dc, ColorFromCode(textColor));
  TextOutString(dc, x, y, std::string(std::max(0, width), ' '));
  TextOutString(dc, x, y, text);
}

void DrawTextSplitTwo(int lineLength, int lineGap, int x, int y, const char* text) {
  const HDC dc = PaintDC();
  if (!dc) return;
  if (static_cast<int>(std::strlen(text)) <= lineLength) {
    TextOutString(dc, x, y, text);
    return;
  }
  std::vector<char> piece(lineLength + 2);
  const int next = CountMixedWidth(0, lineLength, piece.data(), text);
  TextOutString(dc, x, y - lineGap / 2, piece.data());
  CountMixedWidth(next, lineLength, piece.data(), text);
  TextOutString(dc, x, y + lineGap / 2, piece.data());
}

void DrawTextMaybeWrapped(int mode, int lineLength, int lineHeight, int x, int y,
                          const char* text) {
  if (mode == 1) {
    DrawTextPlain(x, y, text);
  } else {
    DrawWrappedText(PaintDC(), lineLength, lineHeight, x, y, text);
  }
}

void DrawWrappedText(HDC dc, int lineLength, int lineHeight, int x, int y, const char* text) {
  if (!dc) return;
  SetBkMode(dc, TRANSPARENT);
  if (static_cast<int>(std::strlen(text)) <= lineLength || lineLength < 2) {
    TextOutString(dc, x, y, text);
    return;
  }
  std::vector<char> line(lineLength + 1);
  int start = 0;
  for (int n = 0;; ++n) {
    const int last = TakeTextChunk(start, lineLength, line.data(), text);
    TextOutString(dc, x, y + lineHeight * n, line.data());
    if (last || TakeTextChunkNext() == start) break;
    start = TakeTextChunkNext();
  }
}

void DrawTextLinesCentred(int x, int y, const char* text, int width) {
  const HDC dc = PaintDC();
  if (!dc) return;
  const std::vector<std::string> lines = SplitAtBars(text);
  if (lines.size() == 1) {
    DrawTextAt(x, y, lines[0].c_str(), -1);
    return;
  }
  const int height = MeasureBoxCharHeight();
  const int count = static_cast<int>(lines.size());
  int lineY = y - height * (count - 1) / 2;
  for (const std::string& line : lines) {
    if (static_cast<int>(line.size()) + 4 >= width) SetPaintCharacterExtra(-1);
    DrawTextAt(x, lineY, line.c_str(), -1);
    lineY += height + 2;
  }
}

void DrawCharCells(int i, int x, int y, const char* text) {
  const HDC dc = PaintDC();
  if (!dc) return;
  const ScreenItem& item = Item(i);
  const int colourState = g_sheetPaper.printColourState;
  const bool guideMarks = g_sheetPaper.int8 == 1 && colourState != 0 && colourState != 40 &&
                          item.blankCellFlag != 1;
  for (const std::string& ch : SplitChars(text)) {
    SIZE size{};
    GetTextExtentPoint32A(dc, ch.c_str(), static_cast<int>(ch.size()), &size);
    const int left = x, top = y - 1, right = x + size.cx, bottom = y - 1 + size.cy;
    if (item.blankCellFlag == 1) DrawBoxStyled(left, top, right, bottom, 1, PS_NULL, 0, 6, 7);
    if (item.cellFrameStyle == 1) SetPaintPenStyle(PS_DOT);
    if (item.cellFrameStyle == 2) SetPaintPenStyle(PS_SOLID);
    if (item.cellFrameStyle != 0) DrawFrameLines(left, top, right, bottom, 1, 1);
    if (guideMarks) DrawCellGuideMarks(left, top, right, bottom, 0);
    TextOutString(dc, x, y, ch);
    x += size.cx;
  }
}

void DrawCellGuideMarks(int left, int top, int right, int bottom, int mode) {
  if (!PaintDC()) return;
  SetPaintPenStyle(PS_SOLID);
  const int m = kSheetMarginUnit;
  const int cx = left + (right - left) / 2;
  const int h = top + (bottom - top) / 2;
  const int w = (h - top - m) / 2;
  if (mode != 1) {
    DrawDoubleCircle(cx - w, top + m, cx + w, h);
    DrawDoubleCircle(cx - w, h, cx + w, bottom - m);
  }
  DrawFrameLines(cx - 1, top + m, cx, bottom - m, 1, 42);
}

void DrawDoubleCircle(int left, int top, int right, int bottom) {
  const PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  GdiOwner<HPEN> pen(CreatePen(c.penStyle, 1, ColorFromCode(42)));
  SelectScope usePen(c.dc, pen.get());
  SelectScope useBrush(c.dc, GetStockObject(NULL_BRUSH));
  Ellipse(c.dc, left, top, right, bottom);
  Ellipse(c.dc, left + 2, top + 2, right - 2, bottom - 2);
}

void DrawRuler(int left, int top, int right, int bottom, int step, int color) {
  const HDC dc = PaintDC();
  if (!dc) return;
  SetPaintPenStyle(PS_SOLID);
  const RECT band{left - 1, top - 1, right, bottom + 1};
  FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  Draw3DEdge(left - 1, top - 1, right + 1, bottom + 1, 2);
  SelectScreenFont(1, (bottom - top) / 2);
  GdiOwner<HPEN> tickPen(CreatePen(PS_SOLID, 1, ColorFromCode(color)));
  GdiOwner<HPEN> whitePen(CreatePen(PS_SOLID, 1, ColorFromCode(7)));
  auto tick = [&](HPEN pen, int x, int from) {
    SelectScope use(dc, pen);
    MoveToEx(dc, x, from, nullptr);
    LineTo(dc, x, bottom);
  };
  int pos = left - 2;
  for (int i = 1; i <= 300; ++i) {
    pos += step;
    if (pos >= right) break;
    const int x = pos - 1;
    const int from = i % 5 == 0 ? bottom - 10 : bottom - 5;
    tick(tickPen.get(), x, from);
    tick(whitePen.get(), x + 1, from);
    if (i % 100 == 0) tick(tickPen.get(), pos, from);
    if (i % 10 == 0) {
      char number[16];
      const int n = std::snprintf(number, sizeof number, "%d", i);
      DrawTextAt(pos - n * step / 2 + 2, top + 2, number, 7);
      DrawTextAt(pos - n * step / 2 + 1, top + 1, number, 0);
    }
  }
}

void DrawPaintImage(ImageHandle image, int left, int top, int width, int height) {
  if (PaintDC() && image) DrawImageFileScaled(PaintDC(), image, left, top, width, height);
}
