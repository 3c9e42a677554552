// A tally table wider than the printed page is printed in blocks of its
// choices, one under the other, each as wide as the page holds: the
// grouping columns begin every block, the extra columns (無回答, ｵｰﾊﾞｰ,
// 合計, 件数) end the last. Portable.
#pragma once

#include <utility>
#include <vector>

// The blocks (first and last choice, from 1) of a table of `choices`
// columns `choice` digits wide after grouping columns of `prefix` digits and
// before extra columns of `extras` digits, on a line of `digits` digits
// (0: no limit, one block). A block holds at least one choice.
std::vector<std::pair<int, int>> TallyChoiceBlocks(int choices, int prefix, int choice, int extras, int digits);
