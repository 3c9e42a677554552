// Small text, number and path routines used throughout the program: blanks,
// removing characters, numbers inside texts, thousands separators and path
// segments. All of them are Shift-JIS safe: a byte of a double-byte character
// is never taken for a blank, a delimiter or a digit. The current-folder
// routines are in files.h.
#pragma once

// Room of the shared buffers of SkipLeadingSpaces and FormatThousands; a
// longer text is cut at a character boundary.
constexpr int kSharedTextSize = 4096;

// Removes half-width blanks in place: mode 0 at both ends, 1 leading only,
// 2 trailing only. Full-width blanks stay. Returns `text`.
char* TrimSpaces(char* text, int mode);
// The text without its leading half-width and full-width blanks, in a shared
// buffer.
const char* SkipLeadingSpaces(const char* text);
// Copies `text` into `out` (room for the text) without any half-width or
// full-width blank. Returns the length written.
int RemoveAllSpaces(char* out, const char* text);
// Removes every single-byte occurrence of `c` in place. Returns the new
// length.
int RemoveChar(char* text, char c);
// Copies `text` into `out` with every single-byte `c` replaced by a blank
// (a trail byte equal to `c` stays part of its character). Returns the
// length.
int ReplaceCharWithSpace(char* out, const char* text, char c);

// The number formed by the digits among the last three characters ("M05" 5,
// "A12" 12); -1 when the second-to-last character is not a single-byte digit.
int ParseTrailingNumber(const char* text);
// The text after the first `startChar` (further start characters skipped) up
// to `endChar`, as a decimal number ("<<12>" with '<', '>' gives 12); 0 when
// there is no start character or no number.
int NumberBetween(const char* text, char startChar, char endChar);
// Keeps only single-byte "-", digits and "." of `text`, writes them to `out`
// (room for the text) and returns their decimal value.
double ExtractNumberText(char* out, const char* text);
// "%.0f" of `value` with "," between groups of three digits, in a shared
// buffer ("-1,234,567").
const char* FormatThousands(double value);

// The text between the first and the second "#" or "\" of `path`; the rest of
// the path when there is no second delimiter, empty when there is none at
// all. -1 for an empty path, else 0.
int GetPathSegment(char* out, const char* path);
// The text after the last "\" or ":" (the whole path when there is none).
// -1 for an empty path, else 0.
int GetLastPathSegment(char* out, const char* path);
