// The design menus of screen windows. The menu only offers; the window's
// design mode is started and ended here, the other entries are the
// owner's.
#include "designer/screen_menu.h"

#include <vector>

#include "designer/canvas_menu.h"
#include "screen/screen.h"

namespace {

constexpr int kTitleStyleFixed = 13;

struct ScreenMenu {
  int slot = -1;
  std::vector<std::string> entries;
};
ScreenMenu g_screenMenu;

// The background's entries by mode, screen type and design mode; nullptr
// when the screen has none.
const char* BackgroundEntries(int mode, const WindowSlot& s) {
  const bool design = s.lineEditMode != 0;
  if (mode == 1 && s.screenType == kScreenTypeList) return "スクリーン";
  if (mode == 1 && s.screenType == kScreenTypeCard) {
    return design ? "スクリーン,フィールド配置終了" : "スクリーン,フィールド配置開始";
  }
  if (mode == 2 && s.screenType == kScreenTypeMenu) {
    return design ? "スクリーン,ボタン配置終了,ボタン作成" : "スクリーン,ボタン配置開始,ボタン作成";
  }
  if (mode == 2 && s.screenType == kScreenTypeCard) return design ? "フォーム編集終了" : "フォーム編集開始";
  return nullptr;
}

}  // namespace

int ShowScreenDesignMenu(int mode) {
  const int slot = g_screen.currentSlot;
  if (!IsValidSlot(slot) || !Slot(slot).window) return -1;
  ClosePopupIfOpen();
  RecordMousePosition(slot);
  WindowSlot& s = Slot(slot);
  int x = 0, y = 0;
  GetMouseInWindow(&x, &y);
  if (y < s.headerHeight) {
    SendMessageA(s.window, kMsgHeaderMenu, s.windowCode, 0);
    return 0;
  }
  const int item = FindDesignItemAtPoint(x + s.scrollX, y + s.scrollY);
  if (item >= 0) {
    const ScreenItem& hit = Item(item);
    if (hit.titleStyle == kTitleStyleFixed || hit.protectByte != 0) return -3;
    g_screen.clickItem = item;
    return 0;
  }
  const char* entries = BackgroundEntries(mode, s);
  if (!entries) return mode == 2 ? 0 : -1;
  g_screenMenu.slot = slot;
  g_screenMenu.entries = SplitMenuEntries(entries);
  ShowItemContextMenu(entries, 0);
  return mode == 2 ? 0 : -1;
}

std::string ScreenMenuEntry(int line) {
  const ScreenMenu& m = g_screenMenu;
  if (line < 1 || line > static_cast<int>(m.entries.size())) return "";
  return m.entries[line - 1];
}

int RunScreenMenuChoice(int line) {
  const std::string entry = ScreenMenuEntry(line);
  if (!IsValidSlot(g_screenMenu.slot)) return -1;
  const bool design = entry == "フィールド配置開始" || entry == "フィールド配置終了" || entry == "ボタン配置開始" ||
                      entry == "ボタン配置終了" || entry == "フォーム編集開始" || entry == "フォーム編集終了";
  if (!design) return -1;
  SelectWindowSlot(g_screenMenu.slot);
  ToggleScreenLineEditMode();
  return 0;
}
