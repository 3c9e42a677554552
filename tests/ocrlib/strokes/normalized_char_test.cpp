// The classifier's character measurements: worked values on a tiny bitmap,
// the placement rules (copy up to 68 pixels, scale above), the one-pixel-gap
// rule of the boundary scan, and the blank and error paths.
#include <gtest/gtest.h>

#include <array>
#include <map>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::BitImage;

using Measures = penkit::CharMeasures;

Measures Measure(BitImage& image, MupaRect rect) { return penkit::MeasureChar(image, rect); }

Measures Measure(BitImage& image) { return Measure(image, image.Rect()); }

BitImage Bar(int width, int height) {
  BitImage image(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.Set(x, y);
  return image;
}

bool LayerEmpty(const Measures& m, int layer) {
  for (int i = layer * 200; i < (layer + 1) * 200; ++i)
    if (m.features[i]) return false;
  return true;
}

TEST(NormalizedChar, SmallBitmapsGiveWorkedOutValues) {
  // "#": one pixel in a 5 x 5 buffer, four boundary elements.
  // "#..#..#..#": a 14 x 5 buffer with 16 elements; the row of 8 run sides
  // gives the band pairs over it crossing levels 4 and 8 (bands of rows 1 1 1
  // 1 2 2 2 2 2 3 4 4), and the left and right profiles one run each.
  struct Case {
    const char* row;
    int density;
    std::array<uint16_t, 8> bands;
    std::array<uint32_t, 4> profiles;
  };
  const Case cases[] = {
      {"#", 4, {0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101, 0x0101},
       {0x01010101, 0x01010101, 0x01010101, 0x01010101}},
      {"#..#..#..#", 1, {0x0101, 0x0801, 0x0801, 0x8001, 0x8001, 0x8001, 0x0801, 0x0401},
       {0, 0, 0x01010101, 0x01010101}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BitImage image = penkit::FromRows({c.row});
    const Measures m = Measure(image);
    ASSERT_EQ(m.result, 0);
    EXPECT_EQ(m.density, c.density);
    EXPECT_EQ(m.bands, c.bands);
    EXPECT_EQ(m.profiles, c.profiles);
  }
}

TEST(NormalizedChar, SinglePixelGivesWorkedOutFeatures) {
  // Elements: code 4 above, 1 left, 3 right, 2 below; bands b = 1 1 1 1 1 1
  // 2 2 2 2 4 4 on both axes, so pixel columns 1, 2, 3 fall into cells 5, 9,
  // 9 and the blocks centred on cells 5 and 9 get the weights.
  BitImage image = penkit::FromRows({"#"});
  const Measures m = Measure(image);
  ASSERT_EQ(m.result, 0);
  // index = block x 8 + direction (layer 0); every other feature is 0.
  const std::map<int, int> expected = {
      {80, 128},  {96, 512},   {112, 256}, {160, 256}, {176, 1024}, {192, 512},  // code 1
      {114, 896}, {194, 1792},                                                 // code 3
      {19, 128},  {35, 256},   {99, 512},  {115, 1024}, {179, 256}, {195, 512},  // code 4
      {177, 896}, {193, 1792}};                                                // code 2
  for (int i = 0; i < kDirectionFeatureCount; ++i) {
    SCOPED_TRACE(i);
    const auto it = expected.find(i);
    EXPECT_EQ(m.features[i], it == expected.end() ? 0 : it->second);
  }
}

TEST(NormalizedChar, SameCharacterAnywhereInTheImageMeasuresTheSame) {
  // Byte alignment of the rectangle must not matter.
  const penkit::Figure figure = penkit::Figure().Line({4, 4}, {30, 40}).Arc({20, 20}, 12, 0, 250);
  BitImage base = penkit::Draw(figure, 4);
  const Measures reference = Measure(base, base.InkRect());
  ASSERT_EQ(reference.result, 0);
  for (int shift : {1, 3, 7, 8, 13}) {
    SCOPED_TRACE(shift);
    BitImage moved = penkit::Draw(figure.Scaled(1, {double(shift), double(shift / 2)}), 4);
    EXPECT_EQ(Measure(moved, moved.InkRect()), reference);
  }
}

TEST(NormalizedChar, OnePixelGapMakesNoRunSides) {
  // Rows of two runs: with a one-pixel gap the row holds only the outer
  // sides (layer 1); with a wider gap four sides (layers 1 and 2).
  struct Case {
    const char* row;
    bool layer2, layer3;
  };
  const Case cases[] = {
      {"#.#", false, false},
      {"#..#", true, false},
      {"#..#..#", true, true},
      {"#.#.#.#", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    BitImage image = penkit::FromRows({c.row});
    const Measures m = Measure(image);
    ASSERT_EQ(m.result, 0);
    EXPECT_FALSE(LayerEmpty(m, 0));
    EXPECT_EQ(!LayerEmpty(m, 1), c.layer2);
    EXPECT_EQ(!LayerEmpty(m, 2), c.layer3);
  }
}

TEST(NormalizedChar, CopiesUpToSixtyEightPixelsAndScalesAbove) {
  // Scaling 69 rows to 68 samples (step 259/256) skips row 43: a white row
  // there vanishes, while at 68 rows it is copied and splits the bar.
  for (int height : {68, 69}) {
    SCOPED_TRACE(height);
    BitImage solid = Bar(3, height);
    BitImage cut = Bar(3, height);
    for (int x = 0; x < 3; ++x) cut.Set(x, 43, false);
    EXPECT_EQ(Measure(cut) == Measure(solid), height == 69);
  }
  // A one-pixel column taller than 68 becomes one column of 68 samples.
  BitImage tall = Bar(1, 100);
  BitImage placed = Bar(1, 68);
  EXPECT_EQ(Measure(tall), Measure(placed));
}

TEST(NormalizedChar, BlankRectangleReportsNothing) {
  BitImage image(40, 30);
  image.Set(35, 25);  // ink outside the rectangle
  ClearErrorStack();
  const Measures m = Measure(image, {0, 0, 20, 20});
  EXPECT_EQ(m.result, -9);
  EXPECT_EQ(GetErrorCount(), 0);
  EXPECT_EQ(m.density, 0xEE);
  for (uint16_t code : m.bands) EXPECT_EQ(code, 0xEEEE);
  for (uint32_t runs : m.profiles) EXPECT_EQ(runs, 0xEEEEEEEEu);
  for (uint16_t f : m.features) EXPECT_EQ(f, 0xEEEE);
}

TEST(NormalizedChar, LargeCharactersAreScaledWithoutOverflow) {
  // A 600 dpi character of 2000 x 3000 pixels: positions times 256 stay in
  // range (the sanitizers watch).
  BitImage large(2000, 3000);
  for (int y = 0; y < 3000; ++y)
    for (int x = 900; x < 1100; ++x) large.Set(x, y);
  const Measures m = Measure(large);
  ASSERT_EQ(m.result, 0);
  EXPECT_LE(m.density, 15);
  EXPECT_FALSE(LayerEmpty(m, 0));
}

}  // namespace
