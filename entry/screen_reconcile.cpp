// Keeping a generated screen in step with its sheet: a sheet whose items
// changed only in their lengths, decimals and ranges brings its screen
// rows and output columns up to date; any other change asks for a rebuild.
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/screen_rows.h"
#include "entry/sheet_fields.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

int ColumnTypeOfWord(const std::string& word) {
  if (word == "int") return kColumnShort;
  if (word == "long") return kColumnLong;
  if (word == "double") return kColumnDouble;
  return kColumnText;
}

bool IsNumericType(int type) { return type == kColumnShort || type == kColumnLong || type == kColumnDouble; }

const char* ScreenNameOf(int form) { return form == 2 ? "カード形式画面" : "一覧表形式画面"; }

// Brings one element's row and output column up to date: 0, or -1 after
// the message.
int ReconcileElement(int form, int fieldSlot, int outputSlot, const SheetFieldDef& def, const std::string& name,
                     const OutputColumnDef& column) {
  if (db_search(fieldSlot, name.c_str(), "FLDNAME") != 0) {
    ShowInfoMessage("", "“%s”は、入力画面に存在しません。\n「シートフォーマットをもとに再構築」にチェックして"
                        "〔実行〕を押してください。",
                    name.c_str());
    return -1;
  }
  const bool flagGroup = form == 2 && def.charType == "ﾌﾗｸﾞ";
  const bool wasFlagGroup = std::string(GetColumnText(fieldSlot, "FLDTYPE")) == "GCHK";
  if (flagGroup != wasFlagGroup) {
    ShowInfoMessage("", "チェック欄“%s”の内容が変更されています。\n「シートフォーマットをもとに再構築」にチェックして"
                        "〔実行〕を押してください。",
                    name.c_str());
    return -1;
  }
  SetColumnInt(fieldSlot, "FLDDEC", column.decimals);
  SetColumnText(fieldSlot, "FLDMIN", def.minText.c_str());
  SetColumnText(fieldSlot, "FLDMAX", def.maxText.c_str());

  const int newType = ColumnTypeOfWord(column.type);
  const int oldType = outputSlot > 0 ? GetColumnTypeQuiet(outputSlot, name.c_str()) : -1;
  const bool keyField = name == g_sheetKeys.lastKeyName;
  const int oldLength = GetColumnInt(fieldSlot, "FLDRMSU");
  // The key keeps the width its records are numbered to (its column's).
  const int length = keyField ? DeclaredKeyWidth(name, def.count) : column.size;
  if (oldLength != length) {
    SetColumnInt(fieldSlot, "FLDRMSU", length);
    if (GetColumnInt(fieldSlot, "FLDSMSU") < length) SetColumnInt(fieldSlot, "FLDSMSU", length);
    // Only a wider column: stored texts are never cut.
    if (oldType == kColumnText && newType == kColumnText &&
        GetColumnLength(outputSlot, name.c_str()) < length &&
        AlterTextColumnLength(outputSlot, name.c_str(), length) != 0) {
      return -1;
    }
    if (keyField) {
      ShowInfoMessage("", "%sのキー項目“%s”の文字数を“%d”から“%d”に変更しました。", ScreenNameOf(form), name.c_str(),
                      oldLength, length);
    }
  }
  if (!keyField && oldType >= 0 && IsNumericType(oldType) != IsNumericType(newType)) {
    SetColumnText(fieldSlot, "FLDEDT", IsNumericType(newType) ? "右詰" : "左詰");
    SetColumnText(fieldSlot, "FLDTYPE", IsNumericType(newType) ? "数字" : "半角");
    if (AlterTableColumnType(outputSlot, name.c_str(), newType, column.size) != 0) return -1;
  } else if (!keyField && oldType >= 0 && IsNumericType(oldType) && oldType != newType &&
             AlterTableColumnType(outputSlot, name.c_str(), newType, column.size) != 0) {
    return -1;
  }
  return db_update(fieldSlot);
}

}  // namespace

int CountScreenDataFields(const std::string& screenCode) {
  const int slot = OpenScreenFieldRows(kFieldTable, screenCode);
  if (slot < 0) return -1;
  int count = 0;
  for (int rc = db_toppos(slot, "FLDCODE"); rc == 0; rc = db_nread(slot)) {
    const std::string name = GetColumnText(slot, "FLDNAME");
    const bool picture = name.compare(0, 3, "IMG") == 0 && std::string(GetColumnText(slot, "FLDEDT")) == "BMAP";
    if (!picture) ++count;
  }
  db_close(slot);
  return count - static_cast<int>(g_sheetKeys.items.size()) + 1;
}

int ReconcileScreenRows(int form, int mode) {
  std::vector<SheetFieldDef> defs;
  if (ReadSheetFieldDefs(&defs) != 0 || LoadSheetKeyItems() != 0) return -1;
  if (defs.empty()) {
    ShowInfoMessage("", "“%s”の読み取り項目は定義されていません。", g_sheetSettings.outputTable.c_str());
    return -1;
  }
  int fieldSlot = -1, outputSlot = -1;
  if (mode == 1) {
    fieldSlot = OpenScreenFieldRows(kFieldTable, EntryScreenCode(form));
    if (fieldSlot < 0) return -1;
    const CurrentSheet& sheet = g_currentSheet;
    const char* table = g_sheetSettings.outputTable.c_str();
    outputSlot = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table, sheet.outputKind,
                                  table, "", "");
  }
  int elements = 0;
  int rc = 0;
  for (const SheetFieldDef& def : defs) {
    if (rc != 0) break;
    if (def.name.empty() || (def.IsCheck() && def.threshold == -1)) continue;
    const OutputColumnDef column = DeriveOutputColumn(def);
    for (const std::string& name : def.ElementNames()) {
      ++elements;
      if (mode == 1 && ReconcileElement(form, fieldSlot, outputSlot, def, name, column) != 0) {
        rc = -1;
        break;
      }
    }
  }
  if (outputSlot > 0) db_close(outputSlot);
  if (fieldSlot > 0) db_close(fieldSlot);
  return rc == 0 ? elements : -1;
}

int CheckSheetChangedSinceScreens(int form, int messageKind, int mode) {
  if (LoadSheetKeyItems() != 0) return -1;
  const int screenFields = CountScreenDataFields(EntryScreenCode(form));
  if (screenFields < 0 || (screenFields == 0 && mode != 2)) return 0;
  const int sheetFields = ReconcileScreenRows(form, 0);
  if (sheetFields < 0) return -1;
  const int stamps = !g_sheetSettings.dateColumn.empty() + !g_sheetSettings.timeColumn.empty();
  if (screenFields == sheetFields + stamps) return ReconcileScreenRows(form, 1) < 0 ? -1 : 0;
  if (mode == 2) return -1;
  ShowInfoMessage("", messageKind == 2
                          ? "ＯＣＲシートの内容が変更されています。\n"
                            "「カード形式画面」および「一覧表形式画面」の再構築を行ってください。"
                          : "ＯＣＲシートの内容が変更されています。\n"
                            "「シートフォーマットをもとに再構築」にチェックして〔実行〕を押してください。");
  return -1;
}
