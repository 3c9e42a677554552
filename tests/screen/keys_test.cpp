// Typing into fields and moving between them with the keyboard on real
// windows: what the edit control lets through, where Enter, Tab and the
// arrows lead, which commands the owner receives, the input method per
// field and the guide box.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/screen/input_fixture.h"

namespace {

int AddField(const char* name, char kind, int column, int row, int length, char edit = 'L',
             int decimals = 0, const char* guide = "") {
  return AddScreenItem("", name, column, row, 0, length, length, 0, kind, decimals, 0, 0, edit,
                       kItemEnabled, 0, 5, 0, 0, guide, "");
}

int AddButton(const char* name, int column, int row, int key) {
  return AddScreenItem("", name, column, row, 0, 6, 22, 0, 'B', 0, 0, key, 'S', kItemEnabled, 0, 6,
                       0, 0, "", "");
}

class KeysTest : public InputTest {
 protected:
  std::vector<ReceivedMessage> Commands() { return CommandsOf(window()); }
  std::string Focused() { return Item(g_screen.currentItem).name; }
};

TEST_F(KeysTest, TheEditControlTakesWhatTheFieldAllows) {
  AddField("TEXT", 'X', 2, 1, 3);
  AddField("NUMBER", 'N', 2, 2, 3);
  AddField("UNSIGNED", 's', 2, 3, 3);
  AddField("DECIMAL", 'N', 2, 4, 6, 'L', 2);
  AddField("PHONE", 'T', 2, 5, 8);
  AddField("RIGHT", 'N', 2, 6, 4, 'R');
  ASSERT_GE(OpenScreenOf(), 0);
  struct Case {
    const char* what;
    const char* field;
    const char* before;  // the field's value when the typing starts
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {"text stops at its length", "TEXT", "", "abcd", "abc"},
      {"numbers take digits only", "NUMBER", "", "1a2", "12"},
      {"numbers stop at their length in digits", "NUMBER", "", "1234", "123"},
      {"a sign only before the digits", "NUMBER", "", "-1-2", "-12"},
      {"no sign in unsigned numbers", "UNSIGNED", "", "-5", "5"},
      {"no point without decimals", "NUMBER", "", "1.5", "15"},
      {"one point with decimals", "DECIMAL", "", "1.2.3", "1.23"},
      {"backspace gives the digit back", "NUMBER", "", "12\b34", "134"},
      {"T takes digits and dashes", "PHONE", "", "03-a1+2", "03-12"},
      {"R: the first key replaces the value", "RIGHT", "999", "5", "5"},
      {"text takes double-byte characters", "TEXT", "", "\x93\xfa", "\x93\xfa"},
      {"no half of a character at the end", "TEXT", "", "\x93\xfa\x96\x7b", "\x93\xfa"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SetFieldText(c.field, c.before);
    FocusField(c.field);
    TypeText(edit(), c.typed);
    EXPECT_EQ(EditText(slot()), c.shown);
    EXPECT_EQ(IsFieldEdited(), 1);
  }
  // Pasted text passes the same checks, by the context menu's paste
  // (WM_PASTE) and by Ctrl+V alike.
  const Case pasted[] = {
      {"pasted text stops at its length", "TEXT", "", "abcd", "abc"},
      {"pasted numbers keep their digits only", "NUMBER", "", "1a2", "12"},
      {"pasted numbers stop at their length", "NUMBER", "", "98765", "987"},
      {"a pasted sign only before the digits", "UNSIGNED", "", "-5", "5"},
      {"the first line of a pasted text", "TEXT", "", "ab\r\ncd", "ab"},
      {"no half of a pasted character", "TEXT", "", "\x93\xfa\x96\x7b", "\x93\xfa"},
  };
  for (const bool byKey : {false, true}) {
    for (const Case& c : pasted) {
      SCOPED_TRACE(std::string(c.what) + (byKey ? " (Ctrl+V)" : " (menu)"));
      SetFieldText(c.field, c.before);
      FocusField(c.field);
      ASSERT_TRUE(OpenClipboard(window()));
      EmptyClipboard();
      const size_t size = std::strlen(c.typed) + 1;
      HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, size);
      std::memcpy(GlobalLock(data), c.typed, size);
      GlobalUnlock(data);
      SetClipboardData(CF_TEXT, data);
      CloseClipboard();
      SendMessageA(edit(), byKey ? WM_CHAR : WM_PASTE, byKey ? 0x16 : 0, 0);
      EXPECT_EQ(EditText(slot()), c.shown);
    }
  }

  // Nothing comes through while the window selects rows.
  FocusField("TEXT");
  Slot(slot()).rowSelectionMode = 1;
  TypeText(edit(), "z");
  EXPECT_EQ(EditText(slot()), "");
}

// Fields:  A   B   C        (row 1)
//            D    E        (row 3)
//                     F    (row 5)
class FocusMovesTest : public KeysTest {
 protected:
  void SetUp() override {
    KeysTest::SetUp();
    AddField("A", 'X', 2, 1, 6);
    AddField("B", 'X', 12, 1, 6);
    AddField("C", 'X', 22, 1, 6);
    AddField("D", 'X', 5, 3, 6);
    AddField("E", 'X', 15, 3, 6);
    AddField("F", 'X', 30, 5, 6);
  }
};

TEST_F(FocusMovesTest, KeysLeadWhereTheFieldsLie) {
  ASSERT_GE(OpenScreenOf(1, 1), 0);
  struct Case {
    const char* from;
    WPARAM key;
    bool shift;
    const char* to;
    WPARAM command;  // what the owner hears
  };
  const Case cases[] = {
      {"A", VK_TAB, false, "B", VK_TAB},
      {"A", VK_RETURN, false, "B", VK_RETURN},  // cursor mode 1: across
      {"C", VK_TAB, false, "D", VK_TAB},        // last of its row: first of the next
      {"E", VK_TAB, false, "C", VK_TAB},        // none below on the left: nearest across
      {"B", VK_TAB, true, "A", VK_TAB},
      {"D", VK_DOWN, false, "F", 140},
      {"D", VK_UP, false, "A", 138},
      {"B", VK_RIGHT, false, "B", 139},  // arrows across do not move a field
      {"B", VK_LEFT, false, "B", 137},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.from) + " key " + std::to_string(c.key));
    FocusField(c.from);
    ClearMessages(window());
    HoldModifiers(c.shift, false);
    PressKey(edit(), c.key);
    HoldModifiers(false, false);
    EXPECT_EQ(Focused(), c.to);
    const bool arrowAcross = c.key == VK_LEFT || c.key == VK_RIGHT;
    if (arrowAcross) {
      EXPECT_TRUE(Commands().empty());
    } else {
      ASSERT_EQ(Commands().size(), 1u);
      EXPECT_EQ(Commands()[0].wParam, c.command);
    }
  }
}

TEST_F(FocusMovesTest, APendingMoveIsAppliedOnce) {
  ASSERT_GE(OpenScreenOf(1, 1), 0);
  FocusField("A");
  TypeText(edit(), "aa");
  PressKey(edit(), VK_TAB);  // the owner applies the move
  ASSERT_EQ(Focused(), "B");
  ApplyPendingFocus();  // an owner that applies it again
  EXPECT_EQ(ValueOf("A"), "aa");
  EXPECT_EQ(Focused(), "B");
  TypeText(edit(), "b");
  ApplyPendingFocus();
  EXPECT_EQ(ValueOf("A"), "aa");  // never the text of the field now focused
}

TEST_F(FocusMovesTest, EnterMovesDownInCursorModeTwo) {
  ASSERT_GE(OpenScreenOf(1, 2), 0);
  FocusField("A");
  PressKey(edit(), VK_RETURN);
  EXPECT_EQ(Focused(), "D");
  // Arrows with Shift held move nothing.
  HoldModifiers(true, false);
  PressKey(edit(), VK_DOWN);
  HoldModifiers(false, false);
  EXPECT_EQ(Focused(), "D");
}

TEST_F(KeysTest, ButtonSelectionMovesBetweenButtonsWithTheArrows) {
  AddButton("ONE", 2, 1, 201);
  AddButton("TWO", 14, 1, 202);
  AddButton("THREE", 2, 4, 203);
  AddField("FIELD", 'X', 2, 7, 6);
  ASSERT_GE(OpenScreenOf(2, 1, kScreenTypeMenu), 0);
  EXPECT_EQ(Focused(), "ONE");
  PressKey(edit(), VK_RIGHT);
  EXPECT_EQ(Focused(), "TWO");
  PressKey(edit(), VK_DOWN);
  EXPECT_EQ(Focused(), "THREE");  // the field takes no focus here
  ClearMessages(window());
  // Enter presses the focused button: drawn pressed on key-down, its
  // command on key-up.
  PressKey(edit(), VK_RETURN);
  const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, 203, 0}};
  EXPECT_EQ(Commands(), want);
}

TEST_F(KeysTest, KeysBecomeCommandsForTheOwner) {
  AddField("FIELD", 'X', 2, 1, 6);
  AddButton("SAVE", 2, 4, VK_F5);
  AddButton("CLOSE", 12, 4, kKeyEscape);
  ASSERT_GE(OpenScreenOf(), 0);
  struct Case {
    const char* what;
    WPARAM key;
    std::vector<ReceivedMessage> commands;
  };
  const Case cases[] = {
      {"a function key presses its button", VK_F5, {{kMsgScreenCommand, VK_F5, 0}}},
      {"Esc presses the button of code 100", VK_ESCAPE, {{kMsgScreenCommand, kKeyEscape, 0}}},
      {"page keys without a button", VK_NEXT, {{kMsgScreenCommand, VK_NEXT, 0}}},
      {"a function key without a button", VK_F7, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FocusField("FIELD");
    ClearMessages(window());
    PressKey(edit(), c.key);
    EXPECT_EQ(Commands(), c.commands);
    EXPECT_EQ(Focused(), "FIELD");
  }
  // In a row-selection mode F5's button is protected and silent.
  SetWindowEditMode(1);
  EXPECT_EQ(GetFieldState("SAVE"), kItemProtected);
  ClearMessages(window());
  PressKey(edit(), VK_F5);
  EXPECT_TRUE(Commands().empty());
  SetWindowEditMode(0);
  EXPECT_EQ(GetFieldState("SAVE"), kItemEnabled);
  // Esc in line-edit mode sends nothing.
  Slot(slot()).lineEditMode = 1;
  ClearMessages(window());
  SendKeyCommand(VK_ESCAPE);
  EXPECT_TRUE(Commands().empty());
  Slot(slot()).lineEditMode = 0;
}

TEST_F(KeysTest, MenuScreensSendEveryFunctionKey) {
  AddButton("ONE", 2, 1, 201);
  ASSERT_GE(OpenScreenOf(2, 1, kScreenTypeMenu), 0);
  ClearMessages(window());
  PressKey(edit(), VK_F7);
  const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, VK_F7, 0}};
  EXPECT_EQ(Commands(), want);
}

TEST_F(KeysTest, JapaneseInputFollowsTheField) {
  AddField("KANA", 'K', 2, 1, 10);
  AddField("CODE", 'X', 2, 2, 10);
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("KANA");
  EXPECT_TRUE(ime_.IsOpen(edit()));
  FocusField("CODE");
  EXPECT_FALSE(ime_.IsOpen(edit()));
  FocusField("KANA");
  const int switches = ime_.switches();
  SetFieldImeMode(edit(), 1);  // already open: nothing changes
  SetFieldImeMode(edit(), 1);
  EXPECT_TRUE(ime_.IsOpen(edit()));
  EXPECT_EQ(ime_.switches(), switches);
  // Esc belongs to an open input method (it cancels the conversion).
  ClearMessages(window());
  PressKey(edit(), VK_ESCAPE);
  EXPECT_TRUE(Commands().empty());
  // One context is kept for the focused field, however often it moves.
  for (int k = 0; k < 5; ++k) FocusField(k % 2 ? "KANA" : "CODE");
  EXPECT_EQ(ime_.contextsTaken(), 1);
}

TEST_F(KeysTest, GuideBoxShowsTheFieldsGuideLines) {
  AddField("ONE", 'X', 2, 1, 6, 'L', 0, "A|BC");
  AddField("NONE", 'X', 2, 3, 6);
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("ONE");
  const HWND box = Slot(slot()).statics[1];
  RECT r;
  GetWindowRect(box, &r);
  const int unit = Slot(slot()).fontUnit;
  EXPECT_EQ(r.right - r.left, 4 * unit);  // the longest line and two
  // Both lines inside the box with their margins.
  EXPECT_EQ(r.bottom - r.top, 2 * (2 * unit + 4) + 10);
  EXPECT_EQ(Slot(slot()).boxTexts[1], "A|BC");
  FocusField("NONE");
  GetWindowRect(box, &r);
  EXPECT_EQ(r.right - r.left, 0);
}

}  // namespace

namespace {

class ActionsTest : public KeysTest {};

TEST_F(ActionsTest, ButtonsStartTheirProgramsAndDocuments) {
  struct Case {
    const char* file;
    const char* command;
  };
  const Case cases[] = {
      {"TOOL.EXE", "TOOL.EXE"},
      {"README.TXT", "NOTEPAD.EXE README.TXT"},
      {"MANUAL.HLP", "WINHLP32.EXE MANUAL.HLP"},
  };
  ProgramStartRecorder programs;
  for (const Case& c : cases) {
    const int button = AddButton(c.file, 2, 1, 700);
    Item(button).itemClass = kItemClassPlan;
    SetItemLaunchFile(button, c.file);
    ASSERT_GE(OpenScreenOf(), 0);
    ClearMessages(window());
    EXPECT_EQ(RunFieldAction(button), 0);
    const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, 700, 0}};
    EXPECT_EQ(Commands(), want);
    CloseAll();
  }
  ASSERT_EQ(programs.calls().size(), 3u);
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(programs.calls()[k].commandLine, cases[k].command);
    EXPECT_EQ(programs.calls()[k].show, static_cast<UINT>(SW_SHOWNORMAL));
  }
  // The editor program of the settings takes the documents.
  SetEditorProgram("EDIT.EXE");
  const int button = AddButton("NOTES", 2, 1, 701);
  Item(button).itemClass = kItemClassPlan;
  SetItemLaunchFile(button, "NOTES.DOC");
  ASSERT_GE(OpenScreenOf(), 0);
  RunFieldAction(button);
  SetEditorProgram("");
  EXPECT_EQ(programs.calls().back().commandLine, "EDIT.EXE NOTES.DOC");
}

TEST_F(ActionsTest, ProtectedButtonsDoNothingAndOpenPopupsClose) {
  AddField("CITY", 'X', 2, 1, 8);
  const int button = AddButton("GO", 2, 3, 710);
  ASSERT_GE(OpenScreenOf(), 0);
  Item(ItemNamed("CITY")).choices = "Tokyo,Osaka";
  ProtectField("GO");
  EXPECT_EQ(RunFieldAction(button), -3);
  UnprotectField("GO");
  FocusField("CITY");
  ASSERT_EQ(ShowFieldPopup(ItemNamed("CITY")), 0);
  ClearMessages(window());
  EXPECT_EQ(RunFieldAction(button), -1);  // the pop-up closes instead
  EXPECT_EQ(g_screen.popupOpen, 0);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ActionsTest, FieldsWithAPopupShowTheirButtonBesideThem) {
  AddField("CITY", 'X', 2, 1, 8);
  AddField("NOTE", 'X', 2, 3, 8);
  const int popupButton = AddButton("POP", 30, 5, 720);
  ASSERT_GE(OpenScreenOf(), 0);
  Item(ItemNamed("CITY")).choices = "SENDMESSAGE(42)";
  Slot(slot()).popupButtonItem = popupButton;
  FocusField("CITY");
  const ScreenItem& city = Item(ItemNamed("CITY"));
  const ScreenItem& pop = Item(popupButton);
  EXPECT_EQ(pop.pixelX, city.pixelX + city.pixelWidth);
  EXPECT_EQ(pop.pixelY, city.pixelY + 1);
  EXPECT_EQ(pop.pixelWidth, 2 * city.charSize);
  EXPECT_EQ(pop.state, kItemEnabled);
  // The pop-up button of a "SENDMESSAGE(n)" field hands n to the main
  // window's screen.
  ClearMessages(mainWindow());
  EXPECT_EQ(RunFieldAction(popupButton), 0);
  EXPECT_EQ(GetLastFieldKey(), 42);
  const std::vector<ReceivedMessage> want = {{kMsgFieldMessage, 41, 0}};
  EXPECT_EQ(MessagesOf(mainWindow()), want);
  FocusField("NOTE");
  EXPECT_EQ(pop.state, kItemHidden);
}

TEST_F(ActionsTest, ShiftCtrlF11TogglesLineEditMode) {
  AddField("A", 'X', 2, 1, 8);
  ASSERT_GE(OpenScreenOf(), 0);
  HoldModifiers(true, true);
  PressKey(edit(), VK_F11);
  HoldModifiers(false, false);
  EXPECT_EQ(Slot(slot()).lineEditMode, 1);
  const std::vector<ReceivedMessage> want = {{kMsgScreenCommand, VK_F11, 0}};
  EXPECT_EQ(Commands(), want);
  ClearMessages(window());
  PressKey(edit(), VK_ESCAPE);  // nothing reaches the owner in design mode
  EXPECT_TRUE(Commands().empty());
}

TEST_F(ActionsTest, NextNamesWhereEnterWouldGo) {
  AddField("A", 'X', 2, 1, 8);
  AddField("B", 'X', 12, 1, 8);
  ASSERT_GE(OpenScreenOf(1, 1), 0);
  FocusField("A");
  EXPECT_EQ(ResolveFieldRef(slot(), "/NEXT"), ItemNamed("B"));
  EXPECT_EQ(g_screen.currentItem, ItemNamed("A"));  // the focus has not moved
  SetFieldText("B", "b");
  EXPECT_STREQ(GetFieldTextPtr("/NEXT"), "b");
}

}  // namespace
