// The procedures of the structure patterns (but "d,p,", which asks the column
// tree): each measures where the nodes of the chain lie, in percent of the
// character's height, leaves the character undecided when a measure is out
// of the range its shapes take, and otherwise runs the template sets that
// decide. "Then" sets confirm or refine the decision of the set before them
// and start again from undecided. Bounds are inclusive: "outside 9..59"
// means below 9 or above 59.
#include "ocrlib/strokes/strokes_internal.h"

namespace {

void Undecide() { g_structureDecision = kUndecided; }
int Decision() { return g_structureDecision; }
bool Run(TemplateSetId set) { return RunTemplateSet(set) != 0; }
bool Then(TemplateSetId set) { return RunTemplateSetAfresh(set) != 0; }

// 4, 9 and closed-top shapes with the hole high; their other branches.
void DecideNineOrFour(ChainMeasures& m) {
  const int p23 = m.P(2, 3);
  if (!m.valid() || p23 >= 79) return;
  if (p23 < 41) {
    Run(kSet01FourLow);
    return;
  }
  const int ratio = m.R(1, 2, 0, 1);
  if (!m.valid()) return;
  if (ratio < 65) {
    Run(kSet01Four);
    return;
  }
  Run(kSet01NineOrFour);
  switch (Decision()) {
    case '4': Then(kSet01FourConfirm); break;
    case '9': Then(kSet01NineConfirm); break;
    default: Then(kSet01Eight); break;
  }
}

void DecideSixOrEight(ChainMeasures& m) {
  const int p12 = m.P(1, 2), p01 = m.P(0, 1);
  if (!m.valid() || p12 >= 60) return;
  if (p12 < 15) {
    if (Within(p01, 40, 77) && !Run(kSet01SixLow)) Run(kSet01EightNotSix);
    return;
  }
  if (p01 < 40 || p01 >= 78) return;
  if (p01 < 45) {
    Run(kSet01SixHigh);
    return;
  }
  Run(kSet01SixOrEight);
  Then(Decision() == '6' ? kSet01SixConfirm : kSet01NotSix);
}

// Second stage of an open top first read as a 1.
void DecideOpenTopOne(ChainMeasures& m) {
  Undecide();
  const int p12 = m.P(1, 2);
  const int r2 = m.Row(2);
  const bool wide = m.W(r2 - 1) >= 40;
  if (!m.valid()) return;
  if (p12 < 15) {
    if (wide) {
      if (Run(kSet03WideTop)) Then(kSet03WideTopCheck);
    } else if (Run(kSet03OneShort)) {
      Then(kSet03OneShortCheck);
      if (Decision() == '7') Then(kSet03OneShortSeven);
    }
    return;
  }
  if (p12 >= 30) {
    Run(kSet03LongTail);
    return;
  }
  if (wide) {
    if (Run(kSet03Middle)) {
      Then(kSet03MiddleCheck);
      return;
    }
    Then(kSet03MiddleOther);
    if (Decision() == '1') {
      Then(kSet03MiddleOne);
    } else if (Decision() == '7') {
      Then(kSet03MiddleSeven);
    } else {
      Undecide();
    }
    return;
  }
  Run(kSet03Narrow);
  switch (Decision()) {
    case '1':
      Then(kSet03NarrowOne);
      if (Decision() == '1') Then(kSet03NarrowOneCheck);
      break;
    case '7': break;
    case '9': Then(kSet03NarrowNine); break;
    case 'a': Then(kSet03NarrowA); break;
    default:
      Then(kSet03NarrowOther);
      if (Decision() == 's') {
        Then(kSet03NarrowS);
      } else if (Decision() == 'w') {
        const int gap = m.Percent(m.Col(r2 - 1, 2) - m.Col(r2 - 1, 1));
        g_structureDecision = m.valid() && gap >= 15 ? '7' : kUndecided;
      }
      break;
  }
}

}  // namespace

// "d,A,V,p,": one hole.
void DecideStructure01() {
  ChainMeasures m;
  const int q = m.R(0, 2, 1, 3);
  if (!m.valid()) return;
  if (q < 85) {
    DecideNineOrFour(m);
  } else if (q >= 125) {
    DecideSixOrEight(m);
  } else if (Run(kSet01ZeroOrFour) && Decision() == '0') {
    Then(kSet01ZeroConfirm);
  }
}

// "d,A,pI,p,": a top that opens, one end below.
void DecideStructure03() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), p23 = m.P(2, 3);
  if (!m.valid() || p01 >= 29 || p23 < 25) return;
  Run(kSet03First);
  switch (Decision()) {
    case '1': DecideOpenTopOne(m); break;
    case '7': {
      Undecide();
      const int r2 = m.Row(2);
      const int p02 = m.P(0, 2);
      const int step = m.Percent(m.Col(r2, 0) - m.Col(r2 - 1, 1));
      if (m.valid() && p02 < 40 && Within(step, 10, 49)) Run(kSet03Seven);
      break;
    }
    case '2':
      if (!Run(kSet03TwoOrThree)) {
        Undecide();
      } else if (Decision() == '2') {
        if (!Then(kSet03TwoConfirm)) Then(kSet03TwoWide);
      } else if (Decision() == '3') {
        Then(kSet03ThreeOrFive);
      }
      break;
    default: break;
  }
}

// "d,dI,V,p,": two tops that merge.
void DecideStructure04() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), p23 = m.P(2, 3);
  if (!m.valid()) return;
  if (p01 < 30) {
    if (p23 >= 62) {
      Run(kSet04Two);
    } else if (p23 >= 25) {
      const int r1 = m.Row(1);
      const int step = m.Percent(m.Col(r1 - 1, 0) - m.Col(r1, 1));
      if (m.valid() && Within(step, 9, 49)) Run(kSet04Joined);
    } else if (Run(kSet04ZeroOrFour)) {
      Then(kSet04ZeroConfirm);
    }
    return;
  }
  if (p23 >= 30) {
    Run(kSet04Seven);
    return;
  }
  Run(kSet04ThreeOrFive);
  if (Decision() == '3') {
    Then(kSet04ThreeConfirm);
  } else if (Decision() == '5') {
    Then(kSet04FiveConfirm);
  }
}

// "d,A,V,A,V,p,": two holes.
void DecideStructure05() {
  ChainMeasures m;
  const int p45 = m.P(4, 5), q = m.R(1, 3, 2, 4), p01 = m.P(0, 1), p12 = m.P(1, 2);
  if (!m.valid() || p45 >= 25) return;
  if (q < 30) {
    if (p01 < 30 && p12 < 15) Run(kSet05Zero);
  } else if (p01 >= 30) {
    if (p12 < 15) Run(kSet05Six);
  } else if (Within(p12, 9, 59)) {
    const int ratio = m.R(1, 2, 3, 4);
    if (m.valid() && Within(ratio, 30, 499)) Run(kSet05Eight);
  }
}

// "d,Id,V,p,": a run joins from the side.
void DecideStructure06() {
  ChainMeasures m;
  const int p23 = m.P(2, 3), s = m.R(0, 1, 0, 2);
  if (!m.valid()) return;
  const int r1 = m.Row(1);
  if (p23 < 15) {
    if (s < 35) {
      Run(kSet06Zero);
    } else if (s < 75) {
      Run(kSet06Six);
    } else {
      const int width = m.W(r1);
      if (m.valid()) Run(width >= 35 ? kSet06TwoNarrow : kSet06One);
    }
    return;
  }
  if (p23 >= 60) {
    Run(kSet06FiveOrFour);
    return;
  }
  if (s < 60) {
    Run(kSet06Four);
    return;
  }
  if (s >= 75) {
    Run(kSet06TwoWide);
    return;
  }
  const int r3 = m.Row(3);
  const int reach = m.Percent(m.Col(r3 - 1, 0) - m.Col(r1, 3), m.Col(r1, 0) - m.Col(r1, 3));
  if (!m.valid()) return;
  if (reach >= 100) {
    Run(kSet06TwoOpen);
    return;
  }
  const int q = m.R(0, 2, 1, 3);
  if (m.valid() && q >= 58) Run(kSet06FourOpen);
}

void DecideStructure07() {
  ChainMeasures m;
  const int p02 = m.P(0, 2), p12 = m.P(1, 2), p01 = m.P(0, 1), p23 = m.P(2, 3);
  if (!m.valid() || p02 >= 75 || p12 >= 35) return;
  if (p01 >= 25) {
    Run(kSet07FiveOrThree);
  } else if (p23 < 20) {
    Run(kSet07Zero);
  } else if (Run(kSet07Three) && Decision() == '3') {
    Then(kSet07ThreeConfirm);
  }
}

void DecideStructure08() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), p45 = m.P(4, 5), p35 = m.P(3, 5);
  if (!m.valid() || p01 >= 20 || p45 >= 40) return;
  if (p35 >= 28) {
    Run(kSet08Two);
    return;
  }
  const int width = m.W(m.Row(3));
  if (m.valid() && width >= 35) Run(kSet08TwoWide);
}

void DecideStructure09() {
  ChainMeasures m;
  const int top = m.R(1, 3, 0, 4), body = m.R(0, 4, 0, 5);
  if (m.valid() && top >= 40 && body >= 25) Run(kSet09NineOrFour);
}

void DecideStructure10() {
  ChainMeasures m;
  const int r3 = m.Row(3);
  const int p45 = m.P(4, 5), step = m.Percent(m.Col(r3 - 1, 0) - m.Col(r3, 1)), p01 = m.P(0, 1);
  if (m.valid() && p45 < 22 && Within(step, 9, 79) && p01 < 50) Run(kSet10Five);
}

void DecideStructure11() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), p24 = m.P(2, 4), p03 = m.P(0, 3);
  if (!m.valid() || p01 >= 23 || p24 >= 25 || p03 < 25) return;
  Run(p03 >= 65 ? kSet11NineOrFourHigh : kSet11NineOrFourLow);
}

void DecideStructure12() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), p23 = m.P(2, 3), p02 = m.P(0, 2);
  if (!m.valid() || p01 >= 23 || p23 >= 15 || p02 < 25) return;
  Run(p02 >= 65 ? kSet12Four : kSet12NineOrFour);
}

void DecideStructure13() {
  ChainMeasures m;
  const int p23 = m.P(2, 3), p02 = m.P(0, 2), width = m.W(m.Row(4) - 1);
  if (!m.valid() || p23 >= 27 || !Within(p02, 40, 79) || !Within(width, 18, 81)) return;
  if (Run(kSet13Four)) Then(kSet13FourConfirm);
}

void DecideStructure14() {
  ChainMeasures m;
  const int p45 = m.P(4, 5), width = m.W(m.Row(3)), p02 = m.P(0, 2);
  if (!m.valid() || p45 >= 20 || !Within(width, 15, 89)) return;
  if (p02 < 15) {
    Run(kSet14Five);
  } else if (p02 < 65) {
    Run(kSet14Three);
  }
}

void DecideStructure15() {
  ChainMeasures m;
  const int p45 = m.P(4, 5), p01 = m.P(0, 1), p24 = m.P(2, 4);
  if (!m.valid()) return;
  if (p45 >= 15) {
    if (Within(p45, 25, 59) && Within(p01, 25, 79) && Within(p24, 15, 59)) Run(kSet15Four);
    return;
  }
  if (p01 < 15) {
    if (p24 >= 60) Run(kSet15Zero);
    return;
  }
  if (Within(p01, 25, 79) && Within(p24, 15, 59)) Run(kSet15Six);
}

void DecideStructure16() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), t = m.P(4, 5), p34 = m.P(3, 4), p12 = m.P(1, 2);
  if (!m.valid() || p01 >= 25 || t >= 30) return;
  if (t >= 20) {
    if (Within(p34, 10, 14)) Run(kSet16EightShort);
    return;
  }
  if (!Within(p34, 15, 49)) return;
  if (p12 >= 30) {
    Run(kSet16EightTall);
    return;
  }
  if (Run(kSet16SixOrEight) && Decision() == '6') {
    if (!Run(kSet16SixCheck)) {
      Undecide();
    } else {
      Then(kSet16SixConfirm);
    }
  }
}

void DecideStructure17() {
  ChainMeasures m;
  const int p45 = m.P(4, 5), p34 = m.P(3, 4), u = m.P(1, 3), p02 = m.P(0, 2);
  if (!m.valid() || p45 >= 18 || !Within(p34, 10, 54) || u >= 70) return;
  if (u < 25) {
    if (Within(p02, 30, 74)) Run(kSet17Six);
  } else if (Within(p02, 30, 46)) {
    Run(kSet17Eight);
  }
}

void DecideStructure18() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), p34 = m.P(3, 4), p23 = m.P(2, 3);
  if (m.valid() && Within(p01, 27, 69) && p34 < 18 && Within(p23, 17, 59)) Run(kSet18Six);
}

void DecideStructure19() {
  ChainMeasures m;
  const int p01 = m.P(0, 1), p67 = m.P(6, 7), p57 = m.P(5, 7), p04 = m.P(0, 4);
  const int v = m.P(3, 5), p23 = m.P(2, 3);
  if (!m.valid() || p01 >= 18 || p67 >= 15 || !Within(p57, 20, 59) || !Within(p04, 20, 59) ||
      v >= 50) {
    return;
  }
  if (v >= 12) {
    if (p23 < 23) Run(kSet19Eight);
  } else if (Within(p23, 17, 59)) {
    Run(kSet19Six);
  }
}

void DecideStructure20() {
  ChainMeasures m;
  const int x = m.P(0, 1), p12 = m.P(1, 2), r0 = m.Row(0), r2 = m.Row(2);
  if (!m.valid()) return;
  if (x >= 70) {
    Run(kSet20Two);
  } else if (x >= 65) {
    Undecide();
  } else if (x >= 45) {
    if (Within(p12, 20, 39)) Run(kSet20Six);
  } else if (!Run(kSet20FiveOrNine)) {
    if (Run(kSet20Eight)) Then(kSet20EightConfirm);
  } else if (Decision() == '5') {
    if (p12 >= 25) Undecide();
  } else if (Decision() == '9') {
    // The stem is told by rows here, not by a share of the height.
    if (x >= 15 || r2 - r0 < 11 || p12 < 8) Undecide();
  }
}
