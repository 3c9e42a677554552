// Where a sheet's registration marks stand, in millimetres: the canvas
// shows them where the print puts them. Portable.
#pragma once

#include <vector>

// One registration mark: its top-left corner and side, in millimetres.
struct RegistrationSquare {
  int x, y, size;
};
// The marks of one page of a sheet with compensation mode `mode` (0 none,
// 1 one mark, 2 two, 3 three) on paper `widthMm` x `heightMm`, the mark
// margins `mx`, `my` as held in memory (value + 2, 0 for none), the back
// side (`backSide`) marked by one more square below the top-left one.
std::vector<RegistrationSquare> RegistrationSquares(int mode, int widthMm, int heightMm, int mx,
                                                    int my, bool backSide);
