// Validation and writing of the record of a sheet: every read value checked
// against the sheet definition (key, duplicates, masters, required fields,
// number of marks, limits), logged, and stored by column type in one row of
// the output table, added or overwritten. Every value that goes into a
// condition goes through the quoting helper.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "designer/sheet_settings.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/files.h"
#include "foundation/sjis_text.h"
#include "foundation/text_utils.h"
#include "reading/reading.h"
#include "screen/screen.h"

namespace {

constexpr char kCancelled[] = "　書込みをキャンセルしました。\n";

RecordStoredHook g_recordStored = nullptr;

HANDLE PutLog() { return g_resultLogs.put; }
HANDLE ErrLog() { return g_resultLogs.err; }
int OutputSlot() { return g_resultLogs.outputSlot; }

template <class... Args>
void Log(HANDLE log, const char* format, Args... args) {
  if (log != INVALID_HANDLE_VALUE) WriteTextCrLf(log, format, args...);
}

bool ContinueAfterFaults() { return g_sheetSettings.errorSetting == 2; }

// A column of one character: declared so, or a text of length 1 (which is
// how the databases describe it).
bool IsOneCharacterColumn(const char* name, int type) {
  return type == kColumnChar ||
         (type == kColumnText && GetColumnLength(g_resultLogs.outputSlot, name) == 1);
}

bool IsNumberColumn(int type) {
  return type == kColumnShort || type == kColumnLong || type == kColumnDouble;
}

// The value as it is stored: narrowed for number columns and for fields
// whose output is half-width.
std::string StoredForm(const ScreenItem& item, const std::string& value, int columnType) {
  if (!IsNumberColumn(columnType) && item.fullWidth != 2) return value;
  return WideTextToNarrow(value.c_str());
}

int CountCharacters(const std::string& text) {
  int n = 0;
  for (std::size_t i = 0; i < text.size(); i += SjisCharLength(text.c_str() + i)) ++n;
  return n;
}

void SetRunError(int code, const std::string& field, const std::string& value = "",
                 const std::string& detail = "") {
  ReadingRun& run = g_readingRun;
  run.runError = code;
  run.errorField = field;
  run.errorValue = value;
  run.errorDetail = detail;
}

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// The key items of the sheet's record with their values: the key field's
// from the run, the others read from the sheet or set in the definition.
KeyValues RecordKeyValues() {
  // A sheet stored by a run that stopped belongs to the record it went into,
  // whatever the run's values are now.
  if (!g_readingRun.storedKeys.empty()) return g_readingRun.storedKeys;
  KeyValues values;
  for (const SheetKeyItem& key : g_sheetKeys.items) {
    std::string value = key.value;
    const int item = key.onSheet ? FindCanvasField(key.name) : -1;
    if (key.name == g_sheetKeys.lastKeyName) {
      value = g_readingRun.keyValue;
    } else if (item >= 0) {
      value = WideTextToNarrow(Item(item).displayText.c_str());
    }
    values.emplace_back(key.name, value);
  }
  return values;
}

// The condition that finds the record of the sheet by its key items.
std::string KeyCondition(const KeyValues& values) {
  std::string condition;
  for (const auto& [name, value] : values) {
    if (!condition.empty()) condition += " and ";
    condition += name + "=" + SqlLiteral(value.c_str());
  }
  return condition;
}

void SetKeyColumns(const KeyValues& values) {
  const int slot = OutputSlot();
  for (const auto& [name, value] : values) SetColumnFromText(slot, name.c_str(), value.c_str());
}

// A design read of the back side goes into the record of the front side
// read before it: the stored row (state 0), else a new row under its key
// (state 1). -1 (run error set) when no front side was read.
int FindFrontSideRecord() {
  ReadingRun& run = g_readingRun;
  if (run.recordKeys.empty()) {
    SetRunError(kRunSideOrder, "");
    return -1;
  }
  for (const auto& [name, value] : run.recordKeys) {
    if (name == g_sheetKeys.lastKeyName) run.keyValue = value;
  }
  const int slot = OutputSlot();
  if (db_search_where(slot, KeyCondition(run.recordKeys).c_str(),
                      g_sheetKeys.lastKeyName.c_str()) == 0) {
    run.rowState = 0;
    return 0;
  }
  db_clear(slot);
  SetKeyColumns(run.recordKeys);
  run.rowState = 1;
  return 0;
}

// Finds the record by its key: state 1 (a new row, its key set), state 0 (the
// stored row is overwritten), or -1 when overwriting is forbidden (run
// error set).
int CheckDuplicateKey(const ScreenItem& keyField) {
  ReadingRun& run = g_readingRun;
  const int slot = OutputSlot();
  const KeyValues keys = RecordKeyValues();
  if (db_search_where(slot, KeyCondition(keys).c_str(), keyField.name.c_str()) != 0) {
    run.rowState = 1;
    db_clear(slot);
    Log(PutLog(), "%s", "◎ ");
    for (const SheetKeyItem& key : g_sheetKeys.items) Log(PutLog(), "[%s] ", key.name.c_str());
    SetKeyColumns(keys);
    return 0;
  }
  // The record this very sheet stored in a run that stopped is written over.
  if (g_sheetSettings.existingData != 2 && keys != run.storedKeys) {
    Log(ErrLog(), "“%s”は、すでに登録されています。\n", run.keyValue.c_str());
    Log(ErrLog(), "%s", kCancelled);
    SetRunError(kRunDuplicateKey, keyField.name, run.keyValue);
    return -1;
  }
  run.rowState = 0;
  run.recordFound = 1;
  return 0;
}

// The key field's value: the run's number, or the value read. 0, or -1 for
// an empty key (run error set).
int CheckKeyField(int item) {
  ReadingRun& run = g_readingRun;
  ScreenItem& key = Item(item);
  if (KeyIsNumbered()) {
    if (run.numbersUsedUp) {
      Log(ErrLog(), "%s", kCancelled);
      SetRunError(kRunNumbersUsedUp, key.name, run.autoNumber);
      return -1;
    }
    std::string number = run.autoNumber;
    for (const auto& [name, value] : run.storedKeys) {
      if (name == key.name) number = value;  // the number the sheet was stored under
    }
    std::vector<char> wide(number.size() * 2 + 1);
    NarrowTextToWide(wide.data(), number.c_str());
    key.displayText = wide.data();
  }
  run.keyValue = WideTextToNarrow(key.displayText.c_str());
  Log(ErrLog(), "〔%s：%s〕\n", key.name.c_str(), key.displayText.c_str());
  const int threshold = g_sheetSettings.shiftThreshold;
  const ImageCompensation& shift = CurrentCompensation();
  if (threshold > 0 && (std::abs(shift.shiftX) >= threshold || std::abs(shift.shiftY) >= threshold)) {
    Log(g_resultLogs.hos, "〔%s：%s〕X：%d ／ Y：%d\n", key.name.c_str(), key.displayText.c_str(),
        shift.shiftX, shift.shiftY);
  }
  if (run.keyValue.empty()) {
    Log(ErrLog(), "　キー項目欄“%s”には、何も記入されていません。\n", key.name.c_str());
    Log(ErrLog(), "%s", kCancelled);
    SetRunError(kRunBlankField, key.name);
    run.errorDetail = "key";
    return -1;
  }
  return CheckDuplicateKey(key);
}

// A value outside a limit: logged with its note; -1 stops the sheet (run
// error set) unless the sheet goes on after faults, when a one-character
// column takes "*".
int LimitFault(int item, int code, const char* line, const char* note, const std::string& limit,
               std::string* value, int columnType) {
  ScreenItem& it = Item(item);
  Log(ErrLog(), line, it.name.c_str(), limit.c_str(), value->c_str());
  char text[256];
  std::snprintf(text, sizeof text, note, limit.c_str());
  FieldResultOf(item).errorNote = text;
  if (!ContinueAfterFaults()) {
    Log(ErrLog(), "%s", kCancelled);
    SetRunError(code, it.name, *value, limit);
    return -1;
  }
  if (IsOneCharacterColumn(it.name.c_str(), columnType)) *value = "*";
  return 0;
}

// The value of a plain decimal number ("-12", "3.5"); false for anything
// else (signs alone, exponents, hexadecimal, "nan", "inf", blanks).
bool ParsePlainNumber(const std::string& text, double* number) {
  if (text.empty()) return false;
  const std::size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
  std::size_t digits = 0, points = 0;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (text[k] >= '0' && text[k] <= '9') {
      ++digits;
    } else if (text[k] != '.' || ++points > 1) {
      return false;
    }
  }
  if (digits == 0) return false;
  *number = std::strtod(text.c_str(), nullptr);
  return true;
}

// -1 below the minimum, 1 above the maximum, 0 inside; numbers compare as
// numbers, texts as texts.
int CompareWithLimit(const std::string& value, const std::string& limit, bool numbers) {
  // A blank counts as 0; what is no plain number on either side compares as
  // text, not as the number its leading digits make.
  double v = 0, l = 0;
  if (numbers && (value.empty() || ParsePlainNumber(value, &v)) && ParsePlainNumber(limit, &l)) {
    return v < l ? -1 : v > l ? 1 : 0;
  }
  return value < limit ? -1 : value > limit ? 1 : 0;
}

// A read number an integer column cannot hold: a limit fault against the
// column's own range, never a value wrapped round. -1 stops the sheet, 1
// leaves the column unset (the sheet goes on after faults), 0 stores it.
int ColumnRangeFault(int item, int columnType, std::string* value) {
  if (columnType != kColumnShort && columnType != kColumnLong) return 0;
  double number = 0;
  if (value->empty() || !ParsePlainNumber(*value, &number)) return 0;
  const bool isShort = columnType == kColumnShort;
  const double lowest = isShort ? -32768.0 : -2147483648.0;
  const double highest = isShort ? 32767.0 : 2147483647.0;
  if (number >= lowest && number <= highest) return 0;
  const bool below = number < lowest;
  const std::string limit = below ? (isShort ? "-32768" : "-2147483648")
                                  : (isShort ? "32767" : "2147483647");
  const int fault =
      below ? LimitFault(item, kRunBelowMinimum, "“%s”に“%s”に満たない値“%s”が記入されています。\n",
                         "Err：“%s”に満たない値が記入", limit, value, columnType)
            : LimitFault(item, kRunAboveMaximum, "“%s”に“%s”を越える値“%s”が記入されています。\n",
                         "Err：“%s”を越える値が記入", limit, value, columnType);
  return fault != 0 ? -1 : 1;
}

void StoreValue(const ScreenItem& item, int columnType, const std::string& value) {
  const int slot = OutputSlot();
  const char* column = item.name.c_str();
  switch (columnType) {
    case kColumnShort: SetColumnInt(slot, column, std::atoi(value.c_str())); break;
    case kColumnLong: SetColumnLong(slot, column, std::atol(value.c_str())); break;
    case kColumnDouble: SetColumnDouble(slot, column, std::atof(value.c_str())); break;
    default: SetColumnText(slot, column, value.c_str()); break;
  }
}

// Checks and stores one field: 0 go on, 1 skip the record, -1 stop (run
// error set).
int CheckReadValues(int item) {
  ScreenItem& it = Item(item);
  const int slot = OutputSlot();
  const int columnType = GetColumnTypeQuiet(slot, it.name.c_str());
  if (columnType < 0) return 0;
  const bool isKey = it.name == g_sheetKeys.lastKeyName;
  const bool required = it.blankNotAllowed == 2;
  LookUpAddress(item);
  if (isKey && CheckKeyField(item) != 0) return -1;
  if (isKey && KeyIsNumbered()) {
    // The run's number, set with the record's keys: the key's boxes are
    // neither read nor checked.
    Log(PutLog(), "%s ", g_readingRun.keyValue.c_str());
    return 0;
  }
  const int master = LookUpMaster(item, required);
  if (master != 0) return master;

  FieldResult& result = FieldResultOf(item);
  std::string value = StoredForm(it, it.displayText, columnType);
  if (required && value.empty()) {
    Log(ErrLog(), "“%s”には、何も記入されていません。\n", it.name.c_str());
    result.errorNote = "Err：記入必須欄が空白";
    if (!ContinueAfterFaults()) {
      Log(ErrLog(), "%s", kCancelled);
      SetRunError(kRunRequiredBlank, it.name);
      return -1;
    }
  }
  const bool check = it.edit == 'C';
  if (check && it.count > 0) {
    int marks = 0;
    if (it.charType == 3) {
      for (char c : result.markPattern) marks += c == '1';
    } else {
      marks = CountCharacters(it.displayText);
    }
    if (marks > it.count) {
      value = IsOneCharacterColumn(it.name.c_str(), columnType) ? "*" : "";
      Log(ErrLog(), "“%s”のチェック数が“%d”を越えました。\n", it.name.c_str(), it.count);
      result.errorNote = "Err：チェック数エラー";
    }
  }
  if (!check && it.charType == 2 && it.count > 0) InsertDecimalPoint(&value, value, it.count);
  const bool numbers = IsNumberColumn(columnType);
  if (!it.minText.empty() && (!value.empty() || required) &&
      CompareWithLimit(value, it.minText, numbers) < 0 &&
      LimitFault(item, kRunBelowMinimum, "“%s”に“%s”に満たない値“%s”が記入されています。\n",
                 "Err：“%s”に満たない値が記入", it.minText, &value, columnType) != 0) {
    return -1;
  }
  if (!it.maxText.empty() && (!value.empty() || required) &&
      CompareWithLimit(value, it.maxText, numbers) > 0 &&
      LimitFault(item, kRunAboveMaximum, "“%s”に“%s”を越える値“%s”が記入されています。\n",
                 "Err：“%s”を越える値が記入", it.maxText, &value, columnType) != 0) {
    return -1;
  }
  const int range = ColumnRangeFault(item, columnType, &value);
  if (range < 0) return -1;
  Log(PutLog(), "%s ", value.c_str());
  if (range > 0) return 0;
  if (check && !it.conversionText.empty() && ContainsChar(it.conversionText.c_str(), ',') &&
      !ContainsChar(it.conversionText.c_str(), '=')) {
    value = MarksToCode(result.markPattern, it.conversionText);
  }
  StoreValue(it, columnType, value);
  return 0;
}

void StoreTimeStamp() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  const int slot = OutputSlot();
  if (!g_sheetSettings.dateColumn.empty()) {
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", now.wYear, now.wMonth, now.wDay);
    SetColumnText(slot, g_sheetSettings.dateColumn.c_str(), text);
  }
  if (!g_sheetSettings.timeColumn.empty()) {
    std::snprintf(text, sizeof text, "%02d:%02d", now.wHour, now.wMinute);
    SetColumnText(slot, g_sheetSettings.timeColumn.c_str(), text);
  }
}

// Writes the key of the stored record as the run's resume point. A write
// that does not go through sets the run error that ends the run once the
// sheet is done: a later sheet must not be stored past a wrong resume point.
void WriteEndCode(const std::string& key) {
  const std::string& path = g_readingPlaces.endCodePath;
  if (path.empty()) return;
  // Written over in place, once a sheet: emptying the file each time costs
  // more than the rest of the record.
  const std::string line = key + "\r\n";
  if (!WriteFileOver(path.c_str(), line.data(), line.size())) {
    SetRunError(kRunEndCodeFailed, g_sheetKeys.lastKeyName, key, path);
  }
}

}  // namespace

int WriteReadRecord() {
  ReadingRun& run = g_readingRun;
  const bool paired = run.scanType == kScanPaired && g_currentSheet.projectMode == kOperationMode;
  const bool firstSide = !paired || run.currentSide != 2;
  run.rowState = -1;
  run.written = 0;
  if (firstSide) run.recordFound = 0;
  if (firstSide && !run.storedKeys.empty() &&
      db_search_where(OutputSlot(), KeyCondition(run.storedKeys).c_str(),
                      g_sheetKeys.lastKeyName.c_str()) != 0) {
    run.storedKeys.clear();  // its record did not go in: the sheet is new
  }
  const bool designBack = g_currentSheet.projectMode != kOperationMode &&
                          g_sheetDefinition.sheetCode == "0002";
  if (designBack && FindFrontSideRecord() != 0) return -1;
  if (!run.testScan) {
    const char* side = !paired ? "" : firstSide ? "表面" : "裏面";
    Log(PutLog(), "〔%s〕%s \n", run.recordNumber.c_str(), side);
    Log(ErrLog(), "〔%s〕%s \n", run.recordNumber.c_str(), side);
    if (run.subMode == kMarkLogRun || run.subMode == kAlignOnlyRun) {
      Log(ErrLog(), "%s\n", run.message.c_str());
    }
  }
  const std::vector<int> fields = CanvasFieldItems();
  const int keyItem = FindCanvasField(g_sheetKeys.lastKeyName);
  if (keyItem >= 0) {
    const int rc = CheckReadValues(keyItem);
    if (rc != 0) {
      Log(PutLog(), "%s", "\n");
      return rc;
    }
  } else if (!firstSide) {
    // The back goes into the row held back for it, under the front's key.
    run.rowState = run.recordFound ? 0 : 1;
    for (const auto& [name, value] : run.recordKeys) {
      if (name == g_sheetKeys.lastKeyName) run.keyValue = value;
    }
  }
  for (int item : fields) {
    if (item == keyItem) continue;
    const int rc = CheckReadValues(item);
    if (rc != 0) {
      Log(PutLog(), "%s", "\n");
      return rc;
    }
  }
  StoreTimeStamp();
  if (StoreAreaImageNames() != 0) {
    SetRunError(kRunWriteFailed, g_sheetKeys.lastKeyName, run.keyValue);
    return -1;
  }

  if (!run.testScan) {
    if (paired && firstSide) {
      run.rowState = 2;  // the record waits for its second side
    } else {
      const int slot = OutputSlot();
      if (run.rowState != 0 && !run.pageDigest.empty() &&
          WritePageJournal({run.pageDigest, firstSide ? RecordKeyValues() : run.recordKeys}) != 0) {
        Log(ErrLog(), "%s", kCancelled);
        SetRunError(kRunWriteFailed, g_sheetKeys.lastKeyName, run.keyValue);
        return -1;
      }
      const int stored = run.rowState == 0 ? db_update(slot) : db_add(slot);
      if (stored != 0) {
        // The database layer has shown why; the page stays for another run.
        Log(ErrLog(), "%s", kCancelled);
        SetRunError(kRunWriteFailed, g_sheetKeys.lastKeyName, run.keyValue);
        return -1;
      }
      run.written = 1;
      if (g_recordStored) g_recordStored();
      if (run.rowState == 0 && run.storedKeys.empty()) {
        Log(ErrLog(), " 「%s」“%s”は、上書き修正しました。\n", g_sheetKeys.lastKeyName.c_str(),
            run.keyValue.c_str());
      }
      if (g_currentSheet.projectMode == kOperationMode) WriteEndCode(run.keyValue);
    }
    if (firstSide && !designBack) run.recordKeys = RecordKeyValues();
  }
  if (KeyIsNumbered() && !(paired && firstSide) && !run.testScan && run.storedKeys.empty()) {
    AdvanceAutoNumber();
  }
  Log(PutLog(), "%s", "\n");
  return 0;
}

void SetRecordStoredHook(RecordStoredHook hook) { g_recordStored = hook; }

int FindWrittenRecord() {
  const int slot = OutputSlot();
  const std::string condition = KeyCondition(RecordKeyValues());
  return db_search_where(slot, condition.c_str(), g_sheetKeys.lastKeyName.c_str()) == 0 ? 0 : -1;
}
