#include <string>

#include <gtest/gtest.h>

#include "foundation/dates.h"
#include "tests/foundation/db_test_support.h"

namespace {

// The era table: the Western year, its era name and the year within the era.
// It uses the name T3, one of the tables every database test starts without.
const char kEraSpec[] =
    "FIELD\r\n"
    "\"西暦\",\"char*\",\"SEIREKI\",4,0,0,\"\",4\r\n"
    "\"元号\",\"char*\",\"GENGO\",8,0,0,\"\",8\r\n"
    "\"和暦\",\"int\",\"WAREKI\",3,0,0,\"\",3\r\n"
    "INDEX\r\n"
    "\"SEIREKI\",\"△\"\r\n"
    "END\r\n";

LocalClock g_today;

class EraDates : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    if (IsSkipped()) return;
    WriteSpec("T3", kEraSpec);
    slot_ = Open("T3");
    ASSERT_GT(slot_, 0);
    Exec({"insert into T3 (SEIREKI,GENGO,WAREKI) values ('1989','平成',1)",
          "insert into T3 (SEIREKI,GENGO,WAREKI) values ('2019','令和',1)",
          "insert into T3 (SEIREKI,GENGO,WAREKI) values ('2024','令和',6)"});
    SetClockHook([] { return g_today; });
  }
  void TearDown() override {
    SetClockHook(nullptr);
    DbTest::TearDown();
  }
  std::string EraString(int slot, int form) {
    char text[kDateTextSize];
    EXPECT_EQ(GetTodayEraString(slot, form, text), 0);
    return text;
  }

  int slot_ = -1;
};

TEST_P(EraDates, WritesTodayInEveryForm) {
  g_today = {2024, 3, 5, 10, 0};
  struct Case {
    int form;
    const char* text;
  };
  const Case cases[] = {
      {1, "2024年 3月 5日"},
      {2, "令和 6年 3月 5日"},
      {3, "2024年 3月 5日 (令和 6年 3月 5日)"},
      {4, "令和 6年 3月 5日 (2024年 3月 5日)"},
      {5, "2024/ 3/ 5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EraString(slot_, c.form), c.text) << "form " << c.form;
  }
  g_today = {1989, 12, 31, 0, 0};
  EXPECT_EQ(EraString(slot_, 2), "平成 1年12月31日");
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

TEST_P(EraDates, AYearMissingFromTheTableHasNoEra) {
  g_today = {2030, 1, 2, 0, 0};
  EXPECT_EQ(EraString(slot_, 2), " 0年 1月 2日");
  EXPECT_EQ(EraString(slot_, 4), " 0年 1月 2日 (2030年 1月 2日)");
  g_today = {2024, 1, 2, 0, 0};
  EXPECT_EQ(EraString(-1, 2), " 0年 1月 2日");
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

// The era table shipped beside the programs, through the functions that
// read it from the program folder.
TEST(ShippedEraTable, ConvertsBothWays) {
  struct Case {
    const char* western;
    const char* compact;
    const char* spaced;
    const char* typed;  // the era form typed back
  };
  const Case cases[] = {
      {"2024/01/05", "令和 6年 1月 5日", "令和  6 年  1 月  5 日", "r6/1/5"},
      {"2019/05/01", "令和 1年 5月 1日", "令和  1 年  5 月  1 日", "R1/5/1"},
      {"2019/04/30", "平成31年 4月30日", "平成 31 年  4 月 30 日", "H31 4 30"},
      {"1989/01/07", "昭和64年 1月 7日", "昭和 64 年  1 月  7 日", "S64/1/7"},
      {"1912/07/30", "大正 1年 7月30日", "大正  1 年  7 月 30 日", "t1/7/30"},
      {"1868/10/23", "明治 1年10月23日", "明治  1 年 10 月 23 日", "M1/10/23"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.western);
    char out[kDateTextSize];
    EXPECT_EQ(WesternToEraCompact(out, c.western), 0);
    EXPECT_STREQ(out, c.compact);
    EXPECT_EQ(WesternToEraText(out, c.western, 2), 0);
    EXPECT_STREQ(out, c.spaced);
    EXPECT_EQ(ConvertEraDate(out, c.typed), 0);
    EXPECT_STREQ(out, c.western);
  }
  char out[kDateTextSize] = "junk";
  EXPECT_EQ(WesternToEraCompact(out, "1868/10/22"), -1) << "before every era";
  EXPECT_STREQ(out, "");
}

INSTANTIATE_TEST_SUITE_P(Kinds, EraDates, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
