// The sheet feeder behind the scanner entries: pages in name order, one
// callback each on the calling thread, the tray, two-sided runs, the
// settings screen, capabilities and the errors a scanner reports.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/imaging_library.h"
#include "tests/platform/image_fixtures.h"
#include "tests/platform/scan_recording.h"

namespace {

constexpr char kFeed[] = "feedtest\\in";
constexpr char kTray[] = "feedtest\\out";

// Page n: a black bar across row n of a 16 x 8 sheet.
Picture Page(int n) {
  Picture page(8, std::string(16, '.'));
  page[n % 8] = std::string(16, '#');
  return page;
}

// The feeder takes any scanner name and brightness.
IKScanParams Params(int sides, int dpi = 300) { return ScanParams("", 5, sides, dpi); }

class Feeder : public testing::Test {
 protected:
  void SetUp() override {
    settings_ = ProgramFolder() + "\\SCANFEED.INI";
    WriteBytes(settings_, std::string("[Feeder]\r\nName=Test Feeder\r\nFolder=") + kFeed +
                              "\r\nTray=" + kTray + "\r\n");
    FreshFolder("feedtest");
    FreshFolder(kFeed);
    g_run = &run_;
  }
  void TearDown() override {
    DeleteFileA(settings_.c_str());
    g_run = nullptr;
  }
  static std::string In(const char* name) { return std::string(kFeed) + "\\" + name; }
  static std::string Out(const char* name) { return std::string(kTray) + "\\" + name; }
  // PAGE01.BMP, PAGE02.TIF (two pages), page03.bmp, PAGE10.PNG: five pages.
  static void LoadFiveSheets() {
    WriteBmp(In("PAGE10.PNG.tmp"), Page(0), 1);  // not a page file: ignored
    WritePng(In("PAGE10.PNG"), Page(5));
    WriteBmp(In("page03.bmp"), Page(4), 1);
    WriteTiff(In("PAGE02.TIF"), {Page(2), Page(3)}, true);
    WriteBmp(In("PAGE01.BMP"), Page(1), 1);
  }

  std::string settings_;
  ScanRun run_;
};

TEST_F(Feeder, FeedsPagesInNameOrderWithOneCallbackEachOnTheCallingThread) {
  LoadFiveSheets();
  const IKScanParams params = Params(kIkScanOneSided);
  ASSERT_EQ(IKScanExec(nullptr, &params, RecordPage), 5);
  EXPECT_EQ(Pictures(run_), (std::vector<Picture>{Page(1), Page(2), Page(3), Page(4), Page(5)}));
  for (size_t i = 0; i < run_.pages.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(run_.pages[i].number, static_cast<int>(i) + 1);
    EXPECT_EQ(run_.pages[i].depth, 1) << "the colour page comes black and white";
    EXPECT_EQ(run_.pages[i].dpi, 300);
    EXPECT_EQ(run_.pages[i].thread, GetCurrentThreadId());
  }
  for (const char* name : {"PAGE01.BMP", "PAGE02.TIF", "page03.bmp", "PAGE10.PNG"}) {
    EXPECT_FALSE(FileExistsNow(In(name))) << name;
    EXPECT_TRUE(FileExistsNow(Out(name))) << name;
  }
  EXPECT_TRUE(FileExistsNow(In("PAGE10.PNG.tmp")));
  EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), kIkScanNoPaper) << "the feeder is empty";
}

TEST_F(Feeder, AStopLeavesTheLaterSheetsInTheFeeder) {
  LoadFiveSheets();
  run_.stopAt = 2;
  const IKScanParams params = Params(kIkScanOneSided);
  EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), 2);
  EXPECT_EQ(Pictures(run_), (std::vector<Picture>{Page(1), Page(2)}));
  EXPECT_TRUE(FileExistsNow(Out("PAGE01.BMP")));
  EXPECT_TRUE(FileExistsNow(In("PAGE02.TIF"))) << "the refused page stays";
  EXPECT_TRUE(FileExistsNow(In("page03.bmp")));
  EXPECT_TRUE(FileExistsNow(In("PAGE10.PNG")));

  ScanRun next;
  next.stopAt = 2;
  g_run = &next;
  EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), 2);
  EXPECT_EQ(Pictures(next), (std::vector<Picture>{Page(2), Page(3)}));
  EXPECT_TRUE(FileExistsNow(Out("PAGE02.TIF")))
      << "a file of two sheets goes once one was taken: none is taken twice";

  ScanRun last;
  g_run = &last;
  EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), 2);
  EXPECT_EQ(Pictures(last), (std::vector<Picture>{Page(4), Page(5)}));
}

// The files of a two-sided sheet leave together once the program took its
// back; a refused back keeps its front in the feeder too.
TEST_F(Feeder, ATwoSidedSheetLeavesWhole) {
  for (int i = 1; i <= 4; ++i) WriteBmp(In(("S" + std::to_string(i) + ".BMP").c_str()), Page(i), 1);
  run_.stopAt = 4;
  const IKScanParams params = Params(kIkScanTwoSided);
  EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), 4);
  EXPECT_TRUE(FileExistsNow(Out("S1.BMP")));
  EXPECT_TRUE(FileExistsNow(Out("S2.BMP")));
  EXPECT_TRUE(FileExistsNow(In("S3.BMP")));
  EXPECT_TRUE(FileExistsNow(In("S4.BMP")));
}

// In Shift-JIS the second byte of "表", "ソ", "能" and "十" is the byte of
// "\\": names and folders holding them keep every page apart.
TEST_F(Feeder, NamesWithTheSeparatorsByteInTheirCharactersKeepTheirPages) {
  const std::string feed = "feedtest\\表ソ能十";
  const std::string tray = "feedtest\\十能ソ表";
  WriteBytes(settings_, "[Feeder]\r\nName=Test Feeder\r\nFolder=" + feed + "\r\nTray=" + tray + "\r\n");
  FreshFolder(feed);
  const char* names[] = {"アンソ001.bmp", "十001.bmp", "能001.bmp", "調査表001.bmp"};
  for (int i = 0; i < 4; ++i) WriteBmp(feed + "\\" + names[i], Page(i + 1), 1);
  const IKScanParams params = Params(kIkScanOneSided);
  ASSERT_EQ(IKScanExec(nullptr, &params, RecordPage), 4);
  EXPECT_EQ(run_.pages.size(), 4u);
  for (const char* name : names) {
    EXPECT_FALSE(FileExistsNow(feed + "\\" + name)) << name;
    EXPECT_TRUE(FileExistsNow(tray + "\\" + name)) << name;
  }
  EXPECT_FALSE(FileExistsNow(tray + "\\001.bmp"));
}

TEST_F(Feeder, SidesDecideHowManyPagesARunTakes) {
  struct Case { const char* what; int sides; int sheets; std::vector<Picture> pages; };
  const Picture white(8, std::string(16, '.'));
  const Case cases[] = {
      {"flatbed: one page", kIkScanFlatbed, 3, {Page(1)}},
      {"two-sided, even", kIkScanTwoSided, 2, {Page(1), Page(2)}},
      {"two-sided, last back missing: white", kIkScanTwoSided, 3, {Page(1), Page(2), Page(3), white}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshFolder(kFeed);
    for (int i = 1; i <= c.sheets; ++i) WriteBmp(In(("S" + std::to_string(i) + ".BMP").c_str()), Page(i), 1);
    ScanRun run;
    g_run = &run;
    const IKScanParams params = Params(c.sides);
    EXPECT_EQ(IKScanExec(nullptr, &params, RecordPage), static_cast<int>(c.pages.size()));
    EXPECT_EQ(Pictures(run), c.pages);
  }
}

TEST_F(Feeder, ColourPagesAreMadeBlackAndWhiteByBrightnessAndDropOutColour) {
  // Red ink (luminance 76) and a dark grey line over white.
  const Picture sheet = {"rrrr", "####", "...."};
  struct Case { const char* what; int brightness; int dropOut; Picture seen; };
  const Case cases[] = {
      {"red printed, no drop-out", 5, kIkDropOutNone, {"####", "####", "...."}},
      {"red dropped out", 5, kIkDropOutRed, {"....", "####", "...."}},
      {"lightest setting", 10, kIkDropOutNone, {"....", "####", "...."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FreshFolder(kFeed);
    WritePng(In("SHEET.PNG"), sheet);
    ScanRun run;
    g_run = &run;
    IKScanParams params = Params(kIkScanOneSided);
    params.brightness = c.brightness;
    params.dropOutColor = c.dropOut;
    ASSERT_EQ(IKScanExec(nullptr, &params, RecordPage), 1);
    EXPECT_EQ(run.pages[0].picture, c.seen);
    EXPECT_EQ(run.pages[0].depth, 1);
  }
}

TEST_F(Feeder, ErrorsAreReportedAsAScannerReportsThem) {
  const IKScanParams good = Params(kIkScanOneSided);
  EXPECT_EQ(IKScanExec(nullptr, &good, RecordPage), kIkScanNoPaper);

  // An unreadable page stops the run like a jam: it and the later pages stay.
  WriteBmp(In("A.BMP"), Page(1), 1);
  WriteBytes(In("B.BMP"), "not an image");
  WriteBmp(In("C.BMP"), Page(3), 1);
  EXPECT_EQ(IKScanExec(nullptr, &good, RecordPage), kIkScanFeedError);
  EXPECT_EQ(Pictures(run_), (std::vector<Picture>{Page(1)}));
  EXPECT_TRUE(FileExistsNow(In("B.BMP")));
  EXPECT_TRUE(FileExistsNow(In("C.BMP")));

  struct Case { const char* what; IKScanParams params; };
  Case cases[] = {{"resolution the feeder lacks", Params(kIkScanOneSided, 250)},
                  {"unknown sides", Params(7)},
                  {"another scanner", good},
                  {"block of another size", good}};
  std::strcpy(cases[2].params.scanner, "Other Scanner");
  cases[3].params.size = 100;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(IKScanExec(nullptr, &c.params, RecordPage), kIkScanFailed);
  }
  EXPECT_EQ(IKScanExec(nullptr, &good, nullptr), kIkScanFailed);

  DeleteFileA(settings_.c_str());
  char name[64] = "x";
  EXPECT_EQ(IK5ScanList(name, sizeof name), 0) << "no feeder set up: no scanner";
  EXPECT_STREQ(name, "");
  EXPECT_EQ(IKScanExec(nullptr, &good, RecordPage), kIkScanFailed);
}

// Answers the feeder's settings screen, a real message box, from a CBT hook
// once the box runs its own loop.
struct SettingsScreen {
  std::string caption;
  int press = IDOK;
  HWND box = nullptr;
  HHOOK hook = nullptr;
};
SettingsScreen g_screen;

void CALLBACK PressButton(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  char caption[128];
  GetWindowTextA(g_screen.box, caption, sizeof caption);
  g_screen.caption = caption;
  PostMessageA(g_screen.box, WM_COMMAND, g_screen.press, 0);
}

LRESULT CALLBACK WatchForBox(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && !g_screen.box) {
    g_screen.box = reinterpret_cast<HWND>(wp);
    SetTimer(nullptr, 0, 10, PressButton);
  }
  return CallNextHookEx(g_screen.hook, code, wp, lp);
}

TEST_F(Feeder, TheSettingsScreenCanCancelTheRun) {
  WriteBmp(In("A.BMP"), Page(1), 1);
  IKScanParams params = Params(kIkScanOneSided);
  params.userInterface = 1;
  for (int press : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(press);
    g_screen = SettingsScreen();
    g_screen.press = press;
    g_screen.hook = SetWindowsHookExA(WH_CBT, WatchForBox, nullptr, GetCurrentThreadId());
    const int result = IKScanExec(nullptr, &params, RecordPage);
    UnhookWindowsHookEx(g_screen.hook);
    EXPECT_EQ(g_screen.caption, "Test Feeder");
    EXPECT_EQ(result, press == IDCANCEL ? kIkScanCancelled : 1);
    EXPECT_EQ(run_.pages.size(), press == IDCANCEL ? 0u : 1u);
  }
}

TEST_F(Feeder, CapabilitiesAndTheScannerList) {
  int low = 0, high = 0, step = 0, current = 0;
  EXPECT_EQ(IKScanGetCapRange("", kIkCapBrightness, &low, &high, &step, &current),
            kIkContainerRange);
  EXPECT_EQ(low, 1);
  EXPECT_EQ(high, 10);
  EXPECT_EQ(step, 1);
  EXPECT_EQ(current, 5);

  int values[8] = {}, count = 0;
  EXPECT_EQ(IKScanGetCapEnum("Test Feeder", kIkCapXResolution, values, 8, &count, &current),
            kIkContainerEnumeration);
  EXPECT_EQ(std::vector<int>(values, values + count), (std::vector<int>{200, 300, 400}));
  EXPECT_EQ(IKScanGetCapRange(nullptr, kIkCapYResolution, &low, &high, nullptr, nullptr),
            kIkContainerEnumeration);
  EXPECT_EQ(low, 200);
  EXPECT_EQ(high, 400);

  EXPECT_EQ(IKScanGetCapEnum("", kIkCapFeederLoaded, values, 8, &count, &current),
            kIkContainerOneValue);
  EXPECT_EQ(current, 0);
  WriteBmp(In("A.BMP"), Page(1), 1);
  IKScanGetCapEnum("", kIkCapFeederLoaded, values, 8, &count, &current);
  EXPECT_EQ(current, 1);
  EXPECT_EQ(IKScanGetCapEnum("", kIkCapFeederPages, values, 8, &count, &current),
            kIkContainerOneValue);
  EXPECT_EQ(current, 1);
  WriteTiff(In("B.TIF"), {Page(2), Page(3)}, true);
  IKScanGetCapEnum("", kIkCapFeederPages, values, 8, &count, &current);
  EXPECT_EQ(current, 3) << "every page of a multi-page file";

  EXPECT_EQ(IKScanGetCapRange("", 0x1234, &low, &high, &step, &current), 0);
  EXPECT_EQ(IKScanGetCapRange("Other Scanner", kIkCapBrightness, &low, &high, &step, &current), 0);

  HANDLE session = IKScanInitialize(nullptr, "ImageKit7", "maker", "ImageKit", "ImageKit7");
  ASSERT_NE(session, nullptr);
  char name[64] = {};
  EXPECT_EQ(IKScanList(session, name, sizeof name), 1);
  EXPECT_STREQ(name, "Test Feeder");
  char shortName[5];
  EXPECT_EQ(IKScanList(session, shortName, sizeof shortName), 1);
  EXPECT_STREQ(shortName, "Test");
  EXPECT_TRUE(IKScanTerminate(session));
  EXPECT_FALSE(IKScanTerminate(session));
  EXPECT_EQ(IKScanList(session, name, sizeof name), 0) << "the session is closed";
}

TEST_F(Feeder, ANameCutToItsRoomKeepsWholeCharacters) {
  WriteBytes(settings_, "[Feeder]\r\nName=読取装置\r\nFolder=feedtest\\in\r\n");
  char name[6];
  EXPECT_EQ(IK5ScanList(name, sizeof name), 1);
  EXPECT_STREQ(name, "読取") << "5 bytes of room: two characters, not two and a half";
}

TEST_F(Feeder, TheImageKit5EntriesFeedTheSameWay) {
  LoadFiveSheets();
  char name[64] = {};
  EXPECT_EQ(IK5ScanList(name, sizeof name), 1);
  EXPECT_STREQ(name, "Test Feeder");
  IK5ScanParams params = {};
  params.size = sizeof params;
  std::strcpy(params.scanner, name);
  params.sides = kIkScanOneSided;
  params.dropOutColor = kIkDropOutNone;
  params.xResolution = params.yResolution = 200;
  params.blackAndWhite = 1;
  run_.stopAt = 3;
  EXPECT_EQ(IK5ScanExec(nullptr, &params, RecordPage), 3);
  EXPECT_EQ(Pictures(run_), (std::vector<Picture>{Page(1), Page(2), Page(3)}));
  EXPECT_EQ(run_.pages[0].dpi, 200);
  params.size = sizeof(IKScanParams);
  EXPECT_EQ(IK5ScanExec(nullptr, &params, RecordPage), kIkScanFailed);
}

}  // namespace
