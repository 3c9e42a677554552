#include "foundation/dates.h"

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
}

}  // namespace
