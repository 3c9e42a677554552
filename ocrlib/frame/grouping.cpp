// Type-driven grouping of components into one box per character: katakana
// (built of separate strokes and voicing marks) join by their centres;
// digits, capitals and signs by how their boxes overlap. Boxes that come out
// too wide for one character are split at the largest gaps between their
// components. Rows are numbered from 1 while grouping (row 0 is scratch) and
// a component's box number is its row's number.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "ocrlib/frame/frame_internal.h"

namespace {

constexpr uint16_t kGapChosen = 65534;
constexpr uint16_t kGapBlocked = 65535;

int CentreX(const MupaRect& b) { return (b.left + b.right) >> 1; }
int CentreY(const MupaRect& b) { return (b.top + b.bottom) >> 1; }
int Width(const MupaRect& b) { return b.right - b.left + 1; }
int Height(const MupaRect& b) { return b.bottom - b.top + 1; }

// Blank columns between two boxes (0 when they touch or share columns).
int HorizontalGap(const MupaRect& a, const MupaRect& b) {
  return std::max({0, a.left - b.right - 1, b.left - a.right - 1});
}

MupaRect Union(const MupaRect& a, const MupaRect& b) {
  MupaRect u;
  UniteBoxes(a, b, &u);
  return u;
}

int LimitCode(int max) { return max == kMaxBoxes ? kErrCapacityFull : kErrResultsFull; }

void NewBoxRow(SegmentWork* w, int number, ComponentRecord* c) {
  CharBoxRow& r = w->rows[number];
  r = CharBoxRow{};
  r.box = c->box;
  r.number = static_cast<uint16_t>(number);
  r.state = kRowOrdinary;
  c->boxNumber = static_cast<uint16_t>(number);
}

void AddToBoxRow(SegmentWork* w, int number, ComponentRecord* c) {
  UniteBoxes(w->rows[number].box, c->box, &w->rows[number].box);
  c->boxNumber = static_cast<uint16_t>(number);
}

// The removed row goes into the kept one; rows and box numbers above it move
// down one.
void MergeBoxRows(SegmentWork* w, int keep, int remove, int count) {
  UniteBoxes(w->rows[keep].box, w->rows[remove].box, &w->rows[keep].box);
  for (int r = remove; r < count; ++r) {
    w->rows[r] = w->rows[r + 1];
    w->rows[r].number = static_cast<uint16_t>(r);
  }
  for (int i = 0; i < w->header.componentCount; ++i) {
    uint16_t& b = w->components[i].boxNumber;
    if (b == remove) {
      b = static_cast<uint16_t>(keep);
    } else if (b > remove && b != kComponentTaken) {
      --b;
    }
  }
}

int CentresNear(const MupaRect& a, const MupaRect& b, int limit, int verticalLimit) {
  return std::abs(CentreX(a) - CentreX(b)) > limit + 1 ||
                 std::abs(CentreY(a) - CentreY(b)) > verticalLimit + 1
             ? -2
             : -1;
}

int UnionWithin(const MupaRect& a, const MupaRect& b, int widthLimit, int heightLimit) {
  MupaRect u;
  UniteBoxes(a, b, &u);
  return Width(u) > widthLimit || Height(u) > heightLimit ? -2 : -1;
}

int CountBoxComponents(const SegmentWork& w, const CharBoxRow& row) {
  int n = 0;
  for (int i = 0; i < w.header.componentCount; ++i) n += w.components[i].boxNumber == row.number;
  return n;
}

// Inserts `row` at `position`, moving rows position..last-1 up one place.
void InsertRowAt(SegmentWork* w, const CharBoxRow& row, int position, int last) {
  if (position >= kMaxBoxRows) return;
  for (int r = std::min(last, kMaxBoxRows - 1); r > position; --r) w->rows[r] = w->rows[r - 1];
  w->rows[position] = row;
}

// The indices of the row's components in component order.
std::vector<int> ComponentsOf(const SegmentWork& w, const CharBoxRow& row) {
  std::vector<int> out;
  for (int i = 0; i < w.header.componentCount; ++i) {
    if (w.components[i].boxNumber == row.number) out.push_back(i);
  }
  return out;
}

// Marks n - 1 split points among the gaps of the row's components (slot g:
// between its components g and g + 1); returns the pieces left (1 when no
// gap qualifies at all).
int FindSplitPoints(const SegmentWork& w, const std::vector<int>& members,
                    std::vector<uint16_t>* slots, int n) {
  const int m = static_cast<int>(members.size());
  slots->assign(std::max(m - 1, 0), 0);
  for (int ia = 0; ia < m; ++ia) {
    for (int ib = 0; ib < m; ++ib) {
      if (ia == ib) continue;
      const MupaRect& a = w.components[members[ia]].box;
      const MupaRect& b = w.components[members[ib]].box;
      const int r = ClassifyBoxOverlap(a, b);
      const int s = TestOverlapStrength(a, b, Width(a) / 2, 32767, Width(b) / 2, 32767);
      if (r != 1 && r != 2 && s != 1 && s != 3) continue;
      const int gap = ib < ia ? ia - 1 : ia;  // the gap beside a on b's side
      if (gap >= 0 && gap < m - 1) (*slots)[gap] = kGapBlocked;
    }
  }
  for (int g = 0; g < m - 1; ++g) {
    if ((*slots)[g] == kGapBlocked) continue;
    (*slots)[g] = static_cast<uint16_t>(std::abs(CentreX(w.components[members[g + 1]].box) -
                                                 CentreX(w.components[members[g]].box)));
  }
  std::vector<bool> chosen(slots->size(), false);
  for (int pick = 0; pick < n - 1; ++pick) {
    int best = -1;
    for (int g = 0; g < m - 1; ++g) {
      if (chosen[g] || (*slots)[g] == kGapBlocked) continue;
      if (best < 0 || static_cast<int16_t>((*slots)[g]) > static_cast<int16_t>((*slots)[best])) {
        best = g;
      }
    }
    if (best < 0) {
      if (pick == 0) return 1;  // no gap may be split at all
      break;
    }
    chosen[best] = true;
  }
  for (size_t g = 0; g < slots->size(); ++g) {
    if (chosen[g]) (*slots)[g] = kGapChosen;
  }
  return n;
}

// Replaces row k by its pieces, split at the chosen gaps.
void SplitBoxRow(SegmentWork* w, int k, const std::vector<int>& members,
                 const std::vector<uint16_t>& slots) {
  int highest = 0;
  for (int r = 1; r <= w->header.boxCount; ++r) highest = std::max<int>(highest, w->rows[r].number);
  int number = highest + 1;
  int placed = 0;
  CharBoxRow scratch = w->rows[k];
  scratch.box = w->components[members[0]].box;
  scratch.number = static_cast<uint16_t>(number);
  w->components[members[0]].boxNumber = static_cast<uint16_t>(number);
  auto place = [&] {
    if (placed == 0) {
      w->rows[k] = scratch;
    } else if (w->header.boxCount + 1 >= kMaxBoxRows) {
      PushErrorCode(kErrCapacityFull);  // the piece that does not fit is lost
    } else {
      InsertRowAt(w, scratch, k + placed, w->header.boxCount + 1);
      ++w->header.boxCount;
    }
    ++placed;
  };
  for (size_t i = 1; i < members.size(); ++i) {
    ComponentRecord& c = w->components[members[i]];
    if (slots[i - 1] != kGapChosen) {
      UniteBoxes(scratch.box, c.box, &scratch.box);
      c.boxNumber = static_cast<uint16_t>(number);
      continue;
    }
    place();
    scratch.box = c.box;
    scratch.number = static_cast<uint16_t>(++number);
    c.boxNumber = static_cast<uint16_t>(number);
  }
  place();
}

// Mean of the values lying in lo..hi; when their sum is 0, of those at most
// hi; 0 when none.
int64_t MeanWithin(const std::vector<int64_t>& values, int64_t lo, int64_t hi) {
  int64_t sum = 0, n = 0;
  for (int64_t v : values) {
    if (v >= lo && v <= hi) sum += v, ++n;
  }
  if (sum == 0) {
    n = 0;
    for (int64_t v : values) {
      if (v <= hi) sum += v, ++n;
    }
  }
  return n > 0 ? sum / n : 0;
}

}  // namespace

int NearEnough(const ComponentRecord& a, const ComponentRecord& b, int tolerance,
               int heightTolerance) {
  const int h1 = a.box.left - b.box.right - 1, h2 = b.box.left - a.box.right - 1;
  const int v1 = a.box.top - b.box.bottom - 1, v2 = b.box.top - a.box.bottom - 1;
  return h1 > tolerance || h2 > tolerance || v1 > heightTolerance || v2 > heightTolerance ? -2
                                                                                         : -1;
}

int TestOverlapStrength(const MupaRect& a, const MupaRect& b, int halfWidthA, int heightA,
                        int halfWidthB, int heightB) {
  const int ox = std::min(a.right - b.left, b.right - a.left);
  const int oy = std::min(a.bottom - b.top, b.bottom - a.top);
  if (ox < 1 && oy < 1) return -2;
  const bool tall = oy >= heightA || oy >= heightB;
  const bool narrow = ox < halfWidthA && ox < halfWidthB;
  if (narrow) return tall ? 2 : -2;
  return tall ? 3 : 1;
}

int DecideAlnumJoin(int relation, const ComponentRecord& a, const ComponentRecord& b, int pitch,
                    int width) {
  if (relation == 1) return -1;
  if (relation == 2) {
    const ComponentRecord& big = b.box.bottom >= a.box.bottom ? a : b;
    const ComponentRecord& small = b.box.bottom >= a.box.bottom ? b : a;
    const bool apart = small.width <= big.width / 3 && small.height <= big.height / 2;
    return apart ? -2 : -1;
  }
  // Boxes side by side with blank columns between them are two characters:
  // the narrow-overlap rule below is for boxes that share columns (a
  // stroke's tail reaching over a neighbour), and would otherwise take a
  // gap for an overlap and join a "1" to the digit beside it.
  if (HorizontalGap(a.box, b.box) > 0) return -2;
  const int s = TestOverlapStrength(a.box, b.box, a.width / 2, 2 * a.height / 3, b.width / 2,
                                    2 * b.height / 3);
  if (s == 1 || s == 3) return -1;
  // Characters written close meet or share a column or two: when together
  // they are wider than a character, they are two.
  const int shared = std::min(a.box.right, b.box.right) - std::max(a.box.left, b.box.left) + 1;
  if (shared <= 2 && 3 * Width(Union(a.box, b.box)) > 4 * width) return -2;
  const int limit = pitch < 2 * width ? 5 * width / 3 : 2 * width;
  return UnionWithin(a.box, b.box, limit, 32767);
}

int DecideKanaJoin(int relation, const ComponentRecord& a, const ComponentRecord& b, int pitch,
                   int size) {
  if (relation == 1 || relation == 2) return -1;
  const int limit = 3 * size / 2 > pitch ? 3 * pitch / 4 : pitch;
  return CentresNear(a.box, b.box, limit, 32767);
}

int GroupComponentsIntoBoxes(uint32_t mask, int max, int pitch, int width, SegmentWork* w) {
  const int tolerance = std::max(width, pitch - width);
  const int n = w->header.componentCount;
  ComponentRecord* c = w->components;
  int count = 0;
  for (int i = 0; i < n; ++i) {
    if (c[i].boxNumber == 0) {
      if (count + 1 > max) {
        w->header.boxCount = static_cast<int16_t>(count);
        PushErrorCode(LimitCode(max));
        return -1;
      }
      NewBoxRow(w, ++count, &c[i]);
    }
    for (int j = i + 1; j < n; ++j) {
      if (NearEnough(c[i], c[j], tolerance, 32767) != -1) continue;
      const int r = ClassifyBoxOverlap(c[i].box, c[j].box);
      const int join = (mask & kTypeKatakana) ? DecideKanaJoin(r, c[i], c[j], pitch, width)
                                              : DecideAlnumJoin(r, c[i], c[j], pitch, width);
      if (join != -1) continue;
      const int bi = c[i].boxNumber, bj = c[j].boxNumber;
      if (bj == 0) {
        AddToBoxRow(w, bi, &c[j]);
      } else if (bj != bi) {
        MergeBoxRows(w, std::min(bi, bj), std::max(bi, bj), count);
        --count;
      }
    }
  }
  w->header.boxCount = static_cast<int16_t>(count);
  return 0;
}

int GroupAlnum(uint32_t mask, int max, SegmentWork* w) {
  const ComponentRecord* c = w->components;
  const int n = w->header.componentCount;
  if (n < 1) return 0;
  std::vector<int64_t> widths;
  int64_t sum = 0;
  for (int i = 0; i < n; ++i) widths.push_back(c[i].width), sum += c[i].width;
  const int64_t a = sum / n;
  const bool digits = (mask & kTypeDigits) != 0;
  const int64_t wide = digits ? 3 * a / 2 : 2 * a;
  int64_t width = MeanWithin(widths, a / 2, wide);
  if (width < 1) width = std::max<int64_t>(a, 1);
  int64_t pitch = 1;
  if (n >= 2) {  // one component has no pitch
    const int64_t p = (CentreX(c[n - 1].box) - CentreX(c[0].box)) / (n - 1);
    const int64_t most = digits ? 3 * p / 2 : 2 * p;
    int64_t steps = 0, m = 0;
    for (int i = 1; i < n; ++i) {
      const int64_t d = std::abs(CentreX(c[i].box) - CentreX(c[i - 1].box)) + 1;
      if (d >= p / 2 && d <= most) steps += d, ++m;
    }
    pitch = m > 0 ? steps / m : p;
    if (pitch < 1) pitch = 1;
  }
  const int rc = GroupComponentsIntoBoxes(mask, max, static_cast<int>(pitch),
                                          static_cast<int>(width), w);
  const int64_t limit = pitch < 2 * width ? 5 * width / 3 : 2 * width;
  if (MarkWideRows(static_cast<int>(limit), w)) {
    SplitWideBoxes(static_cast<int>(width), static_cast<int>(pitch), w);
  }
  return rc;
}

int GroupKana(uint32_t mask, int max, SegmentWork* w) {
  int size = 0, pitch = 1;
  EstimateCharMetrics(w->components, w->header.componentCount, &size, &pitch);
  size = std::max(size, 1);
  const int rc = GroupComponentsIntoBoxes(mask, max, pitch, size, w);
  const int limit = 3 * size / 2 > pitch ? 3 * size / 4 : size;
  if (MarkWideRows(limit, w)) SplitWideBoxes(size, pitch, w);
  return rc;
}

bool MarkWideRows(int limit, SegmentWork* w) {
  bool any = false;
  for (int r = 1; r <= w->header.boxCount; ++r) {
    CharBoxRow& row = w->rows[r];
    MeasureRow(&row);
    if (row.width > limit) {
      row.state = kRowTooWide;
      any = true;
    }
  }
  return any;
}

void SplitWideBoxes(int width, int pitch, SegmentWork* w) {
  std::vector<uint16_t> slots;
  for (int k = 1; k <= w->header.boxCount; ++k) {
    CharBoxRow& row = w->rows[k];
    if (row.state != kRowTooWide) continue;
    MeasureRow(&row);
    const int members = CountBoxComponents(*w, row);
    int n = std::clamp((pitch / 2 + row.width - width) / std::max(pitch, 1) + 1, 1,
                       std::max(members, 1));
    if (n == 1) continue;
    const std::vector<int> list = ComponentsOf(*w, row);
    n = FindSplitPoints(*w, list, &slots, n);
    if (n != 1) SplitBoxRow(w, k, list, slots);
  }
}

void FinishGroupedRows(SegmentWork* w) {
  int count = w->header.boxCount;
  if (count > kMaxBoxes) {
    PushErrorCode(kErrCapacityFull);  // boxes past 100 are lost: say so
    count = kMaxBoxes;
  }
  // Box numbers of the components follow their rows to the 0-based numbers;
  // components of dropped rows belong to none.
  std::vector<uint16_t> renumbered(w->header.componentCount, kComponentTaken);
  for (int r = 0; r < count; ++r) {
    CharBoxRow& row = w->rows[r];
    row = w->rows[r + 1];
    row.componentCount = 0;
    for (int i = 0; i < w->header.componentCount; ++i) {
      if (w->components[i].boxNumber != row.number || renumbered[i] != kComponentTaken) continue;
      renumbered[i] = static_cast<uint16_t>(r);
      if (row.componentCount < kMaxRowComponents) {
        row.components[row.componentCount++] = static_cast<uint16_t>(i);
      }
    }
    row.number = static_cast<uint16_t>(r);
    row.state = kRowOrdinary;
    MeasureRow(&row);
  }
  for (int i = 0; i < w->header.componentCount; ++i) w->components[i].boxNumber = renumbered[i];
  w->header.boxCount = static_cast<int16_t>(count);
}
