// The four message boxes every subsystem reports through, and the
// workbench's own. The screens draw straight onto their windows, so all but
// AskYesNoNoRedraw and ShowWorkbenchMessage repaint the active window after
// the box has gone.
#include "foundation/msgbox.h"

#include <cstdarg>

#include "foundation/bounded_format.h"
#include "foundation/test_hooks.h"

namespace {

constexpr UINT kInfoFlags = MB_TOPMOST | MB_ICONINFORMATION;
constexpr UINT kErrorFlags = MB_TOPMOST | MB_ICONERROR;
constexpr UINT kQuestionFlags = MB_TOPMOST | MB_ICONQUESTION | MB_YESNO;
constexpr UINT kCancelQuestionFlags = MB_TOPMOST | MB_ICONQUESTION | MB_YESNOCANCEL;

char g_messageText[kMessageTextSize];
char g_workbenchText[kMessageTextSize];
HWND g_workbenchWindow = nullptr;

int RepaintNow(HWND window) {
  InvalidateRect(window, nullptr, FALSE);
  return UpdateWindow(window) ? 1 : 0;
}

int ShowFormatted(const char* caption, UINT flags, const char* format, va_list args) {
  HWND owner = GetActiveWindow();
  FormatTextBoundedV(g_messageText, sizeof g_messageText, format, args);
  return ShowMessageBox(owner, g_messageText, caption, flags);
}

// A question whose box leaves the active window repainted.
int AskAndRepaint(const char* caption, UINT flags, const char* format, va_list args) {
  const int answer = ShowFormatted(caption, flags, format, args);
  RepaintNow(GetActiveWindow());
  return answer;
}

}  // namespace

int ShowInfoMessage(const char* caption, const char* format, ...) {
  va_list args;
  va_start(args, format);
  ShowFormatted(caption, kInfoFlags, format, args);
  va_end(args);
  return RepaintNow(GetActiveWindow());
}

void ShowErrorMessage(const char* caption, const char* format, ...) {
  MessageBeep(MB_ICONHAND);
  va_list args;
  va_start(args, format);
  ShowFormatted(caption, kErrorFlags, format, args);
  va_end(args);
  RepaintNow(GetActiveWindow());
}

int AskYesNo(const char* caption, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int answer = AskAndRepaint(caption, kQuestionFlags, format, args);
  va_end(args);
  return answer;
}

int AskYesNoCancel(const char* caption, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int answer = AskAndRepaint(caption, kCancelQuestionFlags, format, args);
  va_end(args);
  return answer;
}

int AskYesNoNoRedraw(const char* caption, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int answer = ShowFormatted(caption, kQuestionFlags, format, args);
  va_end(args);
  return answer;
}

void SetWorkbenchWindow(HWND workbench) {
  g_workbenchWindow = workbench;
}

int ShowWorkbenchMessage(const char* caption, const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatTextBoundedV(g_workbenchText, sizeof g_workbenchText, format, args);
  va_end(args);
  return ShowMessageBox(g_workbenchWindow, g_workbenchText, caption, kInfoFlags);
}
