// Items of the designer's forms built in code (the sheet settings screen,
// the field editor): texts, numbers, choice groups, check boxes and notes
// on a grid of kFormFontUnit.
#include "designer/form_items.h"

#include <cstring>
#include <string>

#include "foundation/sjis_text.h"
#include "screen/screen.h"

int AddText(const char* name, const char* caption, int column, int row, int width, int bytes,
            const char* guide, const char* choices) {
  return AddScreenItem(caption, name, column, row, 0, width, bytes, 0, 'X', 0, 0, 0, 'L', kItemEnabled, 0, 1, 0,
                       0, guide, choices);
}

int AddNumber(const char* name, const char* caption, int column, int row, int digits, double maximum,
              const char* guide, const char* candidates) {
  return AddScreenItem(caption, name, column, row, 0, digits, digits, 0, 'N', 0, 0, 0, 'R', kItemEnabled, 0, 1, 0,
                       maximum, guide, candidates);
}

// A group of radio buttons (R) or check boxes (C), one choice a row under
// its caption; an empty choice is kept in the numbering but not shown.
int AddChoices(char kind, const char* name, const char* caption, int column, int row, int width,
               const char* choices, int command, const char* guide) {
  const int count = CountCharDbcs(choices, ',') + 1;
  // A few pixels short of the rows, so a field under the group is not
  // covered by it.
  const int height = (count + 2) * kFormRowPitch - 4;
  const int i = kind == 'R' ? AddScreenRadio(caption, name, column, row, 0, width, height, 0, command,
                                             kItemEnabled, guide, choices, "")
                            : AddScreenCheck(caption, name, column, row, 0, width, height, 0, command,
                                             kItemEnabled, guide, choices, "");
  if (i < 0) return -1;
  SetItemValue(i, choices);
  // A comma is never a trail byte: the list splits byte by byte.
  std::string pattern;
  bool empty = true;
  for (const char* p = choices;; ++p) {
    if (*p == ',' || *p == '\0') {
      pattern += empty ? '^' : ' ';
      empty = true;
      if (*p == '\0') break;
    } else {
      empty = false;
    }
  }
  Item(i).defaultText = pattern;
  return i;
}

// One check box with its text beside it: "1" checked, "0" not.
int AddCheck(const char* name, const char* text, int column, int row, int command, const char* guide) {
  return AddScreenCheck(text, name, column, row, 0, static_cast<int>(std::strlen(text)) + 6, kFormRowPitch, 0,
                        command, kItemEnabled, guide, "", "");
}

int AddNote(const char* name, const char* text, int column, int row) {
  return AddScreenItem(text, name, column, row, 0, static_cast<int>(std::strlen(text)), 1, 0, 'X', 0, 0, 0, 'L',
                       kItemProtected, 0, 7, 0, 0, text, "");
}


void PassToFormScreen(HWND window, int slot, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN && IsValidSlot(slot)) {
    char typed[1024] = "";
    GetItemRawValue(slot, "/CUR", typed);  // the edit control's text into its field
  }
  ScreenChildWndProc(window, message, wParam, lParam);
}
