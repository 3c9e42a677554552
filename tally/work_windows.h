// The windows of printing that start-up makes beside the print-settings
// window: the OCR-sheet printing window "PrnSheet". It is registered and
// made hidden until OpenSerialPrintScreen builds its screen.
#pragma once

#include <windows.h>

// The hidden window, or null when its class cannot be registered.
HWND RegisterPrintSheetWindow();
