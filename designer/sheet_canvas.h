// The sheet canvas "Ocr": one side of the sheet at its true proportions
// (4 pixels a millimetre) under the items of its window slot. In edit
// mode (the slot's line-edit mode) items are placed on it and files dropped
// on it become items; in input mode the images dropped on it are read as
// scanned sheets.
//
// Global state: g_canvasView, the canvas's own values (sheet_canvas.cpp).
// GUI thread only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SheetCanvasView {
  int itemsVisible = 1;      // operation mode paints the items only while 1
  int imageDisplay = 0;      // IMGDISP: edit mode shows the scanned image
  RECT referenceMark{};      // the top-left registration mark, canvas pixels
  RECT imageRect{};          // where the slot's background image is drawn:
                             // the workbench's margins and ratios applied
};
extern SheetCanvasView g_canvasView;

// The reading layer's part of the canvas, installed by the workbench when
// it registers (the designer does not read sheets itself). A missing call
// is skipped.
struct CanvasReadingCalls {
  void (*clearFieldResults)() = nullptr;
  // Reads the dropped images in turn: how many were read, or -1 when the
  // sheet's checks refused them (reported).
  int (*readDroppedImages)(const std::vector<std::string>& files) = nullptr;
  void (*enterImageDisplay)() = nullptr;
  void (*leaveImageDisplay)() = nullptr;
};
void InstallCanvasReadingCalls(const CanvasReadingCalls& calls);
const CanvasReadingCalls& GetCanvasReadingCalls();

// Repaints the canvas of the current sheet, when it is open.
void RepaintSheetCanvas();

// The design of the sheet (its format editing) on the canvas slot, begun
// and ended from the canvas's menu and the workbench's 編集 button. Entering
// puts the key item's field back on a front that lost it (the mode's own
// check) and shows the workbench's design buttons; leaving drops the read
// results, saves the changed ruled lines and shows the buttons of the read
// image again.
void EnterSheetDesign(int slot);
void LeaveSheetDesign(int slot);

// The strips of the workbench that hold the canvas's rulers, in its client
// coordinates: above the canvas and left of it, along its visible sheet
// (its scroll bars left out). False when the canvas is not shown inside a
// workbench.
bool CanvasRulerStrips(HWND canvas, RECT* top, RECT* left);
// The pixels between two ticks of the canvas's rulers (a tenth of a major
// one), and the sheet's pixels scrolled out of sight at the left and top.
int CanvasRulerStep();
POINT CanvasScroll(HWND canvas);

// Sizes the canvas's grid to the paper of the current side (whole
// centimetres, 10 pixels a column) before its window opens.
void SizeSheetCanvas();

// Drawing (sheet_canvas_paint.cpp), on the current paint context in canvas
// pixels. DrawSheetLayout paints everything under the items: the paper, the
// silver up to the next centimetre, the scanned image, the guides or the
// image frame, the print frame, the registration marks and the search
// areas of the corners.
void DrawSheetLayout();
void DrawRegistrationMarks();
void DrawRegistrationMark(int xMm, int yMm, int sideMm);
void DrawCornerMarks(int areaWidth, int areaHeight);
// The rectangle of the top-left registration mark, after its margins
// changed.
void RefreshCanvasOptions();
void SetReferenceMarkRect(int xMm, int yMm, int sideMm);

// Dropped files (sheet_canvas_drops.cpp): in edit mode the first file
// becomes an item (BMP, JPG, TXT) where it was dropped (`at`, in the
// window's client area); in input mode the images go to the reading layer.
// 0, or -1 after the message of a refused file.
int DropFilesOnCanvas(int slot, const std::vector<std::string>& files, POINT at);
