// The column table: the bound columns of all open slots (entries 1 to 1499,
// each slot's entries contiguous above all entries in use when it opened)
// and every access to the current record by column name. Values are the
// program's Shift-JIS; names compare with ASCII case ignored, because the
// server database reports names in lower case.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "foundation/bounded_format.h"
#include "foundation/db_internal.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"

ColumnEntry g_columns[kMaxColumnEntries];

namespace {

constexpr int kSharedTextSize = 4096;
char g_sharedText[kSharedTextSize];

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares names character by character; double-byte characters exactly,
// single bytes with ASCII case ignored. With `prefixOnly` `name` may go on.
bool SameName(const char* name, const char* wanted, bool prefixOnly) {
  if (!prefixOnly && std::strcmp(name, wanted) == 0) return true;
  while (*wanted) {
    const int length = SjisCharLength(wanted);
    if (length == 2) {
      if (name[0] != wanted[0] || name[1] != wanted[1]) return false;
    } else if (AsciiUpper(*name) != AsciiUpper(*wanted)) {
      return false;
    }
    name += length;
    wanted += length;
  }
  return prefixOnly || *name == '\0';
}

// "%s%02d" below 100, "%s%03d" from 100 (made by hand: records are read
// and written column by column through these names).
struct IndexedName {
  IndexedName(const char* name, int index) {
    const size_t length = strnlen(name, kSlotNameSize - 5);
    std::memcpy(text, name, length);
    char* p = text + length;
    if (index < 0 || index > 999) {
      std::snprintf(p, 5, "%02d", index);
      return;
    }
    if (index >= 100) *p++ = static_cast<char>('0' + index / 100);
    *p++ = static_cast<char>('0' + index / 10 % 10);
    *p++ = static_cast<char>('0' + index % 10);
    *p = '\0';
  }
  char text[kSlotNameSize];
};

// Whole-number value of a double, clamped to 64 bits (NaN gives 0).
int64_t WholeNumber(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9.2e18) return std::numeric_limits<int64_t>::max();
  if (value <= -9.2e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

ColumnEntry* Lookup(int slot, const char* name) {
  const int entry = LookupColumn(slot, name);
  return entry < 0 ? nullptr : &g_columns[entry];
}

ColumnEntry* LookupIdx(int slot, const char* name, int index) {
  return Lookup(slot, IndexedName(name, index).text);
}

bool IsTextType(int type) { return type == kColumnText || type == kColumnChar; }

// The value of a number column (0 for text columns).
double NumberOf(const ColumnEntry& e) {
  switch (e.type) {
    case kColumnShort:
      return e.number.shortValue;
    case kColumnLong:
      return e.number.longValue;
    case kColumnDouble:
      return e.number.doubleValue;
    default:
      return std::atof(e.text.data());
  }
}

// Stores a whole number: a short keeps the low 16 bits, a long the low 32.
void SetEntryWhole(ColumnEntry& e, int64_t value) {
  e.indicator = 0;
  e.cut = TextCut::kWhole;
  switch (e.type) {
    case kColumnShort:
      e.number.shortValue = static_cast<int16_t>(static_cast<uint16_t>(value));
      break;
    case kColumnLong:
      e.number.longValue = static_cast<int32_t>(static_cast<uint32_t>(value));
      break;
    case kColumnDouble:
      e.number.doubleValue = static_cast<double>(value);
      break;
    default:
      SetEntryFromText(e, std::to_string(value).c_str());
  }
}

void SetEntryDouble(ColumnEntry& e, double value) {
  if (e.type == kColumnDouble) {
    e.number.doubleValue = value;
    e.indicator = 0;
    e.cut = TextCut::kWhole;
  } else if (IsTextType(e.type)) {
    char text[64];
    std::snprintf(text, sizeof text, "%f", value);
    SetEntryFromText(e, text);
  } else {
    SetEntryWhole(e, WholeNumber(value));
  }
}

// Copies the value of `from` into `to` by the type of `to`.
void CopyEntryValue(ColumnEntry& to, const ColumnEntry& from) {
  if (IsTextType(to.type)) {
    SetEntryFromText(to, EntryAsText(from).c_str());
  } else if (from.type == kColumnDouble || IsTextType(from.type)) {
    SetEntryDouble(to, NumberOf(from));
  } else {
    SetEntryWhole(to, static_cast<int64_t>(NumberOf(from)));
  }
  if (from.indicator == SQL_NULL_DATA) to.indicator = SQL_NULL_DATA;
  // A copy of a text that was cut is no more writable than the text.
  if (from.cut != TextCut::kWhole) to.cut = from.cut;
}

const char* Shared(const char* text) {
  const size_t length = std::strlen(text);
  if (length < static_cast<size_t>(kSharedTextSize)) {
    std::memmove(g_sharedText, text, length + 1);
  } else {
    FormatTextBounded(g_sharedText, kSharedTextSize, "%s", text);  // cut at a character's start
  }
  return g_sharedText;
}

const char* Shared(const std::string& text) { return Shared(text.c_str()); }

}  // namespace

int HighestLastColumn() {
  int highest = 0;
  for (int slot = 1; slot <= kMaxTableSlots; ++slot) {
    if (g_tableSlots[slot].lastColumn > highest) highest = g_tableSlots[slot].lastColumn;
  }
  return highest;
}

int AddColumnEntry(int slot, const char* name, int type, int length, bool errorBox) {
  TableSlot& s = g_tableSlots[slot];
  const int entry = s.firstColumn == 0 ? HighestLastColumn() + 1 : s.lastColumn + 1;
  if (entry >= kMaxColumnEntries) {
    if (errorBox) {
      ShowErrorMessage("DATA-BASE", "ﾌｨｰﾙﾄﾞの最大数 (%d) を越えました。", kMaxColumnEntries);
    } else {
      ShowInfoMessage("DATA-BASE", "ﾌｨｰﾙﾄﾞの最大数 (%d) を越えました。", kMaxColumnEntries);
    }
    return -1;
  }
  if (s.firstColumn == 0) s.firstColumn = entry;
  s.lastColumn = entry;
  ColumnEntry& e = g_columns[entry];
  e = ColumnEntry{};
  e.slot = slot;
  e.name = name;
  e.type = type;
  e.length = length;
  if (IsTextType(type)) {
    const int room = TextRoom(type, length);
    e.text.assign(room + 1, '\0');
    // Every value of the declared bytes (as many characters at most) fits
    // as fetched.
    e.fetchedText.assign(DbTextRoom(type == kColumnChar ? 1 : length), '\0');
    e.paramText.assign(DbTextRoom(room), '\0');
  }
  return entry;
}

void FreeSlotEntries(int slot) {
  TableSlot& s = g_tableSlots[slot];
  // The prepared writes point into the entries' buffers.
  ReleaseSlotWriter(slot);
  for (int entry = s.firstColumn; s.firstColumn && entry <= s.lastColumn; ++entry) {
    if (g_columns[entry].slot == slot) g_columns[entry] = ColumnEntry{};
  }
  s.firstColumn = 0;
  s.lastColumn = 0;
  s.exactList.clear();
}

bool SameColumnName(const char* a, const char* b) { return SameName(a, b, false); }

int LookupColumn(int slot, const char* name) {
  if (!IsSlotNumber(slot) && slot != 0) return -1;
  TableSlot& s = g_tableSlots[slot];
  if (s.firstColumn == 0) return -1;
  // Callers mostly go through a record column after column: the search
  // starts at the column found last and wraps around, so a column read twice
  // over (the key of each row) is not looked for round the whole record.
  const int count = s.lastColumn - s.firstColumn + 1;
  int entry = s.lookupHint >= s.firstColumn && s.lookupHint <= s.lastColumn ? s.lookupHint - 1 : s.lastColumn;
  for (int step = 0; step < count; ++step) {
    entry = entry >= s.lastColumn ? s.firstColumn : entry + 1;
    if (g_columns[entry].slot == slot && SameName(g_columns[entry].name.c_str(), name, false)) {
      s.lookupHint = entry;
      return entry;
    }
  }
  return -1;
}

void ClearEntryValue(ColumnEntry& e) {
  if (!e.text.empty()) e.text[0] = '\0';
  e.number = ColumnNumber{};
  e.indicator = 0;
  e.cut = TextCut::kWhole;
}

void SetEntryFromText(ColumnEntry& e, const char* text) {
  e.indicator = 0;
  e.cut = TextCut::kWhole;
  switch (e.type) {
    case kColumnText: {
      const int length = SjisPrefixLength(text, e.length, TextRoom(e.type, e.length));
      std::memcpy(e.text.data(), text, length);
      e.text[length] = '\0';
      if (text[length] != '\0') e.cut = TextCut::kOnSet;
      break;
    }
    case kColumnChar: {
      // A double-byte character does not fit: the column stays empty.
      const int length = CharBoundaryLength(text, static_cast<int>(strnlen(text, 1)));
      e.text[0] = length ? text[0] : '\0';
      e.text[1] = '\0';
      break;
    }
    case kColumnDouble:
      e.number.doubleValue = std::strtod(text, nullptr);
      break;
    default:
      SetEntryWhole(e, std::strtoll(text, nullptr, 10));
  }
}

// Numbers are written as "%d" and "%f" write them, by std::to_chars: a list
// page turns a thousand numbers into text, and the C library's printf took
// longer for them than the driver took to fetch the rows.
namespace {

// Room for a number's text: the widest double in "%f" has 309 digits, sign,
// point and 6 decimals.
constexpr int kNumberTextRoom = 320;

// Writes a number entry's text into `out` (kNumberTextRoom bytes,
// terminated); false for a text entry.
bool WriteNumberText(const ColumnEntry& e, char* out) {
  char* const last = out + kNumberTextRoom - 1;
  char* end = out;
  switch (e.type) {
    case kColumnShort:
      end = std::to_chars(out, last, e.number.shortValue).ptr;
      break;
    case kColumnLong:
      end = std::to_chars(out, last, e.number.longValue).ptr;
      break;
    case kColumnDouble:
      if (!std::isfinite(e.number.doubleValue)) {
        const std::string written = std::to_string(e.number.doubleValue);
        end = out + written.copy(out, last - out);
      } else {
        end = WriteFixedDecimals(out, last, e.number.doubleValue, 6);
      }
      break;
    default:
      return false;
  }
  *end = '\0';
  return true;
}

}  // namespace

std::string EntryAsText(const ColumnEntry& e) {
  char text[kNumberTextRoom];
  return WriteNumberText(e, text) ? std::string(text) : std::string(e.text.data());
}

int FindColumnQuiet(int slot, const char* name) {
  if (slot < 0) return -1;
  return LookupColumn(slot, name);
}

int FindColumn(int slot, const char* name) {
  const int state = GetSlotConnState(slot);
  if (state < 0) {
    ShowErrorMessage("DATA-BASE", "“%s”(%d) はオープンされていません。[%s] (%d) ",
                     IsSlotNumber(slot) ? g_tableSlots[slot].sectionName : "", slot, name, state);
    return -1;
  }
  const int entry = LookupColumn(slot, name);
  if (entry < 0) {
    ShowInfoMessage("DATA-BASE", "フィールド“%s”は、テーブル“%s”に存在しません。", name,
                    g_tableSlots[slot].tableName);
  }
  return entry;
}

int FindColumnIdx(int slot, const char* name, int index) {
  return FindColumn(slot, IndexedName(name, index).text);
}

int GetColumnType(int slot, const char* name) {
  const int entry = FindColumn(slot, name);
  return entry < 0 ? -1 : g_columns[entry].type;
}

int GetColumnTypeQuiet(int slot, const char* name) {
  const ColumnEntry* e = Lookup(slot, name);
  return e ? e->type : -1;
}

int GetColumnLength(int slot, const char* name) {
  const ColumnEntry* e = Lookup(slot, name);
  return e ? e->length : -1;
}

int GetColumnWidth(int slot, const char* name) {
  const ColumnEntry* e = Lookup(slot, name);
  return e ? e->width : -1;
}

int GetColumnFlag(int slot, const char* name) {
  const ColumnEntry* e = Lookup(slot, name);
  return e ? static_cast<unsigned char>(e->flag) : -1;
}

int CountColumnsWithPrefix(int slot, const char* prefix) {
  if (!IsSlotNumber(slot) || g_tableSlots[slot].firstColumn == 0) return 0;
  int count = 0;
  for (int entry = g_tableSlots[slot].firstColumn; entry <= g_tableSlots[slot].lastColumn; ++entry) {
    if (SameName(g_columns[entry].name.c_str(), prefix, true)) ++count;
  }
  return count;
}

int GetSlotColumnNames(int slot, std::string& names) {
  std::string types;
  std::string lengths;
  return GetSlotColumnLists(slot, names, types, lengths);
}

int GetSlotColumnLists(int slot, std::string& names, std::string& types, std::string& lengths) {
  names.clear();
  types.clear();
  lengths.clear();
  const int count = GetSlotColumnCount(slot);
  for (int position = 1; position <= count; ++position) {
    const ColumnEntry& e = g_columns[g_tableSlots[slot].firstColumn + position - 1];
    const char* comma = position > 1 ? "," : "";
    names += comma + e.name;
    types += comma + std::to_string(e.type);
    lengths += comma + std::to_string(e.length);
  }
  return count;
}

namespace {

const ColumnEntry* AtPosition(int slot, int position) {
  if (position < 1 || position > GetSlotColumnCount(slot)) return nullptr;
  return &g_columns[g_tableSlots[slot].firstColumn + position - 1];
}

}  // namespace

int GetColumnInfoByPosition(int slot, int position, std::string& name, int* length, int* type) {
  const ColumnEntry* e = AtPosition(slot, position);
  if (!e) return 1;
  name = e->name;
  *length = e->length;
  *type = e->type;
  return 0;
}

const char* GetColumnNameByPosition(int slot, int position) {
  const ColumnEntry* e = AtPosition(slot, position);
  return e ? e->name.c_str() : "";
}

int GetColumnLengthByPosition(int slot, int position) {
  const ColumnEntry* e = AtPosition(slot, position);
  return e ? e->length : -1;
}

int GetColumnTypeByPosition(int slot, int position) {
  const ColumnEntry* e = AtPosition(slot, position);
  return e ? e->type : -1;
}

int FindColumnPosition(int slot, const char* name) {
  const int entry = LookupColumn(slot, name);
  return entry < 0 ? 0 : entry - g_tableSlots[slot].firstColumn + 1;
}

// ---- typed getters and setters -------------------------------------------------

namespace {

const char* TextOf(const ColumnEntry* e) {
  if (!e) return "";
  if (IsTextType(e->type)) return e->text.data();
  // Straight into the shared buffer: a page of numbers copies none.
  static_assert(kSharedTextSize >= kNumberTextRoom, "a number's text fits the shared buffer");
  WriteNumberText(*e, g_sharedText);
  return g_sharedText;
}

int IntOf(const ColumnEntry* e) {
  if (!e) return 0;
  if (e->type == kColumnShort) return e->number.shortValue;
  // The low 16 bits, as a short column would hold them.
  if (e->type == kColumnLong) return static_cast<int16_t>(static_cast<uint16_t>(e->number.longValue));
  return static_cast<int>(WholeNumber(NumberOf(*e)));
}

long LongOf(const ColumnEntry* e) { return e ? static_cast<long>(WholeNumber(NumberOf(*e))) : 0; }

double DoubleOf(const ColumnEntry* e) { return e ? NumberOf(*e) : 0.0; }

char CharOf(const ColumnEntry* e) { return TextOf(e)[0]; }

void SetText(ColumnEntry* e, const char* value) {
  if (e) SetEntryFromText(*e, value);
}

void SetChar(ColumnEntry* e, char value) {
  const char text[2] = {value, '\0'};
  SetText(e, text);
}

void SetWhole(ColumnEntry* e, int64_t value) {
  if (e) SetEntryWhole(*e, value);
}

void SetDouble(ColumnEntry* e, double value) {
  if (e) SetEntryDouble(*e, value);
}

}  // namespace

const char* GetColumnText(int slot, const char* name) { return TextOf(Lookup(slot, name)); }
const char* GetColumnTextIdx(int slot, const char* name, int index) {
  return TextOf(LookupIdx(slot, name, index));
}
char GetColumnChar(int slot, const char* name) { return CharOf(Lookup(slot, name)); }
char GetColumnCharIdx(int slot, const char* name, int index) {
  return CharOf(LookupIdx(slot, name, index));
}
int GetColumnInt(int slot, const char* name) { return IntOf(Lookup(slot, name)); }
int GetColumnIntIdx(int slot, const char* name, int index) {
  return IntOf(LookupIdx(slot, name, index));
}
double GetColumnDouble(int slot, const char* name) { return DoubleOf(Lookup(slot, name)); }
double GetColumnDoubleIdx(int slot, const char* name, int index) {
  return DoubleOf(LookupIdx(slot, name, index));
}
long GetColumnLong(int slot, const char* name) { return LongOf(Lookup(slot, name)); }
long GetColumnLongIdx(int slot, const char* name, int index) {
  return LongOf(LookupIdx(slot, name, index));
}

void SetColumnText(int slot, const char* name, const char* value) {
  SetText(Lookup(slot, name), value);
}
void SetColumnTextIdx(int slot, const char* name, int index, const char* value) {
  SetText(LookupIdx(slot, name, index), value);
}
void SetColumnChar(int slot, const char* name, char value) { SetChar(Lookup(slot, name), value); }
void SetColumnCharIdx(int slot, const char* name, int index, char value) {
  SetChar(LookupIdx(slot, name, index), value);
}
void SetColumnInt(int slot, const char* name, int value) { SetWhole(Lookup(slot, name), value); }
void SetColumnIntIdx(int slot, const char* name, int index, int value) {
  SetWhole(LookupIdx(slot, name, index), value);
}
void SetColumnDouble(int slot, const char* name, double value) {
  SetDouble(Lookup(slot, name), value);
}
void SetColumnDoubleIdx(int slot, const char* name, int index, double value) {
  SetDouble(LookupIdx(slot, name, index), value);
}
void SetColumnLong(int slot, const char* name, long value) { SetWhole(Lookup(slot, name), value); }
void SetColumnLongIdx(int slot, const char* name, int index, long value) {
  SetWhole(LookupIdx(slot, name, index), value);
}

int CheckColumnRange(int slot, const char* name, const char* value, const char* minimum,
                     const char* maximum) {
  const ColumnEntry* e = Lookup(slot, name);
  if (!e) return -3;
  if (!*minimum && !*maximum) return 0;
  // Negative when a < b, positive when a > b, by the column's type.
  auto compare = [e](const char* a, const char* b) -> int {
    switch (e->type) {
      case kColumnShort:
      case kColumnLong: {
        const long long x = std::strtoll(a, nullptr, 10);
        const long long y = std::strtoll(b, nullptr, 10);
        return (x > y) - (x < y);
      }
      case kColumnDouble: {
        const double x = std::strtod(a, nullptr);
        const double y = std::strtod(b, nullptr);
        return (x > y) - (x < y);
      }
      default:
        return std::strcmp(a, b);
    }
  };
  if (*minimum && compare(value, minimum) < 0) return -1;
  if (*maximum && compare(value, maximum) > 0) return -2;
  return 0;
}

int SetColumnFromText(int slot, const char* name, const char* text) {
  ColumnEntry* e = Lookup(slot, name);
  if (!e) return -1;
  SetEntryFromText(*e, text);
  return 0;
}

const char* GetColumnAsText(int slot, const char* name) {
  const ColumnEntry* e = Lookup(slot, name);
  if (!e) return Shared("");
  // A text goes to the shared buffer as it is, a number is written there.
  return IsTextType(e->type) ? Shared(e->text.data()) : TextOf(e);
}

const char* GetColumnAsTextByPosition(int slot, int position) {
  return TextOf(AtPosition(slot, position));
}

const char* FormatColumnForDisplay(int slot, const char* name) {
  const ColumnEntry* e = Lookup(slot, name);
  if (!e) return Shared(std::string());
  const int width = e->length;
  switch (e->type) {
    case kColumnShort:
      FormatTextBounded(g_sharedText, kSharedTextSize, "%*d", width, e->number.shortValue);
      break;
    case kColumnLong:
      FormatTextBounded(g_sharedText, kSharedTextSize, "%*ld", width,
                        static_cast<long>(e->number.longValue));
      break;
    case kColumnDouble:
      FormatTextBounded(g_sharedText, kSharedTextSize, "%*.*f", width, 0, e->number.doubleValue);
      break;
    case kColumnChar:
      FormatTextBounded(g_sharedText, kSharedTextSize, "%*s", width, e->text.data());
      break;
    default:
      FormatTextBounded(g_sharedText, kSharedTextSize, "%-*s", width, e->text.data());
  }
  return g_sharedText;
}

void db_clear(int slot) {
  if (!IsSlotNumber(slot) || g_tableSlots[slot].firstColumn == 0) return;
  for (int entry = g_tableSlots[slot].firstColumn; entry <= g_tableSlots[slot].lastColumn; ++entry) {
    ClearEntryValue(g_columns[entry]);
  }
}

void CopyRecordColumns(int destination, int source) {
  const int count = GetSlotColumnCount(destination);
  const int sourceCount = GetSlotColumnCount(source);
  for (int position = 1; position <= count; ++position) {
    ColumnEntry& to = g_columns[g_tableSlots[destination].firstColumn + position - 1];
    if (position > sourceCount) {
      ClearEntryValue(to);
      continue;
    }
    CopyEntryValue(to, g_columns[g_tableSlots[source].firstColumn + position - 1]);
  }
}

void CopySlotRecord(int destination, int source) { CopyRecordColumns(destination, source); }
