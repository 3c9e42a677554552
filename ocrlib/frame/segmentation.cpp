// Segmentation of a line or field into character boxes: the worker of
// MupaSegChar, the line driver's segmentation step, the estimates of
// character size and pitch, and the general path that lists every plausible
// box (joined nested and narrow components chained into rows). The choice of
// the best sequence of boxes is segment_paths.cpp's, the type-driven
// grouping grouping.cpp's.
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kMaxRowWidth = 1280, kMaxRowHeight = 320;

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -9;
}

int CentreX(const MupaRect& b) { return (b.left + b.right) >> 1; }

// A row of one component (its own index).
void SingleRow(SegmentWork* w, int row, int component) {
  CharBoxRow& r = w->rows[row];
  r = CharBoxRow{};
  r.box = w->components[component].box;
  MeasureRow(&r);
  r.number = static_cast<uint16_t>(row);
  r.state = kRowOrdinary;
  r.componentCount = 1;
  r.components[0] = static_cast<uint16_t>(component);
}

// Joins components by `joins(growing box, candidate)` in one pass: each
// component not yet taken starts a new one and takes every later one that
// joins it. The joined components replace the old ones.
template <class Joins>
void MergeComponents(SegmentWork* w, Joins joins) {
  ComponentRecord* c = w->components;
  const int n = w->header.componentCount;
  int kept = 0;
  for (int i = 0; i < n; ++i) {
    if (c[i].boxNumber == kComponentTaken) continue;
    ComponentRecord grown = c[i];
    for (int j = i + 1; j < n; ++j) {
      if (c[j].boxNumber == kComponentTaken || !joins(grown.box, c[j].box)) continue;
      c[j].boxNumber = kComponentTaken;
      UniteBoxes(grown.box, c[j].box, &grown.box);
    }
    grown.width = static_cast<int16_t>(grown.box.right - grown.box.left + 1);
    grown.height = static_cast<int16_t>(grown.box.bottom - grown.box.top + 1);
    grown.number = static_cast<int16_t>(kept);
    grown.boxNumber = 0;
    c[kept++] = grown;
  }
  w->header.componentCount = static_cast<int16_t>(kept);
}

// One component left or none: its row is the only box.
bool FinishWhenSingle(SegmentWork* w) {
  if (w->header.componentCount > 1) return false;
  w->header.boxCount = static_cast<int16_t>(w->header.componentCount);
  if (w->header.componentCount == 1) SingleRow(w, 0, 0);
  return true;
}

// Rows of chained components: every component starts a chain, and each later
// component within 2s/3 of the chain's last row (and the union at most 2s
// wide) adds a row of the chain with it. At the 201st row the rows are cut
// after the last component that had a row of its own (14).
int ChainComponentRows(SegmentWork* w, int s) {
  const ComponentRecord* c = w->components;
  const int n = w->header.componentCount;
  const int gapLimit = 2 * s / 3, widthLimit = 2 * s;
  int rows = 0;
  bool full = false;
  for (int i = 0; i < n && !full; ++i) {
    if (rows == kMaxBoxRows - 1) {
      full = true;
      break;
    }
    SingleRow(w, rows++, i);
    for (int j = i + 1; j < n; ++j) {
      const CharBoxRow& last = w->rows[rows - 1];
      if (last.componentCount >= kMaxRowComponents) break;
      const int gap = std::max(c[j].box.left - last.box.right - 1, last.box.left - c[j].box.right - 1);
      MupaRect united;
      UniteBoxes(last.box, c[j].box, &united);
      if (gap > gapLimit || (gap >= 0 && united.right - united.left + 1 > widthLimit)) continue;
      if (rows == kMaxBoxRows - 1) {
        full = true;
        break;
      }
      CharBoxRow& r = w->rows[rows];
      r = last;
      r.box = united;
      MeasureRow(&r);
      r.number = static_cast<uint16_t>(rows);
      r.components[r.componentCount++] = static_cast<uint16_t>(j);
      if (gap >= 0) r.widestGap = static_cast<uint16_t>(std::max<int>(r.widestGap, gap));
      ++rows;
    }
  }
  if (full) {
    int cut = -1;
    for (int r = rows - 1; r >= 0 && cut < 0; --r) {
      if (w->rows[r].componentCount == 1) cut = w->rows[r].components[0];
    }
    int kept = 0;
    for (int r = 0; r < rows; ++r) {
      const CharBoxRow& row = w->rows[r];
      if (*std::max_element(row.components, row.components + row.componentCount) > cut) continue;
      w->rows[kept] = row;
      w->rows[kept].number = static_cast<uint16_t>(kept);
      ++kept;
    }
    rows = kept;
    w->header.componentCount = static_cast<int16_t>(cut + 1);
    PushErrorCode(kErrCapacityFull);
  }
  w->header.boxCount = static_cast<int16_t>(rows);
  return full ? -9 : 0;
}

// Components of the rectangle into the work's records, sorted, with their
// union, and the boxes of the specks filtered out. 0; -2 none; -9 after a
// code.
int ExtractLineComponents(const RecogRunBlock& run, uint32_t mask, SegmentWork* w,
                          std::vector<MupaRect>* specks) {
  w->header = SegmentHeader{};
  int count = 0, speckCount = 0;
  const int rc =
      ExtractCellComponents(run.image, run.rect, mask, w->components, &count, &speckCount);
  if (rc == -2) return -2;
  if (rc != 0) return -9;
  specks->clear();
  for (int i = 0; i < speckCount; ++i) specks->push_back(w->components[count + i].box);
  w->header.componentCount = static_cast<int16_t>(count);
  if (count > 1) {
    SortComponentsByCentre(w);
    UniteComponentBoxes(w);
  } else {
    w->header.box = w->components[0].box;
  }
  return 0;
}

// The boxes of the rectangle's components by the mask, before any choice
// of a best sequence: for the specialised types the grouped boxes mended
// with what the whole line shows, touching characters cut apart, the boxes
// the shape leaves open read with the dictionary, and stray ink taken in.
// MupaSegChar and the line driver cut a line alike. 0; -2 no component; -9
// after a code (a limit reached leaves its warning and still gives 0).
int SegmentRectangle(const RecogRunBlock& run, uint32_t mask, int max, SegmentWork* w) {
  std::vector<MupaRect> specks;
  const int rc = ExtractLineComponents(run, mask, w, &specks);
  if (rc != 0) return rc;
  bool grouped = true;  // false: a limit reached, the rows cut short
  if (w->header.componentCount == 1) {
    SingleRow(w, 0, 0);
    w->rows[0].number = static_cast<uint16_t>(w->components[0].boxNumber);
    w->header.boxCount = 1;
  } else {
    grouped = SegmentByMask(mask, max, w) == 0;
  }
  if (!IsTypeDrivenMask(mask)) return 0;
  if (grouped) RepairGroupedBoxes(mask, specks, &run.image, w);
  ReadAmbiguousBoxes(run, mask, w);
  TakeInStrayInk(run, w);
  return 0;
}

}  // namespace

bool SegmentationReadsBoxes(const RecogRunBlock& run) {
  return run.dictCount >= 1 && run.dicts[0] != nullptr && run.dicts[0]->patterns != nullptr;
}

bool IsTypeDrivenMask(uint32_t mask) {
  switch (mask) {
    case 1: case 2: case 3: case 8: case 129: case 131: case 258: case 259: case 387:
    case 512: case 513: case 514: case 515: case 1032:
      return true;
    default:
      return false;
  }
}

int ClassifyBoxOverlap(const MupaRect& a, const MupaRect& b) {
  auto inside = [](const MupaRect& p, const MupaRect& q) {
    return p.left >= q.left && p.right <= q.right && p.top >= q.top && p.bottom <= q.bottom;
  };
  if (inside(a, b) || inside(b, a)) return 1;
  if ((a.left <= b.left && a.right >= b.right) || (b.left <= a.left && b.right >= a.right)) {
    return 2;
  }
  if (b.top <= a.top && b.bottom >= a.bottom) return 3;
  if (b.top < a.top || b.bottom > a.bottom) return 4;
  return 3;
}

void SortComponentsByCentre(SegmentWork* w) {
  ComponentRecord* c = w->components;
  const int n = w->header.componentCount;
  // Equal centres keep their order by left edge.
  std::stable_sort(c, c + n, [](const ComponentRecord& a, const ComponentRecord& b) {
    return a.box.left < b.box.left;
  });
  std::stable_sort(c, c + n, [](const ComponentRecord& a, const ComponentRecord& b) {
    return CentreX(a.box) < CentreX(b.box);
  });
}

void UniteComponentBoxes(SegmentWork* w) {
  ResetUnionBox(&w->header.box);
  for (int i = 0; i < w->header.componentCount; ++i) {
    UniteBoxes(w->header.box, w->components[i].box, &w->header.box);
  }
}

void ClampRowSize(CharBoxRow* row) {
  if (row->box.right - row->box.left + 1 > kMaxRowWidth) {
    row->box.right = static_cast<int16_t>(row->box.left + kMaxRowWidth - 1);
  }
  if (row->box.bottom - row->box.top + 1 > kMaxRowHeight) {
    row->box.bottom = static_cast<int16_t>(row->box.top + kMaxRowHeight - 1);
  }
  MeasureRow(row);
}

void EstimateCharMetrics(const ComponentRecord* c, int count, int* size, int* pitch) {
  *size = 0;
  *pitch = 1;
  if (count < 1) return;
  auto side = [&](int i) { return std::max<int>(c[i].width, c[i].height); };
  int64_t sum = 0;
  for (int i = 0; i < count; ++i) sum += side(i);
  const int64_t a = sum / count;
  int64_t fitting = 0, n = 0;
  for (int i = 0; i < count; ++i) {
    if (side(i) >= 3 * a / 4 && side(i) <= 5 * a / 2) fitting += side(i), ++n;
  }
  if (fitting == 0) {
    n = 0;
    for (int i = 0; i < count; ++i) {
      if (c[i].width <= 5 * a / 2) fitting += c[i].width, ++n;
    }
  }
  *size = n > 0 ? static_cast<int>(fitting / n) : static_cast<int>(a);
  if (count < 2) return;  // no pitch of a single component
  const int64_t p = (CentreX(c[count - 1].box) - CentreX(c[0].box)) / (count - 1);
  int64_t steps = 0, m = 0, all = 0, allCount = 0;
  for (int i = 1; i < count; ++i) {
    const int64_t d = std::abs(CentreX(c[i].box) - CentreX(c[i - 1].box)) + 1;
    if (d >= 3 * p / 4 && d <= 5 * p / 2) steps += d, ++m;
    if (d <= 5 * p / 2) all += d, ++allCount;
  }
  const int64_t result = m > 0 ? steps / m : allCount > 0 ? all / allCount : 1;
  *pitch = result > 0 ? static_cast<int>(result) : 1;
}

int BuildCandidateBoxes(SegmentWork* w) {
  MergeComponents(w, [](const MupaRect& grown, const MupaRect& c) {
    const int r = ClassifyBoxOverlap(grown, c);
    return r == 1 || r == 2;
  });
  if (FinishWhenSingle(w)) return 0;
  int size = 0, pitch = 0;
  EstimateCharMetrics(w->components, w->header.componentCount, &size, &pitch);
  MergeComponents(w, [size](const MupaRect& a, const MupaRect& b) {
    MupaRect u;
    UniteBoxes(a, b, &u);
    if (u.right - u.left + 1 <= size / 2) return true;
    const int overlap = std::min(a.right - b.left + 1, b.right - a.left + 1);
    if (overlap < 1) return false;
    return 3 * overlap >= 2 * (a.right - a.left + 1) || 3 * overlap >= 2 * (b.right - b.left + 1);
  });
  if (FinishWhenSingle(w)) return 0;
  EstimateCharMetrics(w->components, w->header.componentCount, &size, &pitch);
  w->header.size = static_cast<uint16_t>(size);
  w->header.pitch = static_cast<uint16_t>(pitch);
  return ChainComponentRows(w, size);
}

int SegmentByMask(uint32_t mask, int max, SegmentWork* w) {
  if (!IsTypeDrivenMask(mask)) return BuildCandidateBoxes(w) == 0 ? 0 : -1;
  const int rc = (mask & kTypeKatakana) ? GroupKana(mask, max, w) : GroupAlnum(mask, max, w);
  FinishGroupedRows(w);
  return rc;
}

int SegmentCharacters(RecogRunBlock* run, MupaRect* boxes, int max, int* count) {
  ClearErrorStack();
  *count = 0;
  if (CheckRecognitionInput(*run, max, 1) != 0) return -9;
  uint32_t offered = 0, mask = 0;
  if (GetCharTypeMasks(run->dicts[0], &offered, &mask) != 0) return -9;
  std::unique_ptr<SegmentWork> w(new (std::nothrow) SegmentWork);
  if (!w) return Fail(kErrNoMemory);
  const int rc = SegmentRectangle(*run, mask, max, w.get());
  if (rc == -2) return 0;
  if (rc != 0) return -9;
  if (w->header.boxCount > 1 && !IsTypeDrivenMask(mask) &&
      ChooseBestSegmentation(w.get(), max) != 0) {
    return -9;
  }
  const int found = w->header.boxCount;
  if (found > max) PushErrorCode(max == kMaxBoxes ? kErrCapacityFull : kErrResultsFull);
  *count = std::min(found, max);
  for (int i = 0; i < *count; ++i) boxes[i] = w->rows[i].box;
  return GetErrorCount() > 0 ? -1 : 0;
}

int SegmentLine(const RecogRunBlock& run, int max, SegmentWork* work) {
  uint32_t offered = 0, mask = 0;
  if (GetCharTypeMasks(run.dicts[0], &offered, &mask) != 0) return -1;
  const int rc = SegmentRectangle(run, mask, max, work);
  if (rc == -2) return -2;
  if (rc != 0) return -1;
  for (int i = 0; i < work->header.boxCount; ++i) ClampRowSize(&work->rows[i]);
  return 0;
}
