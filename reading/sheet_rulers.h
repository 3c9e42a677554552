// The rulers along the top and the left of a sheet shown on screen: the
// workbench's canvas and the image check view share one scheme.
#pragma once

#include <windows.h>

// Draws a ruler in `strip` (top: a strip above the sheet, its ticks
// rising from its bottom edge; otherwise a strip left of it, its ticks
// reaching left from its right edge). A tick stands every `step` pixels
// from the sheet's first pixel, every tenth a major one numbered "%2d" with
// its count of ten steps (the first, 0, is not numbered), the others 10
// pixels long; `firstPixel` is the sheet's pixel shown at the strip's
// start (scrolling). Etched lines: white, black one pixel beside.
void DrawSheetRuler(HDC dc, bool top, const RECT& strip, int step, int firstPixel);
