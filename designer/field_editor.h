// The sheet field editor ("Pln") for write-in fields, check fields and text
// items, and the rows of MUPA_FLD it and the canvas menus write.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class SheetItemKind {
  kWriteInField = 1,
  kTextItem = 2,
  kReferenceMaster = 4,  // settings of a field on the sheet
  kRepeatedItem = 5,     // settings of a field on the sheet
  kCheckField = 6
};

// Opens the editor over the canvas slot `canvasSlot`: for the item of
// `code` (its row read), or with an empty code for a new item at (x, y) of
// the sheet (not for the settings kinds, which need a field). The canvas and its owner are disabled while it is open. 0, or
// -1 after the message (no row of that code, no free window slot).
int OpenSheetFieldEditor(SheetItemKind kind, int canvasSlot, const std::string& code, int x, int y);
// The window slot of the open editor, or -1.
int SheetFieldEditorSlot();
LRESULT CALLBACK PlnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The MUPA_FLD rows of the current sheet that meet `condition` (" and ..."
// or ""), in a new table slot, or -1 after the message.
int OpenSheetRows(const char* condition);
// The row of `code` made current in a new table slot, or -1 after the
// message "記入欄“…”は存在しません。".
int OpenSheetItemRow(const std::string& code);
// The sheet's key item is a field of the front side (`canvasSlot`): 0 when
// it is (or on the back), else it is added as a write-in field at (60, 40)
// and the canvas rebuilt (0); -1 after the message when the sheet has no
// key item or the row cannot be written.
int CheckSheetKeyItem(int canvasSlot);
// A file dropped on the canvas slot at (x, y) of the sheet: a picture
// ("BMP", "JPG") placed there, or a text file's first line as a text item;
// the canvas is rebuilt. 0; -1 for another kind of file (quiet), or after
// the message (the file cannot be read, no free code, the row cannot be
// written).
int AddDroppedSheetFile(int canvasSlot, const std::string& path, int x, int y);
// A column of the sheet's output table, as the table describes it.
struct OutputColumn {
  std::string name;
  int type = 1;  // 3, 4 and 6 hold numbers
  int length = 0;
};
// The most boxes a write-in field has.
constexpr int kMaxFieldBoxes = 100;
// A column of the output table made a write-in field of its name at (x, y)
// of the sheet: a number ten boxes wide, a text as long as the column (at
// most kMaxFieldBoxes); the canvas is rebuilt. 0, or -1 after the message.
int AddOutputColumnField(int canvasSlot, const OutputColumn& column, int x, int y);
// The name a picture item keeps of its file (アイコン): below the program
// folder the name inside it, so that the depth of the installation does not
// count; else the path without its drive, left to the machine that reads
// the definition.
std::string SheetPictureName(const std::string& path);
// Adds a copy of the canvas item `item` (a field, text item or picture: its
// row with the lowest free code of its range) to the right of it, within
// the sheet, and rebuilds the canvas. 0, or -1 after the message.
int DuplicateSheetItem(int canvasSlot, int item);
// Deletes the row of the item of `code` after asking (its description
// named), and rebuilds the canvas. 0, or -1 when refused or missing.
int DeleteSheetItem(int canvasSlot, const std::string& code, const std::string& description);
// The codes of a range ('0' fields, 'T' texts) of the current sheet, in
// ascending order, and the lowest free one ("" when all 999 are taken).
std::string NextFreeSheetCode(char range);
// The columns of the sheet's output table (its output database, never
// created here) into `columns`: their number, -1 when the sheet names no
// output table, -2 when the table cannot be opened.
int ReadOutputTableColumns(std::vector<OutputColumn>* columns);
