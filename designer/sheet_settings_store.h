// The sheet settings screen's fields and the rows they come from and go
// to: MUPA_PAP of the current side and the key item (the first MUPA_IDX
// row of side "0001"). The functions work on the fields of the current
// window slot.
#pragma once

#include <string>

// The paper-size texts stored in 用紙サイズ, by choice (1 to 7), and the
// choice of a stored text: a text not in the list is Ａ４ (1).
const char* PaperSizeText(int choice);
int PaperSizeChoice(const std::string& text);

// Whether the output database is a file (データベースＪ), else the
// server's (データベースＳ); and the output database as a field shows it
// from the paper row of `slot`: the file's path (a default in the work
// folder when none is stored) or the server database's name.
bool UsesFileDatabase();
std::string ShownOutputDatabase(int slot);

// The current side gets the default paper row when it has none: 0, or -1
// (reported by the database layer).
int EnsureSheetSettingsRow();
// Shows the paper row and the key item in the fields.
void FillSheetSettingsFields();
// The names the fields give and the user's paper size: 0, or -1 after the
// message of the first fault (the focus on its field).
int CheckSheetSettingsFields();
// Writes the fields into the key item and the paper row: 0, or -1 after
// the message (nothing is left half written that the next save would not
// mend).
int StoreSheetSettingsFields();
