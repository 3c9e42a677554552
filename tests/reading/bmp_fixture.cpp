#include "tests/reading/bmp_fixture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

void Put32(std::vector<unsigned char>& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

std::string WriteOneBitBmp(const std::string& path, int width, int height,
                           bool blackIsZero, bool (*black)(int x, int y),
                           int bitsPerPixel) {
  const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  std::vector<unsigned char> file(62 + stride * height, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<uint32_t>(file.size()));
  Put32(file, 10, 62);
  Put32(file, 14, 40);
  Put32(file, 18, width);
  Put32(file, 22, height);
  file[26] = 1;
  file[28] = static_cast<unsigned char>(bitsPerPixel);
  Put32(file, 46, 2);
  for (int i = 0; i < 3; ++i) {
    file[54 + i] = blackIsZero ? 0 : 255;
    file[58 + i] = blackIsZero ? 255 : 0;
  }
  for (int y = 0; y < height; ++y) {
    unsigned char* row = &file[62 + stride * (height - 1 - y)];
    for (int x = 0; x < width; ++x) {
      if (black(x, y) != blackIsZero) row[x / 8] |= 0x80 >> (x % 8);
    }
  }
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out) {
    std::fwrite(file.data(), 1, file.size(), out);
    std::fclose(out);
  }
  return path;
}
