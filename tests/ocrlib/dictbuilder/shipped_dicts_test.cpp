// The dictionaries the build trains and writes beside the library: each
// loads by its file name from the program folder (where the tests start),
// offers its character type, and reads the pen kit's digits, drawn by
// another hand than any the builder learnt from.
#include <gtest/gtest.h>

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

TEST_F(ShippedDictsTest, DigitsReadThePenKitsDigits) {
  const DictBlock* dict = Load("digits.dic");
  ASSERT_NE(dict, nullptr);
  std::vector<penkit::DigitSample> samples = penkit::DigitSamples(777, 20);
  int right = 0;
  for (penkit::DigitSample& s : samples) {
    const MupaImage d = s.image.Descriptor();
    const RunImage image{d.width, d.height, 1, d.bytesPerLine, 200, d.bits};
    const CharWorkRecord r = ClassifyWith(dict, image, s.image.InkRect(), kTypeDigits);
    right += r.count > 0 && r.candidates[0].code() == 0x824F + s.digit;
  }
  EXPECT_GE(right * 100, 90 * static_cast<int>(samples.size()))
      << right << " of " << samples.size();
}

}  // namespace
