// The program started in the test's process with its sheet designer, as the
// designer's workbench tests use it: a sheet written into the
// installation's "teigi" folder and chosen, the workbench opened from the
// menu, its buttons with choices pressed.
#pragma once

#include <windows.h>

#include "tests/program/program_fixture.h"
#include "tools/sheetgen/sheet_generator.h"

// An A4 sheet (NumberedKeySheet) whose key item ID ("ＩＤ", four
// characters) is its write-in field the run numbers.
SheetDefinition KeyedSheet(const char* title);
// Makes the sheet read two pages a record (scan type 3, or 4 for two
// sheets a set), with the back's paper row a copy of the front's.
void AddBackPaper(SheetDefinition& d, int scanType);

class DesignerProgramTest : public ProgramTest {
 protected:
  void SetUp() override;
  void ChooseSheet(const SheetDefinition& definition, const char* name);
  // Opens the workbench of the chosen sheet by a command of the menu.
  HWND OpenBench(int command);
  // A button with choices: the line the operator picks in its pop-up.
  void Choose(int command, int line);
};
