// The checks the menu commands make before they work on the current sheet
// definition, the choice of the definition file, the version check of the
// menu screen and the default place of the output database. Each check
// shows its one message (and the red guide arrow at the icon that mends
// the problem) and returns -1; the command then stops.
#include <windows.h>

#include <cstring>
#include <string>

#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"
#include "shell/shell.h"

namespace {

// The output database path of the first row of MUPA_PAP of the current
// definition (データベースＳ for the server, データベースＪ for the file
// database); "" when the table, its row or the path is missing. A new
// definition's file is made with the table, so that it can be designed.
std::string StoredOutputPath() {
  const int t = db_open(DefinitionFolder().c_str(), DefinitionName().c_str(), "MUPA_PAP",
                                 kDbKindFile, kSettingsSpec, "MUPA_PAP", "");
  if (t < 0) return "";
  std::string path;
  if (db_toppos(t, "ＯＣＲコード") == 0) {
    path = GetColumnText(t, g_output.dbKind == kDbKindServer ? "データベースＳ" : "データベースＪ");
  }
  db_close(t);
  return path;
}

bool SameFolder(const std::string& a, const std::string& b) {
  std::string x = a, y = b;
  while (!x.empty() && x.back() == '\\') x.pop_back();
  while (!y.empty() && y.back() == '\\') y.pop_back();
  return lstrcmpiA(x.c_str(), y.c_str()) == 0;
}

}  // namespace

int CheckDefinitionSelected() {
  if (DefinitionFolder().empty() || DefinitionName().empty()) {
    ShowGuideArrow("定義ガイド");
    ShowInfoMessage("", "処理を行う｢フォーマット定義ファイル｣が選択されていません。\n"
                        "赤矢印が示すアイコンを押して、ファイルを選択してください。");
    return -1;
  }
  // A missing folder is told before the file it would hold.
  if (FileExistsAlt(DefinitionFolder().c_str()) != 0) {
    ShowInfoMessage("", "シートフォーマット定義パス“%s”は、存在しません。\n"
                        "処理を行うフォーマット定義ファイルを選択してください。",
                    DefinitionFolder().c_str());
    return -1;
  }
  if (FileExists(DefinitionFilePath().c_str()) != 0) {
    ShowGuideArrow("定義ガイド");
    ShowInfoMessage("", "フォーマット定義ファイル“%s”は、存在しません。\n"
                        "赤矢印が示すアイコンを押して、ファイルを選択してください。",
                    DefinitionFilePath().c_str());
    return -1;
  }
  return 0;
}

int CheckSurveyData() {
  const int t = db_open_nocreate(DefinitionFolder().c_str(), DefinitionName().c_str(), "調査項目",
                                 kDbKindFile, "調査項目", "調査項目", "");
  const bool questions = t >= 0 && db_toppos(t, "質問コード") == 0;
  if (t >= 0) db_close(t);
  if (!questions) {
    ShowInfoMessage("", "“調査項目”（質問や選択肢等）が登録されていません。");
    return -1;
  }
  const std::string spec = g_program.workFolder + "\\" + g_output.table + ".spc";
  if (g_output.table.empty() || FileExists(spec.c_str()) != 0) {
    ShowInfoMessage("", "「回答データ」が作成されていません。\n先に、シートの読み取りを行ってください。");
    return -1;
  }
  return 0;
}

int CheckMenuScreenVersion() {
  const int t = db_open_nocreate("", kScreenDatabase, kScreenTable, g_screenDefs.screenDbKind,
                                 g_screenDefs.specFile.c_str(), "SCRTBL", "");
  std::string title;
  if (t >= 0) {
    if (db_search(t, kMenuScreen, "SCRNAME") == 0) title = GetColumnText(t, "SCRTITLE");
    db_close(t);
  }
  if (title == kProgramVersion) return 0;
  ShowInfoMessage("", "フォルダ“%s”内の“%s.MDB”が新しいバージョンに更新されていません。\n"
                      "“%s.MDB”を削除してから、もう一度、セットアップを行ってください。",
                  g_program.programFolder.c_str(), kScreenDatabase, kScreenDatabase);
  return -1;
}

int ChooseDefinitionFile() {
  const std::string standard = g_program.workFolder + "\\teigi";
  std::string initial = standard;
  if (FileExists((g_program.workFolder + "\\" + kDefinitionPathFile).c_str()) == 0 &&
      !DefinitionFolder().empty() && FileExistsAlt(DefinitionFolder().c_str()) == 0) {
    initial = DefinitionFolder();
  }
  // The dialog would open elsewhere (the program folder, where no
  // definition may be made) in a folder that is not there.
  if (initial == standard) EnsureDirectoryPath(standard.c_str());
  initial += "\\";
  const std::string title = "フォーマット定義ファイル選択【標準フォルダ：" + standard + "】";
  char file[256];
  if (!AskFileToOpen(title, "*.mdb", initial, file, sizeof file)) return -1;

  char folder[sizeof file], name[sizeof file];
  GetDirectoryPart(folder, file);
  GetFileBaseName(name, file);
  if (SameFolder(folder, g_program.workFolder)) {
    ShowInfoMessage("", "プログラムフォルダ“%s”に定義ファイルは作成できません。", folder);
    SetCurrentDefinition("", "");
    return -1;
  }
  SetCurrentDefinition(folder, name);
  const int result = StoredOutputPath().empty() ? 1 : 0;
  WriteDefinitionPath();
  ReadDefinitionPath();  // the title line; the guide arrow goes
  ShowInfoMessage("", "“%s”が選択されました。\n以降の処理は、このファイルの定義内容に基づいて行います。\n"
                      "また、シートの様式等が変更された場合、その内容はこのファイルに保存されます。",
                  name);
  return result;
}

int ResolveOutputDatabasePath(int slot, std::string* path) {
  bool made = false;
  *path = ResolveOutputPath(GetColumnText(slot, "データベースＪ"), g_program.workFolder, &made);
  return made ? 1 : 0;
}

int ProgramPathHasBlank() { return ContainsChar(g_program.programFolder.c_str(), ' ') ? 1 : 0; }
