#include "foundation/dates.h"

#include <climits>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

LocalClock g_now;

class FixedClock {
 public:
  explicit FixedClock(LocalClock now) {
    g_now = now;
    SetClockHook([] { return g_now; });
  }
  ~FixedClock() { SetClockHook(nullptr); }
};

TEST(Dates, WritesTodayAndTimeFromTheClock) {
  FixedClock clock({2024, 3, 5, 9, 7});
  char text[kDateTextSize];
  EXPECT_STREQ(GetTodayString(text), "2024/03/05");
  EXPECT_STREQ(GetTimeString(text), "09:07");
}

TEST(Dates, RealClockGivesAPlausibleDate) {
  char text[kDateTextSize];
  GetTodayString(text);
  EXPECT_GE(GetDatePart(text, 1), 2024);
  EXPECT_GE(GetDatePart(text, 2), 1);
  EXPECT_LE(GetDatePart(text, 3), 31);
}

TEST(Dates, TakesDateTextsApart) {
  EXPECT_EQ(GetDatePart("2024/03/05", 1), 2024);
  EXPECT_EQ(GetDatePart("2024/03/05", 2), 3);
  EXPECT_EQ(GetDatePart("2024/03/05", 3), 5);
  EXPECT_EQ(GetDatePart("2024/03/05", 4), 0);
  EXPECT_EQ(GetDatePart("2024", 2), 0);
}

TEST(Dates, ComputesAges) {
  FixedClock clock({2024, 6, 15, 12, 0});
  struct Case {
    const char* what;
    int year, month, day, referenceYear;
    int age;
  };
  const Case cases[] = {
      {"birthday on 1 April reached on 1 April", 2010, 4, 1, 2024, 14},
      {"birthday on 2 April not yet", 2010, 4, 2, 2024, 13},
      {"birthday in March", 2010, 3, 31, 2024, 14},
      {"today: birthday passed", 2000, 6, 15, 0, 24},
      {"today: birthday tomorrow", 2000, 6, 16, 0, 23},
      {"today: earlier month", 2000, 1, 31, -1, 24},
      {"month not positive", 2000, 0, 1, 2024, 0},
      {"day not positive", 2000, 1, 0, 2024, 0},
      {"year not positive", 0, 1, 1, 2024, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeAge(c.year, c.month, c.day, c.referenceYear), c.age) << c.what;
  }
  EXPECT_EQ(ComputeAge(2000, 6, 15), 24);
  // A clock far before a birth year far ahead: clamped, no overflow.
  FixedClock wrong({-1250659211, 1, 1, 0, 0});
  EXPECT_EQ(ComputeAge(1347440720, 1, 1), INT_MIN);
}

TEST(Dates, FormatsEraDates) {
  const LocalClock date = {2024, 3, 5, 0, 0};
  struct Case {
    int form;
    const char* eraName;
    int eraYear;
    const char* text;
  };
  const Case cases[] = {
      {1, "令和", 6, "2024年 3月 5日"},
      {2, "令和", 6, "令和 6年 3月 5日"},
      {3, "令和", 6, "2024年 3月 5日 (令和 6年 3月 5日)"},
      {4, "令和", 6, "令和 6年 3月 5日 (2024年 3月 5日)"},
      {5, "令和", 6, "2024/ 3/ 5"},
      {0, "令和", 6, "2024/ 3/ 5"},
      {2, "", 0, " 0年 3月 5日"},
  };
  for (const Case& c : cases) {
    char text[kDateTextSize];
    EXPECT_EQ(FormatEraDateText(date, c.eraName, c.eraYear, c.form, text), 0);
    EXPECT_STREQ(text, c.text) << "form " << c.form;
  }

  // An over-long era name is cut without splitting a character.
  std::string longName;
  while (longName.size() < kDateTextSize) longName += "和";
  char text[kDateTextSize];
  FormatEraDateText(date, longName.c_str(), 6, 2, text);
  EXPECT_EQ(strlen(text), static_cast<size_t>(kDateTextSize - 1) / 2 * 2);
  EXPECT_EQ(longName.compare(0, strlen(text), text), 0);
}

}  // namespace
