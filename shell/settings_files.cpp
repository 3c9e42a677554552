// The server choice ("server.dat" of the program folder) and the current
// sheet definition ("ocrpath.dat" of the work folder): one line each, read
// at the menu's start and rewritten whole when the user changes them. A
// file is replaced only once its new text is written, so a failed write
// leaves the old choice.
#include <windows.h>

#include <string>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/spc_file.h"
#include "screen/screen.h"
#include "shell/shell.h"

OutputSettings g_output;

namespace {

std::string ServerListPath() { return g_program.programFolder + "\\" + kServerListFile; }
std::string DefinitionPathFile() { return g_program.workFolder + "\\" + kDefinitionPathFile; }

// The slot of the menu screen (the screen the main window shows), or -1.
int MenuSlot() {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).window == g_program.mainWindow && g_program.mainWindow) {
      return s;
    }
  }
  return -1;
}

void SetMenuField(const char* name, const char* text) {
  const int slot = MenuSlot();
  if (slot >= 0 && ResolveFieldRef(slot, name) >= 0) SetItemValueForCommand(slot, name, text);
}

}  // namespace

void SetCurrentDefinition(const std::string& folder, const std::string& name) {
  g_sheetDefinition.folder = folder;
  g_sheetDefinition.database = name;
  g_sheetDefinition.sheetCode = "0001";
}

const std::string& DefinitionFolder() { return g_sheetDefinition.folder; }
const std::string& DefinitionName() { return g_sheetDefinition.database; }

std::string DefinitionFilePath() { return DefinitionFolder() + "\\" + DefinitionName() + ".mdb"; }

void ReadServerList() {
  std::string text;
  ReadWholeFile(ServerListPath().c_str(), text);
  const ServerChoice choice = ParseServerList(text);
  g_output.dbKind = choice.kind;
  g_output.serverName = choice.server;
  if (choice.kind == kDbKindServer) {
    SetDbServer(kDbKindServer, 7, choice.server.c_str());
  } else {
    SetDbServer(kDbKindFile, 7, "");
  }
}

int WriteServerList() {
  if (ReplaceFileText(ServerListPath(), FormatServerList({g_output.dbKind, g_output.serverName})) != 0) {
    return -1;
  }
  ReadServerList();
  return 0;
}

std::string CurrentTitleLine() {
  return FormatTitleLine(kMainClassName, kProgramVersion, DefinitionFolder(), DefinitionName());
}

void ShowGuideArrow(const char* field) { SetMenuField(field, kGuideArrow); }

int ReadDefinitionPath() {
  std::string text, folder, name;
  if (!ReadWholeFile(DefinitionPathFile().c_str(), text) || !ParseDefinitionPath(text, folder, name)) {
    folder.clear();
    name.clear();
  }
  SetCurrentDefinition(folder, name);
  for (const char* field : {"HELPMSG", "PRODMSG1", "PRODMSG2", "PRODMSG3", "PRODMSG4", "PRODMSG5"}) {
    SetMenuField(field, "");
  }
  if (g_program.mainWindow) SetWindowTextA(g_program.mainWindow, CurrentTitleLine().c_str());
  SetMenuField("フォルダ名", g_output.folder.c_str());
  SetMenuField("定義ガイド", "");
  if (DefinitionFolder().empty() || DefinitionName().empty()) return -1;
  if (FileExists(DefinitionFilePath().c_str()) == 0) return 0;
  ShowInfoMessage("", "フォルダ“%s”に“%s.mdb”は、存在しません。\n移動、または、削除された可能性があります。",
                  DefinitionFolder().c_str(), DefinitionName().c_str());
  return -1;
}

int WriteDefinitionPath() {
  return ReplaceFileText(DefinitionPathFile(), FormatDefinitionPath(DefinitionFolder(), DefinitionName()));
}
