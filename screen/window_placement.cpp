// Size and position of a screen window being opened, from the width,
// height and position codes of its definition and the display metrics.
// Pure arithmetic, so every code can be checked without a display.
#include <algorithm>

#include "screen/screen.h"

namespace {

constexpr int kFullScreen = -5;
constexpr int kZero = -6;
constexpr int kAtMouse = -7;
constexpr int kFullHeightPlus30 = -8;

int WidthFromCode(const WindowPlacementRequest& r, const ScreenMetrics& m) {
  if (r.width == kFullScreen) return m.screenWidth;
  if (r.width == kZero) return 0;
  if (r.width > 0) return r.width;
  int width = r.fontUnit * 3 + r.itemRight;
  if (r.listMode == 1 || r.listMode == 2 || r.listMode == 4) width += m.vscrollWidth;
  return width;
}

int HeightFromCode(const WindowPlacementRequest& r, const ScreenMetrics& m, int placingHeight) {
  if (r.height == kFullScreen || r.height == kFullHeightPlus30) return placingHeight;
  if (r.height == kZero) return 0;
  if (r.height > 0) {
    return m.captionHeight >= 20 ? r.height + m.captionHeight - 19 : r.height;
  }
  return r.itemBottom + 50;
}

}  // namespace

WindowPlacement ComputeWindowPlacement(const WindowPlacementRequest& r, const ScreenMetrics& m) {
  WindowPlacement p;
  const int screenWidth = m.screenWidth;
  // A "full height + 30" window is sized, centred and clamped against a
  // placing height 30 pixels taller; the program-wide value stays.
  p.placingHeight = m.placingHeight + (r.height == kFullHeightPlus30 ? 30 : 0);
  const int placing = p.placingHeight;

  WindowPlacementRequest sized = r;
  if (r.imageWidth >= 0 && r.imageHeight >= 0) {
    sized.width = r.imageWidth;
    sized.height = r.imageHeight;
  }
  int width = WidthFromCode(sized, m);
  int height = HeightFromCode(sized, m, placing);
  p.contentWidth = width;
  p.contentHeight = height;
  if (width > screenWidth) height += m.hscrollHeight;
  if (height > placing) width += m.vscrollWidth;
  p.windowWidth = width;
  p.windowHeight = height;

  int x = r.x;
  int y = r.y;
  if (x == kAtMouse) {
    x = r.mouseX;
    y = std::max(0, r.mouseY - height / 2);
    y = std::min(y, m.clampHeight - height);
    x = std::min(x, screenWidth - width);
  }
  switch (x) {
    case -2: x = (screenWidth - width) / 2; break;
    case -3: x = screenWidth - width - 2; break;
    case kFullScreen:
      x = 0;
      if (width < screenWidth) {
        width = screenWidth;
        p.contentWidth = p.windowWidth = screenWidth;
      }
      break;
    case -11: x = -screenWidth; break;
    case -12: x = screenWidth; break;
    case -9: x = (screenWidth - width) / 2 - screenWidth; break;
    case -10: x = (screenWidth - width) / 2 + screenWidth; break;
    default: break;
  }
  switch (y) {
    case -2: y = (placing - height) / 2; break;
    case -4: y = placing - height - 2; break;
    case kFullScreen:
      y = 0;
      if (height < placing) {
        height = placing;
        p.contentHeight = p.windowHeight = placing;
      }
      break;
    default: break;
  }

  if (width > screenWidth) {
    width = screenWidth;
    x = 0;
  }
  if (height > placing) {
    height = placing;
    y = 0;
  }
  if (width < screenWidth && x + width > screenWidth) x = screenWidth - width;
  if (height < m.clampHeight && y + height > m.clampHeight) y = m.clampHeight - height;
  p.x = x;
  p.y = y;
  p.width = width;
  p.height = height;
  return p;
}

int ScreenSizeClassForWidth(int width) {
  if (width <= 640) return 1;
  switch (width) {
    case 800: return 2;
    case 1024: return 3;
    case 1280: return 4;
    case 1600: return 5;
    default: return 6;
  }
}
