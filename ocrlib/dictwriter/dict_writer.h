// Pattern-dictionary writer: builds dictionary files from their records in
// file form (ocrlib/frame/frame_internal.h), the same definitions the loader
// reads, plus the small sample dictionaries the tests and tools use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"

// The pattern section in file form. Counts are taken from the vectors.
struct PatternSectionFile {
  int16_t tailClassCount = 0;
  std::vector<PatternMember> members;       // item pointers are not written
  std::vector<PatternClassRecord> classes;  // member pointers are not written
  std::vector<PatternItem> items;
  uint16_t smallKana[kSmallKanaEntries] = {};
  std::vector<uint32_t> groupWords;         // low u16 first class, high u16 count
  uint16_t thresholds63[63] = {};
  uint16_t thresholds31[31] = {};
  uint16_t thresholds7[7] = {};
  uint16_t featureIndexTable[kRawFeatures] = {};
  std::vector<uint8_t> boundDistanceTable = std::vector<uint8_t>(64 * 64);
  std::vector<uint8_t> fineBoundDistanceTable = std::vector<uint8_t>(256 * 256);
};

struct DictFileSpec {
  PatternDictHeader header = {};
  bool hasStrokes = false;
  StrokeSectionFile strokes = {};
  bool hasPatterns = false;
  PatternSectionFile patterns = {};
};

// A loadable header (version 3, format 3.0, kind 1, bytes 7 and 8 = 1).
PatternDictHeader MakeDictHeader(uint32_t offeredTypes, const std::string& description,
                                 bool patternOnly);

// The file's bytes: header, directory with the real section offsets, the
// sections.
std::vector<uint8_t> EncodeDictFile(const DictFileSpec& spec);
// Writes the bytes to `path`; 0, or -1 when the file cannot be written.
int WriteDictBytes(const std::string& path, const std::vector<uint8_t>& bytes);

// ---- sample dictionaries ---------------------------------------------------------
// Header only: both sections absent, offers digits.
DictFileSpec MakeHeaderOnlyDict();
// Pattern only: one class per full-width digit, neutral bounds and weights,
// every class examined for every character, penalty tables |row - column|.
DictFileSpec MakeDigitPatternDict();
// Stroke models for digits and signs in both families, with refinement
// models and their entries, a closed ring and model points.
DictFileSpec MakeStrokeSampleDict();

struct SampleDict {
  const char* name;  // file name stem
  DictFileSpec (*make)();
};
extern const SampleDict kSampleDicts[3];
