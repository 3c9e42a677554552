// Feeds arbitrary bytes as a USER.INI to the key look-up: every value is a
// tail of one line of at most 255 bytes, without a line end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "reading/reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const char* key : {"PFONT", "DPI", "HMX", "LINE", ""}) {
    const std::string value = UserIniValue(text, key);
    if (value.size() > 255 || value.find_first_of("\r\n") != std::string::npos) std::abort();
    if (!value.empty() && text.find(value) == std::string::npos) std::abort();
  }
  return 0;
}
