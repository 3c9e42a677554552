// The sheet canvas's right-button menus and their choices.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

// Opens the menu for the point (x, y) of the canvas slot's window where the
// right button was pressed: 0 shown, -1 when there is none for that point
// (a picture) or no window; 999 when the mark settings opened in
// place of a menu.
int ShowSheetDesignMenu(int slot, int x, int y);
// Carries out the menu's line `line` (from 1): 0, or -1 for no such line
// or when the action failed (reported).
int RunSheetMenuChoice(int line);
// The entries of a menu's comma list, in their order.
std::vector<std::string> SplitMenuEntries(const std::string& list);
