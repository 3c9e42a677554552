// What the screen engine paints for a window slot, as a picture: the page
// painted into a memory bitmap of the given size. Windows only.
#pragma once

#include <cstdint>
#include <vector>

// The slot's page painted on a light grey ground, `width` x `height`
// pixels, 3 bytes (R, G, B) each, rows top down.
std::vector<std::uint8_t> PaintSlotPicture(int slot, int width, int height);
