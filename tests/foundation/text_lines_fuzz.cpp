// Feeds arbitrary bytes to the small text readers of the database layer's
// callers: the default choice of an option list, the line reader of
// multi-line texts (with any room), the backslash appender and the copy
// without a character. Outputs go into buffers of exactly their documented
// room, so AddressSanitizer sees any overrun.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/db_text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int room = data[0] % 64;
  const char removed = static_cast<char>(data[1]);
  std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  text = text.substr(0, text.find('\0'));

  std::vector<char> option(text.begin(), text.end());
  option.push_back('\0');
  const int choice = TakeDefaultChoice(option.data());
  Check(choice >= -2);
  Check(std::strlen(option.data()) <= text.size());

  std::vector<char> line(room + 1);
  TokenizeTextLine(line.data(), -1, text.c_str());
  int lines = 0;
  int rc;
  while ((rc = TokenizeTextLine(line.data(), room, text.c_str())) > 0) {
    Check(std::strlen(line.data()) <= static_cast<size_t>(room));
    Check(++lines < kTextLineLimit);
  }
  Check(rc == -1 || rc == -2);

  std::vector<char> path(text.size() + 2);
  AppendBackslash(path.data(), text.c_str());
  Check(std::strlen(CopyWithoutChar(text.c_str(), removed)) < kCopyWithoutCharSize);
  return 0;
}
