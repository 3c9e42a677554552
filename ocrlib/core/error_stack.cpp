// The library's one error stack: every layer pushes the codes of its
// failures and warnings here, newest first. Every export clears it first (but
// MupaBegin and MupaGetError).
#include <algorithm>
#include <cstring>

#include "ocrlib/core/core_internal.h"

ErrorStack g_errorStack = {};

void ClearErrorStack() {
  g_errorStack.count = 0;
  std::memset(g_errorStack.codes, 0, sizeof g_errorStack.codes);
}

void PushErrorCode(uint16_t code) {
  uint16_t* codes = g_errorStack.codes;
  const int count = g_errorStack.count;
  if (count >= kErrorSlots) return;
  uint16_t* held = std::find(codes, codes + count, code);
  if (held != codes + count) {
    std::rotate(codes, held, held + 1);  // moves the code to the front
    return;
  }
  std::memmove(codes + 1, codes, count * sizeof *codes);
  codes[0] = code;
  g_errorStack.count = static_cast<int16_t>(count + 1);
}

int CopyErrorStack(uint16_t* destination, int n) {
  const int k = std::min<int>(n, g_errorStack.count);
  if (k > 0) std::memcpy(destination, g_errorStack.codes, k * sizeof *destination);
  return g_errorStack.count;
}

int GetErrorCount() { return g_errorStack.count; }
