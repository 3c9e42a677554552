// Entries of IK7FILE and their ImageKit-5 counterparts in Ik5File: image
// files and the file dialog for images.
#include "platform/imaging_library.h"  // windows.h before commdlg.h

#include <commdlg.h>

#include <cstring>

#include "platform/image_files.h"

namespace {

constexpr char kImageFilter[] =
    "イメージファイル (*.bmp;*.tif;*.png;*.jpg;*.gif)\0*.bmp;*.tif;*.tiff;*.png;*.jpg;*.jpeg;*.gif\0"
    "すべてのファイル (*.*)\0*.*\0";

BOOL ChooseImageFile(HWND owner, char* path, const char* folder, const char* fileName,
                     const char* title) {
  if (!path) return FALSE;
  path[0] = '\0';
  const bool namesFile = fileName && *fileName &&
                         !(GetFileAttributesA(fileName) & FILE_ATTRIBUTE_DIRECTORY);
  if (namesFile && std::strlen(fileName) < MAX_PATH) std::strcpy(path, fileName);
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kImageFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = folder && *folder ? folder : nullptr;
  dialog.lpstrTitle = title && *title ? title : nullptr;
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  return GetOpenFileNameA(&dialog);
}

}  // namespace

HGLOBAL IK_CALL IKFileLoad(const char* path, int page, int reserved1, int reserved2,
                           int reserved3, int* fileType, int* pageCount, int* bitsPerPixel) {
  if (reserved1 || reserved2 || reserved3) return nullptr;
  return LoadImageFilePage(path, page, kIkFileUnknown, fileType, pageCount, bitsPerPixel);
}

int IK_CALL IKFileType(const char* path, int page, IKFileInfo* info) {
  return ReadImageFileInfo(path, page, info);
}

HGLOBAL IK_CALL IKBmpFileLoad(const char* path) {
  return LoadImageFilePage(path, 0, kIkFileBmp, nullptr, nullptr, nullptr);
}

BOOL IK_CALL IKBmpFileSave(const char* path, HGLOBAL image) {
  return SaveImageFile(path, image, SaveFormat::kBmp, false, kIkTiffNone);
}

HGLOBAL IK_CALL IKTiffFileLoad(const char* path, int page) {
  return LoadImageFilePage(path, page, kIkFileTiff, nullptr, nullptr, nullptr);
}

BOOL IK_CALL IKTiffFileSave(const char* path, HGLOBAL image, int compression, int reserved,
                            int append) {
  if (reserved) return FALSE;
  return SaveImageFile(path, image, SaveFormat::kTiff, append != 0, compression);
}

BOOL IK_CALL IKOpenFileDlg(HWND owner, char* path, const char* folder, const char* fileName,
                           const char* title) {
  return ChooseImageFile(owner, path, folder, fileName, title);
}

HGLOBAL IK_CALL IK5FileLoad(const char* path, int page, int* fileType) {
  return LoadImageFilePage(path, page, kIkFileUnknown, fileType, nullptr, nullptr);
}

int IK_CALL IK5FileType(const char* path, int page, IK5FileInfo* info) {
  IKFileInfo full;
  const int type = ReadImageFileInfo(path, page, &full);
  if (type && info) {
    std::memcpy(info, &full, offsetof(IK5FileInfo, bitsPerPixel));
    info->bitsPerPixel = full.bitsPerPixel;
    info->pageCount = full.pageCount;
  }
  return type;
}

HGLOBAL IK_CALL IK5BmpFileLoad(const char* path) { return IKBmpFileLoad(path); }

BOOL IK_CALL IK5BmpFileSave(const char* path, HGLOBAL image) {
  return IKBmpFileSave(path, image);
}

HGLOBAL IK_CALL IK5TiffFileLoad(const char* path, int page) { return IKTiffFileLoad(path, page); }

BOOL IK_CALL IK5TiffFileSave(const char* path, HGLOBAL image, int compression, int append) {
  return IKTiffFileSave(path, image, compression, 0, append);
}

BOOL IK_CALL IK5OpenFileDlg(HWND owner, char* path, const char* folder, const char* title) {
  return ChooseImageFile(owner, path, folder, nullptr, title);
}
