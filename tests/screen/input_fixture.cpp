#include "tests/screen/input_fixture.h"

#include <map>

namespace {

std::map<HWND, bool> g_imeOpen;
int g_imeSwitches = 0;

int g_imeTaken = 0;

HIMC FakeContext(HWND window) {
  ++g_imeTaken;
  return reinterpret_cast<HIMC>(window);
}
BOOL FakeRelease(HWND, HIMC) {
  --g_imeTaken;
  return TRUE;
}
BOOL FakeStatus(HIMC context) { return g_imeOpen[reinterpret_cast<HWND>(context)]; }
BOOL FakeSetStatus(HIMC context, BOOL open) {
  g_imeOpen[reinterpret_cast<HWND>(context)] = open != FALSE;
  ++g_imeSwitches;
  return TRUE;
}
const InputMethodCalls kFakeCalls = {FakeContext, FakeRelease, FakeStatus, FakeSetStatus};

}  // namespace

FakeInputMethod::FakeInputMethod() {
  g_imeOpen.clear();
  g_imeSwitches = 0;
  g_imeTaken = 0;
  SetInputMethodCalls(&kFakeCalls);
}

FakeInputMethod::~FakeInputMethod() { SetInputMethodCalls(nullptr); }

bool FakeInputMethod::IsOpen(HWND window) const {
  const auto it = g_imeOpen.find(window);
  return it != g_imeOpen.end() && it->second;
}

void FakeInputMethod::Open(HWND window, bool open) { g_imeOpen[window] = open; }

int FakeInputMethod::switches() const { return g_imeSwitches; }

int FakeInputMethod::contextsTaken() const { return g_imeTaken; }

void InputTest::SetUp() {
  ScreenEngineTest::SetUp();
  HoldModifiers(false, false);
}

void InputTest::TearDown() {
  HoldModifiers(false, false);
  ScreenEngineTest::TearDown();
}

int InputTest::OpenScreenOf(int inputMode, int cursorMode, int screenType, int width, int height) {
  window_ = NewWindow("input");
  slot_ = FindFreeWindowSlot();
  Slot(slot_).screenType = screenType;
  if (OpenScreenWindow(window_, 0, 0, width, height, 0, 41, inputMode, cursorMode, -1, "") != 0) {
    return -1;
  }
  ShowWindow(window_, SW_SHOW);
  PumpMessages();
  return slot_;
}

POINT InputTest::CentreOf(int item) const {
  const ScreenItem& it = Item(item);
  const WindowSlot& s = Slot(slot_);
  return POINT{it.pixelX + it.pixelWidth / 2 - s.scrollX,
               it.pixelY + it.pixelHeight / 2 - s.scrollY};
}

std::string InputTest::ValueOf(const char* name) const {
  char value[512] = "";
  GetItemValueForCommand(slot_, name, value);
  return value;
}
