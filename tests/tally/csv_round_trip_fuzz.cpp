// Writes arbitrary cells as the report layer writes a CSV file and reads the
// file back as the program reads one: every cell comes back as written
// (blanks at its ends trimmed), CR, LF, quotes and commas included, up to
// the cells one line holds. Byte 1 separates cells, byte 2 lines.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "foundation/csv_token.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::vector<std::string>> lines(1, std::vector<std::string>(1));
  for (size_t i = 0; i < size; ++i) {
    const char c = static_cast<char>(data[i]);
    if (c == '\x02') {
      lines.emplace_back(1);
    } else if (c == '\x01') {
      lines.back().emplace_back();
    } else if (c != '\0') {
      lines.back().back() += c;
    }
  }

  // The writer: at most the cells one line holds.
  std::string file;
  for (std::vector<std::string>& cells : lines) {
    if (cells.size() > static_cast<size_t>(kCsvFieldLimit)) cells.resize(kCsvFieldLimit);
    std::string line;
    for (const std::string& cell : cells) AppendCsvField(line, cell.c_str(), cell.size() % 2 == 1);
    FinishCsvLine(line);
    file += line;
  }

  // The reader: records, then cells.
  size_t position = 0;
  std::string record;
  for (const std::vector<std::string>& cells : lines) {
    Check(NextCsvRecord(file, position, record));
    Check(CountCsvFields(record) == static_cast<int>(cells.size()));
    std::vector<char> field(record.size() + 1);
    ResetCsvFieldSplitter();
    for (size_t i = 0; i < cells.size(); ++i) {
      const int rc = SplitCsvField(field.data(), static_cast<int>(record.size()), record.c_str());
      Check(std::string(field.data()) == Trimmed(cells[i]));
      Check((rc == -1) == (i + 1 == cells.size()));
    }
  }
  Check(!NextCsvRecord(file, position, record));
  return 0;
}
