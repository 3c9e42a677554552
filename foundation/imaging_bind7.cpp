// The binding of sheetdesk: the ImageKit-7 libraries loaded by name at
// start-up through the system's library search.
#include "foundation/imaging.h"

void BindImagingLibrary() { LoadImagingLibrary(nullptr); }

void UnbindImagingLibrary() { UnloadImagingLibrary(); }

int ImagingLibraryVersion() { return 7; }
