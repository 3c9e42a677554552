// The candidate pop-up: one child window of class "Sel", moved into the
// window of the current slot each time a field's choice list is shown. The
// operator moves the highlight with the arrow keys, the mouse or the wheel
// and confirms with Enter or a click; the chosen line (or a master table's
// row) goes into the field and the owner is told. The same window serves as
// the design-mode context menu.
#include <algorithm>
#include <cstring>
#include <string>

#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/popup_internal.h"

CandidatePopup g_popup;

namespace {

constexpr char kSelClass[] = "Sel";
constexpr int kMenuRowHeight = 24;
constexpr int kMenuUnit = 7;
constexpr int kMaxRowHeight = 30;

LRESULT CALLBACK SelWindowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SelWindowProc(window, message, wParam, lParam);
}

HWND CreateSelWindow(HWND owner) {
  if (!RegisterPopupClass(kSelClass, SelWindowProcThunk)) return nullptr;
  return CreateWindowExA(WS_EX_DLGMODALFRAME, kSelClass, "",
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL, 0, 0, 0,
                         0, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

int LineCount() { return static_cast<int>(g_popup.lines.size()); }

// The shown lines of the look-up rows: each cell padded to its column.
void BuildLookupLines(CandidatePopup& p) {
  p.lines.clear();
  for (const LookupRow& row : p.rows) {
    std::string line;
    for (size_t c = 0; c < row.cells.size(); ++c) {
      std::string cell = row.cells[c];
      const int width = c < p.columnWidths.size() ? p.columnWidths[c] : 10;
      if (static_cast<int>(cell.size()) < width) cell.append(width - cell.size(), ' ');
      line += cell;
    }
    p.lines.push_back(line);
  }
}

int WidestLine(const CandidatePopup& p) {
  int widest = 0;
  if (p.lookup) {
    for (int w : p.columnWidths) widest += w;
    return widest * p.unit;
  }
  for (const std::string& line : p.lines) {
    widest = std::max(widest, (static_cast<int>(line.size()) + 2) * p.unit);
  }
  return widest;
}

// Size and place the window under the item (above it when there is no room
// below), inside the slot's content.
void PlacePopup(CandidatePopup& p, int x, int top, int bottom, bool fixed, bool mark) {
  const WindowSlot& s = Slot(p.slot);
  const int count = LineCount();
  p.visibleRows = std::min(p.visibleRows, count);
  const bool scrolls = count > p.visibleRows;
  const int width = WidestLine(p) + 5 + (scrolls ? g_screen.metrics.vscrollWidth : 0);
  const int height = p.visibleRows * p.rowHeight + 6;
  int y = bottom;
  const int clientBottom = s.clientBottom > 0 ? s.clientBottom : s.contentHeight;
  const int shift = fixed ? 0 : s.scrollY;
  if (y - shift + height > clientBottom) y = top - height;
  if (y - shift < 4) y = 4 + shift;
  int right = s.contentWidth - 6;
  if (mark) right = std::min(right, g_screen.metrics.screenWidth);
  if (x + width > right) x = std::max(0, right - width);
  if (!fixed) {
    x -= s.scrollX;
    y -= s.scrollY;
  }
  MoveWindow(p.window, x, y, width, height, TRUE);
  SetScrollRangeVAt(p.window, -1, SB_VERT, count, p.visibleRows, p.topRow);
}

void Repaint() {
  InvalidateRect(g_popup.window, nullptr, TRUE);
  UpdateWindow(g_popup.window);
}

void ScrollTo(int top) {
  const int maximum = std::max(0, LineCount() - g_popup.visibleRows);
  top = std::max(0, std::min(top, maximum));
  if (top == g_popup.topRow) return;
  g_popup.topRow = top;
  SetScrollPos(g_popup.window, SB_VERT, top, TRUE);
  Repaint();
}

void MoveHighlight(int step) {
  CandidatePopup& p = g_popup;
  const int next = p.highlighted + step;
  if (next >= 1 && next <= p.visibleRows) {
    p.highlighted = next;
    Repaint();
  } else if (step > 0) {
    ScrollTo(p.topRow + 1);
  } else {
    ScrollTo(p.topRow - 1);
  }
}

void PaintPopup(HWND window) {
  const CandidatePopup& p = g_popup;
  if (!BeginScreenPaint(window, -1)) return;
  SelectScreenFont(0, 2 * p.unit);
  SetBkMode(PaintDC(), TRANSPARENT);
  RECT client;
  GetClientRect(window, &client);
  for (int r = 0; r < p.visibleRows && p.topRow + r < LineCount(); ++r) {
    const int y = r * p.rowHeight + 2;
    DrawTextPlain(p.unit, y + p.textOffset, p.lines[p.topRow + r].c_str());
    if (r + 1 == p.highlighted) {
      DrawFrameLines(1, y, client.right - 2, y + p.rowHeight - 1, 1, 2);
    }
  }
  EndScreenPaint();
  g_popup.active = true;
}

int RowAtPoint(LPARAM lParam) {
  const int y = static_cast<short>(HIWORD(lParam)) - 2;
  if (y < 0 || g_popup.rowHeight <= 0) return 0;
  const int r = y / g_popup.rowHeight + 1;
  return r <= g_popup.visibleRows && g_popup.topRow + r <= LineCount() ? r : 0;
}

void NotifyOwner(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND target = IsValidSlot(g_popup.slot) ? Slot(g_popup.slot).window : nullptr;
  if (target) SendMessageA(target, message, wParam, lParam);
}

// The code a choice reports for an item that is not current: the line's
// default code when it has one, else the line number from the minimum.
int ChosenCode(const CandidatePopup& p, int line) {
  const size_t k = static_cast<size_t>(line - 1);
  if (!p.lookup && k < p.list.defaultCodes.size() && p.list.defaultCodes[k] >= 1) {
    return p.list.defaultCodes[k];
  }
  const int minimum = p.item >= 0 ? static_cast<int>(Item(p.item).minimum) : 0;
  return line + minimum - 1;
}

// The choice goes into the field and the owner is told.
void DeliverChoice(CandidatePopup& p, int line) {
  g_screen.lastPopupChoice = line;
  if (p.contextMenu) {
    const int code = IsValidSlot(p.slot) ? Slot(p.slot).windowCode : 0;
    NotifyOwner(kMsgHeaderMenu, code, line);
    return;
  }
  ScreenItem& item = Item(p.item);
  if (p.lookup) {
    if (TransferLookupRow(p, line - 1) < 0) return;
  } else if (p.itemWasCurrent && !p.list.flagOne && !IsButtonOrMark(item.kind)) {
    SetItemValueAt(p.slot, p.item, CandidateValue(p.lines[line - 1]).c_str());
    MarkFieldEdited();
  }
  if (IsButtonOrMark(item.kind)) {
    Slot(p.slot).slotText = p.lookup ? p.rows[line - 1].key : p.lines[line - 1];
  }
  const WPARAM key = item.keyCode & 0xFFFF;
  const LPARAM edited = g_screen.fieldEdited;
  if (p.itemWasCurrent) {
    if (IsButtonOrMark(item.kind)) {
      NotifyOwner(kMsgScreenCommand, key, edited);
      if (!item.actionClass.empty()) {
        OpenScreen(Slot(p.slot).screenDbFolder.c_str(), item.actionClass.c_str(),
                   item.actionTarget.c_str(), -1, -1, "");
      }
    } else {
      NotifyOwner(kMsgFieldChosen, key, edited);
    }
  } else if (p.lookup && IsButtonOrMark(item.kind)) {
    NotifyOwner(kMsgLookupChosen, key, 0);
  } else {
    NotifyOwner(kMsgCardPrint, ChosenCode(p, line), edited);
  }
}

// Closing: the window shrinks away, the field gets the focus back, and a
// choice is delivered.
void ClosePopup() {
  CandidatePopup& p = g_popup;
  if (!g_screen.popupOpen) return;
  g_screen.popupOpen = 0;
  MoveWindow(p.window, 0, 0, 0, 0, TRUE);  // what it covered is painted again
  const int line = p.chosen;
  p.chosen = 0;
  if (IsValidSlot(p.slot) && Slot(p.slot).editControl) SetFocus(Slot(p.slot).editControl);
  if (line >= 1 && line <= LineCount()) DeliverChoice(p, line);
  CloseLookupTable(p);
}

void Choose(int line) {
  g_popup.chosen = line;
  SendMessageA(g_popup.window, kMsgCloseWindow, 0, 0);
}

// Rows and character unit of a pop-up under an item of character size cs.
void SetRowMetrics(CandidatePopup& p, int cs) {
  p.unit = cs;
  p.rowHeight = cs * 2 + 12;
  if (p.rowHeight >= kMaxRowHeight) {
    p.rowHeight = kMaxRowHeight;
    p.unit = 10;
  }
  p.textOffset = (p.rowHeight - 2 * p.unit) / 2;
}

// Takes the "Sel" window into the current slot's window.
bool AttachPopup(CandidatePopup& p) {
  const WindowSlot& s = Slot(g_screen.currentSlot);
  if (!s.window) return false;
  if (!p.window || !IsWindow(p.window)) p.window = CreateSelWindow(s.window);
  if (!p.window) return false;
  SetParent(p.window, s.window);
  g_screen.popupWindow = p.window;
  p.slot = g_screen.currentSlot;
  return true;
}

// Shows the lines of `p` below (x, bottom); the list has been filled.
int ShowLines(CandidatePopup& p, int x, int top, int bottom, bool fixed, bool mark) {
  p.topRow = std::max(0, std::min(p.topRow, LineCount() - 1));
  p.highlighted = 1;
  p.chosen = 0;
  p.active = false;
  if (LineCount() == 0) {
    CloseLookupTable(p);
    ShowInfoMessage("", "候補ウインドウに表示するデータはありません。");
    MoveWindow(p.window, 0, 0, 0, 0, FALSE);
    return 0;
  }
  PlacePopup(p, x, top, bottom, fixed, mark);
  g_screen.popupOpen = 1;
  SendMessageA(p.window, kMsgSlotOpened, p.slot, 0);
  SetFocus(p.window);
  Repaint();
  return 0;
}

}  // namespace

bool RegisterPopupClass(const char* name, WNDPROC procedure) {
  return RegisterProgramClass(name, procedure, CS_HREDRAW | CS_VREDRAW, LTGRAY_BRUSH, kProgramIconId);
}

HWND RegisterSelWindow(HWND owner) {
  g_popup.window = CreateSelWindow(owner);
  return g_popup.window;
}

int ShowFieldPopup(int i) {
  if (i < 0 || i >= g_screenItems.totalCount) return -1;
  ScreenItem& item = Item(i);
  if (item.choices == "CALENDAR") return ShowCalendar(1);
  CandidatePopup& p = g_popup;
  if (!AttachPopup(p)) return -1;
  p.item = i;
  p.contextMenu = false;
  p.itemWasCurrent = i == g_screen.currentItem;
  SetRowMetrics(p, item.charSize > 0 ? item.charSize : Slot(p.slot).fontUnit);
  if (item.choices.empty()) return -1;
  ParseChoiceList(item.choices.c_str(), !p.itemWasCurrent, &p.list);
  if (!p.list.actionReference.empty()) SplitItemFileReference(i, p.list.actionReference.c_str());
  if (p.list.tokens.size() == 1 && p.list.tokens[0].empty()) {
    MessageBeep(MB_ICONASTERISK);
    return -1;
  }
  switch (p.list.kind) {
    case ChoiceListKind::kFileDialog:
    case ChoiceListKind::kFolderDialog:
    case ChoiceListKind::kImageFileDialog: return RunFieldFileDialog(i, p.list);
    default: break;
  }
  p.lookup = p.list.kind == ChoiceListKind::kLookup;
  p.visibleRows = p.list.shownRows;
  p.topRow = 0;
  if (p.lookup) {
    const std::string value = IsButtonOrMark(item.kind) ? Slot(p.slot).slotText : item.displayText;
    if (OpenLookupRows(p, value.c_str()) < 0) return -1;
    BuildLookupLines(p);
  } else {
    p.lines = p.list.candidates;
  }
  ItemCaptionRect caption;
  int bottom = item.pixelY + item.pixelHeight;
  if (GetItemRect(i, &caption) > 0 && caption.placement != kCaptionNone) {
    bottom = std::max(bottom, caption.bottom);
  }
  return ShowLines(p, item.pixelX, item.pixelY, bottom, IsFixedItem(item), item.kind == 'M');
}

int ShowItemContextMenu(const char* entries, int flag) {
  CandidatePopup& p = g_popup;
  if (!AttachPopup(p)) return -1;
  p.item = -1;
  p.contextMenu = true;
  p.itemWasCurrent = false;
  p.lookup = false;
  ParseChoiceList(entries, false, &p.list);
  p.lines = p.list.candidates;
  p.unit = kMenuUnit;
  p.rowHeight = kMenuRowHeight;
  p.textOffset = (p.rowHeight - 2 * p.unit) / 2;
  p.visibleRows = LineCount();
  p.topRow = 0;
  int x = 0, y = 0;
  GetMouseInWindow(&x, &y);
  const WindowSlot& s = Slot(p.slot);
  return ShowLines(p, x + s.scrollX, y + s.scrollY, y + s.scrollY, false, false);
}

int GetChosenCandidateCode() { return g_popup.lookup ? LookupTransferCount(g_popup) : 1; }

void ClosePopupIfOpen() {
  if (g_screen.popupOpen && g_popup.window) SendMessageA(g_popup.window, kMsgCloseWindow, 0, 0);
}

void DropPopupOfSlot(int slot) {
  CandidatePopup& p = g_popup;
  if (!g_screen.popupOpen || p.slot != slot) return;
  p.chosen = 0;
  ClosePopup();
}

LRESULT SelWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CandidatePopup& p = g_popup;
  switch (message) {
    case WM_PAINT: PaintPopup(window); return 0;
    case kMsgSlotOpened: p.chosen = 0; return 0;
    case WM_CLOSE:
    case kMsgCloseWindow: ClosePopup(); return 0;
    case WM_KEYDOWN:
      if (wParam == VK_DOWN) MoveHighlight(1);
      if (wParam == VK_UP) MoveHighlight(-1);
      return 0;
    case WM_KEYUP:
      if (wParam != VK_RETURN && wParam != VK_ESCAPE) return 0;
      if (!p.active) {
        ShowInfoMessage("", "候補ウインドウが表示される前に選択されました。");
        return 0;
      }
      Choose(wParam == VK_RETURN ? p.topRow + p.highlighted : 0);
      return 0;
    case WM_LBUTTONDOWN: {
      const int r = RowAtPoint(lParam);
      if (r > 0) {
        p.highlighted = r;
        Repaint();
      }
      return 0;
    }
    case WM_LBUTTONUP:
      if (RowAtPoint(lParam) == p.highlighted) Choose(p.topRow + p.highlighted);
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(p.topRow + (GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1));
      return 0;
    case WM_VSCROLL: {
      const int maximum = std::max(0, LineCount() - p.visibleRows);
      const ScrollMove move =
          ComputeScrollMove(LOWORD(wParam), HIWORD(wParam), p.topRow, maximum, 1, p.visibleRows);
      ScrollTo(move.position);
      return 0;
    }
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}
