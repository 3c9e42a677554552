// From a field's definition to the pixel rectangles of its boxes, and the ink
// density of each box in the sheet pixel matrix. Densities are counted in
// integers and rounded half up exactly, so a box on the threshold reads the
// same on every machine.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "reading/sheet_core.h"

namespace {

int RoundHalfUp(double value) { return static_cast<int>(std::floor(value + 0.5)); }

// Character types handed to a recogniser for a 10-position type mask.
int RecognitionMaskNumber(const std::string& mask) {
  if (mask == "1000000000") return 1;
  if (mask == "0001000000") return 24;
  if (mask.size() >= 10 && mask[9] == '1') return 257;
  static const int kValues[3] = {1, 640, 2};
  int sum = 0;
  for (int i = 0; i < 3 && i < static_cast<int>(mask.size()); ++i) {
    if (mask[i] == '1') sum += kValues[i];
  }
  return sum;
}

// Pixels by which a box's top and bottom move outward (write-in fields)
// or inward (check fields, negative) at a resolution.
int EdgeMove(int dpi, bool check) {
  const int e = dpi == 300 ? 4 : dpi == 400 ? 6 : 2;
  return check ? -e : e;
}


// Pixels by which an oval is measured inside the box printed for it on
// every side: the printed outline (two rings, 0.16 mm deep at most) and the
// pixel a scan blurs it by stay out, so an empty oval reads empty.
int OvalInset(int dpi) { return (dpi * 16 + 1270) / 2540 + 1; }

}  // namespace

FieldBoxLayout ComputeFieldLayout(const SheetFieldSpec& field, const SheetScale& scale,
                                  const ImageCompensation& compensation) {
  const double dx = scale.dotsX;
  const double dy = scale.dotsY;
  const int unit = scale.unit;
  const int gx = scale.gridShiftX;
  const int gy = scale.gridShiftY;
  const bool check = field.editLetter == 'C';
  // Ovals drawn with their choices inside fill their box from the field's
  // corner; other boxes start a grid dot in.
  const int inset = field.boxShape == 23 ? 0 : 1;

  FieldBoxLayout layout;
  layout.x = (field.column + inset - gx) * dx;
  layout.y = (field.row - gy) * dy;
  layout.boxHeight = field.boxHeight * unit * dy;
  layout.boxWidth = field.boxWidth * unit * dx;
  layout.pitch = field.pitch < 0 ? field.pitch : field.pitch * unit * dx;

  std::string typeMask = field.typeMask;
  if (check) {
    typeMask = "1100000000";
    layout.checkFlag = 1;
    layout.skipped = field.threshold == -1;
    layout.densityKind = field.markType != 0 ? 4 : 3;
    layout.threshold = field.markType != 0 ? field.threshold * 10 : field.threshold;
  } else {
    layout.densityKind = field.inputLetter == 'F' ? 1 : field.inputLetter == 'Z' ? 2 : 0;
  }

  if (check && field.arrayDirection >= 2 && field.arrayRows >= 1) {
    layout.arrayRows = field.arrayRows;
    layout.arrayDirection = field.arrayDirection;
    layout.rowStep = field.rowStep * unit * dy;
  }

  layout.x += compensation.shiftX;
  layout.y += compensation.shiftY;
  if (compensation.widthRatio != 1.0) {
    layout.x *= compensation.widthRatio;
    layout.boxWidth *= compensation.widthRatio;
    if (layout.pitch >= 0) layout.pitch *= compensation.widthRatio;
  }
  if (compensation.heightRatio != 1.0) {
    layout.y *= compensation.heightRatio;
    layout.boxHeight *= compensation.heightRatio;
    if (layout.rowStep != 0) layout.rowStep *= compensation.heightRatio;
  }
  layout.recognitionMask = RecognitionMaskNumber(typeMask);
  return layout;
}

// Boxes touch where a field has no gap between them or its rows: the
// outline they share stands on the box's edge, and half of it and what
// registration leaves of a skew must stay out of the count.
int CheckSideInset(int dpi, int side) { return std::min((dpi * 15 + 500) / 1000, std::max(0, side / 8)); }

std::vector<BoxRect> LayoutFieldBoxes(const FieldBoxLayout& layout, int boxCount, int dpi) {
  const bool check = layout.checkFlag == 1;
  const bool oval = layout.densityKind == 4;
  // An oval is measured over the whole box printed for it within its
  // outline, in a grid as in a row.
  const int e = oval ? 0 : EdgeMove(dpi, check);
  const bool checkBox = check && !oval;
  const int across = checkBox ? CheckSideInset(dpi, RoundHalfUp(layout.boxWidth)) : 0;
  const int down = checkBox ? CheckSideInset(dpi, RoundHalfUp(layout.boxHeight)) : 0;
  const double step = layout.boxWidth + layout.pitch;
  const int rows = layout.arrayRows;
  int perRow = 1;
  if (rows > 0) perRow = (boxCount + rows - 1) / rows > 1 ? (boxCount + rows - 1) / rows : 1;

  std::vector<BoxRect> boxes;
  boxes.reserve(boxCount > 0 ? boxCount : 0);
  int q = 0, r = 0;
  for (int s = 1; s <= boxCount; ++s) {
    BoxRect box;
    if (rows > 0) {
      box.left = RoundHalfUp(layout.x + step * q);
      box.right = box.left + RoundHalfUp(layout.boxWidth);
      box.top = RoundHalfUp(layout.y + (layout.boxHeight + layout.rowStep) * r) + down;
      box.bottom = box.top + RoundHalfUp(layout.boxHeight) - 2 * down;
      if (layout.arrayDirection == 2) {
        if (s % perRow == 0) {
          ++r;
          q = 0;
        } else {
          ++q;
        }
      } else if (layout.arrayDirection == 3) {
        if (s % rows == 0) {
          ++q;
          r = 0;
        } else {
          ++r;
        }
      }
    } else {
      box.left = RoundHalfUp(layout.x + step * (s - 1));
      box.right = RoundHalfUp(layout.x + step * (s - 1) + layout.boxWidth);
      box.top = RoundHalfUp(layout.y - e);
      box.bottom = RoundHalfUp(layout.y + layout.boxHeight + e);
    }
    if (oval) {
      const int in = OvalInset(dpi);
      box = {box.left + in, box.top + in, box.right - in, box.bottom - in};
    } else if (check) {
      box.left += across;
      box.right -= across;
    }
    boxes.push_back(box);
  }
  return boxes;
}

namespace {

// Adds the cells of a matrix row from x0 to x1 that were unpacked, and the
// black ones among them; the loop has no branch, so it runs a row at a time.
void CountRowInk(const char* row, int x0, int x1, BoxInk* ink) {
  int counted = 0, black = 0;
  for (int x = x0; x <= x1; ++x) {
    counted += row[x] != kCellEmpty;
    black += row[x] == kCellBlack;
  }
  ink->counted += counted;
  ink->black += black;
}

// The largest d >= 0 with 4 d² ry² <= rest (rest >= 0, ry > 0).
int64_t HalfSpan(int64_t rest, int64_t ry) {
  const int64_t unit = 4 * ry * ry;
  auto fits = [&](int64_t d) { return d * d * unit <= rest; };
  auto d = static_cast<int64_t>(std::sqrt(static_cast<double>(rest) / static_cast<double>(unit)));
  while (fits(d + 1)) ++d;
  while (d > 0 && !fits(d)) --d;
  return d;
}

}  // namespace

BoxInk MeasureBoxInk(const BoxRect& box, bool oval) {
  BoxInk ink;
  const int x0 = box.left < 0 ? 0 : box.left;
  const int y0 = box.top < 0 ? 0 : box.top;
  const int x1 = box.right < kMatrixColumns ? box.right : kMatrixColumns - 1;
  const int y1 = box.bottom < kMatrixRows ? box.bottom : kMatrixRows - 1;
  // The inscribed ellipse in integers: with RX = right - left and
  // RY = bottom - top, a cell counts when 4dx²RY² + 4dy²RX² <= RX²RY²;
  // on each row that is a run of cells about the centre.
  const int cx = (box.left + box.right) / 2;
  const int cy = (box.top + box.bottom) / 2;
  const int64_t rx = box.right - box.left;
  const int64_t ry = box.bottom - box.top;
  const int64_t limit = rx * rx * ry * ry;
  for (int y = y0; y <= y1; ++y) {
    int from = x0, to = x1;
    if (oval) {
      const int64_t dy = y - cy;
      const int64_t rest = limit - 4 * dy * dy * rx * rx;
      if (rest < 0) continue;
      if (ry > 0) {
        const int64_t d = HalfSpan(rest, ry);
        from = static_cast<int>(std::max<int64_t>(from, cx - d));
        to = static_cast<int>(std::min<int64_t>(to, cx + d));
      }
    }
    if (from <= to) CountRowInk(SheetCellRow(y), from, to, &ink);
  }
  return ink;
}

double BoxDensity(int left, int top, int right, int bottom, int oval) {
  const BoxInk ink = MeasureBoxInk({left, top, right, bottom}, oval != 0);
  return ink.counted == 0 ? 0.0 : static_cast<double>(ink.black) / ink.counted;
}

int DensityPerMille(const BoxInk& ink, int densityKind) {
  if (ink.counted == 0) return 0;
  const int64_t black = ink.black;
  const int64_t counted = ink.counted;
  if (densityKind == 4) return static_cast<int>(10 * ((200 * black + counted) / (2 * counted)));
  return static_cast<int>((2000 * black + counted) / (2 * counted));
}

FieldBoxReading ReadFieldBoxes(const FieldBoxLayout& layout, int boxCount, int dpi) {
  FieldBoxReading reading;
  reading.boxes = LayoutFieldBoxes(layout, boxCount, dpi);
  const bool measured = layout.densityKind == 3 || layout.densityKind == 4;
  for (std::size_t i = 0; i < reading.boxes.size(); ++i) {
    if (!measured) {
      reading.value += "\x81\x40";  // "　"
      continue;
    }
    const int d = DensityPerMille(MeasureBoxInk(reading.boxes[i], layout.densityKind == 4),
                                  layout.densityKind);
    reading.value += d >= layout.threshold ? "1" : " ";
    char number[16];
    std::snprintf(number, sizeof number, i == 0 ? "%d" : ",%d", d);
    reading.densities += number;
  }
  return reading;
}
