// The output table of a sheet: its columns derived from the sheet
// definition, written as the table's description "<table>.spc" in the
// folder of table descriptions, and the table made from it when missing.
// The description is written under a temporary name and put in place only
// when complete, so a failed write leaves the previous one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"

#include "entry/entry.h"
#include "entry/sheet_fields.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr int kPictureSize = 100;

void AddColumnLine(std::string* text, const char* type, const std::string& name, int size, int decimals) {
  char line[256];
  std::snprintf(line, sizeof line, "\"\",\"%s\",\"%s\",%d,0,%d,\"\",%d\r\n", type, name.c_str(), size,
                decimals, size);
  *text += line;
}

}  // namespace

int WritePictureColumns(std::string* text) {
  std::vector<AreaFrame> frames;
  if (ReadSheetPictures(&frames) != 0) return -1;
  for (std::size_t number = 1; number <= frames.size(); ++number) {
    char name[16];
    std::snprintf(name, sizeof name, "IMG%02d", static_cast<int>(number));
    AddColumnLine(text, "char*", name, kPictureSize, 0);
  }
  return static_cast<int>(frames.size());
}

int WriteTableSpecFile() {
  const std::string& table = g_sheetSettings.outputTable;
  if (table.empty()) {
    ShowInfoMessage("", "出力を行うテーブル名が設定されていません。");
    return -1;
  }
  if (table.size() >= 2 && table[1] == ':') {
    ShowInfoMessage("", "出力テーブル名“%s”にドライブ名が含まれています。", table.c_str());
    return -1;
  }
  if (table[0] == '\\') {
    ShowInfoMessage("", "出力テーブル名“%s”にフォルダ名が含まれています。", table.c_str());
    return -1;
  }
  std::vector<SheetFieldDef> defs;
  if (ReadSheetFieldDefs(&defs) != 0 || LoadSheetKeyItems() != 0) return -1;
  if (defs.empty()) {
    ShowInfoMessage("", "“%s”の読み取り項目は定義されていません。", table.c_str());
    return -1;
  }

  std::string text = "FIELD\r\n";
  WrittenNames written;
  std::vector<std::string> keys;
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    if (written.Has(key.name)) continue;
    // A key on the sheet is as wide as its field, or as the run numbers it;
    // one the sheet does not bear, as it is declared.
    const auto field = std::find_if(defs.begin(), defs.end(),
                                    [&key](const SheetFieldDef& def) { return def.name == key.name; });
    const int width = field != defs.end() ? DeclaredKeyWidth(key.name, field->count) : key.width;
    AddColumnLine(&text, "char*", key.name, width, 0);
    written.Add(key.name);
    keys.push_back(key.name);
  }
  for (const SheetFieldDef& def : defs) {
    if (def.name.empty() || written.Has(def.name)) continue;
    const OutputColumnDef column = DeriveOutputColumn(def);
    for (const std::string& name : def.ElementNames()) {
      if (written.Has(name)) continue;
      AddColumnLine(&text, column.type.c_str(), name, column.size, column.decimals);
      written.Add(name);
    }
  }
  if (!g_sheetSettings.dateColumn.empty()) AddColumnLine(&text, "char*", g_sheetSettings.dateColumn, 10, 0);
  if (!g_sheetSettings.timeColumn.empty()) AddColumnLine(&text, "char*", g_sheetSettings.timeColumn, 5, 0);
  if (WritePictureColumns(&text) < 0) return -1;
  text += "INDEX\r\n";
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const bool several = keys.size() >= 2;
    const char* mark = several && i == 0 ? "▽" : several && i + 1 == keys.size() ? "△" : "";
    text += "\"" + keys[i] + "\",\"" + mark + "\"\r\n";
  }
  text += "END\r\n";
  // Without a key the table could not be made: the previous description stays.
  if (keys.empty()) {
    ShowInfoMessage("", "“%s”のインデックス定義情報がありません。", table.c_str());
    return -1;
  }
  if (ReplaceFileText(std::string(GetSpecFolder()) + "\\" + table + ".spc", text) != 0) return -1;
  return EnsureOutputTable();
}

int EnsureOutputTable() {
  const CurrentSheet& sheet = g_currentSheet;
  const char* table = g_sheetSettings.outputTable.c_str();
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const int slot = db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table,
                                    sheet.outputKind, table, "", "");
  SetCursor(previous);
  if (slot > 0) {
    db_close(slot);
    return 0;
  }
  if (!DbTableMissing()) return -1;
  // One meaning with the reading run: only テーブル作成 1 lets a missing table be made.
  if (g_sheetSettings.createTable != 1) {
    ShowInfoMessage("", "データベース“%s”に、テーブル“%s”は作成されていません。\n"
                        "テーブルの自動作成が“禁止”に設定されていますので、処理を中断します。",
                    sheet.outputDatabase.c_str(), table);
    return -1;
  }
  // The database layer has reported why the table could not be made.
  return CreateTableFromSpec(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table, sheet.outputKind,
                             table, "");
}
