// The test programs close what the imaging libraries keep open on their
// main thread when they exit, as the programs do when they unbind them.
#include "platform/imaging_library.h"

namespace {

struct EndImagingAtExit {
  ~EndImagingAtExit() {
    IKEndImaging();
    IK5EndImaging();
  }
} g_endImagingAtExit;

}  // namespace
