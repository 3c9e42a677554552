// A client of the built shared library (MUPA32.dll under Wine, libmupa32.so
// natively): every export binds by its plain name, and a handle can be taken,
// report an error and be given back through the library itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ocrlib/dictwriter/dict_writer.h"
#include "ocrlib/mupa32.h"

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

// The three recognition exports of the library a client loaded, on drawn
// digits with the digit pattern dictionary, as a client calls them.
TEST(Mupa32Client, RecognisesACharacterAFieldAndALine) {
  SharedLibrary library;
  ASSERT_TRUE(library.loaded());
  using Begin = int16_t(MUPA_CALL*)(void);
  using End = int16_t(MUPA_CALL*)(int16_t);
  using Load = int16_t(MUPA_CALL*)(int16_t, const char*);
  using Unload = int16_t(MUPA_CALL*)(int16_t, int16_t);
  using OpenEnv = int16_t(MUPA_CALL*)(int16_t, uint16_t);
  using CloseEnv = int16_t(MUPA_CALL*)(int16_t, int16_t);
  using Register = int16_t(MUPA_CALL*)(int16_t, int16_t, int16_t);
  using SetType = int16_t(MUPA_CALL*)(int16_t, int16_t, uint32_t);
  using OneChar = decltype(&MupaExecuteOneChar);
  using Field = decltype(&MupaExecuteFieldChar);
  using Line = decltype(&MupaExecuteOneLine);
  const auto begin = library.Function<Begin>("MupaBegin");
  const auto end = library.Function<End>("MupaEnd");
  const auto load = library.Function<Load>("MupaLoadPatternDict");
  const auto unload = library.Function<Unload>("MupaUnloadPatternDict");
  const auto openEnv = library.Function<OpenEnv>("MupaOpenExecEnv");
  const auto closeEnv = library.Function<CloseEnv>("MupaCloseExecEnv");
  const auto reg = library.Function<Register>("MupaRegisterPatternDict");
  const auto cancel = library.Function<Register>("MupaCancelPatternDict");
  const auto setType = library.Function<SetType>("MupaSetCharType");
  const auto oneChar = library.Function<OneChar>("MupaExecuteOneChar");
  const auto field = library.Function<Field>("MupaExecuteFieldChar");
  const auto line = library.Function<Line>("MupaExecuteOneLine");
  ASSERT_TRUE(begin && end && load && unload && openEnv && closeEnv && reg && cancel && setType &&
              oneChar && field && line);

  const std::string path = "mupa32_client_digits.dic";
  ASSERT_EQ(WriteDictBytes(path, EncodeDictFile(MakeDigitPatternDict())), 0);
  const int16_t handle = begin();
  const int16_t dict = load(handle, path.c_str());
  std::remove(path.c_str());
  ASSERT_GE(dict, 0);
  const int16_t env = openEnv(handle, 3);
  ASSERT_EQ(reg(handle, env, dict), 0);
  ASSERT_EQ(setType(handle, dict, 1), 0);

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
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = 2;
  const MupaRect cells[3] = {{4, 0, 17, 31}, {20, 0, 33, 31}, {36, 0, 49, 31}};
  MupaCharResult results[10] = {};
  ASSERT_EQ(oneChar(handle, env, &image, &cells[0], &options, results), 0);
  EXPECT_EQ(results[0].failed, 0);
  EXPECT_NE(results[0].candidates[0].code, 0xFFFF);
  int16_t count = 0;
  ASSERT_EQ(field(handle, env, &image, cells, 3, &options, results, 10, &count), 0);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(results[3].candidates[0].code, 0x000A);
  const MupaRect whole = {0, 0, kWidth - 1, kHeight - 1};
  uint16_t status = 1;
  ASSERT_EQ(line(handle, env, &image, &whole, &options, results, 10, 0, &status), 4);
  EXPECT_EQ(status, 0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(results[i].box.left, lefts[i]);
    EXPECT_EQ(results[i].box.right, lefts[i] + 2);
  }
  EXPECT_EQ(results[3].candidates[0].code, 0x000A);

  EXPECT_EQ(cancel(handle, env, dict), 0);
  EXPECT_EQ(closeEnv(handle, env), 0);
  EXPECT_EQ(unload(handle, dict), 0);
  EXPECT_EQ(end(handle), 0);
}

}  // namespace
