// Choice lists of fields: candidates, rows to show, flags, dialogs, master
// look-ups and the value a chosen line gives.
#include "screen/choice_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

TEST(ChoiceList, ReadsCandidatesRowsAndFlags) {
  struct Case {
    const char* what;
    const char* text;
    bool takeDefaults;
    Lines candidates;
    int rows;
    bool flagOne;
    std::vector<int> codes;
  };
  const Case cases[] = {
      {"plain", "A,B,C", false, {"A", "B", "C"}, 10, false, {-1, -1, -1}},
      {"rows token", "A,B,C,(2)", false, {"A", "B", "C"}, 2, false, {-1, -1, -1}},
      {"100 rows or more show 10", "A,(150)", false, {"A"}, 10, false, {-1}},
      {"no rows show 10", "A,(0)", false, {"A"}, 10, false, {-1}},
      {"the flag is no candidate", "{1},A,B", false, {"A", "B"}, 10, true, {-1, -1}},
      {"quoted commas", "\"1,000\",B", false, {"1,000", "B"}, 10, false, {-1, -1}},
      {"default codes taken off",
       "Tokyo(13),Osaka(27),Other",
       true,
       {"Tokyo", "Osaka", "Other"},
       10,
       false,
       {13, 27, -1}},
      {"default codes kept for the current item",
       "Tokyo(13)",
       false,
       {"Tokyo(13)"},
       10,
       false,
       {-1}},
      {"words in parentheses are candidates", "(株),B", false, {"(株)", "B"}, 10, false, {-1, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ChoiceList list;
    ParseChoiceList(c.text, c.takeDefaults, &list);
    EXPECT_EQ(list.kind, ChoiceListKind::kPlain);
    EXPECT_EQ(list.candidates, c.candidates);
    EXPECT_EQ(list.shownRows, c.rows);
    EXPECT_EQ(list.flagOne, c.flagOne);
    EXPECT_EQ(list.defaultCodes, c.codes);
  }
}

TEST(ChoiceList, AnActionReferenceEndsTheList) {
  ChoiceList list;
  ParseChoiceList("A,B,*KQQSCR.MENU2,C", false, &list);
  EXPECT_EQ(list.candidates, (Lines{"A", "B"}));
  EXPECT_EQ(list.actionReference, "*KQQSCR.MENU2");
  ParseChoiceList("*.TXT,B", false, &list);  // "*." is a candidate
  EXPECT_EQ(list.candidates, (Lines{"*.TXT", "B"}));
}

TEST(ChoiceList, KnowsTheDialogsAndTheCalendar) {
  ChoiceList list;
  ParseChoiceList("CALENDAR", false, &list);
  EXPECT_EQ(list.kind, ChoiceListKind::kCalendar);
  ParseChoiceList("FILEDLG,Open,/CF,Text|*.TXT,C:\\DATA,1", false, &list);
  EXPECT_EQ(list.kind, ChoiceListKind::kFileDialog);
  EXPECT_EQ(list.dialogArguments, (Lines{"Open", "/CF", "Text|*.TXT", "C:\\DATA", "1"}));
  ParseChoiceList("FOLDERDLG,Folder", false, &list);
  EXPECT_EQ(list.kind, ChoiceListKind::kFolderDialog);
  ParseChoiceList("IKOpenFileDlg,Image,C:\\IMG,0", false, &list);
  EXPECT_EQ(list.kind, ChoiceListKind::kImageFileDialog);
  EXPECT_EQ(list.dialogArguments, (Lines{"Image", "C:\\IMG", "0"}));
}

TEST(ChoiceList, ReadsMasterLookups) {
  struct Case {
    const char* what;
    const char* text;
    bool lookup;
    std::string table;
    int keyNumber;
    std::string keyColumn;
    Lines columns;
    int rows;
    char mode;
  };
  const Case cases[] = {
      {"key number",
       "\\MASTER\\GOODS,<0>,CODE,NAME,(8),1",
       true,
       "\\MASTER\\GOODS",
       0,
       "",
       {"CODE", "NAME"},
       8,
       '1'},
      {"key column",
       "#GOODS,{CODE},CODE,PRICE",
       true,
       "#GOODS",
       -1,
       "CODE",
       {"CODE", "PRICE"},
       10,
       '0'},
      {"mode without rows", "#T,{K},K,(5),f", true, "#T", -1, "K", {"K"}, 5, 'f'},
      {"a path in the third token is no look-up",
       "\\DB\\T,<1>,\\X",
       false,
       "",
       -1,
       "",
       {},
       10,
       '0'},
      {"no key is no look-up", "\\DB\\T,NAME,CODE", false, "", -1, "", {}, 10, '0'},
      {"no columns is no look-up", "#T,<1>", false, "", -1, "", {}, 10, '0'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ChoiceList list;
    ParseChoiceList(c.text, false, &list);
    EXPECT_EQ(list.kind == ChoiceListKind::kLookup, c.lookup);
    if (!c.lookup) continue;
    EXPECT_EQ(list.tableReference, c.table);
    EXPECT_EQ(list.keyNumber, c.keyNumber);
    EXPECT_EQ(list.keyColumn, c.keyColumn);
    EXPECT_EQ(list.columns, c.columns);
    EXPECT_EQ(list.shownRows, c.rows);
    EXPECT_EQ(list.lookupMode, c.mode);
  }
}

TEST(ChoiceList, LimitsTokensAndKeepsCharactersWhole) {
  std::string text;
  for (int k = 0; k < 400; ++k) text += "x,";
  ChoiceList list;
  ParseChoiceList(text.c_str(), false, &list);
  EXPECT_EQ(list.tokens.size(), static_cast<size_t>(kMaxChoiceTokens));
  // A token longer than its room is cut between characters: 200 "あ" and
  // one more byte.
  std::string longToken;
  for (int k = 0; k < 201; ++k) longToken += "\x82\xa0";
  ParseChoiceList(longToken.c_str(), false, &list);
  ASSERT_EQ(list.tokens.size(), 1u);
  EXPECT_EQ(list.tokens[0].size(), static_cast<size_t>(kMaxChoiceTokenBytes));
}

TEST(ChoiceList, ChosenLinesGiveTheirValue) {
  EXPECT_EQ(CandidateValue("Tokyo (13)"), "Tokyo");
  EXPECT_EQ(CandidateValue("01=Tokyo"), "01");
  EXPECT_EQ(CandidateValue("plain"), "plain");
  EXPECT_EQ(CandidateValue("A(1)"), "A(1)");  // only " (" ends it
  // "＝" is no "=": its bytes are 0x81 0x81.
  EXPECT_EQ(CandidateValue("\x81\x81x=y"), "\x81\x81x");
}

}  // namespace
