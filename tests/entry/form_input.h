// Driving the fields of a screen window as the operator does: the value a
// field shows, a click on an item, typing over a field's value.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

// The text a field of a slot shows, without leading and trailing blanks.
std::string ShownText(int slot, const char* name);
// Clicks an item of a slot's window (a field takes the focus).
void ClickItem(int slot, int item);
// Clicks a field and types over what it holds; the key that leaves the
// field is the caller's. False when the click did not focus the field.
bool TypeIntoField(int slot, const char* name, const char* text);

// A screen's text with lines of its definition changed: each `from` (found
// once at least) becomes its `to`. False when a `from` is not there.
struct TextChange {
  const char *from, *to;
};
bool ChangeScreenText(std::string* text, std::initializer_list<TextChange> changes);
