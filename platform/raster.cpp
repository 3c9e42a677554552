// Turning, cutting and thresholding pixel rows. Quarter turns of 1-bit
// pages (the reading run turns every landscape page) move 8 x 8 pixel
// blocks at a time, and 1-bit pages turned straight by a small angle (every
// skewed scan) are put together from runs of source bits a word at a time;
// everything else works pixel by pixel.
#include "platform/raster.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kFullTurn = 36000;
constexpr double kRadiansPerHundredth = 3.14159265358979323846 / 18000.0;

int BytesPerPixel(const Raster& raster) { return raster.bitsPerPixel / 8; }

// Pixel values of 1-bit rows for a whole byte.
uint8_t FillByte(uint32_t value) { return value ? 0xFF : 0x00; }

// Transposes an 8 x 8 bit block: bit (7 - c) of rows[r] becomes bit (7 - r)
// of columns[c].
void TransposeBlock(const uint8_t rows[8], uint8_t columns[8]) {
  uint32_t x = (uint32_t{rows[0]} << 24) | (uint32_t{rows[1]} << 16) |
               (uint32_t{rows[2]} << 8) | rows[3];
  uint32_t y = (uint32_t{rows[4]} << 24) | (uint32_t{rows[5]} << 16) |
               (uint32_t{rows[6]} << 8) | rows[7];
  uint32_t t = (x ^ (x >> 7)) & 0x00AA00AA;
  x = x ^ t ^ (t << 7);
  t = (y ^ (y >> 7)) & 0x00AA00AA;
  y = y ^ t ^ (t << 7);
  t = (x ^ (x >> 14)) & 0x0000CCCC;
  x = x ^ t ^ (t << 14);
  t = (y ^ (y >> 14)) & 0x0000CCCC;
  y = y ^ t ^ (t << 14);
  t = (x & 0xF0F0F0F0) | ((y >> 4) & 0x0F0F0F0F);
  y = ((x << 4) & 0xF0F0F0F0) | (y & 0x0F0F0F0F);
  x = t;
  for (int i = 0; i < 4; ++i) {
    columns[i] = static_cast<uint8_t>(x >> (24 - 8 * i));
    columns[4 + i] = static_cast<uint8_t>(y >> (24 - 8 * i));
  }
}

// Quarter turn of 1-bit rows, anticlockwise (`clockwise` false) or
// clockwise. Each target byte holds 8 source rows of one source column;
// source rows are taken 64 at a time, so that every visit to a target row
// writes 8 of its bytes at once (a page's rows are too many to stay in the
// cache between visits). Padding bytes past the last pixel get `fill`.
void QuarterTurnBits(const Raster& source, const Raster& target, bool clockwise,
                     uint32_t fill) {
  const int sourceBytes = (source.width + 7) / 8;
  const int targetBytes = (source.height + 7) / 8;  // of a target row, holding pixels
  const std::vector<uint8_t> padding(sourceBytes, FillByte(fill));
  const uint8_t* rows[64];
  uint8_t block[8];
  uint8_t columns[8];
  uint8_t bands[8][8];  // [pixel of the source byte][target byte of the group]
  for (int firstByte = 0; firstByte < targetBytes; firstByte += 8) {
    const int groupBytes = std::min(8, targetBytes - firstByte);
    // Anticlockwise the target column x' is source row x'; clockwise it is
    // source row height - 1 - x'.
    for (int r = 0; r < 8 * groupBytes; ++r) {
      const int column = firstByte * 8 + r;
      const int sourceRow = clockwise ? source.height - 1 - column : column;
      rows[r] = column < source.height ? source.Row(sourceRow) : padding.data();
    }
    for (int sourceByte = 0; sourceByte < sourceBytes; ++sourceByte) {
      for (int k = 0; k < groupBytes; ++k) {
        for (int r = 0; r < 8; ++r) block[r] = rows[8 * k + r][sourceByte];
        TransposeBlock(block, columns);
        for (int c = 0; c < 8; ++c) bands[c][k] = columns[c];
      }
      const int firstX = sourceByte * 8;
      const int count = std::min(8, source.width - firstX);
      for (int c = 0; c < count; ++c) {
        const int x = firstX + c;
        std::memcpy(target.Row(clockwise ? x : source.width - 1 - x) + firstByte, bands[c],
                    groupBytes);
      }
    }
  }
  const std::ptrdiff_t rowBytes = AlignedRowBytes(target.width, 1);
  for (int y = 0; y < target.height; ++y) {
    std::memset(target.Row(y) + targetBytes, FillByte(fill), rowBytes - targetBytes);
  }
}

// Quarter and half turns pixel by pixel, for 8 bits and more and for the
// half turn of 1-bit rows. `turn` counts quarter turns anticlockwise.
void TurnPixels(const Raster& source, const Raster& target, int turn) {
  const int bytes = BytesPerPixel(source);
  for (int y = 0; y < target.height; ++y) {
    for (int x = 0; x < target.width; ++x) {
      int sx, sy;
      switch (turn) {
        case 1: sx = source.width - 1 - y; sy = x; break;
        case 2: sx = source.width - 1 - x; sy = source.height - 1 - y; break;
        default: sx = y; sy = source.height - 1 - x; break;
      }
      if (bytes == 0) {
        SetRasterPixel(target, x, y, GetRasterPixel(source, sx, sy));
      } else {
        std::memcpy(target.Row(y) + x * bytes, source.Row(sy) + sx * bytes, bytes);
      }
    }
  }
}

// The rows as they are; the padding bits of 1-bit rows become `fill`.
void CopyRows(const Raster& source, const Raster& target, uint32_t fill) {
  const std::ptrdiff_t used = (static_cast<std::ptrdiff_t>(source.width) * source.bitsPerPixel + 7) / 8;
  const int spare = source.bitsPerPixel == 1 ? (8 - source.width % 8) % 8 : 0;
  const uint8_t padding = static_cast<uint8_t>(FillByte(fill) & ((1 << spare) - 1));
  for (int y = 0; y < source.height; ++y) {
    std::memcpy(target.Row(y), source.Row(y), used);
    if (spare) {
      uint8_t& last = target.Row(y)[used - 1];
      last = static_cast<uint8_t>((last & ~((1 << spare) - 1)) | padding);
    }
  }
}

// Any other angle: each target pixel centre turned back onto the source,
// in 16.16 fixed point along the row.
void TurnByAngle(const Raster& source, const Raster& target, double radians, uint32_t fill) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  constexpr double kOne = 65536.0;
  const int bytes = BytesPerPixel(source);
  for (int y = 0; y < target.height; ++y) {
    const double v = y + 0.5 - target.height / 2.0;
    const double u = 0.5 - target.width / 2.0;
    int64_t sx = std::llround((source.width / 2.0 + u * c - v * s) * kOne);
    int64_t sy = std::llround((source.height / 2.0 + u * s + v * c) * kOne);
    const int64_t stepX = std::llround(c * kOne);
    const int64_t stepY = std::llround(s * kOne);
    for (int x = 0; x < target.width; ++x, sx += stepX, sy += stepY) {
      const int64_t px = sx >> 16;
      const int64_t py = sy >> 16;
      const bool inside = px >= 0 && py >= 0 && px < source.width && py < source.height;
      if (bytes == 0) {
        SetRasterPixel(target, x, y,
                       inside ? GetRasterPixel(source, static_cast<int>(px), static_cast<int>(py))
                              : fill);
      } else if (inside) {
        std::memcpy(target.Row(y) + x * bytes, source.Row(static_cast<int>(py)) + px * bytes,
                    bytes);
      } else {
        SetRasterPixel(target, x, y, fill);
      }
    }
  }
}

// A word of 1-bit pixels loaded from (or stored to) memory, the first pixel
// topmost: the bytes in the other order on this little-endian machine.
uint64_t FromBigEndian(uint64_t bytes) { return __builtin_bswap64(bytes); }

// Bits appended to a 1-bit row from left to right and stored a 64-bit word
// at a time; the row's last bytes, up to its padded length, as bytes.
class RowBits {
 public:
  RowBits(uint8_t* row, std::ptrdiff_t rowBytes) : out_(row), end_(row + rowBytes) {}

  // Appends the top `count` bits of `bits` (1 to 64; the bits below them
  // are 0).
  void Append(uint64_t bits, int count) {
    word_ |= bits >> used_;
    const int total = used_ + count;
    if (total < 64) {
      used_ = total;
      return;
    }
    Store();
    used_ = total - 64;
    word_ = used_ ? bits << (count - used_) : 0;
  }

  void AppendFill(int64_t count, bool set) {
    for (; count > 0; count -= 64) {
      const int take = static_cast<int>(std::min<int64_t>(count, 64));
      Append(set ? TopBits(take) : 0, take);
    }
  }

  // Appends `count` bits of `row` (`usedBytes` bytes hold its pixels) from
  // bit `from` on.
  void AppendSource(const uint8_t* row, std::ptrdiff_t usedBytes, int64_t from, int64_t count) {
    constexpr int kTake = 56;  // a load at any bit of a byte holds as many
    for (; count > 0; from += kTake, count -= kTake) {
      const int take = static_cast<int>(std::min<int64_t>(count, kTake));
      Append(LoadBits(row, usedBytes, from) & TopBits(take), take);
    }
  }

  // Fills the rest of the row, its padding included, with `set` bits.
  void Finish(bool set) {
    AppendFill((end_ - out_) * 8 - used_, set);
    if (used_ > 0) Store();
  }

 private:
  static uint64_t TopBits(int count) { return count < 64 ? ~(~uint64_t{0} >> count) : ~uint64_t{0}; }

  // 64 bits from bit `from` on, the first of them topmost; at least the
  // first 57 are the row's (bytes past its pixels read as 0).
  static uint64_t LoadBits(const uint8_t* row, std::ptrdiff_t usedBytes, int64_t from) {
    const std::ptrdiff_t byte = static_cast<std::ptrdiff_t>(from >> 3);
    uint64_t bits = 0;
    if (byte + 8 <= usedBytes) {
      std::memcpy(&bits, row + byte, 8);
      bits = FromBigEndian(bits);
    } else {
      for (std::ptrdiff_t i = byte; i < byte + 8; ++i) bits = bits << 8 | (i < usedBytes ? row[i] : 0);
    }
    return bits << (from & 7);
  }

  void Store() {
    if (end_ - out_ >= 8) {
      const uint64_t bytes = FromBigEndian(word_);
      std::memcpy(out_, &bytes, 8);
      out_ += 8;
      return;
    }
    for (int shift = 56; out_ < end_; shift -= 8) *out_++ = static_cast<uint8_t>(word_ >> shift);
  }

  uint8_t* out_;
  uint8_t* end_;
  uint64_t word_ = 0;
  int used_ = 0;  // bits of word_ taken, from the top
};

// Steps along a target row until a 16.16 fraction that moves by `step`
// (not 0, less than a whole in size) each step leaves [0, 1).
class FractionSteps {
 public:
  explicit FractionSteps(int64_t step)
      : step_(step), whole_(kUnit / (step < 0 ? -step : step)) {}

  // From any fraction, by division.
  int64_t From(int64_t fraction) const {
    return step_ > 0 ? (kUnit - fraction + step_ - 1) / step_ : fraction / -step_ + 1;
  }
  // From a fraction that has just wrapped: a whole divided by the step, or
  // one more, so a comparison or two decide without dividing.
  int64_t AfterWrap(int64_t fraction) const {
    int64_t steps = whole_;
    while (steps > 1 && Leaves(fraction, steps - 1)) --steps;
    while (!Leaves(fraction, steps)) ++steps;
    return steps;
  }

  static constexpr int64_t kUnit = 65536;

 private:
  bool Leaves(int64_t fraction, int64_t steps) const {
    const int64_t moved = fraction + steps * step_;
    return moved < 0 || moved >= kUnit;
  }

  int64_t step_;
  int64_t whole_;
};

// TurnByAngle for 1-bit rows at angles whose cosine is above 0, with the
// same nearest source pixels: along a target row the source pixel advances
// one to the right at every step but where its row changes or a pixel
// repeats, so the row is made of runs of source bits between those places,
// appended a word at a time. How many steps are left to either place is
// counted down from run to run and worked out anew only where one was
// reached. Every byte of the target rows is written, padding with `fill`.
void TurnBitsByAngle(const Raster& source, const Raster& target, double radians, uint32_t fill) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  constexpr double kOne = 65536.0;
  constexpr int64_t kUnit = FractionSteps::kUnit;
  constexpr int64_t kNever = INT64_MAX;
  const int64_t stepX = std::llround(c * kOne);
  const int64_t stepY = std::llround(s * kOne);
  const int64_t lag = kUnit - stepX;  // how far each step falls behind a pixel
  const FractionSteps rowSteps(stepY != 0 ? stepY : 1);
  const FractionSteps pixelSteps(lag > 0 ? -lag : -1);
  const std::ptrdiff_t usedBytes = (source.width + 7) / 8;
  const std::ptrdiff_t rowBytes = AlignedRowBytes(target.width, 1);
  const bool set = fill != 0;
  for (int y = 0; y < target.height; ++y) {
    const double v = y + 0.5 - target.height / 2.0;
    const double u = 0.5 - target.width / 2.0;
    int64_t sx = std::llround((source.width / 2.0 + u * c - v * s) * kOne);
    int64_t sy = std::llround((source.height / 2.0 + u * s + v * c) * kOne);
    // Steps the source row stays, and pixels that follow one another.
    int64_t rowLeft = stepY != 0 ? rowSteps.From(sy & (kUnit - 1)) : kNever;
    int64_t pixelsLeft = lag > 0 ? pixelSteps.From(sx & (kUnit - 1)) : kNever;
    RowBits out(target.Row(y), rowBytes);
    for (int64_t x = 0; x < target.width;) {
      const int64_t px = sx >> 16;
      const int64_t py = sy >> 16;
      const int64_t run = std::min({target.width - x, rowLeft, pixelsLeft});
      const int64_t first = std::clamp<int64_t>(px, 0, source.width);
      const int64_t last = std::clamp<int64_t>(px + run, 0, source.width);
      if (py >= 0 && py < source.height && first < last) {
        out.AppendFill(first - px, set);
        out.AppendSource(source.Row(static_cast<int>(py)), usedBytes, first, last - first);
        out.AppendFill(px + run - last, set);
      } else {
        out.AppendFill(run, set);
      }
      x += run;
      sx += run * stepX;
      sy += run * stepY;
      rowLeft = run == rowLeft ? rowSteps.AfterWrap(sy & (kUnit - 1)) : rowLeft - run;
      pixelsLeft = run == pixelsLeft ? pixelSteps.AfterWrap(sx & (kUnit - 1)) : pixelsLeft - run;
    }
    out.Finish(set);
  }
}

int NormalAngle(int angle) { return ((angle % kFullTurn) + kFullTurn) % kFullTurn; }

// x of the polygon's edges where they cross the row centre line y + 0.5,
// in order. Corner points lie on whole numbers, so no edge ends on the line.
void RowCrossings(const PixelPoint* points, int count, int y, std::vector<double>* crossings) {
  crossings->clear();
  const double line = y + 0.5;
  for (int i = 0; i < count; ++i) {
    const PixelPoint& a = points[i];
    const PixelPoint& b = points[(i + 1) % count];
    if ((a.y < line) == (b.y < line)) continue;
    crossings->push_back(a.x + (line - a.y) * (b.x - a.x) / (b.y - a.y));
  }
  std::sort(crossings->begin(), crossings->end());
}

int Level(uint32_t rgb, LevelChannel channel) {
  const int red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
  switch (channel) {
    case LevelChannel::kRed: return red;
    case LevelChannel::kGreen: return green;
    case LevelChannel::kBlue: return blue;
    default: return (red * 77 + green * 150 + blue * 29) >> 8;
  }
}

}  // namespace

std::ptrdiff_t AlignedRowBytes(int width, int bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0 || width > (1 << 24)) return 0;
  return (static_cast<std::ptrdiff_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

uint32_t GetRasterPixel(const Raster& raster, int x, int y) {
  const uint8_t* row = raster.Row(y);
  switch (raster.bitsPerPixel) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 8: return row[x];
    default: {
      const uint8_t* p = row + x * BytesPerPixel(raster);
      return (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    }
  }
}

void SetRasterPixel(const Raster& raster, int x, int y, uint32_t value) {
  uint8_t* row = raster.Row(y);
  switch (raster.bitsPerPixel) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = value ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
      break;
    }
    case 8: row[x] = static_cast<uint8_t>(value); break;
    default: {
      uint8_t* p = row + x * BytesPerPixel(raster);
      p[0] = static_cast<uint8_t>(value);
      p[1] = static_cast<uint8_t>(value >> 8);
      p[2] = static_cast<uint8_t>(value >> 16);
      if (raster.bitsPerPixel == 32) p[3] = 0;
    }
  }
}

void FillRaster(const Raster& raster, uint32_t value) {
  const std::ptrdiff_t rowBytes = AlignedRowBytes(raster.width, raster.bitsPerPixel);
  if (raster.bitsPerPixel <= 8) {
    const uint8_t byte = raster.bitsPerPixel == 1 ? FillByte(value) : static_cast<uint8_t>(value);
    for (int y = 0; y < raster.height; ++y) std::memset(raster.Row(y), byte, rowBytes);
    return;
  }
  for (int x = 0; x < raster.width; ++x) SetRasterPixel(raster, x, 0, value);
  const std::ptrdiff_t used = static_cast<std::ptrdiff_t>(raster.width) * BytesPerPixel(raster);
  for (int y = 1; y < raster.height; ++y) std::memcpy(raster.Row(y), raster.Row(0), used);
}

void RotatedSize(int width, int height, int angle, int* rotatedWidth, int* rotatedHeight) {
  const int normal = NormalAngle(angle);
  if (normal % 9000 == 0) {
    const bool across = normal == 9000 || normal == 27000;
    *rotatedWidth = across ? height : width;
    *rotatedHeight = across ? width : height;
    return;
  }
  const double radians = normal * kRadiansPerHundredth;
  const double c = std::fabs(std::cos(radians));
  const double s = std::fabs(std::sin(radians));
  // A hair below the next whole pixel is rounding, not another column.
  *rotatedWidth = static_cast<int>(std::ceil(width * c + height * s - 1e-6));
  *rotatedHeight = static_cast<int>(std::ceil(width * s + height * c - 1e-6));
}

void RotateRaster(const Raster& source, const Raster& target, int angle, uint32_t fill) {
  const int normal = NormalAngle(angle);
  const bool quarter = normal == 9000 || normal == 27000;
  const bool bitsByAngle = source.bitsPerPixel == 1 && target.bitsPerPixel == 1 &&
                           (normal < 9000 || normal > 27000) && normal != 0;
  // 1-bit rows are written pixel by pixel or in whole bytes: the padding
  // bits past the last pixel must still read as the fill (white). Quarter
  // turns and turns by an angle of 1-bit rows see to it themselves.
  if (target.bitsPerPixel == 1 && !(quarter && source.bitsPerPixel == 1) && !bitsByAngle) {
    FillRaster(target, fill);
  }
  if (normal == 0) {
    CopyRows(source, target, fill);
  } else if (normal == 18000) {
    TurnPixels(source, target, 2);
  } else if (quarter) {
    const bool clockwise = normal == 27000;
    if (source.bitsPerPixel == 1) {
      QuarterTurnBits(source, target, clockwise, fill);
    } else {
      TurnPixels(source, target, clockwise ? 3 : 1);
    }
  } else if (bitsByAngle) {
    TurnBitsByAngle(source, target, normal * kRadiansPerHundredth, fill);
  } else {
    TurnByAngle(source, target, normal * kRadiansPerHundredth, fill);
  }
}

bool PolygonBox(const PixelPoint* points, int count, int width, int height, PixelBox* box) {
  if (count < 2) return false;
  PixelBox found{points[0].x, points[0].y, points[0].x, points[0].y};
  for (int i = 1; i < count; ++i) {
    found.left = std::min(found.left, points[i].x);
    found.top = std::min(found.top, points[i].y);
    found.right = std::max(found.right, points[i].x);
    found.bottom = std::max(found.bottom, points[i].y);
  }
  found.left = std::max(found.left, 0);
  found.top = std::max(found.top, 0);
  found.right = std::min(found.right, width);
  found.bottom = std::min(found.bottom, height);
  if (found.left >= found.right || found.top >= found.bottom) return false;
  *box = found;
  return true;
}

void CutRaster(const Raster& source, const PixelPoint* points, int count, const PixelBox& box,
               bool polygonOnly, uint32_t outside, const Raster& target, const Raster* mask,
               uint32_t inside) {
  std::vector<double> crossings;
  std::vector<uint8_t> covered(box.right - box.left);
  FillRaster(target, outside);
  if (mask) FillRaster(*mask, !inside);
  for (int y = box.top; y < box.bottom; ++y) {
    std::fill(covered.begin(), covered.end(), polygonOnly ? 0 : 1);
    if (polygonOnly) {
      RowCrossings(points, count, y, &crossings);
      for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
        // Pixel x is inside when its centre x + 0.5 lies in [from, to).
        const int first = std::max(static_cast<int>(std::ceil(crossings[i] - 0.5)), box.left);
        const int end = std::min(static_cast<int>(std::ceil(crossings[i + 1] - 0.5)), box.right);
        for (int x = first; x < end; ++x) covered[x - box.left] = 1;
      }
    }
    for (int x = box.left; x < box.right; ++x) {
      const bool in = covered[x - box.left] != 0;
      SetRasterPixel(target, x - box.left, y - box.top, in ? GetRasterPixel(source, x, y) : outside);
      if (mask) SetRasterPixel(*mask, x - box.left, y - box.top, in ? inside : !inside);
    }
  }
}

void ThresholdRaster(const Raster& source, const RasterPalette& palette, LevelChannel channel,
                     int threshold, const Raster& target) {
  FillRaster(target, 1);
  for (int y = 0; y < source.height; ++y) {
    for (int x = 0; x < source.width; ++x) {
      uint32_t rgb = GetRasterPixel(source, x, y);
      if (source.bitsPerPixel == 8) {
        rgb = static_cast<int>(rgb) < palette.count ? palette.colors[rgb] : 0;
      }
      if (Level(rgb, channel) < threshold) SetRasterPixel(target, x, y, 0);
    }
  }
}
