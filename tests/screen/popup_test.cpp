// The candidate pop-up on real windows: plain lists shown, scrolled and
// chosen with the keys, the codes reported for other items, the file and
// folder dialogs through the dialog hook.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "foundation/imaging.h"
#include "tests/screen/input_fixture.h"

namespace {

constexpr int kFieldKey = 55;

int AddListField(const char* name, int row, const char* choices, int length = 10) {
  return AddScreenItem("", name, 2, row, 0, length, length, 0, 'X', 0, 0, kFieldKey, 'L',
                       kItemEnabled, 0, 5, 0, 0, "", choices);
}

class PopupTest : public InputTest {
 protected:
  HWND Sel() const { return g_screen.popupWindow; }
  // Rows the window is high enough for: each row and 6 pixels of frame.
  int ShownRows() const {
    RECT r;
    GetWindowRect(Sel(), &r);
    const int rowHeight = Item(g_screen.currentItem).charSize * 2 + 12;
    return (r.bottom - r.top - 6) / rowHeight;
  }
  std::vector<ReceivedMessage> Sent(UINT message) {
    std::vector<ReceivedMessage> sent;
    for (const ReceivedMessage& m : MessagesOf(window())) {
      if (m.message == message) sent.push_back(m);
    }
    return sent;
  }
};

TEST_F(PopupTest, ShowsTheRowsItWasToldAndScrolls) {
  AddListField("CITY", 1, "Tokyo (13),Osaka (27),Kyoto (26),(2)");
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("CITY");
  ASSERT_EQ(ShowFieldPopup(ItemNamed("CITY")), 0);
  EXPECT_EQ(g_screen.popupOpen, 1);
  EXPECT_EQ(ShownRows(), 2);
  EXPECT_EQ(GetScrollPos(Sel(), SB_VERT), 0);
  PressKey(Sel(), VK_DOWN);
  PressKey(Sel(), VK_DOWN);  // past the last shown row: the list scrolls
  EXPECT_EQ(GetScrollPos(Sel(), SB_VERT), 1);
  ClearMessages(window());
  PressKey(Sel(), VK_RETURN);
  EXPECT_EQ(g_screen.popupOpen, 0);
  EXPECT_EQ(ValueOf("CITY"), "Kyoto");  // the line up to " ("
  EXPECT_EQ(EditText(slot()), "Kyoto");
  EXPECT_EQ(GetLastPopupChoice(), 3);
  EXPECT_EQ(GetChosenCandidateCode(), 1);
  const std::vector<ReceivedMessage> want = {{kMsgFieldChosen, kFieldKey, 1}};
  EXPECT_EQ(Sent(kMsgFieldChosen), want);
  EXPECT_EQ(GetFocus(), edit());
}

TEST_F(PopupTest, ShowsTenRowsForLargeRowCounts) {
  std::string choices;
  for (int k = 1; k <= 12; ++k) choices += "C" + std::to_string(k) + ",";
  choices += "(150)";
  AddListField("CODE", 1, choices.c_str());
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("CODE");
  ASSERT_EQ(ShowFieldPopup(ItemNamed("CODE")), 0);
  EXPECT_EQ(ShownRows(), 10);
  PressKey(Sel(), VK_ESCAPE);
}

TEST_F(PopupTest, EscapeAndEmptyListsChangeNothing) {
  AddListField("CITY", 1, "Tokyo,Osaka");
  AddListField("EMPTY", 2, "\"\"");
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("CITY");
  SetFieldText("CITY", "Nagoya");
  ASSERT_EQ(ShowFieldPopup(ItemNamed("CITY")), 0);
  ClearMessages(window());
  PressKey(Sel(), VK_DOWN);
  PressKey(Sel(), VK_ESCAPE);
  EXPECT_EQ(g_screen.popupOpen, 0);
  EXPECT_EQ(ValueOf("CITY"), "Nagoya");
  EXPECT_TRUE(MessagesOf(window()).empty());
  // One empty token: a beep and nothing shown.
  FocusField("EMPTY");
  EXPECT_EQ(ShowFieldPopup(ItemNamed("EMPTY")), -1);
  EXPECT_EQ(g_screen.popupOpen, 0);
}

TEST_F(PopupTest, AChoiceBeforeTheListIsShownIsRefused) {
  AddListField("CITY", 1, "Tokyo,Osaka");
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("CITY");
  ShowWindow(window(), SW_HIDE);  // nothing of the list is painted
  ASSERT_EQ(ShowFieldPopup(ItemNamed("CITY")), 0);
  const size_t before = boxes_.calls().size();
  PressKey(Sel(), VK_RETURN);
  ASSERT_EQ(boxes_.calls().size(), before + 1);
  EXPECT_EQ(boxes_.texts().back(), "候補ウインドウが表示される前に選択されました。");
  EXPECT_EQ(g_screen.popupOpen, 1);
  EXPECT_EQ(ValueOf("CITY"), "");
}

TEST_F(PopupTest, F11OpensTheFieldsPopupAndAClickChooses) {
  AddListField("CITY", 1, "Tokyo,Osaka,Kyoto");
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("CITY");
  PressKey(edit(), VK_F11);
  ASSERT_EQ(g_screen.popupOpen, 1);
  // The second row, clicked: pressed and released on it.
  const int rowHeight = Item(ItemNamed("CITY")).charSize * 2 + 12;
  const int y = 2 + rowHeight + rowHeight / 2;
  PostMessageA(Sel(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y));
  PostMessageA(Sel(), WM_LBUTTONUP, 0, MAKELPARAM(10, y));
  PumpMessages();
  EXPECT_EQ(g_screen.popupOpen, 0);
  EXPECT_EQ(ValueOf("CITY"), "Osaka");
}

TEST_F(PopupTest, AMarkReportsTheCodeOfTheChosenLine) {
  AddListField("FIELD", 1, "");
  const int mark = AddScreenItem("", "PICK", 20, 1, 0, 6, 22, 0, 'M', 0, 0, 90, 'S', kItemEnabled,
                                 0, 6, 1, 0, "", "Tokyo(13),Osaka(27),Kyoto");
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("FIELD");
  struct Case {
    int downs;
    WPARAM code;
  };
  // The line's own code, or its number counted from the item's minimum (1).
  const Case cases[] = {{1, 27}, {2, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.downs);
    ASSERT_EQ(RunFieldAction(mark), 0);
    ASSERT_EQ(g_screen.popupOpen, 1);
    for (int k = 0; k < c.downs; ++k) PressKey(Sel(), VK_DOWN);
    ClearMessages(window());
    PressKey(Sel(), VK_RETURN);
    const std::vector<ReceivedMessage> want = {{kMsgCardPrint, c.code, 0}};
    EXPECT_EQ(Sent(kMsgCardPrint), want);
    EXPECT_EQ(GetLastPopupChoice(), c.downs + 1);
    EXPECT_EQ(ValueOf("FIELD"), "");  // the focused field keeps its value
  }
}

TEST_F(PopupTest, FileDialogPutsTheChosenPathIntoTheField) {
  AddListField("PATH", 1, "FILEDLG,Open a list,/CF,Lists|*.CSV,C:\\DATA,1", 20);
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("PATH");
  SetFieldText("PATH", "D:\\OLD\\REPORT.CSV");
  std::string offered;
  int answer = 1;
  ModalDialogRecorder dialogs([&](const ModalDialogCall& call) -> INT_PTR {
    auto* ofn = static_cast<OPENFILENAMEA*>(call.data);
    offered = ofn->lpstrFile;
    EXPECT_EQ(ofn->Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_NOCHANGEDIR));
    EXPECT_STREQ(ofn->lpstrFilter, "Lists");
    EXPECT_STREQ(ofn->lpstrFilter + 6, "*.CSV");
    std::strcpy(ofn->lpstrFile, "C:\\DATA\\NEW.CSV");
    return answer;
  });
  ASSERT_EQ(ShowFieldPopup(ItemNamed("PATH")), 0);
  EXPECT_EQ(dialogs.kinds(), std::vector<std::string>{"GetOpenFileName"});
  EXPECT_EQ(offered, "REPORT.CSV");               // "/CF": the field's file name
  EXPECT_EQ(ValueOf("PATH"), "\\DATA\\NEW.CSV");  // without its drive
  EXPECT_EQ(Sent(kMsgFieldChosen).size(), 1u);
  // Cancelled: the field keeps its value, and the window still hears.
  answer = 0;
  ClearMessages(window());
  ASSERT_EQ(ShowFieldPopup(ItemNamed("PATH")), 0);
  EXPECT_EQ(ValueOf("PATH"), "\\DATA\\NEW.CSV");
  EXPECT_EQ(Sent(kMsgFieldChosen).size(), 1u);
}

TEST_F(PopupTest, FolderDialogPutsTheChosenFolderIntoTheField) {
  AddListField("FOLDER", 1, "FOLDERDLG,Choose a folder", 40);
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("FOLDER");
  char system[MAX_PATH];
  GetWindowsDirectoryA(system, sizeof system);
  ModalDialogRecorder dialogs([&](const ModalDialogCall& call) -> INT_PTR {
    EXPECT_EQ(static_cast<BROWSEINFOA*>(call.data)->ulFlags,
              static_cast<UINT>(BIF_RETURNONLYFSDIRS));
    return reinterpret_cast<INT_PTR>(ILCreateFromPathA(system));
  });
  ASSERT_EQ(ShowFieldPopup(ItemNamed("FOLDER")), 0);
  EXPECT_EQ(dialogs.kinds(), std::vector<std::string>{"SHBrowseForFolder"});
  EXPECT_STRCASEEQ(ValueOf("FOLDER").c_str(), system);
}

TEST_F(PopupTest, ImageFileDialogPutsTheChosenFileIntoTheField) {
  AddListField("IMAGE", 1, "IKOpenFileDlg,Choose an image,C:\\IMAGES,1", 30);
  ASSERT_GE(OpenScreenOf(), 0);
  FocusField("IMAGE");
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  ModalDialogRecorder dialogs([](const ModalDialogCall& call) -> INT_PTR {
    auto* dialog = static_cast<ImageFileDialog*>(call.data);
    EXPECT_STREQ(dialog->title, "Choose an image");
    EXPECT_STREQ(dialog->folder, "C:\\IMAGES");
    std::strcpy(dialog->path, "C:\\IMAGES\\SHEET.BMP");
    SetCurrentDirectoryA("C:\\");  // as the library's dialog leaves it
    return 1;
  });
  ASSERT_EQ(ShowFieldPopup(ItemNamed("IMAGE")), 0);
  EXPECT_EQ(dialogs.kinds(), std::vector<std::string>{"IKOpenFileDlg"});
  EXPECT_EQ(ValueOf("IMAGE"), "\\IMAGES\\SHEET.BMP");
  char after[MAX_PATH];
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STRCASEEQ(after, before);  // the program folder is current again
  EXPECT_EQ(Sent(kMsgFieldChosen).size(), 1u);
}

TEST_F(PopupTest, ContextMenusReportTheChosenEntry) {
  AddListField("FIELD", 1, "");
  ASSERT_GE(OpenScreenOf(), 0);
  // Opened while a right click is handled, at its point.
  g_screen.mouseMessageWindow = window();
  g_screen.mouseMessagePoint = POINT{120, 80};
  ASSERT_EQ(ShowItemContextMenu("Edit,Delete,Copy", 0), 0);
  g_screen.mouseMessageWindow = nullptr;
  RECT r;
  GetWindowRect(Sel(), &r);
  EXPECT_EQ(r.bottom - r.top, 3 * 24 + 6);  // rows of 24 pixels
  ClearMessages(window());
  PressKey(Sel(), VK_DOWN);
  PressKey(Sel(), VK_RETURN);
  const std::vector<ReceivedMessage> want = {{kMsgHeaderMenu, 41, 2}};
  EXPECT_EQ(Sent(kMsgHeaderMenu), want);
}

}  // namespace
