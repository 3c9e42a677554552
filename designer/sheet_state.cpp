// Paper settings of the current sheet side and the sheet canvas values, as
// loaded by the sheet settings and the canvas window.
#include "designer/designer.h"

SheetPaperSettings g_sheetPaper;
SheetCanvasState g_sheetCanvas;
