// Items moved with the mouse in design mode: grabbing an item, dragging it,
// and dropping it on the guide lines of the sheet or the character grid of
// a screen, its new place written into its definition row (MUPA_FLD of the
// sheet, S_FIELD of a screen) once, at the drop. Ruled lines share the
// hooks: a line drag goes on to the line editing.
#include "designer/item_dragging.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "designer/ruled_line_editing.h"
#include "designer/sheet_canvas.h"
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

// After a layout shift: the window's ruled lines follow its items, to be
// saved when design mode ends.
void MoveSlotLines(const WindowSlot& s, int dx, int dy) {
  for (int k = s.firstLine; k < s.firstLine + s.lineCount && k < kMaxRuledLines; ++k) {
    RuledLine& line = g_ruledLines[k];
    if (line.kind == 0) continue;
    line.x1 += dx, line.x2 += dx, line.y1 += dy, line.y2 += dy;
  }
  g_lineEdit.linesChanged = 1;
  if (s.window) InvalidateRect(s.window, nullptr, TRUE);
}

// The S_FIELD rows of a screen's window, or -1 (quiet).
int OpenScreenFieldRows(const WindowSlot& s) {
  return db_open(s.screenDbFolder.c_str(), s.screenDatabase.c_str(), kFieldTable, g_screenDefs.screenDbKind,
                 g_screenDefs.specFile.c_str(), "FLDTBL", "select * from %s where SCRCODE=%s", kFieldTable,
                 SqlLiteral(s.screenCode.c_str()).c_str());
}

// Writes the item's place into its definition row: 0, or -1 after the
// message.
int StoreItemPlace(int slot, int item) {
  const WindowSlot& s = Slot(slot);
  const bool sheet = s.screenType == kScreenTypeSheet;
  const int t = sheet ? OpenSheetFieldTable() : OpenScreenFieldRows(s);
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

// The place of the dragged item as it moves, in the window's first static
// child below the item: on the sheet its name, its place in millimetres and
// in pixels; on a screen its caption and name, its column and row.
void ShowItemPositionDebug(int item) {
  WindowSlot& s = Current();
  const HWND tip = s.statics[0];
  const ScreenItem& it = Item(item);
  if (!tip || it.titleStyle == 11) return;
  char text[160];
  if (s.screenType == kScreenTypeSheet) {
    const int dots = std::max(1, SheetDotsPerGridUnit());
    std::snprintf(text, sizeof text, "%s [%3d:%3d] [%3d:%3d]", it.name.c_str(), it.pixelX / dots, it.pixelY / dots,
                  it.pixelX, it.pixelY);
  } else {
    const int unit = std::max(1, s.fontUnit), grid = std::max(1, s.rowPitch);
    std::snprintf(text, sizeof text, "%s(%s) [%3d:%3d]", it.caption.c_str(), it.name.c_str(), it.pixelX / unit,
                  (it.pixelY - s.topMargin) / grid);
  }
  const int unit = std::max(1, s.fontUnit);
  RECT client{};
  GetClientRect(s.window, &client);
  const int width = unit * (static_cast<int>(std::strlen(text)) + 1);
  const int x = std::max(0, std::min(it.pixelX - s.scrollX, static_cast<int>(client.right) - width));
  // The hover tip's box, free in design mode (no hover tips there).
  s.boxTexts[0] = text;
  MoveWindow(tip, x, it.pixelY + it.pixelHeight - s.scrollY + 2, width, 2 * unit + 6, FALSE);
  ShowWindow(tip, SW_SHOWNOACTIVATE);
  InvalidateRect(tip, nullptr, TRUE);
  UpdateWindow(tip);
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
  ShowItemPositionDebug(item);
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
  ShowItemPositionDebug(g_drag.item);
  RepaintMovedItem(g_drag.item, before);
}

int DropDesignItem() {
  if (g_lineEdit.dragMode == kLineDrag) return DropRuledLine();
  if (g_lineEdit.dragMode != kItemDrag) return 0;
  g_lineEdit.dragMode = 0;
  HideItemHintBox();
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
  MoveSlotLines(s, dx, dy);
  return 0;
}

int ShiftScreenLayout(int direction) {
  const int slot = g_screen.currentSlot;
  if (!IsValidSlot(slot)) return -1;
  WindowSlot& s = Slot(slot);
  if (s.screenType == kScreenTypeSheet || s.windowKind == kWindowKindList) return -1;
  const int columns = direction == 1 ? 1 : direction == 2 ? -1 : 0;
  const int rows = direction == 3 ? 1 : direction == 4 ? -1 : 0;
  const int t = OpenScreenFieldRows(s);
  if (t < 0) {
    ShowInfoMessage("", "フィールド定義ファイル“%s”をオープンできません。", kFieldTable);
    return -1;
  }
  // The rows the window shows as its own items: not list columns, not
  // hidden, not the fixed key bar's (FLDRCD 100 and above). One statement:
  // all of them move or none.
  char moves[160];
  std::snprintf(moves, sizeof moves,
                "update %s set FLDX=FLDX+(%d),FLDY=FLDY+(%d) where FLDRCD<100 and coalesce(FLDLST,'')<>'○' and "
                "coalesce(FLDLOCK,'')<>'＃' and SCRCODE=",
                kFieldTable, columns, rows);
  const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const int rc = db_exec(t, (moves + SqlLiteral(s.screenCode.c_str())).c_str());
  db_close(t);
  SetCursor(previous);
  if (rc != 0) return -1;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    ScreenItem& item = Item(i);
    if (item.code.empty() || item.kind == 'o' || item.recordCode >= 100 || IsRepeatedCopy(item)) continue;
    item.column += columns;
    item.row += rows;
    LayoutScreenItem(slot, i, 0);
  }
  MoveSlotLines(s, columns * std::max(1, s.fontUnit), rows * std::max(1, s.rowPitch));
  return 0;
}

void ToggleGuideSnap() {
  g_drag.guideSnap = g_drag.guideSnap ? 0 : 1;
  UpdateSnapButtonGuide();
  RepaintSheetCanvas();
}

void UpdateSnapButtonGuide() {
  SetItemGuideText("スナップ", g_drag.guideSnap ? "ガイドラインへの自動配置(スナップ)を無効(ＯＦＦ)にします"
                                                 : "ガイドラインへの自動配置(スナップ)を有効(ＯＮ)にします");
  SetItemValueForCommand(g_screen.currentSlot, "スナップ", g_drag.guideSnap ? "1" : "0");
}

int GuideSnapOn() { return g_drag.guideSnap; }

void InstallDesignModeCalls() {
  InstallRuledLineEditing();
  DesignModeCalls calls = GetDesignModeCalls();
  calls.grabItem = GrabDesignItem;
  calls.trackDrag = TrackDesignDrag;
  calls.dropDraggedItem = DropDesignItem;
  calls.shiftLayout = [](int direction) {
    if (Current().screenType == kScreenTypeSheet) {
      ShiftSheetLayout(direction);
    } else {
      ShiftScreenLayout(direction);
    }
  };
  SetDesignModeCalls(calls);
}
