// The image cache: image files loaded through the imaging library, kept and
// found again by file name, and the small image operations the screens, the
// reading run and the reports use. Icons are resources and are not cached.
// GUI thread only.
#pragma once

#include <windows.h>

// An image of the imaging library; 0 when there is none.
using ImageHandle = HANDLE;

// Entries 0 to 500; when all are in use a new file replaces entry 500.
constexpr int kImageCacheLastEntry = 500;

struct ImageCacheEntry {
  char fileName[MAX_PATH];  // compared as exact text
  ImageHandle image;        // 0: the entry is empty
};
// Defined in image_cache.cpp.
extern ImageCacheEntry g_imageCache[kImageCacheLastEntry + 1];
extern int g_imageCacheHighest;  // highest entry used so far

// The cached image of `fileName`, loading it on first use; 0 when the name
// is empty or the file cannot be loaded (no message).
ImageHandle LoadImageCached(const char* fileName);
// The cached image of `fileName`, 0 when it is not cached or the name is
// empty.
ImageHandle FindCachedImage(const char* fileName);
// Empties every entry of `fileName`; the images stay, their holders free
// them.
void ForgetCachedImage(const char* fileName);
// Frees the image of every entry of `fileName` ("削除エラー(ﾋﾞｯﾄﾏｯﾌﾟ:%d)" when
// a free fails) and empties the entries in any case.
void FreeCachedImage(const char* fileName);
// Frees an image and empties the cache entry that holds it; 0 is accepted.
// 0, or -1 after "削除エラー(ﾋﾞｯﾄﾏｯﾌﾟ:%d)".
int DeleteImage(ImageHandle image);

// Loads an image file through the imaging library (IKFileLoad) outside the
// cache; the caller frees it with DeleteImage. 0 when the name is empty or
// the file cannot be loaded (no message).
ImageHandle LoadImageUncached(const char* fileName);

// Width and height of an image in pixels; 0 and 0 for no image.
void GetImageSize(ImageHandle image, int* width, int* height);
// Width and height of page 1 of an image file from its information record,
// without loading it. 0, or -1 (and 0 and 0) when the file is not an image.
int GetImageFileDims(const char* fileName, int* width, int* height);
// The page count of an image file and its bits a pixel, from its
// information record. 0, or -1 (and 0 and 0) when the file is not an image.
int GetImageFileSize(const char* fileName, int* pageCount, int* bitsPerPixel);

// The scale at which the painting layer draws on the device context it is
// painting (1 and 1 unless it sets another); DrawImageFileScaled multiplies
// sizes by it.
void SetImagePaintScale(double horizontal, double vertical);
// Draws an image scaled into (x, y, width, height) of a device context,
// width and height times the paint scale; a width or height below 1 takes
// the image's own size.
void DrawImageFileScaled(HDC dc, ImageHandle image, int x, int y, int width, int height);
// Draws an image stretched into a rectangle of any device context, screen,
// memory or printer (IKImageOut).
void DrawImageInRect(HDC dc, ImageHandle image, const RECT& rect);

// A new image turned by `angle` hundredths of a degree anticlockwise, the
// uncovered corners white; 0 on failure.
ImageHandle RotateImage(ImageHandle image, int angle);
// Turns an image file by `degrees` (RotateImageFile: degrees + 180) and
// saves it as BMP under its own name. The file is replaced only once the
// turned image is saved, so a failure leaves it as it was. 0, or -1 after
// "イメージ“%s”をロードできません。" or "“%s”をセーブできません。".
int ResizeImageFile(const char* fileName, int degrees);
int RotateImageFile(const char* fileName, int degrees);
// Saves the rectangle (x, y, width, height) of an image as a BMP file.
// 0, or -1 when nothing could be cut out or saved.
int DrawImageRect(ImageHandle image, int x, int y, int width, int height, const char* fileName);
// Saves a BMP file as TIFF (`value` 1 adds it as the TIFF's last page).
// A source whose extension is not "BMP" is left alone: 0 at once. 0, or -1
// when the BMP cannot be loaded ("イメージ“%s”をロードできません。") or the
// TIFF cannot be saved.
int ConvertImageFileToBmp(const char* bmpFile, const char* tiffFile, int value);

// An icon resource of the active window's program (LoadIcon).
HICON LoadAppIcon(const char* name);
// Draws an icon on the current painting device context `dc`: at its own
// size when width or height is -1, else stretched to them.
void DrawIconAt(HDC dc, HICON icon, int x, int y, int width, int height);
