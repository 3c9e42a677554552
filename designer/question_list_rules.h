// The texts of the question list of the check fields (MUPA_LST): question
// files (CSV) and clipboard texts read into questions, the list codes of
// new rows, the number of choices, the names a question may carry and the
// fitting of question texts to a width. Text alone, without a window or a
// database, so the windows and the fuzz target share one reader. Portable.
//
// Readers refuse a whole text for its first bad line: nothing of a text is
// taken unless all of it can be.
#pragma once

#include <string>
#include <vector>

// Bytes of the list's texts as a question file may give them.
constexpr size_t kQuestionNameBytes = 30;
constexpr size_t kQuestionTextBytes = 200;
constexpr size_t kQuestionChoiceBytes = 255;
// Bytes of a line of a question file (without its line end).
constexpr size_t kQuestionLineBytes = 1023;
// The clipboard window's table: lines and bytes a line.
constexpr size_t kClipLineLimit = 256;
constexpr size_t kClipLineBytes = 512;

struct QuestionCsvRow {
  std::string name;     // 領域名; empty in a file of two-field lines
  std::string title;    // タイトル
  std::string choices;  // 重ね文字
};

// What a reader made of a text: its rows, or the message that refused it
// (with the line, from 1, that it names; 0 for a refusal of the whole
// text).
struct QuestionTextResult {
  std::vector<QuestionCsvRow> rows;
  std::vector<std::string> lines;  // the clipboard's lines
  std::string error;
  int line = 0;
  bool ok() const { return error.empty(); }
};

// Reads a question file: lines end at LF (CR dropped), empty lines are
// skipped, every other line holds two fields (question, choices) or three
// (item name, question, choices), counted up to three, as many as the first
// line. Refused: a line that is not Shift-JIS, longer than
// kQuestionLineBytes, of one field or of another count than the first, a
// field longer than its column; a text without any question.
QuestionTextResult ReadQuestionCsv(const std::string& text);

// Splits a clipboard text into the clipboard window's lines: leading
// half-width and full-width blanks dropped, CR and tabs skipped; at most
// kClipLineLimit lines are kept (the rest ignored). Refused: a line that is
// not Shift-JIS or longer than kClipLineBytes.
QuestionTextResult SplitClipboardText(const std::string& text);

// The list codes of `count` new rows after `lastCode` (the list's last
// 一覧コード, "" for an empty list): the numbers after it in its width, an
// empty list starting at "01" ("001" when more than 99 rows come). Empty,
// with `error` set, when the codes would pass the width's last number.
std::vector<std::string> NextListCodes(const std::string& lastCode, size_t count, std::string& error);

// 文字数 of a check field made from a question: its comma-separated choices
// counted outside double-byte characters, or, without a comma, the bytes
// of the choices; at least 1.
int CountQuestionChoices(const std::string& choices);

// The bytes of the longest comma-separated entry of `text` (commas inside
// double-byte characters do not count).
size_t LongestCsvEntry(const std::string& text);

enum class ItemNameVerdict {
  kAccepted,
  kEmpty,
  kForbiddenChar,
  kLeadingDigit,   // accepted after a warning
  kReserved,       // DATE, TIME, IMAGE or an image column "IMG" + number
};
// How the list judges an item name.
ItemNameVerdict JudgeQuestionItemName(const std::string& name);

// The question text cut into pieces of `widthBytes` bytes joined by "|",
// never splitting a double-byte character.
std::string WrapQuestionText(const std::string& text, size_t widthBytes);
// The text brought to `widthChars` full-width characters: wrapped when
// longer, else filled at the end with `fill` (one character, twice as many
// of a single-byte one).
std::string PadQuestionText(const std::string& text, int widthChars, const std::string& fill);
// Undoes PadQuestionText: every "|" outside double-byte characters removed,
// then `fill` removed from the end as often as it stands there.
std::string TrimQuestionText(const std::string& text, const std::string& fill);
// The text fitted to `widthChars` full-width characters: cut at a character
// boundary when longer, filled with full-width blanks when shorter.
std::string FitTextToWidth(const std::string& text, int widthChars);
