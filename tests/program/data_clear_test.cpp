// Clearing what the reading runs of a definition produced: the output
// table, the scanned and the area images and the run logs, each only when
// chosen and confirmed; a file that cannot be deleted is named and the
// clearing is not reported as done.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"

namespace {

using testing::ElementsAre;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class DataClear : public ProgramAtMenuTest {
 protected:
  void SetUp() override {
    ProgramAtMenuTest::SetUp();
    if (HasFatalFailure()) return;
    ChooseSample();
    g_output.folder = folder() + "\\data";
    g_output.database = "OCRDBS";
    g_output.table = "KAITO";
    g_output.dbKind = kDbKindFile;
    CreateDirectoryA(g_output.folder.c_str(), nullptr);
    LeaveRunFiles();
  }

  // The output table and the files a run left, made anew.
  void LeaveRunFiles() {
    const int t = db_alloc_slot(g_output.folder.c_str(), "OCRDBS", "KAITO", kDbKindFile);
    ASSERT_GT(t, 0);
    ExecSlotSql(t, "drop table KAITO", 1);
    ASSERT_EQ(db_exec(t, "create table KAITO (ID varchar(10))"), 0);
    db_disconnect(t);
    for (const std::string& file : Files()) WriteInstallationFile(file, "x");
    WriteInstallationFile("image\\keep.txt", "x");
    WriteInstallationFile("log\\OTHER_ERR.LOG", "x");
    ForgetBoxes();
  }

  // The files a reading run of SAMPLE left.
  static std::vector<std::string> Files() {
    return {"image\\SCAN_1.BMP",  "image\\CONV_1.BMP",  "data\\IMG_1_01.BMP",
            "log\\SAMPLE_ERR.LOG", "log\\SAMPLE_PUT.LOG", "log\\SAMPLE_HOS.LOG"};
  }

  bool TableExists() {
    const int t = db_open_nocreate(g_output.folder.c_str(), "OCRDBS", "KAITO", kDbKindFile, "", "", "");
    if (t < 0) return false;
    db_close(t);
    return true;
  }

  // Which of Files() are still there, as "1" and "0".
  std::string Remaining() {
    std::string left;
    for (const std::string& file : Files()) left += Exists(folder() + "\\" + file) ? '1' : '0';
    return left;
  }
};

TEST_F(DataClear, DeletesWhatWasChosen) {
  struct Case {
    const char* what;
    const char* flags;
    bool merged;
    bool tableLeft;
    const char* remaining;  // of Files()
  };
  const Case cases[] = {
      {"the default choice", "1011", false, false, "110000"},
      {"scanned images only", "0100", false, true, "001111"},
      {"area images only", "0010", false, true, "110111"},
      {"merged: both kinds of images by the second box", "0100", true, true, "110111"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LeaveRunFiles();
    g_output.cutImageSetting = c.merged ? 1 : 0;
    EXPECT_EQ(ClearReadData(DataClearTargetsFromFlags(c.flags, c.merged)), 0);
    EXPECT_EQ(TableExists(), c.tableLeft);
    EXPECT_EQ(Remaining(), c.remaining);
    EXPECT_TRUE(Exists(folder() + "\\image\\keep.txt"));
    EXPECT_TRUE(Exists(folder() + "\\log\\OTHER_ERR.LOG")) << "logs of other definitions stay";
    ASSERT_FALSE(Boxes().empty());
    EXPECT_EQ(Boxes().back(), "初期化処理が終了しました。");
  }
}

TEST_F(DataClear, AsksFirstListingTheTargets) {
  boxes().Answer(IDNO);
  EXPECT_EQ(ClearReadData(DataClearTargetsFromFlags("1111", false)), -1);
  EXPECT_THAT(Boxes(), ElementsAre("○読み取られた内容：テーブル“KAITO”\n"
                                   "○読み取りイメージ\n  (" + folder() + "\\image)\n"
                                   "○切り取りイメージ\n  (" + folder() + "\\data)\n"
                                   "○ログファイル\n        (" + folder() + "\\log)\n\n"
                                   "以上のファイルを初期化(削除)してもよろしいですか？"));
  EXPECT_TRUE(TableExists());
  EXPECT_EQ(Remaining(), "111111") << "declined: nothing deleted";
}

TEST_F(DataClear, NothingChosenDoesNothing) {
  EXPECT_EQ(ClearReadData(DataClearTargetsFromFlags("0000", false)), -1);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(Remaining(), "111111");
}

TEST_F(DataClear, AFileThatCannotBeDeletedIsNamedAndNothingIsReportedDone) {
  const std::string held = folder() + "\\data\\IMG_1_01.BMP";
  const HANDLE file = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const int rc = ClearReadData(DataClearTargetsFromFlags("0011", false));
  CloseHandle(file);
  EXPECT_EQ(rc, -1);
  ASSERT_EQ(Boxes().size(), 2u);
  EXPECT_EQ(Boxes()[1], "“" + held + "”を削除できません。\n初期化を中断しました。");
  EXPECT_EQ(Remaining(), "111111") << "the logs after it were left";
}

TEST_F(DataClear, TheWindowStartsWithTheDefaultChoiceAndClosesWhenDone) {
  OpenDataClearWindow(kDataClearScreen);
  RunPostedMessages();
  const int slot = SlotOfNumber(kDataClearScreen);
  ASSERT_GE(slot, 0);
  char flags[8] = "";
  GetItemValueForCommand(slot, "削除対象", flags);
  EXPECT_STREQ(flags, "1011");
  const HWND window = FindWindowA("Clr", nullptr);
  boxes().Answer(IDNO);
  SendMessageA(window, kMsgScreenCommand, 112, 0);
  EXPECT_TRUE(IsWindowVisible(window)) << "declined: the window stays";
  SendMessageA(window, kMsgScreenCommand, 112, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(Remaining(), "110000");
  EXPECT_TRUE(IsWindowEnabled(g_program.mainWindow));
}

}  // namespace
