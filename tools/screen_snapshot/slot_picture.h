// What the screen engine paints for a window slot, as a picture: the page
// painted into a memory bitmap of the given size; and what the display
// shows of a window. Windows only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// The slot's page painted on a light grey ground, `width` x `height`
// pixels, 3 bytes (R, G, B) each, rows top down.
std::vector<std::uint8_t> PaintSlotPicture(int slot, int width, int height);
// What the display shows of `window` (frame and children included), its
// size in `width` and `height`; empty for a window of no size.
std::vector<std::uint8_t> CopyWindowPicture(HWND window, int* width, int* height);
