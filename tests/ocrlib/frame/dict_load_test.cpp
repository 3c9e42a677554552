// Sizing and loading of dictionary files: the loaded image and the refusal
// of malformed files.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"

namespace {

struct BlockFree {
  void operator()(DictBlock* b) const { ::operator delete(b); }
};
using Block = std::unique_ptr<DictBlock, BlockFree>;

class DictLoadTest : public ::testing::Test {
 protected:
  // Sizes and loads the file; the first code pushed, or 0.
  uint16_t Load(const std::vector<uint8_t>& bytes, Block* block = nullptr) {
    const std::string path = folder_.Write("dict.dic", bytes);
    size_t size = 0;
    if (ComputeDictSize(path.c_str(), 0, &size) != 0) return g_errorStack.codes[0];
    Block loaded(static_cast<DictBlock*>(::operator new(size)));
    if (LoadDictFile(path.c_str(), loaded.get(), size) != 0) return g_errorStack.codes[0];
    if (block != nullptr) *block = std::move(loaded);
    return 0;
  }
  uint16_t Load(const DictFileSpec& spec, Block* block = nullptr) {
    return Load(EncodeDictFile(spec), block);
  }

  TempFolder folder_;
};

TEST_F(DictLoadTest, HeaderOnlyLoadsWithoutSections) {
  const std::string path = folder_.Write("h.dic", MakeHeaderOnlyDict());
  size_t size = 0;
  ASSERT_EQ(ComputeDictSize(path.c_str(), 0, &size), 0);
  EXPECT_EQ(size, sizeof(DictBlock));
  Block block;
  ASSERT_EQ(Load(MakeHeaderOnlyDict(), &block), 0);
  EXPECT_EQ(block->strokeModels, nullptr);
  EXPECT_EQ(block->patterns, nullptr);
  EXPECT_EQ(block->header.currentTypes, kTypeAll);
  EXPECT_EQ(block->header.offeredTypes, kTypeDigits);
  EXPECT_EQ(FindStrokeModelSet(block.get(), 1), nullptr);
  EXPECT_EQ(ComputeDictSize(path.c_str(), 1, &size), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrMissingValue);
  EXPECT_EQ(size, 0u);
}

TEST_F(DictLoadTest, HeaderChecksInTheirOrder) {
  struct Case {
    const char* what;
    std::function<void(PatternDictHeader&)> change;
    uint16_t code;
  };
  const Case cases[] = {
      {"magic", [](PatternDictHeader& h) { h.magic[0] = 'Q' + 1; }, kErrDictHeader},
      {"version 0", [](PatternDictHeader& h) { h.version = 0; }, kErrDictHeader},
      {"version 2 is a header, not loadable", [](PatternDictHeader& h) { h.version = 2; }, kErrDictVersion},
      {"format 3.33", [](PatternDictHeader& h) { h.formatMinor = 33; }, kErrDictFormat},
      {"format 4.0", [](PatternDictHeader& h) { h.formatMajor = 4; }, kErrDictFormat},
      {"kind 3", [](PatternDictHeader& h) { h.kind = 3; }, kErrDictKind},
      {"kind 2", [](PatternDictHeader& h) { h.kind = 2; }, kErrDictKind},
      {"byte 7 is 3", [](PatternDictHeader& h) { h.headerByte7 = 3; }, kErrDictByte7},
      {"byte 7 is 2", [](PatternDictHeader& h) { h.headerByte7 = 2; }, kErrDictByte7},
      {"byte 8 is 0", [](PatternDictHeader& h) { h.headerByte8 = 0; }, kErrDictByte8},
      {"bytes 7 and 8 are 1 and 2", [](PatternDictHeader& h) { h.headerByte8 = 2; },
       kErrDictByteCombination},
      {"kind checked before byte 7", [](PatternDictHeader& h) { h.kind = 0, h.headerByte7 = 0; },
       kErrDictKind},
      {"format 3.32 loads", [](PatternDictHeader& h) { h.formatMinor = 32; }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DictFileSpec spec = MakeHeaderOnlyDict();
    c.change(spec.header);
    EXPECT_EQ(Load(spec), c.code);
  }
}

TEST_F(DictLoadTest, FileBoundaries) {
  std::vector<uint8_t> header = EncodeDictFile(MakeHeaderOnlyDict());
  std::vector<uint8_t> trailing = header;
  trailing.push_back(0);
  std::vector<uint8_t> patterns = EncodeDictFile(MakeDigitPatternDict());
  std::vector<uint8_t> truncated(patterns.begin(), patterns.end() - 1);
  std::vector<uint8_t> shortHeader(header.begin(), header.begin() + 160);
  std::vector<uint8_t> movedSection = patterns;
  PutU32(movedSection.data() + kDictDirectoryOffset + 4, kDictFirstSectionOffset + 4);
  EXPECT_EQ(Load(trailing), kErrDictTrailing);
  EXPECT_EQ(Load(truncated), kErrDictRead);
  EXPECT_EQ(Load(shortHeader), kErrDictRead);
  EXPECT_EQ(Load(movedSection), kErrDictRead);
  size_t size = 1;
  EXPECT_EQ(ComputeDictSize(folder_.Path("none.dic").c_str(), 0, &size), -9);
  EXPECT_EQ(g_errorStack.codes[0], kErrDictOpen);
  EXPECT_EQ(size, 0u);
}

TEST_F(DictLoadTest, BlockMustFitExactly) {
  const std::string path = folder_.Write("p.dic", MakeDigitPatternDict());
  size_t size = 0;
  ASSERT_EQ(ComputeDictSize(path.c_str(), 0, &size), 0);
  for (size_t tried : {size - 1, size + 1, sizeof(DictBlock) - 1}) {
    SCOPED_TRACE(tried);
    Block block(static_cast<DictBlock*>(::operator new(tried + 8)));
    EXPECT_EQ(LoadDictFile(path.c_str(), block.get(), tried), -9);
    const uint16_t expected = tried == size + 1            ? kErrDictRead
                              : tried < sizeof(DictBlock) ? kErrMissingValue
                                                          : kErrDictBudget;
    EXPECT_EQ(g_errorStack.codes[0], expected);
  }
}

TEST_F(DictLoadTest, PatternImage) {
  Block block;
  ASSERT_EQ(Load(MakeDigitPatternDict(), &block), 0);
  const PatternImage* p = block->patterns;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(block->strokeModels, nullptr);
  EXPECT_EQ(block->header.patternOnly, 1);
  EXPECT_EQ(p->classCount, 10);
  EXPECT_EQ(p->memberCount, 10);
  EXPECT_EQ(p->itemCount, 10);
  EXPECT_EQ(p->tailClassCount, 10);
  EXPECT_EQ(p->groupWordCount, kShapeGroups);
  for (int d = 0; d < 10; ++d) {
    const PatternClassRecord& c = p->classes[d];
    ASSERT_EQ(c.memberCount, 1);
    EXPECT_EQ(c.members, &p->members[d]);
    EXPECT_EQ(c.members->sjisLead, 0x82);
    EXPECT_EQ(c.members->sjisTrail, 0x4F + d);
    EXPECT_EQ(c.members->items, &p->items[d]);
    EXPECT_EQ(c.upper6[47], 63);
    EXPECT_EQ(c.flagWeights[15], 100);
    EXPECT_EQ(c.rerankFeatures[47], 47);
    EXPECT_EQ(c.rivals[3], kNoRival);
  }
  EXPECT_EQ(p->smallKana[11].classRecord, &p->classes[0]);
  EXPECT_EQ(p->smallKana[11].firstItem, &p->items[0]);
  EXPECT_EQ(p->thresholds63[62], 16 * 63);
  EXPECT_EQ(p->thresholds31[0], 32);
  EXPECT_EQ(p->thresholds7[6], 65535);
  EXPECT_EQ(p->featureIndexTable[599], 599);
  EXPECT_EQ(p->boundDistanceTable[3 * 64 + 10], 7);
  EXPECT_EQ(p->fineBoundDistanceTable[255 * 256], 255);
  // The scratch list is the last thing in the block.
  const auto* end = reinterpret_cast<const unsigned char*>(p->scratch + p->classCount);
  const auto* blockStart = reinterpret_cast<const unsigned char*>(block.get());
  const std::string path = folder_.Write("p.dic", MakeDigitPatternDict());
  size_t size = 0;
  ASSERT_EQ(ComputeDictSize(path.c_str(), 0, &size), 0);
  EXPECT_EQ(static_cast<size_t>(end - blockStart), size);
}

// Rewrites part of the digit pattern dictionary.
DictFileSpec PatternDictWith(const std::function<void(PatternSectionFile&)>& change) {
  DictFileSpec spec = MakeDigitPatternDict();
  change(spec.patterns);
  return spec;
}

TEST_F(DictLoadTest, MalformedPatternSectionsAreRefused) {
  struct Case {
    const char* what;
    std::function<void(PatternSectionFile&)> change;
    uint16_t code;
  };
  const Case cases[] = {
      {"fewer than 16 group words", [](PatternSectionFile& p) { p.groupWords.resize(15); }, kErrDictRead},
      {"tail beyond the classes", [](PatternSectionFile& p) { p.tailClassCount = 11; }, kErrDictRead},
      {"negative tail", [](PatternSectionFile& p) { p.tailClassCount = -1; }, kErrDictRead},
      {"members beyond the count", [](PatternSectionFile& p) { p.classes[9].memberCount = 2; }, kErrDictRead},
      {"items beyond the count", [](PatternSectionFile& p) { p.members[9].itemCount = 2; }, kErrDictRead},
      {"6-bit bound beyond its table", [](PatternSectionFile& p) { p.classes[0].upper6[0] = 64; }, kErrDictRead},
      {"re-ranking feature 324", [](PatternSectionFile& p) { p.classes[0].rerankFeatures[0] = 324; }, kErrDictRead},
      {"rival class 10 of 10", [](PatternSectionFile& p) { p.classes[0].rivals[0] = 10; }, kErrDictRead},
      {"small-kana class 10 of 10", [](PatternSectionFile& p) { p.smallKana[0] = 10; }, kErrDictRead},
      {"raw feature 600", [](PatternSectionFile& p) { p.featureIndexTable[0] = 600; }, kErrDictRead},
      {"group range beyond the classes", [](PatternSectionFile& p) { p.groupWords[0] = 9 | 2 << 16; }, kErrDictRead},
      {"group and tail overflow the scratch list",
       [](PatternSectionFile& p) { p.groupWords[0] = 0 | 1 << 16; }, kErrDictRead},
      {"rival 9 and member without items load",
       [](PatternSectionFile& p) { p.classes[0].rivals[0] = 9, p.members[0].itemCount = -3; }, 0},
      {"small-kana entry none", [](PatternSectionFile& p) { p.smallKana[0] = 0xFFFF; }, 0},
      {"group range with a smaller tail",
       [](PatternSectionFile& p) { p.tailClassCount = 2, p.groupWords[5] = 2 | 8 << 16; }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Load(PatternDictWith(c.change)), c.code);
  }
}

TEST_F(DictLoadTest, CountsNeverOutgrowTheFile) {
  // A group-word count of two billion in a short file is refused before
  // anything is sized by it.
  std::vector<uint8_t> bytes = EncodeDictFile(MakeDigitPatternDict());
  PutU32(bytes.data() + kDictFirstSectionOffset + 12, 0x7FFFFFF0);
  EXPECT_EQ(Load(bytes), kErrDictRead);
  PutU32(bytes.data() + kDictFirstSectionOffset + 12, 0x80000000);  // negative
  EXPECT_EQ(Load(bytes), kErrDictRead);
}

TEST_F(DictLoadTest, StrokeModelSets) {
  Block block;
  ASSERT_EQ(Load(MakeStrokeSampleDict(), &block), 0);
  ASSERT_NE(block->strokeModels, nullptr);
  EXPECT_EQ(block->patterns, nullptr);
  auto names = [](const StrokeModel* models, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += std::string(models[i].name) + " ";
    return out;
  };
  struct Case {
    uint32_t mask;
    const char* family1;
    const char* family2;
    const char* refinement;
  };
  // Family 1: "-" / "0" "1" / - / "-" again; family 2: "-" / "4" "1" / "-";
  // refinement: "7" in the digits.
  const Case cases[] = {
      {512, "- ", "- ", ""},        {1, "0 1 ", "4 1 ", "7 "},
      {2, "", "", ""},              {8, "", "", ""},
      {513, "- 0 1 ", "- 4 1 ", "7 "}, {3, "0 1 ", "4 1 ", "7 "},
      {514, "- ", "- ", ""},        {515, "- 0 1 ", "- 4 1 ", "7 "},
  };
  for (int i = 0; i < kModelSetCount; ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.mask);
    const StrokeModelSet& set = block->strokeModels->sets[i];
    EXPECT_EQ(&set, FindStrokeModelSet(block.get(), c.mask));
    EXPECT_EQ(names(set.family1, set.family1Count), c.family1);
    EXPECT_EQ(names(set.family2, set.family2Count), c.family2);
    EXPECT_EQ(names(set.refinement, set.refinementCount), c.refinement);
    EXPECT_EQ(set.models, set.family2);
    EXPECT_EQ(set.modelCount, set.family2Count);
  }
  // 514 takes the second copy of the signs, so that it follows the capitals.
  const StrokeModelImage* image = block->strokeModels;
  EXPECT_NE(image->sets[6].family1, image->sets[0].family1);
}

uint32_t MasksOf(std::initializer_list<int> codes, int which) {
  uint32_t out = 0;
  for (int code : codes) {
    uint32_t m[4];
    DecodeStrokeCode(code, &m[0], &m[1], &m[2], &m[3]);
    out |= m[which];
  }
  return out;
}

TEST_F(DictLoadTest, StrokeModelRecords) {
  Block block;
  ASSERT_EQ(Load(MakeStrokeSampleDict(), &block), 0);
  const StrokeModelSet* digits = FindStrokeModelSet(block.get(), 1);
  const StrokeModel& four = digits->family2[0];
  ASSERT_STREQ(four.name, "4");
  EXPECT_EQ(four.classIndex, FindClassCheckRow("4"));
  EXPECT_GE(four.classIndex, 0);
  EXPECT_EQ(four.strokeCount, 3);
  EXPECT_EQ(four.groupCount, 1);
  EXPECT_EQ(four.pointCount, 1);
  EXPECT_EQ(four.optionalCount, 1);
  EXPECT_EQ(four.codeMaskA, MasksOf({13, 10, 12, 13}, 0));
  EXPECT_EQ(four.codeMaskD, MasksOf({13, 10, 12, 13}, 3));
  // Path 1, 2, -3 with joint value 1: 1-2 joined by 1 (odd position), 2-3 by
  // 0 (even position, joint value not 0).
  struct StrokeCase {
    std::vector<uint8_t> links, ends;
    uint8_t required;
  };
  const StrokeCase strokes[] = {{{1}, {1}, 1}, {{0, 2}, {1, 0}, 1}, {{1}, {0}, 0}};
  for (int e = 0; e < 3; ++e) {
    SCOPED_TRACE(e);
    const ModelStroke& s = four.strokes[e];
    EXPECT_EQ(std::vector<uint8_t>(s.linkStroke, s.linkStroke + s.linkCount), strokes[e].links);
    EXPECT_EQ(std::vector<uint8_t>(s.linkEnd, s.linkEnd + s.linkCount), strokes[e].ends);
    EXPECT_EQ(s.required, strokes[e].required);
    EXPECT_EQ(s.group, 0);
  }
  EXPECT_EQ(four.strokes[2].codeCount, 2);
  EXPECT_EQ(four.strokes[2].codes[1], 13);
  EXPECT_EQ(four.strokes[0].mean[0], 100);
  EXPECT_EQ(four.strokes[0].weight[7], 1);
  const ModelGroup& group = four.groups[0];
  EXPECT_EQ(group.closed, 0);
  EXPECT_EQ(group.direction, 1);
  EXPECT_EQ(std::vector<uint8_t>(group.members, group.members + group.memberCount),
            (std::vector<uint8_t>{0, 1, 2}));
  const ModelPoint& point = four.points[0];
  EXPECT_EQ(point.alternativeCount, 1);
  EXPECT_EQ(point.required, 1);
  EXPECT_EQ(point.strokePairs[0], 0);
  EXPECT_EQ(point.strokePairs[1], 1);
  EXPECT_EQ(point.endLetters[0], 'e');
  EXPECT_EQ(point.endLetters[1], 's');
  EXPECT_EQ(point.kinds[0], 2);  // 'T'
  EXPECT_EQ(point.meanX, 128);
  EXPECT_EQ(point.meanY, 64);
  EXPECT_EQ(point.weightX, 10);
  EXPECT_EQ(point.weightY, 12);

  // A ring stroke closes its path; a model without points has none.
  const StrokeModel& ring = digits->family1[0];
  ASSERT_STREQ(ring.name, "0");
  EXPECT_EQ(ring.groups[0].closed, 1);
  EXPECT_EQ(ring.codeMaskA, 1u << 31);
  EXPECT_EQ(ring.points, nullptr);

  const StrokeModel& refinement = digits->refinement[0];
  ASSERT_STREQ(refinement.name, "7");
  ASSERT_EQ(refinement.refinementCount, 2);
  EXPECT_EQ(refinement.refinements[0].classCode, 0x37);
  EXPECT_EQ(refinement.refinements[0].maxDistance, 900);
  ASSERT_EQ(refinement.refinements[0].featureCount, 3);
  EXPECT_EQ(refinement.refinements[0].features[2], 4);
  EXPECT_EQ(refinement.refinements[1].features, nullptr);
  EXPECT_EQ(digits->family1[1].refinementCount, 0);
}

TEST_F(DictLoadTest, UnknownClassNameBindsToNoRow) {
  DictFileSpec spec = MakeStrokeSampleDict();
  spec.strokes.models[1].name = "ZZ";
  Block block;
  ASSERT_EQ(Load(spec, &block), 0);
  EXPECT_EQ(FindStrokeModelSet(block.get(), 1)->family1[0].classIndex, -1);
}

DictFileSpec StrokeDictWith(const std::function<void(StrokeSectionFile&)>& change) {
  DictFileSpec spec = MakeStrokeSampleDict();
  change(spec.strokes);
  return spec;
}

TEST_F(DictLoadTest, MalformedStrokeSectionsAreRefused) {
  struct Case {
    const char* what;
    std::function<void(StrokeSectionFile&)> change;
    uint16_t code;
  };
  const Case cases[] = {
      {"name of 8 bytes", [](StrokeSectionFile& s) { s.models[0].name = "ABCDEFGH"; }, kErrDictRead},
      {"name with a zero byte", [](StrokeSectionFile& s) { s.models[0].name = std::string("A\0B", 3); },
       kErrDictRead},
      {"17 model strokes",
       [](StrokeSectionFile& s) { s.models[0].strokes.resize(17, s.models[0].strokes[0]); }, kErrDictRead},
      {"reference 0", [](StrokeSectionFile& s) { s.models[5].paths[0].references[0] = 0; }, kErrDictRead},
      {"reference past the strokes", [](StrokeSectionFile& s) { s.models[5].paths[0].references[0] = 4; },
       kErrDictRead},
      {"backward reference past the strokes",
       [](StrokeSectionFile& s) { s.models[5].paths[0].references[2] = -4; }, kErrDictRead},
      {"third link of a stroke",
       [](StrokeSectionFile& s) { s.models[5].paths[0].references = {1, 2, 3, 2}; }, kErrDictRead},
      {"point naming stroke 3 of 3",
       [](StrokeSectionFile& s) { s.models[5].points[0].alternatives[0].strokeB = 3; }, kErrDictRead},
      {"kind letter Q", [](StrokeSectionFile& s) { s.models[5].points[0].alternatives[0].kindLetter = 'Q'; },
       kErrDictRead},
      {"entry of a model the group lacks", [](StrokeSectionFile& s) { s.entries[1][0].modelIndex = 1; },
       kErrDictRead},
      {"entry of another group's model", [](StrokeSectionFile& s) { s.entries[0] = s.entries[1]; },
       kErrDictRead},
      {"entries of one model apart",
       [](StrokeSectionFile& s) {
         s.refinementModels[1] = 2;
         s.models.push_back(s.models.back());
         s.entries[1] = {{0, 1, 1, {}}, {1, 1, 1, {}}, {0, 1, 1, {}}};
       },
       kErrDictRead},
      {"601 digit models in family 2",
       [](StrokeSectionFile& s) {
         s.family2[1] = 601;
         s.models.insert(s.models.begin() + 6, 599, s.models[6]);
       },
       kErrDictRead},
      {"more models than stored", [](StrokeSectionFile& s) { s.family1[3] = 1; }, kErrDictRead},
      {"no extension", [](StrokeSectionFile& s) {
         s.extended = false;
         s.refinementModels[1] = 0;
         s.models.pop_back();
         s.entries[1].clear();
       }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Load(StrokeDictWith(c.change)), c.code);
  }
}

}  // namespace
