// The records of the card form: one record of the data set at a time by its
// code number, shown in the screen's fields, written back as one SQL
// statement whose values are quoted literals, paged by code, added with the
// next code number, copied and deleted; and the jobs over a range of codes
// (deleting, filling one column) and the number search.
#include <cstdio>
#include <string>
#include <vector>

#include "entry/card_form.h"
#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/dates.h"
#include "foundation/db_sql.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr UINT kMsgRecordWritten = WM_USER + 113;  // 1137
constexpr int kRedText = 2;
// Field kinds of dates: a birth date, the age computed from it, a date.
constexpr char kBirthDateField = 'S', kAgeField = 'A', kDateField = 'D';

int Table() { return g_cardForm.tableSlot; }
int KeyNumber() { return g_cardForm.keyNumber; }

std::string WithoutBlanks(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : text.substr(first);
}

// The items of the card that show values: no buttons, marks, pictures or
// captions.
std::vector<int> CardFields() {
  std::vector<int> fields;
  const WindowSlot& s = Slot(g_cardForm.slot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const ScreenItem& item = Item(i);
    if (item.fieldName.empty() || IsButtonOrMark(item.kind) || item.edit == 'I' ||
        item.itemClass == kItemClassIcon) {
      continue;
    }
    fields.push_back(i);
  }
  return fields;
}

// The column type of a field's column in the data set, -1 without one.
int ColumnTypeOf(int item) { return GetColumnTypeQuiet(Table(), Item(item).name.c_str()); }

// A field that is written: a column of the screen's own table, no joined
// value, no calculated value (an age included), no caption-only type.
bool IsStoredField(int item) {
  const ScreenItem& it = Item(item);
  return it.joinText.empty() && it.execText.empty() && it.kind != kAgeField && it.titleStyle != 6 &&
         it.titleStyle != 7 && ColumnTypeOf(item) > 0;
}

std::string FieldValue(int item) { return WithoutBlanks(Item(item).displayText); }

void SetFieldValue(int item, const std::string& value) {
  // A value marked with "*" (a character the reading could not decide)
  // stands out in red.
  Item(item).colorA = value.find('*') != std::string::npos ? kRedText : 0;
  SetItemValueAt(g_cardForm.slot, item, value.c_str());
}

// The age fields show the whole years since the card's birth date (a date
// "%04d/%02d/%02d"; anything else shows no age), the era fields the era
// form of their dates.
void ShowCardAgesAndEras() {
  std::string birth;
  const std::vector<int> fields = CardFields();
  for (int item : fields) {
    if (Item(item).kind == kBirthDateField) {
      birth = FieldValue(item);
      break;
    }
  }
  const bool date = birth.size() == 10 && birth[4] == '/' && birth[7] == '/' && GetDatePart(birth.c_str(), 1) > 0;
  const std::string age = date ? std::to_string(ComputeAge(GetDatePart(birth.c_str(), 1), GetDatePart(birth.c_str(), 2),
                                                           GetDatePart(birth.c_str(), 3)))
                               : std::string();
  for (int item : fields) {
    if (Item(item).kind == kAgeField) SetFieldValue(item, age);
  }
  // Each date's era form, in the field beside it that the screen names so.
  for (int item : fields) {
    if (!IsDateFieldKind(Item(item).kind)) continue;
    SetItemValueForCommand(g_cardForm.slot, EraFieldName(Item(item).name).c_str(), EraOfDate(FieldValue(item)).c_str());
  }
}

void ClearCardFields() {
  for (int item : CardFields()) SetFieldValue(item, "");
}

// "where" and the screen's own condition, if any, ready for one more.
std::string WhereOfScreen() {
  const std::string& condition = g_list.conditionText;
  return condition.empty() ? "where " : "where " + condition + " and ";
}

std::string KeyName() { return g_cardForm.table + "." + g_cardForm.keyColumn; }

// "table.key='code'" after the screen's own condition.
std::string KeyCondition(const std::string& code) {
  return WhereOfScreen() + KeyName() + "=" + SqlLiteral(code.c_str());
}

// The codes from `start` to `end` after the screen's own condition.
std::string RangeCondition(const std::string& start, const std::string& end) {
  return WhereOfScreen() + KeyName() + ">=" + SqlLiteral(start.c_str()) + " and " + KeyName() + "<=" +
         SqlLiteral(end.c_str());
}

// A range whose start lies above its end: true after its message.
bool RangeIsWrong(const std::string& start, const std::string& end) {
  if (start <= end) return false;
  ShowInfoMessage("", "コード番号の設定が間違っています。");
  return true;
}

bool RecordExists(const std::string& code) {
  return !code.empty() && db_find_key_first(Table(), code.c_str(), KeyNumber()) == 0;
}

// The card repainted whole (the job dialog may hold the current slot).
void RepaintCard() { InvalidateRect(Slot(g_cardForm.slot).window, nullptr, TRUE); }

// The code field: typed into only for a new record in start mode 1.
void SetCodeFieldState(int state) {
  if (g_cardForm.keyItem >= 0 && g_cardForm.startMode == kCardStartNewCode) Item(g_cardForm.keyItem).state = state;
}

void SetCodeField(const std::string& code) {
  if (g_cardForm.keyItem >= 0) SetItemValueAt(g_cardForm.slot, g_cardForm.keyItem, code.c_str());
}

// The record the data set's cursor holds, shown.
int ShowRecordAtCursor() {
  const std::string code = GetColumnText(Table(), g_cardForm.keyColumn.c_str());
  return ShowCardRecord(code);
}

int InsertRecord(const std::string& code) {
  std::string names, values;
  for (int item : CardFields()) {
    if (!IsStoredField(item)) continue;
    const bool key = item == g_cardForm.keyItem;
    names += (names.empty() ? "" : ",") + Item(item).name;
    values += (values.empty() ? "" : ",") + ColumnValueText(ColumnTypeOf(item), key ? code : FieldValue(item));
  }
  if (g_cardForm.keyItem < 0 || !IsStoredField(g_cardForm.keyItem)) {
    names = g_cardForm.keyColumn + (names.empty() ? "" : "," + names);
    values = SqlLiteral(code.c_str()) + (values.empty() ? "" : "," + values);
  }
  return db_exec(Table(), ("insert into " + g_cardForm.table + " (" + names + ") values (" + values + ")").c_str());
}

int UpdateRecord(const std::string& code) {
  std::string assignments;
  for (int item : CardFields()) {
    if (item == g_cardForm.keyItem || !IsStoredField(item)) continue;
    // SET names the column alone: SQLite refuses a table in front of it.
    assignments += (assignments.empty() ? "" : ",") + Item(item).name + "=" +
                   ColumnValueText(ColumnTypeOf(item), FieldValue(item));
  }
  if (assignments.empty()) return 0;
  return db_exec(Table(), ("update " + g_cardForm.table + " set " + assignments + " " + KeyCondition(code)).c_str());
}

// A value of a field checked against the field and its column before it
// is written: 0, or -1 after the message.
int CheckCardValue(int item, const std::string& value) {
  const ScreenItem& field = Item(item);
  const std::string& title = field.caption.empty() ? field.name : field.caption;
  if (CheckEntryValue(ValueRuleOf(field, title, ColumnTypeOf(item)), value) != 0) return -1;
  return CheckColumnValue(Table(), g_cardForm.table.c_str(), field.name.c_str(), value);
}

// The values of the card checked before they are written: 0, or -1 after
// the message. A value holding "*" is the reading run's mark of an
// undecided character, left for the operator to correct.
int CheckCardValues() {
  for (int item : CardFields()) {
    if (item == g_cardForm.keyItem || !IsStoredField(item)) continue;
    const std::string value = FieldValue(item);
    if (value.find('*') != std::string::npos) continue;
    if (CheckCardValue(item, value) != 0) return -1;
  }
  return 0;
}

// The code after the last stored one (zeros as wide as the code field for
// an empty table, plus one).
std::string NextFreeCode() {
  std::string code = db_efind(Table(), KeyNumber()) == 0
                         ? std::string(GetColumnText(Table(), g_cardForm.keyColumn.c_str()))
                         : std::string(g_cardForm.codeWidth, '0');
  if (code.empty()) code.assign(g_cardForm.codeWidth, '0');
  IncrementDigitString(code.data());
  return code;
}

}  // namespace

// After records were deleted up to `code`: the record behind them, else a
// new record (a browsing card shows its last record). 0.
static int ShowRecordAfterDeleted(const std::string& code) {
  g_cardForm.pendingEdits = 0;
  if (db_find_key_above(Table(), code.c_str(), KeyNumber()) == 0) return ShowRecordAtCursor();
  g_cardForm.entryState = kCardNothingShown;
  g_cardForm.shownCode.clear();
  if (StartNewCard() != 0) {
    FreeCardImages();
    ClearCardFields();
  }
  return 0;
}

std::string CardCodeInField() {
  if (g_cardForm.keyItem < 0) return "";
  std::string code = FieldValue(g_cardForm.keyItem);
  const ScreenItem& key = Item(g_cardForm.keyItem);
  if (!code.empty() && key.edit == 'Z' && static_cast<int>(code.size()) < g_cardForm.codeWidth) {
    code.insert(0, g_cardForm.codeWidth - code.size(), '0');
  }
  return code;
}

int ShowCardRecord(const std::string& code) {
  if (!RecordExists(code)) return -1;
  for (int item : CardFields()) {
    SetFieldValue(item, ColumnTypeOf(item) > 0 ? GetColumnAsText(Table(), Item(item).name.c_str()) : "");
  }
  ShowCardAgesAndEras();
  g_cardForm.shownCode = code;
  g_cardForm.entryState = kCardStoredRecord;
  g_cardForm.pendingEdits = 0;
  LoadCardImages(code);
  SetCodeFieldState(kItemProtected);
  RepaintCard();
  return 0;
}

void TakeCardDate() {
  const int item = g_screen.currentItem;
  if (item < 0 || (Item(item).kind != kBirthDateField && Item(item).kind != kDateField)) return;
  NormalizeDateField();
  ShowCardAgesAndEras();
}

int WriteCardRecord() {
  if (g_cardForm.pendingEdits == 0 || Table() <= 0) return 0;
  const std::string code = CardCodeInField();
  if (code.empty()) {
    ShowInfoMessage("", "コード番号が入力されていません。");
    return -1;
  }
  if (CheckCardValues() != 0) return -1;
  const bool exists = g_cardForm.startMode == kCardStartFound || RecordExists(code);
  const int rc = exists ? UpdateRecord(code) : InsertRecord(code);
  if (rc != 0) return -1;  // reported by the database layer; the values stay on the card
  g_cardForm.pendingEdits = 0;
  ShowCardRecord(code);
  const HWND owner = Slot(g_cardForm.slot).owner;
  if (owner) SendMessageA(owner, kMsgRecordWritten, Slot(g_cardForm.slot).screenNumber, 0);
  return 0;
}

int ShowFirstStoredCard() {
  if (db_tfind(Table(), KeyNumber()) != 0) return -1;
  return ShowRecordAtCursor();
}

int ShowPreviousCard() {
  const std::string from = g_cardForm.entryState == kCardStoredRecord ? g_cardForm.shownCode : CardCodeInField();
  if (from.empty() || db_find_key_below(Table(), from.c_str(), KeyNumber()) != 0) {
    MessageBeep(MB_OK);
    return -1;
  }
  return ShowRecordAtCursor();
}

int ShowNextCard() {
  const std::string from = g_cardForm.entryState == kCardStoredRecord ? g_cardForm.shownCode : CardCodeInField();
  if (!from.empty() && db_find_key_above(Table(), from.c_str(), KeyNumber()) == 0) return ShowRecordAtCursor();
  if (g_cardForm.entryState == kCardNewRecord) return -1;  // a new record already
  return StartNewCard();
}

int ShowFirstCard() {
  if (ShowFirstStoredCard() == 0) return 0;
  MessageBeep(MB_OK);
  return -1;
}

int StartNewCard() {
  if (g_cardForm.startMode == kCardStartFirst || g_cardForm.sheetCard) {
    if (db_efind(Table(), KeyNumber()) != 0) return -1;
    return ShowRecordAtCursor();
  }
  g_cardForm.copySource = g_cardForm.entryState == kCardStoredRecord ? g_cardForm.shownCode : "";
  const std::string code = NextFreeCode();
  g_cardForm.entryState = kCardNewRecord;
  g_cardForm.shownCode.clear();
  g_cardForm.pendingEdits = 0;
  FreeCardImages();
  ClearCardFields();
  SetCodeFieldState(kItemEnabled);
  SetCodeField(code);
  RepaintCard();
  return 0;
}

int CheckNewCardCode() {
  if (g_cardForm.entryState != kCardNewRecord) return 0;
  const std::string code = CardCodeInField();
  if (!RecordExists(code)) {
    SetCodeField(code);
    return 0;
  }
  ShowInfoMessage("", "コード番号“%s”はすでに登録されています。", code.c_str());
  return -1;
}

int CopyCardRecord() {
  if (g_cardForm.entryState != kCardNewRecord) {
    ShowInfoMessage("", "新規登録キーを押した後､複写キーを押してください。");
    return -1;
  }
  const std::string source = g_cardForm.copySource;
  if (source.empty() || !RecordExists(source)) {
    ShowInfoMessage("", "複写元のデータが選択されていません。");
    return -1;
  }
  const std::string code = CardCodeInField();
  for (int item : CardFields()) {
    if (item == g_cardForm.keyItem) continue;
    SetFieldValue(item, ColumnTypeOf(item) > 0 ? GetColumnAsText(Table(), Item(item).name.c_str()) : "");
  }
  SetCodeField(code);
  // The copy is a new record: it is written when the card is left.
  g_cardForm.pendingEdits = 1;
  RepaintCard();
  ShowInfoMessage("", "コード番号“%s”のデータを複写しました。", source.c_str());
  return 0;
}

int DeleteCardRecord() {
  if (g_cardForm.entryState != kCardStoredRecord) {
    ShowInfoMessage("", "削除するデータが画面に表示されていません。");
    return -1;
  }
  const std::string code = g_cardForm.shownCode;
  if (AskYesNo("", "%s を削除してもよろしいですか？", code.c_str()) != IDYES) return -1;
  if (db_exec(Table(), ("delete from " + g_cardForm.table + " " + KeyCondition(code)).c_str()) != 0) return -1;
  return ShowRecordAfterDeleted(code);
}

int DeleteCardRange(const std::string& start, const std::string& end) {
  if (RangeIsWrong(start, end)) return -1;
  if (AskYesNo("", "コード番号 %s～%s を削除します。", start.c_str(), end.c_str()) != IDYES) return -1;
  if (db_exec(Table(), ("delete from " + g_cardForm.table + " " + RangeCondition(start, end)).c_str()) != 0) return -1;
  return ShowRecordAfterDeleted(end);
}

int InputCardRange(int item, const std::string& start, const std::string& end, const std::string& value) {
  if (RangeIsWrong(start, end)) return -1;
  if (item < 0 || item == g_cardForm.keyItem || !IsStoredField(item)) {
    const ScreenItem& field = Item(item < 0 ? g_cardForm.keyItem : item);
    ShowInfoMessage("", "%sの範囲指定入力はできません。", field.caption.empty() ? field.name.c_str() : field.caption.c_str());
    return -1;
  }
  if (CheckCardValue(item, value) != 0) return -1;
  if (AskYesNo("", "%s～%sに“%s”を書き込みます。", start.c_str(), end.c_str(), value.c_str()) != IDYES) return -1;
  const std::string assignment = Item(item).name + "=" + ColumnValueText(ColumnTypeOf(item), value);
  if (db_exec(Table(), ("update " + g_cardForm.table + " set " + assignment + " " + RangeCondition(start, end)).c_str()) !=
      0) {
    return -1;
  }
  if (g_cardForm.entryState == kCardStoredRecord) ShowCardRecord(g_cardForm.shownCode);
  return 0;
}

int SearchCardNumber(const std::string& code) {
  std::string padded = code;
  if (!padded.empty() && static_cast<int>(padded.size()) < g_cardForm.codeWidth) {
    padded.insert(0, g_cardForm.codeWidth - padded.size(), '0');
  }
  if (ShowCardRecord(padded) == 0) return 0;
  MessageBeep(MB_OK);
  return -1;
}
