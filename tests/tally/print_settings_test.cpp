// The print settings where they are kept: the settings file of the program
// (one line per print code, rewritten through a work file that replaces it
// in one step) and the print tables of tallies and graphs on both drivers.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>

#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "tally/tally.h"
#include "tests/support/hook_recorder.h"
#include "tests/tally/survey_fixture.h"

namespace {

using Texts = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

Texts Codes(const std::string& text) {
  Texts codes;
  std::stringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) codes.push_back(PrintSettingsLineCode(line.c_str()));
  return codes;
}

class PrintSettingsFile : public testing::Test {
 protected:
  void SetUp() override {
    path_ = PrintSettingsFilePath();
    DeleteFileA(path_.c_str());
    g_printSettings = PrintSettings();
    g_printSettings.printType = kPrintTypeList;
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  std::string path_;
};

TEST_F(PrintSettingsFile, NamedAfterTheProgram) {
  EXPECT_EQ(path_, GetProgramFolder() + "\\tally_print_settings_test.MEM");
}

TEST_F(PrintSettingsFile, ACodeWithoutALineGetsTheDefaults) {
  g_printSettings.topMargin = 99;
  EXPECT_EQ(FindPrintSettingsLine("L00001"), 0);  // no file at all
  EXPECT_EQ(g_printSettings.code, "L00001");
  EXPECT_EQ(g_printSettings.topMargin, 14);
  WriteFile(path_, "L00002,a,b,Ａ３横,30\r\n");
  g_printSettings.topMargin = 99;
  EXPECT_EQ(FindPrintSettingsLine("L00001"), 0);  // not in the file
  EXPECT_EQ(g_printSettings.topMargin, 14);
  EXPECT_EQ(FindPrintSettingsLine("L00002"), 0);
  EXPECT_EQ(g_printSettings.paper, "Ａ３横");
  EXPECT_EQ(g_printSettings.topMargin, 30);
}

TEST_F(PrintSettingsFile, TheSavedCodeComesFirstAndOthersKeepTheirOrder) {
  // Other codes' lines stay as they were, a short one too.
  WriteFile(path_, "L00002,s,e,Ａ４縦,1\r\nOK0003,,,Ｂ５縦,2,3\r\nL00004,,,Ａ４横,5\r\n");
  FindPrintSettingsLine("OK0003");
  g_printSettings.lines = 40;
  ASSERT_EQ(SavePrintSettings("OK0003"), 0);
  ASSERT_EQ(SavePrintSettings("OK0003"), 0);
  const std::string text = ReadFile(path_);
  EXPECT_EQ(Codes(text), (Texts{"OK0003", "L00002", "L00004"}));
  EXPECT_NE(text.find("\r\nL00002,s,e,Ａ４縦,1\r\nL00004,,,Ａ４横,5\r\n"), std::string::npos)
      << text;
  g_printSettings = PrintSettings();
  FindPrintSettingsLine("OK0003");
  EXPECT_EQ(g_printSettings.lines, 40);
  EXPECT_EQ(g_printSettings.charSize, 3);
  EXPECT_EQ(GetFileAttributesA((GetProgramFolder() + "\\PRWORK").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(PrintSettingsFile, AFileNameWithCommasComesBackWhole) {
  FindPrintSettingsLine("EQPG01");
  g_printSettings.file = "C:\\集計,2024\\\"結果\",A.csv";
  g_printSettings.gapY = 12;
  ASSERT_EQ(SavePrintSettings("EQPG01"), 0);
  g_printSettings = PrintSettings();
  FindPrintSettingsLine("EQPG01");
  EXPECT_EQ(g_printSettings.file, "C:\\集計,2024\\\"結果\",A.csv");
  EXPECT_EQ(g_printSettings.paper, "Ａ４縦");
  EXPECT_EQ(g_printSettings.gapY, 0);  // the file does not keep the gaps
}

TEST_F(PrintSettingsFile, AFailedSaveLeavesTheFileAsItWas) {
  const std::string before = "L00002,s,e,Ａ４縦,1\r\n";
  WriteFile(path_, before);
  // A folder where the work file would go: it cannot be created.
  const std::string work = GetProgramFolder() + "\\PRWORK";
  ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
  MessageBoxRecorder boxes;
  FindPrintSettingsLine("L00009");
  EXPECT_EQ(SavePrintSettings("L00009"), -1);
  RemoveDirectoryA(work.c_str());
  EXPECT_EQ(boxes.texts(), Texts{"“" + work + "”を作成できません。"});
  EXPECT_EQ(ReadFile(path_), before);
}

// The print tables of the sheet definition.
class PrintTables : public SurveyDbTest {};

TEST_P(PrintTables, NewRowsTakeTheDefaultsOfTheirType) {
  struct Case {
    int type;
    const char* code;
    int top, left, charSize, lineSpacing, gapY, gapX, graphWidth, columns, notch, maximum;
  };
  const Case cases[] = {
      {25, "EQPG01", 16, 20, 8, 2, 34, 0, 0, 0, 0, 0},
      {26, "EQPG04", 10, 14, 8, 32, 30, 0, 20, 0, 7, 0},
      {27, "EQPG06", 14, 14, 8, 14, 30, 0, 50, 0, 9, 0},
      {28, "EQPG08", 22, 26, 7, 0, 30, 60, 0, 2, 46, 0},
      {29, "EQPG12", 20, 30, 7, 0, 24, 50, 0, 2, 50, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    g_printSettings = PrintSettings();
    g_printSettings.printType = c.type;
    ASSERT_EQ(LoadPrintTableSettings(c.code), 0) << testing::PrintToString(Boxes());
    const PrintSettings& s = g_printSettings;
    EXPECT_EQ(s.code, c.code);
    EXPECT_EQ(s.paper, "Ａ４縦");
    EXPECT_EQ(s.pageNumbers, 0);
    EXPECT_EQ(s.topMargin, c.top);
    EXPECT_EQ(s.leftMargin, c.left);
    EXPECT_EQ(s.charSize, c.charSize);
    EXPECT_EQ(s.lineSpacing, c.lineSpacing);
    EXPECT_EQ(s.gapY, c.gapY);
    EXPECT_EQ(s.gapX, c.gapX);
    EXPECT_EQ(s.labelHeight, c.graphWidth);
    EXPECT_EQ(s.columns, c.columns);
    EXPECT_EQ(s.notch, c.notch);
    EXPECT_EQ(s.radarMaximum, c.maximum);
  }
  // The image list keeps its cells, columns and lines per page.
  g_printSettings = PrintSettings();
  g_printSettings.printType = kPrintTypeImageList;
  ASSERT_EQ(LoadPrintTableSettings("EQPG30"), 0);
  EXPECT_EQ(g_printSettings.labelHeight, 60);
  EXPECT_EQ(g_printSettings.lines, 6);
  EXPECT_EQ(g_printSettings.gapX, 20);
  const int slot = db_open("", kDb, "MUPA_PRN", -1, "MUPADATA", "MUPA_PRN", "");
  ASSERT_EQ(db_search(slot, "EQPG30", "PRNCODE"), 0);
  EXPECT_EQ(GetColumnInt(slot, "頁番号"), 1);
  db_close(slot);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(PrintTables, SavedSettingsComeBackByType) {
  g_printSettings.printType = kPrintTypeRadarGraph;
  ASSERT_EQ(LoadPrintTableSettings("EQPG10"), 0);
  g_printSettings.paper = "Ａ４横";
  g_printSettings.radarMaximum = 80;
  g_printSettings.notch = 60;
  g_printSettings.lineSpacing = 9;  // radar graphs keep no line spacing
  ASSERT_EQ(SavePrintTableSettings("EQPG10"), 0);
  g_printSettings = PrintSettings();
  g_printSettings.printType = kPrintTypeRadarGraph;
  ASSERT_EQ(LoadPrintTableSettings("EQPG10"), 0);
  EXPECT_EQ(g_printSettings.paper, "Ａ４横");
  EXPECT_EQ(g_printSettings.radarMaximum, 80);
  EXPECT_EQ(g_printSettings.notch, 60);
  EXPECT_EQ(g_printSettings.lineSpacing, 0);
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(PrintTables, FlagsOfEachTypeAndTheTallysPercentageBase) {
  g_printSettings.printType = kPrintTypePieGraph;
  ASSERT_EQ(LoadPrintFlags(), 0);
  EXPECT_EQ(g_printSettings.printItems, "000000");
  EXPECT_EQ(g_printSettings.countPercent, "010");
  // Every type computes percentages as the tally table does.
  g_printSettings.printType = kPrintTypeTally;
  ASSERT_EQ(LoadPrintFlags(), 0);
  EXPECT_EQ(g_printSettings.printItems, "110000");
  EXPECT_EQ(g_printSettings.countPercent, "11");
  EXPECT_EQ(g_printSettings.percentBase, 2);
  g_printSettings.percentBase = 3;
  g_printSettings.printItems = "111111";
  ASSERT_EQ(SavePrintFlags(), 0);
  g_printSettings = PrintSettings();
  g_printSettings.printType = kPrintTypeRadarGraph;
  ASSERT_EQ(LoadPrintFlags(), 0);
  EXPECT_EQ(g_printSettings.percentBase, 3);
  EXPECT_EQ(g_printSettings.countPercent, "01");
  EXPECT_EQ(g_printSettings.printItems, "000000");
  // A type whose row was never made saves nothing.
  g_printSettings.printType = kPrintTypeBarGraph;
  EXPECT_EQ(SavePrintFlags(), -1);
  EXPECT_EQ(Boxes(), Texts{});
}

INSTANTIATE_TEST_SUITE_P(Drivers, PrintTables, testing::Values(kDbKindFile, kDbKindServer),
                         KindName);

}  // namespace
