// The shape-template sets of the structure procedures: for each set its rule
// list (which edges of the chain between which nodes make its description)
// and its templates in order. A set without data decides nothing, so the
// character stays undecided there and goes on to the stroke recogniser.
#include "ocrlib/strokes/strokes_internal.h"

const TemplateSet kTemplateSets[kTemplateSetCount] = {
    {"01 0d 0c 0e ->0, 4a 4b 4c ->4", nullptr, nullptr},  // kSet01ZeroOrFour
    {"01 0d 0e ->0", nullptr, nullptr},  // kSet01ZeroConfirm
    {"01 6 ->6", nullptr, nullptr},  // kSet01SixHigh
    {"01 8t1 8t2 ->8", nullptr, nullptr},  // kSet01EightNotSix
    {"01 6 ->6", nullptr, nullptr},  // kSet01SixLow
    {"01 6a..6e ->6, 8t ->8", nullptr, nullptr},  // kSet01SixOrEight
    {"01 6d..6k ->6", nullptr, nullptr},  // kSet01SixConfirm
    {"01 8t 8t2 ->8, 6 6b ->6, 0 ->0", nullptr, nullptr},  // kSet01NotSix
    {"01 4a 4b ->4", nullptr, nullptr},  // kSet01FourLow
    {"01 4 ->4", nullptr, nullptr},  // kSet01Four
    {"01 9b 9e 9f 9h 9g ->9, 4 ->4", nullptr, nullptr},  // kSet01NineOrFour
    {"01 4 ->4", nullptr, nullptr},  // kSet01FourConfirm
    {"01 4a 4c1 4c2 ->4, 9b..9e ->9", nullptr, nullptr},  // kSet01NineConfirm
    {"01 8t1..8t5 ->8", nullptr, nullptr},  // kSet01Eight
    {"02 1c2 1d2 1e2 1f 1f2 1g2 1h ->1, 8t1 8t2 8t3 ->8, 0t1 ->0, 4t ->4", nullptr, nullptr},  // kSet02OneOrEight
    {"02 4t1 4t2 ->4, 0t ->0", nullptr, nullptr},  // kSet02FourOrZero
    {"02 2a 2b 2d 2e 2f 2g ->2", nullptr, nullptr},  // kSet02Two
    {"02 5a..5e ->5", nullptr, nullptr},  // kSet02Five
    {"02 3 ->3, 7 ->7", nullptr, nullptr},  // kSet02ThreeOrSeven
    {"02 9t ->9, 8t ->8, 0t ->0", nullptr, nullptr},  // kSet02Loop
    {"02 1 ->1, 2 ->2, 7 ->7", nullptr, nullptr},  // kSet02OneTwoSeven
    {"02 1 1a ->1", nullptr, nullptr},  // kSet02One
    {"02 7a 7a2 7c ->7, p1a ->p", nullptr, nullptr},  // kSet02Seven
    {"02 1 1b ->1", nullptr, nullptr},  // kSet02OneFlag
    {"02 6t ->6 (first rule list)", nullptr, nullptr},  // kSet02SixLow
    {"02 6t ->6 (second rule list)", nullptr, nullptr},  // kSet02SixHigh
    {"02 3b 3c 3a ->3", nullptr, nullptr},  // kSet02Three
    {"03 17f 17c 17b 17d ->1, 7b ->7, 235j 235g 235k 2a ->2", nullptr, nullptr},  // kSet03First
    {"03 2g 2e 2f ->2, 35a ->3", nullptr, nullptr},  // kSet03TwoOrThree
    {"03 2a 2b 2c ->2", nullptr, nullptr},  // kSet03TwoConfirm
    {"03 2a..2d ->2", nullptr, nullptr},  // kSet03TwoWide
    {"03 3a 3b ->3, 5a ->5", nullptr, nullptr},  // kSet03ThreeOrFive
    {"03 7 ->7", nullptr, nullptr},  // kSet03Seven
    {"03 three continuation templates, 7g 7f ->7", nullptr, nullptr},  // kSet03LongTail
    {"03 17a 17b ->1", nullptr, nullptr},  // kSet03OneShort
    {"03 7x ->7, a continuation, g17 g17a ->g, p1a p1b p1c ->p", nullptr, nullptr},  // kSet03OneShortCheck
    {"03 7 ->7", nullptr, nullptr},  // kSet03OneShortSeven
    {"03 71 ->7, 17 ->1", nullptr, nullptr},  // kSet03WideTop
    {"03 7a 7b 7c ->7, p1 ->p", nullptr, nullptr},  // kSet03WideTopCheck
    {"03 1 1a ->1, 7a 7b ->7, 97 ->9, 7d ->7, a17 ->a", nullptr, nullptr},  // kSet03Narrow
    {"03 7a 7A 7b ->7, 1 1b ->1", nullptr, nullptr},  // kSet03NarrowOne
    {"03 7 ->7", nullptr, nullptr},  // kSet03NarrowNine
    {"03 p1 ->p", nullptr, nullptr},  // kSet03NarrowOneCheck
    {"03 7 ->7", nullptr, nullptr},  // kSet03NarrowA
    {"03 7a 7b 7c ->7, w7A ->w, 7B ->7, s7 ->s", nullptr, nullptr},  // kSet03NarrowOther
    {"03 7 7b ->7", nullptr, nullptr},  // kSet03NarrowS
    {"03 7 7a ->7", nullptr, nullptr},  // kSet03Middle
    {"03 7 ->7, 9 ->9", nullptr, nullptr},  // kSet03MiddleCheck
    {"03 7a2 7b 7c 7d ->7, 17a 17b 17c ->1, 9 ->9", nullptr, nullptr},  // kSet03MiddleOther
    {"03 p1 p1b ->p, 7a1 7a2 ->7", nullptr, nullptr},  // kSet03MiddleOne
    {"03 7 ->7", nullptr, nullptr},  // kSet03MiddleSeven
    {"04 2 ->2", nullptr, nullptr},  // kSet04Two
    {"04 two continuation templates", nullptr, nullptr},  // kSet04Joined
    {"04 0 ->0, 4 ->4", nullptr, nullptr},  // kSet04ZeroOrFour
    {"04 0 ->0", nullptr, nullptr},  // kSet04ZeroConfirm
    {"04 7 ->7, k ->k", nullptr, nullptr},  // kSet04Seven
    {"04 3b 3c 3d ->3, 5a 5c 5e 5g 5d 5f 5b ->5", nullptr, nullptr},  // kSet04ThreeOrFive
    {"04 3b..3f ->3", nullptr, nullptr},  // kSet04ThreeConfirm
    {"04 5 ->5", nullptr, nullptr},  // kSet04FiveConfirm
    {"05 -0- ->0", nullptr, nullptr},  // kSet05Zero
    {"05 -6a- ->6", nullptr, nullptr},  // kSet05Six
    {"05 -8e- -8b- -8f- -8g- -8d- -8c- ->8", nullptr, nullptr},  // kSet05Eight
    {"06 -5a- -5b- ->5, -4- ->4", nullptr, nullptr},  // kSet06FiveOrFour
    {"06 -0- ->0", nullptr, nullptr},  // kSet06Zero
    {"06 -6a- ->6", nullptr, nullptr},  // kSet06Six
    {"06 4c 4e ->4", nullptr, nullptr},  // kSet06Four
    {"06 -2a- -2b- ->2", nullptr, nullptr},  // kSet06TwoWide
    {"06 1 ->1", nullptr, nullptr},  // kSet06One
    {"06 -2- -2b- ->2", nullptr, nullptr},  // kSet06TwoNarrow
    {"06 -2- ->2", nullptr, nullptr},  // kSet06TwoOpen
    {"06 4 4u ->4", nullptr, nullptr},  // kSet06FourOpen
    {"07 -5b- -5c- ->5, -3- ->3", nullptr, nullptr},  // kSet07FiveOrThree
    {"07 -0- ->0", nullptr, nullptr},  // kSet07Zero
    {"07 -3c- -3d- ->3", nullptr, nullptr},  // kSet07Three
    {"07 3a ->3", nullptr, nullptr},  // kSet07ThreeConfirm
    {"08 2 ->2", nullptr, nullptr},  // kSet08Two
    {"08 -2- -2b- ->2", nullptr, nullptr},  // kSet08TwoWide
    {"09 -9b- -9c- -9d- -9e- ->9, -4- ->4", nullptr, nullptr},  // kSet09NineOrFour
    {"10 -5a- -5b- -5c- ->5", nullptr, nullptr},  // kSet10Five
    {"11 -9b- -9c- -9d- -9e- ->9, -4- ->4 (first rule list)", nullptr, nullptr},  // kSet11NineOrFourLow
    {"11 the same templates (second rule list)", nullptr, nullptr},  // kSet11NineOrFourHigh
    {"12 -9b-..-9f- ->9, -4- ->4", nullptr, nullptr},  // kSet12NineOrFour
    {"12 -4- ->4", nullptr, nullptr},  // kSet12Four
    {"13 -4- -4b- -4c- ->4", nullptr, nullptr},  // kSet13Four
    {"13 4a 4b ->4", nullptr, nullptr},  // kSet13FourConfirm
    {"14 -5- ->5", nullptr, nullptr},  // kSet14Five
    {"14 -3b- -3c- ->3", nullptr, nullptr},  // kSet14Three
    {"15 -0- ->0", nullptr, nullptr},  // kSet15Zero
    {"15 -6a- ->6", nullptr, nullptr},  // kSet15Six
    {"15 -4- ->4", nullptr, nullptr},  // kSet15Four
    {"16 8 ->8", nullptr, nullptr},  // kSet16EightShort
    {"16 6 ->6, 8a 8b 8c ->8", nullptr, nullptr},  // kSet16SixOrEight
    {"16 6 ->6", nullptr, nullptr},  // kSet16SixCheck
    {"16 6 ->6", nullptr, nullptr},  // kSet16SixConfirm
    {"16 8 ->8", nullptr, nullptr},  // kSet16EightTall
    {"17 -8a- ->8", nullptr, nullptr},  // kSet17Eight
    {"17 -6a- ->6", nullptr, nullptr},  // kSet17Six
    {"18 -6a- ->6", nullptr, nullptr},  // kSet18Six
    {"19 -8a- -8b- -8c- ->8", nullptr, nullptr},  // kSet19Eight
    {"19 -6a- ->6", nullptr, nullptr},  // kSet19Six
    {"20 5a 5b ->5, 9a ->9", nullptr, nullptr},  // kSet20FiveOrNine
    {"20 8t1 8t2 ->8", nullptr, nullptr},  // kSet20Eight
    {"20 8t ->8", nullptr, nullptr},  // kSet20EightConfirm
    {"20 2 ->2", nullptr, nullptr},  // kSet20Two
    {"20 6a ->6", nullptr, nullptr},  // kSet20Six
};

int RunTemplateSet(TemplateSetId set) {
  const TemplateSet& s = kTemplateSets[set];
  if (s.rules == nullptr || s.templates == nullptr) return 0;
  return MatchShapeTemplate(FormatStructureDescription(s.rules), s.templates);
}

int RunTemplateSetAfresh(TemplateSetId set) {
  g_structureDecision = kUndecided;
  return RunTemplateSet(set);
}
