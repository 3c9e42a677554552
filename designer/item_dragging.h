// Items moved with the mouse in design mode, and the design-mode hooks of
// the screen engine as the designer fills them.
#pragma once

// A press on an item: 0 grabbed, -1 in the header band, -3 for an item
// that cannot be moved (protected, a repeated copy, title style 13).
int GrabDesignItem(int item);
// A mouse move: the grabbed item or line follows the mouse.
void TrackDesignDrag();
// The release: an item is snapped (the sheet's guide lines, a screen's
// grid) and its place written into its definition row; a line goes on as
// a line. 1 when a drag ended, 0 when none was under way.
int DropDesignItem();
// Shift + arrow in design mode: every field of the sheet's side (its rows,
// in one statement) and every ruled line of the window moves a grid unit,
// 1 right, 2 left, 3 down, 4 up. 0, or -1 on a window that is not the
// sheet or after the message of a failed write (nothing moved).
int ShiftSheetLayout(int direction);
// The sheet's guide snapping ("スナップ"): off at start, then half a grid
// unit is the step.
void ToggleGuideSnap();
int GuideSnapOn();
// Sets every design-mode hook of the screen engine: the ruled lines and
// the items.
void InstallDesignModeCalls();
