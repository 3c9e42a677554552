// Raster contour tracing of a neighbour map: every border pixel of the map's
// window (inside its margin) makes one or more contour points by the link
// table, points are linked into rings in one top-to-bottom pass, and each
// ring gets its Contour record (outer boundary or hole). Up to 4000 points and
// 400 contours; one-pixel holes are filled on the way.
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

// The map's window: pixels outside it count as white, so that a margin left
// dirty by a caller can never make a link to a pixel the tracer never visits.
struct MapWindow {
  uint8_t* bytes;
  int width, height;
  int first, lastX, lastY;  // inclusive window bounds
  bool Inside(int x, int y) const {
    return x >= first && x <= lastX && y >= first && y <= lastY;
  }
  bool Black(int x, int y) const {
    return Inside(x, y) && (bytes[y * width + x] & kMapBlack);
  }
  uint8_t& At(int x, int y) { return bytes[y * width + x]; }
};

MapWindow WindowOf(const NeighbourMap& map) {
  const int m = map.margin < 1 ? 1 : map.margin;
  return {map.bytes, map.width, map.height, m, map.width - m - 1, map.height - m - 1};
}

// Code of the 8 neighbours of (x, y): bit 0 below-right black, 1 below-left,
// 2 above-right, 3 above-left, 4 below, 5 right, 6 left, 7 above.
int NeighbourhoodCode(const MapWindow& w, int x, int y) {
  if (x > w.first && x < w.lastX && y > w.first && y < w.lastY) {
    const uint8_t* up = w.bytes + (y - 1) * w.width + x;
    const uint8_t* mid = up + w.width;
    const uint8_t* down = mid + w.width;
    return (down[1] & 1) | (down[-1] & 1) << 1 | (up[1] & 1) << 2 | (up[-1] & 1) << 3 |
           (down[0] & 1) << 4 | (mid[1] & 1) << 5 | (mid[-1] & 1) << 6 | (up[0] & 1) << 7;
  }
  return (w.Black(x + 1, y + 1) ? 1 : 0) | (w.Black(x - 1, y + 1) ? 2 : 0) |
         (w.Black(x + 1, y - 1) ? 4 : 0) | (w.Black(x - 1, y - 1) ? 8 : 0) |
         (w.Black(x, y + 1) ? 16 : 0) | (w.Black(x + 1, y) ? 32 : 0) |
         (w.Black(x - 1, y) ? 64 : 0) | (w.Black(x, y - 1) ? 128 : 0);
}

bool AllFourBlack(const MapWindow& w, int x, int y) {
  return (NeighbourhoodCode(w, x, y) & 0xF0) == 0xF0;
}

// A white pixel below border pixel (x, y) enclosed by black on all four sides
// is a one-pixel hole: it becomes black, with every neighbour bit kept true.
void FillHoleBelow(MapWindow& w, int x, int y) {
  if (y >= w.lastY) return;
  if (w.Black(x, y + 1) || !AllFourBlack(w, x, y + 1)) return;
  w.At(x, y + 1) = kMapBlack | kMapFourNeighbours;
  w.At(x - 1, y + 1) |= kMapRight;
  w.At(x + 1, y + 1) |= kMapLeft;
  w.At(x, y + 2) |= kMapAbove;
  w.At(x, y) |= kMapBelow;
}

void Link(ContourPoint* from, ContourPoint* to) {
  if (!from || !to) return;
  from->next = to;
  to->prev = from;
}

ContourPoint* Take(ContourPoint*& slot) {
  ContourPoint* p = slot;
  slot = nullptr;
  return p;
}

}  // namespace

void ClearBitmapMargin(NeighbourMap* map) {
  const int m = map->margin;
  for (int y = 0; y < map->height; ++y) {
    uint8_t* row = map->bytes + y * map->width;
    if (y < m || y >= map->height - m) {
      std::memset(row, 0, map->width);
      continue;
    }
    for (int x = 0; x < m && x < map->width; ++x) row[x] = row[map->width - 1 - x] = 0;
  }
}

void ResetStrokeWorkLists(ContourSet* contours) {
  contours->points.count = 0;
  contours->contours.count = 0;
  contours->pairs.count = 0;
  contours->runs.count = 0;
  contours->caps.count = 0;
}

int ScanBitRun(const uint8_t* row, int16_t firstBit, int16_t lastBit, int16_t* runs,
               uint16_t* count, int capacity) {
  *count = 0;
  auto bit = [row](int i) { return (row[i >> 3] >> (7 - (i & 7))) & 1; };
  for (int i = firstBit; i <= lastBit; ++i) {
    if (!bit(i)) continue;
    int last = i;
    while (last + 1 <= lastBit && bit(last + 1)) ++last;
    int16_t* entry = runs + 3 * *count;
    entry[0] = static_cast<int16_t>(i - firstBit);
    entry[1] = static_cast<int16_t>(last - firstBit);
    entry[2] = 0;
    ++*count;
    if (*count >= capacity) return -1;
    i = last;
  }
  return 0;
}

// Link slots: four per pixel for the previous and the current row. A point
// whose predecessor (or successor) lies further on in the raster waits in a
// slot of its own pixel until that point takes it.
int TraceContours(NeighbourMap* map, ContourSet* contours, ContourPoint** slots) {
  RecordArray<ContourPoint>& points = contours->points;
  points.count = 0;
  MapWindow w = WindowOf(*map);
  const int rowSlots = 4 * w.width;
  std::memset(slots, 0, sizeof(ContourPoint*) * 2 * rowSlots);
  for (int y = w.first; y <= w.lastY; ++y) {
    ContourPoint** cur = slots + (y & 1) * rowSlots;
    ContourPoint** prev = slots + ((y + 1) & 1) * rowSlots;
    std::memset(cur, 0, sizeof(ContourPoint*) * rowSlots);
    for (int x = w.first; x <= w.lastX; ++x) {
      if (!(w.bytes[y * w.width + x] & kMapBlack)) continue;
      if ((NeighbourhoodCode(w, x, y) & 0xF0) == 0xF0) continue;
      FillHoleBelow(w, x, y);
      const int code = NeighbourhoodCode(w, x, y);
      uint32_t links = kContourLinkTable[code];
      const bool several = links > 0xFF;
      ContourPoint* firstOfPixel = nullptr;
      ContourPoint* lastOfPixel = nullptr;
      for (; links; links >>= 8) {
        const int a = links & 7, b = (links >> 4) & 7;
        if (points.count >= points.capacity) {
          PushErrorCode(kErrCapacityFull);
          return -9;
        }
        ContourPoint* p = &points.items[points.count++];
        *p = ContourPoint{};
        p->x = static_cast<int16_t>(x);
        p->y = static_cast<int16_t>(y);
        p->code = static_cast<int16_t>(several ? -1 : code);
        p->direction = static_cast<int16_t>(b);
        switch (b) {
          case 4: Link(Take(prev[4 * (x + 1) + 2]), p); break;
          case 5: Link(Take(prev[4 * x + 2]), p); break;
          case 6: Link(Take(prev[4 * (x - 1) + 3]), p); break;
          case 7: Link(Take(cur[4 * (x - 1) + 3]), p); break;
          default: cur[4 * x + (b < 2 ? 0 : 1)] = p; break;
        }
        switch (a) {
          case 0: Link(p, Take(prev[4 * (x + 1)])); break;
          case 1: Link(p, Take(prev[4 * x])); break;
          case 2: Link(p, Take(prev[4 * (x - 1) + 1])); break;
          case 3: Link(p, Take(cur[4 * (x - 1) + 1])); break;
          default: cur[4 * x + (a < 6 ? 2 : 3)] = p; break;
        }
        if (lastOfPixel) lastOfPixel->crossing = p;
        if (!firstOfPixel) firstOfPixel = p;
        lastOfPixel = p;
      }
      if (several) lastOfPixel->crossing = firstOfPixel;
    }
  }
  return 0;
}

// Outer rings run with the top edge leftward (image rows down); the first
// point of a hole ring in raster order lies on its top edge, between its
// predecessor on the left and its successor on the right. Any ring whose
// first point is not so placed is an outer boundary.
int ClassifyContours(ContourSet* contours) {
  RecordArray<ContourPoint>& points = contours->points;
  RecordArray<Contour>& list = contours->contours;
  for (int i = 0; i < points.count; ++i) {
    ContourPoint* first = &points.items[i];
    if (first->owner) continue;
    if (list.count >= list.capacity) {
      PushErrorCode(kErrCapacityFull);
      return -9;
    }
    Contour* c = &list.items[list.count++];
    *c = Contour{};
    c->first = first;
    bool crossesItself = false;
    int n = 0;
    ContourPoint* p = first;
    do {
      p->owner = c;
      crossesItself |= p->code == -1;
      ++n;
      p = p->next;
    } while (p && p != first && n < points.count);
    c->pointCount = static_cast<uint16_t>(n);
    const bool hole = first->prev && first->next && first->prev->x < first->x &&
                      first->x < first->next->x;
    c->kind = hole ? kContourHole : kContourOuter;
    if (!hole && n <= 8 && crossesItself) c->kind = kContourSmallCrossedOuter;
    if (hole && n < 8) c->kind = kContourSmallHole;
  }
  return 0;
}
