// Definition databases of older versions brought up to date in place: the
// columns newer versions read are added to MUPA_PAP, MUPA_FLD and the survey
// tables, texts are widened, and a few stored values change their meaning
// with the new columns. Each group of changes runs only when its probe
// column is missing, so an upgraded definition is left alone; no table is
// ever rebuilt by hand or emptied.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "foundation/db.h"
#include "foundation/spc_file.h"
#include "shell/shell.h"

namespace {

// One change of a group: add a smallint (length 0) or a text of `length`,
// or widen a text to `length`.
struct ColumnChange {
  enum Kind { kAdd, kWiden } kind;
  const char* column;
  int length;
};

// A value that changes its meaning once a group's columns exist: run on
// the first row after the group.
enum class RowFix { kNone, kRecognitionArea, kPreprint };

struct UpgradeGroup {
  const char* table;
  const char* probe;
  std::vector<ColumnChange> changes;
  RowFix fix = RowFix::kNone;
};

constexpr ColumnChange Short(const char* column) { return {ColumnChange::kAdd, column, 0}; }
constexpr ColumnChange Text(const char* column, int length) { return {ColumnChange::kAdd, column, length}; }
constexpr ColumnChange Widen(const char* column) { return {ColumnChange::kWiden, column, 255}; }

const std::vector<UpgradeGroup>& SheetGroups() {
  static const std::vector<UpgradeGroup> groups = {
      {"MUPA_PAP", "印字カラー",
       {Short("印字カラー"), Short("色を薄くする"), Short("罫線"), Short("テキストファイル出力"),
        Text("実行プログラム", 100), Text("送信先ウインドウ", 100), Text("送信メッセージ", 30),
        Text("出力テキストファイル", 100), Text("ＦＡＸイメージフォルダ", 100), Short("ＩＮＴ１"),
        Short("ＩＮＴ２"), Short("ＩＮＴ３"), Text("ＳＴＲ１", 100), Text("ＳＴＲ２", 100),
        Text("ＳＴＲ３", 100)}},
      {"MUPA_PAP", "明るさ", {Short("明るさ"), Short("ＩＮＴ４"), Short("ＩＮＴ５"), Short("ＩＮＴ６")}},
      {"MUPA_PAP", "補正Ｙ余白", {Short("補正Ｙ余白"), Short("補正Ｘ余白")}},
      {"MUPA_PAP", "認識エリア",
       {Short("認識エリア"), Short("ＩＮＴ７"), Short("ＩＮＴ８"), Short("ＩＮＴ９")},
       RowFix::kRecognitionArea},
      {"MUPA_FLD", "重ね文字２", {Text("重ね文字２", 255), Text("選択肢フォント", 4)}},
      {"MUPA_FLD", "認識不可スコア",
       {Short("認識不可スコア"), Short("文字単位出力"), Text("認識不可マーク", 30)}},
      {"MUPA_FLD", "表面裏面", {Short("表面裏面"), Widen("タイトル"), Widen("アイコン")}},
      {"MUPA_FLD", "マーク型", {Short("マーク型"), Short("しきい値")}},
      {"MUPA_PAP", "タイムスタンプ",
       {Text("ＦＥＰ起動", 10), Text("タイムスタンプ", 10), Text("日付項目名", 30), Text("時刻項目名", 30),
        Short("秒まで取得")}},
      {"MUPA_PAP", "イメージ項目名",
       {Text("イメージ項目名", 128), Short("イメージ名記録"), Short("フォルダ名を含める")}},
      {"MUPA_PAP", "プレプリント欄", {Text("プレプリント欄", 30), Short("プレプリント")}, RowFix::kPreprint},
      {"MUPA_PAP", "補正Ｘエリア１",
       {Short("補正Ｘエリア１"), Short("補正Ｙエリア１"), Short("補正Ｘエリア２"), Short("補正Ｙエリア２")}},
      {"MUPA_PAP", "左余白", {Short("左余白"), Short("上余白")}},
      {"MUPA_PAP", "比較イメージパス", {Short("比較イメージパス"), Text("比較イメージフォルダ", 128)}},
      {"MUPA_PAP", "変換後イメージ形式",
       {Short("変換後イメージ形式"), Text("変換済イメージフォルダ", 100), Text("エラーイメージフォルダ", 100),
        Short("比較用イメージ出力")}},
      {"MUPA_PAP", "補正境界値", {Short("補正境界値"), Short("不明瞭マーク境界値")}},
      {"MUPA_PAP", "ＰＤＦ出力",
       {Short("ＰＤＦ出力"), Short("左側余白１"), Short("上部余白１"), Short("割合１"), Short("左側余白２"),
        Short("上部余白２"), Short("割合２")}},
      {"MUPA_PAP", "商品番号項目", {Text("商品番号項目", 30), Text("顧客番号項目", 30)}},
      {"MUPA_FLD", "重ね文字３",
       {Short("マスターエラー"), Text("重ね文字３", 255), Text("変換条件２", 255), Text("変換条件３", 255),
        Widen("重ね文字"), Widen("変換条件")}},
      {"MUPA_FLD", "印字開始番号", {Short("印字開始番号")}},
      {"MUPA_PAP", "一覧表項目種別", {Short("一覧表項目種別"), Short("カード項目種別")}},
      {"MUPA_FLD", "行文字数", {Short("行文字数")}},
  };
  return groups;
}

// A slot connected to a table of the current definition for schema
// statements; -1 when the table cannot be reached (reported).
int ConnectTable(const char* table) {
  return db_alloc_slot(DefinitionFolder().c_str(), DefinitionName().c_str(), table, kDbKindFile);
}

int ApplyChange(int slot, const ColumnChange& change) {
  if (change.kind == ColumnChange::kWiden) return AlterTextColumnLength(slot, change.column, change.length);
  return change.length > 0 ? AddTableColumn(slot, kColumnText, change.column, change.length)
                           : AddTableColumn(slot, kColumnShort, change.column, 0);
}

// The first row's values that the new columns re-read: recognition by the
// frame (ＩＮＴ３ 1) becomes 認識エリア 4, any other 1; a key field of kind 3
// (printed identification numbers) becomes kind 1 with プレプリント.
int FixFirstRow(const char* table, RowFix fix) {
  const int t = db_open(DefinitionFolder().c_str(), DefinitionName().c_str(), table, kDbKindFile,
                        kSettingsSpec, table, "");
  if (t < 0) return -1;
  int rc = 0;
  if (db_toppos(t, "ＯＣＲコード") == 0) {
    if (fix == RowFix::kRecognitionArea) {
      const bool byFrame = GetColumnInt(t, "ＩＮＴ３") == 1;
      if (byFrame) SetColumnInt(t, "ＩＮＴ３", 0);
      SetColumnInt(t, "認識エリア", byFrame ? 4 : 1);
      rc = db_update(t);
    } else if (GetColumnInt(t, "予備３") == 3) {
      SetColumnInt(t, "予備３", 1);
      SetColumnInt(t, "プレプリント", 1);
      rc = db_update(t);
    }
  }
  db_close(t);
  return rc;
}

// Adds the columns of every group of `table` whose probe is missing: 0
// (also for a table that is not there), or -1 when the database cannot be
// reached (reported).
int UpgradeTable(const char* table, const char* keyColumn, const std::vector<UpgradeGroup>& groups) {
  const int slot = ConnectTable(table);
  if (slot < 0) return -1;
  // A table the definition does not hold yet is made whole when it is
  // first opened: nothing to upgrade.
  if (FindDbColumnNumber(slot, keyColumn) < 0) {
    db_disconnect(slot);
    return 0;
  }
  std::vector<RowFix> fixes;
  for (const UpgradeGroup& group : groups) {
    if (std::string(group.table) != table || FindDbColumnNumber(slot, group.probe) >= 0) continue;
    for (const ColumnChange& change : group.changes) ApplyChange(slot, change);
    if (group.fix != RowFix::kNone) fixes.push_back(group.fix);
  }
  db_disconnect(slot);
  for (RowFix fix : fixes) FixFirstRow(table, fix);
  return 0;
}

// Widens `column` of a survey table to 255 when its declared length is
// below `atLeast`.
int WidenSurveyText(const char* table, const char* column, int atLeast) {
  const int t = db_open(DefinitionFolder().c_str(), DefinitionName().c_str(), table, kDbKindFile, table,
                        table, "");
  if (t < 0) return 0;
  const int length = GetColumnLength(t, column);
  db_close(t);
  if (length < 0 || length >= atLeast) return 0;
  const int slot = ConnectTable(table);
  if (slot < 0) return 0;
  AlterTextColumnLength(slot, column, 255);
  db_disconnect(slot);
  return 0;
}

}  // namespace

int UpgradeSheetTables() {
  // The groups run in their own order, table by table: MUPA_PAP's groups
  // and MUPA_FLD's are independent of each other.
  for (const char* table : {"MUPA_PAP", "MUPA_FLD"}) {
    if (UpgradeTable(table, "ＯＣＲコード", SheetGroups()) != 0) return -1;
  }
  return 0;
}

int UpgradeSurveyItemTable() {
  static const std::vector<UpgradeGroup> groups = {
      {"調査項目", "改頁11",
       {Short("改頁11"), Short("改頁12"), Short("改頁13"), Short("改頁14"), Short("印字11"), Short("印字12"),
        Short("印字13"), Short("印字14")}},
      {"調査項目", "選択肢２", {Text("選択肢２", 255), Text("選択肢３", 255)}},
  };
  UpgradeTable("調査項目", "質問コード", groups);
  return 0;
}

int EnsureSurveyCountColumn() { return WidenSurveyText("調査項目", "カウントデータ", 201); }

int EnsureSurveyName() { return WidenSurveyText("調査定義", "調査名", 255); }
