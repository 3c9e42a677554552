// The question list of the check fields ("チェック欄一覧"): the check
// fields of the current side copied into the work table MUPA_LST, edited
// in a list screen owned by the sheet canvas, and written back into
// MUPA_FLD when the list is saved; its CSV import and length alignment
// ("CsvInp") and the question texts taken from the clipboard ("Clip").
//
// Every write that spans rows runs in one transaction: a list that cannot
// be written back stays in MUPA_LST, and a file or clipboard text that
// cannot be taken whole leaves the rows as they were.
//
// Global state: the open list (question_list.cpp). GUI thread only.
// Functions return 0 on success and -1 after the one message that reports
// a failure.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr char kQuestionListTable[] = "MUPA_LST";
// The screen number the list's messages to the canvas carry.
constexpr int kQuestionListScreen = 9;

// MUPA_LST of the sheet definition in a new table slot (made when it is
// missing), or -1 (reported).
int OpenQuestionListTable();
// The rows of MUPA_LST, or -1 (reported).
int CountQuestions();

// Empties MUPA_LST of the side, fills it from the side's check fields and
// opens the list over the canvas slot: 0, or -1 (reported).
int OpenCheckFieldGrid(int canvasSlot);
// The window slot of the open list, or -1.
int QuestionListSlot();
// The list's messages to the canvas (1132, 1135, 1136, 1146 and the
// command before it runs, 1147): true when `message` was the list's, with
// the window procedure's result in `result`.
bool HandleQuestionListMessage(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Start position and line feed of new check fields, in millimetres.
struct QuestionLayout {
  int startX = 0, startY = 0, lineFeed = 0;
};
// The list's name check of one item name: 0 accepted (after a warning for
// a leading digit), -1 after the message.
int CheckItemName(const std::string& name, const std::string& code);
// The layout check of the list before it is written back: 0, or -1 after
// the message. Fills a layout left empty from the side's check fields.
int SheetCanvasCheckField(QuestionLayout& layout);
// Writes the list back into MUPA_FLD (the side's check fields missing from
// it deleted, the others updated, new ones added) and empties MUPA_LST, all
// in one transaction: 0, or -1 (reported; nothing written, the list kept).
int TransferQuestionList(const QuestionLayout& layout);

// Imports a question file into MUPA_LST after asking (all its rows, or
// none): the rows added, or -1 (reported or declined).
int ImportQuestionCsv(const std::string& path);
// The question texts of the codes from `first` to `last` brought to
// `widthChars` full-width characters with `fill`, or stripped of it: 0, or
// -1 (reported).
int PadQuestionTexts(const std::string& first, const std::string& last, int widthChars, const std::string& fill);
int TrimQuestionTexts(const std::string& first, const std::string& last, const std::string& fill);
// Deletes every question of the list after asking: 0, or -1.
int DeleteAllQuestions();
// The list page shown again after its rows changed, the list marked
// changed (question_list.cpp).
void RefreshQuestionList();

// The clipboard's text in the "Clip" window (RegisterClipWindow of
// designer.h), its lines pasted into the question texts of the side's
// check fields in order: 0 opened, -1 (reported).
int ImportClipboardQuestions();
int ClipWindowSlot();
// Line n of `lines` into タイトル of the n-th check field of the side
// (fitted to its 行文字数), all fields in one transaction: 0, or -1.
int WriteClipLinesToSheet(const std::vector<std::string>& lines);
