// The scanner entries over Wine's TWAIN source manager (twain_32.dll) and
// the tests' own data source (twain_source/), installed for the length of
// the test where the manager looks for sources: the scanner list and its
// choice window, capabilities, and scans of every kind with the ways a
// scan ends early.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging_library.h"
#include "platform/scan_choice.h"
#include "tests/platform/image_fixtures.h"
#include "tests/platform/scan_recording.h"
#include "tests/platform/twain_test_source.h"
#include "tests/platform/window_answers.h"

namespace {

constexpr const char* kSourceName = kTestSourceName;
constexpr char kFolder[] = "twaintest";
constexpr char kSheets[] = "twaintest\\sheets";

// Sheet n: 40 x 40 with a bar across row 3n and a mark in column n, so that
// the strips of a memory transfer land in their place.
Picture Sheet(int n) {
  Picture sheet(40, std::string(40, '.'));
  sheet[(3 * n) % 40] = std::string(40, '#');
  for (std::string& row : sheet) row[n % 40] = '#';
  return sheet;
}

class TwainScanner : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(InstallTestSource()); }
  static void TearDownTestSuite() { RemoveTestSource(); }

  void SetUp() override {
    FreshFolder(kFolder);
    FreshFolder(kSheets);
    const std::string folder = ProgramFolder() + "\\" + kFolder;
    source_ = {folder + "\\source.ini", ProgramFolder() + "\\" + kSheets, folder + "\\source.log"};
    Configure("");
    DeleteFileA((ProgramFolder() + "\\SCANFEED.INI").c_str());
    g_run = &run_;
  }
  void TearDown() override {
    g_run = nullptr;
    DeleteFileA((ProgramFolder() + "\\SCANFEED.INI").c_str());
  }

  void Configure(const std::string& extra) { source_.Configure(extra); }
  static void LoadSheets(int count) {
    for (int i = 1; i <= count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "\\S%02d.BMP", i);
      WriteBmp(kSheets + std::string(name), Sheet(i), 1);
    }
  }
  static int SheetsWaiting() {
    int count = 0;
    for (int i = 1; i <= 40; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "\\S%02d.BMP", i);
      count += FileExistsNow(kSheets + std::string(name));
    }
    return count;
  }
  static IKScanParams Params(int sides) { return ScanParams(kSourceName, 200, sides); }
  std::string Log() const { return source_.Log(); }

  TestSourceSetup source_;
  ScanRun run_;
  WindowAnswers answers_;
};

TEST_F(TwainScanner, TheListOffersTheSourcesAndTheFeederToChooseFrom) {
  char name[64] = "x";
  HANDLE session = IKScanInitialize(nullptr, "ImageKit7", "Maker", "ImageKit", "ImageKit7");
  ASSERT_NE(session, nullptr);
  EXPECT_EQ(IKScanInitialize(nullptr, "ImageKit7", "Maker", "ImageKit", "ImageKit7"), nullptr)
      << "one session at a time";
  EXPECT_EQ(IKScanList(session, name, sizeof name), 1);
  EXPECT_STREQ(name, kSourceName)
      << "one scanner: chosen without asking (Wine's camera source, with no camera, is not offered)";
  EXPECT_TRUE(answers_.choices.empty());

  WriteBytes(ProgramFolder() + "\\SCANFEED.INI",
             "[Feeder]\r\nName=フォルダの給紙\r\nFolder=twaintest\r\n");
  struct Case { const char* what; UINT key; int listed; const char* chosen; };
  const Case cases[] = {
      {"the feeder, listed last", VK_END, 1, "フォルダの給紙"},
      {"cancelled", VK_ESCAPE, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    answers_.choices.clear();
    answers_.key = c.key;
    EXPECT_EQ(IKScanList(session, name, sizeof name), c.listed);
    EXPECT_EQ(answers_.choices, (std::vector<std::string>{kSourceName, "フォルダの給紙"}));
    EXPECT_STREQ(name, c.chosen);
  }
  EXPECT_TRUE(IKScanTerminate(session));
  EXPECT_FALSE(IKScanTerminate(session));

  // The ImageKit-5 set has no session; its library opens the manager itself
  // (a process holds the manager open once).
  answers_.key = 0;
  EXPECT_EQ(IK5ScanList(name, sizeof name), 1);
  EXPECT_STREQ(name, kSourceName);
}

TEST_F(TwainScanner, CapabilitiesComeFromTheSource) {
  int low = 0, high = 0, step = 0, current = 7;
  EXPECT_EQ(IKScanGetCapRange(kSourceName, kIkCapBrightness, &low, &high, &step, &current),
            kIkContainerRange);
  EXPECT_EQ(low, -1000);
  EXPECT_EQ(high, 1000);
  EXPECT_EQ(step, 1);
  EXPECT_EQ(current, 0);

  int values[8] = {}, count = 0;
  EXPECT_EQ(IKScanGetCapEnum(kSourceName, kIkCapXResolution, values, 8, &count, &current),
            kIkContainerEnumeration);
  EXPECT_EQ(std::vector<int>(values, values + count), (std::vector<int>{200, 300, 400}));
  EXPECT_EQ(current, 200);
  EXPECT_EQ(IKScanGetCapRange(kSourceName, kIkCapFeederPages, &low, &high, &step, &current), 0)
      << "TWAIN has no page count";
  EXPECT_EQ(IKScanGetCapRange("No Such Scanner", kIkCapBrightness, &low, &high, &step, &current),
            0);
  EXPECT_NE(Log().find("open ImageKit7"), std::string::npos) << "the library's identity";
  EXPECT_NE(Log().find("close"), std::string::npos);
}

TEST_F(TwainScanner, ScansHandEveryPageToTheProgramAsItAsked) {
  struct Case {
    const char* what;
    const char* source;
    int sides;
    int sheets;
    int expected;
    std::vector<const char*> logged;
  };
  const Case cases[] = {
      {"one-sided, native", "Transfer=native\r\n", kIkScanOneSided, 4, 4,
       {"set 0103 0", "set 1002 1", "set 1013 0", "native page 4", "end 0", "disable", "close"}},
      {"one-sided, memory", "Transfer=memory\r\n", kIkScanOneSided, 3, 3,
       {"set 0103 2", "memory page 3", "end 0"}},
      {"two-sided, native or memory: native", "Transfer=both\r\n", kIkScanTwoSided, 4, 4,
       {"set 0103 0", "set 1013 1", "native page 4"}},
      {"flatbed: one page", "", kIkScanFlatbed, 3, 1, {"set 0001 1", "set 1002 0", "end 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshFolder(kSheets);
    LoadSheets(c.sheets);
    Configure(c.source);
    ScanRun run;
    g_run = &run;
    const IKScanParams params = Params(c.sides);
    ASSERT_EQ(IKScanExec(nullptr, &params, RecordPage), c.expected);
    ASSERT_EQ(run.pages.size(), static_cast<size_t>(c.expected));
    for (int i = 0; i < c.expected; ++i) {
      EXPECT_EQ(run.pages[i].picture, Sheet(i + 1)) << i;
      EXPECT_EQ(run.pages[i].number, i + 1);
      EXPECT_EQ(run.pages[i].depth, 1);
      EXPECT_EQ(run.pages[i].dpi, 300);
      EXPECT_EQ(run.pages[i].thread, GetCurrentThreadId());
    }
    const std::string log = Log();
    for (const char* line : {"set 0101 0", "set 1118 300", "set 1119 300", "set 1101 200",
                             "enable screen=0"}) {
      EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    }
    for (const char* line : c.logged) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    EXPECT_EQ(SheetsWaiting(), c.sheets - c.expected);
    EXPECT_TRUE(answers_.boxes.empty());
  }
  FreshFolder(kSheets);
  const IKScanParams params = Params(kIkScanOneSided);
  EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), kIkScanNoPaper) << "the feeder is empty";
}

// However a run ends early, the pages the program took stay taken, the
// later sheets stay in the feeder, the transfers still pending end and the
// source closes; the result says why, for the program to tell the operator.
TEST_F(TwainScanner, ARunThatEndsEarlyKeepsWhatWasTakenAndSaysWhy) {
  struct Case {
    const char* what;
    const char* source;
    int userInterface;
    int stopAt;
    int result;
    int delivered;
    std::vector<const char*> logged;
  };
  const Case cases[] = {
      {"jam at the third, native", "JamAt=3\r\n", 2, 0, kIkScanPaperJam, 2, {"jam", "reset"}},
      {"jam at the second, memory", "Transfer=memory\r\nJamAt=2\r\n", 2, 0, kIkScanPaperJam, 1,
       {"jam", "reset"}},
      {"cancelled on the scanner at the third", "CancelAt=3\r\n", 2, 0, kIkScanCancelled, 2,
       {"cancel", "end 3", "reset"}},
      {"the program stops at the second", "", 2, 2, 2, 2, {"end 3", "reset"}},
      {"settings screen closed", "Screen=close\r\n", 1, 0, kIkScanCancelled, 0,
       {"enable screen=1", "screen closed"}},
      {"settings screen confirmed", "Screen=ok\r\n", 1, 0, 5, 5,
       {"enable screen=1", "screen ok", "end 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshFolder(kSheets);
    LoadSheets(5);
    Configure(c.source);
    ScanRun run;
    run.stopAt = c.stopAt;
    g_run = &run;
    answers_.boxes.clear();
    IKScanParams params = Params(kIkScanOneSided);
    params.userInterface = c.userInterface;
    EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), c.result);
    ASSERT_EQ(run.pages.size(), static_cast<size_t>(c.delivered));
    for (int i = 0; i < c.delivered; ++i) EXPECT_EQ(run.pages[i].picture, Sheet(i + 1)) << i;
    EXPECT_EQ(SheetsWaiting(), 5 - c.delivered) << "the sheets not taken stay in the feeder";
    EXPECT_TRUE(answers_.boxes.empty()) << "the library leaves the telling to the program";
    const std::string log = Log();
    for (const char* line : c.logged) EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
    EXPECT_NE(log.find("disable\nclose"), std::string::npos) << log;
  }
}

}  // namespace
