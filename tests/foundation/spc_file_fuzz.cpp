// Feeds arbitrary bytes to the table-specification reader as the database
// layer uses it: the whole file read as text, the columns of a section, then
// its keys and kind. Every column has a type with a buffer and a sane length,
// names are never empty, the keys stay within their limit.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/spc_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The section names of the program's own files, and one the data names.
  const std::string named = text.substr(0, text.find_first_of("\r\n,"));
  for (const char* section : {"", "MUPA_FLD", "SCRTBL", named.c_str()}) {
    const SpecColumns spec = ParseSpecColumns(text, section);
    for (const SpecColumn& c : spec.columns) {
      Check(!c.name.empty());
      Check(c.type == kColumnText || c.type == kColumnChar || c.type == kColumnShort ||
            c.type == kColumnDouble || c.type == kColumnLong);
      Check(c.type != kColumnText || (c.length >= 1 && c.length <= kMaxTextLength));
      Check(c.type != kColumnChar || c.length == 1);
    }
    for (const SpecNotice& n : spec.notices) Check(!n.name.empty());
    const SpecKeys keys = ParseSpecKeys(text, section);
    Check(keys.keyCount >= 0 && keys.keyCount <= kMaxKeys);
    Check(keys.keyCount > 0 || keys.keyText.empty());
    Check(keys.specKind == 0 || keys.specKind == 1 || keys.specKind == 2 || keys.specKind == 4);
  }
  BuildSpecPath(named.c_str(), named.c_str());
  return 0;
}
