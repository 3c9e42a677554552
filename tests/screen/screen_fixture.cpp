#include "tests/screen/screen_fixture.h"

#include <map>

#include "foundation/db.h"
#include "foundation/imaging.h"

namespace {

struct WindowRecord {
  std::vector<ReceivedMessage> messages;
  bool refuse = false;
  std::map<UINT, LRESULT> answers;  // what the window answers a private message
};
std::map<HWND, WindowRecord> g_records;

int SlotOfWindow(HWND window) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).window == window) return s;
  }
  return -1;
}

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= kMsgScreenCommand && message < WM_USER + 200) {
    WindowRecord& record = g_records[window];
    record.messages.push_back({message, wParam, lParam});
    if (message == kMsgScreenBuilt && record.refuse) RefuseScreenOpen();
    // As the work windows do: a key command moves the focus on.
    if (message == kMsgScreenCommand) ApplyPendingFocus();
    const auto answer = record.answers.find(message);
    return answer == record.answers.end() ? 0 : answer->second;
  }
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_TIMER:
      return ScreenChildWndProc(window, message, wParam, lParam);
    default:
      break;
  }
  if (message == WM_PAINT) {
    const int slot = SlotOfWindow(window);
    if (BeginScreenPaint(window, slot)) {
      PaintScreenPage(window, slot);
      EndScreenPaint();
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass(const char* className) {
  WNDCLASSA wc{};
  if (GetClassInfoA(GetModuleHandleA(nullptr), className, &wc)) return;
  wc.lpfnWndProc = TestWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = className;
  RegisterClassA(&wc);
}

HWND CreateRecordingWindow(const char* className, const char* title) {
  RegisterTestClass(className);
  const HWND window = CreateWindowExA(0, className, title, WS_POPUP | WS_VSCROLL | WS_HSCROLL, 0,
                                      0, 0, 0, nullptr, nullptr, GetModuleHandleA(nullptr),
                                      nullptr);
  g_records[window] = WindowRecord();
  return window;
}

}  // namespace

HWND CreateTestWindow(const char* title) { return CreateRecordingWindow("ScreenTest", title); }

HWND CreateTestWindowOfClass(const char* className) {
  return CreateRecordingWindow(className, "");
}

const std::vector<ReceivedMessage>& MessagesOf(HWND window) { return g_records[window].messages; }

void ClearMessages(HWND window) { g_records[window].messages.clear(); }

void SetRefuseOpens(HWND window, bool refuse) { g_records[window].refuse = refuse; }

void SetMessageAnswer(HWND window, UINT message, LRESULT answer) { g_records[window].answers[message] = answer; }

ScreenMetrics TestMetrics() {
  ScreenMetrics m;
  m.screenWidth = 1024;
  m.clampHeight = 740;
  m.captionHeight = 20;
  m.placingHeight = 760;
  m.vscrollWidth = 16;
  m.hscrollHeight = 16;
  m.screenPixels = 1024;
  return m;
}

void ScreenEngineTest::SetUp() {
  main_ = CreateTestWindow("main");
  InitScreenEngine(main_);
  g_screen.metrics = TestMetrics();
  ReadOcrIni();  // the defaults: no OCR.INI in the program folder
  BindImagingLibrary();
}

void ScreenEngineTest::CloseAll() {
  for (int s = kWindowSlotCount - 1; s >= 0; --s) {
    if (Slot(s).state != kFreeSlotState) CloseScreenWindow(s, 0);
  }
  for (HWND w : windows_) DestroyWindow(w);
  windows_.clear();
}

void ScreenEngineTest::TearDown() {
  CloseAll();
  DestroyWindow(main_);
  UnbindImagingLibrary();
}

HWND ScreenEngineTest::NewWindow(const char* title) {
  const HWND w = CreateTestWindow(title);
  windows_.push_back(w);
  return w;
}

HWND ScreenEngineTest::NewWindowOfClass(const char* className) {
  const HWND w = CreateTestWindowOfClass(className);
  windows_.push_back(w);
  return w;
}

int AddItem(const char* name, char kind, int column, int row, int width, int length,
            int titleStyle, const char* caption, const char* choices, char edit,
            int protectByte) {
  return AddScreenItem(caption, name, column, row, 0, width, length, 0, kind, 0, protectByte, 0,
                       edit, kItemEnabled, 0, titleStyle, 0, 0, "", choices);
}

void PumpMessages() {
  MSG msg;
  for (int round = 0; round < 3; ++round) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

void PressKey(HWND target, WPARAM key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  if (key == VK_RETURN || key == VK_TAB || key == VK_ESCAPE || key == VK_BACK) {
    PostMessageA(target, WM_CHAR, key == VK_ESCAPE ? 27 : key, 1);
  }
  PostMessageA(target, WM_KEYUP, key, 0xC0000001);
  PumpMessages();
}

void TypeText(HWND target, const char* text) {
  for (const char* p = text; *p; ++p) {
    const auto lead = static_cast<unsigned char>(p[0]);
    if (IsDBCSLeadByte(lead) && p[1]) {
      // A double-byte character is posted as one message (lead byte low);
      // the edit control's procedure receives its two bytes, lead first.
      PostMessageA(target, WM_CHAR, lead | (static_cast<unsigned char>(p[1]) << 8), 1);
      ++p;
      continue;
    }
    PostMessageA(target, WM_CHAR, lead, 1);
  }
  PumpMessages();
}

void HoldModifiers(bool shift, bool ctrl) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  SetKeyboardState(keys);
}

void ClickAt(HWND window, int x, int y, bool release) {
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  if (release) PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  PumpMessages();
}

void MoveMouseTo(HWND window, int x, int y) {
  PostMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  PumpMessages();
}

std::string EditText(int slot) {
  char text[512] = "";
  GetWindowTextA(Slot(slot).editControl, text, sizeof text);
  return text;
}

std::vector<ReceivedMessage> CommandsOf(HWND window) {
  std::vector<ReceivedMessage> commands;
  for (const ReceivedMessage& m : MessagesOf(window)) {
    if (m.message == kMsgScreenCommand) commands.push_back(m);
  }
  return commands;
}
