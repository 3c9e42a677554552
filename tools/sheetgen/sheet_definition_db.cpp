// The sheet generator's side of the sheet-definition tables.
#include "tools/sheetgen/sheet_definition_db.h"

#include <cstdio>
#include <cstdlib>

#include "foundation/db.h"

namespace {

constexpr char kSpecSet[] = "MUPADATA";

// A slot on a whole sheet-definition table, made when missing; -1 after the
// layer's message.
int OpenTable(const char* folder, const char* database, const char* table) {
  return db_open(folder, database, table, kDbKindFile, kSpecSet, table, "");
}

void PutPaper(int slot, const SheetPaperRow& p) {
  SetColumnText(slot, "ＯＣＲコード", p.side.c_str());
  SetColumnText(slot, "ＯＣＲ用紙名", p.name.c_str());
  SetColumnText(slot, "テーブル", p.outputTable.c_str());
  SetColumnText(slot, "用紙サイズ", p.paperSize.c_str());
  SetColumnText(slot, "用紙方向", p.orientation.c_str());
  SetColumnInt(slot, "ＩＮＴ１", p.userWidth);
  SetColumnInt(slot, "ＩＮＴ２", p.userHeight);
  SetColumnInt(slot, "LINESTYLE", p.compensationMode);
  SetColumnInt(slot, "補正Ｘ余白", p.markMarginX);
  SetColumnInt(slot, "補正Ｙ余白", p.markMarginY);
  SetColumnInt(slot, "横シフト", p.gridShiftX);
  SetColumnInt(slot, "縦シフト", p.gridShiftY);
  for (int code = 1; code <= 3; ++code) {
    SetColumnDoubleIdx(slot, "イメージ割合", code, p.ratioX[code - 1]);
    SetColumnDoubleIdx(slot, "イメージ割合", code + 10, p.ratioY[code - 1]);
  }
  SetColumnInt(slot, "ノイズサイズ", p.noiseSize);
  SetColumnInt(slot, "予備１", p.scanType);
  SetColumnInt(slot, "予備２", p.errorSetting);
  SetColumnInt(slot, "予備３", p.keyNumbering);
  SetColumnInt(slot, "テーブル作成", p.createTable);
  SetColumnInt(slot, "既存データ", p.existingData);
  SetColumnInt(slot, "ＩＮＴ６", p.keepImage);
  SetColumnInt(slot, "ＩＮＴ９", p.blankAreas);
  SetColumnInt(slot, "罫線", p.ruledLines);
  SetColumnInt(slot, "比較用イメージ出力", p.recordImages);
  SetColumnInt(slot, "明るさ", 5);
  SetColumnInt(slot, "スキャナ設定画面", 2);
}

void GetPaper(int slot, SheetPaperRow* p) {
  p->side = GetColumnText(slot, "ＯＣＲコード");
  p->name = GetColumnText(slot, "ＯＣＲ用紙名");
  p->outputTable = GetColumnText(slot, "テーブル");
  p->paperSize = GetColumnText(slot, "用紙サイズ");
  p->orientation = GetColumnText(slot, "用紙方向");
  p->userWidth = GetColumnInt(slot, "ＩＮＴ１");
  p->userHeight = GetColumnInt(slot, "ＩＮＴ２");
  p->compensationMode = GetColumnInt(slot, "LINESTYLE");
  p->markMarginX = GetColumnInt(slot, "補正Ｘ余白");
  p->markMarginY = GetColumnInt(slot, "補正Ｙ余白");
  p->gridShiftX = GetColumnInt(slot, "横シフト");
  p->gridShiftY = GetColumnInt(slot, "縦シフト");
  for (int code = 1; code <= 3; ++code) {
    p->ratioX[code - 1] = GetColumnDoubleIdx(slot, "イメージ割合", code);
    p->ratioY[code - 1] = GetColumnDoubleIdx(slot, "イメージ割合", code + 10);
  }
  p->noiseSize = GetColumnInt(slot, "ノイズサイズ");
  p->scanType = GetColumnInt(slot, "予備１");
  p->errorSetting = GetColumnInt(slot, "予備２");
  p->keyNumbering = GetColumnInt(slot, "予備３");
  p->createTable = GetColumnInt(slot, "テーブル作成");
  p->existingData = GetColumnInt(slot, "既存データ");
  p->keepImage = GetColumnInt(slot, "ＩＮＴ６");
  p->blankAreas = GetColumnInt(slot, "ＩＮＴ９");
  p->ruledLines = GetColumnInt(slot, "罫線");
  p->recordImages = GetColumnInt(slot, "比較用イメージ出力");
}

void PutField(int slot, const SheetFieldRow& f) {
  SetColumnText(slot, "ＯＣＲコード", f.side.c_str());
  SetColumnText(slot, "領域コード", f.code.c_str());
  SetColumnText(slot, "領域名", f.name.c_str());
  SetColumnText(slot, "タイトル", f.title.c_str());
  SetColumnInt(slot, "Ｘ座標", f.x);
  SetColumnInt(slot, "Ｙ座標", f.y);
  SetColumnInt(slot, "文字数", f.count);
  SetColumnInt(slot, "横幅", f.boxWidth);
  SetColumnInt(slot, "高さ", f.boxHeight);
  SetColumnInt(slot, "Ｂサイズ", f.gap);
  SetColumnText(slot, "編集", f.edit.c_str());
  SetColumnText(slot, "タイプ", f.type.c_str());
  SetColumnInt(slot, "マーク型", f.markType);
  SetColumnInt(slot, "しきい値", f.threshold);
  SetColumnInt(slot, "配列開始", -1);  // no repeated copies of the field
  SetColumnInt(slot, "配列個数", f.arrayCount);
  SetColumnInt(slot, "配列行間", f.arrayGap);
  SetColumnText(slot, "背景色", f.shape.c_str());
  SetColumnText(slot, "重ね文字", f.overlay.c_str());
  SetColumnText(slot, "変換条件", f.condition.c_str());
  SetColumnText(slot, "文字型", f.charType.c_str());
  SetColumnInt(slot, "少数部桁数", f.decimals);
  SetColumnInt(slot, "空白不可", f.required);
  SetColumnText(slot, "有効文字種", f.mask.c_str());
  SetColumnText(slot, "最小値", f.minimum.c_str());
  SetColumnText(slot, "最大値", f.maximum.c_str());
  SetColumnText(slot, "全半角", "半角");
  SetColumnText(slot, "種別", "MUPA");
  SetColumnText(slot, "入力許可", "×");
  SetColumnText(slot, "タイトル位置", "×");
  SetColumnInt(slot, "サイズ", 7);
}

void GetField(int slot, SheetFieldRow* f) {
  f->side = GetColumnText(slot, "ＯＣＲコード");
  f->code = GetColumnText(slot, "領域コード");
  f->name = GetColumnText(slot, "領域名");
  f->title = GetColumnText(slot, "タイトル");
  f->x = GetColumnInt(slot, "Ｘ座標");
  f->y = GetColumnInt(slot, "Ｙ座標");
  f->count = GetColumnInt(slot, "文字数");
  f->boxWidth = GetColumnInt(slot, "横幅");
  f->boxHeight = GetColumnInt(slot, "高さ");
  f->gap = GetColumnInt(slot, "Ｂサイズ");
  f->edit = GetColumnText(slot, "編集");
  f->type = GetColumnText(slot, "タイプ");
  f->markType = GetColumnInt(slot, "マーク型");
  f->threshold = GetColumnInt(slot, "しきい値");
  f->arrayCount = GetColumnInt(slot, "配列個数");
  f->arrayGap = GetColumnInt(slot, "配列行間");
  f->shape = GetColumnText(slot, "背景色");
  f->overlay = GetColumnText(slot, "重ね文字");
  f->condition = GetColumnText(slot, "変換条件");
  f->charType = GetColumnText(slot, "文字型");
  f->decimals = GetColumnInt(slot, "少数部桁数");
  f->required = GetColumnInt(slot, "空白不可");
  f->mask = GetColumnText(slot, "有効文字種");
  f->minimum = GetColumnText(slot, "最小値");
  f->maximum = GetColumnText(slot, "最大値");
}

void PutMarks(int slot, const SheetMarkRow& m) {
  char code[8];
  std::snprintf(code, sizeof code, "%02d", m.resolutionCode);
  SetColumnText(slot, "ＯＣＲコード", m.side.c_str());
  SetColumnText(slot, "コード", code);
  SetColumnInt(slot, "Ｘ１", m.x1);
  SetColumnInt(slot, "Ｙ１", m.y1);
  SetColumnInt(slot, "Ｘ２", m.x2);
  SetColumnInt(slot, "Ｙ２", m.y2);
  SetColumnInt(slot, "Ｘ３", m.x3);
  SetColumnInt(slot, "Ｙ３", m.y3);
  SetColumnInt(slot, "横幅", m.width);
  SetColumnInt(slot, "高さ", m.height);
}

void GetMarks(int slot, SheetMarkRow* m) {
  m->side = GetColumnText(slot, "ＯＣＲコード");
  m->resolutionCode = std::atoi(GetColumnText(slot, "コード"));
  m->x1 = GetColumnInt(slot, "Ｘ１");
  m->y1 = GetColumnInt(slot, "Ｙ１");
  m->x2 = GetColumnInt(slot, "Ｘ２");
  m->y2 = GetColumnInt(slot, "Ｙ２");
  m->x3 = GetColumnInt(slot, "Ｘ３");
  m->y3 = GetColumnInt(slot, "Ｙ３");
  m->width = GetColumnInt(slot, "横幅");
  m->height = GetColumnInt(slot, "高さ");
}

void PutKey(int slot, const SheetKeyRow& k) {
  SetColumnText(slot, "ＯＣＲコード", k.side.c_str());
  SetColumnText(slot, "ＩＤＸコード", k.code.c_str());
  SetColumnText(slot, "項目名", k.name.c_str());
  SetColumnText(slot, "タイトル", k.title.c_str());
  SetColumnInt(slot, "文字数", k.width);
  SetColumnText(slot, "初期値", k.initial.c_str());
}

void GetKey(int slot, SheetKeyRow* k) {
  k->side = GetColumnText(slot, "ＯＣＲコード");
  k->code = GetColumnText(slot, "ＩＤＸコード");
  k->name = GetColumnText(slot, "項目名");
  k->title = GetColumnText(slot, "タイトル");
  k->width = GetColumnInt(slot, "文字数");
  k->initial = GetColumnText(slot, "初期値");
}

void PutLine(int slot, const SheetLineRow& l) {
  SetColumnText(slot, "ＯＣＲコード", l.side.c_str());
  SetColumnText(slot, "LINCODE", l.code.c_str());
  SetColumnChar(slot, "LINSTYLE", l.style);
  SetColumnInt(slot, "LINSIZE", l.size);
  SetColumnInt(slot, "LINX1", l.x1);
  SetColumnInt(slot, "LINY1", l.y1);
  SetColumnInt(slot, "LINX2", l.x2);
  SetColumnInt(slot, "LINY2", l.y2);
}

void GetLine(int slot, SheetLineRow* l) {
  l->side = GetColumnText(slot, "ＯＣＲコード");
  l->code = GetColumnText(slot, "LINCODE");
  l->style = GetColumnChar(slot, "LINSTYLE");
  l->size = GetColumnInt(slot, "LINSIZE");
  l->x1 = GetColumnInt(slot, "LINX1");
  l->y1 = GetColumnInt(slot, "LINY1");
  l->x2 = GetColumnInt(slot, "LINX2");
  l->y2 = GetColumnInt(slot, "LINY2");
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
