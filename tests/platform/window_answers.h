// Answers the dialogs the scanner library opens on the test's thread, as an
// operator would, so that nothing waits headless: the scanner choice gets
// keys on its list (its names are recorded), any other dialog (a message box)
// has its text recorded and is confirmed. Installed for the life of the
// object, one at a time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class WindowAnswers {
 public:
  WindowAnswers();
  ~WindowAnswers();
  WindowAnswers(const WindowAnswers&) = delete;
  WindowAnswers& operator=(const WindowAnswers&) = delete;

  std::vector<std::string> boxes;    // texts of the boxes confirmed
  std::vector<std::string> choices;  // the names the last choice window listed
  int choiceWindows = 0;             // how many choice windows opened
  // Pressed on the choice window's list before Enter (none when 0);
  // VK_ESCAPE cancels the choice instead.
  UINT key = 0;

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM wp, LPARAM lp);
  static void CALLBACK Answer(HWND, UINT, UINT_PTR timer, DWORD);

  HWND waiting_ = nullptr;   // waiting for its answer
  HWND answered_ = nullptr;  // answered already: activated again, not answered twice
  HHOOK hook_ = nullptr;
};
