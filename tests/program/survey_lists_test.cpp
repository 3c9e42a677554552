// The survey item lists ("調査項目の設定" of the menu, "調査項目の変更" of
// the tally menu) as a user edits them: cells typed and stored by the
// list's keys, kept when the list closes and opens again, and a close with
// a typed value not stored yet that asks what to do with it.
#include <windows.h>

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "tests/program/program_fixture.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

constexpr char kItemsCode[] = "KOMK-INP2";   // 調査項目の設定, from the menu
constexpr char kChangeCode[] = "KOMK-CHG";   // 調査項目の変更, from the tally menu
constexpr char kUnstored[] = "まだ登録されていません";

class SurveyLists : public ProgramAtMenuTest {
 protected:
  void SetUp() override {
    ProgramAtMenuTest::SetUp();
    if (HasFatalFailure()) return;
    // One question (001, answers in Q1, no text yet) and one stored answer,
    // so that the tally menu opens too.
    MakeAnsweredSample();
    if (HasFatalFailure()) return;
    ForgetBoxes();
  }

  // Opens the list of `code` as the user does: the menu's button, or the
  // tally menu's. The list's slot, or -1.
  int OpenList(const char* code) {
    if (std::string(code) == kItemsCode) {
      Command(kCmdSurveyItems);
      LogInIfAsked();
      return SlotOfCode(code);
    }
    int menu = SlotOfCode("SPRN-MENU");
    if (menu < 0) {
      Command(kCmdTally);
      LogInIfAsked();
      menu = SlotOfCode("SPRN-MENU");
    }
    if (menu < 0) return -1;
    ClickOn(Slot(menu).window, CentreOf(menu, "ITEMS"));
    return SlotOfCode(code);
  }

  // The list's 閉じる (the button of Esc).
  void ClickClose(int slot) { ClickOn(Slot(slot).window, CentreOf(slot, "FKEY00")); }

  // Clicks a cell and types into it.
  void TypeInto(int slot, const char* cell, const char* text) {
    ClickOn(Slot(slot).window, CentreOf(slot, cell));
    TypeInFocus(text);
  }

  void ResetQuestion() {
    const int t = OpenItemTable();
    ASSERT_GE(t, 0);
    EXPECT_EQ(db_exec(t, "update 調査項目 set 質問内容='',カウントデータ='12'"), 0);
    db_close(t);
  }

};

TEST_F(SurveyLists, TypedCellsAreStoredByTheListsKeysAndShownAgain) {
  // 調査項目の設定: Enter stores a cell of a question, and a line below the
  // questions becomes the next question.
  int slot = OpenList(kItemsCode);
  ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(FieldText(slot, "質問コード01"), "001") << "the code as stored, with its zeros";
  TypeInto(slot, "質問内容01", "Q one");
  PressKeyInFocus(VK_RETURN);
  TypeInto(slot, "項目名02", "Q2");
  PressKeyInFocus(VK_TAB);
  TypeInto(slot, "選択肢02", "X,Y");
  PressKeyInFocus(VK_RETURN);
  EXPECT_EQ(Stored("001", "質問内容"), "Q one");
  EXPECT_EQ(Stored("002", "項目名"), "Q2");
  EXPECT_EQ(Stored("002", "選択肢"), "X,Y");
  ClickClose(slot);
  EXPECT_LT(SlotOfCode(kItemsCode), 0) << "nothing pending: closed without a question";
  slot = OpenList(kItemsCode);
  ASSERT_GE(slot, 0);
  EXPECT_EQ(FieldText(slot, "質問内容01"), "Q one");
  EXPECT_EQ(FieldText(slot, "項目名02"), "Q2");
  EXPECT_EQ(FieldText(slot, "質問コード02"), "002");
  ClickClose(slot);

  // 調査項目の変更 changes the questions there are and adds none.
  slot = OpenList(kChangeCode);
  ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
  TypeInto(slot, "選択肢01", "A,B,");
  PressKeyInFocus(VK_RETURN);
  EXPECT_EQ(Stored("001", "選択肢"), "A,B,はい,いいえ") << "typed in front of the stored text";
  TypeInto(slot, "質問内容03", "no question");
  PressKeyInFocus(VK_RETURN);
  EXPECT_EQ(Stored("003", "質問内容"), "(no row)");
  ClickClose(slot);
  EXPECT_LT(SlotOfCode(kChangeCode), 0) << testing::PrintToString(Boxes());
  slot = OpenList(kChangeCode);
  ASSERT_GE(slot, 0);
  EXPECT_EQ(FieldText(slot, "選択肢01"), "A,B,はい,いいえ");
  EXPECT_EQ(FieldText(slot, "質問内容02"), "");
  EXPECT_THAT(Boxes(), ElementsAre()) << testing::PrintToString(Boxes());
}

TEST_F(SurveyLists, ClosingWithATypedValueNotStoredAsks) {
  enum class Close { kEscape, kButton, kFrame };
  struct Case {
    const char* what;
    const char* list;
    const char* column;  // typed into on line 1 (Esc closes from a field
                         // without the input method: there it is the IME's)
    Close how;
    int answer;          // 0: no question comes
    const char* stored;  // the column of question 001 afterwards
    bool open;           // the list still open
  };
  const Case cases[] = {
      {"閉じる stores as every key does, and closes", kItemsCode, "質問内容", Close::kButton, 0, "typed", false},
      {"Esc stores and closes", kItemsCode, "カウントデータ", Close::kEscape, 0, "typed12", false},
      {"frame's close, Yes: stored and closed", kItemsCode, "質問内容", Close::kFrame, IDYES, "typed", false},
      {"frame's close, Cancel: the list stays", kItemsCode, "質問内容", Close::kFrame, IDCANCEL, "", true},
      {"the change list, frame's close, No: dropped", kChangeCode, "質問内容", Close::kFrame, IDNO, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetQuestion();
    const int slot = OpenList(c.list);
    ASSERT_GE(slot, 0) << testing::PrintToString(Boxes());
    const HWND window = Slot(slot).window;
    TypeInto(slot, (std::string(c.column) + "01").c_str(), "typed");
    ForgetBoxes();
    if (c.answer) boxes().Answer(c.answer);
    switch (c.how) {
      case Close::kEscape: PressKeyInFocus(VK_ESCAPE); break;
      case Close::kButton: ClickClose(slot); break;
      case Close::kFrame:
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        RunPostedMessages();
        break;
    }
    if (c.answer) {
      EXPECT_THAT(Boxes(), ElementsAre(HasSubstr(kUnstored)));
    } else {
      EXPECT_THAT(Boxes(), ElementsAre());
    }
    EXPECT_EQ(Stored("001", c.column), c.stored);
    EXPECT_EQ(SlotOfCode(c.list) >= 0, c.open);
    if (!c.open) continue;
    // Staying keeps what was typed: Enter stores it, and the list closes
    // without asking again.
    PressKeyInFocus(VK_RETURN);
    EXPECT_EQ(Stored("001", c.column), "typed");
    ForgetBoxes();
    ClickClose(slot);
    EXPECT_LT(SlotOfCode(c.list), 0);
    EXPECT_THAT(Boxes(), ElementsAre());
  }
}

}  // namespace
