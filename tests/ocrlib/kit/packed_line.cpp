#include "tests/ocrlib/kit/packed_line.h"

#include <algorithm>

PackedLine ComposePackedLine(const std::vector<PackedChar>& chars, int gap) {
  PackedLine line;
  int width = gap, height = 1;
  for (const PackedChar& c : chars) {
    width += c.width + gap;
    height = std::max<int>(height, c.height);
  }
  const int stride = (width + 7) / 8;
  line.bits.assign(static_cast<size_t>(stride) * height, 0);
  int x0 = gap;
  for (const PackedChar& c : chars) {
    const int source = (c.width + 7) / 8;
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        if (c.bits[y * source + x / 8] & (0x80 >> (x % 8))) {
          line.bits[y * stride + (x0 + x) / 8] |= static_cast<uint8_t>(0x80 >> ((x0 + x) % 8));
        }
      }
    }
    line.rects.push_back({static_cast<int16_t>(x0 + c.rect.left), c.rect.top,
                          static_cast<int16_t>(x0 + c.rect.right), c.rect.bottom});
    x0 += c.width + gap;
  }
  line.image = {static_cast<int16_t>(width), static_cast<int16_t>(height), 1,
                static_cast<int16_t>(stride), 200, 1, line.bits.data()};
  return line;
}
