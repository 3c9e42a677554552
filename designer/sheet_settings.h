// The sheet definition as a reading run needs it: the paper settings of the
// current side (MUPA_PAP), its key items (MUPA_IDX), the checks of its field
// definitions, and the run's logs, collation table and output table.
//
// Global state (defined in the .cpp named beside each):
//   g_currentSheet   project mode, canvas slot, output database, log folder
//                                                    (sheet_settings.cpp)
//   g_sheetSettings  paper settings of the current side (sheet_settings.cpp)
//   g_sheetKeys      key items of the sheet          (sheet_settings.cpp)
//   g_resultLogs     logs and table slots of a run   (run_logs.cpp)
// GUI thread only. Functions return 0 (or a count) on success and -1 on
// failure, after the one message that reports it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The tables of a sheet definition and their specification set.
constexpr char kSheetSpecSet[] = "MUPADATA";
constexpr char kPaperTable[] = "MUPA_PAP";
constexpr char kKeyItemTable[] = "MUPA_IDX";
constexpr char kFieldRowTable[] = "MUPA_FLD";
constexpr char kCollationItemTable[] = "MUPA_ORG";

// What a run needs of the program's state beside the sheet-definition
// database and side (g_sheetDefinition of the screen engine): the project's
// mode, the window slot of the sheet canvas (the items the checks and the
// reading run walk), the output database and the logs' folder.
struct CurrentSheet {
  int projectMode = 1;        // 1 design and test reading, 2 operation
  int canvasSlot = -1;
  std::string outputFolder;   // the output database's folder and name
  std::string outputDatabase;
  int outputKind = 1;
  std::string logFolder;      // where the run logs go
};
extern CurrentSheet g_currentSheet;

// The paper settings of the current side, column by column.
struct SheetSettings {
  std::string sheetCode;
  std::string sheetName;          // ＯＣＲ用紙名, else the database's name
  std::string outputTable;        // テーブル
  std::string collationTable;     // ORGTABLE
  std::string outputDbFile;       // データベースＪ
  int compensationMode = 2;       // LINESTYLE: 0 none, 1 to 3 marks
  int scannerScreen = 2;          // スキャナ設定画面: 1 the scanner's own
  int brightness = 5;             // 明るさ, 1 to 10
  int guideAcross = 2, guideDown = 2;  // 横間隔, 縦間隔: guide lines in grid units
  int markMarginX = 0, markMarginY = 0;  // 補正Ｘ/Ｙ余白 + 2 (0 none)
  int areaX1 = 0, areaY1 = 0;     // 補正Ｘ/Ｙエリア１ as stored
  int areaX2 = 0, areaY2 = 0;     // 補正Ｘ/Ｙエリア２
  int int6 = 0, int7 = 0, int8 = 0, int9 = 0;
  int preprint = 0;               // プレプリント
  int createTable = 0;            // テーブル作成: 1 create a missing table
  int existingData = 1;           // 既存データ: 2 a stored key is overwritten
  int gridShiftX = 0, gridShiftY = 0;  // 横シフト, 縦シフト
  std::string paperSize, orientation;  // 用紙サイズ, 用紙方向
  int widthMm = 210, heightMm = 297;   // turned for landscape
  int noiseSize = 0;              // ノイズサイズ: 1 to 7 erase specks
  int scanType = 2;               // 予備１: 1 flatbed, 2 feeder, 3 paired
  int twoSheetSet = 0;            // 予備１ was 4: two sheets a set
  int errorSetting = 0;           // 予備２: 2 go on after a fault
  int keyNumbering = 0;           // 予備３: 2 the key is numbered by the run
  int shiftThreshold = 0;         // 補正境界値: shifts logged from here
  int comparisonFolder = 0;       // 比較イメージパス
  int recordImages = 0;           // 比較用イメージ出力
  int ruledLines = 0;             // 罫線: areas of the sheet are cut out
  int printColourState = 0;       // from 印字カラー and 色を薄くする
  std::string dateColumn, timeColumn;  // タイムスタンプ with 日付/時刻項目名
  double ratioX[3] = {0, 0, 0};   // イメージ割合01-03
  double ratioY[3] = {0, 0, 0};   // イメージ割合11-13
};
extern SheetSettings g_sheetSettings;

// One key item of the sheet; `onSheet` false for a key item that no field
// of the canvas bears (its value comes from the reading-run dialog).
struct SheetKeyItem {
  std::string name, title, value;
  int width = 0;
  bool onSheet = false;
};
struct SheetKeyItems {
  std::vector<SheetKeyItem> items;
  std::string lastKeyName;        // the key field of the sheet
};
extern SheetKeyItems g_sheetKeys;

// The MUPA_PAP row of the front ("0001"), where the sheet-wide switches
// stand: the table slot on it, or -1 after the message.
int OpenFrontPaperRow();
// Loads the paper settings from the current row of a MUPA_PAP slot. 0.
int LoadSheetPaperSettings(int slot);
// Opens MUPA_PAP of the current sheet definition, loads the row of the
// current side and closes it: 0, or -1 when the table cannot be opened or
// has no such row (after the message).
int LoadCurrentSheetPaper();
// Reads the key items (MUPA_IDX of side "0001" in ＩＤＸコード order) and
// tells which are fields of the canvas: 0, or -1 when the rows cannot be
// read (reported by the database layer).
int LoadSheetKeyItems();
// The item of the canvas named `name`, or -1.
int FindCanvasField(const std::string& name);

// Rebuilds the items of the sheet canvas (`slot`) from the field rows of the
// current sheet code, after the side changed. 0, or -1 (reported).
int RebuildWindowItems(int slot, int mode);

// A filled oval (マーク型 1) in a framed field (網掛け) printed in black
// needs a threshold of at least this, or -1 (not read).
constexpr int kLeastOvalThreshold = 20;
// Whether those settings of a check field fall below it on the current
// sheet; its message names the field.
bool OvalThresholdTooLow(int markType, int shading, int threshold);
void ShowOvalThresholdMessage(const char* name);

// The checks before reading and printing: every field inside the paper,
// named, named once, readable, and the key field on the sheet. 0, or -1
// after the message of the first fault.
int ValidateSheetFields();
// Text items drawn in the handwriting style (文字太 3) print only with the
// font KQMUPA: 0 when the sheet has none or the font is installed, -1
// after the message (or when the field rows cannot be read, reported).
int CheckHandwritingFontNeeded();
// MUPA_FLD of the read items of both sides (area codes 0001 to 0999),
// selected but not positioned: the table slot, or -1 (reported).
int OpenReadItemRows();
// The summary of the read items of both sides that lays out the printed
// field list (ShowFieldSummary, field_summary.cpp): the lowest and
// highest area codes; per position of 有効文字種 how many fields other than check
// fields (and a numbered key item) allow it; how many fields have a
// minimum, a maximum, an array start; whether any is an array; the widest
// name, conversion condition and choices in bytes (at least 8, 14, 20).
constexpr int kCharacterTypes = 10;
struct FieldSummary {
  std::string firstCode, lastCode;
  int typeCounts[kCharacterTypes] = {};
  int minimums = 0, maximums = 0, arrayStarts = 0;
  bool arrays = false;
  int nameWidth = 0, conditionWidth = 0, choiceWidth = 0;
};
extern FieldSummary g_fieldSummary;
// Gathers g_fieldSummary: 0, or -1 when the sheet has no read items (or
// the rows cannot be read, reported).
int ShowFieldSummary();
// A check field's 編集 is "ﾁｪｯｸ".
bool IsCheckFieldEdit(const char* edit);
// Names of the read items over both sides ("%s%02d" for repeated fields):
// their number (at most 255), or -1 after the message.
int BuildReadItemList(std::vector<std::string>* names);

// The logs and table slots of a reading run.
struct ResultLogs {
  HANDLE put = INVALID_HANDLE_VALUE;   // %s_PUT.LOG: stored records
  HANDLE err = INVALID_HANDLE_VALUE;   // %s_ERR.LOG: rejected values
  HANDLE hos = INVALID_HANDLE_VALUE;   // %s_HOS.LOG: large shifts
  int outputSlot = -1;                 // the output table
  int collationSlot = -1;              // the collation table, when used
  std::string outputQuery;             // select of the missing key items
};
extern ResultLogs g_resultLogs;

// Opens the collation table of the collation items (MUPA_ORG): 0, also when
// there is nothing to collate or no row matches (then OCRMSG says so); -1
// after "照合テーブル“%s-%s”は、作成されていません。".
int LookupCollationTable();
// The select of the output table by the key items that are not fields of
// the sheet; empty when every key item is a field.
std::string BuildKeyItemQuery();
// Opens the logs of the sheet definition in the log folder (the header line
// unless `testScan`), and the output table, created when the sheet allows
// it. 0, or -1 after the message; the caller closes what was opened with
// CloseResultLogs.
int OpenResultLogs(int testScan);
// Closes the logs, the collation table and the output table.
void CloseResultLogs();
