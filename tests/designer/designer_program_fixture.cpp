#include "tests/designer/designer_program_fixture.h"

#include <string>

#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tools/sheetgen/sheet_definition_db.h"

SheetDefinition KeyedSheet(const char* title) {
  SheetDefinition d = NumberedKeySheet(title, "KAITO");
  SheetKeyRow key;
  key.code = "01";
  key.name = "ID";
  key.title = "ＩＤ";
  key.width = 4;
  d.keys.push_back(key);
  return d;
}

void AddBackPaper(SheetDefinition& d, int scanType) {
  d.papers[0].scanType = scanType;
  SheetPaperRow back = d.papers[0];
  back.side = "0002";
  d.papers.push_back(back);
}

void DesignerProgramTest::SetUp() {
  ProgramTest::SetUp();
  if (HasFatalFailure()) return;
  SetSheetDesigner(true);
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
}

void DesignerProgramTest::ChooseSheet(const SheetDefinition& definition, const char* name) {
  const std::string teigi = folder() + "\\teigi";
  CreateDirectoryA(teigi.c_str(), nullptr);
  ASSERT_EQ(WriteSheetDefinition(teigi.c_str(), name, definition), 0) << testing::PrintToString(Boxes());
  CreateDirectoryA((folder() + "\\data").c_str(), nullptr);
  SetCurrentDefinition(teigi, name);
  ASSERT_EQ(WriteDefinitionPath(), 0);
}

HWND DesignerProgramTest::OpenBench(int command) {
  ForgetBoxes();
  Command(command);
  const HWND bench = FindWindowA("KQE_READ", nullptr);
  EXPECT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes());
  return bench;
}

void DesignerProgramTest::Choose(int command, int line) {
  g_screen.lastPopupChoice = line;
  PostMessageA(FindWindowA("KQE_READ", nullptr), kMsgScreenCommand, command, 0);
  RunPostedMessages();
}
