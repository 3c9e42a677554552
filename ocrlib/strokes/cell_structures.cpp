// Cells of a line: the cell's own bitmap for the one-character recogniser,
// and the kind of every cell (a character, or a comma, full stop, quote or
// dash told by its height, its place in the line and how its black pixels
// spread over its quadrants).
#include <algorithm>
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kOverflow = 0xFFFF;  // more pieces than a cell keeps

struct Piece {
  int top, bottom, left, right;
  int parent;
};

int Root(std::vector<Piece>& pieces, int p) {
  while (pieces[p].parent != p) p = pieces[p].parent;
  return p;
}

// Labels the black bytes of a w x h matrix 8-connected into `label` (0
// white). Returns the piece count (kOverflow beyond 19), or -1 after 14 for a
// row too wide or with too many runs.
int LabelPieces(const uint8_t* matrix, int w, int h, std::vector<int>* label,
                std::vector<Piece>* pieces) {
  if (w > kMaxCellRowPixels) {
    PushErrorCode(kErrCapacityFull);
    return -1;
  }
  label->assign(static_cast<size_t>(w) * h, 0);
  pieces->assign(1, Piece{0, 0, 0, 0, 0});
  for (int y = 0; y < h; ++y) {
    int runs = 0;
    for (int x = 0; x < w; ++x) {
      if (!matrix[y * w + x]) continue;
      if (x == 0 || !matrix[y * w + x - 1]) ++runs;
      if (runs > kMaxCellRowRuns) {
        PushErrorCode(kErrCapacityFull);
        return -1;
      }
      int mine = 0;
      // Neighbours already labelled: left, and the three above.
      const int neighbours[4][2] = {{x - 1, y}, {x - 1, y - 1}, {x, y - 1}, {x + 1, y - 1}};
      for (const auto& [xx, yy] : neighbours) {
        if (xx < 0 || yy < 0 || xx >= w || (*label)[yy * w + xx] == 0) continue;
        const int r = Root(*pieces, (*label)[yy * w + xx]);
        if (mine == 0) {
          mine = r;
        } else if (r != mine) {
          const int keep = std::min(mine, r), gone = std::max(mine, r);
          (*pieces)[gone].parent = keep;
          (*pieces)[keep].top = std::min((*pieces)[keep].top, (*pieces)[gone].top);
          (*pieces)[keep].bottom = std::max((*pieces)[keep].bottom, (*pieces)[gone].bottom);
          (*pieces)[keep].left = std::min((*pieces)[keep].left, (*pieces)[gone].left);
          (*pieces)[keep].right = std::max((*pieces)[keep].right, (*pieces)[gone].right);
          mine = keep;
        }
      }
      if (mine == 0) {
        mine = static_cast<int>(pieces->size());
        pieces->push_back(Piece{y, y, x, x, mine});
      }
      (*label)[y * w + x] = mine;
      Piece& piece = (*pieces)[mine];
      piece.bottom = std::max(piece.bottom, y);
      piece.left = std::min(piece.left, x);
      piece.right = std::max(piece.right, x);
    }
  }
  int roots = 0;
  for (size_t p = 1; p < pieces->size(); ++p) roots += (*pieces)[p].parent == static_cast<int>(p);
  return roots > kMaxCellPieces ? kOverflow : roots;
}

// Rule A (types without katakana) and rule B (with) on the quadrant counts.
uint16_t ClassifyQuadrants(const int q[4], int w, int h, bool katakana) {
  const int a = q[0], b = q[1], c = q[2], d = q[3];
  const int most = std::max({a, b, c, d}), least = std::min({a, b, c, d});
  const bool balanced = most * 2 <= least * 5;
  const bool squarish = 3 * h >= 2 * w && 3 * w >= 2 * h;
  if (katakana) {
    if (balanced && squarish) return kCellFullStop;
    if (a < b && d < b && c > a && c > d) return kCellComma;
    if (b >= a && c >= a && (d <= b || d <= c)) return kCellFullStop;
    return kCellQuote;
  }
  if (balanced && squarish) return kCellFullStop;
  if (b > a && d < b && c > a && d < c) return kCellComma;
  if (b < a && c < a && d > b && d > c) return kCellQuote;
  if (balanced) return kCellFullStop;
  // Rank sets: bit 3 "can be the largest" .. bit 0 "can be the smallest".
  static const int kByWins[4] = {0x0F, 0x0E, 0x0C, 0x08};
  static const int kByLosses[4] = {0x0F, 0x07, 0x03, 0x01};
  int rank[4];
  for (int i = 0; i < 4; ++i) {
    int wins = 0, losses = 0;
    for (int j = 0; j < 4; ++j) {
      wins += j != i && q[j] < q[i];
      losses += j != i && q[j] > q[i];
    }
    rank[i] = kByWins[wins] & kByLosses[losses];
  }
  auto test = [](int p, int qq, int r, int s) {
    return (p & 8) && (r & 2) && (((qq & 4) && (s & 1)) || ((s & 4) && (qq & 1)));
  };
  const int ra = rank[0], rb = rank[1], rc = rank[2], rd = rank[3];
  if (test(ra, rb, rd, rc)) return kCellQuote;
  if (test(rb, rd, rc, ra)) return kCellComma;
  if (test(rc, ra, rb, rd)) return kCellComma;
  if (test(rd, rc, ra, rb)) return kCellQuote;
  if (ra & 8) return kCellComma;
  if (rb & 8) return kCellQuote;
  if (!(rc & 8)) return kCellComma;
  return kCellQuote;
}

void QuadrantsOf(const RunImage& page, const CharBoxRow& cell, const ComponentRecord* components,
                 int componentCount, std::vector<uint8_t>& matrix, int q[4]) {
  const int w = cell.width, h = cell.height;
  matrix.resize(static_cast<size_t>(w) * h);
  CopyBoxComponents(page, cell, components, componentCount, matrix.data(), w, h);
  CountQuadrantPixels(matrix.data(), w, h, q);
}

// True when the box meets the box of a component of the cell other than
// `self`.
bool MeetsOtherComponent(const MupaRect& box, const CharBoxRow& cell, const ComponentRecord& self,
                         const ComponentRecord* components, int componentCount) {
  for (int i = 0; i < componentCount; ++i) {
    const ComponentRecord& other = components[i];
    if (&other == &self || other.boxNumber != cell.number) continue;
    const MupaRect& b = other.box;
    if (b.left <= box.right && box.left <= b.right && b.top <= box.bottom && box.top <= b.bottom) {
      return true;
    }
  }
  return false;
}

}  // namespace

void CountQuadrantPixels(const uint8_t* matrix, int w, int h, int counts[4]) {
  std::fill(counts, counts + 4, 0);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (!matrix[y * w + x]) continue;
      const bool left = x < (w + 1) / 2, right = x >= w / 2;
      const bool top = y < (h + 1) / 2, bottom = y >= h / 2;
      counts[0] += top && left;
      counts[1] += top && right;
      counts[2] += bottom && left;
      counts[3] += bottom && right;
    }
  }
}

int BuildCellBitmap(const RecogRunBlock& page, const CharBoxRow& cell,
                    const ComponentRecord* components, int componentCount, CellImage* out) {
  const int w = cell.width, h = cell.height;
  out->matrix.assign(static_cast<size_t>(w) * h, 0);
  out->bits.assign(static_cast<size_t>((w + 7) / 8) * h, 0);
  std::vector<uint8_t> piece;
  std::vector<int> label;
  std::vector<Piece> pieces;
  for (int i = 0; i < componentCount; ++i) {
    const ComponentRecord& c = components[i];
    if (c.boxNumber != cell.number) continue;
    CopyComponentPixels(page.image, cell.box.left, cell.box.top, c, out->matrix.data(), w, h);
    // Of a component that falls apart inside its box keep only the pieces
    // that run from its first row to its last.
    const int cw = c.width, ch = c.height;
    piece.assign(static_cast<size_t>(cw) * ch, 0);
    CopyComponentPixels(page.image, c.box.left, c.box.top, c, piece.data(), cw, ch);
    const int n = LabelPieces(piece.data(), cw, ch, &label, &pieces);
    if (n < 0) return -1;
    if (n <= 1 || n == kOverflow) continue;
    for (int y = 0; y < ch; ++y) {
      for (int x = 0; x < cw; ++x) {
        const int l = label[y * cw + x];
        if (l == 0) continue;
        const Piece& p = pieces[Root(pieces, l)];
        if (p.top == 0 && p.bottom == ch - 1) continue;
        // Ink of another component of the cell reaching into this one's box
        // (the dots of "ツ", the dash of "ソ") is that component's own.
        const MupaRect inPage = {static_cast<int16_t>(c.box.left + p.left),
                                 static_cast<int16_t>(c.box.top + p.top),
                                 static_cast<int16_t>(c.box.left + p.right),
                                 static_cast<int16_t>(c.box.top + p.bottom)};
        if (MeetsOtherComponent(inPage, cell, c, components, componentCount)) continue;
        const int mx = c.box.left + x - cell.box.left, my = c.box.top + y - cell.box.top;
        if (mx >= 0 && mx < w && my >= 0 && my < h) out->matrix[my * w + mx] = 0;
      }
    }
  }
  PackBoxBits(cell.box.left, cell.box.top, cell.box, out->matrix.data(), out->bits.data(), w, h);
  RecogRunBlock& run = out->run;
  run = page;
  run.image = RunImage{static_cast<int16_t>(w), static_cast<int16_t>(h), 1,
                       static_cast<int16_t>((w + 7) / 8), page.image.dpi, out->bits.data()};
  run.rect = {0, 0, static_cast<int16_t>(std::min(cell.box.right - cell.box.left, w - 1)),
              static_cast<int16_t>(std::min(cell.box.bottom - cell.box.top, h - 1))};
  run.cells = nullptr;
  run.cellCount = 0;
  return 0;
}

void TestCellStructures(const RecogRunBlock& page, const MupaRect& line, CharBoxRow* cells,
                        int cellCount, const ComponentRecord* components, int componentCount,
                        uint32_t mask, RecogCharResult* results, int limit) {
  const int top = line.top, height = line.bottom - line.top + 1;
  const int y1 = top + height / 4, y2 = top + height / 2, y3 = top + 2 * height / 3,
            y4 = top + 3 * height / 4;
  int tallest = 0;
  for (int i = 0; i < cellCount; ++i) tallest = std::max<int>(tallest, cells[i].height);
  const bool katakana = (mask & kTypeKatakana) != 0;
  std::vector<uint8_t> matrix;
  int q[4];
  for (int i = 0; i < cellCount; ++i) {
    CharBoxRow& c = cells[i];
    const int w = c.width, h = c.height;
    c.state = 0;
    if (katakana) continue;
    if (h <= tallest / 4 && h * 5 / 2 <= w) {
      c.state = kCellDash;
    } else if (c.box.top >= y1 && c.box.bottom <= y4 && h * 3 / 2 <= w) {
      QuadrantsOf(page.image, c, components, componentCount, matrix, q);
      const int a = q[0], b = q[1], cc = q[2], d = q[3];
      const bool sparse = a + b + cc + d < w * h * 11 / 20;
      const bool diagonal = (b > a + d && cc > a + d) || (a > b + cc && d > b + cc);
      if (!sparse || diagonal) c.state = kCellDash;
    }
  }
  for (int i = 0; i < cellCount; ++i) {
    CharBoxRow& c = cells[i];
    if (c.state == kCellDash) continue;
    const bool character =
        c.height > tallest / 2 || c.box.top < y2 || c.box.bottom < y3;
    c.state = character ? kCellCharacter : kCellPunctuation;
    if (character) continue;
    QuadrantsOf(page.image, c, components, componentCount, matrix, q);
    c.state = katakana && 2 * c.width < c.height ? kCellQuote
                                                 : ClassifyQuadrants(q, c.width, c.height, katakana);
  }
  for (int i = 0; i < cellCount && i < limit - 1; ++i) {
    const CharBoxRow& c = cells[i];
    if (c.state == kCellCharacter) continue;
    uint16_t code;
    if (mask & 0x180) {
      code = c.state == kCellDash ? 0x817C : c.state == kCellComma ? 0x8143 : 0x8144;
    } else {
      code = c.state == kCellFullStop || c.state == kCellComma ? 0x8142 : 0x8141;
    }
    SetSingleResult(&results[i], code, c.box);
  }
}
