// Sizing and loading of a pattern dictionary into one block: the header, the
// stroke-model image (model sets, models and their variable parts) and the
// pattern image (fixed tables, class records, members, items and the
// classifier's scratch list).
//
// The file is external input: every count, index and size is checked against
// the file and the library's limits, and a malformed file is refused with
// 1002 (1015 when the block is too small), never read or written past a
// buffer. Sizing and loading lay the image out through the same code, so the
// size computed is the size loading needs, to the byte.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "ocrlib/checks/checks_internal.h"
#include "ocrlib/frame/frame_internal.h"
#include "ocrlib/strokes/strokes_internal.h"

namespace {

// Bump allocation inside the loaded block. Without a base it only measures:
// it hands out null and counts the bytes the same requests would take.
class BlockArena {
 public:
  BlockArena(unsigned char* base, size_t size) : base_(base), size_(size) {}
  static BlockArena Measuring() { return BlockArena(nullptr, SIZE_MAX); }

  bool measuring() const { return base_ == nullptr; }
  bool overflow() const { return overflow_; }
  size_t used() const { return used_; }
  size_t remaining() const { return size_ - used_; }

  // Room for `count` records, aligned for T; null for none, when measuring
  // or when the block is too small (overflow() tells which).
  template <class T>
  T* Take(size_t count) {
    static_assert(alignof(T) <= alignof(DictBlock), "the block start aligns every record");
    const size_t start = (used_ + alignof(T) - 1) / alignof(T) * alignof(T);
    if (start > size_ || count > (size_ - start) / sizeof(T)) {
      overflow_ = true;
      return nullptr;
    }
    used_ = start + sizeof(T) * count;
    if (measuring() || count == 0) return nullptr;
    return reinterpret_cast<T*>(base_ + start);
  }
  bool writing() const { return !measuring() && !overflow_; }

 private:
  unsigned char* base_;
  size_t size_;
  size_t used_ = 0;
  bool overflow_ = false;
};

struct FileCloser {
  void operator()(FILE* f) const { std::fclose(f); }
};
using DictFile = std::unique_ptr<FILE, FileCloser>;

int Fail(uint16_t code) {
  PushErrorCode(code);
  return -9;
}

// ---- header ---------------------------------------------------------------------
int CheckLoadableHeader(const PatternDictHeader& h) {
  if (CheckDictHeader(h) != 0) return -9;
  if (h.version != kDictLoadableVersion) return Fail(kErrDictVersion);
  if (h.formatMajor != kDictLoadableFormatMajor || h.formatMinor >= kDictFormatMinorLimit) {
    return Fail(kErrDictFormat);
  }
  if (h.kind != 1) return Fail(kErrDictKind);
  if (h.headerByte7 != 1) return Fail(kErrDictByte7);
  return 0;
}

// Opens the file and reads and checks its header and directory; the reader is
// then at the first section.
int OpenDictFile(const char* path, DictFile* file, PatternDictHeader* header,
                 DictSectionDirectory* directory) {
  file->reset(std::fopen(path, "rb"));
  if (!*file) return Fail(kErrDictOpen);
  uint8_t bytes[kDictHeaderBytes + kDictDirectoryBytes];
  if (std::fread(bytes, 1, sizeof bytes, file->get()) != sizeof bytes) {
    return Fail(kErrDictRead);
  }
  DecodeDictHeader(bytes, header);
  if (CheckLoadableHeader(*header) != 0) return -9;
  directory->strokeOffset = GetU32(bytes + kDictDirectoryOffset);
  directory->patternOffset = GetU32(bytes + kDictDirectoryOffset + 4);
  directory->reserved = GetU32(bytes + kDictDirectoryOffset + 8);
  return 0;
}

// Sections are read in sequence; an offset that is not where its section
// really starts would make sizing and loading disagree.
bool SectionStartsHere(uint32_t offset, const DictFileReader& reader) {
  return offset == static_cast<uint64_t>(reader.position());
}

// ---- stroke-model image -------------------------------------------------------------
constexpr uint8_t KindFromLetter(uint8_t letter) {
  return letter == 'K' ? 1 : letter == 'T' ? 2 : 0;
}

void AddStrokeLink(ModelStroke* stroke, int other, uint8_t endFlag) {
  stroke->linkStroke[stroke->linkCount] = static_cast<uint8_t>(other);
  stroke->linkEnd[stroke->linkCount] = endFlag;
  ++stroke->linkCount;  // the file check keeps it at 2 or less
}

void FillModelStrokes(const ModelRecordFile& f, ModelStroke* strokes, uint8_t* codes,
                      StrokeModel* m) {
  for (size_t i = 0; i < f.strokes.size(); ++i) {
    const ModelStrokeFile& in = f.strokes[i];
    ModelStroke& out = strokes[i];
    out = ModelStroke{};
    out.codeCount = static_cast<uint8_t>(in.codes.size());
    out.codes = in.codes.empty() ? nullptr : codes;
    out.required = 1;  // until a path takes it backward
    std::memcpy(out.mean, in.mean, sizeof out.mean);
    std::memcpy(out.weight, in.weight, sizeof out.weight);
    for (uint8_t code : in.codes) {
      *codes++ = code;
      uint32_t mask[4];
      DecodeStrokeCode(code, &mask[0], &mask[1], &mask[2], &mask[3]);
      m->codeMaskA |= mask[0];
      m->codeMaskB |= mask[1];
      m->codeMaskC |= mask[2];
      m->codeMaskD |= mask[3];
    }
  }
}

// Joint paths become the model's groups: each records its strokes' group and
// direction and links neighbouring strokes; the joint flag is the path's joint
// value at odd positions and its negation at even ones. A backward reference
// makes its stroke optional (see ModelPathFile).
void FillModelGroups(const ModelRecordFile& f, ModelGroup* groups, uint8_t* members,
                     ModelStroke* strokes, StrokeModel* m) {
  for (size_t p = 0; p < f.paths.size(); ++p) {
    const ModelPathFile& path = f.paths[p];
    const size_t count = path.references.size();
    ModelGroup& group = groups[p];
    group = ModelGroup{};
    group.direction = path.jointValue;
    group.memberCount = static_cast<uint8_t>(count);
    group.members = count == 0 ? nullptr : members;
    for (size_t j = 0; j < count; ++j) {
      const int32_t r = path.references[j];
      const int stroke = std::abs(r) - 1;
      *members++ = static_cast<uint8_t>(stroke);
      strokes[stroke].group = static_cast<uint8_t>(p);
      if (r < 0) strokes[stroke].required = 0;
      if (j == 0) continue;
      const int previous = std::abs(path.references[j - 1]) - 1;
      const uint8_t flag = j % 2 == 1 ? path.jointValue : path.jointValue == 0 ? 1 : 0;
      AddStrokeLink(&strokes[previous], stroke, flag);
      AddStrokeLink(&strokes[stroke], previous, flag);
    }
    group.closed = count >= 2 && std::abs(path.references.front()) ==
                                     std::abs(path.references.back());
  }
  for (size_t e = 0; e < f.strokes.size(); ++e) {
    if (strokes[e].required == 0) ++m->optionalCount;
  }
  // A ring stroke (first code 0) closes every path that holds it.
  for (size_t p = 0; p < f.paths.size(); ++p) {
    for (int32_t r : f.paths[p].references) {
      const ModelStroke& stroke = strokes[std::abs(r) - 1];
      if (stroke.codeCount > 0 && stroke.codes[0] == 0) groups[p].closed = 1;
    }
  }
}

void FillModelPoints(const ModelRecordFile& f, ModelPoint* points, uint8_t* bytes) {
  for (size_t i = 0; i < f.points.size(); ++i) {
    const ModelPointFile& in = f.points[i];
    const size_t n = in.alternatives.size();
    ModelPoint& out = points[i];
    out.alternativeCount = static_cast<uint8_t>(n);
    out.required = in.required ? 1 : 0;
    uint8_t* pairs = bytes;
    uint8_t* letters = pairs + 2 * n;
    uint8_t* kinds = letters + 2 * n;
    out.strokePairs = n == 0 ? nullptr : pairs;
    out.endLetters = n == 0 ? nullptr : letters;
    out.kinds = n == 0 ? nullptr : kinds;
    for (size_t k = 0; k < n; ++k) {
      const ModelPointAlternative& alt = in.alternatives[k];
      pairs[2 * k] = alt.strokeA;
      pairs[2 * k + 1] = alt.strokeB;
      letters[2 * k] = alt.letterA;
      letters[2 * k + 1] = alt.letterB;
      kinds[k] = KindFromLetter(alt.kindLetter);
    }
    bytes += 5 * n;
    // The file holds mean x, weight x, mean y, weight y.
    out.meanX = in.words[0];
    out.weightX = in.words[1];
    out.meanY = in.words[2];
    out.weightY = in.words[3];
  }
}

void LayOutModel(const ModelRecordFile& f, BlockArena& arena, StrokeModel* m) {
  size_t codeBytes = 0, memberBytes = 0, pointBytes = 0;
  for (const ModelStrokeFile& s : f.strokes) codeBytes += s.codes.size();
  for (const ModelPathFile& p : f.paths) memberBytes += p.references.size();
  for (const ModelPointFile& p : f.points) pointBytes += 5 * p.alternatives.size();
  ModelStroke* strokes = arena.Take<ModelStroke>(f.strokes.size());
  uint8_t* codes = arena.Take<uint8_t>(codeBytes);
  ModelGroup* groups = arena.Take<ModelGroup>(f.paths.size());
  uint8_t* members = arena.Take<uint8_t>(memberBytes);
  ModelPoint* points = arena.Take<ModelPoint>(f.points.size());
  uint8_t* pointData = arena.Take<uint8_t>(pointBytes);
  if (!arena.writing()) return;

  *m = StrokeModel{};
  std::memcpy(m->name, f.name.data(), f.name.size());  // at most 7 bytes
  m->groupCount = static_cast<uint8_t>(f.paths.size());
  m->pointCount = static_cast<uint8_t>(f.points.size());
  m->strokeCount = static_cast<uint8_t>(f.strokes.size());
  m->classIndex = static_cast<int16_t>(FindClassCheckRow(m->name));
  m->groups = groups;
  m->points = points;
  m->strokes = strokes;
  FillModelStrokes(f, strokes, codes, m);
  FillModelGroups(f, groups, members, strokes, m);
  FillModelPoints(f, points, pointData);
}

// Which runs of models a model set covers. Family models are stored as the
// runs g0, g1, g2, g0 again, g3, so every combination is contiguous;
// refinement models once per group.
struct ModelSetRange {
  uint32_t mask;
  int firstRun, runCount;
  int firstRefinementGroup, refinementGroupCount;
};
constexpr ModelSetRange kModelSetRanges[kModelSetCount] = {
    {512, 0, 1, 0, 1}, {1, 1, 1, 1, 1}, {2, 2, 1, 2, 1}, {8, 4, 1, 3, 1},
    {513, 0, 2, 0, 2}, {3, 1, 2, 1, 2}, {514, 2, 2, 2, 1}, {515, 0, 3, 1, 2},
};
constexpr int kRunGroup[5] = {0, 1, 2, 0, 3};

// Start of each run within one family, and the family's size.
void FamilyRuns(const uint16_t (&counts)[kModelGroups], int start, int (&runStart)[6]) {
  runStart[0] = start;
  for (int r = 0; r < 5; ++r) runStart[r + 1] = runStart[r] + counts[kRunGroup[r]];
}

void FillModelSets(const StrokeSectionFile& s, StrokeModel* models, StrokeModelImage* image) {
  int family1[6], family2[6], refinement[kModelGroups + 1];
  FamilyRuns(s.family1, 0, family1);
  FamilyRuns(s.family2, family1[5], family2);
  refinement[0] = family2[5];
  for (int g = 0; g < kModelGroups; ++g) {
    refinement[g + 1] = refinement[g] + (s.extended ? s.refinementModels[g] : 0);
  }
  auto range = [models](int first, int end, uint16_t* count) -> const StrokeModel* {
    *count = static_cast<uint16_t>(end - first);
    return end > first ? models + first : nullptr;
  };
  for (int i = 0; i < kModelSetCount; ++i) {
    const ModelSetRange& r = kModelSetRanges[i];
    StrokeModelSet& set = image->sets[i];
    set.mask = r.mask;
    set.family1 = range(family1[r.firstRun], family1[r.firstRun + r.runCount], &set.family1Count);
    set.family2 = range(family2[r.firstRun], family2[r.firstRun + r.runCount], &set.family2Count);
    set.refinement = range(refinement[r.firstRefinementGroup],
                           refinement[r.firstRefinementGroup + r.refinementGroupCount],
                           &set.refinementCount);
    set.modelCount = set.family2Count;
    set.models = set.family2;
  }
}

// Refinement entries hang from their models; an entry's features follow the
// group's entries.
void LayOutRefinementEntries(const StrokeSectionFile& s, BlockArena& arena,
                             StrokeModel* models) {
  int firstModel = static_cast<int>(s.models.size());
  for (int g = kModelGroups - 1; g >= 0; --g) firstModel -= s.extended ? s.refinementModels[g] : 0;
  for (int g = 0; g < kModelGroups; ++g) {
    const std::vector<RefinementEntryFile>& in = s.entries[g];
    size_t featureBytes = 0;
    for (const RefinementEntryFile& e : in) featureBytes += e.features.size();
    RefinementEntry* entries = arena.Take<RefinementEntry>(in.size());
    uint8_t* features = arena.Take<uint8_t>(featureBytes);
    if (arena.writing()) {
      for (size_t i = 0; i < in.size(); ++i) {
        StrokeModel& model = models[firstModel + in[i].modelIndex];
        if (model.refinementCount == 0) model.refinements = &entries[i];
        ++model.refinementCount;
        entries[i].classCode = in[i].classCode;
        entries[i].maxDistance = in[i].maxDistance;
        entries[i].featureCount = static_cast<int16_t>(in[i].features.size());
        entries[i].features = nullptr;
        if (in[i].features.empty()) continue;
        entries[i].features = features;
        std::memcpy(features, in[i].features.data(), in[i].features.size());
        features += in[i].features.size();
      }
    }
    firstModel += s.extended ? s.refinementModels[g] : 0;
  }
}

StrokeModelImage* LayOutStrokeImage(const StrokeSectionFile& s, BlockArena& arena) {
  StrokeModelImage* image = arena.Take<StrokeModelImage>(1);
  StrokeModel* models = arena.Take<StrokeModel>(s.models.size());
  for (size_t i = 0; i < s.models.size(); ++i) {
    LayOutModel(s.models[i], arena, models == nullptr ? nullptr : &models[i]);
  }
  LayOutRefinementEntries(s, arena, models);
  if (!arena.writing()) return nullptr;
  FillModelSets(s, models, image);
  return image;
}

// ---- pattern image ------------------------------------------------------------------
struct PatternArrays {
  PatternImage* image;
  uint32_t* groupWords;
  PatternClassRecord* classes;
  PatternMember* members;
  PatternItem* items;
  ClassDistanceEntry* scratch;
};

PatternArrays LayOutPatternImage(const PatternSectionCounts& c, BlockArena& arena) {
  PatternArrays a;
  a.image = arena.Take<PatternImage>(1);
  a.groupWords = arena.Take<uint32_t>(c.groupWordCount);
  a.classes = arena.Take<PatternClassRecord>(c.classCount);
  a.members = arena.Take<PatternMember>(c.memberCount);
  a.items = arena.Take<PatternItem>(c.itemCount);
  a.scratch = arena.Take<ClassDistanceEntry>(c.classCount);
  return a;
}

bool CountsAreSound(const PatternSectionCounts& c) {
  return c.classCount >= 0 && c.memberCount >= 0 && c.itemCount >= 0 &&
         c.tailClassCount >= 0 && c.tailClassCount <= c.classCount &&
         c.groupWordCount >= kShapeGroups;
}

bool ReadMembers(DictFileReader& in, const PatternSectionCounts& c, const PatternArrays& a) {
  int nextItem = 0;
  for (int i = 0; i < c.memberCount; ++i) {
    uint8_t bytes[kPatternMemberBytes];
    if (!in.Read(bytes, sizeof bytes)) return false;
    PatternMember& m = a.members[i];
    DecodePatternMember(bytes, &m);
    if (m.itemCount <= 0) {
      m.itemCount = 0;
      continue;
    }
    if (m.itemCount > c.itemCount - nextItem) return false;
    m.items = a.items + nextItem;
    nextItem += m.itemCount;
  }
  return true;
}

bool ClassIsSound(const PatternClassRecord& r, int classCount) {
  for (int k = 0; k < kSixBitFeatures; ++k) {
    if (r.lower6[k] > 63 || r.upper6[k] > 63) return false;  // rows of a 64 x 64 table
  }
  for (uint16_t feature : r.rerankFeatures) {
    if (feature >= kPatternFeatures) return false;
  }
  for (uint16_t rival : r.rivals) {
    if (rival != kNoRival && rival >= classCount) return false;
  }
  return true;
}

bool ReadClasses(DictFileReader& in, const PatternSectionCounts& c, const PatternArrays& a) {
  std::vector<uint8_t> bytes(kPatternClassBytes);
  int nextMember = 0;
  for (int i = 0; i < c.classCount; ++i) {
    if (!in.Read(bytes.data(), bytes.size())) return false;
    PatternClassRecord& r = a.classes[i];
    DecodePatternClass(bytes.data(), &r);
    if (!ClassIsSound(r, c.classCount) || r.memberCount > c.memberCount - nextMember) {
      return false;
    }
    r.members = r.memberCount == 0 ? nullptr : a.members + nextMember;
    nextMember += r.memberCount;
  }
  return true;
}

bool ReadItems(DictFileReader& in, const PatternSectionCounts& c, const PatternArrays& a) {
  std::vector<uint8_t> bytes(static_cast<size_t>(c.itemCount) * kPatternItemBytes);
  if (!in.Read(bytes.data(), bytes.size())) return false;
  for (int i = 0; i < c.itemCount; ++i) {
    DecodePatternItem(bytes.data() + i * kPatternItemBytes, &a.items[i]);
  }
  return true;
}

// The small-kana entries name class records (0xFFFF: none).
bool ReadSmallKanaIndex(DictFileReader& in, const PatternSectionCounts& c,
                        const PatternArrays& a) {
  for (SmallKanaIndexEntry& entry : a.image->smallKana) {
    uint16_t index = 0;
    if (!in.U16(&index)) return false;
    entry = SmallKanaIndexEntry{};
    if (index == kNoRival) continue;
    if (index >= c.classCount) return false;
    const PatternClassRecord& record = a.classes[index];
    entry.classRecord = &record;
    if (record.memberCount > 0) entry.firstItem = record.members[0].items;
  }
  return true;
}

// Each shape group's range, and with it the always-examined tail, must fit
// the scratch list of classCount entries.
bool ReadGroupWords(DictFileReader& in, const PatternSectionCounts& c, const PatternArrays& a) {
  for (int g = 0; g < c.groupWordCount; ++g) {
    uint32_t word = 0;
    if (!in.U32(&word)) return false;
    const int first = word & 0xFFFF, count = word >> 16;
    if (first + count > c.classCount || count + c.tailClassCount > c.classCount) return false;
    a.groupWords[g] = word;
  }
  return true;
}

bool ReadU16Table(DictFileReader& in, uint16_t* table, int n) {
  for (int i = 0; i < n; ++i) {
    if (!in.U16(&table[i])) return false;
  }
  return true;
}

bool ReadTables(DictFileReader& in, PatternImage* image) {
  if (!ReadU16Table(in, image->thresholds63, 63) || !ReadU16Table(in, image->thresholds31, 31) ||
      !ReadU16Table(in, image->thresholds7, 7) ||
      !ReadU16Table(in, image->featureIndexTable, kRawFeatures)) {
    return false;
  }
  for (uint16_t index : image->featureIndexTable) {
    if (index >= kRawFeatures) return false;
  }
  return in.Read(image->boundDistanceTable, sizeof image->boundDistanceTable) &&
         in.Read(image->fineBoundDistanceTable, sizeof image->fineBoundDistanceTable);
}

int ReadPatternCounts(DictFileReader& in, PatternSectionCounts* c) {
  uint8_t header[kPatternHeaderBytes];
  if (!in.Read(header, sizeof header)) return Fail(kErrDictRead);
  DecodePatternCounts(header, c);
  // The whole section must be in the file before anything is sized by it.
  if (!CountsAreSound(*c) || PatternSectionFileBytes(*c) - kPatternHeaderBytes > in.remaining()) {
    return Fail(kErrDictRead);
  }
  return 0;
}

// Reads the pattern section into the rest of the arena, which must fit it
// exactly.
int ReadDictSection(DictFileReader& in, BlockArena& arena, PatternImage** image) {
  if (arena.remaining() < sizeof(PatternImage)) return Fail(kErrDictBudget);
  PatternSectionCounts c;
  if (ReadPatternCounts(in, &c) != 0) return -9;
  BlockArena measure = BlockArena::Measuring();
  LayOutPatternImage(c, measure);
  if (measure.used() > arena.remaining()) return Fail(kErrDictBudget);
  if (measure.used() < arena.remaining()) return Fail(kErrDictRead);
  const PatternArrays a = LayOutPatternImage(c, arena);
  PatternImage* p = a.image;
  *p = PatternImage{};
  p->classCount = c.classCount;
  p->memberCount = c.memberCount;
  p->itemCount = c.itemCount;
  p->tailClassCount = c.tailClassCount;
  p->groupWordCount = c.groupWordCount;
  p->classGroupIndex = a.groupWords;
  p->classes = a.classes;
  p->members = a.members;
  p->items = a.items;
  p->scratch = a.scratch;
  if (!ReadMembers(in, c, a) || !ReadClasses(in, c, a) || !ReadItems(in, c, a) ||
      !ReadSmallKanaIndex(in, c, a) || !ReadGroupWords(in, c, a) || !ReadTables(in, p)) {
    return Fail(kErrDictRead);
  }
  *image = p;
  return 0;
}

}  // namespace

int CheckDictHeader(const PatternDictHeader& h) {
  auto inOneTwo = [](uint8_t v) { return v == 1 || v == 2; };
  if (std::memcmp(h.magic, "QVT", 3) != 0 || h.version < 1 || h.version > 3) {
    return Fail(kErrDictHeader);
  }
  if (!inOneTwo(h.kind)) return Fail(kErrDictKind);
  if (!inOneTwo(h.headerByte7)) return Fail(kErrDictByte7);
  if (!inOneTwo(h.headerByte8)) return Fail(kErrDictByte8);
  if (h.headerByte7 == 1 && h.headerByte8 == 2) return Fail(kErrDictByteCombination);
  return 0;
}

const StrokeModelSet* FindStrokeModelSet(const DictBlock* dict, uint32_t mask) {
  if (dict == nullptr || dict->strokeModels == nullptr) return nullptr;
  for (const StrokeModelSet& set : dict->strokeModels->sets) {
    if (set.mask == mask) return &set;
  }
  return nullptr;
}

int ComputeDictSize(const char* path, int mode, size_t* size) {
  ClearErrorStack();
  *size = 0;
  if (mode != 0) return Fail(kErrMissingValue);
  DictFile file;
  PatternDictHeader header;
  DictSectionDirectory directory;
  if (OpenDictFile(path, &file, &header, &directory) != 0) return -9;
  DictFileReader in(file.get());
  BlockArena measure = BlockArena::Measuring();
  measure.Take<DictBlock>(1);
  if (directory.strokeOffset != kSectionAbsent) {
    StrokeSectionFile strokes;
    if (!SectionStartsHere(directory.strokeOffset, in)) return Fail(kErrDictRead);
    if (ReadStrokeSectionFile(in, &strokes) != 0) return -9;
    LayOutStrokeImage(strokes, measure);
  }
  if (directory.patternOffset != kSectionAbsent) {
    PatternSectionCounts counts;
    if (!SectionStartsHere(directory.patternOffset, in)) return Fail(kErrDictRead);
    if (ReadPatternCounts(in, &counts) != 0) return -9;
    LayOutPatternImage(counts, measure);
  }
  *size = measure.used();
  return 0;
}

int LoadDictFile(const char* path, DictBlock* block, size_t size) {
  ClearErrorStack();
  if (size < sizeof(DictBlock)) return Fail(kErrMissingValue);
  DictFile file;
  DictSectionDirectory directory;
  if (OpenDictFile(path, &file, &block->header, &directory) != 0) return -9;
  DictFileReader in(file.get());
  block->strokeModels = nullptr;
  block->patterns = nullptr;
  BlockArena arena(reinterpret_cast<unsigned char*>(block), size);
  arena.Take<DictBlock>(1);
  if (directory.strokeOffset != kSectionAbsent) {
    StrokeSectionFile strokes;
    if (!SectionStartsHere(directory.strokeOffset, in)) return Fail(kErrDictRead);
    if (ReadStrokeSectionFile(in, &strokes) != 0) return -9;
    block->strokeModels = LayOutStrokeImage(strokes, arena);
    if (arena.overflow()) return Fail(kErrDictBudget);
  }
  if (directory.patternOffset != kSectionAbsent) {
    if (!SectionStartsHere(directory.patternOffset, in)) return Fail(kErrDictRead);
    if (ReadDictSection(in, arena, &block->patterns) != 0) return -9;
  }
  if (arena.remaining() != 0) return Fail(kErrDictRead);
  if (in.remaining() > 0) return Fail(kErrDictTrailing);
  block->header.currentTypes = kTypeAll;
  return 0;
}
