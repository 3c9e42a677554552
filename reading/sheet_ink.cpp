// Ink of a sheet image file: the black pixels of a 1-bit BMP, read here
// without the imaging library. Which bit value is black follows the
// palette (the darker entry), so both palettes scanners write count alike.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "reading/reading.h"

namespace {

constexpr int kInkMargin = 3;

uint32_t Read32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
int Read16(const unsigned char* p) { return p[0] | p[1] << 8; }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

int MeasureSheetImageInk(const char* path, int widthLimit) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "rb"));
  if (!file) return -1;
  // File header (14 bytes), info header (40) and the two palette entries.
  unsigned char header[62];
  if (std::fread(header, 1, sizeof header, file.get()) != sizeof header) return -1;
  const uint32_t colours = Read32(header + 46);
  if (header[0] != 'B' || header[1] != 'M' || Read32(header + 14) != 40 ||
      Read16(header + 28) != 1 || (colours != 0 && colours != 2)) {
    return -1;
  }
  const auto width = static_cast<int32_t>(Read32(header + 18));
  const auto rawHeight = static_cast<int32_t>(Read32(header + 22));
  const int height = rawHeight < 0 ? -rawHeight : rawHeight;
  if (width <= 0 || height <= 0 || width > 100000 || height > 100000) return -1;
  const unsigned char* dark = header + 54;
  const unsigned char* light = header + 58;
  const bool zeroIsBlack =
      dark[0] + dark[1] + dark[2] < light[0] + light[1] + light[2];
  const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  if (std::fseek(file.get(), static_cast<long>(Read32(header + 10)), SEEK_SET) != 0) {
    return -1;
  }

  const int right = widthLimit < width - kInkMargin ? widthLimit : width - kInkMargin;
  std::vector<unsigned char> row(stride);
  int ink = 0;
  for (int y = 0; y < height; ++y) {
    if (std::fread(row.data(), 1, stride, file.get()) != stride) return -1;
    if (y < kInkMargin || y >= height - kInkMargin) continue;
    for (int x = kInkMargin; x < right; ++x) {
      const bool set = row[x / 8] & (0x80 >> (x % 8));
      ink += set != zeroIsBlack;
    }
  }
  return ink;
}
