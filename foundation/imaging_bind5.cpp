// The binding of sheetdesk5: the ImageKit-5 functions, linked by import,
// put into the table in the places of their ImageKit-7 counterparts.
// Functions whose argument lists or records differ reach the table through
// adapters of the ImageKit-7 form.
#include <cstring>

#include "foundation/imaging.h"

namespace {

HGLOBAL IK_CALL FileLoadBy5(const char* path, int page, int, int, int, int* fileType, int*,
                            int*) {
  return IK5FileLoad(path, page, fileType);
}

int IK_CALL FileTypeBy5(const char* path, int page, IKFileInfo* info) {
  IK5FileInfo small;
  const int type = IK5FileType(path, page, &small);
  if (type && info) {
    *info = IKFileInfo{};
    std::memcpy(info, &small, offsetof(IK5FileInfo, bitsPerPixel));
    info->bitsPerPixel = small.bitsPerPixel;
    info->pageCount = small.pageCount;
  }
  return type;
}

BOOL IK_CALL TiffFileSaveBy5(const char* path, HGLOBAL image, int compression, int,
                             int append) {
  return IK5TiffFileSave(path, image, compression, append);
}

BOOL IK_CALL OpenFileDlgBy5(HWND owner, char* path, const char* folder, const char*,
                            const char* title) {
  return IK5OpenFileDlg(owner, path, folder, title);
}

BOOL IK_CALL ImageOutBy5(HDC dc, HGLOBAL image, const RECT* target, const RECT* source, DWORD,
                         int) {
  return IK5ImageOut(dc, image, target, source);
}

int IK_CALL ScanListBy5(HANDLE, char* name, int size) { return IK5ScanList(name, size); }

// The ImageKit-5 block carries no brightness, scale or settings screen.
int IK_CALL ScanExecBy5(HWND owner, const IKScanParams* params, IKScanPageProc callback) {
  if (!params) return kIkScanFailed;
  IK5ScanParams small = {};
  small.size = sizeof small;
  std::memcpy(small.scanner, params->scanner, sizeof small.scanner);
  small.sides = params->sides;
  small.dropOutColor = params->dropOutColor;
  small.paperCode = params->paperCode;
  small.xResolution = params->xResolution;
  small.yResolution = params->yResolution;
  small.blackAndWhite = params->blackAndWhite;
  return IK5ScanExec(owner, &small, callback);
}

// Puts `function` at `index`; `Fn`, the type of the ImageKit-7 entry,
// makes the compiler check that the two agree.
template <class Fn>
void Put(int index, Fn function) {
  g_imageKit.entries[index] = reinterpret_cast<ImageKitEntry>(function);
}

}  // namespace

void BindImagingLibrary() {
  ClearImagingTable();
  Put<decltype(&IKFileLoad)>(kIKFileLoad, FileLoadBy5);
  Put<decltype(&IKFileType)>(kIKFileType, FileTypeBy5);
  Put<decltype(&IKBmpFileLoad)>(kIKBmpFileLoad, IK5BmpFileLoad);
  Put<decltype(&IKBmpFileSave)>(kIKBmpFileSave, IK5BmpFileSave);
  Put<decltype(&IKTiffFileLoad)>(kIKTiffFileLoad, IK5TiffFileLoad);
  Put<decltype(&IKTiffFileSave)>(kIKTiffFileSave, TiffFileSaveBy5);
  Put<decltype(&IKOpenFileDlg)>(kIKOpenFileDlg, OpenFileDlgBy5);
  Put<decltype(&IKGetImageType)>(kIKGetImageType, IK5GetImageType);
  Put<decltype(&IKFreeMemory)>(kIKFreeMemory, IK5FreeMemory);
  Put<decltype(&IKImageOut)>(kIKImageOut, ImageOutBy5);
  Put<decltype(&IKRotation)>(kIKRotation, IK5Rotation);
  Put<decltype(&IKSelectImage)>(kIKSelectImage, IK5SelectImage);
  Put<decltype(&IKScanList)>(kIKScanList, ScanListBy5);
  Put<decltype(&IKScanExec)>(kIKScanExec, ScanExecBy5);
}

void UnbindImagingLibrary() {
  IK5EndImaging();
  ClearImagingTable();
}

int ImagingLibraryVersion() { return 5; }
