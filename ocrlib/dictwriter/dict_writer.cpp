// Encoding of whole dictionary files.
#include "ocrlib/dictwriter/dict_writer.h"

#include <cstdio>
#include <cstring>

namespace {

template <size_t N>
void AppendU16Table(std::vector<uint8_t>* out, const uint16_t (&table)[N]) {
  for (uint16_t v : table) AppendU16(out, v);
}

void EncodePatternSection(const PatternSectionFile& p, std::vector<uint8_t>* out) {
  PatternSectionCounts counts = {static_cast<int16_t>(p.classes.size()),
                                 static_cast<int16_t>(p.members.size()),
                                 static_cast<int16_t>(p.items.size()), p.tailClassCount,
                                 static_cast<int32_t>(p.groupWords.size())};
  uint8_t header[kPatternHeaderBytes];
  EncodePatternCounts(counts, header);
  out->insert(out->end(), header, header + sizeof header);
  for (const PatternMember& m : p.members) {
    uint8_t b[kPatternMemberBytes];
    EncodePatternMember(m, b);
    out->insert(out->end(), b, b + sizeof b);
  }
  std::vector<uint8_t> record(kPatternClassBytes);
  for (const PatternClassRecord& c : p.classes) {
    EncodePatternClass(c, record.data());
    out->insert(out->end(), record.begin(), record.end());
  }
  for (const PatternItem& item : p.items) {
    uint8_t b[kPatternItemBytes];
    EncodePatternItem(item, b);
    out->insert(out->end(), b, b + sizeof b);
  }
  AppendU16Table(out, p.smallKana);
  for (uint32_t word : p.groupWords) AppendU32(out, word);
  AppendU16Table(out, p.thresholds63);
  AppendU16Table(out, p.thresholds31);
  AppendU16Table(out, p.thresholds7);
  AppendU16Table(out, p.featureIndexTable);
  out->insert(out->end(), p.boundDistanceTable.begin(), p.boundDistanceTable.end());
  out->insert(out->end(), p.fineBoundDistanceTable.begin(), p.fineBoundDistanceTable.end());
}

}  // namespace

PatternDictHeader MakeDictHeader(uint32_t offeredTypes, const std::string& description,
                                 bool patternOnly) {
  PatternDictHeader h = {};
  std::memcpy(h.magic, "QVT", 3);
  h.version = kDictLoadableVersion;
  h.formatMajor = kDictLoadableFormatMajor;
  h.formatMinor = 0;
  h.kind = 1;
  h.headerByte7 = 1;
  h.headerByte8 = 1;
  h.patternOnly = patternOnly ? 1 : 0;
  std::strncpy(h.description, description.c_str(), sizeof h.description - 1);
  h.offeredTypes = offeredTypes;
  h.currentTypes = offeredTypes;
  return h;
}

std::vector<uint8_t> EncodeDictFile(const DictFileSpec& spec) {
  std::vector<uint8_t> out(kDictFirstSectionOffset);
  EncodeDictHeader(spec.header, out.data());
  uint32_t strokeOffset = kSectionAbsent, patternOffset = kSectionAbsent;
  if (spec.hasStrokes) {
    strokeOffset = static_cast<uint32_t>(out.size());
    EncodeStrokeSectionFile(spec.strokes, &out);
  }
  if (spec.hasPatterns) {
    patternOffset = static_cast<uint32_t>(out.size());
    EncodePatternSection(spec.patterns, &out);
  }
  PutU32(out.data() + kDictDirectoryOffset, strokeOffset);
  PutU32(out.data() + kDictDirectoryOffset + 4, patternOffset);
  PutU32(out.data() + kDictDirectoryOffset + 8, 0);
  return out;
}

int WriteDictBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return -1;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written ? 0 : -1;
}
