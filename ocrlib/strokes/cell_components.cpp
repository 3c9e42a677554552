// Connected components of a rectangle of the page: 8-connected labelling of
// the black runs row by row (at most 6,400 runs a row, 4,019 labels), boxes
// in page coordinates and a filter of specks scaled by the resolution.
#include <algorithm>
#include <memory>
#include <new>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -1;
}

// Runs of a row as ScanBitRun lists them (first, last, label), page columns.
struct RowRuns {
  int16_t* runs;  // 3 words a run
  uint16_t count;
};

uint16_t RootOf(const ComponentLabel* labels, uint16_t label) {
  while (labels[label].parent != label) label = labels[label].parent;
  return label;
}

// Masks whose characters are compact: a speck of a sixth of the largest
// component is already noise, elsewhere a tenth.
bool IsAlnumMask(uint32_t mask) {
  switch (mask) {
    case 1: case 2: case 3: case 129: case 131: case 258: case 259: case 387:
    case 512: case 513: case 514: case 515:
      return true;
    default:
      return false;
  }
}

int CountBlack(const RunImage& page, const MupaRect& box) {
  int n = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    for (int x = box.left; x <= box.right; ++x) n += PixelIsBlack(page, x, y);
  }
  return n;
}

}  // namespace

int LabelComponents(const RunImage& page, const MupaRect& rect, ComponentLabel* labels,
                    int* labelCount) {
  *labelCount = 0;
  constexpr int kRunWords = 3 * (kMaxRowRuns + 1);
  std::unique_ptr<int16_t[]> buffer(new (std::nothrow) int16_t[2 * kRunWords]);
  if (!buffer) return Fail(kErrNoMemory);
  RowRuns previous = {buffer.get(), 0}, current = {buffer.get() + kRunWords, 0};
  for (int y = rect.top; y <= rect.bottom; ++y) {
    const uint8_t* row = page.bits + static_cast<ptrdiff_t>(y) * page.bytesPerLine;
    if (ScanBitRun(row, rect.left, rect.right, current.runs, &current.count, kMaxRowRuns + 1) !=
        0) {
      return Fail(kErrCapacityFull);
    }
    for (int i = 0; i < current.count; ++i) {
      int16_t* run = current.runs + 3 * i;
      const int start = run[0] + rect.left, end = run[1] + rect.left;
      run[2] = 0;
      for (int j = 0; j < previous.count; ++j) {
        const int16_t* above = previous.runs + 3 * j;
        const int aStart = above[0] + rect.left, aEnd = above[1] + rect.left;
        if (aStart > end + 1 || aEnd < start - 1) continue;
        const uint16_t root = RootOf(labels, static_cast<uint16_t>(above[2]));
        if (run[2] == 0) {
          run[2] = static_cast<int16_t>(root);
          MupaRect& box = labels[root].box;
          box.left = static_cast<int16_t>(std::min(static_cast<int>(box.left), start));
          box.right = static_cast<int16_t>(std::max(static_cast<int>(box.right), end));
          box.bottom = static_cast<int16_t>(y);
          continue;
        }
        const uint16_t mine = RootOf(labels, static_cast<uint16_t>(run[2]));
        if (mine == root) continue;
        const uint16_t keep = std::min(mine, root), gone = std::max(mine, root);
        labels[gone].parent = keep;
        UniteBoxes(labels[keep].box, labels[gone].box, &labels[keep].box);
      }
      if (run[2] != 0) continue;
      if (*labelCount >= kMaxLabels) return Fail(kErrCapacityFull);
      const uint16_t label = static_cast<uint16_t>(++*labelCount);
      labels[label] = {{static_cast<int16_t>(start), static_cast<int16_t>(y),
                        static_cast<int16_t>(end), static_cast<int16_t>(y)},
                       label};
      run[2] = static_cast<int16_t>(label);
    }
    std::swap(previous, current);
  }
  return 0;
}

void FilterSmallComponents(const RunImage& page, uint32_t mask, ComponentRecord* components,
                           int count) {
  int largest = 0;
  for (int i = 0; i < count; ++i) {
    largest = std::max(largest, static_cast<int>(std::min(components[i].width, components[i].height)));
  }
  const int dpi = std::max<int>(page.dpi, 1);
  const int size = largest * 200 / dpi;
  const int k = std::clamp(size / (IsAlnumMask(mask) ? 6 : 10), 3, 5);
  const int t = dpi * k / 200;
  const int half = t * t / 2;
  for (int i = 0; i < count; ++i) {
    ComponentRecord& c = components[i];
    if (c.width > t || c.height > t) continue;
    if (c.width * c.height <= half || CountBlack(page, c.box) <= half) c.number = 0;
  }
}

int ExtractCellComponents(const RunImage& page, const MupaRect& cell, uint32_t mask,
                          ComponentRecord* components, int* count, int* specks) {
  *count = 0;
  if (specks) *specks = 0;
  std::unique_ptr<ComponentLabel[]> labels(new (std::nothrow) ComponentLabel[kMaxLabels + 1]);
  if (!labels) return Fail(kErrNoMemory);
  int labelCount = 0;
  if (LabelComponents(page, cell, labels.get(), &labelCount) != 0) return -1;
  int n = 0;
  for (int label = 1; label <= labelCount; ++label) {
    if (labels[label].parent != label) continue;
    ComponentRecord& c = components[n++];
    c = ComponentRecord{};
    c.box = labels[label].box;
    c.width = static_cast<int16_t>(c.box.right - c.box.left + 1);
    c.height = static_cast<int16_t>(c.box.bottom - c.box.top + 1);
    c.number = static_cast<int16_t>(label);
  }
  FilterSmallComponents(page, mask, components, n);
  // Kept components first, in their order; the specks after them.
  const auto specksStart = std::stable_partition(
      components, components + n, [](const ComponentRecord& c) { return c.number != 0; });
  const int kept = static_cast<int>(specksStart - components);
  *count = kept;
  if (specks) *specks = n - kept;
  return kept == 0 ? -2 : 0;
}
