// Small text routines of the database layer's callers: the default choice of
// an option list, the line reader of multi-line texts and two path and
// character helpers. Free of Windows calls.
#pragma once

// Room of CopyWithoutChar's shared buffer; a longer text is cut at a
// character boundary.
constexpr int kCopyWithoutCharSize = 4096;
// Lines TokenizeTextLine hands out before it starts over.
constexpr int kTextLineLimit = 1000;

// An option list ends with its default in parentheses: "A,B,C(2)". Cuts the
// text before "(" and returns the number (digits only, others skipped);
// "(?" cuts and returns -2. Without "(" or ")", or with more than 6 digits,
// the text stays as it is and the result is -1.
int TakeDefaultChoice(char* text);

// Copies the next line of `text` into `out` (room for maximum + 1 bytes),
// dropping CR, tabs and double quotes; a line feed inside an open quote (one
// quote seen on the line) stays in the line. Returns the position after the
// line; -1 at the end of the text or after kTextLineLimit lines, -2 when the
// line is longer than `maximum` (cut at a character boundary); both then
// start over. A maximum of -1 resets, -2 goes back to the start of the last
// line; both return 0.
int TokenizeTextLine(char* out, int maximum, const char* text);
void ResetTextLineTokenizer();
void RestoreTextLineTokenizer();

// `path` into `out` with "\" appended unless it is empty or ends with ":" or
// "\". `out` needs room for the path and two bytes.
void AppendBackslash(char* out, const char* path);

// `text` without every single-byte `c` (double-byte characters stay whole),
// in a shared buffer.
const char* CopyWithoutChar(const char* text, char c);
