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
