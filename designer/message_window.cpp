// The floating message window "Messgwnd": a few lines of text shown beside
// the work (the advice while sheets print), sized to its text, topmost,
// without input. One at a time; showing it again replaces the text.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "designer/designer.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr int kWindowNumber = 99;

struct MessageWindowState {
  HWND window = nullptr;
  int slot = -1;
  bool shown = false;
  int charSize = 8;
  std::vector<std::string> lines;
};
MessageWindowState g_message;

// The lines of `text`, split at a half-width "|" outside double-byte
// characters.
std::vector<std::string> SplitLines(const char* text) {
  std::vector<std::string> lines(1);
  for (const char* p = text; *p; ++p) {
    if (IsSjisLeadByte(static_cast<unsigned char>(*p)) && p[1]) {
      lines.back() += *p++;
      lines.back() += *p;
    } else if (*p == '|') {
      lines.emplace_back();
    } else {
      lines.back() += *p;
    }
  }
  return lines;
}

void PaintLines(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  LOGFONTA face{};
  face.lfHeight = g_message.charSize * 2;
  face.lfCharSet = SHIFTJIS_CHARSET;
  std::strcpy(face.lfFaceName, "ＭＳ ゴシック");
  const HFONT font = CreateFontIndirectA(&face);
  const HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  int y = 8;
  for (const std::string& line : g_message.lines) {
    TextOutA(dc, 8, y, line.c_str(), static_cast<int>(line.size()));
    y += g_message.charSize * 2 + 4;
  }
  SelectObject(dc, old);
  DeleteObject(font);
  EndPaint(window, &paint);
}

void CloseMessageWindow() {
  if (IsValidSlot(g_message.slot)) CloseScreenWindow(g_message.slot, 0);
  g_message.slot = -1;
  g_message.shown = false;
  if (g_message.window) ShowWindow(g_message.window, SW_HIDE);
}

LRESULT CALLBACK MessageWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgSlotOpened:
      g_message.slot = static_cast<int>(wParam);
      g_message.shown = true;
      return 0;
    case WM_PAINT: PaintLines(window); return 0;
    case WM_CLOSE:
    case kMsgCloseWindow: CloseMessageWindow(); return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND RegisterMessgwndWindow() {
  g_message.window = CreateHiddenWindow(
      {"Messgwnd", MessageWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUP | WS_DLGFRAME, WS_EX_TOPMOST, WHITE_BRUSH});
  return g_message.window;
}

int ShowMessageWindow(const char* text, int charSize, int x, int y) {
  g_message.lines = SplitLines(text ? text : "");
  g_message.charSize = charSize > 0 ? charSize : 8;
  if (!g_message.window) return 0;
  if (g_message.shown) {
    InvalidateRect(g_message.window, nullptr, TRUE);
    UpdateWindow(g_message.window);
    return 0;
  }
  const int s = g_message.charSize;
  const int count = static_cast<int>(g_message.lines.size());
  size_t longest = 0;
  for (const std::string& line : g_message.lines) longest = std::max(longest, line.size());
  const int height = s * 2 * count + (count - 1) * 4 + 16;
  const int width = s * static_cast<int>(longest) + 16;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (x == -2) x = (screenWidth - width) / 2;
  if (x == -3) x = screenWidth - width - 2;
  if (y == -2) y = (screenHeight - height) / 2;
  if (y == -4) y = screenHeight - height - 2;
  OpenScreenWindow(g_message.window, x, y, width, height, s * 2, kWindowNumber, 2, 0, 0, "");
  UpdateWindow(g_message.window);
  return 0;
}

bool MessageWindowShown() { return g_message.shown; }

void NotifyMainWindow() {
  if (g_message.shown) SendMessageA(g_message.window, kMsgCloseWindow, 0, 0);
}
