// The image cache: image files loaded through the imaging library, kept and
// found again by file name, and the small image operations the screens use.
#pragma once

#include <windows.h>

// An image of the imaging library; 0 when there is none.
using ImageHandle = HANDLE;

// The cached image of `fileName`, loading it on first use; 0 when the name
// is empty or the file cannot be loaded (no message).
ImageHandle LoadImageCached(const char* fileName);
// Width and height of an image in pixels.
void GetImageSize(ImageHandle image, int* width, int* height);
// Draws an image scaled into (x, y, width, height) of a device context;
// a width or height below 1 takes the image's own size.
void DrawImageFileScaled(HDC dc, ImageHandle image, int x, int y, int width, int height);

// Loads an image file through the imaging library (IKFileLoad) outside the
// cache; the caller frees it with DeleteImage. 0 when the name is empty or
// the file cannot be loaded (no message).
ImageHandle LoadImageFile(const char* fileName);
// Draws an image stretched into a rectangle of any device context, screen,
// memory or printer (IKImageOut).
void DrawImageInRect(HDC dc, ImageHandle image, const RECT& rect);
// Frees an image and empties the cache entry that holds it; 0 is accepted.
// 0, or -1 after "削除エラー(ﾋﾞｯﾄﾏｯﾌﾟ:%d)".
int DeleteImage(ImageHandle image);
