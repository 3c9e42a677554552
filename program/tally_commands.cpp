// The menu's survey items and tallies: the survey of the current definition
// pointed at its definition and output databases, the survey items screen,
// the tally menu (opened only when the output table holds records), its
// outputs' print-settings screens, and the tallies they ask for, printed,
// previewed or written to a CSV file.
#include <windows.h>

#include <string>

#include "designer/designer.h"
#include "designer/survey.h"
#include "designer/survey_transfer.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tally/tally.h"

namespace {

constexpr char kSurveyItemsCode[] = "KOMK-INP2";
constexpr char kSurveyItemsChangeCode[] = "KOMK-CHG";
constexpr char kTallyMenuCode[] = "SPRN-MENU";
constexpr int kItemsChangeCommand = 34;
constexpr int kFreeTextListCommand = 51;
constexpr char kFreeTextListCode[] = "EQPG30";
constexpr int kTransferDesignCommand = 201;

// The outputs of the tally menu by the tally kinds of their buttons: the
// print type of their settings screen and its title.
struct TallyOutput {
  int firstKind, lastKind;
  int printType;
  const char* title;
};
constexpr TallyOutput kTallyOutputs[] = {
    {1, 3, kPrintTypeTally, "集計表"},
    {4, 5, kPrintTypeBarGraph, "棒グラフ"},
    {6, 7, kPrintTypeChoiceGraph, "帯グラフ"},
    {8, 9, kPrintTypePieGraph, "円グラフ"},
    {10, 12, kPrintTypeRadarGraph, "レーダーチャート"},
};

const TallyOutput* TallyOutputOf(int kind) {
  for (const TallyOutput& output : kTallyOutputs) {
    if (kind >= output.firstKind && kind <= output.lastKind) return &output;
  }
  return nullptr;
}

// The survey items screen lists 調査項目 of the current definition.
void PointAtSurveyItems(int slot) {
  ScreenDataSet& set = Slot(slot).dataSet;
  set.folder = DefinitionFolder();
  set.database = DefinitionName();
  set.table = kSurveyItemTable;
  set.dbKind = kDbKindFile;
  EnsureSurveyCountColumn();
}

void FillSurveyItems(int slot) {
  const int definition = OpenSurveyDefinition();
  if (definition >= 0) db_close(definition);
  if (g_survey.choiceWidth > 0) {
    SetItemValueForCommand(slot, "WITHMSG", ("(" + std::to_string(g_survey.choiceWidth) + ")").c_str());
  }
  SetItemValueForCommand(slot, "CYOSMSG", "｢調査項目データ｣を生成します。");
  SetItemValueForCommand(slot, "余白文字", "・");
  SetItemValueForCommand(slot, "後部余白削除", "1");
  SetItemValueForCommand(slot, "JOINMSG", "ここで定義された内容が集計表(グラフ)に印刷されます。");
}

// Button 201: the sheet's design becomes the listed questions.
void TransferDesignIntoList(int slot) {
  const int added = TransferSheetDesignToSurvey(slot);
  if (added < 0) return;
  ReopenListDataSet();
  ShowInfoMessage("", "%d件の質問項目を転送入力しました。\n集計対象外の質問項目は、画面上部の[×]のボタンで削除してください。",
                  added);
}

// The tally menu starts from the survey as stored: its grouping items
// (those the definition still names marked on their questions first) and
// the colours of every graph type.
void FillTallyMenu() {
  const int definition = OpenSurveyDefinition();
  if (definition < 0) return;
  db_close(definition);
  SaveSurveyGroupItems();
  ReloadTallyQuestions();
  for (int type = kGraphBar; type <= kGraphRadar; ++type) {
    LoadGraphColors(g_survey.folder.c_str(), g_survey.database.c_str(), g_survey.kind, type);
  }
}

// The write-in list's settings take the tally menu's place: the menu waits
// hidden until they close.
void OpenFreeTextList(int menu) {
  const std::string title = "記述欄一覧（" + DefinitionName() + "）";
  if (OpenPrintOptionsScreen(g_program.mainWindow, kPrintTypeImageList, 1, title.c_str(), kFreeTextListCode, "",
                             "", 0) != 0) {
    return;
  }
  g_mainWindow.hiddenForPrint = Slot(menu).window;
  EnableWindow(g_mainWindow.hiddenForPrint, FALSE);
  ShowWindow(g_mainWindow.hiddenForPrint, SW_HIDE);
}

// A button of the tally menu: an output kind opens its print settings, 34
// the change of survey items, 51 the write-in list.
void RunTallyMenuButton(int menu) {
  const int code = GetLastFieldKey();
  if (code == kItemsChangeCommand) {
    OpenScreen("", kScreenDatabase, kSurveyItemsChangeCode, -1, -1, "");
    return;
  }
  if (code == kFreeTextListCommand) {
    OpenFreeTextList(menu);
    return;
  }
  const TallyOutput* output = TallyOutputOf(code);
  if (!output) return;
  g_mainWindow.tallyKind = code;
  const int setting = code - output->firstKind + 1;
  OpenPrintOptionsScreen(g_program.mainWindow, output->printType, setting, output->title,
                         TallyPrintCode(output->printType, setting).c_str(), "", "", 0);
}

}  // namespace

void PointSurveyAtCurrentDefinition() {
  g_survey.folder = DefinitionFolder();
  g_survey.database = DefinitionName();
  // A sheet's definition is a file database, whichever kind holds its answers.
  g_survey.kind = kDbKindFile;
  g_survey.dataFolder = g_output.folder;
  g_survey.dataDatabase = g_output.database;
  g_survey.dataKind = g_output.dbKind;
  g_survey.outputTable = g_output.table;
}

int OpenSurveyItemsScreen() {
  PointSurveyAtCurrentDefinition();
  if (LoadTallyTableColumns(1) != 0) return -1;
  return OpenScreen("", kScreenDatabase, kSurveyItemsCode, -1, -1, "");
}

int OpenTallyMenu() {
  bool hasRecords = false;
  {
    WaitCursor wait;
    const int t = db_open_nocreate(g_output.folder.c_str(), g_output.database.c_str(), g_output.table.c_str(),
                                   g_output.dbKind, "", "", "");
    if (t >= 0) {
      hasRecords = db_tfind(t, 0) == 0;
      db_close(t);
    }
  }
  if (!hasRecords) {
    ShowInfoMessage("", "集計・印刷を行うデータがありません。");
    return -1;
  }
  return OpenScreen("", kScreenDatabase, kTallyMenuCode, -1, -1, "");
}

bool OnSurveyScreenBuilt(int screenNumber, int slot) {
  if (screenNumber != kSurveyItemsScreen && screenNumber != kSurveyItemsChangeScreen &&
      screenNumber != kTallyQuestionsScreen) {
    return false;
  }
  PointAtSurveyItems(slot);
  return true;
}

bool OnFillSurveyScreen(int screenNumber, int slot) {
  switch (screenNumber) {
    case kSurveyItemsScreen:
      FillSurveyItems(slot);
      return true;
    case kTallyMenuScreen:
      FillTallyMenu();
      return true;
    default:
      return false;
  }
}

bool OnSurveyScreenInput(int screenNumber, int slot) {
  if (screenNumber == kSurveyItemsScreen) {
    if (GetLastFieldKey() == kTransferDesignCommand) TransferDesignIntoList(slot);
    return true;
  }
  if (screenNumber != kTallyMenuScreen) return false;
  RunTallyMenuButton(slot);
  return true;
}

bool OnSurveyScreenClosed(int screenNumber) {
  if (screenNumber != kSurveyItemsScreen && screenNumber != kSurveyItemsChangeScreen) return false;
  LoadSurveyItems();
  return true;
}

void RunTallyOutput(int printMode, int outputKind) {
  if (outputKind >= 1 && outputKind <= kTallyLastKind) RunTally(printMode, outputKind);
  if (outputKind == kPrintTypeImageList) {
    // The reading cuts the write-in fields out into this folder.
    std::string folder = ReadUserIniValue("CUTIMGPATH");
    if (folder.empty()) folder = g_output.folder;
    PrintImageList(printMode, folder.c_str());
  }
}

void ShowWindowHiddenForPrint() {
  const HWND window = g_mainWindow.hiddenForPrint;
  g_mainWindow.hiddenForPrint = nullptr;
  if (!window) return;
  EnableWindow(window, TRUE);
  ShowWindow(window, SW_SHOW);
}

void OpenTallyCsvDialog() { CsvQuestionDialog(2, kTallyCsvScreen); }

void WriteTallyCsv() {
  const int dialog = CsvQuestionDialogSlot();
  if (!IsValidSlot(dialog)) return;
  char name[MAX_PATH] = "";
  GetItemRawValue(dialog, "TXTFILE", name);
  if (!*name) {
    ShowInfoMessage("", "「ＣＳＶファイル名」が入力されていません。");
    return;
  }
  const std::string path = ResolveFolderPath(name);
  if (path.empty()) return;
  if (AskYesNo("", "集計表の内容をＣＳＶファイル“%s”に出力します。", path.c_str()) != IDYES) return;
  if (FileExists(path.c_str()) == 0 &&
      AskYesNo("", "ＣＳＶファイル“%s”は既に存在します。\n上書きしてもよろしいですか？", path.c_str()) != IDYES) {
    return;
  }
  g_printSettings.file = path;
  RunTally(-1, g_mainWindow.tallyKind);
  // Posted: the dialog's own Run is still on the stack below this call.
  PostMessageA(Slot(dialog).window, kMsgCloseWindow, 0, 0);
}
