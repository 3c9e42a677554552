// The record images of the card form: the cut-outs the reading run saved
// for each read field ("%s\%s_%s.BMP": folder, code number, field name),
// shown beside the field (right of it or below it) so that the operator
// compares the read value with the handwriting. A card holds one image per
// field, loaded when a record is shown and freed when another is.
#include <windows.h>

#include <cstdio>
#include <string>

#include "entry/card_form.h"
#include "entry/entry.h"
#include "screen/screen.h"

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
    const ScreenItem& item = Item(i);
    if (item.fieldName.empty() || item.imagePlacement < 0 || IsButtonOrMark(item.kind)) continue;
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s\\%s_%s.BMP", g_cardImages.folder.c_str(), code.c_str(), item.name.c_str());
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) continue;  // a field read without an image
    const ImageHandle image = LoadImageUncached(path);
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

void FreeCardImages() {
  for (const CardRecordImage& shown : g_cardForm.images) DeleteImage(shown.image);
  g_cardForm.images.clear();
}
