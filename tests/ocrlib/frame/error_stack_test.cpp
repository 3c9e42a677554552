// The error stack and MupaGetError.
#include <gtest/gtest.h>

#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

std::vector<uint16_t> StackCodes() {
  return std::vector<uint16_t>(g_errorStack.codes, g_errorStack.codes + g_errorStack.count);
}

class ErrorStackTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMupaLibrary(); }
  void TearDown() override { ResetMupaLibrary(); }
};

TEST_F(ErrorStackTest, NewestFirstEachCodeOnce) {
  struct Case {
    const char* what;
    std::vector<uint16_t> pushes;
    std::vector<uint16_t> stack;
  };
  const Case cases[] = {
      {"repeat moves to the front", {5, 7, 5}, {5, 7}},
      {"newest first", {1, 2, 3}, {3, 2, 1}},
      {"middle code moves up", {1, 2, 3, 2}, {2, 3, 1}},
      {"repeat of the newest", {9, 9}, {9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClearErrorStack();
    for (uint16_t code : c.pushes) PushErrorCode(code);
    EXPECT_EQ(StackCodes(), c.stack);
  }
}

TEST_F(ErrorStackTest, FullStackChangesNothing) {
  ClearErrorStack();
  for (uint16_t code = 1; code <= kErrorSlots; ++code) PushErrorCode(code);
  const std::vector<uint16_t> full = StackCodes();
  ASSERT_EQ(full.size(), static_cast<size_t>(kErrorSlots));
  PushErrorCode(1000);  // new
  EXPECT_EQ(StackCodes(), full);
  PushErrorCode(5);  // present, not in front
  EXPECT_EQ(StackCodes(), full);
}

TEST_F(ErrorStackTest, CopyReturnsTheStackCount) {
  ClearErrorStack();
  PushErrorCode(3);
  PushErrorCode(4);
  uint16_t out[2] = {0, 0};
  EXPECT_EQ(CopyErrorStack(out, 1), 2);
  EXPECT_EQ(out[0], 4);
  EXPECT_EQ(out[1], 0);
}

TEST_F(ErrorStackTest, GetErrorBounds) {
  const int16_t handle = MupaBegin();
  ASSERT_EQ(handle, 0);
  EXPECT_EQ(MupaOpenExecEnv(handle, 2), -10);  // leaves 7001
  uint16_t codes[kErrorSlots + 1] = {};
  struct Case {
    const char* what;
    uint16_t* buffer;
    int16_t n;
    int16_t result;
  };
  const Case cases[] = {
      {"n = 0", codes, 0, 0},
      {"n above 32", codes, 33, -9},
      {"negative n", codes, -1, -9},
      {"null buffer", nullptr, 5, -9},
      {"n above the count", codes, 32, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MupaGetError(handle, c.buffer, c.n), c.result);
  }
  EXPECT_EQ(codes[0], kErrBadArgument);
  EXPECT_EQ(MupaGetError(4, codes, 1), -10);  // not in use
  EXPECT_EQ(MupaGetError(-1, codes, 1), -10);
}

TEST_F(ErrorStackTest, SuccessfulCallReportsNoCodes) {
  const int16_t handle = MupaBegin();
  EXPECT_EQ(MupaOpenExecEnv(handle, 2), -10);
  EXPECT_EQ(ErrorsOf(handle), std::vector<uint16_t>{kErrBadArgument});
  const int16_t env = MupaOpenExecEnv(handle, kExecEnvMode);
  EXPECT_EQ(env, 0);
  EXPECT_TRUE(ErrorsOf(handle).empty());  // the buffer still holds 7001
  EXPECT_EQ(g_sessions[handle].errors[0], kErrBadArgument);
}

TEST_F(ErrorStackTest, BeginKeepsTheStack) {
  ClearErrorStack();
  PushErrorCode(kErrBadMode);
  const int16_t handle = MupaBegin();
  ASSERT_GE(handle, 0);
  EXPECT_EQ(GetErrorCount(), 1);
}

}  // namespace
