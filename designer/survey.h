// The survey of a sheet definition: its questions (調査項目), their choices
// and counted answer codes, and the survey's own row (調査定義), loaded into
// the one survey table that tallies and graphs count.
//
// Global state (defined in survey_load.cpp):
//   g_survey  where the survey and its answers live, and its questions
// GUI thread only. Functions return 0 (or a count) on success and -1 on
// failure, after the one message that reports it.
//
// The first part of this header is portable (the choice lists); the rest
// reads the database.
#pragma once

#include <string>
#include <vector>

// Questions of one survey, numbered from 1.
constexpr int kMaxSurveyQuestions = 200;
// Tally kinds with a print switch and a page break per question (印字nn,
// 改頁nn), numbered from 1.
constexpr int kSurveyTallyKinds = 12;
// Choices of one question that a tally counts.
constexpr int kMaxTallyChoices = 512;
// Bytes a choice label keeps; a longer one is cut.
constexpr int kMaxChoiceLabel = 100;
// Bytes of a choice text token; a longer one stops the list.
constexpr int kMaxChoiceToken = 250;

// ---------------------------------------------------------------------------
// Choice lists (survey_text.cpp, portable)

// The labels of a comma list of choices ("a,b,\"c,d\""), quotes protecting
// commas and dropped. Label 1 is labels[1]; labels[0] stays empty.
struct ChoiceLabels {
  std::vector<std::string> labels{1};
  int longest = 0;           // bytes of the longest label, as kept
  std::string tooLongToken;  // a token over kMaxChoiceToken bytes: the list
                             // stopped before it
  bool tooMany = false;      // more than kMaxTallyChoices labels: the list
                             // stopped after the last that fits
};
// Splits `text` into labels of at most kMaxChoiceLabel bytes (cut at a
// character boundary). An empty text gives no labels.
ChoiceLabels SplitChoiceLabels(const char* text);

// The values of a comma list, quotes protecting commas and dropped; none
// for an empty text.
std::vector<std::string> SplitCommaList(const std::string& list);
// Number of answer codes of a code text: the comma-separated values of a
// comma list, else one per character (a double-byte character is one).
int CountAnswerCodes(const std::string& codes);
// The answer codes one by one: the tokens of a comma list, else the
// characters.
std::vector<std::string> ListAnswerCodes(const std::string& codes);

// ---------------------------------------------------------------------------
#if defined(_WIN32)

// One question of the survey.
struct SurveyItem {
  std::string codes;     // カウントデータ: the answer codes counted, a comma
                         // list or one character per choice
  std::string itemName;  // 項目名: the output column holding the answer
  std::string question;  // 質問内容
  std::string choices;   // 選択肢, 選択肢２, 選択肢３ joined: the labels
  int maxAnswers = 0;    // 最大回答数: codes an answer may hold in a row
  int switch05 = 0;      // チェック05: an empty answer is no "無回答"
  int switch06 = 0;      // チェック06: percentages of the checks, not of
                         // the records (when the tally leaves it to each)
  // Per tally kind 1 to kSurveyTallyKinds: 印字nn (0 printed) and 改頁nn (1 a
  // page break after the question).
  int printOff[kSurveyTallyKinds + 1] = {};
  int pageBreak[kSurveyTallyKinds + 1] = {};
  int choiceWidth = 4;     // 桁数, widened to the widest label
  int answerCount = 0;     // number of answer codes
  bool commaList = false;  // the codes are a comma list
};

// Where the survey and its answers live, the survey's row and its questions.
struct SurveyState {
  // The sheet-definition database (調査定義, 調査項目, the print tables).
  std::string folder;
  std::string database;
  int kind = -1;  // -1: the installation's default database kind
  // The output database and table of the read records, and the master
  // tables of questions without choices.
  std::string dataFolder;
  std::string dataDatabase;
  int dataKind = -1;
  std::string outputTable;
  // 調査定義.
  std::string name;        // 調査名
  std::string tallyTable;  // 集計テーブル名
  int choiceWidth = 0;     // チェック04: every question's width when > 0
  // Grouping items of cross tabulations (index 1 and 2), as 項目名.
  std::string groupItem[3];
  // Choices of the tally setting: "単純集計,<first>[,<first>|<second>]".
  std::string tallyChoiceList;
  // Questions 1 to questionCount.
  int questionCount = 0;
  SurveyItem items[kMaxSurveyQuestions + 1];
  // Per tally kind: printed questions with a page break, and pages.
  int pageBreaks[kSurveyTallyKinds + 1] = {};
  int pages[kSurveyTallyKinds + 1] = {};
  // The columns of the output table the survey items may name: the first
  // (the key) apart, the names as a comma list ending ",(20)", their type
  // codes and lengths as comma lists.
  std::string keyColumn;
  std::string columnNames, columnTypes, columnLengths;
};
extern SurveyState g_survey;

// Table and specification names of the survey.
constexpr char kSurveyDefinitionTable[] = "調査定義";
constexpr char kSurveyItemTable[] = "調査項目";

// Opens 調査定義 of the sheet definition, adds its row when missing
// ("01", the tally table named after the output table) and loads the tally
// table's name, the survey's choice width and its name. Returns the slot,
// positioned on the row, for the caller to close; -1 when no sheet
// definition is chosen (after a message) or the table cannot be opened or
// its row added (reported by the database layer).
int OpenSurveyDefinition();
// Loads every question of 調査項目 in code order into g_survey, up to the
// first row without 項目名. 0; -1 when the survey definition cannot be
// opened or 調査項目 holds no question (each after its message). More than
// kMaxSurveyQuestions questions: the message, and the first ones stay.
int LoadSurveyItems();
// Reloads the question texts and switches 05 and 06 of the loaded
// questions and, for a tally kind of 1 or more, their print switches and
// page breaks of that kind and its page figures. 0, or -1 when 調査項目
// cannot be opened (reported).
int LoadSurveyQuestionList(int tallyKind);
// Chooses the grouping items of cross tabulations from the questions of the
// 調査項目 slot `slot` marked チェック01 (first) and チェック02 (second):
// the last marked of each wins. With `reset` 1, or when the choice changed,
// they become current and the tally choices are rebuilt: 1 when at least one
// is marked, 2 when none is (both are cleared). 0 when unchanged; -1 when
// the rows cannot be read (reported).
int SelectTallyQuestions(int slot, int reset);
// SelectTallyQuestions on 調査項目 with reset 1; the same results.
int ReloadTallyQuestions();
// The grouping items the survey definition names (グループ項目01/02) marked
// on their questions in 調査項目 (チェック01/02 of the question of that item
// name), then no longer named there: 0, or -1 after the database layer's
// message (the names stay for the next time).
int SaveSurveyGroupItems();
// Takes a question's choices from the master table named `itemName` in the
// output database: the values of `codeColumn` become its codes and those of
// `textColumn` its choices, both comma lists in code order. 0; -1 when the
// table is missing or empty (nothing changes; not reported) or the texts
// exceed 6000 bytes (after the message; nothing changes).
int LoadMasterChoices(SurveyItem& item, const char* codeColumn, const char* textColumn);
// Reads the output table's columns into g_survey (keyColumn and the
// column lists) after completing 調査項目 of an older definition; mode 2
// loads the survey items first. 0 (an output table that cannot be opened
// leaves the lists empty); -1 in mode 2 when the survey items cannot be
// loaded (after their message).
int LoadTallyTableColumns(int mode);
// Recounts the page breaks and pages of tally kind `kind` from the
// questions' switches.
void CountSurveyPages(int kind);

#endif  // _WIN32
