// What the work windows of entry/ share (work_windows.cpp). Private to
// entry/.
#pragma once

#include <windows.h>

// The right button (as 1164) and the header menu (1162) of a screen window
// go to the main window with the screen's number, a menu's choice with its
// line (from 1; 0 for the header band).
void PassMenuToMainWindow(UINT message, int screenNumber, LPARAM line = 0);
