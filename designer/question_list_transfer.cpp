// The question list written back into the check fields of the side: the
// names and the layout checked, then every change to MUPA_FLD and the
// emptying of MUPA_LST in one transaction, so that a list that cannot be
// written leaves both tables as they were. Lists of up to a few hundred
// questions.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "designer/area_codes.h"
#include "designer/field_editor.h"
#include "designer/question_list.h"
#include "designer/question_list_rules.h"
#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr char kCheckRange[] = " and 領域コード>='0001' and 領域コード<='0999'";
constexpr char kCheckEdit[] = "ﾁｪｯｸ";

struct ListRow {
  std::string listCode, areaCode, name, title, choices;
  int width = 0, height = 0, gap = 0, most = 0, markForm = 0, threshold = 0;
};

// The list's rows in list order: 0, or -1 (reported).
int ReadListRows(std::vector<ListRow>& rows) {
  const int t = OpenQuestionListTable();
  if (t < 0) return -1;
  for (int rc = db_toppos(t, "一覧コード"); rc == 0; rc = db_nread(t)) {
    ListRow r;
    r.listCode = GetColumnText(t, "一覧コード");
    r.areaCode = GetColumnText(t, "領域コード");
    r.name = GetColumnText(t, "領域名");
    r.title = GetColumnText(t, "タイトル");
    r.choices = GetColumnText(t, "重ね文字");
    r.width = GetColumnInt(t, "横幅");
    r.height = GetColumnInt(t, "高さ");
    r.gap = GetColumnInt(t, "Ｂサイズ");
    r.most = GetColumnInt(t, "最大数");
    r.markForm = GetColumnInt(t, "マーク型");
    r.threshold = GetColumnInt(t, "しきい値");
    rows.push_back(r);
  }
  db_close(t);
  return 0;
}

int Scale() { return std::max(1, g_sheetCanvas.scale); }

// The layout of the side's check fields as they stand: the first one's
// place and the step to the second, in millimetres.
void TakeLayoutFromFields(QuestionLayout& layout) {
  const int t = OpenSheetRows((std::string(kCheckRange) + " and 編集='" + kCheckEdit + "'").c_str());
  if (t < 0) return;
  if (db_toppos(t, "Ｙ座標,領域コード") == 0) {
    const int firstY = GetColumnInt(t, "Ｙ座標");
    layout.startX = GetColumnInt(t, "Ｘ座標") / Scale();
    layout.startY = firstY / Scale();
    if (db_nread(t) == 0) layout.lineFeed = (GetColumnInt(t, "Ｙ座標") - firstY) / Scale();
  }
  db_close(t);
}

bool LayoutSet(const QuestionLayout& layout) {
  return layout.startX > 0 && layout.startY > 0 && layout.lineFeed > 0;
}

// The text of a field value in a statement.
std::string Number(int value) { return std::to_string(value); }

// The columns a list row gives its field, as "column=value" assignments.
std::vector<std::pair<std::string, std::string>> RowValues(const ListRow& r) {
  return {{"領域名", SqlLiteral(r.name.c_str())},
          {"タイトル", SqlLiteral(r.title.c_str())},
          {"重ね文字", SqlLiteral(r.choices.c_str())},
          {"横幅", Number(r.width == 0 ? 5 : r.width)},
          {"高さ", Number(r.height == 0 ? 5 : r.height)},
          {"Ｂサイズ", Number(r.gap == 0 ? 20 : r.gap)},
          {"少数部桁数", Number(r.most)},
          {"マーク型", Number(r.markForm)},
          {"しきい値", Number(r.threshold)},
          {"有効文字種", SqlLiteral("1100000000")}};
}

// 文字数 follows the choices typed; a field whose boxes are counted
// without choice texts keeps its count.
void AddChoiceCount(const ListRow& r, bool existing, std::vector<std::pair<std::string, std::string>>& values) {
  if (!existing || !r.choices.empty()) values.emplace_back("文字数", Number(CountQuestionChoices(r.choices)));
}

std::string UpdateStatement(const ListRow& r, const std::string& side, const std::string& code, bool placed, int x,
                            int y) {
  std::string sql = "update MUPA_FLD set ";
  auto values = RowValues(r);
  AddChoiceCount(r, true, values);
  if (placed) {
    values.emplace_back("Ｘ座標", Number(x));
    values.emplace_back("Ｙ座標", Number(y));
  }
  for (size_t k = 0; k < values.size(); ++k) sql += (k ? "," : "") + values[k].first + "=" + values[k].second;
  return sql + " where ＯＣＲコード=" + SqlLiteral(side.c_str()) + " and 領域コード=" + SqlLiteral(code.c_str());
}

std::string InsertStatement(const ListRow& r, const std::string& side, const std::string& code, int x, int y) {
  auto values = RowValues(r);
  AddChoiceCount(r, false, values);
  const std::pair<const char*, std::string> fixed[] = {
      {"ＯＣＲコード", SqlLiteral(side.c_str())}, {"領域コード", SqlLiteral(code.c_str())},
      {"種別", SqlLiteral("MUPA")},           {"編集", SqlLiteral(kCheckEdit)},
      {"タイトル位置", SqlLiteral("←")},        {"サイズ", "7"},
      {"全半角", SqlLiteral("半角")},           {"文字型", SqlLiteral("文字")},
      {"空白不可", "1"},                       {"文字種別", SqlLiteral("Ｍ")},
      {"背景色", SqlLiteral("↑")},            {"網掛け", "1"},
      {"タイプ", SqlLiteral("")},              {"Ｘ座標", Number(x)},
      {"Ｙ座標", Number(y)}};
  for (const auto& [column, value] : fixed) values.emplace_back(column, value);
  // 最大数 of a new question with none given is one mark.
  for (auto& [column, value] : values) {
    if (column == "少数部桁数" && value == "0") value = "1";
  }
  std::string names, texts;
  for (size_t k = 0; k < values.size(); ++k) {
    names += (k ? "," : "") + values[k].first;
    texts += (k ? "," : "") + values[k].second;
  }
  return "insert into MUPA_FLD (" + names + ") values (" + texts + ")";
}

// The statements that carry the list into the side's fields: every check
// field missing from the list deleted, every row updated or added (new
// codes the lowest free ones of the side), the list emptied. -1 after the
// message when no code is left for a new question.
int PlanTransfer(const std::vector<ListRow>& rows, const QuestionLayout& layout, std::vector<std::string>& plan) {
  const std::string side = g_sheetDefinition.sheetCode;
  const int t = OpenSheetRows(kCheckRange);
  if (t < 0) return -1;
  std::set<std::string> kept;
  for (const ListRow& r : rows) {
    if (!r.areaCode.empty()) kept.insert(r.areaCode);
  }
  std::set<std::string> taken, existing;
  for (int rc = db_toppos(t, "領域コード"); rc == 0; rc = db_nread(t)) {
    const std::string code = GetColumnText(t, "領域コード");
    if (GetColumnText(t, "編集") == std::string(kCheckEdit) && !kept.count(code)) {
      plan.push_back("delete from MUPA_FLD where ＯＣＲコード=" + SqlLiteral(side.c_str()) +
                     " and 領域コード=" + SqlLiteral(code.c_str()));
      continue;
    }
    taken.insert(code);
    existing.insert(code);
  }
  db_close(t);
  const bool placed = LayoutSet(layout);
  int y = layout.startY * Scale();
  const int x = layout.startX * Scale();
  for (const ListRow& r : rows) {
    if (!r.areaCode.empty() && existing.count(r.areaCode)) {
      plan.push_back(UpdateStatement(r, side, r.areaCode, placed, x, y));
    } else {
      const std::string code = NextFreeAreaCode(std::vector<std::string>(taken.begin(), taken.end()), "0001");
      if (code.empty()) {
        ShowInfoMessage("", "チェック欄を作成できません。\n領域コードは“0999”まで使用されています。（質問“%s”）",
                        r.listCode.c_str());
        return -1;
      }
      taken.insert(code);
      plan.push_back(InsertStatement(r, side, code, x, y));
    }
    if (placed) y += layout.lineFeed * Scale();
  }
  plan.push_back("delete from MUPA_LST");
  return 0;
}

}  // namespace

int CheckItemName(const std::string& name, const std::string& code) {
  switch (JudgeQuestionItemName(name)) {
    case ItemNameVerdict::kEmpty:
      ShowInfoMessage("", "「%s」の「項目名」は空白です。", code.c_str());
      return -1;
    case ItemNameVerdict::kForbiddenChar:
      ShowInfoMessage("", "「項目名」に“半角カッコ”および“記号”は使用できません。\n　[%s] [%s]", code.c_str(),
                      name.c_str());
      return -1;
    case ItemNameVerdict::kReserved:
      ShowInfoMessage("", "「項目名」に“%s”は使用できません。\n　[%s]", name.c_str(), code.c_str());
      return -1;
    case ItemNameVerdict::kLeadingDigit:
      ShowInfoMessage("",
                      "数字で始まる「項目名」は、推奨されません。[%s]\n"
                      "Access から 直接、テーブルにアクセスする際にエラーになる場合があります。",
                      name.c_str());
      return 0;
    case ItemNameVerdict::kAccepted:
      return 0;
  }
  return 0;
}

int SheetCanvasCheckField(QuestionLayout& layout) {
  std::vector<ListRow> rows;
  if (ReadListRows(rows) != 0) return -1;
  if (!rows.empty() && rows[0].areaCode.empty() && layout.startY == 0) TakeLayoutFromFields(layout);
  if (rows.empty()) return 0;
  const int scale = Scale();
  if (layout.startX * scale >= g_sheetSettings.widthMm * scale) {
    ShowInfoMessage("", "チェック欄を印字する位置が用紙の幅を超えました。開始位置を調整してください。");
    return -1;
  }
  int y = layout.startY;
  for (const ListRow& r : rows) {
    if (r.areaCode.empty()) {
      if (layout.startX == 0 || layout.startY == 0) {
        ShowInfoMessage("", "「先頭のチェック欄の開始位置」を設定してください。");
        return -1;
      }
      if (layout.lineFeed == 0) {
        ShowInfoMessage("", "「質問と質問の間隔」を設定してください。");
        return -1;
      }
    }
    if (LayoutSet(layout) && y >= g_sheetSettings.heightMm) {
      ShowInfoMessage("", "チェック欄を印字する位置が用紙の高さを超えました。「行送り」を調整してください。");
      return -1;
    }
    y += layout.lineFeed;
  }
  return 0;
}

int TransferQuestionList(const QuestionLayout& layout) {
  std::vector<ListRow> rows;
  if (ReadListRows(rows) != 0) return -1;
  std::vector<std::string> plan;
  if (PlanTransfer(rows, layout, plan) != 0) return -1;
  const int t = OpenSheetRows(kCheckRange);
  if (t < 0) return -1;
  if (BeginTableTransaction(t) != 0) {
    db_close(t);
    return -1;
  }
  bool written = true;
  for (const std::string& statement : plan) {
    if (written) written = db_exec(t, statement.c_str()) == 0;
  }
  const int ended = EndTableTransaction(t, written);
  db_close(t);
  return written && ended == 0 ? 0 : -1;
}
