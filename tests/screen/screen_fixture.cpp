#include "tests/screen/screen_fixture.h"

#include <map>

#include "foundation/db.h"
#include "foundation/imaging.h"

namespace {

struct WindowRecord {
  std::vector<ReceivedMessage> messages;
  bool refuse = false;
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
    return 0;
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
