// Scroll bars of the screen windows: range set-up and the handlers that
// move the content below the fixed header band, by lines, pages or the
// thumb, optionally snapped to whole lines. The same handlers serve scroll
// bar controls (SB_CTL), whose position the caller keeps.
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

// Steps of the last scroll request; a request that gives no line or page
// count keeps the previous ones.
int g_lineStep = 0;
int g_pageStep = 0;

enum class Axis { kHorizontal, kVertical };

struct ScrollRequest {
  HWND window;
  int slot;
  int bar;
  WPARAM request;
  int extent, lines, pages, pageLines, position;
};

int SetScrollRange(HWND window, int slot, int bar, int total, int visible, int position,
                   Axis axis) {
  int maximum = 0;
  if (visible < total) {
    maximum = total - visible;
    SetScrollRange(window, bar, 0, maximum, FALSE);
    SetScrollPos(window, bar, position, TRUE);
    ShowScrollBar(window, bar, TRUE);
  } else {
    ShowScrollBar(window, bar, FALSE);
  }
  if (slot >= 0) {
    (axis == Axis::kHorizontal ? Slot(slot).scrollMaxH : Slot(slot).scrollMaxV) = maximum;
  }
  return maximum;
}

// Rectangle of the content below the header band, in client pixels.
RECT ContentBand(int slot, int fromOffset) {
  const int header = slot >= 0 ? Slot(slot).headerHeight : 0;
  const ScreenMetrics& m = g_screen.metrics;
  return RECT{0, header + fromOffset, m.screenWidth, m.clampHeight};
}

// The common walk of the horizontal and vertical handlers.
int ScrollScreen(const ScrollRequest& r, Axis axis, bool snap) {
  if (r.slot >= 0) MoveSlotStatics(r.slot);
  const bool content = r.bar != SB_CTL;
  const bool horizontal = axis == Axis::kHorizontal;
  int position = r.position;
  int maximum = r.extent;
  if (r.slot >= 0) {
    const WindowSlot& s = Slot(r.slot);
    if (content) position = horizontal ? s.scrollPosH : s.scrollPosV;
    maximum = horizontal ? s.scrollMaxH : s.scrollMaxV;
  }
  if (horizontal && r.lines == -1) {
    g_lineStep = r.extent;
  } else if (r.lines >= 1) {
    g_lineStep = maximum / r.lines;
  }
  if (r.pageLines >= 1) {
    g_pageStep = r.pageLines * g_lineStep;
  } else if (r.pages >= 1) {
    g_pageStep = maximum / r.pages;
  }

  const ScrollMove move = ComputeScrollMove(LOWORD(r.request), HIWORD(r.request), position,
                                            maximum, g_lineStep, g_pageStep);
  if (content && move.delta != 0) {
    const RECT band = ContentBand(r.slot, 0);
    ScrollWindow(r.window, horizontal ? move.delta : 0, horizontal ? 0 : move.delta, &band,
                 nullptr);
  }
  if (move.position == position) return position;
  const int final = snap ? SnapScrollPosition(move.position, g_lineStep) : move.position;

  SetScrollPos(r.window, r.bar, final, TRUE);
  if (content && r.slot >= 0) {
    WindowSlot& s = Slot(r.slot);
    (horizontal ? s.scrollPosH : s.scrollPosV) = final;
    if (horizontal) {
      const RECT band = ContentBand(r.slot, 2);
      InvalidateRect(r.window, &band, TRUE);
    } else {
      const RECT header{0, 0, g_screen.metrics.screenWidth, s.headerHeight};
      const RECT below = ContentBand(r.slot, 0);
      InvalidateRect(r.window, &header, FALSE);
      InvalidateRect(r.window, &below, TRUE);
    }
    UpdateWindow(r.window);
  }
  return final;
}

}  // namespace

ScrollMove ComputeScrollMove(int request, int thumb, int position, int maximum, int lineStep,
                             int pageStep) {
  ScrollMove move{position, 0};
  auto forward = [&](int n) {
    if (maximum - position < n) {
      move.delta = position - maximum;
      move.position = maximum;
    } else {
      move.delta = -n;
      move.position = position + n;
    }
  };
  auto back = [&](int n) {
    if (position < n) {
      move.delta = position;
      move.position = 0;
    } else if (position > 0) {
      move.delta = n;
      move.position = position - n;
    }
  };
  switch (request) {
    case SB_LINEUP: back(lineStep); break;
    case SB_LINEDOWN: forward(lineStep); break;
    case SB_PAGEUP: back(pageStep); break;
    case SB_PAGEDOWN: forward(pageStep); break;
    case SB_THUMBPOSITION:
      move.position = thumb;
      move.delta = position - thumb;
      break;
    default: break;
  }
  return move;
}

int SnapScrollPosition(int position, int lineStep) {
  // A line step below 1 (a maximum smaller than the line count) has no
  // multiples to snap to.
  if (lineStep < 1 || position % lineStep == 0) return position;
  const int k = (position + lineStep - 1) / lineStep;
  return position % lineStep < lineStep / 2 ? lineStep * (k - 1) : lineStep * k;
}

int SetScrollRangeH(HWND window, int slot, int bar, int total, int visible) {
  return SetScrollRange(window, slot, bar, total, visible, 0, Axis::kHorizontal);
}

int SetScrollRangeV(HWND window, int slot, int bar, int total, int visible) {
  return SetScrollRange(window, slot, bar, total, visible, 0, Axis::kVertical);
}

int SetScrollRangeVAt(HWND window, int slot, int bar, int total, int visible, int position) {
  return SetScrollRange(window, slot, bar, total, visible, position, Axis::kVertical);
}

int UpdateScrollRangeH(HWND window, int slot) {
  const int width = Slot(slot).windowWidth;
  const int screenWidth = g_screen.metrics.screenWidth;
  return SetScrollRangeH(window, slot, SB_HORZ, width, screenWidth >= width ? width : screenWidth);
}

int UpdateScrollRangeV(HWND window, int slot) {
  const WindowSlot& s = Slot(slot);
  const int placing = s.placingHeight > 0 ? s.placingHeight : g_screen.metrics.placingHeight;
  return SetScrollRangeV(window, slot, SB_VERT, s.windowHeight,
                         s.contentHeight > placing ? placing : s.windowHeight);
}

int ScrollScreenHPlain(HWND window, int slot, int bar, WPARAM request, int extent, int lines,
                       int pages, int pageLines, int position) {
  return ScrollScreen({window, slot, bar, request, extent, lines, pages, pageLines, position},
                      Axis::kHorizontal, false);
}

int ScrollScreenHSnap(HWND window, int slot, int bar, WPARAM request, int extent, int lines,
                      int pages, int pageLines, int position) {
  return ScrollScreen({window, slot, bar, request, extent, lines, pages, pageLines, position},
                      Axis::kHorizontal, true);
}

int ScrollScreenVPlain(HWND window, int slot, int bar, WPARAM request, int extent, int lines,
                       int pages, int pageLines, int position) {
  return ScrollScreen({window, slot, bar, request, extent, lines, pages, pageLines, position},
                      Axis::kVertical, false);
}

int ScrollScreenVSnap(HWND window, int slot, int bar, WPARAM request, int extent, int lines,
                      int pages, int pageLines, int position) {
  return ScrollScreen({window, slot, bar, request, extent, lines, pages, pageLines, position},
                      Axis::kVertical, true);
}

int ScrollScreenVTo(HWND window, int slot, int bar, WPARAM request, int extent, int lines,
                    int pageStep, int position) {
  const int code = LOWORD(request);
  // Top (SB_TOP, and the code 11 of the callers) and bottom jump without
  // moving the content; the repaint shows them.
  const bool top = code == SB_TOP || code == 11;
  if (!top && code != SB_BOTTOM) {
    if (pageStep > 0) g_pageStep = pageStep;
    return ScrollScreen({window, slot, bar, request, extent, lines, 0, 0, position},
                        Axis::kVertical, false);
  }
  if (slot >= 0) MoveSlotStatics(slot);
  const bool content = bar != SB_CTL;
  int current = position;
  int maximum = extent;
  if (slot >= 0) {
    if (content) current = Slot(slot).scrollPosV;
    maximum = Slot(slot).scrollMaxV;
  }
  const int target = top ? 0 : maximum;
  if (target == current) return current;
  SetScrollPos(window, bar, target, TRUE);
  if (content && slot >= 0) {
    Slot(slot).scrollPosV = target;
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
  }
  return target;
}

void GetDisplayLineHeight(int* unit, int* height, int* second) {
  *unit = kBaseCharWidth;
  *second = 24;
  *height = 0;
  const HDC dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!dc) return;
  TEXTMETRICA metrics{};
  if (GetTextMetricsA(dc, &metrics)) *height = metrics.tmHeight + metrics.tmExternalLeading;
  DeleteDC(dc);
}

HGLOBAL AllocZeroed(SIZE_T bytes) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!block) ShowErrorMessage("", "ﾒﾓﾘを確保できません。");
  return block;
}
