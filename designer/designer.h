// The sheet designer: ruled lines of screens and sheets, design-mode
// editing, the sheet canvas and the paper settings of the current sheet.
//
// Global state:
//   g_ruledLines       300 ruled lines of all window slots   (ruled_lines.cpp)
//   g_lineEdit         the one ruled-line editing state      (ruled_lines.cpp)
//   g_designSelection  the selection the design editor shows (ruled_lines.cpp)
//   g_sheetPaper       paper settings of the current sheet   (sheet_state.cpp)
//   g_sheetCanvas      values of the sheet canvas window     (sheet_state.cpp)
#pragma once

#include <windows.h>

// ---------------------------------------------------------------------------
// Ruled lines

constexpr int kMaxRuledLines = 300;
constexpr int kRuledLineCutFrame = 99;  // size code of the cutting frame

// One ruled line: end points in content pixels of its window.
struct RuledLine {
  char kind = 0;        // 'L' line, 'C' drawn but not picked, 0 free
  int sizeCode = 0;     // 1, 2, 5 dashed, 7, 8, 99 cutting frame
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
extern RuledLine g_ruledLines[kMaxRuledLines];

struct RuledLineEditState {
  int selectedLine = -1;
  int shownLine = -1;
  int grabbedEdge = 0;
  int moved = 0;
  int dragMode = 0;
  int linesChanged = 0;
  int gridSnap = 1;
};
extern RuledLineEditState g_lineEdit;

// The format file name of the first free window slot (the window opened
// next); shares its buffer with the background image name.
void SetNextWindowFormatFile(const char* name);
// The format file name of a given slot.
void SetWindowFormatFile(int slot, const char* name);
// The background image of the window opened next; that window is sized to
// the image (window kind 12).
void SetNextWindowImage(const char* name);
// Gives back the ruled lines of a slot (kind 0) and empties its range.
void FreeSlotRuledLines(int slot);

// ---------------------------------------------------------------------------
// Design-mode selection: the rectangle the design editor shows (state 1 or
// 4), framed by page painting.
struct DesignSelection {
  int state = 0;
  int left = 0, top = 0, right = 0, bottom = 0;
};
extern DesignSelection g_designSelection;

// Work rectangle of the design editor (inclusive edges).
struct DesignWorkRect {
  int left = 0, top = 0, right = -1, bottom = -1;
};
extern DesignWorkRect g_designWorkRect;

// ---------------------------------------------------------------------------
// Paper settings of the current sheet side, as far as painting reads them.
struct SheetPaperSettings {
  int printColourState = 0;  // 0 and 40: monochrome printing
  int int8 = 0;              // ＩＮＴ８: guide marks in handwriting cells
};
extern SheetPaperSettings g_sheetPaper;

// The sheet canvas window ("Ocr") and its grid.
struct SheetCanvasState {
  HWND window = nullptr;
  int scale = 4;           // pixels per millimetre (dots per grid unit)
  int columns = 0, rows = 0, pitch = 0;  // grid extent of the canvas
  int displayRatio = 100;  // pictures beside sheet items, in percent
};
extern SheetCanvasState g_sheetCanvas;

inline int SheetDotsPerGridUnit() { return g_sheetCanvas.scale; }
