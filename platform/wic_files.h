// Image files through the platform's imaging component (WIC), on the
// calling thread's factory (imaging_session.h): every file that is not a
// 1-bit BMP or TIFF page.
#pragma once

#include <windows.h>

#include "platform/dib_image.h"
#include "platform/image_files.h"
#include "platform/imaging_library.h"

// As ReadImageFileInfo, but fileSize is left 0.
int ReadWicFileInfo(const char* path, int page, IKFileInfo* info);
// As LoadImageFilePage.
HGLOBAL LoadWicPage(const char* path, int page, int wanted, int* fileType, int* pageCount,
                    int* bitsPerPixel);
// Writes an image as a new file `path`; with `appendTo` (a TIFF file) the
// pages of that file come first. False when it could not be written whole.
bool WriteWicFile(const char* path, const ImageLock& image, SaveFormat format,
                  const char* appendTo, int compression);
