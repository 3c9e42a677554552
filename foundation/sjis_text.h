// Shift-JIS text utilities: the byte classifier every byte scanner asks before
// it takes a byte for a delimiter, sub-strings, splitting, trimming, digit
// counters, path pieces and the half-width / full-width conversion.
//
// Texts are NUL-terminated Shift-JIS (code page 932). Output buffers are the
// caller's; each function says how much room its output needs. Functions that
// return a shared buffer keep it valid until their next call.
#pragma once

// Lead bytes of code page 932: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsSjisLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// Bytes that may follow a lead byte: 0x40-0x7E and 0x80-0xFC.
constexpr bool IsSjisTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

// Bytes of the character at `p`: 2 for a lead byte followed by a trail byte,
// else 1 (a lead byte without its trail stands alone). `p` must not point at
// the terminator.
constexpr int SjisCharLength(const char* p) {
  return IsSjisLeadByte(static_cast<unsigned char>(p[0])) &&
                 IsSjisTrailByte(static_cast<unsigned char>(p[1]))
             ? 2
             : 1;
}

// Bytes of the longest prefix of `text` that holds at most `characters`
// characters in at most `bytes` bytes; never ends inside a double-byte
// character.
int SjisPrefixLength(const char* text, int characters, int bytes);

// Decimal value of the leading number of `text` (blanks and a sign allowed,
// as atoi), clamped to the int range; 0 when there is none.
int DecimalTextToInt(const char* text);

// Kind of the n-th byte of `text` (n counted from 1): 1 lead byte, 2 trail
// byte, 0 single-byte character, -1 when n is 0 or less or beyond the text.
// A lead byte opens a pair unless one is open; the next byte closes it and is
// a trail byte (2) only when it has the trail-byte property, else 0.
int GetDbcsByteKind(const char* text, int n);
// 1 when the single-byte character `c` occurs outside double-byte pairs,
// else 0.
int ContainsChar(const char* text, char c);
// Number of occurrences of the single-byte character `c` outside double-byte
// pairs.
int CountCharDbcs(const char* text, char c);
// Number of white-space bytes (isspace) in `text`.
int CountSpaces(const char* text);

// Copies bytes start .. start+length-1 (start counted from 1) into `out`
// (room for length + 1 bytes). `out` is empty when start <= 0, start is beyond
// the text or length <= 0. A lead byte left at the end of the copy without its
// trail byte is dropped. Returns -1 when the text ended before `length` bytes,
// else 0.
int CopySubstring(char* out, const char* text, int start, int length);
// Decimal value of CopySubstring (at most 127 bytes); 0 when it holds no
// number.
int SubstringToInt(const char* text, int start, int length);

// Copies the next piece of at most `length` bytes of `text`, from byte
// `start` (from 0), into `out` (room for length + 2 bytes) and returns where
// the next piece starts. A piece never ends inside a double-byte character:
// it ends one byte early instead, or, when even one character does not fit
// (length 1), holds that one character so that the walk always moves on.
// At the end of the text the result is the text's length. This is the one
// cutter of long texts on screens and in reports.
int CountMixedWidth(int start, int length, char* out, const char* text);

// Splits "key=value": the key is the text before the first "=", the value the
// text after the last "=". A text without "=" is all key. `key` and `value`
// need room for the text. Returns 0.
int SplitKeyValue(const char* text, char* key, char* value);
// As SplitKeyValue with the single-byte `separator`; a separator that is part
// of a double-byte character or stands at the first position does not split.
// Returns 0.
int SplitAtChar(const char* text, char* head, char* tail, char separator);
// Separates trailing single-byte digits: returns their value with the rest in
// `head`; without trailing digits `head` is the whole text and the result -1.
int TrimTrailing(char* head, const char* text);
// Splits a screen item name into its base name and index. A member of a
// repeating group carries its index in its last two characters ("%2d"), which
// are cut off and returned; other names go through TrimTrailing.
int SplitItemNameIndex(char* base, const char* itemName, bool repeatingMember);

// Removes full-width blanks at the end of `text` in place; stops at the first
// other character. Returns the new length.
int TrimTrailingWideSpaces(char* text);
// In a full-width text (two bytes a character) removes each "－", "＋", "．",
// "，" (mode 1) or replaces it by "＊" (other modes), in place. Returns the new
// length.
int ReplaceSignMarks(char* text, int mode);
// Column type for a value range: 4 (double) with decimals, 3 (short) within
// 16 bits, 6 (long) within 32 bits, else 4.
int RangeTypeForValues(double minimum, double maximum, int decimals);
// Upper-cases (lower-cases) single-byte letters in place; double-byte
// characters stay, whatever their trail byte. Returns `text`.
char* ToUpperDbcsSafe(char* text);
char* ToLowerDbcsSafe(char* text);

// Add or subtract 1 in a decimal digit text in place, with carry or borrow;
// the length never changes ("9999" + 1 gives "0000", "0000" - 1 gives
// "9999"). Return 0.
int IncrementDigitString(char* digits);
int DecrementDigitString(char* digits);
// Writes (width - length) / 2 blanks (all of them when that is 1) and then
// the text into `out` (room for max(width, length) + 1 bytes). Returns 0.
int CenterPad(char* out, const char* text, int width);

// Path pieces; each `out` needs room for the path.
// The path up to, not including, its last "\"; empty when there is none.
int GetDirectoryPart(char* out, const char* path);
// The file name after the last "\", "#" or ":" without its last "."
// extension ("D:\A\NAME.EXT.MDB" gives "NAME.EXT").
int GetFileBaseName(char* out, const char* path);
// The text after the last "."; empty when there is none.
int GetFileExtension(char* out, const char* path);
// GetFileExtension upper-cased.
int GetFileExtensionUpper(char* out, const char* path);

// Half-width / full-width conversion through the program's four tables
// (alphanumeric, kana, voiced kana, signs).
//
// Half-width form of the full-width character at `character` (its two bytes):
// one byte, two for a voiced kana, "*" when it has no entry; in a shared
// buffer.
const char* WideCharToNarrow(const char* character);
// A full-width text (two bytes a character) converted character by
// character, in a shared buffer; a single byte on the way is copied as it is.
const char* WideTextToNarrow(const char* text);
// Full-width form (two bytes) of one half-width character; "" when it has
// none. Never null.
const char* ToFullWidth(char c);
// Each byte of `text` through ToFullWidth into `out` (room for
// 2 * length + 1 bytes); bytes without a full-width form are dropped.
// Returns the length written.
int NarrowTextToWide(char* out, const char* text);
// As NarrowTextToWide (the name notwithstanding, it widens), but a half-width
// kana followed by "ﾞ" or "ﾟ" becomes its one voiced full-width kana, and
// double-byte characters pass unchanged.
// Returns the length written.
int ToHalfWidth(char* out, const char* text);
