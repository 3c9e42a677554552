// Codes of the items of a sheet and the long texts of their rows: pure
// text routines, shared by the field editor and the canvas menus.
#pragma once

#include <string>
#include <vector>

// The lowest free code at or above `first` ("0001", "T001", "B001") among
// `taken`, the codes of its range in ascending order; "" when the range
// (up to 999) is full.
std::string NextFreeAreaCode(const std::vector<std::string>& taken, const std::string& first);
// `text` cut into `pieces` parts of at most `room` bytes each, never inside
// a double-byte character; what does not fit is dropped.
std::vector<std::string> SplitTextPieces(const std::string& text, size_t room, size_t pieces);
