// Feeds arbitrary bytes to the dictionary loader as a file: sizing and
// loading must refuse what is malformed and, for what loads, lay out an image
// whose every pointer and count stays inside the block (the walk below reads
// all of it under AddressSanitizer).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "ocrlib/frame/frame_internal.h"

namespace {

// The loader reads files: each input goes through one file of this process,
// removed when the fuzzer exits.
const std::string& InputPath() {
  static const std::string path = "/tmp/mupa_dict_fuzz_" + std::to_string(getpid()) + ".dic";
  static const bool removedAtExit = std::atexit([] { std::remove(InputPath().c_str()); }) == 0;
  (void)removedAtExit;
  return path;
}

uint32_t Touch(const uint8_t* bytes, size_t n) {
  uint32_t sum = 0;
  for (size_t i = 0; i < n; ++i) sum += bytes[i];
  return sum;
}

uint32_t WalkModel(const StrokeModel& m) {
  uint32_t sum = m.codeMaskA ^ m.codeMaskD;
  for (int e = 0; e < m.strokeCount; ++e) {
    const ModelStroke& s = m.strokes[e];
    sum += Touch(s.codes, s.codeCount) + s.linkStroke[s.linkCount > 0 ? s.linkCount - 1 : 0];
    sum += m.strokes[s.group < m.groupCount ? s.group : 0].required;
  }
  for (int g = 0; g < m.groupCount; ++g) {
    const ModelGroup& group = m.groups[g];
    for (int i = 0; i < group.memberCount; ++i) sum += m.strokes[group.members[i]].codeCount;
  }
  for (int p = 0; p < m.pointCount; ++p) {
    const ModelPoint& point = m.points[p];
    for (int a = 0; a < point.alternativeCount; ++a) {
      sum += m.strokes[point.strokePairs[2 * a]].linkCount + m.strokes[point.strokePairs[2 * a + 1]].linkCount;
      sum += point.endLetters[2 * a] + point.kinds[a];
    }
  }
  for (int r = 0; r < m.refinementCount; ++r) {
    sum += Touch(m.refinements[r].features, m.refinements[r].featureCount);
  }
  return sum;
}

uint32_t WalkPatterns(const PatternImage& p) {
  uint32_t sum = p.scratch[p.classCount > 0 ? p.classCount - 1 : 0].classNumber * (p.classCount > 0);
  for (int c = 0; c < p.classCount; ++c) {
    const PatternClassRecord& record = p.classes[c];
    for (int m = 0; m < record.memberCount; ++m) {
      const PatternMember& member = record.members[m];
      for (int i = 0; i < member.itemCount; ++i) sum += member.items[i].area[1];
    }
    sum += p.boundDistanceTable[record.lower6[0] * 64 + record.upper6[47]];
  }
  for (int g = 0; g < kShapeGroups; ++g) {
    const uint32_t word = p.classGroupIndex[g];
    for (uint32_t c = word & 0xFFFF; c < (word & 0xFFFF) + (word >> 16); ++c) sum += p.classes[c].bias;
  }
  for (const SmallKanaIndexEntry& e : p.smallKana) {
    if (e.classRecord != nullptr) sum += e.classRecord->typeBits;
    if (e.firstItem != nullptr) sum += e.firstItem->aspect[0];
  }
  for (uint16_t raw : p.featureIndexTable) sum += raw < kRawFeatures;
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  size_t blockSize = 0;
  if (ComputeDictSize(InputPath().c_str(), 0, &blockSize) != 0) return 0;
  auto* block = static_cast<DictBlock*>(::operator new(blockSize, std::nothrow));
  if (block == nullptr) return 0;
  volatile uint32_t sink = 0;
  if (LoadDictFile(InputPath().c_str(), block, blockSize) == 0) {
    if (block->strokeModels != nullptr) {
      for (const StrokeModelSet& set : block->strokeModels->sets) {
        for (int i = 0; i < set.family1Count; ++i) sink = sink + WalkModel(set.family1[i]);
        for (int i = 0; i < set.family2Count; ++i) sink = sink + WalkModel(set.family2[i]);
        for (int i = 0; i < set.refinementCount; ++i) sink = sink + WalkModel(set.refinement[i]);
      }
    }
    if (block->patterns != nullptr) sink = sink + WalkPatterns(*block->patterns);
  }
  ::operator delete(block, std::nothrow);
  return 0;
}
