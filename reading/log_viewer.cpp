#include "reading/log_viewer.h"

#include <vector>

#include "foundation/files.h"
#include "foundation/msgbox.h"

namespace {

constexpr DWORD kCloseWaitMilliseconds = 3000;

BOOL CALLBACK CloseWindowOfProcess(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

LogViewer::~LogViewer() {
  if (process_.hProcess) CloseHandle(process_.hProcess);
}

bool LogViewer::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void LogViewer::Close() {
  if (!process_.hProcess) return;
  if (Running()) {
    EnumWindows(CloseWindowOfProcess, static_cast<LPARAM>(process_.dwProcessId));
    if (WaitForSingleObject(process_.hProcess, kCloseWaitMilliseconds) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 0);
      WaitForSingleObject(process_.hProcess, kCloseWaitMilliseconds);
    }
  }
  CloseHandle(process_.hProcess);
  process_ = {};
}

int LogViewer::Toggle(const std::string& path) {
  if (Running()) {
    Close();
    return 0;
  }
  Close();
  if (FileExists(path.c_str()) != 0) {
    ShowWorkbenchMessage("", "“%s”は作成されていません。", path.c_str());
    return -1;
  }
  std::string command = "NOTEPAD.EXE " + path;
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_)) {
    const DWORD error = GetLastError();
    process_ = {};
    if (error == ERROR_FILE_NOT_FOUND) {
      ShowWorkbenchMessage("", "起動するプログラムが設定されていません。(%s)", command.c_str());
    } else if (error == ERROR_PATH_NOT_FOUND) {
      ShowWorkbenchMessage("", "プログラムのフォルダが見つかりません。(%s)", command.c_str());
    } else {
      ShowWorkbenchMessage("", "“%s”を起動できません。(%lu)", command.c_str(), error);
    }
    return -1;
  }
  CloseHandle(process_.hThread);
  process_.hThread = nullptr;
  return 0;
}
