// The dialog is built in memory, as the libraries carry no resources: a
// list of the names with the first selected, OK and キャンセル.
#include "platform/scan_choice.h"

#include <cstdint>

namespace {

constexpr WORD kListId = 100;

struct Choice {
  const std::vector<std::string>* names;
  int chosen = -1;
};

// Appends a 16-bit text in the form the dialog template holds its texts.
void AppendText(std::vector<WORD>* words, const char* text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::vector<wchar_t> wide(length > 0 ? length : 1, L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  words->insert(words->end(), wide.begin(), wide.end());
}

void AlignToDword(std::vector<WORD>* words) {
  if (words->size() % 2) words->push_back(0);
}

// One control: its template, the class given by its atom (0x0080 button,
// 0x0083 list box).
void AppendItem(std::vector<WORD>* words, DWORD style, short x, short y, short cx, short cy,
                WORD id, WORD atom, const char* text) {
  AlignToDword(words);
  DLGITEMTEMPLATE item = {style | WS_CHILD | WS_VISIBLE, 0, x, y, cx, cy, id};
  const auto* raw = reinterpret_cast<const WORD*>(&item);
  words->insert(words->end(), raw, raw + sizeof item / sizeof(WORD));
  words->push_back(0xFFFF);
  words->push_back(atom);
  AppendText(words, text);
  words->push_back(0);  // no creation data
}

std::vector<WORD> DialogTemplate() {
  std::vector<WORD> words;
  DLGTEMPLATE dialog = {DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        0, 3, 0, 0, 200, 120};
  const auto* raw = reinterpret_cast<const WORD*>(&dialog);
  words.insert(words.end(), raw, raw + sizeof dialog / sizeof(WORD));
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  AppendText(&words, kScannerChoiceCaption);
  words.push_back(9);
  AppendText(&words, "MS UI Gothic");
  AppendItem(&words, LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 7, 7, 186, 84, kListId,
             0x0083, "");
  AppendItem(&words, BS_DEFPUSHBUTTON | WS_TABSTOP, 86, 98, 50, 14, IDOK, 0x0080, "OK");
  AppendItem(&words, BS_PUSHBUTTON | WS_TABSTOP, 143, 98, 50, 14, IDCANCEL, 0x0080,
             "キャンセル");
  return words;
}

INT_PTR CALLBACK ChoiceProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* choice = reinterpret_cast<Choice*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      choice = reinterpret_cast<Choice*>(lParam);
      HWND list = GetDlgItem(dialog, kListId);
      for (const std::string& name : *choice->names) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
      }
      SendMessageA(list, LB_SETCURSEL, 0, 0);
      SetFocus(list);
      return FALSE;
    }
    case WM_COMMAND: {
      const WORD id = LOWORD(wParam);
      const bool picked =
          id == IDOK || (id == kListId && HIWORD(wParam) == LBN_DBLCLK);
      if (picked) {
        choice->chosen = static_cast<int>(SendDlgItemMessageA(dialog, kListId, LB_GETCURSEL, 0, 0));
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int ChooseScanner(HWND owner, const std::vector<std::string>& names) {
  if (names.empty()) return -1;
  const std::vector<WORD> words = DialogTemplate();
  Choice choice{&names};
  const INT_PTR answer = DialogBoxIndirectParamA(
      GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(words.data()), owner,
      ChoiceProc, reinterpret_cast<LPARAM>(&choice));
  if (answer != IDOK || choice.chosen < 0 || choice.chosen >= static_cast<int>(names.size())) {
    return -1;
  }
  return choice.chosen;
}
