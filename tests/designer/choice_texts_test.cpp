// A check field's choice texts a choice a field and back, as the choice
// editor shows and joins them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "designer/choice_texts.h"

namespace {

using Texts = std::vector<std::string>;

TEST(ChoiceTexts, SplitAChoiceAField) {
  struct Case {
    const char* what;
    std::string text;
    int count;
    Texts fields;
  };
  const Case cases[] = {
      {"single characters", "ABC", 3, {"A", "B", "C"}},
      {"fewer characters than choices", "AB", 3, {"A", "B", ""}},
      {"a comma list", "赤,青,緑", 3, {"赤", "青", "緑"}},
      {"double-byte without commas is one entry", "はい", 2, {"はい", ""}},
      {"entries past the count dropped", "1,2,3", 2, {"1", "2"}},
      {"an empty entry kept", "A,,C", 3, {"A", "", "C"}},
      {"a long entry cut, ending the list", std::string(130, 'x') + ",y", 2, {std::string(128, 'x'), ""}},
      {"one choice takes its whole text", "OK", 1, {"OK"}},
      {"one choice of a list", "A,B", 1, {"A"}},
      {"a blank is an empty choice", "A C", 3, {"A", "", "C"}},
      {"a quoted entry keeps its comma", "\"1,5\",2", 2, {"1,5", "2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(SplitChoiceText(c.text, c.count), c.fields);
  }
}

TEST(ChoiceTexts, JoinTheFieldsAgain) {
  struct Case {
    const char* what;
    Texts fields;
    bool values;
    std::vector<bool> hidden;
    std::string text;
  };
  const Case cases[] = {
      {"unchanged list", {"A", "B", "C"}, false, {}, "ABC"},
      {"one entry longer: a list", {"A", "BB", "C"}, false, {}, "A,BB,C"},
      {"an emptied character is a blank", {"A", "", "C"}, false, {}, "A C"},
      {"empty values give nothing", {"", "", ""}, true, {}, ""},
      {"the printed contents taken", {"〃", "x", ""}, true, {}, "〃"},
      {"a hidden choice's empty value", {"1", "", "3"}, true, {false, true, false}, "1^3"},
      {"a shown choice's empty value", {"1", "", "3"}, true, {false, false, false}, "1 3"},
      {"a list keeps its empty entries", {"10", "", "30"}, true, {}, "10,,30"},
      {"one choice as it is", {"OK"}, false, {}, "OK"},
      {"an entry with a comma quoted", {"1,5", "2"}, true, {}, "\"1,5\",2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(JoinChoiceTexts(c.fields, c.values, c.hidden), c.text);
  }
}

// Whatever the editor's fields hold, the text they give reads back as the
// same fields: the one-character run, the list, and a list of one choice.
TEST(ChoiceTexts, TheJoinedTextReadsBackAsItsFields) {
  const Texts shapes[] = {
      {"A"},
      {"OK"},
      {"10"},
      {"はい"},
      {""},
      {"A", "B", "C"},
      {"A", "", "C"},
      {"", "", ""},
      {"A", "B", ""},
      {"1", "10"},
      {"赤", "青"},
      {"Yes", "", "No"},
      {",", "A"},
      {"\"", "A"},
      {"1,5", "2"},
      {"say \"hi\"", "x"},
      {"ｱ", "ｲ", "ｳ"},
      {"^", "B"},
  };
  for (const Texts& fields : shapes) {
    for (const bool values : {false, true}) {
      const std::string text = JoinChoiceTexts(fields, values, {});
      SCOPED_TRACE(testing::PrintToString(fields) + " -> " + text);
      EXPECT_EQ(SplitChoiceText(text, static_cast<int>(fields.size())), fields);
      EXPECT_EQ(JoinChoiceTexts(SplitChoiceText(text, static_cast<int>(fields.size())), values, {}), text);
    }
  }
}

}  // namespace
