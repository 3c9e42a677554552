// The fax codings of black-and-white pages (CCITT T.4 and T.6), as TIFF
// files store them: Modified Huffman rows, Group 3 one- and two-dimensional
// rows after end-of-line codes, and Group 4 rows, each row coded against
// the one above. Pages are coded and decoded as rows of pixel values, the
// most significant bit leftmost, 0 the background ("white") the codes start
// each row with. Portable; the decoder parses untrusted bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

enum class FaxCoding {
  kModifiedHuffman,  // TIFF compression 2: one-dimensional rows, each from a
                     // byte boundary, no end-of-line codes
  kGroup3OneD,       // TIFF compression 3: end-of-line, one-dimensional row
  kGroup3TwoD,       // TIFF compression 3 with 2-D coding: end-of-line, a
                     // tag bit, then a one- or two-dimensional row
  kGroup4,           // TIFF compression 4: two-dimensional rows only
};

// Why coded bytes give no page.
enum class FaxFault {
  kNone,
  kBadCode,        // bits that are no code of the coding
  kRowOverrun,     // a row's runs or changes go past its width or back
  kEndOfData,      // the bytes end before the last row
  kUnsupported,    // extension or uncompressed mode
};

// `rows` rows of `width` pixels, packed (width + 7) / 8 bytes a row.
struct FaxRows {
  int width = 0;
  int height = 0;
  std::size_t rowBytes = 0;
  std::vector<uint8_t> pixels;
};

// Decodes `height` rows of `width` pixels from `bytes`, whose bits are read
// from the most significant one of each byte, into `rows` (overwritten).
// Bits after the last row are ignored.
FaxFault DecodeFaxRows(const uint8_t* bytes, std::size_t byteCount, FaxCoding coding, int width,
                       int height, FaxRows* rows);

// Codes `rows` (width at least 1). Group 3 two-dimensional coding codes
// every fourth row one-dimensionally (the K of a fine-resolution fax).
// Group 4 ends with its end-of-facsimile-block code.
std::vector<uint8_t> EncodeFaxRows(const FaxRows& rows, FaxCoding coding);
