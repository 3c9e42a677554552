// The menu's commands: each checks what it needs (a chosen definition, its
// output database, the login) with one message when something is missing,
// then opens its screen or window.
#include <windows.h>

#include "designer/designer.h"
#include "designer/survey.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"

namespace {

constexpr char kServerChoiceCode[] = "SERV-SEL";
constexpr char kSurveyDataScreen[] = "101";

bool DesignerEnabled() { return GetOcrIniSettings().editorFlag == 1; }

// A definition is chosen and its output database is ready: true, or false
// after the message of the check that failed.
bool OutputDatabaseReady() { return CheckDefinitionSelected() == 0 && LoadOutputDatabaseSettings() == 0; }

// Runs `code` now, or asks for the login first when the output database
// needs one.
int RunWithLogin(int code) {
  if (LoginNeeded(g_output.dbKind, g_output.passwordSetting)) return OpenLoginWindow(code);
  RunCommandAfterLogin(code);
  return 0;
}

int OpenHelp() {
  if (IsCtrlKeyHeld()) return ChooseAdobeReader();
  switch (g_mainWindow.lastPopupChoice) {
    case 1: return OpenManualPdf("操作説明書.PDF");
    case 2: return OpenManualPdf("注意事項.PDF");
    default: return -1;
  }
}

int OpenProject(int code) {
  if (code == kCmdDesign && !DesignerEnabled()) return -1;
  if (!OutputDatabaseReady()) {
    // Started for this one sheet, the program has nothing else to do.
    if (g_program.commandLineMode) PostMessageA(g_program.mainWindow, kMsgCloseWindow, 0, 0);
    return -1;
  }
  return RunWithLogin(code);
}

}  // namespace

int RunMenuCommand(int code) {
  switch (code) {
    case kCmdServerChoice:
      return OpenScreen("", kScreenDatabase, kServerChoiceCode, -1, -1, "");
    case kCmdChooseDefinition:
      if (ChooseDefinitionFile() < 0) return -1;
      ShowOutputFolder();
      return 0;
    case kCmdSheetSettings:
      if (!DesignerEnabled() || CheckDefinitionSelected() != 0 || UpgradeSheetTables() != 0) return -1;
      return OpenSheetSettingsScreen(g_program.mainWindow);
    case kCmdHelp:
      return OpenHelp();
    case kCmdClearData:
    case kCmdSurveyItems:
      if (!OutputDatabaseReady()) return -1;
      return RunWithLogin(code);
    case kCmdTally:
      if (CheckDefinitionSelected() != 0) return -1;
      EnsureSurveyName();
      if (LoadOutputDatabaseSettings() != 0) return -1;
      PointSurveyAtCurrentDefinition();
      if (LoadTallyTableColumns(2) != 0) return -1;
      return RunWithLogin(code);
    case kCmdSurveyData:
      if (!OutputDatabaseReady() || CheckSurveyData() != 0) return -1;
      return OpenScreen(DefinitionFolder().c_str(), DefinitionName().c_str(), kSurveyDataScreen,
                        kAnswerListScreen, -1, "");
    case kCmdDesign:
    case kCmdOperation:
      return OpenProject(code);
    case kCmdQuit:
      SendMessageA(g_program.mainWindow, kMsgCloseWindow, 0, 0);
      return 0;
    default:
      ApplyPendingFocus();
      return -1;
  }
}

void ShowDesignerCommands(int slot) {
  if (DesignerEnabled() || !IsValidSlot(slot)) return;
  const WindowSlot& s = Slot(slot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    if (Item(i).keyCode == kCmdSheetSettings || Item(i).keyCode == kCmdDesign) Item(i).state = kItemProtected;
  }
}

void RunCommandAfterLogin(int code) {
  switch (code) {
    case kCmdClearData:
      OpenDataClearWindow(kDataClearScreen);
      break;
    case kCmdSurveyItems:
      OpenSurveyItemsScreen();
      break;
    case kCmdTally:
      OpenTallyMenu();
      break;
    case kCmdDesign:
    case kCmdOperation:
      OpenProjectScreen(code);
      break;
    default:
      break;
  }
}
