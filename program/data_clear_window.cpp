// The data-clearing window "Clr": after a confirmation it deletes what the
// reading runs of the current definition produced, as the user chose: the
// output table, the scanned images, the area images cut out of the sheets
// and the run logs. A file that cannot be deleted is named, the clearing
// stops there and completion is not reported.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"

namespace {

constexpr int kRunCommand = 112;
constexpr char kTargetsField[] = "削除対象";
constexpr char kDefaultTargets[] = "1011";
constexpr int kColumns = 75;
constexpr char kCutImagesText[] = "切り取りイメージ (マウスにより指定された領域)";

struct DataClearState {
  HWND window = nullptr;
  HWND previous = nullptr;
  int slot = -1;
};
DataClearState g_clear;

bool MergedImages() { return g_output.cutImageSetting == 1; }

std::string TargetChoices() {
  const std::string table = "読み取られた内容 (テーブル：" + g_output.table + ")";
  if (MergedImages()) return table + ",,,ログファイル     (読み取り状況確認用テキスト)";
  return table + ",読み取りイメージ (スキャナから読み込んだシートの画像)," + kCutImagesText +
         ",ログファイル     (読み取り状況確認用テキスト)";
}

int AddClearItems() {
  if (AddScreenButton("ｷｬﾝｾﾙ", "SCRQUIT", 2, 0, 0, kKeyEscape, kItemEnabled, "QUIT_S.BMP",
                      "初期化を行わずに画面を閉じます", "") < 0 ||
      AddScreenButton("実 行", "SCRDISP", 8, 0, 0, kRunCommand, kItemEnabled, "DATCLR.BMP",
                      "チェックした対象を初期化(削除)します", "") < 0) {
    return -1;
  }
  const std::string choices = TargetChoices();
  const int first = static_cast<int>(choices.find(','));
  const int width = std::max(first + 6, 54);
  const int column = (kColumns - width - 2) / 2;
  // Four choices one below the other: the list is their height in pixels.
  if (AddScreenCheck("", kTargetsField, column, 4, 0, width, 140, 8, 0, kItemEnabled,
                     "初期化(削除)を行う対象にチェックしてください", choices.c_str(), "") < 0) {
    return -1;
  }
  if (MergedImages() && AddScreenItem(kCutImagesText, "CUTIMG", column + 4, 6, 0,
                                      static_cast<int>(std::strlen(kCutImagesText)), 1, 8, 'X', 0, 0, 0, 'L',
                                      kItemProtected, 0, 7, 0, 0, kCutImagesText, "") < 0) {
    return -1;
  }
  const char* note = "初期化(削除)を行う対象にチェックして〔実行〕を押してください。";
  return AddScreenItem(note, "MSG1", 6, 13, 0, static_cast<int>(std::strlen(note)), 1, 8, 'X', 0, 0, 0, 'L',
                       kItemProtected, 0, 7, 0, 0, note, "") < 0
             ? -1
             : 0;
}

void CloseDataClear() {
  if (!IsValidSlot(g_clear.slot)) return;
  const int slot = g_clear.slot;
  const int number = Slot(slot).windowCode;
  g_clear.slot = -1;
  if (g_clear.previous) EnableWindow(g_clear.previous, TRUE);
  CloseScreenWindow(slot, 1);
  if (g_clear.previous) SendMessageA(g_clear.previous, kMsgScreenClosed, number, 0);
}

void RunClearing() {
  char flags[8] = "";
  GetItemValueForCommand(g_clear.slot, kTargetsField, flags);
  if (ClearReadData(DataClearTargetsFromFlags(flags, MergedImages())) != -1) CloseDataClear();
}

// Deletes every file of `folder` matching `pattern`: 0, or -1 after the
// message naming the first file that could not be deleted.
int DeleteMatchingFiles(const std::string& folder, const char* pattern) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  WaitCursor wait;
  int rc = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = folder + "\\" + found.cFileName;
    if (DeleteFileChecked(path.c_str()) != 0) {
      ShowErrorMessage("", "“%s”を削除できません。\n初期化を中断しました。", path.c_str());
      rc = -1;
    }
  } while (rc == 0 && FindNextFileA(search, &found));
  FindClose(search);
  return rc;
}

int DeleteLogs() {
  for (const char* suffix : {"_ERR.LOG", "_PUT.LOG", "_HOS.LOG"}) {
    const std::string path = g_program.logFolder + "\\" + DefinitionName() + suffix;
    if (FileExists(path.c_str()) != 0) continue;
    if (DeleteFileChecked(path.c_str()) != 0) {
      ShowErrorMessage("", "“%s”を削除できません。\n初期化を中断しました。", path.c_str());
      return -1;
    }
  }
  return 0;
}

int DropOutputTable() {
  if (g_output.database.empty()) {
    ShowInfoMessage("", "データベース名が設定されていません。");
    return -1;
  }
  if (g_output.table.empty()) {
    ShowInfoMessage("", "テーブル名が設定されていません。");
    return -1;
  }
  const int t = db_open_nocreate(g_output.folder.c_str(), g_output.database.c_str(), g_output.table.c_str(),
                                 g_output.dbKind, "", "", "");
  if (t < 0) return DbTableMissing() ? 0 : -1;
  db_close(t);
  return DropTableByConnect(g_output.folder.c_str(), g_output.database.c_str(), g_output.table.c_str(),
                            g_output.dbKind);
}

}  // namespace

DataClearTargets DataClearTargetsFromFlags(const char* flags, bool merged) {
  const auto on = [flags](int position) {
    return static_cast<int>(std::strlen(flags)) > position && flags[position] == '1';
  };
  DataClearTargets targets;
  targets.merged = merged;
  targets.table = on(0);
  targets.scanned = !merged && on(1);
  targets.cutImages = merged ? on(1) : on(2);
  targets.logs = on(3);
  return targets;
}

int ClearReadData(const DataClearTargets& targets) {
  std::string list;
  if (targets.table) list += "○読み取られた内容：テーブル“" + g_output.table + "”\n";
  if (targets.scanned) list += "○読み取りイメージ\n  (" + g_program.imageFolder + ")\n";
  if (targets.cutImages) {
    list += targets.merged ? "○読み取りイメージ＆切り取りイメージ\n" : "○切り取りイメージ\n";
    list += "  (" + g_output.folder + ")\n";
  }
  if (targets.logs) list += "○ログファイル\n        (" + g_program.logFolder + ")\n";
  if (list.empty()) return -1;
  list.pop_back();
  if (AskYesNo("", "%s\n\n以上のファイルを初期化(削除)してもよろしいですか？", list.c_str()) != IDYES) return -1;
  if (targets.table && DropOutputTable() != 0) return -1;
  if (targets.scanned && DeleteMatchingFiles(g_program.imageFolder, "*.BMP") != 0) return -1;
  if (targets.cutImages && DeleteMatchingFiles(g_output.folder, "*.BMP") != 0) return -1;
  if (targets.logs && DeleteLogs() != 0) return -1;
  ShowInfoMessage("", "初期化処理が終了しました。");
  return 0;
}

HWND RegisterDataClearWindow() {
  g_clear.window = CreateHiddenWindow({"Clr", DataClearWindowProc, CS_HREDRAW | CS_VREDRAW,
                                       WS_POPUP | WS_BORDER | WS_DLGFRAME | WS_SYSMENU});
  return g_clear.window;
}

int OpenDataClearWindow(int screenNumber) {
  if (AddClearItems() != 0) {
    DiscardBuildingItems();
    return 0;
  }
  POINT mouse{};
  GetCursorPos(&mouse);
  OpenSideScreen(g_clear.window, &g_clear.previous, std::max(0, static_cast<int>(mouse.x) - 80), 10, 600, 440,
                 screenNumber, 1, "データ初期化");
  return 0;
}

LRESULT CALLBACK DataClearWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, g_clear.slot)) return 0;
      break;
    case kMsgSlotOpened:
      g_clear.slot = static_cast<int>(wParam);
      SetItemValueForCommand(g_clear.slot, kTargetsField, kDefaultTargets);
      return 0;
    case kMsgScreenCommand:
      if (wParam == static_cast<WPARAM>(kKeyEscape)) {
        CloseDataClear();
      } else if (wParam == static_cast<WPARAM>(kRunCommand)) {
        RunClearing();
      } else {
        ApplyPendingFocus();
      }
      return 0;
    case WM_CLOSE:
    case kMsgCloseWindow:
      CloseDataClear();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
