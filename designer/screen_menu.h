// The design menus of screen windows (cards, lists and menus) opened for
// screen edit: the screen's own entries on the background; an item is only
// marked as the one clicked.
#pragma once

#include <string>

// The menu of the current window at the mouse: mode 1 for cards and lists,
// 2 for menus. In the header band the window is sent 1162 with its number
// and no line (0); on an item that item becomes the click item (-3 for one
// that cannot be moved); elsewhere the background's entries are offered.
// 0, or -1 when nothing was offered in mode 1 or a pop-up was open.
int ShowScreenDesignMenu(int mode);
// The entry of line `line` (from 1) of the background menu shown last, ""
// for no such line.
std::string ScreenMenuEntry(int line);
// Carries out line `line` of that menu on its window: the placing of
// fields or buttons started or ended (the window's design mode). 0, or -1
// for a line that is not the design mode's.
int RunScreenMenuChoice(int line);
