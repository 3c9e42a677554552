// Our imaging libraries: the entry points, records and codes of the DLLs in
// platform/, in two sets of one implementation.
//
//   IK7COM, IK7FILE, IK7SCAN, IK7PRINT, IK7EFFECT  the IK... entries, which
//       sheetdesk fetches by name at start-up;
//   Ik5Com, Ik5File, IK5SCAN, Ik5Print, Ik5Effect  the IK5... entries, with
//       shorter argument lists and smaller records, which sheetdesk5 links
//       by import.
//
// An image is a handle to movable global memory holding a packed DIB
// (BITMAPINFOHEADER, palette, pixel rows) of 1, 8, 24 or 32 bits a pixel;
// 0 is no image. Its rows run top-down or bottom-up as the sign of biHeight
// says (a 1-bit page loaded from a BMP keeps the file's order). 1-bit images stay 1-bit through loading, rotation, cutting
// and saving. Every image a call returns belongs to the caller, who frees it
// with IKFreeMemory. 1-bit BMP pages, the form every scanned sheet takes,
// are read and written directly; every other file goes through the
// platform's imaging component (BMP, TIFF with any number of pages, PNG,
// JPEG, GIF), which each thread opens on its first such call and keeps
// until IKEndImaging. Each thread also keeps the memory of up to two freed
// page images for its next ones. All entries run on the calling thread.
// Nothing else is kept between calls but the scanner session; the scanner's
// settings file is read afresh by each scanner call.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// The DLLs export these names undecorated through their .def files.
#define IK_API extern "C"
#define IK_CALL __stdcall

// File types (IKFileType, IKFileLoad).
enum : int32_t {
  kIkFileUnknown = 0,
  kIkFileBmp = 1,
  kIkFileTiff = 2,
  kIkFilePng = 3,
  kIkFileJpeg = 4,
  kIkFileGif = 5,
  kIkFileOther = 9,  // decodable, of another type
};

// File information record of IKFileType. The program reads the width and
// height as the 4th and 5th 32-bit values and the page count as the 16-bit
// value at byte 32.
struct IKFileInfo {
  int32_t fileType;      // kIkFile...
  int32_t fileSize;      // bytes (at most INT32_MAX)
  int32_t page;          // page described, from 0
  int32_t width;         // pixels of that page
  int32_t height;
  int32_t xDpi;          // resolution stored in the file, 0 when none
  int32_t yDpi;
  int16_t bitsPerPixel;  // of that page as stored
  int16_t reserved1;
  int16_t pageCount;     // pages of the file (at most 32767)
  int16_t reserved2;
  int32_t reserved[7];
};
static_assert(sizeof(IKFileInfo) == 64, "IKFileInfo is 64 bytes");
static_assert(offsetof(IKFileInfo, width) == 12 && offsetof(IKFileInfo, height) == 16,
              "width and height are the 4th and 5th 32-bit values");
static_assert(offsetof(IKFileInfo, bitsPerPixel) == 28 && offsetof(IKFileInfo, pageCount) == 32,
              "the 16-bit values at bytes 28 and 32");

// The smaller record of IK5FileType: the same first 28 bytes, then the bits
// a pixel and the page count side by side.
struct IK5FileInfo {
  int32_t fileType;
  int32_t fileSize;
  int32_t page;
  int32_t width;
  int32_t height;
  int32_t xDpi;
  int32_t yDpi;
  int16_t bitsPerPixel;
  int16_t pageCount;
};
static_assert(sizeof(IK5FileInfo) == 32, "IK5FileInfo is 32 bytes");
static_assert(offsetof(IK5FileInfo, width) == 12 && offsetof(IK5FileInfo, height) == 16,
              "width and height where IKFileInfo has them");

// Image kinds (IKGetImageType).
enum : int32_t {
  kIkImageNone = 0,
  kIkImageBlackWhite = 1,  // 1 bit a pixel
  kIkImagePalette = 2,     // 8 bits a pixel, grey or a palette
  kIkImageFullColor = 3,   // 24 or 32 bits a pixel
};

// Image information record of IKGetImageType (and IK5GetImageType). The
// program reads the width and height as the 5th and 6th 32-bit values.
struct IKImageInfo {
  int32_t imageType;     // kIkImage...
  int32_t bitsPerPixel;  // 1, 8, 24 or 32
  int32_t colorCount;    // palette entries, 0 for full colour
  int32_t dataSize;      // bytes of the pixel rows
  int32_t width;
  int32_t height;
  int32_t xDpi;
  int32_t yDpi;
  int32_t reserved[2];
};
static_assert(sizeof(IKImageInfo) == 40, "IKImageInfo is 40 bytes");
static_assert(offsetof(IKImageInfo, width) == 16 && offsetof(IKImageInfo, height) == 20,
              "width and height are the 5th and 6th 32-bit values");

// Selection modes of IKSelectImage.
enum : int {
  kIkSelectBoundingBox = 1,  // the bounding rectangle of the points
  kIkSelectPolygon = 2,      // the closed polygon; outside it is white
};

// TIFF compression asked of IKTiffFileSave. 1-bit pages are coded Group 4
// by kIkTiffGroup4 and stored uncompressed otherwise; pages of other depths
// are written as the platform's encoder can. Pages are always readable back
// as saved.
enum : int {
  kIkTiffNone = 1,
  kIkTiffGroup4 = 4,
};

// ---------------------------------------------------------------------------
// Scanner: a sheet feeder that takes its pages from a folder of image files,
// set up by "SCANFEED.INI" in the program folder:
//   [Feeder]
//   Name=Sheet Feeder      the device name (no comma)
//   Folder=feed            page files, fed in name order (relative to the
//                          program folder or absolute)
//   Tray=fed               where fed files go (relative to the program
//                          folder or absolute; default: "fed" in Folder;
//                          made when missing, its parent must exist)
// Without the file no scanner is installed.

// Capabilities the feeder answers (IKScanGetCapRange, IKScanGetCapEnum).
enum : int {
  kIkCapFeederLoaded = 0x1015,  // one value: 1 while pages wait
  kIkCapFeederPages = 0x8001,   // one value: the pages waiting (this feeder's own)
  kIkCapBrightness = 0x1101,    // range 1 to 10
  kIkCapXResolution = 0x1118,   // enumeration 200, 300, 400
  kIkCapYResolution = 0x1119,
};
// Container types: how a capability's values are given.
enum : int {
  kIkContainerEnumeration = 4,
  kIkContainerOneValue = 5,
  kIkContainerRange = 6,
};

// Scan sides (IKScanParams::sides).
enum : int32_t {
  kIkScanFlatbed = 0,   // one page, then the run ends
  kIkScanOneSided = 1,  // every page of the feeder
  kIkScanTwoSided = 2,  // front and back of each sheet in turn
};
// Drop-out colours: the channel a colour page is made black and white from.
enum : int32_t {
  kIkDropOutRed = 0,
  kIkDropOutGreen = 1,
  kIkDropOutBlue = 2,
  kIkDropOutNone = 3,
};

// Results of IKScanExec and IK5ScanExec: the number of pages delivered
// (1 or more) when the run ended normally, because the feeder ran empty or
// the program stopped it, else one of these. Pages delivered before an error
// stay delivered.
enum : int {
  kIkScanFailed = -1,     // no such scanner or an invalid parameter block
  kIkScanNoPaper = -2,    // the feeder holds no page
  kIkScanFeedError = -3,  // a page could not be read; it and the pages
                          // after it stay in the feeder
  kIkScanCancelled = -4,  // cancelled on the settings screen or the scanner
  kIkScanPaperJam = -5,   // the scanner jammed; the jammed page and the
                          // pages after it stay in the feeder
};

// Scan parameter block of IKScanExec.
struct IKScanParams {
  int32_t size;           // 128
  char scanner[52];       // device name; empty for the installed one
  double scaleX;          // 1.0
  double scaleY;
  int32_t brightness;     // 1 (dark) to 10 (light); others are clamped
  int32_t sides;          // kIkScan...
  int32_t dropOutColor;   // kIkDropOut...
  int32_t paperCode;      // the feeder takes the paper of its files
  int32_t xResolution;    // 200, 300 or 400
  int32_t yResolution;
  int32_t blackAndWhite;  // 1: pages come as 1-bit images
  int32_t userInterface;  // 1 shows the settings screen first, 2 not
  int32_t reserved[6];
};
static_assert(sizeof(IKScanParams) == 128, "IKScanParams is 128 bytes");

// Scan parameter block of IK5ScanExec: no brightness, scale or settings
// screen.
struct IK5ScanParams {
  int32_t size;  // 96
  char scanner[52];
  int32_t sides;
  int32_t dropOutColor;
  int32_t paperCode;
  int32_t xResolution;
  int32_t yResolution;
  int32_t blackAndWhite;
  int32_t reserved[4];
};
static_assert(sizeof(IK5ScanParams) == 96, "IK5ScanParams is 96 bytes");

// Called once per page, synchronously on the thread of the scan call, with
// pages numbered from 1. The page image belongs to the library and is freed
// when the callback returns. Returns the page number to go on, 0 (or less)
// to stop the run; pages not yet fed stay in the feeder.
using IKScanPageProc = int(IK_CALL*)(HGLOBAL page, int pageNumber);

// ---------------------------------------------------------------------------
// IK7COM / Ik5Com

// Frees an image. Non-zero when freed, 0 for no image or a handle already
// freed.
IK_API BOOL IK_CALL IKFreeMemory(HGLOBAL image);
// Fills `info` and returns the image kind, kIkImageNone for no image.
IK_API int IK_CALL IKGetImageType(HGLOBAL image, IKImageInfo* info);

IK_API BOOL IK_CALL IK5FreeMemory(HGLOBAL image);
IK_API int IK_CALL IK5GetImageType(HGLOBAL image, IKImageInfo* info);

// Closes the platform's imaging component (COM and its imaging factory)
// that the calling thread's file calls opened and kept, and frees the page
// memory the thread kept. Each thread that used the libraries calls it once
// at exit (sheetdesk and sheetdesk5 when they unbind the libraries); later
// calls open and keep them again. Leaves COM open when the thread had opened
// it itself before. Non-zero when the imaging component was open.
IK_API BOOL IK_CALL IKEndImaging();
IK_API BOOL IK_CALL IK5EndImaging();

// ---------------------------------------------------------------------------
// IK7FILE / Ik5File. Paths are ANSI (code page of the system).

// Loads page `page` (from 0) of an image file of any type; the reserved
// values must be 0. The out values (each may be null) receive the file type,
// its page count and the page's bits a pixel. 0 when the file is missing,
// not an image, damaged or too large.
IK_API HGLOBAL IK_CALL IKFileLoad(const char* path, int page, int reserved1, int reserved2,
                                  int reserved3, int* fileType, int* pageCount,
                                  int* bitsPerPixel);
// Fills `info` for page `page` without loading its pixels. Returns the file
// type, 0 when the file cannot be read as an image.
IK_API int IK_CALL IKFileType(const char* path, int page, IKFileInfo* info);
// Loads a BMP file; 0 for any other type.
IK_API HGLOBAL IK_CALL IKBmpFileLoad(const char* path);
// Saves an image as BMP, replacing the file. Non-zero when saved.
IK_API BOOL IK_CALL IKBmpFileSave(const char* path, HGLOBAL image);
// Loads page `page` (from 0) of a TIFF file; 0 for any other type.
IK_API HGLOBAL IK_CALL IKTiffFileLoad(const char* path, int page);
// Saves an image as TIFF: `append` 0 replaces the file, 1 adds the image as
// its last page (a missing file is created). `reserved` must be 0. Non-zero
// when saved; a failed append leaves the file as it was.
IK_API BOOL IK_CALL IKTiffFileSave(const char* path, HGLOBAL image, int compression,
                                   int reserved, int append);
// The file dialog for images. `path` (room for MAX_PATH bytes) receives the
// chosen file; `fileName` is the file first selected (ignored when it names
// a folder), `folder` the folder first shown. Non-zero when a file was
// chosen.
IK_API BOOL IK_CALL IKOpenFileDlg(HWND owner, char* path, const char* folder,
                                  const char* fileName, const char* title);

IK_API HGLOBAL IK_CALL IK5FileLoad(const char* path, int page, int* fileType);
IK_API int IK_CALL IK5FileType(const char* path, int page, IK5FileInfo* info);
IK_API HGLOBAL IK_CALL IK5BmpFileLoad(const char* path);
IK_API BOOL IK_CALL IK5BmpFileSave(const char* path, HGLOBAL image);
IK_API HGLOBAL IK_CALL IK5TiffFileLoad(const char* path, int page);
IK_API BOOL IK_CALL IK5TiffFileSave(const char* path, HGLOBAL image, int compression,
                                    int append);
IK_API BOOL IK_CALL IK5OpenFileDlg(HWND owner, char* path, const char* folder,
                                   const char* title);

// ---------------------------------------------------------------------------
// IK7PRINT / Ik5Print

// Draws an image stretched into `target` of any device context (screen,
// memory, printer). `source` (null: the whole image) is the part drawn, in
// image pixels from the top left; `rop` 0 copies; `stretchMode` 0 lets the
// library choose (black kept when a 1-bit image shrinks). Non-zero when
// drawn.
IK_API BOOL IK_CALL IKImageOut(HDC dc, HGLOBAL image, const RECT* target, const RECT* source,
                               DWORD rop, int stretchMode);
IK_API BOOL IK_CALL IK5ImageOut(HDC dc, HGLOBAL image, const RECT* target,
                                const RECT* source);

// ---------------------------------------------------------------------------
// IK7EFFECT / Ik5Effect

// A new image: `image` turned by `angle` hundredths of a degree,
// anticlockwise as the image is seen, on a canvas that holds all of it; the
// uncovered corners take the colour (red, green, blue), the nearest palette
// entry for 1- and 8-bit images. 0 on failure.
IK_API HGLOBAL IK_CALL IKRotation(HGLOBAL image, int angle, int red, int green, int blue);
// A new image cut out of `image` by the `count` points (pixel corners) of
// `mode`; pixels whose centres lie outside the polygon are white. `mask`
// (may be null) receives a 1-bit image of the same size, black inside.
// 0 when the shape covers no pixel of the image.
IK_API HGLOBAL IK_CALL IKSelectImage(HGLOBAL image, int mode, const POINT* points, int count,
                                     HGLOBAL* mask);

IK_API HGLOBAL IK_CALL IK5Rotation(HGLOBAL image, int angle, int red, int green, int blue);
IK_API HGLOBAL IK_CALL IK5SelectImage(HGLOBAL image, int mode, const POINT* points, int count,
                                      HGLOBAL* mask);

// ---------------------------------------------------------------------------
// IK7SCAN / IK5SCAN

// Opens the scanner interface for the program that names itself. A session
// handle, 0 on failure.
IK_API HANDLE IK_CALL IKScanInitialize(HWND owner, const char* product, const char* maker,
                                       const char* family, const char* version);
// Lets the user choose a scanner; with one device installed it is chosen
// at once. `name` (room for `size` bytes) receives it. 1 when one was
// chosen, 0 when none is installed.
IK_API int IK_CALL IKScanList(HANDLE session, char* name, int size);
// Closes the session. Non-zero when it was open.
IK_API BOOL IK_CALL IKScanTerminate(HANDLE session);
// Range of a capability of the named scanner (empty: the installed one):
// lowest, highest, step and current value (each may be null). Returns the
// container type that describes the capability best, 0 when the scanner or
// the capability is unknown.
IK_API int IK_CALL IKScanGetCapRange(const char* scanner, int capability, int* minimum,
                                     int* maximum, int* step, int* current);
// Values of a capability: up to `capacity` into `values`, their number into
// `count`, the current value into `current` (each may be null). Returns the
// container type, 0 when unknown.
IK_API int IK_CALL IKScanGetCapEnum(const char* scanner, int capability, int* values,
                                    int capacity, int* count, int* current);
// Runs a scan: calls `callback` once per page. Returns the pages delivered
// or a kIkScan... error.
IK_API int IK_CALL IKScanExec(HWND owner, const IKScanParams* params, IKScanPageProc callback);

IK_API int IK_CALL IK5ScanList(char* name, int size);
IK_API int IK_CALL IK5ScanExec(HWND owner, const IK5ScanParams* params,
                               IKScanPageProc callback);
