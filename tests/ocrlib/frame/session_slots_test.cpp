// Library handles, execution environments and dictionary registration.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/mupa32.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

class SessionSlotsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMupaLibrary(); }
  void TearDown() override { ResetMupaLibrary(); }

  // Loads `count` copies of the header-only dictionary; their ids are
  // 0..count-1.
  void LoadDicts(int16_t handle, int count) {
    for (int i = 0; i < count; ++i) {
      const std::string path = folder_.Write("d" + std::to_string(i) + ".dic", MakeHeaderOnlyDict());
      ASSERT_EQ(MupaLoadPatternDict(handle, path.c_str()), 0) << path;
      ASSERT_EQ(MupaGetDictHandle(handle, path.c_str()), i);
    }
  }

  TempFolder folder_;
};

TEST_F(SessionSlotsTest, FiveHandlesThenRefused) {
  for (int16_t expected = 0; expected < kMaxSessions; ++expected) {
    EXPECT_EQ(MupaBegin(), expected);
  }
  EXPECT_EQ(MupaBegin(), -10);
  EXPECT_EQ(MupaEnd(2), 0);
  EXPECT_EQ(MupaBegin(), 2);  // the lowest free handle
  EXPECT_EQ(MupaEnd(7), -10);
}

TEST_F(SessionSlotsTest, LastEndUninitialises) {
  EXPECT_EQ(MupaBegin(), 0);
  EXPECT_EQ(MupaBegin(), 1);
  EXPECT_EQ(MupaEnd(0), 0);
  EXPECT_EQ(g_libraryState, kSlotInUse);
  EXPECT_EQ(MupaEnd(1), 0);
  EXPECT_EQ(g_libraryState, kSlotFree);
  EXPECT_EQ(MupaEnd(1), -10);
  EXPECT_EQ(MupaBegin(), 0);
}

TEST_F(SessionSlotsTest, EndRefusedWhileTheHandleOwnsSomething) {
  const int16_t handle = MupaBegin();
  LoadDicts(handle, 1);
  const int16_t env = MupaOpenExecEnv(handle, kExecEnvMode);
  ASSERT_EQ(env, 0);
  EXPECT_EQ(MupaEnd(handle), -9);
  EXPECT_EQ(ErrorsOf(handle), std::vector<uint16_t>{kErrEnvOpenAtEnd});  // environments first
  EXPECT_EQ(MupaCloseExecEnv(handle, env), 0);
  EXPECT_EQ(MupaEnd(handle), -9);
  EXPECT_EQ(ErrorsOf(handle), std::vector<uint16_t>{kErrDictLoadedAtEnd});
  EXPECT_EQ(MupaUnloadPatternDict(handle, 0), 0);
  EXPECT_EQ(MupaEnd(handle), 0);
}

TEST_F(SessionSlotsTest, OpenEnvironmentChecks) {
  const int16_t handle = MupaBegin();
  EXPECT_EQ(MupaOpenExecEnv(handle, 2), -10);
  EXPECT_EQ(ErrorsOf(handle), std::vector<uint16_t>{kErrBadArgument});
  for (int16_t expected = 0; expected < kMaxExecEnvs; ++expected) {
    EXPECT_EQ(MupaOpenExecEnv(handle, kExecEnvMode), expected);
  }
  EXPECT_EQ(MupaOpenExecEnv(handle, kExecEnvMode), -10);
  EXPECT_EQ(ErrorsOf(handle), std::vector<uint16_t>{kErrNoFreeEnv});
  EXPECT_EQ(MupaOpenExecEnv(3, kExecEnvMode), -10);  // handle not in use
}

TEST_F(SessionSlotsTest, CloseReleasesRegistrations) {
  const int16_t handle = MupaBegin();
  LoadDicts(handle, 8);
  const int16_t env = MupaOpenExecEnv(handle, kExecEnvMode);
  EXPECT_EQ(MupaRegisterPatternDict(handle, env, 3), 0);
  EXPECT_EQ(MupaRegisterPatternDict(handle, env, 7), 0);
  EXPECT_EQ(g_execEnvs[env].count, 2);
  EXPECT_EQ(MupaUnloadPatternDict(handle, 3), -9);
  EXPECT_EQ(ErrorsOf(handle), std::vector<uint16_t>{kErrDictInUse});
  EXPECT_EQ(MupaCloseExecEnv(handle, env), 0);
  EXPECT_EQ(MupaUnloadPatternDict(handle, 3), 0);
  EXPECT_EQ(MupaUnloadPatternDict(handle, 7), 0);
  const int16_t again = MupaOpenExecEnv(handle, kExecEnvMode);
  EXPECT_EQ(again, env);
  EXPECT_EQ(FindEnvDictionary(handle, again), kNoSlot);
  EXPECT_EQ(IsDictInUse(3), 0);
}

TEST_F(SessionSlotsTest, RegisterAndCancelErrors) {
  const int16_t handle = MupaBegin();
  LoadDicts(handle, 2);
  const int16_t env = MupaOpenExecEnv(handle, kExecEnvMode);
  struct Case {
    const char* what;
    int16_t (*call)(int16_t, int16_t, int16_t);
    int16_t environment, dictionary, result;
    std::vector<uint16_t> codes;
  };
  const Case cases[] = {
      {"register", MupaRegisterPatternDict, env, 0, 0, {}},
      {"register twice", MupaRegisterPatternDict, env, 0, -9, {kErrDictRegistered}},
      {"environment not open", MupaRegisterPatternDict, 5, 1, -9, {kErrBadArgument}},
      {"environment out of range", MupaRegisterPatternDict, 10, 1, -9, {kErrBadArgument}},
      {"dictionary out of range", MupaRegisterPatternDict, env, 10, -9, {kErrBadArgument}},
      {"dictionary not loaded", MupaRegisterPatternDict, env, 4, -9, {kErrDictNotOwned}},
      {"cancel unregistered", MupaCancelPatternDict, env, 1, -9, {kErrNoDictInEnv}},
      {"cancel", MupaCancelPatternDict, env, 0, 0, {}},
      {"cancel again", MupaCancelPatternDict, env, 0, -9, {kErrNoDictInEnv}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(handle, c.environment, c.dictionary), c.result);
    EXPECT_EQ(ErrorsOf(handle), c.codes);
  }
  EXPECT_EQ(g_execEnvs[env].count, 0);
}

TEST_F(SessionSlotsTest, ObjectsOfAnotherHandleAreRefused) {
  const int16_t owner = MupaBegin();
  const int16_t other = MupaBegin();
  LoadDicts(owner, 1);
  const int16_t env = MupaOpenExecEnv(owner, kExecEnvMode);
  const int16_t otherEnv = MupaOpenExecEnv(other, kExecEnvMode);
  EXPECT_EQ(MupaRegisterPatternDict(other, env, 0), -9);
  EXPECT_EQ(ErrorsOf(other), std::vector<uint16_t>{kErrBadArgument});
  EXPECT_EQ(MupaRegisterPatternDict(other, otherEnv, 0), -9);
  EXPECT_EQ(ErrorsOf(other), std::vector<uint16_t>{kErrDictNotOwned});
  EXPECT_EQ(MupaCloseExecEnv(other, env), -9);
  EXPECT_EQ(MupaUnloadPatternDict(other, 0), -9);
  EXPECT_EQ(ErrorsOf(other), std::vector<uint16_t>{kErrDictNotOwned});
}

TEST_F(SessionSlotsTest, RecognitionUsesTheLowestRegisteredDictionary) {
  const int16_t handle = MupaBegin();
  LoadDicts(handle, 5);
  const int16_t env = MupaOpenExecEnv(handle, kExecEnvMode);
  EXPECT_EQ(FindEnvDictionary(handle, env), kNoSlot);
  ASSERT_EQ(MupaRegisterPatternDict(handle, env, 4), 0);
  ASSERT_EQ(MupaRegisterPatternDict(handle, env, 1), 0);
  EXPECT_EQ(FindEnvDictionary(handle, env), 1);
  EXPECT_EQ(FindEnvDictionary(handle + 1, env), kNoSlot);  // not the owner
}

}  // namespace
