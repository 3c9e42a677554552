// Storing what the operator types into the list and the record commands:
// a cell, a new record, copying the line above, deleting, inserting and
// moving records with their code numbers renumbered, filling a column over
// a range of codes and deleting a range. Every value reaches SQL text as a
// quoted literal, and every renumbering runs in one transaction: it is
// stored whole or not at all.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "screen/screen.h"

namespace {

constexpr UINT kMsgCellStore = WM_USER + 142;  // 1166: the owner may take a store over
constexpr int kRedLine = 2;

RenumberStepHook g_renumberStep = nullptr;

int Table() { return g_listForm.tableSlot; }
const char* KeyName() { return g_listForm.keyColumn.c_str(); }
bool UsesCodeNumbers() { return g_listForm.keyKind != kFreeKeys; }

bool IsBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// "table.key='key'": the key as a condition on the table's key column.
std::string KeyEquals(const std::string& key) {
  return g_listForm.table + "." + g_listForm.keyColumn + "=" + SqlLiteral(key.c_str());
}

bool RecordExists(const std::string& key) {
  return !key.empty() && db_find_key_first(Table(), key.c_str(), g_listForm.keyNumber) == 0;
}

// The writes of one operation, kept together: rolled back unless
// committed.
class ListTransaction {
 public:
  ListTransaction() : open_(BeginTableTransaction(Table()) == 0) {}
  ~ListTransaction() {
    if (open_) EndTableTransaction(Table(), false);
  }
  ListTransaction(const ListTransaction&) = delete;
  ListTransaction& operator=(const ListTransaction&) = delete;
  bool open() const { return open_; }
  int Commit() {
    open_ = false;
    return EndTableTransaction(Table(), true);
  }

 private:
  bool open_;
};

int Exec(const std::string& sql) { return db_exec(Table(), sql.c_str()); }

// Gives a stored row a new key; one step of a renumbering.
int ChangeKey(const std::string& from, const std::string& to, int step) {
  const int rc = Exec("update " + g_listForm.table + " set " + g_listForm.keyColumn + "=" + SqlLiteral(to.c_str()) +
                      " " + KeyCondition(from.c_str()));
  if (rc == 0 && g_renumberStep) g_renumberStep(step);
  return rc;
}

// The keys of the rows from `first` on (not below it) in key order, to
// `last` when given; none from "", the code after the last there is.
std::vector<std::string> KeysFrom(const std::string& first, const std::string& last = "") {
  std::vector<std::string> keys;
  if (first.empty()) return keys;
  int rc = db_find_key_or_next(Table(), first.c_str(), g_listForm.keyNumber);
  while (rc == 0) {
    const std::string key = GetColumnText(Table(), KeyName());
    if (!last.empty() && key > last) break;
    keys.push_back(key);
    rc = db_nread(Table());
  }
  return keys;
}

// The key of the last record, "" for an empty table.
std::string LastKey() {
  return db_efind(Table(), g_listForm.keyNumber) == 0 ? GetColumnText(Table(), KeyName()) : "";
}

// Checks a value against what the screen says of its column: 0, or -1
// after the message.
int CheckLimits(int column, const std::string& value) {
  const ListColumn& c = g_list.columns[column];
  if (CheckEntryValue(ValueRuleOf(c, c.title.empty() ? c.name : c.title, c.dbType), value) != 0) return -1;
  return IsStoredListColumn(column) ? CheckColumnValue(Table(), g_listForm.table.c_str(), c.name.c_str(), value) : 0;
}

bool HasFixedValue(const std::string& column) {
  for (const auto& fixed : g_listForm.fixedValues) {
    if (fixed.first == column) return true;
  }
  return false;
}

// The stored columns of a line and their value texts, the key left out.
void LineValues(int line, std::string* names, std::string* values, std::string* assignments) {
  const int key = KeyColumnIndex();
  for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
    // A column scrolled out of view keeps what is stored.
    if (c == key || !IsStoredListColumn(c) || ListCellItem(c, line) < 0) continue;
    const std::string& name = g_list.columns[c].name;
    // Nothing typed: a new record takes the list's fixed value.
    if (HasFixedValue(name) && IsBlank(ListCellText(c, line))) continue;
    const std::string value = ListValueText(c, ListCellText(c, line));
    if (names) *names += "," + name;
    if (values) *values += "," + value;
    if (assignments) *assignments += (assignments->empty() ? "" : ",") + name + "=" + value;
  }
}

int InsertRecord(const std::string& key, const std::string& names, const std::string& values) {
  std::string allNames = g_listForm.keyColumn + names;
  std::string allValues = SqlLiteral(key.c_str()) + values;
  for (const auto& [column, value] : g_listForm.fixedValues) {
    if (("," + names + ",").find("," + column + ",") != std::string::npos) continue;  // typed
    allNames += "," + column;
    allValues += "," + SqlLiteral(value.c_str());
  }
  return Exec("insert into " + g_listForm.table + " (" + allNames + ") values (" + allValues + ")");
}

int UpdateRecord(const std::string& key, const std::string& assignments) {
  if (assignments.empty()) return 0;
  return Exec("update " + g_listForm.table + " set " + assignments + " " + KeyCondition(key.c_str()));
}

// A stored change is noted for the owner.
int NoteChange(int rc) {
  if (rc == 0) {
    g_listForm.changed = 1;
    SetScreenFlagA();
  }
  return rc;
}

// The page again from line 1's key (or `fallback` when line 1 is empty).
void ShowPageAgain(const std::string& fallback = "") {
  const std::string top = LineKey(1);
  SeekListRecord(top.empty() ? fallback.c_str() : top.c_str());
}

void ClearLine(int line) {
  for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) SetListCellText(c, line, "");
}

void ColourLine(int line, int colour) {
  for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
    SetFieldColorAIdx(g_list.columns[c].name.c_str(), line, colour);
  }
  RepaintCurrentWindow();
}

const char* KeyTitle() { return g_listForm.keyTitle.c_str(); }

// A new record under `key` from the cells of a line.
int AddLineRecord(int line, const std::string& key) {
  std::string names, values;
  LineValues(line, &names, &values, nullptr);
  return NoteChange(InsertRecord(key, names, values));
}

// The key cell stored: a new record, or a refusal.
int CommitKeyCell(int line, std::string key, const std::string& shownKey) {
  const int keyColumn = KeyColumnIndex();
  const ListColumn& column = g_list.columns[keyColumn];
  if (!key.empty() && column.edit == 'Z' && static_cast<int>(key.size()) < g_listForm.codeWidth) {
    key.insert(0, g_listForm.codeWidth - key.size(), '0');
    SetListCellText(keyColumn, line, key.c_str());
  }
  if (!shownKey.empty()) {
    if (key == shownKey) return 0;
    // A line that shows a record keeps its key.
    SetListCellText(keyColumn, line, shownKey.c_str());
    ShowInfoMessage("", "%s“%s”を検索できません。", KeyTitle(), shownKey.c_str());
    return -1;
  }
  if (key.empty()) return 0;
  if (RecordExists(key)) {
    ShowInfoMessage("", "%s“%s”はすでに登録されています。", KeyTitle(), key.c_str());
    ClearLine(line);
    ShowPageAgain();
    return -1;
  }
  if (LookUpLinkedCode(keyColumn, line, key) != 0 || KeepListRows({key}) != 0) return -1;
  const int rc = AddLineRecord(line, key);
  ShowPageAgain(key);
  return rc;
}

// Gives the rows of `keys` (in code order) the codes after `after` in turn,
// inside the caller's transaction.
int RenumberListCodes(const std::vector<std::string>& keys, std::string after) {
  int rc = 0;
  int step = 0;
  for (size_t k = 0; rc == 0 && k < keys.size(); ++k) {
    after = NextCode(after, 1);
    if (keys[k] != after) rc = ChangeKey(keys[k], after, ++step);
  }
  return rc;
}

// Steps a one- or two-character key, or a code number, for the copy of the
// line above: the key, or "" after the message.
std::string DeriveCopyKey(const std::string& above) {
  if (above.size() == 1) {
    const char c = above[0];
    if (c > 'y') {
      ShowInfoMessage("", "コード“z”以上の文字は複写できません。");
      return "";
    }
    return std::string(1, c == '9' ? 'A' : c == 'Z' ? 'a' : static_cast<char>(c + 1));
  }
  if (above.size() == 2 && above >= "99") {
    ShowInfoMessage("", "コード“99”以上の文字は複写できません。");
    return "";
  }
  std::string next = above;
  char* digits = next.data();
  IncrementDigitString(digits);
  return next;
}

}  // namespace

void SetRenumberStepHook(RenumberStepHook hook) { g_renumberStep = hook; }

std::string ListValueText(int column, const std::string& value) {
  return ColumnValueText(g_list.columns[column].dbType, value);
}

std::string ColumnValueText(int columnType, const std::string& value) {
  char number[64];
  switch (columnType) {
    case kColumnChar:
      return value.empty() ? "''" : SqlLiteral(value.substr(0, 1).c_str());
    case kColumnShort:
      std::snprintf(number, sizeof number, "%d", std::atoi(value.c_str()));
      return number;
    case kColumnLong:
      std::snprintf(number, sizeof number, "%ld", std::atol(value.c_str()));
      return number;
    case kColumnDouble:
      std::snprintf(number, sizeof number, "%f", std::atof(value.c_str()));
      return number;
    default:
      return SqlLiteral(value.c_str());
  }
}

std::string KeyCondition(const char* key) {
  const std::string& condition = g_list.conditionText;
  const std::string prefix = condition.empty() ? "where " : "where " + condition + " and ";
  return prefix + KeyEquals(key);
}

std::string NextCode(const std::string& code, int step) {
  // A code may begin with letters of its kind ("T001"): they stay, and the
  // digits after them count.
  const size_t digits = code.find_first_of("0123456789");
  const std::string letters = code.substr(0, std::min(digits, code.size()));
  const int width = g_listForm.codeWidth - static_cast<int>(letters.size());
  const long value = std::atol(code.c_str() + letters.size()) + step;
  char text[32];
  std::snprintf(text, sizeof text, "%0*ld", std::max(width, 0), value);
  // A code that would need more digits, or less than zero, does not exist.
  if (value < 0 || static_cast<int>(std::strlen(text)) > width) return "";
  return letters + text;
}

int CommitListCell(int column, int line) {
  if (!g_listForm.dataSetOpen || line < 1 || line > g_listForm.rows) return -1;
  const int keyColumn = KeyColumnIndex();
  std::string key = LineKey(line);
  if (UsesCodeNumbers() && IsBlank(key)) key.clear();
  const std::string value = ListCellText(column, line);
  if (key.empty() && !g_list.newRowsAllowed) {
    MessageBeep(MB_ICONHAND);
    SetListCellText(column, line, "");
    return -1;
  }
  if (column != keyColumn && CheckLimits(column, value) != 0) {
    SetListCellText(column, line, "");
    return -1;
  }
  // A code of a linked column is one its master holds, for every record.
  if (column != keyColumn && LookUpLinkedCode(column, line, value) != 0) return -1;
  const HWND owner = IsValidSlot(g_listForm.slot) ? Slot(g_listForm.slot).owner : nullptr;
  if (owner && SendMessageA(owner, kMsgCellStore, column, line) == 1) return 0;
  const std::string shownKey = g_listForm.lineKeys.size() > static_cast<size_t>(line)
                                   ? g_listForm.lineKeys[line] : std::string();
  if (column == keyColumn) return CommitKeyCell(line, key, shownKey);
  if (key.empty() && UsesCodeNumbers()) {
    // A new record gets the next code number.
    const std::string last = LastKey();
    key = last.empty() ? NextCode("0", 1) : NextCode(last, 1);
    if (key.empty()) {
      ShowInfoMessage("", "%s“%s”の次のコードはありません。", KeyTitle(), last.c_str());
      return -1;
    }
    SetListCellText(keyColumn, line, key.c_str());
    if (KeepListRows({key}) != 0) return -1;
    const int rc = AddLineRecord(line, key);
    ShowPageAgain(key);
    return rc;
  }
  if (key.empty()) return 0;
  if (!RecordExists(key)) {
    ShowInfoMessage("", "%sの変更はできません。(%s)", KeyTitle(), key.c_str());
    ShowPageAgain();
    return -1;
  }
  if (!IsStoredListColumn(column)) return 0;
  if (KeepListRows({key}) != 0) return -1;
  // SET names the column alone: SQLite refuses a table in front of it.
  const std::string assignment = g_list.columns[column].name + "=" + ListValueText(column, value);
  const int rc = UpdateRecord(key, assignment);
  NoteChange(rc);
  ShowPageAgain();
  return rc;
}

int CopyListRecord(int line) {
  if (g_listForm.editMode != 0 || line <= 1 || line > g_listForm.rows) return -1;
  const std::string above = LineKey(line - 1);
  if (!RecordExists(above)) return -1;
  std::string key = LineKey(line);
  if (UsesCodeNumbers() && IsBlank(key)) key.clear();
  bool update = false;
  if (!key.empty()) {
    // Only a record that exists is copied onto; a typed key without a
    // record would be a new record nobody asked for.
    if (!RecordExists(key)) {
      ShowInfoMessage("", "%s“%s”は登録されていません。", KeyTitle(), key.c_str());
      return -1;
    }
    if (AskYesNo("", "%s“%s”を複写します。", KeyTitle(), above.c_str()) != IDYES) return 0;
    update = true;
  } else {
    key = DeriveCopyKey(above);
    if (key.empty()) return -1;
    if (RecordExists(key)) {
      ShowInfoMessage("", "%s“%s”はすでに登録されています。", KeyTitle(), key.c_str());
      return -1;
    }
  }
  const int keyColumn = KeyColumnIndex();
  for (int c = 0; c < static_cast<int>(g_list.columns.size()); ++c) {
    if (c != keyColumn) SetListCellText(c, line, ListCellText(c, line - 1).c_str());
  }
  SetListCellText(keyColumn, line, key.c_str());
  if (KeepListRows({key}) != 0) return -1;
  std::string names, values, assignments;
  LineValues(line, &names, &values, &assignments);
  const int rc = update ? UpdateRecord(key, assignments) : InsertRecord(key, names, values);
  NoteChange(rc);
  ShowPageAgain();
  return rc;
}

int DeleteListRecord(int line) {
  if (g_listForm.editMode != 0) return -1;
  const std::string key = LineKey(line);
  if (!RecordExists(key)) return -1;
  ColourLine(line, kRedLine);
  const bool yes = AskYesNo("", "%s“%s”を削除してもよろしいですか？", KeyTitle(), key.c_str()) == IDYES;
  ColourLine(line, 0);
  if (!yes) return 0;
  // The codes behind are read before the delete: the data set is positioned
  // again after every statement.
  const std::vector<std::string> behind =
      g_listForm.keyKind == kConsecutiveCodes ? KeysFrom(NextCode(key, 1)) : std::vector<std::string>();
  if (KeepListRowsBetween(key, behind.empty() ? key : behind.back()) != 0) return -1;
  ListTransaction transaction;
  if (!transaction.open()) return -1;
  int rc = Exec("delete from " + g_listForm.table + " " + KeyCondition(key.c_str()));
  if (rc == 0) rc = RenumberListCodes(behind, NextCode(key, -1));
  if (rc == 0) rc = transaction.Commit();
  NoteChange(rc);
  ShowPageAgain(key);
  return rc;
}

int InsertListLine(int line) {
  if (g_listForm.keyKind == kFreeKeys) {
    for (const ListColumn& c : g_list.columns) ShiftDownClearField(c.name.c_str(), line, g_listForm.rows);
    if (g_listForm.lineKeys.size() > static_cast<size_t>(line)) {
      g_listForm.lineKeys.insert(g_listForm.lineKeys.begin() + line, std::string());
      g_listForm.lineKeys.resize(g_listForm.rows + 1);
    }
    RepaintCurrentWindow();
    return 0;
  }
  if (g_listForm.keyKind != kConsecutiveCodes) return -1;
  const std::string code = LineKey(line);
  if (!RecordExists(code)) return -1;
  std::vector<std::string> behind = KeysFrom(code);
  if (!behind.empty() && NextCode(behind.back(), 1).empty()) {
    ShowInfoMessage("", "%s“%s”の次のコードはありません。", KeyTitle(), behind.back().c_str());
    return -1;
  }
  if (KeepListRowsBetween(code, behind.back()) != 0 || KeepListRows({NextCode(behind.back(), 1)}) != 0) return -1;
  ListTransaction transaction;
  if (!transaction.open()) return -1;
  int rc = 0;
  int step = 0;
  // From the last record back, so that no two rows share a code meanwhile.
  for (size_t k = behind.size(); rc == 0 && k-- > 0;) {
    rc = ChangeKey(behind[k], NextCode(behind[k], 1), ++step);
    if (rc != 0) ShowInfoMessage("", "修正できません。(%d)", rc);
  }
  if (rc == 0) rc = InsertRecord(code, "", "");
  if (rc == 0) rc = transaction.Commit();
  NoteChange(rc);
  ShowPageAgain(code);
  return rc;
}

int MoveListRecord(const std::string& from, const std::string& to) {
  if (!UsesCodeNumbers()) return -1;
  if (from.empty() || to.empty() || from == to) return -1;
  const std::string first = NextCode("0", 1);
  if (from == first || to == first) {
    ShowInfoMessage("", "先頭の項目（キー項目）は、移動できません。");
    return -1;
  }
  if (!RecordExists(from) || !RecordExists(to)) return -1;
  const bool up = to < from;  // the record moves to an earlier code
  const std::vector<std::string> between = up ? KeysFrom(to, NextCode(from, -1)) : KeysFrom(NextCode(from, 1), to);
  const std::string parked(g_listForm.codeWidth, '$');
  if (KeepListRowsBetween(up ? to : from, up ? from : to) != 0) return -1;
  ListTransaction transaction;
  if (!transaction.open()) return -1;
  int step = 0;
  int rc = ChangeKey(from, parked, ++step);
  if (up) {
    for (size_t k = between.size(); rc == 0 && k-- > 0;) rc = ChangeKey(between[k], NextCode(between[k], 1), ++step);
  } else {
    for (size_t k = 0; rc == 0 && k < between.size(); ++k) rc = ChangeKey(between[k], NextCode(between[k], -1), ++step);
  }
  if (rc == 0) rc = ChangeKey(parked, to, ++step);
  if (rc == 0) rc = transaction.Commit();
  NoteChange(rc);
  ShowPageAgain();
  return rc;
}

int RangeInputToColumn(int column, const std::string& start, const std::string& end, const std::string& value) {
  if (column < 0 || column >= static_cast<int>(g_list.columns.size())) return -1;
  const ListColumn& c = g_list.columns[column];
  if (column == KeyColumnIndex() || !IsStoredListColumn(column) || c.state != kItemEnabled) {
    ShowInfoMessage("", "%sの範囲指定入力はできません。", c.title.empty() ? c.name.c_str() : c.title.c_str());
    return -1;
  }
  if (CheckLimits(column, value) != 0) return -1;
  if (AskYesNo("", "%s～%sに“%s”を書き込みます。", start.c_str(), end.c_str(), value.c_str()) != IDYES) return 1;
  if (KeepListRowsBetween(start, end) != 0) return -1;
  const std::string& condition = g_list.conditionText;
  const std::string where = (condition.empty() ? "where " : "where " + condition + " and ") + g_listForm.table +
                            "." + g_listForm.keyColumn + ">=" + SqlLiteral(start.c_str()) + " and " +
                            g_listForm.table + "." + g_listForm.keyColumn + "<=" + SqlLiteral(end.c_str());
  const int rc = Exec("update " + g_listForm.table + " set " + c.name + "=" + ListValueText(column, value) + " " + where);
  ShowPageAgain();
  return rc;
}

int RangeDeleteRecords(const std::string& start, const std::string& end) {
  if (AskYesNo("", "コード番号 %s ～ %s を削除します。", start.c_str(), end.c_str()) != IDYES) return 1;
  const std::string& condition = g_list.conditionText;
  const std::string where = (condition.empty() ? "where " : "where " + condition + " and ") +
                            g_listForm.keyColumn + ">=" + SqlLiteral(start.c_str()) + " and " +
                            g_listForm.keyColumn + "<=" + SqlLiteral(end.c_str());
  int rc = 0;
  {
    const bool renumber = g_listForm.keyKind == kConsecutiveCodes;
    const std::vector<std::string> behind = renumber ? KeysFrom(NextCode(end, 1)) : std::vector<std::string>();
    if (KeepListRowsBetween(start, behind.empty() ? end : behind.back()) != 0) return -1;
    ListTransaction transaction;
    if (!transaction.open()) return -1;
    rc = Exec("delete from " + g_listForm.table + " " + where);
    if (rc == 0) rc = RenumberListCodes(behind, NextCode(start, -1));
    if (rc == 0) rc = transaction.Commit();
  }
  ShowPageAgain(start);
  return rc;
}
