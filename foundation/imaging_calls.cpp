// Checked calls of the imaging library's entries, for both builds: each
// takes its entry from the table only after ImagingEntriesReady.
#include "foundation/imaging.h"
#include "foundation/test_hooks.h"

namespace {

// The entry at `index` as the function type of the entry `Fn` names.
template <class Fn>
Fn Entry(int index) {
  return reinterpret_cast<Fn>(g_imageKit.entries[index]);
}

INT_PTR RunImageFileDialog(void* data) {
  auto* dialog = static_cast<ImageFileDialog*>(data);
  return Entry<decltype(&IKOpenFileDlg)>(kIKOpenFileDlg)(dialog->owner, dialog->path,
                                                         dialog->folder, dialog->fileName,
                                                         dialog->title);
}

}  // namespace

HGLOBAL IkFileLoad(const char* path, int page) {
  if (!ImagingEntriesReady({kIKFileLoad})) return nullptr;
  return Entry<decltype(&IKFileLoad)>(kIKFileLoad)(path, page, 0, 0, 0, nullptr, nullptr, nullptr);
}

int IkFileType(const char* path, int page, IKFileInfo* info) {
  if (!ImagingEntriesReady({kIKFileType})) return kIkFileUnknown;
  return Entry<decltype(&IKFileType)>(kIKFileType)(path, page, info);
}

HGLOBAL IkBmpFileLoad(const char* path) {
  if (!ImagingEntriesReady({kIKBmpFileLoad})) return nullptr;
  return Entry<decltype(&IKBmpFileLoad)>(kIKBmpFileLoad)(path);
}

bool IkBmpFileSave(const char* path, HGLOBAL image) {
  if (!ImagingEntriesReady({kIKBmpFileSave})) return false;
  return Entry<decltype(&IKBmpFileSave)>(kIKBmpFileSave)(path, image) != FALSE;
}

HGLOBAL IkTiffFileLoad(const char* path, int page) {
  if (!ImagingEntriesReady({kIKTiffFileLoad})) return nullptr;
  return Entry<decltype(&IKTiffFileLoad)>(kIKTiffFileLoad)(path, page);
}

bool IkTiffFileSave(const char* path, HGLOBAL image, int compression, int append) {
  if (!ImagingEntriesReady({kIKTiffFileSave})) return false;
  return Entry<decltype(&IKTiffFileSave)>(kIKTiffFileSave)(path, image, compression, 0, append) !=
         FALSE;
}

int IkGetImageType(HGLOBAL image, IKImageInfo* info) {
  if (!ImagingEntriesReady({kIKGetImageType})) return kIkImageNone;
  return Entry<decltype(&IKGetImageType)>(kIKGetImageType)(image, info);
}

bool IkFreeMemory(HGLOBAL image) {
  if (!ImagingEntriesReady({kIKFreeMemory})) return false;
  return Entry<decltype(&IKFreeMemory)>(kIKFreeMemory)(image) != FALSE;
}

bool IkImageOut(HDC dc, HGLOBAL image, const RECT& target) {
  if (!ImagingEntriesReady({kIKImageOut})) return false;
  return Entry<decltype(&IKImageOut)>(kIKImageOut)(dc, image, &target, nullptr, 0, 0) != FALSE;
}

HGLOBAL IkRotation(HGLOBAL image, int angle, int red, int green, int blue) {
  if (!ImagingEntriesReady({kIKRotation})) return nullptr;
  return Entry<decltype(&IKRotation)>(kIKRotation)(image, angle, red, green, blue);
}

HGLOBAL IkSelectImage(HGLOBAL image, int mode, const POINT* points, int count, HGLOBAL* mask) {
  if (mask) *mask = nullptr;
  if (!ImagingEntriesReady({kIKSelectImage})) return nullptr;
  return Entry<decltype(&IKSelectImage)>(kIKSelectImage)(image, mode, points, count, mask);
}

bool IkOpenFileDlg(ImageFileDialog* dialog) {
  if (!ImagingEntriesReady({kIKOpenFileDlg})) return false;
  return RunModalDialog("IKOpenFileDlg", dialog, RunImageFileDialog) != 0;
}

HANDLE IkScanInitialize(HWND owner, const char* product, const char* maker, const char* family,
                        const char* version) {
  if (!ImagingEntriesReady({kIKScanInitialize})) return nullptr;
  return Entry<decltype(&IKScanInitialize)>(kIKScanInitialize)(owner, product, maker, family,
                                                               version);
}

int IkScanList(HANDLE session, char* name, int size) {
  if (!ImagingEntriesReady({kIKScanList})) return 0;
  return Entry<decltype(&IKScanList)>(kIKScanList)(session, name, size);
}

bool IkScanTerminate(HANDLE session) {
  if (!ImagingEntriesReady({kIKScanTerminate})) return false;
  return Entry<decltype(&IKScanTerminate)>(kIKScanTerminate)(session) != FALSE;
}

int IkScanGetCapRange(const char* scanner, int capability, int* minimum, int* maximum, int* step,
                      int* current) {
  if (!ImagingEntriesReady({kIKScanGetCapRange})) return 0;
  return Entry<decltype(&IKScanGetCapRange)>(kIKScanGetCapRange)(scanner, capability, minimum,
                                                                 maximum, step, current);
}

int IkScanGetCapEnum(const char* scanner, int capability, int* values, int capacity, int* count,
                     int* current) {
  if (!ImagingEntriesReady({kIKScanGetCapEnum})) return 0;
  return Entry<decltype(&IKScanGetCapEnum)>(kIKScanGetCapEnum)(scanner, capability, values,
                                                               capacity, count, current);
}

int IkScanExec(HWND owner, const IKScanParams* params, IKScanPageProc callback) {
  if (!ImagingEntriesReady({kIKScanExec})) return kIkScanFailed;
  return Entry<decltype(&IKScanExec)>(kIKScanExec)(owner, params, callback);
}
