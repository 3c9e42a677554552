// Checks of the structure chain for the tests and the fuzz target: after
// building and cleaning, every chain node's lists must hold one node per
// value of its two lines, the lines between two chain nodes must share
// their structure, links must be mutual and twins must pair up.
#pragma once

#include <string>

#include "ocrlib/strokes/strokes_internal.h"

namespace penkit {

// Empty when the current buffer set's chain agrees with its records, else
// what disagrees first.
std::string CheckStructureChain();

}  // namespace penkit
