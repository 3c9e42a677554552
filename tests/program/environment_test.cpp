// What ties the program to its machine and its older files: the work
// folders of a start, the PDF reader of the manuals, and the upgrade of
// definition databases made by older versions.
#include <windows.h>
#include <commdlg.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"
#include "tests/support/test_pictures.h"

namespace {

using testing::ElementsAre;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class Environment : public ProgramAtMenuTest {
 protected:
  void SetUp() override {
    ProgramAtMenuTest::SetUp();
    if (HasFatalFailure()) return;
    ForgetBoxes();
  }
};

TEST_F(Environment, ANetworkStartCopiesTheProgramsFilesOnce) {
  // The station's folder of a start from a network folder, planned beside
  // the installation (its files are the source).
  const std::string station = folder() + "\\station";
  WorkFolders plan;
  plan.network = true;
  plan.work = station;
  plan.image = station + "\\image";
  plan.log = station + "\\log";
  CreateDirectoryA((folder() + "\\teigi").c_str(), nullptr);
  WriteInstallationFile("teigi\\Q1.MDB", "one");
  WriteInstallationFile("teigi\\Q2.MDB", "two");
  EXPECT_EQ(PrepareWorkFolders(plan, folder()), 2) << "the definitions copied";
  for (const char* sub : {"image", "log", "teigi", "join", "data", "fonts"}) {
    EXPECT_TRUE(Exists(station + "\\" + sub)) << sub;
  }
  for (const char* file : {"MUPADATA.SPC", "FSCRTBL3.SPC", "調査項目.SPC", "調査定義.SPC", "teigi\\Q1.MDB"}) {
    EXPECT_TRUE(Exists(station + "\\" + file)) << file;
  }
  // The next start finds the folder: nothing is copied over the station's
  // files, but every folder it works in is set and made again.
  WriteInstallationFile("teigi\\Q1.MDB", "changed");
  RemoveDirectoryA((station + "\\log").c_str());
  g_program.imageFolder.clear();
  EXPECT_EQ(PrepareWorkFolders(plan, folder()), 0);
  EXPECT_EQ(ReadBytes(station + "\\teigi\\Q1.MDB"), "one");
  EXPECT_TRUE(Exists(station + "\\log"));
  EXPECT_EQ(g_program.imageFolder, station + "\\image");
  EXPECT_EQ(g_program.logFolder, station + "\\log");
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

// A PDF reader in the program folders of drive C: of the Wine prefix.
class ReaderInstalled {
 public:
  explicit ReaderInstalled(const char* programs)
      : root_(std::string("C:\\") + programs + "\\Adobe"),
        path_(root_ + "\\Acrobat Reader DC\\Reader\\AcroRd32.exe") {
    EnsureDirectoryPath((root_ + "\\Acrobat Reader DC\\Reader").c_str());
    WriteBytes(path_, "MZ");
  }
  ~ReaderInstalled() {
    DeleteFileA(path_.c_str());
    RemoveDirectoryA((root_ + "\\Acrobat Reader DC\\Reader").c_str());
    RemoveDirectoryA((root_ + "\\Acrobat Reader DC").c_str());
    RemoveDirectoryA(root_.c_str());
  }
  const std::string& path() const { return path_; }

 private:
  std::string root_, path_;
};

std::string StoredReader() {
  const int t = OpenSettingsRow();
  const std::string path = t >= 0 ? GetColumnText(t, "LKPATH2") : "";
  if (t >= 0) db_close(t);
  return path;
}

void StoreReader(const std::string& path) {
  const int t = OpenSettingsRow();
  ASSERT_GE(t, 0);
  SetColumnText(t, "LKPATH2", path.c_str());
  ASSERT_EQ(db_update(t), 0);
  db_close(t);
}

// The manuals the reader is asked to open.
void PutManuals() {
  const std::string manuals = g_program.programFolder + "\\マニュアル";
  CreateDirectoryA(manuals.c_str(), nullptr);
  for (const char* name : {"操作説明書.PDF", "注意事項.PDF"}) ASSERT_TRUE(WriteBytes(manuals + "\\" + name, "%PDF"));
}

TEST_F(Environment, AManualThatIsNotThereIsSaidToBeMissing) {
  ProgramStartRecorder starts;
  EXPECT_EQ(OpenManualPdf("百分率算出.PDF"), -1);
  EXPECT_THAT(Boxes(), ElementsAre("「操作説明書」は、このバージョンにはまだありません。\n(" + g_program.programFolder +
                                   "\\マニュアル\\百分率算出.PDF)"));
  EXPECT_TRUE(starts.calls().empty()) << "no reader is started for it";
}

TEST_F(Environment, AReaderWhoseFolderWentIsSearchedAgainAndRemembered) {
  PutManuals();
  const ReaderInstalled reader("Program Files (x86)");
  StoreReader("C:\\Gone\\AcroRd32.exe");
  ProgramStartRecorder starts;
  EXPECT_EQ(OpenManualPdf("操作説明書.PDF"), 0);
  EXPECT_THAT(Boxes(), ElementsAre("フォルダ“C:\\Gone”は存在しません。他の「Adobe Reader」をサーチします。"));
  EXPECT_EQ(StoredReader(), reader.path());
  ASSERT_EQ(starts.calls().size(), 1u);
  EXPECT_EQ(starts.calls()[0].commandLine.rfind("\"" + reader.path() + "\" ", 0), 0u);
}

TEST_F(Environment, NoReaderSaysHowToGetOne) {
  PutManuals();
  ProgramStartRecorder starts;
  EXPECT_EQ(OpenManualPdf("注意事項.PDF"), -1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].rfind("「Adobe Reader」が見つかりません。", 0), 0u);
  EXPECT_TRUE(starts.calls().empty());
  EXPECT_EQ(StoredReader(), "");
}

TEST_F(Environment, AReaderThatDoesNotStartIsReported) {
  PutManuals();
  const ReaderInstalled reader("Program Files");
  ProgramStartRecorder starts(2);  // WinExec's "file not found"
  EXPECT_EQ(OpenManualPdf("操作説明書.PDF"), -1);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].rfind("「Adobe Reader」を起動できません。", 0), 0u);
}

TEST_F(Environment, TheHandwritingFontIsThere) {
  EXPECT_EQ(CheckHandwritingFont(), 0);
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

TEST_F(Environment, CtrlWithHelpChoosesTheReader) {
  const std::string chosen = folder() + "\\MyReader.exe";
  ModalDialogRecorder dialogs([&chosen](const ModalDialogCall& call) -> INT_PTR {
    auto* ofn = static_cast<OPENFILENAMEA*>(call.data);
    EXPECT_STREQ(ofn->lpstrTitle, "「Adobe Reader」選択");
    lstrcpynA(ofn->lpstrFile, chosen.c_str(), static_cast<int>(ofn->nMaxFile));
    return 1;
  });
  ProgramStartRecorder starts;
  g_screen.ctrlHeld = 1;
  g_screen.lastPopupChoice = 1;
  Command(kCmdHelp);
  g_screen.ctrlHeld = 0;
  EXPECT_THAT(dialogs.kinds(), ElementsAre("GetOpenFileName"));
  EXPECT_TRUE(starts.calls().empty()) << "whatever the help choice";
  EXPECT_EQ(StoredReader(), chosen);
  EXPECT_THAT(Boxes(), ElementsAre("「" + chosen + "」を設定しました。"));
}

// The definition made old: the columns of the later versions dropped.
void DropColumns(const std::string& folder, const char* table, const std::vector<const char*>& columns) {
  const int slot = db_alloc_slot((folder + "\\teigi").c_str(), "SAMPLE", table, kDbKindFile);
  ASSERT_GT(slot, 0);
  for (const char* column : columns) ASSERT_EQ(DropTableColumn(slot, column), 0) << column;
  db_disconnect(slot);
}

const std::vector<const char*> kLaterPaperColumns = {
    "認識エリア", "ＩＮＴ７", "ＩＮＴ８", "ＩＮＴ９", "ＦＥＰ起動", "タイムスタンプ", "日付項目名", "時刻項目名",
    "秒まで取得", "イメージ項目名", "イメージ名記録", "フォルダ名を含める", "プレプリント欄", "プレプリント",
    "補正Ｘエリア１", "補正Ｙエリア１", "補正Ｘエリア２", "補正Ｙエリア２", "左余白", "上余白", "比較イメージパス",
    "比較イメージフォルダ", "変換後イメージ形式", "変換済イメージフォルダ", "エラーイメージフォルダ",
    "比較用イメージ出力", "補正境界値", "不明瞭マーク境界値", "ＰＤＦ出力", "左側余白１", "上部余白１", "割合１",
    "左側余白２", "上部余白２", "割合２", "商品番号項目", "顧客番号項目", "一覧表項目種別", "カード項目種別"};

TEST_F(Environment, AnOldDefinitionGetsTheColumnsOfTheNewerVersions) {
  struct Case {
    int int3;             // ＩＮＴ３ before: 1 read by the frame
    int recognitionArea;  // 認識エリア after
    int int3After;
  };
  for (const Case& c : {Case{1, 4, 0}, Case{0, 1, 0}}) {
    SCOPED_TRACE(c.int3);
    ChooseSample();
    DropColumns(folder(), "MUPA_PAP", kLaterPaperColumns);
    DropColumns(folder(), "MUPA_FLD", {"行文字数", "印字開始番号"});
    const int t = db_alloc_slot((folder() + "\\teigi").c_str(), "SAMPLE", "MUPA_PAP", kDbKindFile);
    ASSERT_EQ(db_exec(t, ("update MUPA_PAP set ＩＮＴ３=" + std::to_string(c.int3) + ", 予備３=3").c_str()), 0);
    db_disconnect(t);
    ForgetBoxes();

    EXPECT_EQ(UpgradeSheetTables(), 0);
    EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
    const int paper = db_open((folder() + "\\teigi").c_str(), "SAMPLE", "MUPA_PAP", kDbKindFile, "MUPADATA",
                              "MUPA_PAP", "");
    ASSERT_GE(paper, 0);
    for (const char* column : kLaterPaperColumns) EXPECT_GE(FindDbColumnNumber(paper, column), 0) << column;
    ASSERT_EQ(db_toppos(paper, "ＯＣＲコード"), 0);
    EXPECT_EQ(GetColumnInt(paper, "認識エリア"), c.recognitionArea);
    EXPECT_EQ(GetColumnInt(paper, "ＩＮＴ３"), c.int3After);
    EXPECT_EQ(GetColumnInt(paper, "予備３"), 1) << "printed identification numbers are their own setting";
    EXPECT_EQ(GetColumnInt(paper, "プレプリント"), 1);
    // Upgraded once: a second run changes nothing.
    SetColumnInt(paper, "予備３", 3);
    ASSERT_EQ(db_update(paper), 0);
    db_close(paper);
    EXPECT_EQ(UpgradeSheetTables(), 0);
    const int again = db_open((folder() + "\\teigi").c_str(), "SAMPLE", "MUPA_PAP", kDbKindFile, "MUPADATA",
                              "MUPA_PAP", "");
    ASSERT_EQ(db_toppos(again, "ＯＣＲコード"), 0);
    EXPECT_EQ(GetColumnInt(again, "予備３"), 3);
    db_close(again);
    const int fields = db_alloc_slot((folder() + "\\teigi").c_str(), "SAMPLE", "MUPA_FLD", kDbKindFile);
    EXPECT_GE(FindDbColumnNumber(fields, "行文字数"), 0);
    EXPECT_GE(FindDbColumnNumber(fields, "印字開始番号"), 0);
    db_disconnect(fields);
    // The next case starts from a fresh definition.
    DeleteFileA((folder() + "\\teigi\\SAMPLE.mdb").c_str());
  }
}

TEST_F(Environment, OldSurveyTablesAreWidenedAndCompleted) {
  ChooseSample();
  DropColumns(folder(), "調査項目", {"改頁11", "改頁12", "改頁13", "改頁14", "印字11", "印字12", "印字13", "印字14",
                                    "選択肢２", "選択肢３"});
  const std::string teigi = folder() + "\\teigi";
  for (const auto& [table, column, length] :
       {std::make_tuple("調査項目", "カウントデータ", 200), std::make_tuple("調査定義", "調査名", 100)}) {
    const int slot = db_alloc_slot(teigi.c_str(), "SAMPLE", table, kDbKindFile);
    ASSERT_EQ(AlterTextColumnLength(slot, column, length), 0);
    db_disconnect(slot);
  }
  EXPECT_EQ(UpgradeSurveyItemTable(), 0);
  EXPECT_EQ(EnsureSurveyCountColumn(), 0);
  EXPECT_EQ(EnsureSurveyName(), 0);
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  const int items = db_open(teigi.c_str(), "SAMPLE", "調査項目", kDbKindFile, "調査項目", "調査項目", "");
  ASSERT_GE(items, 0);
  for (const char* column : {"改頁11", "印字14", "選択肢２", "選択肢３"}) {
    EXPECT_GE(FindDbColumnNumber(items, column), 0) << column;
  }
  EXPECT_EQ(GetColumnLength(items, "カウントデータ"), 255);
  db_close(items);
  const int survey = db_open(teigi.c_str(), "SAMPLE", "調査定義", kDbKindFile, "調査定義", "調査定義", "");
  ASSERT_GE(survey, 0);
  EXPECT_EQ(GetColumnLength(survey, "調査名"), 255);
  db_close(survey);
}

}  // namespace
