// Items of the designer's forms built in code. Each adds one item to the
// screen being built (column and row in units of the form's font) and
// returns its number, or -1 after the screen engine's message.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr int kFormFontUnit = 7;
constexpr int kFormRowPitch = 3 * kFormFontUnit + 1;

// A text field; `choices` its candidates or pop-up ("FILEDLG,...").
int AddText(const char* name, const char* caption, int column, int row, int width, int bytes, const char* guide,
            const char* choices = "");
int AddNumber(const char* name, const char* caption, int column, int row, int digits, double maximum,
              const char* guide, const char* candidates = "");
// A group of radio buttons (R) or check boxes (C), one choice a row under
// its caption; an empty choice is kept in the numbering but not shown.
int AddChoices(char kind, const char* name, const char* caption, int column, int row, int width,
               const char* choices, int command, const char* guide);
// One check box with its text beside it: "1" checked, "0" not.
int AddCheck(const char* name, const char* text, int column, int row, int command, const char* guide = "");
// A push button showing its caption, as wide as the caption, sending
// `command` when pressed.
int AddPushButton(const char* name, const char* caption, int column, int row, int command, const char* guide);
// A protected line of text.
int AddNote(const char* name, const char* text, int column, int row);
// Notes one a row from `row`, named `prefix` and their number from
// `firstNumber` ("GMSG01"...).
int AddFormNotes(const char* prefix, const std::vector<std::string>& lines, int column, int row,
                 int firstNumber = 1);

// The text of the current slot's field `name` ("" when it has none).
std::string FormFieldText(const char* name);

// What a form's window gives the screen engine first: mouse, timer and
// focus messages. A click that takes the focus to another field keeps what
// was typed into the field being left.
void PassToFormScreen(HWND window, int slot, UINT message, WPARAM wParam, LPARAM lParam);

// A form built in code on a window of its own, over the windows it
// disables while it is open.
struct FormWindow {
  HWND window = nullptr;
  HWND disabled[2] = {nullptr, nullptr};
  int slot = -1;
};
// Takes a free window slot for the form about to be built: the slot, or
// -1 after the message.
int BeginForm();
// Opens the items built since BeginForm on the form's window (x, y, width
// and height as OpenScreenWindow takes them), disabling the owners given
// (null ones skipped) until it closes. 0, or -1 with the owners enabled
// again.
int OpenForm(FormWindow& form, HWND owner1, HWND owner2, int x, int y, int width, int height, int windowCode,
             const char* title);
// Closes the form's slot, hides its window and enables its owners.
void CloseForm(FormWindow& form);

// What a form does on its window's messages; null ones do nothing.
struct FormHandlers {
  void (*opened)() = nullptr;          // the slot opened: fill the fields
  void (*close)() = nullptr;           // Esc or the window's close
  void (*command)(int code) = nullptr; // any other command (else the focus moves on)
  void (*choice)(int code) = nullptr;  // a choice or pop-up value taken, a click released (0)
};
LRESULT HandleFormMessage(FormWindow& form, const FormHandlers& handlers, HWND window, UINT message, WPARAM wParam,
                          LPARAM lParam);
