// Pictures and the 1-bit pages of the TIFF reader and writer, both ways.
// Portable.
#pragma once

#include "platform/tiff_format.h"
#include "tests/support/test_pictures.h"

BilevelPage PageOf(const Picture& picture, int dpi);
Picture PictureOfPage(const BilevelPage& page);
