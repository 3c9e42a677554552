// The structure-pattern table: the token texts of the chains that the
// structural recogniser knows, each with the procedure that measures where
// the chain's nodes lie and picks the templates that decide; the measures
// the procedures share; and the combinations of measures known to mislead a
// procedure, which leave the character undecided.
#include <algorithm>
#include <array>
#include <cstring>

#include "ocrlib/strokes/strokes_internal.h"

const StructurePattern kStructurePatterns[] = {
    {"01", "d,A,V,p,", DecideStructure01},
    {"02", "d,p,", DecideStructure02},
    {"03", "d,A,pI,p,", DecideStructure03},
    {"04", "d,dI,V,p,", DecideStructure04},
    {"05", "d,A,V,A,V,p,", DecideStructure05},
    {"06", "d,Id,V,p,", DecideStructure06},
    {"07", "d,A,pI,dI,V,p,", DecideStructure07},
    {"08", "d,A,pI,Id,V,p,", DecideStructure08},
    {"09", "d,A,IA,VI,pI,p,", DecideStructure09},
    {"10", "d,A,Ip,dI,V,p,", DecideStructure10},
    {"11", "d,A,V,A,pI,p,", DecideStructure11},
    {"12", "d,A,S,pI,p,", DecideStructure12},
    {"13", "d,Id,V,A,Ip,p,", DecideStructure13},
    {"14", "d,dI,V,dI,V,p,", DecideStructure14},
    {"15", "d,Id,IA,VI,V,p,", DecideStructure15},
    {"16", "d,A,Ip,A,V,p,", DecideStructure16},
    {"17", "d,Id,V,A,V,p,", DecideStructure17},
    {"18", "d,Id,S,V,p,", DecideStructure18},
    {"19", "d,A,Ip,Id,V,A,V,p,", DecideStructure19},
    {"20", "d,A,Ip,p,", DecideStructure20},
    {nullptr, nullptr, nullptr},
};

ChainMeasures::ChainMeasures() {
  for (const ChainNode* node = g_structureSet->chainHead;
       node != nullptr && count_ < kChainNodePoolSize; node = node->next) {
    rows_[count_++] = static_cast<int>(node->index);
  }
  height_ = count_ > 0 ? rows_[count_ - 1] - rows_[0] : 0;
}

int ChainMeasures::Row(int i) {
  if (i >= 0 && i < count_) return rows_[i];
  valid_ = false;
  return 0;
}

int ChainMeasures::Percent(int64_t numerator, int64_t divisor) {
  if (divisor == 0) {
    valid_ = false;
    return 0;
  }
  return static_cast<int>(numerator * 100 / divisor);
}

int ChainMeasures::P(int i, int j) { return Percent(Row(j) - Row(i)); }

int ChainMeasures::R(int i, int j, int k, int l) {
  return Percent(Row(j) - Row(i), Row(l) - Row(k));
}

int ChainMeasures::Col(int line, int k) {
  const StructureBufferSet& set = *g_structureSet;
  if (line >= 0 && line < set.recordCount && k >= 0 && k < set.records[line].count) {
    return set.records[line].column[k];
  }
  valid_ = false;
  return 0;
}

int ChainMeasures::W(int line) { return Percent(Col(line, 3) - Col(line, 0)); }

namespace {

// True when the measures are valid and equal one of the combinations.
template <size_t N, size_t M>
bool EqualsAny(const ChainMeasures& m, const std::array<int, N>& values,
               const int (&combinations)[M][N]) {
  if (!m.valid()) return false;
  for (const auto& combination : combinations) {
    if (std::equal(values.begin(), values.end(), combination)) return true;
  }
  return false;
}

bool VetoRow01(ChainMeasures& m) {
  static const int kVetoed[][5] = {
      {113, 24, 127, 42, 33}, {111, 29, 90, 33, 36},  {87, 20, 750, 69, 9},
      {146, 15, 100, 42, 42}, {170, 15, 70, 35, 50},  {142, 23, 66, 30, 46},
      {140, 22, 75, 33, 44},  {22, 78, 166, 13, 7},   {68, 50, 88, 23, 26},
      {80, 41, 122, 32, 26},  {38, 67, 109, 16, 15},  {71, 42, 191, 37, 19},
      {56, 51, 223, 33, 14},  {44, 62, 136, 21, 15},
  };
  const std::array<int, 5> values = {m.R(0, 2, 1, 3), m.P(2, 3), m.R(1, 2, 0, 1), m.P(1, 2),
                                     m.P(0, 1)};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow03(ChainMeasures& m) {
  const std::array<int, 2> ends = {m.P(0, 1), m.P(2, 3)};
  static const int kVetoed[][2] = {{15, 68}};
  static const int kNarrowTops[][2] = {{6, 83}, {7, 68}, {9, 76}};
  static const int kNarrowVetoed[][2] = {{10, 43}, {14, 40}, {24, 36}};
  static const int kWideTop[][2] = {{16, 73}};
  if (EqualsAny(m, ends, kVetoed)) return true;
  const int r2 = m.Row(2);
  if (EqualsAny(m, ends, kNarrowTops)) {
    const std::array<int, 2> top = {m.P(1, 2), m.W(r2 - 1)};
    return EqualsAny(m, top, kNarrowVetoed);
  }
  if (EqualsAny(m, ends, kWideTop)) {
    const std::array<int, 2> top = {m.P(0, 2), m.Percent(m.Col(r2, 0) - m.Col(r2 - 1, 1))};
    static const int kTopVetoed[][2] = {{26, 20}};
    return EqualsAny(m, top, kTopVetoed);
  }
  return false;
}

bool VetoRow04(ChainMeasures& m) {
  static const int kVetoed[][3] = {{75, 18, 11}, {76, 6, 10}, {65, 10, 60}};
  const int r1 = m.Row(1);
  const std::array<int, 3> values = {m.P(0, 1), m.P(2, 3),
                                     m.Percent(m.Col(r1 - 1, 0) - m.Col(r1, 1))};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow05(ChainMeasures& m) {
  static const int kVetoed[][5] = {
      {12, 157, 9, 34, 366}, {6, 69, 6, 10, 30},     {8, 47, 11, 23, 44},
      {15, 162, 25, 34, 183}, {22, 320, 20, 42, 375},
  };
  const std::array<int, 5> values = {m.P(4, 5), m.R(1, 3, 2, 4), m.P(0, 1), m.P(1, 2),
                                     m.R(1, 2, 3, 4)};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow06(ChainMeasures& m) {
  static const int kVetoed[][5] = {
      {7, 92, 637, 20, 100}, {5, 75, 337, 17, 110},  {47, 91, 100, 26, 105},
      {18, 85, 273, 32, 87}, {46, 89, 103, 22, 166}, {31, 93, 187, 28, 89},
      {53, 42, 58, 73, 112}, {8, 38, 140, 39, 66},   {10, 41, 141, 100, 73},
      {14, 39, 127, 66, 105}, {12, 40, 135, 41, 100},
  };
  const int r1 = m.Row(1), r3 = m.Row(3);
  const std::array<int, 5> values = {
      m.P(2, 3), m.R(0, 1, 0, 2), m.R(0, 2, 1, 3), m.W(r1),
      m.Percent(m.Col(r3 - 1, 0) - m.Col(r1, 3), m.Col(r1, 0) - m.Col(r1, 3))};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow07(ChainMeasures& m) {
  static const int kVetoed[][4] = {{69, 25, 44, 2},  {65, 11, 53, 3}, {70, 11, 59, 3},
                                   {65, 10, 55, 13}, {66, 13, 53, 3}, {38, 11, 26, 15}};
  const std::array<int, 4> values = {m.P(0, 2), m.P(1, 2), m.P(0, 1), m.P(2, 3)};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow09(ChainMeasures& m) {
  static const int kVetoed[][2] = {{43, 34}, {54, 25}, {45, 25}, {45, 35}, {45, 28}};
  const std::array<int, 2> values = {m.R(1, 3, 0, 4), m.R(0, 4, 0, 5)};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow10(ChainMeasures& m) {
  static const int kVetoed[][3] = {{12, 22, 10}};
  const int r3 = m.Row(3);
  const std::array<int, 3> values = {m.P(4, 5), m.Percent(m.Col(r3 - 1, 0) - m.Col(r3, 1)),
                                     m.P(0, 1)};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow11(ChainMeasures& m) {
  static const int kVetoed[][3] = {{16, 8, 43}};
  const std::array<int, 3> values = {m.P(0, 1), m.P(2, 4), m.P(0, 3)};
  return EqualsAny(m, values, kVetoed);
}

bool VetoRow18(ChainMeasures& m) {
  static const int kVetoed[][3] = {{40, 13, 33}};
  const std::array<int, 3> values = {m.P(0, 1), m.P(3, 4), m.P(2, 3)};
  return EqualsAny(m, values, kVetoed);
}

}  // namespace

int VetoStructureMeasures(int rowNumber) {
  ChainMeasures m;
  bool vetoed = false;
  switch (rowNumber) {
    case 1: vetoed = VetoRow01(m); break;
    case 3: vetoed = VetoRow03(m); break;
    case 4: vetoed = VetoRow04(m); break;
    case 5: vetoed = VetoRow05(m); break;
    case 6: vetoed = VetoRow06(m); break;
    case 7: vetoed = VetoRow07(m); break;
    case 9: vetoed = VetoRow09(m); break;
    case 10: vetoed = VetoRow10(m); break;
    case 11: vetoed = VetoRow11(m); break;
    case 18: vetoed = VetoRow18(m); break;
    default: break;
  }
  if (vetoed) g_structureDecision = kUndecided;
  return vetoed ? 1 : 0;
}

int g_structureDecidingRow = 0;

int FindStructurePattern(const char* tokens, StructureProcedure* procedure) {
  for (const StructurePattern* row = kStructurePatterns; row->tokens != nullptr; ++row) {
    if (std::strcmp(row->tokens, tokens) != 0) continue;
    const int number = (row->number[0] - '0') * 10 + (row->number[1] - '0');
    if (VetoStructureMeasures(number)) return 0;
    *procedure = row->procedure;
    g_structureDecidingRow = number;
    return 1;
  }
  return 0;
}
