// The pattern-dictionary file: its layout, its records in file form, and the
// routines that turn each record into bytes and back. The loader and the
// dictionary writer both go through these definitions, so the two cannot
// drift apart.
//
// File: the 152-byte header, the 12-byte section directory, the stroke-model
// section (optional), the pattern section (optional), nothing after. Numbers
// are little-endian but the header's format number (big-endian). The file is
// pointer-free; the loaded image (frame_internal.h) is not.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"

constexpr int kDictHeaderBytes = 152;
constexpr int kDictDirectoryOffset = 152;
constexpr int kDictDirectoryBytes = 12;
constexpr int kDictFirstSectionOffset = kDictDirectoryOffset + kDictDirectoryBytes;
constexpr int kDictInfoHeaderBytes = 144;   // what MupaGetDictInfo reads
constexpr int kDictMaskReadBytes = 160;     // what the offered-mask reader reads
constexpr uint32_t kSectionAbsent = 0xFFFFFFFF;

// Loadable header values.
constexpr uint8_t kDictLoadableVersion = 3;
constexpr uint8_t kDictLoadableFormatMajor = 3;
constexpr uint8_t kDictFormatMinorLimit = 33;  // minor 0..32

void DecodeDictHeader(const uint8_t* bytes, PatternDictHeader* header);
void EncodeDictHeader(const PatternDictHeader& header, uint8_t* bytes);

struct DictSectionDirectory {
  uint32_t strokeOffset;   // kSectionAbsent when absent
  uint32_t patternOffset;
  uint32_t reserved;
};

// ---- stroke-model section ------------------------------------------------------
// Character groups of the stroke models: g0 signs, g1 digits, g2 capitals,
// g3 katakana.
constexpr int kModelGroups = 4;
constexpr int kStrokeSectionHeaderBytes = 28;
constexpr uint32_t kStrokeExtensionMarker = 0x7FFFFFFF;
constexpr int kStrokeExtensionBytes = 52;
constexpr int kMaxModelNameBytes = 7;
constexpr uint8_t kMaxStrokeCode = 172;

struct ModelStrokeFile {  // file: stroke element
  std::vector<uint8_t> codes;
  int16_t mean[8];    // file: the first value of each of the 8 pairs
  int16_t weight[8];  // file: the second value
};

struct ModelPathFile {  // file: joint path
  uint8_t jointValue;
  // r > 0: model stroke r - 1 forward; r < 0: model stroke -r - 1 backward,
  // which marks it optional.
  std::vector<int32_t> references;
};

struct ModelPointAlternative {  // file: one relation item
  uint8_t strokeA;     // model stroke number, 0-based
  uint8_t letterA;
  uint8_t kindLetter;  // 'K', 'T' or 'X'
  uint8_t strokeB;
  uint8_t letterB;
};

struct ModelPointFile {  // file: relation
  bool required;  // file: the sign of the item count
  std::vector<ModelPointAlternative> alternatives;
  int16_t words[4];  // file order: mean x, weight x, mean y, weight y
};

struct ModelRecordFile {
  std::string name;  // class name, at most 7 bytes
  std::string note;  // the file's second string, not loaded
  std::vector<ModelStrokeFile> strokes;
  std::vector<ModelPathFile> paths;
  std::vector<ModelPointFile> points;
};

struct RefinementEntryFile {
  int16_t modelIndex;  // within its group's refinement models
  uint16_t classCode;
  int16_t maxDistance;
  std::vector<uint8_t> features;
};

struct StrokeSectionFile {
  uint16_t family1[kModelGroups];    // model counts per group
  uint16_t family2[kModelGroups];
  // Size words of the format. The loader sizes the image from the records
  // themselves and does not read them.
  uint16_t sizeWords[kModelGroups];
  bool extended;  // the extension header is present
  int16_t refinementModels[kModelGroups];
  uint32_t extensionUnits[kModelGroups][2];  // like sizeWords
  // Family 1 as g0, g1, g2, g0 again, g3; family 2 likewise; then the
  // refinement models of g0..g3.
  std::vector<ModelRecordFile> models;
  std::vector<RefinementEntryFile> entries[kModelGroups];
};

// Number of model records the header announces (the sign models count twice).
int CountStrokeSectionModels(const StrokeSectionFile& section);

// ---- pattern section -------------------------------------------------------------
constexpr int kPatternHeaderBytes = 16;
constexpr int kPatternMemberBytes = 8;
constexpr int kPatternClassBytes = 796;
constexpr int kPatternItemBytes = 18;
constexpr int kPatternTablesBytes =
    kSmallKanaEntries * 2 + (63 + 31 + 7 + kRawFeatures) * 2 + 64 * 64 + 256 * 256;

struct PatternSectionCounts {
  int16_t classCount, memberCount, itemCount, tailClassCount;
  int32_t groupWordCount;
};

void DecodePatternCounts(const uint8_t* bytes, PatternSectionCounts* counts);
void EncodePatternCounts(const PatternSectionCounts& counts, uint8_t* bytes);
// File bytes of the whole pattern section, -1 for negative counts.
int64_t PatternSectionFileBytes(const PatternSectionCounts& counts);
void DecodePatternMember(const uint8_t* bytes, PatternMember* member);
void EncodePatternMember(const PatternMember& member, uint8_t* bytes);
void DecodePatternClass(const uint8_t* bytes, PatternClassRecord* record);
void EncodePatternClass(const PatternClassRecord& record, uint8_t* bytes);
void DecodePatternItem(const uint8_t* bytes, PatternItem* item);
void EncodePatternItem(const PatternItem& item, uint8_t* bytes);

// ---- little-endian byte access -----------------------------------------------------
inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t GetU32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  PutU16(p, static_cast<uint16_t>(v));
  PutU16(p + 2, static_cast<uint16_t>(v >> 16));
}
inline void AppendU16(std::vector<uint8_t>* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}
inline void AppendU32(std::vector<uint8_t>* out, uint32_t v) {
  AppendU16(out, static_cast<uint16_t>(v));
  AppendU16(out, static_cast<uint16_t>(v >> 16));
}

// Sequential reader of a dictionary file that knows how many bytes remain, so
// that no count read from the file makes it allocate or read beyond the end.
class DictFileReader {
 public:
  explicit DictFileReader(FILE* file);
  bool Read(void* destination, size_t bytes);
  bool Skip(size_t bytes);
  bool U8(uint8_t* value);
  bool U16(uint16_t* value);
  bool I16(int16_t* value);
  bool U32(uint32_t* value);
  bool I32(int32_t* value);
  bool PeekU32(uint32_t* value);
  bool Seek(int64_t position);
  int64_t position() const { return position_; }
  int64_t remaining() const { return size_ - position_; }

 private:
  FILE* file_;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

// Reads and checks the whole stroke-model section at the reader's position
// (header, extension, model records, refinement entries) against the file
// and the library's limits. Returns 0, or -9 with 1002 for a malformed or
// short section.
int ReadStrokeSectionFile(DictFileReader& reader, StrokeSectionFile* section);
// Appends the section's bytes.
void EncodeStrokeSectionFile(const StrokeSectionFile& section, std::vector<uint8_t>* out);

// Header check of every reader: magic and version 1..3 (1004), kind 1..2
// (1009), byte 7 1..2 (1010), byte 8 1..2 (1011), byte 7 = 1 with byte 8 = 2
// (1014); the first failure is pushed and gives -9.
int CheckDictHeader(const PatternDictHeader& header);
