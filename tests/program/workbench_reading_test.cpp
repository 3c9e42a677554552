// The workbench the menu opens: it hands the reading run the program's
// folders and the output database of the sheet, its reading button checks
// the sheet before the reading-run dialog opens, and the scanner chosen on
// it is kept in the program's settings.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "program/program.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"

namespace {

class WorkbenchReading : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
  }
};

TEST_F(WorkbenchReading, TheReadButtonChecksTheSheetWithTheProgramsFolders) {
  ChooseSample();
  ForgetBoxes();
  Command(kCmdOperation);
  const HWND workbench = FindWindowA("KQE_READ", nullptr);
  ASSERT_TRUE(IsWindowVisible(workbench)) << testing::PrintToString(Boxes());
  EXPECT_EQ(g_currentSheet.projectMode, 2);
  EXPECT_EQ(g_currentSheet.logFolder, g_program.logFolder);
  EXPECT_EQ(g_currentSheet.outputDatabase, g_output.database);
  EXPECT_EQ(g_readingPlaces.imageFolder, g_program.imageFolder);
  EXPECT_EQ(g_readingPlaces.endCodePath, g_program.logFolder + "\\ENDCODE.TXT");
  ForgetBoxes();
  SendMessageA(workbench, kMsgScreenCommand, 113, 0);
  RunPostedMessages();
  // The sample names no scanner type: the check says so and no dialog
  // opens.
  EXPECT_THAT(Boxes(), testing::ElementsAre("画面右上のボタンで、「スキャナのタイプ」を選択してください。"));
  EXPECT_FALSE(IsWindowVisible(FindWindowA("Def", nullptr)));
  EXPECT_TRUE(IsWindowEnabled(workbench));
}

// The caption of an item of the workbench.
std::string WorkbenchCaption(const char* name) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state == kFreeSlotState || Slot(s).window != FindWindowA("KQE_READ", nullptr)) continue;
    const int item = ResolveFieldRef(s, name);
    return item >= 0 ? Item(item).caption : "";
  }
  return "";
}

TEST_F(WorkbenchReading, TheChosenScannerIsStoredInTheSettings) {
  const std::string list = GetProgramFolder() + "\\SCANERS";
  std::FILE* file = std::fopen(list.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fputs("Test Feeder,Scanner A,Scanner B", file);
  std::fclose(file);
  ChooseSample();
  Command(kCmdOperation);
  EXPECT_EQ(WorkbenchCaption("SCANER"), "Test Feeder") << "none chosen yet: the list's current one";
  g_screen.lastPopupChoice = 2;
  SendMessageA(FindWindowA("KQE_READ", nullptr), kMsgScreenCommand, 125, 0);
  RunPostedMessages();
  EXPECT_EQ(WorkbenchCaption("SCANER"), "Scanner B");
  const int t = OpenSettingsRow();
  ASSERT_GE(t, 0);
  EXPECT_EQ(GetColumnInt(t, "スキャナＮｏ"), 2);
  db_close(t);
  DeleteFileA(list.c_str());
}

}  // namespace
