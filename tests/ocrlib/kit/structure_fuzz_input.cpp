// Reading the structure fuzz target's input, and the inputs kept from it.
#include "tests/ocrlib/kit/structure_fuzz_input.h"

#include "ocrlib/strokes/strokes_internal.h"

namespace penkit {

std::optional<StructureFuzzInput> ReadStructureFuzzInput(const uint8_t* data, size_t size) {
  if (size < 6) return std::nullopt;
  const int width = 1 + data[0] % 120, height = 1 + data[1] % 120;
  const int left = data[2] % 8, top = data[3] % 8;
  const int ruleWords = data[4] % 32;
  const int header = 5 + ruleWords;
  if (size <= static_cast<size_t>(header)) return std::nullopt;
  StructureFuzzInput in{BitImage(left + width, top + height), left, left + width - 1, top,
                        top + height - 1, {}};
  for (int k = 0; k < ruleWords; ++k) in.rules[k] = static_cast<int8_t>(data[5 + k]) % 12;
  in.rules[ruleWords] = kRuleEnd;  // nothing after it may be read
  const size_t bits = (size - header) * 8;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t bit = static_cast<size_t>(y * width + x) % bits;
      if ((data[header + bit / 8] >> (bit % 8)) & 1) in.image.Set(left + x, top + y);
    }
  return in;
}

const std::vector<StructureFuzzSeed>& StructureFuzzSeeds() {
  // 41 rows of 6 pixels whose column chains, cleaned of a short run, would
  // hand its links to a neighbour without room for them.
  static const std::vector<StructureFuzzSeed> seeds = {
      {"short_run_into_full_links_1", "05a040404040404005404040403140800b268c000006005d0624"},
      {"short_run_into_full_links_2",
       "05a04040404040403205a04040404040404040404040404040404040404040404040e1400024"},
  };
  return seeds;
}

std::vector<uint8_t> BytesFromHex(const char* hex) {
  auto digit = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
  std::vector<uint8_t> bytes;
  for (; hex[0] != '\0' && hex[1] != '\0'; hex += 2)
    bytes.push_back(static_cast<uint8_t>(digit(hex[0]) << 4 | digit(hex[1])));
  return bytes;
}

}  // namespace penkit
