// USER.INI: per-installation settings of the workbench (the printing font,
// the resolution, the mark-search margins, ...), one key a line with its
// value after one separator character. Read whole for each look-up: the
// file is a few lines long and read when a window opens or a job starts.
#include <algorithm>
#include <cstring>

#include "reading/reading.h"

#if defined(_WIN32)
#include <fstream>
#include <sstream>

#include "foundation/files.h"
#endif

namespace {

constexpr size_t kUserIniLineBytes = 255;

}  // namespace

std::string UserIniValue(const std::string& text, const char* key) {
  const size_t keyLength = std::strlen(key);
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, std::min(end - start, kUserIniLineBytes));
    if (keyLength > 0 && line.compare(0, keyLength, key) == 0) {
      return line.size() > keyLength + 1 ? line.substr(keyLength + 1) : "";
    }
    start = end + 1;
  }
  return "";
}

#if defined(_WIN32)
std::string ReadUserIniValue(const char* key) {
  std::ifstream file(GetProgramFolder() + "\\USER.INI", std::ios::binary);
  if (!file) return "";
  std::ostringstream text;
  text << file.rdbuf();
  return UserIniValue(text.str(), key);
}
#endif
