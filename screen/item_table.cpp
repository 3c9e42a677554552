// The screen item table: up to 2100 items of all open screens. A screen
// being built appends its items at the end; CreateStandardItems makes them
// the range of the slot that opens, and DeleteEditControl frees a slot's
// range again, moving the items behind it down so every open slot keeps one
// contiguous range whatever order the screens close in.
#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"
#include "screen/screen.h"

ScreenItemTable g_screenItems;

namespace {

std::string g_captionSplitText;
std::string g_displayTextBuffer;

std::string UpperExtension(const std::string& fileName) {
  std::string ext(fileName.size() + 1, '\0');
  GetFileExtensionUpper(ext.data(), fileName.c_str());
  ext.resize(std::strlen(ext.c_str()));
  return ext;
}

// Position of the first single-byte `c` outside double-byte pairs, or npos.
size_t FindSingleByte(const std::string& text, char c) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      ++i;
    } else if (text[i] == c) {
      return i;
    }
  }
  return std::string::npos;
}

// The first `bytes` bytes of `text`, never ending inside a character.
std::string CutAtCharBoundary(const std::string& text, int bytes) {
  if (bytes <= 0) return "";
  if (static_cast<int>(text.size()) <= bytes) return text;
  return text.substr(0, CharBoundaryLength(text.c_str(), bytes));
}

bool IsBoxKind(char kind) { return kind == 'B' || kind == 'M' || kind == 'R' || kind == 'C'; }

}  // namespace

int AddScreenItem(const char* caption, const char* name, int column, int row, int yOffset,
                  int width, int length, int charSize, char kind, int count, int protectByte,
                  int keyCode, char edit, int state, int colorA, int titleStyle, double minimum,
                  double maximum, const char* guide, const char* choices) {
  const std::string captionText = caption ? caption : "";
  const std::string guideText = guide ? guide : "";
  if (kind == 'R' && width == -1) {
    if (titleStyle == 6) width = static_cast<int>(captionText.size()) + 2;
    if (titleStyle == 7) width = static_cast<int>(guideText.size()) + 2;
  }
  if (width < 0 || length < 0) width = length = 10;

  ScreenItemTable& table = g_screenItems;
  if (table.totalCount >= kMaxScreenItems) {
    ShowErrorMessage("Control", "入力項目(コントロール)の最大数 (%d) を越えました。",
                     kMaxScreenItems);
    DiscardBuildingItems();
    return -1;
  }
  const int i = table.totalCount;
  ScreenItem& item = table.items[i];
  item = ScreenItem();
  item.caption = captionText;
  item.name = name ? name : "";
  item.column = column;
  item.row = row;
  item.yOffset = yOffset;
  item.width = width;
  item.length = length;
  item.charSize = charSize;
  item.kind = kind;
  item.count = static_cast<signed char>(count);
  item.protectByte = protectByte;
  item.keyCode = keyCode;
  item.edit = edit;
  item.state = state;
  item.colorA = colorA;
  item.titleStyle = titleStyle;
  item.minimum = minimum;
  item.maximum = maximum;
  if (IsBoxKind(kind)) {
    item.keyCode2 = keyCode;
    item.colorB = static_cast<signed char>(protectByte);
    item.pixelHeight = length;
    item.length = width;
  }
  table.buildingCount += 1;
  table.totalCount += 1;
  if (kind == 'o') {
    AllocMultiLineItemText(i, choices);
  } else {
    item.guide = guideText;
    SetItemValue(i, choices);
  }
  SetItemTextCapacity(i);
  return i;
}

void DiscardBuildingItems() {
  ScreenItemTable& table = g_screenItems;
  const int first = table.totalCount - table.buildingCount;
  for (int i = first; i < table.totalCount; ++i) table.items[i] = ScreenItem();
  table.totalCount = first;
  table.buildingCount = 0;
}

int SetItemTextCapacity(int i) {
  ScreenItem& item = Item(i);
  int capacity;
  if (item.titleStyle == 6 || item.titleStyle == 7 || item.titleStyle == 11) {
    capacity = 200;
  } else if (item.kind == 'R') {
    capacity = 10;
  } else if (item.kind == 'C') {
    capacity = item.count;
    item.length = item.count;
  } else if (item.titleStyle == 15) {
    capacity = 256;
  } else {
    capacity = std::max(item.width, item.length);
  }
  if (item.edit == 'S') capacity *= 2;
  if (item.edit == 'I') capacity = 128;
  if (item.kind == 'M' || item.kind == 'B') capacity *= 3;
  if (item.edit == 'v') capacity = 256;
  item.capacity = capacity;
  return 0;
}

int SetItemValue(int i, const char* text) {
  ScreenItem& item = Item(i);
  const std::string value = text ? text : "";
  if ((item.kind == 'R' || item.kind == 'C') && !value.empty()) {
    item.count = CountCharDbcs(value.c_str(), ',') + 1;
    if (item.kind == 'C') {
      item.length = item.count;
      item.capacity = item.count;
    }
  }
  if (!value.empty() && value[0] == '*') {
    SplitItemFileReference(i, value.c_str());
    return 0;
  }
  item.choices = value;
  return 0;
}

int AllocMultiLineItemText(int i, const char* text) {
  ScreenItem& item = Item(i);
  const int capacity = std::max(0, item.width * item.length);
  item.choices = CutAtCharBoundary(text ? text : "", capacity);
  if (capacity > kMaxMultiLineCells) {
    ShowInfoMessage("", "欄数×行数が %d を超えました。(%s)", kMaxMultiLineCells,
                    item.name.c_str());
    return -1;
  }
  return 0;
}

void SplitItemFileReference(int i, const char* text) {
  ScreenItem& item = Item(i);
  const std::string value = text ? text : "";
  const std::string rest = value.empty() ? "" : value.substr(1);
  if (UpperExtension(rest) == "EXE") {
    item.actionClass = "EXE";
    item.actionTarget = rest;
    return;
  }
  const size_t dot = FindSingleByte(rest, '.');
  item.actionClass = CutAtCharBoundary(rest.substr(0, dot), 20);
  item.actionTarget = dot == std::string::npos ? "" : CutAtCharBoundary(rest.substr(dot + 1), 20);
}

void SetItemLaunchFile(int i, const char* fileName) {
  ScreenItem& item = Item(i);
  const std::string file = fileName ? fileName : "";
  const std::string ext = UpperExtension(file);
  if (ext == "EXE" || ext == "TXT" || ext == "DOC" || ext == "HLP") {
    item.actionClass = ext;
    item.actionTarget = file;
    return;
  }
  if (ext == "MP3" || ext == "MID" || ext == "AVI" || ext == "MPG" || ext == "WAV") {
    item.actionClass = "MP3";
    item.actionTarget = file;
    return;
  }
  const size_t dot = FindSingleByte(file, '.');
  if (dot == std::string::npos) {
    item.actionClass.clear();
    item.actionTarget = file;
    return;
  }
  item.actionClass = CutAtCharBoundary(file.substr(0, dot), 31);
  item.actionTarget = file.substr(dot + 1);
}

int BindItemActionFile(int i, const char* fileName) {
  SetItemLaunchFile(i, fileName);
  return 0;
}

void SetItemValueInSlot(int slot, const char* ref, const char* text) {
  const int i = ResolveFieldRef(slot, ref);
  if (i < 0 || i < Slot(slot).firstItem || i > Slot(slot).lastItem) return;
  SetItemValue(i, text);
}

void SetItemValueByRef(const char* ref, const char* text) {
  SetItemValueInSlot(g_screen.currentSlot, ref, text);
}

void SetItemGuideText(const char* ref, const char* text) {
  const int slot = g_screen.currentSlot;
  const int i = ResolveFieldRef(slot, ref);
  if (i < 0 || i < Slot(slot).firstItem || i > Slot(slot).lastItem) return;
  Item(i).guide = text ? text : "";
}

int GetCurrentItemType() {
  const int i = g_screen.currentItem;
  return i >= 0 && i < g_screenItems.totalCount ? Item(i).titleStyle : 0;
}

int SetSlotGridStep(int slot, int pitch) {
  Slot(slot).rowPitch = pitch;
  return slot;
}

int GetSlotGridStep(int slot) { return Slot(slot).rowPitch; }

int SetSlotFontUnit(int slot, int unit) {
  Slot(slot).fontUnit = unit;
  return slot;
}

int GetSlotTopMargin(int slot) { return Slot(slot).topMargin; }

int GetFieldOffsetInSlot(int slot, const char* ref) {
  const int i = ResolveFieldRef(slot, ref);
  return i < 0 ? -1 : i - Slot(slot).firstItem;
}

int GetWindowItemIndex(int slot, int n) { return Slot(slot).firstItem + n; }

const char* GetSlotItemName(int slot, int n) {
  return Item(GetWindowItemIndex(slot, n)).name.c_str();
}

const char* GetSlotItemFieldName(int slot, int n) {
  return Item(GetWindowItemIndex(slot, n)).fieldName.c_str();
}

const char* GetSlotItemValueText(int slot, int n) {
  const ScreenItem& item = Item(GetWindowItemIndex(slot, n));
  return IsBoxKind(item.kind) ? "" : item.defaultText.c_str();
}

int GetCaptionSplitColumn(int i) {
  g_captionSplitText = Item(i).caption;
  int first = -1;
  std::string& text = g_captionSplitText;
  for (size_t at = 0; at < text.size(); ++at) {
    if (IsSjisLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size()) {
      ++at;
    } else if (text[at] == '*') {
      text[at] = ' ';
      if (first < 0) first = static_cast<int>(at);
    }
  }
  return first;
}

const char* GetCaptionSplitText() { return g_captionSplitText.c_str(); }

const char* FormatItemDisplayText(int i) {
  const ScreenItem& item = Item(i);
  if (item.state == kItemHidden) {
    g_displayTextBuffer.clear();
    return g_displayTextBuffer.c_str();
  }
  // Radio and check items show their caption or guide as the choice text
  // themselves; their value stays the chosen choices.
  const bool choices = item.kind == 'R' || item.kind == 'C';
  std::string text;
  if (!choices && (item.titleStyle == 6 || item.titleStyle == 11)) {
    text = item.caption;
  } else if (!choices && item.titleStyle == 7) {
    text = item.guide;
  } else {
    text = item.displayText;
    if (text.empty() && (item.kind == 'B' || item.kind == 'M') && item.edit != 'G') {
      text = item.defaultText;
    }
  }
  const bool whole = IsBoxKind(item.kind) || item.kind == 'F' || item.edit == 'S' ||
                     item.edit == 'I' ||
                     item.edit == 'v' || item.titleStyle == 15 || item.titleStyle == 6 ||
                     item.titleStyle == 7 || item.titleStyle == 11;
  if (!whole) text = CutAtCharBoundary(text, item.edit == 'R' ? item.length : item.width);
  g_displayTextBuffer = text;
  return g_displayTextBuffer.c_str();
}

int FindItemSlot(int i) {
  for (int s = 0; s < kWindowSlotCount; ++s) {
    const WindowSlot& slot = Slot(s);
    if (slot.state != kFreeSlotState && slot.itemCount > 0 && i >= slot.firstItem &&
        i <= slot.lastItem) {
      return s;
    }
  }
  return -1;
}
