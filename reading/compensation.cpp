// Compensation of a page against the reference marks registered for its side
// and resolution, or where the sheet prints them when none are registered:
// the shift of the top-left mark and, with two or three marks, the width
// and height ratios; and which missing mark stops it.
#include <cmath>

#include "reading/sheet_core.h"

namespace {

bool Registered(int x, int y) { return x != kNotFound && y != kNotFound; }

// (found b - found a) / (reference b - reference a); 1.0 when any value is
// negative or the references do not span.
double Ratio(int foundA, int foundB, int referenceA, int referenceB) {
  if (foundA < 0 || foundB < 0 || referenceA < 0 || referenceB < 0) return 1.0;
  if (referenceB == referenceA) return 1.0;
  return static_cast<double>(foundB - foundA) / (referenceB - referenceA);
}

constexpr double kMmPerInch = 25.4;
constexpr double kMmPerGridUnit = 0.25;

int MmToPixels(double mm, int dpi) { return static_cast<int>(std::lround(mm * dpi / kMmPerInch)); }

// The positions the page is compared with: the registered ones, or the
// printed places of the marks when the top-left one is not registered.
struct ComparedMarks {
  MarkPoint topLeft, topRight, bottomLeft;
};
ComparedMarks ComparedWith(const ReferenceMarks& r) {
  if (Registered(r.x1, r.y1)) return {{r.x1, r.y1}, {r.x2, r.y2}, {r.x3, r.y3}};
  return {r.printedTopLeft, r.printedTopRight, r.printedBottomLeft};
}

}  // namespace

double DotsPerUnit(double stored, int dpi) {
  return stored == 0 ? dpi * kMmPerGridUnit / kMmPerInch : stored;
}

void SetPrintedMarkPlaces(int mode, const std::vector<RegistrationSquare>& squares, int dpi,
                          ReferenceMarks* references) {
  references->printedTopLeft = references->printedTopRight = references->printedBottomLeft =
      MarkPoint();
  if (mode < 1 || squares.empty()) return;
  // The search finds a mark at its corner away from the sheet's middle.
  const RegistrationSquare& tl = squares[0];
  references->printedTopLeft = {MmToPixels(tl.x, dpi), MmToPixels(tl.y, dpi)};
  if (mode >= 2 && squares.size() > 1) {
    const RegistrationSquare& tr = squares[1];
    references->printedTopRight = {MmToPixels(tr.x + tr.size, dpi) - 1, MmToPixels(tr.y, dpi)};
  }
  if (mode == 3 && squares.size() > 2) {
    const RegistrationSquare& bl = squares[2];
    references->printedBottomLeft = {MmToPixels(bl.x, dpi), MmToPixels(bl.y + bl.size, dpi) - 1};
  }
}

MissingMark FindMissingMark(int mode, const CornerMarkPositions& found,
                            const ReferenceMarks& references) {
  if (mode == 0) return MissingMark::kNone;
  if (!found.topLeft.found()) {
    return Registered(references.x1, references.y1) ? MissingMark::kTopLeft : MissingMark::kNone;
  }
  if ((mode == 2 || mode == 3) && !found.topRight.found() &&
      Registered(references.x2, references.y2)) {
    return MissingMark::kTopRight;
  }
  if (mode == 3 && !found.bottomLeft.found() && Registered(references.x3, references.y3)) {
    return MissingMark::kBottomLeft;
  }
  return MissingMark::kNone;
}

ImageCompensation ComputeCompensationValues(int mode, const CornerMarkPositions& found,
                                            const ReferenceMarks& references,
                                            const ImageCompensation& current) {
  if (mode == 0) return current;
  ImageCompensation result;
  const ComparedMarks reference = ComparedWith(references);
  const MarkPoint& tl = found.topLeft;
  const MarkPoint& rtl = reference.topLeft;
  result.shiftX = tl.x < 0 || rtl.x < 0 ? 0 : tl.x - rtl.x;
  result.shiftY = tl.y < 0 || rtl.y < 0 ? 0 : tl.y - rtl.y;
  if (mode == 2 || mode == 3) {
    result.widthRatio = Ratio(tl.x, found.topRight.x, rtl.x, reference.topRight.x);
  }
  if (mode == 3) {
    result.heightRatio = Ratio(tl.y, found.bottomLeft.y, rtl.y, reference.bottomLeft.y);
  }
  return result;
}
