#include "host_run.h"

#include <cstdlib>
#include <vector>

#include "foundation/db_internal.h"
#include "foundation/files.h"
#include "test_pictures.h"

namespace {

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
  std::string command = "\"$WINE\" " + Quoted(HostPath((GetProgramFolder() + "\\" + program).c_str()));
  for (const std::string& argument : arguments) command += " " + Quoted(ToDbText(argument.c_str()));
  const std::string script = "[ -n \"$WINE\" ] && [ -n \"$WINEPREFIX\" ] || exit 2\n" + command + " &\n" +
                             "echo $! > " + Quoted(HostPath(pidFile.c_str())) + "\n" +
                             "{ wait $!; } 2>/dev/null\n" +
                             "echo $? > " + Quoted(HostPath(endFile_.c_str())) + "\n";
  const std::string scriptFile = folder + "\\host_run.sh";
  if (!WriteBytes(scriptFile, script)) return;
  if (!StartOnHost("Z:\\bin\\sh \"" + HostPath(scriptFile.c_str()) + "\"")) return;
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
