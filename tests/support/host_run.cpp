#include "host_run.h"

#include <cstdlib>
#include <vector>

#include "foundation/files.h"
#include "test_pictures.h"

namespace {

// The host's name of a Windows path, in UTF-8 as the host takes names.
std::string HostName(const std::string& path) {
  using UnixNameFn = char*(CDECL*)(LPCWSTR);
  static const auto toUnix = reinterpret_cast<UnixNameFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return "";
  std::vector<WCHAR> wide(path.size() + 1);
  if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size())) == 0) return "";
  char* name = toUnix(wide.data());
  if (!name) return "";
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

std::string Utf8(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::vector<WCHAR> wide(length);
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
  std::string result(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, result.data(), bytes, nullptr, nullptr);
  result.resize(bytes - 1);
  return result;
}

// Single quotes keep every byte of a name from the shell.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Starts a host program (Wine runs a file that is no Windows program on the
// host) with a command line in UTF-8, as the host's names are; its process
// cannot be waited for from here.
bool StartOnHost(const std::string& commandLine) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, nullptr, 0);
  std::vector<WCHAR> wide(length);
  MultiByteToWideChar(CP_UTF8, 0, commandLine.c_str(), -1, wide.data(), length);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return false;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  return true;
}

}  // namespace

HostRun::HostRun(const std::string& folder, const std::string& program, const std::vector<std::string>& arguments) {
  const std::string pidFile = folder + "\\host_run.pid";
  endFile_ = folder + "\\host_run.end";
  DeleteFileA(pidFile.c_str());
  DeleteFileA(endFile_.c_str());
  // The program's id is written before it may end, and its status once
  // the shell saw it end, however it ended (quietly: a kill is expected).
  std::string command = "\"$WINE\" " + Quoted(HostName(GetProgramFolder() + "\\" + program));
  for (const std::string& argument : arguments) command += " " + Quoted(Utf8(argument));
  const std::string script = "[ -n \"$WINE\" ] && [ -n \"$WINEPREFIX\" ] || exit 2\n" + command +
                             " &\necho $! > " + Quoted(HostName(pidFile)) + "\n{ wait $!; } 2>/dev/null\necho $? > " +
                             Quoted(HostName(endFile_)) + "\n";
  const std::string scriptFile = folder + "\\host_run.sh";
  if (!WriteBytes(scriptFile, script)) return;
  if (!StartOnHost("Z:\\bin\\sh \"" + HostName(scriptFile) + "\"")) return;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 20000) {
    const std::string id = ReadBytes(pidFile);
    if (!id.empty() && id.back() == '\n') {
      pid_ = std::atoi(id.c_str());
      return;
    }
    Sleep(5);
  }
}

bool HostRun::Ended() const {
  return GetFileAttributesA(endFile_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool HostRun::WaitEnd(DWORD ms) const {
  const DWORD start = GetTickCount();
  while (!Ended()) {
    if (GetTickCount() - start >= ms) return false;
    Sleep(5);
  }
  return true;
}

void HostRun::Kill() const {
  if (pid_ <= 0 || Ended()) return;
  StartOnHost("Z:\\bin\\kill -9 " + std::to_string(pid_));
  WaitEnd(30000);
}

int HostRun::Status() const {
  return Ended() ? std::atoi(ReadBytes(endFile_).c_str()) : -1;
}
