// The key item's dialog ("IdxCtrl", "キー項目欄設定") of the sheet designer.
#pragma once

#include <windows.h>

#include <string>

// Opens the dialog for the key item's field of area code `code` over the
// canvas slot (disabled, with its owner, while open): 0, or -1 after the
// message (no row of that code, no free window slot; quiet when it is open
// already).
int OpenKeyFieldDialog(int canvasSlot, const std::string& code);
// The window slot of the open dialog, or -1.
int KeyFieldDialogSlot();
LRESULT CALLBACK IdxCtrlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
