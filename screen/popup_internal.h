// What the candidate pop-up's files share: the one pop-up's state (the
// "Sel" window serves one field at a time) and the look-up and dialog steps
// the window calls. Only the pop-up's own files include this.
#pragma once

#include <string>
#include <vector>

#include "screen/choice_list.h"
#include "screen/screen.h"

// One row of a master look-up: the key and the shown columns.
struct LookupRow {
  std::string key;
  std::vector<std::string> cells;
};

struct CandidatePopup {
  HWND window = nullptr;  // the "Sel" child window
  int item = -1;          // the item served; -1 a context menu
  int slot = -1;
  bool itemWasCurrent = false;
  ChoiceList list;
  std::vector<std::string> lines;  // candidates, or the rows' cells joined
  // Master look-ups.
  bool lookup = false;
  int tableSlot = -1;
  std::string keyColumn;
  std::vector<LookupRow> rows;
  std::vector<int> columnWidths;  // in characters
  // Display.
  int topRow = 0;       // first line shown (0-based)
  int highlighted = 1;  // within the shown lines (1-based)
  int visibleRows = 0;
  int rowHeight = 0, unit = 0, textOffset = 0;
  int chosen = 0;       // the line chosen (1-based), 0 none
  bool active = false;  // painted once
  bool contextMenu = false;
};
extern CandidatePopup g_popup;

// Opens the table of a look-up list and reads its rows into the pop-up, in
// key order, with the first row shown chosen by `value` (an address table
// reads only the rows from `value` on). 0; -2 after the message when the
// table cannot be opened.
int OpenLookupRows(CandidatePopup& popup, const char* value);
// Fetches the chosen row again and fills the fields from it. 0, or -1 after
// the message when the row is gone.
int TransferLookupRow(CandidatePopup& popup, int row);
void CloseLookupTable(CandidatePopup& popup);
// Columns a look-up of mode `mode` transfers (GetChosenCandidateCode).
int LookupTransferCount(const CandidatePopup& popup);

// The file, folder and image-file dialogs of a field. Returns 0.
int RunFieldFileDialog(int item, const ChoiceList& list);
