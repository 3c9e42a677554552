// The record images of the card form: the cut-outs the reading run saved
// for each read field ("%s\%s_%s.BMP": folder, code number, field name),
// shown beside the field (right of it or below it) so that the operator
// compares the read value with the handwriting. A card holds one image per
// field, loaded when a record is shown and freed when another is; a printed
// card places the same files beside its fields on the page.
#include <windows.h>

#include <cstdio>
#include <string>

#include "entry/card_form.h"
#include "entry/entry.h"
#include "screen/screen.h"
#include "tally/tally.h"

CardImageSettings g_cardImages;

namespace {

constexpr int kImageRight = 2;  // image placement of a field: right of it

// Where an image stands in the window: right of its field or below it.
RECT ImageRect(const CardRecordImage& shown, int slot) {
  const RECT field = ItemPixelRect(shown.item);
  const WindowSlot& s = Slot(slot);
  const bool fixed = IsFixedToWindow(slot, shown.item);
  const int dx = fixed ? 0 : s.scrollX, dy = fixed ? 0 : s.scrollY;
  RECT r;
  if (Item(shown.item).imagePlacement == kImageRight) {
    r.left = field.right + 1 - dx;
    r.top = field.top - dy;
  } else {
    r.left = field.left - dx;
    r.top = field.bottom + 1 - dy;
  }
  r.right = r.left + shown.width;
  r.bottom = r.top + shown.height;
  return r;
}

// A window DC given back at scope end.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The record image of a field for `code`: its file, or "" when the field
// shows none (no name, no image position, a button) or the reading saved
// none for it.
std::string RecordImagePath(const std::string& code, int i) {
  const ScreenItem& item = Item(i);
  if (item.fieldName.empty() || item.imagePlacement < 0 || IsButtonOrMark(item.kind)) return "";
  char path[MAX_PATH];
  std::snprintf(path, sizeof path, "%s\\%s_%s.BMP", g_cardImages.folder.c_str(), code.c_str(), item.name.c_str());
  return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES ? "" : path;
}

}  // namespace

void SetCardImageComparison(const char* folder, int sizePercent) {
  g_cardImages.folder = folder ? folder : "";
  g_cardImages.sizePercent = sizePercent > 0 ? sizePercent : 73;
}

void LoadCardImages(const std::string& code) {
  FreeCardImages();
  if (g_cardImages.folder.empty() || code.empty() || !IsValidSlot(g_cardForm.slot)) return;
  const WindowSlot& s = Slot(g_cardForm.slot);
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const std::string path = RecordImagePath(code, i);
    if (path.empty()) continue;
    const ImageHandle image = LoadImageUncached(path.c_str());
    if (!image) continue;
    int width = 0, height = 0;
    GetImageSize(image, &width, &height);
    g_cardForm.images.push_back({i, image, width * g_cardForm.imagePercent / 100, height * g_cardForm.imagePercent / 100});
  }
}

void PaintCardImages(HWND window) {
  if (g_cardForm.images.empty() || !IsValidSlot(g_cardForm.slot)) return;
  WindowDc dc(window);
  if (!dc.get()) return;
  for (const CardRecordImage& shown : g_cardForm.images) {
    if (shown.width > 0 && shown.height > 0) DrawImageInRect(dc.get(), shown.image, ImageRect(shown, g_cardForm.slot));
  }
}

void PrintCardImages(const std::string& code) {
  if (g_cardImages.folder.empty() || code.empty() || !IsValidSlot(g_cardForm.slot)) return;
  const WindowSlot& s = Slot(g_cardForm.slot);
  // Paper holds the handwriting at half the size the card shows it.
  const double sizeFactor = g_cardForm.imagePercent / 200.0;
  for (int i = s.firstItem; s.itemCount > 0 && i <= s.lastItem; ++i) {
    const std::string path = RecordImagePath(code, i);
    if (path.empty()) continue;
    const RECT field = ItemPixelRect(i);
    const bool right = Item(i).imagePlacement == kImageRight;
    // Screen pixels below the header band, as the screen page prints.
    const int x = right ? field.right + 1 : field.left;
    const int y = (right ? field.top : field.bottom + 1) - s.headerHeight;
    ReportImageCell(path.c_str(), x, y, -1, -1, sizeFactor);
  }
}

void FreeCardImages() {
  for (const CardRecordImage& shown : g_cardForm.images) DeleteImage(shown.image);
  g_cardForm.images.clear();
}
