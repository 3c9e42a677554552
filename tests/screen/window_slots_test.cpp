// Window slots on real windows: the open protocol, refusal, closing in any
// order with consistent item ranges, and every failure giving back what the
// open took.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/hook_recorder.h"

namespace {

class WindowSlotsTest : public ScreenEngineTest {
 protected:
  // Opens a window holding fields NAME1 .. NAMEn; returns its slot.
  int OpenFields(HWND window, const char* name, int count, int mode = -1) {
    for (int k = 1; k <= count; ++k) {
      AddItem((std::string(name) + std::to_string(k)).c_str(), 'X', 2, k, 8, 8);
    }
    const int slot = FindFreeWindowSlot();
    if (OpenScreenWindow(window, 0, 0, 300, 200, 0, 40 + slot, 1, 1, mode, name) != 0) return -1;
    return slot;
  }

  // The names of a slot's items, in order.
  std::vector<std::string> NamesOf(int slot) {
    std::vector<std::string> names;
    for (int n = 0; n < Slot(slot).itemCount; ++n) names.push_back(GetSlotItemName(slot, n));
    return names;
  }

  int CountChildren(HWND window, const char* className) {
    struct Search {
      const char* className;
      int count;
    } search{className, 0};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          char name[32] = "";
          GetClassNameA(child, name, sizeof name);
          if (lstrcmpiA(name, s->className) == 0) ++s->count;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
  }
};

TEST_F(WindowSlotsTest, OpenTellsMainWindowAndOwnerAndFocusesHome) {
  const HWND window = NewWindow();
  AddItem("BUTTON", 'B', 2, 1, 6, 20, 6, "OK");
  AddItem("FIELD", 'X', 2, 2, 8, 8);
  ASSERT_EQ(OpenScreenWindow(window, -2, -2, 300, 200, 0, 41, 1, 2, 0, "title"), 0);

  EXPECT_EQ(MessagesOf(mainWindow()),
            (std::vector<ReceivedMessage>{{kMsgScreenBuilding, 41, 0}, {kMsgScreenBuilt, 41, 0}}));
  EXPECT_EQ(MessagesOf(window), (std::vector<ReceivedMessage>{{kMsgSlotOpened, 0, 0}}));
  const WindowSlot& slot = Slot(0);
  EXPECT_EQ(slot.state, 1);
  EXPECT_EQ(slot.window, window);
  EXPECT_EQ(slot.commandWindow, window);
  EXPECT_EQ(slot.inputMode, 1);
  EXPECT_EQ(slot.openState, 2);
  EXPECT_EQ(g_screen.currentSlot, 0);
  EXPECT_TRUE(IsWindowVisible(window));
  char title[16] = "";
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "title");
  // Two fields, CBBOX, RULER and four line-type buttons.
  EXPECT_EQ(NamesOf(0), (std::vector<std::string>{"BUTTON", "FIELD", "CBBOX", "RULER", "LTYPE1",
                                                  "LTYPE2", "LTYPE3", "LTYPE4"}));
  // Field input skips buttons: "/HOME" is the field.
  EXPECT_EQ(g_screen.currentItem, slot.firstItem + 1);
  // Children: the in-place edit control (id 1000 + slot, subclassed) and
  // the two STATIC children.
  ASSERT_NE(slot.editControl, nullptr);
  EXPECT_EQ(GetDlgCtrlID(slot.editControl), 1000);
  EXPECT_EQ(GetWindowLongPtrA(slot.editControl, GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(&EditSubclassProc));
  EXPECT_NE(GetDlgItem(window, 5000), nullptr);
  EXPECT_NE(GetDlgItem(window, 5001), nullptr);
  EXPECT_NE(slot.timerId, 0u);
  // Centred by the position codes.
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, (1024 - 300) / 2);
  EXPECT_EQ(r.right - r.left, 300);
  EXPECT_EQ(r.bottom - r.top, 201);
}

TEST_F(WindowSlotsTest, ListWindowsHaveNoTimer) {
  const HWND window = NewWindow();
  Slot(0).windowKind = kWindowKindList;
  ASSERT_EQ(OpenFields(window, "F", 1), 0);
  EXPECT_EQ(Slot(0).timerId, 0u);
  EXPECT_FALSE(KillTimer(window, kSlotTimerId));
}

TEST_F(WindowSlotsTest, ARefusedOpenStaysBoundWithoutFocusOrCurrentSlot) {
  const HWND first = NewWindow();
  ASSERT_EQ(OpenFields(first, "A", 1), 0);
  SetRefuseOpens(mainWindow(), true);
  const HWND second = NewWindow();
  ASSERT_EQ(OpenFields(second, "B", 1), 1);
  EXPECT_TRUE(MessagesOf(second).empty());
  EXPECT_EQ(g_screen.currentSlot, 0);
  EXPECT_EQ(Slot(1).window, second);
  EXPECT_TRUE(IsWindowVisible(second));
  EXPECT_EQ(g_screen.currentItem, Slot(0).firstItem);
}

TEST_F(WindowSlotsTest, ClosingInAnyOrderKeepsEveryRangeWhole) {
  const HWND a = NewWindow(), b = NewWindow(), c = NewWindow(), d = NewWindow();
  ASSERT_EQ(OpenFields(a, "A", 3), 0);
  ASSERT_EQ(OpenFields(b, "B", 2), 1);
  ASSERT_EQ(OpenFields(c, "C", 4), 2);
  CloseScreenWindow(1, 0);
  EXPECT_EQ(g_screen.currentSlot, 2);
  EXPECT_EQ(NamesOf(0), (std::vector<std::string>{"A1", "A2", "A3", "CBBOX"}));
  EXPECT_EQ(NamesOf(2), (std::vector<std::string>{"C1", "C2", "C3", "C4", "CBBOX"}));
  EXPECT_EQ(g_screenItems.totalCount, 9);

  // A new screen takes the free slot and appends behind every range.
  ASSERT_EQ(OpenFields(d, "D", 2), 1);
  EXPECT_EQ(Slot(1).firstItem, 9);
  CloseScreenWindow(0, 0);
  EXPECT_EQ(NamesOf(2), (std::vector<std::string>{"C1", "C2", "C3", "C4", "CBBOX"}));
  EXPECT_EQ(NamesOf(1), (std::vector<std::string>{"D1", "D2", "CBBOX"}));
  EXPECT_EQ(Slot(2).firstItem, 0);
  EXPECT_EQ(Slot(1).firstItem, 5);
  EXPECT_EQ(g_screenItems.totalCount, 8);
  // The focus of the open screen followed its item down.
  EXPECT_EQ(Item(g_screen.currentItem).name, "D1");

  CloseScreenWindow(2, 0);
  CloseScreenWindow(1, 0);
  EXPECT_EQ(g_screen.currentSlot, 0);
  EXPECT_EQ(g_screenItems.totalCount, 0);
  EXPECT_FALSE(IsWindowVisible(d));
}

TEST_F(WindowSlotsTest, AWindowAlreadyOpenInAnotherSlotIsRefusedAndGivenBack) {
  const HWND window = NewWindow();
  ASSERT_EQ(OpenFields(window, "A", 2, 0), 0);
  const int items = g_screenItems.totalCount;
  MessageBoxRecorder boxes;
  EXPECT_EQ(OpenFields(window, "B", 2, 0), -1);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"ウインドウはオープン済みです。(1)"});
  EXPECT_EQ(boxes.calls()[0].caption, "Control");
  EXPECT_EQ(Slot(1).state, kFreeSlotState);
  EXPECT_EQ(Slot(1).timerId, 0u);
  EXPECT_EQ(g_screenItems.totalCount, items);
  EXPECT_EQ(g_screenItems.buildingCount, 0);
  EXPECT_EQ(CountChildren(window, "EDIT"), 1);
  EXPECT_EQ(CountChildren(window, "STATIC"), 2);
  EXPECT_EQ(FindFreeWindowSlot(), 1);
}

TEST_F(WindowSlotsTest, AVisibleWindowInSlotZeroIsRefusedAndGivenBack) {
  const HWND window = NewWindow();
  ShowWindow(window, SW_SHOW);
  MessageBoxRecorder boxes;
  EXPECT_EQ(OpenFields(window, "A", 2), -1);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"err ShowWindow()"});
  EXPECT_EQ(Slot(0).state, kFreeSlotState);
  EXPECT_EQ(g_screenItems.totalCount, 0);
  EXPECT_EQ(CountChildren(window, "EDIT"), 0);
  EXPECT_EQ(CountChildren(window, "STATIC"), 0);
}

TEST_F(WindowSlotsTest, NoWindowAndNoFreeSlotAreRefused) {
  MessageBoxRecorder boxes;
  AddItem("LOST", 'X', 0, 0, 1, 1);
  EXPECT_EQ(OpenScreenWindow(nullptr, 0, 0, 10, 10, 0, 1, 1, 1, -1, ""), -1);
  EXPECT_EQ(g_screenItems.totalCount, 0);

  for (int s = 0; s < kWindowSlotCount; ++s) ASSERT_EQ(OpenFields(NewWindow(), "S", 1), s);
  const int items = g_screenItems.totalCount;
  const HWND sixth = NewWindow();
  EXPECT_EQ(OpenFields(sixth, "X", 3), -1);
  EXPECT_EQ(g_screenItems.totalCount, items);
  EXPECT_EQ(g_screenItems.buildingCount, 0);
  EXPECT_FALSE(IsWindowVisible(sixth));
  EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"ウインドウハンドルエラーです。(0)",
                                                     "同時に開ける画面は 5 つまでです。"}));
}

TEST_F(WindowSlotsTest, TheTableLimitDuringTheStandardItemsFailsTheOpen) {
  const HWND window = NewWindow();
  MessageBoxRecorder boxes;
  while (g_screenItems.totalCount < kMaxScreenItems) AddItem("F", 'X', 0, 0, 1, 1);
  EXPECT_EQ(OpenScreenWindow(window, 0, 0, 10, 10, 0, 1, 1, 1, 0, ""), -1);
  EXPECT_EQ(g_screenItems.totalCount, 0);
  EXPECT_EQ(Slot(0).state, kFreeSlotState);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(boxes.calls().size(), 1u);
}

TEST_F(WindowSlotsTest, BackgroundImageThatFailsToLoadLeavesTheCodes) {
  const HWND window = NewWindow();
  Slot(0).pendingImage = "NOSUCHFILE.BMP";
  Slot(0).windowKind = kWindowKindImage;
  ASSERT_EQ(OpenFields(window, "A", 1), 0);
  EXPECT_EQ(Slot(0).backgroundImage, nullptr);
  EXPECT_EQ(Slot(0).pendingImage, "");
  EXPECT_EQ(Slot(0).windowWidth, 300);
}

TEST_F(WindowSlotsTest, SheetCanvasAndImageViewAreSizedByTheirGrid) {
  MessageBoxRecorder boxes;
  EXPECT_EQ(OpenImageViewWindow(300, 200, 92), -1);
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"err hWnd=(0)"});

  const HWND canvas = NewWindowOfClass("Ocr");
  g_sheetCanvas.columns = 10;
  g_sheetCanvas.rows = 10;
  g_sheetCanvas.pitch = 20;
  Slot(0).screenType = kScreenTypeSheet;
  ASSERT_EQ(OpenSheetCanvasWindow(-1, 150, 100, 8, 0), 0);
  EXPECT_EQ(NamesOf(0), (std::vector<std::string>{"LTYPE1", "LTYPE2", "LTYPE3", "LTYPE5"}));
  EXPECT_EQ(Slot(0).windowWidth, 150);
  EXPECT_EQ(Slot(0).scrollMaxH, 50);
  EXPECT_EQ(Slot(0).scrollMaxV, 100);
  EXPECT_EQ(Slot(0).inputMode, 1);
  EXPECT_EQ(Slot(0).openState, 2);
  EXPECT_NE(Slot(0).timerId, 0u);
  EXPECT_EQ(MessagesOf(mainWindow()), (std::vector<ReceivedMessage>{{kMsgScreenBuilt, 8, 0}}));
  EXPECT_EQ(MessagesOf(canvas), (std::vector<ReceivedMessage>{{kMsgSlotOpened, 0, 0}}));
  // Given its slot, the canvas is only sized again: at most its grid.
  ASSERT_EQ(OpenSheetCanvasWindow(0, 300, 300, 8, 0), 0);
  EXPECT_EQ(Slot(0).windowWidth, 200);
  EXPECT_EQ(Slot(0).scrollMaxH, 0);
  g_sheetCanvas = SheetCanvasState();

  // The image view is found inside the window that holds it.
  const HWND frame = NewWindow();
  const HWND view = NewWindowOfClass("WITHIMAGE");
  SetWindowLongPtrA(view, GWL_STYLE, WS_CHILD | WS_VSCROLL | WS_HSCROLL);
  SetParent(view, frame);
  ClearMessages(mainWindow());
  ASSERT_EQ(OpenImageViewWindow(300, 200, 92), 0);
  EXPECT_EQ(Slot(1).itemCount, 0);
  EXPECT_EQ(Slot(1).timerId, 0u);
  EXPECT_TRUE(MessagesOf(mainWindow()).empty());
  EXPECT_EQ(MessagesOf(view), (std::vector<ReceivedMessage>{{kMsgSlotOpened, 1, 0}}));
}

}  // namespace
