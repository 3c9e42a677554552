// Both programs as the user starts them: processes of their own in an
// installation folder, looked at and answered from the test's process as a
// person would (their windows, their message boxes).
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "foundation/files.h"
#include "screen/screen.h"
#include "program/program.h"
#include "shell/shell.h"
#include "tests/program/program_fixture.h"
#include "tests/support/test_pictures.h"

namespace {

constexpr DWORD kWaitMs = 30000;

struct Search {
  DWORD process;
  const char* className;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  if (process != search->process || lstrcmpA(name, search->className) != 0) return TRUE;
  if (search->visibleOnly && !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

// A top-level window of a class of the process, once it is there (waiting
// at most `waitMs`).
HWND WaitForWindow(DWORD process, const char* className, bool visibleOnly = true, DWORD waitMs = kWaitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Search search{process, className, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found || GetTickCount() - start >= waitMs) return search.found;
    Sleep(100);
  }
}

// The window of that class the process shows now, or null.
HWND WindowNow(DWORD process, const char* className, bool visibleOnly = true) {
  return WaitForWindow(process, className, visibleOnly, 0);
}

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The window's title once it reads `expected` (the program sets it as its
// start goes on), else the last one read.
std::string TitleWhenSet(HWND window, const std::string& expected) {
  const DWORD start = GetTickCount();
  std::string title = TextOf(window);
  while (title != expected && GetTickCount() - start < kWaitMs) {
    Sleep(50);
    title = TextOf(window);
  }
  return title;
}

// The text of a message box: its static control.
std::string MessageOf(HWND box) {
  char text[512] = "";
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

class ProgramProcess : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = GetProgramFolder() + "\\shell_process_test";
    ASSERT_TRUE(MakeInstallation(folder_));
    WIN32_FIND_DATAA found;
    for (const char* pattern : {"sheetdesk*.exe", "*.dll"}) {
      const HANDLE search = FindFirstFileA((GetProgramFolder() + "\\" + pattern).c_str(), &found);
      ASSERT_NE(search, INVALID_HANDLE_VALUE) << pattern;
      do {
        ASSERT_TRUE(CopyFileA((GetProgramFolder() + "\\" + found.cFileName).c_str(),
                              (folder_ + "\\" + found.cFileName).c_str(), FALSE));
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
  }

  void TearDown() override {
    for (const PROCESS_INFORMATION& p : started_) {
      if (WaitForSingleObject(p.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(p.hProcess, 1);
      CloseHandle(p.hThread);
      CloseHandle(p.hProcess);
    }
  }

  // Starts a program of the installation with its arguments.
  PROCESS_INFORMATION Launch(const char* program, const std::string& arguments = "") {
    std::string line = "\"" + folder_ + "\\" + program + "\"";
    if (!arguments.empty()) line += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                               &startup, &process))
        << line;
    started_.push_back(process);
    return process;
  }

  // The exit code of a process that ends within the wait, else -1.
  static int ExitCodeOf(const PROCESS_INFORMATION& process) {
    if (WaitForSingleObject(process.hProcess, kWaitMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    return static_cast<int>(code);
  }

  const std::string& folder() const { return folder_; }
  // The installation moves to `to`, its programs start there from now on.
  bool MoveInstallation(const std::string& to) {
    RemoveTree(to);
    if (!MoveFileA(folder_.c_str(), to.c_str())) return false;
    folder_ = to;
    return true;
  }

 private:
  std::string folder_;
  std::vector<PROCESS_INFORMATION> started_;
};

class BothPrograms : public ProgramProcess, public testing::WithParamInterface<const char*> {};

TEST_P(BothPrograms, StartToTheMenuAndEndByIt) {
  const PROCESS_INFORMATION program = Launch(GetParam());
  const HWND main = WaitForWindow(program.dwProcessId, kMainClassName);
  ASSERT_NE(main, nullptr) << "no menu";
  EXPECT_EQ(TitleWhenSet(main, "KQﾏｰｸｱﾝｹｰﾄ 14.5 "), "KQﾏｰｸｱﾝｹｰﾄ 14.5 ");
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_GT(client.right, 54 * 8 + 254) << "the menu's right column fits";
  EXPECT_EQ(WindowNow(program.dwProcessId, "#32770"), nullptr) << "no message";
  PostMessageA(main, kMsgScreenCommand, kCmdQuit, 0);
  EXPECT_EQ(ExitCodeOf(program), 0);
}

TEST_P(BothPrograms, ASecondStartSaysTheFirstRuns) {
  const PROCESS_INFORMATION first = Launch(GetParam());
  const HWND main = WaitForWindow(first.dwProcessId, kMainClassName);
  ASSERT_NE(main, nullptr);
  const PROCESS_INFORMATION second = Launch(GetParam());
  const HWND box = WaitForWindow(second.dwProcessId, "#32770");
  ASSERT_NE(box, nullptr) << "no message from the second start";
  EXPECT_EQ(MessageOf(box), "KQﾏｰｸｱﾝｹｰﾄ は稼働中です。");
  EXPECT_EQ(WindowNow(second.dwProcessId, kMainClassName, false), nullptr) << "the second makes no window";
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitCodeOf(second), 0);
  EXPECT_TRUE(IsWindow(main)) << "the first goes on";
  PostMessageA(main, kMsgScreenCommand, kCmdQuit, 0);
  EXPECT_EQ(ExitCodeOf(first), 0);
}

INSTANTIATE_TEST_SUITE_P(Programs, BothPrograms, testing::Values("sheetdesk.exe", "sheetdesk5.exe"),
                         [](const testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param).substr(0, std::string(info.param).find('.'));
                         });

TEST_F(ProgramProcess, ANamedDefinitionOpensItsSheetForOperation) {
  {
    DbSession session(folder());
    ASSERT_TRUE(MakeDefinition(folder(), SampleDefinition()));
  }
  const PROCESS_INFORMATION program = Launch("sheetdesk.exe", "/2H12 SAMPLE");
  // The sheet's output goes to the program's data folder, made on first
  // use with a word to the user.
  const HWND box = WaitForWindow(program.dwProcessId, "#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageOf(box), "データベース・フォルダ“" + folder() + "\\data”を作成します。");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  const HWND workbench = WaitForWindow(program.dwProcessId, "KQE_READ");
  ASSERT_NE(workbench, nullptr) << "the operation screen did not open";
  const HWND main = WaitForWindow(program.dwProcessId, kMainClassName, false);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main)) << "only the sheet's screen shows";
  EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & WS_CAPTION, 0) << "an untitled pop-up";
  EXPECT_EQ(ReadBytes(folder() + "\\ocrpath.dat"), folder() + "\\teigi,SAMPLE\r\n");
  // Leaving the sheet ends the program started for it.
  PostMessageA(workbench, WM_CLOSE, 0, 0);
  EXPECT_EQ(ExitCodeOf(program), 0);
}

TEST_F(ProgramProcess, AnInstallationMovedElsewhereKeepsItsDatabases) {
  // The shipped settings name the databases' folder as the program's own.
  const std::string shipped = ReadBytes(GetProgramFolder() + "\\OCR.INI");
  ASSERT_NE(shipped.find("\nDBPATH .\r\n"), std::string::npos) << shipped;
  ASSERT_TRUE(WriteBytes(folder() + "\\OCR.INI", shipped));
  const std::string before = folder();
  ASSERT_TRUE(MoveInstallation(before + "_moved"));
  const PROCESS_INFORMATION program = Launch("sheetdesk.exe");
  const HWND main = WaitForWindow(program.dwProcessId, kMainClassName);
  ASSERT_NE(main, nullptr) << "no menu";
  EXPECT_EQ(TitleWhenSet(main, "KQﾏｰｸｱﾝｹｰﾄ 14.5 "), "KQﾏｰｸｱﾝｹｰﾄ 14.5 ") << "the screens came from the moved folder";
  EXPECT_EQ(WindowNow(program.dwProcessId, "#32770"), nullptr) << "no message";
  EXPECT_EQ(GetFileAttributesA(before.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was made in the old place";
  PostMessageA(main, kMsgScreenCommand, kCmdQuit, 0);
  EXPECT_EQ(ExitCodeOf(program), 0);
}

TEST_F(ProgramProcess, AMissingDefinitionIsNamedAndNothingStarts) {
  const PROCESS_INFORMATION program = Launch("sheetdesk.exe", "NOSUCH");
  const HWND box = WaitForWindow(program.dwProcessId, "#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageOf(box), "フォーマット定義ファイル“" + folder() + "\\teigi\\NOSUCH.mdb”は、作成されていません。");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(ExitCodeOf(program), 0);
}

}  // namespace
