// Turning, cutting and thresholding pixel rows. Quarter turns of 1-bit
// pages (the reading run turns every landscape page) move 8 x 8 pixel
// blocks at a time; everything else works pixel by pixel.
#include "platform/raster.h"

#include <algorithm>
#include <cmath>
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

// Copies up to the bits left in the target's byte at `to`: how many it
// copied.
int CopyBitsIntoByte(const uint8_t* source, int64_t from, uint8_t* target, int64_t to, int64_t count) {
  const int shift = static_cast<int>(to & 7);
  const int take = static_cast<int>(std::min<int64_t>(8 - shift, count));
  // `take` bits from `from` on, moved to the top of a byte.
  const int sourceShift = static_cast<int>(from & 7);
  unsigned bits = static_cast<unsigned>(source[from >> 3]) << 8;
  if (sourceShift + take > 8) bits |= source[(from >> 3) + 1];
  bits = (bits << sourceShift) >> 8 & 0xFF;
  const unsigned mask = (0xFF00u >> take) & 0xFF;
  uint8_t& out = target[to >> 3];
  out = static_cast<uint8_t>((out & ~(mask >> shift)) | ((bits & mask) >> shift));
  return take;
}

// Copies `count` bits of 1-bit rows from bit `from` of `source` to bit `to`
// of `target`: the bits up to a target byte boundary, then whole target
// bytes (each from two source bytes at one shift), then the rest.
void CopyBits(const uint8_t* source, int64_t from, uint8_t* target, int64_t to, int64_t count) {
  if (count > 0 && (to & 7) != 0) {
    const int took = CopyBitsIntoByte(source, from, target, to, count);
    from += took;
    to += took;
    count -= took;
  }
  const int64_t bytes = count >> 3;
  if (bytes > 0) {
    const uint8_t* in = source + (from >> 3);
    uint8_t* out = target + (to >> 3);
    const int shift = static_cast<int>(from & 7);
    if (shift == 0) {
      std::memcpy(out, in, static_cast<std::size_t>(bytes));
    } else {
      // The low bits of out[i] come from in[i + 1], which holds copied bits
      // whenever out[i] is whole, so nothing past the run is read.
      for (int64_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<uint8_t>(in[i] << shift | in[i + 1] >> (8 - shift));
      }
    }
    from += bytes * 8;
    to += bytes * 8;
    count -= bytes * 8;
  }
  if (count > 0) CopyBitsIntoByte(source, from, target, to, count);
}

// TurnByAngle for 1-bit rows at angles whose cosine is above 0, with the
// same nearest source pixels: along a target row the source pixel advances
// one to the right at every step but where its row changes or a pixel
// repeats, so the row is copied in runs of bits between those places. The
// target holds the fill already.
void TurnBitsByAngle(const Raster& source, const Raster& target, double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  constexpr double kOne = 65536.0;
  constexpr int64_t kUnit = 65536;
  const int64_t stepX = std::llround(c * kOne);
  const int64_t stepY = std::llround(s * kOne);
  const int64_t lag = kUnit - stepX;  // how far each step falls behind a pixel
  for (int y = 0; y < target.height; ++y) {
    const double v = y + 0.5 - target.height / 2.0;
    const double u = 0.5 - target.width / 2.0;
    int64_t sx = std::llround((source.width / 2.0 + u * c - v * s) * kOne);
    int64_t sy = std::llround((source.height / 2.0 + u * s + v * c) * kOne);
    uint8_t* out = target.Row(y);
    for (int64_t x = 0; x < target.width;) {
      const int64_t px = sx >> 16;
      const int64_t py = sy >> 16;
      const int64_t fx = sx & (kUnit - 1);
      const int64_t fy = sy & (kUnit - 1);
      // Steps the source row stays, and pixels that follow one another.
      int64_t run = target.width - x;
      if (stepY > 0) run = std::min(run, (kUnit - fy + stepY - 1) / stepY);
      if (stepY < 0) run = std::min(run, fy / -stepY + 1);
      if (lag > 0) run = std::min(run, fx / lag + 1);
      if (py >= 0 && py < source.height) {
        const int64_t first = std::max<int64_t>(px, 0);
        const int64_t last = std::min<int64_t>(px + run, source.width);
        if (first < last) CopyBits(source.Row(static_cast<int>(py)), first, out, x + first - px, last - first);
      }
      x += run;
      sx += run * stepX;
      sy += run * stepY;
    }
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
  // 1-bit rows are written pixel by pixel or in whole bytes: the padding
  // bits past the last pixel must still read as the fill (white). Quarter
  // turns of 1-bit rows see to it themselves.
  if (target.bitsPerPixel == 1 && !(quarter && source.bitsPerPixel == 1)) FillRaster(target, fill);
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
  } else if (source.bitsPerPixel == 1 && target.bitsPerPixel == 1 &&
             (normal < 9000 || normal > 27000)) {
    TurnBitsByAngle(source, target, normal * kRadiansPerHundredth);
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
