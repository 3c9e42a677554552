// The work windows screens are shown in: registration, the data sets of
// card and set screens, and the menu window (take the slot, load the ruled
// lines, paint, pass commands to the owner, close). One instance of each
// window exists. The list form is list_window.cpp, the card form
// card_window.cpp, the single-record form single_record_form.cpp.
#include "entry/entry.h"
#include "entry/screen_windows.h"

#include <cstdio>
#include <string>

#include "foundation/db.h"
#include "screen/screen.h"

namespace {

constexpr UINT kMsgPopupValue = WM_USER + 103;   // 1127

struct WindowState {
  int slot = -1;
};

WindowState g_menu;

// Gives the screen engine what it asks of this subsystem.
void OfferToScreenEngine() {
  SetListWindowProc(ListWindowProc);
  SetDataSetOpener(WorkWindow::kCard, OpenCardScreen);
  SetDataSetOpener(WorkWindow::kSet, OpenSupScreen);
}

HWND Register(WorkWindow kind, WNDPROC procedure, UINT classStyle) {
  OfferToScreenEngine();
  return CreateWorkWindow(kind, procedure, classStyle);
}

HWND OwnerOf(const WindowState& state) {
  return IsValidSlot(state.slot) ? Slot(state.slot).owner : nullptr;
}

int ScreenNumberOf(const WindowState& state) {
  return IsValidSlot(state.slot) ? Slot(state.slot).screenNumber : 0;
}

void SendToOwner(const WindowState& state, UINT message, WPARAM wParam) {
  const HWND owner = OwnerOf(state);
  if (owner) SendMessageA(owner, message, wParam, 0);
}

// What the window does when its screen opened; false closes it again.
bool TakeScreen(WindowState& state, HWND window, int slot) {
  state.slot = slot;
  SelectWindowSlot(slot);
  LoadLineDefinitions(slot);
  const HWND owner = OwnerOf(state);
  if (owner && owner != window) EnableWindow(owner, FALSE);
  SendToOwner(state, kMsgFillScreen, ScreenNumberOf(state));
  InvalidateRect(window, nullptr, TRUE);
  return true;
}

void CloseScreen(WindowState& state) {
  if (!IsValidSlot(state.slot)) return;
  const int slot = state.slot;
  CloseScreenDataSet(slot);
  const HWND owner = OwnerOf(state);
  const int number = ScreenNumberOf(state);
  if (owner) EnableWindow(owner, TRUE);
  state.slot = -1;
  CloseScreenWindow(slot, 1);
  if (owner) SendMessageA(owner, kMsgScreenClosed, number, 0);
}

LRESULT HandleMessage(WindowState& state, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Clicks, hover tips and the focus act on the screen as in every screen
  // window.
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case kMsgSlotOpened:
      if (!TakeScreen(state, window, static_cast<int>(wParam))) CloseScreen(state);
      return 0;
    case WM_PAINT:
      if (PaintSlotWindow(window, state.slot)) return 0;
      break;
    case kMsgScreenCommand:
      // The owner carries out the command; it hears of Esc too, before
      // the screen closes.
      SendToOwner(state, kMsgFieldMessage, ScreenNumberOf(state));
      if (wParam == static_cast<WPARAM>(kKeyEscape) && IsValidSlot(state.slot)) CloseScreen(state);
      return 0;
    case kMsgPopupValue:
      SendToOwner(state, kMsgFieldMessage, ScreenNumberOf(state));
      return 0;
    case kMsgHeaderMenu:
    case WM_RBUTTONDOWN:
      PassMenuToMainWindow(message, ScreenNumberOf(state), lParam);
      return 0;
    case kMsgCloseWindow:
    case WM_CLOSE:
      CloseScreen(state);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

int OpenEntryDataSet(const char* folder, const char* database, const char* table, int keyNumber) {
  if (OpenScreenSlot(folder, database, table, -1, "", "", keyNumber) != 0) return -1;
  g_list.filterText = g_list.headerTexts.empty() ? std::string() : g_list.headerTexts.front();
  g_list.conditionText.clear();
  g_list.extraWhere.clear();
  g_list.conditions.clear();
  return 0;
}

}  // namespace

void PassMenuToMainWindow(UINT message, int screenNumber, LPARAM line) {
  constexpr UINT kMsgRightButton = WM_USER + 140;  // 1164
  if (!g_screen.mainWindow) return;
  if (message == WM_RBUTTONDOWN) {
    SendMessageA(g_screen.mainWindow, kMsgRightButton, screenNumber, 0);
  } else {
    SendMessageA(g_screen.mainWindow, kMsgHeaderMenu, screenNumber, line);
  }
}

HWND RegisterMenuWindow(HWND) { return Register(WorkWindow::kMenu, MenuWindowProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS); }

HWND RegisterCardWindow(HWND) { return Register(WorkWindow::kCard, CardWindowProc, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS); }

HWND RegisterSupWindow(HWND) { return Register(WorkWindow::kSet, SupWindowProc, CS_HREDRAW | CS_VREDRAW); }

int OpenCardScreen(const char* folder, const char* database, const char* table, int keyNumber) {
  return OpenEntryDataSet(folder, database, table, keyNumber);
}

int OpenSupScreen(const char* folder, const char* database, const char* table, int keyNumber) {
  return OpenEntryDataSet(folder, database, table, keyNumber);
}

LRESULT CALLBACK MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleMessage(g_menu, window, message, wParam, lParam);
}
