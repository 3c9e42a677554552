// The GDI owner count, the colour-code table and the font builder shared by
// every drawing layer.
#include "foundation/gdi_draw.h"

#include <cstring>

namespace {

int g_liveGdiObjects = 0;

struct ColorEntry {
  int code;
  COLORREF rgb;
};
constexpr ColorEntry kColorTable[] = {
    {1, RGB(0, 0, 255)},       {2, RGB(255, 0, 0)},       {3, RGB(255, 0, 255)},
    {4, RGB(0, 255, 0)},       {5, RGB(0, 255, 255)},     {6, RGB(255, 255, 0)},
    {7, RGB(255, 255, 255)},   {8, RGB(192, 192, 192)},   {9, RGB(130, 130, 130)},
    {15, RGB(130, 130, 130)},  {16, RGB(20, 20, 150)},    {17, RGB(200, 200, 255)},
    {19, RGB(200, 160, 130)},  {20, RGB(255, 102, 102)},  {21, RGB(0, 0, 200)},
    {22, RGB(230, 100, 130)},  {23, RGB(130, 0, 130)},    {24, RGB(102, 153, 0)},
    {25, RGB(100, 130, 230)},  {26, RGB(155, 155, 0)},    {28, RGB(192, 192, 192)},
    {29, RGB(130, 130, 130)},  {35, RGB(130, 130, 130)},  {38, RGB(155, 155, 155)},
    {39, RGB(140, 140, 140)},  {40, RGB(102, 102, 102)},  {41, RGB(0, 170, 255)},
    {42, RGB(0, 210, 255)},    {43, RGB(150, 255, 255)},  {44, RGB(255, 20, 0)},
    {45, RGB(255, 80, 0)},     {46, RGB(255, 150, 200)},  {47, RGB(140, 255, 128)},
    {48, RGB(150, 255, 150)},  {49, RGB(200, 250, 160)},  {107, RGB(85, 85, 85)},
    {108, RGB(0, 128, 255)},   {109, RGB(255, 64, 64)},   {110, RGB(210, 210, 210)},
    {111, RGB(230, 230, 230)}, {112, RGB(128, 255, 255)}, {113, RGB(255, 255, 128)},
    {114, RGB(136, 136, 136)}, {115, RGB(21, 201, 255)},  {116, RGB(255, 192, 192)},
    {117, RGB(255, 192, 255)}, {118, RGB(192, 255, 224)}, {119, RGB(192, 255, 255)},
    {120, RGB(255, 255, 192)}, {121, RGB(255, 255, 255)},
};

}  // namespace

namespace gdi_owner_detail {
void Count(int delta) { g_liveGdiObjects += delta; }
}  // namespace gdi_owner_detail

int LiveGdiObjects() { return g_liveGdiObjects; }

COLORREF ColorFromCode(int code) {
  for (const ColorEntry& e : kColorTable) {
    if (e.code == code) return e.rgb;
  }
  if (code >= 101 && code <= 106) return ColorFromCode(code - 100);
  return RGB(0, 0, 0);
}

const char* FaceNameOfCode(int face) {
  switch (face) {
    case 0: return "ＭＳ 明朝";
    case 1: return "ＭＳ ゴシック";
    case 2: return "ＭＳ Ｐ明朝";
    case 3: return "ＭＳ Ｐゴシック";
    case 4: return "KQMUPA";
    default: return "";
  }
}

HFONT CreateFontByName(const char* faceName, int height, int weight, int escapement) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfEscapement = escapement;
  font.lfOrientation = escapement;
  font.lfWeight = weight;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfClipPrecision = CLIP_TT_ALWAYS;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = FIXED_PITCH | FF_ROMAN;
  std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}

HFONT CreateFontByCode(int face, int height, int weight) {
  return CreateFontByName(FaceNameOfCode(face), height, weight);
}
