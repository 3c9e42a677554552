#include "tools/sheetgen/written_reader.h"

#include <algorithm>

#include "ocrlib/mupa32.h"

namespace {

// A box's inner part, clear of a frame the scanner kept.
constexpr int kFrameInset = 3;

// The rectangle of the ink inside `box`; false when there is none.
bool InkInside(const SheetBitmap& page, const BoxRect& box, MupaRect* ink) {
  int left = page.width, top = page.height, right = -1, bottom = -1;
  const int x0 = std::max(0, box.left + kFrameInset);
  const int y0 = std::max(0, box.top + kFrameInset);
  const int x1 = std::min<int>(page.width - 1, box.right - kFrameInset);
  const int y1 = std::min<int>(page.height - 1, box.bottom - kFrameInset);
  for (int y = y0; y <= y1; ++y) {
    const uint8_t* row = page.bits + static_cast<std::size_t>(y) * page.bytesPerLine;
    for (int x = x0; x <= x1; ++x) {
      const bool set = (row[x / 8] >> (7 - x % 8)) & 1;
      if (set == (page.polarity == 0)) continue;  // white
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return false;
  *ink = {static_cast<int16_t>(left), static_cast<int16_t>(top), static_cast<int16_t>(right),
          static_cast<int16_t>(bottom)};
  return true;
}

// The half-width character of a full-width digit or capital; '?' else.
char HalfWidth(uint16_t code) {
  if (code >= 0x824F && code <= 0x8258) return static_cast<char>('0' + code - 0x824F);
  if (code >= 0x8260 && code <= 0x8279) return static_cast<char>('A' + code - 0x8260);
  return '?';
}

}  // namespace

int ReadWrittenBoxes(const SheetImage& page, const std::vector<BoxRect>& boxes,
                     const char* dictionary, uint32_t mask, std::string* text, std::string* why) {
  text->clear();
  const int16_t handle = MupaBegin();
  if (handle < 0) {
    *why = "MupaBegin failed";
    return -1;
  }
  int result = -1;
  int16_t dict = -1, env = -1;
  if (MupaLoadPatternDict(handle, dictionary) != 0 ||
      (dict = MupaGetDictHandle(handle, dictionary)) < 0) {
    *why = std::string(dictionary) + " does not load";
  } else if ((env = MupaOpenExecEnv(handle, 3)) < 0 ||
             MupaRegisterPatternDict(handle, env, dict) != 0 ||
             MupaSetCharType(handle, dict, mask) == -9) {
    *why = "no environment reads " + std::string(dictionary);
  } else {
    MupaRecogOptions options = {};
    options.marker[0] = options.marker[1] = 1;
    options.mode = 3;
    // The library inverts and restores the rectangle's bytes: the page's
    // pixels are the same afterwards.
    MupaImage image;
    static_assert(sizeof(MupaImage) == sizeof(SheetBitmap), "one image record");
    std::copy_n(reinterpret_cast<const uint8_t*>(&page.bitmap), sizeof image,
                reinterpret_cast<uint8_t*>(&image));
    for (const BoxRect& box : boxes) {
      MupaRect ink;
      if (!InkInside(page.bitmap, box, &ink)) {
        *text += ' ';
        continue;
      }
      MupaCharResult read = {};
      const bool found = MupaExecuteOneChar(handle, env, &image, &ink, &options, &read) == 0 &&
                         !read.failed;
      *text += found ? HalfWidth(read.candidates[0].code) : '?';
    }
    result = 0;
  }
  if (env >= 0) {
    MupaCancelPatternDict(handle, env, dict);
    MupaCloseExecEnv(handle, env);
  }
  if (dict >= 0) MupaUnloadPatternDict(handle, dict);
  MupaEnd(handle);
  return result;
}
