// The sheet pixel matrix: one byte a pixel, 5000 rows of 7000 columns, on
// which the mark search and the box measurement work. Unpacking a row turns
// every byte of the bitmap into eight cells through one table; clearing
// empties only the part written since the last clearing, so a 200 dpi page
// does not pay for the 35,000,000 cells of the whole matrix.
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "reading/sheet_core.h"

MarkSearchSettings g_markSearchSettings;
MarkSearchParameters g_markSearchParameters;
CornerMarkPositions g_cornerMarks;

namespace {

std::unique_ptr<char[]> g_cells;
// The part written since the last clearing: of every row, the columns up to
// the last one written (0 for an empty row). Kept row by row, so that the
// mark search's bands do not empty the rows between them again and again.
std::vector<int> g_writtenColumns;

char* Cells() {
  if (!g_cells) {
    g_cells.reset(new char[static_cast<std::size_t>(kMatrixRows) * kMatrixColumns]);
    std::memset(g_cells.get(), kCellEmpty, static_cast<std::size_t>(kMatrixRows) * kMatrixColumns);
    g_writtenColumns.assign(kMatrixRows, 0);
  }
  return g_cells.get();
}

char* CellRow(int y) { return Cells() + static_cast<std::size_t>(y) * kMatrixColumns; }

// Empties row y from column `from` on, as far as it was written.
void EmptyRowFrom(int y, int from) {
  int& written = g_writtenColumns[y];
  if (written > from) std::memset(CellRow(y) + from, kCellEmpty, written - from);
  written = std::min(written, from);
}

// Eight cells for every byte value, by which bit value is black.
struct UnpackTable {
  char cells[2][256][8];
  UnpackTable() {
    for (int polarity = 0; polarity < 2; ++polarity) {
      for (int byte = 0; byte < 256; ++byte) {
        for (int bit = 0; bit < 8; ++bit) {
          const int value = (byte >> (7 - bit)) & 1;
          cells[polarity][byte][bit] = value == polarity ? kCellBlack : kCellWhite;
        }
      }
    }
  }
};
const UnpackTable kUnpack;

void UnpackRow(const SheetBitmap& bitmap, int y, int columns) {
  char* out = CellRow(y);
  const uint8_t* row = bitmap.bits + static_cast<std::size_t>(y) * bitmap.bytesPerLine;
  const auto& table = kUnpack.cells[bitmap.polarity == 0 ? 0 : 1];
  const int whole = columns / 8;
  for (int i = 0; i < whole; ++i) std::memcpy(out + 8 * i, table[row[i]], 8);
  if (columns % 8) std::memcpy(out + 8 * whole, table[row[whole]], columns % 8);
}

int WindowOr(int stored, int fallback) { return stored != 0 ? stored * 8 : fallback; }

}  // namespace

char SheetCell(int x, int y) {
  if (x < 0 || y < 0 || x >= kMatrixColumns || y >= kMatrixRows) return kCellEmpty;
  return CellRow(y)[x];
}

const char* SheetCellRow(int y) { return CellRow(y); }

void FillSheetCells(int left, int top, int width, int height, char value) {
  const int x0 = std::max(left, 0);
  const int y0 = std::max(top, 0);
  const int x1 = std::min(left + width, kMatrixColumns);
  const int y1 = std::min(top + height, kMatrixRows);
  if (x0 >= x1 || y0 >= y1) return;
  for (int y = y0; y < y1; ++y) {
    std::memset(CellRow(y) + x0, value, x1 - x0);
    g_writtenColumns[y] = std::max(g_writtenColumns[y], x1);
  }
}

void ClearSheetCells() {
  Cells();
  for (int y = 0; y < kMatrixRows; ++y) EmptyRowFrom(y, 0);
}

MarkSearchParameters MarkSearchParametersFor(int dpi, const MarkSearchSettings& settings) {
  const bool threeMarks = settings.compensationMode == 3;
  const int option = settings.markSizeOption;
  if (dpi == 300) return threeMarks ? MarkSearchParameters{31, 300, 600, 20}
                                    : MarkSearchParameters{22, 300, 300, 15};
  if (dpi == 400) return threeMarks ? MarkSearchParameters{41, 400, 800, 100}
                                    : MarkSearchParameters{29, 400, 400, 20};
  if (threeMarks) {
    return {option >= 11 && option <= 18 ? option : 18, WindowOr(settings.areaX2, 280),
            WindowOr(settings.areaY2, 400), 18};
  }
  return {option >= 6 && option <= 13 ? option : 13, WindowOr(settings.areaX1, 200),
          WindowOr(settings.areaY1, 144), 2};
}

void UnpackSheetImage(const SheetBitmap& bitmap, int mode) {
  g_markSearchParameters = MarkSearchParametersFor(bitmap.dpi, g_markSearchSettings);
  const MarkSearchParameters& p = g_markSearchParameters;
  const int columns = std::min<int>(bitmap.width, kMatrixColumns);
  const int lastRow = std::min(bitmap.height - p.margin - 1, kMatrixRows - 1);
  auto unpacked = [&](int y) {
    return y >= p.margin && y <= lastRow &&
           (mode == kUnpackWholeImage || y <= p.verticalWindow ||
            y >= bitmap.height - p.verticalWindow - 1);
  };
  // What the last unpacking left is emptied where this one does not write
  // over it: the rows it skips and the columns beyond its width.
  Cells();
  for (int y = 0; y < kMatrixRows; ++y) {
    if (!unpacked(y)) {
      EmptyRowFrom(y, 0);
      continue;
    }
    EmptyRowFrom(y, columns);
    UnpackRow(bitmap, y, columns);
    g_writtenColumns[y] = columns;
  }
}
