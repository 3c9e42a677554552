// A client of the built shared library (MUPA32.dll under Wine, libmupa32.so
// natively): every export binds by its plain name, and a handle can be taken,
// report an error and be given back through the library itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ocrlib/dictwriter/dict_writer.h"
#include "ocrlib/mupa32.h"
#include "tests/ocrlib/kit/digit_kit.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

constexpr const char* kExports[] = {
    "MupaBegin",           "MupaEnd",           "MupaGetError",
    "MupaLoadPatternDict", "MupaUnloadPatternDict", "MupaGetDictHandle",
    "MupaGetDictInfo",     "MupaOpenExecEnv",   "MupaCloseExecEnv",
    "MupaRegisterPatternDict", "MupaCancelPatternDict", "MupaSetCharType",
    "MupaGetCharType",     "MupaExecuteOneChar", "MupaExecuteFieldChar",
    "MupaExecuteOneLine",  "MupaSegChar",
};

class SharedLibrary {
 public:
#if defined(_WIN32)
  SharedLibrary() : module_(LoadLibraryA("MUPA32.dll")) {}
  ~SharedLibrary() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  void* Find(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(module_, name));
  }
#else
  SharedLibrary() : module_(dlopen("./libmupa32.so", RTLD_NOW | RTLD_LOCAL)) {}
  ~SharedLibrary() {
    if (module_ != nullptr) dlclose(module_);
  }
  void* Find(const char* name) const { return dlsym(module_, name); }
#endif
  bool loaded() const { return module_ != nullptr; }
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  template <class F>
  F Function(const char* name) const {
    return reinterpret_cast<F>(Find(name));
  }

 private:
#if defined(_WIN32)
  HMODULE module_;
#else
  void* module_;
#endif
};

TEST(Mupa32Client, EveryExportBindsByName) {
  SharedLibrary library;
  ASSERT_TRUE(library.loaded());
  for (const char* name : kExports) EXPECT_NE(library.Find(name), nullptr) << name;
  // Only the exports are visible: the library's inner routines are not.
  EXPECT_EQ(library.Find("PushErrorCode"), nullptr);
}

TEST(Mupa32Client, BeginErrorEnd) {
  SharedLibrary library;
  ASSERT_TRUE(library.loaded());
  using Begin = int16_t(MUPA_CALL*)(void);
  using End = int16_t(MUPA_CALL*)(int16_t);
  using OpenEnv = int16_t(MUPA_CALL*)(int16_t, uint16_t);
  using GetError = int16_t(MUPA_CALL*)(int16_t, uint16_t*, int16_t);
  const auto begin = library.Function<Begin>("MupaBegin");
  const auto end = library.Function<End>("MupaEnd");
  const auto openEnv = library.Function<OpenEnv>("MupaOpenExecEnv");
  const auto getError = library.Function<GetError>("MupaGetError");
  ASSERT_TRUE(begin && end && openEnv && getError);
  const int16_t handle = begin();
  ASSERT_EQ(handle, 0);
  EXPECT_EQ(openEnv(handle, 2), -10);  // only mode 3 exists
  uint16_t codes[32] = {};
  EXPECT_EQ(getError(handle, codes, 32), 1);
  EXPECT_EQ(codes[0], 7001);
  EXPECT_EQ(end(handle), 0);
  EXPECT_EQ(end(handle), -10);
  EXPECT_EQ(getError(handle, codes, 32), -10);
}

// The exports a recognising client calls, bound by name.
struct Exports {
  explicit Exports(const SharedLibrary& library)
      : begin(library.Function<decltype(&MupaBegin)>("MupaBegin")),
        end(library.Function<decltype(&MupaEnd)>("MupaEnd")),
        load(library.Function<decltype(&MupaLoadPatternDict)>("MupaLoadPatternDict")),
        unload(library.Function<decltype(&MupaUnloadPatternDict)>("MupaUnloadPatternDict")),
        openEnv(library.Function<decltype(&MupaOpenExecEnv)>("MupaOpenExecEnv")),
        closeEnv(library.Function<decltype(&MupaCloseExecEnv)>("MupaCloseExecEnv")),
        reg(library.Function<decltype(&MupaRegisterPatternDict)>("MupaRegisterPatternDict")),
        cancel(library.Function<decltype(&MupaCancelPatternDict)>("MupaCancelPatternDict")),
        setType(library.Function<decltype(&MupaSetCharType)>("MupaSetCharType")),
        oneChar(library.Function<decltype(&MupaExecuteOneChar)>("MupaExecuteOneChar")),
        field(library.Function<decltype(&MupaExecuteFieldChar)>("MupaExecuteFieldChar")),
        line(library.Function<decltype(&MupaExecuteOneLine)>("MupaExecuteOneLine")) {}
  bool bound() const {
    return begin && end && load && unload && openEnv && closeEnv && reg && cancel && setType &&
           oneChar && field && line;
  }
  // A handle with the dictionary file registered under the character types.
  bool Open(const char* path, uint32_t types) {
    handle = begin();
    dict = load(handle, path);
    env = openEnv(handle, 3);
    return dict >= 0 && env >= 0 && reg(handle, env, dict) == 0 && setType(handle, dict, types) == 0;
  }
  void Close() {
    EXPECT_EQ(cancel(handle, env, dict), 0);
    EXPECT_EQ(closeEnv(handle, env), 0);
    EXPECT_EQ(unload(handle, dict), 0);
    EXPECT_EQ(end(handle), 0);
  }

  decltype(&MupaBegin) begin;
  decltype(&MupaEnd) end;
  decltype(&MupaLoadPatternDict) load;
  decltype(&MupaUnloadPatternDict) unload;
  decltype(&MupaOpenExecEnv) openEnv;
  decltype(&MupaCloseExecEnv) closeEnv;
  decltype(&MupaRegisterPatternDict) reg;
  decltype(&MupaCancelPatternDict) cancel;
  decltype(&MupaSetCharType) setType;
  decltype(&MupaExecuteOneChar) oneChar;
  decltype(&MupaExecuteFieldChar) field;
  decltype(&MupaExecuteOneLine) line;
  int16_t handle = -1, dict = -1, env = -1;
};

MupaRecogOptions Options() {
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = 2;
  return options;
}

// The three recognition exports of the library a client loaded, on drawn
// digits with the digit pattern dictionary, as a client calls them.
TEST(Mupa32Client, RecognisesACharacterAFieldAndALine) {
  SharedLibrary library;
  ASSERT_TRUE(library.loaded());
  Exports mupa(library);
  ASSERT_TRUE(mupa.bound());
  const std::string path = "mupa32_client_digits.dic";
  ASSERT_EQ(WriteDictBytes(path, EncodeDictFile(MakeDigitPatternDict())), 0);
  const bool opened = mupa.Open(path.c_str(), 1);
  std::remove(path.c_str());
  ASSERT_TRUE(opened);

  // Three vertical bars ("1"s) 24 rows high, apart by 12 columns, at 300 dpi.
  constexpr int kWidth = 64, kHeight = 32, kStride = kWidth / 8;
  std::vector<uint8_t> bits(kStride * kHeight, 0);
  const int lefts[3] = {8, 24, 40};
  for (int left : lefts) {
    for (int y = 4; y < 28; ++y) {
      for (int x = left; x < left + 3; ++x) bits[y * kStride + x / 8] |= 0x80 >> (x % 8);
    }
  }
  MupaImage image = {kWidth, kHeight, 1, kStride, 300, 1, bits.data()};
  MupaRecogOptions options = Options();
  const MupaRect cells[3] = {{4, 0, 17, 31}, {20, 0, 33, 31}, {36, 0, 49, 31}};
  MupaCharResult results[10] = {};
  ASSERT_EQ(mupa.oneChar(mupa.handle, mupa.env, &image, &cells[0], &options, results), 0);
  EXPECT_EQ(results[0].failed, 0);
  EXPECT_NE(results[0].candidates[0].code, 0xFFFF);
  int16_t count = 0;
  ASSERT_EQ(mupa.field(mupa.handle, mupa.env, &image, cells, 3, &options, results, 10, &count), 0);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(results[3].candidates[0].code, 0x000A);
  const MupaRect whole = {0, 0, kWidth - 1, kHeight - 1};
  uint16_t status = 1;
  ASSERT_EQ(mupa.line(mupa.handle, mupa.env, &image, &whole, &options, results, 10, 0, &status), 4);
  EXPECT_EQ(status, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(results[i].box.left, lefts[i]);
    EXPECT_EQ(results[i].box.right, lefts[i] + 2);
  }
  EXPECT_EQ(results[3].candidates[0].code, 0x000A);
  mupa.Close();
}

// The digit dictionary the build writes beside the library reads the pen
// kit's digits through the library: one by one, as a field and as a line.
TEST(Mupa32Client, ShippedDigitsReadDrawnDigits) {
  SharedLibrary library;
  ASSERT_TRUE(library.loaded());
  Exports mupa(library);
  ASSERT_TRUE(mupa.bound());
  ASSERT_TRUE(mupa.Open("digits.dic", 1)) << "the build writes digits.dic beside the library";
  std::vector<penkit::DigitSample> samples = penkit::DigitSamples(4242, 2);  // 20 digits
  // All side by side, 6 white columns apart, on one 200 dpi line.
  int width = 6, height = 1;
  for (auto& s : samples) {
    width += s.image.width() + 6;
    height = std::max(height, s.image.height());
  }
  width = (width + 7) / 8 * 8;
  std::vector<uint8_t> bits(width / 8 * height, 0);
  std::vector<MupaRect> cells;
  int x0 = 6;
  for (auto& s : samples) {
    for (int y = 0; y < s.image.height(); ++y) {
      for (int x = 0; x < s.image.width(); ++x) {
        if (s.image.Get(x, y)) bits[y * (width / 8) + (x0 + x) / 8] |= 0x80 >> ((x0 + x) % 8);
      }
    }
    const MupaRect ink = s.image.InkRect();
    cells.push_back({static_cast<int16_t>(x0 + ink.left), ink.top,
                     static_cast<int16_t>(x0 + ink.right), ink.bottom});
    x0 += s.image.width() + 6;
  }
  MupaImage image = {static_cast<int16_t>(width), static_cast<int16_t>(height), 1,
                     static_cast<int16_t>(width / 8), 200, 1, bits.data()};
  MupaRecogOptions options = Options();
  const int n = static_cast<int>(samples.size());
  std::vector<uint16_t> alone;
  int right = 0;
  for (int i = 0; i < n; ++i) {
    MupaCharResult result = {};
    ASSERT_EQ(mupa.oneChar(mupa.handle, mupa.env, &image, &cells[i], &options, &result), 0);
    alone.push_back(result.candidates[0].code);
    right += alone.back() == 0x824F + samples[i].digit;
  }
  EXPECT_GE(right * 10, n * 9) << right << " of " << n;
  MupaCharResult results[100] = {};
  int16_t count = 0;
  ASSERT_EQ(mupa.field(mupa.handle, mupa.env, &image, cells.data(), static_cast<uint16_t>(n),
                       &options, results, 100, &count), 0);
  ASSERT_EQ(count, n + 1);
  int fieldAlike = 0;
  for (int i = 0; i < n; ++i) fieldAlike += results[i].candidates[0].code == alone[i];
  EXPECT_GE(fieldAlike * 10, n * 9);
  const MupaRect whole = {0, 0, static_cast<int16_t>(width - 1), static_cast<int16_t>(height - 1)};
  uint16_t status = 1;
  const int found = mupa.line(mupa.handle, mupa.env, &image, &whole, &options, results, 100, 0,
                              &status);
  EXPECT_EQ(status, 0);
  ASSERT_GE(found, n / 2);
  EXPECT_EQ(results[found - 1].candidates[0].code, 0x000A);
  mupa.Close();
}
}  // namespace
