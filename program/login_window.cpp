// The login window "Pas": before a command on the output database runs, it
// asks for the password (file database) or the login name and password
// (server). Logging in stores the login, hands it to the database layer
// and runs the waiting command; cancelling stores nothing and runs nothing.
#include <windows.h>

#include <string>

#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"

namespace {

constexpr int kLoginCommand = 112;
constexpr int kCharSize = 8;
constexpr char kNameField[] = "ログイン名";
constexpr char kPasswordField[] = "パスワード";

struct LoginState {
  HWND window = nullptr;
  HWND previous = nullptr;   // disabled while the window is open
  int slot = -1;
  int pendingCommand = 0;
  int dbKind = kDbKindFile;  // of the output database at opening
  int lastCode = 0;
};
LoginState g_login;

bool AsksName() { return g_login.dbKind != kDbKindFile; }

int AddLoginItems() {
  if (AddScreenButton("取消", "PAS00", 2, 0, 0, kKeyEscape, kItemEnabled, "EXIT_L.BMP", "", "") < 0 ||
      AddScreenButton("ログイン", "PAS01", 8, 0, 0, kLoginCommand, kItemEnabled, "LOGIN_L.BMP", "", "") < 0) {
    return -1;
  }
  if (AsksName() && AddScreenItem(kNameField, kNameField, 13, 3, 0, 10, 30, kCharSize, 'X', 0, 0, 'I', 'L',
                                  kItemEnabled, 0, 1, 0, 0, "", "") < 0) {
    return -1;
  }
  return AddScreenItem(kPasswordField, kPasswordField, 13, AsksName() ? 4 : 3, 0, 10, 20, kCharSize, 'X', 0,
                       0, 'P', 'P', kItemEnabled, 0, 1, 0, 0, "", "") < 0
             ? -1
             : 0;
}

void ShowStoredLogin() {
  if (AsksName()) SetItemValueForCommand(g_login.slot, kNameField, g_program.loginName.c_str());
  SetItemValueForCommand(g_login.slot, kPasswordField, g_program.loginPassword.c_str());
}

void TakeLogin() {
  char text[64] = "";
  if (AsksName()) {
    GetItemRawValue(g_login.slot, kNameField, text);
    g_program.loginName = text;
  }
  text[0] = '\0';
  GetItemRawValue(g_login.slot, kPasswordField, text);
  g_program.loginPassword = text;
}

// Closes the window; `loggedIn` hands the login on and runs the command.
void CloseLogin(bool loggedIn) {
  if (!IsValidSlot(g_login.slot)) return;
  const int slot = g_login.slot;
  g_login.slot = -1;
  if (g_login.previous) EnableWindow(g_login.previous, TRUE);
  CloseScreenWindow(slot, 1);
  if (g_login.previous) SendMessageA(g_login.previous, kMsgScreenClosed, slot, 0);
  if (!loggedIn) return;
  SetDbLogin(g_program.loginName.c_str(), g_program.loginPassword.c_str());
  PrepareDbLogin();
  FinishDbLogin();
  RunCommandAfterLogin(g_login.pendingCommand);
}

void OnCommand(int code) {
  g_login.lastCode = code;
  const bool enterOnPassword = code == VK_RETURN && GetFieldLink("/CUR") == 'P';
  if (code == kKeyEscape) {
    CloseLogin(false);
  } else if (code == kLoginCommand || enterOnPassword) {
    TakeLogin();
    CloseLogin(true);
  } else {
    ApplyPendingFocus();
  }
}

}  // namespace

HWND RegisterLoginWindow() {
  g_login.window = CreateHiddenWindow({"Pas", LoginWindowProc, CS_HREDRAW | CS_VREDRAW,
                                       WS_POPUP | WS_MAXIMIZE | WS_BORDER | WS_DLGFRAME | WS_SYSMENU});
  return g_login.window;
}

int OpenLoginWindow(int command) {
  g_login.pendingCommand = command;
  g_login.dbKind = g_output.dbKind;
  g_login.lastCode = 0;
  if (AddLoginItems() != 0) {
    DiscardBuildingItems();
    return 0;
  }
  OpenSideScreen(g_login.window, &g_login.previous, -2, -2, 222, AsksName() ? 200 : 170, kLoginScreen, 3,
                 "ログイン");
  return 0;
}

LRESULT CALLBACK LoginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, g_login.slot)) return 0;
      break;
    case kMsgSlotOpened:
      g_login.slot = static_cast<int>(wParam);
      ShowStoredLogin();
      return 0;
    case kMsgScreenCommand:
      OnCommand(static_cast<int>(wParam));
      return 0;
    case WM_CLOSE:
      CloseLogin(false);
      return 0;
    case kMsgCloseWindow:
      CloseLogin(g_login.lastCode != kKeyEscape && g_login.lastCode != 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
