#include "tests/platform/window_answers.h"

#include <cstring>

#include "platform/scan_choice.h"

namespace {

WindowAnswers* g_answers = nullptr;

void PostKey(HWND window, UINT key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// A message box's text: the longest of its static texts (the other holds
// the icon).
std::string BoxText(HWND box) {
  std::string text;
  for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
       child = FindWindowExA(box, child, "Static", nullptr)) {
    char part[512] = "";
    GetWindowTextA(child, part, sizeof part);
    if (std::strlen(part) > text.size()) text = part;
  }
  return text;
}

}  // namespace

WindowAnswers::WindowAnswers() {
  g_answers = this;
  hook_ = SetWindowsHookExA(WH_CBT, Watch, nullptr, GetCurrentThreadId());
}

WindowAnswers::~WindowAnswers() {
  UnhookWindowsHookEx(hook_);
  g_answers = nullptr;
}

// Answered from a timer: the dialog is still being activated when the hook
// sees it.
void CALLBACK WindowAnswers::Answer(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (!g_answers) return;
  WindowAnswers& a = *g_answers;
  const HWND window = a.waiting_;
  a.answered_ = window;
  a.waiting_ = nullptr;
  if (!IsWindow(window)) return;
  char caption[128] = "";
  GetWindowTextA(window, caption, sizeof caption);
  if (std::string(caption) == kScannerChoiceCaption) {
    ++a.choiceWindows;
    HWND list = FindWindowExA(window, nullptr, "ListBox", nullptr);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    a.choices.clear();
    for (int i = 0; i < count; ++i) {
      char name[128] = "";
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
      a.choices.push_back(name);
    }
    if (a.key) PostKey(list, a.key);
    if (a.key != VK_ESCAPE) PostKey(list, VK_RETURN);
  } else {
    a.boxes.push_back(BoxText(window));
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  }
}

LRESULT CALLBACK WindowAnswers::Watch(int code, WPARAM wp, LPARAM lp) {
  WindowAnswers* a = g_answers;
  const HWND window = reinterpret_cast<HWND>(wp);
  if (code == HCBT_ACTIVATE && a && !a->waiting_ && window != a->answered_) {
    char kind[32] = "";
    GetClassNameA(window, kind, sizeof kind);
    if (std::string(kind) == "#32770") {
      a->waiting_ = window;
      SetTimer(nullptr, 0, 10, Answer);
    }
  }
  return CallNextHookEx(a ? a->hook_ : nullptr, code, wp, lp);
}
