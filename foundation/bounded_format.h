// printf-style formatting into fixed program buffers. A text longer than the
// buffer is cut at a Shift-JIS character boundary, never inside a
// double-byte character.
#pragma once

#include <cstdarg>
#include <string>

// Formats into `out` (room for `size` bytes, terminator included). Returns
// the length written; a negative size or a null buffer writes nothing.
int FormatTextBoundedV(char* out, int size, const char* format, va_list args);
int FormatTextBounded(char* out, int size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Length of the longest prefix of text[0..length) that does not end inside a
// double-byte character.
int CharBoundaryLength(const char* text, int length);

// `text` cut to at most `room` bytes at a character boundary.
std::string CutAtCharBoundary(const char* text, int room);

// Writes `value` with `decimals` decimals as "%.*f" writes it (correctly
// rounded, ties to even) into [out, end): the end of what was written, or
// nullptr when it does not fit. Values whose decimals are exact in a whole
// number below 2^52 (most stored numbers: whole numbers, halves, cents)
// are written from that number, several times faster than the general
// conversion a page of number cells would take hundreds of times.
char* WriteFixedDecimals(char* out, char* end, double value, int decimals);
