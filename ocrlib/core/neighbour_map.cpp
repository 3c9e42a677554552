// Neighbour map of one character box, the input of stroke extraction.
#include "ocrlib/core/core_internal.h"

#include <cstddef>
#include <cstring>

namespace {

// Byte column of a pixel column, rounding toward minus infinity.
int ByteOf(int x) { return x >= 0 ? x / 8 : -((-x + 7) / 8); }

}  // namespace

int BuildNeighbourMap(const uint8_t* bitmap, int left, int right, int top, int bottom,
                      int bytesPerLine, uint8_t* map, int* mapWidth, int* mapHeight) {
  const int64_t width = (int64_t{ByteOf(right)} - ByteOf(left) + 1) * 8 + 2 * kNeighbourMapBorder;
  const int64_t height = int64_t{bottom} - top + 1 + 2 * kNeighbourMapBorder;
  *mapWidth = static_cast<int>(width);
  *mapHeight = static_cast<int>(height);
  if (bottom < top || right < left) return 0;
  if (width * height > kMaxNeighbourMapBytes) {
    PushErrorCode(kErrNeighbourMap);
    return -9;
  }
  const int w = static_cast<int>(width);
  std::memset(map, 0, static_cast<size_t>(width * height));
  const int originX = ByteOf(left) * 8 - kNeighbourMapBorder;
  for (int y = top; y <= bottom; ++y) {
    const uint8_t* row = bitmap + static_cast<ptrdiff_t>(y) * bytesPerLine;
    uint8_t* out = map + (y - top + kNeighbourMapBorder) * w;
    for (int x = left; x <= right; ++x) {
      if ((x & 7) == 0 && row[x >> 3] == 0) {
        x += 7;  // a white byte
        continue;
      }
      if (!((row[x >> 3] >> (7 - (x & 7))) & 1)) continue;
      uint8_t* cell = out + (x - originX);
      cell[0] |= kMapBlack;
      cell[-w] |= kMapBelow;
      cell[w] |= kMapAbove;
      cell[-1] |= kMapRight;
      cell[1] |= kMapLeft;
    }
  }
  return 0;
}
