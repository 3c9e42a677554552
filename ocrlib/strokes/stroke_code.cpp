// Bit masks of stroke codes.
#include "ocrlib/strokes/strokes_internal.h"

void DecodeStrokeCode(int code, uint32_t* maskA, uint32_t* maskB, uint32_t* maskC,
                      uint32_t* maskD) {
  *maskA = *maskB = *maskC = *maskD = 0;
  const int kind = code / 10, subKind = code % 10;
  const int bit = 8 * kind + subKind;  // for codes of 18 and more
  if (code > kStrokeCodeLimit) return;
  if (code >= 138) {
    *maskA = 1u << (bit - 112);
  } else if (code >= 98) {
    *maskB = 1u << (bit - 80);
  } else if (code >= 58) {
    *maskC = 1u << (bit - 48);
  } else if (code >= 18) {
    *maskD = 1u << (bit - 16);
  } else if (code >= 1) {
    *maskA = 1u << ((subKind + 28) % 32);
  } else {
    *maskA = 1u << 31;
  }
}
