// Character normalisation and contour tracing for the pattern classifier.
//
// One character of a 1-bit image is placed in a 72 x 72 work buffer (copied
// when its larger side is at most 68 pixels, scaled to 68 samples when not),
// its boundary elements are classified by eight direction codes, the buffer
// is cut into 9 x 9 cells of equal boundary mass, and four measurements come
// out: the edge density, 600 direction features, 8 band-crossing codes and 4
// profile-run counts. Dictionaries are trained on exactly these numbers, so
// every step below is fixed to its integer arithmetic. No state is kept
// between calls; everything but the work buffer lives on the stack.
#include <cstring>
#include <memory>
#include <new>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

constexpr int kSide = 72;          // work buffer side
constexpr int kMaxPlaced = 68;     // largest side copied unscaled
constexpr int kMaxElements = 144;  // entries of one row or column list
constexpr int kLayers = 3;
constexpr int kCells = 11;         // cell 0 and 10 are margin, 1..9 the bands
constexpr int kPlanes = 8;

struct Element {
  uint8_t code;  // boundary code 1..8
  uint8_t pos;   // x in a row list, y in a column list
};

struct ElementList {
  Element entries[kMaxElements];
  int count;
};

// What the scan of the buffer produces.
struct BoundaryScan {
  ElementList rows[kSide];     // by y: codes 1, 3, 5..8 at their x
  ElementList columns[kSide];  // by x: codes 2, 4..8 at their y
  int perColumn[kSide];        // every element once, by its x
  int perRow[kSide];           // every element once, by its y
  int total;
};

// One layer's end entries: first and last element of each row and column.
struct LayerEntries {
  Element rowEnds[kSide][2];     // code 0 = none
  Element columnEnds[kSide][2];
};

struct WorkBuffer {
  uint8_t pixels[kSide * kSide];  // 1 black, 0 white
  int width;                      // W: the character's width + 4
  int height;                     // H
  uint8_t at(int x, int y) const { return pixels[y * kSide + x]; }
};

inline bool SourceBit(const uint8_t* bitmap, int bytesPerLine, int x, int y) {
  const uint8_t* row = bitmap + static_cast<ptrdiff_t>(y) * bytesPerLine;
  return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

void CopyCharacter(const uint8_t* bitmap, int bytesPerLine, const MupaRect& r,
                   WorkBuffer& buf) {
  const int w = r.right - r.left + 1;
  const int h = r.bottom - r.top + 1;
  std::memset(buf.pixels, 0, static_cast<size_t>(h + 4) * kSide);
  for (int y = r.top; y <= r.bottom; ++y) {
    const uint8_t* row = bitmap + static_cast<ptrdiff_t>(y) * bytesPerLine;
    uint8_t* out = buf.pixels + (y - r.top + 2) * kSide + 2;
    for (int x = r.left; x <= r.right;) {
      if ((x & 7) == 0 && x + 7 <= r.right && row[x >> 3] == 0) {
        x += 8;  // a white byte: eight pixels at once
        continue;
      }
      out[x - r.left] = SourceBit(bitmap, bytesPerLine, x, y);
      ++x;
    }
  }
  buf.width = w + 4;
  buf.height = h + 4;
}

// Samples and 8.8 step of one axis when the character is scaled.
struct AxisSampling {
  int samples;
  int step;
};

AxisSampling SampleAxis(int side, int longer) {
  if (side == longer) return {kMaxPlaced, (side - 1) * 256 / (kMaxPlaced - 1)};
  const int n = (longer + side * 2 * kMaxPlaced) / (2 * longer);
  if (n < 2) return {1, 0};
  return {n, (side - 1) * 256 / (n - 1)};
}

void ScaleCharacter(const uint8_t* bitmap, int bytesPerLine, const MupaRect& r,
                    WorkBuffer& buf) {
  const int w = r.right - r.left + 1;
  const int h = r.bottom - r.top + 1;
  const int longer = w > h ? w : h;
  const AxisSampling sx = SampleAxis(w, longer);
  const AxisSampling sy = SampleAxis(h, longer);
  std::memset(buf.pixels, 0, static_cast<size_t>(sy.samples + 4) * kSide);
  int y = r.top * 256 + 128;
  for (int j = 0; j < sy.samples; ++j, y += sy.step) {
    int x = r.left * 256 + 128;
    for (int i = 0; i < sx.samples; ++i, x += sx.step)
      buf.pixels[(2 + j) * kSide + 2 + i] =
          SourceBit(bitmap, bytesPerLine, x >> 8, y >> 8);
  }
  buf.width = sx.samples + 4;
  buf.height = sy.samples + 4;
}

void AddElement(ElementList& list, uint8_t code, int pos) {
  if (list.count < kMaxElements)
    list.entries[list.count++] = {code, static_cast<uint8_t>(pos)};
}

void CountElement(BoundaryScan& scan, int x, int y) {
  ++scan.total;
  ++scan.perColumn[x];
  ++scan.perRow[y];
}

// A white pixel with black above or below it: code 2 or 4, column list only.
void TestHorizontal(const WorkBuffer& buf, BoundaryScan& scan, int x, int y) {
  const bool above = buf.at(x, y - 1), below = buf.at(x, y + 1);
  if (above == below) return;
  AddElement(scan.columns[x], above ? 2 : 4, y);
  CountElement(scan, x, y);
}

// A white pixel at the side of a black run. `turnAbove`/`turnBelow` are the
// codes for black above only / below only (both lists); `plain` goes into the
// row list only.
void TestRunSide(const WorkBuffer& buf, BoundaryScan& scan, int x, int y,
                 uint8_t plain, uint8_t turnAbove, uint8_t turnBelow) {
  const bool above = buf.at(x, y - 1), below = buf.at(x, y + 1);
  uint8_t code = plain;
  if (above && !below) code = turnAbove;
  if (!above && below) code = turnBelow;
  AddElement(scan.rows[y], code, x);
  if (code != plain) AddElement(scan.columns[x], code, y);
  CountElement(scan, x, y);
}

void ScanBoundary(const WorkBuffer& buf, BoundaryScan& scan) {
  for (int i = 0; i < kSide; ++i) {
    scan.rows[i].count = scan.columns[i].count = 0;
    scan.perColumn[i] = scan.perRow[i] = 0;
  }
  scan.total = 0;
  const int W = buf.width, H = buf.height;
  for (int y = 1; y <= H - 2; ++y) {
    int x = 1;
    while (x < W - 1) {
      if (!buf.at(x + 1, y)) {
        TestHorizontal(buf, scan, x, y);
        ++x;
        continue;
      }
      TestRunSide(buf, scan, x, y, 1, 5, 8);
      int q = x + 2;
      for (;;) {
        while (buf.at(q, y)) ++q;  // column W-2 is white margin
        if (!buf.at(q + 1, y)) break;
        TestHorizontal(buf, scan, q, y);  // a one-pixel gap between two runs
        q += 2;
      }
      TestRunSide(buf, scan, q, y, 3, 6, 7);
      x = q + 1;
    }
  }
}

// Layer k (0-based) takes the k-th element from each end of every row and
// column of the character area. A column element is left out where its row
// already holds the same x among that layer's row entries.
void TakeLayers(const WorkBuffer& buf, const BoundaryScan& scan,
                LayerEntries layers[kLayers]) {
  std::memset(layers, 0, sizeof(LayerEntries) * kLayers);
  for (int k = 0; k < kLayers; ++k) {
    LayerEntries& layer = layers[k];
    for (int y = 2; y <= buf.height - 3; ++y) {
      const ElementList& list = scan.rows[y];
      if (list.count < 2 * (k + 1)) continue;
      layer.rowEnds[y][0] = list.entries[k];
      layer.rowEnds[y][1] = list.entries[list.count - 1 - k];
    }
    for (int x = 2; x <= buf.width - 3; ++x) {
      const ElementList& list = scan.columns[x];
      if (list.count < 2 * (k + 1)) continue;
      const Element ends[2] = {list.entries[k], list.entries[list.count - 1 - k]};
      for (int e = 0; e < 2; ++e) {
        const Element* row = layer.rowEnds[ends[e].pos];
        const bool inRow = (row[0].code && row[0].pos == x) ||
                           (row[1].code && row[1].pos == x);
        if (!inRow) layer.columnEnds[x][e] = ends[e];
      }
    }
  }
}

// b[0..11] of one axis: 9 bands of equal element mass between 1 and side - 1.
void CutBands(const int* counts, int total, int side, uint8_t b[12]) {
  b[0] = b[1] = 1;
  b[10] = b[11] = static_cast<uint8_t>(side - 1);
  for (int k = 1; k <= 8; ++k) {
    const int target = k * total / 9;
    int sum = 0, i = 1;
    for (; i < side - 1; ++i) {
      sum += counts[i];
      if (sum >= target) break;
    }
    b[k + 1] = static_cast<uint8_t>(i);
  }
}

// Cell of every pixel position of one axis: 0 for position 0, the band 1..9
// for 1 <= pos < b[10], 10 beyond.
struct AxisCells {
  uint8_t of[kSide];
};

AxisCells CellsOf(const uint8_t b[12], int side) {
  AxisCells cells;
  int cell = 1;
  for (int pos = 0; pos < side; ++pos) {
    if (pos == 0) {
      cells.of[pos] = 0;
      continue;
    }
    if (pos >= b[10]) {
      cells.of[pos] = 10;
      continue;
    }
    while (cell < 9 && b[cell + 1] <= pos) ++cell;
    cells.of[pos] = static_cast<uint8_t>(cell);
  }
  return cells;
}

// Per-cell counters are bytes: a sum past 255 wraps, as the trained
// dictionaries expect.
using CellGrid = uint8_t[kCells][kCells][kPlanes];

void SpreadEntry(CellGrid& grid, const Element& e, int x, int y, const AxisCells& cx,
                 const AxisCells& cy) {
  if (e.code == 0) return;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int weight = (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
      uint8_t& cell = grid[cy.of[y + dy]][cx.of[x + dx]][e.code - 1];
      cell = static_cast<uint8_t>(cell + weight);
    }
}

void FillCellGrid(const WorkBuffer& buf, const LayerEntries& layer, const AxisCells& cx,
                  const AxisCells& cy, CellGrid& grid) {
  std::memset(grid, 0, sizeof(CellGrid));
  for (int y = 2; y <= buf.height - 3; ++y)
    for (const Element& e : layer.rowEnds[y]) SpreadEntry(grid, e, e.pos, y, cx, cy);
  for (int x = 2; x <= buf.width - 3; ++x)
    for (const Element& e : layer.columnEnds[x]) SpreadEntry(grid, e, x, e.pos, cx, cy);
}

void ComputeDirectionFeatures(const CellGrid& grid, int layer,
                              const uint8_t bx[12], const uint8_t by[12],
                              uint16_t* features) {
  for (int row = 0; row < 5; ++row) {
    const int cy = 2 * row + 1;
    const int ySpan = by[cy + 2] - by[cy - 1] + 1;
    for (int column = 0; column < 5; ++column) {
      const int cx = 2 * column + 1;
      const int xSpan = bx[cx + 2] - bx[cx - 1] + 1;
      for (int d = 0; d < kPlanes; ++d) {
        int s = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx)
            s += grid[cy + dy][cx + dx][d] * (dx == 0 ? 2 : 1) * (dy == 0 ? 2 : 1);
        int value;
        if (d == 0 || d == 2) value = s * 128 / ySpan;
        else if (d == 1 || d == 3) value = s * 128 / xSpan;
        else value = s * 256 / (xSpan + ySpan);
        features[layer * 200 + (5 * row + column) * 8 + d] =
            static_cast<uint16_t>(value > 65535 ? 65535 : value);
      }
    }
  }
}

// One-hot level 1..8 of the mean squared element count of lines first..last.
int CrossingLevel(const ElementList* lists, int first, int last) {
  int squares = 0, lines = 0;
  for (int i = first; i <= last; ++i, ++lines)
    squares += lists[i].count * lists[i].count;
  const int level = ((squares / 4) + lines) / (2 * lines);
  return level < 1 ? 1 : level > 8 ? 8 : level;
}

// Counts the runs of lines along one side of the character whose first (or
// last) element stays within 2 of its neighbour's and reaches the limit band.
uint32_t MeasureProfileRuns(const ElementList* lists, int n, int limit,
                            bool fromEnd) {
  uint8_t counters[8] = {};
  int runLength = 0;
  bool qualifies = false;
  int lastPos = 0;
  auto endRun = [&]() {
    if (runLength > 0 && qualifies)
      for (int j = 0; j < 8; ++j)
        if ((n - 4) * j < 8 * runLength) ++counters[j];
    runLength = 0;
    qualifies = false;
  };
  for (int i = 2; i <= n - 3; ++i) {
    const ElementList& list = lists[i];
    if (list.count < 2) {
      endRun();
      continue;
    }
    const int p = fromEnd ? list.entries[list.count - 1].pos : list.entries[0].pos;
    if (runLength > 0 && (p - lastPos > 2 || lastPos - p > 2)) endRun();
    ++runLength;
    lastPos = p;
    if (fromEnd ? p >= limit : p <= limit) qualifies = true;
  }
  endRun();
  return counters[4] | counters[5] << 8 | static_cast<uint32_t>(counters[6]) << 16 |
         static_cast<uint32_t>(counters[7]) << 24;
}

}  // namespace

int TraceNormalizedChar(const MupaImage* image, const MupaRect* r,
                        uint8_t* edgeDensity, uint16_t bandCrossingCodes[8],
                        uint32_t profileRunCounts[4],
                        uint16_t directionFeatures[kDirectionFeatureCount]) {
  std::unique_ptr<WorkBuffer> buf(new (std::nothrow) WorkBuffer);
  if (!buf) {
    PushErrorCode(kErrNoMemory);
    return -9;
  }
  const MupaRect& rect = *r;
  const int w = rect.right - rect.left + 1;
  const int h = rect.bottom - rect.top + 1;
  if ((w > h ? w : h) <= kMaxPlaced)
    CopyCharacter(image->bits, image->bytesPerLine, rect, *buf);
  else
    ScaleCharacter(image->bits, image->bytesPerLine, rect, *buf);

  BoundaryScan scan;
  ScanBoundary(*buf, scan);
  if (scan.total == 0) return -9;  // blank: no result, nothing to report

  LayerEntries layers[kLayers];
  TakeLayers(*buf, scan, layers);
  uint8_t bx[12], by[12];
  CutBands(scan.perColumn, scan.total, buf->width, bx);
  CutBands(scan.perRow, scan.total, buf->height, by);

  const AxisCells cellsX = CellsOf(bx, buf->width);
  const AxisCells cellsY = CellsOf(by, buf->height);
  for (int k = 0; k < kLayers; ++k) {
    CellGrid grid;
    FillCellGrid(*buf, layers[k], cellsX, cellsY, grid);
    ComputeDirectionFeatures(grid, k, bx, by, directionFeatures);
  }

  const int side = (buf->width > buf->height ? buf->width : buf->height) - 4;
  const int density = scan.total / side;
  *edgeDensity = static_cast<uint8_t>(density > 15 ? 15 : density);

  for (int k = 0; k < 8; ++k) {
    const int levelRow = CrossingLevel(scan.rows, by[k + 1], by[k + 3]);
    const int levelColumn = CrossingLevel(scan.columns, bx[k + 1], bx[k + 3]);
    bandCrossingCodes[k] =
        static_cast<uint16_t>((1 << (levelColumn - 1)) | (256 << (levelRow - 1)));
  }

  profileRunCounts[0] = MeasureProfileRuns(scan.columns, buf->width, by[2], false);
  profileRunCounts[1] = MeasureProfileRuns(scan.columns, buf->width, by[9], true);
  profileRunCounts[2] = MeasureProfileRuns(scan.rows, buf->height, bx[2], false);
  profileRunCounts[3] = MeasureProfileRuns(scan.rows, buf->height, bx[9], true);
  return 0;
}
