// Text crossing the ODBC boundary: the program's Shift-JIS (code page 932)
// to the databases' UTF-8 and back. SQL text, bound values, column names and
// driver messages all pass here; plain ASCII is copied as it is.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>

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

// A conversion's scratch room: on the stack for the usual short texts.
template <class Char, size_t kStack>
class Scratch {
 public:
  Char* Room(size_t n) {
    if (n <= kStack) return stack_;
    heap_.resize(n);
    return heap_.data();
  }

 private:
  Char stack_[kStack];
  std::basic_string<Char> heap_;
};

// Converts `length` bytes from one code page to another into `out` (room
// for `room` bytes, no terminator written); returns the bytes written, cut
// at a character boundary of the target (`whole` tells whether all fitted).
// Shift-JIS never needs more than two bytes a UTF-16 unit, UTF-8 never more
// than three.
int Convert(UINT from, UINT to, const char* text, size_t length, char* out, int room, bool& whole) {
  Scratch<wchar_t, 512> wideRoom;
  wchar_t* wide = wideRoom.Room(length);
  const int units = MultiByteToWideChar(from, 0, text, static_cast<int>(length), wide,
                                        static_cast<int>(length));
  Scratch<char, 1536> narrowRoom;
  const size_t most = static_cast<size_t>(units) * 3;
  char* narrow = narrowRoom.Room(most);
  int bytes = WideCharToMultiByte(to, 0, wide, units, narrow, static_cast<int>(most), nullptr, nullptr);
  whole = bytes <= room;
  if (!whole) bytes = to == kProgramCodePage ? CharBoundaryLength(narrow, room) : CompleteUtf8Length(narrow, room);
  std::memcpy(out, narrow, bytes);
  return bytes;
}

}  // namespace

std::string ToDbText(const char* text, size_t length) {
  if (IsAscii(text, length)) return std::string(text, length);
  std::string converted(length * 3, '\0');
  bool whole;
  converted.resize(Convert(kProgramCodePage, CP_UTF8, text, length, converted.data(),
                           static_cast<int>(converted.size()), whole));
  return converted;
}

std::string ToDbText(const char* text) { return ToDbText(text, std::strlen(text)); }

namespace {

// Converts into `out` (room `room` bytes, terminated); ASCII is copied.
// True when the whole text fitted.
bool ConvertInto(UINT from, UINT to, const char* text, size_t length, char* out, int room) {
  if (room <= 0) return length == 0;
  int copied;
  bool whole;
  if (IsAscii(text, length)) {
    whole = static_cast<int>(length) <= room - 1;
    copied = whole ? static_cast<int>(length) : room - 1;
    std::memcpy(out, text, copied);
  } else {
    copied = Convert(from, to, text, length, out, room - 1, whole);
  }
  out[copied] = '\0';
  return whole;
}

// Code page 932 maps character by character: the bytes of each UTF-16
// unit are learnt from the system on first sight (packed as count << 16 |
// the bytes, the first of two in bits 8-15; 0 while unknown), and a text of
// such units converts in one pass instead of the system's two through
// UTF-16. A list page converts a thousand texts.
uint32_t ProgramBytesOf(wchar_t unit) {
  static const std::unique_ptr<std::atomic<uint32_t>[]> known(new std::atomic<uint32_t>[0x10000]());
  std::atomic<uint32_t>& entry = known[unit];
  uint32_t packed = entry.load(std::memory_order_relaxed);
  if (packed == 0) {
    unsigned char bytes[2] = {0, 0};
    const int count = WideCharToMultiByte(kProgramCodePage, 0, &unit, 1,
                                          reinterpret_cast<char*>(bytes), 2, nullptr, nullptr);
    if (count < 1 || count > 2) return 0;
    const uint32_t value = count == 2 ? bytes[0] << 8 | bytes[1] : bytes[0];
    packed = static_cast<uint32_t>(count) << 16 | value;
    entry.store(packed, std::memory_order_relaxed);
  }
  return packed;
}

// UTF-8 into the program's code page through the learnt units: the bytes
// written, or -1 when the text holds anything but well-formed characters of
// one to three bytes outside the surrogates, or does not fit `room` (the
// system's conversion then decides, and cuts).
int ConvertUtf8Directly(const unsigned char* text, size_t length, char* out, int room) {
  int written = 0;
  for (size_t at = 0; at < length;) {
    const unsigned char lead = text[at];
    if (lead < 0x80) {
      if (written >= room) return -1;
      out[written++] = static_cast<char>(lead);
      ++at;
      continue;
    }
    unsigned unit;
    if ((lead & 0xE0) == 0xC0 && at + 1 < length && (text[at + 1] & 0xC0) == 0x80) {
      unit = (lead & 0x1Fu) << 6 | (text[at + 1] & 0x3Fu);
      if (unit < 0x80) return -1;
      at += 2;
    } else if ((lead & 0xF0) == 0xE0 && at + 2 < length && (text[at + 1] & 0xC0) == 0x80 &&
               (text[at + 2] & 0xC0) == 0x80) {
      unit = (lead & 0x0Fu) << 12 | (text[at + 1] & 0x3Fu) << 6 | (text[at + 2] & 0x3Fu);
      if (unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF)) return -1;
      at += 3;
    } else {
      return -1;
    }
    const uint32_t packed = ProgramBytesOf(static_cast<wchar_t>(unit));
    const int count = static_cast<int>(packed >> 16);
    if (count == 0 || written + count > room) return -1;
    if (count == 2) out[written++] = static_cast<char>(packed >> 8);
    out[written++] = static_cast<char>(packed);
  }
  return written;
}

}  // namespace

void ToDbTextBuffer(const char* text, char* out, int room) {
  ConvertInto(kProgramCodePage, CP_UTF8, text, std::strlen(text), out, room);
}

bool FromDbText(const char* text, size_t length, char* out, int room) {
  const size_t complete = CompleteUtf8Length(text, length);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const int direct = room > 0 ? ConvertUtf8Directly(bytes, complete, out, room - 1) : -1;
  if (direct >= 0) {
    out[direct] = '\0';
    return complete == length;
  }
  return ConvertInto(CP_UTF8, kProgramCodePage, text, complete, out, room) && complete == length;
}

std::string FromDbText(const char* text) {
  const size_t length = std::strlen(text);
  std::string converted(length + 1, '\0');
  FromDbText(text, length, converted.data(), static_cast<int>(converted.size()));
  converted.resize(std::strlen(converted.c_str()));
  return converted;
}
