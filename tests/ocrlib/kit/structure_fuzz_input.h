// The input of the structure fuzz target, read the same way by the target,
// by the tool that writes its seeds and by the native tests that replay what
// the fuzzer found: width, height, box offsets and the length of the rule
// list, the rule words, then the bitmap's bits (repeated when short).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/ocrlib/kit/pen_kit.h"

namespace penkit {

struct StructureFuzzInput {
  BitImage image;
  int left, right, top, bottom;  // the box inside the image
  int32_t rules[33];             // ended by the rule list's end mark
};

// Empty when the input is too short to hold a box and a bit.
std::optional<StructureFuzzInput> ReadStructureFuzzInput(const uint8_t* data, size_t size);

// Inputs the fuzzer once failed on, kept as seeds of its corpus and replayed
// by the tests.
struct StructureFuzzSeed {
  const char* name;
  const char* hex;  // the raw input as hex digits
};
const std::vector<StructureFuzzSeed>& StructureFuzzSeeds();
std::vector<uint8_t> BytesFromHex(const char* hex);

}  // namespace penkit
