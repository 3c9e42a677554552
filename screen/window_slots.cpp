// The five screen-window slots: binding a window to a slot with its items,
// timer, STATIC children and in-place edit control, and giving all of it
// back. Opening tells the main window (1140 before, 1134 after building) and
// the slot's window (1130); the main window may refuse the open.
#include <algorithm>
#include <cstdint>

#include "foundation/msgbox.h"
#include "screen/screen.h"

WindowSlot g_windowSlots[kWindowSlotCount];
ScreenEngineState g_screen;

namespace {

int HandleNumber(HWND window) {
  return static_cast<int>(reinterpret_cast<std::intptr_t>(window));
}

void SendToMainWindow(UINT message, WPARAM wParam) {
  if (g_screen.mainWindow) SendMessageA(g_screen.mainWindow, message, wParam, 0);
}

void CreateSlotStatics(HWND window, WindowSlot& slot) {
  for (int k = 0; k < 2; ++k) {
    slot.statics[k] = CreateWindowExA(
        0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_BLACKRECT, 0, 0, 0, 0,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSlotStaticIds[k])),
        GetModuleHandleA(nullptr), nullptr);
    if (slot.statics[k]) AttachGuideBox(slot.statics[k]);
  }
}

void DestroySlotStatics(WindowSlot& slot) {
  for (HWND& child : slot.statics) {
    if (child) DestroyWindow(child);
    child = nullptr;
  }
}

void StopSlotTimer(WindowSlot& slot, HWND window) {
  if (slot.timerId) KillTimer(window, slot.timerId);
  slot.timerId = 0;
}

// Gives back everything an open took after the slot was marked in use.
void AbandonOpeningSlot(int s, HWND window) {
  WindowSlot& slot = Slot(s);
  StopSlotTimer(slot, window);
  DestroySlotStatics(slot);
  DeleteEditControl(s);
  DiscardBuildingItems();
  ResetWindowSlot(s);
  g_screen.itemExtentRight = 0;
  g_screen.itemExtentBottom = 0;
  g_screen.openingSlot = -1;
}

// Margins and header band of the slot by its screen type.
void SetSlotBands(WindowSlot& slot) {
  const int unit = slot.fontUnit;
  slot.topMargin = slot.screenType == kScreenTypeSheet ? 0 : 8;
  switch (slot.screenType) {
    case kScreenTypeList:
    case kScreenTypeCard:
      slot.headerHeight = unit * 6 + 16;
      slot.headerUnit = unit;
      break;
    case kScreenTypeSet:
      slot.headerHeight = unit * 4 + 16;
      slot.headerUnit = unit;
      break;
    default:
      slot.headerHeight = 0;
      slot.headerUnit = 0;
      break;
  }
}

// Background image of the slot (steps before sizing); its size when the
// window is sized to it.
void LoadSlotBackground(WindowSlot& slot, WindowPlacementRequest& request) {
  const std::string& name = slot.pendingImage;
  if (name.size() > 4 && name.back() != 'M') {
    slot.backgroundImage = LoadImageCached(name.c_str());
    slot.pendingImage.clear();
    if (slot.windowKind == kWindowKindImage && slot.backgroundImage) {
      GetImageSize(slot.backgroundImage, &request.imageWidth, &request.imageHeight);
    }
  }
}

// The window within the display's work area: a screen taller or wider than
// the display is cut to it (its content scrolls) and moved onto it. Windows
// placed off the display on purpose keep their place.
RECT FitToWorkArea(const WindowPlacement& p) {
  RECT work{};
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) || work.right <= work.left) {
    return RECT{p.x, p.y, p.x + p.width, p.y + p.height};
  }
  const int width = std::min(p.width, static_cast<int>(work.right - work.left));
  const int height = std::min(p.height, static_cast<int>(work.bottom - work.top));
  int x = p.x, y = p.y;
  const bool onDisplay = x > -width && x < work.right;
  if (onDisplay) x = std::clamp(x, static_cast<int>(work.left), static_cast<int>(work.right) - width);
  y = std::clamp(y, static_cast<int>(work.top), static_cast<int>(work.bottom) - height);
  return RECT{x, y, x + width, y + height};
}

void ApplyPlacement(HWND window, int s, const WindowPlacement& p) {
  WindowSlot& slot = Slot(s);
  slot.contentWidth = p.contentWidth;
  slot.contentHeight = p.contentHeight;
  slot.windowWidth = p.windowWidth;
  slot.windowHeight = p.windowHeight;
  slot.placingHeight = p.placingHeight;
  const RECT fitted = FitToWorkArea(p);
  MoveWindow(window, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
             FALSE);
  RECT client{};
  GetClientRect(window, &client);
  slot.clientRight = client.right;
  slot.clientBottom = client.bottom;
  UpdateScrollRangeH(window, s);
  UpdateScrollRangeV(window, s);
}

// The first steps of every open: a window to bind and a free slot, marked
// in use. Returns the slot, or -1 after the message (the items of the
// screen being built are given back).
int TakeSlotFor(HWND window, int windowCode, const char* missingWindowFormat) {
  if (!window) {
    DiscardBuildingItems();
    ShowInfoMessage("Control", missingWindowFormat, HandleNumber(window));
    return -1;
  }
  const int s = FindFreeWindowSlot();
  if (s < 0) {
    DiscardBuildingItems();
    ShowInfoMessage("Control", "同時に開ける画面は %d つまでです。", kWindowSlotCount);
    return -1;
  }
  WindowSlot& slot = Slot(s);
  slot.state = 1;
  slot.windowCode = windowCode;
  g_screen.openingSlot = s;
  return s;
}

// Shows the window of a slot being opened; a window already shown in
// another slot is refused. 0, or -1 after the message with the slot given
// back.
int ShowOpenedWindow(HWND window, int s, bool show) {
  const char* refusal = nullptr;
  if (s > 0 && IsWindowVisible(window)) {
    refusal = "ウインドウはオープン済みです。(%d)";
  } else if (show && ShowWindow(window, SW_SHOW)) {
    refusal = "err ShowWindow()";
  }
  if (!refusal) return 0;
  ShowInfoMessage("Control", refusal, s);
  AbandonOpeningSlot(s, window);
  return -1;
}

}  // namespace

int InitScreenEngine(HWND mainWindow) {
  g_screen = ScreenEngineState();
  g_screen.mainWindow = mainWindow;
  g_screen.arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
  ScreenMetrics& m = g_screen.metrics;
  m.screenWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  m.clampHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
  m.placingHeight = m.clampHeight + m.captionHeight;
  m.vscrollWidth = GetSystemMetrics(SM_CXVSCROLL);
  m.hscrollHeight = GetSystemMetrics(SM_CXHSCROLL);
  m.screenPixels = GetSystemMetrics(SM_CXSCREEN);
  m.functionKeys = GetKeyboardType(2);
  for (int s = 0; s < kWindowSlotCount; ++s) {
    Slot(s) = WindowSlot();
  }
  for (ScreenItem& item : g_screenItems.items) item = ScreenItem();
  g_screenItems.totalCount = 0;
  g_screenItems.buildingCount = 0;
  return 0;
}

void RefuseScreenOpen() { g_screen.refusalFlag = 1; }

int FindFreeWindowSlot() {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state == kFreeSlotState) return s;
  }
  return -1;
}

int OpenScreenWindow(HWND window, int x, int y, int width, int height, int rowPitch,
                     int windowCode, int inputMode, int openState, int standardItemMode,
                     const char* title) {
  const int s = TakeSlotFor(window, windowCode, "ウインドウハンドルエラーです。(%d)");
  if (s < 0) return -1;
  WindowSlot& slot = Slot(s);
  if (slot.windowKind != kWindowKindList) {
    slot.timerId = SetTimer(window, kSlotTimerId, kSlotTimerMilliseconds, nullptr);
  }
  if (rowPitch >= 1) slot.rowPitch = rowPitch;
  SetSlotBands(slot);
  if (CreateStandardItems(window, s, standardItemMode) < 0) {
    AbandonOpeningSlot(s, window);
    return -1;
  }
  SendToMainWindow(kMsgScreenBuilding, windowCode);
  CreateSlotStatics(window, slot);

  WindowPlacementRequest request;
  request.x = x;
  request.y = y;
  request.width = width;
  request.height = height;
  request.fontUnit = slot.fontUnit;
  request.itemRight = g_screen.itemExtentRight;
  request.itemBottom = g_screen.itemExtentBottom;
  request.listMode = slot.listMode;
  LoadSlotBackground(slot, request);
  if (x == -7) GetMouseInWindow(&request.mouseX, &request.mouseY);
  ApplyPlacement(window, s, ComputeWindowPlacement(request, g_screen.metrics));

  if (ShowOpenedWindow(window, s, rowPitch != -1) < 0) return -1;
  if (rowPitch != -1) SetWindowTextA(window, title ? title : "");
  if (slot.itemCount > 0) slot.lastFocusItem = slot.firstItem;
  slot.window = window;
  slot.commandWindow = window;
  slot.inputMode = inputMode;
  slot.openState = openState;
  slot.lineEditMode = 0;
  g_screen.openingSlot = -1;

  g_screen.refusalFlag = 0;
  SendToMainWindow(kMsgScreenBuilt, windowCode);
  if (!g_screen.refusalFlag) {
    // The focus moves to the new screen only when its owner accepted it; a
    // refused screen keeps the focus where it was.
    if (slot.itemCount > 0) g_screen.currentItem = g_screen.previousItem = slot.firstItem;
    // The new slot is made current first, so that its owner fills its own
    // fields and "/HOME" names its own item.
    g_screen.currentSlot = s;
    SendMessageA(slot.commandWindow, kMsgSlotOpened, s, 0);
    g_screen.currentSlot = s;  // whatever the owner's filling selected
    if (slot.itemCount > 0) FocusField("/HOME");
    if (inputMode == 3) SetFocus(window);
    g_screen.screenSizeClass = GetScreenSizeClass();
  }
  SetCursor(g_screen.arrowCursor);
  return 0;
}

namespace {

// Size of a window bound with a fixed content size: the content, at most
// the grid extent the window keeps and the display; scroll bars cover the
// rest of the extent.
void PlaceFixedWindow(HWND window, int s, int contentWidth, int contentHeight, int extentWidth,
                      int extentHeight) {
  const ScreenMetrics& m = g_screen.metrics;
  if (extentWidth <= 0) extentWidth = contentWidth;
  if (extentHeight <= 0) extentHeight = contentHeight;
  const int width = std::min({contentWidth, extentWidth, m.screenWidth});
  const int height = std::min({contentHeight, extentHeight, m.placingHeight});
  WindowSlot& slot = Slot(s);
  slot.contentWidth = contentWidth;
  slot.contentHeight = contentHeight;
  slot.windowWidth = width;
  slot.windowHeight = height;
  MoveWindow(window, 0, 0, width, height, FALSE);
  SetScrollRangeH(window, s, SB_HORZ, extentWidth, width);
  SetScrollRangeV(window, s, SB_VERT, extentHeight, height);
}

struct ClassSearch {
  const char* className;
  HWND found;
};

// Enumeration step: stops at the first window of the class searched for.
BOOL CALLBACK MatchWindowClass(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ClassSearch*>(data);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

BOOL CALLBACK SearchTopLevelWindow(HWND window, LPARAM data) {
  if (!MatchWindowClass(window, data)) return FALSE;
  EnumChildWindows(window, MatchWindowClass, data);
  return reinterpret_cast<ClassSearch*>(data)->found ? FALSE : TRUE;
}

}  // namespace

HWND FindProgramWindow(const char* className) {
  ClassSearch search{className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), SearchTopLevelWindow,
                    reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

// The common binding of the sheet canvas and the image view: a window of
// a registered class, sized by its grid.
int BindFixedWindow(const char* className, bool canvas, int contentWidth, int contentHeight,
                    int windowCode, int noShow) {
  const HWND window = FindProgramWindow(className);
  const int s = TakeSlotFor(window, windowCode, "err hWnd=(%d)");
  if (s < 0) return -1;
  WindowSlot& slot = Slot(s);
  slot.topMargin = slot.headerHeight = slot.headerUnit = 0;
  if (canvas) {
    slot.timerId = SetTimer(window, kSlotTimerId, kSlotTimerMilliseconds, nullptr);
    if (CreateStandardItems(window, s, 0) < 0) {
      AbandonOpeningSlot(s, window);
      return -1;
    }
  }
  CreateSlotStatics(window, slot);
  const SheetCanvasState& grid = g_sheetCanvas;
  PlaceFixedWindow(window, s, contentWidth, contentHeight,
                   canvas ? grid.columns * grid.pitch : 0, canvas ? grid.rows * grid.pitch : 0);
  if (ShowOpenedWindow(window, s, !noShow) < 0) return -1;
  slot.window = window;
  slot.commandWindow = window;
  slot.inputMode = 1;
  slot.openState = 2;
  if (slot.itemCount > 0) slot.lastFocusItem = slot.firstItem;
  g_screen.openingSlot = -1;
  if (canvas) SendToMainWindow(kMsgScreenBuilt, windowCode);
  SendMessageA(window, kMsgSlotOpened, s, 0);
  return 0;
}

}  // namespace

int OpenSheetCanvasWindow(int slot, int contentWidth, int contentHeight, int windowCode,
                          int noShow) {
  if (slot >= 0) {
    const SheetCanvasState& grid = g_sheetCanvas;
    PlaceFixedWindow(Slot(slot).window, slot, contentWidth, contentHeight,
                     grid.columns * grid.pitch, grid.rows * grid.pitch);
    return 0;
  }
  return BindFixedWindow("Ocr", true, contentWidth, contentHeight, windowCode, noShow);
}

void PlaceCanvasInWorkbench(int s, HWND workbench) {
  const WorkbenchMetrics& w = g_workbenchMetrics;
  WindowSlot& slot = Slot(s);
  RECT client;
  if (!IsValidSlot(s) || !slot.window || !GetClientRect(workbench, &client)) return;
  // Below the button bar, right of the ruler, inside the sunken frame.
  const int frame = 4;
  const int bars = GetSystemMetrics(SM_CXVSCROLL);
  const int width = std::max(0, std::min<int>(slot.contentWidth + bars, client.right - w.leftMargin - frame));
  const int height = std::max(0, std::min<int>(slot.contentHeight + bars, client.bottom - w.barHeight - frame));
  slot.windowWidth = width;
  slot.windowHeight = height;
  MoveWindow(slot.window, w.leftMargin, w.barHeight, width, height, TRUE);
  SetScrollRangeH(slot.window, s, SB_HORZ, slot.contentWidth, width - bars);
  SetScrollRangeV(slot.window, s, SB_VERT, slot.contentHeight, height - bars);
}

int OpenImageViewWindow(int contentWidth, int contentHeight, int windowCode) {
  return BindFixedWindow("WITHIMAGE", false, contentWidth, contentHeight, windowCode, 0);
}

void CloseScreenWindow(int s, int refocus) {
  if (!IsValidSlot(s) || Slot(s).state == kFreeSlotState) return;
  DropPopupOfSlot(s);
  WindowSlot& slot = Slot(s);
  const HWND window = slot.window;
  if (slot.windowKind != kWindowKindList) StopSlotTimer(slot, window);
  SetFieldImeMode(window, 0);
  DeleteEditControl(s);
  DestroySlotStatics(slot);
  ResetWindowSlot(s);
  FreeSlotRuledLines(s);
  g_screen.itemExtentRight = 0;
  g_screen.itemExtentBottom = 0;
  if (window) ShowWindow(window, SW_HIDE);
  slot.window = nullptr;

  int current = 0;
  for (int k = kWindowSlotCount - 1; k >= 1; --k) {
    if (Slot(k).window) {
      current = k;
      break;
    }
  }
  g_screen.currentSlot = current;
  const HWND next = Slot(current).window;
  if (next && next != g_screen.mainWindow) {
    InvalidateRect(next, nullptr, FALSE);
    UpdateWindow(next);
  }
  if (refocus) RefocusPreviousField();
}

void ResetWindowSlot(int s) {
  WindowSlot& slot = Slot(s);
  WindowSlot fresh;
  // What the slot keeps across a reset: its window until the close hides
  // it, the command window, its ruled-line range until the close frees it,
  // its data set (closed by its list, card or set window) and the screen
  // it came from.
  fresh.window = slot.window;
  fresh.commandWindow = slot.commandWindow;
  fresh.windowCode = slot.windowCode;
  fresh.firstLine = slot.firstLine;
  fresh.lineCount = slot.lineCount;
  fresh.dataSet = slot.dataSet;
  fresh.screenDbFolder = slot.screenDbFolder;
  fresh.screenDatabase = slot.screenDatabase;
  fresh.screenCode = slot.screenCode;
  slot = fresh;
  g_screen.lastGuideLine.clear();
}

int FindActiveWindowSlot() {
  const HWND active = GetActiveWindow();
  if (!active) return -1;
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).window == active) return s;
  }
  return -1;
}

int SelectActiveWindowSlot() {
  const int s = FindActiveWindowSlot();
  if (s < 0) return -1;
  g_screen.currentSlot = s;
  RefocusPreviousField();
  return s;
}

int SelectWindowSlot(int s) {
  g_screen.currentSlot = s;
  return Slot(s).window ? 0 : -1;
}

void RefocusCurrentField() {
  const int mode = Slot(g_screen.currentSlot).inputMode;
  if (mode == 1 || mode == 2) FocusField("/CUR");
}

int RefocusPreviousField() {
  const int mode = Slot(g_screen.currentSlot).inputMode;
  if (mode == 1 || mode == 2) FocusField("/PREV");
  return 0;
}

void RepaintCurrentWindow() {
  const HWND window = Slot(g_screen.currentSlot).window;
  if (!window) return;
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}

int IsPointInWorkArea(int x, int y) {
  const DesignWorkRect& r = g_designWorkRect;
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom ? 1 : 0;
}

int GetScreenSizeClass() { return ScreenSizeClassForWidth(g_screen.metrics.screenPixels); }

void GetMouseInWindow(int* x, int* y) {
  const HWND window = Slot(g_screen.currentSlot).window;
  POINT p{};
  if (window && window == g_screen.mouseMessageWindow) {
    *x = g_screen.mouseMessagePoint.x;
    *y = g_screen.mouseMessagePoint.y;
    return;
  }
  GetCursorPos(&p);
  if (window) ScreenToClient(window, &p);
  *x = p.x;
  *y = p.y;
}

void GetMouseInWindowScreen(int* x, int* y) {
  GetMouseInWindow(x, y);
  const HWND window = Slot(g_screen.currentSlot).window;
  POINT origin{};
  if (window) ClientToScreen(window, &origin);
  *x += origin.x;
  *y += origin.y;
}

void MoveSlotStatics(int s) {
  for (HWND child : Slot(s).statics) {
    if (child) MoveWindow(child, 0, 0, 0, 0, FALSE);
  }
}
