// Feeds arbitrary bytes to the report layer's text routines: the cutter of
// long texts (each piece in a heap buffer of exactly its documented room),
// vertical text cells, and CSV cells written and split back.
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

std::string Trimmed(const std::string& cell) {
  const size_t first = cell.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return cell.substr(first, cell.find_last_not_of(' ') - first + 1);
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

void CheckCsvRoundTrip(const std::string& text) {
  // Cells are separated by byte 1; line ends inside cells are left out, as
  // the program's readers split files into lines first.
  std::vector<std::string> cells(1);
  for (char c : text) {
    if (c == '\x01') {
      cells.emplace_back();
    } else if (c != '\r' && c != '\n') {
      cells.back() += c;
    }
  }
  if (cells.size() >= 1000) return;  // the splitter's field limit
  std::string line;
  for (const std::string& cell : cells) AppendCsvField(line, cell.c_str(), false);
  line.back() = '\n';  // what a line advance makes of the last comma
  std::vector<char> field(line.size() + 1);
  ResetCsvFieldSplitter();
  for (size_t i = 0; i < cells.size(); ++i) {
    const int rc = SplitCsvField(field.data(), static_cast<int>(line.size()), line.c_str());
    Check(std::string(field.data()) == Trimmed(cells[i]));
    Check((rc == -1) == (i + 1 == cells.size()));
  }
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
  CheckCsvRoundTrip(text);
  return 0;
}
