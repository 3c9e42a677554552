// The image check view: after a test scan the operator sees the converted
// page at twice the canvas size, moved by the workbench's margins and
// stretched by its ratios, with a magenta frame on every box the reader
// measures, and rulers along the top and left. "WITHFRAME" holds the close
// button, the hints and the rulers; "WITHIMAGE" inside it draws and
// scrolls the page.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/files.h"
#include "foundation/gdi_draw.h"
#include "foundation/image_cache.h"
#include "reading/image_steps.h"
#include "reading/reading.h"
#include "reading/sheet_rulers.h"
#include "reading/workbench.h"
#include "screen/screen.h"

namespace {

constexpr int kFrameScreen = 91;
constexpr int kImageScreen = 92;
constexpr int kCloseCommand = 100;
constexpr int kViewFactor = 2;       // view pixels per canvas pixel
constexpr int kRulerBreadth = 24;    // pixels of a ruler strip
constexpr int kImageTop = 80;        // the image view below the hint lines
constexpr int kMagenta = 3;
constexpr int kScrollStep = 40;

struct ViewState {
  HWND frame = nullptr, image = nullptr;
  int frameSlot = -1, imageSlot = -1;
  int shownRatioX = 100, shownRatioY = 100;  // hundredths, at opening
  int scrollX = 0, scrollY = 0;              // view pixels
  int contentWidth = 0, contentHeight = 0;
};
ViewState g_view;

int GridPixels() { return kViewFactor * SheetDotsPerGridUnit(); }

// The choice text of box k (from 0) of a check field, "" when none.
std::string ChoiceOfBox(const SheetFieldSpec& spec, int k) {
  const std::string& text = spec.codePattern;
  const bool perCharacter = spec.boxShape == 23 || (spec.boxShape == 24 && text.find(',') == std::string::npos) ||
                            (text.find(',') == std::string::npos &&
                             static_cast<int>(text.size()) == spec.boxCount);
  if (perCharacter) return k < static_cast<int>(text.size()) ? text.substr(k, 1) : "";
  std::size_t start = 0;
  for (int i = 0; i < k; ++i) {
    start = text.find(',', start);
    if (start == std::string::npos) return "";
    ++start;
  }
  return text.substr(start, text.find(',', start) - start);
}

void DrawBoxesOfField(HDC dc, int item, int originX, int originY) {
  const SheetFieldSpec spec = SheetFieldSpecOf(item);
  if (spec.threshold == -1 && spec.editLetter == 'C') return;
  SheetScale scale;
  scale.dotsX = scale.dotsY = kViewFactor;
  scale.unit = SheetDotsPerGridUnit();
  const FieldBoxLayout layout = ComputeFieldLayout(spec, scale, ImageCompensation());
  const std::vector<BoxRect> boxes = LayoutFieldBoxes(layout, spec.boxCount, 200);
  if (boxes.empty()) return;
  const bool check = spec.editLetter == 'C';
  const bool outer = spec.pitch < 0 || spec.inputLetter == 'F' || spec.inputLetter == 'Z';
  if (outer) {
    RECT all = {boxes[0].left, boxes[0].top, boxes[0].right, boxes[0].bottom};
    for (const BoxRect& b : boxes) {
      all.left = std::min<LONG>(all.left, b.left);
      all.top = std::min<LONG>(all.top, b.top);
      all.right = std::max<LONG>(all.right, b.right);
      all.bottom = std::max<LONG>(all.bottom, b.bottom);
    }
    Rectangle(dc, originX + all.left - 2, originY + all.top - 2, originX + all.right + 3, originY + all.bottom + 3);
    if (spec.pitch < 0) return;
  }
  for (int k = 0; k < static_cast<int>(boxes.size()); ++k) {
    if (check && ChoiceOfBox(spec, k) == "^") continue;
    const BoxRect& b = boxes[k];
    const int left = originX + b.left, top = originY + b.top;
    const int right = originX + b.right + 1, bottom = originY + b.bottom + 1;
    if (spec.boxShape == 23) {
      const int cx = (left + right) / 2, cy = (top + bottom) / 2;
      Ellipse(dc, cx - 12, cy - 12, cx + 12, cy + 12);
    } else if (check && spec.markType != 0) {
      Ellipse(dc, left, top, right, bottom);
    } else if (!outer) {
      Rectangle(dc, left, top, right, bottom);
    }
  }
}

void DrawFieldFramesOnImage(HDC dc, int originX, int originY) {
  GdiOwner<HPEN> pen(CreatePen(PS_SOLID, 1, ColorFromCode(kMagenta)));
  SelectScope usePen(dc, pen.get());
  SelectScope useBrush(dc, GetStockObject(NULL_BRUSH));
  for (int item : CanvasFieldItems()) DrawBoxesOfField(dc, item, originX, originY);
}

// The image of the side shown, moved by the margins and stretched by the
// shown ratios.
void DrawSheetImage(HDC dc, int originX, int originY) {
  const std::string path = ConvertedImagePath();
  if (FileExists(path.c_str()) != 0) return;
  const ImageHandle image = LoadImageCached(path.c_str());
  if (!image) return;
  int width = 0, height = 0;
  GetImageSize(image, &width, &height);
  const WorkbenchState& bench = g_workbenchState;
  DrawImageFileScaled(dc, image, originX + kViewFactor * bench.leftMargin,
                      originY + kViewFactor * bench.topMargin, ViewImageLength(width, g_view.shownRatioX),
                      ViewImageLength(height, g_view.shownRatioY));
}

// The rulers of the frame: along the top and the left of the image view.
void DrawViewRulers(HDC dc, const RECT& client) {
  const int step = GridPixels() * 5;  // one grid step of the canvas
  DrawSheetRuler(dc, true, RECT{kRulerBreadth, kImageTop - kRulerBreadth, client.right, kImageTop}, step,
                 g_view.scrollX);
  DrawSheetRuler(dc, false, RECT{0, kImageTop, kRulerBreadth, client.bottom}, step, g_view.scrollY);
}

void PaintFrameRulers(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  DrawViewRulers(dc, client);
  EndPaint(window, &paint);
}

void PaintImageView(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawSheetImage(dc, -g_view.scrollX, -g_view.scrollY);
  DrawFieldFramesOnImage(dc, -g_view.scrollX, -g_view.scrollY);
  EndPaint(window, &paint);
}

void UpdateScrollBars() {
  RECT client;
  GetClientRect(g_view.image, &client);
  SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  info.nMax = g_view.contentWidth;
  info.nPage = static_cast<UINT>(client.right);
  info.nPos = g_view.scrollX;
  SetScrollInfo(g_view.image, SB_HORZ, &info, TRUE);
  info.nMax = g_view.contentHeight;
  info.nPage = static_cast<UINT>(client.bottom);
  info.nPos = g_view.scrollY;
  SetScrollInfo(g_view.image, SB_VERT, &info, TRUE);
}

void Scroll(bool horizontal, WPARAM request) {
  RECT client;
  GetClientRect(g_view.image, &client);
  int& position = horizontal ? g_view.scrollX : g_view.scrollY;
  const int page = horizontal ? client.right : client.bottom;
  const int most = std::max(0, (horizontal ? g_view.contentWidth : g_view.contentHeight) - page);
  switch (LOWORD(request)) {
    case SB_LINEUP: position -= kScrollStep; break;
    case SB_LINEDOWN: position += kScrollStep; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = HIWORD(request); break;
    default: return;
  }
  // Snap to the grid step, so the rulers stay on their ticks.
  const int step = GridPixels() * 5;
  position = std::clamp(position / step * step, 0, most);
  UpdateScrollBars();
  InvalidateRect(g_view.image, nullptr, TRUE);
  InvalidateRect(g_view.frame, nullptr, TRUE);
}

void ShowHints() {
  const int slot = g_view.frameSlot;
  if (FileExists(ConvertedImagePath().c_str()) != 0) {
    SetFieldOption(slot, "WIMGMSG1", 2);
    SetItemValueForCommand(slot, "WIMGMSG1", "表示するイメージは作成されていません。");
    SetItemValueForCommand(slot, "WIMGMSG2", "");
    return;
  }
  SetItemValueForCommand(slot, "WIMGMSG1", "紫色の枠内に、ノイズ(斑点)が残っていないか確認してください。");
  SetItemValueForCommand(slot, "WIMGMSG2",
                         "記入した文字が薄くかすれる場合は、｢明るさ｣を標準より暗い目に設定してください。");
}

// The image view stays over the frame, which stays over the program's
// other windows.
void KeepImageOverFrame() {
  if (IsValidSlot(g_view.imageSlot) && g_view.image) {
    SetWindowPos(g_view.image, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void CloseView() {
  if (!IsValidSlot(g_view.frameSlot)) return;
  if (IsValidSlot(g_view.imageSlot)) {
    CloseScreenWindow(g_view.imageSlot, 0);
    g_view.imageSlot = -1;
  }
  const int frame = g_view.frameSlot;
  g_view.frameSlot = -1;
  const HWND workbench = FindProgramWindow("KQE_READ");
  if (workbench) EnableWindow(workbench, TRUE);
  CloseScreenWindow(frame, 1);
  if (workbench) SetFocus(workbench);
}

}  // namespace

int OpenImageCheckView() {
  ViewState& v = g_view;
  if (IsValidSlot(v.frameSlot) && Slot(v.frameSlot).state != kFreeSlotState) return 0;
  v.frame = FindProgramWindow("WITHFRAME");
  if (!v.frame) return -1;
  const WorkbenchState& bench = g_workbenchState;
  v.shownRatioX = ShownRatioHundredths(bench.ratioX, bench.dpi);
  v.shownRatioY = ShownRatioHundredths(bench.ratioY, bench.dpi);
  v.scrollX = v.scrollY = 0;
  const SheetCanvasState& grid = g_sheetCanvas;
  v.contentWidth = std::max(1, grid.columns * grid.pitch * kViewFactor);
  v.contentHeight = std::max(1, grid.rows * grid.pitch * kViewFactor);
  const HWND workbench = FindProgramWindow("KQE_READ");
  if (AddScreenButton("閉じる", "PRJESC", 2, 0, 0, kCloseCommand, kItemEnabled, "QUIT_S.BMP",
                      "もとの画面に戻ります", "") < 0 ||
      AddScreenItem("", "WIMGMSG1", 8, 0, 8, 80, 80, 8, 'X', 0, 0, 0, 'L', kItemProtected, 0, 5, 0, 0, "", "") < 0 ||
      AddScreenItem("", "WIMGMSG2", 8, 1, 8, 80, 80, 8, 'X', 0, 0, 0, 'L', kItemProtected, 0, 5, 0, 0, "", "") < 0) {
    DiscardBuildingItems();
    return -1;
  }
  if (workbench) EnableWindow(workbench, FALSE);
  if (OpenScreenWindow(v.frame, 0, 0, -5, -5, 0, kFrameScreen, 3, 1, 0, "") != 0) {
    if (workbench) EnableWindow(workbench, TRUE);
    return -1;
  }
  v.image = FindProgramWindow("WITHIMAGE");
  if (OpenImageViewWindow(v.contentWidth, v.contentHeight, kImageScreen) != 0) {
    CloseView();
    return -1;
  }
  RECT client;
  GetClientRect(v.frame, &client);
  POINT origin = {kRulerBreadth, kImageTop};
  ClientToScreen(v.frame, &origin);
  SetWindowPos(v.image, HWND_TOPMOST, origin.x, origin.y, client.right - kRulerBreadth, client.bottom - kImageTop,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  UpdateScrollBars();
  ShowHints();
  SetFocus(v.frame);
  KeepImageOverFrame();
  return 0;
}

LRESULT CALLBACK FrameViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case kMsgSlotOpened:
      g_view.frameSlot = static_cast<int>(wParam);
      return 0;
    case WM_PAINT:
      if (PaintSlotWindow(window, g_view.frameSlot)) {
        HDC dc = GetDC(window);
        RECT client;
        GetClientRect(window, &client);
        DrawViewRulers(dc, client);
        ReleaseDC(window, dc);
        return 0;
      }
      PaintFrameRulers(window);
      return 0;
    case WM_WINDOWPOSCHANGED:
      KeepImageOverFrame();
      break;
    case kMsgScreenCommand:
      if (wParam == kCloseCommand) {
        CloseView();
      } else {
        ApplyPendingFocus();
      }
      return 0;
    case WM_CLOSE:
    case kMsgCloseWindow:
      CloseView();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ImageViewWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgSlotOpened:
      g_view.imageSlot = static_cast<int>(wParam);
      if (g_view.frame) SetFocus(g_view.frame);
      return 0;
    case WM_PAINT:
      PaintImageView(window);
      return 0;
    case WM_HSCROLL:
      Scroll(true, wParam);
      return 0;
    case WM_VSCROLL:
      Scroll(false, wParam);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) CloseView();
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
