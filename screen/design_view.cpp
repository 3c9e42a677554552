// The design view's values that painting reads: the selection and work
// rectangle of the design editor, the paper settings of the current sheet
// side and the sheet canvas grid. The sheet designer sets them.
#include "screen/screen.h"

DesignSelection g_designSelection;
DesignWorkRect g_designWorkRect;
SheetPaperSettings g_sheetPaper;
SheetCanvasState g_sheetCanvas;
