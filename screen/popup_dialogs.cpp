// The file, folder and image-file dialogs a field offers through its choice
// list. The chosen path (without its drive when the list asks so, cut to
// the field's length) becomes the field's value; the slot's window hears
// of it (1127) whatever the answer. The dialogs run through the modal-dialog
// hook, so tests answer them.
#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/bounded_format.h"
#include "foundation/files.h"
#include "foundation/imaging.h"
#include "foundation/sjis_text.h"
#include "foundation/test_hooks.h"
#include "screen/popup_internal.h"

namespace {

// Whole paths: a file deep below its drive is chosen like any other.
constexpr int kDialogBufferSize = MAX_PATH;

std::string Argument(const ChoiceList& list, size_t k) {
  return k < list.dialogArguments.size() ? list.dialogArguments[k] : std::string();
}

// "NAME.EXT" of the field's current value (a path).
std::string CurrentFileName(int item) {
  const std::string& value = Item(item).displayText;
  std::vector<char> base(value.size() + 1), extension(value.size() + 1);
  GetFileBaseName(base.data(), value.c_str());
  GetFileExtension(extension.data(), value.c_str());
  if (!extension[0]) return base.data();
  return std::string(base.data()) + "." + extension.data();
}

// The filter pairs of GetOpenFileName: "|" separates them in the list.
std::string FilterText(const std::string& filter) {
  std::string pairs;
  for (size_t k = 0; k < filter.size();) {
    const int bytes = SjisCharLength(filter.c_str() + k);
    pairs += bytes == 1 && filter[k] == '|' ? '\0' : filter[k];
    if (bytes == 2) pairs += filter[k + 1];
    k += bytes;
  }
  pairs.append(2, '\0');
  return pairs;
}

void TakePath(int item, std::string path, bool dropDrive) {
  if (dropDrive && path.size() >= 2 && path[1] == ':') path.erase(0, 2);
  const int length = Item(item).length > 0 ? Item(item).length : static_cast<int>(path.size());
  path.resize(CharBoundaryLength(path.c_str(), std::min<int>(length, path.size())));
  SetItemValueAt(g_screen.currentSlot, item, path.c_str());
  MarkFieldEdited();
}

INT_PTR RunOpenFileName(void* data) { return GetOpenFileNameA(static_cast<OPENFILENAMEA*>(data)); }

INT_PTR RunBrowseForFolder(void* data) {
  return reinterpret_cast<INT_PTR>(SHBrowseForFolderA(static_cast<BROWSEINFOA*>(data)));
}

void ChooseFile(int item, const ChoiceList& list) {
  char file[kDialogBufferSize] = "";
  char title[kDialogBufferSize] = "";
  std::string name = Argument(list, 1);
  if (name == "/CF") name = CurrentFileName(item);
  FormatTextBounded(file, sizeof file, "%s", name.c_str());
  const std::string caption = Argument(list, 0);
  const std::string filter = FilterText(Argument(list, 2));
  const std::string folder = Argument(list, 3);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = sizeof title;
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (RunModalDialog("GetOpenFileName", &ofn, RunOpenFileName)) {
    TakePath(item, file, Argument(list, 4) == "1");
  }
}

void ChooseFolder(int item, const ChoiceList& list) {
  const std::string caption = Argument(list, 0);
  char display[MAX_PATH] = "";
  BROWSEINFOA info{};
  info.hwndOwner = GetActiveWindow();
  info.pszDisplayName = display;
  info.lpszTitle = caption.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  const auto items = reinterpret_cast<LPITEMIDLIST>(
      RunModalDialog("SHBrowseForFolder", &info, RunBrowseForFolder));
  if (!items) return;
  char path[MAX_PATH] = "";
  const bool found = SHGetPathFromIDListA(items, path) != FALSE;
  CoTaskMemFree(items);
  if (found) TakePath(item, path, false);
}

void ChooseImageFile(int item, const ChoiceList& list) {
  const std::string title = Argument(list, 0);
  const std::string folder = Argument(list, 1);
  ImageFileDialog dialog;
  dialog.owner = GetActiveWindow();
  dialog.folder = folder.c_str();
  dialog.fileName = folder.c_str();
  dialog.title = title.c_str();
  const bool chosen = IkOpenFileDlg(&dialog);
  SetCurrentDirectoryA(GetProgramFolder().c_str());
  if (chosen) TakePath(item, dialog.path, Argument(list, 2) == "1");
}

}  // namespace

int RunFieldFileDialog(int item, const ChoiceList& list) {
  switch (list.kind) {
    case ChoiceListKind::kFileDialog: ChooseFile(item, list); break;
    case ChoiceListKind::kFolderDialog: ChooseFolder(item, list); break;
    case ChoiceListKind::kImageFileDialog: ChooseImageFile(item, list); break;
    default: return 0;
  }
  const int slot = g_screen.currentSlot;
  if (Slot(slot).window) {
    SendMessageA(Slot(slot).window, kMsgFieldChosen, Item(item).keyCode & 0xFFFF,
                 g_screen.fieldEdited);
  }
  return 0;
}
