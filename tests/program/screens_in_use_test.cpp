// The program's screens driven as a user drives them: keys posted to the
// window that has the focus (a key-down in one window, its key-up in the
// one that has the focus after it), clicks at the points of fields, and
// the message boxes through the test hook.
#include <windows.h>

#include <cstring>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/survey.h"
#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tests/program/program_fixture.h"

namespace {

class ScreensInUse : public ProgramAtMenuTest {
 protected:
  int OpenTallyMenu() {
    MakeAnsweredSample();
    Command(kCmdTally);
    return SlotOfCode("SPRN-MENU");
  }

  // Moves the focus to a field of a slot as the engine does for Tab.
  void FocusOn(int slot, const char* name) {
    SelectWindowSlot(slot);
    FocusField(name);
    RunPostedMessages();
  }
};

// The bar graph's stored settings, as the print tables hold them.
PrintSettings StoredBarSettings() {
  g_printSettings.printType = kPrintTypeBarGraph;
  LoadPrintTableSettings(TallyPrintCode(kPrintTypeBarGraph, 1).c_str());
  return g_printSettings;
}

TEST_F(ScreensInUse, PrintSettingsShowWhatIsStoredAndCloseWithoutLosingIt) {
  const int menu = OpenTallyMenu();
  ASSERT_GE(menu, 0) << testing::PrintToString(Boxes());
  const PrintSettings stored = StoredBarSettings();
  ASSERT_GT(stored.notch, 0);
  ASSERT_GT(stored.gapY, 0);

  for (const bool byKey : {true, false}) {
    SCOPED_TRACE(byKey ? "closed with Esc" : "closed with its button");
    SelectWindowSlot(menu);
    SendKeyCommand(4);  // 棒グラフ
    RunPostedMessages();
    const int prn = g_printSettingsWindow.slot;
    ASSERT_GE(prn, 0) << testing::PrintToString(Boxes());
    EXPECT_EQ(FieldText(prn, "NOTCH"), std::to_string(stored.notch));
    EXPECT_EQ(FieldText(prn, "LHIG"), std::to_string(stored.labelHeight));
    EXPECT_EQ(FieldText(prn, "LPCH"), std::to_string(stored.lineSpacing));
    EXPECT_EQ(FieldText(prn, "GSPC"), std::to_string(stored.gapY));
    EXPECT_EQ(FieldText(prn, "YOSI"), stored.paper);
    EXPECT_EQ(FieldText(menu, "NOTCH"), "") << "nothing is written into the menu behind";
    if (byKey) {
      PressKeyInFocus(VK_ESCAPE);
    } else {
      ClickOn(g_printSettingsWindow.window, CentreOf(prn, "P00"));
    }
    EXPECT_LT(g_printSettingsWindow.slot, 0) << "the screen closed";
    const PrintSettings after = StoredBarSettings();
    EXPECT_EQ(after.notch, stored.notch);
    EXPECT_EQ(after.labelHeight, stored.labelHeight);
    EXPECT_EQ(after.lineSpacing, stored.lineSpacing);
    EXPECT_EQ(after.gapY, stored.gapY);
    EXPECT_EQ(after.charSize, stored.charSize);
  }
}

TEST_F(ScreensInUse, ASettingTypedAndLeftIsStoredAndRedrawsThePreview) {
  const int menu = OpenTallyMenu();
  ASSERT_GE(menu, 0);
  const PrintSettings stored = StoredBarSettings();
  struct Case {
    const char* what;
    UINT leave;  // 0: the mouse clicks into the next field
  };
  for (const Case& c : {Case{"left by Tab", VK_TAB}, Case{"left by a click", 0}}) {
    SCOPED_TRACE(c.what);
    SelectWindowSlot(menu);
    SendKeyCommand(4);
    RunPostedMessages();
    const int prn = g_printSettingsWindow.slot;
    ASSERT_GE(prn, 0);
    FocusOn(prn, "GSPC");
    const int wanted = stored.gapY + (c.leave ? 5 : 7);
    TypeInFocus(std::to_string(wanted));
    g_reportOutput.previewWindow = nullptr;
    if (c.leave) {
      PressKeyInFocus(c.leave);
    } else {
      ClickOn(g_printSettingsWindow.window, CentreOf(prn, "TMGN"));
    }
    EXPECT_EQ(g_printSettings.gapY, wanted) << "committed as it was left";
    UpdateWindow(g_printSettingsWindow.preview);
    RunPostedMessages();
    EXPECT_EQ(g_reportOutput.previewWindow, g_printSettingsWindow.preview) << "the preview was drawn again";
    PressKeyInFocus(VK_ESCAPE);
    EXPECT_EQ(StoredBarSettings().gapY, wanted);
    EXPECT_EQ(g_printSettings.notch, stored.notch) << "the others kept";
  }
}

TEST_F(ScreensInUse, AKeyActsOnceInTheWindowThatTookItsKeyDown) {
  // Without a definition the reading button answers with a message.
  const int menu = g_mainWindow.slot;
  ClickOn(g_program.mainWindow, CentreOf(menu, "READ"));
  ASSERT_EQ(Boxes().size(), 1u);
  // The box took the key-down of the Enter that closed it; its key-up comes
  // to the menu, where it must not press the button again.
  PostMessageA(GetFocus(), WM_KEYUP, VK_RETURN, 0xC0000001);
  RunPostedMessages();
  EXPECT_EQ(Boxes().size(), 1u) << testing::PrintToString(Boxes());

  // Enter in the login opens the tally menu, and nothing of it.
  SampleDefinition guarded;
  guarded.passwordSetting = 2;
  MakeAnsweredSample(guarded);
  ForgetBoxes();
  ClickOn(g_program.mainWindow, CentreOf(menu, "TALLY"));
  const int login = SlotOfNumber(kLoginScreen);
  ASSERT_GE(login, 0) << testing::PrintToString(Boxes());
  ClickOn(FindWindowA("Pas", nullptr), CentreOf(login, "パスワード"));
  TypeInFocus("pw");
  PressKeyInFocus(VK_RETURN);
  EXPECT_EQ(g_program.loginPassword, "pw");
  EXPECT_GE(SlotOfCode("SPRN-MENU"), 0) << testing::PrintToString(Boxes());
  EXPECT_FALSE(VisibleWindows().count("Prn")) << "no output of the menu was asked for";
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

int CALLBACK CountFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  ++*reinterpret_cast<int*>(found);
  return 0;
}

std::string TitleOf(HWND window) {
  char title[128] = "";
  GetWindowTextA(window, title, sizeof title);
  return title;
}

TEST_F(ScreensInUse, WindowsAreTitledFitTheDisplayAndShowTheirFacts) {
  // The caption buttons of every window are drawn with Marlett's symbols.
  LOGFONTA marlett{};
  marlett.lfCharSet = DEFAULT_CHARSET;
  std::strcpy(marlett.lfFaceName, "Marlett");
  int families = 0;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &marlett, CountFamily, reinterpret_cast<LPARAM>(&families), 0);
  ReleaseDC(nullptr, screen);
  EXPECT_GT(families, 0) << "Wine's Marlett font is installed in the prefix";

  // The menu shows the folder the answers go to.
  SampleDefinition guarded;
  guarded.passwordSetting = 2;
  MakeAnsweredSample(guarded);
  EXPECT_EQ(FieldText(g_mainWindow.slot, "フォルダ名"), folder() + "\\data");

  Command(kCmdClearData);
  ASSERT_GE(SlotOfNumber(kLoginScreen), 0);
  EXPECT_EQ(TitleOf(FindWindowA("Pas", nullptr)), "ログイン");
  LogInIfAsked();
  ASSERT_GE(SlotOfNumber(kDataClearScreen), 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(TitleOf(FindWindowA("Clr", nullptr)), "データ初期化");
  PressKeyInFocus(VK_ESCAPE);

  // The print settings are cut to the display's work area.
  Command(kCmdTally);
  LogInIfAsked();
  const int menu = SlotOfCode("SPRN-MENU");
  ASSERT_GE(menu, 0) << testing::PrintToString(Boxes());
  SelectWindowSlot(menu);
  SendKeyCommand(4);  // 棒グラフ
  RunPostedMessages();
  ASSERT_GE(g_printSettingsWindow.slot, 0);
  RECT work, window;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(g_printSettingsWindow.window, &window);
  EXPECT_GE(window.top, work.top);
  EXPECT_LE(window.bottom, work.bottom);
  EXPECT_LE(window.right, work.right);
  PressKeyInFocus(VK_ESCAPE);

  Command(kCmdSurveyItems);
  LogInIfAsked();
  const int items = SlotOfCode("KOMK-INP2");
  ASSERT_GE(items, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(TitleOf(Slot(items).window), "調査項目の設定");
}

TEST_F(ScreensInUse, ButtonsOfTheTallyScreensOpenTheirScreens) {
  struct Case {
    int kind;            // the tally kind of the print settings; 0: the menu
    const char* button;
    const char* opened;  // the screen code, or the title of the settings
    int number;
  };
  const Case cases[] = {
      {0, "FREETEXT", "記述欄一覧（SAMPLE）", kPrintTypeImageList},
      {8, "COLSET", "GCOL-SET", 63},
      {10, "COLSET", "GCOL-SET2", 64},
      {8, "FLGSET", "SPRN-SET", 37},
      {1, "FLGSET", "SPRN-SET2", 37},
  };
  const int menu = OpenTallyMenu();
  ASSERT_GE(menu, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button + std::string(" of ") + std::to_string(c.kind));
    int slot = menu;
    if (c.kind) {
      SelectWindowSlot(menu);
      SendKeyCommand(c.kind);
      RunPostedMessages();
      slot = g_printSettingsWindow.slot;
    }
    ASSERT_GE(slot, 0);
    ForgetBoxes();
    ClickOn(Slot(slot).window, CentreOf(slot, c.button));
    EXPECT_THAT(Boxes(), testing::IsEmpty());
    if (!c.kind) {
      // The write-in list's settings in the tally menu's place.
      ASSERT_GE(g_printSettingsWindow.slot, 0);
      EXPECT_EQ(g_printSettingsWindow.printType, c.number);
      EXPECT_EQ(TitleOf(g_printSettingsWindow.window), c.opened);
      EXPECT_FALSE(IsWindowVisible(Slot(menu).window));
      PressKeyInFocus(VK_ESCAPE);
      EXPECT_TRUE(IsWindowVisible(Slot(menu).window)) << "back when the settings close";
      EXPECT_TRUE(IsWindowEnabled(Slot(menu).window));
      continue;
    }
    const int opened = SlotOfCode(c.opened);
    ASSERT_GE(opened, 0) << testing::PrintToString(Boxes());
    EXPECT_EQ(Slot(opened).screenNumber, c.number);
    SelectWindowSlot(opened);
    SendKeyCommand(kKeyEscape);
    RunPostedMessages();
    EXPECT_LT(SlotOfCode(c.opened), 0);
    ASSERT_GE(g_printSettingsWindow.slot, 0);
    SelectWindowSlot(g_printSettingsWindow.slot);
    SendKeyCommand(kKeyEscape);
    RunPostedMessages();
  }
}

// Pixels of ink a message box's font leaves of `text` inside the line the
// box measures for it.
int InkOfMessageLine(const char* text) {
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 400, 100);
  ReleaseDC(nullptr, screen);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT font = CreateFontIndirectA(&metrics.lfMessageFont);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all{0, 0, 400, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  RECT line{10, 10, 390, 10};
  DrawTextA(dc, text, -1, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  DrawTextA(dc, text, -1, &line, DT_SINGLELINE | DT_NOPREFIX);
  int ink = 0;
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 400; ++x) ink += GetPixel(dc, x, y) != RGB(255, 255, 255) ? 1 : 0;
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return ink;
}

TEST(MessageText, UnderscoresAndPathSeparatorsShowInMessageBoxes) {
  for (const char* text : {"_", "\\", ":"}) {
    SCOPED_TRACE(text);
    EXPECT_GT(InkOfMessageLine(text), 0);
  }
}

}  // namespace
