// Items moved with the mouse in design mode: grabbing an item, dragging it,
// and dropping it on the guide lines of the sheet or the character grid of
// a screen, its new place written into its definition row (MUPA_FLD of the
// sheet, S_FIELD of a screen) once, at the drop. Ruled lines share the
// hooks: a line drag goes on to the line editing.
#include "designer/item_dragging.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "designer/ruled_line_editing.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr int kItemDrag = 1;
constexpr int kLineDrag = 2;

struct ItemDrag {
  int item = -1;
  POINT origin{};
  POINT start{};      // the item's pixel place when it was grabbed
  int guideSnap = 0;  // off at start: half a grid unit
};
ItemDrag g_drag;

WindowSlot& Current() { return Slot(g_screen.currentSlot); }

POINT MouseInContent() {
  int x = 0, y = 0;
  GetMouseInWindow(&x, &y);
  const WindowSlot& s = Current();
  return POINT{x + s.scrollX, y + s.scrollY};
}

constexpr int kRepaintMargin = 8;

// The whole of what the item draws: its title, rows of choices and labels
// beside them.
RECT ItemArea(int item) {
  int left = 0, top = 0, right = 0, bottom = 0;
  GetItemHitRect(item, &left, &top, &right, &bottom);
  return RECT{left - kRepaintMargin, top - kRepaintMargin, right + kRepaintMargin, bottom + kRepaintMargin};
}

// Paints again where the item stood (`before`) and where it stands now,
// once it has moved: painted before the move, its old place would show it
// again and leave a trail.
void RepaintMovedItem(int item, const RECT& before) {
  const RECT after = ItemArea(item);
  InvalidateContentRect(before.left, before.top, before.right, before.bottom, 1);
  InvalidateContentRect(after.left, after.top, after.right, after.bottom, 1);
}

// `value` to the nearest multiple of `step`; a remainder above half the
// step rounds up.
int RoundToStep(int value, int step) {
  const int below = value - ((value % step) + step) % step;
  return value - below > step / 2 ? below + step : below;
}

// The sheet's guide steps across and down in pixels.
void GuideSteps(int* across, int* down) {
  const int dots = SheetDotsPerGridUnit();
  const SheetSettings& s = g_sheetSettings;
  if (g_drag.guideSnap && (s.guideAcross >= 2 || s.guideDown >= 2)) {
    *across = s.guideAcross * dots;
    *down = s.guideDown * dots;
  } else {
    *across = *down = std::max(1, dots / 2);
  }
}

// A sheet item's place is its column and row in pixels: moved by the drag
// and snapped by its centre.
void SnapSheetItem(ScreenItem& item) {
  int across = 1, down = 1;
  GuideSteps(&across, &down);
  const int half = item.pixelHeight / 2;
  const int x = item.column + item.pixelX - g_drag.start.x;
  int y = RoundToStep(item.row + item.pixelY - g_drag.start.y + half, down) - half;
  if (y < 0) y = 0;
  item.column = RoundToStep(x, across);
  item.row = y;
  item.yOffset = 0;
}

void SnapScreenItem(const WindowSlot& s, ScreenItem& item) {
  const int unit = std::max(1, s.fontUnit);
  const int grid = std::max(1, s.rowPitch);
  if (g_lineEdit.gridSnap) {
    item.column = (item.pixelX + unit / 2) / unit;
    item.xOffset = 0;
    const int centre = item.pixelY + item.pixelHeight / 2 - s.topMargin;
    item.row = centre < 0 ? 0 : centre / grid;
    item.yOffset = 0;
  } else {
    item.xOffset = item.pixelX % unit;
    item.column = (item.pixelX - item.xOffset) / unit;
    item.yOffset = (item.pixelY - s.topMargin) % grid;
    item.row = (item.pixelY - item.yOffset - s.topMargin) / grid;
  }
}

// Writes the item's place into its definition row: 0, or -1 after the
// message.
int StoreItemPlace(int slot, int item) {
  const WindowSlot& s = Slot(slot);
  const bool sheet = s.screenType == kScreenTypeSheet;
  int t;
  if (sheet) {
    t = OpenSheetFieldTable();
  } else {
    t = db_open(s.screenDbFolder.c_str(), s.screenDatabase.c_str(), kFieldTable, g_screenDefs.screenDbKind,
                g_screenDefs.specFile.c_str(), "FLDTBL", "select * from %s where SCRCODE=%s", kFieldTable,
                SqlLiteral(s.screenCode.c_str()).c_str());
  }
  if (t < 0) {
    ShowInfoMessage("", "フィールド定義ファイル“%s”をオープンできません。", sheet ? kSheetFieldTable : kFieldTable);
    return -1;
  }
  int rc = 0;
  if (db_search(t, Item(item).code.c_str(), sheet ? "領域コード" : "FLDCODE") == 0) {
    rc = SaveFieldPosition(t, slot, item);
  }
  db_close(t);
  return rc;
}

}  // namespace

int GrabDesignItem(int item) {
  const ScreenItem& it = Item(item);
  if (it.titleStyle == 13 || IsFixedItem(it) || IsRepeatedCopy(it)) return -3;
  const POINT p = MouseInContent();
  const WindowSlot& s = Current();
  if (s.headerHeight > 0 && p.y - s.scrollY <= s.headerHeight) return -1;
  g_drag.item = item;
  g_drag.origin = p;
  g_drag.start = POINT{it.pixelX, it.pixelY};
  g_lineEdit.dragMode = kItemDrag;
  g_lineEdit.moved = 0;
  return 0;
}

void TrackDesignDrag() {
  if (g_lineEdit.dragMode == kLineDrag) {
    TrackLineDrag();
    return;
  }
  if (g_lineEdit.dragMode != kItemDrag || g_drag.item < 0) return;
  const POINT p = MouseInContent();
  const WindowSlot& s = Current();
  if (s.headerHeight > 0 && p.y - s.scrollY <= s.headerHeight) return;
  g_lineEdit.moved = 1;
  const RECT before = ItemArea(g_drag.item);
  ScreenItem& item = Item(g_drag.item);
  item.pixelX += p.x - g_drag.origin.x;
  item.pixelY += p.y - g_drag.origin.y;
  g_drag.origin = p;
  RepaintMovedItem(g_drag.item, before);
}

int DropDesignItem() {
  if (g_lineEdit.dragMode == kLineDrag) return DropRuledLine();
  if (g_lineEdit.dragMode != kItemDrag) return 0;
  g_lineEdit.dragMode = 0;
  const int i = g_drag.item;
  g_drag.item = -1;
  if (i < 0 || !g_lineEdit.moved) return 1;
  const int slot = g_screen.currentSlot;
  WindowSlot& s = Slot(slot);
  ScreenItem& item = Item(i);
  const RECT before = ItemArea(i);
  if (s.screenType == kScreenTypeSheet) {
    SnapSheetItem(item);
    LayoutSheetItem(i);
  } else {
    SnapScreenItem(s, item);
    LayoutScreenItem(slot, i, 0);
  }
  RepaintMovedItem(i, before);
  if (item.titleStyle != 11) StoreItemPlace(slot, i);
  return 1;
}

int ShiftSheetLayout(int direction) {
  const int slot = g_screen.currentSlot;
  if (!IsValidSlot(slot) || Slot(slot).screenType != kScreenTypeSheet) return -1;
  const int dots = SheetDotsPerGridUnit();
  const int dx = direction == 1 ? dots : direction == 2 ? -dots : 0;
  const int dy = direction == 3 ? dots : direction == 4 ? -dots : 0;
  // One statement moves every field of the side: all of them or none.
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int t = OpenSheetFieldTable();
  if (t < 0) {
    ShowInfoMessage("", "フィールド定義ファイル“%s”をオープンできません。", kSheetFieldTable);
    return -1;
  }
  char moves[96];
  std::snprintf(moves, sizeof moves, "update MUPA_FLD set Ｘ座標=Ｘ座標+(%d),Ｙ座標=Ｙ座標+(%d) where ＯＣＲコード=", dx, dy);
  const int rc = db_exec(t, (moves + SqlLiteral(sheet.sheetCode.c_str())).c_str());
  db_close(t);
  if (rc != 0) return -1;
  WindowSlot& s = Slot(slot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    ScreenItem& item = Item(i);
    if (item.itemClass != kItemClassSheet) continue;
    item.column += dx;
    item.row += dy;
    LayoutSheetItem(i);
  }
  for (int k = s.firstLine; k < s.firstLine + s.lineCount && k < kMaxRuledLines; ++k) {
    RuledLine& line = g_ruledLines[k];
    if (line.kind == 0) continue;
    line.x1 += dx, line.x2 += dx, line.y1 += dy, line.y2 += dy;
  }
  g_lineEdit.linesChanged = 1;
  if (s.window) InvalidateRect(s.window, nullptr, TRUE);
  return 0;
}

void ToggleGuideSnap() {
  g_drag.guideSnap = g_drag.guideSnap ? 0 : 1;
  SetItemGuideText("スナップ", g_drag.guideSnap ? "ガイドラインへの自動配置(スナップ)を無効(ＯＦＦ)にします"
                                                 : "ガイドラインへの自動配置(スナップ)を有効(ＯＮ)にします");
  const WindowSlot& s = Current();
  if (s.window) InvalidateRect(s.window, nullptr, TRUE);
}

int GuideSnapOn() { return g_drag.guideSnap; }

void InstallDesignModeCalls() {
  InstallRuledLineEditing();
  DesignModeCalls calls = GetDesignModeCalls();
  calls.grabItem = GrabDesignItem;
  calls.trackDrag = TrackDesignDrag;
  calls.dropDraggedItem = DropDesignItem;
  calls.shiftLayout = [](int direction) { ShiftSheetLayout(direction); };
  SetDesignModeCalls(calls);
}
