// Boxes, the line's usual character and the ink of columns and rows, as
// the stages mending a line's grouped boxes measure them.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ocrlib/frame/box_repair_internal.h"

namespace box_repair {
namespace {

// The value `share` (0..1) of the way up the sorted values.
int Quantile(std::vector<int> values, double share) {
  if (values.empty()) return 0;
  const auto at = values.begin() + static_cast<ptrdiff_t>(share * (values.size() - 1) + 0.5);
  std::nth_element(values.begin(), at, values.end());
  return *at;
}

}  // namespace

bool SameRect(const MupaRect& a, const MupaRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int SharedColumns(const MupaRect& a, const MupaRect& b) {
  return std::min(a.right, b.right) - std::max(a.left, b.left) + 1;
}

int BoxDistance(const MupaRect& a, const MupaRect& b) {
  const int dx = std::max({0, a.left - b.right - 1, b.left - a.right - 1});
  const int dy = std::max({0, a.top - b.bottom - 1, b.top - a.bottom - 1});
  return std::max(dx, dy);
}

bool DigitsOnly(uint32_t mask) {
  return (mask & kTypeDigits) != 0 && (mask & (kTypeCapitals | kTypeKatakana)) == 0;
}

bool CapitalsWithoutDigits(uint32_t mask) {
  return (mask & kTypeCapitals) != 0 && (mask & kTypeDigits) == 0;
}

bool CapitalsOnly(uint32_t mask) {
  return CapitalsWithoutDigits(mask) && (mask & kTypeKatakana) == 0;
}

MupaRect United(const MupaRect& a, const MupaRect& b) {
  MupaRect u;
  UniteBoxes(a, b, &u);
  return u;
}

LineShape MeasureLine(const SegmentWork& w) {
  std::vector<int> heights, widths;
  for (int r = 0; r < w.header.boxCount; ++r) heights.push_back(Height(w.rows[r].box));
  LineShape shape;
  shape.height = Quantile(heights, 0.75);
  for (int r = 0; r < w.header.boxCount; ++r) {
    if (2 * Height(w.rows[r].box) >= shape.height) widths.push_back(Width(w.rows[r].box));
  }
  shape.width = Quantile(widths, 0.75);
  shape.medianWidth = Quantile(widths, 0.5);
  return shape;
}

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

bool RowHasInk(const RunImage& page, const std::vector<int>& columns, int y) {
  return std::any_of(columns.begin(), columns.end(),
                     [&](int x) { return PixelIsBlack(page, x, y); });
}

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

// Digits are drawn as one stroke or strokes that meet: a digit's ink meets every
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

}  // namespace box_repair
