// Starts the program in its folder as the user would, opens each screen of
// the shell in turn (the menu, the database choice, the login for the file
// and for the server database, data clearing) and
// saves what the display shows of each window as a PNG, for a person to
// look at.
//
// Usage: shell_pictures <output folder>   (run in the program folder, on a
// display: tools/shell_pictures/shell_pictures.sh)
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/support/test_pictures.h"

namespace {

void RunMessages() {
  MSG msg;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(50);
  }
}

// What the display shows of a window, frame included.
bool SaveWindow(HWND window, const std::string& path) {
  if (!window) return false;
  // The display shows a window once its server has drawn it: a moment.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  for (int i = 0; i < 4; ++i) RunMessages();
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const HDC screen = GetDC(nullptr);
  const HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  std::vector<std::uint8_t> rgb;
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  for (int i = 0; i < width * height; ++i) rgb.insert(rgb.end(), {pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]});
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const bool written = WritePng(path, width, height, rgb);
  std::printf("%s %s\n", written ? "saved" : "cannot write", path.c_str());
  return written;
}

// Closes what a screen window shows (as its Esc does) and runs the messages.
void Close(const char* className) {
  if (const HWND window = FindWindowA(className, nullptr)) SendMessageA(window, kMsgCloseWindow, 0, 0);
  RunMessages();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: shell_pictures <output folder>\n");
    return 2;
  }
  const std::string out = argv[1];
  CreateDirectoryA(out.c_str(), nullptr);
  // The mouse kept off the windows: a field under it would show its hover
  // tip over the picture.
  SetCursorPos(0, 0);
  if (StartProgram(GetModuleHandleA(nullptr), nullptr, "") != StartOutcome::kMenuOpen) {
    std::fprintf(stderr, "the menu did not open\n");
    return 1;
  }
  RunMessages();
  SaveWindow(g_program.mainWindow, out + "\\menu.png");

  RunMenuCommand(kCmdServerChoice);
  RunMessages();
  SaveWindow(FindWindowA("Sup", nullptr), out + "\\server-choice.png");
  Close("Sup");

  g_output.table = "KAITO";
  for (const int kind : {kDbKindFile, kDbKindServer}) {
    g_output.dbKind = kind;
    OpenLoginWindow(0);
    RunMessages();
    SaveWindow(FindWindowA("Pas", nullptr), out + (kind == kDbKindFile ? "\\login-file.png" : "\\login-server.png"));
    Close("Pas");
  }
  g_output.dbKind = kDbKindFile;
  OpenDataClearWindow(kDataClearScreen);
  RunMessages();
  SaveWindow(FindWindowA("Clr", nullptr), out + "\\data-clearing.png");
  Close("Clr");

  SendMessageA(g_program.mainWindow, kMsgCloseWindow, 0, 0);
  RunMessages();
  EndProgram();
  return 0;
}
