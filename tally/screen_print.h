// Printing of screens and their fields through the report output: the
// operations the screen engine's DrawWindowItems calls for every item and
// ruled line of a screen. Coordinates are screen pixels plus the offsets
// given; the report layer shifts them by its margins and scales them.
#pragma once

// An item's caption in its caption rectangle, with a font of twice the
// item's character size; items whose state byte is 255 are skipped.
void PrintFieldText(int item, const char* text, int xOffset, int yOffset);
// An OCR-sheet item (item class 7) in the sheet layout with the sheet font.
void PrintSheetField(int item, int xOffset, int yOffset);
// A rectangle with the black stock pen; the fifth value is not used.
void PrintFieldFrame(int x1, int y1, int x2, int y2, int unused);
// An item's value in its box (postcodes as "〒%s", longer texts wrapped).
void PrintFieldValue(int item, const char* text, int xOffset, int yOffset);
// The box frame of an item (twice for item class 3); nothing for state 255,
// item class 1, title style 10 or kinds 'R' and 'C'; edit letter 'V' swaps
// width and height.
void PrintFieldMarks(int item, int xOffset, int yOffset);
// A line or frame on the printer: width mode 1 is 14 and 2 is 32 printer
// units; dashed (after SetPrintLineStyle(2)) with a geometric pen in the
// colour of the colour code.
void DrawPrintThickLine(int x1, int y1, int x2, int y2, int widthMode, int colorCode);
