// Ruled lines drawn with the mouse in design mode on real windows: a new
// line joins its own window's lines however the other windows' lines lie,
// short lines vanish, the Delete key removes the picked line, and leaving
// the mode writes each window's own lines and nothing else.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "designer/ruled_line_editing.h"
#include "foundation/files.h"
#include "tests/screen/screen_fixture.h"
#include "tests/support/hook_recorder.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class RuledLineEditing : public ScreenEngineTest {
 protected:
  void SetUp() override {
    ScreenEngineTest::SetUp();
    InstallRuledLineEditing();
    g_lineEdit = RuledLineEditState();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "ruled_lines_test";
    CreateDirectoryA(folder_.c_str(), nullptr);
    GetCurrentDirectoryA(MAX_PATH, temp);
    previous_ = temp;
    SetCurrentDirectoryA(folder_.c_str());
  }
  void TearDown() override {
    ScreenEngineTest::TearDown();
    SetCurrentDirectoryA(previous_.c_str());
  }

  // A window whose lines come from the format file `name` holding `lines`.
  int OpenWindowWithLines(const char* name, const std::string& lines) {
    std::ofstream(folder_ + "\\" + name, std::ios::binary) << lines;
    const HWND window = NewWindow(name);
    AddItem("NOTE", 'X', 2, 1, 10, 10);
    const int slot = FindFreeWindowSlot();
    if (OpenScreenWindow(window, 0, 0, 500, 400, 0, 41, 1, 1, 0, name) != 0) return -1;
    ShowWindow(window, SW_SHOW);
    PumpMessages();
    SetWindowFormatFile(slot, name);
    LoadLineDefinitions(slot);
    return slot;
  }

  // The design mode of the slot's window entered or left as the user does,
  // with Ctrl+Shift+F11.
  void ToggleDesign(int slot) {
    SelectWindowSlot(slot);
    HoldModifiers(true, true);
    PressKey(Slot(slot).editControl, VK_F11);
    HoldModifiers(false, false);
  }

  // Presses at one point, drags to another and releases there.
  void Drag(int slot, POINT from, POINT to) {
    const HWND w = Slot(slot).window;
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, (from.y + to.y) / 2));
    PostMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    PumpMessages();
  }

  std::vector<RuledLine> LinesOf(int slot) {
    std::vector<RuledLine> lines;
    for (int i = Slot(slot).firstLine; i < Slot(slot).firstLine + Slot(slot).lineCount; ++i) {
      if (g_ruledLines[i].kind) lines.push_back(g_ruledLines[i]);
    }
    return lines;
  }

  std::string FileOf(const char* name) { return ReadText(folder_ + "\\" + name); }

  std::string folder_, previous_;
};

TEST_F(RuledLineEditing, ANewLineJoinsItsOwnWindowsLinesAndIsSavedWithThem) {
  const int a = OpenWindowWithLines("A.FMT", "L,1,40,80,300,80\n");
  const int b = OpenWindowWithLines("B.FMT", "L,2,40,120,300,120\n");
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  // B's lines lie right after A's: A's next line cannot take that entry.
  ASSERT_EQ(Slot(b).firstLine, Slot(a).firstLine + 1);
  ToggleDesign(a);
  ASSERT_EQ(Slot(a).lineEditMode, 1);
  Drag(a, {60, 200}, {260, 200});
  ToggleDesign(a);
  EXPECT_EQ(Slot(a).lineEditMode, 0);

  ASSERT_EQ(LinesOf(a).size(), 2u);
  ASSERT_EQ(LinesOf(b).size(), 1u);
  EXPECT_EQ(LinesOf(b)[0].y1, 120) << "B's line stays B's";
  EXPECT_EQ(FileOf("B.FMT"), "L,2,40,120,300,120\n");
  const std::string saved = FileOf("A.FMT");
  EXPECT_EQ(saved.rfind("L,1,40,80,300,80\nL,1,60,", 0), 0u) << saved;
  EXPECT_NE(saved.find(",260,"), std::string::npos) << saved;
  // Both windows' lines never share an entry.
  for (int i = Slot(a).firstLine; i < Slot(a).firstLine + Slot(a).lineCount; ++i) {
    EXPECT_TRUE(i < Slot(b).firstLine || i >= Slot(b).firstLine + Slot(b).lineCount) << i;
  }
}

TEST_F(RuledLineEditing, ShortLinesVanishAndDeleteRemovesThePickedLine) {
  const int a = OpenWindowWithLines("A.FMT", "L,1,40,80,300,80\nL,1,100,20,100,300\n");
  ASSERT_GE(a, 0);
  ToggleDesign(a);
  // A drag of three pixels makes no line.
  Drag(a, {60, 200}, {63, 200});
  EXPECT_EQ(LinesOf(a).size(), 2u);
  // A click one pixel beside the vertical line picks it; Delete removes it.
  PostMessageA(Slot(a).window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 150));
  PostMessageA(Slot(a).window, WM_LBUTTONUP, 0, MAKELPARAM(101, 150));
  PumpMessages();
  EXPECT_EQ(g_lineEdit.selectedLine, Slot(a).firstLine + 1);
  PressKey(Slot(a).editControl, VK_DELETE);
  ToggleDesign(a);
  EXPECT_EQ(FileOf("A.FMT"), "L,1,40,80,300,80\n");
}

// Lines that cannot be written leave the format file as it was, and say so:
// another program holds the file with its bytes locked.
TEST_F(RuledLineEditing, LinesThatCannotBeWrittenLeaveTheOldFileWhole) {
  const int a = OpenWindowWithLines("A.FMT", "L,1,40,80,300,80\n");
  ASSERT_GE(a, 0);
  const std::string path = folder_ + "\\A.FMT";
  const HANDLE other = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(LockFile(other, 0, 0, 4096, 0));
  MessageBoxRecorder boxes;
  ToggleDesign(a);
  Drag(a, {60, 200}, {260, 200});
  ToggleDesign(a);
  UnlockFile(other, 0, 0, 4096, 0);
  CloseHandle(other);
  EXPECT_EQ(FileOf("A.FMT"), "L,1,40,80,300,80\n");
  EXPECT_EQ(boxes.texts(), std::vector<std::string>{"ﾌｫｰﾏｯﾄﾌｧｲﾙ“" + path + "”をｵｰﾌﾟﾝできません。"});
  EXPECT_EQ(GetFileAttributesA((path + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RuledLineEditing, AFullTableStartsNoLine) {
  const int a = OpenWindowWithLines("A.FMT", "L,1,40,80,300,80\n");
  ASSERT_GE(a, 0);
  for (RuledLine& line : g_ruledLines) {
    if (line.kind == 0) line = RuledLine{'C', 1, 1, 1, 2, 2};
  }
  EXPECT_EQ(AllocateSlotLine(a), -1);
  ToggleDesign(a);
  Drag(a, {60, 200}, {260, 200});
  EXPECT_EQ(LinesOf(a).size(), 1u);
  for (RuledLine& line : g_ruledLines) line = RuledLine();
}

}  // namespace
