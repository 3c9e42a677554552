// Columns of an item by field name: states, texts, sizes, colours, key
// codes and geometry, on the current slot. A name that is not found changes
// nothing; getters then give 0 or an empty text (GetFieldState -1).
#include <cstdlib>
#include <cstring>
#include <string>

#include "screen/screen.h"

namespace {

// The item of the current slot that `name` names, or -1.
int FindItem(const char* name) {
  const int slot = g_screen.currentSlot;
  const WindowSlot& s = Slot(slot);
  const int i = ResolveFieldRef(slot, name);
  return s.itemCount > 0 && i >= s.firstItem && i <= s.lastItem ? i : -1;
}

void CopyText(const std::string& text, char* buffer) {
  std::memcpy(buffer, text.c_str(), text.size() + 1);
}

void SetStateAndRedraw(int i, int state) {
  Item(i).state = state;
  InvalidateItem(i);
}

}  // namespace

void HideField(const char* name) {
  const int i = FindItem(name);
  if (i >= 0) SetStateAndRedraw(i, kItemHidden);
}

// Protecting changes the state only: the protect byte also keeps header
// items fixed to the window, and a field protected while its screen scrolls
// must go on scrolling with it.
void ProtectField(const char* name) {
  const int i = FindItem(name);
  if (i >= 0) SetStateAndRedraw(i, kItemProtected);
}

void ProtectFieldIdx(const char* name, int index) { ProtectField(IndexedFieldName(name, index)); }

void UnprotectField(const char* name) {
  const int i = FindItem(name);
  if (i >= 0) SetStateAndRedraw(i, kItemEnabled);
}

void UnprotectFieldIdx(const char* name, int index) {
  UnprotectField(IndexedFieldName(name, index));
}

void SetFieldState(const char* name, int code) {
  if (code < 1 || code > 3) return;
  const int state = code - 1;
  if (name && std::strcmp(name, "/BUTT") == 0) {
    const WindowSlot& s = Slot(g_screen.currentSlot);
    for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
      if (IsButtonOrMark(Item(i).kind)) SetStateAndRedraw(i, state);
    }
    return;
  }
  const int i = FindItem(name);
  if (i >= 0) SetStateAndRedraw(i, state);
}

int GetFieldState(const char* name) {
  const int i = FindItem(name);
  return i >= 0 ? Item(i).state : -1;
}

void SetFieldInitialText(const char* name, const char* text) {
  const int i = FindItem(name);
  if (i < 0) return;
  Item(i).defaultText = text ? text : "";
  InvalidateItem(i);
}

void GetFieldInitialText(const char* name, char* buffer) {
  const int i = FindItem(name);
  CopyText(i >= 0 ? Item(i).defaultText : "", buffer);
}

int GetFieldAttrA(const char* name) {
  const int i = FindItem(name);
  return i >= 0 ? Item(i).width : 0;
}

int GetFieldAttrB(const char* name) {
  const int i = FindItem(name);
  return i >= 0 ? Item(i).length : 0;
}

void SetFieldFlags(const char* name, int width, int length) {
  if (!name || !name[0]) return;
  const int i = FindItem(name);
  if (i < 0) return;
  Item(i).width = width;
  Item(i).length = length;
}

char GetFieldByteAttr(const char* name) {
  const int i = FindItem(name);
  return i >= 0 ? Item(i).edit : 0;
}

char GetFieldKind(const char* name) {
  const int i = FindItem(name);
  return i >= 0 ? Item(i).kind : 0;
}

int GetFieldTypeCode(const char* name) {
  const int i = FindItem(name);
  return i >= 0 ? Item(i).titleStyle : 0;
}

int GetFieldLink(const char* name) {
  if (Slot(g_screen.currentSlot).lineEditMode) return 0;
  if (name && std::strcmp(name, "/NEXT") == 0) {
    // The item the last key would move to, without moving there.
    const int pending = g_screen.pendingItem;
    return pending >= 0 && pending < g_screenItems.totalCount ? Item(pending).keyCode : 0;
  }
  const int i = FindItem(name);
  return i >= 0 ? Item(i).keyCode : 0;
}

int GetFieldNameSuffix(const char* name) {
  const int i = FindItem(name);
  if (i < 0) return 0;
  const std::string& n = Item(i).name;
  return n.size() >= 2 ? std::atoi(n.substr(n.size() - 2).c_str()) : std::atoi(n.c_str());
}

void GetFieldNameByRef(const char* ref, char* buffer) {
  const int i = FindItem(ref);
  if (i >= 0) CopyText(Item(i).name, buffer);
}

void GetFieldCaption(const char* name, char* buffer) {
  const int i = FindItem(name);
  CopyText(i >= 0 ? Item(i).caption : "", buffer);
}

void SetFieldCaptionAndRepaint(const char* name, const char* text) {
  const int i = FindItem(name);
  if (i < 0) return;
  ScreenItem& item = Item(i);
  item.caption = text ? text : "";
  const int slot = g_screen.currentSlot;
  const WindowSlot& s = Slot(slot);
  if (s.window && GetScreenDC(s.window, slot, s.scrollX, s.scrollY)) {
    PaintItemCaption(i, item.caption.c_str());
    ReleaseScreenDC();
  }
  InvalidateItem(i);
}

void GetFieldHelpText(const char* name, char* buffer) {
  const int i = FindItem(name);
  CopyText(i >= 0 ? Item(i).choices : "", buffer);
}

void SetFieldItems(const char* name, const char* text) {
  const int i = FindItem(name);
  if (i < 0) return;
  SetItemValue(i, text);
  InvalidateItem(i);
}

void SetFieldColorA(const char* name, int code) {
  const int i = FindItem(name);
  if (i >= 0) Item(i).colorA = code;
}

void SetFieldColorAIdx(const char* name, int index, int code) {
  SetFieldColorA(IndexedFieldName(name, index), code);
}

void SetFieldOption(int slot, const char* name, int code) {
  const WindowSlot& s = Slot(slot);
  const int i = ResolveFieldRef(slot, name);
  if (s.itemCount > 0 && i >= s.firstItem && i <= s.lastItem) Item(i).colorA = code;
}

void SetFieldColorB(const char* name, int code) {
  const int i = FindItem(name);
  if (i < 0) return;
  Item(i).colorB = code;
  InvalidateItem(i);
}

void SetFieldColorBIdx(const char* name, int index, int code) {
  SetFieldColorB(IndexedFieldName(name, index), code);
}

void SetFieldColors(const char* name, int colorA, int colorB) {
  const int i = FindItem(name);
  if (i < 0) return;
  if (colorA >= 0) Item(i).colorA = colorA;
  if (colorB >= 0) Item(i).colorB = colorB;
  InvalidateItem(i);
}

int GetFieldChoiceIndex(const char* name) {
  const int i = FindItem(name);
  return i >= 0 ? Item(i).count : 0;
}

int GetFieldGeometry(const char* name, int what) {
  const int i = FindItem(name);
  if (i < 0) return 0;
  const ScreenItem& item = Item(i);
  switch (what) {
    case 1: return item.pixelWidth;
    case 2: return item.pixelHeight;
    case 3: return item.pixelX;
    case 4: return item.pixelX + item.pixelWidth;
    default: return 0;
  }
}

void SetFieldScore(const char* name, int column, int width) {
  const int i = FindItem(name);
  if (i < 0) return;
  ScreenItem& item = Item(i);
  const int unit = Slot(g_screen.currentSlot).fontUnit;
  InvalidateItem(i);
  item.column = column;
  item.pixelX = column * unit + (item.xOffset != 0 ? item.xOffset : 1);
  item.width = width;
  item.pixelWidth = (width + 2) * unit - 2;
  InvalidateItem(i);
}

char GetSlotItemKind(int slot, int n) { return Item(GetWindowItemIndex(slot, n)).kind; }

int FindFieldByKey(int key) {
  if (key == 27) key = kKeyEscape;
  const WindowSlot& s = Slot(g_screen.currentSlot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    if (Item(i).keyCode == key) return i;
  }
  return -1;
}
