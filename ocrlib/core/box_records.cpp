// Box operations of segmentation and the line path: uniting boxes, copying a
// box's component pixels out of the page into a byte matrix and packing it
// back into bits, and editing a line's results (removing, inserting, and
// splicing in the several characters one cell turned out to hold).
#include <algorithm>
#include <cstring>
#include <vector>

#include "ocrlib/core/core_internal.h"

namespace {

constexpr uint16_t kComma = 0x8143, kFullStop = 0x8144;

int CentreX(const MupaRect& box) { return (box.left + box.right) >> 1; }

bool IsCommaOrStop(const RecogCharResult& r) {
  return r.candidates[0].code == kComma || r.candidates[0].code == kFullStop;
}

}  // namespace

void ResetUnionBox(MupaRect* box) { *box = MupaRect{32767, 32767, 0, 0}; }

int UniteBoxes(const MupaRect& a, const MupaRect& b, MupaRect* destination) {
  const MupaRect u = {std::min(a.left, b.left), std::min(a.top, b.top),
                      std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
  *destination = u;
  return u.bottom;
}

void MeasureRow(CharBoxRow* row) {
  row->width = static_cast<int16_t>(row->box.right - row->box.left + 1);
  row->height = static_cast<int16_t>(row->box.bottom - row->box.top + 1);
}

void CopyComponentPixels(const RunImage& page, int originX, int originY,
                         const ComponentRecord& c, uint8_t* matrix, int width, int height) {
  const int bottom = std::min<int>(c.box.bottom, originY + height - 1);
  const int right = std::min<int>(c.box.right, originX + width - 1);
  for (int y = std::max<int>(c.box.top, originY); y <= bottom; ++y) {
    uint8_t* row = matrix + static_cast<ptrdiff_t>(y - originY) * width;
    for (int x = std::max<int>(c.box.left, originX); x <= right; ++x) {
      if (PixelIsBlack(page, x, y)) row[x - originX] = 1;
    }
  }
}

void CopyBoxComponents(const RunImage& page, const CharBoxRow& row,
                       const ComponentRecord* components, int componentCount, uint8_t* matrix,
                       int width, int height) {
  std::memset(matrix, 0, static_cast<size_t>(width) * height);
  for (int i = 0; i < componentCount; ++i) {
    if (components[i].boxNumber != row.number) continue;
    CopyComponentPixels(page, row.box.left, row.box.top, components[i], matrix, width, height);
  }
}

void PackBoxBits(int originX, int originY, const MupaRect& box, const uint8_t* matrix,
                 uint8_t* bitmap, int width, int height) {
  const int rowBytes = (width + 7) / 8;
  const int firstByte = std::max(0, (box.left - originX) / 8);
  const int endByte = std::min(rowBytes, (box.right - originX + 7) / 8 + 1);
  for (int y = std::max(0, box.top - originY); y <= box.bottom - originY && y < height; ++y) {
    const uint8_t* in = matrix + static_cast<ptrdiff_t>(y) * width;
    uint8_t* out = bitmap + static_cast<ptrdiff_t>(y) * rowBytes;
    for (int b = firstByte; b < endByte; ++b) {
      uint8_t bits = 0;
      for (int k = 0; k < 8 && b * 8 + k < width; ++k) {
        if (in[b * 8 + k]) bits |= static_cast<uint8_t>(0x80 >> k);
      }
      out[b] |= bits;
    }
  }
}

void RemoveLineResult(RecogCharResult* results, int capacity, int position) {
  for (int i = position; i + 1 < capacity - 1; ++i) results[i] = results[i + 1];
}

void InsertLineResult(const RecogCharResult& result, RecogCharResult* results, int capacity,
                      int position) {
  for (int i = capacity - 2; i > position; --i) results[i] = results[i - 1];
  if (position < capacity - 1) results[position] = result;
}

void CountPunctuationAround(const RecogCharResult* results, int capacity, int position,
                            int* before, int* after) {
  *before = *after = 0;
  for (int i = position - 1; i >= 0 && IsCommaOrStop(results[i]); --i) ++*before;
  for (int i = position; i <= capacity - 2 && IsCommaOrStop(results[i]); ++i) ++*after;
}

void DivideCellBox(RecogCharResult* pieces, int n, int* centres) {
  const int left = pieces[0].box.left, right = pieces[0].box.right;
  const int slice = (right - left) / n;
  for (int k = 0; k < n; ++k) {
    pieces[k].box.left = static_cast<int16_t>(left + k * slice);
    pieces[k].box.right = static_cast<int16_t>(k == n - 1 ? right : left + (k + 1) * slice);
    centres[k] = CentreX(pieces[k].box);
  }
}

void SplicePieces(RecogCharResult* pieces, int m, RecogCharResult* results, int capacity,
                  int* position) {
  const int n = m - 1;
  int& pos = *position;
  RemoveLineResult(results, capacity, pos);
  int before = 0, after = 0;
  CountPunctuationAround(results, capacity, pos, &before, &after);
  const int firstRight = n > 0 ? pieces[0].box.right : 0;
  while (after > 0 && CentreX(results[pos + after - 1].box) >= firstRight) --after;
  int next = 0;
  auto insert = [&](int at) {
    InsertLineResult(pieces[next++], results, capacity, at);
  };
  if (before == 0 && after == 0) {
    while (next < n && pos < capacity - 1) insert(pos++);
    return;
  }
  std::vector<int> centres(std::max(n, 1));
  if (n > 0) DivideCellBox(pieces, n, centres.data());
  // The punctuation before the cell: pieces whose slice lies left of an
  // entry's centre go in front of it.
  for (int e = pos - before; e < pos && next < n && pos < capacity - 1; ++e) {
    while (next < n && pos < capacity - 1 && centres[next] <= CentreX(results[e].box)) {
      insert(e++);
      ++pos;
    }
  }
  // The punctuation after it: pieces whose slice lies left of an entry's
  // centre go in front of it, then the position passes the entry.
  for (int k = 0; k < after && next < n && pos < capacity - 1; ++k) {
    while (next < n && pos < capacity - 1 && centres[next] < CentreX(results[pos].box)) {
      insert(pos++);
    }
    ++pos;
  }
  while (next < n && pos < capacity - 1) insert(pos++);
}
