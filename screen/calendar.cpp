// The month calendar of date fields (choice list "CALENDAR"): a top-level
// window of class "CaleWindow", made at each opening and destroyed at
// closing, whose buttons are items of a window slot of its own and send
// their codes to the calendar's own window procedure. Choosing a day writes
// "%4d/%02d/%02d" into the field the calendar was opened for; the window
// that was active meanwhile is disabled.
#include <cstdio>
#include <string>
#include <tuple>

#include "foundation/bounded_format.h"
#include "foundation/dates.h"
#include "screen/screen.h"

namespace {

constexpr char kCalendarClass[] = "CaleWindow";
constexpr int kCalendarWindowCode = 99;
constexpr int kCalendarRowPitch = 14;
constexpr int kCalendarFontUnit = 5;
constexpr int kCellWidthUnits = 12;
constexpr int kDayTopRow = 11;
constexpr int kDayCells = 42;
constexpr int kMonthKeyBase = 50;       // TUKI01 .. TUKI12 send 51 .. 62
constexpr int kPreviousMonthKey = 'p';  // 112
constexpr int kNextMonthKey = 'q';      // 113

// Colour codes of the calendar.
constexpr int kRed = 2, kBlue = 1, kCyan = 5, kYellow = 6, kWhite = 7, kSilver = 8;

struct Calendar {
  HWND window = nullptr;
  HWND owner = nullptr;  // active at the opening, disabled while open
  int slot = -1;
  int year = 0, month = 0;  // shown
  int todayYear = 0, todayMonth = 0, todayDay = 0;
  int firstWeekday = 1;  // of the shown month's first day, 1 = Sunday
  int days = 0;
  bool chosen = false;
  int chosenYear = 0, chosenMonth = 0, chosenDay = 0, chosenWeekday = 0;
  std::string result;
  // The field the calendar writes to, by its slot and its place in the
  // slot's range: item numbers move when slots close.
  int fieldSlot = -1;
  int fieldOffset = -1;
};
Calendar g_calendar;

LRESULT CALLBACK CalendarWndProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CalendarWndProc(window, message, wParam, lParam);
}

std::string Name(const char* base, int index) { return IndexedFieldName(base, index); }

// The items of the calendar, in the slot the window opens in.
void AddCalendarItems() {
  const auto addButton = [](const char* caption, const std::string& name, int column, int row,
                            int width, int height, int key, const char* guide) {
    const int i = AddScreenItem(caption, name.c_str(), column, row, 0, width, height, 0, 'B', 0, 0,
                                key, 'S', kItemEnabled, kYellow, 6, 0, 0, guide, "");
    if (i >= 0) Item(i).itemClass = kItemClassIcon;
    return i;
  };
  int i = AddScreenItem("QUIT_S.BMP", "CALESC", 78, 0, 0, 4, 26, 0, 'B', 0, 0, kKeyEscape, 'I',
                        kItemEnabled, 0, 6, 0, 0, "カレンダーを閉じます", "");
  if (i >= 0) {
    Item(i).itemClass = kItemClassIcon;
    Item(i).protectByte = 1;
  }
  i = AddScreenItem("", "CALDATE", 24, 0, 0, 16, 16, 0, 'X', 0, 0, 0, 'S', kItemEnabled, 0, 5, 0, 0,
                    "", "");
  if (i >= 0) Item(i).itemClass = kItemClassIcon;
  for (const auto& step : {std::make_tuple("←", "CALF01", 2, kPreviousMonthKey, "月を戻します"),
                           std::make_tuple("→", "CALF02", 60, kNextMonthKey, "月を送ります")}) {
    i = addButton(std::get<0>(step), std::get<1>(step), std::get<2>(step), 0, 6, 26,
                  std::get<3>(step), std::get<4>(step));
    if (i >= 0) {
      Item(i).protectByte = 1;
      Item(i).colorB = kWhite;
    }
  }
  for (int m = 1; m <= 12; ++m) {
    const int k = m - 1;
    addButton("", Name("TUKI", m), 2 + (k % 6) * 14, 3 + (k / 6) * 3, 10, 26, kMonthKeyBase + m,
              "");
  }
  // The weekday headers send nothing: their codes would be those of the
  // first week's day cells.
  for (int d = 1; d <= 7; ++d) {
    i = addButton("", Name("CALYOBI", d), 2 + (d - 1) * kCellWidthUnits, 9, 10, 20, 0, "");
    if (i >= 0) Item(i).colorB = kWhite;
  }
  for (int c = 1; c <= kDayCells; ++c) {
    const int k = c - 1;
    addButton("", Name("CALDAY", c), 2 + (k % 7) * kCellWidthUnits, kDayTopRow + (k / 7) * 2, 10,
              26, c, "");
  }
}

int ItemOf(const std::string& name) { return ResolveFieldRef(g_calendar.slot, name.c_str()); }

// Shows the calendar's month: its title, the month buttons, the headers and
// the day cells (outside the month protected and silver; today red).
void RefreshMonth() {
  Calendar& c = g_calendar;
  if (!IsValidSlot(c.slot)) return;
  const int saved = g_screen.currentSlot;
  g_screen.currentSlot = c.slot;
  char title[64];
  FormatTextBounded(title, sizeof title, "%4d年%2d月", c.year, c.month);
  SetFieldText("CALDATE", title);
  for (int m = 1; m <= 12; ++m) {
    const int i = ItemOf(Name("TUKI", m));
    if (i < 0) continue;
    Item(i).colorB = m == c.month ? kRed : kBlue;
    Item(i).colorA = kYellow;
    Item(i).caption = std::to_string(m);
  }
  for (int d = 1; d <= 7; ++d) {
    const int i = ItemOf(Name("CALYOBI", d));
    if (i < 0) continue;
    Item(i).colorA = d == 1 ? kRed : kYellow;
    Item(i).caption = WeekdayName(d - 1);
  }
  c.firstWeekday = WeekdayOfDate(nullptr, c.year, c.month, 1);
  c.days = DaysInMonth(c.year, c.month);
  for (int cell = 1; cell <= kDayCells; ++cell) {
    const int i = ItemOf(Name("CALDAY", cell));
    if (i < 0) continue;
    const int day = cell - c.firstWeekday + 1;
    if (c.firstWeekday < 1 || day < 1 || day > c.days) {
      Item(i).state = kItemProtected;
      Item(i).colorB = kSilver;
      continue;
    }
    Item(i).state = kItemEnabled;
    const bool today = c.year == c.todayYear && c.month == c.todayMonth && day == c.todayDay;
    Item(i).colorB = today ? kRed : kCyan;
  }
  g_screen.currentSlot = saved;
  if (c.window) {
    InvalidateRect(c.window, nullptr, TRUE);
    UpdateWindow(c.window);
  }
}

// The cell of today's date when the shown month holds it, else "".
std::string TodayCell(const Calendar& c) {
  if (c.year != c.todayYear || c.month != c.todayMonth || c.firstWeekday < 1) return "";
  return Name("CALDAY", c.todayDay + c.firstWeekday - 1);
}

void PaintDayNumbers(const Calendar& c) {
  SetBkMode(PaintDC(), TRANSPARENT);
  for (int cell = 1; cell <= kDayCells; ++cell) {
    const int day = cell - c.firstWeekday + 1;
    if (c.firstWeekday < 1 || day < 1 || day > c.days) continue;
    const int i = ItemOf(Name("CALDAY", cell));
    if (i < 0) continue;
    const ScreenItem& item = Item(i);
    SelectScreenFont(0, 2 * item.charSize + 4);
    char text[8];
    std::snprintf(text, sizeof text, "%2d", day);
    const int x = item.pixelX + item.pixelWidth / 2 - MeasureTextWidth(text) / 2;
    const int y = item.pixelY + 3;
    const bool today = c.year == c.todayYear && c.month == c.todayMonth && day == c.todayDay;
    const int color = today ? kYellow : cell % 7 == 0 ? kCyan : cell % 7 == 1 ? kRed : 0;
    DrawTextAt(x + 1, y + 1, text, kSilver);
    DrawTextAt(x, y, text, color);
  }
}

void StepMonth(int step) {
  Calendar& c = g_calendar;
  c.month += step;
  if (c.month < 1) {
    c.month = 12;
    --c.year;
  } else if (c.month > 12) {
    c.month = 1;
    ++c.year;
  }
  RefreshMonth();
}

void CloseCalendar() {
  Calendar& c = g_calendar;
  if (!c.window) return;
  const HWND window = c.window;
  c.window = nullptr;
  if (c.owner) EnableWindow(c.owner, TRUE);
  CloseScreenWindow(c.slot, 1);
  c.slot = -1;
  DestroyWindow(window);
  UnregisterClassA(kCalendarClass, GetModuleHandleA(nullptr));
  if (!c.chosen) return;
  char date[32];
  FormatTextBounded(date, sizeof date, "%4d/%02d/%02d", c.chosenYear, c.chosenMonth, c.chosenDay);
  c.result = date;
  if (IsValidSlot(c.fieldSlot) && Slot(c.fieldSlot).itemCount > c.fieldOffset &&
      c.fieldOffset >= 0) {
    SetItemValueAt(c.fieldSlot, Slot(c.fieldSlot).firstItem + c.fieldOffset, date);
    MarkFieldEdited();
  }
  if (c.owner) SendMessageA(c.owner, kMsgDateChosen, 0, 0);
}

void HandleCommand(int code) {
  Calendar& c = g_calendar;
  if (code >= 1 && code <= kDayCells) {
    // Only the cells of the shown month's days make a date.
    const int day = code - c.firstWeekday + 1;
    if (c.firstWeekday < 1 || day < 1 || day > c.days) return;
    c.chosen = true;
    c.chosenYear = c.year;
    c.chosenMonth = c.month;
    c.chosenDay = day;
    c.chosenWeekday = (code - 1) % 7;
    CloseCalendar();
    return;
  }
  if (code > kMonthKeyBase && code <= kMonthKeyBase + 12) {
    c.month = code - kMonthKeyBase;
    RefreshMonth();
    return;
  }
  switch (code) {
    case kKeyEscape: CloseCalendar(); return;
    case kPreviousMonthKey: StepMonth(-1); return;
    case kNextMonthKey: StepMonth(1); return;
    default: ApplyPendingFocus(); return;
  }
}

// The month shown first: the field's date, or today.
void TakeStartDate(Calendar& c) {
  char today[16];
  GetTodayString(today);
  c.todayYear = c.year = GetDatePart(today, 1);
  c.todayMonth = c.month = GetDatePart(today, 2);
  c.todayDay = GetDatePart(today, 3);
  std::string start(4096, '\0');
  GetItemRawValue(g_screen.currentSlot, "/CUR", start.data());
  start.resize(std::char_traits<char>::length(start.c_str()));
  const bool letter = !start.empty() && ((start[0] >= 'A' && start[0] <= 'Z') ||
                                         (start[0] >= 'a' && start[0] <= 'z'));
  if (letter) {
    char western[kDateTextSize];
    if (ConvertEraDate(western, start.c_str()) != 0) return;
    start = western;
    SetFieldText("/CUR", western);
  }
  if (start.size() <= 3) return;
  c.year = GetDatePart(start.c_str(), 1);
  c.month = GetDatePart(start.c_str(), 2);
  if (c.month < 1 || c.month > 12) c.month = 1;
}

}  // namespace

int ShowCalendar(int mode) {
  Calendar& c = g_calendar;
  if (c.window) return 0;  // one calendar at a time
  c = Calendar();
  const WindowSlot& field = Slot(g_screen.currentSlot);
  c.fieldSlot = g_screen.currentSlot;
  c.fieldOffset = g_screen.currentItem >= field.firstItem && g_screen.currentItem <= field.lastItem
                      ? g_screen.currentItem - field.firstItem
                      : -1;
  TakeStartDate(c);

  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterPopupClass(kCalendarClass, CalendarWndProcThunk);
  int x = 0, y = 0;
  GetMouseInWindowScreen(&x, &y);
  const HWND window = CreateWindowExA(0, kCalendarClass, "", WS_POPUPWINDOW | WS_DLGFRAME, x, y, 0,
                                      0, nullptr, nullptr, instance, nullptr);
  if (!window) return -1;
  c.window = window;
  c.owner = GetActiveWindow();
  if (c.owner) EnableWindow(c.owner, FALSE);

  const int slot = FindFreeWindowSlot();
  if (slot < 0) {
    CloseCalendar();
    return -1;
  }
  SetSlotGridStep(slot, kCalendarRowPitch);
  SetSlotFontUnit(slot, kCalendarFontUnit);
  AddCalendarItems();
  if (OpenScreenWindow(window, x, y, 0, -1, 0, kCalendarWindowCode, 2, 1, -1, "カレンダー") < 0) {
    c.slot = -1;
    c.window = nullptr;
    if (c.owner) EnableWindow(c.owner, TRUE);
    DestroyWindow(window);
    UnregisterClassA(kCalendarClass, instance);
    return -1;
  }
  const std::string today = TodayCell(c);
  FocusField(today.empty() ? "/HOME" : today.c_str());
  return 0;
}

LRESULT CALLBACK CalendarWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Calendar& c = g_calendar;
  switch (message) {
    case kMsgSlotOpened:
      c.slot = static_cast<int>(wParam);
      c.chosen = false;
      c.result.clear();
      RefreshMonth();
      return 0;
    case kMsgScreenCommand: HandleCommand(static_cast<int>(wParam & 0xFFFF)); return 0;
    case WM_CLOSE:
    case kMsgCloseWindow: CloseCalendar(); return 0;
    case WM_PAINT:
      if (IsValidSlot(c.slot) && BeginScreenPaint(window, c.slot)) {
        PaintScreenPage(window, c.slot);
        PaintDayNumbers(c);
        EndScreenPaint();
        return 0;
      }
      break;
    case WM_SETFOCUS:
      if (IsValidSlot(c.slot)) SelectWindowSlot(c.slot);
      return 0;
    case WM_HSCROLL: ScrollScreenHPlain(window, c.slot, SB_HORZ, wParam, 0, 10, 1, 0, 0); return 0;
    case WM_VSCROLL: ScrollScreenVPlain(window, c.slot, SB_VERT, wParam, 0, 10, 1, 0, 0); return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_TIMER:
      if (IsValidSlot(c.slot)) SelectWindowSlot(c.slot);
      ScreenChildWndProc(window, message, wParam, lParam);
      return 0;
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
