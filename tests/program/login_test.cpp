// The login window: asked for before a command on a protected output
// database; logging in stores the login and runs the command, cancelling
// stores nothing and runs nothing.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"
#include "tests/support/window_picture.h"

namespace {

class Login : public ProgramAtMenuTest {
 protected:
  void SetUp() override {
    ProgramAtMenuTest::SetUp();
    if (HasFatalFailure()) return;
    SampleDefinition protectedSheet;
    protectedSheet.passwordSetting = 2;
    ChooseSample(protectedSheet);
    g_program.loginName = "earlier";
    g_program.loginPassword = "earlier-password";
  }

  // Opens the login window through the data-clearing command.
  int OpenLogin() {
    Command(kCmdClearData);
    return SlotOfNumber(kLoginScreen);
  }

  void Press(int code) {
    SendMessageA(FindWindowA("Pas", nullptr), kMsgScreenCommand, code, 0);
    RunPostedMessages();
  }

  std::string StoredPassword() {
    char server[128], user[128], password[128];
    GetDbConnectInfo(server, user, password);
    return password;
  }
};

TEST_F(Login, AFileDatabaseAsksForItsPasswordOnly) {
  const int slot = OpenLogin();
  ASSERT_GE(slot, 0);
  EXPECT_TRUE(VisibleWindows().count("Pas"));
  EXPECT_FALSE(IsWindowEnabled(g_program.mainWindow)) << "the menu waits";
  EXPECT_LT(ResolveFieldRef(slot, "ログイン名"), 0);
  EXPECT_GE(ResolveFieldRef(slot, "パスワード"), 0);
  RECT r;
  GetWindowRect(FindWindowA("Pas", nullptr), &r);
  EXPECT_EQ(r.bottom - r.top, 170);
  SetItemValueForCommand(slot, "パスワード", "secret");
  Press(112);
  EXPECT_EQ(g_program.loginPassword, "secret");
  EXPECT_EQ(g_program.loginName, "earlier") << "no name was asked for";
  EXPECT_EQ(StoredPassword(), "secret") << "handed to the database layer";
  EXPECT_FALSE(VisibleWindows().count("Pas"));
  EXPECT_TRUE(VisibleWindows().count("Clr")) << "the waiting command ran";
}

TEST_F(Login, CancelStoresNothingAndRunsNothing) {
  const int slot = OpenLogin();
  ASSERT_GE(slot, 0);
  SetItemValueForCommand(slot, "パスワード", "typed");
  Press(kKeyEscape);
  EXPECT_EQ(g_program.loginPassword, "earlier-password");
  EXPECT_FALSE(VisibleWindows().count("Pas"));
  EXPECT_FALSE(VisibleWindows().count("Clr"));
  EXPECT_TRUE(IsWindowEnabled(g_program.mainWindow));
  // The close box cancels too.
  ASSERT_GE(OpenLogin(), 0);
  SendMessageA(FindWindowA("Pas", nullptr), WM_CLOSE, 0, 0);
  RunPostedMessages();
  EXPECT_EQ(g_program.loginPassword, "earlier-password");
  EXPECT_FALSE(VisibleWindows().count("Clr"));
}

TEST_F(Login, EnterInThePasswordFieldLogsIn) {
  const int slot = OpenLogin();
  ASSERT_GE(slot, 0);
  SetItemValueForCommand(slot, "パスワード", "entered");
  g_screen.currentSlot = slot;
  g_screen.currentItem = ResolveFieldRef(slot, "パスワード");
  Press(VK_RETURN);
  EXPECT_EQ(g_program.loginPassword, "entered");
  EXPECT_TRUE(VisibleWindows().count("Clr"));
}

// The remembered password, in its field while the login name has the focus,
// is drawn as stars, as its edit control shows the one being typed.
TEST_F(Login, ARememberedPasswordIsDrawnAsStars) {
  g_output.dbKind = kDbKindServer;
  const auto drawn = [this](const std::string& password) {
    g_program.loginPassword = password;
    OpenLoginWindow(kCmdClearData);
    RunPostedMessages();
    const int slot = SlotOfNumber(kLoginScreen);
    std::vector<COLORREF> pixels;
    EXPECT_GE(slot, 0);
    if (slot < 0) return pixels;
    const HWND window = Slot(slot).window;
    EXPECT_EQ(g_screen.currentItem, ResolveFieldRef(slot, "ログイン名"))
        << "the login name has the focus";
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RunDisplayMessages();
    const ScreenItem& field = Item(ResolveFieldRef(slot, "パスワード"));
    const HDC dc = GetDC(window);
    for (int y = field.pixelY; y < field.pixelY + field.pixelHeight; ++y) {
      for (int x = field.pixelX; x < field.pixelX + field.pixelWidth; ++x) {
        pixels.push_back(GetPixel(dc, x, y));
      }
    }
    ReleaseDC(window, dc);
    Press(kKeyEscape);
    return pixels;
  };
  const std::vector<COLORREF> secret = drawn("secret");
  ASSERT_FALSE(secret.empty());
  EXPECT_TRUE(secret == drawn("******")) << "the password's characters are not drawn";
  EXPECT_FALSE(secret == drawn("")) << "its stars are";
  g_output.dbKind = kDbKindFile;
}

TEST_F(Login, AServerDatabaseAsksForNameAndPassword) {
  g_output.dbKind = kDbKindServer;
  OpenLoginWindow(kCmdClearData);
  RunPostedMessages();
  const int slot = SlotOfNumber(kLoginScreen);
  ASSERT_GE(slot, 0);
  EXPECT_EQ(Item(ResolveFieldRef(slot, "ログイン名")).displayText, "earlier") << "the stored login is shown";
  SetItemValueForCommand(slot, "ログイン名", "operator");
  SetItemValueForCommand(slot, "パスワード", "pw");
  RECT r;
  GetWindowRect(FindWindowA("Pas", nullptr), &r);
  EXPECT_EQ(r.bottom - r.top, 200);
  // The command does not run again here: the login is what is checked.
  g_output.dbKind = kDbKindFile;
  Press(112);
  EXPECT_EQ(g_program.loginName, "operator");
  EXPECT_EQ(g_program.loginPassword, "pw");
}

}  // namespace
