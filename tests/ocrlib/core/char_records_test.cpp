// Candidate records: the confidence of a similarity and the small-kana pairs.
#include <gtest/gtest.h>

#include "ocrlib/core/core_internal.h"

namespace {

TEST(CharRecords, ConfidenceThresholdsFollowTheFourthRoot) {
  const auto& t = ConfidenceTable();
  EXPECT_EQ(t[0], 25599);
  EXPECT_EQ(t[1], 25535);
  EXPECT_EQ(t[50], 21526);
  EXPECT_EQ(t[99], 8095);
  for (int k = 1; k < 100; ++k) EXPECT_LT(t[k], t[k - 1]) << k;
}

TEST(CharRecords, SimilarityBecomesConfidence) {
  struct Case {
    const char* what;
    int32_t similarity;
    int confidence;
  };
  const Case cases[] = {
      {"full", 25600, 100},
      {"just below full", 25599, 99},
      {"one above the last threshold", 8096, 1},
      // A similarity no threshold lies below is no confidence at all, not
      // the full confidence it would keep unsearched.
      {"the last threshold itself", 8095, 0},
      {"weak", 3000, 0},
      {"none", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    uint8_t confidence = 0xEE;
    ScoreToConfidence(c.similarity, &confidence);
    EXPECT_EQ(confidence, c.confidence);
  }
}

TEST(CharRecords, ClearedRecordsHoldEmptyPlaces) {
  CharWorkRecord r;
  r.count = 7;
  r.confidence = 5;
  ClearCharRecord(&r);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(r.confidence, 0);
  for (const RecogCandidate& c : r.candidates) {
    EXPECT_TRUE(c.empty());
    EXPECT_EQ(c.model, -1);
    EXPECT_EQ(c.distance1, kNoDistance);
  }
}

TEST(CharRecords, LargeKanaKnowTheirSmallForms) {
  EXPECT_EQ(SmallKanaPairOf(0x8341), 0);   // ア
  EXPECT_EQ(SmallKanaPairOf(0x8363), 7);   // ツ
  EXPECT_EQ(kSmallKanaTrail[7], 0x62);     // ッ
  EXPECT_EQ(SmallKanaPairOf(0x8340), -1);  // ァ itself
  EXPECT_EQ(SmallKanaPairOf(0x8241), -1);  // another lead byte
}

}  // namespace
