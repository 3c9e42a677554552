// The registration-mark search: solid squares near the corners of a page,
// found in the sheet pixel matrix by runs of black cells. A corner search
// scans its window from the sheet's edge inward and takes the first cell
// whose runs frame a square of side n + 1 to 2n - 1 with white around it, so
// the mark nearest the corner wins and bars, lines and specks do not.
//
// A page turned straight keeps the steps of its skewed scan: a mark's edge
// may end in a row (or column) that is black only in part, one pixel deep.
// Such a row neither makes the square shorter nor is its corner: the far
// edge may lie one row nearer when the row beyond holds black of the step,
// and a near row that the next row outreaches by more than a pixel is a
// step, not the mark's edge.
#include <algorithm>
#include <cmath>

#include "reading/sheet_core.h"

namespace {

// The corner being searched: which way is inward (away from its side) and
// into the sheet (away from its edge).
struct Corner {
  int inwardX;  // +1 for the left corners, -1 for the right ones
  int intoY;    // +1 for the top corners, -1 for the bottom ones
};

RunDirection Horizontal(int step) { return step > 0 ? RunDirection::kRight : RunDirection::kLeft; }
RunDirection Vertical(int step) { return step > 0 ? RunDirection::kDown : RunDirection::kUp; }

// The far edge of a square whose near edge is row y: row y + n black for
// n cells from x, or row y + n - 1 so with some black of a step in row y + n.
bool FarEdgeIsBlack(int x, int y, int n, int intoY, RunDirection inward) {
  const int far = y + n * intoY;
  if (RunIsBlack(x, far, n, inward)) return true;
  if (!RunIsBlack(x, far - intoY, n, inward)) return false;
  const int step = inward == RunDirection::kRight ? 1 : -1;
  for (int i = 0, cx = x; i < n; ++i, cx += step) {
    if (SheetCell(cx, far) == kCellBlack) return true;
  }
  return false;
}

// Whether row y, where a corner was found at x, is a step on the mark's
// near edge: the next row into the sheet reaches more than a pixel further
// out than row y's black does. A column step of one pixel is the mark's own
// edge.
bool IsStepRow(int x, int y, int n, const Corner& c) {
  int outer = x;  // the outermost black of row y joined to x
  for (int i = 0; i < n && SheetCell(outer - c.inwardX, y) == kCellBlack; ++i) {
    outer -= c.inwardX;
  }
  const int next = y + c.intoY;
  return SheetCell(outer - c.inwardX, next) == kCellBlack &&
         SheetCell(outer - 2 * c.inwardX, next) == kCellBlack;
}

bool IsMarkCorner(int x, int y, int n, const Corner& c) {
  const RunDirection inward = Horizontal(c.inwardX);
  const RunDirection outward = Horizontal(-c.inwardX);
  const RunDirection into = Vertical(c.intoY);
  const RunDirection out = Vertical(-c.intoY);
  const int qy = y + n * c.intoY;   // n cells into the sheet
  const int rx = x + n * c.inwardX;  // n cells inward
  // The near edges and the far edge of the square are black ...
  if (SheetCell(x, y) != kCellBlack || !RunIsBlack(x, y, n, inward) ||
      !RunIsBlack(x, y, n, into) || !FarEdgeIsBlack(x, y, n, c.intoY, inward)) {
    return false;
  }
  // ... the black does not go on beyond the square outward or inward ...
  if (RunIsBlack(x, y, n, outward) || RunIsBlack(x, qy, n, outward) ||
      RunIsBlack(rx, y, n, inward)) {
    return false;
  }
  // ... nor beyond it into or out of the sheet. The last test looks down from
  // (x + n, y + n) for every corner alike.
  return !RunIsBlack(x, qy, n, into) && !RunIsBlack(x, y, n, out) &&
         !RunIsBlack(x + n, y + n, n, RunDirection::kDown) && !IsStepRow(x, y, n, c);
}

bool RowInTopBand(int y, int height) {
  return y < g_markSearchParameters.verticalWindow && y < height && y < kMatrixRows;
}
bool RowInBottomBand(int y, int height) {
  return y > height - g_markSearchParameters.verticalWindow - 1 && y >= 0;
}
bool ColumnInLeftBand(int x, int width) {
  return x < width && x < g_markSearchParameters.horizontalWindow && x < kMatrixColumns;
}
bool ColumnInRightBand(int x, int width) {
  return x > width - g_markSearchParameters.horizontalWindow - 1 && x >= 0;
}

// How far a page turned straight may still lean, in degrees: the turn
// leaves a pixel or two across the page (under 0.1 degree at 200 dpi); a
// top-left mark taken from the square 4 or 5 mm below it leans it by about
// a degree.
constexpr double kStraightenedTilt = 0.25;

// Columns left of the top-left corner where the back mark may begin.
constexpr int kBackMarkSlack = 3;

double TiltDegrees(const MarkPoint& from, const MarkPoint& to) {
  // The divisor is 3.14, as the stored reference tilts were computed.
  return std::atan2(to.y - from.y, to.x - from.x) * 180 / 3.14;
}

}  // namespace

int RunIsBlack(int x, int y, int n, RunDirection direction) {
  int dx = 0, dy = 0;
  switch (direction) {
    case RunDirection::kRight: dx = 1; break;
    case RunDirection::kLeft: dx = -1; break;
    case RunDirection::kDown: dy = 1; break;
    case RunDirection::kUp: dy = -1; break;
  }
  for (int i = 0; i < n; ++i, x += dx, y += dy) {
    if (SheetCell(x, y) != kCellBlack) return 0;
  }
  return 1;
}

MarkPoint FindTopLeftMark(int width, int height) {
  const int n = g_markSearchParameters.markSize;
  for (int y = g_markSearchParameters.margin; RowInTopBand(y, height); ++y) {
    for (int x = 0; ColumnInLeftBand(x, width); ++x) {
      if (IsMarkCorner(x, y, n, {+1, +1})) return {x, y};
    }
  }
  return {};
}

MarkPoint FindTopRightMark(int width, int height) {
  const int n = g_markSearchParameters.markSize;
  for (int y = g_markSearchParameters.margin; RowInTopBand(y, height); ++y) {
    for (int x = width - 1; ColumnInRightBand(x, width); --x) {
      if (IsMarkCorner(x, y, n, {-1, +1})) return {x, y};
    }
  }
  return {};
}

MarkPoint FindBottomLeftMark(int width, int height) {
  const int n = g_markSearchParameters.markSize;
  for (int y = height - g_markSearchParameters.margin - 1; RowInBottomBand(y, height); --y) {
    for (int x = 0; ColumnInLeftBand(x, width); ++x) {
      if (IsMarkCorner(x, y, n, {+1, -1})) return {x, y};
    }
  }
  return {};
}

MarkPoint FindBottomRightMark(int width, int height) {
  const int n = g_markSearchParameters.markSize;
  for (int y = height - g_markSearchParameters.margin - 1; RowInBottomBand(y, height); --y) {
    for (int x = width - 1; ColumnInRightBand(x, width); --x) {
      if (IsMarkCorner(x, y, n, {-1, -1})) return {x, y};
    }
  }
  return {};
}

int FindSecondMarkBelow(const MarkPoint& topLeft) {
  if (!topLeft.found()) return 0;
  const int n = g_markSearchParameters.markSize;
  // The second mark is printed with its top 1.6 to 2 mark sizes below the
  // first one's: rows from 2n on would find it only on a page scanned at
  // exactly its size, so the search starts right below where n black rows
  // of the first mark could reach. A start inside the first mark finds
  // nothing there: n rows down run into the white gap between the marks.
  // The top-left corner may have been taken a pixel or two inside its mark
  // (a step of the scan), and the back mark is printed no wider than the
  // search's run: its left column may lie a few pixels left of that corner.
  for (int y = topLeft.y + n + 1; y <= topLeft.y + 3 * n; ++y) {
    for (int x = std::max(0, topLeft.x - kBackMarkSlack); x <= topLeft.x + n; ++x) {
      if (SheetCell(x, y) == kCellBlack && RunIsBlack(x, y, n, RunDirection::kRight) &&
          RunIsBlack(x, y, n, RunDirection::kDown) &&
          FarEdgeIsBlack(x, y, n, +1, RunDirection::kRight)) {
        return 1;
      }
    }
  }
  return 0;
}

int FindCorrectionMarks(const SheetBitmap& bitmap, int pass) {
  UnpackSheetImage(bitmap, kUnpackMarkBands);
  const int width = bitmap.width;
  const int height = bitmap.height;
  // Every position starts unknown, so nothing of an earlier page remains.
  CornerMarkPositions& marks = g_cornerMarks;
  marks = CornerMarkPositions{};
  marks.topLeft = FindTopLeftMark(width, height);
  marks.secondMark = FindSecondMarkBelow(marks.topLeft);

  if (!marks.topLeft.found()) {
    marks.bottomRight = FindBottomRightMark(width, height);
    if (marks.bottomRight.found()) {
      if (g_markSearchSettings.compensationMode == 1) {
        marks.upsideDown = 1;
        marks.tilt = 0;
      } else {
        marks.bottomLeft = FindBottomLeftMark(width, height);
        if (marks.bottomLeft.found()) {
          marks.upsideDown = 1;
          marks.tilt = TiltDegrees(marks.bottomLeft, marks.bottomRight);
        }
      }
    }
  }
  if (!marks.upsideDown) {
    marks.topRight = FindTopRightMark(width, height);
    marks.tilt = marks.topLeft.found() && marks.topRight.found()
                     ? TiltDegrees(marks.topLeft, marks.topRight)
                     : 0;
    if (pass != 1 || marks.tilt == 0) marks.bottomLeft = FindBottomLeftMark(width, height);
  }
  marks.width = width;
  marks.height = height;
  return 0;
}

void HoldMarksToSide(CornerMarkPositions* marks, int side, bool turned) {
  if ((side != 1 && side != 2) || !marks->topLeft.found()) return;
  const bool backMark = marks->secondMark == 1;
  const bool leans = turned && marks->topRight.found() && std::fabs(marks->tilt) > kStraightenedTilt;
  if (backMark != (side == 2) || leans) marks->topLeft = MarkPoint{};
}
