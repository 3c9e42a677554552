// The month calendar of date fields on real windows: the month it opens on,
// its days and headers, month steps, choosing a day by a click, closing
// without a choice, and the field the date goes to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/dates.h"
#include "tests/screen/input_fixture.h"

namespace {

LocalClock g_today;

class CalendarTest : public InputTest {
 protected:
  void SetUp() override {
    InputTest::SetUp();
    g_today = {2024, 3, 15, 9, 0};
    SetClockHook([] { return g_today; });
  }
  void TearDown() override {
    if (Calendar()) SendMessageA(Calendar(), kMsgCloseWindow, 0, 0);
    SetClockHook(nullptr);
    InputTest::TearDown();
  }
  // Opens the calendar for BORN holding `value`.
  void OpenOn(const char* value) {
    AddScreenItem("", "NOTE", 2, 1, 0, 10, 10, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "",
                  "");
    AddScreenItem("", "BORN", 2, 3, 0, 10, 10, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 5, 0, 0, "",
                  "CALENDAR");
    ASSERT_GE(OpenScreenOf(), 0);
    SetActiveWindow(window());
    FocusField("BORN");
    SetFieldText("BORN", value);
    ASSERT_EQ(ShowFieldPopup(ItemNamed("BORN")), 0);
    ASSERT_NE(Calendar(), nullptr);
    calendarSlot_ = g_screen.currentSlot;
  }
  static HWND Calendar() { return FindWindowA("CaleWindow", nullptr); }
  // A value of the calendar's own slot.
  std::string Shown(const char* name) {
    char text[64] = "";
    GetItemRawValue(calendarSlot_, name, text);
    return text;
  }
  int CalendarItem(const std::string& name) { return ResolveFieldRef(calendarSlot_, name.c_str()); }
  void Command(int code) { SendMessageA(Calendar(), kMsgScreenCommand, code, 0); }
  std::string Born() {
    char text[64] = "";
    GetItemRawValue(slot(), "BORN", text);
    return text;
  }

  int calendarSlot_ = -1;
};

TEST_F(CalendarTest, OpensOnTheFieldsMonthWithItsDays) {
  OpenOn("2024/03/15");
  EXPECT_EQ(Shown("CALDATE"), "2024年 3月");
  EXPECT_FALSE(IsWindowEnabled(window()));
  // March 2024 starts on a Friday (cell 6) and has 31 days.
  for (int cell = 1; cell <= 42; ++cell) {
    SCOPED_TRACE(cell);
    const ScreenItem& day = Item(CalendarItem(IndexedFieldName("CALDAY", cell)));
    const bool inMonth = cell >= 6 && cell <= 36;
    EXPECT_EQ(day.state, inMonth ? kItemEnabled : kItemProtected);
    EXPECT_EQ(day.colorB, !inMonth ? 8 : cell == 20 ? 2 : 5);  // today is red
  }
  EXPECT_EQ(Item(g_screen.currentItem).name, "CALDAY20");  // today has the focus
  EXPECT_EQ(Item(CalendarItem("TUKI03")).colorB, 2);
  EXPECT_EQ(Item(CalendarItem("TUKI04")).colorB, 1);
  EXPECT_EQ(Item(CalendarItem("CALYOBI01")).colorA, 2);  // Sunday in red
}

TEST_F(CalendarTest, AClickOnADayWritesTheDateIntoTheField) {
  OpenOn("2024/03/15");
  SetScreenFieldText(slot(), "NOTE", "kept");
  const int firstItems = Slot(slot()).itemCount;
  const int cell = CalendarItem("CALDAY11");  // the 6th
  const ScreenItem& day = Item(cell);
  ClearMessages(window());
  ClickAt(Calendar(), day.pixelX + day.pixelWidth / 2, day.pixelY + day.pixelHeight / 2);
  EXPECT_EQ(Calendar(), nullptr);
  EXPECT_EQ(Born(), "2024/03/06");
  EXPECT_EQ(Slot(calendarSlot_).state, kFreeSlotState);
  EXPECT_EQ(Slot(slot()).itemCount, firstItems);
  EXPECT_EQ(g_screen.currentSlot, slot());
  EXPECT_EQ(g_screen.currentItem, ItemNamed("BORN"));
  EXPECT_EQ(EditText(slot()), "2024/03/06");
  EXPECT_EQ(IsFieldEdited(), 1);
  EXPECT_TRUE(IsWindowEnabled(window()));
  char note[16] = "";
  GetItemRawValue(slot(), "NOTE", note);
  EXPECT_STREQ(note, "kept");
  const std::vector<ReceivedMessage> want = {{kMsgDateChosen, 0, 0}};
  std::vector<ReceivedMessage> got;
  for (const ReceivedMessage& m : MessagesOf(window())) {
    if (m.message == kMsgDateChosen) got.push_back(m);
  }
  EXPECT_EQ(got, want);
}

TEST_F(CalendarTest, HeadersAndCellsOutsideTheMonthMakeNoDate) {
  OpenOn("2024/03/15");
  const ScreenItem& header = Item(CalendarItem("CALYOBI02"));
  ClickAt(Calendar(), header.pixelX + 5, header.pixelY + 5);
  Command(2);   // the code of a cell before the 1st
  Command(40);  // after the 31st
  ASSERT_NE(Calendar(), nullptr);
  EXPECT_EQ(Born(), "2024/03/15");
  Command(kKeyEscape);  // Esc: closed, nothing written
  EXPECT_EQ(Calendar(), nullptr);
  EXPECT_EQ(Born(), "2024/03/15");
  EXPECT_TRUE(IsWindowEnabled(window()));
}

TEST_F(CalendarTest, StepsAndChoosesMonths) {
  OpenOn("1999/12/05");
  EXPECT_EQ(Shown("CALDATE"), "1999年12月");
  Command('q');
  EXPECT_EQ(Shown("CALDATE"), "2000年 1月");
  Command('p');
  Command('p');
  EXPECT_EQ(Shown("CALDATE"), "1999年11月");
  Command(50 + 2);  // TUKI02
  EXPECT_EQ(Shown("CALDATE"), "1999年 2月");
  EXPECT_EQ(Item(CalendarItem("TUKI02")).colorB, 2);
  // February 1999: Monday the 1st, 28 days.
  Command(2 + 27);
  EXPECT_EQ(Born(), "1999/02/28");
}

TEST_F(CalendarTest, EraDatesOpenOnTheirWesternMonth) {
  struct Case {
    const char* value;
    const char* month;
    const char* field;  // the field once the calendar is open
  };
  const Case cases[] = {
      {"H1/2/3", "1989年 2月", "1989/02/03"},  // converted in the field too
      {"r6/12/1", "2024年12月", "2024/12/01"},
      {"X1/2/3", "2024年 3月", "X1/2/3"},  // no era has the letter: today
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    OpenOn(c.value);
    EXPECT_EQ(Shown("CALDATE"), c.month);
    EXPECT_EQ(Born(), c.field);
    Command(kKeyEscape);
    CloseAll();
  }
}

}  // namespace
