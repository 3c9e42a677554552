// Loading the survey of the current sheet definition into g_survey: the
// survey's row, its questions in code order (at most 200), their choices,
// print switches and page breaks per tally kind, and the grouping items of
// cross tabulations. Read once when a tally screen opens and again when its
// tally setting changes.
#include <algorithm>

#include "designer/survey.h"
#include "foundation/bounded_format.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "shell/shell.h"

SurveyState g_survey;

namespace {

// Room of the joined texts of a question.
constexpr int kMaxCodeText = 2047;
constexpr int kMaxQuestionText = 255;
constexpr int kMaxChoiceText = 6000;
// Bytes of a grouping item's name in the tally choices.
constexpr int kTallyChoiceNameBytes = 16;

int OpenSurveyItems() {
  return db_open(g_survey.folder.c_str(), g_survey.database.c_str(), kSurveyItemTable, g_survey.kind,
                 kSurveyItemTable, "", "");
}

bool IsTallyKind(int kind) { return kind >= 1 && kind <= kSurveyTallyKinds; }

// The question text and switches of the current 調査項目 row.
void ReadQuestionText(int slot, SurveyItem& item) {
  item.question = CutAtCharBoundary(GetColumnText(slot, "質問内容"), kMaxQuestionText);
  item.switch05 = GetColumnInt(slot, "チェック05");
  item.switch06 = GetColumnInt(slot, "チェック06");
}

// The print switch and page break of one tally kind.
void ReadKindSwitches(int slot, SurveyItem& item, int kind) {
  item.printOff[kind] = GetColumnIntIdx(slot, "印字", kind);
  item.pageBreak[kind] = GetColumnIntIdx(slot, "改頁", kind);
}

// The choice width of a question: its own (0 read as 4) widened to its
// widest label, unless the survey sets one width for all.
int ChoiceWidthOf(const SurveyItem& item, int storedWidth) {
  if (g_survey.choiceWidth > 0) return g_survey.choiceWidth;
  const int width = storedWidth > 0 ? storedWidth : 4;
  return std::max(width, SplitChoiceLabels(item.choices.c_str()).longest);
}

void ReadQuestion(int slot, SurveyItem& item) {
  item = SurveyItem();
  item.codes = CutAtCharBoundary(GetColumnText(slot, "カウントデータ"), kMaxCodeText);
  item.itemName = GetColumnText(slot, "項目名");
  const std::string choices = std::string(GetColumnText(slot, "選択肢")) +
                              GetColumnText(slot, "選択肢２") + GetColumnText(slot, "選択肢３");
  item.choices = CutAtCharBoundary(choices.c_str(), kMaxChoiceText);
  item.maxAnswers = GetColumnInt(slot, "最大回答数");
  ReadQuestionText(slot, item);
  for (int kind = 1; kind <= kSurveyTallyKinds; ++kind) ReadKindSwitches(slot, item, kind);
  if (item.codes.empty() || item.choices.empty()) LoadMasterChoices(item, "CODE", "DATA");
  item.choiceWidth = ChoiceWidthOf(item, GetColumnInt(slot, "桁数"));
  item.commaList = ContainsChar(item.codes.c_str(), ',') == 1;
  item.answerCount = CountAnswerCodes(item.codes);
}

}  // namespace

int OpenSurveyDefinition() {
  if (g_survey.database.empty()) {
    ShowInfoMessage("", "処理を行う｢フォーマット定義ファイル｣が選択されていません。");
    return -1;
  }
  const int slot = db_open(g_survey.folder.c_str(), g_survey.database.c_str(),
                           kSurveyDefinitionTable, g_survey.kind, kSurveyDefinitionTable, "", "");
  if (slot < 0) return -1;
  if (db_search(slot, "01", "調査コード") != 0) {
    db_clear(slot);
    SetColumnText(slot, "調査コード", "01");
    if (!g_survey.outputTable.empty()) {
      SetColumnText(slot, "集計テーブル名", (g_survey.outputTable + "_集計用").c_str());
    }
    if (db_add(slot) != 0 || db_search(slot, "01", "調査コード") != 0) {
      db_close(slot);
      return -1;
    }
  }
  g_survey.tallyTable = GetColumnText(slot, "集計テーブル名");
  g_survey.choiceWidth = GetColumnInt(slot, "チェック04");
  g_survey.name = GetColumnText(slot, "調査名");
  return slot;
}

int LoadSurveyItems() {
  const int definition = OpenSurveyDefinition();
  if (definition < 0) return -1;
  db_close(definition);
  const int slot = OpenSurveyItems();
  if (slot < 0) return -1;
  g_survey.questionCount = 0;
  if (db_tfind(slot, 0) != 0 || !*GetColumnText(slot, "項目名")) {
    db_close(slot);
    ShowInfoMessage("", "“調査項目”（質問や選択肢等）が登録されていません。");
    return -1;
  }
  int count = 0;
  do {
    if (!*GetColumnText(slot, "項目名")) break;
    if (count == kMaxSurveyQuestions) {
      ShowInfoMessage(
          "",
          "回答数（ｶｳﾝﾄ対象の項目数）が“%d”を越えています。〔調査項目〕の内容を確認してください。",
          kMaxSurveyQuestions);
      break;
    }
    ReadQuestion(slot, g_survey.items[++count]);
  } while (db_nread(slot) == 0);
  db_close(slot);
  g_survey.questionCount = count;
  for (int kind = 1; kind <= kSurveyTallyKinds; ++kind) CountSurveyPages(kind);
  return 0;
}

void CountSurveyPages(int kind) {
  int breaks = 0;
  int lastPrinted = 0;
  for (int q = 1; q <= g_survey.questionCount; ++q) {
    const SurveyItem& item = g_survey.items[q];
    if (item.printOff[kind] != 0) continue;
    lastPrinted = q;
    if (item.pageBreak[kind] == 1) ++breaks;
  }
  g_survey.pageBreaks[kind] = breaks;
  g_survey.pages[kind] =
      breaks + (lastPrinted > 0 && g_survey.items[lastPrinted].pageBreak[kind] != 1 ? 1 : 0);
}

int LoadSurveyQuestionList(int tallyKind) {
  const int slot = OpenSurveyItems();
  if (slot < 0) return -1;
  int q = 0;
  for (int rc = db_tfind(slot, 0); rc == 0 && q < g_survey.questionCount; rc = db_nread(slot)) {
    if (!*GetColumnText(slot, "項目名")) break;
    SurveyItem& item = g_survey.items[++q];
    ReadQuestionText(slot, item);
    if (IsTallyKind(tallyKind)) ReadKindSwitches(slot, item, tallyKind);
  }
  db_close(slot);
  if (IsTallyKind(tallyKind)) CountSurveyPages(tallyKind);
  return 0;
}

int SelectTallyQuestions(int slot, int reset) {
  std::string first;
  std::string second;
  // The condition is bracketed: the slot's SELECT may have a WHERE part of
  // its own, which "and" joins.
  for (int rc = db_search_where(slot, "(チェック01=1 or チェック02=1)", "質問コード"); rc == 0;
       rc = db_nread(slot)) {
    if (GetColumnInt(slot, "チェック01") == 1) first = GetColumnText(slot, "項目名");
    if (GetColumnInt(slot, "チェック02") == 1) second = GetColumnText(slot, "項目名");
  }
  if (reset != 1 && first == g_survey.groupItem[1] && second == g_survey.groupItem[2]) return 0;
  g_survey.groupItem[1] = first;
  g_survey.groupItem[2] = second;
  if (first.empty() && second.empty()) {
    g_survey.tallyChoiceList.clear();
    return 2;
  }
  g_survey.tallyChoiceList = "単純集計," + CutAtCharBoundary(first.c_str(), kTallyChoiceNameBytes);
  if (!second.empty()) g_survey.tallyChoiceList += "," + first + "|" + second;
  return 1;
}

int SaveSurveyGroupItems() {
  const int definition = OpenSurveyDefinition();
  if (definition < 0) return -1;
  const std::string names[] = {GetColumnText(definition, "グループ項目01"), GetColumnText(definition, "グループ項目02")};
  if (names[0].empty() && names[1].empty()) {
    db_close(definition);
    return 0;
  }
  int rc = 0;
  for (int k = 0; k < 2 && rc == 0; ++k) {
    if (names[k].empty()) continue;
    const std::string sql = "update " + std::string(kSurveyItemTable) + " set チェック0" + std::to_string(k + 1) +
                            "=1 where 項目名=" + SqlLiteral(names[k].c_str());
    rc = db_exec(definition, sql.c_str());
  }
  // The row as statements too: the slot's cursor went with the updates.
  if (rc == 0) {
    rc = db_exec(definition, "update 調査定義 set グループ項目01='', グループ項目02='' where 調査コード='01'");
  }
  db_close(definition);
  return rc;
}

int ReloadTallyQuestions() {
  const int slot = OpenSurveyItems();
  if (slot < 0) return -1;
  const int result = SelectTallyQuestions(slot, 1);
  db_close(slot);
  return result;
}

int LoadMasterChoices(SurveyItem& item, const char* codeColumn, const char* textColumn) {
  if (item.itemName.empty()) return -1;
  const int slot = db_open_nocreate(g_survey.dataFolder.c_str(), g_survey.dataDatabase.c_str(),
                                    item.itemName.c_str(), g_survey.dataKind, "", "", "");
  if (slot < 0) return -1;
  std::string codes;
  std::string texts;
  int rows = 0;
  for (int rc = db_toppos(slot, codeColumn); rc == 0; rc = db_nread(slot), ++rows) {
    const char* comma = rows > 0 ? "," : "";
    codes += comma + std::string(GetColumnText(slot, codeColumn));
    texts += comma + std::string(GetColumnText(slot, textColumn));
  }
  db_close(slot);
  if (rows == 0) return -1;
  if (static_cast<int>(texts.size()) > kMaxChoiceText) {
    ShowInfoMessage("", "選択肢は、%dバイト以内で設定してください。", kMaxChoiceText);
    return -1;
  }
  item.codes = CutAtCharBoundary(codes.c_str(), kMaxCodeText);
  item.choices = texts;
  return 0;
}

int LoadTallyTableColumns(int mode) {
  UpgradeSurveyItemTable();
  if (mode == 2 && LoadSurveyItems() != 0) return -1;
  g_survey.keyColumn.clear();
  g_survey.columnNames.clear();
  g_survey.columnTypes.clear();
  g_survey.columnLengths.clear();
  const int slot = db_open_nocreate(g_survey.dataFolder.c_str(), g_survey.dataDatabase.c_str(),
                                    g_survey.outputTable.c_str(), g_survey.dataKind, "", "", "");
  if (slot < 0) return 0;
  GetSlotColumnLists(slot, g_survey.columnNames, g_survey.columnTypes, g_survey.columnLengths);
  g_survey.keyColumn = GetColumnNameByPosition(slot, 1);
  db_close(slot);
  g_survey.columnNames += ",(20)";
  return 0;
}
