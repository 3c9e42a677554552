// The job dialog "JobWin" of the list and the card: the file, range or
// value of a job (CSV input and output, range delete and input, number
// search) set before it runs. The values are kept per screen (its print
// code) for the next time the dialog opens, also after a cancel.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/path_split.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"
#include "shell/shell.h"
#include "tally/tally.h"

namespace {

constexpr UINT kMsgJobResult = WM_USER + 130;      // 1154
constexpr int kRunCommand = 112;
constexpr int kFieldColumn = 20;  // right of the longest caption
constexpr int kTitlesCommand = 201, kKeysCommand = 202, kQuotesCommand = 203;

struct JobWindowState {
  HWND window = nullptr;
  HWND owner = nullptr;
  int slot = -1;
  int job = 0;
  int column = -1;  // the list's column when the dialog opened
  bool ran = false;
  JobDialogTarget target;
  JobSettings settings;  // of the open dialog's screen
};
JobWindowState g_job;
std::map<std::string, std::string> g_rangeInputValues;  // by print code

JobSettings& Settings() { return g_job.settings; }

JobSettings LoadJobSettings(const std::string& printCode) {
  FindPrintSettingsLine(printCode.c_str());
  const PrintSettings& p = g_printSettings;
  JobSettings s;
  s.file = p.file;
  s.start = p.startCode;
  s.end = p.endCode;
  s.code = p.field;
  s.titles = p.titleLine;
  s.keys = p.pageNumbers;
  s.quotes = p.quoteTexts;
  s.value = g_rangeInputValues[printCode];
  return s;
}

// Saved when the dialog closes, whether its job ran or not.
void SaveJobSettings(const std::string& printCode, const JobSettings& s) {
  FindPrintSettingsLine(printCode.c_str());
  PrintSettings& p = g_printSettings;
  p.file = s.file;
  p.startCode = s.start;
  p.endCode = s.end;
  p.field = s.code;
  p.titleLine = s.titles;
  p.pageNumbers = s.keys;
  p.quoteTexts = s.quotes;
  g_rangeInputValues[printCode] = s.value;
  SavePrintSettings(printCode.c_str());
}

const char* TitleOf(int job) {
  switch (job) {
    case kJobCsvInput: return "ＣＳＶファイル入力";
    case kJobCsvOutput: return "ＣＳＶファイル出力";
    case kJobRangeDelete: return "範囲指定削除";
    case kJobRangeInput: return "範囲指定入力";
    default: return "番号検索";
  }
}

std::string FieldText(const char* name) {
  char text[600] = "";
  GetItemRawValue(g_job.slot, name, text);
  return text;
}

void SetField(const char* name, const std::string& text) { SetItemValueForCommand(g_job.slot, name, text.c_str()); }

int CheckValue(const char* name) {
  char text[16] = "";
  GetItemValueForCommand(g_job.slot, name, text);
  return text[0] == '1' ? 1 : 0;
}

// The default output file: the table's name in the program's data folder
// (never the root of a drive, which a user may not write or would not find).
std::string DefaultOutputFile() {
  return ProgramDataFolder() + "\\" +
         (g_job.target.table.empty() ? "CSVFILE" : g_job.target.table) + ".CSV";
}

int Row(int& row) { return row++; }

// The items of the job's dialog: 0, or -1 (the items then given back).
int AddJobItems(int job, int* columns) {
  const JobDialogTarget& target = g_job.target;
  const int keyWidth = std::max(target.codeWidth, 8);
  const int fileWidth = 28;
  *columns = job == kJobCsvInput || job == kJobCsvOutput ? 52 : 44;
  *columns = std::max(*columns, kFieldColumn + 2 * keyWidth + 8);
  int row = 1;
  if (AddScreenButton("ｷｬﾝｾﾙ", "J00", 2, 0, Row(row), kKeyEscape, kItemEnabled, "QUIT_S.BMP", "", "") < 0 ||
      AddScreenButton("実 行", "J01", 10, 0, row - 1, kRunCommand, kItemEnabled, "", "", "") < 0) {
    return -1;
  }
  row += 2;
  auto field = [&](const char* name, const char* caption, int width, int room) {
    return AddScreenItem(caption, name, kFieldColumn, Row(row), 0, width, room, 0, 'X', 0, 0, 0, 'L', kItemEnabled,
                         0, 1, 0, 0, "", "");
  };
  // A check box of its own: a click turns it on or off.
  auto check = [&](const char* name, const char* label, int command) {
    return AddScreenCheck(label, name, kFieldColumn, Row(row), 0, 2, 0, 0, command, kItemEnabled, "", "", "");
  };
  char keyLabel[128];
  int rc = 0;
  const bool keyChoice = target.keyChoice;
  switch (job) {
    case kJobCsvInput:
      rc = field("TXTI", "ＣＳＶファイル名", fileWidth, MAX_PATH - 1);
      std::snprintf(keyLabel, sizeof keyLabel, "ｺｰﾄﾞ番号(%s)に対応", target.keyTitle.c_str());
      if (rc >= 0 && keyChoice) rc = check("NOPUT", keyLabel, kKeysCommand);
      // How the file must be laid out, under its name.
      for (const char* hint : {"TINPMSG1", "TINPMSG2"}) {
        if (rc >= 0) rc = AddScreenItem("", hint, kFieldColumn, Row(row), 0, fileWidth + 8, 40, 0, 'X', 0, 0, 0, 'L',
                                        kItemProtected, 0, 5, 0, 0, "", "");
      }
      break;
    case kJobCsvOutput:
      rc = field("TXTO", "ＣＳＶファイル名", fileWidth, MAX_PATH - 1);
      if (rc >= 0) rc = field("SNO", "開始番号", keyWidth, keyWidth);
      if (rc >= 0) rc = field("ENO", "終了番号", keyWidth, keyWidth);
      if (rc >= 0) rc = check("TTLPUT", "項目名の出力", kTitlesCommand);
      std::snprintf(keyLabel, sizeof keyLabel, "ｺｰﾄﾞ番号(%s)の出力", target.keyTitle.c_str());
      if (rc >= 0 && keyChoice) rc = check("NOPUT", keyLabel, kKeysCommand);
      if (rc >= 0) rc = check("DQPUT", "文字列を\"\"で囲む", kQuotesCommand);
      break;
    case kJobRangeDelete:
    case kJobRangeInput:
      rc = field("SNO", "開始番号", keyWidth, keyWidth);
      if (rc >= 0) rc = field("ENO", "終了番号", keyWidth, keyWidth);
      if (rc >= 0 && job == kJobRangeInput) rc = field("INPDAT", "入力値", 20, 60);
      break;
    default:
      rc = field("FCODE", target.keyTitle.c_str(), keyWidth, keyWidth);
      break;
  }
  if (rc < 0) return -1;
  ++row;
  return AddScreenItem("", "CTRMSG", 2, row, 0, *columns - 4, 80, 0, 'X', 0, 0, 0, 'L', kItemProtected, 2, 5, 0, 0,
                       "", "") < 0 ? -1 : 0;
}

void FillFields() {
  JobSettings& s = Settings();
  const int job = g_job.job;
  if (job == kJobCsvOutput || job == kJobRangeDelete || job == kJobRangeInput) {
    s.start = g_job.target.firstKey;
    s.end = g_job.target.lastKey;
  }
  switch (job) {
    case kJobCsvInput:
      SetField("TXTI", s.file);
      SetField("NOPUT", s.keys == 1 ? "1" : "0");
      SetField("TINPMSG1", "入力するＣＳＶファイルは、項目間を");
      SetField("TINPMSG2", "半角のカンマで区切ってください。　");
      break;
    case kJobCsvOutput:
      SetField("TXTO", s.file.empty() ? DefaultOutputFile() : s.file);
      SetField("SNO", s.start);
      SetField("ENO", s.end);
      SetField("TTLPUT", s.titles == 1 ? "1" : "0");
      SetField("NOPUT", s.keys == 1 ? "1" : "0");
      SetField("DQPUT", s.quotes == 1 ? "1" : "0");
      break;
    case kJobRangeDelete:
    case kJobRangeInput:
      SetField("SNO", s.start);
      SetField("ENO", s.end);
      if (job == kJobRangeInput) SetField("INPDAT", s.value);
      break;
    default:
      SetField("FCODE", s.code);
      break;
  }
}

// Takes the fields into the settings: false when the range is wrong.
bool TakeFields() {
  JobSettings& s = Settings();
  const int job = g_job.job;
  if (job == kJobCsvInput) {
    s.file = FieldText("TXTI");
    if (GetFieldState("NOPUT") >= 0) s.keys = CheckValue("NOPUT");
  }
  if (job == kJobCsvOutput) {
    s.file = FieldText("TXTO");
    s.titles = CheckValue("TTLPUT");
    if (GetFieldState("NOPUT") >= 0) s.keys = CheckValue("NOPUT");
    s.quotes = CheckValue("DQPUT");
  }
  if (job == kJobCsvOutput || job == kJobRangeDelete || job == kJobRangeInput) {
    s.start = FieldText("SNO");
    s.end = FieldText("ENO");
    if (s.start > s.end) {
      ShowInfoMessage("", "範囲の設定(%s～%s)が間違っています。", s.start.c_str(), s.end.c_str());
      return false;
    }
  }
  if (job == kJobRangeInput) s.value = FieldText("INPDAT");
  if (job == kJobNumberSearch) s.code = FieldText("FCODE");
  return true;
}

void CloseJobWindow() {
  if (!IsValidSlot(g_job.slot)) return;
  const int slot = g_job.slot;
  const HWND owner = g_job.owner;
  g_job.slot = -1;
  SaveJobSettings(g_job.target.printCode, g_job.settings);
  if (owner) EnableWindow(owner, TRUE);
  CloseScreenWindow(slot, 1);
  // After a cancel the list stands on its first line's key again.
  if (!g_job.ran && owner == GetWorkWindow(WorkWindow::kList)) SeekListRecord(LineKey(1).c_str());
  if (owner) SendMessageA(owner, kMsgScreenClosed, 0, 0);
}

LRESULT CALLBACK JobWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, g_job.slot)) return 0;
      break;
    case kMsgSlotOpened:
      g_job.slot = static_cast<int>(wParam);
      FillFields();
      return 0;
    case kMsgScreenCommand:
      if (wParam == static_cast<WPARAM>(kKeyEscape)) {
        CloseJobWindow();
      } else if (wParam == static_cast<WPARAM>(kRunCommand)) {
        TakeTypedValue();
        if (!TakeFields()) return 0;
        g_job.ran = true;
        if (g_job.owner) SendMessageA(g_job.owner, kMsgJobResult, g_job.job, 0);
        CloseJobWindow();
      }
      return 0;
    case kMsgCloseWindow:
    case WM_CLOSE:
      CloseJobWindow();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// Newer Windows refuses files in the root of its own drive: the question
// before such an output says so ("" for any other place).
std::string SystemDriveWarning(const std::string& path) {
  if (g_program.windowsVersionClass <= 7 || path.size() < 3 || path[1] != ':' ||
      FindFirstPathDelimiter(std::string_view(path).substr(3)) != std::string_view::npos) {
    return "";
  }
  char windows[MAX_PATH] = "";
  GetWindowsDirectoryA(windows, sizeof windows);
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (upper(windows[0]) != upper(path[0])) return "";
  const std::string drive = path.substr(0, 2);
  char warning[256];
  std::snprintf(warning, sizeof warning,
                "\n\n“%s\\”は、システムドライブです。\nWindows7/8 では、%sドライブの直下には出力できません。\n処理を続行しますか？",
                drive.c_str(), drive.c_str());
  return warning;
}

// The path of an input file: a name without a folder or drive is put into
// the program folder.
std::string CompleteInputPath(const std::string& name) {
  if (!name.empty() && (name[0] == '\\' || (name.size() >= 2 && name[1] == ':'))) return name;
  return GetProgramFolder() + "\\" + name;
}

}  // namespace

HWND RegisterJobWindow(HWND) {
  g_job.window = CreateHiddenWindow({"JobWin", JobWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUPWINDOW | WS_DLGFRAME});
  return g_job.window;
}

std::string ResolveFolderPath(const std::string& name) {
  const std::string program = GetProgramFolder();
  std::string path;
  const bool drive = name.size() >= 2 && name[1] == ':';
  if (drive && name.size() >= 3 && name[2] == '\\') {
    path = name;
  } else if (drive) {
    // A drive without a folder: the file goes into the program folder.
    path = program + "\\" + std::string(PathFileName(std::string_view(name).substr(2)));
  } else if (name.compare(0, 2, "\\\\") == 0) {
    path = name;
  } else if (!name.empty() && name[0] == '\\') {
    path = std::string(1, GetCurrentDriveLetter()) + ":" + name;
  } else {
    path = program + "\\" + name;
  }
  const std::string folder(PathFolder(path));
  const DWORD attributes = folder.size() <= 2 ? FILE_ATTRIBUTE_DIRECTORY : GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    ShowInfoMessage("", "フォルダ“%s”は、存在しません。", folder.c_str());
    return "";
  }
  return path;
}

int OpenJobDialog(HWND owner, int job) {
  JobDialogTarget target;
  target.printCode = g_listForm.printCode;
  target.table = g_listForm.table;
  target.keyTitle = g_listForm.keyTitle;
  target.codeWidth = g_listForm.codeWidth;
  target.keyChoice = g_list.newRowsAllowed && g_listForm.keyKind != kFreeKeys;
  target.firstKey = g_list.firstKey;
  target.lastKey = g_list.lastKey;
  return OpenJobDialogFor(owner, job, target);
}

// The owner runs its job as the dialog hands it over, before the dialog
// closes and saves: the dialog's own values for its screen.
JobSettings GetJobSettings(const std::string& printCode) {
  return printCode == g_job.target.printCode ? g_job.settings : LoadJobSettings(printCode);
}

int OpenJobDialogFor(HWND owner, int job, const JobDialogTarget& target) {
  if (!g_job.window || IsValidSlot(g_job.slot)) return -1;
  g_job.target = target;
  g_job.settings = LoadJobSettings(target.printCode);
  // Without the choice the files hold the codes, whatever was kept.
  if (!target.keyChoice) g_job.settings.keys = 1;
  int columns = 44;
  if (AddJobItems(job, &columns) != 0) {
    DiscardBuildingItems();
    return -1;
  }
  g_job.owner = owner;
  g_job.job = job;
  g_job.ran = false;
  int line = 0;
  if (!ListCellOfItem(g_screen.currentItem, &g_job.column, &line)) g_job.column = -1;
  POINT mouse{};
  GetCursorPos(&mouse);
  if (owner) EnableWindow(owner, FALSE);
  if (OpenScreenWindow(g_job.window, std::max(0, static_cast<int>(mouse.x) - 80), std::max(0, static_cast<int>(mouse.y) + 80),
                       columns * 8, 312, 0, job, 1, 1, 0, TitleOf(job)) != 0) {
    if (owner) EnableWindow(owner, TRUE);
    return -1;
  }
  return 0;
}

void RunListJob(int job) {
  const JobSettings& s = Settings();
  switch (job) {
    case kJobCsvInput:
      ImportListCsv(CompleteInputPath(s.file).c_str(), s.keys);
      break;
    case kJobCsvOutput: {
      const std::string path = ResolveFolderPath(s.file);
      if (path.empty()) break;
      if (AskYesNo("", s.titles ? "ＣＳＶファイル“%s”を作成します。\n　　　(タイトル､項目名の出力あり)%s"
                                : "ＣＳＶファイル“%s”を作成します。\n　　　(タイトル､項目名の出力なし)%s",
                   path.c_str(), SystemDriveWarning(path).c_str()) != IDYES) {
        break;
      }
      if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES &&
          AskYesNo("", "ＣＳＶファイル“%s”は既に存在します。\n上書きしてもよろしいですか？", path.c_str()) != IDYES) {
        break;
      }
      // The rows go out as the printed list's CSV form.
      ListReportSettings& report = GetListReportSettings();
      report.csvFile = path;
      report.start = s.start;
      report.end = s.end;
      report.titles = s.titles != 0;
      report.keys = s.keys != 0;
      report.quotes = s.quotes != 0;
      if (OutputListReport(2) != 0) break;
      if (const std::string program = SpreadsheetProgram(); !program.empty()) {
        LaunchExcel(program.c_str(), path.c_str());
      } else {
        ShowInfoMessage("", "\"%s\" に、%d件のデータを出力しました。", path.c_str(), report.rowsWritten);
      }
      break;
    }
    case kJobRangeDelete:
      if (RangeDeleteRecords(s.start, s.end) == 0) {
        g_listForm.changed = 1;
        SetScreenFlagA();
        ReopenListDataSet();
      }
      break;
    case kJobRangeInput:
      if (RangeInputToColumn(g_job.column, s.start, s.end, s.value) == 0) {
        g_listForm.changed = 1;
        SetScreenFlagA();
        ReopenListDataSet();
      }
      break;
    case kJobNumberSearch:
      if (db_find_key_or_next(g_listForm.tableSlot, s.code.c_str(), g_listForm.keyNumber) != 0) {
        ShowInfoMessage("", "%s 番のｺｰﾄﾞは登録されていません。", s.code.c_str());
      } else {
        SeekListRecord(GetColumnText(g_listForm.tableSlot, g_listForm.keyColumn.c_str()));
      }
      break;
    default:
      break;
  }
}
