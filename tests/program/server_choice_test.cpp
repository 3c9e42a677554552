// The database choice of the menu: chosen on its screen, kept in
// "server.dat" over a restart, and used by the database layer for the
// program's tables: the file database, or the PostgreSQL server of the run.
#include <windows.h>


#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/db.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/foundation/db_test_support.h"
#include "tests/program/program_fixture.h"
#include "tests/support/required_service.h"

namespace {

class ServerChoiceTest : public ProgramTest, public testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    if (server()) {
      if (!ReadRunServer(&server_)) {
        SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
      }
    }
    ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  }

  bool server() const { return GetParam() == kDbKindServer; }

  // Chooses on the server choice screen and leaves it as the user does.
  void Choose(int kind, const std::string& serverName) {
    Command(kCmdServerChoice);
    const int slot = SlotOfCode("SERV-SEL");
    ASSERT_GE(slot, 0);
    SetItemValueForCommand(slot, "ＤＢ種別", std::to_string(kind).c_str());
    SetItemValueForCommand(slot, "サーバー名", serverName.c_str());
    SelectWindowSlot(slot);
    SendKeyCommand(kKeyEscape);
    RunPostedMessages();
    ASSERT_LT(SlotOfCode("SERV-SEL"), 0) << "the screen closed";
  }

  std::string ShownValue(const char* field) {
    char value[128] = "";
    GetItemRawValue(SlotOfCode("SERV-SEL"), field, value);
    return value;
  }

  void Restart() {
    Command(kCmdQuit);
    EndProgram();
    ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  }

  RunServer server_;
};

TEST_P(ServerChoiceTest, TheChoiceIsKeptAndUsed) {
  const std::string name = server() ? server_.name : "";
  Choose(GetParam(), name);
  EXPECT_EQ(ReadInstallationFile("server.dat"), FormatServerList({GetParam(), name}));
  EXPECT_EQ(GetDefaultDbKind(), GetParam());
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());

  Restart();
  EXPECT_EQ(g_output.dbKind, GetParam()) << "read back at the next start";
  EXPECT_EQ(g_output.serverName, name);
  EXPECT_EQ(GetDefaultDbKind(), GetParam());
  // A table of the default kind goes where the choice says.
  SetDbLogin(server_.user.c_str(), server_.password.c_str());
  const int t = db_alloc_slot("", "sheetdesk", "SHELL_CHOICE", -1);
  ASSERT_GT(t, 0) << testing::PrintToString(Boxes());
  EXPECT_EQ(GetSlotKind(t), GetParam());
  db_disconnect(t);
  // The screen shows what was chosen.
  Command(kCmdServerChoice);
  EXPECT_EQ(ShownValue("ＤＢ種別"), std::to_string(GetParam()));
  EXPECT_EQ(ShownValue("サーバー名"), name);
}

TEST_P(ServerChoiceTest, BackToTheFileDatabase) {
  Choose(kDbKindServer, server() ? server_.name : "dbhost:5432");
  Choose(kDbKindFile, "");
  EXPECT_EQ(ReadInstallationFile("server.dat"), "1,\r\n");
  EXPECT_EQ(GetDefaultDbKind(), kDbKindFile);
}

INSTANTIATE_TEST_SUITE_P(Databases, ServerChoiceTest, testing::Values(kDbKindFile, kDbKindServer), KindName);

using ServerList = ProgramTest;

TEST_F(ServerList, AnOlderServerKindStillReachesTheServer) {
  // Kind 3 is "no database" to the layer: a server of older versions must
  // not silently store nothing.
  WriteInstallationFile("server.dat", "3,dbhost\r\n");
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  EXPECT_EQ(g_output.dbKind, kDbKindServer);
  EXPECT_EQ(GetDefaultDbKind(), kDbKindServer);
  EXPECT_STREQ(GetOcrIniSettings().serverName, "dbhost");
}

// A sheet whose settings name no database on the chosen server is sent to
// its settings, as one without its output table: its tables would otherwise
// be looked for in databases named after them.
TEST_F(ServerList, ASheetWithoutItsServerDatabaseIsSentToItsSettings) {
  WriteInstallationFile("server.dat", "2,dbhost:5432\r\n");
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  ChooseSample();
  ForgetBoxes();
  Command(kCmdOperation);
  EXPECT_THAT(Boxes(), testing::ElementsAre("赤矢印が示すアイコンを押して、読み取りを行うシートに関する定義 "
                                            "(「出力データベース名」等の設定) を行ってください。"));
  EXPECT_FALSE(IsWindowVisible(FindWindowA("KQE_READ", nullptr)));
}

// A sheet of the PostgreSQL server whose database is not named yet: the
// red arrow points at the icon where it is named. Started from the shipped
// settings, with the sheet designer installed or left out.
class ServerSheetArrow : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    if (HasFatalFailure()) return;
    if (!ReadRunServer(&server_))
      SKIP_WITHOUT_SERVICE("SHEETDESK_PG is not set: no PostgreSQL server for this run");
  }

  void StartAtMenu(bool designer) {
    SetSheetDesigner(designer);
    ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
    ChooseSample();
  }

  // The server chosen on the database choice, with no database named.
  void ChooseServer() {
    const int slot = OpenChoice();
    ASSERT_GE(slot, 0);
    ClickOn(Slot(slot).window, ChoiceCentre(slot, "ＤＢ種別", 1));
    EXPECT_EQ(FieldText(slot, "ＤＢ種別"), "2");
    TypeIntoField(slot, "サーバー名", server_.name);
    ClickItem(Slot(slot).window, "SETQUIT");
    ASSERT_LT(SlotOfCode("SERV-SEL"), 0);
  }

  // The reading icon refused with the arrow's message.
  void ExpectArrowMessage() {
    ForgetBoxes();
    ClickItem(Menu(), "READI");
    EXPECT_THAT(Boxes(),
                testing::ElementsAre("赤矢印が示すアイコンを押して、読み取りを行うシートに関する定義 "
                                     "(「出力データベース名」等の設定) を行ってください。"));
  }

  // The arrow stands on the row of the icon.
  void ExpectArrowBeside(const char* guide, const char* icon) {
    EXPECT_EQ(FieldText(g_mainWindow.slot, guide), "ARROW_U.BMP") << guide;
    const ScreenItem& arrow = Item(ResolveFieldRef(g_mainWindow.slot, guide));
    EXPECT_EQ(arrow.pixelY, Item(ResolveFieldRef(g_mainWindow.slot, icon)).pixelY) << icon;
  }

  HWND Menu() const { return g_program.mainWindow; }

  // Opens the database choice from its icon on the menu: its slot.
  int OpenChoice() {
    ClickItem(Menu(), "SERVERI");
    const int slot = SlotOfCode("SERV-SEL");
    EXPECT_GE(slot, 0) << testing::PrintToString(Boxes());
    return slot;
  }

  void TypeIntoField(int slot, const char* name, const std::string& text) {
    ClickOn(Slot(slot).window, CentreOf(slot, name));
    SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
    TypeInFocus(text);
  }

  RunServer server_;
};

// As shipped, the menu offers the sheet settings, where the output
// database is named: the arrow points at their icon.
TEST_F(ServerSheetArrow, WithTheDesignerTheArrowLeadsToTheSheetSettings) {
  StartAtMenu(true);
  ASSERT_EQ(GetOcrIniSettings().editorFlag, 1) << "the shipped settings offer the sheet designer";
  ChooseServer();
  ExpectArrowMessage();
  ExpectArrowBeside("ＤＢガイド", "SHEETSETI");
  EXPECT_EQ(FieldText(g_mainWindow.slot, "サーバーガイド"), "");
}

// Without the designer on the menu, the sheet's database on the server is
// named on the database choice: the arrow points at its icon, and the
// sheet's commands then work on that database.
TEST_F(ServerSheetArrow, WithoutTheDesignerTheArrowLeadsToTheChoiceThatNamesTheServersDatabase) {
  StartAtMenu(false);
  ChooseServer();
  ExpectArrowMessage();
  ExpectArrowBeside("サーバーガイド", "SERVERI");
  EXPECT_EQ(FieldText(g_mainWindow.slot, "ＤＢガイド"), "")
      << "not beside the sheet settings the menu does not offer";

  int slot = OpenChoice();
  ASSERT_GE(slot, 0);
  EXPECT_EQ(FieldText(slot, "ＤＢ種別"), "2");
  TypeIntoField(slot, "出力データベース名", server_.database);
  SavePictureOnRequest(Slot(slot).window, "server_choice_database");
  ClickItem(Slot(slot).window, "SETQUIT");
  EXPECT_EQ(FieldText(g_mainWindow.slot, "サーバーガイド"), "");

  // The sheet's commands go to the server's database, after its login.
  ForgetBoxes();
  ClickItem(Menu(), "READI");
  const int login = SlotOfNumber(kLoginScreen);
  ASSERT_GE(login, 0) << testing::PrintToString(Boxes());
  TypeIntoField(login, "ログイン名", server_.user);
  TypeIntoField(login, "パスワード", server_.password);
  PressKeyInFocus(VK_RETURN);
  EXPECT_EQ(g_output.database, server_.database);
  const HWND bench = FindWindowA("KQE_READ", nullptr);
  ASSERT_TRUE(IsWindowVisible(bench)) << testing::PrintToString(Boxes());
  char title[512] = "";
  GetWindowTextA(bench, title, sizeof title);
  EXPECT_THAT(title, testing::HasSubstr(server_.name + "：" + server_.database + "（PostgreSQL）"));
}

TEST_F(ServerList, NoFileIsTheFileDatabase) {
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen);
  EXPECT_EQ(g_output.dbKind, kDbKindFile);
  EXPECT_EQ(GetDefaultDbKind(), kDbKindFile);
}

}  // namespace
