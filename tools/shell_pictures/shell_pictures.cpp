// Starts the program in its folder as the user would, opens each screen of
// the shell in turn (the menu, the database choice, the login for the file
// and for the server database, data clearing, the sheet settings) and
// saves what the display shows of each window as a PNG, for a person to
// look at.
//
// Usage: shell_pictures <output folder>   (run in the program folder, on a
// display: tools/shell_pictures/shell_pictures.sh)
#include <windows.h>

#include <cstdio>
#include <string>

#include "designer/designer.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/support/window_picture.h"

namespace {

bool SaveWindow(HWND window, const std::string& path) { return SaveWindowPicture(window, path); }

// Closes what a screen window shows (as its Esc does) and runs the messages.
void Close(const char* className) {
  if (const HWND window = FindWindowA(className, nullptr)) SendMessageA(window, kMsgCloseWindow, 0, 0);
  RunDisplayMessages();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: shell_pictures <output folder>\n");
    return 2;
  }
  const std::string out = argv[1];
  CreateDirectoryA(out.c_str(), nullptr);
  // The mouse kept off the windows: a field under it would show its hover
  // tip over the picture.
  SetCursorPos(0, 0);
  if (StartProgram(GetModuleHandleA(nullptr), nullptr, "") != StartOutcome::kMenuOpen) {
    std::fprintf(stderr, "the menu did not open\n");
    return 1;
  }
  RunDisplayMessages();
  SaveWindow(g_program.mainWindow, out + "\\menu.png");

  RunMenuCommand(kCmdServerChoice);
  RunDisplayMessages();
  SaveWindow(FindWindowA("Sup", nullptr), out + "\\server-choice.png");
  Close("Sup");

  g_output.table = "KAITO";
  for (const int kind : {kDbKindFile, kDbKindServer}) {
    g_output.dbKind = kind;
    OpenLoginWindow(0);
    RunDisplayMessages();
    SaveWindow(FindWindowA("Pas", nullptr), out + (kind == kDbKindFile ? "\\login-file.png" : "\\login-server.png"));
    Close("Pas");
  }
  g_output.dbKind = kDbKindFile;
  OpenDataClearWindow(kDataClearScreen);
  RunDisplayMessages();
  SaveWindow(FindWindowA("Clr", nullptr), out + "\\data-clearing.png");
  Close("Clr");

  // The sheet settings of a new definition in the output folder.
  CreateDirectoryA((out + "\\teigi").c_str(), nullptr);
  SetCurrentDefinition(out + "\\teigi", "PICTURE");
  if (OpenSheetSettingsScreen(g_program.mainWindow) == 0) {
    RunDisplayMessages();
    SaveWindow(FindWindowA("OcrSet", nullptr), out + "\\sheet-settings.png");
    Close("OcrSet");
  }

  SendMessageA(g_program.mainWindow, kMsgCloseWindow, 0, 0);
  RunDisplayMessages();
  EndProgram();
  return 0;
}
