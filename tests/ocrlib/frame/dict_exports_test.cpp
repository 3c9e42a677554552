// Loading, look-up and description of dictionaries, and character types.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

class DictExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    handle_ = MupaBegin();
    ASSERT_EQ(handle_, 0);
  }
  void TearDown() override { ResetMupaLibrary(); }

  int16_t handle_ = -1;
  TempFolder folder_;
};

TEST_F(DictExportsTest, LoadsByTheCallersPathAndComparesUpperCased) {
  const std::string path = folder_.Write("Digits.Dic", MakeHeaderOnlyDict());
  ASSERT_EQ(MupaLoadPatternDict(handle_, path.c_str()), 0);
  EXPECT_EQ(MupaGetDictHandle(handle_, path.c_str()), 0);
  // The same name in other letters is the same dictionary, even where the
  // file system would not find that spelling.
  const std::string lower = folder_.Path("digits.dic");
  EXPECT_EQ(MupaLoadPatternDict(handle_, lower.c_str()), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictLoaded});
  // The handle needs the file under the spelling given: found where the file
  // system ignores case, refused where it does not.
  FILE* spelled = std::fopen(lower.c_str(), "rb");
  const bool caseBlind = spelled != nullptr;
  if (spelled != nullptr) std::fclose(spelled);
  EXPECT_EQ(MupaGetDictHandle(handle_, lower.c_str()), caseBlind ? 0 : -10);
  EXPECT_EQ(ErrorsOf(handle_), caseBlind ? std::vector<uint16_t>{}
                                         : std::vector<uint16_t>{kErrDictOpen});
}

TEST_F(DictExportsTest, DoubleByteCharactersKeepTheirTrailBytes) {
  // A lead byte and the trail byte 0x61 ("a") make one double-byte character,
  // from the first lead byte of code page 932 to its extension characters.
  for (const char* lead : {"\x81", "\x83", "\x9F", "\xE0", "\xEA", "\xED", "\xEE", "\xFA",
                           "\xFB"}) {
    SCOPED_TRACE(testing::Message() << "lead byte " << std::hex
                                    << (static_cast<unsigned char>(*lead) + 0));
    const std::string character = std::string(lead) + "\x61";
    const std::string path = folder_.Write(character + "a.dic", MakeHeaderOnlyDict());
    ASSERT_EQ(MupaLoadPatternDict(handle_, path.c_str()), 0);
    EXPECT_EQ(MupaLoadPatternDict(handle_, folder_.Path(character + "A.DIC").c_str()), -9);
    EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictLoaded});
    // With the trail byte upper-cased the name differs: not loaded, no file.
    const std::string other = folder_.Path(std::string(lead) + "\x41" "A.DIC");
    EXPECT_EQ(MupaLoadPatternDict(handle_, other.c_str()), -9);
    EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictOpen});
    EXPECT_EQ(MupaUnloadPatternDict(handle_, MupaGetDictHandle(handle_, path.c_str())), 0);
  }
}

TEST_F(DictExportsTest, LoadRefusals) {
  const std::string good = folder_.Write("good.dic", MakeHeaderOnlyDict());
  std::vector<uint8_t> trailing = EncodeDictFile(MakeHeaderOnlyDict());
  trailing.push_back(0);
  const std::string longPath(kDictNameBytes, 'x');
  struct Case {
    const char* what;
    const char* path;
    std::vector<uint16_t> codes;
  };
  const std::string trailingPath = folder_.Write("trailing.dic", trailing);
  const std::string missing = folder_.Path("missing.dic");
  const Case cases[] = {
      {"null path", nullptr, {kErrBadArgument}},
      {"path of 512 bytes", longPath.c_str(), {kErrBadArgument}},
      {"empty path matches a free slot", "", {kErrDictLoaded}},
      {"no such file", missing.c_str(), {kErrDictOpen}},
      {"data after the end", trailingPath.c_str(), {kErrDictTrailing}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MupaLoadPatternDict(handle_, c.path), -9);
    EXPECT_EQ(ErrorsOf(handle_), c.codes);
  }
  // No failure took a slot.
  ASSERT_EQ(MupaLoadPatternDict(handle_, good.c_str()), 0);
  EXPECT_EQ(MupaGetDictHandle(handle_, good.c_str()), 0);
}

TEST_F(DictExportsTest, TenSlotsThenRefused) {
  for (int i = 0; i < kMaxDicts; ++i) {
    const std::string path = folder_.Write("d" + std::to_string(i) + ".dic", MakeHeaderOnlyDict());
    ASSERT_EQ(MupaLoadPatternDict(handle_, path.c_str()), 0);
  }
  const std::string eleventh = folder_.Write("d10.dic", MakeHeaderOnlyDict());
  EXPECT_EQ(MupaLoadPatternDict(handle_, eleventh.c_str()), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrNoFreeDict});
  // With every slot taken no slot holds the empty name.
  EXPECT_EQ(MupaLoadPatternDict(handle_, ""), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictOpen});
}

TEST_F(DictExportsTest, HandleOfADeletedFileIsRefused) {
  const std::string path = folder_.Write("gone.dic", MakeHeaderOnlyDict());
  ASSERT_EQ(MupaLoadPatternDict(handle_, path.c_str()), 0);
  ASSERT_EQ(std::remove(path.c_str()), 0);
  EXPECT_EQ(MupaGetDictHandle(handle_, path.c_str()), -10);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictOpen});
  EXPECT_EQ(MupaGetDictHandle(handle_, nullptr), -10);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrBadArgument});
}

TEST_F(DictExportsTest, InfoReadsHeadersThatCannotBeLoaded) {
  DictFileSpec spec = MakeHeaderOnlyDict();
  spec.header.version = 2;
  spec.header.formatMinor = 7;
  std::strcpy(spec.header.description, "\x83\x65\x83\x58\x83\x67");  // "テスト"
  const std::string path = folder_.Write("v2.dic", spec);
  MupaDictInfo info;
  std::memset(&info, 0xEE, sizeof info);
  ASSERT_EQ(MupaGetDictInfo(handle_, path.c_str(), &info), 0);
  EXPECT_EQ(info.version, 2);
  EXPECT_EQ(info.format, 0x0307);
  EXPECT_EQ(info.kind, 1);
  EXPECT_EQ(info.headerByte7, 1);
  EXPECT_EQ(info.headerByte8, 1);
  EXPECT_STREQ(info.description, "\x83\x65\x83\x58\x83\x67");
  EXPECT_EQ(info.unwritten1, 0xEE);
  EXPECT_EQ(info.unwritten7, 0xEE);
  EXPECT_EQ(MupaLoadPatternDict(handle_, path.c_str()), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictVersion});
  EXPECT_EQ(MupaGetDictInfo(handle_, path.c_str(), nullptr), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrBadArgument});
  spec.header.magic[2] = 'X';
  const std::string bad = folder_.Write("bad.dic", spec);
  EXPECT_EQ(MupaGetDictInfo(handle_, bad.c_str(), &info), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictHeader});
}

TEST_F(DictExportsTest, CharacterTypes) {
  const std::string path = folder_.Write("types.dic", MakeHeaderOnlyDict());  // offers 1
  ASSERT_EQ(MupaLoadPatternDict(handle_, path.c_str()), 0);
  uint32_t offered = 0, current = 0;
  ASSERT_EQ(MupaGetCharType(handle_, 0, &offered, &current), 0);
  EXPECT_EQ(offered, kTypeDigits);
  EXPECT_EQ(current, kTypeAll);  // whatever the file holds
  EXPECT_EQ(MupaSetCharType(handle_, 0, 0), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrMissingValue});
  // Types not offered are stored, with a warning MupaGetError reports.
  EXPECT_EQ(MupaSetCharType(handle_, 0, 3), 0);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrTypesNotOffered});
  ASSERT_EQ(MupaGetCharType(handle_, 0, &offered, &current), 0);
  EXPECT_EQ(current, 3u);
  EXPECT_TRUE(ErrorsOf(handle_).empty());
  EXPECT_EQ(MupaSetCharType(handle_, 0, kTypeDigits), 0);
  EXPECT_TRUE(ErrorsOf(handle_).empty());
  EXPECT_EQ(MupaGetCharType(handle_, 0, nullptr, &current), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrBadArgument});
  EXPECT_EQ(MupaSetCharType(handle_, 1, 1), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrDictNotOwned});
}

TEST_F(DictExportsTest, KindWithoutCharacterTypes) {
  const std::string path = folder_.Write("types.dic", MakeHeaderOnlyDict());
  ASSERT_EQ(MupaLoadPatternDict(handle_, path.c_str()), 0);
  DictBlock* block = GetDictData(0);
  block->header.kind = 2;  // valid header, but no character types
  uint32_t offered = 0, current = 0;
  EXPECT_EQ(GetCharTypeMasks(block, &offered, &current), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrNoCharTypes);
  EXPECT_EQ(SetCharTypeMask(block, 1), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrNoCharTypes);
  block->header.kind = 1;
}

}  // namespace
