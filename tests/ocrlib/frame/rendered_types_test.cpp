// Every character type through the three recognition exports: dictionaries
// trained at test time on rendered handwriting-style characters read
// held-out ones (other seeds) one by one, as a field of 6 cells and as a
// spaced line of 10.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ocrlib/frame/rendered_session.h"
#include "tests/ocrlib/kit/packed_line.h"

namespace {

constexpr int kPerClass = 24;

struct TypeCase {
  glyphs::CharSet set;
  uint32_t mask;
};

class RenderedTypesTest : public ::testing::TestWithParam<TypeCase> {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    OpenRenderedSession(GetParam().set, GetParam().mask, kPerClass, folder_, &session_);
    if (HasFatalFailure()) return;
    handle_ = session_.handle;
    env_ = session_.env;
    options_.marker[0] = options_.marker[1] = 1;
    options_.mode = 2;
    samples_ = session_.renderer->MakeSamples(glyphs::CharacterSet(GetParam().set), 3,
                                              TestSeed(GetParam().set));
    samples_.resize(std::min<size_t>(samples_.size(), 30));
    chars_ = PackSamples(samples_);
  }
  void TearDown() override { ResetMupaLibrary(); }

  TempFolder folder_;
  RenderedSession session_;
  int16_t handle_ = -1, env_ = -1;
  MupaRecogOptions options_ = {};
  std::vector<glyphs::Sample> samples_;
  std::vector<PackedChar> chars_;
};

// The three exports read every held-out character alike: a field cell and a
// line box give the answer the character alone gets (a line's box geometry
// and context may mend a wrong one: its right answer counts as alike).
TEST_P(RenderedTypesTest, OneCharacterFieldAndLineRead) {
  const int n = static_cast<int>(chars_.size());
  ASSERT_EQ(n, 30);
  std::vector<uint16_t> alone;
  int right = 0;
  for (PackedChar& c : chars_) {
    MupaImage image = {c.width, c.height, 1, static_cast<int16_t>((c.width + 7) / 8), 200, 1,
                       c.bits.data()};
    MupaCharResult result = {};
    ASSERT_EQ(MupaExecuteOneChar(handle_, env_, &image, &c.rect, &options_, &result), 0);
    EXPECT_EQ(result.box, c.rect);
    alone.push_back(result.candidates[0].code);
    right += alone.back() == c.sjis;
  }
  EXPECT_GE(right, n * 8 / 10);

  int fieldAlike = 0, lineAlike = 0;
  MupaCharResult records[100];
  for (int from = 0; from < n; from += 6) {
    std::vector<PackedChar> six(chars_.begin() + from, chars_.begin() + from + 6);
    PackedLine field = ComposePackedLine(six, 4);
    int16_t count = 0;
    ASSERT_EQ(MupaExecuteFieldChar(handle_, env_, &field.image, field.rects.data(), 6, &options_,
                                   records, 100, &count), 0);
    ASSERT_EQ(count, 7);
    EXPECT_EQ(records[6].candidates[0].code, kEndRecordCode);
    for (int k = 0; k < 6; ++k) fieldAlike += records[k].candidates[0].code == alone[from + k];
  }
  for (int from = 0; from < n; from += 10) {
    std::vector<PackedChar> ten(chars_.begin() + from, chars_.begin() + from + 10);
    PackedLine line = ComposePackedLine(ten, 8);
    const MupaRect whole = {0, 0, static_cast<int16_t>(line.image.width - 1),
                            static_cast<int16_t>(line.image.height - 1)};
    uint16_t status = 1;
    const int found = MupaExecuteOneLine(handle_, env_, &line.image, &whole, &options_, records,
                                         100, 0, &status);
    ASSERT_GE(found, 2);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(records[found - 1].candidates[0].code, kEndRecordCode);
    for (int k = 0; k + 1 < found; ++k) {
      const int centre = (records[k].box.left + records[k].box.right) / 2;
      for (int j = 0; j < 10; ++j) {
        if (centre >= line.rects[j].left && centre <= line.rects[j].right) {
          const uint16_t code = records[k].candidates[0].code;
          lineAlike += code == alone[from + j] || code == chars_[from + j].sjis;
        }
      }
    }
  }
  EXPECT_EQ(fieldAlike, n);
  EXPECT_GE(lineAlike, n * 9 / 10);
}

INSTANTIATE_TEST_SUITE_P(Types, RenderedTypesTest,
                         ::testing::Values(TypeCase{glyphs::CharSet::kDigits, 1},
                                           TypeCase{glyphs::CharSet::kCapitals, 2},
                                           TypeCase{glyphs::CharSet::kKatakana, 8}));

}  // namespace
