// The tally written to a CSV file as a user asks for it: F7 on the print
// settings of the simple tally opens the CSV dialog over them, the file
// name is typed into it and Run pressed; the questions are answered
// through the message-box hook. A missing name or folder and a No keep the
// dialog open; the file is written only after every Yes, and the name
// typed is offered again the next time.
#include <windows.h>

#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/designer.h"
#include "foundation/files.h"
#include "foundation/spc_file.h"
#include "program/program.h"
#include "screen/screen.h"
#include "tally/tally.h"
#include "tests/program/program_fixture.h"
#include "tests/support/test_pictures.h"
#include "tests/support/window_picture.h"

namespace {

using testing::ElementsAre;

// Run in the test program's installation and in one deep below its drive.
class TallyCsv : public ProgramAtMenuTest, public testing::WithParamInterface<bool> {
 protected:
  std::string InstallationFolder() const override {
    return GetParam() ? DeepInstallationFolder() : ProgramAtMenuTest::InstallationFolder();
  }

  void SetUp() override {
    ProgramAtMenuTest::SetUp();
    if (HasFatalFailure()) return;
    // One question (はい, いいえ) and one answer はい to tally.
    MakeAnsweredSample();
    if (HasFatalFailure()) return;
    Command(kCmdTally);
    LogInIfAsked();
    const int menu = SlotOfCode("SPRN-MENU");
    ASSERT_GE(menu, 0) << testing::PrintToString(Boxes());
    ClickItem(Slot(menu).window, "SIMPLE");
    settings_ = FindWindowA("Prn", nullptr);
    ASSERT_TRUE(IsWindowVisible(settings_)) << testing::PrintToString(Boxes());
    ForgetBoxes();
  }

  static HWND Dialog() { return FindWindowA("CsvInp", nullptr); }
  static std::string DialogTitle() {
    char title[64] = "";
    GetWindowTextA(Dialog(), title, sizeof title);
    return title;
  }
  static bool DialogOpen() { return IsWindowVisible(Dialog()) != 0; }

  // F7 on the print settings: the CSV dialog, open over them.
  void OpenDialog() {
    SetForegroundWindow(settings_);
    SetFocus(settings_);
    PressKeyInFocus(VK_F7);
    ASSERT_TRUE(DialogOpen()) << testing::PrintToString(Boxes());
    EXPECT_FALSE(IsWindowEnabled(settings_)) << "the print settings wait for the dialog";
  }

  // Types over the file name and presses Run, the boxes answered in turn.
  void Run(const std::string& name, std::initializer_list<int> answers = {}) {
    const int slot = CsvQuestionDialogSlot();
    ASSERT_GE(slot, 0);
    ClickOn(Dialog(), CentreOf(slot, "TXTFILE"));
    SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
    PressKeyInFocus(VK_DELETE);
    TypeInFocus(name);
    for (int answer : answers) boxes().Answer(answer);
    ClickItem(Dialog(), "F01");
    RunPostedMessages();
  }

  static std::string Read(const std::string& path) {
    std::string text;
    ReadWholeFile(path.c_str(), text);
    return text;
  }

  HWND settings_ = nullptr;
};

// The simple tally of the one answer: the question's text (the sample's is
// empty), the choices with the row total, the counts and the percentages
// of the checks.
constexpr char kWritten[] = "\r\nはい,いいえ,合　計\r\n1,0,1\r\n100.0,0.0,100.0\r\n\r\n\r\n";

TEST_P(TallyCsv, TheDialogAsksForANameAnExistingFolderAndConsentBeforeWriting) {
  const std::string file = folder() + "\\集計.csv";
  OpenDialog();
  EXPECT_EQ(DialogTitle(), "ＣＳＶファイル出力");
  EXPECT_EQ(FieldText(CsvQuestionDialogSlot(), "TXTFILE"), folder() + "\\data\\KAITO.CSV")
      << "the first time, the output table's name in the program's data folder";
  SavePictureOnRequest(Dialog(), "tally_csv_dialog");

  Run("");
  EXPECT_THAT(Boxes(), ElementsAre("「ＣＳＶファイル名」が入力されていません。"));
  ForgetBoxes();
  Run(folder() + "\\nowhere\\集計.csv");
  EXPECT_THAT(Boxes(), ElementsAre("フォルダ“" + folder() + "\\nowhere”は、存在しません。"));
  ForgetBoxes();
  Run(file, {IDNO});
  EXPECT_THAT(Boxes(), ElementsAre("集計表の内容をＣＳＶファイル“" + file + "”に出力します。"));
  EXPECT_TRUE(DialogOpen()) << "a No leaves the name to be changed";
  EXPECT_NE(FileExists(file.c_str()), 0);
  ForgetBoxes();

  Run(file, {IDYES});
  EXPECT_THAT(Boxes(), ElementsAre("集計表の内容をＣＳＶファイル“" + file + "”に出力します。",
                                   "ＣＳＶファイル“" + file + "”に出力しました。"));
  EXPECT_FALSE(DialogOpen());
  EXPECT_TRUE(IsWindowEnabled(settings_));
  EXPECT_EQ(Read(file), kWritten);
  ForgetBoxes();

  // Again: the name is offered as it was kept; the file there is replaced
  // only after the second Yes.
  ASSERT_TRUE(WriteBytes(file, "kept"));
  OpenDialog();
  EXPECT_EQ(FieldText(CsvQuestionDialogSlot(), "TXTFILE"), file);
  boxes().Answer(IDYES);
  boxes().Answer(IDNO);
  ClickItem(Dialog(), "F01");
  EXPECT_THAT(Boxes(), ElementsAre("集計表の内容をＣＳＶファイル“" + file + "”に出力します。",
                                   "ＣＳＶファイル“" + file + "”は既に存在します。\n上書きしてもよろしいですか？"));
  EXPECT_TRUE(DialogOpen());
  EXPECT_EQ(Read(file), "kept");
  ForgetBoxes();
  boxes().Answer(IDYES);
  boxes().Answer(IDYES);
  ClickItem(Dialog(), "F01");
  RunPostedMessages();
  EXPECT_EQ(Boxes().size(), 3u) << testing::PrintToString(Boxes());
  EXPECT_FALSE(DialogOpen());
  EXPECT_EQ(Read(file), kWritten);

  // Esc closes the dialog without writing; the print settings go on.
  ASSERT_TRUE(DeleteFileA(file.c_str()));
  OpenDialog();
  PressKeyInFocus(VK_ESCAPE);
  EXPECT_FALSE(DialogOpen());
  EXPECT_TRUE(IsWindowEnabled(settings_));
  EXPECT_NE(FileExists(file.c_str()), 0);
  EXPECT_TRUE(IsWindowVisible(settings_));
}

INSTANTIATE_TEST_SUITE_P(Installations, TallyCsv, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "Deep" : "Shallow";
                         });

}  // namespace
