// The frame of the recognition exports, driven through fake drivers: the
// argument and input checks, the polarity flip, the copy of the results and
// the reporting of warnings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

constexpr int kWidth = 64, kHeight = 40;

// What the fake drivers saw and what they answer.
struct DriverScript {
  int result = 0;
  uint16_t warning = 0;      // pushed when not 0
  int count = 0;             // records or boxes written
  int calls = 0;
  uint8_t firstByteSeen = 0;  // the bitmap's byte (0, 0) during the call
  RecogRunBlock run = {};     // its dictionary list is freed after the call
  DictBlock* dictSeen = nullptr;
};
DriverScript g_script;

void SeeRun(RecogRunBlock* run) {
  ++g_script.calls;
  g_script.run = *run;
  g_script.dictSeen = run->dictCount == 1 ? run->dicts[0] : nullptr;
  g_script.firstByteSeen = run->image.bits[0];
  if (g_script.warning != 0) PushErrorCode(g_script.warning);
}

RecogCharResult Answer(uint16_t code, int16_t left) {
  RecogCharResult r = {};
  for (auto& c : r.candidates) c = {kNoCandidate, 0};
  r.candidates[0] = {code, 90};
  r.confidence = 77;
  r.box = {left, 1, static_cast<int16_t>(left + 5), 9};
  return r;
}

int FakeOneChar(RecogRunBlock* run, RecogCharResult* result) {
  SeeRun(run);
  *result = Answer(0x8250, 3);
  return g_script.result;
}

int FakeRecords(RecogRunBlock* run, RecogCharResult* results, int capacity, int* count) {
  SeeRun(run);
  for (int i = 0; i < std::min(g_script.count, capacity); ++i) {
    results[i] = Answer(static_cast<uint16_t>(0x824F + i), static_cast<int16_t>(8 * i));
  }
  *count = g_script.count;
  return g_script.result;
}

int FakeSegment(RecogRunBlock* run, MupaRect* boxes, int capacity, int* count) {
  SeeRun(run);
  for (int i = 0; i < std::min(g_script.count, capacity); ++i) {
    boxes[i] = {static_cast<int16_t>(8 * i), 0, 7, 9};
  }
  *count = g_script.count;
  return g_script.result;
}

class CallFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    g_script = DriverScript{};
    saved_ = g_recognitionDrivers;
    g_recognitionDrivers = {FakeOneChar, FakeRecords, FakeRecords, FakeSegment};
    handle_ = MupaBegin();
    const std::string path = folder_.Write("d.dic", MakeHeaderOnlyDict());
    ASSERT_EQ(MupaLoadPatternDict(handle_, path.c_str()), 0);
    env_ = MupaOpenExecEnv(handle_, kExecEnvMode);
    ASSERT_EQ(MupaRegisterPatternDict(handle_, env_, 0), 0);
    for (size_t i = 0; i < bits_.size(); ++i) bits_[i] = static_cast<uint8_t>(i * 37);
    image_ = {kWidth, kHeight, 1, kWidth / 8, 300, 1, bits_.data()};
    options_ = {};
    options_.marker[0] = options_.marker[1] = 1;
    options_.mode = 2;
  }
  void TearDown() override {
    g_recognitionDrivers = saved_;
    ResetMupaLibrary();
  }

  RecognitionDrivers saved_ = {};

  int16_t OneChar(const MupaRect& rect, MupaCharResult* result) {
    return MupaExecuteOneChar(handle_, env_, &image_, &rect, &options_, result);
  }

  int16_t handle_ = -1, env_ = -1;
  std::vector<uint8_t> bits_ = std::vector<uint8_t>(kWidth / 8 * kHeight);
  MupaImage image_ = {};
  MupaRecogOptions options_ = {};
  TempFolder folder_;
};

TEST_F(CallFrameTest, OneCharacterCopiesOnlyWhatItOwns) {
  MupaCharResult result;
  std::memset(&result, 0xCD, sizeof result);
  ASSERT_EQ(OneChar({2, 3, 20, 30}, &result), 0);
  EXPECT_EQ(result.candidates[0].code, 0x8250);
  EXPECT_EQ(result.candidates[0].score, 90);
  EXPECT_EQ(result.candidates[1].code, kNoCandidate);
  EXPECT_EQ(result.confidence, 77);
  EXPECT_EQ(result.failed, 0);
  EXPECT_EQ(result.box.left, 3);
  EXPECT_EQ(result.box.right, 8);
  for (const MupaCandidate& c : result.candidates) EXPECT_EQ(c.unwritten, 0xCD);
  for (uint8_t b : result.unwritten) EXPECT_EQ(b, 0xCD);
  // The run block: a copy of the image and rectangle, options normalised,
  // the environment's dictionary.
  EXPECT_EQ(g_script.run.rect.right, 20);
  EXPECT_EQ(g_script.run.image.bytesPerLine, kWidth / 8);
  EXPECT_EQ(g_script.run.options.mode, 2);
  EXPECT_EQ(g_script.run.dictCount, 1);
  EXPECT_EQ(g_script.dictSeen, GetDictData(0));
  EXPECT_EQ(g_currentWorkArea, g_sessions[handle_].workArea);
}

TEST_F(CallFrameTest, PolarityFlipIsUndoneAlsoOnFailure) {
  const std::vector<uint8_t> before = bits_;
  image_.polarity = 0;
  MupaCharResult result;
  for (int driverResult : {0, -9}) {
    SCOPED_TRACE(driverResult);
    g_script.result = driverResult;
    EXPECT_EQ(OneChar({0, 0, 9, 9}, &result), driverResult == 0 ? 0 : -9);
    EXPECT_EQ(g_script.firstByteSeen, static_cast<uint8_t>(~before[0]));  // inverted for the run
    EXPECT_EQ(bits_, before);
  }
  // Bytes outside the rectangle's bytes are never touched.
  g_script.result = 0;
  ASSERT_EQ(OneChar({9, 0, 9, 0}, &result), 0);
  EXPECT_EQ(g_script.firstByteSeen, before[0]);
}

TEST_F(CallFrameTest, OneCharacterChecks) {
  struct Case {
    const char* what;
    MupaImage image;
    MupaRect rect;
    uint8_t marker0, mode;
    uint16_t code;
  };
  const MupaImage ok = image_;
  MupaImage narrowRows = ok;
  narrowRows.bytesPerLine = kWidth / 8 - 1;
  MupaImage polarity2 = ok;
  polarity2.polarity = 2;
  MupaImage twoBits = ok;
  twoBits.bitsPerPixel = 2;
  MupaImage noDpi = ok;
  noDpi.dpi = 0;
  MupaImage noBits = ok;
  noBits.bits = nullptr;
  const Case cases[] = {
      {"polarity 2", polarity2, {0, 0, 5, 5}, 1, 1, kErrBadImage},
      {"no bitmap", noBits, {0, 0, 5, 5}, 1, 1, kErrBadArgument},
      {"rows narrower than the width", narrowRows, {0, 0, 5, 5}, 1, 1, kErrBadImage},
      {"two bits a pixel", twoBits, {0, 0, 5, 5}, 1, 1, kErrBadImage},
      {"no resolution", noDpi, {0, 0, 5, 5}, 1, 1, kErrBadImage},
      {"right edge at the width", ok, {0, 0, kWidth, 5}, 1, 1, kErrBadRect},
      {"left after right", ok, {6, 0, 5, 5}, 1, 1, kErrBadRect},
      {"negative top", ok, {0, -1, 5, 5}, 1, 1, kErrBadRect},
      {"option byte 0", ok, {0, 0, 5, 5}, 0, 1, kErrOptionByte0},
      {"mode 4", ok, {0, 0, 5, 5}, 1, 4, kErrBadMode},
      {"mode 0", ok, {0, 0, 5, 5}, 1, 0, kErrBadMode},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    image_ = c.image;
    options_.marker[0] = c.marker0;
    options_.mode = c.mode;
    MupaCharResult result;
    EXPECT_EQ(OneChar(c.rect, &result), -9);
    EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{c.code});
  }
  EXPECT_EQ(g_script.calls, 0);
}

TEST_F(CallFrameTest, NeighbourMapLimit) {
  std::vector<uint8_t> wide(4000 / 8 * 200);
  image_ = {4000, 200, 1, 4000 / 8, 300, 1, wide.data()};
  MupaCharResult result;
  EXPECT_EQ(OneChar({0, 0, 3999, 199}, &result), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrNeighbourMap});
  EXPECT_EQ(OneChar({0, 0, 1999, 199}, &result), 0);  // (8 x 249 + 12) x 204
}

TEST_F(CallFrameTest, ArgumentsAndDictionary) {
  MupaCharResult result;
  const MupaRect rect = {0, 0, 5, 5};
  EXPECT_EQ(MupaExecuteOneChar(handle_, env_, &image_, &rect, &options_, nullptr), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrBadArgument});
  EXPECT_EQ(MupaExecuteOneChar(handle_, 9, &image_, &rect, &options_, &result), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrBadArgument});
  EXPECT_EQ(MupaExecuteOneChar(3, env_, &image_, &rect, &options_, &result), -10);
  ASSERT_EQ(MupaCancelPatternDict(handle_, env_, 0), 0);
  EXPECT_EQ(OneChar(rect, &result), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrNoDictInEnv});
  ASSERT_EQ(MupaRegisterPatternDict(handle_, env_, 0), 0);
  EXPECT_EQ(OneChar({0, 0, kWidth, 5}, &result), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrBadRect});
}

TEST_F(CallFrameTest, WarningsOfASuccessfulCallAreReported) {
  g_script.result = -1;
  g_script.warning = kErrResultsFull;
  MupaCharResult result;
  EXPECT_EQ(OneChar({0, 0, 5, 5}, &result), 0);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrResultsFull});
}

TEST_F(CallFrameTest, LineChecksAndStatus) {
  struct Case {
    const char* what;
    int16_t bytesPerLine, dpi, capacity;
    uint16_t code;
  };
  const Case cases[] = {
      {"capacity 1", kWidth / 8, 300, 1, kErrCountRange},
      {"capacity 101", kWidth / 8, 300, 101, kErrCountRange},
      {"padded rows", kWidth / 8 + 1, 300, 10, kErrBadImage},
      {"150 dpi", kWidth / 8, 150, 10, kErrBadImage},
      {"601 dpi", kWidth / 8, 601, 10, kErrBadImage},
  };
  std::vector<MupaCharResult> results(101);
  const MupaRect rect = {0, 0, kWidth - 1, kHeight - 1};
  std::vector<uint8_t> padded(bits_.size() + kHeight);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    image_.bytesPerLine = c.bytesPerLine;
    image_.bits = c.bytesPerLine == kWidth / 8 ? bits_.data() : padded.data();
    image_.dpi = c.dpi;
    uint16_t status = 1;
    EXPECT_EQ(MupaExecuteOneLine(handle_, env_, &image_, &rect, &options_, results.data(),
                                 c.capacity, 0, &status), -1);
    EXPECT_EQ(status, 0xFFF7);
    EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{c.code});
  }
  image_.bytesPerLine = kWidth / 8;
  image_.bits = bits_.data();
  image_.dpi = 200;
  g_script.count = 3;
  uint16_t status = 1;
  EXPECT_EQ(MupaExecuteOneLine(handle_, env_, &image_, &rect, &options_, results.data(), 2, 0,
                               &status), 2);  // never more than the capacity
  EXPECT_EQ(status, 0);
  EXPECT_EQ(results[1].candidates[0].code, 0x8250);
  EXPECT_EQ(MupaExecuteOneLine(4, env_, &image_, &rect, &options_, results.data(), 2, 0,
                               &status), -10);
  EXPECT_EQ(status, 0xFFF6);
}

TEST_F(CallFrameTest, SegmentationZeroFillsTheBoxesNotFound) {
  std::vector<MupaRect> boxes(5);
  std::memset(boxes.data(), 0xAB, boxes.size() * sizeof(MupaRect));
  g_script.count = 2;
  int16_t count = -1;
  const MupaRect rect = {0, 0, kWidth - 1, kHeight - 1};
  ASSERT_EQ(MupaSegChar(handle_, env_, &image_, &rect, &options_, boxes.data(), 5, &count), 0);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(boxes[1].left, 8);
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(boxes[i].left | boxes[i].top | boxes[i].right | boxes[i].bottom, 0) << i;
  }
  EXPECT_EQ(MupaSegChar(handle_, env_, &image_, &rect, &options_, boxes.data(), 0, &count), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrCountRange});
}

TEST_F(CallFrameTest, FieldFlipsTheUnionOfItsCells) {
  const std::vector<uint8_t> before = bits_;
  image_.polarity = 0;
  const MupaRect cells[2] = {{8, 2, 15, 9}, {24, 4, 31, 20}};
  std::vector<MupaCharResult> results(4);
  int16_t count = 0;
  g_script.count = 3;
  ASSERT_EQ(MupaExecuteFieldChar(handle_, env_, &image_, cells, 2, &options_, results.data(), 4,
                                 &count), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(g_script.firstByteSeen, before[0]);  // (0, 0) lies outside the union
  EXPECT_EQ(g_script.run.cellCount, 2);
  EXPECT_EQ(bits_, before);
  EXPECT_EQ(MupaExecuteFieldChar(handle_, env_, &image_, cells, 0, &options_, results.data(), 4,
                                 &count), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrMissingValue});
  EXPECT_EQ(MupaExecuteFieldChar(handle_, env_, &image_, cells, 2, &options_, results.data(), 0,
                                 &count), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrCountRange});
}

TEST_F(CallFrameTest, UnionOfFieldCells) {
  const MupaRect whole = {0, 0, kWidth - 1, kHeight - 1};
  struct Case {
    const char* what;
    std::vector<MupaRect> cells;
    MupaRect expected;
  };
  const Case cases[] = {
      {"two cells", {{8, 2, 15, 9}, {24, 4, 31, 20}}, {8, 2, 31, 20}},
      {"all-zero cells widen to the origin", {{0, 0, 0, 0}, {10, 10, 12, 12}}, {0, 0, 12, 12}},
      {"a cell outside the image", {{8, 2, 15, 9}, {60, 30, 70, 35}}, whole},
      {"no cells", {}, whole},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const MupaRect u = UnionFieldRects(image_, c.cells.data(), static_cast<int>(c.cells.size()));
    EXPECT_EQ(std::vector<int>({u.left, u.top, u.right, u.bottom}),
              std::vector<int>({c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}));
  }
}

}  // namespace
