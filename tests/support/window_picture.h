// What the display shows of a window, saved as a PNG for a person to look
// at (the picture tools and the tests that save pictures on request).
#pragma once

#include <windows.h>

#include <string>

// Repaints the window, lets the display draw it and saves its screen
// rectangle, frame included. False when there is no window or the file
// cannot be written.
bool SaveWindowPicture(HWND window, const std::string& path);
// Runs the posted messages a few times with short pauses, so the display
// catches up.
void RunDisplayMessages();
