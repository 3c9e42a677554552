// Compensation of a page against the reference marks registered for its side
// and resolution: the shift of the top-left mark and, with two or three
// marks, the width and height ratios; and which missing mark stops it.
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

}  // namespace

double DotsPerUnit(double stored, int dpi) { return stored == 0 ? dpi / 100 : stored; }

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
  const MarkPoint& tl = found.topLeft;
  result.shiftX = tl.x < 0 || references.x1 < 0 ? 0 : tl.x - references.x1;
  result.shiftY = tl.y < 0 || references.y1 < 0 ? 0 : tl.y - references.y1;
  if (mode == 2 || mode == 3) {
    result.widthRatio = Ratio(tl.x, found.topRight.x, references.x1, references.x2);
  }
  if (mode == 3) {
    result.heightRatio = Ratio(tl.y, found.bottomLeft.y, references.y1, references.y3);
  }
  return result;
}
