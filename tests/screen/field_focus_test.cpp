// Field references and moving the focus: which item each reference names,
// and where the slot's edit control goes.
#include <gtest/gtest.h>

#include <string>

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"

namespace {

class FieldFocusTest : public ScreenEngineTest {
 protected:
  // A screen of a button, two fields on row 2, a protected field and a
  // radio; returns its slot.
  int OpenSample(int inputMode = 1) {
    AddItem("OK", 'B', 2, 1, 6, 20, 6, "OK");
    AddItem("NAME", 'X', 2, 2, 8, 8);
    AddItem("AGE", 'X', 14, 2, 3, 3);
    const int locked = AddItem("CODE", 'X', 2, 3, 5, 5);
    Item(locked).state = kItemProtected;
    AddItem("SEX", 'R', 2, 4, 6, 40, 5, "", "M,F");
    window_ = NewWindow();
    EXPECT_EQ(OpenScreenWindow(window_, 0, 0, 400, 300, 0, 41, inputMode, 1, -1, ""), 0);
    return 0;
  }
  int Index(const char* name) { return ResolveFieldRef(0, name); }
  HWND window_ = nullptr;
};

TEST_F(FieldFocusTest, ReferencesNameItems) {
  OpenSample();
  const int first = Slot(0).firstItem;
  EXPECT_EQ(Index("NAME"), first + 1);
  EXPECT_EQ(Index("name"), -1);  // names match exactly
  EXPECT_EQ(Index("/HOME"), first + 1);  // field input skips the button
  EXPECT_EQ(Index("/CUR"), g_screen.currentItem);
  g_screen.currentItem = 10;
  EXPECT_EQ(Index("/+3"), 13);  // offsets are not checked against the range
  EXPECT_EQ(Index("/-4"), 6);
  g_screen.mouseItem = first + 2;
  EXPECT_EQ(Index("/MPOS"), first + 2);
  g_screen.recordedRow = 2;
  g_screen.recordedColumn = 10;
  EXPECT_EQ(Index("/TOPOFLINE"), first + 1);
  Slot(0).lastFocusItem = first + 2;
  EXPECT_EQ(Index("/PREV"), first + 2);
  EXPECT_EQ(g_screen.currentItem, first + 2);  // "/PREV" makes it current

  // Button selection takes the button first.
  Slot(0).inputMode = 2;
  EXPECT_EQ(Index("/HOME"), first);
  // A slot without items resolves nothing, "/CUR" included.
  EXPECT_EQ(ResolveFieldRef(1, "/CUR"), -1);
}

TEST_F(FieldFocusTest, TheEditControlGoesOverTheFocusedField) {
  OpenSample();
  const HWND edit = Slot(0).editControl;
  FocusField("AGE");
  const ScreenItem& age = Item(Index("AGE"));
  EXPECT_EQ(g_screen.currentItem, Index("AGE"));
  EXPECT_TRUE(IsWindowVisible(edit));
  RECT r;
  GetWindowRect(edit, &r);
  MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, age.pixelX + 1);
  EXPECT_EQ(r.top, age.pixelY + 2);
  EXPECT_EQ(r.right - r.left, age.pixelWidth - 3);
  EXPECT_EQ(r.bottom - r.top, age.pixelHeight - 3);
  EXPECT_EQ(g_screen.previousItem, Index("NAME"));

  FocusField("CODE");  // protected: no typing
  EXPECT_FALSE(IsWindowVisible(edit));
  FocusField("AGE");
  EXPECT_TRUE(IsWindowVisible(edit));
  FocusField("NOSUCHNAME");  // falls back to the first item, edit hidden
  EXPECT_EQ(g_screen.currentItem, Slot(0).firstItem);
  EXPECT_FALSE(IsWindowVisible(edit));
}

TEST_F(FieldFocusTest, InputMethodStaysOpenWhenAskedTwice) {
  OpenSample();
  const HWND edit = Slot(0).editControl;
  OpenImeContext(edit);
  if (!g_screen.imeContext) GTEST_SKIP() << "no input context for the edit control";
  SetFieldImeMode(edit, 1);
  SetFieldImeMode(edit, 1);
  EXPECT_TRUE(ImmGetOpenStatus(g_screen.imeContext));
  SetFieldImeMode(edit, 0);
  EXPECT_FALSE(ImmGetOpenStatus(g_screen.imeContext));
}

}  // namespace
