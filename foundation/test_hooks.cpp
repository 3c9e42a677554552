// Process-wide seams for message boxes, external programs, modal dialogs and
// printer pages.
#include "foundation/test_hooks.h"

namespace {

template <class Hook>
struct HookSlot {
  Hook hook = nullptr;
  void* context = nullptr;
};

HookSlot<MessageBoxHook> g_messageBoxHook;
HookSlot<ProgramStartHook> g_programStartHook;
HookSlot<ModalDialogHook> g_modalDialogHook;
HookSlot<PrinterPageHook> g_printerPageHook;

}  // namespace

void SetMessageBoxHook(MessageBoxHook hook, void* context) {
  g_messageBoxHook = {hook, context};
}

void SetProgramStartHook(ProgramStartHook hook, void* context) {
  g_programStartHook = {hook, context};
}

void SetModalDialogHook(ModalDialogHook hook, void* context) {
  g_modalDialogHook = {hook, context};
}

void SetPrinterPageHook(PrinterPageHook hook, void* context) {
  g_printerPageHook = {hook, context};
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
  if (g_messageBoxHook.hook) {
    return g_messageBoxHook.hook({owner, text, caption, flags}, g_messageBoxHook.context);
  }
  return MessageBoxA(owner, text, caption, flags);
}

UINT StartExternalProgram(const char* commandLine, UINT show) {
  if (g_programStartHook.hook) {
    return g_programStartHook.hook({commandLine, show}, g_programStartHook.context);
  }
  return WinExec(commandLine, show);
}

INT_PTR RunModalDialog(const char* kind, void* data, INT_PTR (*real)(void* data)) {
  if (g_modalDialogHook.hook) {
    return g_modalDialogHook.hook({kind, data, real}, g_modalDialogHook.context);
  }
  return real(data);
}

int StartPrinterPage(HDC dc) {
  if (g_printerPageHook.hook) return g_printerPageHook.hook(dc, g_printerPageHook.context);
  return StartPage(dc);
}
