// Scanning and reading: sheet images, registration marks, field reading and
// the reading run. Other subsystems include this header only; the portable
// arithmetic of the road is declared in sheet_core.h.
#pragma once

#include "reading/sheet_core.h"
