// The sheet canvas window "Ocr": it takes the slot of the project sheet
// (the canvas slot of the reading runs and the checks), paints the sheet
// under its items, scrolls, hands the mouse to the screen engine, carries
// out its menus' choices and takes dropped files.
#include "designer/sheet_canvas.h"

#include <shellapi.h>

#include <algorithm>

#include "designer/canvas_menu.h"
#include "designer/designer.h"
#include "designer/grids.h"
#include "designer/question_list.h"
#include "designer/sheet_settings.h"
#include "screen/screen.h"

SheetCanvasView g_canvasView;

namespace {

constexpr int kEscapeCommand = 100;
constexpr int kPixelsPerColumn = 10;
constexpr int kOperationProjectMode = 2;

CanvasReadingCalls g_readingCalls;

// The window slot the canvas is bound to, or -1.
int CanvasSlotOf(HWND window) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state != kFreeSlotState && Slot(s).window == window) return s;
  }
  return -1;
}

// The workbench around the canvas, or null when the canvas stands alone.
HWND Workbench(HWND canvas) {
  const HWND parent = GetAncestor(canvas, GA_PARENT);
  return parent && parent != GetDesktopWindow() && IsWindowVisible(parent) ? parent : nullptr;
}

// The rulers' strips show the scrolled sheet anew.
void RepaintCanvasRulers(HWND canvas) {
  RECT top, left;
  if (!CanvasRulerStrips(canvas, &top, &left)) return;
  const HWND bench = Workbench(canvas);
  InvalidateRect(bench, &top, TRUE);
  InvalidateRect(bench, &left, TRUE);
}

void OpenCanvasSlot(int slot) {
  if (!IsValidSlot(slot)) return;
  const WindowSlot& s = Slot(slot);
  g_currentSheet.canvasSlot = slot;
  if (s.window) ShowWindow(s.window, SW_SHOW);
  LoadLineDefinitions(slot);
  if (s.owner) SendMessageA(s.owner, kMsgFillScreen, s.screenNumber, 0);
  // A sheet opens without the image of an earlier one under it.
  g_canvasView = SheetCanvasView();
  RefreshCanvasOptions();
  // Key items that no field bears are asked for by the reading-run dialog;
  // a sheet whose rows cannot be read says so when it is checked.
  LoadSheetKeyItems();
  if (g_readingCalls.clearFieldResults) g_readingCalls.clearFieldResults();
}

void CloseCanvasSlot(int slot) {
  if (!IsValidSlot(slot)) return;
  Slot(slot).backgroundImage = 0;  // the workbench owns the converted page
  if (g_currentSheet.canvasSlot == slot) g_currentSheet.canvasSlot = -1;
  CloseScreenWindow(slot, 0);
}

void PaintCanvas(HWND window) {
  const int slot = CanvasSlotOf(window);
  if (slot < 0 || !BeginScreenPaint(window, slot)) {
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    return;
  }
  DrawSheetLayout();
  if (g_currentSheet.projectMode != kOperationProjectMode || g_canvasView.itemsVisible) {
    PaintScreenPage(window, slot);
  }
  EndScreenPaint();
}

void ScrollCanvas(HWND window, UINT message, WPARAM request) {
  const int slot = CanvasSlotOf(window);
  if (slot < 0) return;
  if (message == WM_HSCROLL) {
    ScrollScreenHSnap(window, slot, SB_HORZ, request, 0, kPixelsPerColumn, 1, 0, 0);
  } else {
    ScrollScreenVSnap(window, slot, SB_VERT, request, 0, kPixelsPerColumn, 1, 0, 0);
  }
  RepaintCanvasRulers(window);
  // The workbench keeps the keyboard: its arrows move the image.
  if (const HWND bench = Workbench(window)) SetFocus(bench);
}

// The names of a drop, each read whole however long (a path may pass
// MAX_PATH): one cut short would be refused by a wrong extension or read as
// another file.
std::vector<std::string> DroppedFileNames(HDROP drop) {
  std::vector<std::string> names;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT k = 0; k < count; ++k) {
    const UINT length = DragQueryFileA(drop, k, nullptr, 0);
    if (length == 0) continue;
    std::string name(length + 1, '\0');
    if (DragQueryFileA(drop, k, name.data(), length + 1) == 0) continue;
    name.resize(length);
    names.push_back(name);
  }
  return names;
}

void ReceiveDrop(HWND window, HDROP drop) {
  const std::vector<std::string> files = DroppedFileNames(drop);
  POINT at{};
  DragQueryPoint(drop, &at);
  DragFinish(drop);
  const int slot = CanvasSlotOf(window);
  if (slot < 0 || files.empty()) return;
  SetFocus(window);
  DropFilesOnCanvas(slot, files, at);
}

}  // namespace

void InstallCanvasReadingCalls(const CanvasReadingCalls& calls) { g_readingCalls = calls; }

const CanvasReadingCalls& GetCanvasReadingCalls() { return g_readingCalls; }

void RepaintSheetCanvas() {
  const int slot = g_currentSheet.canvasSlot;
  if (IsValidSlot(slot) && Slot(slot).window) InvalidateRect(Slot(slot).window, nullptr, TRUE);
}

void EnterSheetDesign(int slot) {
  if (!IsValidSlot(slot) || Slot(slot).lineEditMode) return;
  SelectWindowSlot(slot);
  ToggleScreenLineEditMode();
  if (g_readingCalls.leaveImageDisplay) g_readingCalls.leaveImageDisplay();
}

void LeaveSheetDesign(int slot) {
  if (!IsValidSlot(slot) || !Slot(slot).lineEditMode) return;
  SelectWindowSlot(slot);
  // The read image comes back with the buttons of reading.
  if (g_readingCalls.clearFieldResults) g_readingCalls.clearFieldResults();
  ToggleScreenLineEditMode();
  if (g_readingCalls.enterImageDisplay) g_readingCalls.enterImageDisplay();
}

bool CanvasRulerStrips(HWND canvas, RECT* top, RECT* left) {
  const HWND bench = Workbench(canvas);
  if (!bench || !IsWindowVisible(canvas)) return false;
  RECT r;
  GetWindowRect(canvas, &r);
  MapWindowPoints(nullptr, bench, reinterpret_cast<POINT*>(&r), 2);
  r.right -= GetSystemMetrics(SM_CXVSCROLL);
  r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  // The top strip lies under the button bar's captions, the left one
  // inside the workbench's frame.
  constexpr int kTopBreadth = 16, kFrame = 4;
  *top = RECT{r.left, r.top - kTopBreadth, r.right, r.top};
  *left = RECT{kFrame, r.top, r.left, r.bottom};
  return r.left > kFrame && r.top > kTopBreadth;
}

int CanvasRulerStep() { return SheetDotsPerGridUnit() * 5; }

POINT CanvasScroll(HWND canvas) {
  const int slot = CanvasSlotOf(canvas);
  return slot < 0 ? POINT{0, 0} : POINT{Slot(slot).scrollX, Slot(slot).scrollY};
}

void SizeSheetCanvas() {
  const SheetSettings& s = g_sheetSettings;
  SheetCanvasState& canvas = g_sheetCanvas;
  canvas.pitch = kPixelsPerColumn;
  // Whole centimetres: the silver strip fills the paper up to them.
  const int widthCm = (std::max(0, s.widthMm) + 9) / 10, heightCm = (std::max(0, s.heightMm) + 9) / 10;
  canvas.columns = widthCm * canvas.scale;
  canvas.rows = heightCm * canvas.scale;
  g_workbenchMetrics.sheetColumns = widthCm;
  g_workbenchMetrics.sheetRows = heightCm;
}

LRESULT CALLBACK SheetCanvasWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The grid editors opened while the canvas was active tell it.
  LRESULT gridResult = 0;
  if (HandleGridNotice(message, wParam, lParam, &gridResult)) return gridResult;
  LRESULT listResult = 0;
  if (HandleQuestionListMessage(window, message, wParam, lParam, &listResult)) return listResult;
  switch (message) {
    case WM_PAINT:
      PaintCanvas(window);
      return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
      ScrollCanvas(window, message, wParam);
      return 0;
    case WM_MOUSEWHEEL:
      ScrollCanvas(window, WM_VSCROLL, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
      return 0;
    case WM_RBUTTONDOWN:
      ShowSheetDesignMenu(CanvasSlotOf(window), static_cast<short>(LOWORD(lParam)),
                          static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_LBUTTONDBLCLK:
      return 0;
    case WM_DROPFILES:
      ReceiveDrop(window, reinterpret_cast<HDROP>(wParam));
      return 0;
    case kMsgScreenCommand:
      if (wParam == kEscapeCommand) {
        SendMessageA(window, kMsgCloseWindow, 0, 0);
        if (const HWND bench = Workbench(window)) SendMessageA(bench, kMsgCloseWindow, 0, 0);
      } else {
        ApplyPendingFocus();
      }
      return 0;
    case kMsgFieldChosen: {
      const int slot = CanvasSlotOf(window);
      if (slot >= 0 && Slot(slot).owner) SendMessageA(Slot(slot).owner, kMsgFieldMessage, Slot(slot).screenNumber, 0);
      return 0;
    }
    case kMsgSlotOpened:
      OpenCanvasSlot(static_cast<int>(wParam));
      return 0;
    case kMsgHeaderMenu:
      // The menus count their lines from 1, as the pop-up gives them.
      RunSheetMenuChoice(static_cast<int>(lParam));
      return 0;
    case kMsgCloseWindow:
    case WM_CLOSE:
      CloseCanvasSlot(CanvasSlotOf(window));
      return 0;
    default:
      // The mouse on items, the focus, the hint timer, moves and sizes.
      ScreenChildWndProc(window, message, wParam, lParam);
      return DefWindowProcA(window, message, wParam, lParam);
  }
}
