// The search window "Sch" of the list: a text searched for in one column,
// upwards or downwards from the current line. The last text and direction
// are kept in SEARCH.TXT of the program folder.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "entry/entry.h"
#include "entry/list_form.h"
#include "foundation/db.h"
#include "foundation/files.h"
#include "foundation/sjis_text.h"
#include "screen/screen.h"

namespace {

constexpr int kRunCommand = 112;
constexpr int kDirectionCommand = 201;
constexpr int kUpwards = 1, kDownwards = 2;
constexpr char kTextField[] = "検索文字列";

struct SearchWindowState {
  HWND window = nullptr;
  HWND owner = nullptr;
  int slot = -1;
  int column = 0;
  std::string text;
  int direction = kDownwards;
};
SearchWindowState g_search;

std::string SearchFile() { return GetProgramFolder() + "\\SEARCH.TXT"; }

void LoadLastSearch() {
  g_search.text.clear();
  g_search.direction = kDownwards;
  std::FILE* file = std::fopen(SearchFile().c_str(), "rb");
  if (!file) return;
  char line[260] = "";
  if (std::fgets(line, sizeof line, file)) {
    g_search.text = line;
    while (!g_search.text.empty() && (g_search.text.back() == '\n' || g_search.text.back() == '\r')) g_search.text.pop_back();
  }
  if (std::fgets(line, sizeof line, file) && std::atoi(line) == kUpwards) g_search.direction = kUpwards;
  std::fclose(file);
}

void SaveLastSearch() {
  std::FILE* file = std::fopen(SearchFile().c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "%s\n%d\n", g_search.text.c_str(), g_search.direction);
  std::fclose(file);
}

// Whether `value` holds `text` starting at a character boundary: a one-byte
// text never matches the trail byte of a double-byte character.
bool ContainsText(const char* value, const std::string& text) {
  if (text.empty()) return value[0] == '\0';
  const size_t length = text.size();
  for (const char* p = value; *p; p += SjisCharLength(p)) {
    if (std::strncmp(p, text.c_str(), length) == 0) return true;
  }
  return false;
}

bool Matches(const ListColumn& column, int t, const std::string& text) {
  switch (column.dbType) {
    case kColumnShort:
    case kColumnLong:
    case kColumnDouble:
      return !text.empty() && GetColumnDouble(t, column.name.c_str()) == std::atof(text.c_str());
    default:
      return ContainsText(GetColumnAsText(t, column.name.c_str()), text);
  }
}

void CloseSearchWindow(bool search) {
  if (!IsValidSlot(g_search.slot)) return;
  const int slot = g_search.slot;
  TakeTypedValue();
  char text[600] = "";
  GetItemRawValue(slot, kTextField, text);
  g_search.text = text;
  g_search.slot = -1;
  if (g_search.owner) EnableWindow(g_search.owner, TRUE);
  CloseScreenWindow(slot, 1);
  if (!search) return;
  SaveLastSearch();
  SearchListColumn(g_search.column, g_search.text, g_search.direction);
}

LRESULT CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ScreenChildWndProc(window, message, wParam, lParam);
  switch (message) {
    case WM_PAINT:
      if (PaintSlotWindow(window, g_search.slot)) return 0;
      break;
    case kMsgSlotOpened:
      g_search.slot = static_cast<int>(wParam);
      SetItemValueForCommand(g_search.slot, kTextField, g_search.text.c_str());
      SetItemValueForCommand(g_search.slot, "DIRECTION", g_search.direction == kUpwards ? "1" : "2");
      return 0;
    case kMsgScreenCommand:
      if (wParam == static_cast<WPARAM>(kKeyEscape)) {
        CloseSearchWindow(false);
      } else if (wParam == static_cast<WPARAM>(kRunCommand) || wParam == VK_RETURN) {
        CloseSearchWindow(true);
      } else if (wParam == static_cast<WPARAM>(kDirectionCommand)) {
        char value[8] = "";
        GetItemValueForCommand(g_search.slot, "DIRECTION", value);
        g_search.direction = value[0] == '1' ? kUpwards : kDownwards;
        const int find = ResolveFieldRef(g_search.slot, "FIND");
        if (find >= 0) {
          Item(find).caption = g_search.direction == kUpwards ? "FINDUP.BMP" : "FINDDW.BMP";
          RepaintCurrentWindow();
        }
      }
      return 0;
    case kMsgCloseWindow:
    case WM_CLOSE:
      CloseSearchWindow(false);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The two directions, one under the other.
int AddDirectionRadio() {
  const char* choices = "上側を探す,下側を探す";
  const int i = AddScreenRadio("", "DIRECTION", 2, 3, 0, 30, 0, 0, kDirectionCommand, kItemEnabled, "", choices, "");
  if (i < 0) return -1;
  SetItemValue(i, choices);
  Item(i).pixelHeight = 3 * (3 * kBaseCharWidth + 1);
  return i;
}

}  // namespace

HWND RegisterSearchWindow() {
  g_search.window = CreateHiddenWindow({"Sch", SearchWindowProc, CS_HREDRAW | CS_VREDRAW, WS_POPUPWINDOW | WS_DLGFRAME});
  return g_search.window;
}

int OpenSearchWindow(int column) {
  if (!g_search.window || IsValidSlot(g_search.slot)) return -1;
  if (column < 0 || column >= static_cast<int>(g_list.columns.size())) return -1;
  LoadLastSearch();
  g_search.column = column;
  const ListColumn& c = g_list.columns[column];
  const int width = std::max(c.width, 10);
  const int columns = std::max(36, width + 6);
  if (AddScreenButton("ｷｬﾝｾﾙ", "QUIT", 2, 0, 1, kKeyEscape, kItemEnabled, "QUIT_S.BMP", "", "") < 0 ||
      AddScreenButton("実 行", "FIND", 10, 0, 1, kRunCommand, kItemEnabled,
                      g_search.direction == kUpwards ? "FINDUP.BMP" : "FINDDW.BMP", "", "") < 0 ||
      AddDirectionRadio() < 0 ||
      AddScreenItem(kTextField, kTextField, 12, 7, 0, width, std::max(c.width, 1), 0, 'X', 0, 0, 0, 'L', kItemEnabled,
                    0, 1, 0, 0, "", "") < 0) {
    DiscardBuildingItems();
    return -1;
  }
  g_search.owner = IsValidSlot(g_listForm.slot) ? Slot(g_listForm.slot).window : nullptr;
  if (g_search.owner) EnableWindow(g_search.owner, FALSE);
  if (OpenScreenWindow(g_search.window, -2, -2, columns * 8, 240, 0, 0, 1, 1, 0, c.title.c_str()) != 0) {
    if (g_search.owner) EnableWindow(g_search.owner, TRUE);
    return -1;
  }
  return 0;
}

int SearchListColumn(int column, const std::string& text, int direction) {
  const int t = g_listForm.tableSlot;
  if (!g_listForm.dataSetOpen || column < 0 || column >= static_cast<int>(g_list.columns.size())) return -1;
  int line = 1, c = 0;
  ListCellOfItem(g_screen.currentItem, &c, &line);
  std::string from = LineKey(line);
  if (from.empty()) from = LineKey(1);
  int rc = from.empty() ? -1 : db_find_key_first(t, from.c_str(), g_listForm.keyNumber);
  while (rc == 0) {
    rc = direction == kUpwards ? db_pread(t) : db_nread(t);
    if (rc == 0 && Matches(g_list.columns[column], t, text)) {
      const std::string key = GetColumnText(t, g_listForm.keyColumn.c_str());
      SeekListRecord(key.c_str());
      return 0;
    }
  }
  SeekListRecord(LineKey(1).c_str());
  return -1;
}
