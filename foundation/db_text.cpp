// Option-list defaults, the multi-line text reader and small copies.
#include "foundation/db_text.h"

#include <cstring>

#include "foundation/sjis_text.h"

namespace {

constexpr int kMaxChoiceDigits = 6;

// Where the next line starts and how many lines were handed out; the saved
// pair is the start of the last line.
struct TextLineCursor {
  int position = 0;
  int count = 0;
};
TextLineCursor g_textLine;
TextLineCursor g_textLineSaved;

}  // namespace

int TakeDefaultChoice(char* text) {
  char* open = nullptr;
  for (char* p = text; *p; p += SjisCharLength(p)) {
    if (*p == '(') {
      open = p;
      break;
    }
  }
  if (!open) return -1;
  if (open[1] == '?') {
    *open = '\0';
    return -2;
  }
  int value = 0;
  int digits = 0;
  for (const char* p = open + 1; *p; p += SjisCharLength(p)) {
    if (*p == ')') {
      if (digits > kMaxChoiceDigits) return -1;
      *open = '\0';
      return value;
    }
    if (*p >= '0' && *p <= '9') {
      if (++digits <= kMaxChoiceDigits) value = value * 10 + (*p - '0');
    }
  }
  return -1;
}

int TokenizeTextLine(char* out, int maximum, const char* text) {
  if (maximum == -1) {
    ResetTextLineTokenizer();
    return 0;
  }
  if (maximum == -2) {
    RestoreTextLineTokenizer();
    return 0;
  }
  if (g_textLine.position == 0) g_textLine.count = 0;
  g_textLineSaved = g_textLine;

  int copied = 0;
  int quotes = 0;
  for (int i = g_textLine.position;; ++i) {
    const char c = text[i];
    if (c == '\0') {
      out[copied] = '\0';
      g_textLine = {};
      return -1;
    }
    if (c == '\r' || c == '\t') continue;
    if (c == '"') {
      ++quotes;
      continue;
    }
    if (c == '\n' && quotes != 1) {
      out[copied] = '\0';
      g_textLine.position = i + 1;
      if (++g_textLine.count >= kTextLineLimit) {
        g_textLine = {};
        return -1;
      }
      return g_textLine.position;
    }
    const int length = SjisCharLength(text + i);
    if (copied + length > maximum) {
      out[copied] = '\0';
      g_textLine = {};
      return -2;
    }
    std::memcpy(out + copied, text + i, length);
    copied += length;
    i += length - 1;
  }
}

void ResetTextLineTokenizer() { g_textLine = {}; }

void RestoreTextLineTokenizer() { g_textLine = g_textLineSaved; }

void AppendBackslash(char* out, const char* path) {
  std::strcpy(out, path);
  char last = '\0';
  for (const char* p = path; *p; p += SjisCharLength(p)) last = SjisCharLength(p) == 1 ? *p : '\0';
  if (*path && last != ':' && last != '\\') std::strcat(out, "\\");
}

const char* CopyWithoutChar(const char* text, char c) {
  static char buffer[kCopyWithoutCharSize];
  int copied = 0;
  for (const char* p = text; *p; p += SjisCharLength(p)) {
    const int length = SjisCharLength(p);
    if (length == 1 && *p == c) continue;
    if (copied + length > kCopyWithoutCharSize - 1) break;
    std::memcpy(buffer + copied, p, length);
    copied += length;
  }
  buffer[copied] = '\0';
  return buffer;
}
