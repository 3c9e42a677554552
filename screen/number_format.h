// Fixed-width number texts, the mark texts of special values and the
// Shift-JIS text chunking the painters use. Portable: no Windows API.
//
// Code -1 shows as "＊" and -2 as "－"; the integer formatter shows 9999 as
// "－". Formatters write into one shared buffer, valid until the next call.
#pragma once

// "%*d" of `value`; 9999 gives "－" right-aligned in `width` bytes.
const char* FormatIntFixed(int value, int width);
// "%*d" of a 16-bit value; -1 and -2 give "＊" and "－" right-aligned, and a
// text longer than `width` becomes `width` times '*'.
const char* FormatShortFixed(short value, int width);
// "＊" -> -1, "－" -> -2, anything else -9999.
int MarkTextToCode(const char* text);
// The number a mark text stands for in a field of value kind `type` ('t',
// 'h', 'j', '-', 'b', 'f'); -9999 when the text is no mark text of that
// kind. Half-width blanks around the text are ignored.
int ParseMarkText(char type, const char* text);
// floor(x * 10^n + 0.5) / 10^n.
double RoundToDecimals(double x, int n);

// Copies up to `count` bytes of `text` from byte `start` into `out` (room
// for count + 1), one byte fewer when the chunk would end on a lead byte.
// The next start is kept for TakeTextChunkNext. Returns 1 when the chunk
// reached the end of the text, else 0.
int TakeTextChunk(int start, int count, char* out, const char* text);
// Where the chunk after the last TakeTextChunk starts.
int TakeTextChunkNext();
// 1 + the single-byte occurrences of `c` outside double-byte pairs, or 0
// when there is none.
int CountCharOccurrences(const char* text, char c);
