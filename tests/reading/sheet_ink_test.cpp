// Ink of 1-bit BMP sheet images, written here byte by byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "reading/reading.h"
#include "tests/support/test_pictures.h"

namespace {

std::string WriteBmp(const char* name, int width, int height, bool blackIsZero,
                     bool (*black)(int x, int y), int bitsPerPixel = 1) {
  return WriteOneBitBmp(testing::TempDir() + name, width, height, blackIsZero,
                        black, bitsPerPixel);
}

bool Everything(int, int) { return true; }
bool Column10(int x, int) { return x == 10; }

TEST(SheetInk, CountsBlackInsideTheMarginWhateverThePalette) {
  for (bool blackIsZero : {true, false}) {
    SCOPED_TRACE(blackIsZero);
    const std::string all = WriteBmp("ink_all.bmp", 40, 20, blackIsZero, Everything);
    EXPECT_EQ(MeasureSheetImageInk(all.c_str(), kInkFullWidth), 34 * 14);
    EXPECT_EQ(MeasureSheetImageInk(all.c_str(), 13), 10 * 14);
    const std::string line = WriteBmp("ink_line.bmp", 33, 9, blackIsZero, Column10);
    EXPECT_EQ(MeasureSheetImageInk(line.c_str(), kInkFullWidth), 3);
    EXPECT_EQ(MeasureSheetImageInk(line.c_str(), 10), 0);
  }
}

TEST(SheetInk, RefusesWhatIsNotAOneBitBmp) {
  EXPECT_EQ(MeasureSheetImageInk((testing::TempDir() + "no_such.bmp").c_str(),
                                 kInkFullWidth), -1);
  const std::string eightBit = WriteBmp("ink_8bit.bmp", 8, 8, true, Everything, 8);
  EXPECT_EQ(MeasureSheetImageInk(eightBit.c_str(), kInkFullWidth), -1);
  const std::string text = testing::TempDir() + "ink_text.bmp";
  std::FILE* out = std::fopen(text.c_str(), "wb");
  std::fputs("not an image", out);
  std::fclose(out);
  EXPECT_EQ(MeasureSheetImageInk(text.c_str(), kInkFullWidth), -1);
}

}  // namespace
