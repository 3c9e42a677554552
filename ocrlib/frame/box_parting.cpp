// The pieces of a box between cuts: which ink of the columns two
// characters share goes to which, their boxes, and each piece drawn alone.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ocrlib/frame/box_repair_internal.h"

namespace box_repair {
namespace {

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

}  // namespace

bool PartsJoinedRunsByEdges(uint32_t mask) { return CapitalsOnly(mask); }

std::vector<MupaRect> PieceBoxes(const RunImage& page, const MupaRect& box,
                                 const std::vector<int>& cuts, bool byEdges, bool withoutSpecks) {
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
      p.bits[static_cast<size_t>(row) * bytesPerLine + x / 8] |=
          static_cast<uint8_t>(0x80 >> (x % 8));
    }
    const MupaRect run = {static_cast<int16_t>(left - box.left), static_cast<int16_t>(row),
                          static_cast<int16_t>(right - box.left), static_cast<int16_t>(row)};
    UniteBoxes(p.ink, run, &p.ink);
    p.any = true;
  });
  p.image = RunImage{static_cast<int16_t>(width),
                     static_cast<int16_t>(height),
                     1,
                     static_cast<int16_t>(bytesPerLine),
                     page.dpi,
                     p.bits.data()};
  return p;
}

}  // namespace box_repair
