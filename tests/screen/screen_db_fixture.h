// The fixture of the tests that open screens from a screen database: the
// engine reset with a recording main window, message boxes recorded and
// answered "Yes", and the fixture screens loaded with their tables on the
// file database (SQLite) or the server database (PostgreSQL, from
// SHEETDESK_PG), the test's parameter. The work windows screens are shown
// in are the derived fixture's (RegisterWindows).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/screen/screen_fixture_data.h"
#include "tests/support/hook_recorder.h"

class ScreenDbTest : public testing::TestWithParam<int> {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Creates the windows screens are shown in, appending them to windows_.
  virtual void RegisterWindows() = 0;

  std::string Boxes() const;
  std::vector<std::string> BoxTexts() const { return boxes_->texts(); }
  // Starts recording anew; the old recorder goes first, so the hook it
  // puts back is not the new one's.
  void ForgetBoxes();
  // Loads screen texts (Shift-JIS here, UTF-8 in the files) of a folder of
  // the test's own into a database (the fixture's unless named): the number
  // of screens loaded, or -1.
  int LoadTexts(const std::vector<std::pair<std::string, std::string>>& texts, const char* database = kFixtureDb);

  // Recording windows of the work windows' classes stand for the work
  // windows; cards and sets register their data sets as their windows do.
  void UseRecordingWorkWindows();

  // Closes a slot and its data set, as the window showing it does.
  static void CloseSlot(int s);
  static int OpenedTableSlots();
  // The displayed text of an item of a slot ("<none>" without the item).
  static std::string ValueOf(int slot, const char* name);
  // Reads the settings as start-up does, from the shipped OCR.INI or, with
  // `designer` false, from one that leaves the sheet designer out (CTREDT
  // 0); the fixture's database stays the one in use.
  void ReadSettings(bool designer);

  std::unique_ptr<MessageBoxRecorder> boxes_;
  HWND main_ = nullptr;
  std::vector<HWND> windows_;
  std::string folder_;
  ServerLogin login_;
};
