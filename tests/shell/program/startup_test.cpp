// Start-up and shutdown of the program in the test's process.
#include <windows.h>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "foundation/image_cache.h"
#include "screen/screen.h"
#include "shell/program/program.h"
#include "shell/shell.h"
#include "tests/shell/program/program_fixture.h"
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

}  // namespace
