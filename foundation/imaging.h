// The program's binding of the imaging library (the DLLs of platform/):
// the table of its entry points, the binding of each build, and checked
// calls of the entries the program uses. Every image operation of the
// program goes through these calls: an entry that a build lacks makes the
// operation fail with one message instead of calling an empty pointer.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "foundation/imaging_entries.h"
#include "platform/imaging_library.h"

// One raw entry point; calls go through the typed functions below.
using ImageKitEntry = void (*)();

// The libraries' module handles and one pointer per entry, in the order of
// kImageKitEntryNames; empty where a library or an entry is missing.
struct ImageKitTable {
  HMODULE modules[kImageKitLibraryCount];
  ImageKitEntry entries[kImageKitEntryCount];
};
extern ImageKitTable g_imageKit;  // defined in imaging_table.cpp

// The entries the program calls.
constexpr int kIKFileLoad = ImageKitEntryIndex("IKFileLoad");
constexpr int kIKFileType = ImageKitEntryIndex("IKFileType");
constexpr int kIKBmpFileLoad = ImageKitEntryIndex("IKBmpFileLoad");
constexpr int kIKBmpFileSave = ImageKitEntryIndex("IKBmpFileSave");
constexpr int kIKTiffFileLoad = ImageKitEntryIndex("IKTiffFileLoad");
constexpr int kIKTiffFileSave = ImageKitEntryIndex("IKTiffFileSave");
constexpr int kIKOpenFileDlg = ImageKitEntryIndex("IKOpenFileDlg");
constexpr int kIKGetImageType = ImageKitEntryIndex("IKGetImageType");
constexpr int kIKFreeMemory = ImageKitEntryIndex("IKFreeMemory");
constexpr int kIKImageOut = ImageKitEntryIndex("IKImageOut");
constexpr int kIKRotation = ImageKitEntryIndex("IKRotation");
constexpr int kIKSelectImage = ImageKitEntryIndex("IKSelectImage");
constexpr int kIKScanInitialize = ImageKitEntryIndex("IKScanInitialize");
constexpr int kIKScanList = ImageKitEntryIndex("IKScanList");
constexpr int kIKScanTerminate = ImageKitEntryIndex("IKScanTerminate");
constexpr int kIKScanGetCapEnum = ImageKitEntryIndex("IKScanGetCapEnum");
constexpr int kIKScanGetCapRange = ImageKitEntryIndex("IKScanGetCapRange");
constexpr int kIKScanExec = ImageKitEntryIndex("IKScanExec");
static_assert(kIKFileLoad >= 0 && kIKFileType >= 0 && kIKBmpFileLoad >= 0 &&
                  kIKBmpFileSave >= 0 && kIKTiffFileLoad >= 0 && kIKTiffFileSave >= 0 &&
                  kIKOpenFileDlg >= 0 && kIKGetImageType >= 0 && kIKFreeMemory >= 0 &&
                  kIKImageOut >= 0 && kIKRotation >= 0 && kIKSelectImage >= 0 &&
                  kIKScanInitialize >= 0 && kIKScanList >= 0 && kIKScanTerminate >= 0 &&
                  kIKScanGetCapEnum >= 0 && kIKScanGetCapRange >= 0 && kIKScanExec >= 0,
              "every entry the program calls is in the table");

// Empties the table and forgets which missing entries were reported.
void ClearImagingTable();
// Empties the table and loads "IK7COM.DLL" ... "IK7EFFECT.DLL" in that
// order: with a folder, the folder text directly followed by the file name,
// without one through the system's library search. Every entry a loaded
// library exports is fetched by name. Shows nothing; what is missing stays
// empty.
void LoadImagingLibrary(const char* folder);
// Closes what the libraries keep open on the calling thread (IKEndImaging),
// frees the loaded libraries in the order COM, FILE, SCAN, PRINT, EFFECT and
// empties the table.
void UnloadImagingLibrary();

// The binding of this build, at start-up and as the first step of shutdown:
// sheetdesk loads the libraries by name (imaging_bind7.cpp); sheetdesk5 puts
// its ImageKit-5 functions, linked by import, into the table
// (imaging_bind5.cpp). Unbinding closes what the libraries keep open on the
// calling thread, the GUI thread of the program.
void BindImagingLibrary();
void UnbindImagingLibrary();
// 7 or 5. The ImageKit-5 build neither queries the scanner's capabilities
// nor sets its brightness, shows no scanner settings screen and lists the
// scanners without opening the scanner interface: its table lacks
// IKScanInitialize, IKScanTerminate, IKScanGetCapEnum and IKScanGetCapRange.
int ImagingLibraryVersion();

// True when every entry listed is bound. Otherwise shows one error message
// naming the first missing entry (each entry once until the next binding,
// so a repainting window does not raise a box per paint) and returns false.
bool ImagingEntriesReady(std::initializer_list<int> entries);

// Checked calls: each fails (0, false or a negative result) after
// ImagingEntriesReady's message when its entry is missing, and otherwise
// returns what the entry returns. Images are freed with IkFreeMemory.
HGLOBAL IkFileLoad(const char* path, int page = 0);
int IkFileType(const char* path, int page, IKFileInfo* info);
HGLOBAL IkBmpFileLoad(const char* path);
bool IkBmpFileSave(const char* path, HGLOBAL image);
HGLOBAL IkTiffFileLoad(const char* path, int page);
bool IkTiffFileSave(const char* path, HGLOBAL image, int compression, int append);
int IkGetImageType(HGLOBAL image, IKImageInfo* info);
bool IkFreeMemory(HGLOBAL image);
// Draws the whole image stretched into `target`.
bool IkImageOut(HDC dc, HGLOBAL image, const RECT& target);
HGLOBAL IkRotation(HGLOBAL image, int angle, int red, int green, int blue);
HGLOBAL IkSelectImage(HGLOBAL image, int mode, const POINT* points, int count, HGLOBAL* mask);

// The image file dialog, run through the modal-dialog test hook as
// "IKOpenFileDlg" with this record as its data; a hook answers by filling
// `path` and returning 1.
struct ImageFileDialog {
  HWND owner = nullptr;
  char path[MAX_PATH] = {};
  const char* folder = nullptr;
  const char* fileName = nullptr;
  const char* title = nullptr;
};
bool IkOpenFileDlg(ImageFileDialog* dialog);

HANDLE IkScanInitialize(HWND owner, const char* product, const char* maker, const char* family,
                        const char* version);
int IkScanList(HANDLE session, char* name, int size);
bool IkScanTerminate(HANDLE session);
int IkScanGetCapRange(const char* scanner, int capability, int* minimum, int* maximum, int* step,
                      int* current);
int IkScanGetCapEnum(const char* scanner, int capability, int* values, int capacity, int* count,
                     int* current);
// kIkScanFailed when the entry is missing.
int IkScanExec(HWND owner, const IKScanParams* params, IKScanPageProc callback);
