// The dictionary builder: dictionaries trained from drawn characters load,
// classify their own samples with the features recognition computes, and
// tell held-out samples apart; sample packs round-trip and refuse damage.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "ocrlib/dictbuilder/dict_builder.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

struct Shape {
  uint16_t code;
  penkit::Figure figure;
};

std::vector<Shape> Shapes() {
  return {
      {0x8250, penkit::Figure().Line({10, 2}, {10, 40})},                    // １
      {0x817C, penkit::Figure().Line({2, 20}, {34, 20})},                    // －
      {0x824F, penkit::Figure().Circle({18, 20}, 14)},                       // ０
      {0x8256, penkit::Figure().Polyline({{2, 4}, {30, 4}, {12, 40}})},      // ７
  };
}

LabelledChar Label(penkit::BitImage& image, uint16_t code) {
  const MupaImage d = image.Descriptor();
  return {RunImage{d.width, d.height, 1, d.bytesPerLine, 200, d.bits}, image.InkRect(), code,
          code == 0x817C ? kTypeSigns : kTypeDigits};
}

CharWorkRecord Classify(const DictBlock* dict, const LabelledChar& c) {
  return ClassifyWith(dict, c.image, c.rect, kTypeDigits | kTypeSigns);
}

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMupaLibrary(); }
  void TearDown() override { ResetMupaLibrary(); }
  TempFolder folder_;
};

TEST_F(BuilderTest, ADictionaryOfOneSampleEachKnowsItsSamplesExactly) {
  std::vector<penkit::BitImage> images;
  const std::vector<Shape> shapes = Shapes();
  for (const Shape& s : shapes) images.push_back(penkit::Draw(s.figure, 4));
  std::vector<LabelledChar> samples;
  for (size_t i = 0; i < shapes.size(); ++i) samples.push_back(Label(images[i], shapes[i].code));
  DictFileSpec spec;
  BuildReport report;
  std::string error;
  ASSERT_EQ(BuildPatternDict(samples, BuilderOptions(), &spec, &report, &error), 0) << error;
  EXPECT_EQ(report.codes, 4);
  EXPECT_EQ(report.classes, 4);
  EXPECT_EQ(spec.header.offeredTypes, kTypeDigits | kTypeSigns);
  const DictBlock* dict = LoadTestDict(folder_, "shapes.dic", spec);
  ASSERT_NE(dict, nullptr);
  for (const LabelledChar& s : samples) {
    const CharWorkRecord r = Classify(dict, s);
    ASSERT_GE(r.count, 1);
    EXPECT_EQ(r.candidates[0].code(), s.sjis);
    // The bounds are the sample's own quantised features: recognition
    // measures them bit for bit the same, so nothing is out of bounds.
    EXPECT_EQ(r.candidates[0].distance1, 0);
  }
}

TEST_F(BuilderTest, HeldOutDrawingsAreToldApart) {
  // Each shape drawn with pens of 3..6 pixels and turned by up to 6 degrees;
  // held out: the pens and turns between.
  std::vector<penkit::BitImage> images;
  std::vector<uint16_t> codes;
  auto draw = [&](double pen, double turn) {
    for (const Shape& s : Shapes()) {
      images.push_back(penkit::Draw(s.figure.Rotated(turn, {18, 20}), pen));
      codes.push_back(s.code);
    }
  };
  for (double pen : {3.0, 4.0, 5.0, 6.0}) {
    for (double turn : {-6.0, -3.0, 0.0, 3.0, 6.0}) draw(pen, turn);
  }
  const size_t trained = images.size();
  for (double pen : {3.5, 4.5, 5.5}) {
    for (double turn : {-4.5, -1.5, 1.5, 4.5}) draw(pen, turn);
  }
  std::vector<LabelledChar> samples;
  for (size_t i = 0; i < images.size(); ++i) samples.push_back(Label(images[i], codes[i]));
  const std::vector<LabelledChar> training(samples.begin(), samples.begin() + trained);
  DictFileSpec spec;
  BuildReport report;
  std::string error;
  BuilderOptions options;
  options.minClusterSamples = 5;
  ASSERT_EQ(BuildPatternDict(training, options, &spec, &report, &error), 0) << error;
  const DictBlock* dict = LoadTestDict(folder_, "drawn.dic", spec);
  ASSERT_NE(dict, nullptr);
  int right = 0;
  for (size_t i = trained; i < samples.size(); ++i) {
    right += Classify(dict, samples[i]).candidates[0].code() == samples[i].sjis;
  }
  EXPECT_EQ(right, static_cast<int>(samples.size() - trained));
}

TEST_F(BuilderTest, RefinementMovesBoxesApartWhereLookAlikesMeet) {
  // A flagged "1" and a short-barred "7" turned by up to 15 degrees, one box
  // each: the boxes of the medians take some of each other's writings; the
  // vector quantisation moves them to where the two are told apart, on the
  // samples trained and on the turns between.
  const penkit::Figure one = penkit::Figure().Polyline({{7, 7}, {12, 2}, {12, 40}});
  const penkit::Figure seven = penkit::Figure().Polyline({{7, 3}, {13, 3}, {12, 40}});
  std::vector<penkit::BitImage> images;
  std::vector<uint16_t> codes;
  auto draw = [&](double turn) {
    for (double pen : {3.0, 5.0}) {
      images.push_back(penkit::Draw(one.Rotated(turn, {10, 20}), pen));
      codes.push_back(0x8250);
      images.push_back(penkit::Draw(seven.Rotated(turn, {10, 20}), pen));
      codes.push_back(0x8256);
    }
  };
  for (double turn = -15; turn <= 15; turn += 2) draw(turn);
  const size_t trained = images.size();
  for (double turn = -14; turn <= 14; turn += 2) draw(turn);
  std::vector<LabelledChar> samples;
  for (size_t i = 0; i < images.size(); ++i) samples.push_back(Label(images[i], codes[i]));
  const std::vector<LabelledChar> training(samples.begin(), samples.begin() + trained);
  auto wrong = [&](int epochs, const char* name, size_t from, size_t to) {
    BuilderOptions options;
    options.maxClustersPerCode = 1;
    options.refineEpochs = epochs;
    DictFileSpec spec;
    BuildReport report;
    std::string error;
    EXPECT_EQ(BuildPatternDict(training, options, &spec, &report, &error), 0) << error;
    const DictBlock* dict = LoadTestDict(folder_, name, spec);
    EXPECT_NE(dict, nullptr);
    int n = 0;
    for (size_t i = from; dict != nullptr && i < to; ++i) {
      n += Classify(dict, samples[i]).candidates[0].code() != samples[i].sjis;
    }
    return n;
  };
  const int medians = wrong(0, "medians.dic", 0, trained);
  ASSERT_GT(medians, 0) << "the look-alikes do not meet: nothing to move";
  EXPECT_LT(wrong(6, "refined.dic", 0, trained), medians);
  EXPECT_LE(wrong(6, "refined2.dic", trained, samples.size()),
            wrong(0, "medians2.dic", trained, samples.size()));
}

TEST_F(BuilderTest, BlankSamplesAreLeftOutAndNoneAtAllIsRefused) {
  penkit::BitImage blank(20, 20);
  std::vector<LabelledChar> samples = {Label(blank, 0x8250)};
  DictFileSpec spec;
  BuildReport report;
  std::string error;
  EXPECT_EQ(BuildPatternDict(samples, BuilderOptions(), &spec, &report, &error), -1);
  EXPECT_EQ(report.blank, 1);
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(BuildPatternDict({}, BuilderOptions(), &spec, &report, &error), -1);
}

TEST_F(BuilderTest, SamplePacksRoundTripAndRefuseDamage) {
  penkit::BitImage image = penkit::Draw(Shapes()[3].figure, 4);
  std::vector<PackedChar> chars = {
      {0x8256, kTypeDigits, static_cast<int16_t>(image.width()),
       static_cast<int16_t>(image.height()), image.InkRect(), image.bits()},
      {0x8250, kTypeDigits, 3, 2, {0, 0, 2, 1}, {0xE0, 0x40}}};
  const std::string path = folder_.Path("t.pack");
  std::string error;
  ASSERT_EQ(WriteSamplePack(path, chars, &error), 0);
  std::vector<PackedChar> back;
  ASSERT_EQ(ReadSamplePack(path, &back, &error), 0) << error;
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].bits, chars[0].bits);
  EXPECT_EQ(back[1].sjis, 0x8250);
  EXPECT_EQ(back[1].rect.right, 2);

  std::vector<uint8_t> bytes;
  {
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(f);
  }
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 1);
  std::vector<uint8_t> longer = bytes;
  longer.push_back(0);
  std::vector<uint8_t> badRect = bytes;
  badRect[bytes.size() - 6] = 9;  // the last image's right edge past its width
  std::vector<uint8_t> notAPack = bytes;
  notAPack[0] = 'X';
  for (const Case& c : {Case{"cut short", cut}, Case{"data after the end", longer},
                        Case{"a rectangle outside its image", badRect},
                        Case{"not a pack", notAPack}}) {
    SCOPED_TRACE(c.what);
    const std::string damaged = folder_.Write("d.pack", c.bytes);
    back.assign(3, PackedChar{});
    EXPECT_EQ(ReadSamplePack(damaged, &back, &error), -1);
    EXPECT_TRUE(back.empty());
  }
  EXPECT_EQ(ReadSamplePack(folder_.Path("missing.pack"), &back, &error), -1);
}

}  // namespace
