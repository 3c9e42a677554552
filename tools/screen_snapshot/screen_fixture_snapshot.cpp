// Opens each fixture screen of the screen tests from its screen database
// (a menu with the menu it opens beside it, a list, a card, a set screen
// and a form) and saves what the engine paints of each open slot as a PNG
// named after the screen's code, for a person to look at. The screens are
// loaded from their texts into a file database of a work folder first.
//
// Usage: screen_fixture_snapshot [output folder]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/imaging.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tests/screen/screen_fixture_data.h"
#include "tests/support/test_pictures.h"
#include "tools/screen_snapshot/slot_picture.h"

namespace {

// Message boxes go to the console: nobody is there to press a button.
int PrintMessageBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "[%s] %s\n", call.caption.c_str(), call.text.c_str());
  return IDYES;
}

HWND CreateMainWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = "FixtureSnapshotMain";
  RegisterClassA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "main", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The picture of a slot: its window's client area, or for a form the
// extent of its items.
int SavePicture(int slot, const std::string& folder) {
  const WindowSlot& s = Slot(slot);
  int width = s.contentWidth;
  int height = s.contentHeight;
  if (s.window) {
    RECT client{};
    GetClientRect(s.window, &client);
    width = client.right;
    height = client.bottom;
  }
  if (!s.window) {
    for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
      width = std::max(width, Item(i).pixelX + Item(i).pixelWidth + 40);
      height = std::max(height, Item(i).pixelY + Item(i).pixelHeight + 40);
    }
    for (int k = s.firstLine; k < s.firstLine + s.lineCount; ++k) {
      width = std::max(width, g_ruledLines[k].x2 + 40);
      height = std::max(height, g_ruledLines[k].y2 + 40);
    }
  }
  if (width <= 0 || height <= 0) return -1;
  const std::string path = folder + "\\screen-" + s.screenCode + ".png";
  if (!WritePng(path, width, height, PaintSlotPicture(slot, width, height))) return -1;
  std::printf("wrote %s (%d x %d)\n", path.c_str(), width, height);
  return 0;
}

void CloseAll() {
  for (int s = kWindowSlotCount - 1; s >= 0; --s) {
    if (Slot(s).state == kFreeSlotState) continue;
    if (Slot(s).window && Slot(s).window != g_screen.mainWindow) {
      SendMessageA(Slot(s).window, kMsgCloseWindow, 0, 0);
    }
    if (Slot(s).state != kFreeSlotState) {
      CloseScreenDataSet(s);
      CloseScreenWindow(s, 0);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  char current[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, current);
  const std::string output = argc > 1 ? argv[1] : current;
  SetMessageBoxHook(PrintMessageBox, nullptr);
  const HWND mainWindow = CreateMainWindow();
  InitScreenEngine(mainWindow);
  db_init();
  BindImagingLibrary();

  const std::string work = std::string(current) + "\\screen_snapshot_work";
  CreateDirectoryA(work.c_str(), nullptr);
  DeleteFileA((work + "\\" + kFixtureDb + ".mdb").c_str());
  UseFixtureDatabase(kDbKindFile, work, {});
  if (PrepareFixtureTables() != 0 || LoadScreenTexts(kFixtureTextFolder, "", kFixtureDb) <= 0) {
    std::fprintf(stderr, "the fixture screens could not be loaded\n");
    return 1;
  }
  std::vector<HWND> windows;
  for (HWND window : {RegisterMenuWindow(mainWindow), RegisterListWindow(mainWindow),
                      RegisterCardWindow(mainWindow), RegisterSupWindow(mainWindow)}) {
    if (window) windows.push_back(window);
  }
  // The menu's slot is shown in the main window; a visible main window
  // leaves it to the menu window, as the program's other menus are.

  int failures = 0;
  for (const char* code : {"TEST-MENU", "TEST-LIST", "TEST-CARD", "TEST-SET", "TEST-FORM"}) {
    if (OpenScreen("", kFixtureDb, code, -1, -1, "") != 0) {
      std::fprintf(stderr, "%s did not open\n", code);
      ++failures;
      continue;
    }
    for (int s = 0; s < kWindowSlotCount; ++s) {
      if (Slot(s).state == kFreeSlotState) continue;
      // The work windows load their screens' ruled lines; the main window
      // and forms leave it to their owner, as here.
      if (!Slot(s).window || Slot(s).window == mainWindow) LoadLineDefinitions(s);
      if (Slot(s).window) UpdateWindow(Slot(s).window);
      g_screen.currentItem = -1;  // every field painted, none under the edit control
      if (SavePicture(s, output) != 0) ++failures;
    }
    CloseAll();
  }
  for (HWND window : windows) DestroyWindow(window);
  DestroyWindow(mainWindow);
  UnbindImagingLibrary();
  db_term();
  return failures == 0 ? 0 : 1;
}
