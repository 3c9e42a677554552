// Entry point of both programs: start, run the message loop while the menu
// is open, end.
#include <windows.h>

#include "program/program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int) {
  const StartOutcome outcome = StartProgram(instance, previous, commandLine);
  if (outcome == StartOutcome::kNotStarted) return 0;
  const int code = outcome == StartOutcome::kMenuOpen ? RunMessageLoop() : 0;
  EndProgram();
  return code;
}
