// The choice-content editor ("Medit", "選択肢の内容の編集") of a check
// field: what each box prints beside it and the value it gives, a field
// each, over the field editor.
#pragma once

#include <windows.h>

// Opens the editor for the check field of the field editor's open form
// (its slot `editorSlot`, disabled while the editor is open): 0, or -1
// after the message (no choices, no field name, no free window slot; quiet
// when it is open already). Closed with changes, it puts the joined texts
// into the form's 重ね文字 and 変換条件.
int OpenChoiceContentEditor(int editorSlot);
// The window slot of the open editor, or -1.
int ChoiceEditorSlot();
LRESULT CALLBACK MeditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
