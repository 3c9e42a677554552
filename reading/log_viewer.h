// The error-log viewer of the workbench: Notepad on the log, started as a
// process of its own and known by that process, not by a window title
// (which each system spells its own way). Asking again while it runs
// closes it, so there is never a second viewer.
#pragma once

#include <windows.h>

#include <string>

class LogViewer {
 public:
  LogViewer() = default;
  ~LogViewer();
  LogViewer(const LogViewer&) = delete;
  LogViewer& operator=(const LogViewer&) = delete;

  // Closes a running viewer; otherwise shows `path` ("“%s”は作成されて
  // いません。" when there is no such file). 0, or -1 after the message.
  int Toggle(const std::string& path);
  // Closes the viewer when it runs.
  void Close();
  bool Running() const;
  DWORD processId() const { return process_.dwProcessId; }

 private:
  PROCESS_INFORMATION process_ = {};
};
