// The caption and frame layers of an item: the caption box in the title
// colour (or the sheet and icon variants), and the 3D frames, focus looks
// and multi-line text areas. The value layer is paint_value.cpp.
#include <algorithm>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "screen/screen.h"

namespace {

bool IsButtonKind(char kind) { return kind == 'M' || kind == 'B'; }

// Scroll values of the slot being painted, added to fixed coordinates so
// they stay put under the scrolled viewport origin.
POINT FixedShift() {
  const int slot = PaintSlot();
  if (!IsValidSlot(slot)) return POINT{0, 0};
  return POINT{Slot(slot).scrollX, Slot(slot).scrollY};
}

// Frame, focus and pressed looks of a button.
void PaintButtonLooks(int i, const ScreenItem& item, int mode, const PaintContext& c) {
  if (item.edit == 'B' || item.colorB == 10 || item.itemClass == kItemClassSunken) return;
  const bool fixed = IsFixedItem(item);
  const bool iconClass = item.itemClass == kItemClassIcon || item.itemClass == kItemClassPlan;
  const int slot = PaintSlot();
  if (IsValidSlot(slot) && Slot(slot).inputMode == 2) {
    if (i == g_screen.currentItem) {
      if (fixed) {
        Draw3DEdge(c.left - 2, c.top - 2, c.right + 2, c.bottom + 2, 0);
      } else if (iconClass) {
        Draw3DEdge(c.left - 3, c.top - 3, c.right + 3, c.bottom + 3, 4);
      } else {
        Draw3DEdge(c.left + 1, c.top + 1, c.right - 1, c.bottom - 1, 4);
      }
      if (mode == 2) Draw3DEdge(c.left - 1, c.top - 1, c.right + 1, c.bottom + 1, 2);
    }
    if (mode == 3) {
      Draw3DEdge(c.left - 1, c.top - 1, c.right + 1, c.bottom + 1, 3);
      if (i == g_screen.clickItem) {
        if (iconClass) {
          DrawFrameLines(c.left - 3, c.top - 3, c.right + 3, c.bottom + 3, 1, 1);
        } else {
          DrawFrameLines(c.left + 1, c.top + 1, c.right - 1, c.bottom - 1, 1, 2);
        }
      }
    }
  }
  if (item.edit != 'I' && item.titleStyle != 11 && !fixed && !iconClass) {
    Draw3DEdge(c.left + 2, c.top + 2, c.right - 2, c.bottom - 2, 0);
  }
}

// A multi-line text area: its lines, its frames, the arrow of its key code
// and its guide text below it.
void PaintMultiLineItem(const ScreenItem& item, const PaintContext& c) {
  const int slot = PaintSlot();
  const int pitch = IsValidSlot(slot) ? Slot(slot).rowPitch : 25;
  const int unit = IsValidSlot(slot) ? Slot(slot).fontUnit : kBaseCharWidth;
  const int cs = item.charSize;
  SelectScreenFont(1, cs * 2);
  SetPaintCharacterExtra(cs);
  const int perLine = std::max(1, item.width);
  for (int n = 1; n <= item.length; ++n) {
    const size_t start = static_cast<size_t>(n - 1) * perLine;
    if (start >= item.choices.size()) break;
    DrawTextAt(c.left + 3, c.top + (n - 1) * pitch + (pitch - 2 * cs) / 2,
               item.choices.substr(start, perLine).c_str(), item.colorA);
  }
  SetPaintCharacterExtra(0);
  DrawFrameLines(c.left - 1, c.top - 1, c.right + 1, c.bottom + 1, 1, 1);
  DrawFrameLines(c.left, c.bottom - pitch + 2, c.left + 2 * unit - 5, c.bottom, 1, 5);
  SelectScreenFont(1, 2 * unit - 4);
  const int arrowY = c.bottom - 2 * unit + 2;
  switch (item.keyCode) {
    case 'Y': DrawTextOpaque(c.left, arrowY, "↑", 2, 1, 6); break;
    case 'X': DrawTextOpaque(c.left, c.top, "→", 2, 1, 6); break;
    case 'Z': DrawTextOpaque(c.left, arrowY, "→", 2, 1, 6); break;
    default: DrawTextOpaque(c.left, c.bottom - 2 * unit, "？", 2, 1, 4); break;
  }
  SelectScreenFont(1, cs * 2);
  DrawTextAt(c.left, c.bottom, item.guide.c_str(), 2);
}

// The caption text of an item in one caption rectangle.
void PaintCaptionIn(int i, const char* caption, const ItemCaptionRect& r) {
  const ScreenItem& item = Item(i);
  PaintContext& c = ActivePaintContext();
  const int cs = item.charSize;
  if (IsFixedItem(item)) {
    const POINT shift = FixedShift();
    const int size = cs * 2 - 1;
    SelectScreenFont(1, size);
    SetPaintCharacterExtra(-1);
    const int x = r.left + HalfUp(r.right - r.left - MeasureTextWidth(caption));
    const int y = r.top + HalfUp(r.bottom - r.top - size);
    DrawTextAt(x + 1 + shift.x, y + 2 + shift.y, caption, item.colorA);
    SetPaintCharacterExtra(0);
    return;
  }
  const bool sheet = item.itemClass == kItemClassSheet;
  if (sheet) c.frameColor = item.marker == -1 ? 4 : 1;
  const int size = sheet ? cs * 2 : cs * 2 - 1;
  if (size > 0) {
    if (item.itemClass == kItemClassIcon) {
      SelectScreenFontSize(1, size, FW_BOLD);
    } else {
      SelectScreenFont(sheet && item.faceFlag != 1 ? 0 : 1, size);
    }
  }
  if (item.itemClass == kItemClassPlan) return;
  const int textWidth = MeasureTextWidth(caption);
  int x = r.left + HalfUp(r.right - r.left - textWidth);
  int y = r.top + HalfUp(r.bottom - r.top - size);
  if (item.itemClass == kItemClassIcon) {
    DrawTextAt(x - 1, y - 1, caption, 7);
    DrawTextAt(x, y, caption, 0);
    return;
  }
  if (sheet) {
    if (item.edit == 'I') {
      x = item.pixelX;
      y = item.pixelY + item.pixelHeight;
    } else {
      x = r.left + (r.right - r.left - textWidth) / 2;
      y = r.top + (r.bottom - r.top - size) / 2;
    }
    if (item.titleStyle == 1 && (item.code.empty() || item.code[0] != 'T')) {
      DrawCaptionLines(i, caption, g_sheetPaper.printColourState);
      return;
    }
    DrawTextAt(x, y, caption, item.colorA == 13 ? c.frameColor : item.colorA);
    return;
  }
  if (r.right > r.left && r.bottom > r.top && item.itemClass != kItemClassNoFrame) {
    FillBoxSolid(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1,
                 GetOcrIniSettings().titleColor);
  }
  DrawTextAt(x - 1, y - 1, caption, 0);
  DrawTextAt(x, y, caption, 6);
}

}  // namespace

int PaintSlot() { return ActivePaintContext().slot; }

bool PaintingInDesignMode() {
  const int slot = PaintSlot();
  return IsValidSlot(slot) && Slot(slot).lineEditMode != 0;
}

void FillBoxSolid(int left, int top, int right, int bottom, int color) {
  PaintContext& c = ActivePaintContext();
  const int savedPen = c.penStyle, savedFill = c.fillStyle;
  const COLORREF savedColor = c.fillColor;
  c.penStyle = PS_SOLID;
  SetPaintBrush(6, color);
  DrawBox(left, top, right, bottom, 0, color);
  c.penStyle = savedPen;
  c.fillStyle = savedFill;
  c.fillColor = savedColor;
}

void ComputeItemPaintRect(int i) {
  const ScreenItem& item = Item(i);
  PaintContext& c = ActivePaintContext();
  c.left = item.pixelX + 1;
  c.top = item.pixelY + 1;
  if (item.edit == 'V') {
    c.right = item.pixelX + item.pixelHeight - 3;
    c.bottom = item.pixelY + item.pixelWidth - 2;
  } else {
    c.right = item.pixelX + item.pixelWidth - 2;
    c.bottom = item.pixelY + item.pixelHeight - 2;
  }
}

void PaintItemCaption(int i, const char* caption) {
  const ScreenItem& item = Item(i);
  if (!ActivePaintContext().dc || item.kind == 'R' || item.kind == 'C') return;
  ItemCaptionRect r;
  GetItemRect(i, &r);
  if (r.placement != kCaptionSplit) {
    PaintCaptionIn(i, caption, r);
    return;
  }
  for (const CaptionPart& part : GetCaptionParts(i)) PaintCaptionIn(i, part.text.c_str(), part.rect);
}

void DrawCaptionLines(int i, const char* caption, int printColor) {
  const ScreenItem& item = Item(i);
  ItemCaptionRect r;
  GetItemRect(i, &r);
  const int color = printColor == 0 || printColor == 40 ? 0 : printColor;
  const int height = item.charSize * 2;
  int y = r.top + 2;
  for (const std::string& line : SplitAtBars(caption)) {
    DrawTextAt(r.left + 2, y, line.c_str(), color);
    y += height + 2;
  }
}

void PaintItemFrame(int i, int mode) {
  const ScreenItem& item = Item(i);
  PaintContext& c = ActivePaintContext();
  if (!c.dc) return;
  if (item.itemClass == kItemClassNoFrame || item.itemClass == kItemClassSheet) return;
  if (item.colorB == 21 || item.titleStyle == 10 || item.kind == 'R' || item.kind == 'C') return;
  if (item.itemClass == kItemClassPlan && item.state == kItemProtected) return;
  // The edit control covers the current field; buttons keep their looks.
  if (i == g_screen.currentItem && !IsButtonKind(item.kind)) return;
  if (PaintingInDesignMode() && IsFixedItem(item)) return;
  ComputeItemPaintRect(i);
  if (IsFixedItem(item) || item.titleStyle == 13) {
    const POINT shift = FixedShift();
    c.left += shift.x;
    c.right += shift.x;
    c.top += shift.y;
    c.bottom += shift.y;
  }
  if (item.itemClass == kItemClassIcon && item.edit != 'I') {
    c.left += 1;
    c.top += 1;
    c.right -= 1;
    c.bottom -= 2;
  }
  if (IsButtonKind(item.kind)) PaintButtonLooks(i, item, mode, c);
  if (item.edit == 'I' || item.edit == 'B') return;
  const int slot = PaintSlot();
  if (IsButtonKind(item.kind) && IsValidSlot(slot) && Slot(slot).buttonsUnframed) return;
  if (item.kind == 'o') {
    PaintMultiLineItem(item, c);
    return;
  }
  Draw3DEdge(c.left - 1, c.top - 1, c.right + 1, c.bottom + 1, mode);
  if (item.itemClass == kItemClassThickFrame) {
    Draw3DEdge(c.left - 2, c.top - 2, c.right + 2, c.bottom + 2, mode);
  }
}

void DrawSelectionFrame(int left, int top, int right, int bottom, int frameStyle, int boxCode) {
  const bool dotted = (boxCode == 0 || boxCode == 40 || boxCode == -1) && frameStyle != 2;
  DrawFrameInPen(left, top, right, bottom, ActivePaintContext().frameColor,
                 dotted ? PS_DOT : PS_SOLID);
}
