// Stroke codes (kind x 10 + sub-kind) as bit masks: each kind has eight bit
// positions, one per sub-kind, spread over four 32-bit masks. The dictionary
// loader ORs them into each stroke model; the verifier compares them with the
// character's strokes.
#pragma once

#include <cstdint>

constexpr int kStrokeCodeLimit = 172;  // codes above set no bit

// Writes the four masks of `code` (at most one bit set in all).
void DecodeStrokeCode(int code, uint32_t* maskA, uint32_t* maskB, uint32_t* maskC,
                      uint32_t* maskD);
