// Entries of the noise eraser library ENSH32. The last failure is kept for
// EnshGetError until the next call of EnshEraseNoise.
#include <windows.h>

#include <cstdio>

#include "platform/noise_eraser.h"
#include "platform/component_eraser.h"

namespace {

int16_t g_lastError = kEnshNoError;
char g_lastText[128] = "";

int16_t Fail(int16_t code, const char* text) {
  g_lastError = code;
  std::snprintf(g_lastText, sizeof g_lastText, "%s", text);
  return kEnshFailed;
}

}  // namespace

int16_t ENSH_CALL EnshEraseNoise(EnshImage* image, const EnshRect* rect,
                                 const int16_t* parameters) {
  g_lastError = kEnshNoError;
  g_lastText[0] = '\0';
  if (!image || !rect || !parameters) return Fail(kEnshBadImage, "ノイズ除去の引数がありません。");
  if (image->bitsPerPixel != 1) {
    return Fail(kEnshBadImage, "ノイズ除去できるのは白黒２値のイメージだけです。");
  }
  SpeckImage pixels;
  pixels.width = image->width;
  pixels.height = image->height;
  pixels.bytesPerLine = image->bytesPerLine;
  pixels.zeroIsBlack = image->polarity == 0;
  pixels.bits = image->bits;
  long erased = 0;
  switch (EraseSpecks(pixels, rect->left, rect->top, rect->right, rect->bottom, parameters[0],
                      &erased)) {
    case SpeckStatus::kOk:
      return static_cast<int16_t>(erased < 32767 ? erased : 32767);
    case SpeckStatus::kBadImage:
      return Fail(kEnshBadImage, "ノイズ除去するイメージが正しくありません。");
    case SpeckStatus::kBadRectangle:
      return Fail(kEnshBadRectangle, "ノイズ除去の範囲がイメージの外にあります。");
    case SpeckStatus::kBadSize:
      return Fail(kEnshBadSpeckSize, "ノイズのサイズは１から２５５までです。");
    case SpeckStatus::kNoMemory:
      return Fail(kEnshNoMemory, "ノイズ除去のメモリを確保できません。");
  }
  return Fail(kEnshBadImage, "ノイズ除去できません。");
}

int16_t ENSH_CALL EnshGetError(char* text, int16_t capacity) {
  if (text && capacity > 0) std::snprintf(text, capacity, "%s", g_lastText);
  return g_lastError;
}
