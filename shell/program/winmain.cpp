// Entry point of both programs.
#include <windows.h>

#include "foundation/imaging.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  BindImagingLibrary();
  UnbindImagingLibrary();
  return 0;
}
