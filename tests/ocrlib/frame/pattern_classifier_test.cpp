// The pattern classifier on small hand-set dictionaries whose answers are
// known: quantisation, selection by type and signature, the coarse and fine
// pruning, re-ranking against rivals, the candidate list and its confidence.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

RunImage PageOf(penkit::BitImage& image) {
  const MupaImage d = image.Descriptor();
  return RunImage{d.width, d.height, 1, d.bytesPerLine, 200, d.bits};
}

// A class whose coarse distance to an all-zero feature vector is `coarse`
// (lower bounds summing to it over the table |row - column|) and whose fine
// distance adds `fine` the same way.
PatternClassRecord ClassAt(int coarse, int fine, uint32_t types = kTypeDigits) {
  PatternClassRecord c = MakeDigitPatternDict().patterns.classes[0];
  c.typeBits = types;
  for (int k = 0; k < kSixBitFeatures && coarse > 0; ++k) {
    c.lower6[k] = static_cast<uint8_t>(std::min(coarse, 63));
    coarse -= c.lower6[k];
  }
  for (int j = 0; j < kEightBitFeatures && fine > 0; ++j) {
    c.lower8[j] = static_cast<uint8_t>(std::min(fine, 255));
    fine -= c.lower8[j];
  }
  return c;
}

// The digit sample's tables with the given classes, one member each (the
// digit 0 + its index), all examined for every character.
DictFileSpec DictOf(const std::vector<PatternClassRecord>& classes) {
  DictFileSpec spec = MakeDigitPatternDict();
  PatternSectionFile& p = spec.patterns;
  p.classes = classes;
  p.members.clear();
  p.items.assign(classes.size(), PatternItem{});
  for (size_t i = 0; i < classes.size(); ++i) {
    p.members.push_back({classes[i].typeBits, 0x82, static_cast<uint8_t>(0x4F + i), 1, nullptr});
  }
  p.tailClassCount = static_cast<int16_t>(classes.size());
  // Penalties only outside a bound: T[r][c] = r - c above the diagonal.
  for (int r = 0; r < 64; ++r) {
    for (int c = 0; c < 64; ++c) p.boundDistanceTable[r * 64 + c] = static_cast<uint8_t>(r > c ? r - c : 0);
  }
  for (int r = 0; r < 256; ++r) {
    for (int c = 0; c < 256; ++c) p.fineBoundDistanceTable[r * 256 + c] = static_cast<uint8_t>(r > c ? r - c : 0);
  }
  return spec;
}

class PatternClassifierTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMupaLibrary(); }
  void TearDown() override { ResetMupaLibrary(); }

  const PatternImage& Load(const DictFileSpec& spec) {
    dict_ = LoadTestDict(folder_, "p" + std::to_string(++files_) + ".dic", spec);
    EXPECT_NE(dict_, nullptr);
    return *dict_->patterns;
  }
  // The scratch list after coarse distances of classes 0..n-1.
  std::vector<std::pair<uint32_t, uint16_t>> Coarse(const PatternImage& s, int n) {
    for (int i = 0; i < n; ++i) s.scratch[i] = {0, static_cast<uint16_t>(i)};
    const int kept = CoarsePatternDistance(s, PatternFeatureVector{}, n);
    std::vector<std::pair<uint32_t, uint16_t>> out;
    for (int i = 0; i < kept; ++i) out.push_back({s.scratch[i].distance, s.scratch[i].classNumber});
    return out;
  }

  TempFolder folder_;
  const DictBlock* dict_ = nullptr;
  int files_ = 0;
};

TEST(PatternFeatures, AValueEqualToAThresholdQuantisesBelowIt) {
  const uint16_t thresholds[3] = {10, 20, 30};
  const std::pair<uint16_t, int> cases[] = {{0, 0}, {10, 0}, {11, 1}, {20, 1}, {30, 2}, {31, 3},
                                            {65535, 3}};
  for (const auto& [value, level] : cases) {
    EXPECT_EQ(QuantizeValue(value, thresholds, 4), level) << value;
  }
}

TEST_F(PatternClassifierTest, SelectsByTypeAndSignature) {
  std::vector<PatternClassRecord> classes = {ClassAt(0, 0), ClassAt(0, 0, kTypeCapitals),
                                             ClassAt(0, 0), ClassAt(0, 0)};
  for (int j = 0; j < 4; ++j) classes[2].signatureMasks[j] = 0x0001;  // 4 words conflict
  for (int j = 0; j < 3; ++j) classes[3].signatureMasks[j] = 0x0001;  // 3 conflict
  DictFileSpec spec = DictOf(classes);
  spec.patterns.tailClassCount = 0;
  spec.patterns.groupWords[5] = 4u << 16;  // group 5: classes 0..3
  const PatternImage& s = Load(spec);
  const uint16_t signature[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  ASSERT_EQ(SelectPatternClasses(s, kTypeDigits, 5, signature), 2);
  EXPECT_EQ(s.scratch[0].classNumber, 0);
  EXPECT_EQ(s.scratch[1].classNumber, 3);
  EXPECT_EQ(SelectPatternClasses(s, kTypeDigits, 6, signature), 0);  // empty range, no tail
}

TEST_F(PatternClassifierTest, CoarseDistancesKeepThoseWithinTwoAndAHalfTimesTheBest) {
  // 100, 90, 240: the limit falls to 225 with 90, so 240 goes.
  EXPECT_EQ(Coarse(Load(DictOf({ClassAt(100, 0), ClassAt(90, 0), ClassAt(240, 0)})), 3),
            (std::vector<std::pair<uint32_t, uint16_t>>{{90, 1}, {100, 0}}));
  // 100, 260, 240: 260 is over the first limit of 250, 240 stays.
  EXPECT_EQ(Coarse(Load(DictOf({ClassAt(100, 0), ClassAt(260, 0), ClassAt(240, 0)})), 3),
            (std::vector<std::pair<uint32_t, uint16_t>>{{100, 0}, {240, 2}}));
  EXPECT_EQ(Coarse(Load(DictOf({ClassAt(7, 0)})), 1),
            (std::vector<std::pair<uint32_t, uint16_t>>{{7, 0}}));
}

TEST_F(PatternClassifierTest, FineDistancesRankAndKeepTen) {
  std::vector<PatternClassRecord> classes;
  for (int i = 0; i < 12; ++i) classes.push_back(ClassAt(0, 100 + 10 * (11 - i)));
  classes[3].bias = -5;  // the bias counts in the full distance
  const PatternImage& s = Load(DictOf(classes));
  for (int i = 0; i < 12; ++i) s.scratch[i] = {0, static_cast<uint16_t>(i)};
  const uint8_t flags[16] = {};
  ASSERT_EQ(FinePatternDistance(s, flags, PatternFeatureVector{}, 12), kMaxRankedClasses);
  EXPECT_EQ(s.scratch[0].classNumber, 11);
  EXPECT_EQ(s.scratch[0].distance, 100u);
  EXPECT_EQ(s.scratch[8].classNumber, 3);
  EXPECT_EQ(s.scratch[8].distance, 175u);
  EXPECT_EQ(s.scratch[9].classNumber, 2);
}

TEST_F(PatternClassifierTest, RerankingNeedsACloseSecondAndARival) {
  std::vector<PatternClassRecord> classes = {ClassAt(0, 0), ClassAt(0, 0)};
  classes[0].rivals[2] = 1;
  const PatternImage& s = Load(DictOf(classes));
  struct Case {
    int32_t first, second;
    bool reranked;
  };
  for (const Case& c : {Case{500, 1600, false}, Case{500, 1500, true}}) {
    RankedClassEntry list[2] = {{0, c.first, kNoDistance, 0}, {0, c.second, kNoDistance, 1}};
    RerankPatternCandidates(s, PatternFeatureVector{}, list, 2);
    EXPECT_EQ(list[0].rerankDistance != kNoDistance, c.reranked) << c.second;
  }
  classes[0].rivals[2] = kNoRival;  // no rival among the places: nothing
  const PatternImage& plain = Load(DictOf(classes));
  RankedClassEntry list[2] = {{0, 500, kNoDistance, 0}, {0, 510, kNoDistance, 1}};
  RerankPatternCandidates(plain, PatternFeatureVector{}, list, 2);
  EXPECT_EQ(list[0].rerankDistance, kNoDistance);
}

TEST(PatternRanking, RerankedEntriesSortStablyByTheirSums) {
  RankedClassEntry list[4] = {{0, 100, 50, 0}, {0, 110, kNoDistance, 1}, {0, 90, 40, 2},
                              {0, 95, 55, 3}};
  SortRerankedEntries(list, 4);
  // Keys 150, -, 130, 150: entry 2 moves up among the re-ranked places; the
  // entry without a re-rank distance keeps its place; equal keys keep order.
  EXPECT_EQ(list[0].classNumber, 2);
  EXPECT_EQ(list[1].classNumber, 1);
  EXPECT_EQ(list[2].classNumber, 0);
  EXPECT_EQ(list[3].classNumber, 3);
}

TEST(PatternRanking, ConfidenceComesFromTheGapOfTheFirstPlaces) {
  EXPECT_EQ(GapCurveTable()[0], 0);
  EXPECT_EQ(GapCurveTable()[1], 1513);
  EXPECT_EQ(GapCurveTable()[5], 5753);
  EXPECT_EQ(GapCurveTable()[50], 19903);
  EXPECT_EQ(GapCurveTable()[104], 25580);
  auto rate = [](std::vector<std::pair<uint16_t, int32_t>> places, uint32_t types = kTypeDigits) {
    CharWorkRecord r;
    ClearCharRecord(&r);
    for (size_t i = 0; i < places.size(); ++i) {
      r.candidates[i].lead = static_cast<uint8_t>(places[i].first >> 8);
      r.candidates[i].trail = static_cast<uint8_t>(places[i].first);
      r.candidates[i].distance1 = places[i].second;
      r.candidates[i].typeBits = types;
    }
    r.count = static_cast<int16_t>(places.size());
    RateCandidateGap(&r);
    return r.confidence;
  };
  EXPECT_EQ(rate({}), 0);
  // 99 and 149: gap 5000, band 3, step 15 of the curve: score 25416.
  EXPECT_EQ(rate({{0x824F, 99}, {0x8250, 149}}), 97);
  EXPECT_EQ(rate({{0x824F, 99}, {0x8250, 99}}), 17);  // no gap: band 1's offset
  EXPECT_EQ(rate({{0x824F, 99}}), rate({{0x824F, 1}, {0x8250, 5000}}));  // both 9999
  // ツ over ッ alone is one answer; with a third place the gap is to it.
  EXPECT_EQ(rate({{0x8363, 99}, {0x8362, 100}}, kTypeKatakana),
            rate({{0x8363, 99}}, kTypeKatakana));
  EXPECT_EQ(rate({{0x8363, 99}, {0x8362, 100}, {0x8341, 149}}, kTypeKatakana),
            rate({{0x8363, 99}, {0x8341, 149}}, kTypeKatakana));
}

TEST_F(PatternClassifierTest, ClassifiesADrawnCharacterWithTheDigitSample) {
  // The sample's ten classes are alike: all at one distance, ranked in class
  // order, without a gap.
  Load(MakeDigitPatternDict());
  penkit::BitImage image = penkit::Draw(penkit::Figure().Line({5, 2}, {5, 30}), 4);
  CharWorkRecord r = ClassifyWith(dict_, PageOf(image), image.InkRect(), kTypeDigits);
  ASSERT_EQ(r.count, 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(r.candidates[i].code(), 0x824F + i);
    EXPECT_EQ(r.candidates[i].distance1, r.candidates[0].distance1);
    EXPECT_EQ(r.candidates[i].source, kSourcePattern);
  }
  EXPECT_EQ(r.confidence, 17);
  r = ClassifyWith(dict_, PageOf(image), image.InkRect(), kTypeKatakana);  // no class of the type
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.confidence, 0);
  EXPECT_GT(r.shapeGroup, 0);  // the character's group is still told
  for (const RecogCandidate& c : r.candidates) EXPECT_TRUE(c.empty());
}

TEST_F(PatternClassifierTest, ADictionaryWithoutPatternsAnswersNothing) {
  const DictBlock* dict = LoadTestDict(folder_, "h.dic", MakeHeaderOnlyDict());
  ASSERT_NE(dict, nullptr);
  ASSERT_EQ(dict->patterns, nullptr);
  penkit::BitImage image = penkit::Draw(penkit::Figure().Line({5, 2}, {5, 30}), 4);
  const CharWorkRecord r = ClassifyWith(dict, PageOf(image), image.InkRect(), kTypeAll);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.confidence, 0);
}

TEST(PatternRanking, MembersOfTheMaskBecomeCandidates) {
  auto image = std::make_unique<PatternImage>();
  PatternClassRecord c = {};
  PatternMember members[3] = {{kTypeDigits, 0x82, 0x4F, 0, nullptr},
                              {kTypeCapitals, 0x82, 0x60, 0, nullptr},
                              {kTypeDigits, 0x82, 0x50, 0, nullptr}};
  c.memberCount = 3;
  c.members = members;
  image->classes = &c;
  image->classCount = 1;
  RankedClassEntry list[1] = {{0, 321, kNoDistance, 0}};
  RecogCandidate out[kMaxCandidates];
  ASSERT_EQ(BuildPatternCandidates(*image, kTypeDigits, list, 1, out), 2);
  EXPECT_EQ(out[0].code(), 0x824F);
  EXPECT_EQ(out[1].code(), 0x8250);
  EXPECT_EQ(out[1].distance1, 321);
  EXPECT_EQ(out[1].distance2, kNoDistance);
  EXPECT_TRUE(out[2].empty());
}

}  // namespace
