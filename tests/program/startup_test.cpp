// Start-up and shutdown of the program in the test's process.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/image_cache.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"
#include "tests/support/memory_canvas.h"

namespace {

using Startup = ProgramTest;

TEST_F(Startup, OpensTheMenuInTheMainWindow) {
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  EXPECT_EQ(OpenScreens(), std::vector<std::string>{std::string("KQQL-MENU@") + kMainClassName});
  EXPECT_TRUE(IsWindowVisible(g_program.mainWindow));
  char title[128] = "";
  GetWindowTextA(g_program.mainWindow, title, sizeof title);
  EXPECT_STREQ(title, "KQﾏｰｸｱﾝｹｰﾄ 14.5 ");
  EXPECT_EQ(g_mainWindow.slot, 0);
  EXPECT_EQ(g_mainWindow.initialised, 1);

  // What the window shows: the menu painted on its light grey.
  RECT client;
  GetClientRect(g_program.mainWindow, &client);
  RedrawWindow(g_program.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  MemoryCanvas canvas(client.right, client.bottom);
  const HDC window = GetDC(g_program.mainWindow);
  BitBlt(canvas.dc(), 0, 0, client.right, client.bottom, window, 0, 0, SRCCOPY);
  ReleaseDC(g_program.mainWindow, window);
  EXPECT_GT(canvas.CountColor(0, 0, client.right, 60, RGB(0, 0, 0)), 200) << "the title band";
}

TEST_F(Startup, CreatesEveryWorkWindowHidden) {
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  ASSERT_EQ(g_workWindows.size(), WorkWindowDestroyOrder().size());
  for (const WorkWindowEntry& entry : g_workWindows) {
    SCOPED_TRACE(entry.className);
    ASSERT_NE(entry.window, nullptr);
    char name[64] = "";
    GetClassNameA(entry.window, name, sizeof name);
    EXPECT_STREQ(name, entry.className);
    // Hidden, or (the candidate list, a child of the main window) of no size.
    RECT r{};
    GetWindowRect(entry.window, &r);
    EXPECT_TRUE(!IsWindowVisible(entry.window) || IsRectEmpty(&r)) << entry.className;
  }
  for (const char* name : {"Pas", "Clr"}) EXPECT_NE(FindWindowA(name, nullptr), nullptr) << name;
  EXPECT_EQ(g_program.derivedKind, 3);
  EXPECT_EQ(g_program.workFolder, folder());
  EXPECT_EQ(g_program.imageFolder, folder() + "\\image");
  EXPECT_EQ(g_program.logFolder, folder() + "\\log");
  for (const char* sub : {"\\image", "\\log"}) {
    EXPECT_NE(GetFileAttributesA((folder() + sub).c_str()), INVALID_FILE_ATTRIBUTES) << sub;
  }
  EXPECT_STREQ(GetSpecFolder(), folder().c_str());
  // Named after the program file, in the program folder.
  EXPECT_EQ(g_program.memFileName, folder() + "\\shell_program_test.MEM");
}

TEST_F(Startup, ASecondCopyIsRefused) {
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  const HWND first = g_program.mainWindow;
  ForgetBoxes();
  EXPECT_EQ(StartProgram(GetModuleHandleA(nullptr), nullptr, ""), StartOutcome::kNotStarted);
  EXPECT_THAT(Boxes(), testing::ElementsAre("KQﾏｰｸｱﾝｹｰﾄ は稼働中です。"));
  EXPECT_TRUE(IsWindow(first)) << "the running copy goes on";
  g_program.mainWindow = first;  // the refused start reset the values it keeps
}

// The input method's window stays with the thread once a field opened it
// (Windows' "IME", Wine's "WineX11IME"): it is not the program's.
BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (lstrcmpiA(name, "IME") != 0 && lstrcmpiA(name, "WineX11IME") != 0) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

TEST_F(Startup, ShutdownLeavesNoWindowSlotOrImage) {
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  Command(kCmdServerChoice);
  ASSERT_NE(LoadImageCached("QUIT_S.BMP"), nullptr);
  ASSERT_GE(OpenSettingsRow(), 1) << "a table slot left open";
  ForgetBoxes();
  EXPECT_TRUE(Command(kCmdQuit));
  EndProgram();
  started_ = false;
  // Freeing an image after the imaging libraries went would have shown
  // "削除エラー": the images went first.
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  int windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
  EXPECT_EQ(windows, 0);
  for (int s = 0; s < kWindowSlotCount; ++s) EXPECT_EQ(Slot(s).state, kFreeSlotState) << s;
  for (int t = 1; t <= kMaxTableSlots; ++t) EXPECT_LE(GetSlotConnState(t), 0) << t;
  for (const ImageCacheEntry& entry : g_imageCache) EXPECT_EQ(entry.image, nullptr) << entry.fileName;
}

TEST_F(Startup, AProgramFolderWithABlankIsRefused) {
  // An installation whose folder holds a blank: the menu says why and the
  // program ends.
  const std::string spaced = folder() + " x";
  ASSERT_TRUE(MakeInstallation(spaced));
  SetCurrentDirectoryA(spaced.c_str());
  const StartOutcome outcome = StartProgram(GetModuleHandleA(nullptr), nullptr, "");
  started_ = outcome != StartOutcome::kNotStarted;
  EXPECT_EQ(outcome, StartOutcome::kMenuOpen);
  EXPECT_TRUE(RunPostedMessages()) << "the program ends";
  EXPECT_FALSE(IsWindow(g_program.mainWindow));
  ASSERT_FALSE(Boxes().empty());
  EXPECT_EQ(Boxes().back().rfind("このプログラムは“" + spaced + "”のように空白を含むパス(フォルダ)では、", 0), 0u)
      << Boxes().back();
}

}  // namespace
