// Choice lists of survey questions: labels split from their comma list and
// the answer codes of a question.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer/survey.h"

namespace {

using Texts = std::vector<std::string>;

TEST(SurveyChoices, LabelsSplitFromTheirList) {
  struct Case {
    const char* what;
    std::string text;
    Texts labels;  // from label 1
    int longest;
  };
  const std::string long120(120, 'x');
  const Case cases[] = {
      {"empty", "", {}, 0},
      {"plain", "はい,いいえ", {"はい", "いいえ"}, 6},
      {"quotes keep commas", "\"1,000円以上\",それ以下", {"1,000円以上", "それ以下"}, 11},
      {"empty labels keep their place", "a,,c", {"a", "", "c"}, 1},
      {"trail bytes 0x5C and 0x7C", "表示,ソ－", {"表示", "ソ－"}, 4},
      {"a label of 120 bytes keeps 100", long120 + ",b", {std::string(100, 'x'), "b"}, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ChoiceLabels split = SplitChoiceLabels(c.text.c_str());
    Texts expected = {""};
    expected.insert(expected.end(), c.labels.begin(), c.labels.end());
    EXPECT_EQ(split.labels, expected);
    EXPECT_EQ(split.longest, c.longest);
    EXPECT_TRUE(split.tooLongToken.empty());
    EXPECT_FALSE(split.tooMany);
  }
}

TEST(SurveyChoices, LongLabelsAreCutAtACharacterBoundary) {
  // 99 single bytes and then a double-byte character: the cut at 100 bytes
  // would split it, so the label keeps 99.
  const std::string text = std::string(99, 'a') + "表ソ";
  const ChoiceLabels split = SplitChoiceLabels(text.c_str());
  ASSERT_EQ(split.labels.size(), 2u);
  EXPECT_EQ(split.labels[1], std::string(99, 'a'));
}

TEST(SurveyChoices, ATokenOver250BytesStopsTheList) {
  const std::string text = "a,b," + std::string(251, 'z') + ",d";
  const ChoiceLabels split = SplitChoiceLabels(text.c_str());
  EXPECT_EQ(split.labels, (Texts{"", "a", "b"}));
  EXPECT_EQ(split.tooLongToken.size(), 251u);
  // 250 bytes are a label (cut to 100).
  const ChoiceLabels fits = SplitChoiceLabels(std::string(250, 'z').c_str());
  EXPECT_TRUE(fits.tooLongToken.empty());
  EXPECT_EQ(fits.labels.size(), 2u);
}

TEST(SurveyChoices, MoreThan512LabelsAreRefused) {
  std::string text;
  for (int i = 1; i <= 513; ++i) text += (i > 1 ? "," : "") + std::to_string(i);
  const ChoiceLabels split = SplitChoiceLabels(text.c_str());
  EXPECT_TRUE(split.tooMany);
  EXPECT_EQ(split.labels.size(), 513u);  // 512 labels and the empty label 0
  text.resize(text.rfind(','));
  EXPECT_FALSE(SplitChoiceLabels(text.c_str()).tooMany);
}

TEST(SurveyChoices, AnswerCodes) {
  struct Case {
    const char* what;
    std::string codes;
    Texts list;
  };
  const Case cases[] = {
      {"empty", "", {}},
      {"one character each", "123", {"1", "2", "3"}},
      {"half-width katakana", "ｱｲｳ", {"ｱ", "ｲ", "ｳ"}},
      {"double-byte characters are one code", "男女", {"男", "女"}},
      {"comma list", "10,11,21,1", {"10", "11", "21", "1"}},
      {"comma list with an empty value", "a,,b", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ListAnswerCodes(c.codes), c.list);
    EXPECT_EQ(CountAnswerCodes(c.codes), static_cast<int>(c.list.size()));
  }
  EXPECT_EQ(SplitCommaList("男性"), Texts{"男性"});
  EXPECT_EQ(SplitCommaList("\"a,b\",c"), (Texts{"a,b", "c"}));
}

}  // namespace
