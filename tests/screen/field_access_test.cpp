// Fields by name as the work windows use them: indexed names, typed values,
// names that are not found, states, repeating groups, key codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/screen/input_fixture.h"

namespace {

int AddText(const char* name, int row, int column = 2, char kind = 'X', int key = 0) {
  return AddScreenItem("", name, column, row, 0, 8, 8, 0, kind, 0, 0, key, 'L', kItemEnabled, 0, 5,
                       0, 0, "", "");
}

int AddButton(const char* name, int row, int key) {
  return AddScreenItem("", name, 20, row, 0, 6, 22, 0, 'B', 0, 0, key, 'S', kItemEnabled, 0, 6, 0,
                       0, "", "");
}

class FieldAccessTest : public InputTest {};

TEST_F(FieldAccessTest, IndexedNamesTakeTwoOrThreeDigits) {
  EXPECT_STREQ(IndexedFieldName("ROW", 7), "ROW07");
  EXPECT_STREQ(IndexedFieldName("ROW", 99), "ROW99");
  EXPECT_STREQ(IndexedFieldName("ROW", 123), "ROW123");
  AddText("QTY07", 1);
  AddText("QTY123", 2);
  ASSERT_GE(OpenScreenOf(), 0);
  SetFieldIntIdx("QTY", 7, 42);
  SetFieldLongIdx("QTY", 123, 1234567L);
  EXPECT_EQ(GetFieldIntIdx("QTY", 7), 42);
  EXPECT_EQ(GetFieldLongIdx("QTY", 123), 1234567L);
  SetFieldDoubleIdx("QTY", 7, 2.5);
  EXPECT_DOUBLE_EQ(GetFieldDoubleIdx("QTY", 7), 2.5);
  SetFieldCharIdx("QTY", 7, 'Y');
  EXPECT_EQ(GetFieldCharIdx("QTY", 7), 'Y');
  ClearFieldIdx("QTY", 7);
  EXPECT_STREQ(GetFieldTextPtr("QTY07"), "");
  SetScreenFieldText(slot(), "QTY07", "on the slot");
  EXPECT_STREQ(GetFieldTextPtr("QTY07"), "on the s");  // cut at its capacity of 8
}

TEST_F(FieldAccessTest, NamesThatAreNotFoundChangeAndGiveNothing) {
  AddText("NAME", 1);
  ASSERT_GE(OpenScreenOf(), 0);
  SetFieldText("NOSUCH", "x");
  EXPECT_EQ(GetFieldInt("NOSUCH"), 0);
  EXPECT_EQ(GetFieldChar("NOSUCH"), '\0');
  EXPECT_STREQ(GetFieldTextPtr("NOSUCH"), "");
  EXPECT_EQ(GetFieldState("NOSUCH"), -1);
  EXPECT_EQ(GetFieldLink("NOSUCH"), 0);
  EXPECT_EQ(GetFieldTypeCode("NOSUCH"), 0);
  EXPECT_EQ(GetFieldGeometry("NOSUCH", 1), 0);
  EXPECT_EQ(FindFieldByKey(12345), -1);
  // Names match exactly, and "/" references are no names.
  EXPECT_EQ(GetFieldState("name"), -1);
  EXPECT_EQ(GetFieldState("NAME"), kItemEnabled);
}

TEST_F(FieldAccessTest, StatesAndTheButtonsReference) {
  AddText("A", 1);
  AddText("B", 2);
  AddButton("OK", 1, 301);
  AddScreenItem("", "MARK", 20, 3, 0, 6, 22, 0, 'M', 0, 0, 302, 'S', kItemEnabled, 0, 6, 0, 0, "",
                "");
  const int header = AddText("HEADER", 4);
  Item(header).protectByte = 1;  // fixed to the window
  ASSERT_GE(OpenScreenOf(), 0);
  SetFieldState("/BUTT", 2);
  EXPECT_EQ(GetFieldState("OK"), kItemProtected);
  EXPECT_EQ(GetFieldState("MARK"), kItemProtected);
  EXPECT_EQ(GetFieldState("A"), kItemEnabled);
  SetFieldState("A", 3);
  EXPECT_EQ(GetFieldState("A"), kItemHidden);
  SetFieldState("A", 9);  // no such code
  EXPECT_EQ(GetFieldState("A"), kItemHidden);
  // Protecting and enabling change the state only: a field keeps scrolling
  // with its screen, a header stays fixed.
  ProtectField("B");
  EXPECT_EQ(GetFieldState("B"), kItemProtected);
  EXPECT_FALSE(IsFixedItem(Item(ItemNamed("B"))));
  UnprotectField("HEADER");
  EXPECT_EQ(GetFieldState("HEADER"), kItemEnabled);
  EXPECT_TRUE(IsFixedItem(Item(header)));
  HideField("B");
  EXPECT_EQ(GetFieldState("B"), kItemHidden);
}

TEST_F(FieldAccessTest, RepeatingGroupsShift) {
  for (int k = 1; k <= 4; ++k) AddText(IndexedFieldName("ITEM", k), k);
  ASSERT_GE(OpenScreenOf(), 0);
  const auto values = [] {
    std::vector<std::string> v;
    for (int k = 1; k <= 4; ++k) v.push_back(GetFieldTextPtr(IndexedFieldName("ITEM", k)));
    return v;
  };
  const auto fill = [] {
    for (int k = 1; k <= 4; ++k) SetFieldTextIdx("ITEM", k, std::to_string(k).c_str());
  };
  struct Case {
    const char* what;
    void (*shift)();
    std::vector<std::string> after;
  };
  const Case cases[] = {
      {"up over 1 to 3", [] { ShiftFieldsUp("ITEM", 1, 3); }, {"2", "3", "3", "4"}},
      {"down over 2 to 4", [] { ShiftFieldsDown("ITEM", 2, 4); }, {"1", "1", "2", "3"}},
      {"insert at the end", [] { ShiftInsertText("ITEM", 1, 4, "new"); }, {"2", "3", "4", "new"}},
      {"clear at the start", [] { ShiftDownClearField("ITEM", 1, 4); }, {"", "1", "2", "3"}},
      {"number at the start", [] { ShiftDownSetFieldInt("ITEM", 2, 3, 9); }, {"1", "9", "2", "4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fill();
    c.shift();
    EXPECT_EQ(values(), c.after);
  }
}

TEST_F(FieldAccessTest, ItemsByKeyAndTheirColumns) {
  AddText("NAME", 1, 2, 'X', 0);
  AddButton("QUIT", 2, kKeyEscape);
  AddButton("SAVE", 3, VK_F5);
  ASSERT_GE(OpenScreenOf(), 0);
  EXPECT_EQ(FindFieldByKey(27), ItemNamed("QUIT"));  // Esc is code 100
  EXPECT_EQ(FindFieldByKey(VK_F5), ItemNamed("SAVE"));
  EXPECT_EQ(GetFieldLink("SAVE"), VK_F5);
  EXPECT_EQ(GetFieldKind("SAVE"), 'B');
  EXPECT_EQ(GetFieldByteAttr("NAME"), 'L');
  EXPECT_EQ(GetFieldAttrA("NAME"), 8);
  SetFieldFlags("NAME", 12, 10);
  EXPECT_EQ(GetFieldAttrB("NAME"), 10);
  SetFieldColors("NAME", 2, -1);
  EXPECT_EQ(Item(ItemNamed("NAME")).colorA, 2);
  const ScreenItem& name = Item(ItemNamed("NAME"));
  EXPECT_EQ(GetFieldGeometry("NAME", 3), name.pixelX);
  EXPECT_EQ(GetFieldGeometry("NAME", 4), name.pixelX + name.pixelWidth);
  SetFieldInitialText("NAME", "initial");
  char text[32] = "";
  GetFieldInitialText("NAME", text);
  EXPECT_STREQ(text, "initial");
  GetFieldNameByRef("/CUR", text);
  EXPECT_STREQ(text, "NAME");
}

TEST_F(FieldAccessTest, TheCurrentFieldGoesBackToItsFocusTimeText) {
  AddText("NAME", 1);
  AddText("OTHER", 2);
  ASSERT_GE(OpenScreenOf(), 0);
  SetFieldText("NAME", "before");
  FocusField("OTHER");
  FocusField("NAME");
  TypeText(edit(), "xyz");
  char title[32] = "";
  GetScreenTitle(title);
  EXPECT_STREQ(title, "before");
  FocusCurrentField();
  EXPECT_EQ(ValueOf("NAME"), "before");
  EXPECT_EQ(IsFieldEdited(), 1);
}

}  // namespace
