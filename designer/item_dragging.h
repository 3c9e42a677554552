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
// The same on a screen's window: its S_FIELD rows that it shows as items
// (not list columns, hidden rows or the key bar's) move a character across
// or a row down, its ruled lines a font unit or a grid step. 0, or -1 on
// the sheet or a list, or after the message of a failed write.
int ShiftScreenLayout(int direction);
// The sheet's guide snapping ("スナップ"): off at start, then half a grid
// unit is the step. The toggle repaints the sheet with its guides in the
// colour of the new state.
void ToggleGuideSnap();
int GuideSnapOn();
// The "スナップ" item of the current window (the workbench's bar) shows the
// state: checked while on, with a tip that says what a click does.
void UpdateSnapButtonGuide();
// Sets every design-mode hook of the screen engine: the ruled lines and
// the items.
void InstallDesignModeCalls();
