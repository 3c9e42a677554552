// What the drawing layers share: the colour-code table, the font builder and
// the count of live GDI owners.
#include "foundation/gdi_draw.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ColorCodes, Table) {
  constexpr COLORREF kBlack = RGB(0, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);
  struct Case {
    int code;
    COLORREF want;
  };
  const Case cases[] = {
      {0, kBlack},     {100, kBlack},   {-1, kBlack},  {50, kBlack},  {27, kBlack},
      {1, kBlue},      {101, kBlue},    {106, RGB(255, 255, 0)},      {7, kWhite},
      {121, kWhite},   {9, RGB(130, 130, 130)},        {38, RGB(155, 155, 155)},
      {110, RGB(210, 210, 210)},        {111, RGB(230, 230, 230)},    {49, RGB(200, 250, 160)},
  };
  for (const Case& c : cases) EXPECT_EQ(ColorFromCode(c.code), c.want) << c.code;
}

TEST(FontBuilder, FacesOfCodesAndTurnedFonts) {
  struct Case {
    int face;
    const char* name;
  };
  const Case cases[] = {{0, "ＭＳ 明朝"},     {1, "ＭＳ ゴシック"}, {2, "ＭＳ Ｐ明朝"},
                        {3, "ＭＳ Ｐゴシック"}, {4, "KQMUPA"},       {9, ""}};
  const int live = LiveGdiObjects();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    EXPECT_STREQ(FaceNameOfCode(c.face), c.name);
    GdiOwner<HFONT> font(CreateFontByCode(c.face, -24, FW_BOLD));
    ASSERT_NE(font.get(), nullptr);
    EXPECT_EQ(LiveGdiObjects(), live + 1);
    LOGFONTA got{};
    ASSERT_EQ(GetObjectA(font.get(), sizeof got, &got), static_cast<int>(sizeof got));
    EXPECT_STREQ(got.lfFaceName, c.name);
    EXPECT_EQ(got.lfHeight, -24);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    EXPECT_EQ(got.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_EQ(got.lfEscapement, 0);
  }
  EXPECT_EQ(LiveGdiObjects(), live);
  GdiOwner<HFONT> turned(CreateFontByName("ＭＳ 明朝", 40, FW_NORMAL, 900));
  LOGFONTA got{};
  ASSERT_EQ(GetObjectA(turned.get(), sizeof got, &got), static_cast<int>(sizeof got));
  EXPECT_EQ(got.lfEscapement, 900);
  EXPECT_EQ(got.lfOrientation, 900);
}

}  // namespace
