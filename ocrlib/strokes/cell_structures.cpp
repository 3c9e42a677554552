// Cells of a line: the kind of every cell (a character, or a comma, full
// stop, quote or dash told by its height, its place in the line and how its
// black pixels spread over its quadrants).
#include <algorithm>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

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
