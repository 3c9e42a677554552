// The preview beside the print-settings screen as the display shows it once
// the owner of the print job has drawn its page there (the preview is
// painted afresh first).
#pragma once

// Black pixels of the preview.
int PreviewBlackPixels();
// The lowest row of the preview that holds pixels of `colour` (the ruled
// lines of a table), or -1 when none does.
int PreviewLowestRowOf(unsigned long colour);
