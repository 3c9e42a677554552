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

INSTANTIATE_TEST_SUITE_P(Kinds, EraDates, testing::Values(kDbKindFile, kDbKindServer), KindName);

}  // namespace
