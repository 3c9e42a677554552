// The invisible main window: it shows the menu screen "KQQL-MENU" (and is
// hidden again while the workbench is open), owns every screen the shell
// opens itself, and receives their commands, field events and life-cycle
// notices as private messages. Its destruction ends the message loop.
#include <windows.h>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "program/program.h"
#include "reading/workbench.h"
#include "shell/shell.h"
#include "tally/sheet_printing.h"
#include "tally/tally.h"

MainWindowState g_mainWindow;

namespace {

constexpr int kProgramIcon = 101;
constexpr int kScrollStep = 10;

// The three sunken bands of the menu: the top band, the middle and the
// bottom band across the client width.
void PaintMenuBands(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  const int right = client.right - 4;
  const int height = client.bottom;
  Draw3DEdge(4, 4, right, 51, 4);
  Draw3DEdge(4, 53, right, height - 53, 4);
  Draw3DEdge(4, height - 51, right, height - 4, 4);
}

void PaintMainWindow(HWND window) {
  const int slot = g_mainWindow.slot;
  if (!IsValidSlot(slot) || Slot(slot).window != window || !BeginScreenPaint(window, slot)) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return;
  }
  PaintMenuBands(window);
  PaintScreenPage(window, slot);
  EndScreenPaint();
}

void CloseMainWindow(HWND window) {
  if (IsValidSlot(g_mainWindow.slot) && Slot(g_mainWindow.slot).window == window) {
    CloseScreenWindow(g_mainWindow.slot, 0);
  }
  g_mainWindow.slot = -1;
  DestroyWindow(window);
}

// The menu's start-up once its window slot is known: the version of the
// screen database, the program folder, the settings row, the server choice
// and the current definition.
void StartMenu(HWND window, int slot) {
  g_mainWindow.slot = slot;
  CheckMenuScreenVersion();
  if (ProgramPathHasBlank()) {
    ShowInfoMessage("", "このプログラムは“%s”のように空白を含むパス(フォルダ)では、正常に動作できません。\n"
                        "一旦、アンインストールを行ってから、再度、空白を含まないパスにインストールしてください。",
                    g_program.programFolder.c_str());
    PostMessageA(window, kMsgCloseWindow, 0, 0);
    return;
  }
  const int settings = OpenSettingsRow();
  if (settings >= 0) db_close(settings);
  g_sheetDefinition.sheetCode = "0001";
  ReadServerList();
  ReadDefinitionPath();
  ShowOutputFolder();
  g_mainWindow.initialised = 1;
  SetItemValueInSlot(slot, "ヘルプ", "操作説明書,注意事項･ｽｷｬﾅｰ設定");
  ShowDesignerCommands(slot);
  // The window was shown (and painted empty) before its slot was known.
  InvalidateRect(window, nullptr, TRUE);
}

// The screen number of the screen that caused a notice.
int ScreenNumber(WPARAM wParam) { return static_cast<int>(wParam); }

}  // namespace

bool RegisterMainWindowClass(HINSTANCE) {
  return RegisterProgramClass(kMainClassName, MainWindowProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, LTGRAY_BRUSH,
                              kProgramIcon);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_PAINT:
      PaintMainWindow(window);
      return 0;
    case WM_CLOSE:
    case kMsgCloseWindow:
      CloseMainWindow(window);
      return 0;
    case WM_HSCROLL:
      if (IsValidSlot(g_mainWindow.slot)) {
        ScrollScreenHPlain(window, g_mainWindow.slot, SB_HORZ, wParam, 0, kScrollStep, 1, 0, 0);
      }
      return 0;
    case WM_VSCROLL:
      if (IsValidSlot(g_mainWindow.slot)) {
        ScrollScreenVPlain(window, g_mainWindow.slot, SB_VERT, wParam, 0, kScrollStep, 1, 0, 0);
      }
      return 0;
    case kMsgScreenCommand:
      g_mainWindow.lastCommand = static_cast<int>(wParam);
      g_mainWindow.lastPopupChoice = GetLastPopupChoice();
      RunMenuCommand(g_mainWindow.lastCommand);
      return 0;
    case kMsgPrintChoice:
      if (wParam == 2) {
        OpenTallyCsvDialog();
      } else if (wParam == 3) {
        OpenTallyColorSlots();
      } else {
        OpenTallyQuestionSettings();
      }
      return 0;
    case kMsgPrintOutput:
    case kMsgPreviewOutput:
      if (wParam == kPrintTypeFieldList) {
        PrintFieldListReport(message == kMsgPrintOutput ? kReportPrinter : kReportPreview);
      } else {
        RunTallyOutput(message == kMsgPrintOutput ? 1 : 0, static_cast<int>(wParam));
      }
      return 0;
    case kMsgPrintDone:
      ShowWindowHiddenForPrint();
      return 0;
    case kMsgOpenSheetPrint:
      OpenSerialPrintScreen(wParam == 1 ? kPrintTypeNumberedSheets : kPrintTypePlainSheets, static_cast<int>(lParam));
      return 1;
    case kMsgOpenDataClear:
      OpenDataClearWindow(kDataClearScreen);
      return 1;
    case kMsgOpenFieldListPrint:
      OpenFieldListPrint(window);  // a screen that cannot open has said why
      return 1;
    case kMsgOpenEntryScreen:
      OpenScreenSetWindow(0, static_cast<int>(wParam));
      return 1;
    case kMsgCheckEntryScreens:
      CheckSheetChangedSinceScreens(1, 1, 0);  // a screen to build again has said so
      return 1;
    case kMsgSlotOpened:
      StartMenu(window, static_cast<int>(wParam));
      return 0;
    case kMsgScreenBuilt:
      OnScreenBuilt(ScreenNumber(wParam));
      return 0;
    case kMsgFillScreen:
      OnFillScreen(ScreenNumber(wParam));
      return 0;
    case kMsgFieldMessage:
      OnFieldInput(ScreenNumber(wParam));
      return 0;
    case kMsgScreenClosed:
      OnScreenClosed(ScreenNumber(wParam));
      return 0;
    case kMsgCloseQuery:
      OnCloseQuery(ScreenNumber(wParam));
      return 0;
    case kMsgNotice:
    case kMsgLookupChosen:
    case kMsgRightButton:
      return 0;
    case kMsgScreenNumber:
      OnTallyOptionsNumber(ScreenNumber(wParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
