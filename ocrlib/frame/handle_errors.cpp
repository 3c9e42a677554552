// The error codes each library handle keeps and MupaGetError: failing and
// warning exports copy the library's error stack into the calling handle's
// buffer, which MupaGetError reads.
#include <algorithm>
#include <cstring>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"

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
