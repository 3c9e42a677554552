// The dictionaries the build trains and writes beside the library: each
// loads by its file name from the program folder (where the tests start),
// offers its character type, and reads the pen kit's digits, drawn by
// another hand than any the builder learnt from. The digit dictionary
// carries the stroke models derived from the training writings: they load,
// read digits when the header hands single digits to them, and leave the
// pipeline at least as accurate as the pattern classifier alone.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "ocrlib/frame/frame_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/digit_kit.h"

namespace {

class ShippedDictsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    handle_ = MupaBegin();
    ASSERT_GE(handle_, 0);
  }
  void TearDown() override { ResetMupaLibrary(); }
  const DictBlock* Load(const char* name) {
    if (MupaLoadPatternDict(handle_, name) != 0) return nullptr;
    const int16_t id = MupaGetDictHandle(handle_, name);
    return id < 0 ? nullptr : GetDictData(id);
  }
  // Top-1 of the pattern classifier alone on the samples.
  static int Classify(const DictBlock* dict, std::vector<penkit::DigitSample>& samples) {
    int right = 0;
    for (penkit::DigitSample& s : samples) {
      const MupaImage d = s.image.Descriptor();
      const RunImage image{d.width, d.height, 1, d.bytesPerLine, 200, d.bits};
      const CharWorkRecord r = ClassifyWith(dict, image, s.image.InkRect(), kTypeDigits);
      right += r.count > 0 && r.candidates[0].code() == 0x824F + s.digit;
    }
    return right;
  }
  // Top-1 of MupaExecuteOneChar on the samples with the loaded dictionary;
  // no answer lists a code twice.
  int ReadOneByOne(const char* name, std::vector<penkit::DigitSample>& samples) {
    const int16_t dict = MupaGetDictHandle(handle_, name);
    const int16_t env = MupaOpenExecEnv(handle_, 3);
    EXPECT_GE(env, 0);
    EXPECT_EQ(MupaRegisterPatternDict(handle_, env, dict), 0);
    EXPECT_NE(MupaSetCharType(handle_, dict, kTypeDigits), -9);
    MupaRecogOptions options = {};
    options.marker[0] = options.marker[1] = 1;
    options.mode = 2;
    int right = 0;
    for (penkit::DigitSample& s : samples) {
      MupaImage image = s.image.Descriptor();
      const MupaRect rect = s.image.InkRect();
      MupaCharResult result = {};
      right += MupaExecuteOneChar(handle_, env, &image, &rect, &options, &result) == 0 &&
               result.candidates[0].code == 0x824F + s.digit;
      std::set<uint16_t> listed;
      for (const auto& candidate : result.candidates) {
        if (candidate.code == 0xFFFF || candidate.code == 0) continue;
        EXPECT_TRUE(listed.insert(candidate.code).second)
            << "a code listed twice for a " << s.digit << " (several models of a class)";
      }
    }
    MupaCloseExecEnv(handle_, env);
    return right;
  }
  int16_t handle_ = -1;
};

TEST_F(ShippedDictsTest, EachLoadsAndOffersItsType) {
  struct Case {
    const char* name;
    uint32_t types;
  };
  for (const Case& c : {Case{"digits.dic", kTypeDigits}, Case{"capitals.dic", kTypeCapitals},
                        Case{"katakana.dic", kTypeKatakana}}) {
    SCOPED_TRACE(c.name);
    const DictBlock* dict = Load(c.name);
    ASSERT_NE(dict, nullptr) << "the build writes it beside the library";
    EXPECT_EQ(dict->header.offeredTypes, c.types);
    ASSERT_NE(dict->patterns, nullptr);
  }
}

TEST_F(ShippedDictsTest, OnlyTheDigitsCarryStrokeModelsOfEveryDigitInBothFamilies) {
  const DictBlock* digits = Load("digits.dic");
  ASSERT_NE(digits, nullptr);
  EXPECT_EQ(digits->header.patternOnly, 1) << "single digits stay with the pattern classifier";
  const StrokeModelSet* set = FindStrokeModelSet(digits, kTypeDigits);
  ASSERT_NE(set, nullptr);
  for (const auto& [models, count] : {std::pair{set->family1, set->family1Count},
                                      std::pair{set->family2, set->family2Count}}) {
    std::set<char> classes;
    for (int m = 0; m < count; ++m) classes.insert(models[m].name[0]);
    EXPECT_EQ(classes, (std::set<char>{'0', '1', '2', '3', '4', '5', '6', '7', '8', '9'}));
    EXPECT_LE(count, kMaxSelectedModels);
  }
  for (const char* other : {"capitals.dic", "katakana.dic"}) {
    const DictBlock* dict = Load(other);
    ASSERT_NE(dict, nullptr);
    EXPECT_EQ(dict->strokeModels, nullptr) << other;
  }
}

// The pen kit's digits one by one through the export: as the dictionary
// ships, and with its header handing single digits to the stroke models.
TEST_F(ShippedDictsTest, StrokeModelsReadDigitsAndLeaveThePipelineAsAccurate) {
  std::vector<penkit::DigitSample> samples = penkit::DigitSamples(778, 20);
  const DictBlock* dict = Load("digits.dic");
  ASSERT_NE(dict, nullptr);
  EXPECT_GE(ReadOneByOne("digits.dic", samples), Classify(dict, samples));

  std::ifstream in("digits.dic", std::ios::binary);
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(bytes.size(), 10u);
  bytes[9] = 0;  // the header's pattern-only byte
  TempFolder folder;
  const std::string structural = folder.Write("structural.dic", bytes);
  ASSERT_NE(Load(structural.c_str()), nullptr);
  const int right = ReadOneByOne(structural.c_str(), samples);
  EXPECT_GE(right * 100, 85 * static_cast<int>(samples.size()))
      << right << " of " << samples.size() << " read by the stroke models";
}

TEST_F(ShippedDictsTest, DigitsReadThePenKitsDigits) {
  const DictBlock* dict = Load("digits.dic");
  ASSERT_NE(dict, nullptr);
  std::vector<penkit::DigitSample> samples = penkit::DigitSamples(777, 20);
  const int right = Classify(dict, samples);
  EXPECT_GE(right * 100, 90 * static_cast<int>(samples.size()))
      << right << " of " << samples.size();
}

}  // namespace
