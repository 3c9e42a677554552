// Ruled lines edited with the mouse in design mode, and their saving. The
// functions act on the current window slot unless a slot is given; the
// screen engine reaches them through its design-mode hooks, which
// InstallRuledLineEditing sets at start-up.
#pragma once

// The entry a new line of `slot` takes: a free entry of its own run, the
// entry right after the run (which grows), or the last entry of the run
// moved whole to the lowest free entries with room for one more line.
// -1 when the table has no such room.
int AllocateSlotLine(int slot);
// Picks the line edge under the mouse (within a pixel) or starts a new line
// there, and starts dragging it. Always -1 (the click is taken).
int HitTestRuledLine();
// A mouse move while a line is dragged.
void TrackLineDrag();
// The release of a dragged line: snapped on the grid, deleted when shorter
// than a font unit, else marked changed with its type buttons beside it. 1
// when a line drag ended, 0 when none was under way.
int DropRuledLine();
// A line-type button (132 .. 136): the selected line's type. 0, or -1 when
// no line is selected.
int SetSelectedLineType(int keyCode);
void PlaceLineToolButtons();
void HideLineToolButtons();
// The Delete key: the selected line is cleared (its entry stays in the run).
void DeleteSelectedLine();
void ToggleLineGridSnap();
// Writes the slot's lines into its format file, or MUPA_LIN of the sheet /
// S_LINE of its screen database, replacing what was stored. Lines of
// another kind than 'L'/'C', at x or y 0, or shorter than a font unit are
// left out. 0, or -1 after the message (the lines stay in memory).
int SaveLineDefinitions(int slot);
// Enters or leaves line-edit mode of the current window (an OCR sheet or a
// window with a ruler); leaving saves changed lines and tells the main
// window (1139).
void ToggleLineEditMode();
// Before the lines of `slot` stop being the ones shown (the sheet turns to
// its other side): in line-edit mode the window takes the focus and its
// changed lines are saved where they belong, the mode going on. 0, or -1
// after the message of a failed save (the lines stay changed).
int EndRuledLineEditing(int slot);
void InstallRuledLineEditing();
