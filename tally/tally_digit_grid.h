// Digit grids among a tally's questions: a number marked a digit a column,
// each column a run of the same digits ("0123456789" twice for a number of
// two digits). The reading run stores the number the marks spell ("36"),
// so the tally counts that value once, among the values the records hold,
// instead of its digits once in every column. Portable.
#pragma once

#include <string>
#include <vector>

#include "tally/tally.h"

// The number of columns of a digit grid's code text (2 or more copies of one
// run of 2 or more distinct digits); 0 for any other code text.
int DigitGridColumns(const std::string& codeText);

// The value a grid's answer encodes: the answer without its blanks (a column
// left unmarked).
std::string DigitGridValue(const std::string& answer);

// The distinct values of `answers` that count as choices (not empty and not
// over-selected), in the order of their numbers.
std::vector<std::string> DigitGridChoices(const std::vector<std::string>& answers);

// The codes a grid's answers are counted by: each choice a whole value.
TallyQuestionCodes DigitGridCodes(const std::vector<std::string>& choices, int switch05);

#if defined(_WIN32)

// For a digit grid among the questions: the values its records in the tally
// table hold become its choices (labels and codes), counted whole by
// CountQuestionAnswers. The number of values; 0 for a question that is no
// grid (its choices stay).
int LoadDigitGridChoices(int question);

#endif  // _WIN32
