// The start-up values of the program and the folders it works in: the work,
// image and log folders of every start, and on a start from a network
// folder the station's own copy of the program's files, made once.
#include <windows.h>

#include <string>

#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "shell/shell.h"

ProgramState g_program;

namespace {

// The files a station's work folder gets from the program folder.
const char* const kWorkFiles[] = {"MUPADATA.SPC", "FSCRTBL3.SPC", "調査項目.SPC", "調査定義.SPC",
                                  "fonts\\KQMUPA.TTF"};
const char* const kWorkSubFolders[] = {"image", "log", "teigi", "join", "data", "fonts"};

// Makes `folder` when it is missing: 0, or -1 after the message.
int MakeFolderIfMissing(const std::string& folder) {
  if (FileExistsAlt(folder.c_str()) == 0) return 0;
  if (EnsureDirectoryPath(folder.c_str()) == 0) return 0;
  ShowErrorMessage("", "フォルダ“%s”を作成できません。", folder.c_str());
  return -1;
}

// Copies `name` of `from` into `to`; a file the program folder does not hold
// is left out. 0, or -1 after the message.
int CopyWorkFile(const std::string& from, const std::string& to, const char* name) {
  const std::string source = from + "\\" + name;
  if (FileExists(source.c_str()) != 0) return 0;
  const std::string target = to + "\\" + name;
  if (CopyFileLz(source.c_str(), target.c_str()) == 0) return 0;
  ShowErrorMessage("", "“%s”を“%s”にコピーできません。", source.c_str(), target.c_str());
  return -1;
}

// Copies every "*.MDB" of the program's "teigi" into the station's: the
// number copied, or -1 after the message of the first that failed.
int CopyDefinitions(const std::string& from, const std::string& to) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((from + "\\teigi\\*.MDB").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int copied = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (CopyWorkFile(from + "\\teigi", to + "\\teigi", found.cFileName) != 0) {
      copied = -1;
      break;
    }
    ++copied;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return copied;
}

}  // namespace

WaitCursor::WaitCursor() { SetCursor(g_program.waitCursor ? g_program.waitCursor : LoadCursorA(nullptr, IDC_WAIT)); }

WaitCursor::~WaitCursor() {
  SetCursor(g_program.arrowCursor ? g_program.arrowCursor : LoadCursorA(nullptr, IDC_ARROW));
}

int GetWindowsVersionClass() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return 10;
#pragma GCC diagnostic pop
  const int platform = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 2 : 1;
  return WindowsVersionClass(platform, static_cast<int>(version.dwMajorVersion),
                             static_cast<int>(version.dwMinorVersion));
}

void SetMemFileName(const char* name) { g_program.memFileName = std::string(name) + ".MEM"; }

std::string ProgramWorkFolder() {
  return g_program.workFolder.empty() ? GetProgramFolder() : g_program.workFolder;
}

std::string ProgramDataFolder() { return ProgramWorkFolder() + "\\data"; }

int PrepareWorkFolders(const WorkFolders& plan, const std::string& sourceFolder) {
  g_program.workFolder = plan.work;
  g_program.imageFolder = plan.image;
  g_program.logFolder = plan.log;
  if (!plan.network) {
    if (MakeFolderIfMissing(plan.image) != 0 || MakeFolderIfMissing(plan.log) != 0) return -1;
    return 0;
  }
  const bool made = FileExistsAlt(plan.work.c_str()) != 0;
  if (MakeFolderIfMissing(plan.work) != 0) return -1;
  for (const char* sub : kWorkSubFolders) {
    if (MakeFolderIfMissing(plan.work + "\\" + sub) != 0) return -1;
  }
  if (!made) return 0;
  for (const char* name : kWorkFiles) {
    if (CopyWorkFile(sourceFolder, plan.work, name) != 0) return -1;
  }
  return CopyDefinitions(sourceFolder, plan.work);
}

int PrepareLocalWorkDirectory() {
  char current[MAX_PATH];
  GetCurrentFolder(current, sizeof current);
  char windows[MAX_PATH] = "C:";
  GetWindowsDirectoryA(windows, sizeof windows);
  return PrepareWorkFolders(PlanWorkFolders(current, windows[0]), current);
}
