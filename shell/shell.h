// The application shell's program-wide state and services: where the
// program runs and works, the login, the current sheet definition and the
// output database of its sheet, the small settings files, the checks the
// menu commands make before they run, the upgrade of older definition
// tables, and the program's environment (manuals, the handwriting font,
// the end-of-run message). The designer, the reading run, data entry and
// tallies read this state; start-up, the main window and its command
// dispatch (program/) set it.
//
// Global state (defined in the .cpp named beside each):
//   g_program   start-up values: folders, kinds, cursors, login
//                                                   (program_state.cpp)
//   g_output    the server choice and the output database of the current
//               sheet                               (settings_files.cpp)
// The current definition's folder and name are the screen engine's
// g_sheetDefinition, which the project screen reads.
//
// GUI thread only. Functions returning 0/-1 say what each result means;
// a failure they report was shown once in a message box and callers do not
// report it again.
#pragma once

#include <windows.h>

#include <string>

#include "shell/shell_text.h"

// ---------------------------------------------------------------------------
// Fixed names

constexpr char kMainClassName[] = "KQﾏｰｸｱﾝｹｰﾄ";  // also the title word
constexpr char kProgramName[] = "KqQuest";        // the local work folder's name
constexpr char kProgramVersion[] = "14.5";        // SCRTITLE of the menu screen
constexpr int kProgramKind = 2;
constexpr char kScreenDatabase[] = "KQQSCR";
constexpr char kMenuScreen[] = "KQQL-MENU";
constexpr char kSettingsDatabase[] = "MUPAINIT";  // in the work folder
constexpr char kSettingsTable[] = "MUPA_SET";
constexpr char kSettingsSpec[] = "MUPADATA";
constexpr char kServerListFile[] = "server.dat";       // in the program folder
constexpr char kDefinitionPathFile[] = "ocrpath.dat";  // in the work folder
constexpr char kGuideArrow[] = "ARROW_U.BMP";
constexpr char kHandwritingFace[] = "KQMUPA";

// ---------------------------------------------------------------------------
// Start-up values (program_state.cpp)

struct ProgramState {
  HWND mainWindow = nullptr;
  int markSize = 0;              // registration-mark size at 200 dpi ("/2H")
  int commandLineMode = 0;       // 1: a definition was named on the command line
  int programKind = kProgramKind;
  int derivedKind = 0;           // 3 for program kinds 1 and 2, else 9
  std::string programFolder;     // base of every relative name
  std::string workFolder;        // the program folder, or the local copy
  std::string imageFolder, logFolder;
  std::string loginName, loginPassword;
  int defaultDbKind = 1;         // of the database layer, at start-up
  int screenSizeClass = 0;
  int windowsVersionClass = 10;
  std::string memFileName;       // the print settings ("%s\%s.MEM")
  std::string screenSpecFile;    // "FSCRTBL3.SPC" or "FSCRTBL2.SPC"
  int screenSpecFlag = 0;        // 1 for FSCRTBL3.SPC
  std::string runningCodeStart;  // "00000"
  std::string dictionaryDb;      // "DICDBS"
  int screenWidth = 0, screenHeight = 0, placingHeight = 0;
  int lineUnit = 0, lineHeight = 0, lineSecond = 0;  // GetDisplayLineHeight
  // Arrow, hour-glass, and the program's own cursors: moving items, over
  // buttons, over registration marks, over links.
  HCURSOR arrowCursor = nullptr, waitCursor = nullptr;
  HCURSOR moveCursor = nullptr, buttonCursor = nullptr, markCursor = nullptr,
          linkCursor = nullptr;
};
extern ProgramState g_program;

// Class 1 to 10 of the running Windows (WindowsVersionClass).
int GetWindowsVersionClass();
// The print-settings file becomes "%s.MEM" of `name`.
void SetMemFileName(const char* name);

// Sets the work, image and log folders from the current folder (a network
// folder works in the station's own "<drive>:\KqQuest") and makes every
// one that is missing, on every start. Only when it made the station's
// work folder does it copy the program's files into it: the table
// descriptions, the handwriting font and the definition databases of
// "teigi". Returns the number of definitions copied, 0 when nothing was
// copied, or -1 after the message of the first file that could not be
// copied (the copying stops there).
int PrepareLocalWorkDirectory();
// As PrepareLocalWorkDirectory for planned folders, copying from
// `sourceFolder` (the program folder).
int PrepareWorkFolders(const WorkFolders& plan, const std::string& sourceFolder);
// The work folder, or the program folder before the start has set it.
std::string ProgramWorkFolder();
// The "data" folder of the work folder: where the output databases and the
// CSV files go unless a path says otherwise.
std::string ProgramDataFolder();

// The hour-glass while an object lives; the arrow after.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// ---------------------------------------------------------------------------
// Server choice, current definition and output database (settings_files.cpp,
// definition_checks.cpp)

struct OutputSettings {
  int dbKind = 1;             // from "server.dat": 1 file, 2 server
  std::string serverName;
  std::string database;       // output database: file base name or server name
  std::string folder;         // its folder (file database)
  std::string table;          // output table (テーブル)
  int passwordSetting = 1;    // パスワード設定: 2 asks for the file password
  std::string sheetName;      // ＯＣＲ用紙名
  int cutImageSetting = 0;    // 比較イメージパス: 1 area images in the output folder
  int keyNumbering = 0;       // 予備３
  long recordLimit = -1;      // no limit
};
extern OutputSettings g_output;

// The definition the program works on: its folder and base name (the
// screen engine's g_sheetDefinition) and the sheet "0001".
void SetCurrentDefinition(const std::string& folder, const std::string& name);
const std::string& DefinitionFolder();
const std::string& DefinitionName();
// "%s\%s.mdb" of the current definition.
std::string DefinitionFilePath();

// Reads "server.dat" of the program folder into g_output and hands the
// database layer the default kind and server: the server database with
// its name, or the file database. A missing file is the file database.
void ReadServerList();
// Writes the kind and server of g_output into "server.dat", then reads it
// again. 0, or -1 after "“%s”をオープンできません。" (nothing changes).
int WriteServerList();
// Reads "ocrpath.dat" of the work folder as the current definition, clears
// the menu's guide texts and sets the title line on the active window.
// 0 when the definition file exists; -1 when none is set (quiet) or its
// file is missing (after "フォルダ“%s”に“%s.mdb”は、存在しません。...").
int ReadDefinitionPath();
// Writes the current definition into "ocrpath.dat" (replaced whole). 0, or
// -1 after the message.
int WriteDefinitionPath();
// The title line of the current definition.
std::string CurrentTitleLine();

// Shows the red guide arrow in a field of the menu ("定義ガイド", "ＤＢガイド").
void ShowGuideArrow(const char* field);
// A definition is chosen and its file and folder exist: 0, or -1 after the
// message (with the arrow where it helps).
int CheckDefinitionSelected();
// The survey items of the definition and the output table's description
// exist: 0, or -1 after the message.
int CheckSurveyData();
// The menu screen of the screen database is of this program's version: 0,
// or -1 after the message.
int CheckMenuScreenVersion();
// The file dialog of the definition databases. -1 when nothing was chosen
// or the choice was refused (a definition in the work folder itself; the
// current definition is then cleared), 1 when the chosen definition has no
// output database yet, else 0.
int ChooseDefinitionFile();
// The output database path of the first MUPA_PAP row of `slot`
// (データベースＪ): 0 when the row holds a path, 1 when a default was made
// (in the "data" folder of the program's work folder).
int ResolveOutputDatabasePath(int slot, std::string* path);
// The open-file dialog (through the modal-dialog seam "GetOpenFileName") for
// files matching `pattern` ("*.mdb"), starting in `folder`, the name also
// starting as the pattern; `file` (room `size`) takes the chosen path.
// False when the dialog was cancelled.
bool AskFileToOpen(const std::string& title, const char* pattern, const std::string& folder, char* file,
                   int size);
// 1 when the program folder holds a blank (the program refuses to run).
int ProgramPathHasBlank();

// ---------------------------------------------------------------------------
// Sheet-definition tables of older versions (sheet_upgrades.cpp)

// Adds the columns newer versions read to MUPA_PAP and MUPA_FLD of the
// current definition and widens their texts, group by group where the
// group's probe column is missing. 0, or -1 when a table cannot be opened
// (reported).
int UpgradeSheetTables();
// 調査項目 of the current definition gets its newer columns; カウントデータ
// (EnsureSurveyCountColumn) and 調査名 of 調査定義 (EnsureSurveyName) are
// widened to 255. Always 0: a failing change was reported by the database
// layer.
int UpgradeSurveyItemTable();
int EnsureSurveyCountColumn();
int EnsureSurveyName();

// ---------------------------------------------------------------------------
// Parts this build does not hold yet (not_built.cpp)

enum class NotBuilt {
  kManual,           // the manuals (PDF files of "マニュアル")
  // The workbench's: its entry screens and the designer's grids, and the
  // program's windows it asks for when run without them.
  kCardScreen,       // ｶｰﾄﾞ: the card-form entry screen
  kListScreen,       // 一覧: the list-form entry screen
  kFieldPrint,       // printed list of the write-in fields
  kSheetPrint,       // the sheet print window
  kDataClear,        // the data-clearing window
};
// Says in a message which part is not in this build yet (with `detail`,
// such as the missing file, when given). Returns -1.
int ShowNotBuilt(NotBuilt part, const char* detail = nullptr);

// ---------------------------------------------------------------------------
// The settings database and the program's environment (environment.cpp)

// Opens MUPA_SET of the settings database in the work folder on its row
// "1", adding the row (ＤＢ種別 1, 読取解像度 1) when it is missing. The
// table slot, or -1 (reported by the database layer).
int OpenSettingsRow();
// Opens a manual ("操作説明書.PDF", "注意事項.PDF" of "%s\マニュアル") in the PDF
// reader. 0, or -1 after the message.
int OpenManualPdf(const char* fileName);
// Lets the user choose the PDF reader and stores it. 0, or -1 when the
// dialog was cancelled.
int ChooseAdobeReader();
// Searches the reader under the program folders of the system drive: 0
// with its path, or -1 with an empty path. `systemDrive` 0 takes the
// drive of the system folder.
int FindAdobeReader(std::string* path, char systemDrive = 0);
// 0 when the font family "KQMUPA" is installed, else -1 after the message.
int CheckHandwritingFont();
// The end of a reading run: FormatReadingTime into the field "OCRMSG" of the
// reading screen and the end sound. The reading run refreshes the record
// count after it.
void ShowReadingTimeMessage(int count, DWORD startMs, DWORD endMs);
