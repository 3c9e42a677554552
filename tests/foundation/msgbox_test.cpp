#include "foundation/msgbox.h"

#include <string>

#include <gtest/gtest.h>

#include "tests/support/hook_recorder.h"

namespace {

// A plain top-level window that counts the WM_PAINT messages it gets.
class PaintCounter {
 public:
  PaintCounter() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &PaintCounter::Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "MsgboxTestWindow";
    RegisterClassA(&wc);
    window_ = CreateWindowA("MsgboxTestWindow", "test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                            200, 100, nullptr, nullptr, wc.hInstance, nullptr);
    SetActiveWindow(window_);
    Drain();
    paints_ = 0;
  }
  ~PaintCounter() { DestroyWindow(window_); }
  HWND window() const { return window_; }
  int paints() const { return paints_; }

 private:
  static void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
      ++paints_;
      PAINTSTRUCT ps;
      BeginPaint(w, &ps);
      EndPaint(w, &ps);
      return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
  }
  HWND window_;
  static inline int paints_ = 0;
};

TEST(MessageBoxes, EachKindShowsItsFlagsAndRepaintsAsPromised) {
  PaintCounter window;
  ASSERT_EQ(GetActiveWindow(), window.window());
  struct Case {
    const char* what;
    int (*show)();
    UINT flags;
    bool repaints;
    int answer;
  };
  const Case cases[] = {
      {"info", [] { return ShowInfoMessage("Control", "%d件", 3); }, 0x40040, true, IDOK},
      {"error", [] { ShowErrorMessage("Control", "%d件", 3); return 0; }, 0x40010, true, IDOK},
      {"question", [] { return AskYesNo("Control", "%d件", 3); }, 0x40024, true, IDYES},
      {"question, no redraw", [] { return AskYesNoNoRedraw("Control", "%d件", 3); }, 0x40024,
       false, IDNO},
      {"question with cancel", [] { return AskYesNoCancel("Control", "%d件", 3); }, 0x40023, true,
       IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MessageBoxRecorder boxes;
    boxes.Answer(c.answer);
    const int before = window.paints();
    const int result = c.show();
    ASSERT_EQ(boxes.calls().size(), 1u);
    const MessageBoxCall& call = boxes.calls()[0];
    EXPECT_EQ(call.owner, window.window());
    EXPECT_EQ(call.caption, "Control");
    EXPECT_EQ(call.text, "3件");
    EXPECT_EQ(call.flags, c.flags);
    EXPECT_EQ(window.paints() - before, c.repaints ? 1 : 0);
    if (c.flags != 0x40040 && c.flags != 0x40010) {
      EXPECT_EQ(result, c.answer);
    }
  }
}

TEST(MessageBoxes, TextWithoutPlaceholdersAndOverlongTexts) {
  MessageBoxRecorder boxes;
  ShowInfoMessage("", "そのまま: no placeholders");
  std::string longText(6000, 'x');
  longText += "表";
  ShowInfoMessage("", "%s", longText.c_str());
  ASSERT_EQ(boxes.calls().size(), 2u);
  EXPECT_EQ(boxes.calls()[0].text, "そのまま: no placeholders");
  EXPECT_EQ(boxes.calls()[0].caption, "");
  EXPECT_EQ(boxes.calls()[1].text.size(), static_cast<size_t>(kMessageTextSize - 1));
}

TEST(MessageBoxes, WorkbenchBoxIsOwnedByTheWorkbench) {
  PaintCounter workbench;
  SetWorkbenchWindow(workbench.window());
  MessageBoxRecorder boxes;
  ShowWorkbenchMessage("読取", "%s", "終了");
  SetWorkbenchWindow(nullptr);
  ASSERT_EQ(boxes.calls().size(), 1u);
  EXPECT_EQ(boxes.calls()[0].owner, workbench.window());
  EXPECT_EQ(boxes.calls()[0].flags, 0x40040u);
  EXPECT_EQ(workbench.paints(), 0);
}

// The real box, closed from a CBT hook: what a person would see. (Wine does
// not mark boxes WS_EX_TOPMOST, so MB_TOPMOST is checked through the hook.)
struct SeenBox {
  std::string caption;
  std::string text;
  int press = IDOK;
};
SeenBox g_seen;
HHOOK g_cbtHook;

BOOL CALLBACK FindStaticText(HWND child, LPARAM) {
  char cls[32], text[256];
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) {
    g_seen.text = text;
  }
  return TRUE;
}

HWND g_box;

// Runs inside the box's own modal loop, once the box is fully set up.
void CALLBACK InspectAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  char caption[256];
  GetWindowTextA(g_box, caption, sizeof caption);
  g_seen.caption = caption;
  EnumChildWindows(g_box, FindStaticText, 0);
  PostMessageA(g_box, WM_COMMAND, g_seen.press, 0);
}

LRESULT CALLBACK CloseBoxOnActivate(int code, WPARAM wp, LPARAM lp) {
  if (code == HCBT_ACTIVATE && !g_box) {
    g_box = reinterpret_cast<HWND>(wp);
    SetTimer(nullptr, 0, 10, InspectAndClose);
  }
  return CallNextHookEx(g_cbtHook, code, wp, lp);
}

TEST(MessageBoxes, RealBoxShowsCaptionAndText) {
  struct Case {
    const char* what;
    int (*show)();
    int press;
  };
  const Case cases[] = {
      {"info", [] { return ShowInfoMessage("DATA-BASE", "表%s", "ソ"); }, IDOK},
      {"question answered No", [] { return AskYesNo("DATA-BASE", "表%s", "ソ"); }, IDNO},
      {"question answered Cancel", [] { return AskYesNoCancel("DATA-BASE", "表%s", "ソ"); }, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_seen = {};
    g_seen.press = c.press;
    g_box = nullptr;
    g_cbtHook = SetWindowsHookExA(WH_CBT, CloseBoxOnActivate, nullptr, GetCurrentThreadId());
    const int result = c.show();
    UnhookWindowsHookEx(g_cbtHook);
    EXPECT_EQ(g_seen.caption, "DATA-BASE");
    EXPECT_EQ(g_seen.text, "表ソ");
    if (c.press != IDOK) {
      EXPECT_EQ(result, c.press);
    }
  }
}

}  // namespace
