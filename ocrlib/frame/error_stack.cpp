// The library's one error stack and MupaGetError. Every export clears the
// stack first (but MupaBegin and MupaGetError); failing and warning exports
// copy it into the calling handle's buffer, which MupaGetError reads.
#include <algorithm>
#include <cstring>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

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

void SaveHandleErrors(int handle) {
  CopyErrorStack(g_sessions[handle].errors, kErrorSlots);
}

// The count comes from the process-wide stack and the codes from the handle's
// buffer: right after a call of this handle both describe that call.
MUPA_API int16_t MUPA_CALL MupaGetError(int16_t handle, uint16_t* codes, int16_t n) {
  if (CheckSessionHandle(handle) != 0) return -10;
  if (codes == nullptr || n < 0 || n > kErrorSlots) return -9;
  const int k = std::min<int>(g_errorStack.count, n);
  if (k < 1) return 0;
  std::memcpy(codes, g_sessions[handle].errors, k * sizeof *codes);
  return static_cast<int16_t>(k);
}
