// Segmentation that reads the boxes the line's shape leaves open: rendered
// lines of every character type through MupaSegChar with a dictionary
// trained at test time (other seeds than the lines'), against the same
// lines cut by their shape alone (a dictionary without patterns).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "tests/ocrlib/frame/rendered_session.h"

namespace {

constexpr int kPerClass = 120;
constexpr int kLines = 40;

struct TypeCase {
  glyphs::CharSet set;
  uint32_t mask;
};

class SegmentReadingTest : public ::testing::TestWithParam<TypeCase> {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    OpenRenderedSession(GetParam().set, GetParam().mask, kPerClass, folder_, &session_);
  }
  void TearDown() override { ResetMupaLibrary(); }

  // Boxes found exactly on `kLines` lines with gaps of minGap..8 pixels:
  // read through MupaSegChar, and by the shape alone.
  struct Exact {
    int read = 0, shape = 0, total = 0;
  };
  Exact CountExact(int minGap, uint32_t seed) {
    Exact e;
    std::mt19937 rng(seed);
    const auto classes = glyphs::CharacterSet(GetParam().set);
    DictBlock shapeOnly = {};
    shapeOnly.header = MakeDictHeader(GetParam().mask, "shape", true);
    shapeOnly.header.currentTypes = GetParam().mask;
    DictBlock* dicts[1] = {&shapeOnly};
    MupaRecogOptions options = {};
    options.marker[0] = options.marker[1] = 1;
    options.mode = 1;
    for (int l = 0; l < kLines; ++l) {
      glyphs::GlyphLine line = glyphs::MakeLine(
          *session_.renderer, classes, std::uniform_int_distribution<int>(5, 20)(rng), minGap, 8, rng);
      MupaImage image = line.image.Descriptor();
      MupaRect read[kMaxBoxes], shape[kMaxBoxes];
      int16_t readCount = 0;
      EXPECT_GE(MupaSegChar(session_.handle, session_.env, &image, &line.image.ink, &options, read, kMaxBoxes,
                            &readCount), -1);
      RecogRunBlock run = RunOver(
          RunImage{image.width, image.height, 1, image.bytesPerLine, 200, image.bits},
          line.image.ink, dicts);
      int shapeCount = 0;
      SegmentCharacters(&run, shape, kMaxBoxes, &shapeCount);
      for (const MupaRect& truth : line.boxes) {
        e.read += std::count(read, read + readCount, truth) > 0;
        e.shape += std::count(shape, shape + shapeCount, truth) > 0;
        ++e.total;
      }
    }
    return e;
  }

  TempFolder folder_;
  RenderedSession session_;
};

// Reading cuts characters that touch where the shape leaves them whole, and
// joins the pieces of one the shape leaves apart; on lines whose characters
// stand apart it loses nothing the shape found.
TEST_P(SegmentReadingTest, ReadingFindsMoreBoxesThanTheShapeAlone) {
  const uint32_t seed = TestSeed(GetParam().set) + 500;
  const Exact touching = CountExact(-1, seed);
  const Exact spaced = CountExact(1, seed + 1);
  EXPECT_GT(touching.read, touching.shape) << "of " << touching.total;
  EXPECT_GE(spaced.read, spaced.shape) << "of " << spaced.total;
}

INSTANTIATE_TEST_SUITE_P(Types, SegmentReadingTest,
                         ::testing::Values(TypeCase{glyphs::CharSet::kDigits, 1},
                                           TypeCase{glyphs::CharSet::kCapitals, 2},
                                           TypeCase{glyphs::CharSet::kKatakana, 8}));

}  // namespace
