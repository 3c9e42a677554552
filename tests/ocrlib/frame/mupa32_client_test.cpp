// A client of the built shared library (MUPA32.dll under Wine, libmupa32.so
// natively): every export binds by its plain name, and a handle can be taken,
// report an error and be given back through the library itself.
#include <gtest/gtest.h>

#include <cstdint>

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

}  // namespace
