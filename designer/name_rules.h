// The rules for the table and column names a user types into the designer's
// fields (output tables, field names, key items, time-stamp columns): the
// text alone, without a window, so every caller applies the same rules.
#pragma once

#include <string>

enum class NameFault {
  kNone,
  kForbiddenChar,   // a sign, a half-width corner bracket or a blank
  kLeadingDigit,    // a half-width digit first (full-width ones too for tables)
  kReservedWord,    // DATE, TIME, IMAGE or a word SQL reserves, in any case
  kImageColumn,     // "IMG" and a numeric tail: the reading run's image columns
};

// 1 when `name` holds a forbidden character outside double-byte pairs.
bool HasForbiddenNameChar(const char* name);
// 1 when `name` begins with a half-width digit, or with "０" to "９" when
// `fullWidth`.
bool StartsWithDigit(const char* name, bool fullWidth);
// 1 when `name` is DATE, TIME, IMAGE or a word SQL reserves (ORDER, GROUP,
// CHECK, SELECT, VALUES, ...) in any case: the output table could not be
// made with it.
bool IsReservedName(const char* name);
// 1 when `name` is "IMG" and a tail the image columns are numbered with:
// the last three characters all digits when the third-last is a digit,
// else the last two.
bool IsImageColumnName(const char* name);
// The first text up to its first line feed, carriage returns dropped.
std::string CopyFirstLine(const char* text);

// The checks with their messages (an empty box caption; `caption` names the
// field in the text). Each returns 0 when the name is accepted, -1 after
// the one message that refused it.
//
// A column or table name typed into a field: forbidden characters, a
// leading half-width digit and, with `reservedWords`, DATE/TIME/IMAGE and
// the words SQL reserves are refused.
int CheckFieldNameText(const char* text, const char* caption, int reservedWords);
int CheckFieldNameInput(const char* ref, const char* caption, int reservedWords);
// A name of a table or column of the output database: forbidden characters,
// reserved words (IsReservedName) and the image columns "IMG" + number are refused; a
// leading digit (half- or full-width) is warned of and accepted. Every
// place a user names an item uses these rules.
int CheckNameText(const char* text, const char* caption);
int CheckNameCharacters(const char* ref, const char* caption);
