// The menu's commands reach their screens and windows, each after the
// checks it makes, with the message of a check that fails.
#include <windows.h>
#include <commdlg.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "designer/sheet_settings.h"
#include "designer/survey.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tally/tally.h"
#include "tests/program/program_fixture.h"

namespace {

using testing::ElementsAre;

class MenuCommands : public ProgramAtMenuTest {
 protected:
  std::string MenuValue(const char* field) {
    char value[256] = "";
    GetItemRawValue(g_mainWindow.slot, field, value);
    return value;
  }
};

TEST_F(MenuCommands, TheServerChoiceOpensInTheSetWindow) {
  Command(kCmdServerChoice);
  EXPECT_THAT(OpenScreens(), ElementsAre(std::string("KQQL-MENU@") + kMainClassName, "SERV-SEL@Sup"));
  EXPECT_TRUE(VisibleWindows().count("Sup"));
  const ScreenDataSet& set = Slot(SlotOfCode("SERV-SEL")).dataSet;
  EXPECT_EQ(set.folder, folder()) << "the settings database of the work folder";
  EXPECT_EQ(set.database, kSettingsDatabase);
  EXPECT_EQ(set.dbKind, kDbKindFile);
}

TEST_F(MenuCommands, ChoosingADefinitionRemembersIt) {
  {
    ASSERT_TRUE(MakeDefinition(folder(), SampleDefinition()));
  }
  const std::string chosen = folder() + "\\teigi\\SAMPLE.mdb";
  ModalDialogRecorder dialogs([&chosen](const ModalDialogCall& call) -> INT_PTR {
    auto* ofn = static_cast<OPENFILENAMEA*>(call.data);
    EXPECT_STREQ(ofn->lpstrFile, "*.mdb");
    lstrcpynA(ofn->lpstrFile, chosen.c_str(), static_cast<int>(ofn->nMaxFile));
    return 1;
  });
  Command(kCmdChooseDefinition);
  EXPECT_THAT(dialogs.kinds(), ElementsAre("GetOpenFileName"));
  EXPECT_EQ(ReadInstallationFile("ocrpath.dat"), folder() + "\\teigi,SAMPLE\r\n");
  EXPECT_EQ(DefinitionName(), "SAMPLE");
  char title[1024] = "";
  GetWindowTextA(g_program.mainWindow, title, sizeof title);
  EXPECT_EQ(std::string(title), CurrentTitleLine());
  ASSERT_EQ(Boxes().size(), 1u) << testing::PrintToString(Boxes());
  EXPECT_EQ(Boxes()[0].rfind("“SAMPLE”が選択されました。", 0), 0u) << Boxes()[0];
}

TEST_F(MenuCommands, ADefinitionInTheWorkFolderIsRefused) {
  ChooseSample();
  const std::string inWorkFolder = folder() + "\\SAMPLE.mdb";
  ModalDialogRecorder dialogs([&inWorkFolder](const ModalDialogCall& call) -> INT_PTR {
    auto* ofn = static_cast<OPENFILENAMEA*>(call.data);
    lstrcpynA(ofn->lpstrFile, inWorkFolder.c_str(), static_cast<int>(ofn->nMaxFile));
    return 1;
  });
  EXPECT_EQ(ChooseDefinitionFile(), -1);
  EXPECT_THAT(Boxes(), ElementsAre("プログラムフォルダ“" + folder() + "”に定義ファイルは作成できません。"));
  EXPECT_EQ(DefinitionName(), "") << "no definition is selected";
  EXPECT_EQ(DefinitionFolder(), "");
}

TEST_F(MenuCommands, ACommandWithoutADefinitionPointsAtItsIcon) {
  for (int code : {kCmdClearData, kCmdOperation}) {
    SCOPED_TRACE(code);
    ForgetBoxes();
    Command(code);
    EXPECT_THAT(Boxes(), ElementsAre("処理を行う｢フォーマット定義ファイル｣が選択されていません。\n"
                                     "赤矢印が示すアイコンを押して、ファイルを選択してください。"));
    EXPECT_EQ(MenuValue("定義ガイド"), kGuideArrow);
    EXPECT_THAT(OpenScreens(), ElementsAre(std::string("KQQL-MENU@") + kMainClassName));
  }
}

TEST_F(MenuCommands, DataClearingOpensForTheChosenDefinition) {
  ChooseSample();
  Command(kCmdClearData);
  EXPECT_TRUE(VisibleWindows().count("Clr")) << testing::PrintToString(Boxes());
  EXPECT_GE(SlotOfNumber(kDataClearScreen), 0);
  // The output database's folder was missing: made, with its message; its
  // default path was stored with the sheet.
  const std::string data = folder() + "\\data";
  EXPECT_THAT(Boxes(), ElementsAre("データベース・フォルダ“" + data + "”を作成します。"));
  EXPECT_EQ(FileExistsAlt(data.c_str()), 0);
  EXPECT_EQ(g_output.folder, data);
  EXPECT_EQ(g_output.database, "OCRDBS");
  EXPECT_EQ(g_output.table, "KAITO");
  const int t = db_open(DefinitionFolder().c_str(), DefinitionName().c_str(), "MUPA_PAP", kDbKindFile,
                        "MUPADATA", "MUPA_PAP", "");
  ASSERT_GE(t, 0);
  ASSERT_EQ(db_toppos(t, "ＯＣＲコード"), 0);
  // Kept as the whole path when the column holds it, else left to be made
  // again: either way it is the same file, wherever the installation lies.
  bool made = false;
  EXPECT_EQ(ResolveOutputPath(GetColumnText(t, "データベースＪ"), folder(), &made),
            data + "\\OCRDBS.MDB");
  EXPECT_EQ(GetColumnInt(t, "書込形式"), 1) << "made ready for reading";
  db_close(t);
}

TEST_F(MenuCommands, ASheetWithoutAnOutputTablePointsAtTheSheetSettings) {
  SampleDefinition definition;
  definition.outputTable = "";
  ChooseSample(definition);
  Command(kCmdClearData);
  EXPECT_THAT(Boxes(), ElementsAre("赤矢印が示すアイコンを押して、読み取りを行うシートに関する定義 "
                                   "(「出力データベース名」等の設定) を行ってください。"));
  EXPECT_EQ(MenuValue("ＤＢガイド"), kGuideArrow);
  EXPECT_FALSE(VisibleWindows().count("Clr"));
}

TEST_F(MenuCommands, OperationOpensTheWorkbenchInPlaceOfTheMenu) {
  ChooseSample();
  ForgetBoxes();
  Command(kCmdOperation);
  const std::set<std::string> shown = VisibleWindows();
  EXPECT_TRUE(shown.count("KQE_READ")) << testing::PrintToString(Boxes());
  EXPECT_FALSE(shown.count(kMainClassName)) << "the main window is hidden while the workbench is open";
  EXPECT_GE(SlotOfCode("PLN"), 0) << testing::PrintToString(OpenScreens());
  // Leaving the workbench brings the menu back.
  SendMessageA(FindWindowA("KQE_READ", nullptr), kMsgScreenCommand, kKeyEscape, 0);
  RunPostedMessages();
  EXPECT_FALSE(VisibleWindows().count("KQE_READ"));
  EXPECT_TRUE(IsWindowVisible(g_program.mainWindow));
  EXPECT_THAT(OpenScreens(), ElementsAre(std::string("KQQL-MENU@") + kMainClassName));
}

TEST_F(MenuCommands, OpeningASheetKeepsItsRegistrationMarks) {
  for (int mode : {0, 1, 2, 3}) {
    SCOPED_TRACE(mode);
    SampleDefinition definition;
    definition.name = "MARKS" + std::to_string(mode);
    definition.compensationMode = mode;
    ChooseSample(definition);
    Command(kCmdOperation);
    ASSERT_TRUE(VisibleWindows().count("KQE_READ")) << testing::PrintToString(Boxes());
    EXPECT_EQ(g_sheetSettings.compensationMode, mode) << "the workbench reads the sheet as stored";
    SendMessageA(FindWindowA("KQE_READ", nullptr), kMsgScreenCommand, kKeyEscape, 0);
    RunPostedMessages();
    const int t = db_open(DefinitionFolder().c_str(), DefinitionName().c_str(), "MUPA_PAP", kDbKindFile,
                          "MUPADATA", "MUPA_PAP", "");
    ASSERT_GE(t, 0);
    ASSERT_EQ(db_toppos(t, "ＯＣＲコード"), 0);
    EXPECT_EQ(GetColumnInt(t, "LINESTYLE"), mode);
    EXPECT_EQ(GetColumnInt(t, "書込形式"), 1) << "made ready for reading";
    db_close(t);
  }
}

// The menu as the user sees it: with the designer (as shipped) its two
// buttons open their screens; left out (CTREDT 0) they are greyed and a
// click does nothing.
class DesignerButtons : public ProgramTest {
 protected:
  static int ButtonState(const char* name) { return Item(ResolveFieldRef(g_mainWindow.slot, name)).state; }
  static constexpr const char* kButtons[] = {"SHEETSETI", "SHEETSET", "DESIGNI", "DESIGN"};
};

TEST_F(DesignerButtons, WithTheDesignerTheyOpenIt) {
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
  for (const char* name : kButtons) EXPECT_EQ(ButtonState(name), kItemEnabled) << name;
  ChooseSample();
  ClickItem(g_program.mainWindow, "SHEETSET");
  EXPECT_GE(SlotOfNumber(13), 0) << testing::PrintToString(Boxes());
}

// A new user's first steps: the file choice opens in the standard folder
// (made when missing), where the name of a new definition makes it, and
// the sheet settings open on it.
TEST_F(DesignerButtons, ANewDefinitionIsMadeWhereTheFileChoiceOpens) {
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
  ASSERT_EQ(GetFileAttributesA((folder() + "\\teigi").c_str()), INVALID_FILE_ATTRIBUTES) << "a fresh installation";
  std::string initial;
  ModalDialogRecorder dialogs([&initial](const ModalDialogCall& call) -> INT_PTR {
    auto* ofn = static_cast<OPENFILENAMEA*>(call.data);
    initial = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
    lstrcpynA(ofn->lpstrFile, (initial + "NEW.mdb").c_str(), static_cast<int>(ofn->nMaxFile));
    return 1;
  });
  Command(kCmdChooseDefinition);
  EXPECT_EQ(initial, folder() + "\\teigi\\");
  const DWORD attributes = GetFileAttributesA(initial.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
      << "the dialog opens in a folder that is there";
  EXPECT_EQ(DefinitionName(), "NEW");
  ForgetBoxes();
  Command(kCmdSheetSettings);
  EXPECT_GE(SlotOfNumber(13), 0) << testing::PrintToString(Boxes());
}

TEST_F(DesignerButtons, WithoutTheDesignerTheyAreGreyedAndTakeNoClick) {
  SetSheetDesigner(false);
  ASSERT_EQ(Start(), StartOutcome::kMenuOpen) << testing::PrintToString(Boxes());
  ChooseSample();
  ForgetBoxes();
  for (const char* name : kButtons) {
    EXPECT_EQ(ButtonState(name), kItemProtected) << name;
    ClickItem(g_program.mainWindow, name);
  }
  SavePictureOnRequest(g_program.mainWindow, "menu-without-designer");
  // Nor do their commands, however they come.
  for (int code : {kCmdDesign, kCmdSheetSettings}) Command(code);
  EXPECT_THAT(OpenScreens(), ElementsAre(std::string("KQQL-MENU@") + kMainClassName));
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

TEST_F(MenuCommands, HelpOpensTheManualInTheReader) {
  // A reader stored in the settings: a program file that exists.
  const std::string reader = folder() + "\\reader\\AcroRd32.exe";
  CreateDirectoryA((folder() + "\\reader").c_str(), nullptr);
  WriteInstallationFile("reader\\AcroRd32.exe", "MZ");
  const int t = OpenSettingsRow();
  ASSERT_GE(t, 0);
  SetColumnText(t, "LKPATH2", reader.c_str());
  ASSERT_EQ(db_update(t), 0);
  db_close(t);
  CreateDirectoryA((folder() + "\\マニュアル").c_str(), nullptr);
  WriteInstallationFile("マニュアル\\操作説明書.PDF", "%PDF");
  WriteInstallationFile("マニュアル\\注意事項.PDF", "%PDF");
  struct Case {
    int choice;
    const char* manual;
  };
  for (const Case& c : {Case{1, "操作説明書.PDF"}, Case{2, "注意事項.PDF"}}) {
    ProgramStartRecorder starts;
    g_screen.lastPopupChoice = c.choice;
    Command(kCmdHelp);
    ASSERT_EQ(starts.calls().size(), 1u);
    EXPECT_EQ(starts.calls()[0].commandLine,
              "\"" + reader + "\" \"" + folder() + "\\マニュアル\\" + c.manual + "\"");
    EXPECT_EQ(starts.calls()[0].show, static_cast<UINT>(SW_SHOWNORMAL));
  }
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
}

TEST_F(MenuCommands, TheAnswerListOpensFromTheDefinition) {
  ChooseSample();
  Command(kCmdSurveyData);
  EXPECT_EQ(Boxes().back(), "“調査項目”（質問や選択肢等）が登録されていません。");
  // The survey's questions, the description of the answers' table written
  // by the screen generation, and its answer list ("101", in the
  // definition's own screen tables).
  const std::string teigi = folder() + "\\teigi";
  AddQuestion();
  Command(kCmdSurveyData);
  EXPECT_EQ(Boxes().back(), "「回答データ」が作成されていません。\n先に、シートの読み取りを行ってください。");
  DescribeAnswers();
  const auto listText = [](const char* database) {
    return std::string("[screen]\nSCRCODE = 101\nSCRNAME = 101\nSCRTYPE = LIST\nSCRTBL = KAITO\nSCRDBS = ") +
           database + "\nSCRCSIZ = 8\nLINCNT = 5\nSCRNO = 92\n[field]\nFLDCODE = 001\nFLDNAME = ID\n"
           "FLDTITLE = ID\nFLDLST = \xe2\x97\x8b\nFLDSMSU = 10\nFLDX = 2\nFLDY = 3\n";
  };
  const std::string texts = folder() + "\\texts";
  CreateDirectoryA(texts.c_str(), nullptr);
  WriteInstallationFile("texts\\101.txt", listText("OCRDBS"));
  ASSERT_EQ(LoadScreenTexts(texts.c_str(), teigi.c_str(), "SAMPLE"), 1) << testing::PrintToString(Boxes());
  ForgetBoxes();
  Command(kCmdSurveyData);
  EXPECT_THAT(OpenScreens(), testing::Contains("101@Lst"));
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  EXPECT_EQ(Slot(SlotOfCode("101")).dataSet.folder, folder() + "\\data") << "the answers' own folder";
  SendMessageA(GetWorkWindow(WorkWindow::kList), kMsgCloseWindow, 0, 0);
  RunPostedMessages();
  // A list made for an output database the sheet no longer writes to.
  WriteInstallationFile("texts\\101.txt", listText("OLDDBS"));
  ASSERT_EQ(LoadScreenTexts(texts.c_str(), teigi.c_str(), "SAMPLE"), 1);
  Command(kCmdSurveyData);
  EXPECT_THAT(Boxes(), ElementsAre("データベース名が変更されています。[OLDDBS]→[OCRDBS]\n"
                                   "〔シート読取〕の〔一覧表形式画面〕を起動することでデータベースを更新します。"));
}

TEST_F(MenuCommands, TheSurveyItemsListTheDefinitionsQuestions) {
  ChooseSample();
  AddQuestion();
  Command(kCmdSurveyItems);
  EXPECT_THAT(OpenScreens(), testing::Contains("KOMK-INP2@Lst")) << testing::PrintToString(Boxes());
  const int slot = SlotOfCode("KOMK-INP2");
  ASSERT_GE(slot, 0);
  const ScreenDataSet& set = Slot(slot).dataSet;
  EXPECT_EQ(set.folder, folder() + "\\teigi");
  EXPECT_EQ(set.database, "SAMPLE");
  EXPECT_EQ(set.table, "調査項目");
  EXPECT_EQ(g_survey.dataFolder, folder() + "\\data") << "the survey reads the sheet's output database";
  EXPECT_EQ(g_survey.outputTable, "KAITO");
}

TEST_F(MenuCommands, TalliesOpenTheirMenuOnceAnswersAreStored) {
  ChooseSample();
  AddQuestion();
  DescribeAnswers();
  Command(kCmdTally);
  EXPECT_EQ(Boxes().back(), "集計・印刷を行うデータがありません。");
  EXPECT_LT(SlotOfCode("SPRN-MENU"), 0);

  StoreAnswer();
  ForgetBoxes();
  Command(kCmdTally);
  EXPECT_THAT(OpenScreens(), testing::Contains("SPRN-MENU@Men"));
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());
  EXPECT_EQ(g_survey.questionCount, 1);
  EXPECT_EQ(g_survey.keyColumn, "ID");
  EXPECT_EQ(g_survey.columnNames, "ID,Q1,(20)");

  // A button of the menu opens the print settings of its output, asked of
  // the main window.
  const int menu = SlotOfCode("SPRN-MENU");
  ASSERT_GE(menu, 0);
  SelectWindowSlot(menu);
  SendKeyCommand(4);
  RunPostedMessages();
  EXPECT_TRUE(VisibleWindows().count("Prn")) << testing::PrintToString(Boxes());
  EXPECT_EQ(g_printSettingsWindow.printType, kPrintTypeBarGraph);
  EXPECT_EQ(g_printSettingsWindow.owner, g_program.mainWindow);
  EXPECT_EQ(g_mainWindow.tallyKind, 4);
  // The main window drew the page on the preview once it was painted, and
  // drawing it asked for no further drawing.
  EXPECT_EQ(g_reportOutput.previewWindow, g_printSettingsWindow.preview);
  UpdateWindow(g_printSettingsWindow.window);
  MSG pending;
  EXPECT_FALSE(PeekMessageA(&pending, nullptr, kMsgPreviewOutput, kMsgPreviewOutput, PM_NOREMOVE));
}

TEST_F(MenuCommands, QuitEndsTheProgram) {
  EXPECT_TRUE(Command(kCmdQuit)) << "the loop ends";
  EXPECT_FALSE(IsWindow(g_program.mainWindow));
}

}  // namespace
