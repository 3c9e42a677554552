// The windows of printing that start-up makes beside the print-settings
// window: the OCR-sheet printing window "PrnSheet". It is registered and
// made hidden; its screen (the print type, the identification numbers,
// the master data) is not built yet, so it shows nothing.
#pragma once

#include <windows.h>

// The hidden window, or null when its class cannot be registered.
HWND RegisterPrintSheetWindow();
