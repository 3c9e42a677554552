// Runs of black pixels row by row, joined with the runs they touch in the
// row above (a pixel's eight neighbours), give the components and their
// bounding boxes; the runs of small components are then painted white. The
// runs are found a 64-bit word of pixels at a time (white stretches skipped,
// black ones measured, by counting leading bits), so a clean A4 page at 300
// dpi costs well under a millisecond.
#include "platform/component_eraser.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace {

struct Run {
  int x0, x1;  // inclusive
  int y;
};

struct Component {
  int parent;
  int minX, maxX, minY, maxY;
};

// The components of the runs found so far, one for every run at first
// (the run's index is its id), joined as runs touch.
class Components {
 public:
  void Clear() { items_.clear(); }
  void Add(const Run& run) {
    const int id = static_cast<int>(items_.size());
    items_.push_back({id, run.x0, run.x1, run.y, run.y});
  }
  int Find(int id) {
    while (items_[id].parent != id) {
      items_[id].parent = items_[items_[id].parent].parent;
      id = items_[id].parent;
    }
    return id;
  }
  void Join(int a, int b) {
    a = Find(a);
    b = Find(b);
    if (a == b) return;
    if (b < a) std::swap(a, b);
    Component& root = items_[a];
    const Component& other = items_[b];
    root.minX = std::min(root.minX, other.minX);
    root.maxX = std::max(root.maxX, other.maxX);
    root.minY = std::min(root.minY, other.minY);
    root.maxY = std::max(root.maxY, other.maxY);
    items_[b].parent = a;
  }
  const Component& operator[](int id) const { return items_[id]; }

 private:
  std::vector<Component> items_;
};

// The black pixels of a row as words, the pixel at `x` topmost; pixels past
// `right` read as white. At least the first 57 bits of every word are the
// row's (a load from any bit of a byte holds as many).
class BlackBits {
 public:
  BlackBits(const uint8_t* row, int bytesPerLine, int right, bool zeroIsBlack)
      : row_(row), bytes_(bytesPerLine), right_(right), invert_(zeroIsBlack ? ~uint64_t{0} : 0) {}

  static constexpr int kSure = 57;

  uint64_t From(int x) const {
    const int byte = x >> 3;
    uint64_t bits = 0;
    if (byte + 8 <= bytes_) {
      std::memcpy(&bits, row_ + byte, 8);
      bits = __builtin_bswap64(bits);  // the leftmost pixel topmost
    } else {
      for (int i = byte; i < byte + 8; ++i) bits = bits << 8 | (i < bytes_ ? row_[i] : 0);
    }
    bits = (bits ^ invert_) << (x & 7);
    const int inside = right_ - x + 1;
    return inside >= 64 ? bits : bits & ~(~uint64_t{0} >> inside);
  }

 private:
  const uint8_t* row_;
  int bytes_;
  int right_;
  uint64_t invert_;
};

// Appends the black runs of one row between left and right, found a word
// at a time.
void CollectRuns(const uint8_t* row, int bytesPerLine, int y, int left, int right,
                 bool zeroIsBlack, std::vector<Run>* runs) {
  const BlackBits black(row, bytesPerLine, right, zeroIsBlack);
  constexpr int kSure = BlackBits::kSure;
  int x = left;
  while (x <= right) {
    const uint64_t ink = black.From(x) >> (64 - kSure) << (64 - kSure);
    if (ink == 0) {
      x += kSure;
      continue;
    }
    x += __builtin_clzll(ink);
    const int start = x;
    for (;;) {
      const uint64_t gap = ~black.From(x) >> (64 - kSure) << (64 - kSure);
      if (gap != 0) {
        x += __builtin_clzll(gap);
        break;
      }
      x += kSure;
    }
    runs->push_back({start, x - 1, y});
  }
}

void PaintWhite(const SpeckImage& image, const Run& run) {
  uint8_t* row = image.bits + static_cast<std::size_t>(run.y) * image.bytesPerLine;
  for (int x = run.x0; x <= run.x1; ++x) {
    const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
    if (image.zeroIsBlack) {
      row[x >> 3] |= bit;
    } else {
      row[x >> 3] &= static_cast<uint8_t>(~bit);
    }
  }
}

}  // namespace

SpeckStatus EraseSpecks(const SpeckImage& image, int left, int top, int right, int bottom,
                        int speckSize, long* erased) {
  if (erased) *erased = 0;
  if (!image.bits || image.width <= 0 || image.height <= 0 ||
      image.bytesPerLine < (image.width + 7) / 8) {
    return SpeckStatus::kBadImage;
  }
  if (left < 0 || top < 0 || left > right || top > bottom || right >= image.width ||
      bottom >= image.height) {
    return SpeckStatus::kBadRectangle;
  }
  if (speckSize < 1 || speckSize > kMaxSpeckSize) return SpeckStatus::kBadSize;

  try {
    // The working lists stay from page to page (a page of a run holds some
    // hundred thousand runs): taken again, they cost no allocation.
    static thread_local std::vector<Run> runs;
    static thread_local Components components;
    static thread_local std::vector<char> counted;
    runs.clear();
    components.Clear();
    std::size_t previousFirst = 0, previousEnd = 0;
    for (int y = top; y <= bottom; ++y) {
      const std::size_t first = runs.size();
      CollectRuns(image.bits + static_cast<std::size_t>(y) * image.bytesPerLine,
                  image.bytesPerLine, y, left, right, image.zeroIsBlack, &runs);
      for (std::size_t i = first; i < runs.size(); ++i) components.Add(runs[i]);
      // Runs touch when they overlap or meet at a corner; both rows are in
      // order, so one sweep finds every pair.
      std::size_t a = previousFirst;
      for (std::size_t b = first; b < runs.size(); ++b) {
        while (a < previousEnd && runs[a].x1 + 1 < runs[b].x0) ++a;
        for (std::size_t k = a; k < previousEnd && runs[k].x0 <= runs[b].x1 + 1; ++k) {
          components.Join(static_cast<int>(k), static_cast<int>(b));
        }
      }
      previousFirst = first;
      previousEnd = runs.size();
    }

    counted.assign(runs.size(), 0);
    long specks = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
      const int root = components.Find(static_cast<int>(i));
      const Component& c = components[root];
      if (c.maxX - c.minX + 1 > speckSize || c.maxY - c.minY + 1 > speckSize) continue;
      PaintWhite(image, runs[i]);
      if (!counted[root]) {
        counted[root] = 1;
        ++specks;
      }
    }
    if (erased) *erased = specks;
  } catch (const std::bad_alloc&) {
    return SpeckStatus::kNoMemory;
  }
  return SpeckStatus::kOk;
}
