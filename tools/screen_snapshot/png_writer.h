// A minimal PNG writer for pictures made by the tools: 8-bit RGB, stored
// (uncompressed) deflate blocks. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes `rgb` (width x height pixels, 3 bytes each, rows top down) to
// `path`. Returns 0, or -1 when the file cannot be written.
int WritePngFile(const std::string& path, int width, int height,
                 const std::vector<std::uint8_t>& rgb);
