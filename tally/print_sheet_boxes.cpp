// The boxes of a write-in or check field on a printed sheet: frames, oval
// frames of a row or column, choice labels inside or beside the boxes,
// sample marks, handwriting guides, the characters of the value and the
// pre-printed characters; in the answer print the read marks graded grey.
// Boxes stand where the reading run measures them (LayoutSheetBoxes).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/csv_token.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"
#include "screen/screen.h"
#include "tally/report_internal.h"

namespace {

constexpr int kLabelCapacity = 200;

bool InRange(const char* c, const char* low, const char* high) {
  return std::memcmp(c, low, 2) >= 0 && std::memcmp(c, high, 2) <= 0;
}

// Digits and capitals, one byte or two, print in the handwriting face.
bool IsHandwritingChar(const std::string& c) {
  if (c.size() == 1) return (c[0] >= '0' && c[0] <= '9') || (c[0] >= 'A' && c[0] <= 'Z');
  return c.size() == 2 && (InRange(c.c_str(), "０", "９") || InRange(c.c_str(), "Ａ", "Ｚ"));
}

struct FieldBoxes {
  FieldBoxes(SheetItemJob& j, const ScreenItem& i) : job(j), item(i) {}
  SheetItemJob& job;
  const ScreenItem& item;
  SheetBoxSize size;
  std::vector<PrintedBox> boxes;         // frames and guides
  std::vector<PrintedBox> answerFrames;  // write-in frames of the answer print
  int boxCharHeight = 0;                 // hb
  bool check = false;
  int s = 1;
};

void Frame(const PrintedBox& b, int thickness, int colour) {
  DrawSheetRule(b.left, b.top, b.right, b.bottom, thickness, colour);
}

// Hundredths of a millimetre between a box and the middle of its outline:
// the outline's half width and the pixels by which the reading run's
// rectangle of a box in a grid reaches beyond the box at 200 dpi.
constexpr int kOutlineClearance = 40;

// A box's outline: a solid line around the box, so no part of it falls
// into the rectangle the reading run measures at any resolution it reads;
// between boxes closer than that, halfway between them.
void Outline(const FieldBoxes& f, const PrintedBox& b, int colour) {
  const int c = SheetLength(kOutlineClearance);
  const bool grid = f.check && f.item.recordCode >= 2 && f.item.groupSize >= 2;
  const int across = f.item.width > 1 ? std::min(c, f.size.gap * f.s / 2) : c;
  const int down = grid ? std::min(c, f.item.rowGap * f.s / 2) : c;
  SetPrintLineStyle(0);
  DrawSheetBox(b.left - across, b.top - down, b.right + across, b.bottom + down, 1, colour);
}

// The value loses its leading blanks when it is longer than the field, so
// numbers given with their padding still fit their boxes.
void TrimOverlongValue(FieldBoxes& f) {
  const ScreenItem& item = f.item;
  if (g_sheetPrint.printOption != kSheetPrintBlank || f.check || item.kind == 'Z') return;
  const std::string& v = f.job.value;
  const bool wide = !v.empty() && SjisCharLength(v.c_str()) == 2;
  const int characters = wide ? static_cast<int>(v.size()) / 2 : static_cast<int>(v.size());
  if (characters <= item.width) return;
  f.job.value = SkipLeadingSpaces(v.c_str());
  Item(f.job.item).displayText = f.job.value;
}

void PrintErrorNote(const FieldBoxes& f) {
  if (f.job.errorNote.empty()) return;
  SetReportTextColor(2);
  SelectPrinterFont(0, 3 * f.s);
  ReportTextAt(f.job.place.left * f.s, f.job.place.bottom * f.s, f.job.errorNote.c_str());
  SetReportTextColor(f.job.colour);
  SetPrintLineStyle(0);
}

// The read value of a check field in blue beside or below it.
void PrintAnswerValue(const FieldBoxes& f) {
  const ScreenItem& item = f.item;
  const SheetItemPlace& p = f.job.place;
  SelectPrinterFont(1, 3 * f.s);
  SetReportTextColor(1);
  const std::string text = "　" + f.job.value;
  if ((item.groupMode == 1 || item.groupMode == 2) && item.rowGap <= 4) {
    const int x = item.boxShape == 2 ? p.right : p.right - f.size.gap - 1;
    PrintSheetText(3, x, p.top, f.size.width, f.size.height, text.c_str());
  } else {
    ReportTextAt(p.left * f.s, p.bottom * f.s, text.c_str());
  }
  SetReportTextColor(0);
}

// The oval frames of a field of ovals: one over each row or column of a
// grid, else one over the field.
void PrintOvalFrames(const FieldBoxes& f, const PrintedBox& oval) {
  const ScreenItem& item = f.item;
  SetPrintLineStyle(item.shading == 0 ? 2 : 0);
  const int colour = g_sheetPrint.sheetColour;
  const int rows = item.groupSize;
  const int direction = item.recordCode;
  if (direction == 2 && rows > 0) {
    for (int r = 0; r < rows; ++r) {
      const int down = (f.size.height + item.rowGap) * f.s * r;
      DrawSheetBox(oval.left, oval.top + down, oval.right, oval.bottom + down, 1, colour);
    }
  } else if (direction == 3 && rows > 0) {
    const int columns = std::max(1, (item.width + rows - 1) / rows);
    const int bottom = oval.top + ((f.size.height + item.rowGap) * rows - (item.rowGap - 2)) * f.s;
    for (int k = 0; k < columns; ++k) {
      const int left = oval.left + f.size.step * f.s * k;
      DrawSheetBox(left, oval.top, left + f.size.step * f.s, bottom, 1, colour);
    }
  } else {
    DrawSheetBox(oval.left, oval.top, oval.right, oval.bottom, 1, colour);
  }
}

// The next character of the value from byte `ci` (from 0), and the bytes
// it takes.
std::string NextBoxChar(const std::string& value, size_t& ci) {
  if (ci >= value.size()) return "";
  const int length = ci + 1 < value.size() ? SjisCharLength(value.c_str() + ci) : 1;
  std::string c = value.substr(ci, length);
  ci += length;
  return c;
}

void SelectBoxCharFont(const FieldBoxes& f, const std::string& c) {
  if (f.job.answer) {
    SelectPrinterFont(1, f.boxCharHeight);
  } else if (g_sheetPrint.printFont.empty()) {
    if (IsHandwritingChar(c)) {
      SelectHandwritingFont(f.boxCharHeight);
    } else {
      SelectPrinterFont(1, f.boxCharHeight);
    }
  }
}

void DrawBoxFrame(const FieldBoxes& f, const PrintedBox& box, const PrintedBox& answerFrame) {
  const ScreenItem& item = f.item;
  const int sheetColour = g_sheetPrint.sheetColour;
  if (f.job.answer) {
    if (item.shading != 0 && item.shading != 2) {
      const PrintedBox& b = f.check ? box : answerFrame;
      DrawSheetBox(b.left, b.top, b.right, b.bottom, 1, sheetColour);
    }
    return;
  }
  if (item.boxShape == 23) {
    DrawMarkEllipse(box.left, box.top, box.right, box.bottom, f.job.colour);
  } else if (f.check && item.markType == 1) {
    SetPrintLineStyle(0);
    DrawMarkCircle(box.left, box.top, box.right, box.bottom, f.job.colour);
  } else {
    Outline(f, box, sheetColour);
  }
}

// The extent of `label` in the font of `height`, the font made smaller
// (and selected) when the label is wider than `room` device units: a label
// stays out of the next box. False when it would have to be smaller than
// half a millimetre (boxes that touch leave no room beside them): such a
// label is not printed, rather than drawn in a font a dot high, which
// prints nothing legible and which PostScript interpreters refuse.
bool FitLabel(const FieldBoxes& f, const std::string& label, int height, int room, SIZE* extent) {
  *extent = ReportTextExtent(label.c_str());
  if (extent->cx <= room || extent->cx <= 0) return true;
  const int smaller = static_cast<int>(static_cast<long long>(height) * std::max(0, room) / extent->cx);
  const HDC dc = ReportMeasureDC();
  const int halfMillimetre = dc ? GetDeviceCaps(dc, LOGPIXELSY) * 10 / 254 / 2 : 1;
  if (smaller < std::max(2, halfMillimetre)) return false;
  SelectPrinterFont(f.item.fontCode, smaller);
  *extent = ReportTextExtent(label.c_str());
  return true;
}

// A label drawn beside its box by the label position, in the font of
// `height`: beside the box within the gap to the next one, above or below
// it within its width and the gap, else within the box.
void PlaceOutsideLabel(const FieldBoxes& f, const PrintedBox& box, const std::string& label,
                       int height) {
  const ScreenItem& item = f.item;
  const int w = f.size.width * f.s, h = f.size.height * f.s;
  const int clearance = f.s / 2;
  const int gap = f.size.gap * f.s;
  int room = w - 2 * clearance;
  if (item.boxShape == 1 || item.boxShape == 2) room = gap - 2 * clearance;
  if (item.boxShape == 3 || item.boxShape == 4) room = w + gap - 2 * clearance;
  SIZE extent;
  if (!FitLabel(f, label, height, room, &extent)) return;
  const bool closeGrid = item.recordCode >= 2 && item.groupSize >= 2 && item.rowGap <= 6;
  const int g = closeGrid ? 1 : 2;
  switch (item.boxShape) {
    case 1:
      PrintSheetText(0, box.left - clearance - extent.cx, box.top, extent.cx, h, label.c_str());
      break;
    case 2: PrintSheetText(0, box.left + w + clearance, box.top, extent.cx, h, label.c_str()); break;
    case 3:
      PrintSheetText(0, box.left, box.top - extent.cy - g * f.s, w, extent.cy, label.c_str());
      break;
    case 4: PrintSheetText(0, box.left, box.top + h + g * f.s, w, extent.cy, label.c_str()); break;
    default: PrintSheetText(0, box.left, box.top, w, h, label.c_str()); break;
  }
}

// The mark of a box read as marked: "●" or "レ" in the grey of its
// density, and a red " ?" when it was a near thing.
void PrintAnswerMark(const FieldBoxes& f, const PrintedBox& box, int p) {
  const ScreenItem& item = f.item;
  const std::string& pattern = f.job.markPattern;
  if (static_cast<int>(pattern.size()) <= p || pattern[p] != '1') return;
  const int density = DecimalTextToInt(NthCsvField(p, item.readValues.c_str()));
  const AnswerMark mark = GradeAnswerMark(item.markType, density, item.threshold);
  const char* text = mark.oval ? "●" : "レ";
  const int w = f.size.width * f.s, h = f.size.height * f.s;
  SelectPrinterFont(1, SheetFontHeight(f.job, f.job.fontSize - 1));
  SetReportTextRgb(RGB(mark.grey, mark.grey, mark.grey));
  PrintSheetText(0, box.left, box.top, w, h, text);
  SetReportTextColor(0);
  if (IsUnclearMark(mark, item.threshold, g_sheetPrint.unclearMarkMargin)) {
    SetReportTextColor(2);
    PrintSheetText(0, box.left + ReportTextExtent(text).cx / 2, box.top, w, h, " ?");
    SetReportTextColor(0);
  }
}

// The sample mark of a box of a field that is not read, by the byte of
// its conversion condition.
void PrintSampleMark(const FieldBoxes& f, const PrintedBox& box, unsigned char mark) {
  HDC dc = ReportDrawDC();
  if (!dc) return;
  const int left = box.left, top = box.top, right = box.right, bottom = box.bottom;
  const int w = right - left, h = bottom - top;
  auto line = [&](int x1, int y1, int x2, int y2, int width) {
    ReportLineColor(dc, x1, SignedY(y1), x2, SignedY(y2), SheetLength(width), 0);
  };
  switch (mark) {
    case '*':
      DrawMarkEllipse(left, top, right, bottom, f.job.colour);
      DrawMarkEllipse(left, top, right, bottom, 100);
      break;
    case 0xA5:  // ･
      ReportCircle(left + w / 2, SignedY(top + h / 2), w / 4, 0, 0);
      break;
    case '-':
      line(left + w / 5 + SheetLength(30), top + h / 2, right - w / 5 - SheetLength(30),
           bottom - h / 2, 80);
      break;
    case 0xDA:  // ﾚ
      line(left + w / 3 + w / 5, top, left + w / 3, bottom - h / 4, 60);
      line(left + w / 3, bottom - h / 4, right - w / 5, bottom - h / 4 - h / 3, 60);
      break;
    case 'X':
      line(left + w / 5, top + h / 5, right - w / 5, bottom - h / 5, 60);
      line(right - w / 5, top + h / 5, left + w / 5, bottom - h / 5, 60);
      break;
    case '|': line(left + w / 2, top + h / 5, right - w / 2, bottom - h / 5, 80); break;
    default: break;
  }
}

// What a check box holds besides its frame.
void PrintCheckBox(FieldBoxes& f, const PrintedBox& box, int p, const std::string& label,
                   bool labelsOut, bool labelInside) {
  const ScreenItem& item = f.item;
  const int w = f.size.width * f.s, h = f.size.height * f.s;
  if ((item.shading == 0 || item.shading == 2) && item.boxShape != 23) {
    // The frame of a box and its label, a millimetre out where the gaps
    // leave room, else halfway into them: never into a neighbour's box.
    const bool grid = item.recordCode >= 2 && item.groupSize >= 2;
    const int wide = item.width == 1 && item.bSize == 0 ? item.boxWidth + 2 : f.size.step;
    const int across = item.width == 1 ? f.s : std::min(f.s, f.size.gap * f.s / 2);
    const int down = grid ? std::min(f.s, item.rowGap * f.s / 2) : f.s;
    DrawSheetRuleFrame(box.left - across, box.top - down, box.left + wide * f.s - across,
                       box.bottom + down, item.shading, g_sheetPrint.sheetColour);
  }
  if (labelInside) {
    if (f.job.answer && item.threshold == -1) return;
    const unsigned char b = label.empty() ? ' ' : static_cast<unsigned char>(label[0]);
    const int z = SheetLabelHeight(f.job.fontSize, b, f.job.units);
    SelectPrinterFont(item.fontCode, z);
    SetReportTextColor(f.job.colour);
    const bool voiced = b == 0xDE || b == 0xDF;
    const int j = voiced ? z / 3 : 0;
    PrintSheetText(0, box.left + j / 4, box.top + j, w, h, label.c_str());
  } else {
    const int height = SheetFontHeight(f.job, f.job.fontSize - 1);
    SelectPrinterFont(item.fontCode, height);
    SetReportTextColor(SheetTextColour(f.job, item.colorA));
    if (!labelsOut && item.boxShape != 5 && !label.empty()) PlaceOutsideLabel(f, box, label, height);
  }
  if (f.job.answer) PrintAnswerMark(f, box, p);
  if (item.threshold == -1 && !item.conversionText.empty()) {
    const std::string& condition = item.conversionText;
    PrintSampleMark(f, box, p <= static_cast<int>(condition.size()) ? condition[p - 1] : ' ');
  }
}

// Whether the overlay text holds a character for write-in box `p`.
bool OverlayHasChar(const ScreenItem& item, int p) {
  const std::string& overlay = item.overlayText;
  if (item.fullWidth == 2) {
    return p <= static_cast<int>(overlay.size()) && overlay[p - 1] != ' ';
  }
  const size_t at = static_cast<size_t>(2 * (p - 1));
  if (at + 1 >= overlay.size() + 1) return false;
  const std::string c = overlay.substr(at, 2);
  return c != "　" && c != "  " && c != " ";
}

void PrintWriteInBox(FieldBoxes& f, const PrintedBox& box, int p, const std::string& character) {
  const ScreenItem& item = f.item;
  if (!f.job.answer) {
    WriteInGuideCase c;
    c.box = p;
    c.boxCount = item.width;
    c.valueEmpty = f.job.value.empty();
    c.overlayHasChar = OverlayHasChar(item, p);
    c.guideFigures = g_sheetPrint.guideFigures;
    c.printColour = f.job.colour;
    c.keyField = !item.name.empty() && item.name == g_sheetPrint.lastKeyName;
    c.keyNumbering = g_sheetPrint.keyNumbering;
    c.typeMask = item.validChars;
    c.maximum = item.maxText;
    c.strokeWeight = item.strokeWeight;
    const WriteInGuide guide = ChooseWriteInGuide(c);
    if (guide == WriteInGuide::kBar || guide == WriteInGuide::kFigure8) {
      DrawMarkSymbol(box.left, box.top, box.right, box.bottom, guide == WriteInGuide::kBar ? 1 : 8,
                     f.job.colour);
    } else if (guide == WriteInGuide::kDots) {
      const int fifth = (f.job.place.deviceBottom - f.job.place.deviceTop) / 5;
      const int x = box.left + f.size.deviceWidth / 2;
      DrawSheetCornerDots(x, box.top + fifth, x, box.bottom - fifth, f.size.height <= 6 ? 1 : 0);
    }
  }
  SetReportTextColor(0);
  PrintSheetText(1, box.left, f.job.place.deviceTop, f.size.deviceWidth, f.size.height * f.s,
                 character.c_str());
}

// The characters the sheet prints in the boxes of an empty write-in field.
void PrintPreprintedChars(FieldBoxes& f) {
  const ScreenItem& item = f.item;
  const std::string& overlay = item.overlayText;
  if (f.check || overlay.empty() || !f.job.value.empty()) return;
  SetReportTextColor(0);
  const int count = std::min(item.width, static_cast<int>(overlay.size()));
  for (int p = 1; p <= count; ++p) {
    std::string c;
    if (item.fullWidth == 2) {
      c = overlay.substr(p - 1, 1);
      if (c == "/") {
        SelectFontByNameWeight(FaceNameOfCode(1), f.boxCharHeight + f.s, 600);
      } else if (IsHandwritingChar(c)) {
        SelectHandwritingFont(f.boxCharHeight);
      } else {
        SelectPrinterFont(1, f.boxCharHeight);
      }
    } else {
      const size_t at = static_cast<size_t>(2 * (p - 1));
      if (at >= overlay.size()) break;
      c = overlay.substr(at, 2);
      if (IsHandwritingChar(c)) {
        SelectHandwritingFont(f.boxCharHeight);
      } else {
        SelectPrinterFont(1, f.boxCharHeight);
      }
    }
    const int left = f.job.place.deviceLeft + (f.size.gap * f.s + f.size.deviceWidth) * (p - 1);
    PrintSheetText(0, left, f.job.place.deviceTop, f.size.width * f.s, f.size.height * f.s,
                   c.c_str());
  }
}

}  // namespace

void PrintSheetFieldBoxes(SheetItemJob& job) {
  const ScreenItem& item = Item(job.item);
  FieldBoxes f(job, item);
  f.check = item.edit == 'C';
  f.s = job.units.scale;
  const SheetItemPlace& p = job.place;
  const int s = f.s;
  TrimOverlongValue(f);
  f.size =
      SizeSheetBoxes(item.boxWidth, item.boxHeight, item.bSize, item.width, item.kind == 'Z', s);
  SheetBoxLayout layout;
  layout.check = f.check;
  layout.boxCount = item.width;
  if (f.check) {
    layout.arrayRows = item.groupSize;
    layout.arrayDirection = item.recordCode;
    layout.rowStep = item.rowGap;
  }
  f.boxes = LayoutSheetBoxes(p, f.size, layout, s);
  layout.answerFrames = true;
  f.answerFrames = LayoutSheetBoxes(p, f.size, layout, s);

  PrintErrorNote(f);
  SetPrintLineStyle(0);
  const PrintedBox outer{p.deviceLeft - s, p.deviceTop - s, p.deviceRight + s, p.deviceBottom + s};
  const int halfPitch = item.bSize * s / 2;
  const PrintedBox oval{p.deviceLeft - halfPitch, p.deviceTop - s, p.deviceRight - halfPitch,
                        p.deviceBottom + s};
  if (item.shading == 0 && !f.check) Frame(outer, 1, g_sheetPrint.sheetColour);
  f.boxCharHeight = SheetBoxCharHeight(g_sheetPrint.printOption, f.size.width, f.size.height, s);
  if (job.answer && f.check && job.errorNote.empty()) PrintAnswerValue(f);
  if (!g_sheetPrint.printFont.empty()) {
    SelectFontByName(g_sheetPrint.printFont.c_str(), f.boxCharHeight);
  }
  const PrintedBox whole{p.deviceLeft, p.deviceTop, p.deviceRight, p.deviceBottom};
  if (item.bSize == -1) {
    if (!job.answer) {
      Frame(whole, 1, g_sheetPrint.sheetColour);
    } else if (item.shading != 0 && item.shading != 2) {
      DrawSheetBox(whole.left, whole.top, whole.right, whole.bottom, 1, g_sheetPrint.sheetColour);
    }
  }
  if (item.boxShape == 23 && (item.shading == 0 || item.shading == 2)) PrintOvalFrames(f, oval);

  const std::string& overlay = item.overlayText;
  const bool comma = ContainsChar(overlay.c_str(), ',') != 0;
  const bool byteLabels = LabelIsOneByte(item.boxShape, comma, item.width);
  const bool labelInside = item.boxShape == 23 || (item.boxShape == 24 && !comma);
  CsvCursor labels;
  bool labelsOut = false;
  size_t ci = 0;
  for (int n = 1; n <= item.width; ++n) {
    std::string label;
    if (f.check) {
      if (byteLabels) {
        if (n <= static_cast<int>(overlay.size())) label = overlay.substr(n - 1, 1);
      } else if (!labelsOut) {
        char token[kLabelCapacity + 1] = "";
        if (NextCsvTokenWith(labels, token, kLabelCapacity, overlay.c_str()) == -1) {
          labelsOut = true;  // this one is the last label
        }
        label = token;
      }
    }
    const bool missing = label == "^";
    const PrintedBox& box = f.boxes[n - 1];
    std::string character = NextBoxChar(job.value, ci);
    SelectBoxCharFont(f, character);
    if (g_sheetPrint.printOption == kSheetPrintBlank && item.fullWidth == 2 &&
        character.size() == 2) {
      const std::string narrow = WideTextToNarrow(character.c_str());
      if (narrow != "*") character = narrow;
    }
    if (missing) continue;
    if (item.bSize >= 0) DrawBoxFrame(f, box, f.answerFrames[n - 1]);
    if (f.check) {
      const bool outOfLabels = labelsOut && !byteLabels && label.empty();
      PrintCheckBox(f, box, n, label, outOfLabels, labelInside);
    } else {
      PrintWriteInBox(f, box, n, character);
    }
  }
  SetReportTextColor(0);
  if (item.validChars.size() >= 10 && item.validChars[9] == '1' && item.width >= 4) {
    PrintSheetText(0, p.deviceLeft + f.size.step * 3 * s, p.deviceTop, f.size.width * s,
                   f.size.height * s, "－");
  }
  PrintPreprintedChars(f);
  SetReportTextColor(SheetTextColour(job, job.colour));
  SelectPrinterFont(0, ReportOnPrinter() ? SheetFontHeight(job, job.fontSize) : job.fontSize);
  PrintItemNumber(job.item, p.deviceLeft, p.deviceTop, p.deviceRight, p.deviceBottom);
}
