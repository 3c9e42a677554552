// The graph-colour window under Wine: what its button shows after each
// colour and pattern, the choice stored in the colour slot it was opened
// for, nothing stored without a choice, and radar graphs without patterns.
#include <gtest/gtest.h>

#include <windows.h>

#include "designer/survey.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/tally/survey_fixture.h"

namespace {


std::vector<WPARAM> g_closed;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgScreenClosed) g_closed.push_back(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

class GraphColorWindow : public SurveyDbTest {
 protected:
  void SetUp() override {
    SurveyDbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    WNDCLASSA wc{};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "GraphColorTestOwner";
    RegisterClassA(&wc);
    owner_ = CreateWindowA(wc.lpszClassName, "owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(owner_);
    InitScreenEngine(owner_);
    if (!g_graphColorWindow.window) CreateGraphColorWindow();
    ASSERT_NE(g_graphColorWindow.window, nullptr);
    g_closed.clear();
  }
  void TearDown() override {
    SendMessageA(g_graphColorWindow.window, kMsgCloseWindow, 0, 0);
    if (owner_) DestroyWindow(owner_);
    SurveyDbTest::TearDown();
  }
  void Open(int type, int slot, const char* text) {
    ASSERT_GE(LoadGraphColors("", kDb, -1, type), 0);
    g_graphColorWindow.slot = slot;
    g_graphColorWindow.colorText = text;
    SetActiveWindow(owner_);
    OpenGraphColorScreen(type);
    ASSERT_EQ(std::string(GetFieldTextPtr("SELCOL")), text);
  }
  void Press(int command) {
    SendMessageA(g_graphColorWindow.window, kMsgScreenCommand, command, 0);
  }
  std::string Stored(int type, int slot) { return StoredGraphColor(type, slot); }
  HWND owner_ = nullptr;
};

TEST_P(GraphColorWindow, AChosenColourAndPatternAreStoredInTheSlot) {
  Open(kGraphPie, 3, "05");
  EXPECT_FALSE(IsWindowEnabled(owner_));
  EXPECT_EQ(std::string(GetFieldTextPtr("HAT03")), "05-03");  // patterns in the current colour
  Press(31 + 3);                                              // pattern 3
  EXPECT_EQ(std::string(GetFieldTextPtr("SELCOL")), "05-03");
  Press(7);  // colour 7
  EXPECT_EQ(std::string(GetFieldTextPtr("SELCOL")), "07-03");
  EXPECT_EQ(std::string(GetFieldTextPtr("HAT00")), "07-00");
  Press(41);
  EXPECT_EQ(Stored(kGraphPie, 3), "07-03");
  EXPECT_EQ(g_graphColors[kGraphPie][3].colorCode, 107);
  EXPECT_EQ(g_graphColors[kGraphPie][3].pattern, 2);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(g_closed, std::vector<WPARAM>{41});
}

TEST_P(GraphColorWindow, NothingChosenNothingStored) {
  Open(kGraphBar, 2, "02-06");
  Press(41);
  EXPECT_EQ(Stored(kGraphBar, 2), "02-06");
  Open(kGraphBar, 2, "02-06");
  Press(9);
  Press(100);  // cancelled
  EXPECT_EQ(Stored(kGraphBar, 2), "02-06");
}

TEST_P(GraphColorWindow, RadarColoursHaveNoPatterns) {
  Open(kGraphRadar, 4, "01");
  EXPECT_EQ(GetFieldState("HAT00"), -1);
  Press(33);  // no pattern buttons: ignored
  Press(9);
  EXPECT_EQ(std::string(GetFieldTextPtr("SELCOL")), "09");
  Press(41);
  EXPECT_EQ(Stored(kGraphRadar, 4), "09");
}

INSTANTIATE_TEST_SUITE_P(Drivers, GraphColorWindow, testing::Values(kDbKindFile), KindName);

}  // namespace
