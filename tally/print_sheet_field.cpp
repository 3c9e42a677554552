// One item of an OCR sheet on the report page: its colours, font and place,
// then the image, the sheet text or the field (print_sheet_boxes.cpp), and
// last its title. A blank sheet prints guides and numbers; the answer print
// of a read sheet prints every frame in grey with the read values.
#include <algorithm>
#include <string>

#include "screen/screen.h"
#include "tally/report_internal.h"

namespace {

bool IsTextItem(const ScreenItem& item) { return !item.code.empty() && item.code[0] == 'T'; }
bool IsCheckField(const ScreenItem& item) { return item.edit == 'C'; }

// The kinds of sheet items: images, texts (area codes "T..."), and fields
// (area codes of digits) of the sheet's edit letters. Any other item is
// not printed at all, so nothing of another item's drawing carries over.
enum class SheetItemKind { kImage, kText, kField, kUnknown };

SheetItemKind KindOf(const ScreenItem& item) {
  if (item.edit == 'I') return SheetItemKind::kImage;
  if (IsTextItem(item)) return SheetItemKind::kText;
  const bool digits = !item.code.empty() && item.code[0] >= '0' && item.code[0] <= '9';
  if (digits && std::string("LZDRC").find(item.edit) != std::string::npos) {
    return SheetItemKind::kField;
  }
  return SheetItemKind::kUnknown;
}

// The reading run measures the boxes of a field from the grid step after
// the field's column (drawn ovals have places of their own), so a field
// prints there.
int ReadColumnStep(const ScreenItem& item) {
  return KindOf(item) == SheetItemKind::kField && item.boxShape != 23 ? 1 : 0;
}

SheetItemJob StartSheetItem(int i, int xExtent, int yExtent) {
  const ScreenItem& item = Item(i);
  SheetItemJob job;
  job.item = i;
  job.units = CurrentSheetUnits();
  job.xExtent = xExtent;
  job.yExtent = yExtent;
  job.answer = g_sheetPrint.printOption == kSheetPrintAnswer;
  job.value = item.displayText;
  if (job.answer) {
    job.colour = 0;
    g_sheetPrint.sheetColour = 9;
  } else {
    job.colour = g_sheetPrint.printColour;
    // Read ovals print in colour even on a monochrome sheet.
    if (IsMonochromePrint(job.colour) && IsCheckField(item) && item.boxShape == 23 &&
        item.threshold != -1) {
      job.colour = 41;
    }
    g_sheetPrint.sheetColour = job.colour;
  }
  job.fontSize = 2 * item.charSize;
  if (job.fontSize >= 1) {
    SelectPrinterFont(0, ReportOnPrinter() ? SheetFontHeight(job, job.fontSize) : job.fontSize);
  }
  job.place = PlaceSheetItem(item.pixelX + ReadColumnStep(item), item.pixelY, item.pixelWidth,
                             item.pixelHeight, xExtent, yExtent, job.units);
  return job;
}

// An image prints on the printer only, at its own size, when the sheet asks
// for it (the item's box colour 12 or its count 1), and has no title.
void PrintImageItem(const SheetItemJob& job) {
  const ScreenItem& item = Item(job.item);
  if (!ReportOnPrinter() || !(item.colorB == 12 || item.count == 1)) return;
  const std::string file = item.joinText.empty() ? item.caption : item.joinText;
  const int s = job.units.scale;
  PrintSheetImage(file.c_str(), job.place.left * s, job.place.top * s, -1, -1);
}

// A sheet text: its frame and ground, then its text in lines, in the
// handwriting face for weight 3.
void PrintTextItem(const SheetItemJob& job) {
  const ScreenItem& item = Item(job.item);
  const SheetItemPlace& p = job.place;
  const int s = job.units.scale;
  const int cs = item.charSize;
  SetReportTextColor(SheetTextColour(job, item.colorA));
  PrintItemNumber(job.item, p.deviceLeft, p.deviceTop, p.deviceRight, p.deviceBottom);
  const std::string& text = item.overlayText;
  const bool hasText = !text.empty() && cs > 0 && item.width > 0;
  if (hasText && item.strokeWeight == 2) SelectPrinterFont(1, SheetFontHeight(job, job.fontSize));
  if (hasText && item.strokeWeight == 3) {
    SelectFontByName(FaceNameOfCode(4), SheetFontHeight(job, job.fontSize));
    if (job.colour != 0) SetReportTextColor(0);
  }
  const int boxCharWidth = ReportTextExtent("□").cx;
  if (item.strokeWeight != 3) {
    // The white ground goes under the frame, so the frame stays whole.
    if (item.markType == 1) {
      DrawSheetRect(p.deviceLeft, p.deviceTop, p.deviceRight, p.deviceBottom, 1, PS_NULL,
                    job.colour, 6, 7);
    }
    if (item.frameStyle == 1) {
      SetPrintLineStyle(2);
      if (job.answer) {
        DrawSheetBox(p.deviceLeft, p.deviceTop, p.deviceRight, p.deviceBottom, 1,
                     g_sheetPrint.sheetColour);
      } else {
        DrawSheetRule(p.deviceLeft, p.deviceTop, p.deviceRight, p.deviceBottom, 1,
                      g_sheetPrint.sheetColour);
      }
    } else if (item.frameStyle == 2) {
      SetPrintLineStyle(0);
      DrawSheetBox(p.deviceLeft, p.deviceTop, p.deviceRight, p.deviceBottom, 1,
                   g_sheetPrint.sheetColour);
    }
  }
  if (!hasText) return;
  const int lineStep =
      RoundHalfUpRatio(static_cast<long long>(cs / 2 + 2 * cs) * s, job.units.unitDivisor);
  const int characters = std::max(1, static_cast<int>(text.size()) / 2);
  const int lines = (characters + item.width - 1) / item.width;
  const int y =
      p.deviceTop + RoundHalfUpRatio(p.deviceBottom - p.deviceTop - lineStep * lines, 2) + cs / 2;
  int x = p.left * s;
  if (item.width == 1) {
    x = p.deviceLeft + RoundHalfUpRatio(p.deviceRight - p.deviceLeft - boxCharWidth, 2);
  } else if (item.width <= 100) {
    x = p.left * s + RoundHalfUpRatio(boxCharWidth, 4);
  }
  if (item.strokeWeight == 3) {
    PrintCharsDecorated(job.item, x, y, text.c_str(), job.colour);
  } else {
    ReportTextOutAt(lines == 1 ? 1 : 0, 2 * item.width, lineStep, x, y, text.c_str());
  }
}

// The title of an item: its frame and its text, by its title position.
void PrintTitle(const SheetItemJob& job) {
  const ScreenItem& item = Item(job.item);
  const SheetItemPlace& p = job.place;
  const int s = job.units.scale;
  if (item.caption.empty()) return;
  SelectPrinterFont(item.faceFlag == 1 ? 1 : 0, SheetFontHeight(job, job.fontSize));
  const SIZE extent = ReportTextExtent(item.caption.c_str());
  SheetTitleCase c;
  c.deviceLeft = p.deviceLeft;
  c.deviceTop = p.deviceTop;
  c.deviceRight = p.deviceRight;
  c.deviceBottom = p.deviceBottom;
  c.scale = s;
  c.gridUnit = job.units.gridUnit;
  c.pitch = item.bSize;
  c.labelPosition = item.boxShape;
  c.titlePosition = item.titleStyle;
  c.titleFrame = item.frameStyle;
  c.shading = item.shading;
  c.rowStep = item.rowGap;
  c.textItem = IsTextItem(item);
  c.textWidth = extent.cx;
  c.textHeight = extent.cy;
  SheetTitleRect t = PlaceSheetTitle(c);
  if (!t.shown) return;
  const bool oval = item.boxShape == 23 || item.boxShape == 24;
  const bool check = IsCheckField(item);
  if (!c.textItem && item.frameStyle != 0) {
    SetPrintLineStyle(0);
    if (item.titleStyle != 1 || oval) {
      if (job.answer) {
        DrawSheetBox(t.left, t.top, t.right, t.bottom, 1, g_sheetPrint.sheetColour);
      } else if (item.boxShape == 23) {
        SetPrintLineStyle(item.frameStyle == 1 ? 2 : 0);
        if (item.titleStyle != 1) DrawSheetBox(t.left, t.top, t.right, t.bottom, 1, job.colour);
      } else {
        if (check && item.titleStyle == 3) {
          t.right = ((item.pixelX + item.pixelWidth) / job.units.gridUnit + p.dx - 1) * s;
        }
        if (check && item.titleStyle != 1) {
          DrawSheetRuleFrame(t.left, t.top, t.right, t.bottom, item.frameStyle,
                             g_sheetPrint.sheetColour);
        } else if (!check) {
          DrawSheetRuleFrame(t.left, t.top, t.right, t.bottom, -1, g_sheetPrint.sheetColour);
        }
      }
    }
  }
  const int colour = SheetTextColour(job, item.colorA);
  if (!c.textItem && item.titleStyle == 1) {
    PrintItemCaption(job.item, item.caption.c_str(), colour, job.xExtent, job.yExtent);
    return;
  }
  SetReportTextColor(colour);
  PrintSheetText(0, t.left, t.top, t.right - t.left, t.bottom - t.top, item.caption.c_str());
}

}  // namespace

void PrintSheetField(int i, int xExtent, int yExtent) {
  const ScreenItem& item = Item(i);
  const SheetItemKind kind = KindOf(item);
  if (item.state == kItemHidden || kind == SheetItemKind::kUnknown || !ReportMeasureDC()) return;
  SheetItemJob job = StartSheetItem(i, xExtent, yExtent);
  if (kind == SheetItemKind::kImage) {
    PrintImageItem(job);
    return;
  }
  if (kind == SheetItemKind::kText) {
    PrintTextItem(job);
  } else {
    PrintSheetFieldBoxes(job);
  }
  PrintTitle(job);
  SetReportTextColor(0);
  SetPrintLineStyle(0);
}
