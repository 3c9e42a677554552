// Date fields of entry screens under Wine: a date typed into a field and
// left is made a Western date, and its era form and age are shown beside
// it, with the era table shipped beside the programs.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "entry/entry.h"
#include "foundation/dates.h"
#include "screen/screen.h"
#include "tests/screen/input_fixture.h"

namespace {

LocalClock g_today;

class DateFields : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    AddItem("BIRTH", 'X', 2, 2, 12, 12);
    AddItem("ERA", 'X', 2, 4, 20, 20);
    AddItem("AGE", 'X', 2, 6, 4, 4);
    OpenScreenOf();
    g_today = {2024, 6, 1, 9, 0};
    SetClockHook([] { return g_today; });
  }
  void TearDown() override {
    SetClockHook(nullptr);
    InputTest::TearDown();
  }
  // Types into the date field and leaves it by Tab as the card form does:
  // the typed text is taken, then normalised, then shown beside.
  void Type(const char* text) {
    const POINT p = CentreOf(ItemNamed("BIRTH"));
    ClickAt(window(), p.x, p.y);
    SendMessageA(edit(), EM_SETSEL, 0, -1);
    TypeText(edit(), text);
    Item(ItemNamed("BIRTH")).displayText = EditText(slot());
  }
};

TEST_F(DateFields, TypedDatesBecomeWesternDatesWithTheirEraAndAge) {
  struct Case {
    const char* typed;
    const char* date;
    const char* era;
    const char* age;
  };
  const Case cases[] = {
      {"2024/1/5", "2024/01/05", "令和 6年 1月 5日", "0"},
      {"h1/2/3", "1989/02/03", "平成 1年 2月 3日", "35"},
      {"S64 1 7", "1989/01/07", "昭和64年 1月 7日", "35"},
      {"1868/10/22", "1868/10/22", "", "155"},  // before every era
      {"20240105123", "0000/00/00", "", ""},     // too long: no date
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SetItemValueForCommand(slot(), "ERA", "");
    SetItemValueForCommand(slot(), "AGE", "");
    Type(c.typed);
    EXPECT_EQ(NormalizeDateField(), 0);
    ShowEraOfDateField("ERA");
    ShowAgeOfDateField("AGE");
    EXPECT_EQ(Item(ItemNamed("BIRTH")).displayText, c.date);
    EXPECT_EQ(Item(ItemNamed("ERA")).displayText, c.era);
    std::string age = Item(ItemNamed("AGE")).displayText;
    while (!age.empty() && age.front() == ' ') age.erase(0, 1);
    EXPECT_EQ(age, c.age);
  }
  EXPECT_TRUE(boxes_.texts().empty());
}

}  // namespace
