// The choice texts of a check field as the choice editor ("Medit") shows
// them a choice a field: what is printed beside each box (重ね文字) and the
// value each box gives (変換条件). Either text is a run of single
// characters, one a choice, or a comma list, one entry a choice. Portable.
#pragma once

#include <string>
#include <vector>

// The entries of `text` for `count` choices: with more than one choice a
// text without commas and double-byte characters gives a character a
// choice (a blank an empty one), any other text its comma-separated
// entries (quoted ones as the tokenizer reads them; 128 bytes each at
// most: a longer one is cut and ends the list), so that one choice
// without a comma takes the whole text, as the sheet prints it. Choices
// past the text are empty; entries past `count` are dropped.
std::vector<std::string> SplitChoiceText(const std::string& text, int count);

// The text of the choices' fields again. Values (`values` true): all empty
// give "", a first "〃" gives "〃" (the printed contents are taken). With
// one field, or when any field holds more than one byte or is a comma, the
// comma list of all fields (an entry with a comma or a quote quoted);
// otherwise the fields run together, an empty one as a blank, or as "^" for
// a value whose choice is hidden (`hidden`, a flag a choice), which
// SplitChoiceText reads back as "^". Apart from that, it reads back the
// same fields.
std::string JoinChoiceTexts(const std::vector<std::string>& fields, bool values, const std::vector<bool>& hidden);
