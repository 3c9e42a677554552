// The pen writings of the digits, Latin capitals and katakana: the
// centrelines a hand follows, a few writings of each (a "4" open or closed
// at the top, a "7" with or without its bar, loops closed or left open). The dictionaries'
// pen drawings and the sheet generator's handwriting draw them. Portable,
// in every build.
#pragma once

#include <vector>

namespace glyphs {

// A writing's box: x 0 to 60 units, y 0 to 100, y down (a katakana's
// box is 100 units wide).
constexpr double kWritingUnitsWide = 60;
constexpr double kWritingUnitsHigh = 100;

struct WritingPoint {
  double x, y;
};
using WritingStroke = std::vector<WritingPoint>;  // one pen-down polyline
using Writing = std::vector<WritingStroke>;

// The writings of digit `d` (0 to 9).
std::vector<Writing> DigitWritings(int d);
// The writings of capital `c` (0 "A" to 25 "Z").
std::vector<Writing> CapitalWritings(int c);
// The writings of katakana `k`, in the order of CharacterSet(kKatakana)
// (0 "ア" to 45 "ン"); empty past them.
std::vector<Writing> KatakanaWritings(int k);
// The rarer ways some hands write a character that a reader must still
// know (a slashed or dotted zero, a "1" with a foot or a long flag, a "D"
// whose top and foot reach past its stem); empty for the characters written
// only the common ways.
std::vector<Writing> DigitStyleWritings(int d);
std::vector<Writing> CapitalStyleWritings(int c);

}  // namespace glyphs
