// The workbench and the reading-run dialog under Wine, opened as the
// project screen opens them and driven as the operator drives them:
// buttons clicked with the mouse, pop-up lines picked, the dialog's values
// typed in; the scanner's feeder installed and USER.INI's resolution set
// for the test and put back after it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/reading/run_fixture.h"

// With SHEETDESK_PICTURES naming a folder, what the display shows of a
// window is saved there as "<name>.png", for a person to look at.
void SavePicture(HWND window, const char* name);

class WorkbenchFixture : public ReadingDbTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  static std::string ProgramFolderPath(const char* name);
  // The workbench reads its resolution from USER.INI when it opens.
  void UseDpi(int dpi);

  // Opens the workbench on the loaded sheet `sheetName` in a mode (1 design
  // and test reading, 2 operation), as the project screen does.
  void OpenWorkbench(int mode, const char* sheetName);
  void CloseWorkbench();

  HWND Workbench() const { return FindWindowA("KQE_READ", nullptr); }
  HWND Dialog() const { return FindWindowA("Def", nullptr); }
  bool DialogOpen() const { return IsWindowVisible(Dialog()) != FALSE; }
  static int SlotOf(HWND window);

  // Presses and releases the mouse on an item of a window's screen, at a
  // point no other item of the screen covers (the shift buttons overlap).
  void ClickButton(HWND window, const char* name);
  // A button with choices: the line the operator picks in its pop-up.
  void Choose(int command, int line);
  std::string Field(HWND window, const char* name);
  void Type(HWND window, const char* name, const char* text);

 private:
  HWND main_ = nullptr;
  std::vector<HWND> windows_;
  std::string userIni_;
};
