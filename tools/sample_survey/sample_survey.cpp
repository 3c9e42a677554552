// The sample survey: its sheet, its sheets filled by hand, and the files
// that put them in front of a newcomer. The definition is written through
// the sheet generator's rows, the survey by the survey transfer and the
// output table's description by the entry screens' writer: what the
// designer, the survey items screen and the screen-set window would store.
#include "tools/sample_survey/sample_survey.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "designer/sheet_settings.h"
#include "designer/survey.h"
#include "designer/survey_transfer.h"
#include "entry/entry.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/ocr_ini.h"
#include "reading/reading.h"
#include "screen/screen.h"
#include "shell/shell_text.h"
#include "tools/sheetgen/page_reader.h"
#include "tools/sheetgen/sheet_definition_db.h"

namespace {

constexpr char kSurveyName[] = "サンプル調査";
// The output database, SAMPLE.mdb, lies in the database folder of the
// installation: where the reading run writes its records (the path is
// stored whole) and where the generated entry screens open them.
constexpr char kOutputDatabase[] = "SAMPLE";
// The bytes the definition keeps of the output database's path.
constexpr std::size_t kOutputPathColumnBytes = 128;

// A check field of the sample: its choices printed beside the boxes.
SheetFieldRow Question(const char* code, const char* name, const char* title, int y,
                       const char* choices, int boxes, int most) {
  SheetFieldRow row = CountedCheckFieldRow(code, name, 320, y, boxes, most);
  row.title = title;
  row.overlay = choices;
  row.shape = "→";
  return row;
}

int Fail(std::string* why, const std::string& what) {
  *why = what;
  return -1;
}

}  // namespace

SheetDefinition SampleSurveySheet() {
  SheetDefinition d = NumberedKeySheet(kSurveyName, kSampleOutputTable);
  d.papers[0].noiseSize = 2;
  d.fields[0].title = "No.";
  d.fields.push_back(Question("0002", "Q1", "性別", 320, "男性,女性", 2, 1));
  d.fields.push_back(
      Question("0003", "Q2", "年代", 400, "10代,20代,30代,40代,50代,60代以上", 6, 1));
  d.fields.push_back(
      Question("0004", "Q3", "満足度", 480, "満足,やや満足,普通,やや不満,不満", 5, 1));
  d.fields.push_back(Question("0005", "Q4", "よく使う機能（いくつでも）", 560,
                              "読取,修正,集計,グラフ,印刷,CSV", 6, 6));
  SheetFieldRow age = WriteInFieldRow("0006", "AGE", 320, 660, 2);
  age.title = "年齢";
  age.edit = "右詰";
  d.fields.push_back(age);
  SheetKeyRow key;
  key.name = "ID";
  key.title = "No.";
  key.width = 4;
  d.keys.push_back(key);
  for (const int dpi : {200, 300, 400}) d.marks.push_back(RegisteredMarkRow(d, "0001", dpi));
  return d;
}

uint32_t SampleSurveyPageSeed(int index) {
  // Consecutive seeds walk one stream a draw apart: page k + 1 would repeat
  // page k one draw later. Each page's seed is the number's hash instead.
  uint64_t z = 1000u + static_cast<uint64_t>(index) * 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return static_cast<uint32_t>((z ^ (z >> 31)) >> 32);
}

SheetRequest SampleSurveyPage(int index) {
  SheetRequest request;
  request.dpi = kSampleDpi;
  request.seed = SampleSurveyPageSeed(index);
  SheetRandom random(request.seed);
  const int age = 18 + random.Below(62);
  const int group = std::min(5, age / 10 - 1);
  const int satisfaction = random.Below(5);
  std::vector<int> uses;
  for (int box = 0; box < 6; ++box) {
    if (random.Chance(0.35)) uses.push_back(box);
  }
  // Some sheets need an operator: a question left out, two marks where one
  // is asked for, a light pen.
  const bool noSex = index == 9;
  const bool twoMarks = index % 7 == 3;
  const PenStroke stroke = index % 5 == 2 ? PenStroke::kCircle : PenStroke::kScribble;
  request.fills = {
      {"Q1", noSex ? std::vector<int>{} : std::vector<int>{random.Below(2)}, stroke},
      {"Q2", {group}, stroke},
      {"Q3", twoMarks ? std::vector<int>{satisfaction, (satisfaction + 2) % 5} : std::vector<int>{satisfaction},
       stroke},
      {"Q4", uses, PenStroke::kScribble},
  };
  request.writings = {{"AGE", std::to_string(age)}};
  request.ink = index == 12 ? Ink::kLight : Ink::kNormal;
  request.scan = RandomDegradation(random);
  return request;
}

namespace {

// The definition, its survey and its output table's description. 0, or -1
// (`why` says which step failed).
int MakeSampleDefinition(const std::string& installation, const std::string& folder,
                         const SheetDefinition& definition, std::string* why) {
  if (WriteSheetDefinition(folder.c_str(), kSampleDefinition, definition) != 0) {
    return Fail(why, "the sheet definition cannot be written");
  }
  // What the generator's rows leave out: the output database, and the
  // titles shown left of the fields as the designer shows those it makes.
  // An installation too deep for the path to fit the definition's column
  // names the database alone, which the program finds in its data folder.
  const int paper = db_alloc_slot(folder.c_str(), kSampleDefinition, "MUPA_PAP", kDbKindFile);
  if (paper <= 0) return Fail(why, "MUPA_PAP cannot be opened");
  const std::string name = std::string(kOutputDatabase) + ".MDB";
  std::string stored = installation + "\\" + name;
  if (stored.size() > kOutputPathColumnBytes) stored = name;
  bool madeDefault = false;
  std::string outputFolder = ResolveOutputPath(stored, installation, &madeDefault);
  outputFolder.resize(outputFolder.size() - name.size() - 1);
  if (EnsureDirectoryPath(outputFolder.c_str()) != 0) return Fail(why, outputFolder + " cannot be made");
  const std::string output = "update MUPA_PAP set データベースＪ=" + SqlLiteral(stored.c_str());
  const char* titles = "update MUPA_FLD set サイズ=7, タイトル位置='←', タイトル枠='無'";
  const bool updated = db_exec(paper, output.c_str()) == 0 && db_exec(paper, titles) == 0;
  db_disconnect(paper);
  if (!updated) return Fail(why, "the sheet's settings cannot be written");

  // The survey: its row in 調査定義 and the questions of the design.
  g_survey = SurveyState();
  g_survey.folder = folder;
  g_survey.database = kSampleDefinition;
  g_survey.outputTable = kSampleOutputTable;
  for (const char* table : {kSurveyDefinitionTable, kSurveyItemTable}) {
    if (CreateTableFromSpec(folder.c_str(), kSampleDefinition, table, kDbKindFile, table, table) != 0) {
      return Fail(why, std::string(table) + " cannot be made");
    }
  }
  const int survey = OpenSurveyDefinition();
  if (survey < 0) return Fail(why, "the survey cannot be opened");
  SetColumnText(survey, "調査名", kSurveyName);
  const int named = db_update(survey);
  db_close(survey);
  if (named != 0 || ReplaceSurveyWithDesign(TransferOptions()) <= 0) {
    return Fail(why, "the survey's questions cannot be written");
  }

  // The list and card entry screens, with the output table's description,
  // as the screen-set window makes them in design mode.
  g_sheetDefinition = SheetDefinitionRef();
  g_sheetDefinition.folder = folder;
  g_sheetDefinition.database = kSampleDefinition;
  g_currentSheet = CurrentSheet();
  g_currentSheet.projectMode = kDesignMode;
  g_currentSheet.outputFolder = outputFolder;
  g_currentSheet.outputDatabase = kOutputDatabase;
  SelectScreenTableSpec();
  if (LoadCurrentSheetPaper() != 0) return Fail(why, "the sheet's paper cannot be read");
  for (const int form : {1, 2}) {
    if (WriteScreenRecord(form) != 0 || GenerateEntryScreenFields(form, false) != 0) {
      return Fail(why, form == 1 ? "the list entry screen cannot be made" : "the card entry screen cannot be made");
    }
  }
  return 0;
}

std::string PagePath(const std::string& feed, int index) {
  char name[32];
  std::snprintf(name, sizeof name, "\\PAGE%05d.BMP", index + 1);
  return feed + name;
}

// The filled pages, all or none: a page that cannot be written takes those
// written before it away. 0, or -1 (`why` says which page).
int WriteSamplePages(const SheetDefinition& definition, const std::string& feed, std::string* why) {
  for (int k = 0; k < kSamplePageCount; ++k) {
    const GeneratedSheet sheet = GenerateSheet(definition, SampleSurveyPage(k));
    const std::string path = PagePath(feed, k);
    if (sheet.error.empty() && WriteSheetBmp(path, sheet)) continue;
    for (int written = 0; written < k; ++written) DeleteFileA(PagePath(feed, written).c_str());
    return Fail(why, path.substr(feed.size() + 1) + " cannot be written " + sheet.error);
  }
  return 0;
}

// The filled pages, then the definition with its survey and its output
// table's description: the definition, whose presence keeps the sample, is
// made only once every page is there, and taken away again when a later
// step fails. 0, or -1 (`why` says which step failed).
int MakeSampleFiles(const std::string& installation, const std::string& folder, const std::string& feed,
                    std::string* why) {
  for (const std::string& made : {folder, feed}) {
    if (EnsureDirectoryPath(made.c_str()) != 0) return Fail(why, made + " cannot be made");
  }
  const SheetDefinition definition = SampleSurveySheet();
  if (WriteSamplePages(definition, feed, why) != 0) return -1;
  if (MakeSampleDefinition(installation, folder, definition, why) == 0) return 0;
  DeleteFileA((folder + "\\" + kSampleDefinition + ".mdb").c_str());
  return -1;
}


}  // namespace

int MakeSampleSurvey(const std::string& installation, const std::string& programFolder,
                     std::string* why) {
  const std::string folder = installation + "\\" + kSampleFolder;
  const std::string feed = folder + "\\feed";
  const bool missing = FileExists((folder + "\\" + kSampleDefinition + ".mdb").c_str()) != 0;
  if (missing && MakeSampleFiles(installation, folder, feed, why) != 0) return -1;
  // What the user set up stays: only a missing feeder or choice is made
  // (again when something else took them away).
  const std::string feeder = programFolder + "\\SCANFEED.INI";
  if (FileExists(feeder.c_str()) != 0 &&
      ReplaceFileText(feeder, "[Feeder]\nName=Sample Feeder\nFolder=" + feed + "\nTray=" + folder +
                                  "\\fed\n") != 0) {
    return Fail(why, "SCANFEED.INI cannot be written");
  }
  const std::string choice = installation + "\\ocrpath.dat";
  if (FileExists(choice.c_str()) != 0 &&
      ReplaceFileText(choice, FormatDefinitionPath(folder, kSampleDefinition)) != 0) {
    return Fail(why, "ocrpath.dat cannot be written");
  }
  return missing ? 1 : 0;
}
