// Speck erasure on small pictures: what is a speck, what stays.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/component_eraser.h"
#include "tests/support/test_pictures.h"

namespace {

// Pixel rows of a picture ('#' black) with either bit value for black.
struct Pixels {
  Pixels(const Picture& picture, bool zeroIsBlack) {
    image.width = static_cast<int>(picture[0].size());
    image.height = static_cast<int>(picture.size());
    image.bytesPerLine = (image.width + 7) / 8 + 1;
    image.zeroIsBlack = zeroIsBlack;
    bytes.assign(image.bytesPerLine * image.height, zeroIsBlack ? 0xFF : 0x00);
    image.bits = bytes.data();
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        if (picture[y][x] != '#') continue;
        uint8_t& b = bytes[y * image.bytesPerLine + x / 8];
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
        b = zeroIsBlack ? static_cast<uint8_t>(b & ~bit) : static_cast<uint8_t>(b | bit);
      }
    }
  }
  Picture picture() const {
    Picture out(image.height, std::string(image.width, '.'));
    for (int y = 0; y < image.height; ++y) {
      for (int x = 0; x < image.width; ++x) {
        const bool set = bytes[y * image.bytesPerLine + x / 8] & (0x80 >> (x % 8));
        if (set != image.zeroIsBlack) out[y][x] = '#';
      }
    }
    return out;
  }
  std::vector<uint8_t> bytes;
  SpeckImage image;
};

TEST(SpeckEraser, ErasesComponentsThatFitTheSpeckSize) {
  struct Case {
    const char* what;
    Picture before;
    int size;
    Picture after;
    long erased;
  };
  const Case cases[] = {
      {"a lone pixel", {".....", "..#..", "....."}, 1, {".....", ".....", "....."}, 1},
      {"a square of the size", {"###..", "###..", "###.."}, 3, {".....", ".....", "....."}, 1},
      {"a square above the size", {"###..", "###..", "###.."}, 2, {"###..", "###..", "###.."},
       0},
      {"a line longer than the size", {"####.", ".....", "....."}, 3,
       {"####.", ".....", "....."}, 0},
      {"corners join pixels", {"#....", ".#...", "..#..", "...#."}, 3,
       {"#....", ".#...", "..#..", "...#."}, 0},
      {"a diagonal of the size", {"#....", ".#...", "..#..", "...#."}, 4,
       {".....", ".....", ".....", "....."}, 1},
      {"two specks", {"##.##", "##.##", "....."}, 2, {".....", ".....", "....."}, 2},
      {"arms that meet below", {"#...#", "#...#", "#####"}, 4, {"#...#", "#...#", "#####"}, 0},
      {"arms that meet, erased whole", {"#...#", "#...#", "#####"}, 5,
       {".....", ".....", "....."}, 1},
      {"a speck beside a line", {"#.#########", "...........", "..........."}, 3,
       {"..#########", "...........", "..........."}, 1},
  };
  for (bool zeroIsBlack : {true, false}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.what << (zeroIsBlack ? ", 0 black" : ", 1 black"));
      Pixels pixels(c.before, zeroIsBlack);
      long erased = -1;
      ASSERT_EQ(EraseSpecks(pixels.image, 0, 0, pixels.image.width - 1, pixels.image.height - 1,
                            c.size, &erased),
                SpeckStatus::kOk);
      EXPECT_EQ(pixels.picture(), c.after);
      EXPECT_EQ(erased, c.erased);
    }
  }
}

// The plain way: every black pixel inside the rectangle not yet seen starts
// a search of its 8-connected component there; small ones become white.
Picture EraseByPixelSearch(Picture picture, int left, int top, int right, int bottom, int size) {
  std::vector<std::vector<char>> seen(picture.size(), std::vector<char>(picture[0].size(), 0));
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      if (picture[y][x] != '#' || seen[y][x]) continue;
      std::vector<std::pair<int, int>> component{{x, y}}, open{{x, y}};
      seen[y][x] = 1;
      int minX = x, maxX = x, minY = y, maxY = y;
      while (!open.empty()) {
        const auto [px, py] = open.back();
        open.pop_back();
        for (int ny = py - 1; ny <= py + 1; ++ny) {
          for (int nx = px - 1; nx <= px + 1; ++nx) {
            if (nx < left || nx > right || ny < top || ny > bottom) continue;
            if (picture[ny][nx] != '#' || seen[ny][nx]) continue;
            seen[ny][nx] = 1;
            component.push_back({nx, ny});
            open.push_back({nx, ny});
            minX = std::min(minX, nx), maxX = std::max(maxX, nx);
            minY = std::min(minY, ny), maxY = std::max(maxY, ny);
          }
        }
      }
      if (maxX - minX + 1 > size || maxY - minY + 1 > size) continue;
      for (const auto& [cx, cy] : component) picture[cy][cx] = '.';
    }
  }
  return picture;
}

// Pages of lines, boxes, long runs across words and random specks, in
// rectangles that start and end anywhere in a byte: the runs found a word at
// a time erase what the plain search erases.
TEST(SpeckEraser, ErasesWhatAPixelByPixelSearchErases) {
  struct Case {
    int width, height, left, top, right, bottom, size;
  };
  const Case cases[] = {{300, 60, 0, 0, 299, 59, 3},   {300, 60, 5, 3, 290, 57, 5},
                        {129, 40, 63, 1, 128, 38, 2},  {64, 20, 0, 0, 63, 19, 1},
                        {517, 50, 57, 0, 513, 49, 13}, {71, 71, 1, 1, 70, 69, 21}};
  for (const Case& c : cases) {
    for (bool zeroIsBlack : {true, false}) {
      SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " at " << c.left << ","
                                      << c.top << (zeroIsBlack ? ", 0 black" : ", 1 black"));
      std::mt19937 random(c.width * 7 + c.left + zeroIsBlack);
      Picture page(c.height, std::string(c.width, '.'));
      for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
          const bool line = y % 17 == 3 || x % 61 == 7 || (y % 23 == 9 && x % 3 != 0);
          if (line || random() % 9 == 0) page[y][x] = '#';
        }
      }
      Pixels pixels(page, zeroIsBlack);
      ASSERT_EQ(EraseSpecks(pixels.image, c.left, c.top, c.right, c.bottom, c.size, nullptr),
                SpeckStatus::kOk);
      const Picture expected = EraseByPixelSearch(page, c.left, c.top, c.right, c.bottom, c.size);
      const Picture after = pixels.picture();
      int differ = 0;
      for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) differ += after[y][x] != expected[y][x];
      }
      EXPECT_EQ(differ, 0);
    }
  }
}

TEST(SpeckEraser, KeepsRegistrationMarksAndWorksInsideItsRectangle) {
  // A 2 mm mark at 300 dpi is 24 pixels; the largest speck size is 21.
  Picture page(80, std::string(200, '.'));
  for (int y = 10; y < 34; ++y) page[y].replace(10, 24, 24, '#');
  page[50][100] = '#';
  page[50][150] = '#';
  page[70][120] = '#';
  Pixels pixels(page, true);
  long erased = 0;
  ASSERT_EQ(EraseSpecks(pixels.image, 90, 40, 130, 75, 21, &erased), SpeckStatus::kOk);
  const Picture after = pixels.picture();
  EXPECT_EQ(erased, 2);
  EXPECT_EQ(after[20][20], '#');
  EXPECT_EQ(after[50][100], '.');
  EXPECT_EQ(after[70][120], '.');
  EXPECT_EQ(after[50][150], '#');  // outside the rectangle
}

TEST(SpeckEraser, RefusesWhatItCannotWorkOn) {
  Pixels pixels({"#.", ".."}, true);
  struct Case {
    const char* what;
    SpeckImage image;
    int left, top, right, bottom, size;
    SpeckStatus expected;
  };
  SpeckImage noBits = pixels.image;
  noBits.bits = nullptr;
  SpeckImage shortRows = pixels.image;
  shortRows.width = 20;
  const Case cases[] = {
      {"no pixels", noBits, 0, 0, 1, 1, 3, SpeckStatus::kBadImage},
      {"rows too short", shortRows, 0, 0, 1, 1, 3, SpeckStatus::kBadImage},
      {"rectangle beyond the image", pixels.image, 0, 0, 2, 1, 3, SpeckStatus::kBadRectangle},
      {"rectangle upside down", pixels.image, 0, 1, 1, 0, 3, SpeckStatus::kBadRectangle},
      {"negative rectangle", pixels.image, -1, 0, 1, 1, 3, SpeckStatus::kBadRectangle},
      {"speck size 0", pixels.image, 0, 0, 1, 1, 0, SpeckStatus::kBadSize},
      {"speck size 256", pixels.image, 0, 0, 1, 1, 256, SpeckStatus::kBadSize},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    long erased = -1;
    EXPECT_EQ(EraseSpecks(c.image, c.left, c.top, c.right, c.bottom, c.size, &erased),
              c.expected);
    EXPECT_EQ(erased, 0);
  }
  EXPECT_EQ(pixels.picture(), (Picture{"#.", ".."}));
}

}  // namespace
