// Entries of IK7COM, IK7PRINT and IK7EFFECT and their ImageKit-5
// counterparts in Ik5Com, Ik5Print and Ik5Effect.
#include "platform/dib_image.h"
#include "platform/image_ops.h"
#include "platform/imaging_library.h"

BOOL IK_CALL IKFreeMemory(HGLOBAL image) { return FreeImage(image); }

int IK_CALL IKGetImageType(HGLOBAL image, IKImageInfo* info) {
  return DescribeImage(image, info);
}

BOOL IK_CALL IKImageOut(HDC dc, HGLOBAL image, const RECT* target, const RECT* source, DWORD rop,
                        int stretchMode) {
  return DrawImageOn(dc, image, target, source, rop, stretchMode);
}

HGLOBAL IK_CALL IKRotation(HGLOBAL image, int angle, int red, int green, int blue) {
  return TurnImage(image, angle, red, green, blue);
}

HGLOBAL IK_CALL IKSelectImage(HGLOBAL image, int mode, const POINT* points, int count,
                              HGLOBAL* mask) {
  return CutImage(image, mode, points, count, mask);
}

BOOL IK_CALL IK5FreeMemory(HGLOBAL image) { return FreeImage(image); }

int IK_CALL IK5GetImageType(HGLOBAL image, IKImageInfo* info) {
  return DescribeImage(image, info);
}

BOOL IK_CALL IK5ImageOut(HDC dc, HGLOBAL image, const RECT* target, const RECT* source) {
  return DrawImageOn(dc, image, target, source, 0, 0);
}

HGLOBAL IK_CALL IK5Rotation(HGLOBAL image, int angle, int red, int green, int blue) {
  return TurnImage(image, angle, red, green, blue);
}

HGLOBAL IK_CALL IK5SelectImage(HGLOBAL image, int mode, const POINT* points, int count,
                               HGLOBAL* mask) {
  return CutImage(image, mode, points, count, mask);
}
