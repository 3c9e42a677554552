// Items in pixels: the character-unit layout of screen items, the grid-unit
// layout of OCR-sheet items, the standard items and the in-place edit
// control every screen window gets, and the freeing of a slot's items.
#include <algorithm>
#include <string>

#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

// The image an 'I' item names: its default text when that ends in a
// three-letter extension, else its caption.
std::string ImageNameOfItem(const ScreenItem& item) {
  const std::string& text = item.defaultText;
  if (text.size() >= 4 && text[text.size() - 4] == '.') return text;
  return item.caption;
}

void LayoutImageItem(ScreenItem& item, bool sheetItem) {
  item.image = LoadImageCached(ImageNameOfItem(item).c_str());
  const bool ownSize = item.colorB == 12 || item.count == 1;
  if (item.image) {
    if (ownSize) {
      int width = 0, height = 0;
      GetImageSize(item.image, &width, &height);
      item.pixelWidth = width + 4;
      item.pixelHeight = height + 4;
    } else if (item.count == 2) {
      item.pixelWidth = item.length;
    }
  } else if (sheetItem && ownSize) {
    item.pixelWidth = 30;
    item.pixelHeight = 30;
  }
}

int CeilDiv(int a, int b) { return b > 0 ? (a + b - 1) / b : a; }

void LayoutSheetText(ScreenItem& item, int dots) {
  if (item.charSize == 0) item.charSize = 8;
  const int bytes = item.sheetText.empty() ? 1 : static_cast<int>(item.sheetText.size());
  if (item.sheetText.empty()) item.length = 1;
  if (item.width == 0) item.width = bytes == 1 ? 1 : bytes / 2;
  const int lines = CeilDiv(std::max(1, bytes / 2), std::max(1, item.width));
  if (item.boxWidth >= 1 && item.boxHeight >= 1) {
    item.pixelWidth = item.boxWidth * dots;
    item.pixelHeight = item.boxHeight * dots;
    return;
  }
  const int cs = item.charSize;
  item.pixelHeight = cs / 2 * (lines + 1) + cs * 2 * lines;
  if (lines == 1) {
    item.pixelWidth = (bytes + 1) * cs;
  } else if (item.width == 1) {
    item.pixelWidth = cs * 3;
  } else {
    item.pixelWidth = (item.width * 2 + 1) * cs;
  }
}

// Index shift of an item number when the range [first, first + count) is
// removed: items behind it move down, items inside it are gone (-1).
int ShiftedIndex(int index, int first, int count) {
  if (index < first) return index;
  if (index < first + count) return -1;
  return index - count;
}

// Removes a slot's range from the table and moves every item behind it
// down, adjusting the ranges of the other slots and every item number the
// engine keeps.
void RemoveItemRange(int first, int count) {
  ScreenItemTable& table = g_screenItems;
  if (count <= 0) return;
  std::move(table.items + first + count, table.items + table.totalCount, table.items + first);
  for (int i = table.totalCount - count; i < table.totalCount; ++i) table.items[i] = ScreenItem();
  table.totalCount -= count;
  for (WindowSlot& slot : g_windowSlots) {
    if (slot.itemCount > 0 && slot.firstItem > first) {
      slot.firstItem -= count;
      slot.lastItem -= count;
    }
    for (int* index : {&slot.cbboxItem, &slot.rulerItem, &slot.lastLineButton,
                       &slot.popupButtonItem, &slot.lastFocusItem}) {
      if (*index >= 0) *index = ShiftedIndex(*index, first, count);
    }
  }
  for (int* index : {&g_screen.currentItem, &g_screen.previousItem, &g_screen.pendingItem,
                     &g_screen.mouseItem, &g_screen.clickItem, &g_screen.hoverItem}) {
    if (*index >= 0) *index = ShiftedIndex(*index, first, count);
  }
}

}  // namespace

void LayoutScreenItem(int slot, int i, int keepPosition) {
  ScreenItem& item = Item(i);
  const WindowSlot& s = Slot(slot);
  if (item.itemClass == kItemClassSheet) return;
  if (item.kind == 'o' && !keepPosition) {
    item.column = item.column * 2 + 5;
    item.pixelHeight = item.length * s.rowPitch;
    item.row = s.scrHeight - (item.row + item.length - 1) + 4;
  }
  item.pixelX = item.column * s.fontUnit + (item.xOffset != 0 ? item.xOffset : 1);
  if (item.charSize <= 0) item.charSize = s.fontUnit;
  if (item.pixelHeight <= 0) item.pixelHeight = item.charSize * 3 - 1;
  if (item.kind == 'o') {
    item.pixelWidth = item.width * 2 * s.fontUnit - 2;
  } else if (item.itemClass == kItemClassIcon || item.itemClass == kItemClassPlan) {
    item.pixelWidth = (item.width + 2) * s.fontUnit - 2;
  } else {
    item.pixelWidth = (item.width + 2) * item.charSize - 2;
  }
  item.pixelY = item.row * s.rowPitch + item.yOffset + s.topMargin;
  if (item.edit == 'I') LayoutImageItem(item, false);
}

void LayoutSheetItem(int i) {
  ScreenItem& item = Item(i);
  const int dots = SheetDotsPerGridUnit();
  item.pixelX = item.column;
  item.pixelY = item.row;
  if (item.edit == 'I') {
    LayoutImageItem(item, true);
    return;
  }
  if (!item.code.empty() && item.code[0] == 'T') {
    LayoutSheetText(item, dots);
    return;
  }
  if (item.edit == 'C') {
    const int columns = item.boxesPerRow >= 1 ? CeilDiv(item.width, item.boxesPerRow) : item.width;
    item.pixelWidth = (item.boxWidth + item.boxGap) * dots * columns;
  } else if (item.kind == 'Z') {
    item.pixelWidth = item.boxWidth * dots;
  } else if (item.boxGap >= 0) {
    item.pixelWidth = item.boxWidth * dots * item.width + item.boxGap * dots * (item.width - 1);
  } else {
    item.pixelWidth = item.boxWidth * dots * item.width;
  }
  item.pixelHeight = item.boxHeight * dots;
}

int CreateStandardItems(HWND window, int slot, int mode) {
  WindowSlot& s = Slot(slot);
  g_screen.itemExtentRight = 0;
  g_screen.itemExtentBottom = 0;
  s.hasPasswordItem = 0;
  const bool sheet = s.screenType == kScreenTypeSheet;
  if (!sheet) {
    s.cbboxItem = AddScreenItem("", "CBBOX", -50, -50, 0, 2, 0, -1, 'B', 0, 8, kKeyCbbox, 'S',
                                kItemHidden, 0, 11, 0, 0, "", "");
    if (s.cbboxItem < 0) return -1;
  }
  auto addLineButton = [](const char* name, int key) {
    return AddScreenItem("", name, 0, -5, 0, 0, 0, -1, 'B', 0, 8, key, 'S', kItemHidden, 0, 11,
                         0, 0, "", "");
  };
  s.rulerItem = -1;
  s.lastLineButton = -1;
  if (mode != -1) {
    if (!sheet) {
      const int pitch = std::max(1, s.rowPitch);
      const int unit = std::max(1, s.fontUnit);
      const int span = g_screen.metrics.screenWidth / unit;
      s.rulerItem = AddScreenItem("", "RULER", 1, s.headerHeight / pitch, s.headerHeight % pitch,
                                  span, span, -1, 'X', 0, 1, kKeyRuler, 'S', kItemHidden, 0, 11,
                                  0, 0, "", "");
      if (s.rulerItem < 0) return -1;
    }
    const char* names[] = {"LTYPE1", "LTYPE2", "LTYPE3", sheet ? "LTYPE5" : "LTYPE4"};
    const int keys[] = {kKeyLineType1, kKeyLineType1 + 1, kKeyLineType1 + 2,
                        sheet ? kKeyLineType1 + 4 : kKeyLineType1 + 3};
    for (int k = 0; k < 4; ++k) {
      s.lastLineButton = addLineButton(names[k], keys[k]);
      if (s.lastLineButton < 0) return -1;
    }
  }

  TakeBuildingItems(slot);
  s.editControl = CreateWindowExA(0, "EDIT", "",
                                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_AUTOHSCROLL, 0, 0,
                                  0, 0, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(
                                      kEditControlIdBase + slot)),
                                  GetModuleHandleA(nullptr), nullptr);
  if (s.editControl) {
    s.previousEditProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        s.editControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditSubclassProc)));
  }
  return 0;
}

int TakeBuildingItems(int slot) {
  WindowSlot& s = Slot(slot);
  ScreenItemTable& table = g_screenItems;
  if (s.itemCount == 0) {
    s.itemCount = table.buildingCount;
    table.buildingCount = 0;
    s.firstItem = table.totalCount - s.itemCount;
  }
  s.lastItem = s.firstItem + s.itemCount - 1;
  for (int i = s.firstItem; i <= s.lastItem; ++i) {
    ScreenItem& item = Item(i);
    if (item.edit == 'P') s.hasPasswordItem = 1;
    LayoutScreenItem(slot, i, 0);
    item.displayText.clear();
    if (item.titleStyle != 11 && item.titleStyle != 13) {
      g_screen.itemExtentRight = std::max(g_screen.itemExtentRight, item.pixelX + item.pixelWidth);
      g_screen.itemExtentBottom =
          std::max(g_screen.itemExtentBottom, item.pixelY + item.pixelHeight);
    }
  }
  return 0;
}

int DeleteEditControl(int slot) {
  if (slot < 0) slot = g_screen.currentSlot;
  WindowSlot& s = Slot(slot);
  if (s.editControl && !DestroyWindow(s.editControl)) {
    ShowInfoMessage("Control", "エディット・コントロールを削除できません。");
  }
  s.editControl = nullptr;
  s.previousEditProc = nullptr;
  if (s.editFont) {
    DeleteObject(s.editFont);
    s.editFont = nullptr;
  }
  if (s.itemCount > 0) RemoveItemRange(s.firstItem, s.itemCount);
  s.itemCount = 0;
  s.firstItem = 0;
  s.lastItem = -1;
  return slot;
}
