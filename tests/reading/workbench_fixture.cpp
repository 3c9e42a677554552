#include "tests/reading/workbench_fixture.h"

#include <cstdint>

#include "designer/designer.h"
#include "designer/sheet_settings.h"
#include "reading/reading.h"
#include "reading/workbench.h"
#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/test_pictures.h"

void SavePicture(HWND window, const char* name) {
  char folder[MAX_PATH] = "";
  if (!window || GetEnvironmentVariableA("SHEETDESK_PICTURES", folder, MAX_PATH) == 0) return;
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  for (int i = 0; i < 5; ++i) {
    PumpMessages();
    Sleep(100);
  }
  RECT r;
  GetWindowRect(window, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  // The window's own surface: what it painted, frame included.
  const HDC screen = GetWindowDC(window);
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  const HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = GetPixel(memory, x, y);
      rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  }
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  WritePng(std::string(folder) + "\\" + name + ".png", width, height, rgb);
}

void WorkbenchFixture::SetUp() {
  ReadingDbTest::SetUp();
  main_ = CreateTestWindow("main");
  InitScreenEngine(main_);
  g_screen.metrics = TestMetrics();
  for (HWND (*make)(HWND) : {RegisterSheetWorkWindow, RegisterFrameViewWindow, RegisterImageViewWindow}) {
    windows_.push_back(make(main_));
  }
  windows_.push_back(RegisterReadRunWindow());
  windows_.push_back(RegisterMessgwndWindow());
  InstallFeeder();
}

void WorkbenchFixture::TearDown() {
  for (const char* name : {"Def", "WITHFRAME"}) {
    const HWND window = FindWindowA(name, nullptr);
    if (window && IsWindowVisible(window)) SendMessageA(window, WM_CLOSE, 0, 0);
  }
  if (Workbench() && IsWindowVisible(Workbench())) SendMessageA(Workbench(), kMsgCloseWindow, 0, 0);
  PumpMessages();
  for (int s = kWindowSlotCount - 1; s >= 0; --s) {
    if (Slot(s).state != kFreeSlotState) CloseScreenWindow(s, 0);
  }
  for (HWND window : windows_) DestroyWindow(window);
  DestroyWindow(main_);
  if (!userIni_.empty()) WriteBytes(ProgramFolderPath("USER.INI"), userIni_);
  ReadingDbTest::TearDown();
}

std::string WorkbenchFixture::ProgramFolderPath(const char* name) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\')) + "\\" + name;
}

void WorkbenchFixture::UseDpi(int dpi) {
  if (userIni_.empty()) userIni_ = ReadBytes(ProgramFolderPath("USER.INI"));
  WriteBytes(ProgramFolderPath("USER.INI"), "DPI " + std::to_string(dpi) + "\r\n");
}

void WorkbenchFixture::OpenWorkbench(int mode, const char* sheetName) {
  g_currentSheet.projectMode = mode;
  ASSERT_EQ(BuildOcrWorkButtons(mode, sheetName), 0) << testing::PrintToString(Boxes());
  PumpMessages();
  ASSERT_TRUE(IsWindowVisible(Workbench()));
}

void WorkbenchFixture::CloseWorkbench() {
  ClickButton(Workbench(), "PRJESC");
  EXPECT_FALSE(IsWindowVisible(Workbench()));
}

int WorkbenchFixture::SlotOf(HWND window) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).window == window) return s;
  }
  return -1;
}

void WorkbenchFixture::ClickButton(HWND window, const char* name) {
  const int slot = SlotOf(window);
  ASSERT_GE(slot, 0) << name;
  const int item = ResolveFieldRef(slot, name);
  ASSERT_GE(item, 0) << name;
  const ScreenItem& it = Item(item);
  auto inside = [](const ScreenItem& other, int x, int y) {
    return x >= other.pixelX && x < other.pixelX + other.pixelWidth && y >= other.pixelY &&
           y < other.pixelY + other.pixelHeight;
  };
  for (int dy = it.pixelHeight / 2; dy < it.pixelHeight + it.pixelHeight / 2; dy += 2) {
    for (int dx = it.pixelWidth / 2; dx < it.pixelWidth + it.pixelWidth / 2; dx += 2) {
      const int x = it.pixelX + dx % it.pixelWidth, y = it.pixelY + dy % it.pixelHeight;
      bool alone = true;
      for (int other = Slot(slot).firstItem; other <= Slot(slot).lastItem && alone; ++other) {
        if (other != item && Item(other).state != kItemHidden && inside(Item(other), x, y)) alone = false;
      }
      if (!alone) continue;
      ClickAt(window, x - Slot(slot).scrollX, y - Slot(slot).scrollY);
      PumpMessages();
      return;
    }
  }
  FAIL() << name << " has no point of its own";
}

void WorkbenchFixture::Choose(int command, int line) {
  g_screen.lastPopupChoice = line;
  SendMessageA(Workbench(), kMsgScreenCommand, command, 0);
  PumpMessages();
}

std::string WorkbenchFixture::Field(HWND window, const char* name) {
  char text[512] = "";
  GetItemRawValue(SlotOf(window), name, text);
  return text;
}

void WorkbenchFixture::Type(HWND window, const char* name, const char* text) {
  SetItemValueForCommand(SlotOf(window), name, text);
}
