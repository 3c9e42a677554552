// Picture files made by the tools and tests: PNG (8-bit RGB, stored deflate
// blocks) and 24-bit BMP. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes `rgb` (width x height pixels, 3 bytes each, rows top down) to
// `path`. Returns 0, or -1 when the file cannot be written.
int WritePngFile(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb);

// Writes `rgb` as a bottom-up 24-bit BMP file. Returns 0, or -1 when the
// file cannot be written.
int WriteBmpFile(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb);
