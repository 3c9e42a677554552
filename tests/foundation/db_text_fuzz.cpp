// Feeds arbitrary bytes to the readers of the database layer's text: the
// table-specification parser, the OCR.INI line reader and folder rules, the
// SQL scanner and the option and line readers. Outputs go into buffers of
// exactly their documented room, so AddressSanitizer sees any overrun; a few
// invariants are checked on the way.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/db_sql.h"
#include "foundation/db_text.h"
#include "foundation/ocr_ini.h"
#include "foundation/spc_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = bytes.substr(0, bytes.find('\0'));

  // Specification files: every column has a type with a buffer and a sane
  // length; the keys stay within their limit.
  for (const char* section : {"", "T", "MUPA_FLD"}) {
    for (const SpecColumn& c : ParseSpecColumns(bytes, section).columns) {
      Check(!c.name.empty());
      Check(c.type != kColumnText || (c.length >= 1 && c.length <= kMaxTextLength));
    }
    const SpecKeys keys = ParseSpecKeys(bytes, section);
    Check(keys.keyCount >= 0 && keys.keyCount <= kMaxKeys);
  }

  // OCR.INI lines and the folder rules write into fixed settings.
  OcrIniSettings settings;
  SetOcrIniDefaults(settings);
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    ApplyOcrIniLine(settings, text.substr(start, end - start).c_str());
    start = end + 1;
  }
  std::vector<char> folder(kIniTextSize);
  BuildDbFolder(folder.data(), text.c_str(), settings.drive, "C:\\APP");
  Check(std::strlen(folder.data()) < kIniTextSize);

  // SQL text: the cut select is a prefix; a literal has its quotes doubled.
  const std::string cut = WithoutOrderBy(text);
  Check(text.compare(0, cut.size(), cut) == 0);
  const std::string literal = SqlLiteral(text.c_str());
  Check(literal.size() >= text.size() + 2);
  std::string name;
  ExtractViewName(text, name);
  CountStatement(text, "T");
  std::string plain;
  std::string qualified;
  for (int key = 0; key < 3; ++key) SelectKeyColumns(text, key, "T", plain, qualified);

  // Option lists and multi-line texts in buffers of their stated room.
  std::vector<char> option(text.begin(), text.end());
  option.push_back('\0');
  TakeDefaultChoice(option.data());
  const int room = static_cast<int>(size % 64);
  std::vector<char> line(room + 1);
  TokenizeTextLine(line.data(), -1, text.c_str());
  for (int i = 0; i < 2000 && TokenizeTextLine(line.data(), room, text.c_str()) > 0; ++i) {
  }
  std::vector<char> path(text.size() + 2);
  AppendBackslash(path.data(), text.c_str());
  return 0;
}
