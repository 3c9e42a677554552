#include "tests/screen/screen_fixture.h"

#include <map>

#include "foundation/db.h"
#include "foundation/imaging.h"

MemoryCanvas::MemoryCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<std::uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
  Clear(RGB(255, 255, 255));
}

MemoryCanvas::~MemoryCanvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

void MemoryCanvas::Clear(COLORREF color) {
  GdiFlush();
  const std::uint32_t pixel = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  for (int i = 0; i < width_ * height_; ++i) bits_[i] = pixel;
}

COLORREF MemoryCanvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  const std::uint32_t p = bits_[y * width_ + x];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int MemoryCanvas::CountColor(int left, int top, int right, int bottom, COLORREF color) const {
  int n = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) n += Pixel(x, y) == color ? 1 : 0;
  }
  return n;
}

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
