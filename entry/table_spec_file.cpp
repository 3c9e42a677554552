// The output table of a sheet: its columns derived from the sheet
// definition, written as the table's description "<table>.spc" in the
// folder of table descriptions, and the table made from it when missing.
// The description is written under a temporary name and put in place only
// when complete, so a failed write leaves the previous one.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "entry/entry.h"
#include "entry/sheet_fields.h"
#include "foundation/db.h"
#include "foundation/msgbox.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr char kLineTable[] = "MUPA_LIN";
constexpr int kPictureSize = 100;

void AddColumnLine(std::string* text, const char* type, const std::string& name, int size, int decimals) {
  char line[256];
  std::snprintf(line, sizeof line, "\"\",\"%s\",\"%s\",%d,0,%d,\"\",%d\r\n", type, name.c_str(), size,
                decimals, size);
  *text += line;
}

// Bitmaps of a two-sided sheet: its frame rows of size 99 with a position.
int CountLinePictures() {
  const SheetDefinitionRef& sheet = g_sheetDefinition;
  const int slot = db_open(sheet.folder.c_str(), sheet.database.c_str(), kLineTable, sheet.kind, kSheetSpecSet,
                           kLineTable, "select * from MUPA_LIN where LINSIZE=99 and LINX1>0 and LINY1>0");
  if (slot < 0) return -1;
  int count = 0;
  for (int rc = db_toppos(slot, "ＯＣＲコード,LINCODE"); rc == 0; rc = db_nread(slot)) ++count;
  db_close(slot);
  return count;
}

// Writes `text` to `path` through a temporary file beside it: 0, or -1
// after "“%s”をオープンできません。" (the previous file stays).
int ReplaceFileText(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  bool written = false;
  if (file != INVALID_HANDLE_VALUE) {
    DWORD done = 0;
    written = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
              done == text.size();
    written = CloseHandle(file) && written;
  }
  if (written && MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return 0;
  DeleteFileA(temporary.c_str());
  ShowInfoMessage("", "“%s”をオープンできません。", path.c_str());
  return -1;
}

}  // namespace

int WritePictureColumns(std::string* text) {
  int count = 0;
  if (g_sheetSettings.scanType == kScanPaired) {
    count = CountLinePictures();
    if (count < 0) return -1;
  } else {
    const int slot = g_currentSheet.canvasSlot;
    if (slot >= 0 && slot < kWindowSlotCount) {
      for (int i = Slot(slot).firstItem; i <= Slot(slot).lastItem && i >= 0; ++i) {
        if (Item(i).kind == 'c' && Item(i).pixelWidth > 0 && Item(i).pixelHeight > 0) ++count;
      }
    }
  }
  for (int number = 1; number <= count; ++number) {
    char name[16];
    std::snprintf(name, sizeof name, "IMG%02d", number);
    AddColumnLine(text, "char*", name, kPictureSize, 0);
  }
  return count;
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
    AddColumnLine(&text, "char*", key.name, key.width, 0);
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
