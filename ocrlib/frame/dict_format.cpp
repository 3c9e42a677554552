// Records of the pattern-dictionary file: byte encoding of the header and the
// pattern records, the bounded file reader, and the reading and writing of
// the stroke-model section in file form.
#include "ocrlib/frame/frame_internal.h"

#include <cstdlib>
#include <cstring>

namespace {

// Offsets of a class record in the file.
constexpr int kClassTypeBits = 0;
constexpr int kClassUnread4 = 4;
constexpr int kClassUnread5 = 5;
constexpr int kClassMemberCount = 6;
constexpr int kClassSignature = 8;
constexpr int kClassFlagWeights = 24;
constexpr int kClassLower6 = 40;
constexpr int kClassUpper6 = 88;
constexpr int kClassLower8 = 136;
constexpr int kClassUpper8 = 412;
constexpr int kClassBias = 688;
constexpr int kClassRerank = 692;
constexpr int kClassRivals = 788;

// Smallest file form of each stroke-section record: what a count must leave
// room for before anything is reserved for it.
constexpr int64_t kMinModelRecordBytes = 5 * 4;
constexpr int64_t kMinElementBytes = 4 + 8 * 8;
constexpr int64_t kMinPathBytes = 8;
constexpr int64_t kMinRelationBytes = 4 + 4 * 4;
constexpr int64_t kRelationItemBytes = 4 + 1 + 1 + 4 + 1;
constexpr int64_t kMinRefinementEntryBytes = 8;
constexpr int kMaxPathElements = 255;
constexpr int kMaxModelPaths = 255;

int16_t Low16(uint32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

void GetU16Array(const uint8_t* p, uint16_t* values, int n) {
  for (int i = 0; i < n; ++i) values[i] = GetU16(p + 2 * i);
}
void PutU16Array(uint8_t* p, const uint16_t* values, int n) {
  for (int i = 0; i < n; ++i) PutU16(p + 2 * i, values[i]);
}

bool Fits(const DictFileReader& reader, int64_t count, int64_t minBytes) {
  return count >= 0 && count * minBytes <= reader.remaining();
}

bool ReadString(DictFileReader& in, std::string* text, uint32_t limit) {
  uint32_t length = 0;
  if (!in.U32(&length) || length > limit || length > in.remaining()) return false;
  text->resize(length);
  return in.Read(text->data(), length);
}

bool ReadModelStroke(DictFileReader& in, ModelStrokeFile* stroke) {
  uint32_t n = 0;
  if (!in.U32(&n) || n > 255 || !Fits(in, n, 1)) return false;
  stroke->codes.resize(n);
  if (!in.Read(stroke->codes.data(), n)) return false;
  for (int i = 0; i < 8; ++i) {
    uint32_t first = 0, second = 0;
    if (!in.U32(&first) || !in.U32(&second)) return false;
    stroke->mean[i] = Low16(first);
    stroke->weight[i] = Low16(second);
  }
  return true;
}

bool ReadModelPath(DictFileReader& in, int strokeCount, ModelPathFile* path) {
  uint32_t m = 0, joint = 0;
  if (!in.U32(&m) || !in.U32(&joint)) return false;
  if (m > kMaxPathElements || joint > 255 || !Fits(in, m, 4)) return false;
  path->jointValue = static_cast<uint8_t>(joint);
  path->references.resize(m);
  for (int32_t& r : path->references) {
    if (!in.I32(&r) || r == 0 || r > strokeCount || r < -strokeCount) return false;
  }
  return true;
}

bool IsKindLetter(uint8_t c) { return c == 'K' || c == 'T' || c == 'X'; }

bool ReadModelPoint(DictFileReader& in, int strokeCount, ModelPointFile* point) {
  int32_t k = 0;
  if (!in.I32(&k) || k > 255 || k < -255 || !Fits(in, std::abs(k), kRelationItemBytes)) {
    return false;
  }
  point->required = k > 0;
  point->alternatives.resize(std::abs(k));
  for (ModelPointAlternative& alt : point->alternatives) {
    uint32_t a = 0, b = 0;
    if (!in.U32(&a) || !in.U8(&alt.letterA) || !in.U8(&alt.kindLetter) || !in.U32(&b) ||
        !in.U8(&alt.letterB)) {
      return false;
    }
    if (a >= static_cast<uint32_t>(strokeCount) || b >= static_cast<uint32_t>(strokeCount) ||
        !IsKindLetter(alt.kindLetter)) {
      return false;
    }
    alt.strokeA = static_cast<uint8_t>(a);
    alt.strokeB = static_cast<uint8_t>(b);
  }
  for (int16_t& word : point->words) {
    uint32_t v = 0;
    if (!in.U32(&v)) return false;
    word = Low16(v);
  }
  return true;
}

// The joint paths link neighbouring model strokes; each stroke has room for
// two links, and the backward references are counted in a byte.
bool PathsFitTheModel(const ModelRecordFile& model) {
  std::vector<int> links(model.strokes.size(), 0);
  int backward = 0;
  for (const ModelPathFile& path : model.paths) {
    for (size_t j = 0; j < path.references.size(); ++j) {
      const int32_t r = path.references[j];
      if (r < 0) ++backward;
      if (j == 0) continue;
      const int32_t q = path.references[j - 1];
      ++links[std::abs(q) - 1];
      ++links[std::abs(r) - 1];
    }
  }
  for (int count : links) {
    if (count > 2) return false;
  }
  return backward <= 255;
}

bool ReadModelRecord(DictFileReader& in, ModelRecordFile* model) {
  uint32_t count = 0;
  if (!ReadString(in, &model->name, kMaxModelNameBytes)) return false;
  if (model->name.find('\0') != std::string::npos) return false;
  if (!ReadString(in, &model->note, UINT32_MAX)) return false;
  if (!in.U32(&count) || count > kMaxModelStrokes || !Fits(in, count, kMinElementBytes)) {
    return false;
  }
  model->strokes.resize(count);
  for (ModelStrokeFile& stroke : model->strokes) {
    if (!ReadModelStroke(in, &stroke)) return false;
  }
  const int strokeCount = static_cast<int>(count);
  if (!in.U32(&count) || count > kMaxModelPaths || !Fits(in, count, kMinPathBytes)) {
    return false;
  }
  model->paths.resize(count);
  for (ModelPathFile& path : model->paths) {
    if (!ReadModelPath(in, strokeCount, &path)) return false;
  }
  if (!in.U32(&count) || count > kMaxModelPoints || !Fits(in, count, kMinRelationBytes)) {
    return false;
  }
  model->points.resize(count);
  for (ModelPointFile& point : model->points) {
    if (!ReadModelPoint(in, strokeCount, &point)) return false;
  }
  return PathsFitTheModel(*model);
}

// Model counts of the eight model sets: each must fit the verifier's
// candidate array.
bool ModelSetsFit(const uint16_t (&family)[kModelGroups]) {
  const int g0 = family[0], g1 = family[1], g2 = family[2], g3 = family[3];
  const int sums[] = {g0, g1, g2, g3, g0 + g1, g1 + g2, g2 + g0, g0 + g1 + g2};
  for (int sum : sums) {
    if (sum > kMaxSelectedModels) return false;
  }
  return true;
}

bool RefinementSetsFit(const int16_t (&c)[kModelGroups]) {
  for (int g = 0; g < kModelGroups; ++g) {
    if (c[g] < 0 || c[g] > kMaxSelectedModels) return false;
  }
  return c[0] + c[1] <= kMaxSelectedModels && c[1] + c[2] <= kMaxSelectedModels;
}

bool ReadSectionHeader(DictFileReader& in, StrokeSectionFile* s, int16_t* entryCounts) {
  uint16_t words[kStrokeSectionHeaderBytes / 2];
  for (uint16_t& word : words) {
    if (!in.U16(&word)) return false;
  }
  for (int g = 0; g < kModelGroups; ++g) {
    s->family1[g] = words[2 + 3 * g];
    s->family2[g] = words[3 + 3 * g];
    s->sizeWords[g] = words[4 + 3 * g];
  }
  // A section that ends with its header has no room for the marker.
  uint32_t marker = 0;
  s->extended = in.remaining() >= 4 && in.PeekU32(&marker) && marker == kStrokeExtensionMarker;
  for (int g = 0; g < kModelGroups; ++g) {
    s->refinementModels[g] = entryCounts[g] = 0;
    s->extensionUnits[g][0] = s->extensionUnits[g][1] = 0;
  }
  if (s->extended) {
    if (!in.Skip(4)) return false;
    for (int g = 0; g < kModelGroups; ++g) {
      if (!in.I16(&s->refinementModels[g]) || !in.I16(&entryCounts[g]) ||
          !in.U32(&s->extensionUnits[g][0]) || !in.U32(&s->extensionUnits[g][1]) ||
          entryCounts[g] < 0) {
        return false;
      }
    }
  }
  return ModelSetsFit(s->family1) && ModelSetsFit(s->family2) &&
         RefinementSetsFit(s->refinementModels);
}

// Entries name their model by its index within the group's refinement
// models; the entries of one model are consecutive.
bool ReadRefinementEntries(DictFileReader& in, int group, int entryCount,
                           StrokeSectionFile* s) {
  if (!Fits(in, entryCount, kMinRefinementEntryBytes)) return false;
  std::vector<bool> started(s->refinementModels[group], false);
  int previous = -1;
  s->entries[group].resize(entryCount);
  for (RefinementEntryFile& entry : s->entries[group]) {
    int16_t n = 0;
    if (!in.I16(&entry.modelIndex) || !in.U16(&entry.classCode) ||
        !in.I16(&entry.maxDistance) || !in.I16(&n)) {
      return false;
    }
    const int model = entry.modelIndex;
    if (model < 0 || model >= s->refinementModels[group] || n < 0 || !Fits(in, n, 1)) {
      return false;
    }
    if (model != previous && started[model]) return false;
    started[model] = true;
    previous = model;
    entry.features.resize(n);
    if (!in.Read(entry.features.data(), n)) return false;
  }
  return true;
}

bool ReadStrokeSection(DictFileReader& in, StrokeSectionFile* s) {
  int16_t entryCounts[kModelGroups];
  if (!ReadSectionHeader(in, s, entryCounts)) return false;
  const int models = CountStrokeSectionModels(*s);
  if (!Fits(in, models, kMinModelRecordBytes)) return false;
  s->models.resize(models);
  for (ModelRecordFile& model : s->models) {
    if (!ReadModelRecord(in, &model)) return false;
  }
  for (int g = 0; g < kModelGroups; ++g) {
    if (!ReadRefinementEntries(in, g, entryCounts[g], s)) return false;
  }
  return true;
}

void PutString(std::vector<uint8_t>* out, const std::string& text) {
  AppendU32(out, static_cast<uint32_t>(text.size()));
  out->insert(out->end(), text.begin(), text.end());
}

void EncodeModelRecord(const ModelRecordFile& model, std::vector<uint8_t>* out) {
  PutString(out, model.name);
  PutString(out, model.note);
  AppendU32(out, static_cast<uint32_t>(model.strokes.size()));
  for (const ModelStrokeFile& stroke : model.strokes) {
    AppendU32(out, static_cast<uint32_t>(stroke.codes.size()));
    out->insert(out->end(), stroke.codes.begin(), stroke.codes.end());
    for (int i = 0; i < 8; ++i) {
      AppendU32(out, static_cast<uint32_t>(static_cast<int32_t>(stroke.mean[i])));
      AppendU32(out, static_cast<uint32_t>(static_cast<int32_t>(stroke.weight[i])));
    }
  }
  AppendU32(out, static_cast<uint32_t>(model.paths.size()));
  for (const ModelPathFile& path : model.paths) {
    AppendU32(out, static_cast<uint32_t>(path.references.size()));
    AppendU32(out, path.jointValue);
    for (int32_t r : path.references) AppendU32(out, static_cast<uint32_t>(r));
  }
  AppendU32(out, static_cast<uint32_t>(model.points.size()));
  for (const ModelPointFile& point : model.points) {
    const int32_t k = static_cast<int32_t>(point.alternatives.size());
    AppendU32(out, static_cast<uint32_t>(point.required ? k : -k));
    for (const ModelPointAlternative& alt : point.alternatives) {
      AppendU32(out, alt.strokeA);
      out->push_back(alt.letterA);
      out->push_back(alt.kindLetter);
      AppendU32(out, alt.strokeB);
      out->push_back(alt.letterB);
    }
    for (int16_t word : point.words) AppendU32(out, static_cast<uint32_t>(static_cast<int32_t>(word)));
  }
}

}  // namespace

void DecodeDictHeader(const uint8_t* b, PatternDictHeader* h) {
  std::memcpy(h->magic, b, 3);
  h->version = b[3];
  h->formatMajor = b[4];
  h->formatMinor = b[5];
  h->kind = b[6];
  h->headerByte7 = b[7];
  h->headerByte8 = b[8];
  h->patternOnly = b[9];
  std::memcpy(h->unread, b + 10, sizeof h->unread);
  std::memcpy(h->description, b + 16, sizeof h->description);
  h->offeredTypes = GetU32(b + 144);
  h->currentTypes = GetU32(b + 148);
}

void EncodeDictHeader(const PatternDictHeader& h, uint8_t* b) {
  std::memcpy(b, h.magic, 3);
  b[3] = h.version;
  b[4] = h.formatMajor;
  b[5] = h.formatMinor;
  b[6] = h.kind;
  b[7] = h.headerByte7;
  b[8] = h.headerByte8;
  b[9] = h.patternOnly;
  std::memcpy(b + 10, h.unread, sizeof h.unread);
  std::memcpy(b + 16, h.description, sizeof h.description);
  PutU32(b + 144, h.offeredTypes);
  PutU32(b + 148, h.currentTypes);
}

int CountStrokeSectionModels(const StrokeSectionFile& s) {
  int count = 0;
  for (int g = 0; g < kModelGroups; ++g) {
    const int copies = g == 0 ? 2 : 1;
    count += copies * (s.family1[g] + s.family2[g]);
    if (s.extended) count += s.refinementModels[g];
  }
  return count;
}

void DecodePatternCounts(const uint8_t* b, PatternSectionCounts* c) {
  c->classCount = static_cast<int16_t>(GetU16(b + 4));
  c->memberCount = static_cast<int16_t>(GetU16(b + 6));
  c->itemCount = static_cast<int16_t>(GetU16(b + 8));
  c->tailClassCount = static_cast<int16_t>(GetU16(b + 10));
  c->groupWordCount = static_cast<int32_t>(GetU32(b + 12));
}

void EncodePatternCounts(const PatternSectionCounts& c, uint8_t* b) {
  std::memset(b, 0, kPatternHeaderBytes);
  PutU16(b + 4, static_cast<uint16_t>(c.classCount));
  PutU16(b + 6, static_cast<uint16_t>(c.memberCount));
  PutU16(b + 8, static_cast<uint16_t>(c.itemCount));
  PutU16(b + 10, static_cast<uint16_t>(c.tailClassCount));
  PutU32(b + 12, static_cast<uint32_t>(c.groupWordCount));
}

int64_t PatternSectionFileBytes(const PatternSectionCounts& c) {
  if (c.classCount < 0 || c.memberCount < 0 || c.itemCount < 0 || c.groupWordCount < 0) {
    return -1;
  }
  return kPatternHeaderBytes + int64_t{kPatternMemberBytes} * c.memberCount +
         int64_t{kPatternClassBytes} * c.classCount +
         int64_t{kPatternItemBytes} * c.itemCount + int64_t{4} * c.groupWordCount +
         kPatternTablesBytes;
}

void DecodePatternMember(const uint8_t* b, PatternMember* m) {
  m->typeBits = GetU32(b);
  m->sjisLead = b[4];
  m->sjisTrail = b[5];
  m->itemCount = static_cast<int16_t>(GetU16(b + 6));
  m->items = nullptr;
}

void EncodePatternMember(const PatternMember& m, uint8_t* b) {
  PutU32(b, m.typeBits);
  b[4] = m.sjisLead;
  b[5] = m.sjisTrail;
  PutU16(b + 6, static_cast<uint16_t>(m.itemCount));
}

void DecodePatternClass(const uint8_t* b, PatternClassRecord* r) {
  r->typeBits = GetU32(b + kClassTypeBits);
  r->unread4 = b[kClassUnread4];
  r->unread5 = b[kClassUnread5];
  r->memberCount = GetU16(b + kClassMemberCount);
  GetU16Array(b + kClassSignature, r->signatureMasks, 8);
  std::memcpy(r->flagWeights, b + kClassFlagWeights, sizeof r->flagWeights);
  std::memcpy(r->lower6, b + kClassLower6, sizeof r->lower6);
  std::memcpy(r->upper6, b + kClassUpper6, sizeof r->upper6);
  std::memcpy(r->lower8, b + kClassLower8, sizeof r->lower8);
  std::memcpy(r->upper8, b + kClassUpper8, sizeof r->upper8);
  r->bias = static_cast<int16_t>(GetU16(b + kClassBias));
  GetU16Array(b + kClassRerank, r->rerankFeatures, kRerankFeatures);
  GetU16Array(b + kClassRivals, r->rivals, kRivalClasses);
  r->members = nullptr;
}

void EncodePatternClass(const PatternClassRecord& r, uint8_t* b) {
  std::memset(b, 0, kPatternClassBytes);
  PutU32(b + kClassTypeBits, r.typeBits);
  b[kClassUnread4] = r.unread4;
  b[kClassUnread5] = r.unread5;
  PutU16(b + kClassMemberCount, r.memberCount);
  PutU16Array(b + kClassSignature, r.signatureMasks, 8);
  std::memcpy(b + kClassFlagWeights, r.flagWeights, sizeof r.flagWeights);
  std::memcpy(b + kClassLower6, r.lower6, sizeof r.lower6);
  std::memcpy(b + kClassUpper6, r.upper6, sizeof r.upper6);
  std::memcpy(b + kClassLower8, r.lower8, sizeof r.lower8);
  std::memcpy(b + kClassUpper8, r.upper8, sizeof r.upper8);
  PutU16(b + kClassBias, static_cast<uint16_t>(r.bias));
  PutU16Array(b + kClassRerank, r.rerankFeatures, kRerankFeatures);
  PutU16Array(b + kClassRivals, r.rivals, kRivalClasses);
}

void DecodePatternItem(const uint8_t* b, PatternItem* item) {
  GetU16Array(b, item->aspect, 3);
  GetU16Array(b + 6, item->area, 3);
  GetU16Array(b + 12, item->position, 3);
}

void EncodePatternItem(const PatternItem& item, uint8_t* b) {
  PutU16Array(b, item.aspect, 3);
  PutU16Array(b + 6, item.area, 3);
  PutU16Array(b + 12, item.position, 3);
}

DictFileReader::DictFileReader(FILE* file) : file_(file) {
  const long start = std::ftell(file);
  if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    if (end >= start) size_ = end;
  }
  position_ = start >= 0 ? start : 0;
  std::fseek(file, position_, SEEK_SET);
}

bool DictFileReader::Read(void* destination, size_t bytes) {
  if (static_cast<int64_t>(bytes) > remaining()) return false;
  if (bytes > 0 && std::fread(destination, 1, bytes, file_) != bytes) return false;
  position_ += static_cast<int64_t>(bytes);
  return true;
}

bool DictFileReader::Skip(size_t bytes) {
  if (static_cast<int64_t>(bytes) > remaining()) return false;
  return Seek(position_ + static_cast<int64_t>(bytes));
}

bool DictFileReader::U8(uint8_t* value) { return Read(value, 1); }

bool DictFileReader::U16(uint16_t* value) {
  uint8_t b[2];
  if (!Read(b, 2)) return false;
  *value = GetU16(b);
  return true;
}

bool DictFileReader::I16(int16_t* value) {
  uint16_t v = 0;
  if (!U16(&v)) return false;
  *value = static_cast<int16_t>(v);
  return true;
}

bool DictFileReader::U32(uint32_t* value) {
  uint8_t b[4];
  if (!Read(b, 4)) return false;
  *value = GetU32(b);
  return true;
}

bool DictFileReader::I32(int32_t* value) {
  uint32_t v = 0;
  if (!U32(&v)) return false;
  *value = static_cast<int32_t>(v);
  return true;
}

bool DictFileReader::PeekU32(uint32_t* value) {
  const int64_t at = position_;
  return U32(value) && Seek(at);
}

bool DictFileReader::Seek(int64_t position) {
  if (position < 0 || position > size_) return false;
  if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) return false;
  position_ = position;
  return true;
}

int ReadStrokeSectionFile(DictFileReader& reader, StrokeSectionFile* section) {
  if (ReadStrokeSection(reader, section)) return 0;
  PushErrorCode(kErrDictRead);
  return -9;
}

void EncodeStrokeSectionFile(const StrokeSectionFile& s, std::vector<uint8_t>* out) {
  AppendU16(out, 0);
  AppendU16(out, 0);
  for (int g = 0; g < kModelGroups; ++g) {
    AppendU16(out, s.family1[g]);
    AppendU16(out, s.family2[g]);
    AppendU16(out, s.sizeWords[g]);
  }
  if (s.extended) {
    AppendU32(out, kStrokeExtensionMarker);
    for (int g = 0; g < kModelGroups; ++g) {
      AppendU16(out, static_cast<uint16_t>(s.refinementModels[g]));
      AppendU16(out, static_cast<uint16_t>(s.entries[g].size()));
      AppendU32(out, s.extensionUnits[g][0]);
      AppendU32(out, s.extensionUnits[g][1]);
    }
  }
  for (const ModelRecordFile& model : s.models) EncodeModelRecord(model, out);
  for (const std::vector<RefinementEntryFile>& entries : s.entries) {
    for (const RefinementEntryFile& entry : entries) {
      AppendU16(out, static_cast<uint16_t>(entry.modelIndex));
      AppendU16(out, entry.classCode);
      AppendU16(out, static_cast<uint16_t>(entry.maxDistance));
      AppendU16(out, static_cast<uint16_t>(entry.features.size()));
      out->insert(out->end(), entry.features.begin(), entry.features.end());
    }
  }
}
