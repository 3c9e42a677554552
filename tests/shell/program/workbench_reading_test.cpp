// The reading button of the project screen: the workbench the menu opens
// hands the reading run the program's folders and the output database of
// the sheet, and checks the sheet before the reading-run dialog opens.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/sheet_settings.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/program/program.h"
#include "shell/shell.h"
#include "tests/shell/program/program_fixture.h"

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

}  // namespace
