// The digit decision by structure: the character's rows become a structure
// chain and its token text; a known text runs its procedure, which decides a
// digit or leaves the character undecided for the stroke recogniser. Chains
// of one plain run ("d,p,") are told apart by the outline tree of the
// columns. A blank box has no structure and stays undecided.
#include <algorithm>
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

// Set when the column chain of "d,p," could not be built (14 pushed): the
// decision then fails as a whole.
bool g_columnSetFailed = false;

constexpr int kTreeVetoDp[][2] = {{29, 100}, {34, 4},  {35, 13}, {38, 42}, {50, 9},
                                  {52, 24},  {56, 18}, {57, 10}, {64, 28}};
constexpr int kTreeVetoDpdU[][4] = {{12, 24, 12, 14}, {17, 42, 6, 26}, {20, 32, 12, 34},
                                    {22, 47, 6, 25},  {24, 38, 7, 44}, {24, 38, 9, 41},
                                    {24, 44, 16, 29}, {9, 38, 19, 12}};

// Measures of the column tree against the row chain's two nodes: t_k is the
// k-th tree item, Row(k) its line (a column), U(k) and UPlus(k) the two
// transitions (rows) of the run or gap that begins or ends there. Invalid
// reads mark the measures invalid, as ChainMeasures does.
class TreeMeasures {
 public:
  TreeMeasures(int r0, int r1, int firstRowEnd)
      : r0_(r0), r1_(r1), firstRowEnd_(firstRowEnd), height_(r1 - r0) {
    const StructureBufferSet& columns = g_structureSets[1];
    count_ = static_cast<int>(std::strlen(columns.treeTokens));
  }
  bool valid() const { return valid_; }
  int Row(int k) { return Item(k) != nullptr ? static_cast<int>(Item(k)->recordIndex) : 0; }
  int U(int k) { return Transition(k, -1); }
  int UPlus(int k) { return Transition(k, 0); }
  int Percent(int64_t numerator, int64_t divisor) {
    if (divisor == 0) {
      valid_ = false;
      return 0;
    }
    return static_cast<int>(numerator * 100 / divisor);
  }
  int Percent(int64_t numerator) { return Percent(numerator, height_); }
  int r0() const { return r0_; }
  int r1() const { return r1_; }
  // The end of the first run of the chain's first row.
  int firstRowEnd() const { return firstRowEnd_; }

 private:
  const ListNode* Item(int k) {
    const ListNode* item = k >= 0 && k < count_ ? g_structureSets[1].treeItems[k] : nullptr;
    if (item == nullptr) valid_ = false;
    return item;
  }
  int Transition(int k, int offset) {
    const ListNode* item = Item(k);
    if (item == nullptr) return 0;
    const StructureBufferSet& columns = g_structureSets[1];
    const int line = static_cast<int>(item->recordIndex);
    const int position = static_cast<int>(item->position) + offset;
    if (line >= columns.recordCount || position < 0 || position >= columns.records[line].count) {
      valid_ = false;
      return 0;
    }
    return columns.records[line].column[position];
  }

  int r0_, r1_, firstRowEnd_, height_;
  int count_ = 0;
  bool valid_ = true;
};

template <size_t N, size_t M>
bool Listed(const int (&values)[N], const int (&combinations)[M][N]) {
  for (const auto& combination : combinations) {
    if (std::equal(values, values + N, combination)) return true;
  }
  return false;
}

bool TreeVetoed(const char* tree, TreeMeasures& t) {
  if (std::strcmp(tree, "dp") == 0) {
    const int values[] = {t.Percent(t.Row(1) - t.Row(0)), t.Percent(t.r1() - t.U(0))};
    return t.valid() && Listed(values, kTreeVetoDp);
  }
  if (std::strcmp(tree, "dpAp") == 0) {
    const int values[] = {t.Percent(t.r1() - t.U(3)), t.Percent(t.r1() - t.UPlus(2)),
                          t.Percent(t.Row(3) - t.Row(0)), t.Percent(t.Row(1) - t.firstRowEnd())};
    static const int kVetoed[][4] = {{11, 33, 22, 0}};
    return t.valid() && Listed(values, kVetoed);
  }
  if (std::strcmp(tree, "dpApdU") == 0) {
    const int values[] = {t.Percent(t.UPlus(5) - t.r0()), t.Percent(t.Row(1) - t.Row(2)),
                          t.Percent(t.Row(3) - t.Row(4)), t.Percent(t.r1() - t.UPlus(3)),
                          t.Percent(t.r1() - t.U(2))};
    static const int kVetoed[][5] = {{27, 37, 41, 13, 44}};
    return t.valid() && t.U(2) - t.U(5) == 10 && Listed(values, kVetoed);
  }
  if (std::strcmp(tree, "dpdU") == 0) {
    const int values[] = {t.Percent(t.Row(1) - t.Row(3)), t.Percent(t.Row(1) - t.Row(2)),
                          t.Percent(t.Row(3) - t.Row(0)), t.Percent(t.U(3) - t.r0())};
    return t.valid() && Listed(values, kTreeVetoDpdU);
  }
  return false;
}

void Decide(int32_t digit) {
  g_structureDecision = digit;
  g_structureDecidingSet = -1;
}
bool Run(TemplateSetId set) { return RunTemplateSet(set) != 0; }

// One bar, told by its width.
void DecideBar(TreeMeasures& t) {
  const int width = t.Percent(t.Row(1) - t.Row(0));
  const int top = t.Percent(t.r1() - t.U(0));
  if (!t.valid()) return;
  if (width < 35) {
    Decide('1');
  } else {
    Run(top >= 40 ? kSet02FourOrZero : kSet02OneOrEight);
  }
}

void DecideTwoOrFive(TreeMeasures& t) {
  const bool two = t.U(2) >= t.U(5);
  const int foot = t.Percent(t.UPlus(5) - t.r0());
  if (!t.valid()) return;
  if (two) {
    const int top = t.Percent(t.r1() - t.U(2)), arc = t.Percent(t.Row(3) - t.Row(4));
    if (t.valid() && Within(foot, 8, 69) && top < 50 && Within(arc, 35, 179)) Run(kSet02Two);
  } else {
    const int bar = t.Percent(t.Row(1) - t.Row(2)), top = t.Percent(t.r1() - t.UPlus(3));
    if (t.valid() && Within(foot, 48, 89) && bar >= 29 && top < 43) Run(kSet02Five);
  }
}

void DecideThreeOrSeven(TreeMeasures& t) {
  const int d = t.Percent(t.Row(7) - t.Row(0), t.Row(1) - t.Row(0));
  if (!t.valid()) return;
  if (d < 22) {
    const int bar = t.Percent(t.Row(1) - t.Row(2));
    if (t.valid() && bar >= 30) Decide('5');
  } else if (d >= 50) {
    const int middle = t.Percent(t.Row(5) - t.Row(6)), lower = t.Percent(t.Row(5) - t.Row(4));
    if (!t.valid()) return;
    if (middle < 15) {
      Run(kSet02ThreeOrSeven);
    } else if (lower >= 19) {
      Decide('3');
    }
  }
}

void DecideHook(TreeMeasures& t) {
  const int e = t.Percent(t.Row(1) - t.Row(3)), f = t.Percent(t.Row(3) - t.Row(0));
  const int g = t.Percent(t.U(3) - t.r0());
  if (!t.valid() || e >= 85) return;
  if (e >= 30) {
    if (f < 15) {
      Run(kSet02Loop);
    } else if (f < 60 && Within(g, 15, 59)) {
      Run(kSet02OneTwoSeven);
    }
    return;
  }
  if (f < 20) {
    const int stem = t.Percent(t.Row(1) - t.Row(2));
    if (t.valid() && g < 45 && stem < 60) Run(kSet02One);
  } else if (Within(f, 24, 69) && g < 30) {
    Run(kSet02Seven);
  }
}

void DecideFlagOrSix(TreeMeasures& t) {
  const int j = t.Percent(t.r1() - t.U(3)), k = t.Percent(t.r1() - t.UPlus(2));
  const int l = t.Percent(t.Row(3) - t.Row(0));
  if (!t.valid()) return;
  if (j < 20) {
    if (k < 35 && l < 25) Run(kSet02OneFlag);
    return;
  }
  if (j >= 45 || !Within(k, 40, 59) || l < 35) return;
  if (l >= 55) {
    Run(kSet02SixLow);
    return;
  }
  const int top = t.Percent(t.Row(1) - t.firstRowEnd());
  if (t.valid() && top < 10) Run(kSet02SixHigh);
}

void DecideThreeByTail(TreeMeasures& t) {
  const int share = t.Percent(t.U(2) - t.UPlus(3), t.U(2) - t.U(4));
  if (t.valid() && Within(share, 20, 54)) Run(kSet02Three);
}

}  // namespace

int BuildStructureChainSet(int set) {
  SelectStructureBuffers(set);
  StructureBufferSet& s = *g_structureSet;
  s.chainHead = nullptr;
  s.treeHead = nullptr;
  s.tokens[0] = '\0';
  s.treeTokens[0] = '\0';
  if (ListRowTransitions(set) != 0) return -9;
  int result;
  ChainNode* head = BuildStructureChain(&result);
  if (result != 0) return -9;
  if (head != nullptr) {
    s.chainHead = MergeCloseChainNodes(head, &result);
    if (result != 0) return -9;
  }
  if (FormatChainTokens() != 0) return -9;
  if (set != 1) return 0;
  IndexChainItems();
  return BuildStructureTree();
}

// "d,p,": one plain run in every row; the column tree tells the shapes.
void DecideStructure02() {
  ChainMeasures rows;
  const int r0 = rows.Row(0), r1 = rows.Row(1);
  const int firstRowEnd = rows.Col(r0, 1);
  if (!rows.valid()) return;
  const bool built = BuildStructureChainSet(1) == 0;
  SelectStructureBuffers(0);
  if (!built) {
    g_columnSetFailed = true;
    return;
  }
  const char* tree = g_structureSets[1].treeTokens;
  TreeMeasures t(r0, r1, firstRowEnd);
  if (TreeVetoed(tree, t)) return;
  static const struct {
    const char* tree;
    void (*decide)(TreeMeasures&);
  } kBranches[] = {
      {"dp", DecideBar},        {"dpApdU", DecideTwoOrFive}, {"dpApdUdU", DecideThreeOrSeven},
      {"dpdU", DecideHook},     {"dpAp", DecideFlagOrSix},   {"dpdUdU", DecideThreeByTail},
  };
  for (const auto& branch : kBranches) {
    if (std::strcmp(tree, branch.tree) == 0) {
      branch.decide(t);
      return;
    }
  }
  if (std::strcmp(tree, "dpApApdU") == 0 && t.U(7) >= t.U(4) && t.valid()) Decide('5');
}

int DecideDigitByStructure(const uint8_t* bits, int left, int right, int top, int bottom,
                           int bytesPerLine) {
  g_structureDecision = kUndecided;
  g_structureDecidingSet = g_structureAskedSet = -1;
  g_structureDecidingRow = 0;
  g_columnSetFailed = false;
  ResetListNodePools();
  ResetCellNodePool();
  for (StructureBufferSet& set : g_structureSets) {
    set.chainHead = nullptr;  // the pools it came from are free again
    set.treeHead = nullptr;
    set.recordCount = 0;
    set.tokens[0] = set.treeTokens[0] = '\0';
  }
  SelectStructureBuffers(0);
  g_structureInput = {bits, left, right, top, bottom, bytesPerLine};
  if (CheckStructureInput(g_structureInput) != 0 || BuildStructureChainSet(0) != 0) return -9;
  StructureProcedure procedure;
  if (FindStructurePattern(g_structureSets[0].tokens, &procedure)) procedure();
  SelectStructureBuffers(0);
  if (g_columnSetFailed) {
    g_structureDecision = kUndecided;
    return -9;
  }
  const int32_t d = g_structureDecision;
  if (d < '0' || d > '9') g_structureDecision = kUndecided;
  return 0;
}
