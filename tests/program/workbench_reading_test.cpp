// The workbench the menu opens: it hands the reading run the program's
// folders and the output database of the sheet, its reading button checks
// the sheet before the reading-run dialog opens, the scanner chosen on it
// is kept in the program's settings, its message line counts the sheets
// waiting in the feeder, and its print and clearing buttons open the
// program's windows for the sheet.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "program/program.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"
#include "tests/support/test_pictures.h"

namespace {

class WorkbenchReading : public ProgramAtMenuTest {};

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

class WorkbenchFeeder : public ProgramAtMenuTest {
 protected:
  void TearDown() override {
    DeleteFileA(settings_.c_str());
    ProgramAtMenuTest::TearDown();
  }
  const std::string settings_ = GetProgramFolder() + "\\SCANFEED.INI";
};

// As the workbench opens, its message line says how many sheets wait in
// the scanner's feeder; without a feeder it says nothing.
TEST_F(WorkbenchFeeder, TheMessageLineCountsTheSheetsWaitingAsTheWorkbenchOpens) {
  ChooseSample();
  // The output database's folder is there: its first use would say it is made.
  ASSERT_TRUE(CreateDirectoryA((folder() + "\\data").c_str(), nullptr));
  const std::string feed = folder() + "\\feed";
  ASSERT_TRUE(CreateDirectoryA(feed.c_str(), nullptr));
  const std::vector<std::uint8_t> white(8 * 8 * 3, 255);
  ASSERT_TRUE(WritePng(feed + "\\A.PNG", 8, 8, white));
  ASSERT_TRUE(WriteBmpRgb(feed + "\\B.BMP", 8, 8, white));
  ASSERT_TRUE(WritePng(feed + "\\C.PNG", 8, 8, white));
  ASSERT_TRUE(WriteBytes(feed + "\\NOTE.TXT", "no page"));
  for (const bool installed : {false, true}) {
    SCOPED_TRACE(installed);
    if (installed) {
      ASSERT_TRUE(WriteBytes(settings_, "[Feeder]\r\nName=Test Feeder\r\nFolder=" + feed + "\r\n"));
    }
    ForgetBoxes();
    Command(kCmdOperation);
    const HWND bench = FindWindowA("KQE_READ", nullptr);
    ASSERT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes());
    EXPECT_EQ(FieldText(SlotOfWindow(bench), "OCRMSG"), installed ? "給紙待ち：3枚" : "");
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    ClickItem(bench, "PRJESC");
    EXPECT_FALSE(IsWindowVisible(bench));
  }
}

class WorkbenchPrinting : public ProgramAtMenuTest {
 protected:
  // The workbench of a sample sheet, opened from the menu.
  HWND OpenBench(const SampleDefinition& definition) {
    ChooseSample(definition);
    Command(kCmdOperation);
    const HWND bench = FindWindowA("KQE_READ", nullptr);
    EXPECT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes());
    ForgetBoxes();
    return bench;
  }
  // Whether the open sheet print window asks for identification numbers.
  static bool AsksForNumbers() {
    const int slot = SlotOfWindow(FindWindowA("PrnSheet", nullptr));
    return slot >= 0 && ResolveFieldRef(slot, "PRESNO") >= 0;
  }
};

TEST_F(WorkbenchPrinting, ThePrintButtonOpensTheSheetPrintWindowPlainOrNumbered) {
  for (const int preprint : {0, 1}) {
    SCOPED_TRACE(preprint);
    SampleDefinition sheet;
    sheet.name = preprint ? "NUMBERED" : "PLAIN";
    sheet.preprint = preprint;
    sheet.keyOnSheet = true;  // the key item's field is on the sheet's canvas
    const HWND bench = OpenBench(sheet);
    ClickItem(bench, "PRINT");
    const HWND print = FindWindowA("PrnSheet", nullptr);
    ASSERT_TRUE(IsWindowVisible(print)) << testing::PrintToString(Boxes());
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    EXPECT_EQ(AsksForNumbers(), preprint == 1);
    EXPECT_FALSE(IsWindowEnabled(bench)) << "the print window keeps the workbench until it closes";
    ClickItem(print, "DEF00");
    EXPECT_FALSE(IsWindowVisible(print));
    EXPECT_TRUE(IsWindowEnabled(bench));
    ClickItem(bench, "PRJESC");
    EXPECT_FALSE(IsWindowVisible(bench));
  }
}

TEST_F(WorkbenchPrinting, ASheetThatFailsItsChecksOpensNoPrintWindow) {
  // The key item ＩＤ is no field of the sheet: the check sends the
  // operator to the editing mode.
  ClickItem(OpenBench(SampleDefinition()), "PRINT");
  EXPECT_FALSE(IsWindowVisible(FindWindowA("PrnSheet", nullptr)));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_THAT(Boxes()[0], testing::HasSubstr("「編集モード」に切り替えて"));
}

TEST_F(WorkbenchPrinting, TheClearingButtonOpensTheDataClearingWindow) {
  const HWND bench = OpenBench(SampleDefinition());
  ClickItem(bench, "DATCLR");
  const HWND clearing = FindWindowA("Clr", nullptr);
  ASSERT_TRUE(IsWindowVisible(clearing)) << testing::PrintToString(Boxes());
  EXPECT_GE(SlotOfNumber(kDataClearScreen), 0);
  ClickItem(clearing, "SCRQUIT");
  EXPECT_FALSE(IsWindowVisible(clearing));
  EXPECT_TRUE(IsWindowVisible(bench));
}

// The entry screens are made from the sheet's read items: the sample has
// none, so neither the screen nor the screen-set window opens.
TEST_F(WorkbenchPrinting, TheListButtonChecksTheSheetBeforeAnyScreen) {
  const HWND bench = OpenBench(SampleDefinition());
  ClickItem(bench, "LISTINP");
  EXPECT_FALSE(IsWindowVisible(FindWindowA("ScrSet", nullptr)));
  EXPECT_THAT(Boxes(), testing::ElementsAre("“KAITO”の読み取り項目は定義されていません。"));
  EXPECT_TRUE(IsWindowEnabled(bench));
}

}  // namespace
