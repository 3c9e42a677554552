// Items of the designer's forms built in code. Each adds one item to the
// screen being built (column and row in units of the form's font) and
// returns its number, or -1 after the screen engine's message.
#pragma once

#include <windows.h>

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
// A protected line of text.
int AddNote(const char* name, const char* text, int column, int row);

// What a form's window gives the screen engine first: mouse, timer and
// focus messages. A click that takes the focus to another field keeps what
// was typed into the field being left.
void PassToFormScreen(HWND window, int slot, UINT message, WPARAM wParam, LPARAM lParam);
