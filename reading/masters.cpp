// Master look-ups of a run: fields whose value is looked up in a master
// table of the output database (its column copied into another field), and
// postal codes looked up in the address table "全国住所".
#include <string>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr char kAddressTable[] = "全国住所";
constexpr char kCancelled[] = "　書込みをキャンセルしました。\n";

struct MasterSlot {
  std::string table;
  int slot;
};
std::vector<MasterSlot> g_masterSlots;
int g_addressSlot = -1;

bool IsAddressField(const ScreenItem& item) {
  return item.validChars.size() >= 10 && item.validChars[9] == '1';
}

bool HasMaster(const ScreenItem& item) { return !item.refTable.empty() && !item.keyItemName.empty(); }

int MasterSlotOf(const std::string& table) {
  for (const MasterSlot& master : g_masterSlots) {
    if (master.table == table) return master.slot;
  }
  return -1;
}

int OpenOutputTable(const char* table) {
  const CurrentSheet& sheet = g_currentSheet;
  return db_open_nocreate(sheet.outputFolder.c_str(), sheet.outputDatabase.c_str(), table,
                          sheet.outputKind, "", "", "");
}

// A row of `slot` whose `column` holds `value`: true when found.
bool FindRow(int slot, const std::string& column, const std::string& value) {
  if (slot < 0) return false;
  const std::string condition = column + "=" + SqlLiteral(value.c_str());
  return db_search_where(slot, condition.c_str(), column.c_str()) == 0;
}

void CopyIntoField(const std::string& field, int fromSlot, const std::string& column) {
  const int output = g_resultLogs.outputSlot;
  const char* name = field.c_str();
  switch (GetColumnTypeQuiet(fromSlot, column.c_str())) {
    case kColumnShort: SetColumnInt(output, name, GetColumnInt(fromSlot, column.c_str())); break;
    case kColumnLong: SetColumnLong(output, name, GetColumnLong(fromSlot, column.c_str())); break;
    case kColumnDouble:
      SetColumnDouble(output, name, GetColumnDouble(fromSlot, column.c_str()));
      break;
    default: SetColumnText(output, name, GetColumnText(fromSlot, column.c_str())); break;
  }
  const int item = FindCanvasField(field);
  if (item >= 0) Item(item).displayText = GetColumnAsText(fromSlot, column.c_str());
}

void LogError(const char* format, const char* a, const char* b = "", const char* c = "") {
  if (g_resultLogs.err != INVALID_HANDLE_VALUE) WriteTextCrLf(g_resultLogs.err, format, a, b, c);
}

// A master miss of a field (a value read, or a required field left
// blank): logged with its note; 0 go on, -1 stop (run error set).
int ReportMasterMiss(int item, const std::string& value) {
  ScreenItem& it = Item(item);
  ReadingRun& run = g_readingRun;
  const bool continueAfterFaults = g_sheetSettings.errorSetting == 2;
  if (!value.empty()) {
    LogError("“%s”の“%s”は、マスターファイル“%s”に登録されていません。\n", it.name.c_str(),
             value.c_str(), it.refTable.c_str());
    FieldResultOf(item).errorNote = "Err：マスターファイル“" + it.refTable + "”に未登録";
    if (run.subMode != kStoredPageRun && it.masterError == 1) {
      LogError("%s", kCancelled);
      run.runError = kRunMasterMiss;
      run.errorField = it.name;
      run.errorValue = value;
      run.errorDetail = it.refTable;
      return -1;
    }
    return 0;
  }
  if (run.subMode != kStoredPageRun && !continueAfterFaults) {
    LogError("%s", kCancelled);
    run.runError = kRunMasterMiss;
    run.errorField = it.name;
    run.errorValue.clear();
    run.errorDetail = it.refTable;
    return -1;
  }
  return 0;
}

}  // namespace

int CheckMasterOutputFields() {
  if (g_sheetSettings.ruledLines == 2) return g_readingRun.multiValue;
  for (int item : CanvasFieldItems()) {
    const ScreenItem& it = Item(item);
    if (HasMaster(it) && !it.fetchItemName.empty() && !it.writeItemName.empty() &&
        FindCanvasField(it.writeItemName) < 0) {
      ShowInfoMessage("", "マスターファイル“%s”の“%s”を出力するフィールド“%s”がありません。",
                      it.refTable.c_str(), it.fetchItemName.c_str(), it.writeItemName.c_str());
      return 255;
    }
    if (!IsAddressField(it)) continue;
    if (it.writeItemName.empty()) {
      ShowInfoMessage("", "“全国住所データ”を参照する場合は、記入欄“%s”の「参照マスター定義」で"
                          "「書込データ項目」に、住所を出力する項目名を入力してください。",
                      it.name.c_str());
      return 255;
    }
    if (FindCanvasField(it.writeItemName) < 0) {
      ShowInfoMessage("", "住所を出力するフィールド“%s”がありません。", it.writeItemName.c_str());
      return 255;
    }
  }
  return g_readingRun.multiValue;
}

int OpenMasterLookups() {
  CloseMasterLookups();
  for (int item : CanvasFieldItems()) {
    const ScreenItem& it = Item(item);
    if (IsAddressField(it) && g_addressSlot < 0) g_addressSlot = OpenOutputTable(kAddressTable);
    if (!HasMaster(it) || MasterSlotOf(it.refTable) > 0) continue;
    const int slot = OpenOutputTable(it.refTable.c_str());
    if (slot < 0) {
      ShowInfoMessage("", "記入欄“%s”の参照マスターに定義されているテーブル“%s”は作成されていません",
                      it.name.c_str(), it.refTable.c_str());
      return -1;
    }
    g_masterSlots.push_back({it.refTable, slot});
  }
  return 0;
}

void CloseMasterLookups() {
  for (const MasterSlot& master : g_masterSlots) db_close(master.slot);
  g_masterSlots.clear();
  if (g_addressSlot > 0) db_close(g_addressSlot);
  g_addressSlot = -1;
}

void LookUpAddress(int item) {
  const ScreenItem& it = Item(item);
  if (!IsAddressField(it) || it.writeItemName.empty()) return;
  const std::string code = WideTextToNarrow(it.displayText.c_str());
  if (code == "   -" || !FindRow(g_addressSlot, "ZIPCODE", code)) return;
  CopyIntoField(it.writeItemName, g_addressSlot, "ADDRESS");
}

int LookUpMaster(int item, bool required) {
  const ScreenItem& it = Item(item);
  if (!HasMaster(it)) return 0;
  const std::string value = WideTextToNarrow(it.displayText.c_str());
  const int slot = MasterSlotOf(it.refTable);
  if (FindRow(slot, it.keyItemName, value)) {
    if (!it.fetchItemName.empty() && !it.writeItemName.empty()) {
      CopyIntoField(it.writeItemName, slot, it.fetchItemName);
    }
    return 0;
  }
  if (value.empty() && !required) return 0;
  return ReportMasterMiss(item, value);
}
