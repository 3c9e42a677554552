// The program installed deep below its drive, in folders whose names hold
// a "." and the characters 表 and ソ: the paths it builds from its folder
// (the output folder on the menu, the default output database, the data
// folder of the CSV files) are shown and kept whole.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/designer.h"
#include "foundation/db.h"
#include "program/program.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"

namespace {

class DeepInstallation : public ProgramAtMenuTest {
 protected:
  std::string InstallationFolder() const override { return DeepInstallationFolder(); }
};

TEST_F(DeepInstallation, ThePathsBuiltFromTheFolderAreShownAndKeptWhole) {
  ASSERT_GT(folder().size(), 200u);
  MakeAnsweredSample();
  const std::string data = folder() + "\\data";
  EXPECT_EQ(FieldText(g_mainWindow.slot, "フォルダ名"), data) << "the menu's output folder";
  SavePictureOnRequest(g_program.mainWindow, "deep_installation_menu");
  EXPECT_EQ(ProgramDataFolder(), data);

  // The sheet settings show the default output database whole; closed
  // unchanged, they keep it where it was.
  SetSheetDesigner(true);
  ReadOcrIni();
  Command(kCmdSheetSettings);
  const int settings = SheetSettingsSlot();
  ASSERT_GE(settings, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(FieldText(settings, "データベース"), data + "\\OCRDBS.MDB");
  ForgetBoxes();
  ClickOn(Slot(settings).window, CentreOf(settings, "ＯＣＲ用紙名"));
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_THAT(Boxes(), testing::IsEmpty());
  ASSERT_LT(SheetSettingsSlot(), 0) << "stored and closed";
  ASSERT_EQ(LoadOutputDatabaseSettings(), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(g_output.folder, data);
  EXPECT_EQ(g_output.database, "OCRDBS");
}

}  // namespace
