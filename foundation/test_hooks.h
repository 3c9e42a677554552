// Seams through which tests answer what would otherwise wait for a person or
// start another program: message boxes, external programs and modal dialogs;
// and the printer's pages, which a test printer cannot refuse at will.
// Without a hook installed the real box, program or dialog is used. The hooks
// are process-wide; a test installs one with a scope object and the previous
// hook comes back when the scope ends.
#pragma once

#include <windows.h>

#include <string>

// One message box as the program asked for it.
struct MessageBoxCall {
  HWND owner;
  std::string text;
  std::string caption;
  UINT flags;  // MB_* as passed to MessageBoxA
};

// Returns the button the box is answered with (IDOK, IDYES, IDNO, ...).
using MessageBoxHook = int (*)(const MessageBoxCall& call, void* context);

// One external program start as the program asked for it (WinExec).
struct ProgramStartCall {
  std::string commandLine;
  UINT show;
};

// Returns what WinExec would return (> 31 for success).
using ProgramStartHook = UINT (*)(const ProgramStartCall& call, void* context);

// One modal dialog: `kind` names it ("PrintDlg", "GetOpenFileName",
// "AbortDialog", "DialogBox:<name>", ...); `data` is the structure the real
// call would take (PRINTDLGA*, OPENFILENAMEA*, ...), which the hook may fill.
struct ModalDialogCall {
  std::string kind;
  void* data;
  // The real dialog, for a hook that records a dialog and lets it run.
  INT_PTR (*real)(void* data);
};

// Returns what the real call would return.
using ModalDialogHook = INT_PTR (*)(const ModalDialogCall& call, void* context);

// A printer page about to start on `dc`: returns what StartPage would
// return (above 0 started; 0 or below a page the printer refused).
using PrinterPageHook = int (*)(HDC dc, void* context);

void SetMessageBoxHook(MessageBoxHook hook, void* context);
void SetProgramStartHook(ProgramStartHook hook, void* context);
void SetModalDialogHook(ModalDialogHook hook, void* context);
void SetPrinterPageHook(PrinterPageHook hook, void* context);

// The program's only ways to show a box, start a program or run a hookable
// modal dialog: through the hook when one is installed, else for real.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags);
UINT StartExternalProgram(const char* commandLine, UINT show);
// Runs `real(data)` unless a dialog hook is installed.
INT_PTR RunModalDialog(const char* kind, void* data, INT_PTR (*real)(void* data));
// StartPage, through the page hook when one is installed.
int StartPrinterPage(HDC dc);
