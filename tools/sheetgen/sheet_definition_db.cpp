// The sheet generator's side of the sheet-definition tables.
#include "tools/sheetgen/sheet_definition_db.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/db.h"

namespace {

constexpr char kSpecSet[] = "MUPADATA";

// A slot on a whole sheet-definition table, made when missing; -1 after the
// layer's message.
int OpenTable(const char* folder, const char* database, const char* table) {
  return db_open(folder, database, table, kDbKindFile, kSpecSet, table, "");
}

// A column of a table and the member of the row type it holds.
template <class Row>
struct Column {
  Column(const char* n, std::string Row::*t) : name(n), text(t) {}
  Column(const char* n, int Row::*i) : name(n), number(i) {}
  const char* name;
  std::string Row::*text = nullptr;
  int Row::*number = nullptr;
};

template <class Row, std::size_t n>
void PutColumns(int slot, const Row& row, const Column<Row> (&columns)[n]) {
  for (const Column<Row>& c : columns) {
    if (c.text) {
      SetColumnText(slot, c.name, (row.*c.text).c_str());
    } else {
      SetColumnInt(slot, c.name, row.*c.number);
    }
  }
}

template <class Row, std::size_t n>
void GetColumns(int slot, Row* row, const Column<Row> (&columns)[n]) {
  for (const Column<Row>& c : columns) {
    if (c.text) {
      row->*c.text = GetColumnText(slot, c.name);
    } else {
      row->*c.number = GetColumnInt(slot, c.name);
    }
  }
}

using P = SheetPaperRow;
const Column<P> kPaperColumns[] = {
    {"ＯＣＲコード", &P::side},          {"ＯＣＲ用紙名", &P::name},
    {"テーブル", &P::outputTable},       {"用紙サイズ", &P::paperSize},
    {"用紙方向", &P::orientation},       {"ＩＮＴ１", &P::userWidth},
    {"ＩＮＴ２", &P::userHeight},        {"LINESTYLE", &P::compensationMode},
    {"補正Ｘ余白", &P::markMarginX},     {"補正Ｙ余白", &P::markMarginY},
    {"横シフト", &P::gridShiftX},        {"縦シフト", &P::gridShiftY},
    {"ノイズサイズ", &P::noiseSize},     {"予備１", &P::scanType},
    {"予備２", &P::errorSetting},        {"予備３", &P::keyNumbering},
    {"テーブル作成", &P::createTable},   {"既存データ", &P::existingData},
    {"ＩＮＴ６", &P::keepImage},         {"ＩＮＴ９", &P::blankAreas},
    {"罫線", &P::ruledLines},            {"比較用イメージ出力", &P::recordImages},
};

using F = SheetFieldRow;
const Column<F> kFieldColumns[] = {
    {"ＯＣＲコード", &F::side},      {"領域コード", &F::code},     {"領域名", &F::name},
    {"タイトル", &F::title},         {"Ｘ座標", &F::x},            {"Ｙ座標", &F::y},
    {"文字数", &F::count},           {"横幅", &F::boxWidth},       {"高さ", &F::boxHeight},
    {"Ｂサイズ", &F::gap},           {"編集", &F::edit},           {"タイプ", &F::type},
    {"マーク型", &F::markType},      {"しきい値", &F::threshold},  {"配列個数", &F::arrayCount},
    {"配列行間", &F::arrayGap},      {"背景色", &F::shape},        {"重ね文字", &F::overlay},
    {"変換条件", &F::condition},     {"文字型", &F::charType},     {"少数部桁数", &F::decimals},
    {"空白不可", &F::required},      {"有効文字種", &F::mask},     {"最小値", &F::minimum},
    {"最大値", &F::maximum},
};

using M = SheetMarkRow;
const Column<M> kMarkColumns[] = {
    {"ＯＣＲコード", &M::side}, {"Ｘ１", &M::x1},     {"Ｙ１", &M::y1},     {"Ｘ２", &M::x2},
    {"Ｙ２", &M::y2},           {"Ｘ３", &M::x3},     {"Ｙ３", &M::y3},     {"横幅", &M::width},
    {"高さ", &M::height},
};

using K = SheetKeyRow;
const Column<K> kKeyColumns[] = {
    {"ＯＣＲコード", &K::side}, {"ＩＤＸコード", &K::code}, {"項目名", &K::name},
    {"タイトル", &K::title},    {"文字数", &K::width},      {"初期値", &K::initial},
};

using L = SheetLineRow;
const Column<L> kLineColumns[] = {
    {"ＯＣＲコード", &L::side}, {"LINCODE", &L::code}, {"LINSIZE", &L::size},
    {"LINX1", &L::x1},          {"LINY1", &L::y1},     {"LINX2", &L::x2},
    {"LINY2", &L::y2},
};

void PutPaper(int slot, const SheetPaperRow& p) {
  PutColumns(slot, p, kPaperColumns);
  for (int code = 1; code <= 3; ++code) {
    SetColumnDoubleIdx(slot, "イメージ割合", code, p.ratioX[code - 1]);
    SetColumnDoubleIdx(slot, "イメージ割合", code + 10, p.ratioY[code - 1]);
  }
  SetColumnInt(slot, "明るさ", 5);
  SetColumnInt(slot, "スキャナ設定画面", 2);
}

void GetPaper(int slot, SheetPaperRow* p) {
  GetColumns(slot, p, kPaperColumns);
  for (int code = 1; code <= 3; ++code) {
    p->ratioX[code - 1] = GetColumnDoubleIdx(slot, "イメージ割合", code);
    p->ratioY[code - 1] = GetColumnDoubleIdx(slot, "イメージ割合", code + 10);
  }
}

void PutField(int slot, const SheetFieldRow& f) {
  PutColumns(slot, f, kFieldColumns);
  SetColumnInt(slot, "配列開始", -1);  // no repeated copies of the field
  SetColumnText(slot, "全半角", "半角");
  SetColumnText(slot, "種別", "MUPA");
  SetColumnText(slot, "入力許可", "×");
  SetColumnText(slot, "タイトル位置", "×");
  SetColumnInt(slot, "サイズ", 7);
}

void GetField(int slot, SheetFieldRow* f) { GetColumns(slot, f, kFieldColumns); }

void PutMarks(int slot, const SheetMarkRow& m) {
  char code[8];
  std::snprintf(code, sizeof code, "%02d", m.resolutionCode);
  PutColumns(slot, m, kMarkColumns);
  SetColumnText(slot, "コード", code);
}

void GetMarks(int slot, SheetMarkRow* m) {
  GetColumns(slot, m, kMarkColumns);
  m->resolutionCode = std::atoi(GetColumnText(slot, "コード"));
}

void PutKey(int slot, const SheetKeyRow& k) { PutColumns(slot, k, kKeyColumns); }
void GetKey(int slot, SheetKeyRow* k) { GetColumns(slot, k, kKeyColumns); }

void PutLine(int slot, const SheetLineRow& l) {
  PutColumns(slot, l, kLineColumns);
  SetColumnChar(slot, "LINSTYLE", l.style);
}

void GetLine(int slot, SheetLineRow* l) {
  GetColumns(slot, l, kLineColumns);
  l->style = GetColumnChar(slot, "LINSTYLE");
}

// Adds one row a record to `table`: 0, or -1 (reported).
template <class Row>
int AddRows(const char* folder, const char* database, const char* table,
            const std::vector<Row>& rows, void (*put)(int, const Row&)) {
  const int slot = OpenTable(folder, database, table);
  if (slot < 0) return -1;
  for (const Row& row : rows) {
    db_clear(slot);
    put(slot, row);
    if (db_add(slot) != 0) {
      db_close(slot);
      return -1;
    }
  }
  db_close(slot);
  return 0;
}

template <class Row>
int ReadRows(const char* folder, const char* database, const char* table, const char* order,
             std::vector<Row>* rows, void (*get)(int, Row*)) {
  const int slot = OpenTable(folder, database, table);
  if (slot < 0) return -1;
  for (int rc = db_toppos(slot, order); rc == 0; rc = db_nread(slot)) {
    Row row;
    get(slot, &row);
    rows->push_back(row);
  }
  db_close(slot);
  return 0;
}

}  // namespace

int WriteSheetDefinition(const char* folder, const char* database,
                         const SheetDefinition& definition) {
  if (AddRows(folder, database, "MUPA_PAP", definition.papers, PutPaper) != 0 ||
      AddRows(folder, database, "MUPA_FLD", definition.fields, PutField) != 0 ||
      AddRows(folder, database, "MUPA_HMK", definition.marks, PutMarks) != 0 ||
      AddRows(folder, database, "MUPA_IDX", definition.keys, PutKey) != 0 ||
      AddRows(folder, database, "MUPA_LIN", definition.lines, PutLine) != 0) {
    return -1;
  }
  return 0;
}

int ReadSheetDefinition(const char* folder, const char* database, SheetDefinition* definition) {
  *definition = SheetDefinition();
  if (ReadRows(folder, database, "MUPA_PAP", "ＯＣＲコード", &definition->papers, GetPaper) != 0 ||
      ReadRows(folder, database, "MUPA_FLD", "ＯＣＲコード,領域コード", &definition->fields,
               GetField) != 0 ||
      ReadRows(folder, database, "MUPA_HMK", "ＯＣＲコード,コード", &definition->marks,
               GetMarks) != 0 ||
      ReadRows(folder, database, "MUPA_IDX", "ＯＣＲコード,ＩＤＸコード", &definition->keys,
               GetKey) != 0 ||
      ReadRows(folder, database, "MUPA_LIN", "ＯＣＲコード,LINCODE", &definition->lines,
               GetLine) != 0) {
    return -1;
  }
  return 0;
}
