// Painting of a whole screen page in its fixed order: background image,
// paper outline, guide lines, ruled lines, the items in two passes, the
// content frame and the design selection. Also the caption rectangle of an
// item, which painting, hit tests and printing share.
#include <algorithm>
#include <cstring>
#include <string>

#include "screen/screen.h"

namespace {

struct PaperSize {
  int width, height;
  bool landscape;
};

// Paper outline of a window kind; false for kinds that draw none.
bool PaperOfKind(const WindowSlot& s, int leftMargin, PaperSize* paper) {
  static const PaperSize kPapers[] = {
      {1425, 2016, false}, {1008, 1425, true}, {1008, 1425, false}, {712, 1008, true},
      {1233, 1747, false}, {873, 1233, true},  {873, 1233, false},  {616, 873, true},
      {264, 436, false},   {436, 264, false},
  };
  const int kind = s.windowKind;
  if (kind == 0 || kind == kWindowKindList || kind == kWindowKindFull || kind == 14) return false;
  if (kind >= 1 && kind <= 10) {
    *paper = kPapers[kind - 1];
  } else {
    *paper = PaperSize{s.contentWidth - 2 * leftMargin, s.contentHeight, false};
  }
  return true;
}

void PaintRuledLine(const WindowSlot& s, int index) {
  const RuledLine& line = g_ruledLines[index];
  if (line.kind != 'L' || line.x2 < line.x1 || line.y2 < line.y1) return;
  if (line.x2 == line.x1 && line.y2 == line.y1) return;
  const int headerBottom = s.scrollY + s.headerHeight;
  if (line.y2 < headerBottom) return;
  const int x1 = line.x1, x2 = line.x2, y2 = line.y2;
  const int y1 = std::max(line.y1, headerBottom);
  const bool frame = x2 > x1 && y2 > y1;
  PaintContext& c = ActivePaintContext();
  auto draw = [&](int dx, int dy, int width, int color) {
    if (frame) {
      GdiOwner<HPEN> pen(CreatePen(c.penStyle, width, ColorFromCode(color)));
      SelectScope usePen(c.dc, pen.get());
      SelectScope useBrush(c.dc, GetStockObject(NULL_BRUSH));
      Rectangle(c.dc, x1 + dx, y1 + dy, x2 + dx + 1, y2 + dy + 1);
    } else {
      DrawPaintLine(x1 + dx, y1 + dy, x2 + dx, y2 + dy, width, color);
    }
  };
  const int previousPen = c.penStyle;
  const bool selected = s.lineEditMode && index == g_lineEdit.selectedLine;
  if (selected) {
    c.penStyle = PS_SOLID;
    draw(0, 0, 1, 2);
  } else if (line.sizeCode == 5) {
    c.penStyle = PS_DOT;
    draw(0, 0, 1, 0);
  } else if (line.sizeCode == kRuledLineCutFrame) {
    c.penStyle = PS_SOLID;
    draw(0, 0, 2, 4);
    const char* label = "切り取り枠";
    DrawTextAt(x2 - MeasureTextWidth(label) - 2, y1 - 14, label, 2);
  } else if (line.sizeCode == 7) {
    c.penStyle = PS_SOLID;
    draw(-1, -1, 1, 0);
    draw(0, 0, 1, 7);
  } else if (line.sizeCode == 8) {
    Draw3DEdge(x1, y1, x2, y2, 0);
  } else {
    c.penStyle = PS_SOLID;
    draw(0, 0, std::max(1, line.sizeCode), 0);
  }
  c.penStyle = previousPen;
}

void PaintGuideLines(const WindowSlot& s, int left, int top, const PaperSize& paper) {
  PaintContext& c = ActivePaintContext();
  const int previous = c.penStyle;
  c.penStyle = PS_DOT;
  const int color = s.guideColourFlag == 0 ? 5 : 2;
  const int pitch = std::max(1, s.rowPitch);
  for (int y = top; y <= top + paper.height; y += pitch) {
    DrawPaintLine(left, y, left + paper.width, y, 1, color);
  }
  if (paper.landscape) {
    const int x = left + paper.width / 2;
    DrawPaintLine(x, top, x, top + paper.height, 1, color);
  }
  c.penStyle = previous;
}

int FrameModeOf(const ScreenItem& item) {
  if (item.kind == 'M' || item.kind == 'B') return 2;
  return item.itemClass == kItemClassThinFrame || item.itemClass == kItemClassThickFrame ? 1 : 0;
}

}  // namespace

bool IsRepeatedCopy(const ScreenItem& item) {
  if (item.linkValue != -1 || item.name.size() < 2) return false;
  const std::string tail = item.name.substr(item.name.size() - 2);
  if (tail[0] < '0' || tail[0] > '9' || tail[1] < '0' || tail[1] > '9') return false;
  return std::stoi(tail) >= 1;
}

bool ItemHasCaptionFrame(int slot, const ScreenItem& item) {
  if (!Slot(slot).frameFlag || item.titleStyle == 10 || item.kind == 'R' || item.kind == 'C') {
    return false;
  }
  switch (item.itemClass) {
    case kItemClassNoFrame:
    case kItemClassIcon:
    case kItemClassPlan:
    case kItemClassSheet:
      return false;
    default:
      return true;
  }
}

int GetItemRect(int i, ItemCaptionRect* rect) {
  const ScreenItem& item = Item(i);
  *rect = ItemCaptionRect();
  const int length = static_cast<int>(item.caption.size());
  const int style = item.titleStyle;
  if (length == 0 || style == 5 || style == 6 || style == 7 || style == 11 || style == 13) {
    return length;
  }
  const int unit = item.charSize > 0 ? item.charSize : kBaseCharWidth;
  int left = item.pixelX, top = item.pixelY;
  int right = left + item.pixelWidth, bottom = top + item.pixelHeight;
  const bool sheet = item.itemClass == kItemClassSheet;
  if (sheet) {
    int grow = SheetDotsPerGridUnit();
    if (item.edit == 'C' && (item.markType == 23 || item.markType == 24)) {
      grow = item.boxHeight * kSheetMarginUnit / 2 *
             static_cast<int>(SplitAtBars(item.caption.c_str()).size());
    }
    left -= grow;
    top -= grow;
    right += grow;
    bottom += grow;
  }
  const int above = 2 * unit + 8 + (sheet ? 10 : 0);
  if (style == 3 || style == 14 || style == 15) {
    *rect = ItemCaptionRect{left, top - above, right, top, kCaptionAboveBelow};
  } else if (style == 4) {
    *rect = ItemCaptionRect{left, bottom, right, bottom + above, kCaptionAboveBelow};
  } else if (style == 2) {
    *rect = ItemCaptionRect{right, top, right + (length + 1) * unit - 2, bottom, kCaptionBeside};
  } else {
    const int split = GetCaptionSplitColumn(i);
    if (split >= 0) {
      *rect = ItemCaptionRect{left - (split + 1) * unit, top,
                              right + (length - split - 1) * unit, bottom, kCaptionSplit};
    } else {
      *rect = ItemCaptionRect{left - (length + 1) * unit, top, left, bottom, kCaptionBeside};
    }
  }
  return length;
}

std::vector<CaptionPart> GetCaptionParts(int i) {
  const ScreenItem& item = Item(i);
  ItemCaptionRect r;
  GetItemRect(i, &r);
  if (r.placement == kCaptionNone) return {};
  if (r.placement != kCaptionSplit) return {CaptionPart{r, item.caption}};
  const size_t split = static_cast<size_t>(GetCaptionSplitColumn(i));
  const std::string text = GetCaptionSplitText();
  ItemCaptionRect before = r, after = r;
  before.right = item.pixelX;
  after.left = item.pixelX + item.pixelWidth;
  return {CaptionPart{before, text.substr(0, split)}, CaptionPart{after, text.substr(split + 1)}};
}

void PaintSlotItems(int slot, int pass) {
  const WindowSlot& s = Slot(slot);
  if (s.itemCount <= 0) return;
  const bool design = s.lineEditMode != 0;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (item.state == kItemHidden) continue;
    const bool secondPass = item.titleStyle == 13 || IsFixedItem(item);
    if (secondPass != (pass == 2)) continue;
    if (design && (item.titleStyle == 13 || IsRepeatedCopy(item))) continue;
    if (!design && item.picture) {
      int width = 0, height = 0;
      GetImageSize(item.picture, &width, &height);
      const int ratio = g_sheetCanvas.displayRatio;
      DrawPaintImage(item.picture, item.pixelX + item.pixelWidth + 2, item.pixelY,
                     width * ratio / 100, height * ratio / 100);
    }
    const std::vector<CaptionPart> parts = GetCaptionParts(i);
    if (ItemHasCaptionFrame(slot, item)) {
      for (const CaptionPart& part : parts) {
        const ItemCaptionRect& r = part.rect;
        Draw3DEdge(r.left, r.top, r.right, r.bottom, 2);
        if (item.itemClass == kItemClassThickFrame) {
          Draw3DEdge(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1, 2);
        }
      }
    }
    if (!parts.empty()) PaintItemCaption(i, item.caption.c_str());
    const std::string text = FormatItemDisplayText(i);
    PaintItemFrame(i, FrameModeOf(item));
    PaintListField(i, text.c_str());
  }
}

void PaintScreenPage(HWND window, int slot) {
  if (!IsValidSlot(slot) || !PaintDC()) return;
  const WindowSlot& s = Slot(slot);
  const int top = s.headerHeight + s.headerUnit;
  // The sheet canvas places its scanned image itself, under the paper's
  // guides.
  if (s.backgroundImage && s.screenType != kScreenTypeSheet) DrawPaintImage(s.backgroundImage, 0, top, 0, 0);

  const int left = s.fontUnit;
  PaperSize paper{};
  const bool hasPaper = PaperOfKind(s, left, &paper);
  if (hasPaper) {
    Draw3DEdge(left, top, left + paper.width, top + paper.height, 0);
    if (paper.landscape) {
      Draw3DEdge(left + paper.width / 2, top, left + paper.width, top + paper.height, 0);
    }
  }
  const bool listFrame = s.windowKind == kWindowKindList;
  const int listRight = s.contentWidth - left;
  const int listBottom = s.contentHeight;
  if (listFrame) {
    PaintContext& c = ActivePaintContext();
    SetPaintBrush(6, 7);
    DrawBox(left, top, listRight, listBottom, 0, 0);
    c.fillStyle = -1;
  }
  if (s.lineEditMode && s.screenType != kScreenTypeSheet && hasPaper) {
    PaintGuideLines(s, left, top, paper);
  } else if (listFrame && !s.lineEditMode) {
    for (int y = top + s.rowPitch; y < listBottom && s.rowPitch > 0; y += s.rowPitch) {
      DrawPaintLine(left, y, listRight, y, 1, 6);
    }
  }
  for (int k = s.firstLine; k < s.firstLine + s.lineCount && k < kMaxRuledLines; ++k) {
    if (k >= 0) PaintRuledLine(s, k);
  }

  PaintSlotItems(slot, 1);
  if (s.screenType != kScreenTypeSheet) {
    const bool banded = s.screenType == kScreenTypeList || s.screenType == kScreenTypeCard ||
                        s.screenType == kScreenTypeSet;
    const ScreenMetrics& m = g_screen.metrics;
    const int placing = s.placingHeight > 0 ? s.placingHeight : m.placingHeight;
    const int right = s.contentWidth + std::max(0, s.windowWidth - m.screenWidth);
    const int bottom = s.contentHeight + std::max(0, s.windowHeight - placing);
    DrawFieldFrame(slot, 0, banded ? s.headerHeight : 0, right, bottom);
  }
  if (s.screenType != kScreenTypeForm && s.screenType != kScreenTypeSheet) PaintSlotItems(slot, 2);
  PaintRowBar(slot);

  const DesignSelection& sel = g_designSelection;
  if ((sel.state == 1 || sel.state == 4) && sel.top >= s.scrollY + s.headerHeight) {
    DrawFrameLines(sel.left, sel.top, sel.right, sel.bottom, 2, sel.state == 1 ? 2 : 1);
  }
}
