// Field values: how each kind and edit letter shows a value, how the work
// windows read it back, and the checks of typed values with their messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/screen/input_fixture.h"

namespace {

// Shift-JIS spellings of the mark texts.
const std::string kStar = "\x81\x96";    // ＊
const std::string kDash = "\x81\x7c";    // －
const std::string kCircle = "\x81\x9b";  // ○
const std::string kCross = "\x81\x7e";   // ×

int AddField(const char* name, char kind, char edit, int width, int length, int decimals = 0,
             double minimum = 0, double maximum = 0, int row = 1) {
  return AddScreenItem("", name, 2, row, 0, width, length, 0, kind, decimals, 0, 0, edit,
                       kItemEnabled, 0, 5, minimum, maximum, "", "");
}

class FieldValuesTest : public InputTest {};

TEST_F(FieldValuesTest, FormatsByKindAndEditLetter) {
  struct Case {
    const char* what;
    char kind, edit;
    int length, decimals;
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {"number rounded without decimals", 'N', 'L', 5, 0, "12.6", "13"},
      {"number with decimals", 'N', 'L', 7, 2, "3.14159", "   3.14"},
      {"empty number", 'N', 'L', 5, 0, "", ""},
      {"number longer than the field", 'N', 'L', 3, 0, "12345", "  *"},
      {"whole number filling the field", 'N', 'L', 5, 0, "-1234", "-1234"},
      {"whole number one digit too long", 'N', 'L', 5, 0, "123456", "    *"},
      {"zero", 'N', 'L', 3, 0, "0", "0"},
      {"leading zeros dropped", 'N', 'L', 5, 0, "007", "7"},
      {"negative zero", 'N', 'L', 3, 0, "-0", "-0"},
      {"leading blank and plus", 'N', 'L', 5, 0, " +42", "42"},
      {"more digits than a double keeps", 'N', 'L', 20, 0, "12345678901234567891", "12345678901234567168"},
      {"number as a database writes it", 'N', 'L', 10, 0, "70001.500000", "70002"},
      {"Z keeps the digits", 'N', 'Z', 5, 0, "0012", "0012"},
      {"K groups thousands", 'N', 'K', 10, 0, "1234567", " 1,234,567"},
      {"K too long fills the width", 'N', 'K', 5, 0, "1234567", "*****"},
      {"unsigned like numbers", 's', 'L', 4, 0, "7", "7"},
      {"h -2 is the dash", 'h', 'L', 4, 0, "-2", "  " + kDash},
      {"h -1 is the star", 'h', 'L', 4, 0, "-1", "  " + kStar},
      {"h dash typed back stays", 'h', 'L', 4, 0, kDash, kDash},
      {"h rounds half up", 'h', 'L', 6, 1, "2.25", "   2.3"},
      {"f 0 is the circle", 'f', 'L', 2, 0, "0", kCircle},
      {"f -1 is the cross", 'f', 'L', 2, 0, "-1", kCross},
      {"f cross stays", 'f', 'L', 2, 0, kCross, kCross},
      {"dash kind shows 0 as the dash", '-', 'L', 3, 0, "0", kDash},
      {"b kind hides 0", 'b', 'L', 3, 0, "0", ""},
      {"b kind keeps others", 'b', 'L', 3, 0, "5", "5"},
      {"t -1 is the star", 't', 'L', 3, 0, "-1", " " + kStar},
      {"t overflow stays the overflow mark", 't', 'L', 2, 0, "123", " *"},
      {"t beyond a short is not wrapped round", 't', 'L', 6, 0, "40000", " 40000"},
      {"t beyond a short, too long for the field", 't', 'L', 3, 0, "-40000", "  *"},
      {"b overflow stays the overflow mark", 'b', 'L', 2, 0, "123", " *"},
      {"j 9999 is the dash", 'j', 'L', 4, 0, "9999", "  " + kDash},
      {"d upper-cases its letter", 'd', 'L', 4, 0, "abc", "Abc"},
      {"text loses trailing blanks", 'X', 'L', 8, 0, "hello  ", "hello"},
      {"text cut at its capacity, never inside a character", 'X', 'L', 5, 0,
       "\x93\xfa\x96\x7b\x8c\xea", "\x93\xfa\x96\x7b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const int i = AddField("F", c.kind, c.edit, c.length, c.length, c.decimals);
    FormatItemValue(i, c.text.c_str());
    EXPECT_EQ(Item(i).displayText, c.shown);
    DiscardBuildingItems();
  }
}

TEST_F(FieldValuesTest, OptionKindTakesItsMarkFromTheValue) {
  const int i = AddField("F", 'a', 'L', 2, 2);
  FormatItemValue(i, "*");
  EXPECT_EQ(Item(i).colorA, 3);
  FormatItemValue(i, "$");
  EXPECT_EQ(Item(i).colorA, 5);
  FormatItemValue(i, "x");
  EXPECT_EQ(Item(i).colorA, 0);
  EXPECT_EQ(Item(i).displayText, "x");
}

TEST_F(FieldValuesTest, WorkWindowsReadValuesInTheirOutputForm) {
  AddField("ZIP", 'N', 'Z', 5, 5, 0, 0, 0, 1);
  AddField("RIGHT", 'X', 'R', 6, 6, 0, 0, 0, 2);
  AddField("AMOUNT", 'N', 'K', 9, 9, 0, 0, 0, 3);
  AddField("SCORE", 'h', 'L', 4, 4, 0, 0, 0, 4);
  AddField("FLAG", 'f', 'L', 2, 2, 0, 0, 0, 5);
  AddField("COUNT", 'b', 'L', 3, 3, 0, 0, 0, 6);
  AddField("NAME", 'X', 'L', 8, 8, 0, 0, 0, 7);
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("NAME");
  struct Case {
    const char* name;
    std::string set;
    std::string read;
    std::string raw;
  };
  const Case cases[] = {
      {"ZIP", "12", "00012", "12"},
      {"RIGHT", "ab", "    ab", "ab"},
      {"AMOUNT", "1234567", "1234567", "1,234,567"},
      {"SCORE", "-2", "-2", "  " + kDash},
      {"FLAG", "0", "0", kCircle},
      {"COUNT", "0", "0", ""},
      {"NAME", "text  ", "text", "text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFieldText(c.name, c.set.c_str());
    EXPECT_EQ(ValueOf(c.name), c.read);
    char raw[64] = "";
    GetFieldDisplayText(c.name, raw);
    EXPECT_EQ(std::string(raw), c.raw);
  }
  // The current field is read where the typing is.
  SetWindowTextA(edit(), "typed");
  EXPECT_EQ(ValueOf("NAME"), "typed");
  EXPECT_EQ(ValueOf("/CUR"), "typed");
  // A name that is not found leaves the buffer alone.
  char untouched[16] = "keep";
  GetFieldText("NOSUCH", untouched);
  EXPECT_STREQ(untouched, "keep");
}

// A value typed into a field and Enter pressed: accepted (the focus moves
// on and the owner hears Enter) or rejected with its message (the field
// then holds the limit, the focus stays and the owner hears nothing).
TEST_F(FieldValuesTest, ChecksTypedValuesAgainstTheirLimits) {
  AddField("PERCENT", 'N', 'L', 4, 4, 0, 0, 100, 1);
  AddField("AT_LEAST", 'N', 'L', 4, 4, 0, 10, 0, 2);
  AddField("BETWEEN", 'N', 'L', 4, 4, 0, 10, 50, 3);
  AddField("SIGNED", 'N', 'L', 4, 4, 0, -2, 10, 4);
  AddField("CLASS", 'd', 'L', 4, 4, 0, 0, 0, 5);
  AddField("NEXT", 'X', 'L', 4, 4, 0, 0, 0, 6);
  ASSERT_GE(OpenScreenOf(1, 2), 0);  // Enter moves down
  struct Case {
    const char* field;
    const char* typed;
    const char* message;  // "" when accepted
    const char* after;    // the field's value afterwards
  };
  const Case cases[] = {
      {"PERCENT", "0", "", "0"},
      {"PERCENT", "100", "", "100"},
      {"PERCENT", "101", "“100”を越える値は入力できません。[101]", "100"},
      {"AT_LEAST", "5", "“10”未満の値は入力できません。[5]", "10"},
      // Both limits apply once either is set: the maximum of 0 too.
      {"AT_LEAST", "20", "“0”を越える値は入力できません。[20]", "0"},
      {"BETWEEN", "0", "", "0"},  // 0 always passes the minimum
      {"BETWEEN", "51", "“50”を越える値は入力できません。[51]", "50"},
      {"SIGNED", "-5", "“-2”未満の値は入力できません。[-5]", "-2"},
      {"SIGNED", "-1", "", "-1"},
      {"CLASS", "1AB", "“1AB”は入力できません。( A ～ Z )", "1AB"},
      {"CLASS", "ab", "", "Ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + c.typed);
    FocusField(c.field);
    const int field = g_screen.currentItem;
    ClearMessages(window());
    const size_t boxesBefore = boxes_.calls().size();
    SetWindowTextA(edit(), "");
    TypeText(edit(), c.typed);
    PressKey(edit(), VK_RETURN);
    const std::vector<std::string> texts = boxes_.texts();
    if (c.message[0]) {
      ASSERT_EQ(texts.size(), boxesBefore + 1);
      EXPECT_EQ(texts.back(), c.message);
      EXPECT_EQ(boxes_.calls().back().caption, "");
      EXPECT_EQ(g_screen.currentItem, field);
      EXPECT_TRUE(CommandsOf(window()).empty());
      EXPECT_EQ(IsFieldEdited(), 1);
      EXPECT_EQ(EditText(slot()), c.after);
    } else {
      EXPECT_EQ(texts.size(), boxesBefore);
      EXPECT_NE(g_screen.currentItem, field);
      EXPECT_EQ(CommandsOf(window()).size(), 1u);
    }
    char value[32] = "";
    GetItemRawValue(slot(), c.field, value);
    EXPECT_STREQ(value, c.after);
  }
}

}  // namespace
