// Image operations on files for the reading run and the designer: turning
// a page file, saving a cut-out, BMP to TIFF; and resource icons.
#include <cstring>
#include <string>

#include "foundation/image_cache.h"
#include "foundation/imaging.h"
#include "foundation/msgbox.h"
#include "foundation/sjis_text.h"

namespace {

constexpr int kHalfTurnDegrees = 180;
constexpr char kTurnedSuffix[] = ".~turn";

int TurnImageFile(const char* fileName, int degrees) {
  if (!ImagingEntriesReady({kIKFileLoad, kIKRotation, kIKBmpFileSave, kIKFreeMemory})) return -1;
  ImageHandle image = IkFileLoad(fileName);
  if (!image) {
    ShowInfoMessage("", "イメージ“%s”をロードできません。", fileName);
    return -1;
  }
  ImageHandle turned = RotateImage(image, degrees * 100);
  IkFreeMemory(image);
  // The turned page goes to a file of its own first: the original is only
  // replaced by a complete save.
  const std::string temporary = std::string(fileName) + kTurnedSuffix;
  const bool saved = turned && IkBmpFileSave(temporary.c_str(), turned) &&
                     MoveFileExA(temporary.c_str(), fileName, MOVEFILE_REPLACE_EXISTING);
  if (turned) IkFreeMemory(turned);
  if (!saved) {
    DeleteFileA(temporary.c_str());
    ShowInfoMessage("", "“%s”をセーブできません。", fileName);
    return -1;
  }
  return 0;
}

}  // namespace

ImageHandle RotateImage(ImageHandle image, int angle) {
  return IkRotation(image, angle, 255, 255, 255);
}

int ResizeImageFile(const char* fileName, int degrees) { return TurnImageFile(fileName, degrees); }

int RotateImageFile(const char* fileName, int degrees) {
  return TurnImageFile(fileName, degrees + kHalfTurnDegrees);
}

int DrawImageRect(ImageHandle image, int x, int y, int width, int height, const char* fileName) {
  if (!ImagingEntriesReady({kIKSelectImage, kIKBmpFileSave, kIKFreeMemory})) return -1;
  const POINT polygon[5] = {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}, {x, y}};
  HGLOBAL mask = nullptr;
  HGLOBAL cut = IkSelectImage(image, kIkSelectPolygon, polygon, 5, &mask);
  if (!cut) return -1;
  const bool saved = IkBmpFileSave(fileName, cut);
  IkFreeMemory(cut);
  if (mask) IkFreeMemory(mask);
  return saved ? 0 : -1;
}

int ConvertImageFileToBmp(const char* bmpFile, const char* tiffFile, int value) {
  if (!bmpFile) return 0;
  std::string extension(std::strlen(bmpFile) + 1, '\0');
  GetFileExtensionUpper(&extension[0], bmpFile);
  if (std::strcmp(extension.c_str(), "BMP") != 0) return 0;
  if (!ImagingEntriesReady({kIKBmpFileLoad, kIKTiffFileSave, kIKFreeMemory})) return -1;
  ImageHandle image = IkBmpFileLoad(bmpFile);
  if (!image) {
    ShowInfoMessage("", "イメージ“%s”をロードできません。", bmpFile);
    return -1;
  }
  const bool saved = IkTiffFileSave(tiffFile, image, kIkTiffGroup4, value);
  DeleteImage(image);
  return saved ? 0 : -1;
}

HICON LoadAppIcon(const char* name) {
  HWND active = GetActiveWindow();
  HINSTANCE instance = active ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(active, GWLP_HINSTANCE))
                              : GetModuleHandleA(nullptr);
  return LoadIconA(instance, name);
}

void DrawIconAt(HDC dc, HICON icon, int x, int y, int width, int height) {
  if (width == -1 || height == -1) {
    DrawIcon(dc, x, y, icon);
  } else {
    DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
  }
}
