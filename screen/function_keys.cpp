// The function-key bar of data screens and the small item adders the key
// bar and the workbench bar share; the write-back of an item's position
// into its definition row.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/db.h"
#include "screen/screen.h"
#include "screen/screen_words.h"

namespace {

constexpr int kEscapeKey = 100;
constexpr int kF9Position = 9;
constexpr int kF9FirstCommand = 201;
constexpr int kCsvOutputCommand = 125;
constexpr int kPrintCommand = 126;
constexpr int kScreenEditCommand = 124;
constexpr int kFirstStretchCommand = 156;

int KeyCommand(int position) { return position == 0 ? kEscapeKey : kKeyF1 + position - 1; }

bool IsFixedScreen(int number) { return number == 91 || number == 92; }

// The key string corrected for what the screen can do, written back into
// its row while the screen's definition is open.
void CorrectKeys(int s, int type) {
  WindowSlot& slot = Slot(s);
  if (g_list.bufferChanged || slot.functionKeys.size() < kFunctionKeyPositions) return;
  FunctionKeyFacts facts;
  facts.screenType = type;
  facts.sideScroll = slot.lineScrollFlag != 0;
  facts.newRowsAllowed = g_list.newRowsAllowed != 0;
  facts.listInputMode = g_list.inputMode;
  facts.candidateFields = g_screenDefs.candidateFields;
  char keys[kFunctionKeyPositions + 1] = {};
  std::memcpy(keys, slot.functionKeys.data(), kFunctionKeyPositions);
  if (!FixFunctionKeys(keys, facts)) return;
  slot.functionKeys = keys;
  const int t = g_screenDefs.screenDefSlot;
  if (t < 0) return;
  for (int i = 0; i < kFunctionKeyPositions; ++i) SetColumnCharIdx(t, "SCRFKEY", i, keys[i]);
  UpdateCurrentRow(t);
}

// The bitmap buttons beside the key bar of cards and lists; `x` moves on.
void AddExtraButtons(int s, int type, int unit, int& x) {
  const WindowSlot& slot = Slot(s);
  const bool fixed = IsFixedScreen(slot.screenNumber);
  auto key = [&](const char* name, int command, const char* bitmap, const char* guide) {
    AddKeyButton("", name, x, 0, 0, command, kItemEnabled, 1, bitmap, guide, "");
    x += 5;
  };
  const bool csv = fixed || (type == kScreenTypeList && slot.functionKeys.size() > 14 &&
                             slot.functionKeys[14] == '2');
  if ((type == kScreenTypeCard && fixed) || (type == kScreenTypeList && csv)) {
    key("CSVOPUT", kCsvOutputCommand, "", "ＣＳＶファイルに出力します");
  }
  if (fixed && (type == kScreenTypeCard || type == kScreenTypeList)) {
    key("PRNPUT", kPrintCommand, "CADPRINT.BMP", "プリンタに出力します");
  }
  if (type != kScreenTypeCard || slot.ocrCardMode != 2) return;
  key("SCREDT", kScreenEditCommand, unit < 8 ? "SCREDT_O.BMP" : "SCREDT8.BMP",
      "画面編集モードの切り換えを行います");
  const int sizeItem = AddScreenItemX("画面サイズ調整", "SCRSIZ", x, unit < 8 ? 4 : -7, 0, 1, unit,
                                      kItemEnabled);
  if (sizeItem >= 0) x += static_cast<int>(Item(sizeItem).width) + 2;
  const char* names[] = {"MAGNI1", "REDUCT1", "MAGNI2", "REDUCT2"};
  const char* guides[] = {"画面を横方向に拡大します", "画面を横方向に縮小します", "画面を縦方向に拡大します",
                          "画面を縦方向に縮小します"};
  for (int k = 0; k < 4; ++k) {
    key(names[k], kFirstStretchCommand + k, (std::string(names[k]) + ".BMP").c_str(), guides[k]);
  }
  const int message =
      AddScreenItemX("〔編集〕を押して､各項目を配置してください｡", "CMSG1", x, 0, 0, 1, unit, kItemEnabled);
  if (message >= 0) x += Item(message).width;
}

}  // namespace

int SetupFunctionKeys(int s, int type) {
  if (type == kScreenTypeMenu || type == kScreenTypeSheet) return 0;
  WindowSlot& slot = Slot(s);
  const int unit = slot.keyUnit > 0 ? slot.keyUnit : slot.fontUnit;
  CorrectKeys(s, type);

  F9Menu menu = ChooseF9Menu(type, slot.openMode, slot.screenNumber, slot.windowKind);
  if (!g_screenDefs.f9Commands.empty()) menu = {g_screenDefs.f9Commands, ""};

  int next = 1;
  const std::vector<FunctionKeyPlace> places =
      FunctionKeyPlaces(slot.functionKeys.c_str(), g_screen.metrics.functionKeys, &next);
  const int yOffset = (16 - unit / 2) / 2 - 8;
  for (const FunctionKeyPlace& place : places) {
    char name[16];
    std::snprintf(name, sizeof name, "FKEY%02d", place.position);
    const bool f9 = place.position == kF9Position;
    std::string guide;
    if (place.state == kItemEnabled) {
      guide = f9 && !menu.heading.empty() ? menu.heading
                                          : FunctionKeyGuide(place.position, type, g_screenDefs.cardEntryState);
    }
    // Fixed in the header band (-1 also leaves the box without a colour):
    // the button shows its key's name (FunctionKeyLabel).
    const int i = AddScreenItem("", name, 0, 0, yOffset, 3, unit / 2 + 4 * unit, unit, 'B', 0, -1,
                                KeyCommand(place.position), 'S', place.state, 0, 6, f9 ? kF9FirstCommand : 0,
                                0, guide.c_str(), f9 ? menu.commands.c_str() : "");
    if (i < 0) return -1;
    ScreenItem& item = Item(i);
    item.xOffset = place.x * unit;
    item.itemClass = kItemClassIcon;
    item.printFlag = kItemNotPrinted;
    item.groupValue = place.position == 0             ? kGroupEscapeKey
                      : place.state == kItemProtected ? kGroupProtectedKey
                                                      : kGroupEnabledKey;
  }
  AddExtraButtons(s, type, unit, next);
  return next - 1;
}

std::string FunctionKeyLabel(const ScreenItem& item) {
  const bool key = item.groupValue == kGroupEscapeKey || item.groupValue == kGroupEnabledKey ||
                   item.groupValue == kGroupProtectedKey;
  if (!key || !item.caption.empty() || item.name.compare(0, 4, "FKEY") != 0) return "";
  if (item.keyCode == kEscapeKey) return "Esc";
  return "F" + std::to_string(item.keyCode - kKeyF1 + 1);
}

int AddKeyButton(const char* caption, const char* name, int x, int xShift, int y, int command,
                 int state, int frameFlag, const char* bitmap, const char* guide,
                 const char* choices) {
  // The key unit of the screen being built, in the slot it will take.
  const int building = FindFreeWindowSlot();
  const int unit = building >= 0 ? Slot(building).fontUnit : kBaseCharWidth;
  const int i = AddScreenItem(caption, name, 0, y, (16 - unit / 2) / 2 - 8, 3, unit / 2 + 4 * unit, unit,
                              'B', 0, -1, command, 'I', state, 0, 6, 0, 0, guide, choices);
  if (i < 0) return -1;
  ScreenItem& item = Item(i);
  item.xOffset = x * unit + xShift;
  item.itemClass = frameFlag ? kItemClassIcon : kItemClassNoFrame;
  item.joinText = bitmap ? bitmap : "";
  item.printFlag = kItemNotPrinted;
  return i;
}

namespace {

int AddChoiceItem(char kind, const char* caption, const char* name, int x, int y, int yOffset,
                  int width, int secondSize, int charSize, int command, int state, const char* guide,
                  const char* choices, const char* joinText) {
  const int i = AddScreenItem(caption, name, x, y, yOffset, width, secondSize, charSize, kind, 0, 0,
                              command, 'S', state, 0, 6, 0, 0, guide, choices);
  if (i >= 0) Item(i).joinText = joinText ? joinText : "";
  return i;
}

}  // namespace

int AddScreenRadio(const char* caption, const char* name, int x, int y, int yOffset, int width,
                   int secondSize, int charSize, int command, int state, const char* guide,
                   const char* choices, const char* joinText) {
  return AddChoiceItem('R', caption, name, x, y, yOffset, width, secondSize, charSize, command,
                       state, guide, choices, joinText);
}

int AddScreenCheck(const char* caption, const char* name, int x, int y, int yOffset, int width,
                   int secondSize, int charSize, int command, int state, const char* guide,
                   const char* choices, const char* joinText) {
  return AddChoiceItem('C', caption, name, x, y, yOffset, width, secondSize, charSize, command,
                       state, guide, choices, joinText);
}

int AddScreenItemX(const char* caption, const char* name, int x, int xShift, int y, int secondSize,
                   int charSize, int state) {
  const int width = static_cast<int>(std::strlen(caption));
  // Title placement 7 shows the guide text as the item's text.
  const int i = AddScreenItem(caption, name, x, y, 0, width, secondSize, charSize, 'X', 0, 0,
                              kKeyRuler, 'L', state, 0, 7, 0, 0, caption, "");
  if (i < 0) return -1;
  Item(i).xOffset = xShift;
  Item(i).itemClass = kItemClassNoFrame;
  return i;
}

int AddScreenButton(const char* caption, const char* name, int x, int xShift, int y, int command,
                    int state, const char* bitmap, const char* guide, const char* choices) {
  const int i = AddScreenItem(caption, name, x, y, 0, 3, 32, 7, 'B', 0, 0, command, 'I', state, 0, 4,
                              0, 0, guide, choices);
  if (i < 0) return -1;
  ScreenItem& item = Item(i);
  item.xOffset = xShift;
  item.itemClass = kItemClassIcon;
  item.joinText = bitmap ? bitmap : "";
  return i;
}

int AddScreenIconButton(const char* caption, const char* name, int x, int command, int state,
                        const char* bitmap, const char* guide, const char* choices) {
  return AddScreenButton(caption, name, x, 0, 8, command, state, bitmap, guide, choices);
}

int AddScreenStatic(const char* caption, const char* name, int x, int yOffset, int width,
                    int secondSize, int command, int state, const char* guide,
                    const char* choices) {
  const int i = AddScreenItem(caption, name, x, 0, yOffset, width, secondSize, 7, 'B', 247, 110,
                              command, 'S', state, 0, 6, 0, 0, guide, choices);
  if (i >= 0) Item(i).itemClass = kItemClassIcon;
  return i;
}

int SaveFieldPosition(int t, int s, int i) {
  const WindowSlot& slot = Slot(s);
  const ScreenItem& item = Item(i);
  int x = item.column;
  int y = item.row;
  if (slot.windowKind == kWindowKindList) {
    x = (item.column - 4) / 2;
    y = std::abs(item.row - slot.scrHeight - 3) - item.length + 2;
  }
  if (slot.screenType == kScreenTypeSheet) {
    SetColumnInt(t, "Ｘ座標", x);
    SetColumnInt(t, "Ｙ座標", y);
  } else {
    SetColumnInt(t, "FLDX", x);
    SetColumnInt(t, "FLDY", y);
    SetColumnInt(t, "FLDXSFT", item.xOffset);
    SetColumnInt(t, "FLDYSFT", item.yOffset);
  }
  return db_update(t) == 0 ? 0 : -1;
}
