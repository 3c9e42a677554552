// The graph-colour window ("Gcol"): 21 colour buttons and, but for radar
// graphs, 7 fill patterns previewed in the chosen colour; "選択を有効にする"
// stores the choice in the colour slot it was opened for, and the graph
// that shows it is drawn again. Made hidden at start-up, opened on a slot.
#include <cstdio>
#include <cstring>

#include "screen/screen.h"
#include "tally/graph_swatches.h"
#include "tally/report_internal.h"

namespace {

constexpr int kColors = 21;
constexpr int kPatterns = 7;  // 00 solid, 01 to 06 the hatches
constexpr int kFirstPatternCommand = 31;
constexpr int kCommandTake = 41;
constexpr int kCommandCancel = 100;
// Pixels the second and third rows of colours stand lower.
constexpr int kColorRowShift = 34;
constexpr int kWindowWidth = 384;
constexpr int kButtonHeight = 26;
constexpr int kGuideRoom = 24;

GraphColorWindowState& W() { return g_graphColorWindow; }

// The window slot and owner of the open window.
int g_slot = -1;
HWND g_owner = nullptr;

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

void AddLabel(const char* name, const char* text, int column, int row, int yOffset = 0) {
  const int i = AddScreenItemX(text, name, column, 0, row, 0, 0, kItemEnabled);
  if (i >= 0) Item(i).yOffset = yOffset;
}

void AddButton(const char* name, const char* caption, int column, int row, int yOffset, int width,
               int command, char edit) {
  const int i = AddScreenItem(caption, name, column, row, yOffset, width, width, 0, 'B', 0, 0,
                              command, edit, kItemEnabled, 0, 6, 0, 0, "", "");
  if (i < 0) return;
  Item(i).colorB = 11;  // raised
  Item(i).pixelHeight = kButtonHeight;
}

void BuildItems(int type) {
  const bool patterns = type != kGraphRadar;
  AddLabel("TTL01", "【カラー】", 3, 2);
  for (int k = 1; k <= kColors; ++k) {
    const int inRow = (k - 1) % 7 + 1;
    const int rowOfSeven = (k - 1) / 7;
    char name[8];
    std::snprintf(name, sizeof name, "COL%02d", k);
    AddButton(name, "", 5 * inRow + 1, 3, rowOfSeven * kColorRowShift, 3, k, 'G');
  }
  int row = 8;
  if (patterns) {
    AddLabel("TTL02", "【塗り潰しパターン】", 3, 7);
    for (int n = 0; n < kPatterns; ++n) {
      char name[8];
      std::snprintf(name, sizeof name, "HAT%02d", n);
      AddButton(name, "", 6 + 5 * n, 8, 0, 3, kFirstPatternCommand + n, 'G');
    }
    row = 10;
  }
  AddButton("SELCOL", "選択を有効にする", 6, row, 0, 16, kCommandTake, 'G');
  AddButton("QUIT", "キャンセル", 26, row, 0, 8, kCommandCancel, 'S');
  AddLabel("GMSG1",
           patterns ? "【カラー】および【塗り潰しパターン】を選択し､"
                    : "【カラー】を選択し､[選択を有効にする]を押し",
           3, row + 1, -2);
  // The guide's second line follows close under the first.
  AddLabel("GMSG2", patterns ? "[選択を有効にする] を押してください。" : "てください。", 3, row + 1,
           16);
}

// The pattern buttons preview every pattern in the chosen colour.
void ShowPatternsInColor() {
  for (int n = 0; n < kPatterns; ++n) {
    char name[8];
    std::snprintf(name, sizeof name, "HAT%02d", n);
    SetFieldText(name, (TwoDigits(W().choice.color) + "-" + TwoDigits(n)).c_str());
  }
}

void ShowChoice() {
  ShowPatternsInColor();
  SetFieldText("SELCOL", W().choice.selected.c_str());
  if (IsValidSlot(g_slot)) InvalidateRect(Slot(g_slot).window, nullptr, FALSE);
}

// A screen of the slots that opened the window shows the slot's colour as
// it is stored now.
void ShowStoredColorInOwner() {
  if (!g_owner) return;
  char name[8];
  std::snprintf(name, sizeof name, "GCOL%02d", W().slot);
  const std::string text = FormatGraphColorText(W().graphType, g_graphColors[W().graphType][W().slot]);
  for (int s = 0; s < kWindowSlotCount; ++s) {
    if (Slot(s).state == kFreeSlotState || Slot(s).window != g_owner) continue;
    if (ResolveFieldRef(s, name) >= 0) SetItemValueForCommand(s, name, text.c_str());
  }
}

void CloseWindow() {
  if (!IsValidSlot(g_slot)) return;
  const int slot = g_slot;
  g_slot = -1;
  if (g_owner) {
    EnableWindow(g_owner, TRUE);
    ShowWindow(g_owner, SW_SHOW);
  }
  CloseScreenWindow(slot, 1);
  ShowWindow(W().window, SW_HIDE);
  if (g_owner) SendMessageA(g_owner, kMsgScreenClosed, kCommandTake, 0);
  if (W().choice.changes > 0 && g_screen.mainWindow) {
    InvalidateRect(g_screen.mainWindow, nullptr, TRUE);
    UpdateWindow(g_screen.mainWindow);
  }
  // The graph on the preview is drawn again in its new colours.
  const PrintSettingsWindowState& settings = g_printSettingsWindow;
  if (settings.window && IsValidSlot(settings.slot)) {
    SendMessageA(settings.window, kMsgPreviewOutput,
                 TallyKindOfSetting(settings.printType, settings.tallySetting), 0);
  }
}

void HandleCommand(int command) {
  GraphColorChoice& choice = W().choice;
  if (command >= 1 && command <= kColors) {
    ChooseGraphColor(choice, command);
    ShowChoice();
  } else if (command >= kFirstPatternCommand && command < kFirstPatternCommand + kPatterns &&
             W().graphType != kGraphRadar) {
    ChooseGraphPattern(choice, command - kFirstPatternCommand);
    ShowChoice();
  } else if (command == kCommandTake) {
    const std::string text = GetFieldTextPtr("SELCOL");
    if (choice.changes > 0) {
      SaveGraphColor(W().slot, text.c_str());
      ShowStoredColorInOwner();
    }
    CloseWindow();
  } else if (command == kCommandCancel) {
    CloseWindow();
  } else {
    ApplyPendingFocus();
  }
}

}  // namespace

HWND CreateGraphColorWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = GraphColorWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  wc.lpszClassName = "Gcol";
  if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return nullptr;
  W().window = CreateWindowA("Gcol", "グラフの配色", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  return W().window;
}

int OpenGraphColorScreen(int graphType) {
  // One slot's colour at a time.
  if (IsValidSlot(g_slot)) return 0;
  W().graphType = graphType;
  if (!W().window || FindFreeWindowSlot() < 0) return 0;
  BuildItems(graphType);
  g_owner = GetActiveWindow();
  if (g_owner == W().window) g_owner = nullptr;
  if (g_owner) EnableWindow(g_owner, FALSE);
  // The guide's two lines below the buttons take a little more than the
  // window's classic 290 or 336 pixels.
  const int height = (graphType == kGraphRadar ? 290 : 336) + kGuideRoom;
  // Input by buttons only: no field takes typing.
  if (OpenScreenWindow(W().window, -2, -2, kWindowWidth, height, 0, 0, 2, 0, 0, "グラフの配色") !=
          0 &&
      g_owner) {
    EnableWindow(g_owner, TRUE);
  }
  return 0;
}

LRESULT CALLBACK GraphColorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kMsgSlotOpened:
      g_slot = static_cast<int>(wParam);
      if (g_owner) ShowWindow(g_owner, SW_HIDE);
      W().choice = StartGraphColorChoice(W().colorText.c_str());
      for (int k = 1; k <= kColors; ++k) {
        char name[8];
        std::snprintf(name, sizeof name, "COL%02d", k);
        SetFieldText(name, TwoDigits(k).c_str());
      }
      if (W().graphType != kGraphRadar) ShowPatternsInColor();
      SetFieldText("SELCOL", W().colorText.c_str());
      return 0;
    case kMsgScreenCommand: HandleCommand(static_cast<int>(wParam)); return 0;
    case kMsgCloseWindow:
    case WM_CLOSE: CloseWindow(); return 0;
    case WM_PAINT:
      if (IsValidSlot(g_slot) && BeginScreenPaint(window, g_slot)) {
        PaintScreenPage(window, g_slot);
        EndScreenPaint();
        PaintGraphColorSwatches(window, g_slot);
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_TIMER:
    case WM_SETFOCUS: return ScreenChildWndProc(window, message, wParam, lParam);
    default: break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}
