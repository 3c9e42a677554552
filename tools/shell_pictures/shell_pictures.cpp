// Starts the program in its folder as the user would, opens each screen of
// the shell in turn (the menu, the database choice, the login for the file
// and for the server database, data clearing, the sheet settings, the
// survey items lists) and
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

// Two questions in 調査項目 of the definition "PICTURE" of `folder`.
void AddSampleQuestions(const std::string& folder) {
  const int t = db_open(folder.c_str(), "PICTURE", "調査項目", kDbKindFile, "調査項目", "調査項目", "");
  if (t < 0) return;
  const char* const rows[][4] = {
      {"001", "Q1", "性別", "男性,女性"},
      {"002", "Q2", "年代", "20代,30代,40代,50代以上"},
  };
  for (const auto& row : rows) {
    SetColumnText(t, "質問コード", row[0]);
    SetColumnText(t, "項目名", row[1]);
    SetColumnText(t, "質問内容", row[2]);
    SetColumnText(t, "選択肢", row[3]);
    SetColumnText(t, "カウントデータ", "1234");
    db_add(t);
  }
  db_close(t);
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

  // The survey items list of that definition, with two questions.
  AddSampleQuestions(out + "\\teigi");
  if (OpenSurveyItemsScreen() == 0) {
    RunDisplayMessages();
    SaveWindow(FindWindowA("Lst", nullptr), out + "\\survey-items.png");
    Close("Lst");
  }
  // The same questions as the tally menu changes them.
  if (OpenScreen("", kScreenDatabase, "KOMK-CHG", -1, -1, "") == 0) {
    RunDisplayMessages();
    SaveWindow(FindWindowA("Lst", nullptr), out + "\\survey-items-change.png");
    Close("Lst");
  }

  SendMessageA(g_program.mainWindow, kMsgCloseWindow, 0, 0);
  RunDisplayMessages();
  EndProgram();
  return 0;
}
