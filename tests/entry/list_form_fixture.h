// The fixture of the list-form tests: the work windows of the program over
// a table T_LST of code numbers (larger than a page) shown by the list
// screen TEST-LSTK, on the file database (SQLite) or the server database
// (PostgreSQL), driven by keys and mouse messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/screen/screen_db_fixture.h"

// Rows of T_LST when a test starts: codes 0001 .. 0023.
constexpr int kListRows = 23;
constexpr int kPageLines = 6;

// The screen text of TEST-LSTK with `keyKind` as its key setting and
// `input` as its input setting ("Ｎ": records are inserted with F6; "○":
// keys are typed); `keyCandidates` (if any) are the candidates of the key
// column CODE, such as a link to a master table.
std::string ListScreenText(int keyKind, const char* input, const std::string& keyCandidates = "");
// Writes the description of T_LST and makes it with its rows: 0 or -1.
int MakeListTable();
// "CODE:NAME" of every row of T_LST in code order, from a slot of its own.
std::vector<std::string> ListTableRows();

class ListFormTest : public ScreenDbTest {
 protected:
  void SetUp() override;
  void RegisterWindows() override;

  // Opens TEST-LSTK: 0 or -1.
  int OpenList();
  HWND ListWindow() const;
  HWND Edit() const;
  // The text a cell of the list shows.
  std::string Cell(const char* column, int line) const;
  // Line 1 .. kPageLines of the key column.
  std::vector<std::string> PageKeys() const;
  // Clicks a cell, giving it the focus.
  void ClickCell(const char* column, int line);
  // Types into a cell and leaves it with Enter.
  void TypeIntoCell(const char* column, int line, const char* text);
  // Closes the list by Esc or by its close box with these keys held down.
  void CloseListHolding(const std::vector<BYTE>& held, bool byEsc);
  // Posts what the list's F9 menu sends for a job.
  void ChooseMenuCommand(int command);
  // The job dialog's or search window's slot (the last opened), or -1.
  static int TopSlot();

  int keyKind_ = 3;
  HWND owner_ = nullptr;
};
