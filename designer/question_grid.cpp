// The question grid's table and the titles of the check fields: the grid
// opens on a row for each read check field, its question being the field's
// title without line breaks; as it closes, each question goes back into
// the title of its field, wrapped to the field's characters a line.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/grids.h"
#include "designer/question_list_rules.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "screen/screen.h"

namespace {

constexpr char kReadCheckFields[] = "編集='ﾁｪｯｸ' and しきい値<>-1";
constexpr char kTitleFill[] = "　";
// A title holds at most 200 bytes of a line: 100 full-width characters.
constexpr int kWidestLine = 100;

struct CheckFieldQuestion {
  std::string side, name, title;
  int lineChars = 0;
};

int OpenFieldRows(const std::string& condition) {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  return db_open(sheet.folder.c_str(), sheet.database.c_str(), kFieldRowTable, sheet.kind, kSheetSpecSet,
                 kFieldRowTable, "select * from MUPA_FLD where %s", condition.c_str());
}

// The characters a line of a title: where its first line break stands, or
// the whole text when it ends in a filling "・" (in full-width characters).
int LineCharsOfTitle(const std::string& title) {
  for (size_t at = 0; at < title.size(); at += static_cast<size_t>(SjisCharLength(title.c_str() + at))) {
    if (title[at] == '|') return static_cast<int>((at + 1) / 2);
  }
  const std::string dot = "・";
  const bool dotted = title.size() >= dot.size() && title.compare(title.size() - dot.size(), dot.size(), dot) == 0;
  return dotted ? static_cast<int>((title.size() + 1) / 2) : 0;
}

}  // namespace

int FillQuestionTable(int questions) {
  const int fields = OpenFieldRows(kReadCheckFields);
  if (fields < 0) return -1;
  std::vector<CheckFieldQuestion> rows;
  for (int rc = db_toppos(fields, "ＯＣＲコード,領域コード"); rc == 0; rc = db_nread(fields)) {
    CheckFieldQuestion q{GetColumnText(fields, "ＯＣＲコード"), GetColumnText(fields, "領域名"),
                         GetColumnText(fields, "タイトル"), GetColumnInt(fields, "行文字数")};
    if (q.lineChars <= 0) q.lineChars = LineCharsOfTitle(q.title);
    rows.push_back(q);
  }
  db_close(fields);
  int number = 0;
  for (const CheckFieldQuestion& q : rows) {
    char code[8];
    std::snprintf(code, sizeof code, "%04d", ++number);
    const std::string sql = "insert into 質問内容 (ＯＣＲコード,質問コード,項目名,質問内容,行文字数) values (" +
                            SqlLiteral(q.side.c_str()) + "," + SqlLiteral(code) + "," + SqlLiteral(q.name.c_str()) +
                            "," + SqlLiteral(TrimQuestionText(q.title, kTitleFill).c_str()) + "," +
                            std::to_string(std::clamp(q.lineChars, 0, 999)) + ")";
    if (db_exec(questions, sql.c_str()) != 0) return -1;
  }
  return 0;
}

int StoreQuestionTitles() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int questions = db_open(sheet.folder.c_str(), sheet.database.c_str(), "質問内容", sheet.kind, kSheetSpecSet,
                                "MUPA_SMN", "");
  if (questions < 0) return -1;
  std::vector<CheckFieldQuestion> rows;
  for (int rc = db_toppos(questions, "ＯＣＲコード,質問コード"); rc == 0; rc = db_nread(questions)) {
    rows.push_back({GetColumnText(questions, "ＯＣＲコード"), GetColumnText(questions, "項目名"),
                    GetColumnText(questions, "質問内容"), GetColumnInt(questions, "行文字数")});
  }
  db_close(questions);
  const int fields = OpenFieldRows(kReadCheckFields);
  if (fields < 0) return -1;
  int rc = 0;
  for (CheckFieldQuestion& q : rows) {
    if (q.name.empty()) continue;
    // A trailing "・" only filled the line out.
    const std::string dot = "・";
    while (q.title.size() >= dot.size() && q.title.compare(q.title.size() - dot.size(), dot.size(), dot) == 0) {
      q.title.erase(q.title.size() - dot.size());
    }
    const int width = std::clamp(q.lineChars, 0, kWidestLine);
    const std::string title = width > 0 ? PadQuestionText(q.title, width, kTitleFill) : q.title;
    const std::string sql = "update MUPA_FLD set 行文字数=" + std::to_string(std::max(q.lineChars, 0)) +
                            ", タイトル=" + SqlLiteral(title.c_str()) + " where " + kReadCheckFields +
                            " and ＯＣＲコード=" + SqlLiteral(q.side.c_str()) + " and 領域名=" +
                            SqlLiteral(q.name.c_str());
    if (db_exec(fields, sql.c_str()) != 0) rc = -1;
  }
  db_close(fields);
  return rc;
}
