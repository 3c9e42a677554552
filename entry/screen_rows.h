// The field rows of a generated entry screen, built in memory and written
// to S_FIELD in one transaction, so that a generation that stops leaves
// the previous screen whole. Private to entry/.
#pragma once

#include <string>
#include <utility>
#include <vector>

// One S_FIELD row: column name and value text, in the order set.
struct ScreenFieldRow {
  std::vector<std::pair<std::string, std::string>> values;

  void Set(const char* column, const std::string& value);
  void Set(const char* column, int value);
  // The value of a column, "" when not set.
  std::string Get(const char* column) const;
  int GetInt(const char* column) const;
};

// The generated screen codes: "%d%02d" of the form and 1.
std::string EntryScreenCode(int form);

// The number the last two digits of a name form, or the last three when
// the third-last character is a digit too; -1 for a name of two characters
// or less or a tail that is not single-byte digits.
int GetNameNumericTail(const std::string& name);
// Groups the rows by array element: the rows without a numeric tail (and
// the pictures "IMGnn") first, then element 1 of every array, element 2,
// ...; FLDCODE numbered again from "001". Rows stay as they are when no
// tail lies between 1 and 99.
void ReorderArrayFields(std::vector<ScreenFieldRow>* rows);

// The table slot of S_FIELD (S_FIELD2) of the sheet-definition database
// selected on one screen code, or -1 (reported).
int OpenScreenFieldRows(const char* table, const std::string& screenCode);
// The table slot of the S_SCREEN row of the screen in the sheet-definition
// database (none selected when it has no row), or -1 (reported).
int OpenScreenRecord(const std::string& screenCode);
// Copies the S_FIELD rows of the screen into S_FIELD2, after deleting that
// screen's S_FIELD2 rows: 0, or -1 (reported).
int SaveScreenEdits(const std::string& screenCode);
// The saved S_FIELD2 rows of the screen (none when there are none).
std::vector<ScreenFieldRow> LoadScreenEdits(const std::string& screenCode);
// Gives a generated row the operator's saved edits of the row of the same
// FLDNAME: title, width, lock and CSV break on both forms, and on the card
// form its title place, character size, image place and position.
void RestoreScreenEdits(ScreenFieldRow* row, const std::vector<ScreenFieldRow>& saved, int form);
// Replaces the S_FIELD rows of the screen by `rows` in one transaction: 0,
// or -1 (reported; the previous rows stay).
int ReplaceScreenFieldRows(const std::string& screenCode, const std::vector<ScreenFieldRow>& rows);
