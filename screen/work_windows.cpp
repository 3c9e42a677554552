// The work windows screens are shown in: the engine binds menus, lists,
// cards and sets to the windows their owner created at start-up, and asks
// that owner to register the data sets of cards and sets. The list window's
// class is registered here; its procedure is its owner's.
#include <windows.h>

#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kWorkWindowCount = 4;
const char* const kClassNames[kWorkWindowCount] = {"Men", "Lst", "Cad", "Sup"};

HWND g_windows[kWorkWindowCount] = {};
DataSetOpener g_openers[kWorkWindowCount] = {};
WNDPROC g_listProcedure = nullptr;

int IndexOf(WorkWindow which) { return static_cast<int>(which); }

// Until the owner gives its procedure, the list window paints its screen.
LRESULT CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_listProcedure) return CallWindowProcA(g_listProcedure, window, message, wParam, lParam);
  if (message == WM_PAINT && PaintSlotWindow(window, g_list.slot)) return 0;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

const char* WorkWindowClass(WorkWindow which) { return kClassNames[IndexOf(which)]; }

HWND GetWorkWindow(WorkWindow which) {
  HWND& window = g_windows[IndexOf(which)];
  if (window && !IsWindow(window)) window = nullptr;
  return window;
}

void SetWorkWindow(WorkWindow which, HWND window) { g_windows[IndexOf(which)] = window; }

void SetDataSetOpener(WorkWindow which, DataSetOpener opener) { g_openers[IndexOf(which)] = opener; }

DataSetOpener GetDataSetOpener(WorkWindow which) { return g_openers[IndexOf(which)]; }

void SetListWindowProc(WNDPROC procedure) { g_listProcedure = procedure; }

bool RegisterProgramClass(const char* name, WNDPROC procedure, UINT classStyle, int brush, int iconId) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (GetClassInfoA(instance, name, &wc)) return true;
  wc.style = classStyle;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hIcon = iconId ? LoadIconA(instance, MAKEINTRESOURCEA(iconId)) : nullptr;
  if (!wc.hIcon) wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(brush));
  wc.lpszMenuName = name;
  wc.lpszClassName = name;
  return RegisterClassA(&wc) != 0;
}

bool PaintSlotWindow(HWND window, int slot) {
  if (!IsValidSlot(slot) || Slot(slot).window != window || !BeginScreenPaint(window, slot)) return false;
  PaintScreenPage(window, slot);
  EndScreenPaint();
  return true;
}

HWND CreateHiddenWindow(const HiddenWindowClass& spec) {
  if (!RegisterProgramClass(spec.name, spec.procedure, spec.classStyle, spec.brush, spec.iconId)) return nullptr;
  return CreateWindowExA(spec.exStyle, spec.name, spec.title, spec.style, 0, 0, 0, 0, spec.parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND CreateWorkWindow(WorkWindow which, WNDPROC procedure, UINT classStyle) {
  const HWND window = CreateHiddenWindow(
      {WorkWindowClass(which), procedure, classStyle, WS_POPUPWINDOW | WS_DLGFRAME});
  SetWorkWindow(which, window);
  return window;
}

HWND RegisterListWindow(HWND mainWindow) {
  static_cast<void>(mainWindow);  // the list window has no owner
  return CreateWorkWindow(WorkWindow::kList, ListWindowProc, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS);
}

void SendToBothWindows(HWND window, UINT message, WPARAM wParam) {
  const UINT shortMessage = message & 0xFFFF;
  const WPARAM shortParam = wParam & 0xFFFF;
  if (window) SendMessageA(window, shortMessage, shortParam, 0);
  if (window != g_screen.mainWindow && g_screen.mainWindow) {
    SendMessageA(g_screen.mainWindow, shortMessage, shortParam, 0);
  }
}
