// What ties the program to the machine it runs on: the settings row of the
// work folder's settings database, the PDF manuals in the PDF reader (found
// under the program folders, or chosen by the user, and remembered), the
// handwriting font of the sheets, and the message and sound that end a
// reading run.
#include <windows.h>
#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

constexpr char kReaderColumn[] = "LKPATH2";

INT_PTR RunOpenFileName(void* data) { return GetOpenFileNameA(static_cast<OPENFILENAMEA*>(data)); }

char SystemDrive() {
  char folder[MAX_PATH] = "C:";
  GetSystemDirectoryA(folder, sizeof folder);
  return folder[0];
}

// The stored reader path, "" when none is stored or the row cannot be read.
std::string StoredReaderPath() {
  const int t = OpenSettingsRow();
  if (t < 0) return "";
  const std::string path = GetColumnText(t, kReaderColumn);
  db_close(t);
  return path;
}

// Stores the reader path in the settings row: 0, or -1 (reported by the
// database layer).
int StoreReaderPath(const std::string& path) {
  const int t = OpenSettingsRow();
  if (t < 0) return -1;
  SetColumnText(t, kReaderColumn, path.c_str());
  const int rc = db_update(t);
  db_close(t);
  return rc;
}

// The status line of the menu (its field "HELPMSG"), when the menu is open.
void ShowMenuStatus(const std::string& text) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state == kFreeSlotState || Slot(s).window != g_program.mainWindow || !g_program.mainWindow) continue;
    if (ResolveFieldRef(s, "HELPMSG") >= 0) SetItemValueForCommand(s, "HELPMSG", text.c_str());
  }
}

int CALLBACK MarkFontFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

}  // namespace

int OpenSettingsRow() {
  const int t = db_open(g_program.workFolder.c_str(), kSettingsDatabase, kSettingsTable, kDbKindFile,
                        kSettingsSpec, kSettingsTable, "");
  if (t < 0) return -1;
  if (db_search(t, "1", "設定コード") == 0) return t;
  db_clear(t);
  SetColumnText(t, "設定コード", "1");
  SetColumnInt(t, "ＤＢ種別", 1);
  SetColumnInt(t, "読取解像度", 1);
  if (db_add(t) != 0 || db_search(t, "1", "設定コード") != 0) {
    db_close(t);
    return -1;
  }
  return t;
}

int FindAdobeReader(std::string* path, char systemDrive) {
  path->clear();
  const char drive = systemDrive ? systemDrive : SystemDrive();
  for (const char* programs : {"Program Files", "Program Files (x86)"}) {
    const std::string adobe = std::string(1, drive) + ":\\" + programs + "\\Adobe";
    const std::string pattern = adobe + "\\*.*";
    ShowMenuStatus("“" + pattern + "”を探索します。");
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const std::string entry = found.cFileName;
      std::vector<std::string> candidates;
      if (entry.compare(0, 6, "Reader") == 0) {
        candidates = {adobe + "\\" + entry + "\\Reader\\AcroRd32.exe"};
      } else if (entry.compare(0, 7, "Acrobat") == 0) {
        candidates = {adobe + "\\" + entry + "\\Reader\\AcroRd32.exe",
                      adobe + "\\" + entry + "\\Acrobat\\Acrobat.exe"};
      }
      for (const std::string& candidate : candidates) {
        if (FileExists(candidate.c_str()) == 0) {
          *path = candidate;
          break;
        }
      }
    } while (path->empty() && FindNextFileA(search, &found));
    FindClose(search);
    if (!path->empty()) break;
  }
  ShowMenuStatus("");
  return path->empty() ? -1 : 0;
}

int OpenManualPdf(const char* fileName) {
  const std::string manual = g_program.programFolder + "\\マニュアル\\" + fileName;
  if (FileExistsAlt(manual.c_str()) != 0) return ShowNotBuilt(NotBuilt::kManual, manual.c_str());
  std::string reader = StoredReaderPath();
  if (!reader.empty()) {
    std::string folder(reader.size() + 1, '\0');
    GetDirectoryPart(folder.data(), reader.c_str());
    folder.resize(std::strlen(folder.c_str()));
    if (FileExistsAlt(folder.c_str()) != 0) {
      ShowInfoMessage("", "フォルダ“%s”は存在しません。他の「Adobe Reader」をサーチします。", folder.c_str());
      reader.clear();
    }
  }
  if (reader.empty()) {
    if (FindAdobeReader(&reader) != 0) {
      ShowInfoMessage("", "「Adobe Reader」が見つかりません。\n"
                          "「Adobe Reader」がインストールされていない場合は、「Adobe」のWebサイトから"
                          "「Adobe Reader」をダウンロードし、インストールしてください。\n"
                          "インストールされている場合は、〔Ctrl〕を押しながら、ヘルプのアイコンを押して、"
                          "使用する「Adobe Reader」を選択してください。");
      return -1;
    }
    StoreReaderPath(reader);
  }
  // Both paths quoted: either may hold blanks.
  const std::string command = "\"" + reader + "\" \"" + manual + "\"";
  if (StartExternalProgram(command.c_str(), SW_SHOWNORMAL) >= 32) return 0;
  ShowInfoMessage("", "「Adobe Reader」を起動できません。\n\n%s\n\n"
                      "使用する「Adobe Reader」を選択する場合は、〔Ctrl〕→「操作説明書」を押してください。",
                  command.c_str());
  return -1;
}

bool AskFileToOpen(const std::string& title, const char* pattern, const std::string& folder, char* file,
                   int size) {
  lstrcpynA(file, pattern, size);
  // The filter: the pattern as its own name, then the terminating pair.
  const std::string filter = std::string(pattern) + '\0' + pattern + '\0';
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = static_cast<DWORD>(size);
  ofn.lpstrInitialDir = folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return RunModalDialog("GetOpenFileName", &ofn, RunOpenFileName) != 0;
}

int ChooseAdobeReader() {
  const std::string initial = std::string(1, SystemDrive()) + ":\\Program Files (x86)\\Adobe";
  char file[MAX_PATH];
  if (!AskFileToOpen("「Adobe Reader」選択", "*.exe", initial, file, sizeof file)) return -1;
  if (StoreReaderPath(file) != 0) return -1;
  ShowInfoMessage("", "「%s」を設定しました。", file);
  return 0;
}

int CheckHandwritingFont() {
  bool found = false;
  const HDC screen = GetDC(nullptr);
  EnumFontFamiliesA(screen, kHandwritingFace, MarkFontFound, reinterpret_cast<LPARAM>(&found));
  ReleaseDC(nullptr, screen);
  if (found) return 0;
  if (g_program.windowsVersionClass >= 1 && g_program.windowsVersionClass <= 7) {
    ShowInfoMessage("", "「手書き風フォント」がインストールされていません。\n\n"
                        "「コントロールパネル」→「デスクトップのカスタマイズ」→\n"
                        "「フォント」で、「ファイル」→「新しいフォントのインストール」をクリックしてください。\n");
  } else {
    ShowInfoMessage("", "「手書き風フォント」がインストールされていません。\n\n"
                        "“%s\\fonts”の“KQMUPA.ttf”を右クリックして、「インストール」を選択してください。",
                    g_program.workFolder.c_str());
  }
  return -1;
}

void ShowReadingTimeMessage(int count, DWORD startMs, DWORD endMs) {
  SetFieldText("OCRMSG", FormatReadingTime(count, startMs, endMs).c_str());
  PlayWaveFile(GetActiveWindow(), "termination.wav");
}
