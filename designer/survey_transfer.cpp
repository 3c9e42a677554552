// The transfer of the sheet's design into its survey (button 201 of the
// survey items screen) and the tally table the tallies read. The design is
// read whole first; the questions then replace those of 調査項目 in one
// transaction, so that a failure half-way leaves the survey as it was.
// Up to a few hundred fields a sheet.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "designer/survey.h"
#include "designer/survey_transfer.h"
#include "designer/area_codes.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

// Room of a text of the survey items screen's fields.
constexpr int kFieldTextRoom = 256;
// 選択肢, 選択肢２, 選択肢３.
constexpr size_t kChoiceColumnBytes = 255;
constexpr size_t kChoiceColumns = 3;

std::string Joined3(int slot, const char* column) {
  return std::string(GetColumnText(slot, column)) + GetColumnText(slot, (std::string(column) + "２").c_str()) +
         GetColumnText(slot, (std::string(column) + "３").c_str());
}

SurveySourceField ReadSourceField(int slot) {
  SurveySourceField field;
  field.areaCode = GetColumnText(slot, "領域コード");
  field.name = GetColumnText(slot, "領域名");
  field.title = GetColumnText(slot, "タイトル");
  field.edit = GetColumnText(slot, "編集");
  field.validTypes = GetColumnText(slot, "有効文字種");
  field.choicePosition = GetColumnText(slot, "背景色");
  field.arrangement = GetColumnText(slot, "タイプ");
  field.contents = Joined3(slot, "重ね文字");
  field.values = Joined3(slot, "変換条件");
  field.threshold = GetColumnInt(slot, "しきい値");
  field.arrayStart = GetColumnInt(slot, "配列開始");
  field.arrayCount = GetColumnInt(slot, "配列個数");
  field.maxMarks = GetColumnInt(slot, "少数部桁数");
  field.charCount = GetColumnInt(slot, "文字数");
  return field;
}

// Every MUPA_FLD row of the sheet, both sides, in side and code order. 0, or
// -1 when the table cannot be opened (reported).
int ReadDesignFields(std::vector<SurveySourceField>& fields) {
  const int slot = db_open(g_survey.folder.c_str(), g_survey.database.c_str(), kFieldRowTable, g_survey.kind,
                           kSheetSpecSet, kFieldRowTable, "");
  if (slot < 0) return -1;
  for (int rc = db_toppos(slot, "ＯＣＲコード,領域コード"); rc == 0; rc = db_nread(slot)) {
    fields.push_back(ReadSourceField(slot));
  }
  db_close(slot);
  return 0;
}

// The key item's name: 項目名 of the sheet's first MUPA_IDX row; "" without.
std::string ReadKeyItemName() {
  const int slot = db_open_nocreate(g_survey.folder.c_str(), g_survey.database.c_str(), kKeyItemTable, g_survey.kind,
                                    kSheetSpecSet, kKeyItemTable, "");
  if (slot < 0) return "";
  const std::string name = db_toppos(slot, "ＩＤＸコード") == 0 ? GetColumnText(slot, "項目名") : "";
  db_close(slot);
  return name;
}

// The questions of every field that becomes one. 0, or -1 after the
// message of a choice too long to transfer.
int MakeAllQuestions(const std::vector<SurveySourceField>& fields, const TransferOptions& options,
                     std::vector<SurveyQuestionRow>& questions) {
  const std::string keyItem = ReadKeyItemName();
  for (const SurveySourceField& field : fields) {
    if (!IsSurveyQuestionField(field, keyItem)) continue;
    std::string tooLong;
    if (MakeSurveyQuestions(field, options, questions, tooLong) != 0) {
      ShowInfoMessage("", "下記のような“255”バイトを超える「選択肢」は転送できません。\n%s", tooLong.c_str());
      return -1;
    }
  }
  return 0;
}

// Replaces the rows of 調査項目 (slot `items`) with `questions`, numbered
// "001" on, all or nothing. 0, or -1 (reported by the database layer).
int WriteQuestions(int items, bool emptyFirst, const std::vector<SurveyQuestionRow>& questions) {
  if (BeginTableTransaction(items) != 0) return -1;
  bool written = !emptyFirst || db_exec(items, "delete from 調査項目") == 0;
  int number = 1;
  for (const SurveyQuestionRow& q : questions) {
    if (!written) break;
    char code[8];
    std::snprintf(code, sizeof code, "%03d", number++);
    db_clear(items);
    SetColumnText(items, "質問コード", code);
    SetColumnText(items, "項目名", q.itemName.c_str());
    SetColumnText(items, "質問内容", q.question.c_str());
    const std::vector<std::string> pieces = SplitTextPieces(q.choices, kChoiceColumnBytes, kChoiceColumns);
    SetColumnText(items, "選択肢", pieces[0].c_str());
    SetColumnText(items, "選択肢２", pieces[1].c_str());
    SetColumnText(items, "選択肢３", pieces[2].c_str());
    SetColumnText(items, "カウントデータ", q.codes.c_str());
    SetColumnInt(items, "最大回答数", q.maxAnswers);
    SetColumnInt(items, "桁数", q.width);
    written = db_add(items) == 0;
  }
  const int ended = EndTableTransaction(items, written);
  return written && ended == 0 ? 0 : -1;
}

// 調査項目 of the survey's definition: the slot, or -1 (reported).
int OpenSurveyItemRows() {
  return db_open(g_survey.folder.c_str(), g_survey.database.c_str(), kSurveyItemTable, g_survey.kind, kSurveyItemTable,
                 kSurveyItemTable, "");
}

TransferOptions ReadTransferOptions(int slot) {
  char text[kFieldTextRoom] = "";
  GetItemRawValue(slot, "余白文字", text);
  TransferOptions options;
  // The fill character is the field's first character.
  if (text[0] && text[0] != ' ') options.fill.assign(text, SjisCharLength(text));
  text[0] = '\0';
  GetItemRawValue(slot, "後部余白削除", text);
  options.trimFill = std::atoi(text) == 1;
  return options;
}

}  // namespace

int TransferSheetDesignToSurvey(int slot) {
  const TransferOptions options = ReadTransferOptions(slot);
  if (AskYesNo("", "〔シート設計〕で定義されている内容を転送入力します。") != IDYES) return -1;
  std::vector<SurveySourceField> fields;
  if (ReadDesignFields(fields) != 0) return -1;
  if (fields.empty()) {
    ShowInfoMessage("", "ＯＣＲシートのフォーマットは定義されていません。");
    return -1;
  }
  const int items = OpenSurveyItemRows();
  if (items < 0) return -1;
  const int stored = CountRows(items, "select count(*) from 調査項目");
  if (stored < 0 ||
      (stored > 0 && AskYesNo("", "%ld 件のデータが既に登録されています。\n登録データを全て削除して入力を行いますか？",
                              static_cast<long>(stored)) != IDYES)) {
    db_close(items);
    return -1;
  }
  std::vector<SurveyQuestionRow> questions;
  const int result = MakeAllQuestions(fields, options, questions) == 0 &&
                             WriteQuestions(items, stored > 0, questions) == 0
                         ? 0
                         : -1;
  db_close(items);
  if (result != 0) return -1;
  EnsureSurveyTallyTable();
  return static_cast<int>(questions.size());
}

int ReplaceSurveyWithDesign(const TransferOptions& options) {
  std::vector<SurveySourceField> fields;
  std::vector<SurveyQuestionRow> questions;
  if (ReadDesignFields(fields) != 0 || MakeAllQuestions(fields, options, questions) != 0) return -1;
  const int items = OpenSurveyItemRows();
  if (items < 0) return -1;
  const int written = WriteQuestions(items, true, questions);
  db_close(items);
  return written == 0 ? static_cast<int>(questions.size()) : -1;
}

namespace {

// The names and types of an open table's columns, in order.
std::string ColumnSignature(int slot) {
  std::string names, types, lengths;
  GetSlotColumnLists(slot, names, types, lengths);
  return names + "|" + types;
}

}  // namespace

int EnsureSurveyTallyTable() {
  if (g_survey.tallyTable.empty() || g_survey.outputTable.empty()) return -1;
  const int output = db_open_nocreate(g_survey.dataFolder.c_str(), g_survey.dataDatabase.c_str(),
                                      g_survey.outputTable.c_str(), g_survey.dataKind, "", "", "");
  const int tally = db_open_nocreate(g_survey.dataFolder.c_str(), g_survey.dataDatabase.c_str(),
                                     g_survey.tallyTable.c_str(), g_survey.dataKind, "", "", "");
  if (output < 0) {
    if (tally >= 0) db_close(tally);
    return tally >= 0 ? 0 : -1;
  }
  // A server database fixes the columns of "select *" when the view is made:
  // a column added to the output table later is missing from it until the
  // view is made again. A table of that name is not a view and stays.
  bool make = tally < 0;
  if (tally >= 0) {
    const bool stale = ColumnSignature(tally) != ColumnSignature(output);
    db_close(tally);
    if (stale) make = ExecSlotSql(output, ("drop view " + g_survey.tallyTable).c_str(), 1) == 0;
  }
  int result = 0;
  if (make) {
    // A view: every record the reading run writes or an operator corrects is
    // counted as it is, without a copy to refresh.
    const std::string create = "create view " + g_survey.tallyTable + " as select * from " + g_survey.outputTable;
    result = db_exec(output, create.c_str());
  }
  db_close(output);
  return result;
}
