// The noise eraser library as the programs call it: results, and the text of
// a failure.
#include <gtest/gtest.h>

#include <vector>

#include "platform/noise_eraser.h"

namespace {

TEST(NoiseEraser, ErasesSpecksAndTellsWhyItCannot) {
  // 64 x 8 pixels, bit value 1 black: one speck and one long line.
  std::vector<uint8_t> bits(8 * 8, 0);
  bits[2 * 8] = 0x40;
  bits[5 * 8 + 2] = 0xFF;
  bits[5 * 8 + 3] = 0xFF;
  EnshImage image{64, 8, 1, 8, 300, 1, bits.data()};
  const EnshRect all{0, 0, 63, 7};
  const int16_t parameters[2] = {7, 0};
  EXPECT_EQ(EnshEraseNoise(&image, &all, parameters), 1);
  EXPECT_EQ(bits[2 * 8], 0);
  EXPECT_EQ(bits[5 * 8 + 2], 0xFF);
  char text[128] = "x";
  EXPECT_EQ(EnshGetError(text, sizeof text), kEnshNoError);
  EXPECT_STREQ(text, "");

  struct Case {
    const char* what;
    EnshImage image;
    EnshRect rect;
    int16_t size;
    int16_t code;
    const char* text;
  };
  const Case cases[] = {
      {"eight bits a pixel", {64, 8, 8, 8, 300, 1, bits.data()}, all, 7, kEnshBadImage,
       "ノイズ除去できるのは白黒２値のイメージだけです。"},
      {"no pixels", {64, 8, 1, 8, 300, 1, nullptr}, all, 7, kEnshBadImage,
       "ノイズ除去するイメージが正しくありません。"},
      {"outside the image", image, {0, 0, 64, 7}, 7, kEnshBadRectangle,
       "ノイズ除去の範囲がイメージの外にあります。"},
      {"speck size 0", image, all, 0, kEnshBadSpeckSize, "ノイズのサイズは１から２５５までです。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EnshImage copy = c.image;
    const int16_t block[2] = {c.size, 0};
    EXPECT_EQ(EnshEraseNoise(&copy, &c.rect, block), kEnshFailed);
    EXPECT_EQ(EnshGetError(text, sizeof text), c.code);
    EXPECT_STREQ(text, c.text);
  }
}

}  // namespace
