// Text crossing the ODBC boundary: the program's Shift-JIS (code page 932)
// to the databases' UTF-8 and back. SQL text, bound values, column names and
// driver messages all pass here; plain ASCII is copied as it is.
#include <cstring>

#include "foundation/bounded_format.h"
#include "foundation/db_internal.h"

namespace {

constexpr UINT kProgramCodePage = 932;

bool IsAscii(const char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x80) return false;
  }
  return true;
}

// Length of the UTF-8 text without a last character that was cut short.
size_t CompleteUtf8Length(const char* text, size_t length) {
  size_t start = length;
  int back = 0;
  while (start > 0 && back < 4) {
    --start;
    ++back;
    const unsigned char b = static_cast<unsigned char>(text[start]);
    if ((b & 0xC0) != 0x80) {
      const int need = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
      return need <= back ? length : start;
    }
  }
  return length;
}

std::wstring Widen(UINT codePage, const char* text, size_t length) {
  const int n = MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), wide.data(), n);
  return wide;
}

std::string Narrow(UINT codePage, const std::wstring& wide) {
  const int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string text(n, '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n,
                      nullptr, nullptr);
  return text;
}

}  // namespace

std::string ToDbText(const char* text, size_t length) {
  if (IsAscii(text, length)) return std::string(text, length);
  return Narrow(CP_UTF8, Widen(kProgramCodePage, text, length));
}

std::string ToDbText(const char* text) { return ToDbText(text, std::strlen(text)); }

void FromDbText(const char* text, size_t length, char* out, int room) {
  if (room <= 0) return;
  length = CompleteUtf8Length(text, length);
  int copied;
  if (IsAscii(text, length)) {
    copied = static_cast<int>(length) < room - 1 ? static_cast<int>(length) : room - 1;
    std::memcpy(out, text, copied);
  } else {
    const std::string program = Narrow(kProgramCodePage, Widen(CP_UTF8, text, length));
    copied = static_cast<int>(program.size()) < room - 1 ? static_cast<int>(program.size()) : room - 1;
    copied = CharBoundaryLength(program.c_str(), copied);
    std::memcpy(out, program.data(), copied);
  }
  out[copied] = '\0';
}

std::string FromDbText(const char* text) {
  const size_t length = std::strlen(text);
  if (IsAscii(text, length)) return text;
  return Narrow(kProgramCodePage, Widen(CP_UTF8, text, CompleteUtf8Length(text, length)));
}
