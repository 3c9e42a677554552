// Choosing the printer of a report job and the abort dialog of a running
// job. The print dialog and the abort dialog go through the program's
// dialog hook, so a test chooses the printer or cancels without a person.
#include "tally/report_printer.h"

#include <commdlg.h>

#include <vector>

#include "foundation/msgbox.h"
#include "foundation/test_hooks.h"
#include "tally/report_internal.h"

namespace {

// The next job may be stopped between pages (OfferStopBetweenPages).
bool g_stopBetweenPages = false;

// The DEVMODE of the platforms this program was first written for: every
// field up to dmReserved2. Drivers take any size that dmSize states.
constexpr WORD kDevModeSize = 148;
static_assert(kDevModeSize <= sizeof(DEVMODEA));

struct ProfilePrinter {
  std::string name, driver, port;
};

// The default printer as the profile names it: "name,driver,port".
ProfilePrinter ReadDefaultPrinter() {
  char device[512] = "";
  GetProfileStringA("windows", "device", "", device, sizeof device);
  ProfilePrinter printer;
  std::string* parts[] = {&printer.name, &printer.driver, &printer.port};
  int part = 0;
  for (const char* p = device; *p && part < 3; ++p) {
    if (*p == ',') {
      ++part;
    } else {
      parts[part]->push_back(*p);
    }
  }
  return printer;
}

HGLOBAL BuildDevMode() {
  HGLOBAL block = GlobalAlloc(GHND, kDevModeSize);
  if (!block) return nullptr;
  auto* mode = static_cast<DEVMODEA*>(GlobalLock(block));
  mode->dmSpecVersion = DM_SPECVERSION;
  mode->dmSize = kDevModeSize;
  mode->dmFields = DM_PAPERSIZE;
  mode->dmPaperSize =
      static_cast<short>(PaperCodeToPrinterPaper(g_reportOutput.paperCode));
  // Only a real orientation is passed; anything else leaves the printer's.
  if (const int orientation =
          OrientationToPrinterOrientation(g_reportOutput.orientation)) {
    mode->dmFields |= DM_ORIENTATION;
    mode->dmOrientation = static_cast<short>(orientation);
  }
  GlobalUnlock(block);
  return block;
}

std::string DeviceNameOf(HGLOBAL devNames) {
  if (!devNames) return "";
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames));
  std::string name = reinterpret_cast<const char*>(names) + names->wDeviceOffset;
  GlobalUnlock(devNames);
  return name;
}

INT_PTR RealPrintDialog(void* data) {
  return PrintDlgA(static_cast<PRINTDLGA*>(data));
}

// A dialog template in memory: the dialog does not depend on resources
// linked into the program.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const char* title,
                 WORD items) {
    AddDword(style);
    AddDword(0);  // extended style
    words_.push_back(items);
    words_.insert(words_.end(), {0, 0, static_cast<WORD>(width),
                                 static_cast<WORD>(height)});
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    AddText(title);
  }
  void AddItem(DWORD style, short x, short y, short width, short height,
               WORD id, WORD atomClass, const char* text) {
    if (words_.size() % 2) words_.push_back(0);  // items start on a DWORD
    AddDword(style | WS_CHILD | WS_VISIBLE);
    AddDword(0);
    words_.insert(words_.end(), {static_cast<WORD>(x), static_cast<WORD>(y),
                                 static_cast<WORD>(width),
                                 static_cast<WORD>(height), id, 0xFFFF,
                                 atomClass});
    AddText(text);
    words_.push_back(0);  // no creation data
  }
  const DLGTEMPLATE* get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
  }

 private:
  void AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void AddText(const char* text) {
    wchar_t wide[64] = L"";
    MultiByteToWideChar(932, 0, text, -1, wide, 64);
    for (const wchar_t* p = wide; *p; ++p) words_.push_back(*p);
    words_.push_back(0);
  }
  std::vector<WORD> words_;
};

constexpr WORD kStaticClass = 0x0082;
constexpr WORD kButtonClass = 0x0080;

INT_PTR CALLBACK AbortDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      ShowWindow(dialog, SW_SHOW);
      SetFocus(dialog);
      UpdateWindow(dialog);
      return TRUE;
    case WM_COMMAND:
      g_reportOutput.aborted = 1;
      DestroyWindow(dialog);
      return TRUE;
    case WM_DESTROY:
      // The dialog goes by itself on its button; the job must not destroy
      // it a second time.
      if (g_reportOutput.abortDialog == dialog) g_reportOutput.abortDialog = nullptr;
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR RealAbortDialog(void* data) {
  DialogTemplate dialog(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION |
                            WS_SYSMENU,
                        160, 62, "印  刷  処  理", 2);
  dialog.AddItem(SS_CENTER, 10, 12, 140, 10, 0xFFFF, kStaticClass,
                 "*** 印  刷  中 ***");
  dialog.AddItem(BS_DEFPUSHBUTTON | WS_TABSTOP, 55, 36, 50, 14, IDCANCEL,
                 kButtonClass, "取  消");
  return reinterpret_cast<INT_PTR>(CreateDialogIndirectParamA(
      GetModuleHandleA(nullptr), dialog.get(), static_cast<HWND>(data),
      AbortDialogProc, 0));
}

}  // namespace

HDC CreateDefaultPrinterDC(std::string* printerName) {
  const ProfilePrinter printer = ReadDefaultPrinter();
  *printerName = printer.name;
  if (printer.name.empty()) {
    ShowErrorMessage("", "通常使うプリンタが設定されていません。");
    return nullptr;
  }
  HDC dc = CreateDCA(printer.driver.c_str(), printer.name.c_str(),
                     printer.port.c_str(), nullptr);
  if (!dc) {
    ShowErrorMessage("", "“%s”の初期化ができません。", printer.name.c_str());
    return nullptr;
  }
  return dc;
}

HDC RunPrintDialog(char kindLetter, std::string* printerName) {
  *printerName = ReadDefaultPrinter().name;
  HGLOBAL devMode = kindLetter == 'R' ? nullptr : BuildDevMode();
  PRINTDLGA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = g_reportOutput.owner;
  dialog.hDevMode = devMode;
  dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_HIDEPRINTTOFILE;
  const INT_PTR chosen = RunModalDialog("PrintDlg", &dialog, RealPrintDialog);
  const DWORD error = chosen ? 0 : CommDlgExtendedError();

  if (dialog.hDevNames) {
    const std::string chosenName = DeviceNameOf(dialog.hDevNames);
    if (!chosenName.empty()) *printerName = chosenName;
    GlobalFree(dialog.hDevNames);
  }
  // The dialog may hand back blocks of its own in place of ours.
  if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
  if (devMode && devMode != dialog.hDevMode && GlobalSize(devMode)) {
    GlobalFree(devMode);
  }

  if (!chosen) {
    if (error) {
      ShowInfoMessage("", "印刷ﾀﾞｲｱﾛｸﾞﾎﾞｯｸｽを表示できません。(%d)",
                      static_cast<int>(error));
    }
    return nullptr;
  }
  if (!dialog.hDC) {
    ShowErrorMessage("", "“%s”の初期化ができません。", printerName->c_str());
    return nullptr;
  }
  return dialog.hDC;
}

void OpenAbortDialog() {
  g_reportOutput.abortDialog = reinterpret_cast<HWND>(
      RunModalDialog("AbortDialog", g_reportOutput.owner, RealAbortDialog));
}

void CloseAbortDialog() {
  if (g_reportOutput.abortDialog) DestroyWindow(g_reportOutput.abortDialog);
  g_reportOutput.abortDialog = nullptr;
}

void PumpAbortDialogMessages() {
  MSG message;
  while (g_reportOutput.abortDialog && !g_reportOutput.aborted &&
         PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {  // for the program's own loop
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!IsDialogMessageA(g_reportOutput.abortDialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

BOOL CALLBACK ReportAbortProc(HDC, int) {
  PumpAbortDialogMessages();
  // A job stopped between pages keeps its pages: the spooler goes on with
  // the page it has, and the job ends the document after it.
  return g_stopBetweenPages || !g_reportOutput.aborted;
}

void OfferStopBetweenPages() { g_stopBetweenPages = true; }
bool StopBetweenPagesOffered() { return g_stopBetweenPages; }
void EndStopBetweenPagesOffer() { g_stopBetweenPages = false; }

int PrintJobStopRequested() {
  const ReportOutputContext& r = g_reportOutput;
  if (!g_stopBetweenPages || r.mode != kReportPrinter || !r.jobOpen || r.documentAborted) return 0;
  PumpAbortDialogMessages();
  return r.aborted ? 1 : 0;
}
