// The reading-run dialog "Def": before a run the operator confirms the
// values every record of the run receives (key items that no field of the
// sheet bears), the keys of the collation table, the start number of
// numbered records, whether the dialog comes back for the next feed and
// whether the scanner shows its own settings. "実 行" saves them and runs;
// "ｷｬﾝｾﾙ" closes without saving or running.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "reading/image_steps.h"
#include "reading/reading.h"
#include "reading/workbench.h"
#include "screen/screen.h"

namespace {

constexpr int kCancelCommand = 100;
constexpr int kRunCommand = 112;
constexpr int kNextNumberCommand = 113;
constexpr int kReadRunScreen = 95;
constexpr int kCharSize = 8;
constexpr int kInputColumn = 2;
constexpr int kCheckHeight = 20;  // pixels of a check with one choice
constexpr char kCaption[] = "";
constexpr char kStartNumberField[] = "CNT_CODE";
constexpr char kKeepOpenField[] = "画面を閉じる";
constexpr char kScannerScreenField[] = "スキャナ設定画面";
constexpr char kCompletionSound[] = "readend.wav";

struct Entry {
  std::string name, title, value;
  std::string field;  // the dialog's input
  int width = 0;
};

struct DialogState {
  HWND window = nullptr;
  HWND disabled[2] = {nullptr, nullptr};
  int slot = -1;
  int subMode = kScanRun;
  int lastCommand = 0;
  std::vector<Entry> defaults;   // key items asked before reading
  std::vector<Entry> collation;  // keys of the collation table
  bool startNumber = false;
  std::string keyTitle;
  int keyWidth = 4;
  std::string title;
  std::string screenCode;            // sub-mode 3: the entry screen to open
  void (*openScreen)() = nullptr;
};
DialogState g_dialog;

bool Operation() { return g_currentSheet.projectMode == kOperationMode; }
bool DesignScan() { return !Operation() && g_dialog.subMode == kScanRun; }
bool OperationScan() { return Operation() && g_dialog.subMode == kScanRun; }
bool TestScan() { return g_readingRun.testScan != 0; }
bool DefaultsOnly() { return g_dialog.subMode == kDefaultsOnlyRun; }
// The scanner's own settings screen concerns scans, not test scans.
bool AsksScannerScreen() { return !TestScan() && !DefaultsOnly(); }

int OpenSheetTable(const char* table, const char* side) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), table, sheet.kind, kSheetSpecSet, table,
                 "select * from %s where ＯＣＲコード=%s", table, SqlLiteral(side).c_str());
}

// A key item no field bears, other than the numbered key: the operator
// gives its value before reading.
bool AskedBeforeReading(const SheetKeyItem& key) { return !key.onSheet && key.name != g_sheetKeys.lastKeyName; }

void LoadDefaultEntries() {
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (!AskedBeforeReading(key)) continue;
    g_dialog.defaults.push_back({key.name, key.title, key.value, "", std::max(key.width, 10)});
  }
}

void LoadKeyField() {
  g_dialog.keyTitle.clear();
  g_dialog.keyWidth = 4;
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (key.name != g_sheetKeys.lastKeyName) continue;
    g_dialog.keyTitle = key.title;
    if (key.width > 0) g_dialog.keyWidth = key.width;
  }
}

// A whole-number paper setting of side "0001" (0 when it cannot be read).
int ReadPaperSetting(const char* column) {
  const int slot = OpenSheetTable(kPaperTable, "0001");
  if (slot < 0) return 0;
  const int value = db_toppos(slot, "ＯＣＲコード") == 0 ? GetColumnInt(slot, column) : 0;
  db_close(slot);
  return value;
}

void LoadCollationEntries() {
  if (g_sheetSettings.collationTable.empty()) return;
  const int slot = OpenSheetTable(kCollationItemTable, "0001");
  if (slot < 0) return;
  for (int rc = db_toppos(slot, "ＯＲＧコード"); rc == 0; rc = db_nread(slot)) {
    Entry entry;
    entry.name = GetColumnText(slot, "項目名");
    if (entry.name.empty()) continue;
    entry.title = GetColumnText(slot, "タイトル");
    if (entry.title.empty()) entry.title = entry.name;
    entry.value = GetColumnText(slot, "初期値");
    entry.width = std::max(GetColumnInt(slot, "文字数"), 10);
    g_dialog.collation.push_back(entry);
  }
  db_close(slot);
}

// Writes the values of entries into `valueColumn` of the rows of an open
// table whose `nameColumn` names them, and closes it.
void WriteEntries(int slot, const char* order, const char* nameColumn, const char* valueColumn,
                  const std::vector<Entry>& entries) {
  for (int rc = db_toppos(slot, order); rc == 0; rc = db_nread(slot)) {
    const std::string name = GetColumnText(slot, nameColumn);
    for (const Entry& entry : entries) {
      if (entry.name != name) continue;
      SetColumnText(slot, valueColumn, entry.value.c_str());
      db_update(slot);
    }
  }
  db_close(slot);
}

// Writes the values of entries back to the column 初期値 of their rows.
void SaveEntries(const char* table, const char* order, const std::vector<Entry>& entries) {
  if (entries.empty()) return;
  const int slot = OpenSheetTable(table, "0001");
  if (slot >= 0) WriteEntries(slot, order, "項目名", "初期値", entries);
}

// Sub-mode 3: every value becomes the default of its field on the entry
// screen.
void StoreFieldDefaults() {
  const DialogState& d = g_dialog;
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldTable, sheet.kind,
                           g_screenDefs.specFile.c_str(), "FLDTBL", "select * from S_FIELD where SCRCODE=%s",
                           SqlLiteral(d.screenCode.c_str()).c_str());
  if (slot >= 0) WriteEntries(slot, "FLDCODE", "FLDNAME", "FLDDEFLT", d.defaults);
}

std::string FieldText(const char* field) {
  char text[256] = "";
  GetItemRawValue(g_dialog.slot, field, text);
  return text;
}

void TakeEntries(std::vector<Entry>& entries) {
  for (Entry& entry : entries) entry.value = FieldText(entry.field.c_str());
}

int CheckEntriesFilled(const std::vector<Entry>& entries) {
  for (const Entry& entry : entries) {
    if (FieldText(entry.field.c_str()).empty()) {
      ShowInfoMessage(kCaption, "“%s”が入力されていません。", entry.title.c_str());
      FocusField(entry.field.c_str());
      return -1;
    }
  }
  return 0;
}

// The number after the last key of the output table: 0 with it in
// g_readingRun.autoNumber, or -1 after the message when the numbers are used
// up (they would wrap onto stored records) or the table cannot be read.
int NextSerialNumber(bool report = true) {
  ReadingRun& run = g_readingRun;
  const CurrentSheet& sheet = g_currentSheet;
  const char* table = g_sheetSettings.outputTable.c_str();
  const std::string query = BuildKeyItemQuery();
  ResultLogs& logs = g_resultLogs;
  const int opened = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table,
                                      sheet.outputKind, table, table, "%s", query.c_str());
  logs.outputSlot = opened;
  run.autoNumber.clear();
  const int rc = FormatSerialNumber();
  if (opened > 0) db_close(opened);
  logs.outputSlot = -1;
  if (rc != 0) {
    if (report) ReportRunError();
    run.runError = 0;
    run.autoNumber.clear();
    return -1;
  }
  return 0;
}

int AddItems() {
  DialogState& d = g_dialog;
  const bool scan = d.subMode == kScanRun;
  if (AddScreenButton("ｷｬﾝｾﾙ", "DEF00", 2, 0, 0, kCancelCommand, kItemEnabled,
                      scan ? "SCNESC.BMP" : "QUIT_S.BMP", "読み取りを行わずに画面を閉じます", "") < 0 ||
      AddScreenButton("実 行", "DEF01", 8, 0, 0, kRunCommand, kItemEnabled, scan ? "SCNPF1.BMP" : "DBPUT_O.BMP",
                      DefaultsOnly() ? "入力画面を表示します" : "読み取りを開始します", "") < 0) {
    return -1;
  }
  int row = 3;
  std::size_t titleWidth = 0;
  for (const std::vector<Entry>* list : {&d.defaults, &d.collation}) {
    for (const Entry& entry : *list) titleWidth = std::max(titleWidth, entry.title.size());
  }
  int inputs = 0;
  auto addInput = [&](Entry& entry) {
    char field[16];
    std::snprintf(field, sizeof field, "DEFVAL%02d", ++inputs);
    entry.field = field;
    char caption[128];
    std::snprintf(caption, sizeof caption, "%-*s", static_cast<int>(titleWidth), entry.title.c_str());
    return AddScreenItem(caption, field, kInputColumn + static_cast<int>(titleWidth) + 1, row++, 0, entry.width,
                         entry.width, kCharSize, 'X', 0, 0, 'I', 'L', kItemEnabled, 0, 1, 0, 0, "", "") >= 0;
  };
  for (Entry& entry : d.defaults) {
    if (!addInput(entry)) return -1;
  }
  if (!d.collation.empty()) {
    if (AddScreenItemX("【照合テーブル】", "ORGTITLE", kInputColumn, 0, row++, 1, kCharSize, kItemEnabled) < 0) {
      return -1;
    }
    for (Entry& entry : d.collation) {
      if (!addInput(entry)) return -1;
    }
  }
  if (d.startNumber) {
    const std::string caption = d.keyTitle + "（先頭番号）";
    if (AddScreenItem(caption.c_str(), kStartNumberField, kInputColumn + static_cast<int>(caption.size()) + 1,
                      row, 0, d.keyWidth, d.keyWidth, kCharSize, 'X', 0, 0, 'I', 'L', kItemEnabled, 0, 1, 0, 0,
                      "", "") < 0) {
      return -1;
    }
    ++row;
    if (!d.defaults.empty() &&
        AddScreenButton("最終コード＋１を取得する", "AUTOBUTT", kInputColumn, 0, row++ * 24 + 4,
                        kNextNumberCommand, kItemEnabled, "", "", "") < 0) {
      return -1;
    }
  }
  if (OperationScan()) {
    if (AddScreenCheck("給紙", kKeepOpenField, kInputColumn, row, 0, 40, kCheckHeight, kCharSize, 0, kItemEnabled,
                       "(給紙を繰り返す場合にチェック)", "読み取り終了後に､この画面を閉じない", "") < 0) {
      return -1;
    }
    row += 2;
  }
  if (AsksScannerScreen() && AddScreenCheck("", kScannerScreenField, kInputColumn, row++, 0, 30, kCheckHeight, kCharSize, 0,
                                    kItemEnabled, "", "スキャナの設定画面を表示", "") < 0) {
    return -1;
  }
  return row;
}

void ShowValues() {
  const DialogState& d = g_dialog;
  for (const std::vector<Entry>* list : {&d.defaults, &d.collation}) {
    for (const Entry& entry : *list) SetItemValueForCommand(d.slot, entry.field.c_str(), entry.value.c_str());
  }
  // The next number stands ready; the operator may write another.
  if (d.startNumber && NextSerialNumber(false) == 0) {
    SetItemValueForCommand(d.slot, kStartNumberField, g_readingRun.autoNumber.c_str());
    g_readingRun.autoNumber.clear();
  }
  if (OperationScan()) {
    SetItemValueForCommand(d.slot, kKeepOpenField, ReadPaperSetting(kKeepOpenField) == 1 ? "1" : "0");
  }
  if (AsksScannerScreen()) {
    SetItemValueForCommand(d.slot, kScannerScreenField, g_sheetSettings.scannerScreen == 1 ? "1" : "0");
  }
}

bool Checked(const char* field) { return FieldText(field).rfind('1', 0) == 0; }

// The checks of "実 行": 0, or -1 with the dialog kept open.
int ConfirmRun() {
  DialogState& d = g_dialog;
  ReadingRun& run = g_readingRun;
  if (!DesignScan() && !DefaultsOnly()) run.confirmed = 1;
  if (OperationScan()) StoreSheetSetting(kKeepOpenField, Checked(kKeepOpenField) ? 1 : 0);
  if (CheckEntriesFilled(d.defaults) != 0) return -1;
  if (!d.collation.empty()) {
    if (CheckEntriesFilled(d.collation) != 0) return -1;
    TakeEntries(d.collation);
    SaveEntries(kCollationItemTable, "ＯＲＧコード", d.collation);
    if (LookupCollationTable() != 0) return -1;
    CloseResultLogs();
  }
  run.autoNumber.clear();
  if (KeyIsNumbered() && !DesignScan() && !DefaultsOnly()) {
    if (d.startNumber) {
      const std::string typed = FieldText(kStartNumberField);
      if (typed.empty()) {
        ShowInfoMessage(kCaption, "“%s”の先頭番号が入力されていません。", d.keyTitle.c_str());
        FocusField(kStartNumberField);
        return -1;
      }
      run.autoNumber = typed;
    } else if (NextSerialNumber() != 0) {
      return -1;
    }
  }
  if (AsksScannerScreen()) StoreSheetSetting(kScannerScreenField, Checked(kScannerScreenField) ? 1 : 2);
  return 0;
}

void SaveValues() {
  DialogState& d = g_dialog;
  SaveEntries(kKeyItemTable, "ＩＤＸコード", d.defaults);
  SaveEntries(kCollationItemTable, "ＯＲＧコード", d.collation);
  LoadSheetKeyItems();
  LoadCurrentSheetPaper();
}

// The run the dialog was confirmed for, and what follows it.
void RunReading() {
  DialogState& d = g_dialog;
  ReadingRun& run = g_readingRun;
  const bool operationScan = OperationScan();
  run.subMode = d.subMode;
  const DWORD start = GetTickCount();
  const int rc = RunSheetReading();
  const bool failed = rc != 0 || run.runError != 0;
  const bool marksStopped = rc == 0 && run.sheetCount > 0 && ReportCornerMarks(1) != 0;
  // A later test scan is a test scan again.
  run.confirmed = 0;
  run.autoNumber.clear();
  const bool finished = Operation() && !failed && run.sheetCount > 0;
  if (finished) {
    const std::string text =
        FormatRunStatistics(run.sheetCount - run.refusedPages, g_sheetSettings.scanType == kScanPaired,
                            GetTickCount() - start, run.refusedSheets);
    ShowRunMessage(text.c_str());
    const int bench = g_workbenchState.slot;
    if (IsValidSlot(bench)) SetItemValueForCommand(bench, "OCRMSG", text.c_str());
    ShowRecordCount();
    // Without a sound device the sheets are read all the same; a run stopped
    // by a sheet's marks did not complete.
    const std::string sound = GetProgramFolder() + "\\" + kCompletionSound;
    if (!marksStopped && FileExists(sound.c_str()) == 0) PlayWaveFile(d.window, sound.c_str());
  }
  // The workbench's narrow line keeps a finished run's statistics; after any
  // other scan it tells how many sheets still wait in the feeder.
  const std::string waiting = finished || run.subMode != kScanRun ? "" : FeederWaitingText();
  const int bench = g_workbenchState.slot;
  if (!waiting.empty() && IsValidSlot(bench)) SetItemValueForCommand(bench, "OCRMSG", waiting.c_str());
  if (operationScan && ReadPaperSetting(kKeepOpenField) == 1 && !failed && !marksStopped) {
    const HWND workbench = FindProgramWindow("KQE_READ");
    if (workbench) PostMessageA(workbench, kMsgScreenCommand, kNextNumberCommand, 0);
  }
}

void CloseDialog() {
  DialogState& d = g_dialog;
  if (!IsValidSlot(d.slot)) return;
  const int slot = d.slot;
  const bool run = d.lastCommand != kCancelCommand && d.lastCommand != 0;
  d.slot = -1;
  for (HWND window : d.disabled) {
    if (window) EnableWindow(window, TRUE);
  }
  CloseScreenWindow(slot, 1);
  const HWND workbench = FindProgramWindow("KQE_READ");
  if (workbench) SetActiveWindow(workbench);
  if (!run) {
    g_readingRun.confirmed = 0;
    return;
  }
  SaveValues();
  if (DefaultsOnly()) {
    StoreFieldDefaults();
    if (g_dialog.openScreen) g_dialog.openScreen();
    return;
  }
  RunReading();
}

void OnCommand(int code) {
  DialogState& d = g_dialog;
  if (code == kNextNumberCommand && d.startNumber) {
    if (CheckEntriesFilled(d.defaults) == 0 && NextSerialNumber() == 0) {
      SetItemValueForCommand(d.slot, kStartNumberField, g_readingRun.autoNumber.c_str());
      g_readingRun.autoNumber.clear();
    }
    return;
  }
  const bool enterOnLast = code == VK_RETURN && GetFieldLink("/CUR") == 'P';
  if (code != kCancelCommand && code != kRunCommand && !enterOnLast) {
    ApplyPendingFocus();
    return;
  }
  d.lastCommand = code == kCancelCommand ? kCancelCommand : kRunCommand;
  if (code != kCancelCommand) {
    if (ConfirmRun() != 0) return;
    TakeEntries(d.defaults);
    TakeEntries(d.collation);
  }
  PostMessageA(d.window, kMsgCloseWindow, 0, 0);
}

}  // namespace

HWND RegisterReadRunWindow() {
  g_dialog.window = CreateHiddenWindow({"Def", ReadRunWindowProc, CS_HREDRAW | CS_VREDRAW,
                                        WS_POPUPWINDOW | WS_DLGFRAME | WS_CAPTION});
  return g_dialog.window;
}

int ReadRunDialog(int subMode) {
  DialogState& d = g_dialog;
  d.window = FindProgramWindow("Def");
  if (!d.window || (IsValidSlot(d.slot) && Slot(d.slot).state != kFreeSlotState && Slot(d.slot).window == d.window)) {
    return -1;
  }
  d.subMode = subMode;
  d.lastCommand = 0;
  d.defaults.clear();
  d.collation.clear();
  LoadSheetKeyItems();
  if (DefaultsOnly() || (!TestScan() && !DesignScan())) LoadDefaultEntries();
  if (OperationScan() || subMode == kStoredPageRun) LoadCollationEntries();
  d.startNumber = KeyIsNumbered() && !DesignScan() && !DefaultsOnly();
  LoadKeyField();
  const int rows = AddItems();
  if (rows < 0) {
    DiscardBuildingItems();
    return -1;
  }
  d.title = subMode == kScanRun ? (Operation() ? "シート読み取り（スキャニング＋文字認識）"
                                                : "テスト読み取り（スキャニングのみ）")
            : DefaultsOnly()     ? "入力画面の初期値"
                                 : "イメージ変換（保存されたイメージの文字認識）";
  d.disabled[0] = FindProgramWindow("KQE_READ");
  d.disabled[1] = g_screen.mainWindow;
  for (HWND window : d.disabled) {
    if (window) EnableWindow(window, FALSE);
  }
  if (OpenScreenWindow(d.window, -2, -2, 310 + 8 * 20, 24 * rows + 72, 0, kReadRunScreen, 3, 1, 0, d.title.c_str()) != 0) {
    for (HWND window : d.disabled) {
      if (window) EnableWindow(window, TRUE);
    }
    return -1;
  }
  return 0;
}

bool AskFieldDefaults(const std::string& screenCode, void (*openScreen)()) {
  LoadSheetKeyItems();
  if (std::none_of(g_sheetKeys.items.begin(), g_sheetKeys.items.end(), AskedBeforeReading)) return false;
  g_dialog.screenCode = screenCode;
  g_dialog.openScreen = openScreen;
  return ReadRunDialog(kDefaultsOnlyRun) == 0;
}

LRESULT CALLBACK ReadRunWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, g_dialog.slot)) return 0;
      break;
    case kMsgSlotOpened:
      g_dialog.slot = static_cast<int>(wParam);
      SetWindowTextA(window, g_dialog.title.c_str());
      ShowValues();
      return 0;
    case kMsgScreenCommand:
      OnCommand(static_cast<int>(wParam));
      return 0;
    case WM_CLOSE:
      g_dialog.lastCommand = kCancelCommand;
      CloseDialog();
      return 0;
    case kMsgCloseWindow:
      CloseDialog();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
