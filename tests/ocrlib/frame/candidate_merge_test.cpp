// Merging the candidate lists of the structural recogniser and the pattern
// classifier: the plain merge, confusable digits and kana, and arbitration
// by distance limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

struct Place {
  uint16_t code;
  uint16_t source = kSourcePattern;
  int32_t distance = 0;
  int classId = 0;  // candidates of one class record share it
  uint32_t types = 0;
};

// Stand-ins for class records: compared by address only.
PatternClassRecord g_classes[4];

CharWorkRecord Record(const std::vector<Place>& places, uint8_t confidence = 50) {
  CharWorkRecord r;
  ClearCharRecord(&r);
  for (size_t i = 0; i < places.size(); ++i) {
    RecogCandidate& c = r.candidates[i];
    c.lead = static_cast<uint8_t>(places[i].code >> 8);
    c.trail = static_cast<uint8_t>(places[i].code);
    c.source = places[i].source;
    c.distance1 = places[i].distance;
    c.classRef = &g_classes[places[i].classId];
    c.typeBits = places[i].types != 0 ? places[i].types
                 : places[i].code >= 0x8340              ? kTypeKatakana
                                                         : kTypeDigits;
  }
  r.count = static_cast<int16_t>(places.size());
  r.confidence = confidence;
  return r;
}

std::vector<uint16_t> Codes(const CharWorkRecord& r) {
  std::vector<uint16_t> out;
  for (int i = 0; i < r.count; ++i) out.push_back(r.candidates[i].code());
  return out;
}

constexpr uint16_t kA = 0x8341, kSmallA = 0x8340, kI = 0x8343, kKu = 0x834E, kTa = 0x835E;
constexpr uint16_t kSeven = 0x8256;

TEST(CandidateMerge, AStructuralLargeKanaBringsItsSmallForm) {
  CharWorkRecord d;
  MergeCandidateLists(nullptr, nullptr, Record({{kI}, {kSmallA}, {kKu}}), &d);
  EXPECT_EQ(Codes(d), (std::vector<uint16_t>{kI, kSmallA, kKu}));
  const CharWorkRecord s = Record({{kA, 4}}, 80);
  MergeCandidateLists(nullptr, &s, Record({{kI}, {kSmallA}, {kKu}}, 30), &d);
  EXPECT_EQ(Codes(d), (std::vector<uint16_t>{kA, kSmallA, kI, kKu}));
  EXPECT_EQ(d.confidence, 80);
}

TEST(CandidateMerge, TheSmallFormTakesTheDictionarysReferences) {
  ResetMupaLibrary();
  TempFolder folder;
  DictFileSpec spec = MakeDigitPatternDict();
  spec.patterns.members[0].itemCount = 2;  // class 0's member has two items
  spec.patterns.items.push_back(PatternItem{});
  spec.patterns.smallKana[0] = 0;  // ア / ァ
  for (int i = 1; i < kSmallKanaEntries; ++i) spec.patterns.smallKana[i] = kNoRival;
  const DictBlock* dict = LoadTestDict(folder, "k.dic", spec);
  ASSERT_NE(dict, nullptr);
  const CharWorkRecord s = Record({{kA, 4}});
  CharWorkRecord d;
  MergeCandidateLists(dict, &s, Record({}), &d);
  ASSERT_EQ(Codes(d), (std::vector<uint16_t>{kA, kSmallA}));
  const PatternImage& p = *dict->patterns;
  EXPECT_EQ(d.candidates[0].classRef, &p.classes[0]);
  EXPECT_EQ(d.candidates[1].classRef, &p.classes[0]);
  EXPECT_EQ(d.candidates[0].patternRef, p.members[0].items);
  EXPECT_EQ(d.candidates[1].patternRef, p.members[0].items + 1);
  EXPECT_EQ(d.candidates[1].itemCount, 1);
  ResetMupaLibrary();
}

TEST(CandidateMerge, PlainMergeHoldsEachCodeOnceAndAtMostFifteen) {
  std::vector<Place> structural, pattern;
  for (int i = 0; i < 10; ++i) structural.push_back({static_cast<uint16_t>(0x8260 + i), 8});
  for (int i = 0; i < 12; ++i) pattern.push_back({static_cast<uint16_t>(0x8264 + i)});
  const CharWorkRecord s = Record(structural);
  CharWorkRecord d;
  MergeCandidateLists(nullptr, &s, Record(pattern), &d);
  ASSERT_EQ(d.count, kMaxCandidates);
  std::vector<uint16_t> codes = Codes(d);
  std::sort(codes.begin(), codes.end());
  EXPECT_EQ(std::unique(codes.begin(), codes.end()), codes.end());
  EXPECT_EQ(d.candidates[1].code(), 0x8264);  // the pattern list follows the first
}

TEST(CandidateMerge, ConfusableDigitsAndKanaDecideWhereTheStructuralDigitGoes) {
  struct Case {
    const char* what;
    std::vector<Place> structural, pattern;
    std::vector<uint16_t> expected;
  };
  const Case cases[] = {
      {"7 of source 1 against a pattern led by ku, which lacks 7: 7 first",
       {{kSeven, 1}}, {{kKu, 2, 10, 0}, {kA, 2, 20, 1}}, {kSeven, kKu, kA}},
      {"7 against a katakana that is no confusion: after its class's run",
       {{kSeven, 1}}, {{kA, 2, 10, 0}, {kSmallA, 2, 10, 0}, {kI, 2, 20, 1}},
       {kA, kSmallA, kSeven, kI}},
      {"7 found lower, ku first and no confusion of that kind: 7 first",
       {{kSeven, 1}}, {{kKu, 2, 10, 0}, {kSeven, 2, 20, 1}}, {kSeven, kKu}},
      {"7 of source 4 found lower under fu (a confusion): after fu's run",
       {{kSeven, 4}}, {{0x8374, 2, 10, 0}, {kSeven, 2, 20, 1}}, {0x8374, kSeven}},
      {"no structural answer: the pattern list", {}, {{kA}}, {kA}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CharWorkRecord d;
    MergeStructuralWithPattern(nullptr, Record(c.structural), Record(c.pattern), &d);
    EXPECT_EQ(Codes(d), c.expected);
  }
}

TEST(CandidateMerge, ArbitrationByDistanceLimits) {
  struct Case {
    const char* what;
    uint32_t mask;
    std::vector<Place> structural, pattern;
    std::vector<uint16_t> expected;
  };
  const Case cases[] = {
      {"a over ku farther than 2876 empties the top", kTypeKatakana,
       {{kA, 4}}, {{kKu, 2, 3000}}, {0xFFFF, kKu, kA}},
      {"a over ku within 2876 keeps a", kTypeKatakana, {{kA, 4}}, {{kKu, 2, 2000}}, {kA, kSmallA, kKu}},
      {"ta closer than 3450 goes on top", kTypeKatakana,
       {{kA, 4}}, {{kTa, 2, 3000}}, {kTa, kA}},
      {"no structural answer: a pattern a closer than 2595 on top", kTypeKatakana,
       {}, {{kA, 2, 2000}}, {kA, kSmallA}},
      {"other masks have no rows: the structural answer stays", kTypeKatakana | kTypeDigits,
       {{kA, 4}}, {{kKu, 2, 3000}}, {kA, kSmallA, kKu}},
      {"the same answer takes the pattern's candidate", kTypeKatakana,
       {{kKu, 4}}, {{kKu, 2, 3000}}, {kKu}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CharWorkRecord d;
    ArbitrateStructuralResult(nullptr, c.mask, Record(c.structural), Record(c.pattern), &d);
    EXPECT_EQ(Codes(d), c.expected);
  }
}

}  // namespace
