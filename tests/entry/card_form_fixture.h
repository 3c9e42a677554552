// The card form under Wine as its tests drive it: a card over T_ITEMS of the
// screen fixture, opened for a test window that records what the card
// tells its owner, its fields typed into and its keys pressed in the field
// being typed into, on the file database (SQLite) or the server database
// (PostgreSQL).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/card_form.h"
#include "entry/entry.h"
#include "screen/screen.h"
#include "tests/entry/form_input.h"
#include "tests/screen/screen_db_fixture.h"
#include "tests/screen/screen_fixture.h"
#include "tests/screen/screen_fixture_data.h"

constexpr UINT kMsgRecordWritten = WM_USER + 113;  // 1137
constexpr int kCardNumber = 33;

// A card over T_ITEMS; `input` is its input setting ("△" browses from the
// first record, "○" starts with a new record whose code may be typed). Its
// CSV output breaks the line after the quantity.
std::string CardScreenText(const char* input);
// Runs a statement on T_ITEMS through a connection of its own: 0 or -1.
int ExecOnItems(const std::string& sql);

class CardFormTest : public ScreenDbTest {
 protected:
  void RegisterWindows() override {
    for (HWND window : {RegisterMenuWindow(main_), RegisterListWindow(main_), RegisterCardWindow(main_),
                        RegisterJobWindow(main_)}) {
      ASSERT_NE(window, nullptr);
      windows_.push_back(window);
    }
    owner_ = CreateTestWindow("owner");
    windows_.push_back(owner_);
  }

  void TearDown() override {
    SetCardImageComparison("", 0);
    ScreenDbTest::TearDown();
  }

  // Loads the card with its input setting and opens it: 0 or -1.
  int OpenCard(const char* input) {
    if (LoadTexts({{"TEST-CARDF.txt", CardScreenText(input)}}) != 1) return -1;
    ForgetBoxes();
    return Reopen();
  }
  int Reopen() {
    const int rc = OpenScreenDef("", kFixtureDb, "TEST-CARDF", -1, -1, "", owner_);
    PumpMessages();
    return rc;
  }

  HWND Card() const { return GetWorkWindow(WorkWindow::kCard); }
  HWND Edit() const { return Slot(0).editControl; }
  std::string Field(const char* name) const { return ShownText(0, name); }
  void TypeInto(const char* name, const char* text) { ASSERT_TRUE(TypeIntoField(0, name, text)) << name; }
  void Press(WPARAM key) {
    PressKey(Edit(), key);
    PumpMessages();
  }

  // The job dialog (the slot after the card's), its field typed into and
  // left with Tab, and its job run with F1 ("実 行").
  static int DialogSlot() { return IsValidSlot(1) && Slot(1).state != kFreeSlotState ? 1 : -1; }
  void TypeIntoDialog(const char* name, const char* text) {
    ASSERT_GT(DialogSlot(), 0) << "the job dialog is open";
    ASSERT_TRUE(TypeIntoField(1, name, text)) << name;
    PressKey(Slot(1).editControl, VK_TAB);
  }
  void RunJob() {
    ASSERT_GT(DialogSlot(), 0);
    PressKey(Slot(1).editControl, VK_F1);
    PumpMessages();
  }
  // Clicks a check box of the job dialog until it shows `on` (the dialog
  // keeps what was set last).
  void SetCheck(const char* name, bool on) {
    const int item = ResolveFieldRef(1, name);
    ASSERT_GE(item, 0) << name;
    for (int click = 0; click < 2; ++click) {
      char value[16] = "";
      GetItemValueForCommand(1, name, value);
      if ((value[0] == '1') == on) return;
      const RECT r = ItemPixelRect(item);
      ClickAt(Slot(1).window, (r.left + r.right) / 2 - Slot(1).scrollX, (r.top + r.bottom) / 2 - Slot(1).scrollY);
    }
    FAIL() << name << " does not turn " << (on ? "on" : "off");
  }
  void ChooseJob(int job) {
    PostMessageA(Card(), kMsgCardPrint, job, 0);
    PumpMessages();
  }

  int WrittenNotices() const {
    int count = 0;
    for (const ReceivedMessage& m : MessagesOf(owner_)) count += m.message == kMsgRecordWritten ? 1 : 0;
    return count;
  }

  HWND owner_ = nullptr;
};
