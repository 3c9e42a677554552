// Turning, cutting out and drawing images through the ImageKit-7 entries
// and their ImageKit-5 counterparts.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging_library.h"
#include "tests/platform/image_fixtures.h"

namespace {

HGLOBAL LoadPicture(const Picture& picture, int bits) {
  const std::string path = FreshFolder("imgops") + "\\picture.bmp";
  WriteBmp(path, picture, bits);
  return IKBmpFileLoad(path.c_str());
}

Picture QuarterTurnAnticlockwise(const Picture& picture) {
  const int width = static_cast<int>(picture[0].size());
  const int height = static_cast<int>(picture.size());
  Picture turned(width, std::string(height, '.'));
  for (int y = 0; y < width; ++y) {
    for (int x = 0; x < height; ++x) turned[y][x] = picture[x][width - 1 - y];
  }
  return turned;
}

const Picture kArrow = {
    "#.........",
    "###.......",
    "#####.....",
    "###.......",
    "#......#..",
};

TEST(ImageOperations, TurnsKeepTheDepthAndMovePixelsExactly) {
  for (int bits : {1, 8, 24}) {
    SCOPED_TRACE(bits);
    Owned image(LoadPicture(kArrow, bits));
    Picture expected = kArrow;
    for (int angle : {9000, 18000, 27000, 36000}) {
      SCOPED_TRACE(angle);
      expected = QuarterTurnAnticlockwise(expected);
      Owned turned(IKRotation(image.image, angle, 255, 255, 255));
      EXPECT_EQ(DepthOf(turned.image), bits);
      EXPECT_EQ(PictureOf(turned.image), expected);
    }
    Owned five(IK5Rotation(image.image, 9000, 255, 255, 255));
    EXPECT_EQ(PictureOf(five.image), QuarterTurnAnticlockwise(kArrow));
  }
}

TEST(ImageOperations, ATiltLeavesWhiteCorners) {
  Owned image(LoadPicture(Picture(40, std::string(60, '#')), 1));
  Owned tilted(IKRotation(image.image, 1000, 255, 255, 255));
  IKImageInfo info;
  ASSERT_EQ(IKGetImageType(tilted.image, &info), kIkImageBlackWhite);
  EXPECT_EQ(info.width, 67);   // 60 cos 10 + 40 sin 10 = 66.03, rounded up
  EXPECT_EQ(info.height, 50);  // 60 sin 10 + 40 cos 10 = 49.81
  const Picture picture = PictureOf(tilted.image);
  EXPECT_EQ(picture.front().front(), '.');
  EXPECT_EQ(picture.back().back(), '.');
  EXPECT_EQ(picture[25][33], '#');
}

TEST(ImageOperations, SelectionCutsTheClosedPolygon) {
  Owned image(LoadPicture(kArrow, 1));
  const POINT rectangle[5] = {{1, 1}, {6, 1}, {6, 4}, {1, 4}, {1, 1}};
  HGLOBAL mask = nullptr;
  Owned cut(IKSelectImage(image.image, kIkSelectPolygon, rectangle, 5, &mask));
  Owned maskOwner(mask);
  EXPECT_EQ(DepthOf(cut.image), 1);
  EXPECT_EQ(PictureOf(cut.image), (Picture{"##...", "####.", "##..."}));
  EXPECT_EQ(PictureOf(mask), (Picture{"#####", "#####", "#####"}));

  const POINT triangle[3] = {{0, 0}, {4, 0}, {0, 4}};
  Owned corner(IK5SelectImage(image.image, kIkSelectPolygon, triangle, 3, nullptr));
  EXPECT_EQ(PictureOf(corner.image), (Picture{"#...", "##..", "#...", "...."}));

  const POINT outside[5] = {{20, 20}, {30, 20}, {30, 30}, {20, 30}, {20, 20}};
  mask = reinterpret_cast<HGLOBAL>(1);
  EXPECT_EQ(IKSelectImage(image.image, kIkSelectPolygon, outside, 5, &mask), nullptr);
  EXPECT_EQ(mask, nullptr);
  EXPECT_EQ(IKSelectImage(image.image, 7, rectangle, 5, nullptr), nullptr) << "unknown mode";
}

TEST(ImageOperations, DrawsStretchedIntoARectangleOfAMemoryDc) {
  const Picture small = {"#.", ".#"};
  for (int bits : {1, 8, 24}) {
    SCOPED_TRACE(bits);
    Owned image(LoadPicture(small, bits));
    MemoryCanvas canvas(8, 6);
    const RECT target = {2, 1, 6, 5};  // twice the size
    ASSERT_TRUE(IKImageOut(canvas.dc(), image.image, &target, nullptr, 0, 0));
    EXPECT_EQ(canvas.Rows(), (Picture{"........",
                                      "..##....",
                                      "..##....",
                                      "....##..",
                                      "....##..",
                                      "........"}));
    MemoryCanvas part(4, 2);
    const RECT whole = {0, 0, 4, 2};
    const RECT bottomRow = {0, 1, 2, 2};
    ASSERT_TRUE(IK5ImageOut(part.dc(), image.image, &whole, &bottomRow));
    EXPECT_EQ(part.Rows(), (Picture{"..##", "..##"})) << "source rows count from the top";
  }
}

TEST(ImageOperations, ShrunkOneBitPagesKeepThinLines) {
  Picture page(40, std::string(40, '.'));
  for (int i = 0; i < 40; ++i) page[i][21] = page[17][i] = '#';
  Owned image(LoadPicture(page, 1));
  MemoryCanvas canvas(10, 10);
  const RECT target = {0, 0, 10, 10};
  ASSERT_TRUE(IKImageOut(canvas.dc(), image.image, &target, nullptr, 0, 0));
  int black = 0;
  for (const std::string& row : canvas.Rows()) {
    black += static_cast<int>(std::count(row.begin(), row.end(), '#'));
  }
  EXPECT_GE(black, 19) << "a line and a column of the quarter-size page";
}

TEST(ImageOperations, DrawingRefusesWhatItCannotDraw) {
  Owned image(LoadPicture(kArrow, 1));
  MemoryCanvas canvas(4, 4);
  const RECT target = {0, 0, 4, 4};
  const RECT empty = {2, 2, 2, 4};
  const RECT beyond = {0, 0, 11, 5};
  EXPECT_FALSE(IKImageOut(canvas.dc(), nullptr, &target, nullptr, 0, 0));
  EXPECT_FALSE(IKImageOut(nullptr, image.image, &target, nullptr, 0, 0));
  EXPECT_FALSE(IKImageOut(canvas.dc(), image.image, &empty, nullptr, 0, 0));
  EXPECT_FALSE(IKImageOut(canvas.dc(), image.image, &target, &beyond, 0, 0));
}

}  // namespace
