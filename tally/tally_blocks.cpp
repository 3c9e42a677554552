// A tally table wider than the page, split into blocks of choices.
#include "tally/tally_blocks.h"

#include <algorithm>

std::vector<std::pair<int, int>> TallyChoiceBlocks(int choices, int prefix, int choice, int extras, int digits) {
  std::vector<std::pair<int, int>> blocks;
  const int perBlock = std::max(1, (digits - prefix) / std::max(1, choice));
  for (int first = 1; first <= choices;) {
    const int remaining = choices - first + 1;
    if (digits <= 0 || prefix + remaining * choice + extras <= digits) {
      blocks.emplace_back(first, choices);
      break;
    }
    int take = std::min(perBlock, remaining);
    // All that remain fit but for the extra columns: the last goes on with them.
    if (take == remaining) take = std::max(1, remaining - 1);
    blocks.emplace_back(first, first + take - 1);
    first += take;
  }
  if (blocks.empty()) blocks.emplace_back(1, choices);
  return blocks;
}
