// Colour buttons (edit letter 'G') that show the graph colour their value
// names ("09" or "09-03": colour and fill pattern) as a swatch.
#pragma once

#include <windows.h>

// Paints the swatch of every colour button of a window slot over what the
// screen painted, on the window's client area.
void PaintGraphColorSwatches(HWND window, int slot);
