// Colour texts of the graph-colour table ("NN" or "NN-PP"), the default
// colours of its rows, the slots of choices, and what the graph-colour
// window's button shows while a person chooses. Pure text work, natively
// tested.
#include <cstdio>
#include <cstring>

#include "foundation/sjis_text.h"
#include "tally/tally.h"

namespace {

constexpr int kDiagonalCross = 5;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

GraphColor ParseGraphColorText(const char* text) {
  GraphColor color;
  const size_t length = std::strlen(text);
  if (length < 2 || !IsDigit(text[0]) || !IsDigit(text[1])) return color;
  color.colorCode = SubstringToInt(text, 1, 2) + 100;
  if (length >= 5 && text[2] == '-' && IsDigit(text[3]) && IsDigit(text[4])) {
    color.pattern = SubstringToInt(text, 4, 2) - 1;
  }
  if (color.pattern > kDiagonalCross) color.pattern = kFillSolid;
  return color;
}

std::string FormatGraphColorText(int graphType, GraphColor color) {
  const std::string colorText = TwoDigits(color.colorCode - 100);
  if (graphType == kGraphRadar) return colorText;
  return colorText + "-" + TwoDigits(color.pattern + 1);
}

GraphColor DefaultGraphColor(int graphType, int slot) {
  GraphColor color;
  color.colorCode = slot <= 20 ? slot + 100 : slot + 80;
  if (graphType == kGraphRadar) {
    if (slot > 3) color.colorCode -= 3;
    color.pattern = kFillSolid;
  } else {
    color.pattern = kDiagonalCross;
  }
  return color;
}

int GraphSlotOfChoice(int choice, const char* label) {
  if (std::strcmp(label, "無回答") == 0) return kNoAnswerSlot;
  if (std::strcmp(label, "ｵｰﾊﾞｰ") == 0) return kOverSlot;
  return choice;
}

GraphColorChoice StartGraphColorChoice(const char* text) {
  GraphColorChoice choice;
  choice.selected = text;
  choice.color = SubstringToInt(text, 1, 2);
  choice.pattern = std::strlen(text) > 2 ? SubstringToInt(text, 4, 2) : 0;
  return choice;
}

void ChooseGraphColor(GraphColorChoice& choice, int color) {
  choice.color = color;
  choice.selected = choice.selected.size() > 2 ? TwoDigits(color) + "-" + TwoDigits(choice.pattern)
                                               : TwoDigits(color);
  ++choice.changes;
}

void ChooseGraphPattern(GraphColorChoice& choice, int pattern) {
  choice.pattern = pattern;
  if (choice.selected.empty()) {
    choice.selected = "01-" + TwoDigits(pattern);
  } else if (choice.selected.size() == 2) {
    choice.selected += "-" + TwoDigits(pattern);
  } else {
    choice.selected = TwoDigits(choice.color) + "-" + TwoDigits(pattern);
  }
  ++choice.changes;
}
