// The eight directions of the extreme-point searches over stroke chains and
// contour rings: the point of the largest key wins, then the larger secondary
// value, then the first met.
#pragma once

#include <cstdint>

struct DirectionKey {
  int64_t key;
  int64_t secondary;
  // True when this key beats `best` (a later point must be strictly better).
  bool Beats(const DirectionKey& best) const {
    return key > best.key || (key == best.key && secondary > best.secondary);
  }
};

// Key of (x, y) in direction 0..7 with the weight of the secondary value.
inline DirectionKey KeyInDirection(int direction, int64_t x, int64_t y, int64_t weight) {
  switch (direction) {
    case 0: return {-y, weight * x};
    case 1: return {-(x + y), weight * (x - y)};
    case 2: return {-x, weight * y};
    case 3: return {y - x, weight * (x + y)};
    case 4: return {y, weight * x};
    case 5: return {x + y, weight * (x - y)};
    case 6: return {x, weight * y};
    default: return {x - y, weight * (x + y)};
  }
}

inline bool IsDirection(int direction) { return direction >= 0 && direction <= 7; }
