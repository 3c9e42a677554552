// mupa_read: a client of MUPA32 that uses nothing but mupa32.h and the
// library. It recognises the character, the field or the line of a 1-bit
// BMP file with a dictionary file and prints the candidates of every
// character, best first, with the confidence and the box.
//
// Usage: mupa_read <dictionary> <image.bmp> char|field|line
//                  [--types MASK] [--cells N] [--mode 1|2|3]
// A field is the image cut into N cells of equal width (default 1).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ocrlib/mupa32.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

constexpr uint16_t kUnused = 0xFFFF;
constexpr uint16_t kEndOfRecords = 0x000A;

uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

struct Bitmap {
  std::vector<uint8_t> bits;  // top row first
  MupaImage image = {};
};

// A 1-bit BMP, rows turned top first; the colour of palette entry 1 decides
// the polarity. Returns an error text, empty on success.
std::string ReadBmp(const char* path, Bitmap* out) {
  FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return "cannot open the image";
  std::vector<uint8_t> file;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) file.insert(file.end(), buffer, buffer + n);
  std::fclose(f);
  if (file.size() < 62 || file[0] != 'B' || file[1] != 'M') return "not a BMP file";
  const uint32_t offset = U32(&file[10]);
  const int32_t width = static_cast<int32_t>(U32(&file[18]));
  const int32_t rawHeight = static_cast<int32_t>(U32(&file[22]));
  if (U16(&file[28]) != 1 || U32(&file[30]) != 0) return "not an uncompressed 1-bit BMP";
  // A negative height means rows top first; INT32_MIN has no positive.
  const int64_t absoluteHeight = rawHeight < 0 ? -static_cast<int64_t>(rawHeight) : rawHeight;
  if (width < 1 || width > 32767 || absoluteHeight < 1 || absoluteHeight > 32767) return "image too large";
  const int32_t height = static_cast<int32_t>(absoluteHeight);
  const size_t stride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  if (offset > file.size() || file.size() - offset < stride * height) return "image data cut short";
  const size_t used = (static_cast<size_t>(width) + 7) / 8;
  out->bits.assign(used * height, 0);
  for (int32_t y = 0; y < height; ++y) {
    const int32_t source = rawHeight < 0 ? y : height - 1 - y;
    std::memcpy(&out->bits[used * y], &file[offset + stride * source], used);
  }
  // Palette entry 1 darker than entry 0: a set bit is ink.
  const uint8_t* palette = &file[14 + U32(&file[14])];
  const int light0 = palette[0] + palette[1] + palette[2];
  const int light1 = palette[4] + palette[5] + palette[6];
  out->image = {static_cast<int16_t>(width), static_cast<int16_t>(height), 1,
                static_cast<int16_t>(used), 300, static_cast<uint16_t>(light1 < light0 ? 1 : 0),
                out->bits.data()};
  return "";
}

// A Shift-JIS code as UTF-8 for the terminal.
std::string ToUtf8(uint16_t code) {
  char sjis[3] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF), 0};
  if (code < 0x100) sjis[0] = static_cast<char>(code), sjis[1] = 0;
#if defined(_WIN32)
  wchar_t wide[4];
  const int w = MultiByteToWideChar(932, 0, sjis, -1, wide, 4);
  char utf8[16];
  if (w <= 0 || WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr) <= 0) {
    return "?";
  }
  return utf8;
#else
  iconv_t cd = iconv_open("UTF-8", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "?";
  char utf8[16] = {};
  char* in = sjis;
  char* outp = utf8;
  size_t inLeft = std::strlen(sjis), outLeft = sizeof utf8 - 1;
  const size_t rc = iconv(cd, &in, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  return rc == static_cast<size_t>(-1) ? "?" : utf8;
#endif
}

void PrintRecord(int index, const MupaCharResult& r) {
  if (r.candidates[0].code == kEndOfRecords) {
    std::printf("end  box %d,%d-%d,%d%s\n", r.box.left, r.box.top, r.box.right, r.box.bottom,
                r.failed ? "  (a character was not recognised)" : "");
    return;
  }
  std::printf("%-4d", index);
  for (const MupaCandidate& c : r.candidates) {
    if (c.code == kUnused) break;
    std::printf(" %s", ToUtf8(c.code).c_str());
  }
  if (r.candidates[0].code == kUnused) std::printf(" (none)");
  std::printf("  confidence %d  box %d,%d-%d,%d%s\n", r.confidence, r.box.left, r.box.top,
              r.box.right, r.box.bottom, r.failed ? "  failed" : "");
}

int Usage() {
  std::fprintf(stderr,
               "usage: mupa_read <dictionary> <image.bmp> char|field|line"
               " [--types MASK] [--cells N] [--mode 1|2|3]\n");
  return 2;
}

int Failed(int16_t handle, const char* what) {
  uint16_t codes[32];
  const int n = MupaGetError(handle, codes, 32);
  std::fprintf(stderr, "mupa_read: %s failed, codes:", what);
  for (int i = 0; i < n && i < 32; ++i) std::fprintf(stderr, " %u", codes[i]);
  std::fprintf(stderr, "\n");
  MupaEnd(handle);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return Usage();
  const std::string kind = argv[3];
  if (kind != "char" && kind != "field" && kind != "line") return Usage();
  uint32_t types = 0;
  int cells = 1, mode = 2;
  for (int i = 4; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--types") == 0) {
      types = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 0));
    } else if (std::strcmp(argv[i], "--cells") == 0) {
      cells = std::atoi(argv[i + 1]);
    } else if (std::strcmp(argv[i], "--mode") == 0) {
      mode = std::atoi(argv[i + 1]);
    } else {
      return Usage();
    }
  }
  Bitmap bitmap;
  const std::string error = ReadBmp(argv[2], &bitmap);
  if (!error.empty()) {
    std::fprintf(stderr, "mupa_read: %s: %s\n", argv[2], error.c_str());
    return 1;
  }
  const int16_t handle = MupaBegin();
  if (handle < 0) return Failed(handle, "MupaBegin");
  const int16_t dictionary = MupaLoadPatternDict(handle, argv[1]);
  if (dictionary < 0) return Failed(handle, "loading the dictionary");
  const int16_t environment = MupaOpenExecEnv(handle, 3);
  if (environment < 0 || MupaRegisterPatternDict(handle, environment, dictionary) != 0) {
    return Failed(handle, "opening the environment");
  }
  if (types != 0 && MupaSetCharType(handle, dictionary, types) == -9) {
    return Failed(handle, "setting the character types");
  }
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = static_cast<uint8_t>(mode);
  MupaImage& image = bitmap.image;
  const MupaRect whole = {0, 0, static_cast<int16_t>(image.width - 1),
                          static_cast<int16_t>(image.height - 1)};
  std::vector<MupaCharResult> results(100);
  int records = 0;
  if (kind == "char") {
    if (MupaExecuteOneChar(handle, environment, &image, &whole, &options, results.data()) != 0) {
      return Failed(handle, "MupaExecuteOneChar");
    }
    records = 1;
  } else if (kind == "field") {
    if (cells < 1 || cells > 99) return Usage();
    std::vector<MupaRect> rects(cells);
    for (int i = 0; i < cells; ++i) {
      rects[i] = {static_cast<int16_t>(image.width * i / cells), 0,
                  static_cast<int16_t>(image.width * (i + 1) / cells - 1), whole.bottom};
    }
    int16_t count = 0;
    if (MupaExecuteFieldChar(handle, environment, &image, rects.data(),
                             static_cast<uint16_t>(cells), &options, results.data(), 100,
                             &count) != 0) {
      return Failed(handle, "MupaExecuteFieldChar");
    }
    records = count;
  } else {
    uint16_t status = 0;
    records = MupaExecuteOneLine(handle, environment, &image, &whole, &options, results.data(),
                                 100, 0, &status);
    if (records < 0) return Failed(handle, "MupaExecuteOneLine");
  }
  for (int i = 0; i < records; ++i) PrintRecord(i, results[i]);
  MupaCloseExecEnv(handle, environment);
  MupaCancelPatternDict(handle, environment, dictionary);
  MupaUnloadPatternDict(handle, dictionary);
  MupaEnd(handle);
  return 0;
}
