// The shape-template sets of the structure procedures: for each set its rule
// list (which edges of the chain between which nodes make its description)
// and its templates in order. A set without data decides nothing, so the
// character stays undecided there and goes on to the stroke recogniser.
#include "ocrlib/strokes/strokes_internal.h"

// The sets of digits written down here describe the outlines of the
// character: the left outline follows the first transition of every line
// from the top node to the bottom one, the right outline the last; a hole is
// described by its two edges. Direction characters: '4' straight down, '0'
// to '3' moving left while going down, '5' to '8' moving right. Each
// template was checked on the pen kit's digits (training and held-out
// samples, bench/structure_digits): every set here decides rightly in at
// least 99.5 % of the cases where it decides.

namespace {

constexpr ShapeTemplate kEndOfTemplates = {nullptr, nullptr, nullptr, nullptr, 0, 0};

// ---- rule lists ------------------------------------------------------------------
// Outlines of chains whose spans hold 1, 2, 1 runs ("d,A,V,p,", "d,Id,V,p,", ...).
constexpr int32_t kOutline3Short[] = {kRuleGroup, 10, 0, 0, 1, 0, 1, 2, 0, 2, 3, 0,
                                      kRuleGroup, 10, 0, 0, 1, 1, 1, 2, 3, 2, 3, 1, kRuleEnd};
constexpr int32_t kOutline3[] = {kRuleGroup, 12, 0, 0, 1, 0, 1, 2, 0, 2, 3, 0,
                                 kRuleGroup, 12, 0, 0, 1, 1, 1, 2, 3, 2, 3, 1, kRuleEnd};
// The two edges of the hole between nodes 1 and 2.
constexpr int32_t kHole[] = {kRuleGroup, 6, 0, 1, 2, 1, kRuleGroup, 6, 0, 1, 2, 2, kRuleEnd};
// Spans of 1, 2, 1, 2, 1 runs ("d,A,V,A,V,p,", "d,A,pI,dI,V,p,", "d,A,V,A,pI,p,").
constexpr int32_t kOutline5[] = {
    kRuleGroup, 12, 0, 0, 1, 0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5, 0,
    kRuleGroup, 12, 0, 0, 1, 1, 1, 2, 3, 2, 3, 1, 3, 4, 3, 4, 5, 1, kRuleEnd};
// Spans of 1, 2, 3, 2, 1 runs ("d,A,IA,VI,pI,p,").
constexpr int32_t kOutline09[] = {
    kRuleGroup, 12, 0, 0, 1, 0, 1, 2, 0, 2, 3, 0, 3, 4, 0, 4, 5, 0,
    kRuleGroup, 12, 0, 0, 1, 1, 1, 2, 3, 2, 3, 5, 3, 4, 3, 4, 5, 1, kRuleEnd};
// Spans of 1, 2, 2, 1 runs ("d,A,S,pI,p,").
constexpr int32_t kOutline12[] = {
    kRuleGroup, 12, 0, 0, 1, 0, 1, 2, 0, 2, 3, 0, 3, 4, 0,
    kRuleGroup, 12, 0, 0, 1, 1, 1, 2, 3, 2, 3, 3, 3, 4, 1, kRuleEnd};
// One run in every row ("d,p,").
constexpr int32_t kOutlineBar[] = {kRuleGroup, 12, 0, 0, 1, 0, kRuleGroup, 12, 0, 0, 1, 1,
                                   kRuleEnd};

constexpr TemplateElement kSeparator = {':', ':', 1, 1};
constexpr TemplateElement kEndOfPattern = {0, 0, 0, 0};

// ---- 0: an even ring. Left outline out, then in; right mirrored.
constexpr TemplateElement kZero[] = {
    {'0', '3', 1, 6}, {'3', '5', 0, 8}, {'5', '8', 1, 6}, kSeparator,
    {'5', '8', 1, 6}, {'3', '5', 0, 8}, {'0', '3', 1, 6}, kEndOfPattern};
// A round hole (0, 6, 9): its left edge out then in, its right edge mirrored.
constexpr TemplateElement kRoundHole[] = {
    {'0', '3', 1, 4}, {'3', '8', 1, 5}, kSeparator, {'5', '8', 1, 4}, {'0', '5', 1, 5},
    kEndOfPattern};
// ---- closed 4: the left outline runs down the slant, along the bar and
// down the stem; the right one down the stem with the bar's end on the way.
constexpr TemplateElement kClosedFour[] = {
    {'1', '3', 2, 8}, {'3', '4', 0, 2}, {'6', '8', 1, 4}, {'3', '5', 1, 4}, kSeparator,
    {'2', '5', 1, 7}, {'6', '8', 1, 3}, {'0', '5', 1, 6}, kEndOfPattern};
// ---- 6: the stem curves out down to the loop, which comes back in; on the
// right the stem runs down to the left, then the outline steps out to the
// loop's side and comes in round it.
constexpr TemplateElement kSix[] = {
    {'0', '3', 2, 8}, {'3', '8', 2, 8}, kSeparator,
    {'0', '4', 1, 5}, {'5', '8', 1, 4}, {'0', '5', 2, 6}, kEndOfPattern};
// ---- 9: the loop out and in, then the outline steps over to the stem and
// runs down it; on the right the loop's side out, then down the stem.
constexpr TemplateElement kNine[] = {
    {'0', '4', 1, 6}, {'5', '8', 2, 7}, {'0', '5', 1, 6}, kSeparator,
    {'5', '8', 1, 4}, {'0', '5', 4, 11}, kEndOfPattern};
// ---- 8: two bulges on each side.
constexpr TemplateElement kEight[] = {
    {'0', '3', 1, 6}, {'4', '8', 1, 6}, {'0', '3', 1, 6}, {'4', '8', 1, 8}, kSeparator,
    {'5', '8', 1, 6}, {'0', '4', 1, 6}, {'5', '8', 1, 6}, {'0', '4', 1, 8}, kEndOfPattern};
// ---- open 4: the left stroke, the bar, the stem; on the right the stroke,
// the step out to the stem's top, the stem, the bar's end, the stem again.
constexpr TemplateElement kOpenFour[] = {
    {'2', '5', 2, 7}, {'6', '8', 2, 5}, {'3', '6', 1, 4}, kSeparator,
    {'3', '5', 1, 3}, {'6', '8', 1, 4}, {'3', '5', 1, 4}, {'5', '8', 1, 3}, {'0', '3', 1, 3},
    {'2', '5', 1, 4}, kEndOfPattern};
// ---- 2: the arc's end, over to its side and down the slant; on the right
// the arc bulges out and comes in, the slant runs down to the left (which a
// 1 standing on a bar lacks) and the outline steps out along the bar.
constexpr TemplateElement kTwo[] = {
    {'0', '4', 0, 3}, {'5', '8', 2, 6}, {'0', '4', 3, 8}, {'5', '8', 0, 5}, kSeparator,
    {'5', '8', 1, 4}, {'3', '4', 0, 3}, {'0', '3', 2, 7}, {'5', '8', 1, 5}, {'0', '8', 0, 4},
    kEndOfPattern};
// ---- round 3: anything on the left (ends and the middle point), two bulges
// on the right.
constexpr TemplateElement kThree[] = {
    {'0', '8', 1, 12}, kSeparator,
    {'5', '8', 1, 4}, {'0', '4', 1, 6}, {'5', '8', 1, 4}, {'0', '4', 1, 8}, kEndOfPattern};
// ---- flat-topped 3: on the right the bar's end, the slant in, the bowl out
// and in.
constexpr TemplateElement kFlatThree[] = {
    {'0', '8', 1, 12}, kSeparator,
    {'5', '8', 0, 4}, {'0', '4', 2, 6}, {'5', '8', 1, 4}, {'0', '4', 2, 6}, kEndOfPattern};
// ---- 5: down the stem, over to the bowl and round it; on the right the
// bar's end, back along it to the stem, out to the bowl and in.
constexpr TemplateElement kFive[] = {
    {'2', '5', 1, 5}, {'6', '8', 1, 4}, {'0', '4', 2, 8}, {'5', '8', 0, 3}, kSeparator,
    {'6', '8', 0, 2}, {'0', '4', 2, 7}, {'5', '8', 1, 4}, {'0', '6', 2, 6}, kEndOfPattern};
// ---- 7 of one row run: along the bar to its end, down the slant to the
// left; the right outline down the slant.
constexpr TemplateElement kSeven[] = {
    {'0', '4', 0, 3}, {'5', '8', 2, 6}, {'0', '4', 3, 9}, kSeparator,
    {'0', '4', 6, 12}, kEndOfPattern};

constexpr ShapeTemplate kZeroTemplates[] = {
    {kZero, nullptr, "0d", nullptr, '0', kTemplateWhole},
    {kClosedFour, nullptr, "4a", nullptr, '4', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kRoundHoleZero[] = {
    {kRoundHole, nullptr, "0d", nullptr, '0', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kClosedFourTemplates[] = {
    {kClosedFour, nullptr, "4a", nullptr, '4', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kSixTemplates[] = {
    {kSix, nullptr, "6a", nullptr, '6', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kSixHigh[] = {
    {kSix, nullptr, "6", nullptr, '6', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kRoundHoleSix[] = {
    {kRoundHole, nullptr, "6d", nullptr, '6', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kNineTemplates[] = {
    {kNine, nullptr, "9b", nullptr, '9', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kRoundHoleNine[] = {
    {kRoundHole, nullptr, "9b", nullptr, '9', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kNineOfStem[] = {
    {kNine, nullptr, "-9b-", nullptr, '9', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kEightTemplates[] = {
    {kEight, nullptr, "-8e-", nullptr, '8', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kOpenFourTemplates[] = {
    {kOpenFour, nullptr, "4c", nullptr, '4', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kTwoFirst[] = {
    {kTwo, nullptr, "235j", nullptr, '2', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kTwoSecond[] = {
    {kTwo, nullptr, "2g", nullptr, '2', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kTwoConfirm[] = {
    {kTwo, nullptr, "2a", nullptr, '2', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kThreeTemplates[] = {
    {kThree, nullptr, "-3c-", nullptr, '3', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kThreeConfirm[] = {
    {kThree, nullptr, "3a", nullptr, '3', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kFlatThreeTemplates[] = {
    {kFlatThree, nullptr, "3b", nullptr, '3', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kFiveTemplates[] = {
    {kFive, nullptr, "-5b-", nullptr, '5', kTemplateWhole}, kEndOfTemplates};
constexpr ShapeTemplate kSevenTemplates[] = {
    {kSeven, nullptr, "7a", nullptr, '7', kTemplateWhole}, kEndOfTemplates};

}  // namespace

const TemplateSet kTemplateSets[kTemplateSetCount] = {
    {"01 0d 0c 0e ->0, 4a 4b 4c ->4", kOutline3Short, kZeroTemplates},  // kSet01ZeroOrFour
    {"01 0d 0e ->0", kHole, kRoundHoleZero},  // kSet01ZeroConfirm
    {"01 6 ->6", kOutline3Short, kSixHigh},  // kSet01SixHigh
    {"01 8t1 8t2 ->8", nullptr, nullptr},  // kSet01EightNotSix
    {"01 6 ->6", nullptr, nullptr},  // kSet01SixLow
    {"01 6a..6e ->6, 8t ->8", kOutline3Short, kSixTemplates},  // kSet01SixOrEight
    {"01 6d..6k ->6", kHole, kRoundHoleSix},  // kSet01SixConfirm
    {"01 8t 8t2 ->8, 6 6b ->6, 0 ->0", nullptr, nullptr},  // kSet01NotSix
    {"01 4a 4b ->4", kOutline3Short, kClosedFourTemplates},  // kSet01FourLow
    {"01 4 ->4", nullptr, nullptr},  // kSet01Four
    {"01 9b 9e 9f 9h 9g ->9, 4 ->4", kOutline3Short, kNineTemplates},  // kSet01NineOrFour
    {"01 4 ->4", nullptr, nullptr},  // kSet01FourConfirm
    {"01 4a 4c1 4c2 ->4, 9b..9e ->9", kHole, kRoundHoleNine},  // kSet01NineConfirm
    {"01 8t1..8t5 ->8", nullptr, nullptr},  // kSet01Eight
    {"02 1c2 1d2 1e2 1f 1f2 1g2 1h ->1, 8t1 8t2 8t3 ->8, 0t1 ->0, 4t ->4", nullptr, nullptr},  // kSet02OneOrEight
    {"02 4t1 4t2 ->4, 0t ->0", nullptr, nullptr},  // kSet02FourOrZero
    {"02 2a 2b 2d 2e 2f 2g ->2", nullptr, nullptr},  // kSet02Two
    {"02 5a..5e ->5", nullptr, nullptr},  // kSet02Five
    {"02 3 ->3, 7 ->7", nullptr, nullptr},  // kSet02ThreeOrSeven
    {"02 9t ->9, 8t ->8, 0t ->0", nullptr, nullptr},  // kSet02Loop
    {"02 1 ->1, 2 ->2, 7 ->7", nullptr, nullptr},  // kSet02OneTwoSeven
    {"02 1 1a ->1", nullptr, nullptr},  // kSet02One
    {"02 7a 7a2 7c ->7, p1a ->p", kOutlineBar, kSevenTemplates},  // kSet02Seven
    {"02 1 1b ->1", nullptr, nullptr},  // kSet02OneFlag
    {"02 6t ->6 (first rule list)", nullptr, nullptr},  // kSet02SixLow
    {"02 6t ->6 (second rule list)", nullptr, nullptr},  // kSet02SixHigh
    {"02 3b 3c 3a ->3", nullptr, nullptr},  // kSet02Three
    {"03 17f 17c 17b 17d ->1, 7b ->7, 235j 235g 235k 2a ->2", kOutline3, kTwoFirst},  // kSet03First
    {"03 2g 2e 2f ->2, 35a ->3", kOutline3, kTwoSecond},  // kSet03TwoOrThree
    {"03 2a 2b 2c ->2", kOutline3, kTwoConfirm},  // kSet03TwoConfirm
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
    {"04 3b 3c 3d ->3, 5a 5c 5e 5g 5d 5f 5b ->5", kOutline3, kFlatThreeTemplates},  // kSet04ThreeOrFive
    {"04 3b..3f ->3", kOutline3, kFlatThreeTemplates},  // kSet04ThreeConfirm
    {"04 5 ->5", nullptr, nullptr},  // kSet04FiveConfirm
    {"05 -0- ->0", nullptr, nullptr},  // kSet05Zero
    {"05 -6a- ->6", nullptr, nullptr},  // kSet05Six
    {"05 -8e- -8b- -8f- -8g- -8d- -8c- ->8", kOutline5, kEightTemplates},  // kSet05Eight
    {"06 -5a- -5b- ->5, -4- ->4", nullptr, nullptr},  // kSet06FiveOrFour
    {"06 -0- ->0", nullptr, nullptr},  // kSet06Zero
    {"06 -6a- ->6", nullptr, nullptr},  // kSet06Six
    {"06 4c 4e ->4", kOutline3, kOpenFourTemplates},  // kSet06Four
    {"06 -2a- -2b- ->2", nullptr, nullptr},  // kSet06TwoWide
    {"06 1 ->1", nullptr, nullptr},  // kSet06One
    {"06 -2- -2b- ->2", nullptr, nullptr},  // kSet06TwoNarrow
    {"06 -2- ->2", nullptr, nullptr},  // kSet06TwoOpen
    {"06 4 4u ->4", nullptr, nullptr},  // kSet06FourOpen
    {"07 -5b- -5c- ->5, -3- ->3", kOutline5, kFiveTemplates},  // kSet07FiveOrThree
    {"07 -0- ->0", nullptr, nullptr},  // kSet07Zero
    {"07 -3c- -3d- ->3", kOutline5, kThreeTemplates},  // kSet07Three
    {"07 3a ->3", kOutline5, kThreeConfirm},  // kSet07ThreeConfirm
    {"08 2 ->2", nullptr, nullptr},  // kSet08Two
    {"08 -2- -2b- ->2", nullptr, nullptr},  // kSet08TwoWide
    {"09 -9b- -9c- -9d- -9e- ->9, -4- ->4", kOutline09, kNineOfStem},  // kSet09NineOrFour
    {"10 -5a- -5b- -5c- ->5", nullptr, nullptr},  // kSet10Five
    {"11 -9b- -9c- -9d- -9e- ->9, -4- ->4 (first rule list)", kOutline5, kNineOfStem},  // kSet11NineOrFourLow
    {"11 the same templates (second rule list)", nullptr, nullptr},  // kSet11NineOrFourHigh
    {"12 -9b-..-9f- ->9, -4- ->4", kOutline12, kNineOfStem},  // kSet12NineOrFour
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

int g_structureDecidingSet = -1;
int g_structureAskedSet = -1;

int RunTemplateSet(TemplateSetId set) {
  g_structureAskedSet = set;
  const TemplateSet& s = kTemplateSets[set];
  if (s.rules == nullptr || s.templates == nullptr) return 0;
  if (MatchShapeTemplate(FormatStructureDescription(s.rules), s.templates) == 0) return 0;
  g_structureDecidingSet = set;
  return 1;
}

int RunTemplateSetAfresh(TemplateSetId set) {
  g_structureDecision = kUndecided;
  return RunTemplateSet(set);
}
