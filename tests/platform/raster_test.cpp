// Pixel operations of the imaging libraries, checked against the plain
// pixel mapping they must agree with.
#include "platform/raster.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Pixel rows owned by the test, viewed as a Raster.
struct Pixels {
  Pixels(int width, int height, int bits, bool bottomUp = false)
      : bytes(AlignedRowBytes(width, bits) * height, 0xA5) {
    raster.width = width;
    raster.height = height;
    raster.bitsPerPixel = bits;
    const std::ptrdiff_t row = AlignedRowBytes(width, bits);
    raster.stride = bottomUp ? -row : row;
    raster.top = bottomUp ? bytes.data() + row * (height - 1) : bytes.data();
  }
  std::vector<uint8_t> bytes;
  Raster raster;
};

uint32_t MaxValue(int bits) { return bits == 1 ? 1 : bits == 8 ? 255 : 0xFFFFFF; }

void FillRandom(const Raster& raster, unsigned seed) {
  std::mt19937 random(seed);
  for (int y = 0; y < raster.height; ++y) {
    for (int x = 0; x < raster.width; ++x) {
      SetRasterPixel(raster, x, y, random() & MaxValue(raster.bitsPerPixel));
    }
  }
}

// Where target pixel (x, y) comes from after `quarters` anticlockwise
// quarter turns of a width x height source.
void SourceOf(int quarters, int width, int height, int x, int y, int* sx, int* sy) {
  switch (quarters) {
    case 0: *sx = x; *sy = y; break;
    case 1: *sx = width - 1 - y; *sy = x; break;
    case 2: *sx = width - 1 - x; *sy = height - 1 - y; break;
    default: *sx = y; *sy = height - 1 - x; break;
  }
}

TEST(Raster, QuarterAndHalfTurnsMovePixelsExactly) {
  struct Case { int angle; int quarters; };
  const Case angles[] = {{0, 0}, {9000, 1}, {18000, 2}, {27000, 3}, {-9000, 3}, {36000, 0},
                         {45000, 1}};
  // Sizes around the 8 x 8 blocks and the 64-row bands of 1-bit turns.
  const int sizes[][2] = {{13, 9}, {8, 8}, {33, 17}, {1, 40}, {70, 3}, {100, 150}, {200, 67},
                          {9, 129}, {64, 64}};
  for (int bits : {1, 8, 24, 32}) {
    for (const auto& size : sizes) {
      Pixels source(size[0], size[1], bits, bits == 24);
      FillRandom(source.raster, size[0] * 100 + bits);
      for (const Case& c : angles) {
        SCOPED_TRACE(std::to_string(bits) + " bits " + std::to_string(size[0]) + "x" +
                     std::to_string(size[1]) + " angle " + std::to_string(c.angle));
        int width, height;
        RotatedSize(size[0], size[1], c.angle, &width, &height);
        ASSERT_EQ(width, c.quarters % 2 ? size[1] : size[0]);
        ASSERT_EQ(height, c.quarters % 2 ? size[0] : size[1]);
        Pixels target(width, height, bits);
        RotateRaster(source.raster, target.raster, c.angle, MaxValue(bits));
        int mismatches = 0;
        for (int y = 0; y < height; ++y) {
          for (int x = 0; x < width; ++x) {
            int sx, sy;
            SourceOf(c.quarters, size[0], size[1], x, y, &sx, &sy);
            mismatches += GetRasterPixel(target.raster, x, y) !=
                          GetRasterPixel(source.raster, sx, sy);
          }
        }
        EXPECT_EQ(mismatches, 0);
        if (bits == 1) {
          // Padding bits of turned 1-bit rows read as the fill (white).
          const int rowBytes = static_cast<int>(AlignedRowBytes(width, 1));
          for (int y = 0; y < height; ++y) {
            const uint8_t* row = target.raster.Row(y);
            if (width % 8) {
              ASSERT_EQ(row[width / 8] & (0xFF >> (width % 8)), 0xFF >> (width % 8)) << "row " << y;
            }
            for (int i = (width + 7) / 8; i < rowBytes; ++i) ASSERT_EQ(row[i], 0xFF) << "row " << y;
          }
        }
      }
    }
  }
}

TEST(Raster, OtherAnglesTurnAnticlockwiseOnALargerCanvas) {
  int width, height;
  RotatedSize(100, 50, 4500, &width, &height);
  EXPECT_EQ(width, 107);
  EXPECT_EQ(height, 107);
  RotatedSize(100, 50, 100, &width, &height);  // one degree: a little larger
  EXPECT_EQ(width, 101);
  EXPECT_EQ(height, 52);

  for (int bits : {1, 8, 24}) {
    SCOPED_TRACE(bits);
    const uint32_t white = MaxValue(bits);
    Pixels source(101, 101, bits);
    FillRaster(source.raster, white);
    SetRasterPixel(source.raster, 80, 50, 0);  // 30 pixels right of the centre
    RotatedSize(101, 101, 4500, &width, &height);
    Pixels target(width, height, bits);
    RotateRaster(source.raster, target.raster, 4500, white);
    // Anticlockwise: the dot moves up and stays 30 pixels from the centre.
    int found = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (GetRasterPixel(target.raster, x, y) != 0) continue;
        ++found;
        EXPECT_NEAR(x - width / 2.0, 21.2, 1.5);
        EXPECT_NEAR(y - height / 2.0, -21.2, 1.5);
      }
    }
    EXPECT_GE(found, 1);
    // Corners that no source pixel covers take the fill.
    EXPECT_EQ(GetRasterPixel(target.raster, 0, 0), white);
    EXPECT_EQ(GetRasterPixel(target.raster, width - 1, height - 1), white);
  }
}

// 1-bit pages are turned in runs of bits put together a word at a time;
// every pixel lands where the same turn of an 8-bit copy puts it, at the
// small angles that straighten a scan and at others, on rows bottom-up or
// top-down, with rows of any width against the words, the fill white or
// black, and every padding bit the fill.
TEST(Raster, OneBitPagesTurnPixelForPixelAsDeeperOnesDo) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{203, 77}, {64, 64}, {1, 9}, {129, 31}, {1000, 301}};
  for (const Size& size : sizes) {
    for (int angle : {1, -1, 3, -7, 37, -150, 149, 1234, -4321, 8999, 27001, 31500}) {
      for (bool bottomUp : {false, true}) {
        const uint32_t fill = bottomUp ? 0 : 1;
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height << ", " << angle
                                        << (bottomUp ? ", bottom-up" : ""));
        Pixels bits(size.width, size.height, 1, bottomUp);
        Pixels bytes(size.width, size.height, 8);
        FillRandom(bits.raster, static_cast<unsigned>(angle + 40000 + size.width));
        for (int y = 0; y < size.height; ++y) {
          for (int x = 0; x < size.width; ++x) {
            SetRasterPixel(bytes.raster, x, y, GetRasterPixel(bits.raster, x, y) * 255);
          }
        }
        int width, height;
        RotatedSize(size.width, size.height, angle, &width, &height);
        Pixels turnedBits(width, height, 1, bottomUp);
        Pixels turnedBytes(width, height, 8);
        FillRaster(turnedBits.raster, !fill);  // whatever was there goes
        RotateRaster(bits.raster, turnedBits.raster, angle, fill);
        RotateRaster(bytes.raster, turnedBytes.raster, angle, fill * 255);
        int differ = 0;
        for (int y = 0; y < height; ++y) {
          for (int x = 0; x < width; ++x) {
            differ += GetRasterPixel(turnedBits.raster, x, y) * 255 !=
                      GetRasterPixel(turnedBytes.raster, x, y);
          }
          const std::ptrdiff_t rowBytes = AlignedRowBytes(width, 1);
          for (int x = width; x < rowBytes * 8; ++x) {
            differ += GetRasterPixel(turnedBits.raster, x, y) != fill;
          }
        }
        EXPECT_EQ(differ, 0);
      }
    }
  }
}

std::vector<std::string> Rows(const Raster& raster) {
  std::vector<std::string> rows;
  for (int y = 0; y < raster.height; ++y) {
    std::string row;
    for (int x = 0; x < raster.width; ++x) row += GetRasterPixel(raster, x, y) ? '1' : '0';
    rows.push_back(row);
  }
  return rows;
}

TEST(Raster, CutsPolygonsByPixelCentres) {
  Pixels source(8, 6, 1);
  FillRaster(source.raster, 0);  // all black
  struct Case {
    const char* what;
    std::vector<PixelPoint> points;
    bool polygonOnly;
    PixelBox box;
    std::vector<std::string> cut;  // 1 white (outside), 0 the black taken
  };
  const Case cases[] = {
      {"closed rectangle of 5 points", {{2, 1}, {5, 1}, {5, 3}, {2, 3}, {2, 1}}, true,
       {2, 1, 5, 3}, {"000", "000"}},
      {"triangle", {{0, 0}, {4, 0}, {0, 4}}, true, {0, 0, 4, 4},
       {"0001", "0011", "0111", "1111"}},
      {"clipped at the edges", {{-3, -3}, {3, -3}, {3, 2}, {-3, 2}}, true, {0, 0, 3, 2},
       {"000", "000"}},
      {"bounding box of a triangle", {{0, 0}, {4, 0}, {0, 4}}, false, {0, 0, 4, 4},
       {"0000", "0000", "0000", "0000"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PixelBox box;
    ASSERT_TRUE(PolygonBox(c.points.data(), static_cast<int>(c.points.size()), 8, 6, &box));
    EXPECT_EQ(box.left, c.box.left);
    EXPECT_EQ(box.top, c.box.top);
    EXPECT_EQ(box.right, c.box.right);
    EXPECT_EQ(box.bottom, c.box.bottom);
    Pixels target(box.right - box.left, box.bottom - box.top, 1);
    Pixels mask(box.right - box.left, box.bottom - box.top, 1);
    CutRaster(source.raster, c.points.data(), static_cast<int>(c.points.size()), box,
              c.polygonOnly, 1, target.raster, &mask.raster, 0);
    EXPECT_EQ(Rows(target.raster), c.cut);
    EXPECT_EQ(Rows(mask.raster), c.cut) << "the mask is black where pixels were taken";
  }
  const PixelPoint outside[] = {{10, 10}, {20, 10}, {20, 20}};
  PixelBox box;
  EXPECT_FALSE(PolygonBox(outside, 3, 8, 6, &box));
  const PixelPoint flat[] = {{1, 1}, {5, 1}};
  EXPECT_FALSE(PolygonBox(flat, 2, 8, 6, &box));
}

TEST(Raster, ThresholdsByTheDropOutChannel) {
  // red, green, blue, grey 200, black, white
  const uint32_t colors[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xC8C8C8, 0x000000, 0xFFFFFF};
  Pixels colour(6, 1, 24);
  Pixels indexed(6, 1, 8);
  for (int x = 0; x < 6; ++x) {
    SetRasterPixel(colour.raster, x, 0, colors[x]);
    SetRasterPixel(indexed.raster, x, 0, x);
  }
  struct Case { LevelChannel channel; int threshold; const char* black; };
  const Case cases[] = {
      {LevelChannel::kRed, 128, "011010"},        // red ink drops out
      {LevelChannel::kGreen, 128, "101010"},
      {LevelChannel::kBlue, 128, "110010"},
      {LevelChannel::kLuminance, 128, "101010"},  // green is light enough
      {LevelChannel::kLuminance, 208, "111110"},  // darker: green and grey too
  };
  for (const Case& c : cases) {
    for (const Pixels* source : {&colour, &indexed}) {
      SCOPED_TRACE(std::string(c.black) + (source == &colour ? " 24 bits" : " 8 bits"));
      Pixels target(6, 1, 1);
      ThresholdRaster(source->raster, RasterPalette{colors, 6}, c.channel, c.threshold,
                      target.raster);
      std::string black;
      for (int x = 0; x < 6; ++x) black += GetRasterPixel(target.raster, x, 0) ? '0' : '1';
      EXPECT_EQ(black, c.black);
    }
  }
}

}  // namespace
