// Image files for the entries of the imaging libraries: the type and size of
// a page, loading a page into an image, saving an image as BMP or as a TIFF
// page. 1-bit BMP pages are read and written directly (bmp_files.h), 1-bit
// TIFF pages by our own codec (tiff_files.h); every other file goes through
// the platform's imaging component (wic_files.h).
#pragma once

#include <windows.h>

#include "platform/imaging_library.h"

// Fills `info` for page `page` of a file without decoding its pixels.
// Returns the file type, 0 when the file cannot be read as an image.
int ReadImageFileInfo(const char* path, int page, IKFileInfo* info);

// Loads page `page` of a file whose type is `wanted` (kIkFileUnknown: any).
// 1- and 8-bit pages keep their depth and palette, others become 24-bit.
// `fileType`, `pageCount` and `bitsPerPixel` (each may be null) receive the
// file's type, its pages and the page's depth as stored. 0 on failure.
HGLOBAL LoadImageFilePage(const char* path, int page, int wanted, int* fileType, int* pageCount,
                          int* bitsPerPixel);

enum class SaveFormat { kBmp, kTiff };
// Saves an image under `path`. An existing file is replaced only once a
// complete new one stands beside it; a failed save leaves no new file and
// the old one as it was. With `appendPage` (TIFF) the pages already in the
// file are kept before the new one. `compression` is one of kIkTiff...
bool SaveImageFile(const char* path, HGLOBAL image, SaveFormat format, bool appendPage,
                   int compression);
