// Opens the tally's menu screens the program ships (the tally menu and the
// two graph-colour screens of data/screens) from a screen database made in
// a work folder, and saves what the screen engine paints of each as a PNG
// named after its code, for a person to look at.
//
// Usage: tally_screens [output folder]
#include <windows.h>

#include <cstdio>
#include <string>

#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/imaging.h"
#include "foundation/test_hooks.h"
#include "screen/screen.h"
#include "tests/support/test_pictures.h"
#include "tools/screen_snapshot/slot_picture.h"

namespace {

constexpr char kDatabase[] = "KQQSCR";

int PrintMessageBox(const MessageBoxCall& call, void*) {
  std::fprintf(stderr, "[%s] %s\n", call.caption.c_str(), call.text.c_str());
  return IDYES;
}

HWND CreateMainWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = "TallyScreensMain";
  RegisterClassA(&wc);
  return CreateWindowExA(0, wc.lpszClassName, "main", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

int SavePicture(int slot, const std::string& folder) {
  const WindowSlot& s = Slot(slot);
  RECT client{};
  GetClientRect(s.window, &client);
  const std::string path = folder + "\\screen-" + s.screenCode + ".png";
  if (!WritePng(path, client.right, client.bottom,
                PaintSlotPicture(slot, client.right, client.bottom))) {
    return -1;
  }
  std::printf("wrote %s\n", path.c_str());
  return 0;
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
  const std::string work = std::string(current) + "\\tally_screens_work";
  CreateDirectoryA(work.c_str(), nullptr);
  DeleteFileA((work + "\\" + kDatabase + ".mdb").c_str());
  SetDbFolder(work.c_str());
  SetDbServer(kDbKindFile, 7, "");
  SetSpecFolder(GetProgramFolder().c_str());
  const std::string texts = GetProgramFolder() + "\\screens";
  if (LoadScreenTexts(texts.c_str(), "", kDatabase) <= 0) {
    std::fprintf(stderr, "the screens could not be loaded\n");
    return 1;
  }
  const HWND menuWindow = RegisterMenuWindow(mainWindow);
  int failures = 0;
  for (const char* code : {"SPRN-MENU", "GCOL-SET", "GCOL-SET2"}) {
    if (OpenScreen("", kDatabase, code, -1, -1, "") != 0) {
      std::fprintf(stderr, "%s did not open\n", code);
      ++failures;
      continue;
    }
    for (int s = 0; s < kWindowSlotCount; ++s) {
      if (Slot(s).state == kFreeSlotState || !Slot(s).window) continue;
      UpdateWindow(Slot(s).window);
      g_screen.currentItem = -1;
      if (SavePicture(s, output) != 0) ++failures;
      CloseScreenWindow(s, 0);
    }
  }
  if (menuWindow) DestroyWindow(menuWindow);
  DestroyWindow(mainWindow);
  UnbindImagingLibrary();
  db_term();
  return failures == 0 ? 0 : 1;
}
