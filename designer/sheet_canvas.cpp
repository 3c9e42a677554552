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
// Names are read whole: one cut short would be refused by a wrong extension
// or read as another file.
constexpr int kDropNameLimit = MAX_PATH;
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
  // The workbench keeps the keyboard: its arrows move the image.
  if (const HWND bench = Workbench(window)) SetFocus(bench);
}

// The names of a drop, at most `limit` bytes each.
std::vector<std::string> DroppedFileNames(HDROP drop, int limit) {
  std::vector<std::string> names;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::vector<char> name(static_cast<size_t>(limit) + 1);
  for (UINT k = 0; k < count; ++k) {
    if (DragQueryFileA(drop, k, name.data(), static_cast<UINT>(limit)) == 0) continue;
    names.emplace_back(name.data());
  }
  return names;
}

void ReceiveDrop(HWND window, HDROP drop) {
  const std::vector<std::string> files = DroppedFileNames(drop, kDropNameLimit);
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
