// The PDF manuals: the reader program the operator chose, kept in the
// settings database, started on a manual of the program folder.
#include <windows.h>
// after windows.h
#include <commdlg.h>

#include <string>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/test_hooks.h"
#include "shell/shell.h"

namespace {

constexpr char kSettingsDatabase[] = "MUPAINIT";
constexpr char kSettingsTable[] = "MUPA_SET";

// The settings table in the program folder, on its first row (added when
// there is none). The slot, or -1 (reported by the database layer).
int OpenFirstSettingsRow() {
  const int slot = db_open(GetProgramFolder().c_str(), kSettingsDatabase, kSettingsTable,
                           kDbKindFile, "MUPADATA", kSettingsTable, "");
  if (slot < 0) return -1;
  if (db_tfind(slot, 0) != 0) {
    db_clear(slot);
    SetColumnText(slot, "設定コード", "1");
    if (db_add(slot) != 0 || db_tfind(slot, 0) != 0) {
      db_close(slot);
      return -1;
    }
  }
  return slot;
}

std::string ReaderPath() {
  const int slot = OpenFirstSettingsRow();
  if (slot < 0) return "";
  const std::string path = GetColumnText(slot, "LKPATH2");
  db_close(slot);
  return path;
}

INT_PTR RunOpenFileDialog(void* data) {
  return GetOpenFileNameA(static_cast<OPENFILENAMEA*>(data));
}

}  // namespace

int OpenManualPdf(const char* file) {
  const std::string reader = ReaderPath();
  if (reader.empty()) {
    ShowInfoMessage(
        "",
        "「Adobe Reader」が見つかりません。\n「Adobe Reader」がインストールされていない場合は、"
        "「Adobe」のWebサイトから「Adobe Reader」をダウンロードし、インストールしてください。\n"
        "インストールされている場合は、〔Ctrl〕を押しながら、ヘルプのアイコンを押して、使用する"
        "「Adobe Reader」を選択してください。");
    return -1;
  }
  const std::string command = reader + " " + GetProgramFolder() + "\\マニュアル\\" + file;
  if (StartExternalProgram(command.c_str(), SW_SHOWNORMAL) < 32) {
    ShowInfoMessage(
        "",
        "「Adobe Reader」を起動できません。\n\n%s\n\n使用する「Adobe Reader」を選択する場合は、"
        "〔Ctrl〕→「操作説明書」を押してください。",
        command.c_str());
    return -1;
  }
  return 0;
}

int ChooseAdobeReader() {
  char path[MAX_PATH] = "*.exe";
  char system[MAX_PATH] = "C";
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string folder = std::string(1, system[0]) + ":\\Program Files (x86)\\Adobe";
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = "*.exe\0*.exe\0";
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrTitle = "「Adobe Reader」選択";
  dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!RunModalDialog("GetOpenFileName", &dialog, RunOpenFileDialog)) return -1;
  const int slot = OpenFirstSettingsRow();
  if (slot < 0) return -1;
  SetColumnText(slot, "LKPATH2", path);
  const int result = db_update(slot);
  db_close(slot);
  if (result != 0) return -1;
  ShowInfoMessage("", "「%s」を設定しました。", path);
  return 0;
}
