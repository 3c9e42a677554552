// Reading the boxes a line's shape leaves open: its boxes parted at their
// blank columns, the pieces joined as the sequence that reads best over the
// whole line has them, and wide boxes tried in two.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ocrlib/frame/box_repair_internal.h"

namespace box_repair {
namespace {

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
int CharacterPercent(uint32_t mask) { return (mask & kTypeKatakana) != 0 ? 60 : 20; }

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
void JoinByReading(const LineShape& shape, uint32_t mask, BoxReadings* readings, SegmentWork* w) {
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
      const int64_t cost =
          best[p] + own + SharedColumnsCost(sharedRule, spans[p].box, s.box, usual);
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
}  // namespace box_repair

void ReadAmbiguousBoxes(const RecogRunBlock& run, uint32_t mask, SegmentWork* w) {
  using namespace box_repair;
  if (w->header.boxCount < 1 || !SegmentationReadsBoxes(run)) return;
  const LineShape shape = MeasureLine(*w);
  if (shape.height < 1 || shape.width < 4) return;
  BoxReadings readings(run, mask);
  SplitRowsAtBlankColumns(run.image, shape, mask, w);
  JoinByReading(shape, mask, &readings, w);
  CutWideBoxes(shape, mask, &readings, w);
}
