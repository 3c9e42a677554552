// The class-check table and the contract of its routines: binding by name,
// the step-4 exemption, thresholds (an equal distance passes), the routines
// of the digit rows, and the corrections of confusable survivor pairs.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ocrlib/checks/check_kit.h"
#include "ocrlib/checks/checks_internal.h"

namespace {

TEST(ClassCheckTable, RowsBindByExactName) {
  EXPECT_EQ(FindClassCheckRow("@0"), 0);
  EXPECT_EQ(FindClassCheckRow("0"), 69);
  EXPECT_EQ(FindClassCheckRow("9f"), 136);
  EXPECT_EQ(FindClassCheckRow("XMb"), 530);
  EXPECT_EQ(FindClassCheckRow("ka"), -1) << "case matters";
  EXPECT_EQ(FindClassCheckRow("5b "), -1);
  EXPECT_EQ(FindClassCheckRow(""), -1);
  EXPECT_EQ(g_classCheckTable[kClassCheckRows].name[0], '\0');
  // Every digit row, plain and "@", has its routine.
  for (int row = 0; row <= 136; ++row) {
    if (row >= 18 && row <= 68) continue;  // the "@" capitals
    EXPECT_NE(g_classCheckTable[row].routine, nullptr) << g_classCheckTable[row].name;
  }
}

// One candidate in a work area, its model bound to a row, and routines that
// record whether they ran.
class ContractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = std::make_unique<SessionWorkArea>();
    std::memset(&model_, 0, sizeof model_);
    set_.mask = kTypeDigits;
    set_.modelCount = 1;
    set_.models = &model_;
    ShapeCandidate& c = work_->candidates[0];
    c.model = &model_;
    c.valid = '7';
    work_->current = &c;
    steps_.count = 1;
    steps_.steps[0] = 1;
  }
  void Bind(const char* name, int16_t distance) {
    std::strncpy(model_.name, name, sizeof model_.name - 1);
    model_.classIndex = static_cast<int16_t>(FindClassCheckRow(name));
    work_->candidates[0].distance = distance;
    work_->candidates[0].valid = '7';
  }
  uint16_t Apply() {
    ApplyClassCheck(&steps_, &contours_, &points_, &frame_, &graph_, &nodes_, &set_, work_.get());
    return work_->candidates[0].valid;
  }

  std::unique_ptr<SessionWorkArea> work_;
  StrokeModel model_;
  StrokeModelSet set_ = {};
  StrokeStepList steps_;
  ContourSet contours_;
  StrokePointTable points_;
  CharFrame frame_;
  StrokeGraph graph_;
  StrokeNodeLists nodes_;
};

TEST_F(ContractTest, ThresholdsRejectAboveAndPassEqual) {
  // Rows without a routine, so that only the threshold decides.
  struct Case {
    const char* name;
    int16_t distance;
    bool kept;
  };
  const Case cases[] = {
      {"K", 1600, true},   {"K", 1601, false},  {"RIg", -9999, true}, {"RIg", -9998, false},
      {"-b", 0, true},     {"-b", 1, false},    {"Bj", -10, true},    {"Bj", -9, false},
      {"XKc", -100, true}, {"ZZ", 32000, true},  // no row: never tested
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.distance));
    Bind(c.name, c.distance);
    EXPECT_EQ(Apply() != 0, c.kept);
  }
}

TEST_F(ContractTest, StepFourTestsNothing) {
  steps_.steps[0] = 4;
  Bind("K", 20000);
  EXPECT_EQ(Apply(), '7');
  steps_.steps[0] = 0;
  EXPECT_EQ(Apply(), 0);
}

TEST_F(ContractTest, RoutineRunsOnlyWithinTheThreshold) {
  // "1c" has threshold 0 and a routine that needs a stroke 0: within the
  // threshold the routine runs and, finding no stroke, rejects; above it the
  // routine never runs (its verdict stays the last one recorded).
  Bind("1c", 0);
  model_.strokeCount = 1;
  g_lastCheckVerdict = {};
  EXPECT_EQ(Apply(), 0);
  ASSERT_TRUE(g_lastCheckVerdict.decided);
  EXPECT_TRUE(g_lastCheckVerdict.rejected);
  EXPECT_STREQ(g_lastCheckVerdict.routine, "1c");
  g_lastCheckVerdict = {};
  Bind("1c", 1);
  EXPECT_EQ(Apply(), 0);
  EXPECT_FALSE(g_lastCheckVerdict.decided);
}

// Two survivors of named models and their distances after the corrections.
class PairTest : public ::testing::Test {
 protected:
  std::pair<int, int> Adjust(const char* first, const char* second, int d1, int d2,
                             uint32_t mask = kTypeDigits, uint8_t step = 1) {
    auto work = std::make_unique<SessionWorkArea>();
    StrokeModel models[2] = {};
    std::strncpy(models[0].name, first, 7);
    std::strncpy(models[1].name, second, 7);
    StrokeModelSet set = {};
    set.mask = mask;
    set.modelCount = 2;
    set.models = models;
    StrokeStepList steps;
    steps.count = 1;
    steps.steps[0] = step;
    work->survivorCount = 2;
    work->survivorModel[0] = 0;
    work->survivorModel[1] = 1;
    work->survivorDistance[0] = static_cast<int16_t>(d1);
    work->survivorDistance[1] = static_cast<int16_t>(d2);
    AdjustSimilarPairScores(&steps, nullptr, nullptr, nullptr, nullptr, nullptr, &set, work.get());
    return {work->survivorDistance[0], work->survivorDistance[1]};
  }
};

TEST_F(PairTest, SevenConfusablePairs) {
  struct Case {
    const char *first, *second;
    int d1, d2, after1, after2;
  };
  const Case cases[] = {
      {"5b", "7", 1000, 1505, 1000, 693},
      {"7", "5b", 1000, 1505, 1000, 1505},   // the other order is left alone
      {"5bx", "7", 1000, 1505, 1000, 693},   // two bytes decide
      {"5b", "7a", 1000, 1505, 1000, 1505},  // "7" means exactly "7"
      {"5", "7d", 1000, 2770, 1000, 796},
      {"5", "9b", 500, 200, 500, 200},  // middle band
      {"5", "9b", 300, 200, 200, 300},  // below 395: exchanged when d2 < d1
      {"5", "9b", 700, 800, 800, 700},  // above 686: exchanged when d2 > d1
      {"5", "9b", 700, 600, 700, 600},
      {"3a", "7", 500, 400, 400, 500},
      {"3a", "7", -500, -400, -400, -500},  // negative d2: exchanged when d2 > d1
      {"3a", "7", -500, -600, -500, -600},
      {"3b", "7", 708, 100, 467, 100},
      {"4", "9a", 781, 100, 777, 100},
      {"2", "7b", 1000, 1300, 1000, 1300},  // 300 apart: unchanged
      {"2", "7b", 1000, 1400, 4729, 1400},
      {"2", "7b", 30000, 100, 32766, 100},  // held below 16 bits, never wrapped
      {"@5", "9b", 300, 200, 300, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + "/" + c.second + " " + std::to_string(c.d1) + "," +
                 std::to_string(c.d2));
    EXPECT_EQ(Adjust(c.first, c.second, c.d1, c.d2), std::make_pair(c.after1, c.after2));
  }
}

TEST_F(PairTest, OnlyDigitsInTheThinnedSteps) {
  EXPECT_EQ(Adjust("5b", "7", 1000, 1505, kTypeCapitals), std::make_pair(1000, 1505));
  EXPECT_EQ(Adjust("5b", "7", 1000, 1505, kTypeDigits | kTypeCapitals), std::make_pair(1000, 693));
  for (uint8_t step : {0, 2, 4}) {
    EXPECT_EQ(Adjust("5b", "7", 1000, 1505, kTypeDigits, step), std::make_pair(1000, 1505));
  }
  EXPECT_EQ(Adjust("5b", "7", 1000, 1505, kTypeDigits, 3), std::make_pair(1000, 693));
}

}  // namespace
