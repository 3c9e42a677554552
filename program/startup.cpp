// Start-up and shutdown of both programs: one copy at a time, the command
// line, the program folder, the main window, every program-wide table and
// work window in one fixed order, the menu screen, and the release of all
// of it in an order where nothing is freed through a library already
// unloaded.
#include <windows.h>

#include <new>
#include <string>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "foundation/msgbox.h"
#include "foundation/path_split.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tally/tally.h"

StartState g_start;

namespace {

HCURSOR ProgramCursor(const char* name) {
  const HCURSOR own = LoadCursorA(g_start.instance, name);
  return own ? own : LoadCursorA(nullptr, IDC_ARROW);
}

void LoadCursors() {
  g_program.arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
  g_program.waitCursor = LoadCursorA(nullptr, IDC_WAIT);
  g_program.moveCursor = ProgramCursor("CTRMOVE");
  g_program.buttonCursor = ProgramCursor("PBUTTN");
  g_program.markCursor = ProgramCursor("HOSEI");
  g_program.linkCursor = ProgramCursor("FINGER");
}

std::string CurrentFolder() {
  char folder[MAX_PATH];
  return GetCurrentFolder(folder, sizeof folder);
}

// "%s\%s.MEM": the program folder and the program file's base name.
std::string MemFileOfProgram() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  const std::string name(PathFileName(std::string_view(path, length)));
  return g_program.programFolder + "\\" + name.substr(0, name.find_last_of('.'));
}

// A named definition: its folder and name become the current definition
// and the program folder becomes current. False after the message when the
// definition's file does not exist.
bool TakeCommandLine(const char* commandLine) {
  g_start.folderAtStart = CurrentFolder();
  const CommandLineRequest request = ParseCommandLine(commandLine);
  g_program.markSize = request.markSize;
  SetCurrentDirectoryA(ProgramFolderFromCommandLine(GetCommandLineA()).c_str());
  g_program.programFolder = CurrentFolder();
  if (request.definition.empty()) return true;
  const DefinitionPlace place = PlaceNamedDefinition(request.definition, g_program.programFolder);
  const std::string file = place.folder + "\\" + place.name + ".mdb";
  if (FileExists(file.c_str()) != 0) {
    ShowInfoMessage("", "フォーマット定義ファイル“%s”は、作成されていません。", file.c_str());
    return false;
  }
  SetCurrentDefinition(place.folder, place.name);
  g_program.commandLineMode = 1;
  return true;
}

HWND CreateMainWindow(HINSTANCE instance) {
  if (g_program.commandLineMode) {
    return CreateWindowA(kMainClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  }
  return CreateWindowA(kMainClassName, kMainClassName, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0,
                       0, nullptr, nullptr, instance, nullptr);
}

// Closes what the screen windows still show: their pop-ups, timers and
// edit controls, and the data sets of their lists, cards and sets.
void CloseOpenScreens() {
  for (int s = kWindowSlotCount - 1; s >= 0; --s) {
    if (Slot(s).state == kFreeSlotState) continue;
    CloseScreenDataSet(s);
    CloseScreenWindow(s, 0);
  }
  CloseScreenDefSlots(0);
}

// Frees every image the cache holds, through the imaging library.
void FreeCachedImages() {
  for (int i = 0; i <= kImageCacheLastEntry; ++i) {
    if (g_imageCache[i].image) DeleteImage(g_imageCache[i].image);
  }
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).backgroundImage) DeleteImage(Slot(s).backgroundImage);
    Slot(s).backgroundImage = 0;
  }
}

}  // namespace

int InitApplication(HWND mainWindow) {
  try {
    LoadCursors();
    SetCursor(g_program.waitCursor);
    g_program.mainWindow = mainWindow;
    g_program.programFolder = CurrentFolder();
    SetSpecFolder(g_program.programFolder.c_str());
    SelectScreenTableSpec();
    g_program.screenSpecFile = g_screenDefs.specFile;
    g_program.screenSpecFlag = g_screenDefs.specHasExec ? 1 : 0;
    g_program.screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
    g_program.screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    g_program.placingHeight = g_program.screenHeight + GetSystemMetrics(SM_CYCAPTION);
    g_program.windowsVersionClass = GetWindowsVersionClass();
    GetDisplayLineHeight(&g_program.lineUnit, &g_program.lineHeight, &g_program.lineSecond);
    BindImagingLibrary();
    SetErrorMode(SEM_FAILCRITICALERRORS);
    InitScreenEngine(mainWindow);
    CreateWorkWindows(mainWindow);
    g_program.memFileName = MemFileOfProgram() + ".MEM";
    db_init();
    PrepareLocalWorkDirectory();
    // The table descriptions the program opens lie in its work folder (a
    // network start copies them there).
    SetSpecFolder(g_program.workFolder.c_str());
    SetCursor(g_program.arrowCursor);
    return 0;
  } catch (const std::bad_alloc&) {
    ShowErrorMessage("", "ﾒﾓﾘを確保できません。");
    return -1;
  }
}

void ShutdownApplication() {
  CloseOpenScreens();
  CloseWaveDevice();
  // Images are freed through the imaging library: before it is unloaded.
  FreeCachedImages();
  UnbindImagingLibrary();
  db_term();
  DestroyWorkWindows();
}

StartOutcome StartProgram(HINSTANCE instance, HINSTANCE previous, const char* commandLine) {
  g_start = StartState();
  g_start.instance = instance;
  g_program = ProgramState();
  g_output = OutputSettings();
  g_mainWindow = MainWindowState();
  SetCurrentDefinition("", "");
  if (FindWindowA(kMainClassName, nullptr)) {
    ShowInfoMessage("", "%s は稼働中です。", kMainClassName);
    return StartOutcome::kNotStarted;
  }
  MSG pending;
  if (PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&pending);
  if (commandLine && *commandLine && !TakeCommandLine(commandLine)) return StartOutcome::kNotStarted;
  if (previous || !RegisterMainWindowClass(instance)) return StartOutcome::kNotStarted;
  const HWND main = CreateMainWindow(instance);
  if (!main) return StartOutcome::kNotStarted;
  if (InitApplication(main) != 0) return StartOutcome::kMenuFailed;
  g_sideWindows.login = RegisterLoginWindow();
  g_sideWindows.dataClear = RegisterDataClearWindow();
  g_sideWindows.graphColor = CreateGraphColorWindow();
  g_program.loginName.clear();
  g_program.loginPassword.clear();
  g_program.defaultDbKind = GetDefaultDbKind();
  g_program.screenSizeClass = GetScreenSizeClass();
  g_program.runningCodeStart = "00000";
  g_program.dictionaryDb = "DICDBS";
  if (g_program.commandLineMode) WriteDefinitionPath();
  const int menuMode = g_program.commandLineMode ? -9 : -1;
  if (OpenScreen("", kScreenDatabase, kMenuScreen, -1, menuMode, "") != 0) return StartOutcome::kMenuFailed;
  if (g_program.commandLineMode) SendMessageA(main, kMsgScreenCommand, kCmdOperation, 0);
  return StartOutcome::kMenuOpen;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

void EndProgram() {
  ShutdownApplication();
  for (HWND* window : {&g_sideWindows.login, &g_sideWindows.dataClear, &g_sideWindows.graphColor}) {
    if (*window && IsWindow(*window)) DestroyWindow(*window);
    *window = nullptr;
  }
  if (g_program.mainWindow && IsWindow(g_program.mainWindow)) DestroyWindow(g_program.mainWindow);
  g_program.mainWindow = nullptr;
  // The quit message the main window's end posted belongs to this run.
  MSG quit;
  while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  if (g_program.commandLineMode && !g_start.folderAtStart.empty()) {
    SetCurrentDirectoryA(g_start.folderAtStart.c_str());
  }
}
