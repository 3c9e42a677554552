// Mending of the grouped boxes with what the whole line shows. Pen strokes
// break on a scan: a stroke's end comes off as a piece of its own, a bar of
// a "2" or a flag of a "1" stands a pixel apart, and a crumb too small to
// pass the speck filter is lost, shrinking its character's box. The line's
// usual character height and width tell such pieces from characters.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ocrlib/frame/box_repair_internal.h"

namespace box_repair {
namespace {

// A piece less than half the line's height is no digit or capital: it joins
// the nearest box it fits with (the union no wider than a wide character).
// Returns whether a piece joined.
bool JoinShortPiece(const LineShape& shape, SegmentWork* w) {
  const int widest = 3 * shape.width / 2;
  for (int r = 0; r < w->header.boxCount; ++r) {
    const MupaRect& piece = w->rows[r].box;
    if (2 * Height(piece) >= shape.height) continue;
    // A third of a character's width and height: an x-height figure of an
    // old-style face or a small capital, not a piece.
    if (3 * Width(piece) >= shape.width && 3 * Height(piece) >= shape.height) continue;
    int best = -1, bestShared = 0;
    for (int q = 0; q < w->header.boxCount; ++q) {
      if (q == r) continue;
      const MupaRect& other = w->rows[q].box;
      const MupaRect u = United(piece, other);
      if (Width(u) > widest || 2 * Height(u) > 3 * shape.height) continue;
      const int shared = SharedColumns(piece, other);
      if (best < 0 || shared > bestShared) best = q, bestShared = shared;
    }
    // No digit or capital is that short, so the piece is a stroke's end
    // broken off on the scan, as far from its character as a break leaves.
    if (best < 0 || -bestShared > BreakReach(shape)) continue;
    JoinRows(w, best, r);
    return true;
  }
  return false;
}

// Two tall pieces sharing two columns or more whose union is no wider than
// the line's character are one character broken down its length. Returns
// whether two joined.
bool JoinOverlappingPieces(const LineShape& shape, SegmentWork* w) {
  for (int r = 0; r < w->header.boxCount; ++r) {
    for (int q = r + 1; q < w->header.boxCount; ++q) {
      const MupaRect& a = w->rows[r].box;
      const MupaRect& b = w->rows[q].box;
      if (SharedColumns(a, b) < 2) continue;
      if (2 * Width(United(a, b)) > 3 * shape.width) continue;
      JoinRows(w, r, q);
      return true;
    }
  }
  return false;
}

// Katakana drawn as strokes apart (ハ, ル, リ) leave two narrow boxes whose
// union is one character wide: the narrowest such union of two neighbours
// joins. Returns whether two joined.
bool JoinNarrowPair(const LineShape& shape, SegmentWork* w) {
  auto narrow = [&](const MupaRect& b) { return 5 * Width(b) <= 3 * shape.width; };
  int bestR = -1, bestQ = -1, bestWidth = 0;
  for (int r = 0; r < w->header.boxCount; ++r) {
    const MupaRect& a = w->rows[r].box;
    if (!narrow(a)) continue;
    // Its right-hand neighbour: the nearest box starting right of its centre.
    int q = -1;
    for (int k = 0; k < w->header.boxCount; ++k) {
      const MupaRect& b = w->rows[k].box;
      if (k == r || b.left <= (a.left + a.right) / 2) continue;
      if (q < 0 || b.left < w->rows[q].box.left) q = k;
    }
    if (q < 0 || !narrow(w->rows[q].box)) continue;
    const MupaRect u = United(a, w->rows[q].box);
    if (5 * Width(u) > 6 * shape.width || 2 * Height(u) > 3 * shape.height) continue;
    if (bestR < 0 || Width(u) < bestWidth) bestR = r, bestQ = q, bestWidth = Width(u);
  }
  if (bestR < 0) return false;
  JoinRows(w, std::min(bestR, bestQ), std::max(bestR, bestQ));
  return true;
}

// The piece joins the box `distance` finds nearest it, when that is within
// the box's `reach` and nearer than any other box.
template <class Distance, class Reach>
void JoinNearestBox(const MupaRect& piece, Distance distance, Reach reach, SegmentWork* w) {
  int best = -1, bestDistance = 0, secondDistance = 1 << 30;
  for (int r = 0; r < w->header.boxCount; ++r) {
    const int d = distance(w->rows[r].box);
    if (best < 0 || d < bestDistance) {
      secondDistance = best < 0 ? secondDistance : bestDistance;
      best = r, bestDistance = d;
    } else {
      secondDistance = std::min(secondDistance, d);
    }
  }
  if (best < 0 || bestDistance > reach(w->rows[best].box) || bestDistance >= secondDistance) {
    return;
  }
  UniteBoxes(w->rows[best].box, piece, &w->rows[best].box);
  MeasureRow(&w->rows[best]);
}

// A speck's distance to a box for taking it in: a speck over or under the
// box's own columns is a crumb of a stroke broken across, and counts as
// near as the break allows.
int SpeckDistance(const LineShape& shape, const MupaRect& speck, const MupaRect& box) {
  const int d = BoxDistance(speck, box);
  const bool underOrOver = speck.left >= box.left && speck.right <= box.right;
  return underOrOver && d <= BreakReach(shape) ? std::min(d, NearReach(shape)) : d;
}

// A speck lies nearer one box than any other, within a tenth of the line's
// height (2 pixels at least), or above or below it within a stroke's break:
// the box takes it in.
void TakeInSpecks(const LineShape& shape, const std::vector<MupaRect>& specks, SegmentWork* w) {
  const int reach = NearReach(shape);
  for (const MupaRect& speck : specks) {
    JoinNearestBox(
        speck, [&](const MupaRect& box) { return SpeckDistance(shape, speck, box); },
        [reach](const MupaRect&) { return reach; }, w);
  }
}

// Where to cut a box holding `n` characters: near each n-th of its width, the
// column boundary the least ink crosses (the nearer of equals). Boundaries
// are the last column of each piece but the last.
std::vector<int> TouchingCuts(const RunImage& page, const MupaRect& box, int n, int width) {
  std::vector<int> cuts;
  const int reach = std::max(1, width / 3);
  int from = box.left;
  for (int k = 1; k < n; ++k) {
    const int expected = box.left + k * Width(box) / n - 1;
    int best = -1, bestInk = 0;
    for (int x = std::max(from + 1, expected - reach);
         x <= std::min(box.right - 2, expected + reach); ++x) {
      const int ink = CrossingInk(page, x, box.top, box.bottom);
      if (best < 0 || ink < bestInk ||
          (ink == bestInk && std::abs(x - expected) < std::abs(best - expected))) {
        best = x, bestInk = ink;
      }
    }
    if (best < 0) break;
    cuts.push_back(best);
    from = best;
  }
  return cuts;
}

// A box half as wide again as the line's character may be a narrow one
// touching its neighbour at a point: the column boundary a single row of ink
// crosses, a third of a character in from either side, leaving two pieces of
// at least half the line's height. -1 when there is none.
int PointContactCut(const RunImage& page, const MupaRect& box, int width, int height) {
  int best = -1, bestInk = 0;
  for (int x = box.left + width / 3; x <= box.right - width / 3 - 1; ++x) {
    const int ink = CrossingInk(page, x, box.top, box.bottom);
    if (best < 0 || ink < bestInk) best = x, bestInk = ink;
  }
  if (best < 0 || bestInk > 1) return -1;
  MupaRect a, b;
  if (!InkBox(page, box, box.left, best, &a, false) ||
      !InkBox(page, box, best + 1, box.right, &b, false)) {
    return -1;
  }
  return 2 * Height(a) >= height && 2 * Height(b) >= height ? best : -1;
}

// Whether a piece of `box` between the cuts is less than `height` / 2 tall.
bool LeavesShortPiece(const RunImage& page, const MupaRect& box, const std::vector<int>& cuts,
                      bool byEdges, int height) {
  const std::vector<MupaRect> pieces = PieceBoxes(page, box, cuts, byEdges, false);
  return std::any_of(pieces.begin(), pieces.end(),
                     [height](const MupaRect& p) { return 2 * Height(p) < height; });
}

// A box at least twice the line's median width holds as many touching
// characters as that width goes into it (a wide capital stays within less):
// it is cut where the least ink crosses between them. A narrower one is cut
// only where two characters touch at a point. Capitals are all of a height:
// on a line of capitals, cuts that leave a piece less than half the line's
// height tall take the bar or an arm off one wide capital (a "Z" with a long
// foot, a "T"), and the box stays whole.
void CutTouchingCharacters(const RunImage& page, uint32_t mask, SegmentWork* w) {
  const LineShape shape = MeasureLine(*w);
  const int width = shape.medianWidth, height = shape.height;
  if (width < 4) return;
  const bool capitals = (mask & kTypeDigits) == 0;
  const bool byEdges = PartsJoinedRunsByEdges(mask);
  for (int r = 0; r < w->header.boxCount; ++r) {
    const MupaRect box = w->rows[r].box;
    if (Width(box) < 2 * width) {
      if (2 * Width(box) < 3 * width) continue;
      const int cut = PointContactCut(page, box, width, height);
      if (cut >= 0) r += CutRow(page, {cut}, byEdges, r, w) - 1;
      continue;
    }
    const int n = std::max(2, (Width(box) + width / 2) / width);
    const std::vector<int> cuts = TouchingCuts(page, box, n, width);
    if (cuts.empty() || (capitals && LeavesShortPiece(page, box, cuts, byEdges, height))) continue;
    r += CutRow(page, cuts, byEdges, r, w) - 1;
  }
}

}  // namespace
}  // namespace box_repair

void RepairGroupedBoxes(uint32_t mask, const std::vector<MupaRect>& specks, const RunImage* page,
                        SegmentWork* w) {
  using namespace box_repair;
  if (w->header.boxCount < 1) return;
  LineShape shape = MeasureLine(*w);
  if (shape.height < 1 || shape.width < 1) return;
  // Digits and capitals are all of a height: a short piece is no character.
  if ((mask & ~(kTypeDigits | kTypeCapitals)) == 0) {
    while (w->header.boxCount > 1 && JoinShortPiece(shape, w)) {
    }
    while (w->header.boxCount > 1 && JoinOverlappingPieces(shape, w)) {
    }
    if (page) CutTouchingCharacters(*page, mask, w);
    shape = MeasureLine(*w);
  } else if ((mask & kTypeKatakana) != 0) {
    while (w->header.boxCount > 1 && JoinOverlappingPieces(shape, w)) {
    }
    while (w->header.boxCount > 1 && JoinNarrowPair(shape, w)) {
    }
  }
  TakeInSpecks(shape, specks, w);
}

void TakeInStrayInk(const RecogRunBlock& run, SegmentWork* w) {
  using namespace box_repair;
  if (w->header.boxCount < 1) return;
  const LineShape shape = MeasureLine(*w);
  if (shape.height < 1) return;
  const RunImage& page = run.image;
  const MupaRect area = {static_cast<int16_t>(std::max<int>(run.rect.left, 0)),
                         static_cast<int16_t>(std::max<int>(run.rect.top, 0)),
                         static_cast<int16_t>(std::min<int>(run.rect.right, page.width - 1)),
                         static_cast<int16_t>(std::min<int>(run.rect.bottom, page.height - 1))};
  if (area.left > area.right || area.top > area.bottom) return;
  // Which box's columns each column is: -1 none, -2 more than one.
  std::vector<int> owner(Width(area), -1);
  for (int r = 0; r < w->header.boxCount; ++r) {
    const MupaRect& b = w->rows[r].box;
    for (int x = std::max(b.left, area.left); x <= std::min(b.right, area.right); ++x) {
      int& o = owner[x - area.left];
      o = o == -1 ? r : -2;
    }
  }
  // The line's rows and a break above and below.
  const int breakReach = BreakReach(shape);
  MupaRect line;
  ResetUnionBox(&line);
  for (int r = 0; r < w->header.boxCount; ++r) UniteBoxes(line, w->rows[r].box, &line);
  MupaRect band = area;
  band.top = static_cast<int16_t>(std::max<int>(area.top, line.top - breakReach));
  band.bottom = static_cast<int16_t>(std::min<int>(area.bottom, line.bottom + breakReach));
  // Ink over or under a box's own columns within the band is its
  // character's, however far a break left it: the bar of a "7" broken off
  // its stem, a crumb the speck filter dropped.
  for (int r = 0; r < w->header.boxCount; ++r) {
    MupaRect& b = w->rows[r].box;
    std::vector<int> own;
    for (int x = std::max(b.left, area.left); x <= std::min(b.right, area.right); ++x) {
      if (owner[x - area.left] == r) own.push_back(x);
    }
    for (int y = band.top; y < b.top; ++y) {
      if (RowHasInk(page, own, y)) b.top = static_cast<int16_t>(y);  // ends the loop
    }
    for (int y = band.bottom; y > b.bottom; --y) {
      if (RowHasInk(page, own, y)) b.bottom = static_cast<int16_t>(y);  // ends the loop
    }
    MeasureRow(&w->rows[r]);
  }
  // Ink in no box's columns is a crumb beside a box: it joins the nearest,
  // when nearer than any other, as far off as a break leaves it when level
  // with the box, and within a speck's reach when off its rows.
  const int nearReach = NearReach(shape);
  auto besideReach = [&](const MupaRect& stray, const MupaRect& box) {
    return stray.top >= box.top && stray.bottom <= box.bottom ? breakReach : nearReach;
  };
  for (int x = area.left; x <= area.right; ++x) {
    if (owner[x - area.left] != -1) continue;
    int end = x;
    while (end < area.right && owner[end + 1 - area.left] == -1) ++end;
    MupaRect stray;
    const bool any = InkBox(page, band, x, end, &stray, false);
    x = end;
    if (!any) continue;
    JoinNearestBox(
        stray, [&](const MupaRect& box) { return BoxDistance(stray, box); },
        [&](const MupaRect& box) { return besideReach(stray, box); }, w);
  }
}
