// Mending of the grouped boxes with what the whole line shows. Pen strokes
// break on a scan: a stroke's end comes off as a piece of its own, a bar of
// a "2" or a flag of a "1" stands a pixel apart, and a crumb too small to
// pass the speck filter is lost, shrinking its character's box. The line's
// usual character height and width tell such pieces from characters.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ocrlib/frame/frame_internal.h"

namespace {

int Width(const MupaRect& b) { return b.right - b.left + 1; }
int Height(const MupaRect& b) { return b.bottom - b.top + 1; }

bool SameRect(const MupaRect& a, const MupaRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Columns two boxes share (negative: minus the blank columns between them).
int SharedColumns(const MupaRect& a, const MupaRect& b) {
  return std::min(a.right, b.right) - std::max(a.left, b.left) + 1;
}

// Pixels between two boxes along the larger of the two axes (0 touching).
int BoxDistance(const MupaRect& a, const MupaRect& b) {
  const int dx = std::max({0, a.left - b.right - 1, b.left - a.right - 1});
  const int dy = std::max({0, a.top - b.bottom - 1, b.top - a.bottom - 1});
  return std::max(dx, dy);
}

// Whether a line of these types holds digits alone.
bool DigitsOnly(uint32_t mask) {
  return (mask & kTypeDigits) != 0 && (mask & (kTypeCapitals | kTypeKatakana)) == 0;
}

// Whether a line of these types may hold capitals and no digits.
bool CapitalsWithoutDigits(uint32_t mask) {
  return (mask & kTypeCapitals) != 0 && (mask & kTypeDigits) == 0;
}

MupaRect United(const MupaRect& a, const MupaRect& b) {
  MupaRect u;
  UniteBoxes(a, b, &u);
  return u;
}

// The value `share` (0..1) of the way up the sorted values.
int Quantile(std::vector<int> values, double share) {
  if (values.empty()) return 0;
  const auto at = values.begin() + static_cast<ptrdiff_t>(share * (values.size() - 1) + 0.5);
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

// The line's usual character: the height three quarters up the boxes'
// heights (a line broken into many pieces still shows its characters'
// height there), and the median width of the boxes at least half that tall.
struct LineShape {
  int height = 0, width = 0;
};

LineShape MeasureLine(const SegmentWork& w) {
  std::vector<int> heights, widths;
  for (int r = 0; r < w.header.boxCount; ++r) heights.push_back(Height(w.rows[r].box));
  LineShape shape;
  shape.height = Quantile(heights, 0.75);
  for (int r = 0; r < w.header.boxCount; ++r) {
    if (2 * Height(w.rows[r].box) >= shape.height) widths.push_back(Width(w.rows[r].box));
  }
  shape.width = Quantile(widths, 0.75);
  return shape;
}

// Row `gone` joins row `keep`: its box, its components; rows after it move
// down one, and the components' box numbers follow.
void JoinRows(SegmentWork* w, int keep, int gone) {
  CharBoxRow& k = w->rows[keep];
  const CharBoxRow& g = w->rows[gone];
  UniteBoxes(k.box, g.box, &k.box);
  for (int i = 0; i < g.componentCount && k.componentCount < kMaxRowComponents; ++i) {
    k.components[k.componentCount++] = g.components[i];
  }
  std::sort(k.components, k.components + k.componentCount);
  MeasureRow(&k);
  const int count = w->header.boxCount;
  for (int r = gone; r + 1 < count; ++r) {
    w->rows[r] = w->rows[r + 1];
    w->rows[r].number = static_cast<uint16_t>(r);
  }
  for (int i = 0; i < w->header.componentCount; ++i) {
    uint16_t& b = w->components[i].boxNumber;
    if (b == kComponentTaken) continue;
    if (b == gone) {
      b = static_cast<uint16_t>(keep > gone ? keep - 1 : keep);
    } else if (b > gone) {
      --b;
    }
  }
  w->header.boxCount = static_cast<int16_t>(count - 1);
}

// How far from a box a broken-off piece or a speck still belongs to it: a
// tenth of the line's height, 2 pixels at least.
int NearReach(const LineShape& shape) { return std::max(2, shape.height / 10); }

// How far from its character a crumb or a piece of a broken stroke may lie:
// a pen stroke cut across leaves a gap of up to a fifth of the line's height.
int BreakReach(const LineShape& shape) { return std::max(NearReach(shape), shape.height / 5); }

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

// Whether any of the columns holds ink in row y.
bool RowHasInk(const RunImage& page, const std::vector<int>& columns, int y) {
  return std::any_of(columns.begin(), columns.end(),
                     [&](int x) { return PixelIsBlack(page, x, y); });
}

// Ink that crosses from column x to column x + 1 (8-connected pairs, counted
// once a row) between rows top..bottom.
int CrossingInk(const RunImage& page, int x, int top, int bottom) {
  int n = 0;
  for (int y = top; y <= bottom; ++y) {
    if (!PixelIsBlack(page, x, y)) continue;
    const bool joined = PixelIsBlack(page, x + 1, y) ||
                        (y > top && PixelIsBlack(page, x + 1, y - 1)) ||
                        (y < bottom && PixelIsBlack(page, x + 1, y + 1));
    n += joined;
  }
  return n;
}

// Whether the black pixel at x, y has no black neighbour: a speck of the
// scan, not part of a stroke.
bool LonePixel(const RunImage& page, int x, int y) {
  for (int ny = std::max(0, y - 1); ny <= std::min<int>(page.height - 1, y + 1); ++ny) {
    for (int nx = std::max(0, x - 1); nx <= std::min<int>(page.width - 1, x + 1); ++nx) {
      if ((nx != x || ny != y) && PixelIsBlack(page, nx, ny)) return false;
    }
  }
  return true;
}

// The ink box of the columns left..right within the rows of `box` (without
// lone pixels when `withoutSpecks`); false when they hold no ink.
bool InkBox(const RunImage& page, const MupaRect& box, int left, int right, MupaRect* out,
            bool withoutSpecks) {
  ResetUnionBox(out);
  bool any = false;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (!PixelIsBlack(page, x, y) || (withoutSpecks && LonePixel(page, x, y))) continue;
      const MupaRect dot = {static_cast<int16_t>(x), static_cast<int16_t>(y),
                            static_cast<int16_t>(x), static_cast<int16_t>(y)};
      UniteBoxes(*out, dot, out);
      any = true;
    }
  }
  return any;
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

// Where the runs two characters draw together across the cut after column
// x part: after x, or after x + 1 when beside those runs the right
// character's own ink (runs that stop short of the cut) begins at x + 2, a
// row off them and two rows off alike, and nowhere nearer, while the left
// one's reaches x: column x + 1 then holds only the joined runs, and the
// right character's edge running straight beside them leaves them the left
// one's bulge there, not a tip of its own. Measured on the touching
// capitals of lines of the training seeds; on lines of digits or katakana
// it gained nothing beyond noise, and they part after x. `last` is the
// last column the right piece may give up.
int JoinedRunsPart(const RunImage& page, const MupaRect& box, int x, int last) {
  if (x + 2 > last) return x;
  // Ink outside the box belongs to neither piece; a cut at the box's first
  // column must not look past the page's edge.
  auto black = [&](int c, int y) { return c >= box.left && PixelIsBlack(page, c, y); };
  // The runs the cut parts: two pixels or more either side of it.
  auto joined = [&](int y) {
    return y >= box.top && y <= box.bottom && black(x - 1, y) && black(x, y) && black(x + 1, y) &&
           black(x + 2, y);
  };
  bool leftReachesCut = false, rightNearer = false, rightAtTwo = false, rightAtTwoFarther = false;
  for (int y = box.top; y <= box.bottom; ++y) {
    // A run beginning at x that goes on across the cut: the right
    // character's own ink reaches x already.
    if (black(x, y) && black(x + 1, y) && !black(x - 1, y)) return x;
    if (joined(y)) continue;
    const bool oneOff = joined(y - 1) || joined(y + 1);
    if (!oneOff && !joined(y - 2) && !joined(y + 2)) continue;
    const bool startsAt1 = black(x + 1, y) && !black(x, y);
    const bool startsAt2 = black(x + 2, y) && !black(x + 1, y);
    if (oneOff) {
      leftReachesCut |= black(x, y) && !black(x + 1, y);
      rightNearer |= startsAt1;
      rightAtTwo |= startsAt2;
    } else {
      rightAtTwoFarther |= startsAt1 || startsAt2;
    }
  }
  return leftReachesCut && rightAtTwo && !rightNearer && rightAtTwoFarther ? x + 1 : x;
}

// Whether the runs two characters draw together part where JoinedRunsPart
// says on a line of these types (else after the cut).
bool PartsJoinedRunsByEdges(uint32_t mask) {
  return CapitalsWithoutDigits(mask) && (mask & kTypeKatakana) == 0;
}

// Calls piece(k, left, right, y) for every black run of the rows of `box`,
// shared out among the pieces between the cuts (each the last column of a
// piece but the last). Characters written close share a column or two: a
// run goes whole to the piece that holds its middle, so each keeps its own
// ink of the shared columns; a run the two characters draw together is
// parted after the cut, or where JoinedRunsPart says when `byEdges`, unless
// one side of the cut holds a single pixel of it.
template <class Piece>
void ForEachPieceRun(const RunImage& page, const MupaRect& box, const std::vector<int>& cuts,
                     bool byEdges, Piece piece) {
  auto pieceOf = [&](int x) {
    return static_cast<int>(std::lower_bound(cuts.begin(), cuts.end(), x) - cuts.begin());
  };
  std::vector<int> parts(cuts.size());
  for (size_t k = 0; k < cuts.size(); ++k) {
    const int last = k + 1 < cuts.size() ? cuts[k + 1] : box.right;
    parts[k] = byEdges ? JoinedRunsPart(page, box, cuts[k], last) : cuts[k];
  }
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right;) {
      if (!PixelIsBlack(page, x, y)) {
        ++x;
        continue;
      }
      int end = x;
      while (end < box.right && PixelIsBlack(page, end + 1, y)) ++end;
      int from = x;
      for (size_t k = pieceOf(x); k < cuts.size() && cuts[k] < end; ++k) {
        const int nextEnd = k + 1 < cuts.size() ? std::min(end, cuts[k + 1]) : end;
        if (cuts[k] - from + 1 < 2 || nextEnd - cuts[k] < 2) continue;
        const int part = std::min(parts[k], nextEnd - 1);
        piece(static_cast<int>(k), from, part, y);
        from = part + 1;
      }
      piece(pieceOf((from + end) / 2), from, end, y);
      x = end + 1;
    }
  }
}

// The ink boxes of the pieces of `box` between the cuts, the runs shared
// out as ForEachPieceRun does with `byEdges` (without lone pixels when
// `withoutSpecks`); pieces that hold no ink are left out.
std::vector<MupaRect> PieceBoxes(const RunImage& page, const MupaRect& box,
                                 const std::vector<int>& cuts, bool byEdges,
                                 bool withoutSpecks) {
  std::vector<MupaRect> pieces(cuts.size() + 1);
  std::vector<bool> inked(pieces.size(), false);
  for (MupaRect& p : pieces) ResetUnionBox(&p);
  ForEachPieceRun(page, box, cuts, byEdges, [&](int k, int left, int right, int y) {
    if (withoutSpecks && left == right && LonePixel(page, left, y)) return;
    const MupaRect run = {static_cast<int16_t>(left), static_cast<int16_t>(y),
                          static_cast<int16_t>(right), static_cast<int16_t>(y)};
    UniteBoxes(pieces[k], run, &pieces[k]);
    inked[k] = true;
  });
  std::vector<MupaRect> out;
  for (size_t k = 0; k < pieces.size(); ++k) {
    if (inked[k]) out.push_back(pieces[k]);
  }
  return out;
}

// Row r becomes the pieces of its box between the cuts; every piece keeps
// the row's components (their ink is shared out by the boxes). Returns the
// pieces placed.
int CutRow(const RunImage& page, const std::vector<int>& cuts, bool byEdges, int r,
           SegmentWork* w) {
  const CharBoxRow whole = w->rows[r];
  const std::vector<MupaRect> pieces = PieceBoxes(page, whole.box, cuts, byEdges, false);
  const int room = kMaxBoxRows - w->header.boxCount;
  const int extra = std::min(static_cast<int>(pieces.size()) - 1, room - 1);
  if (extra < 1) return 1;
  const int count = w->header.boxCount;
  for (int q = count - 1; q > r; --q) w->rows[q + extra] = w->rows[q];
  for (int k = 0; k <= extra; ++k) {
    CharBoxRow& row = w->rows[r + k];
    row = whole;
    row.box = pieces[k];
    MeasureRow(&row);
  }
  w->header.boxCount = static_cast<int16_t>(count + extra);
  for (int q = 0; q < w->header.boxCount; ++q) w->rows[q].number = static_cast<uint16_t>(q);
  for (int i = 0; i < w->header.componentCount; ++i) {
    uint16_t& b = w->components[i].boxNumber;
    if (b != kComponentTaken && b > r) b = static_cast<uint16_t>(b + extra);
  }
  return extra + 1;
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
  std::vector<int> widths;
  std::vector<int> heights;
  for (int r = 0; r < w->header.boxCount; ++r) heights.push_back(Height(w->rows[r].box));
  const int height = Quantile(heights, 0.75);
  for (int r = 0; r < w->header.boxCount; ++r) {
    if (2 * Height(w->rows[r].box) >= height) widths.push_back(Width(w->rows[r].box));
  }
  const int width = Quantile(widths, 0.5);
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

void RepairGroupedBoxes(uint32_t mask, const std::vector<MupaRect>& specks, const RunImage* page,
                        SegmentWork* w) {
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

namespace {

// A piece of the page drawn alone into an image of its own, to be read.
struct PieceImage {
  std::vector<uint8_t> bits;
  RunImage image = {};
  MupaRect ink = {};
  bool any = false;
};

// The runs of piece k of `box` between the cuts, alone.
PieceImage DrawPiece(const RunImage& page, const MupaRect& box, const std::vector<int>& cuts,
                     bool byEdges, int k) {
  PieceImage p;
  const int width = Width(box), height = Height(box), bytesPerLine = (width + 7) / 8;
  p.bits.assign(static_cast<size_t>(bytesPerLine) * height, 0);
  ResetUnionBox(&p.ink);
  ForEachPieceRun(page, box, cuts, byEdges, [&](int piece, int left, int right, int y) {
    if (piece != k) return;
    const int row = y - box.top;
    for (int x = left - box.left; x <= right - box.left; ++x) {
      p.bits[static_cast<size_t>(row) * bytesPerLine + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    const MupaRect run = {static_cast<int16_t>(left - box.left), static_cast<int16_t>(row),
                          static_cast<int16_t>(right - box.left), static_cast<int16_t>(row)};
    UniteBoxes(p.ink, run, &p.ink);
    p.any = true;
  });
  p.image = RunImage{static_cast<int16_t>(width), static_cast<int16_t>(height), 1,
                     static_cast<int16_t>(bytesPerLine), page.dpi, p.bits.data()};
  return p;
}

// What the dictionary makes of the ink of a box: its best candidate's
// distance (-1 when it reads nothing) and the answer's confidence.
struct Reading {
  int64_t distance = -1;
  int confidence = 0;
  uint16_t code = 0;  // the best candidate's Shift-JIS code
};

Reading ReadBox(const RecogRunBlock& run, uint32_t mask, const RunImage& image,
                const MupaRect& rect) {
  RecogRunBlock one = run;
  one.image = image;
  one.rect = rect;
  CharWorkRecord record;
  ClearCharRecord(&record);
  ClassifyByPattern(&one, mask, &record);
  if (record.count <= 0 || record.candidates[0].empty()) return {};
  return {record.candidates[0].distance1, record.confidence, record.candidates[0].code()};
}

// The rows of `box` where none of `pieces` has ink in its columns. Digits
// are drawn as one stroke or strokes that meet: a digit's ink meets every
// row of its box, and a piece whose box has rows without ink is dots and
// crumbs of a character the scan broke (a broken "3" in pieces, each read
// as a "1" on its own) more often than a whole one.
int BlankRows(const RunImage& page, const std::vector<MupaRect>& pieces, const MupaRect& box) {
  int blank = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    bool ink = false;
    for (const MupaRect& piece : pieces) {
      for (int x = piece.left; x <= piece.right && !ink; ++x) ink = PixelIsBlack(page, x, y);
    }
    blank += !ink;
  }
  return blank;
}

// A cut on a line of digits leaving a piece with more than this share of
// its rows blank (percent) parts no two digits but a broken one. Measured
// on lines of the training seeds' characters.
constexpr int kMostBlankRowsPercent = 20;

// The mean distance of the pieces of `box` cut after column x; -1 when a
// piece reads as nothing, has no ink or is less than `leastHeight` tall.
int64_t ReadPieces(const RecogRunBlock& run, uint32_t mask, const MupaRect& box, int x,
                   int leastHeight) {
  int64_t sum = 0;
  for (int k = 0; k < 2; ++k) {
    const PieceImage p = DrawPiece(run.image, box, {x}, PartsJoinedRunsByEdges(mask), k);
    if (!p.any || Height(p.ink) < leastHeight) return -1;
    if (DigitsOnly(mask) &&
        100 * BlankRows(p.image, {p.ink}, p.ink) > kMostBlankRowsPercent * Height(p.ink)) {
      return -1;
    }
    const int64_t d = ReadBox(run, mask, p.image, p.ink).distance;
    if (d < 0) return -1;
    sum += d;
  }
  return sum / 2;
}

// The readings of the line's boxes so far: a box is read once however many
// joins and cuts weigh it, and a box's pieces at a cut once however many
// rules weigh the cut.
class BoxReadings {
 public:
  BoxReadings(const RecogRunBlock& run, uint32_t mask) : run_(run), mask_(mask) {}
  Reading Of(const MupaRect& box) {
    for (const auto& [known, reading] : read_) {
      if (SameRect(known, box)) return reading;
    }
    read_.emplace_back(box, ReadBox(run_, mask_, run_.image, box));
    return read_.back().second;
  }
  // ReadPieces of the box cut after column x.
  int64_t PiecesOf(const MupaRect& box, int x, int leastHeight) {
    for (const PiecesRead& known : pieces_) {
      if (SameRect(known.box, box) && known.x == x && known.leastHeight == leastHeight) {
        return known.distance;
      }
    }
    pieces_.push_back({box, x, leastHeight, ReadPieces(run_, mask_, box, x, leastHeight)});
    return pieces_.back().distance;
  }
  const RecogRunBlock& run() const { return run_; }
  uint32_t mask() const { return mask_; }

 private:
  struct PiecesRead {
    MupaRect box;
    int x, leastHeight;
    int64_t distance;
  };
  const RecogRunBlock& run_;
  uint32_t mask_;
  std::vector<std::pair<MupaRect, Reading>> read_;
  std::vector<PiecesRead> pieces_;
};

// A box read with this confidence or more is not tried in two pieces, unless
// it is wider than one character is written (the cut rules below).
constexpr int kSureConfidence = 80;

// How a line's wide boxes are tried in two pieces: at the eight places the
// least ink crosses, a sixteenth of a character in from either side or more
// (characters written close touch at a point; a cut through one character
// crosses a stroke's width), each read as the mean distance of its pieces,
// each pixel of ink it crosses adding a share of the whole box's distance.
// The best place parts the box when that comes to less than a share of the
// whole's distance. Digits are narrow, and most wide ones are one slanted
// digit: a box is tried from 1.3 times the line's width and parts below 0.9
// of the whole. Capitals and katakana are narrow and wide by nature: from
// the line's width on, parting below 0.7. A box that reads as one character
// with no doubt is not tried, unless it is wider than one character of its
// kind is written: 1.5 times the line's width for digits (two touching
// digits often read surely as one), 1.6 for capitals and katakana. The
// shares were measured on lines of the training seeds' characters.
struct CutRule {
  int fromTenths;   // least box width, tenths of the line's
  int inkDivisor;   // each crossed pixel adds the whole's distance / this (0: nothing)
  int belowTenths;  // parts below this many tenths of the whole's distance
  int sureTenths;   // tried however surely it reads whole from this width on
  size_t places = 8;  // places read at most
  // Each column a place of its own, none read beside the best: where only
  // some columns are allowed, a column that is not is never read.
  bool columnsApart = false;
};
constexpr CutRule kDigitCuts = {13, 50, 9, 15};
constexpr CutRule kLetterCuts = {10, 20, 7, 16};

// The ink a cut after column x crosses between rows top..bottom, in half
// pixels: a run it parts counts two, ink that meets across it only at a
// corner one (two characters written close often touch at a corner, where
// a slanted stroke of one character crosses as thinly).
int CrossedHalves(const RunImage& page, int x, int top, int bottom) {
  int parted = 0;
  for (int y = top; y <= bottom; ++y) {
    parted += PixelIsBlack(page, x, y) && PixelIsBlack(page, x + 1, y);
  }
  return parted + CrossingInk(page, x, top, bottom);
}

// Where a box wider than the line's character parts by the rule, if
// anywhere; -1 when it stays whole. Only the places `allowed` marks (by
// column from the box's left; none marked: every place) are read, and the
// columns either side of the best; `pieces` given, it takes the mean
// distance of the pieces at the place chosen.
int BestReadCut(BoxReadings* readings, const CutRule& rule, const MupaRect& box, int64_t whole,
                int width, int leastHeight, const std::vector<bool>& allowed = {},
                int64_t* pieces = nullptr) {
  const RecogRunBlock& run = readings->run();
  std::vector<std::pair<int, int>> crossings;  // ink, column
  const int inset = width / 16;
  for (int x = box.left + inset; x <= box.right - inset - 1; ++x) {
    if (!allowed.empty() && !allowed[x - box.left]) continue;
    crossings.emplace_back(CrossingInk(run.image, x, box.top, box.bottom), x);
  }
  std::stable_sort(crossings.begin(), crossings.end());
  int bestCut = -1;
  int64_t best = whole < 0 ? INT64_MAX : rule.belowTenths * whole / 10;
  auto tryCut = [&](int x) {
    const int64_t d = readings->PiecesOf(box, x, leastHeight);
    if (d < 0) return;
    int64_t charge = 0;
    if (rule.inkDivisor > 0) {
      const int halves = CrossedHalves(run.image, x, box.top, box.bottom);
      charge = (whole < 0 ? d : whole) / rule.inkDivisor * halves / 2;
    }
    const int64_t score = d + charge;
    if (score >= best) return;
    best = score, bestCut = x;
    if (pieces) *pieces = d;
  };
  std::vector<int> read;
  for (const auto& [ink, x] : crossings) {
    if (read.size() == rule.places) break;
    // Neighbouring columns of one crossing are one place.
    if (!rule.columnsApart &&
        std::any_of(read.begin(), read.end(), [x = x](int c) { return std::abs(c - x) <= 1; })) {
      continue;
    }
    read.push_back(x);
    tryCut(x);
  }
  // Where two characters' strokes run together, which column of the joint
  // is whose is read: the columns either side of the place are tried too.
  const int place = rule.columnsApart ? -1 : bestCut;
  for (int x : {place - 1, place + 1}) {
    if (place >= 0 && x >= box.left && x < box.right) tryCut(x);
  }
  return bestCut;
}

// Two characters written touching may make a box the rule above leaves
// whole: two narrow digits ("11", "17") no wider than one slanted digit,
// whose halves often read as well as the whole, or two capitals pressed
// together over a run of ink the cut is charged for. Such a box parts only
// where the signs of two characters are plain: both pieces are nearly the
// line's height (a character cut through leaves a short piece), the cut
// crosses little ink and the pieces read far closer than the whole.
// Measured on lines of the training seeds' characters: digits from 0.9 of
// the line's width, pieces of three quarters of its height, four pixels of
// ink crossed at most, the pieces' mean distance below 0.6 of the whole's;
// capitals pieces of 0.8 of the height, eight pixels, below half the
// whole's. Only the two places that cross least ink are read (more find no
// more pairs).
//
// Two digits written so close that they share a column or abut meet over
// more ink than that, each its own edge: a cut between them parts no run,
// every run of the joint going whole to the digit holding its middle,
// where a cut through one digit parts its strokes. A box from 0.8 of the
// line's width not read surely is also read at the four places crossing
// least ink that part no run, cross six pixels of ink at most and leave
// pieces of 0.7 of the line's height, parting below 0.6 of the whole's
// distance (measured likewise). Lone pixels (specks of the scan) do not
// count to a piece's height: a single digit cut where its loop meets its
// stem at a corner leaves a short piece, which a speck below the loop would
// otherwise make tall.
//
// Two digits pressed together along a stroke may read surely as one wide
// digit, their joint crossing more ink than the rules above allow. A box
// from 1.2 of the line's width is read at the two places crossing least
// ink, sixteen pixels of it or less, and parts however surely it reads
// whole where both pieces are 0.8 of the line's height and read below
// half the whole's distance. Measured on touching lines of the training
// seeds' digits: of the boxes from 0.9 of the width showing those signs,
// 21 were pairs and one a single digit; from 0.9 or 1.1 of the width a
// few more pairs part, but far more boxes are read.
struct PlainPairRule {
  int fromTenths;     // least box width, tenths of the line's
  int piecePercent;   // least piece height, percent of the line's
  int mostHalves;     // ink the cut crosses, in half pixels
  int belowTenths;    // pieces' mean distance, tenths of the whole's
  size_t places;      // places read at most, those crossing least ink first
  bool partsNoRun;    // only places where no run of ink is parted
  int doubtBelow;     // read only when the whole reads with less confidence
};
constexpr PlainPairRule kDigitPairs = {9, 75, 8, 6, 2, false, kSureConfidence};
constexpr PlainPairRule kMeetingDigitPairs = {8, 70, 12, 6, 4, true, kSureConfidence};
constexpr PlainPairRule kClearDigitPairs = {12, 80, 32, 5, 2, false, INT32_MAX};
constexpr PlainPairRule kCapitalPairs = {10, 80, 16, 5, 2, false, kSureConfidence};

// `scoring` reading at most `places` places and keeping the best of them,
// however it compares with the whole.
CutRule BestOfPlaces(const CutRule& scoring, size_t places) {
  CutRule rule = scoring;
  rule.belowTenths = INT32_MAX / 10;
  rule.places = places;
  return rule;
}

// Whether a cut after column x parts a run of ink of `box` as
// ForEachPieceRun parts one: two pixels or more on either side.
bool PartsRun(const RunImage& page, const MupaRect& box, int x) {
  for (int y = box.top; y <= box.bottom; ++y) {
    if (!PixelIsBlack(page, x, y) || !PixelIsBlack(page, x + 1, y)) continue;
    int left = x, right = x + 1;
    while (left > box.left && PixelIsBlack(page, left - 1, y)) --left;
    while (right < box.right && PixelIsBlack(page, right + 1, y)) ++right;
    if (x - left + 1 >= 2 && right - x >= 2) return true;
  }
  return false;
}

// The column boundaries of `box` that cross `mostHalves` of ink or less
// (and part no run, when `partsNoRun`) and leave ink `piecePercent` of the
// line's height tall on both sides, lone pixels aside (by column from the
// box's left).
std::vector<bool> PairPlaces(const RunImage& page, const MupaRect& box, int piecePercent,
                             int mostHalves, bool partsNoRun, const LineShape& shape) {
  // The ink rows of the columns up to each column, and from each column on.
  const int width = Width(box);
  std::vector<MupaRect> columns(width);  // no ink: an empty box
  for (int i = 0; i < width; ++i) {
    InkBox(page, box, box.left + i, box.left + i, &columns[i], true);
  }
  std::vector<MupaRect> upTo = columns, from = columns;
  for (int i = 1; i < width; ++i) UniteBoxes(upTo[i - 1], columns[i], &upTo[i]);
  for (int i = width - 2; i >= 0; --i) UniteBoxes(from[i + 1], columns[i], &from[i]);
  auto tall = [&](const MupaRect& b) {
    return b.top <= b.bottom && 100 * Height(b) >= piecePercent * shape.height;
  };
  std::vector<bool> places(width, false);
  for (int i = 0; i + 1 < width; ++i) {
    places[i] = tall(upTo[i]) && tall(from[i + 1]) &&
                CrossedHalves(page, box.left + i, box.top, box.bottom) <= mostHalves &&
                !(partsNoRun && PartsRun(page, box, box.left + i));
  }
  return places;
}

// Where a box parts by the plain signs of two characters, if anywhere; -1
// when it stays whole. The box is read only when its ink allows two; its
// places are charged for the ink they cross as `scoring` has it.
int PlainPairCut(const PlainPairRule& rule, const CutRule& scoring, const MupaRect& box,
                 const LineShape& shape, int leastHeight, BoxReadings* readings) {
  const RecogRunBlock& run = readings->run();
  if (10 * Width(box) < rule.fromTenths * shape.width) return -1;
  // Most single characters have no such place, and are not read in pieces.
  const std::vector<bool> allowed =
      PairPlaces(run.image, box, rule.piecePercent, rule.mostHalves, rule.partsNoRun, shape);
  if (std::none_of(allowed.begin(), allowed.end(), [](bool p) { return p; })) return -1;
  const Reading whole = readings->Of(box);
  if (whole.distance <= 0 || whole.confidence >= rule.doubtBelow) return -1;
  // The best of those places by reading and ink.
  CutRule anyPlace = BestOfPlaces(scoring, rule.places);
  anyPlace.columnsApart = rule.partsNoRun;
  int64_t pieces = 0;
  const int x = BestReadCut(readings, anyPlace, box, whole.distance, shape.width, leastHeight,
                            allowed, &pieces);
  if (x < 0 || CrossedHalves(run.image, x, box.top, box.bottom) > rule.mostHalves) return -1;
  const bool byEdges = PartsJoinedRunsByEdges(readings->mask());
  for (const MupaRect& piece : PieceBoxes(run.image, box, {x}, byEdges, true)) {
    if (100 * Height(piece) < rule.piecePercent * shape.height) return -1;
  }
  return 10 * pieces < rule.belowTenths * whole.distance ? x : -1;
}

// The plain-pair rules a line's boxes are tried by, in turn. On lines of
// katakana the capitals' rule parted nothing more: they are not tried by
// it. Digits meeting at their edges or pressed together along a stroke are
// told on lines of digits alone: a wide capital or katakana may stand as
// two narrow ones meeting so.
std::vector<const PlainPairRule*> PlainPairRulesOf(uint32_t mask) {
  if (DigitsOnly(mask)) return {&kDigitPairs, &kMeetingDigitPairs, &kClearDigitPairs};
  if ((mask & kTypeDigits) != 0) return {&kDigitPairs};
  if ((mask & kTypeCapitals) != 0) return {&kCapitalPairs};
  return {};
}

// Two capitals written touching along a stroke (the foot of an "L" run into
// the stem of the next letter, two stems drawn together) part only along
// that stroke, crossing much ink: the rules above, which charge for every
// pixel crossed, leave them whole, and the pair may even read surely as one
// character. Yet a pair reads far worse than the line's usual character,
// and its two halves far better than the whole: a box that reads 1.5 times
// as far as the usual character or more parts, whatever ink the cut
// crosses, where its pieces' mean distance is below 0.45 of the whole's. A
// wide capital ("M", "W") read that badly seldom reads that well in two.
// Only places leaving ink 0.7 of the line's height tall on either side are
// read: the joint of two capitals does, and among them the few places read
// find it more often. Plainer signs of two allow pieces that read less
// well: a box reading 2.3 times as far as the usual character or more is
// no capital, however it is written, and parts below 0.65 of the whole's
// distance; one 1.6 times as wide as the line's character (wider than a
// capital is written, as the cut rules have it) that reads 1.5 times as
// far parts below 0.6. Such boxes are few, and the joint of a pair run
// together along a stroke often crosses more ink than the places through
// one letter do: they are read at twice as many places.
//
// What the box reads as is a sign too. Of the Latin capitals only "M" and
// "W" are written wider than tall; a box 1.5 times the line's width that
// reads best as any other letter, however well, is a letter written far
// wider than its kind, or two. It parts where its pieces read below 0.6 of
// the whole's distance at the best of the eight places crossing least ink,
// the places charged for their ink as the cut rules have it. Of the boxes
// from 0.9 of the line's width left whole by the rules above on the
// training seeds' lines, 86 held two capitals: 53 of them read as "M" or
// "W", like the wide single letters, and no single letter's width or
// aspect as its class reads told the rest apart; this sign parted 3 pairs
// and no single letter.
//
// A written "M" or "W" is nearly mirror-symmetric, row by row, about the
// middle of the row's ink however it slants; two letters run together
// that read as one of them ("IV", "NI", "LV") mostly are not. A box from
// 0.9 of the line's width read as "M" or "W" parts where under 0.825 of
// its ink pixels have ink within a column of their mirror image in their
// row and its pieces read below 0.65 of the whole at the best of the eight
// places charged for their ink. On touching lines of the training seeds'
// characters, 14 of the 52 pairs read as "M" or "W" that the rules above
// left whole met both, and 3 of 952 single "M" and "W"; either measure
// alone took in single letters by the score. Measured on lines of the
// training seeds' characters.
enum class WholeReading { kAnything, kNotWide, kWide };
constexpr int kAllMirrored = 1001;
struct PoorWholeRule {
  int fromTenths;     // least box width, tenths of the line's
  int wholePercent;   // the whole's distance, percent of the usual character's
  int piecesPercent;  // pieces' mean distance below this percent of the whole's
  int piecePercent;   // least piece height, percent of the line's
  size_t places;      // places read at most, those crossing least ink first
  bool chargesInk = false;            // places charged for the ink they cross
  WholeReading reads = WholeReading::kAnything;  // what the whole must read best as
  int mirroredBelow = kAllMirrored;   // per mille of ink mirrored in its row, below
};
constexpr PoorWholeRule kCapitalPoorWholes[] = {
    {10, 150, 45, 70, 8},
    {10, 230, 65, 70, 16},
    {16, 150, 60, 70, 16},
    {15, 0, 60, 0, 8, true, WholeReading::kNotWide},
    {9, 0, 65, 0, 8, true, WholeReading::kWide, 825},
};

// The Latin capitals written wider than tall: full-width "M" and "W".
bool WrittenWide(uint16_t code) { return code == 0x826C || code == 0x8276; }

// The share, per mille, of a box's ink pixels whose mirror image about the
// middle of their row's ink lies within a column of ink (1000 for no ink).
int RowMirroredPermille(const RunImage& page, const MupaRect& box) {
  auto inkAt = [&](int x, int y) {
    return x >= box.left && x <= box.right && PixelIsBlack(page, x, y);
  };
  int64_t ink = 0, mirrored = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    int first = box.right + 1, last = box.left - 1;
    for (int x = box.left; x <= box.right; ++x) {
      if (inkAt(x, y)) first = std::min(first, x), last = x;
    }
    for (int x = first; x <= last; ++x) {
      if (!inkAt(x, y)) continue;
      const int image = first + last - x;
      ++ink;
      if (inkAt(image - 1, y) || inkAt(image, y) || inkAt(image + 1, y)) ++mirrored;
    }
  }
  return ink > 0 ? static_cast<int>(1000 * mirrored / ink) : 1000;
}

// The median distance of the line's boxes as read (0 when none reads).
int64_t UsualDistance(const SegmentWork& w, BoxReadings* readings) {
  std::vector<int64_t> distances;
  for (int r = 0; r < w.header.boxCount; ++r) {
    const int64_t d = readings->Of(w.rows[r].box).distance;
    if (d > 0) distances.push_back(d);
  }
  if (distances.empty()) return 0;
  const auto middle = distances.begin() + static_cast<ptrdiff_t>(distances.size() / 2);
  std::nth_element(distances.begin(), middle, distances.end());
  return *middle;
}

// Where a box that reads far worse than the line's usual character, as a
// letter not written wide, or as one written wide but far from symmetric,
// parts by the rule, if anywhere; -1 when it stays whole. The places are
// read as `scoring` has them, charged for the ink they cross only where the
// rule says.
int PoorWholeCut(const PoorWholeRule& rule, const CutRule& scoring, const MupaRect& box,
                 const LineShape& shape, int leastHeight, int64_t usual, BoxReadings* readings) {
  if (usual <= 0 || 10 * Width(box) < rule.fromTenths * shape.width) return -1;
  const Reading whole = readings->Of(box);
  if (100 * whole.distance < rule.wholePercent * usual) return -1;
  if (rule.reads != WholeReading::kAnything &&
      (whole.distance <= 0 || WrittenWide(whole.code) != (rule.reads == WholeReading::kWide))) {
    return -1;
  }
  if (rule.mirroredBelow < kAllMirrored &&
      RowMirroredPermille(readings->run().image, box) >= rule.mirroredBelow) {
    return -1;
  }
  const std::vector<bool> allowed =
      PairPlaces(readings->run().image, box, rule.piecePercent, INT32_MAX, false, shape);
  if (std::none_of(allowed.begin(), allowed.end(), [](bool p) { return p; })) return -1;
  CutRule anyPlace = BestOfPlaces(scoring, rule.places);
  if (!rule.chargesInk) anyPlace.inkDivisor = 0;
  int64_t pieces = 0;
  const int x = BestReadCut(readings, anyPlace, box, whole.distance, shape.width, leastHeight,
                            allowed, &pieces);
  return x >= 0 && 100 * pieces < rule.piecesPercent * whole.distance ? x : -1;
}

// Two digits written touching may make a box about as wide as one digit
// whose halves read, to the pattern classifier, no better than those of a
// single 7 or 4 cut in two. The structural recognisers (the structure
// rules, and the stroke models with their class checks) judge a digit's
// shape more strictly: of the boxes from 0.9 of the line's width left
// whole on touching lines of the training seeds' digits, they took 119 of
// 134 pairs for no digit, but only one single digit in eight. So a box
// from the line's width that reads 1.2 times as far as the line's usual
// digit or more parts at its best place where the structural recognisers
// take the whole for no digit, its pieces read below three quarters of
// the whole's distance, both are three quarters as tall as the line or
// the box, whichever is taller (a tall 6 or 4 cut through leaves a short
// piece the recognisers take for a "1"), and the recognisers take each
// piece for a digit. The structural reading costs as much as a few of the
// classifier's: the whole is judged before its pieces are read, and the
// rule gives no opinion where the dictionary has no digit stroke models.
// Measured on lines of the training seeds' digits.
struct UnconfirmedPairRule {
  int fromTenths;     // least box width, tenths of the line's
  int wholePercent;   // the whole's distance, percent of the usual digit's
  int piecesPercent;  // pieces' mean distance below this percent of the whole's
  int piecePercent;   // least piece height, percent of the line's or the box's, the taller
  size_t places;      // places read at most, those crossing least ink first
};
constexpr UnconfirmedPairRule kUnconfirmedDigitPairs = {10, 120, 75, 75, 8};

// Where a digit box parts by the rule above, if anywhere; -1 when it stays
// whole or the dictionary gives no structural opinion.
int UnconfirmedPairCut(const UnconfirmedPairRule& rule, const CutRule& scoring,
                       const MupaRect& box, const LineShape& shape, int leastHeight,
                       int64_t usual, BoxReadings* readings) {
  if (usual <= 0 || 10 * Width(box) < rule.fromTenths * shape.width) return -1;
  const Reading whole = readings->Of(box);
  if (whole.distance <= 0 || 100 * whole.distance < rule.wholePercent * usual) return -1;
  // Most single digits are confirmed whole, and their pieces never read.
  const RecogRunBlock& run = readings->run();
  if (ConfirmsOneDigit(run, run.image, box) != 0) return -1;
  int64_t pieces = 0;
  const int x = BestReadCut(readings, BestOfPlaces(scoring, rule.places), box, whole.distance,
                            shape.width, leastHeight, {}, &pieces);
  if (x < 0 || 100 * pieces >= rule.piecesPercent * whole.distance) return -1;
  const bool byEdges = PartsJoinedRunsByEdges(readings->mask());
  const int tall = std::max(shape.height, Height(box));
  PieceImage pieceImages[2];
  for (int k = 0; k < 2; ++k) {
    pieceImages[k] = DrawPiece(run.image, box, {x}, byEdges, k);
    const PieceImage& p = pieceImages[k];
    if (!p.any || 100 * Height(p.ink) < rule.piecePercent * tall) return -1;
  }
  for (const PieceImage& p : pieceImages) {
    if (ConfirmsOneDigit(run, p.image, p.ink) != 1) return -1;
  }
  return x;
}

// The last column of the nearest box wholly left of row r's box and the
// first of the nearest wholly right of it (far off when there is none).
std::pair<int, int> NeighbourEdges(const SegmentWork& w, int r) {
  const MupaRect& box = w.rows[r].box;
  int left = INT32_MIN / 2, right = INT32_MAX / 2;
  for (int q = 0; q < w.header.boxCount; ++q) {
    const MupaRect& o = w.rows[q].box;
    if (q == r) continue;
    if (o.right < box.left) left = std::max<int>(left, o.right);
    if (o.left > box.right) right = std::min<int>(right, o.left);
  }
  return {left, right};
}

// Every row becomes the runs of its columns that hold ink: the grouping by
// shape alone joins pieces a blank column parts (the strokes of a "ハ", a
// "1" beside its neighbour), and which of them are one character is read.
// A sliver a few columns wide is a crumb of the character nearer it, not a
// piece to be read; on a line of digits or capitals, a sliver at the edge
// of a box that lies as near the neighbouring box as the rest of its own is
// read with both (the tip of a "4" broken off and grouped with the "5"
// beside it). A katakana's strokes are read together as they are drawn.
void SplitRowsAtBlankColumns(const RunImage& page, const LineShape& shape, uint32_t mask,
                             SegmentWork* w) {
  const int sliver = std::max(3, shape.width / 8);
  const bool readEdgeSlivers = (mask & kTypeKatakana) == 0;
  for (int r = 0; r < w->header.boxCount; ++r) {
    const MupaRect box = w->rows[r].box;
    std::vector<std::pair<int, int>> runs;  // columns holding ink
    for (int x = box.left; x <= box.right; ++x) {
      bool ink = false;
      for (int y = box.top; y <= box.bottom && !ink; ++y) ink = PixelIsBlack(page, x, y);
      if (!ink) continue;
      if (!runs.empty() && runs.back().second == x - 1) {
        runs.back().second = x;
      } else {
        runs.emplace_back(x, x);
      }
    }
    const auto [leftEdge, rightEdge] = NeighbourEdges(*w, r);
    for (size_t k = 0; k < runs.size() && runs.size() > 1;) {
      if (runs[k].second - runs[k].first + 1 >= sliver) {
        ++k;
        continue;
      }
      const bool first = k == 0, last = k + 1 == runs.size();
      const int before = first ? INT32_MAX : runs[k].first - runs[k - 1].second;
      const int after = last ? INT32_MAX : runs[k + 1].first - runs[k].second;
      const bool eitherSide = (first && runs[k].first - leftEdge <= after) ||
                              (last && rightEdge - runs[k].second <= before);
      if (readEdgeSlivers && eitherSide) {
        ++k;
        continue;
      }
      if (before <= after) {
        runs[k - 1].second = runs[k].second;
      } else {
        runs[k + 1].first = runs[k].first;
      }
      runs.erase(runs.begin() + static_cast<ptrdiff_t>(k));
    }
    std::vector<int> cuts;  // the last column of each run but the last
    for (size_t k = 0; k + 1 < runs.size(); ++k) cuts.push_back(runs[k].second);
    if (!cuts.empty()) r += CutRow(page, cuts, PartsJoinedRunsByEdges(mask), r, w) - 1;
  }
}

// Digits and capitals are all of a height: a piece less than half the
// line's height is none of them, unless it is a third of a character wide
// and tall (an x-height figure of an old-style face, a small capital).
bool CanStandAlone(const LineShape& shape, uint32_t mask, const MupaRect& box) {
  if ((mask & kTypeKatakana) != 0 || 2 * Height(box) >= shape.height) return true;
  return 3 * Width(box) >= shape.width && 3 * Height(box) >= shape.height;
}

// Neighbours close together may be one character: a stroke broken on the
// scan or drawn apart leaves up to a third of the line's height between its
// pieces, and a slanted character is up to half as wide again as the line's
// usual one. A katakana drawn in strokes apart ("ハ", "ル") may leave as
// much as the line's height between them: the union's width bounds it.
// Neighbours that share a column were cut apart through ink by their shape:
// on a line that may hold capitals or katakana they may be one wide
// character (an "M", a "W") up to twice the usual width, which reading
// tells. On a line of capitals so may neighbours whose ink abuts, no blank
// column between: a wide capital's stroke broken across on the scan, or the
// shape's cut through its ink, leaves its pieces so. Digits are narrow: no
// union of digits that wide is one.
bool MayJoin(const LineShape& shape, uint32_t mask, const MupaRect& a, const MupaRect& b) {
  const MupaRect u = United(a, b);
  const bool wideLetters = (mask & (kTypeCapitals | kTypeKatakana)) != 0;
  const int leastShared = CapitalsWithoutDigits(mask) ? 0 : 1;
  if (wideLetters && SharedColumns(a, b) >= leastShared) {
    return Width(u) <= 2 * shape.width && 2 * Height(u) <= 3 * shape.height;
  }
  const int widestGap = (mask & kTypeKatakana) != 0 ? shape.height : shape.height / 3;
  return b.left - a.right - 1 <= widestGap && 2 * Width(u) <= 3 * shape.width &&
         2 * Height(u) <= 3 * shape.height;
}

// Each character of a sequence costs as much as a usual one read this much
// worse (percent): pieces of one character that read a little closer apart
// than together by chance stay together. Katakana drawn in strokes apart
// ("ハ", "ル", "リ") and their neighbours' pieces read as small katakana
// far more often than pieces of a digit or a capital read as digits or
// capitals, so a katakana line's characters cost three times as much.
// Measured on lines of the training seeds' characters.
int CharacterPercent(uint32_t mask) {
  return (mask & kTypeKatakana) != 0 ? 60 : 20;
}

// Each blank column a union bridges beyond `freeColumns` costs as much as a
// column of a usual character read `percent` worse. A digit is one stroke:
// its pieces broken on the scan lie a pixel or two apart, and two digits a
// clear gap apart (a "1" beside its neighbour) are not one, however the
// union reads. A capital's strokes drawn apart (the bar of a "T", the arms
// of a "K") leave a gap of a pixel or two. Katakana are drawn in strokes
// apart (the strokes of a "ハ"): a line that may hold them bridges gaps at
// no cost. Measured on lines of the training seeds' characters.
struct GapRule {
  int freeColumns;
  int percent;
};

GapRule BridgedGapRule(uint32_t mask) {
  if ((mask & kTypeKatakana) != 0) return {0, 0};
  if ((mask & kTypeCapitals) != 0) return {2, 100};
  if ((mask & kTypeDigits) != 0) return {0, 100};
  return {0, 0};
}

// Neighbouring characters seldom share columns: characters written apart
// share none, and written close a column or so. Each column two neighbours
// of a sequence share costs as a column of a usual character read
// `percent` worse, the first `firstPercent`: pieces of an "M" or a "W" that
// the shape cut through ink share several and read better together. Digits
// are narrow, and cut only where they touch: their lines pay nothing.
// Measured on lines of the training seeds' characters.
struct SharedRule {
  int firstPercent;
  int percent;
};

SharedRule SharedColumnRule(uint32_t mask) {
  if ((mask & (kTypeCapitals | kTypeKatakana)) != 0) return {50, 300};
  return {0, 0};
}

int64_t SharedColumnsCost(const SharedRule& rule, const MupaRect& a, const MupaRect& b,
                          int64_t usual) {
  const int shared = SharedColumns(a, b);
  if (shared < 1) return 0;
  return usual * (rule.firstPercent + int64_t{shared - 1} * rule.percent) / 100;
}

// Digits are of a width: one in twenty is wider than 1.2 of the line's
// usual digit, one in a hundred 1.4. Each column of a digit line's
// character beyond `tenths` of the usual width costs as a column of a usual
// character read `percent` worse: a "6" and a "7" a few pixels apart that
// read together as a wide "0" stay two. Capitals and katakana are narrow
// and wide by nature: their lines pay nothing. Measured on lines of the
// training seeds' characters.
struct WidthRule {
  int tenths;
  int percent;
};

WidthRule WideCharacterRule(uint32_t mask) {
  if (DigitsOnly(mask)) return {12, 100};
  return {0, 0};
}

int64_t ExcessWidthCost(const WidthRule& rule, const LineShape& shape, const MupaRect& box,
                        int64_t usual) {
  const int64_t excess = std::max(0, 10 * Width(box) - rule.tenths * shape.width) / 10;
  return excess * usual * rule.percent / 100;
}

// On a line of digits, a character's pieces joined leave fewer rows blank
// than each alone: each blank row of a character costs as a column of a
// usual character read `percent` worse. Rows a crumb fills (a piece that
// cannot stand alone) count as blank: a crumb does not fill the blank rows
// of a character (the tip of a "7" broken off level with a gap in the "7"
// beside it). Capitals and katakana are drawn in strokes one above another
// (an "E", a "ニ"): their lines pay nothing. Measured on lines of the
// training seeds' characters.
int BlankRowPercent(uint32_t mask) { return DigitsOnly(mask) ? 70 : 0; }

int CharacterBlankRows(const RunImage& page, const LineShape& shape, uint32_t mask,
                       const SegmentWork& w, int from, int to, const MupaRect& box) {
  std::vector<MupaRect> pieces;
  for (int r = from; r < to; ++r) {
    if (CanStandAlone(shape, mask, w.rows[r].box)) pieces.push_back(w.rows[r].box);
  }
  if (pieces.empty()) {
    for (int r = from; r < to; ++r) pieces.push_back(w.rows[r].box);
  }
  return BlankRows(page, pieces, box);
}

// Which neighbours join is chosen for the whole line at once: of every
// sequence of the rows' unions that may be characters, the one whose
// distances, each weighed by the columns it covers (every sequence covers
// the line once), add up least with the cost of its characters, of their
// width beyond the usual, of their blank rows and of the columns its
// neighbours share. A "1" beside a "7" reads well apart, the stem and arms
// of a "K" do not, and the two strokes of a "ハ" read as one.
void JoinByReading(const LineShape& shape, uint32_t mask, BoxReadings* readings,
                   SegmentWork* w) {
  const int n = w->header.boxCount;
  std::vector<uint8_t> joinsNext(n, 0);
  for (int r = 0; r + 1 < n; ++r) {
    joinsNext[r] = MayJoin(shape, mask, w->rows[r].box, w->rows[r + 1].box);
  }
  // The distances of the rows' unions i..j (a row that joins nothing is not read).
  struct Span {
    int from, to;
    MupaRect box;
    int64_t distance;
    int gap;        // blank columns the union bridges beyond the free ones
    int blankRows;  // rows of its box where its pieces have no ink
  };
  const GapRule gapRule = BridgedGapRule(mask);
  const int blankPercent = BlankRowPercent(mask);
  std::vector<Span> spans;
  std::vector<int64_t> known;
  for (int i = 0; i < n; ++i) {
    const bool alone = !(i > 0 && joinsNext[i - 1]) && !joinsNext[i];
    MupaRect u = w->rows[i].box;
    int gap = 0;
    for (int j = i + 1; j <= n; ++j) {
      if (j > i + 1) {
        if (!joinsNext[j - 2] || !MayJoin(shape, mask, u, w->rows[j - 1].box)) break;
        gap += std::max(0, w->rows[j - 1].box.left - u.right - 1 - gapRule.freeColumns);
        u = United(u, w->rows[j - 1].box);
      }
      const int64_t d = alone ? 0 : readings->Of(u).distance;
      const int blankRows =
          alone || blankPercent == 0
              ? 0
              : CharacterBlankRows(readings->run().image, shape, mask, *w, i, j, u);
      spans.push_back({i, j, u, d, gap, blankRows});
      if (d > 0) known.push_back(d);
    }
  }
  if (known.empty()) return;
  std::nth_element(known.begin(), known.begin() + known.size() / 2, known.end());
  const int64_t usual = known[known.size() / 2];
  const int64_t characterCost = int64_t{shape.width} * usual * CharacterPercent(mask) / 100;
  const SharedRule sharedRule = SharedColumnRule(mask);
  const WidthRule widthRule = WideCharacterRule(mask);
  // The best sequence ending in each span, and the span before it in that
  // sequence.
  constexpr int64_t kUnreached = INT64_MAX;
  std::vector<int64_t> best(spans.size(), kUnreached);
  std::vector<int> before(spans.size(), -1);
  std::vector<std::vector<int>> endingAt(n + 1);
  auto edge = [&](int r) { return r < n ? w->rows[r].box.left : w->rows[n - 1].box.right + 1; };
  for (size_t k = 0; k < spans.size(); ++k) {  // in order of their first row
    const Span& s = spans[k];
    if (s.distance < 0 && s.to > s.from + 1) continue;  // a union read as nothing is no character
    if (s.to == s.from + 1 && s.distance != 0 && !CanStandAlone(shape, mask, w->rows[s.from].box)) {
      continue;  // a piece that may join a neighbour and is no character alone
    }
    // A row read as nothing stands alone at the worst cost a row may have.
    const int64_t distance = s.distance < 0 ? 3 * usual : s.distance;
    const int64_t columns = std::max(1, edge(s.to) - edge(s.from));
    const int64_t gapCost = s.gap * usual * gapRule.percent / 100;
    const int64_t blankCost = s.blankRows * usual * blankPercent / 100;
    const int64_t own = characterCost + columns * distance + gapCost + blankCost +
                        ExcessWidthCost(widthRule, shape, s.box, usual);
    if (s.from == 0) best[k] = own;
    for (int p : endingAt[s.from]) {
      const int64_t cost = best[p] + own + SharedColumnsCost(sharedRule, spans[p].box, s.box, usual);
      if (cost < best[k]) best[k] = cost, before[k] = p;
    }
    if (best[k] != kUnreached) endingAt[s.to].push_back(static_cast<int>(k));
  }
  int last = -1;
  for (int k : endingAt[n]) {
    if (last < 0 || best[k] < best[last]) last = k;
  }
  if (last < 0) return;
  for (int k = last; k >= 0; k = before[k]) {
    for (int r = spans[k].to - 1; r > spans[k].from; --r) JoinRows(w, spans[k].from, r);
  }
}

}  // namespace

void TakeInStrayInk(const RecogRunBlock& run, SegmentWork* w) {
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

void ReadAmbiguousBoxes(const RecogRunBlock& run, uint32_t mask, SegmentWork* w) {
  if (w->header.boxCount < 1 || run.dictCount < 1 || run.dicts[0] == nullptr ||
      run.dicts[0]->patterns == nullptr) {
    return;
  }
  const LineShape shape = MeasureLine(*w);
  if (shape.height < 1 || shape.width < 4) return;
  BoxReadings readings(run, mask);
  SplitRowsAtBlankColumns(run.image, shape, mask, w);
  JoinByReading(shape, mask, &readings, w);
  // A box wider than the line's character may be two written close
  // together: it is cut where its pieces read clearly closer than the whole
  // (a wide character read as two narrow ones must not part).
  const CutRule& rule = (mask & kTypeDigits) != 0 ? kDigitCuts : kLetterCuts;
  // Digits and capitals are all of a height (as JoinShortPiece says).
  const int leastHeight = (mask & kTypeKatakana) != 0 ? 1 : (shape.height + 1) / 2;
  const std::vector<const PlainPairRule*> pairRules = PlainPairRulesOf(mask);
  // Capitals only: on lines of digits it parts digits that stand apart, and
  // on lines of katakana it gains little.
  const bool poorWholes = CapitalsWithoutDigits(mask);
  const bool unconfirmedPairs = DigitsOnly(mask) && CanConfirmDigits(run);
  const int64_t usual = poorWholes || unconfirmedPairs ? UsualDistance(*w, &readings) : 0;
  for (int r = 0; r < w->header.boxCount; ++r) {
    const MupaRect box = w->rows[r].box;
    int bestCut = -1;
    if (10 * Width(box) >= rule.fromTenths * shape.width) {
      const Reading reading = readings.Of(box);
      const bool wider = 10 * Width(box) >= rule.sureTenths * shape.width;
      // One character, no doubt (unless it reads far worse than the line's
      // characters, below).
      if (reading.confidence < kSureConfidence || wider) {
        bestCut = BestReadCut(&readings, rule, box, reading.distance, shape.width, leastHeight);
      }
    }
    for (const PlainPairRule* pair : pairRules) {
      if (bestCut >= 0) break;
      bestCut = PlainPairCut(*pair, rule, box, shape, leastHeight, &readings);
    }
    for (const PoorWholeRule& poor : kCapitalPoorWholes) {
      if (bestCut >= 0 || !poorWholes) break;
      bestCut = PoorWholeCut(poor, rule, box, shape, leastHeight, usual, &readings);
    }
    if (bestCut < 0 && unconfirmedPairs) {
      bestCut = UnconfirmedPairCut(kUnconfirmedDigitPairs, rule, box, shape, leastHeight, usual,
                                   &readings);
    }
    if (bestCut >= 0 && CutRow(run.image, {bestCut}, PartsJoinedRunsByEdges(mask), r, w) > 1) {
      --r;  // its pieces are tried again
    }
  }
}
