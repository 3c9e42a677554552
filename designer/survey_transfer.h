// The transfer of a sheet's design into its survey: the check fields and
// write-in fields of MUPA_FLD become the questions of 調査項目 that the
// tallies count, and the tally table the tallies read is made beside the
// output table.
//
// The first part is portable (the rules that make a question of a field);
// the rest reads and writes the databases. GUI thread only.
#pragma once

#include <string>
#include <vector>

// What a question is made of: the columns of one MUPA_FLD row, the
// three-part texts joined.
struct SurveySourceField {
  std::string areaCode;        // 領域コード: "T..." text items are no question
  std::string name;            // 領域名
  std::string title;           // タイトル ("|" marks a line break)
  std::string edit;            // 編集: "ﾁｪｯｸ" a check field, "BMAP" a picture
  std::string validTypes;      // 有効文字種: the 10-character mask
  std::string choicePosition;  // 背景色: "Ｍ" prints the choice in its box
  std::string arrangement;     // タイプ: "Ｘ"/"Ｙ" marks in several rows
  std::string contents;        // 重ね文字 + 重ね文字２ + 重ね文字３
  std::string values;          // 変換条件 + 変換条件２ + 変換条件３
  int threshold = 0;           // しきい値: -1 not read
  int arrayStart = -1;         // 配列開始, 配列個数: a repeated field
  int arrayCount = 0;
  int maxMarks = 0;            // 少数部桁数: the most marks of an answer
  int charCount = 0;           // 文字数: the number of choices
};

// One row of 調査項目 as the transfer writes it.
struct SurveyQuestionRow {
  std::string itemName;  // 項目名
  std::string question;  // 質問内容
  std::string choices;   // 選択肢 (split into three columns when stored)
  std::string codes;     // カウントデータ
  int maxAnswers = 0;    // 最大回答数
  int width = 12;        // 桁数
};

// The fill character and its switch of the survey items screen.
struct TransferOptions {
  std::string fill;        // 余白文字: one or two bytes, or none
  bool trimFill = false;   // 後部余白削除: cut trailing fill characters
};

// A choice entry longer than this cannot be transferred.
constexpr int kMaxTransferChoiceEntry = 255;

// The answer codes a check field's choices get by their position: digits,
// capitals, small letters, then the half-width katakana ｱ to ﾝ (107).
const std::string& ChoiceCodeSequence();

// The question text of a title: trailing half-width and full-width blanks
// dropped, every line-break mark "|" dropped with the blanks after it, then,
// with trimFill, trailing fill characters cut.
std::string CleanQuestionTitle(const std::string& title, const TransferOptions& options);

// True when the field becomes questions: no text item, picture or key item
// (`keyItem`), only digits or marks recognised (positions 4 to 10 of the
// mask all "0"), and read (しきい値 not -1).
bool IsSurveyQuestionField(const SurveySourceField& field, const std::string& keyItem);

// The questions of one field: one, or one per index of a repeated field.
// Returns 0, or -1 when a choice entry exceeds kMaxTransferChoiceEntry bytes
// (`tooLong` holds it; no question is made).
int MakeSurveyQuestions(const SurveySourceField& field, const TransferOptions& options,
                        std::vector<SurveyQuestionRow>& out, std::string& tooLong);

#if defined(_WIN32)

// Menu command 201 of the survey items screen (window slot `slot`, whose
// fill character and switch it reads): asks, replaces the questions of
// 調査項目 with those of the sheet's design in one transaction and makes
// the tally table. The number of questions, for the caller to refresh its
// list and report; -1 when the user said No, the sheet holds no field, a
// choice is too long or a write failed (nothing changed; each after its
// message).
int TransferSheetDesignToSurvey(int slot);

// The questions of the sheet's design in place of those of 調査項目, without
// asking: what the menu command does once the user has agreed (the sample
// survey is made so, with nobody to ask). The number of questions; -1 when
// the design cannot be read, a choice is too long or a write failed (each
// reported; nothing changed).
int ReplaceSurveyWithDesign(const TransferOptions& options);

// Makes the tally table (g_survey.tallyTable) in the output database when it
// is missing: a view of every row and column of the output table, so that
// it stays in step with what the reading run writes. A view whose columns
// differ from the output table's (a column added since) is made again. 0
// when it is there or was made; -1 when the output table is not there (quiet: the tally reports
// the missing table) or the view was refused (reported).
int EnsureSurveyTallyTable();

#endif  // _WIN32
