// Where the parts of a printed OCR sheet go: the item's place in report and
// device units, its boxes, the sizes of box characters and labels, the
// grade of a read mark, the guide of a write-in box and the place of the
// title. Integer arithmetic only, so it builds and is tested natively too.
#include <algorithm>

#include "tally/tally.h"

namespace {

// Floor division for any sign of the numerator; the denominator is above 0.
long long FloorDivide(long long numerator, long long denominator) {
  const long long q = numerator / denominator;
  return (numerator % denominator != 0 && numerator < 0) ? q - 1 : q;
}

// The registration shift of one axis.
int RegistrationShift(int extent, int unitDivisor) {
  return extent != 0 ? extent / std::max(1, unitDivisor) - 5 : -5;
}

bool IsOvalLabel(int labelPosition) { return labelPosition == 23 || labelPosition == 24; }

}  // namespace

int RoundHalfUpRatio(long long numerator, long long denominator) {
  return static_cast<int>(FloorDivide(2 * numerator + denominator, 2 * denominator));
}

SheetItemPlace PlaceSheetItem(int x, int y, int width, int height, int xExtent, int yExtent,
                              const SheetPrintUnits& units) {
  const int s = units.scale;
  const int gu = std::max(1, units.gridUnit);
  SheetItemPlace p;
  p.dx = RegistrationShift(xExtent, units.unitDivisor);
  p.dy = RegistrationShift(yExtent, units.unitDivisor);
  p.left = RoundHalfUpRatio(x, gu) + p.dx;
  p.top = RoundHalfUpRatio(y, gu) + p.dy;
  p.right = RoundHalfUpRatio(static_cast<long long>(x) + width, gu) + p.dx;
  p.bottom = p.top + RoundHalfUpRatio(height, gu);
  p.deviceLeft = RoundHalfUpRatio(static_cast<long long>(x) * s, gu) + p.dx * s;
  p.deviceRight = p.deviceLeft + RoundHalfUpRatio(static_cast<long long>(width) * s, gu);
  p.deviceTop = RoundHalfUpRatio(static_cast<long long>(y) * s, gu) + p.dy * s;
  p.deviceBottom = p.deviceTop + RoundHalfUpRatio(static_cast<long long>(height) * s, gu);
  return p;
}

SheetBoxSize SizeSheetBoxes(int boxWidth, int boxHeight, int pitch, int boxCount, bool sharedWidth,
                            int scale) {
  SheetBoxSize size;
  size.gap = std::max(0, pitch);
  size.height = boxHeight;
  if (sharedWidth && boxCount > 0) {
    const int shared = boxWidth - (boxCount - 1) * size.gap;
    size.width = shared / boxCount;
    size.deviceWidth = shared * scale / boxCount;
  } else {
    size.width = boxWidth;
    size.deviceWidth = boxWidth * scale;
  }
  size.step = size.width + size.gap;
  return size;
}

std::vector<PrintedBox> LayoutSheetBoxes(const SheetItemPlace& place, const SheetBoxSize& size,
                                         const SheetBoxLayout& layout, int scale) {
  std::vector<PrintedBox> boxes;
  const int s = scale;
  const bool grid = layout.check && layout.arrayDirection > 1 && layout.arrayRows > 0;
  const int perRow =
      grid ? std::max(1, (layout.boxCount + layout.arrayRows - 1) / layout.arrayRows) : 0;
  int column = 0, row = 0;
  for (int p = 1; p <= layout.boxCount; ++p) {
    PrintedBox box;
    box.top = place.deviceTop;
    box.bottom = place.deviceBottom;
    if (!layout.check && !layout.answerFrames) {
      box.left = place.deviceLeft + (size.gap * s + size.deviceWidth) * (p - 1);
      box.right = box.left + size.deviceWidth;
    } else if (grid) {
      box.left = place.deviceLeft + size.step * s * column;
      box.top = place.deviceTop + (size.height + layout.rowStep) * s * row;
      box.right = box.left + size.width * s;
      box.bottom = box.top + size.height * s;
      if (layout.arrayDirection == 2) {
        if (p % perRow != 0) {
          ++column;
        } else {
          column = 0;
          ++row;
        }
      } else if (layout.arrayDirection == 3) {
        if (p % layout.arrayRows != 0) {
          ++row;
        } else {
          row = 0;
          ++column;
        }
      }
    } else {
      box.left = place.deviceLeft + size.step * s * (p - 1);
      box.right = box.left + size.width * s;
    }
    boxes.push_back(box);
  }
  return boxes;
}

int SheetBoxCharHeight(int printOption, int boxWidth, int boxHeight, int scale) {
  const int side = std::min(boxWidth, boxHeight);
  if (printOption == kSheetPrintBlank) return (side - 1) * scale + (side - 1 <= 4 ? 5 : 0);
  return std::max(360, (side - 5) * scale);
}

int SheetLabelHeight(int fontSize, unsigned char labelByte, const SheetPrintUnits& units) {
  const long long scaled = static_cast<long long>(fontSize) * units.scale;
  const int ud = std::max(1, units.unitDivisor);
  if (labelByte == 0xDE || labelByte == 0xDF) return RoundHalfUpRatio(scaled * 12, 5LL * ud);
  if (labelByte >= 0xB1 && labelByte <= 0xDD) return RoundHalfUpRatio(scaled * 6, 5LL * ud);
  return static_cast<int>(scaled / ud);
}

bool LabelIsOneByte(int labelPosition, bool overlayHasComma, int boxCount) {
  // Commas part the labels wherever they stand, inside the boxes too.
  return !overlayHasComma && (labelPosition == 23 || labelPosition == 24 || boxCount > 1);
}

AnswerMark GradeAnswerMark(int markType, int densityPerMille, int threshold) {
  AnswerMark mark;
  mark.oval = markType == 1;
  if (mark.oval) {
    mark.density = RoundHalfUpRatio(densityPerMille, 10);
    mark.grey = 200 - (mark.density - threshold) * 3;
  } else {
    mark.density = densityPerMille;
    mark.grey = 200 - ((mark.density - threshold) / 2) * 4;
  }
  // A box read as marked below its threshold (a changed threshold, a value
  // typed in) would give a level above white; both ends stay in range.
  mark.grey = std::clamp(mark.grey, 0, 255);
  return mark;
}

bool IsUnclearMark(const AnswerMark& mark, int threshold, int unclearMargin) {
  return unclearMargin >= 1 && mark.density - threshold <= unclearMargin;
}

WriteInGuide ChooseWriteInGuide(const WriteInGuideCase& c) {
  const bool dashBox = c.typeMask.size() >= 10 && c.typeMask[9] == '1';
  if (dashBox && c.box == 4) return WriteInGuide::kNone;
  if (c.overlayHasChar) return WriteInGuide::kNone;
  if (c.valueEmpty && c.guideFigures == 1 && !IsMonochromePrint(c.printColour)) {
    bool figure;
    if (c.keyField && c.keyNumbering == 1) {
      figure = true;
    } else if (c.keyField && c.keyNumbering == 2) {
      figure = false;
    } else {
      figure = c.typeMask == "1000000000" || c.typeMask == "1100000000" || dashBox;
    }
    if (!figure) return WriteInGuide::kNone;
    const bool barFirst = c.box == 1 && static_cast<int>(c.maximum.size()) == c.boxCount &&
                          !c.maximum.empty() && c.maximum[0] == '1';
    return barFirst ? WriteInGuide::kBar : WriteInGuide::kFigure8;
  }
  if (c.strokeWeight == 1 && c.valueEmpty) return WriteInGuide::kDots;
  return WriteInGuide::kNone;
}

SheetTitleRect PlaceSheetTitle(const SheetTitleCase& c) {
  SheetTitleRect r;
  const int s = c.scale;
  const bool framed = c.shading == 0 || c.shading == 2;  // g2
  const bool oval = IsOvalLabel(c.labelPosition);
  const int inset = oval ? c.pitch * s / 2 : c.gridUnit;
  int left = c.deviceLeft - inset;
  int right = c.deviceRight - inset;
  int top = 0, bottom = 0;
  int textWidth = c.textWidth + 2 * s;
  const int textHeight = c.textHeight + 2 * s;
  switch (c.titlePosition) {
    case 1:
      if (!oval && framed) left -= s;
      right = left;
      left = right - textWidth;
      top = c.deviceTop;
      bottom = c.deviceBottom;
      if (framed) top -= s, bottom += s;
      break;
    case 2:
      if (!oval) {
        if (!c.textItem) textWidth = c.textWidth + 4 * s;
        right = c.deviceRight + (c.titleFrame != 0 ? s : 0) + (framed ? s : 0);
      }
      left = right;
      right = left + textWidth;
      top = c.deviceTop;
      bottom = c.deviceBottom;
      if (!oval && framed) top -= s, bottom += s;
      break;
    case 4:
      top = c.deviceBottom + 2 * s;
      bottom = top + textHeight;
      if (!oval && framed) left = c.deviceLeft - s, right = c.deviceRight + s;
      break;
    case 3:
      top = c.deviceTop - s;
      if (oval) {
        top -= s * ((c.rowStep > 0 ? c.rowStep : 3) - 2);
      } else if (framed) {
        left = c.deviceLeft - s;
        right = c.deviceRight + s;
        top -= s;
      }
      bottom = top;
      top = bottom - textHeight;
      break;
    default: return r;  // 5 and any other position: no title
  }
  r.shown = true;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}
