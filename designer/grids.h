// The grid editors of the sheet definition: list screens built by code over
// MUPA_FLD (or the question table) of the current side, each filtered to
// one kind of row, which the list-form window "Lst" shows, edits and
// stores; and the operations on whole sets of rows: moving fields between
// the sides of a sheet and closing the gaps in their codes.
//
// Each Open... function opens its grid in the list-form window, owned by
// the active window (the workbench), which hears the list's notices with
// the grid's window code as the screen number. They return the grid's
// window slot, or -1 after the one message that reports the failure.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// Window codes of the grids (the screen numbers their notices carry).
constexpr int kGridWindowCode = 54;     // field, text, output, description, question and frame grids
constexpr int kReorderWindowCode = 55;  // the two reorder grids
constexpr int kMoveWindowCode = 58;     // the two move grids
// The move grid's button that moves the marked rows (message 1147 to the
// owner, which answers 1 when it took the command).
constexpr int kCmdMoveMarkedRows = 210;
// The output settings grid's button "行間設定": the question rows' Y
// coordinates in steps of the guide spacing.
constexpr int kCmdAlignQuestionRows = 24;

int OpenWriteInFieldGrid();
int OpenTextItemGrid();
int OpenOutputSettingsGrid();
int OpenDescriptionTextGrid();
int OpenQuestionTextGrid();
int OpenEnclosureFrameGrid();
// kind 1 the write-in fields, 2 the text items.
int ReorderSheetFields(int kind);
int OpenMoveFieldsGrid(int kind);

// The grid the list-form window shows (0 none): set by the Open...
// functions, cleared when the owner hears that it closed.
struct OpenGrid {
  int slot = -1;
  int moveKind = 0;  // 1 fields, 2 text items: the move grid is open
  char codeKind = 0; // '0' field codes, 'T' text items' codes; 0 unchecked
  bool outputSettings = false;  // its header is stored back as it closes
  bool paperHeader = false;     // its header shows the paper settings
  bool questions = false;       // the question grid: its texts become titles as it closes
  std::vector<std::pair<std::string, std::string>> headerTexts;  // lines of text: item, text
};
extern OpenGrid g_openGrid;  // (grid_open.cpp)

// Fills the header items of the open grid from the paper settings (the
// owner does it when the grid's window opened, 1135), and stores the
// editable ones back when the grid closes (1146): 0, or -1 after the
// message.
int FillGridHeader();
int StoreGridHeader();
// The owner heard that the grid closed (1136).
void ForgetOpenGrid();
// The question table (the question grid's rows, made afresh as it opens)
// filled with a row for each read check field of the sheet, in the order
// of sides and codes: its name, its title without line breaks and its
// characters a line. 0, or -1 after the message.
int FillQuestionTable(int questions);
// Each question's text wrapped to its characters a line into the title of
// the check field of its side that bears its item name; the line width is
// kept too. 0, or -1 after the message.
int StoreQuestionTitles();
// The open grid reads its rows again (after a change of many rows).
void RefreshOpenGrid();
// The owner's handling of the open grid's notices (1135 fill, 1146 may
// close, 1147 before a command, 1166 before a cell is stored, 1136
// closed): true with `result` when the
// notice was the grid's.
bool HandleGridNotice(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Sets the Y coordinates of the open grid's rows whose names begin with
// "質問" (in code order) to the first one's plus n times the guide spacing
// (縦間隔) of two guide lines, after asking "Ｙ座標の調整を行います。",
// in one transaction: 0, or -1 when the operator said No or a write was
// refused (reported by the database layer; nothing changed then).
int AdjustFieldYCoordinates();

// Moves the rows of the current side marked in the move grid (表面裏面 1)
// of `kind` (1 fields, 2 text items) to the other side, after the codes
// there, and renumbers what stays from kind letter + "001"; all in one
// transaction: a failure leaves both sides as they were. Returns the number
// of rows moved (0 after "移動する項目が設定されていません" when none is
// marked, or when the operator said No), or -1 after the message.
int MoveFieldsToSide(int kind);
// The code after the last one of kind letter `kind` ('0' or 'T') on side
// `sheetCode` (kind + "001" for a side without any): 0 with `code`, -2 when
// the side's codes are used up to 999 (quiet: the caller says so), -1 when
// the table cannot be read (reported).
int NextAreaCodeOfSide(const std::string& sheetCode, std::string* code, char kind);
// Gives the rows of kind letter `kind` of the current side, whose codes are
// `codes` in ascending order, the codes kind + "001", "002", ... in that
// order, inside the caller's transaction on `tableSlot`: 0, or -1
// (reported by the database layer).
int RenumberAreaCodes(int tableSlot, char kind, const std::vector<std::string>& codes);
