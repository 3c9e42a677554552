// OCR-sheet items on the canvas (item class 7): sheet texts with their
// frames and write-in cells, fields as rows or columns of boxes with the
// densities of the last reading, and the numbers beside items. Sizes are in
// sheet units of 4 pixels.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/csv_token.h"
#include "foundation/text_utils.h"
#include "screen/screen.h"

namespace {

constexpr int kUnit = kSheetMarginUnit;
constexpr int kLabelRoom = 200;  // bytes of a label of a comma list

int FrameColorOf(const ScreenItem& item) {
  const int frame = ActivePaintContext().frameColor;
  return item.colorA == 13 ? frame : item.colorA;
}

void PaintSheetText(int i, const ScreenItem& item) {
  const PaintContext& c = ActivePaintContext();
  const int left = item.pixelX, top = item.pixelY;
  const int right = left + item.pixelWidth, bottom = top + item.pixelHeight;
  const bool handwriting = item.fontCode == 3;
  if (item.frameStyle == 0) {
    if (PaintingInDesignMode()) DrawFrameInPen(left, top, right, bottom, c.frameColor, PS_DOT);
  } else if (!handwriting) {
    if (item.markType == 1) {  // 塗込み: a white ground, as it prints
      const RECT inside{left + 1, top + 1, right, bottom};
      FillRect(c.dc, &inside, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    DrawFrameInPen(left, top, right, bottom, c.frameColor,
                 item.frameStyle == 1 ? PS_DOT : PS_SOLID);
  }
  DrawItemNumber(i);
  // A text item has no value: without a message it is its frame alone.
  const std::string& text = item.sheetText;
  if (text.empty()) return;
  const int size = item.charSize * 2;
  SelectScreenFont(handwriting ? 4 : 1, size);
  const int color = handwriting ? 0 : FrameColorOf(item);
  SetTextColor(c.dc, ColorFromCode(color));
  SetBkMode(c.dc, TRANSPARENT);
  const int bytesPerLine = std::max(2, 2 * item.width);
  const int length = static_cast<int>(text.size());
  const int lines = std::max(1, (length + bytesPerLine - 1) / bytesPerLine);
  int x = left;
  if (item.width == 1) {
    x = left + (item.pixelWidth - MeasureTextWidth(text.c_str())) / 2;
  } else if (item.width <= 100) {
    x = left + MeasureTextWidth("□") / 3;
  }
  const int y = top + (item.pixelHeight - lines * (size + 2)) / 2;
  if (handwriting) {
    DrawCharCells(i, x, y, text.c_str());
  } else {
    DrawTextMaybeWrapped(lines == 1 ? 1 : 0, bytesPerLine, size + 2, x, y, text.c_str());
  }
}

// Size of a mark character: the voiced marks and half-width katakana are
// drawn larger so they fill the box like full-width characters.
int MarkCharSize(const std::string& mark, int fontSize) {
  const unsigned char b = mark.empty() ? 0 : static_cast<unsigned char>(mark[0]);
  double factor = 1.0;
  if (mark.size() == 1 && (b == 0xDE || b == 0xDF)) {
    factor = 2.3;
  } else if (mark.size() == 1 && b >= 0xA1 && b <= 0xDF) {
    factor = 1.2;
  }
  return static_cast<int>(std::floor(fontSize * factor + 0.5));
}

struct BoxGrid {
  int boxWidth, boxHeight, gap, rowStep;
  int perLine;    // boxes before the layout wraps (0: one row)
  bool columns;   // layout 3: down first
};

void BoxOrigin(const ScreenItem& item, const BoxGrid& g, int k, int* x, int* y) {
  const int along = g.perLine > 0 ? k % g.perLine : k;
  const int across = g.perLine > 0 ? k / g.perLine : 0;
  const int xStep = g.boxWidth + g.gap;
  if (g.columns) {
    *x = item.pixelX + across * xStep;
    *y = item.pixelY + along * g.rowStep;
  } else {
    *x = item.pixelX + along * xStep;
    *y = item.pixelY + across * g.rowStep;
  }
}

// The labels of a check field's boxes as the sheet prints them: one
// character a box for marks printed in the boxes, for centred ones and for
// a text without commas over several boxes, otherwise the entries of the
// comma list (the boxes past its end get none).
std::vector<std::string> ChoiceLabels(const ScreenItem& item, int boxes) {
  std::vector<std::string> labels(static_cast<size_t>(boxes));
  const std::string& text = item.overlayText;
  const bool comma = text.find(',') != std::string::npos;
  if (item.boxShape == 23 || (item.boxShape == 24 && !comma) || (!comma && boxes > 1)) {
    for (int k = 0; k < boxes && k < static_cast<int>(text.size()); ++k) labels[k] = text.substr(k, 1);
    return labels;
  }
  CsvCursor cursor;
  char token[kLabelRoom + 1] = "";
  for (int k = 0, rc = 0; k < boxes && rc >= 0; ++k) {
    rc = NextCsvTokenWith(cursor, token, kLabelRoom, text.c_str());
    labels[k] = token;
  }
  return labels;
}

// A label where its position (背景色) prints it: left, right, above or
// below its box, or inside it (centred, or in the oval of a mark).
void DrawChoiceLabel(const ScreenItem& item, const RECT& box, const std::string& label) {
  if (label.empty() || item.boxShape == 5) return;
  const int size = item.charSize * 2;
  SelectScreenFont(1, size);
  const int width = MeasureTextWidth(label.c_str());
  const int centreX = (box.left + box.right - width) / 2, centreY = (box.top + box.bottom - size) / 2;
  const bool closeRows = item.boxLayout >= 2 && item.boxesPerRow >= 2 && item.rowGap <= 6;
  const int apart = (closeRows ? 1 : 2) * kUnit;
  POINT at{centreX, centreY};
  switch (item.boxShape) {
    case 1: at = {box.left - width - 2 * kUnit, centreY}; break;
    case 2: at = {box.right + 2 * kUnit, centreY}; break;
    case 3: at = {centreX, box.top - size - apart}; break;
    case 4: at = {centreX, box.bottom + apart}; break;
    default: break;
  }
  DrawTextAt(at.x, at.y, label.c_str(), ActivePaintContext().frameColor);
}

void PaintSheetField(const ScreenItem& item) {
  const PaintContext& c = ActivePaintContext();
  const int boxes = std::max(0, item.width);
  BoxGrid g;
  g.boxWidth = item.kind == 'Z' ? item.pixelWidth / std::max(1, boxes) : item.boxWidth * kUnit;
  g.boxHeight = item.kind == 'Z' ? item.pixelHeight : item.boxHeight * kUnit;
  g.gap = item.boxGap == -1 ? 0 : item.boxGap * kUnit;
  g.rowStep = g.boxHeight + item.rowGap * kUnit;
  const bool check = item.edit == 'C';
  // Choices in rows (boxesPerRow of them): across each row first (layout
  // 2), or down each column (layout 3).
  const int rows = check && (item.boxLayout == 2 || item.boxLayout == 3) ? item.boxesPerRow : 0;
  g.columns = rows >= 1 && item.boxLayout == 3;
  g.perLine = rows < 1 ? 0 : g.columns ? rows : (boxes + rows - 1) / rows;
  if (item.boxGap == -1) {
    DrawFrameInPen(item.pixelX, item.pixelY, item.pixelX + item.pixelWidth,
                 item.pixelY + item.pixelHeight, c.frameColor, PS_SOLID);
  }

  const std::vector<std::string> labels = check ? ChoiceLabels(item, boxes) : std::vector<std::string>();
  CsvCursor cursor;
  bool moreValues = !item.readValues.empty();
  int lastRight = item.pixelX, lastTop = item.pixelY;
  for (int k = 0; k < boxes; ++k) {
    int x, y;
    BoxOrigin(item, g, k, &x, &y);
    const int right = x + g.boxWidth, bottom = y + g.boxHeight;
    char token[8] = "";
    if (moreValues) moreValues = NextCsvTokenWith(cursor, token, 4, item.readValues.c_str()) > 0;
    if (static_cast<int>(item.defaultText.size()) > k && item.defaultText[k] == '^') continue;
    if (check && labels[k] == "^") continue;  // a hidden choice prints nothing
    if (item.markType == 23) {
      DrawPaintCircle(x, y, right, bottom, 6, 3);
    } else {
      DrawFrameLines(x, y, right, bottom, 1, c.frameColor);
      if (check && item.blankCellFlag == 1) {
        SetPaintBrush(-1, 3);
        DrawPaintEllipse(x, y, right, bottom, 3);
      } else if (item.kind != 'F' && item.kind != 'Z') {
        DrawFrameInPen(x, y, right, bottom, 3, PS_SOLID);
      }
    }
    if (check && (item.markType == 23 || item.markType == 24) && !item.markChar.empty()) {
      const int size = MarkCharSize(item.markChar, item.charSize * 2);
      SelectScreenFont(1, size);
      DrawTextAt(x + (g.boxWidth - MeasureTextWidth(item.markChar.c_str())) / 2,
                 y + (g.boxHeight - size) / 2, item.markChar.c_str(), c.frameColor);
    }
    if (check) DrawChoiceLabel(item, RECT{x, y, right, bottom}, labels[k]);
    if (token[0]) {
      int density = std::atoi(token);
      if (item.blankCellFlag == 1) density = (density + 5) / 10;
      if (density >= item.threshold) DrawFrameInPen(x, y, right, bottom, 2, PS_SOLID);
      if (density > 0) {
        SelectScreenFont(1, 14);
        DrawTextAt(x, item.markType == 23 ? y - 15 : bottom + 1, token, 2);
      }
    }
    lastRight = right;
    lastTop = y;
  }
  if (!item.readValues.empty()) {
    char threshold[24];
    std::snprintf(threshold, sizeof threshold, "(%d)", item.threshold);
    SelectScreenFont(1, 14);
    DrawTextAt(lastRight + 2, lastTop, threshold, 2);
  }
}

}  // namespace

void PaintSheetItemValue(int i) {
  const ScreenItem& item = Item(i);
  if (!item.code.empty() && item.code[0] == 'T') {
    PaintSheetText(i, item);
  } else {
    PaintSheetField(item);
  }
}

int SheetItemNumber(int i) {
  const ScreenItem& item = Item(i);
  if (item.numberingMode < 1 || item.numberingMode > 3 || item.numberSource <= 0) return -1;
  if (item.numberingMode == 1) return ParseTrailingNumber(item.name.c_str());
  return item.numberingMode == 2 ? item.memberNumber : item.extraNumber;
}

void DrawItemNumber(int i) {
  const ScreenItem& item = Item(i);
  if (PaintingInDesignMode()) return;
  const int number = SheetItemNumber(i);
  if (number < 0) return;
  char text[24];
  std::snprintf(text, sizeof text, item.numberStyle == 2 ? "%d" : "%2d", number);
  const int size = item.charSize * 2 + 2;
  SelectScreenFont(1, size);
  const int width = MeasureTextWidth(text);
  const int y = item.pixelY + (item.pixelHeight - size) / 2;
  int x;
  if (item.numberStyle == 2) {
    x = item.pixelX + (item.pixelWidth - width) / 2;
  } else {
    x = item.pixelX - width - 2;
    if (item.markType == 23) x -= (item.width / 2 + 1) * kUnit;
  }
  DrawTextAt(x, y, text, ActivePaintContext().frameColor);
}
