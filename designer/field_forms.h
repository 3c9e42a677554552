// The forms of the field editor ("Pln") kept apart from its window: each
// builds its items, fills them from a MUPA_FLD row (or a new item's
// defaults), checks them when the editor closes and writes them into the
// row. Used by the field editor (field_editor.cpp) and the key item's
// dialog (key_item_dialog.cpp). The forms work on the fields of the
// current window slot.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// "●" on, "×" off: the two states the forms' small fields show.
const char* MarkOf(bool on);
// The message in an information box and the focus on `field`: -1.
int RefuseField(const char* field, const char* message);
// The choice (from 1) of a radio group whose stored text is `value`, or
// `otherwise`; and the stored text of a choice (the first one's for a
// choice out of range).
template <std::size_t N>
int ChoiceOf(const char* const (&texts)[N], const std::string& value, int otherwise) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == texts[i]) return static_cast<int>(i) + 1;
  }
  return otherwise;
}
template <std::size_t N>
const char* TextOfChoice(const char* const (&texts)[N], int choice) {
  return texts[choice >= 1 && choice <= static_cast<int>(N) ? choice - 1 : 0];
}

// The items a write-in field and the key item's field share: the title
// (heading and two rows from `row`) and the boxes (two rows from `row`:
// 文字数, 横幅, 高さ, then 網掛け, 文字太, 字間). 0, or -1 after the message.
int AddTitleItems(int row);
int AddBoxItems(int row);
// Those items with 領域名 and 重ね文字 from the row of table slot `t`, and
// back.
void FillTitleAndBoxItems(int t);
void SetTitleAndBoxColumns(int t);

// The checks of a field's count and name that every field's form makes:
// CheckCountAndName gives 0 (close without storing) for no characters or
// choices, saying so when a name or title was typed; -1 for no name (after
// the message, the focus on it); else 1. CheckFieldName gives 1 for a name
// the output table can take, else -1 after the message.
int CheckCountAndName();
int CheckFieldName();

// The write-in field (記入欄). AddWriteInForm returns 0, or -1 after the
// screen engine's message.
int AddWriteInForm();
void FillWriteInForm(int t);
void FillNewWriteInForm();
// 1 to store, 0 to close without storing, -1 to stay open (after the
// message, the focus on the field to mend).
int CheckWriteInForm();
// The form's columns into the row of table slot `t`. Settings the reading
// could not use together are changed first, each with its message.
void SetWriteInColumns(int t);
// Tells, as the number type is chosen, that it is the output column's type.
void ReactToWriteInCommand(int code);

// The commands the forms' buttons and choices send the editor's window.
constexpr int kCmdChoiceEditor = 1;     // "マーク欄編集": the choice editor
constexpr int kCmdRepeatNumbering = 2;  // ProtectRepeatNumbering
constexpr int kCmdArrangement = 3;      // ReactToCheckCommand
constexpr int kCmdCheckType = 4;        // ReactToCheckCommand
constexpr int kCmdWriteInType = 5;      // ReactToWriteInCommand

// The check field (チェック欄), as the write-in field's form.
// ReactToCheckCommand opens the rows' fields for an arrangement in rows (or
// closes them), and warns of a number type.
int AddCheckFieldForm();
void FillCheckForm(int t);
void FillNewCheckForm();
int CheckCheckForm();
void SetCheckColumns(int t);
void ReactToCheckCommand(int code);
// The check form of the sheet's key item (set before AddCheckFieldForm):
// what to do with a number already stored (既存データ) stands in place of
// the value type and the blank check; a key field made a check field here
// is preset as a column of oval marks. KeyCheckStatements are the writes
// of the front's key switches that go with the field's row ({} for other
// check fields).
void UseKeyCheckForm(bool keyItem);
std::vector<std::string> KeyCheckStatements();

// The repetition of a field (繰り返し項目) and its reference master
// (参照マスター定義), forms over a row that exists, as the write-in form's.
int AddRepeatForm();
void FillRepeatForm(int t);
int CheckRepeatForm();
void SetRepeatColumns(int t);
void ProtectRepeatNumbering();
int AddMasterForm();
void FillMasterForm(int t);
int CheckMasterForm();
void SetMasterColumns(int t);
