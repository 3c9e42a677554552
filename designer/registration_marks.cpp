// Where the registration marks of a sheet stand.
#include "designer/registration_marks.h"

std::vector<RegistrationSquare> RegistrationSquares(int mode, int widthMm, int heightMm, int mx,
                                                    int my, bool backSide) {
  if (mode < 1 || mode > 3) return {};
  const int w = widthMm, h = heightMm;
  const bool margins = mx > 0 && my > 0;
  std::vector<RegistrationSquare> squares;
  if (mode == 3) {
    if (margins) {
      squares = {{mx, my, 3}, {w - mx - 2, my, 3}, {mx, h - my, 3}};
    } else {
      squares = {{10, 14, 3}, {w - 13, 14, 3}, {10, h - 13, 3}};
    }
    // The back side's extra mark tells it from the front.
    if (backSide) squares.push_back(margins ? RegistrationSquare{mx, my + 5, 3} : RegistrationSquare{10, 19, 3});
    return squares;
  }
  squares.push_back(margins ? RegistrationSquare{mx, my, 2} : RegistrationSquare{6, 6, 2});
  if (mode == 2) {
    squares.push_back(margins ? RegistrationSquare{w - mx - 2, my, 2} : RegistrationSquare{w - 8, 6, 2});
  }
  if (backSide) squares.push_back(margins ? RegistrationSquare{mx, my + 4, 2} : RegistrationSquare{6, 10, 2});
  return squares;
}
