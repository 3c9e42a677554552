// Counting answers: how one answer is matched against a question's codes,
// how empty and over-selected answers count, percentages, and the tally's
// two tokenizers walked nested.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tally/tally.h"
#include "tally/tally_blocks.h"
#include "tally/tally_digit_grid.h"

namespace {

TEST(TallyMatch, AnswersHitTheirChoices) {
  struct Case {
    const char* what;
    std::string codes;
    int maxAnswers;
    std::string answer;
    std::vector<int> hits;
  };
  const Case cases[] = {
      {"single characters: several marks", "123", 0, "13", {1, 3}},
      {"single characters: a repeated mark hits again", "123", 0, "332", {2, 3, 3}},
      {"single characters: no code", "123", 0, "9", {}},
      {"half-width katakana", "ｱｲｳ", 0, "ｳｱ", {1, 3}},
      {"double-byte codes are whole characters", "男女", 0, "女", {2}},
      {"comma list: the whole answer", "1,10,11,21", 1, "1", {1}},
      {"comma list: 10 is not 1", "1,10,11,21", 1, "10", {2}},
      {"comma list: part of a value hits nothing", "1,10,11,21", 1, "2", {}},
      {"comma list, two answers in a row", "01,02,03", 2, "0301", {1, 3}},
      {"comma list, the same answer twice", "01,02,03", 2, "0202", {2, 2}},
      {"comma list, pieces past the answer", "01,02,03", 3, "02", {2}},
      {"comma list, pieces are aligned", "12,23", 2, "1234", {1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TallyQuestionCodes q = MakeTallyQuestionCodes(c.codes, c.maxAnswers, 0);
    EXPECT_EQ(MatchTallyAnswer(q, c.answer), c.hits);
  }
}

TEST(TallyMatch, CommaValuesMatchOnTheirFirst50Bytes) {
  const std::string value(60, 'v');
  const TallyQuestionCodes q = MakeTallyQuestionCodes(value + ",b", 0, 0);
  EXPECT_EQ(q.codes[0].size(), 50u);
  EXPECT_EQ(MatchTallyAnswer(q, std::string(50, 'v')), std::vector<int>{1});
}

TEST(TallyMatch, ChoicesPast512AreNeverHit) {
  std::string codes;
  for (int i = 1; i <= 600; ++i) codes += (i > 1 ? "," : "") + std::to_string(i);
  const TallyQuestionCodes q = MakeTallyQuestionCodes(codes, 0, 0);
  EXPECT_EQ(MatchTallyAnswer(q, "512"), std::vector<int>{512});
  EXPECT_TRUE(MatchTallyAnswer(q, "513").empty());
}

struct Totals {
  double choice1, choice3, total, noAnswer, over, base;
};

Totals TotalsOf(int table, int q) {
  const TallyCountTable& t = g_tallyCounts[table];
  return {t.counts[q][1], t.counts[q][3], t.counts[q][0], t.noAnswer[q], t.over[q], t.base[q]};
}

void ExpectTotals(const Totals& got, const Totals& want) {
  EXPECT_EQ(got.choice1, want.choice1);
  EXPECT_EQ(got.choice3, want.choice3);
  EXPECT_EQ(got.total, want.total);
  EXPECT_EQ(got.noAnswer, want.noAnswer);
  EXPECT_EQ(got.over, want.over);
  EXPECT_EQ(got.base, want.base);
}

TEST(TallyCount, AnswersEnterAllThreeTables) {
  struct Case {
    const char* what;
    std::string answer;
    TallyInclusion include;
    bool exempt;
    Totals totals;
  };
  const Case cases[] = {
      {"two marks: total 2, base 1", "13", {}, false, {1, 1, 2, 0, 0, 1}},
      {"empty, not included: only the no-answer count", "", {}, false, {0, 0, 0, 1, 0, 0}},
      {"empty, included", "", {true, false}, false, {0, 0, 1, 1, 0, 1}},
      {"empty and exempt: a record that matches nothing",
       "",
       {true, true},
       true,
       {0, 0, 0, 0, 0, 1}},
      {"over, not included", "*13", {}, false, {0, 0, 0, 0, 1, 0}},
      {"over, included: no choice hit", "*13", {false, true}, false, {0, 0, 1, 0, 1, 1}},
      {"no code hit still counts the record", "9", {}, false, {0, 0, 0, 0, 0, 1}},
  };
  const TallyQuestionCodes codes = MakeTallyQuestionCodes("123", 0, 0);
  const TallyQuestionCodes exempt = MakeTallyQuestionCodes("123", 0, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearQuestionCounts();
    ClearGroupCounts();
    ClearRunCounts();
    CountTallyAnswer(7, c.exempt ? exempt : codes, c.answer, c.include);
    for (int table : {kQuestionCounts, kGroupCounts, kRunCounts}) {
      ExpectTotals(TotalsOf(table, 7), c.totals);
    }
    ExpectTotals(TotalsOf(kRunCounts, 6), {0, 0, 0, 0, 0, 0});
  }
}

TEST(TallyCount, ClearingATableLeavesTheOthers) {
  ClearQuestionCounts();
  ClearGroupCounts();
  ClearRunCounts();
  const TallyQuestionCodes codes = MakeTallyQuestionCodes("123", 0, 0);
  CountTallyAnswer(1, codes, "1", {});
  ClearQuestionCounts();
  CountTallyAnswer(1, codes, "1", {});
  EXPECT_EQ(g_tallyCounts[kQuestionCounts].counts[1][1], 1);
  EXPECT_EQ(g_tallyCounts[kGroupCounts].counts[1][1], 2);
  EXPECT_EQ(g_tallyCounts[kRunCounts].base[1], 2);
}

TEST(TallyCount, AQuestionWithoutCodesCountsOnlyEmptyAndOver) {
  ClearRunCounts();
  const TallyQuestionCodes none = MakeTallyQuestionCodes("", 0, 0);
  CountTallyAnswer(2, none, "1", {true, true});
  CountTallyAnswer(2, none, "", {true, true});
  CountTallyAnswer(2, none, "*", {true, true});
  EXPECT_EQ(g_tallyCounts[kRunCounts].base[2], 2);
  EXPECT_EQ(g_tallyCounts[kRunCounts].counts[2][0], 2);
}

TEST(TallyDigitGrid, OnlyARunOfDistinctDigitsRepeatedIsAGrid) {
  struct Case {
    const char* codes;
    int columns;
  };
  const Case cases[] = {
      {"01234567890123456789", 2}, {"123456789012345678901234567890", 3}, {"0101", 2},
      {"0123456789", 0},           {"1234567890ABCDEFGHIJ", 0},           {"00", 0},
      {"0123401235", 0},           {"ABAB", 0},                           {"", 0},
      {"1,2,1,2", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(DigitGridColumns(c.codes), c.columns) << c.codes;
}

// An age of 36 marked in a grid of two columns counts once, as 36: not its
// digits once in each column (four hits of 25 % each).
TEST(TallyDigitGrid, AnAnswerCountsOnceAsTheValueItEncodes) {
  const std::vector<std::string> answers = {"36", "7 ", "", "36", "*3", "10", " 9", "07"};
  const std::vector<std::string> choices = DigitGridChoices(answers);
  EXPECT_EQ(choices, (std::vector<std::string>{"7", "07", "9", "10", "36"}));
  const TallyQuestionCodes codes = DigitGridCodes(choices, 0);
  ClearRunCounts();
  for (const std::string& answer : answers) CountTallyAnswer(3, codes, DigitGridValue(answer), {});
  const TallyCountTable& run = g_tallyCounts[kRunCounts];
  const double expected[] = {6, 1, 1, 1, 1, 2};  // total, then 7, 07, 9, 10, 36
  for (int k = 0; k <= 5; ++k) EXPECT_EQ(run.counts[3][k], expected[k]) << "choice " << k;
  EXPECT_EQ(run.base[3], 6);
  EXPECT_EQ(run.noAnswer[3], 1);
  EXPECT_EQ(run.over[3], 1);
  EXPECT_EQ(TallyPercent(run.counts[3][5], run.base[3]), 33.3);
}

// A table wider than the page goes on in blocks of choices, the extra
// columns after the last.
TEST(TallyBlocks, AWideTableIsSplitIntoBlocksThatFitThePage) {
  using Blocks = std::vector<std::pair<int, int>>;
  struct Case {
    const char* what;
    int choices, prefix, choice, extras, digits;
    Blocks blocks;
  };
  const Case cases[] = {
      {"fits", 10, 0, 6, 16, 80, {{1, 10}}},
      {"twenty choices of a digit grid", 20, 0, 6, 16, 80, {{1, 13}, {14, 20}}},
      {"grouping columns begin every block", 20, 12, 6, 0, 80, {{1, 11}, {12, 20}}},
      {"the last block leaves room for the extra columns", 13, 0, 6, 16, 80, {{1, 12}, {13, 13}}},
      {"a page narrower than one choice: one a block", 3, 0, 6, 0, 5, {{1, 1}, {2, 2}, {3, 3}}},
      {"no page width: one block", 40, 0, 6, 16, 0, {{1, 40}}},
      {"no choices", 0, 0, 6, 16, 80, {{1, 0}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TallyChoiceBlocks(c.choices, c.prefix, c.choice, c.extras, c.digits), c.blocks) << c.what;
  }
}

TEST(TallyPercentages, RoundHalfUpAndNeverDivideByZero) {
  struct Case {
    double count, base, percent;
  };
  const Case cases[] = {
      {1, 16, 6.3},  {1, 3, 33.3}, {2, 3, 66.7}, {1, 8, 12.5}, {3, 3, 100.0},  {0, 5, 0.0},
      {0.5, 5, 0.0}, {4, 0, 0.0},  {0, 0, 0.0},  {7, -1, 0.0}, {1, 2000, 0.1}, {1, 2001, 0.0},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(TallyPercent(c.count, c.base), c.percent) << c.count << "/" << c.base;
  }
}

TEST(TallyTokens, TwoListsWalkedNested) {
  const char* outer = "a,\"b,c\"";
  const char* inner = "1,2";
  std::vector<std::string> pairs;
  char first[16];
  char second[16];
  ResetTallyToken();
  int rc;
  do {
    rc = NextTallyToken(first, 15, outer);
    ResetTallyInnerToken();
    int inner_rc;
    do {
      inner_rc = NextTallyInnerToken(second, 15, inner);
      pairs.push_back(std::string(first) + "/" + second);
    } while (inner_rc > 0);
  } while (rc > 0);
  EXPECT_EQ(pairs, (std::vector<std::string>{"a/1", "a/2", "b,c/1", "b,c/2"}));
  char cut[4];
  ResetTallyToken();
  EXPECT_EQ(NextTallyToken(cut, 3, "abcdef"), -2);
  EXPECT_STREQ(cut, "abc");
  EXPECT_EQ(NextTallyToken(cut, -1, ""), 0);
}

}  // namespace
