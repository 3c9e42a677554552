// The top of both programs: start-up and shutdown, the work windows of
// every subsystem in their fixed order, the invisible main window with the
// menu screen and its command dispatch, the login window, the data-clearing
// window and the commands that open the project screen.
//
// Global state (defined in the .cpp named beside each):
//   g_start        what start-up did and must undo      (startup.cpp)
//   g_workWindows  the 24 work windows and the three made around them
//                                                       (work_windows.cpp)
//   g_mainWindow   the main window's screen and command state
//                                                       (main_window.cpp)
// GUI thread only. Functions returning 0/-1 say what each result means; a
// failure they report was shown once and callers do not report it again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "screen/screen.h"

// ---------------------------------------------------------------------------
// Start-up and shutdown (startup.cpp)

// The steps of WinMain, apart so that tests can run them.
enum class StartOutcome {
  kNotStarted,  // a second copy, a missing definition, no main window: exit 0
  kMenuOpen,    // the menu is open: run the message loop, then EndProgram
  kMenuFailed,  // the menu screen did not open: EndProgram at once
};
// Makes sure only one copy runs, reads the command line (a named definition
// makes the program folder current and must exist), creates the main
// window, initialises everything, creates the login, data-clearing and
// graph-colour windows and opens the menu; in command-line mode it then
// opens the project screen in operation mode.
StartOutcome StartProgram(HINSTANCE instance, HINSTANCE previous, const char* commandLine);
// GetMessage, TranslateMessage, DispatchMessage until the quit message;
// returns its wParam.
int RunMessageLoop();
// Shuts down (ShutdownApplication), destroys the login, data-clearing and
// graph-colour windows and the main window when it is still there, and in
// command-line mode makes the folder current again that was current at the
// start.
void EndProgram();

// Prepares every program-wide table and creates the work windows: cursors,
// the screen tables' description, the display's metrics, the imaging
// libraries, the screen engine, the work windows in their fixed order, the
// print-settings file name, the database layer and the work folders.
// Returns 0, or -1 after "ﾒﾓﾘを確保できません。" when memory ran out (the
// start then stops).
int InitApplication(HWND mainWindow);
// Releases everything InitApplication took, in this order: the open screen
// windows, the images the cache holds (while the imaging libraries are
// still loaded), the imaging libraries, the database layer (every table
// slot, the ODBC environment) and the work windows.
void ShutdownApplication();

struct StartState {
  HINSTANCE instance = nullptr;
  std::string folderAtStart;  // restored at the end in command-line mode
};
extern StartState g_start;

// ---------------------------------------------------------------------------
// Work windows (work_windows.cpp)

// One work window: its class and how its owner makes it.
struct WorkWindowEntry {
  const char* className;
  HWND (*create)(HWND mainWindow);
  HWND window;
};
// The 24 work windows in the order start-up creates them.
extern std::vector<WorkWindowEntry> g_workWindows;
// Creates every work window in the fixed order (the derived program kind is
// set just before the last, "Cad"). A window that cannot be made is left
// empty; start-up goes on.
void CreateWorkWindows(HWND mainWindow);
// Destroys them in the fixed order of shutdown.
void DestroyWorkWindows();
// The classes of the work windows in the order shutdown destroys them.
const std::vector<const char*>& WorkWindowDestroyOrder();

// The three windows made after the work windows.
struct SideWindows {
  HWND login = nullptr, dataClear = nullptr, graphColor = nullptr;
};
extern SideWindows g_sideWindows;
// Opens screen `screenNumber` in the side window `window`, titled `title`,
// with the active window disabled while it shows; `previous` keeps the
// active window, which is enabled again at once when the screen does not
// open (after the screen engine's message).
void OpenSideScreen(HWND window, HWND* previous, int x, int y, int width, int height, int screenNumber,
                    int inputMode, const char* title);

// ---------------------------------------------------------------------------
// The main window (main_window.cpp, menu_commands.cpp, screen_handlers.cpp)

// Private messages the shell handles beside the screen engine's.
constexpr UINT kMsgNotice = WM_USER + 102;         // 1126
constexpr UINT kMsgPrintDone = WM_USER + 114;      // 1138
constexpr UINT kMsgRightButton = WM_USER + 140;    // 1164
constexpr UINT kMsgPrintChoice = WM_USER + 146;    // 1170

// Menu command codes.
enum MenuCommand {
  kCmdServerChoice = 11,
  kCmdChooseDefinition = 12,
  kCmdSheetSettings = 14,
  kCmdHelp = 21,
  kCmdClearData = 23,
  kCmdSurveyItems = 33,
  kCmdSurveyData = 35,
  kCmdTally = 36,
  kCmdDesign = 41,
  kCmdOperation = 42,
  kCmdQuit = 99,
};

// Screen numbers the main window handles.
constexpr int kServerChoiceScreen = 11;
constexpr int kDataClearScreen = 38;
constexpr int kLoginScreen = 31;
constexpr int kProjectScreen = 82;
constexpr int kWorkbenchScreen = 90;
constexpr int kAnswerListScreen = 92;  // screen "101" of the definition
constexpr int kSurveyItemsScreen = 33;        // "KOMK-INP2"
constexpr int kSurveyItemsChangeScreen = 34;  // "KOMK-CHG", from the tally menu
constexpr int kTallyMenuScreen = 36;          // "SPRN-MENU"
constexpr int kTallyCsvScreen = 44;           // the CSV dialog of the tallies
constexpr int kTallyQuestionsScreen = 37;     // "SPRN-SET", "SPRN-SET2", "SPRN-SET3"

struct MainWindowState {
  int slot = -1;            // the menu's window slot
  int lastCommand = 0;
  int lastPopupChoice = 0;
  int tallyKind = 0;        // 1 to 12, chosen on the tally screens
  HWND hiddenForPrint = nullptr;
  int initialised = 0;      // the menu's start-up ran
};
extern MainWindowState g_mainWindow;

// Registers the main window's class (icon 101): false when it cannot be.
bool RegisterMainWindowClass(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs a menu command (the codes above); other codes apply the pending
// focus move. Returns 0 when the command ran, -1 when it stopped at a check
// (after its message) or did nothing.
int RunMenuCommand(int code);
// Greys the menu's buttons of the sheet designer (codes 14 and 41) of the
// menu in `slot` when the installation leaves the designer out (OCR.INI
// CTREDT 0): they take no click.
void ShowDesignerCommands(int slot);
// Runs a command once the login it needed was given (from the login
// window): 23, 33, 36, 41 and 42.
void RunCommandAfterLogin(int code);

// The main window's handling of the screens it owns, by screen number:
// 1134 built, 1135 fill, 1132 input ended, 1136 closed, 1146 close query.
void OnScreenBuilt(int screenNumber);
void OnFillScreen(int screenNumber);
void OnFieldInput(int screenNumber);
void OnScreenClosed(int screenNumber);
void OnCloseQuery(int screenNumber);

// ---------------------------------------------------------------------------
// The output database of the current sheet and the project screen
// (output_settings.cpp)

// Loads the output database, table and sheet settings of the current
// definition (its tables upgraded first) into g_output and hands the
// database layer the output database. 0, or -1 after the message of the
// missing table, the missing folder or the sheet check.
int LoadOutputDatabaseSettings();
// Shows the output folder of the current definition on the menu
// ("フォルダ名"), empty without one or for a server database. Reads only.
void ShowOutputFolder();
// The database on the server that the current sheet's answers go to
// (データベースＳ of its first paper row): read, or written with `save`
// (the row must be there). 0, or -1 without a chosen definition or when its
// row cannot be read or written (reported by the database layer).
int TransferServerDatabase(std::string& name, bool save);
// The sheet's first paper row is made ready for reading (書込形式 1, the
// compensation kind 3 read as 2) and an output table is named. 0, or -1
// after the message.
int CheckSheetDefined();
// Makes sure the project screen's row "PLN" is in the screen database.
// 0, or -1 (reported by the database layer).
int EnsureProjectScreenRow();
// The title line of the project screen.
std::string ProjectScreenTitle();
// Opens the project screen in mode command - 40 (41 design and test
// reading, 42 operation): the workbench's button bar and the sheet in the
// canvas. 0, or -1 after the message of the step that failed.
int OpenProjectScreen(int command);

// ---------------------------------------------------------------------------
// Survey items and tallies (tally_commands.cpp)

// The survey (g_survey) reads the current definition and writes to its
// output database.
void PointSurveyAtCurrentDefinition();
// Opens the survey items screen "KOMK-INP2" once the output table's
// columns are read. 0, or -1 after the screen engine's message.
int OpenSurveyItemsScreen();
// Opens the tally menu "SPRN-MENU". 0; -1 after "集計・印刷を行うデータが
// ありません。" when the output table holds no record (or cannot be
// opened), or after the screen engine's message.
int OpenTallyMenu();
// The main window's part in the survey and tally screens: each returns
// false for a screen it does not handle.
bool OnSurveyScreenBuilt(int screenNumber, int slot);
bool OnFillSurveyScreen(int screenNumber, int slot);
bool OnSurveyScreenInput(int screenNumber, int slot);
bool OnSurveyScreenClosed(int screenNumber);
// The tally of output kind 1 to 12, or the write-in list (the print type of
// the image list), that the print-settings screen asked for: printed (mode
// 1) or drawn on its preview (0). Other kinds do nothing.
void RunTallyOutput(int printMode, int outputKind);
// The print settings closed: the window hidden while they showed comes back.
void ShowWindowHiddenForPrint();
// The print settings of the simple and cross tallies asked for CSV output:
// the CSV dialog opens for its file (mode 2, screen 44).
void OpenTallyCsvDialog();
// Run in the CSV dialog: the named file (completed as the output jobs'
// names are, its folder present) confirmed, and an existing one confirmed
// again, the current tally is written to it and the dialog closed. The
// dialog stays open after "「ＣＳＶファイル名」が入力されていません。", a
// missing folder or a No.
void WriteTallyCsv();

// ---------------------------------------------------------------------------
// Further screens of a tally's print settings (tally_print_options.cpp)

// The layout key: the questions of the survey with the print switch and
// page break of the tally kind shown ("SPRN-SET" for graphs, "SPRN-SET2"
// or "SPRN-SET3" with the grouping items of cross tabulations), screen 37.
void OpenTallyQuestionSettings();
// Screen 37 being read: its switch fields become those of the kind shown.
void OnTallyOptionsNumber(int screenNumber);
// The graphs' colour key: the colour slots of the graph type of the current
// tally kind ("GCOL-SET" 61 to 63, "GCOL-SET2" 64), the print settings
// disabled while they are open.
void OpenTallyColorSlots();
// The main window's part in those screens: false for a screen they are not.
bool OnTallyOptionsFill(int screenNumber, int slot);
bool OnTallyOptionsInput(int screenNumber, int slot);
bool OnTallyOptionsClosed(int screenNumber);

// ---------------------------------------------------------------------------
// Login window "Pas" (login_window.cpp)

HWND RegisterLoginWindow();
// Asks for the login of the output database before `command` runs: the
// password only for the file database, login name and password for the
// server. Returns 0.
int OpenLoginWindow(int command);
LRESULT CALLBACK LoginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------
// Data-clearing window "Clr" (data_clear_window.cpp)

// What the user chose to delete.
struct DataClearTargets {
  bool table = false;      // the output table
  bool scanned = false;    // the scanned images of the image folder
  bool cutImages = false;  // the area images in the output database's folder
  bool logs = false;       // the run logs of the definition
  bool merged = false;     // 比較イメージパス 1: one box for both kinds of images
};
// The targets of the four check positions "1011" of 削除対象 (with the
// merge of positions 2 and 3 when `merged`).
DataClearTargets DataClearTargetsFromFlags(const char* flags, bool merged);

HWND RegisterDataClearWindow();
// Builds and opens the data-clearing screen. 0.
int OpenDataClearWindow(int screenNumber);
// Asks and deletes the chosen targets. 0 when everything chosen was
// deleted and "初期化処理が終了しました。" shown; -1 when nothing was chosen,
// the user declined, or something could not be deleted (after the message
// naming it: the rest is left, and completion is not reported).
int ClearReadData(const DataClearTargets& targets);
LRESULT CALLBACK DataClearWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
