#include "tests/platform/page_pictures.h"

#include <cstdint>
#include <string>

namespace {

// A small generator of its own, so that the pages are the same everywhere.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 16;  // the low bits of the state repeat soon
  }
  int Below(int bound) { return static_cast<int>(Next() % static_cast<uint32_t>(bound)); }

 private:
  uint32_t state_;
};

Picture Blank(int width, int height) { return Picture(height, std::string(width, '.')); }

Picture Noise(int width, int height, uint32_t seed) {
  Random random(seed);
  Picture picture = Blank(width, height);
  for (std::string& row : picture) {
    for (char& pixel : row) pixel = random.Below(2) ? '#' : '.';
  }
  return picture;
}

void Box(Picture& picture, int left, int top, int right, int bottom, bool filled) {
  for (int y = top; y < bottom && y < static_cast<int>(picture.size()); ++y) {
    for (int x = left; x < right && x < static_cast<int>(picture[y].size()); ++x) {
      const bool edge = y == top || y == bottom - 1 || x == left || x == right - 1;
      if (filled || edge) picture[y][x] = '#';
    }
  }
}

}  // namespace

std::vector<NamedPicture> PagePictureCases() {
  Picture diagonal = Blank(61, 40);
  Picture steps = Blank(97, 30);
  for (int y = 0; y < 40; ++y) {
    // Edges that move by 1 to 3 columns a row, and by more: the vertical
    // codes and the horizontal runs.
    for (int x = y; x < 61 && x < y + 9; ++x) diagonal[y][x] = '#';
    for (int x = 60 - (y * 3) % 61; x < 61; ++x) diagonal[y][x] = '#';
  }
  for (int y = 0; y < 30; ++y) {
    // Short black pieces under long white ones: the pass code.
    for (int x = (y % 2) * 5; x < 97; x += 11) steps[y][x] = '#';
  }
  // Runs past 2560 between rows of noise (which keep the file as large as
  // other tools expect of a page this wide).
  Picture longRuns = Noise(5300, 5, 9);
  longRuns[1] = std::string(2600, '.') + std::string(2690, '#') + std::string(10, '.');
  longRuns[3] = std::string(5300, '#');
  Picture blackFirst = Noise(23, 9, 7);
  for (std::string& row : blackFirst) row[0] = '#';
  return {
      {"blank", Blank(40, 20)},
      {"full black", Picture(20, std::string(40, '#'))},
      {"random noise", Noise(64, 48, 1)},
      {"odd width 1", Noise(1, 33, 2)},
      {"odd width 9", Noise(9, 17, 3)},
      {"odd width 1727", Noise(1727, 4, 4)},
      {"one-pixel row", Noise(301, 1, 5)},
      {"one pixel", Picture(1, std::string(1, '#'))},
      {"slanted edges", diagonal},
      {"pieces under runs", steps},
      {"runs past 2560", longRuns},
      {"rows starting black", blackFirst},
      {"sheet at 50 dpi", SheetLikePage(50)},
  };
}

Picture SheetLikePage(int dpi) {
  const int width = 210 * dpi * 10 / 254, height = 297 * dpi * 10 / 254;
  const auto mm = [dpi](double millimetres) { return static_cast<int>(millimetres * dpi / 25.4); };
  Picture page = Blank(width, height);
  Random random(static_cast<uint32_t>(dpi));
  // Registration marks in the corners.
  for (int corner = 0; corner < 4; ++corner) {
    const int left = corner % 2 ? width - mm(15) : mm(10);
    const int top = corner / 2 ? height - mm(15) : mm(10);
    Box(page, left, top, left + mm(5), top + mm(5), true);
  }
  // A title and lines of print: letter-sized blobs along a line.
  for (int line = 0; line < 12; ++line) {
    const int top = mm(25 + line * 6.5);
    for (int x = mm(20); x < width - mm(30); x += mm(3.2)) {
      if (random.Below(9) == 0) continue;  // a space between words
      const int glyph = random.Below(4);
      Box(page, x, top, x + mm(2.4), top + mm(3), glyph == 0);
      if (glyph == 1) Box(page, x + mm(0.8), top + mm(1), x + mm(1.6), top + mm(2), true);
    }
  }
  // Rows of check boxes, one or two of each row marked by pen.
  for (int row = 0; row < 20; ++row) {
    const int top = mm(115 + row * 8);
    for (int box = 0; box < 10; ++box) {
      const int left = mm(60 + box * 12);
      Box(page, left, top, left + mm(5), top + mm(5), false);
      if (random.Below(6) == 0) {
        for (int y = top + mm(1); y < top + mm(4); ++y) {
          const int wobble = random.Below(3);
          Box(page, left + mm(1) + wobble, y, left + mm(4) + wobble, y + 1, true);
        }
      }
    }
    Box(page, mm(20), top + mm(6.5), width - mm(20), top + mm(6.5) + 1, true);  // ruled line
  }
  for (int speck = 0; speck < 60; ++speck) {
    const int x = random.Below(width - 3), y = random.Below(height - 3);
    Box(page, x, y, x + 1 + random.Below(3), y + 1 + random.Below(3), true);
  }
  return page;
}
