// The BMP layout of black-and-white pages, the form every scanned sheet is
// stored in: the headers of an uncompressed 1-bit BMP read from the first
// bytes of a file, and the headers written before the rows of such a page.
// The imaging libraries read and write these pages without a codec; every
// other BMP (other depths, compressed rows, OS/2 headers, odd palettes) is
// left to the platform's codec. Portable; parses untrusted bytes.
#pragma once

#include <cstddef>
#include <cstdint>

// Bytes to read from the start of a file for the header readers: the file
// header, the largest info header (124 bytes) and two colours.
constexpr std::size_t kBmpProbeBytes = 14 + 124 + 8;
// Bytes before the rows of the pages we write: the file header, a 40-byte
// info header and two colours.
constexpr std::size_t kOneBitBmpHeaderBytes = 62;

// Colour of a palette entry as stored: blue, green, red, 0.
struct BmpColor {
  uint8_t blue = 0, green = 0, red = 0, unused = 0;
};

// What the headers of a 1-bit BMP say about its rows.
struct OneBitBmp {
  int32_t width = 0;
  int32_t height = 0;          // rows
  bool topDown = false;        // rows stored from the top (negative height)
  uint32_t pixelOffset = 0;    // first byte of the rows in the file
  uint32_t rowBytes = 0;       // each row padded to 4 bytes
  uint64_t pixelBytes = 0;     // rowBytes * height
  BmpColor palette[2];         // colours of pixel values 0 and 1
  uint32_t colorsUsed = 0;     // as stated: 0 means two; more than two
                               // names colours no pixel can take
  int32_t xPelsPerMeter = 0;   // 0 when the file states none (or a
                               // negative one)
  int32_t yPelsPerMeter = 0;
};

// Why the headers of a file describe no 1-bit page, checked in this order.
enum class BmpFault {
  kNone,      // an uncompressed 1-bit BMP whose rows all lie in the file
  kNotBmp,    // not "BM", an info header of no Windows form (OS/2 headers
              // included), or headers cut before their two colours
  kBitDepth,  // a pixel is not one bit
  kLayout,    // more than one plane or compressed rows
  kColours,   // a palette of one colour
  kOffset,    // rows that start inside the headers
  kSize,      // no width, a height of 0 or INT32_MIN (it has no positive
              // form), or a side over kMaxImageSide
  kPastEnd,   // rows past the end of the file
};

// The one reader of BMP headers for every 1-bit page of the programs: reads
// the headers in `head` (the first `headBytes` bytes of a file of `fileBytes`
// bytes; kBmpProbeBytes are enough), with the palette where the info header
// ends, and checks the rows against the file's length before anything is
// sized by them. Fills `bmp` for kNone only.
BmpFault CheckOneBitBmpHeaders(const uint8_t* head, std::size_t headBytes, uint64_t fileBytes,
                               OneBitBmp* bmp);

enum class BmpKind {
  kOneBit,   // an uncompressed 1-bit BMP whose rows all lie in the file
  kOther,    // anything else: for the codec
  kDamaged,  // claims to be a 1-bit BMP but cannot be one: no width, a
             // height of 0 or INT32_MIN (it has no positive form), a side
             // over kMaxImageSide, or rows past the end of the file
};

// CheckOneBitBmpHeaders for the imaging libraries: what is no 1-bit page but
// may be another BMP goes to the codec, a 1-bit page of impossible size or
// with rows past the file's end is damaged. Fills `bmp` for kOneBit.
BmpKind ReadOneBitBmpHeaders(const uint8_t* head, std::size_t headBytes, uint64_t fileBytes,
                             OneBitBmp* bmp);

// The kOneBitBmpHeaderBytes bytes before the rows of a width x height 1-bit
// page stored bottom-up (the order scanners and the reading run expect),
// with its two colours and resolution. Width and height are 1 to
// kMaxImageSide.
void MakeOneBitBmpHeaders(int32_t width, int32_t height, const BmpColor palette[2],
                          int32_t xPelsPerMeter, int32_t yPelsPerMeter,
                          uint8_t out[kOneBitBmpHeaderBytes]);
