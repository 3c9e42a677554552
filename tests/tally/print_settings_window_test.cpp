// The print-settings screen of tallies, graphs and lists under Wine: its
// fields filled from the stored settings, the owner asked for output and
// for the other screens, a new tally setting loading its own settings, and
// the settings saved when it closes.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "designer/survey.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/tally/survey_fixture.h"

namespace {

using Texts = std::vector<std::string>;

constexpr UINT kMsgWindowBack = WM_USER + 114;    // 1138
constexpr UINT kMsgPrintOptions = WM_USER + 146;  // 1170

struct Received {
  UINT message;
  WPARAM wParam;
  bool operator==(const Received& o) const { return message == o.message && wParam == o.wParam; }
};
std::vector<Received> g_received;

// The owner of the screen: records what it is asked.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgPrintOutput || message == kMsgPreviewOutput || message == kMsgWindowBack ||
      message == kMsgPrintOptions) {
    g_received.push_back({message, wParam});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeOwner() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PrintSettingsTestOwner";
  RegisterClassA(&wc);
  return CreateWindowA(wc.lpszClassName, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                       GetModuleHandleA(nullptr), nullptr);
}

// Messages the owner got but the preview's requests, which come with every
// paint.
std::vector<Received> Requests() {
  std::vector<Received> requests;
  for (const Received& r : g_received) {
    if (r.message != kMsgPreviewOutput) requests.push_back(r);
  }
  return requests;
}

class PrintSettingsScreen : public SurveyDbTest {
 protected:
  void SetUp() override {
    SurveyDbTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    owner_ = MakeOwner();
    InitScreenEngine(owner_);
    if (!g_printSettingsWindow.window) RegisterPrintSettingsClass();
    ASSERT_NE(g_printSettingsWindow.window, nullptr);
    WriteSurvey(GenerateRecords(20, 5));
    ASSERT_EQ(LoadSurveyItems(), 0);
    ReloadTallyQuestions();
    g_received.clear();
    ForgetBoxes();
  }
  void TearDown() override {
    if (g_printSettingsWindow.slot >= 0)
      SendMessageA(g_printSettingsWindow.window, kMsgCloseWindow, 0, 0);
    if (owner_) DestroyWindow(owner_);
    SurveyDbTest::TearDown();
  }
  void Command(int code) { SendMessageA(g_printSettingsWindow.window, kMsgScreenCommand, code, 0); }
  void FieldLeft(int code) { SendMessageA(g_printSettingsWindow.window, WM_USER + 103, code, 0); }
  static std::string Text(const char* name) { return GetFieldTextPtr(name); }

  HWND owner_ = nullptr;
};

TEST_P(PrintSettingsScreen, GraphSettingsOpenFilledAndCloseSaved) {
  ASSERT_EQ(
      OpenPrintOptionsScreen(owner_, kPrintTypeChoiceGraph, 1, "帯グラフ", "EQPG06", "", "", 0), 0)
      << testing::PrintToString(Boxes());
  ASSERT_GE(g_printSettingsWindow.slot, 0);
  EXPECT_FALSE(IsWindowEnabled(owner_));
  EXPECT_EQ(GetFieldInt("NOTCH"), 9);
  EXPECT_EQ(GetFieldInt("LHIG"), 50);
  EXPECT_EQ(GetFieldInt("LPCH"), 14);
  EXPECT_EQ(GetFieldInt("GSPC"), 30);
  EXPECT_EQ(Text("YOSI"), "Ａ４縦");
  EXPECT_EQ(Text("印字項目"), "00");
  EXPECT_EQ(Text("件数％印字"), "11");
  EXPECT_EQ(Text("クロス設定"), "設問ごと");
  EXPECT_EQ(GetFieldState("SNO"), -1);  // no range on graphs
  EXPECT_EQ(g_printSettingsWindow.page.width, 1071);

  // Printing, the layout and the colours go to the owner.
  Command(112);
  Command(117);
  Command(118);
  EXPECT_EQ(Requests(), (std::vector<Received>{
                            {kMsgPrintOutput, 6}, {kMsgPrintOptions, 1}, {kMsgPrintOptions, 3}}));

  // Clearing both count boxes keeps the other one on.
  SetFieldText("件数％印字", "00");
  Command(206);
  EXPECT_EQ(g_printSettings.countPercent, "01");
  // The empty answers' box of graphs is position 5 of the printed items.
  SetFieldText("印字項目", "10");
  Command(205);
  EXPECT_EQ(g_printSettings.printItems, "000010");

  SetFieldText("YOSI", "Ａ４横");
  SetFieldInt("NOTCH", 11);
  g_received.clear();
  SendMessageA(g_printSettingsWindow.window, kMsgCloseWindow, 0, 0);
  EXPECT_EQ(g_printSettingsWindow.slot, -1);
  EXPECT_TRUE(IsWindowEnabled(owner_));
  EXPECT_EQ(Requests(), (std::vector<Received>{{kMsgWindowBack, 6}}));
  g_printSettings = PrintSettings();
  g_printSettings.printType = kPrintTypeChoiceGraph;
  ASSERT_EQ(LoadPrintTableSettings("EQPG06"), 0);
  ASSERT_EQ(LoadPrintFlags(), 0);
  EXPECT_EQ(g_printSettings.notch, 11);
  EXPECT_EQ(g_printSettings.countPercent, "01");
  EXPECT_EQ(g_printSettings.paper, "Ａ４横");
  EXPECT_EQ(g_printSettings.printItems, "000010");
  EXPECT_EQ(Boxes(), Texts{});
}

TEST_P(PrintSettingsScreen, ANewTallySettingLoadsItsOwnSettings) {
  ASSERT_EQ(OpenPrintOptionsScreen(owner_, kPrintTypeBarGraph, 1, "棒グラフ", "EQPG04", "", "", 0),
            0);
  SetFieldInt("NOTCH", 12);
  SetFieldText("クロス設定", "グループごと");
  FieldLeft(204);
  EXPECT_EQ(g_printSettings.code, "EQPG05");
  EXPECT_EQ(GetFieldInt("NOTCH"), 7);  // the new setting's own row
  EXPECT_EQ(Text("STTPAGE"), "1");
  Command(112);
  EXPECT_EQ(Requests(), (std::vector<Received>{{kMsgPrintOutput, 5}}));
  // The first setting kept what was typed before the change.
  g_printSettings = PrintSettings();
  g_printSettings.printType = kPrintTypeBarGraph;
  ASSERT_EQ(LoadPrintTableSettings("EQPG04"), 0);
  EXPECT_EQ(g_printSettings.notch, 12);
}

TEST_P(PrintSettingsScreen, TheTallyTablesScreenOffersItsOutputs) {
  ASSERT_EQ(OpenPrintOptionsScreen(owner_, kPrintTypeTally, 1, "集計表", "EQPG01", "", "", 0), 0);
  EXPECT_EQ(Text("印字項目"), "110000");
  EXPECT_EQ(GetFieldInt("百分率計算"), 2);
  EXPECT_EQ(Text("クロス設定"), "単純集計");
  Command(118);  // CSV output
  Command(119);  // the manual, which this build does not hold
  EXPECT_EQ(Requests(), (std::vector<Received>{{kMsgPrintOptions, 2}}));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].rfind("「操作説明書」は、このバージョンにはまだありません。", 0), 0u);
}

TEST_P(PrintSettingsScreen, APreviewTallyShowsItsPageRangeOnTheScreen) {
  ASSERT_EQ(OpenPrintOptionsScreen(owner_, kPrintTypeTally, 1, "集計表", "EQPG01", "", "", 0), 0);
  EXPECT_EQ(Text("PRNMSG01"), "");
  // What the owner does on 1129: the tally drawn on the screen's preview.
  ASSERT_EQ(RunTally(kReportPreview, kTallySimple), 0);
  EXPECT_EQ(g_reportOutput.previewWindow, g_printSettingsWindow.preview);
  EXPECT_EQ(Text("PRNMSG01"), "改頁する箇所を設定し");
  EXPECT_EQ(Text("PRNMSG02"), "てください。");
  EXPECT_EQ(Text("STTPAGE"), "1");
}

TEST_P(PrintSettingsScreen, AListsRangeMustNotRunBackwards) {
  const std::string path = PrintSettingsFilePath();
  DeleteFileA(path.c_str());
  ASSERT_EQ(
      BuildPrintSettingsScreen(owner_, kPrintTypeList, 0, "一覧表", "L00101", "0001", "0200", 0),
      0);
  EXPECT_EQ(Text("SNO"), "0001");
  EXPECT_EQ(Text("ENO"), "0200");
  EXPECT_EQ(GetFieldInt("LINE"), 50);
  SetFieldText("ENO", "0000");
  FieldLeft(0);
  EXPECT_EQ(Boxes(), Texts{"コード番号の設定(0001～0000)が間違っています。"});
  SetFieldText("ENO", "0100");
  SetFieldInt("LINE", 40);
  SendMessageA(g_printSettingsWindow.window, kMsgCloseWindow, 0, 0);
  g_printSettings = PrintSettings();
  FindPrintSettingsLine("L00101");
  EXPECT_EQ(g_printSettings.lines, 40);
  EXPECT_EQ(g_printSettings.endCode, "0100");
  DeleteFileA(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Drivers, PrintSettingsScreen, testing::Values(kDbKindFile), KindName);

}  // namespace
