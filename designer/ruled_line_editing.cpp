// Ruled lines edited with the mouse in design (line-edit) mode: picking a
// line's edge or starting a new line, dragging, dropping on the grid, the
// line-type buttons, deleting, and saving a window's lines into its format
// file or its line table (MUPA_LIN of the sheet, S_LINE of a screen) when
// the mode is left. The screen engine calls these through its design-mode
// hooks.
//
// Every window's lines stay one run of the shared line table: a new line
// takes a free entry inside the run, the entry right after it, or the run
// moves whole to free entries, so no window's line is lost or saved with
// another window's.
#include "designer/ruled_line_editing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include <string>

#include "designer/field_editor.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr int kButtonHeight = 24;
constexpr int kButtonUnits = 8;
constexpr int kFrameSize = 99;
constexpr int kLineTypeSizes[] = {1, 2, 5, 7, kFrameSize};  // LTYPE1 .. LTYPE5

RuledLineEditState& E() { return g_lineEdit; }
WindowSlot& Current() { return Slot(g_screen.currentSlot); }
bool IsSheet(const WindowSlot& s) { return s.screenType == kScreenTypeSheet; }

// The mouse in content coordinates of the current slot.
POINT MouseInContent() {
  int x = 0, y = 0;
  GetMouseInWindow(&x, &y);
  const WindowSlot& s = Current();
  return POINT{x + s.scrollX, y + s.scrollY};
}

bool InHeaderBand(const POINT& p) {
  const WindowSlot& s = Current();
  return s.headerHeight > 0 && p.y - s.scrollY <= s.headerHeight;
}

void RepaintLine(const RuledLine& line, int margin) {
  InvalidateContentRect(line.x1 - margin, line.y1 - margin, line.x2 + margin, line.y2 + margin, 1);
}

// The line-type buttons of the current slot, LTYPE1 first; -1 where the
// window has none.
int LineButton(int k) {
  static const char* const kNames[] = {"LTYPE1", "LTYPE2", "LTYPE3", "LTYPE4", "LTYPE5"};
  const int i = ResolveFieldRef(g_screen.currentSlot, kNames[k]);
  return i >= 0 && Item(i).keyCode >= kKeyLineType1 ? i : -1;
}

bool HasLineButtons() { return LineButton(0) >= 0; }

void NormaliseLine(RuledLine& line) {
  if (line.x2 < line.x1) line.x2 = line.x1;
  if (line.y2 < line.y1) line.y2 = line.y1;
}

bool IsLongEnough(const RuledLine& line, int unit) {
  return line.x2 - line.x1 >= unit || line.y2 - line.y1 >= unit;
}

// `value` moved to the nearest multiple of `grid` counted from `origin`.
int SnapToGrid(int value, int origin, int grid) {
  const int offset = value - origin;
  const int below = offset - ((offset % grid) + grid) % grid;
  return origin + (offset - below < grid / 2 ? below : below + grid);
}

}  // namespace

int AllocateSlotLine(int slot) {
  WindowSlot& s = Slot(slot);
  const int first = s.lineCount > 0 ? s.firstLine : -1;
  // A free entry left inside the window's own run.
  for (int i = 0; first >= 0 && i < s.lineCount; ++i) {
    if (g_ruledLines[first + i].kind == 0) return first + i;
  }
  if (first >= 0 && first + s.lineCount < kMaxRuledLines && g_ruledLines[first + s.lineCount].kind == 0) {
    return first + s.lineCount++;
  }
  // The run moves whole to the lowest free run one longer.
  const int wanted = s.lineCount + 1;
  int run = 0, start = -1;
  for (int i = 0; i < kMaxRuledLines && start < 0; ++i) {
    const bool own = first >= 0 && i >= first && i < first + s.lineCount;
    run = g_ruledLines[i].kind == 0 || own ? run + 1 : 0;
    if (run >= wanted) start = i - wanted + 1;
  }
  if (start < 0) return -1;
  RuledLine moved[kMaxRuledLines];
  for (int i = 0; i < s.lineCount; ++i) {
    moved[i] = g_ruledLines[first + i];
    g_ruledLines[first + i] = RuledLine();
  }
  for (int i = 0; i < s.lineCount; ++i) g_ruledLines[start + i] = moved[i];
  const int shift = start - (first >= 0 ? first : start);
  if (E().selectedLine >= 0 && first >= 0) E().selectedLine += shift;
  if (E().shownLine >= 0 && first >= 0) E().shownLine += shift;
  s.firstLine = start;
  s.lineCount = wanted;
  return start + wanted - 1;
}

void HideLineToolButtons() {
  for (int k = 0; k < 5; ++k) {
    const int i = LineButton(k);
    if (i < 0) continue;
    Item(i).pixelWidth = 0;
    Item(i).pixelHeight = 0;
    Item(i).state = kItemHidden;
  }
  const int shown = E().shownLine;
  if (shown < 0 || shown >= kMaxRuledLines) return;
  const RuledLine& line = g_ruledLines[shown];
  const int unit = Current().fontUnit;
  InvalidateContentRect(line.x2 - 9 * unit - 4, line.y2 - 4 * kButtonHeight - 8, line.x2 + 4,
                        line.y2 + 4 + Current().headerHeight, 1);
}

void PlaceLineToolButtons() {
  const int selected = E().selectedLine;
  if (selected < 0) return;
  const RuledLine& line = g_ruledLines[selected];
  const WindowSlot& s = Current();
  const int unit = s.fontUnit;
  const int shift = line.y2 - 4 * kButtonHeight - 6 - s.scrollY > s.headerHeight ? 0 : s.headerHeight;
  for (int k = 0; k < 5; ++k) {
    const int i = LineButton(k);
    if (i < 0) continue;
    ScreenItem& button = Item(i);
    button.pixelX = line.x2 - kButtonUnits * unit;
    button.pixelY = line.y2 - std::min(k + 1, 4) * kButtonHeight - 6 + shift;
    button.pixelWidth = kButtonUnits * unit;
    button.pixelHeight = kButtonHeight;
    button.state = kItemEnabled;
    InvalidateItem(i);
  }
  E().shownLine = selected;
}

int HitTestRuledLine() {
  WindowSlot& s = Current();
  if (!s.lineEditMode || s.windowKind == kWindowKindList || s.lineEditLock || !HasLineButtons()) return -1;
  const POINT p = MouseInContent();
  if (InHeaderBand(p)) return -1;
  int picked = -1, edge = 0;
  for (int i = s.firstLine + s.lineCount - 1; s.lineCount > 0 && i >= s.firstLine && picked < 0; --i) {
    const RuledLine& l = g_ruledLines[i];
    if (l.kind != 'L') continue;
    const bool alongY = p.y >= l.y1 && p.y <= l.y2;
    const bool alongX = p.x >= l.x1 && p.x <= l.x2;
    if (std::abs(p.x - l.x1) <= 1 && alongY) edge = 1;
    else if (std::abs(p.y - l.y1) <= 1 && alongX) edge = 2;
    else if (std::abs(p.x - l.x2) <= 1 && alongY) edge = 3;
    else if (std::abs(p.y - l.y2) <= 1 && alongX) edge = 4;
    if (edge) picked = i;
  }
  if (picked < 0) {
    picked = AllocateSlotLine(g_screen.currentSlot);
    if (picked < 0) return -1;  // no room for another line
    g_ruledLines[picked] = RuledLine{'L', 1, p.x, p.y, p.x, p.y};
  }
  E().selectedLine = picked;
  E().grabbedEdge = edge;
  E().dragMode = 2;
  E().moved = 0;
  HideLineToolButtons();
  E().shownLine = picked;
  RepaintLine(g_ruledLines[picked], 4);
  ClosePopupIfOpen();
  return -1;
}

void TrackLineDrag() {
  if (E().dragMode != 2 || E().selectedLine < 0) return;
  E().moved = 1;
  const POINT p = MouseInContent();
  if (InHeaderBand(p)) return;
  RuledLine& line = g_ruledLines[E().selectedLine];
  const RuledLine before = line;
  switch (E().grabbedEdge) {
    case 0: line.x2 = p.x, line.y2 = p.y; break;
    case 1: line.x1 = p.x; break;
    case 2: line.y1 = p.y; break;
    case 3: line.x2 = p.x; break;
    default: line.y2 = p.y; break;
  }
  NormaliseLine(line);
  RepaintLine(before, 4);
  RepaintLine(line, 4);
}

int DropRuledLine() {
  if (E().dragMode != 2) return 0;
  E().dragMode = 0;
  const int selected = E().selectedLine;
  if (selected < 0) return 1;
  if (E().grabbedEdge != 0 && !E().moved) return 1;
  WindowSlot& s = Current();
  RuledLine& line = g_ruledLines[selected];
  const int grid = IsSheet(s) ? 2 * GetSlotGridStep(g_screen.currentSlot) : GetSlotGridStep(g_screen.currentSlot);
  if (E().gridSnap && grid > 0) {
    line.y1 = SnapToGrid(line.y1, s.topMargin, grid);
    line.y2 = SnapToGrid(line.y2, s.topMargin, grid);
  }
  if (!IsLongEnough(line, s.fontUnit)) {
    RepaintLine(line, 4);
    line = RuledLine();
    E().selectedLine = E().shownLine = -1;
    // The line was the run's last entry: the run gives it back.
    if (selected == s.firstLine + s.lineCount - 1) --s.lineCount;
    return 1;
  }
  E().linesChanged = 1;
  if (IsSheet(s) && E().frameRequest) {
    line.sizeCode = kFrameSize;
    E().frameRequest = 0;
  } else {
    PlaceLineToolButtons();
  }
  RepaintLine(line, 4);
  return 1;
}

int SetSelectedLineType(int keyCode) {
  const int selected = E().selectedLine;
  const int k = keyCode - kKeyLineType1;
  if (selected < 0 || k < 0 || k > 4) return -1;
  g_ruledLines[selected].sizeCode = kLineTypeSizes[k];
  E().linesChanged = 1;
  HideLineToolButtons();
  RepaintLine(g_ruledLines[selected], 4);
  return 0;
}

void DeleteSelectedLine() {
  const int selected = E().selectedLine;
  if (E().dragMode != 0 || selected < 0) return;
  HideLineToolButtons();
  const RuledLine line = g_ruledLines[selected];
  g_ruledLines[selected] = RuledLine();
  E().selectedLine = -1;
  E().linesChanged = 1;
  RepaintLine(line, 4);
}

int SaveLineDefinitions(int slot) {
  const WindowSlot& s = Slot(slot);
  std::vector<RuledLine> lines;
  for (int i = s.firstLine; i < s.firstLine + s.lineCount && i < kMaxRuledLines; ++i) {
    const RuledLine& l = g_ruledLines[i];
    if ((l.kind == 'L' || l.kind == 'C') && l.x1 > 0 && l.y1 > 0 && IsLongEnough(l, s.fontUnit)) lines.push_back(l);
  }
  if (!s.formatFile.empty()) {
    char folder[MAX_PATH];
    const std::string path = std::string(GetCurrentFolder(folder, MAX_PATH)) + "\\" + s.formatFile;
    std::string text;
    for (const RuledLine& l : lines) {
      char row[96];
      std::snprintf(row, sizeof row, "%c,%d,%d,%d,%d,%d\n", l.kind, l.sizeCode, l.x1, l.y1, l.x2, l.y2);
      text += row;
    }
    // Written aside and put in place whole: a failed write keeps the old lines.
    if (WriteFileAside(path, text) != 0) {
      ShowInfoMessage("", "ﾌｫｰﾏｯﾄﾌｧｲﾙ“%s”をｵｰﾌﾟﾝできません。", path.c_str());
      return -1;
    }
    return 0;
  }
  const bool sheet = IsSheet(s);
  if (!sheet && s.screenDatabase.empty()) return -1;
  const SheetDefinitionRef& def = g_sheetDefinition;
  const std::string table = sheet ? "MUPA_LIN" : kLineTable;
  const std::string keyColumn = sheet ? "ＯＣＲコード" : "SCRCODE";
  const std::string key = SqlLiteral(sheet ? def.sheetCode.c_str() : s.screenCode.c_str());
  const int t = sheet ? db_open(def.folder.c_str(), def.database.c_str(), "MUPA_LIN", def.kind, kSheetSpecFile,
                                "MUPA_LIN", "")
                      : db_open(s.screenDbFolder.c_str(), s.screenDatabase.c_str(), kLineTable,
                                g_screenDefs.screenDbKind, g_screenDefs.specFile.c_str(), "LINTBL", "");
  if (t < 0) return -1;
  // The old lines go only when every new one is written.
  if (BeginTableTransaction(t) != 0) {
    db_close(t);
    return -1;
  }
  int rc = db_exec(t, ("delete from " + table + " where " + keyColumn + "=" + key).c_str());
  char code[4] = "000";
  for (size_t k = 0; rc == 0 && k < lines.size(); ++k) {
    const RuledLine& l = lines[k];
    IncrementDigitString(code);
    char values[128];
    std::snprintf(values, sizeof values, ",%d,%d,%d,%d,%d)", l.sizeCode, l.x1, l.y1, l.x2, l.y2);
    const std::string sql = "insert into " + table + " (" + keyColumn +
                            ",LINCODE,LINSTYLE,LINSIZE,LINX1,LINY1,LINX2,LINY2) values (" + key + "," +
                            SqlLiteral(code) + "," + SqlLiteral(std::string(1, l.kind).c_str()) + values;
    rc = db_exec(t, sql.c_str());
  }
  if (EndTableTransaction(t, rc == 0) != 0) rc = -1;
  db_close(t);
  return rc;
}

void ToggleLineEditMode() {
  const int slot = g_screen.currentSlot;
  if (!IsValidSlot(slot)) return;
  WindowSlot& s = Slot(slot);
  if (!IsSheet(s) && s.rulerItem < 0) return;
  MessageBeep(MB_ICONASTERISK);
  if (!s.lineEditMode) {
    s.lineEditMode = 1;
    for (HWND child : s.statics) {
      if (child) ShowWindow(child, SW_HIDE);
    }
    if (!IsSheet(s) && s.editControl) ShowWindow(s.editControl, SW_HIDE);
    if (s.rulerItem >= 0 && s.windowKind != kWindowKindList) Item(s.rulerItem).state = kItemEnabled;
    if (IsSheet(s)) CheckSheetKeyItem(slot);  // the design starts with the key's field
  } else {
    if (s.windowKind != kWindowKindList) HideLineToolButtons();
    if (E().linesChanged) SaveLineDefinitions(slot);
    E().linesChanged = 0;
    E().shownLine = E().selectedLine = -1;
    E().dragMode = 0;
    s.lineEditMode = 0;
    if (!IsSheet(s)) FocusField("/HOME");
    if (s.rulerItem >= 0) Item(s.rulerItem).state = kItemHidden;
    if (g_screen.mainWindow) SendMessageA(g_screen.mainWindow, kMsgLineEditLeft, s.windowCode, 0);
  }
  if (s.window) InvalidateRect(s.window, nullptr, TRUE);
}

int EndRuledLineEditing(int slot) {
  if (!IsValidSlot(slot) || !Slot(slot).lineEditMode) return 0;
  if (Slot(slot).window) SetFocus(Slot(slot).window);
  if (!E().linesChanged) return 0;
  if (SaveLineDefinitions(slot) != 0) return -1;
  E().linesChanged = 0;
  return 0;
}

void ToggleLineGridSnap() { E().gridSnap = E().gridSnap ? 0 : 1; }

void InstallRuledLineEditing() {
  DesignModeCalls calls = GetDesignModeCalls();
  calls.toggleLineEditMode = ToggleLineEditMode;
  calls.toggleGridSnap = ToggleLineGridSnap;
  calls.deleteSelectedLine = DeleteSelectedLine;
  calls.setSelectedLineType = SetSelectedLineType;
  calls.hitTestRuledLine = HitTestRuledLine;
  calls.trackDrag = TrackLineDrag;
  calls.dropDraggedItem = DropRuledLine;
  SetDesignModeCalls(calls);
}
