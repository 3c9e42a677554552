// Marks and choices: the glyphs of two-state marks (kind 'c'), the boxes
// of radio and check items, two-state captions, the format masks of empty
// fields in design mode and the captions under list-screen buttons.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/csv_token.h"
#include "screen/screen.h"

namespace {

struct Point {
  int x, y;
};

Point RectCentre(const PaintContext& c) {
  return Point{c.left + (c.right - c.left) / 2, c.top + (c.bottom - c.top) / 2};
}

// The blue cross over the 12 x 12 square around the centre.
void SmallCross(Point m) { DrawCross(nullptr, m.x - 6, m.y - 6, m.x + 6, m.y + 6, 0, 1); }

void SmallSquare(Point m, int widen, int color, int penStyle) {
  const int half = 6 + widen;
  DrawFrameInPen(m.x - half, m.y - half, m.x + half, m.y + half, color, penStyle);
}

void CentredText(Point m, const char* text, int color, int size) {
  DrawTextAt(m.x - MeasureTextWidth(text) / 2, m.y - size / 2, text, color);
}

void Envelope(const PaintContext& c, Point m, bool open) {
  const int left = m.x - 11, right = m.x + 11;
  const int top = c.top + (open ? 3 : 6);
  const int mid = top + (c.bottom - top) / 2;
  FillBoxSolid(left, top, right, c.bottom, 7);
  DrawFrameInPen(left, top, right, c.bottom, 0, PS_SOLID);
  SetPaintBrush(6, 5);
  if (open) {
    DrawTriangle(nullptr, left, top + 8, right, top + 8, m.x, top, 5);
    DrawCross(nullptr, m.x - 3, mid - 3, m.x + 3, mid + 3, 0, 2);
  } else {
    DrawTriangle(nullptr, left, top, right, top, m.x, top - 5, 5);
    DrawPaintLine(left, top, m.x, mid, 1, 5);
    DrawPaintLine(m.x, mid, right, top, 1, 5);
  }
  ActivePaintContext().fillStyle = -1;
}

void Arrow(const PaintContext& c, Point m, bool down, int color) {
  SetPaintBrush(6, color);
  if (down) {
    DrawPaintLine(m.x, c.top + 2, m.x, m.y, 3, color);
    DrawTriangle(nullptr, m.x - 5, m.y, m.x + 5, m.y, m.x, c.bottom - 2, color);
  } else {
    DrawPaintLine(c.left + 2, m.y, m.x, m.y, 3, color);
    DrawTriangle(nullptr, m.x, m.y - 5, m.x, m.y + 5, c.right - 2, m.y, color);
  }
  ActivePaintContext().fillStyle = -1;
}

int TextColorOrRed(int color) { return color == 0 || color == 13 ? 2 : color; }

}  // namespace

void PaintTwoStateMark(int i, const char* value) {
  const ScreenItem& item = Item(i);
  PaintContext& c = ActivePaintContext();
  const std::string v = value;
  const int size = item.charSize * 2;
  const Point m = RectCentre(c);
  if (item.count == 11) {
    if (!v.empty()) FillBoxSolid(c.left, c.top, c.right, c.bottom, std::atoi(v.c_str()));
    return;
  }
  if (v != "0" && v != "1" && v != "2") return;
  const char state = v[0];
  switch (item.count) {
    case 0:
    case 12:
      if (state != '2') {
        DrawTwoStateCaption(i, value, c.left, c.right, m.y - size / 2, item.count == 0 ? 0 : 1);
      }
      return;
    case 2:
      if (state == '1') {
        DrawBannedMark(m.x, m.y, size / 3, 3);
      } else {
        const int previous = c.penStyle;
        c.penStyle = state == '2' ? PS_DOT : PS_SOLID;
        DrawCross(nullptr, c.left + 3, c.top + 3, c.right - 3, c.bottom - 3, 0, 1);
        c.penStyle = previous;
      }
      return;
    case 13:
      if (state == '1') {
        SmallCross(m);
      } else {
        SmallSquare(m, 0, 1, PS_SOLID);
        CentredText(m, state == '0' ? "点" : "実", 1, size);
      }
      return;
    case 16:
      if (state == '1') {
        SmallCross(m);
      } else if (state == '0') {
        SetPaintBrush(-2, 1);
        DrawCircleThin(m.x, m.y, size / 2, 1);
        ActivePaintContext().fillStyle = -1;
      } else {
        Arrow(c, m, false, 1);
      }
      return;
    case 17:
      if (state == '1') {
        SetPaintBrush(6, TextColorOrRed(item.colorA));
        DrawCircleThin(m.x, m.y, size / 2, TextColorOrRed(item.colorA));
        c.fillStyle = -1;
      } else if (state == '0') {
        SmallCross(m);
      }
      return;
    case 18:
      if (state == '1') {
        SetPaintBrush(-2, 3);
        DrawPaintEllipse(c.left + 6, c.top + 1, c.right - 6, c.bottom - 1, 3);
        SetPaintBrush(6, 0);
        DrawPaintEllipse(c.left + 9, c.top + 4, c.right - 9, c.bottom - 4, 0);
        ActivePaintContext().fillStyle = -1;
      } else if (state == '0') {
        SmallSquare(m, 4, 3, PS_SOLID);
        CentredText(m, "レ", 0, size);
      }
      return;
    case 19:
      if (state == '1') {
        SmallCross(m);
      } else {
        SmallSquare(m, 4, 0, state == '0' ? PS_DOT : PS_SOLID);
      }
      return;
    case 20:
      if (state == '0') {
        SmallCross(m);
      } else {
        SmallSquare(m, 4, 0, state == '1' ? PS_DOT : PS_SOLID);
      }
      return;
    case 21:
    case 22:
      if (state != '2') Envelope(c, m, state == '0');
      return;
    case 33:
      if (state != '2') Arrow(c, m, state == '1', item.colorA);
      return;
    case 3:
      if (state == '1') {
        SetPaintBrush(-2, 2);
        DrawCircleThin(m.x, m.y, size / 2, 2);
        ActivePaintContext().fillStyle = -1;
        return;
      }
      break;
    default:
      if (state == '1') return;
      break;
  }
  if (state == '0') {
    SmallCross(m);
  } else {
    DrawMarkBall(m.x, m.y, size / 2, 2, 2);
  }
}

void DrawCheckChoices(int i, const char* value) {
  const ScreenItem& item = Item(i);
  PaintContext& c = ActivePaintContext();
  const int cs = item.charSize;
  ComputeItemPaintRect(i);
  const int slot = PaintSlot();
  if (IsFixedItem(item) && IsValidSlot(slot)) {
    c.left += Slot(slot).scrollX;
    c.right += Slot(slot).scrollX;
    c.top += Slot(slot).scrollY;
    c.bottom += Slot(slot).scrollY;
  }
  const bool protectedItem = item.state == kItemProtected;
  const int textColor = protectedItem ? 9 : 0;
  const int markColor = protectedItem ? 9 : item.colorB;
  std::string chosen = value;
  const int count = item.count;
  if (item.kind == 'C' && chosen.empty() && count > 0) chosen.assign(count, '0');
  auto isChosen = [&](int j) {
    if (item.kind == 'R') return std::atoi(chosen.c_str()) == (count < 1 ? 1 : j);
    return static_cast<int>(chosen.size()) >= j && chosen[j - 1] == '1';
  };
  auto drawBox = [&](int cx, int rowTop, int j) {
    if (static_cast<int>(item.defaultText.size()) >= j && item.defaultText[j - 1] == '^') return;
    FillCellRect(cx - cs + 1, rowTop + 1, cx + cs - 1, rowTop + 2 * cs - 1, -1);
    Draw3DEdgeDark(cx - cs + 1, rowTop + 1, cx + cs - 1, rowTop + 2 * cs - 1, 0);
    if (isChosen(j)) DrawMarkBall(cx, rowTop + cs, 2 * cs / 3 + 1, markColor, 2);
  };
  SetTextColor(c.dc, ColorFromCode(textColor));
  SetPaintCharacterExtra(item.maximum != -1 ? 0 : -1);
  const char* singleText = item.titleStyle == 7   ? item.guide.c_str()
                           : item.titleStyle == 6 ? item.caption.c_str()
                                                  : item.choices.c_str();
  if (count < 1) {
    drawBox(c.left + 2 * cs, c.top + 2, 1);
    DrawTextAt(c.left + 4 * cs, c.top + 2, singleText, textColor);
    SetPaintCharacterExtra(0);
    return;
  }
  const bool hasCaption = !item.caption.empty() && item.titleStyle != 5 && count > 1;
  const int height = c.bottom - c.top;
  const int pitch = height / (count + (hasCaption ? 2 : 1));
  if (item.minimum != -1) {
    Draw3DEdgeDark(c.left, c.top, c.right, c.bottom, 0);
    Draw3DEdgeDark(c.left + 1, c.top + 1, c.right - 1, c.bottom - 1, 1);
  }
  int firstRow;
  if (hasCaption) {
    const int captionY = c.top + pitch * 3 / 4 - cs;
    DrawTextAt(c.left + (c.right - c.left - MeasureTextWidth(item.caption.c_str())) / 2, captionY,
               item.caption.c_str(), textColor);
    firstRow = pitch / 2 + c.top + pitch + 4;
  } else {
    firstRow = (c.bottom - c.top) / (count + 1) + c.top - cs;
  }
  const int boxX = c.left + 3 * cs;
  const int textX = c.left + 5 * cs;
  CsvCursor cursor;
  char token[401];
  for (int j = 1; j <= count; ++j) {
    const int rowTop = firstRow + (j - 1) * pitch;
    drawBox(boxX, rowTop, j);
    SetTextColor(c.dc, ColorFromCode(textColor));
    if (count == 1) {
      DrawTextLinesCentred(textX, rowTop, singleText, item.width);
    } else {
      token[0] = '\0';
      NextCsvTokenWith(cursor, token, 400, item.choices.c_str());
      DrawTextLinesCentred(textX, rowTop, token, item.width);
    }
  }
  SetPaintCharacterExtra(0);
}

void DrawTwoStateCaption(int i, const char* value, int left, int right, int y, int order) {
  const ScreenItem& item = Item(i);
  const std::string v = value;
  if (v != "0" && v != "1") return;
  std::string first = "○", second = "×";  // order 0: "1" shows the first
  if (!item.choices.empty()) {
    CsvCursor cursor;
    char token[121];
    NextCsvTokenWith(cursor, token, 120, item.choices.c_str());
    first = token;
    token[0] = '\0';
    NextCsvTokenWith(cursor, token, 120, item.choices.c_str());
    second = token;
  }
  const bool showFirst = (v == "1") == (order == 0);
  const std::string& text = showFirst ? first : second;
  const int color = item.count == 0 ? TextColorOrRed(item.colorA) : item.colorA;
  const int centre = left + (right - left) / 2;
  DrawTextAt(centre - MeasureTextWidth(text.c_str()) / 2 + 1, y, text.c_str(), color);
}

void FillFormatMask(int i, char* out) {
  const ScreenItem& item = Item(i);
  out[0] = '\0';
  if (item.titleStyle == 13) return;
  const int positions = std::max(0, item.kind == 'z' ? item.width - 2 : item.width);
  const char* box = "□";
  for (int k = 0; k < positions; ++k) {
    switch (item.kind) {
      case 'K': out[k] = box[k % 2]; break;
      case 'T':
      case 'N': out[k] = '9'; break;
      case 'H': out[k] = static_cast<char>(0xB1); break;  // ｱ
      case 'P': out[k] = '*'; break;
      default: out[k] = 'X'; break;
    }
  }
  out[positions] = '\0';
}

void DrawIconCaption(int size, int centreX, const char* text) {
  const PaintContext& c = ActivePaintContext();
  SelectScreenFont(3, size - 3);
  DrawTextAt(centreX - MeasureTextWidth(text) / 2, c.bottom + 8, text, 1);
}
