// Opens the fixture list screen of the screen tests in the list-form window
// and saves PNGs of it with its rows (its first page and the next), of its job dialog (CSV output), of its
// search window and of the print settings of its printed list with their
// preview, for a person to look at.
//
// Usage: list_form_snapshot [output folder]
#include <windows.h>

#include <cstdio>
#include <string>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/imaging.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/test_pictures.h"
#include "tools/screen_snapshot/slot_picture.h"

namespace {

constexpr UINT kMsgMenuCommand = WM_USER + 132;  // 1156: what the list's F9 menu sends
constexpr int kCsvOutputJob = 202, kPrintJob = 203, kSearchJob = 208;
constexpr WPARAM kNextPageKey = 113;  // F2

int PrintMessageBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "[%s] %s\n", call.caption.c_str(), call.text.c_str());
  return IDYES;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

bool SaveWindow(HWND window, const std::string& path) {
  int width = 0, height = 0;
  UpdateWindow(window);
  const auto picture = CopyWindowPicture(window, &width, &height);
  if (picture.empty() || !WritePng(path, width, height, picture)) {
    std::fprintf(stderr, "no picture of %s\n", path.c_str());
    return false;
  }
  std::printf("wrote %s (%d x %d)\n", path.c_str(), width, height);
  return true;
}

// The last slot opened: the dialog over the list.
int TopSlot() {
  for (int s = kWindowSlotCount - 1; s > 0; --s) {
    if (Slot(s).state != kFreeSlotState) return s;
  }
  return -1;
}

// Rows 0005 to 0012 after the fixture's four: two pages of six lines.
bool AddSecondPage() {
  const int slot = db_alloc_slot("", kFixtureDb, "T_ITEMS", -1);
  if (slot < 0) return false;
  bool ok = true;
  for (int n = 5; n <= 12; ++n) {
    char insert[160];
    std::snprintf(insert, sizeof insert,
                  "insert into T_ITEMS (CODE,NAME,QTY,CAT) values ('%04d','追加の品目%d',%d,'01')", n, n, n * 3);
    ok = ok && db_exec(slot, insert) == 0;
  }
  db_disconnect(slot);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string output = argc > 1 ? argv[1] : current;
  SetMessageBoxHook(PrintMessageBox, nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "ListSnapshotMain";
  RegisterClassA(&wc);
  const HWND mainWindow = CreateWindowExA(0, wc.lpszClassName, "main", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                          wc.hInstance, nullptr);
  InitScreenEngine(mainWindow);
  db_init();
  BindImagingLibrary();
  const std::string work = std::string(current) + "\\list_snapshot_work";
  CreateDirectoryA(work.c_str(), nullptr);
  DeleteFileA((work + "\\" + kFixtureDb + ".mdb").c_str());
  UseFixtureDatabase(kDbKindFile, work, {});
  if (PrepareFixtureTables() != 0 || !AddSecondPage() || LoadScreenTexts(kFixtureTextFolder, "", kFixtureDb) <= 0) {
    std::fprintf(stderr, "the fixture screens could not be loaded\n");
    return 1;
  }
  const HWND windows[] = {RegisterMenuWindow(mainWindow), RegisterListWindow(mainWindow),
                          RegisterJobWindow(mainWindow), RegisterSearchWindow(), RegisterPrintSettingsClass()};
  int failures = 0;
  if (OpenScreen("", kFixtureDb, "TEST-LIST", -1, -1, "") != 0) return 1;
  Pump();
  const HWND list = GetWorkWindow(WorkWindow::kList);
  failures += SaveWindow(list, output + "\\list-form.png") ? 0 : 1;
  // A page on: the focused cell and the row scroll bar follow it.
  SendMessageA(list, kMsgScreenCommand, kNextPageKey, 0);
  failures += SaveWindow(list, output + "\\list-form-next-page.png") ? 0 : 1;
  PostMessageA(list, kMsgMenuCommand, kCsvOutputJob, 0);
  Pump();
  int dialog = TopSlot();
  failures += dialog > 0 && SaveWindow(Slot(dialog).window, output + "\\list-job-dialog.png") ? 0 : 1;
  if (dialog > 0) SendMessageA(Slot(dialog).window, kMsgCloseWindow, 0, 0);
  Pump();
  PostMessageA(list, kMsgMenuCommand, kSearchJob, 0);
  Pump();
  dialog = TopSlot();
  failures += dialog > 0 && SaveWindow(Slot(dialog).window, output + "\\list-search-window.png") ? 0 : 1;
  if (dialog > 0) SendMessageA(Slot(dialog).window, kMsgCloseWindow, 0, 0);
  Pump();
  PostMessageA(list, kMsgMenuCommand, kPrintJob, 0);
  Pump();
  Pump();  // the preview is drawn once the settings are painted
  const HWND settings = g_printSettingsWindow.window;
  const bool open = IsValidSlot(g_printSettingsWindow.slot);
  failures += open && SaveWindow(settings, output + "\\list-print-settings.png") ? 0 : 1;
  if (open) SendMessageA(settings, kMsgCloseWindow, 0, 0);
  Pump();
  SendMessageA(list, kMsgCloseWindow, 0, 0);
  for (HWND window : windows) {
    if (window) DestroyWindow(window);
  }
  DestroyWindow(mainWindow);
  UnbindImagingLibrary();
  db_term();
  return failures == 0 ? 0 : 1;
}
