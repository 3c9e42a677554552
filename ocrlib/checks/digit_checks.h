// The shape checks of the digit models: the plain set, read on the thinned
// steps (digit_checks.cpp, digit_check_steps.cpp), and the "@" set, read on
// the polygon steps (at_digit_checks.cpp, digit_relabels.cpp). Each row is
// bound to its class in the class-check table through RunCheckRow.
#pragma once

#include "ocrlib/checks/check_kit.h"

// The plain set, "0" to "9f".
void CheckDigit0(CheckContext& c);
void CheckDigit0a(CheckContext& c);
void CheckDigit0b(CheckContext& c);
void CheckDigit0c(CheckContext& c);
void CheckDigit1(CheckContext& c);
void CheckDigit1b(CheckContext& c);
void CheckDigit1c(CheckContext& c);
void CheckDigit2(CheckContext& c);
void CheckDigit2a(CheckContext& c);
void CheckDigit2b(CheckContext& c);
void CheckDigit2c(CheckContext& c);
void CheckDigit2d(CheckContext& c);
void CheckDigit2e(CheckContext& c);
void CheckDigit2f(CheckContext& c);
void CheckDigit3(CheckContext& c);
void CheckDigit3a(CheckContext& c);
void CheckDigit3b(CheckContext& c);
void CheckDigit3c(CheckContext& c);
void CheckDigit4(CheckContext& c);
void CheckDigit4a(CheckContext& c);
void CheckDigit4b(CheckContext& c);
void CheckDigit4c(CheckContext& c);
void CheckDigit4d(CheckContext& c);
void CheckDigit4e(CheckContext& c);
void CheckDigit4f(CheckContext& c);
void CheckDigit4g(CheckContext& c);
void CheckDigit4h(CheckContext& c);
void CheckDigit4i(CheckContext& c);
void CheckDigit5(CheckContext& c);
void CheckDigit5a(CheckContext& c);
void CheckDigit5b(CheckContext& c);
void CheckDigit5c(CheckContext& c);
void CheckDigit5d(CheckContext& c);
void CheckDigit5e(CheckContext& c);
void CheckDigit5f(CheckContext& c);
void CheckDigit5g(CheckContext& c);
void CheckDigit5h(CheckContext& c);
void CheckDigit6(CheckContext& c);
void CheckDigit6a(CheckContext& c);
void CheckDigit6b(CheckContext& c);
void CheckDigit7(CheckContext& c);
void CheckDigit7a(CheckContext& c);
void CheckDigit7b(CheckContext& c);
void CheckDigit7c(CheckContext& c);
void CheckDigit7d(CheckContext& c);
void CheckDigit7e(CheckContext& c);
void CheckDigit8(CheckContext& c);
void CheckDigit8a(CheckContext& c);
void CheckDigit8b(CheckContext& c);
void CheckDigit8c(CheckContext& c);
void CheckDigit8d(CheckContext& c);
void CheckDigit8e(CheckContext& c);
void CheckDigit8f(CheckContext& c);
void CheckDigit8g(CheckContext& c);
void CheckDigit8h(CheckContext& c);
void CheckDigit8i(CheckContext& c);
void CheckDigit8j(CheckContext& c);
void CheckDigit8k(CheckContext& c);
void CheckDigit8l(CheckContext& c);
void CheckDigit8m(CheckContext& c);
void CheckDigit8n(CheckContext& c);
void CheckDigit9(CheckContext& c);
void CheckDigit9a(CheckContext& c);
void CheckDigit9b(CheckContext& c);
void CheckDigit9c(CheckContext& c);
void CheckDigit9d(CheckContext& c);
void CheckDigit9e(CheckContext& c);
void CheckDigit9f(CheckContext& c);

// The "@" set, "@0" to "@9".
void CheckAtDigit0(CheckContext& c);
void CheckAtDigit1(CheckContext& c);
void CheckAtDigit2(CheckContext& c);
void CheckAtDigit2a(CheckContext& c);
void CheckAtDigit3(CheckContext& c);
void CheckAtDigit3a(CheckContext& c);
void CheckAtDigit4(CheckContext& c);
void CheckAtDigit4a(CheckContext& c);
void CheckAtDigit5(CheckContext& c);
void CheckAtDigit5a(CheckContext& c);
void CheckAtDigit6(CheckContext& c);
void CheckAtDigit7(CheckContext& c);
void CheckAtDigit7a(CheckContext& c);
void CheckAtDigit8(CheckContext& c);
void CheckAtDigit8a(CheckContext& c);
void CheckAtDigit8b(CheckContext& c);
void CheckAtDigit8c(CheckContext& c);
void CheckAtDigit9(CheckContext& c);

// The measures of the "@" rows that may make the candidate another digit.
// Each returns true when it relabelled the candidate (the row then ends).
// A "2" whose last stroke is a long upright bar is a "1".
bool RelabelTwoAsOne(CheckContext& c);
// A "7" whose top stroke is short and whose stem is straight is a "1".
bool RelabelSevenAsOne(CheckContext& c);
// A "9" whose loop is open on the left, like a "4" (distance 0); may also
// reject a "9" whose third stroke is a piece cut from a hole's outline.
bool RelabelNineAsFour(CheckContext& c);
// The tests of "@5" on its last stroke's extremes, by its stroke code.
void CheckAtFiveTail(CheckContext& c, const StrokeView& s3);
