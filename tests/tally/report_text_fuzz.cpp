// Feeds arbitrary bytes to the report layer's text routines: the cutter of
// long texts (each piece in a heap buffer of exactly its documented room)
// and vertical text cells. CSV cells written and read back have a target of
// their own (csv_round_trip_fuzz.cpp).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/sjis_text.h"
#include "tally/tally.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckCutter(const std::string& text, int width) {
  std::string rebuilt;
  for (int start = 0; start < static_cast<int>(text.size());) {
    std::vector<char> piece(width + 2);
    const int next = CountMixedWidth(start, width, piece.data(), text.c_str());
    Check(next > start && next - start <= (width < 2 ? 2 : width));
    // The piece ends where a character of the walk from its start ends.
    int end = start;
    while (end < next) end += SjisCharLength(text.c_str() + end);
    Check(end == next);
    rebuilt += piece.data();
    start = next;
  }
  Check(rebuilt == text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int width = data[0] % 12 + 1;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  text = text.substr(0, text.find('\0'));

  CheckCutter(text, width);
  for (int n = 1; n <= 3; ++n) Check(std::string(NthCsvField(n, text.c_str())).size() <= text.size());
  const int characters = CountVerticalChars(text.c_str());
  Check(static_cast<int>(SplitVerticalCells(text.c_str(), false).size()) == characters);
  Check(static_cast<int>(SplitVerticalCells(text.c_str(), true).size()) <= characters);
  return 0;
}
