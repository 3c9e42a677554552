// Field values by name: the typed setters and getters the work windows use
// (on the current slot, on a given slot, and on "name%02d" members of a
// repeating group), the shifting of repeating groups and the filling of
// fields from database columns. Values cross as text: numbers are written
// with "%d", "%ld" or "%f" and read back as the text's leading number.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/db.h"
#include "screen/screen.h"

namespace {

// Room of the values read here; longer values are cut.
constexpr int kValueBufferSize = 4096;

char g_valueBuffer[kValueBufferSize];
char g_indexedName[256];

int CurrentSlot() { return g_screen.currentSlot; }

// The value of a field for the typed getters; "" when the name is not found.
std::string ValueOf(const char* name) {
  std::string value(kValueBufferSize, '\0');
  GetItemValueForCommand(CurrentSlot(), name, value.data());
  value.resize(std::char_traits<char>::length(value.c_str()));
  return value;
}

std::string Formatted(const char* format, long long value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string DoubleText(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%f", value);
  return text;
}

std::string CharText(char value) { return std::string(1, value).c_str(); }

}  // namespace

const char* IndexedFieldName(const char* name, int index) {
  std::snprintf(g_indexedName, sizeof g_indexedName, index < 100 ? "%s%02d" : "%s%03d",
                name ? name : "", index);
  return g_indexedName;
}

void SetScreenFieldText(int slot, const char* name, const char* text) {
  SetItemValueForCommand(slot, name, text);
}
void SetScreenFieldInt(int slot, const char* name, int value) {
  SetItemValueForCommand(slot, name, Formatted("%lld", value).c_str());
}
void SetScreenFieldLong(int slot, const char* name, long value) {
  SetItemValueForCommand(slot, name, Formatted("%lld", value).c_str());
}
void SetScreenFieldChar(int slot, const char* name, char value) {
  SetItemValueForCommand(slot, name, CharText(value).c_str());
}
void SetScreenFieldDouble(int slot, const char* name, double value) {
  SetItemValueForCommand(slot, name, DoubleText(value).c_str());
}

void SetFieldText(const char* name, const char* text) {
  SetScreenFieldText(CurrentSlot(), name, text);
}
void SetFieldInt(const char* name, int value) { SetScreenFieldInt(CurrentSlot(), name, value); }
void SetFieldLong(const char* name, long value) { SetScreenFieldLong(CurrentSlot(), name, value); }
void SetFieldChar(const char* name, char value) { SetScreenFieldChar(CurrentSlot(), name, value); }
void SetFieldDouble(const char* name, double value) {
  SetScreenFieldDouble(CurrentSlot(), name, value);
}

void SetFieldTextIdx(const char* name, int index, const char* text) {
  SetFieldText(IndexedFieldName(name, index), text);
}
void SetFieldIntIdx(const char* name, int index, int value) {
  SetFieldInt(IndexedFieldName(name, index), value);
}
void SetFieldLongIdx(const char* name, int index, long value) {
  SetFieldLong(IndexedFieldName(name, index), value);
}
void SetFieldCharIdx(const char* name, int index, char value) {
  SetFieldChar(IndexedFieldName(name, index), value);
}
void SetFieldDoubleIdx(const char* name, int index, double value) {
  SetFieldDouble(IndexedFieldName(name, index), value);
}

int GetFieldInt(const char* name) { return std::atoi(ValueOf(name).c_str()); }
long GetFieldLong(const char* name) { return std::atol(ValueOf(name).c_str()); }
char GetFieldChar(const char* name) { return ValueOf(name)[0]; }
double GetFieldDouble(const char* name) { return std::atof(ValueOf(name).c_str()); }
void GetFieldText(const char* name, char* buffer) {
  GetItemValueForCommand(CurrentSlot(), name, buffer);
}
const char* GetFieldTextPtr(const char* name) {
  const std::string value = ValueOf(name);
  value.copy(g_valueBuffer, kValueBufferSize - 1);
  g_valueBuffer[std::min<size_t>(value.size(), kValueBufferSize - 1)] = '\0';
  return g_valueBuffer;
}
void GetFieldDisplayText(const char* name, char* buffer) {
  GetItemRawValue(CurrentSlot(), name, buffer);
}

int GetFieldIntIdx(const char* name, int index) {
  return GetFieldInt(IndexedFieldName(name, index));
}
long GetFieldLongIdx(const char* name, int index) {
  return GetFieldLong(IndexedFieldName(name, index));
}
char GetFieldCharIdx(const char* name, int index) {
  return GetFieldChar(IndexedFieldName(name, index));
}
double GetFieldDoubleIdx(const char* name, int index) {
  return GetFieldDouble(IndexedFieldName(name, index));
}
void GetFieldTextIdx(const char* name, int index, char* buffer) {
  GetFieldText(IndexedFieldName(name, index), buffer);
}
void GetFieldDisplayTextIdx(const char* name, int index, char* buffer) {
  GetFieldDisplayText(IndexedFieldName(name, index), buffer);
}

void ClearField(const char* name) { SetFieldText(name, ""); }
void ClearFieldIdx(const char* name, int index) { ClearField(IndexedFieldName(name, index)); }

// ---------------------------------------------------------------------------
// Repeating groups: name01, name02, ...

void ShiftFieldsUp(const char* name, int from, int to) {
  for (int i = std::max(from, 2); i <= to; ++i) CopyFieldValueIdx(name, i - 1, name, i);
}

void ShiftFieldsDown(const char* name, int from, int to) {
  for (int i = to; i >= from && i > 1; --i) CopyFieldValueIdx(name, i, name, i - 1);
}

namespace {

// A shift, then one member set: the freed end of the range.
template <class T>
void ShiftUpThenSet(void (*set)(const char*, int, T), const char* name, int from, int to, T value) {
  ShiftFieldsUp(name, from, to);
  set(name, to, value);
}

template <class T>
void ShiftDownThenSet(void (*set)(const char*, int, T), const char* name, int from, int to,
                      T value) {
  ShiftFieldsDown(name, from, to);
  set(name, from, value);
}

}  // namespace

void ShiftInsertText(const char* name, int from, int to, const char* text) {
  ShiftUpThenSet(SetFieldTextIdx, name, from, to, text);
}
void ShiftUpSetFieldChar(const char* name, int from, int to, char value) {
  ShiftUpThenSet(SetFieldCharIdx, name, from, to, value);
}
void ShiftUpSetFieldInt(const char* name, int from, int to, int value) {
  ShiftUpThenSet(SetFieldIntIdx, name, from, to, value);
}
void ShiftUpSetFieldLong(const char* name, int from, int to, long value) {
  ShiftUpThenSet(SetFieldLongIdx, name, from, to, value);
}
void ShiftUpSetFieldDouble(const char* name, int from, int to, double value) {
  ShiftUpThenSet(SetFieldDoubleIdx, name, from, to, value);
}
void ShiftUpClearField(const char* name, int from, int to) { ShiftInsertText(name, from, to, ""); }

void ShiftDownSetFieldText(const char* name, int from, int to, const char* text) {
  ShiftDownThenSet(SetFieldTextIdx, name, from, to, text);
}
void ShiftDownSetFieldChar(const char* name, int from, int to, char value) {
  ShiftDownThenSet(SetFieldCharIdx, name, from, to, value);
}
void ShiftDownSetFieldInt(const char* name, int from, int to, int value) {
  ShiftDownThenSet(SetFieldIntIdx, name, from, to, value);
}
void ShiftDownSetFieldLong(const char* name, int from, int to, long value) {
  ShiftDownThenSet(SetFieldLongIdx, name, from, to, value);
}
void ShiftDownSetFieldDouble(const char* name, int from, int to, double value) {
  ShiftDownThenSet(SetFieldDoubleIdx, name, from, to, value);
}
void ShiftDownClearField(const char* name, int from, int to) {
  ShiftDownSetFieldText(name, from, to, "");
}

void CopyFieldValueIdx(const char* destination, int destinationIndex, const char* source,
                       int sourceIndex) {
  const std::string from = IndexedFieldName(source, sourceIndex);
  const std::string value = ValueOf(from.c_str());
  SetFieldText(IndexedFieldName(destination, destinationIndex), value.c_str());
}

// ---------------------------------------------------------------------------
// Filling fields from the current record of a table slot (the column of the
// field's name).

void SetFieldTextFromTable(const char* name, int tableSlot) {
  SetFieldText(name, GetColumnText(tableSlot, name));
}

void SetFieldFromTable(const char* name, int tableSlot, const char* fallback) {
  const char* text = GetColumnText(tableSlot, name);
  SetFieldText(name, text && text[0] ? text : fallback);
}

void SetFieldIntFromTableAlt(const char* name, int tableSlot) {
  SetFieldInt(name, GetColumnInt(tableSlot, name));
}

void SetFieldCharFromTable(const char* name, int tableSlot) {
  SetFieldChar(name, GetColumnChar(tableSlot, name));
}

void SetFieldDoubleFromTable(const char* name, int tableSlot) {
  SetFieldDouble(name, GetColumnDouble(tableSlot, name));
}
