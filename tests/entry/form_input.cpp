#include "tests/entry/form_input.h"

#include "screen/screen.h"
#include "tests/screen/screen_fixture.h"

std::string ShownText(int slot, const char* name) {
  const int item = ResolveFieldRef(slot, name);
  if (item < 0) return "<none>";
  std::string text = Item(item).displayText;
  while (!text.empty() && text.back() == ' ') text.pop_back();
  while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  return text;
}

void ClickItem(int slot, int item) {
  if (item < 0) return;
  const RECT r = ItemPixelRect(item);
  ClickAt(Slot(slot).window, r.left + 3 - Slot(slot).scrollX, r.top + 3 - Slot(slot).scrollY);
}

bool TypeIntoField(int slot, const char* name, const char* text) {
  const int item = ResolveFieldRef(slot, name);
  ClickItem(slot, item);
  if (item < 0 || g_screen.currentItem != item) return false;
  const HWND edit = Slot(slot).editControl;
  SendMessageA(edit, EM_SETSEL, 0, -1);
  TypeText(edit, text);
  return true;
}

bool ChangeScreenText(std::string* text, std::initializer_list<TextChange> changes) {
  for (const TextChange& change : changes) {
    const std::string from = change.from;
    const size_t at = text->find(from);
    if (at == std::string::npos) return false;
    text->replace(at, from.size(), change.to);
  }
  return true;
}
