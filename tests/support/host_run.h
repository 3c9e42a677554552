// A program of the build run under Wine by the host's shell, so that a test
// can stop it as an operator's "kill -9" stops it: by the host's id of the
// process, with no chance for the program to finish what it was doing.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class HostRun {
 public:
  // Starts the program folder's `program` with `arguments` (Shift-JIS, each
  // one argument); the shell's script and its notes of the process go into
  // `folder`.
  HostRun(const std::string& folder, const std::string& program, const std::vector<std::string>& arguments);
  HostRun(const HostRun&) = delete;
  HostRun& operator=(const HostRun&) = delete;

  // False when the shell could not be started or named no process.
  bool started() const { return pid_ > 0; }
  bool Ended() const;
  // Waits up to `ms` for the program's end; true when it ended.
  bool WaitEnd(DWORD ms) const;
  // kill -9 of the program's process, then waits for its end.
  void Kill() const;
  // The program's exit status as the host tells it (128 + 9 when killed),
  // or -1 while it runs.
  int Status() const;

 private:
  std::string endFile_;
  int pid_ = 0;
};
