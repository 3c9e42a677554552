// Training from rendered handwriting-style fonts: the samples are what they
// claim, training and test samples differ, and a dictionary trained on a
// few samples a digit reads held-out ones.
#include <gtest/gtest.h>

#include <set>

#include "ocrlib/dictbuilder/rendered_training.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

class RenderedTrainingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    std::string error;
    renderer_ = glyphs::GlyphRenderer::Open(&error);
    ASSERT_NE(renderer_, nullptr) << error << " (tools/install-packages.sh installs the fonts)";
  }
  void TearDown() override { ResetMupaLibrary(); }
  std::unique_ptr<glyphs::GlyphRenderer> renderer_;
  TempFolder folder_;
};

TEST_F(RenderedTrainingTest, SamplesHoldInkAndTheirCodes) {
  EXPECT_EQ(glyphs::CharacterSet(glyphs::CharSet::kKatakana).size(), 46u);
  EXPECT_EQ(glyphs::CharacterSet(glyphs::CharSet::kKatakana)[31].sjis, 0x837E);  // ミ
  EXPECT_EQ(glyphs::CharacterSet(glyphs::CharSet::kKatakana)[32].sjis, 0x8380);  // ム
  std::vector<glyphs::Sample> samples =
      renderer_->MakeSamples(glyphs::CharacterSet(glyphs::CharSet::kCapitals), 2, 5);
  ASSERT_EQ(samples.size(), 52u);
  std::set<int> faces;
  for (glyphs::Sample& s : samples) {
    faces.insert(s.face);
    EXPECT_GE(s.sjis, 0x8260);
    EXPECT_LE(s.sjis, 0x8279);
    const MupaRect& ink = s.image.ink;
    bool left = false, right = false;
    for (int y = ink.top; y <= ink.bottom; ++y) {
      left |= s.image.Get(ink.left, y);
      right |= s.image.Get(ink.right, y);
    }
    EXPECT_TRUE(left && right);  // the ink box is tight
  }
  EXPECT_EQ(static_cast<int>(faces.size()), renderer_->faceCount());
  EXPECT_NE(TrainingSeed(glyphs::CharSet::kDigits), TestSeed(glyphs::CharSet::kDigits));
}

TEST_F(RenderedTrainingTest, DigitsTrainedOnAFewSamplesReadHeldOutOnes) {
  DictFileSpec spec;
  BuildReport report;
  std::string error;
  ASSERT_EQ(TrainRenderedDict(*renderer_, glyphs::CharSet::kDigits, 30, &spec, &report, &error),
            0)
      << error;
  const DictBlock* dict = LoadTestDict(folder_, "digits.dic", spec);
  ASSERT_NE(dict, nullptr);
  std::vector<glyphs::Sample> held =
      renderer_->MakeSamples(glyphs::CharacterSet(glyphs::CharSet::kDigits), 10,
                             TestSeed(glyphs::CharSet::kDigits));
  std::vector<LabelledChar> labelled = LabelSamples(held);
  int right = 0;
  for (const LabelledChar& c : labelled) {
    right += ClassifyWith(dict, c.image, c.rect, kTypeDigits).candidates[0].code() == c.sjis;
  }
  EXPECT_GE(right * 100, 90 * static_cast<int>(labelled.size()));
}

}  // namespace
