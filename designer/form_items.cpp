// Items of the designer's forms built in code (the sheet settings screen,
// the field editor): texts, numbers, choice groups, check boxes and notes
// on a grid of kFormFontUnit.
#include "designer/form_items.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/msgbox.h"
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

int AddPushButton(const char* name, const char* caption, int column, int row, int command, const char* guide) {
  const int width = static_cast<int>(std::strlen(caption)) + 2;
  const int i = AddScreenItem(caption, name, column, row, 0, width, kFormRowPitch + 2, 0, 'B', 0, 0, command, 'S',
                              kItemEnabled, 0, 6, 0, 0, guide, "");
  if (i >= 0) Item(i).itemClass = kItemClassIcon;
  return i;
}

int AddNote(const char* name, const char* text, int column, int row) {
  return AddScreenItem(text, name, column, row, 0, static_cast<int>(std::strlen(text)), 1, 0, 'X', 0, 0, 0, 'L',
                       kItemProtected, 0, 7, 0, 0, text, "");
}

int AddFormNotes(const char* prefix, const std::vector<std::string>& lines, int column, int row, int firstNumber) {
  for (size_t k = 0; k < lines.size(); ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%02d", prefix, firstNumber + static_cast<int>(k));
    if (AddNote(name, lines[k].c_str(), column, row + static_cast<int>(k)) < 0) return -1;
  }
  return 0;
}

std::string FormFieldText(const char* name) {
  const char* text = GetFieldTextPtr(name);
  return text ? text : "";
}

void PassToFormScreen(HWND window, int slot, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_LBUTTONDOWN && IsValidSlot(slot)) {
    char typed[1024] = "";
    GetItemRawValue(slot, "/CUR", typed);  // the edit control's text into its field
  }
  ScreenChildWndProc(window, message, wParam, lParam);
}

int BeginForm() {
  const int slot = FindFreeWindowSlot();
  if (slot < 0) {
    ShowInfoMessage("Control", "同時に開ける画面は %d つまでです。", kWindowSlotCount);
    return -1;
  }
  SetSlotFontUnit(slot, kFormFontUnit);
  return slot;
}

namespace {

void EnableOwners(FormWindow& form) {
  for (HWND& w : form.disabled) {
    if (w) EnableWindow(w, TRUE);
    w = nullptr;
  }
}

}  // namespace

int OpenForm(FormWindow& form, HWND owner1, HWND owner2, int x, int y, int width, int height, int windowCode,
             const char* title) {
  form.disabled[0] = owner1;
  form.disabled[1] = owner2 != owner1 ? owner2 : nullptr;
  for (HWND w : form.disabled) {
    if (w) EnableWindow(w, FALSE);
  }
  if (OpenScreenWindow(form.window, x, y, width, height, 0, windowCode, 1, 1, 0, title) != 0) {
    EnableOwners(form);
    return -1;
  }
  return 0;
}

void CloseForm(FormWindow& form) {
  if (!IsValidSlot(form.slot)) return;
  const int slot = form.slot;
  form.slot = -1;
  EnableOwners(form);
  CloseScreenWindow(slot, 1);
  ShowWindow(form.window, SW_HIDE);
}

LRESULT HandleFormMessage(FormWindow& form, const FormHandlers& handlers, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam) {
  PassToFormScreen(window, form.slot, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, form.slot)) return 0;
      break;
    case kMsgSlotOpened:
      form.slot = static_cast<int>(wParam);
      SelectWindowSlot(form.slot);
      if (handlers.opened) handlers.opened();
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case kMsgScreenCommand:
      if (wParam == static_cast<WPARAM>(kKeyEscape)) {
        if (handlers.close) handlers.close();
      } else if (handlers.command) {
        handlers.command(static_cast<int>(wParam));
      } else {
        ApplyPendingFocus();
      }
      return 0;
    case kMsgFieldChosen:
      if (handlers.choice) handlers.choice(static_cast<int>(wParam));
      return 0;
    case WM_LBUTTONUP:
      if (handlers.choice && IsValidSlot(form.slot)) handlers.choice(0);
      return 0;
    case WM_CLOSE:
    case kMsgCloseWindow:
      if (handlers.close) handlers.close();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
