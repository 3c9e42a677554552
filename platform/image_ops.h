// Operations on image handles that both sets of entries offer: describing,
// turning, cutting out, drawing, and making a page black and white.
#pragma once

#include <windows.h>

#include "platform/imaging_library.h"
#include "platform/raster.h"

// Fills `info`; returns the image kind, kIkImageNone for no image.
int DescribeImage(HGLOBAL image, IKImageInfo* info);
// A new image turned by `angle` hundredths of a degree anticlockwise, the
// corners in the colour nearest (red, green, blue). 0 on failure.
HGLOBAL TurnImage(HGLOBAL image, int angle, int red, int green, int blue);
// A new image cut out by a polygon (kIkSelectPolygon) or the bounding box
// of the points (kIkSelectBoundingBox); `mask` (may be null) receives the
// 1-bit mask, black where pixels were taken. 0 when nothing is covered.
HGLOBAL CutImage(HGLOBAL image, int mode, const POINT* points, int count, HGLOBAL* mask);
// Draws `source` of an image (null: all of it) stretched into `target`.
BOOL DrawImageOn(HDC dc, HGLOBAL image, const RECT* target, const RECT* source, DWORD rop,
                 int stretchMode);
// A 1-bit copy (index 0 black, 1 white) of an 8-, 24- or 32-bit image: black
// where the level in `channel` is below `threshold`. 0 on failure.
HGLOBAL BlackAndWhiteImage(HGLOBAL image, LevelChannel channel, int threshold);
