#include "platform/fax_codec.h"

#include <algorithm>
#include <array>

namespace {

// Run-length codes as written in the recommendations: terminating codes of
// runs 0 to 63, make-up codes of 64 to 1728 for each colour, and the
// make-up codes of 1792 to 2560 both colours share.
constexpr const char* kWhiteTerminating[64] = {
    "00110101", "000111",   "0111",     "1000",     "1011",     "1100",     "1110",
    "1111",     "10011",    "10100",    "00111",    "01000",    "001000",   "000011",
    "110100",   "110101",   "101010",   "101011",   "0100111",  "0001100",  "0001000",
    "0010111",  "0000011",  "0000100",  "0101000",  "0101011",  "0010011",  "0100100",
    "0011000",  "00000010", "00000011", "00011010", "00011011", "00010010", "00010011",
    "00010100", "00010101", "00010110", "00010111", "00101000", "00101001", "00101010",
    "00101011", "00101100", "00101101", "00000100", "00000101", "00001010", "00001011",
    "01010010", "01010011", "01010100", "01010101", "00100100", "00100101", "01011000",
    "01011001", "01011010", "01011011", "01001010", "01001011", "00110010", "00110011",
    "00110100"};
constexpr const char* kWhiteMakeUp[27] = {
    "11011",     "10010",     "010111",    "0110111",   "00110110",  "00110111",  "01100100",
    "01100101",  "01101000",  "01100111",  "011001100", "011001101", "011010010", "011010011",
    "011010100", "011010101", "011010110", "011010111", "011011000", "011011001", "011011010",
    "011011011", "010011000", "010011001", "010011010", "011000",    "010011011"};
constexpr const char* kBlackTerminating[64] = {
    "0000110111",   "010",          "11",           "10",           "011",
    "0011",         "0010",         "00011",        "000101",       "000100",
    "0000100",      "0000101",      "0000111",      "00000100",     "00000111",
    "000011000",    "0000010111",   "0000011000",   "0000001000",   "00001100111",
    "00001101000",  "00001101100",  "00000110111",  "00000101000",  "00000010111",
    "00000011000",  "000011001010", "000011001011", "000011001100", "000011001101",
    "000001101000", "000001101001", "000001101010", "000001101011", "000011010010",
    "000011010011", "000011010100", "000011010101", "000011010110", "000011010111",
    "000001101100", "000001101101", "000011011010", "000011011011", "000001010100",
    "000001010101", "000001010110", "000001010111", "000001100100", "000001100101",
    "000001010010", "000001010011", "000000100100", "000000110111", "000000111000",
    "000000100111", "000000101000", "000001011000", "000001011001", "000000101011",
    "000000101100", "000001011010", "000001100110", "000001100111"};
constexpr const char* kBlackMakeUp[27] = {
    "0000001111",    "000011001000",  "000011001001",  "000001011011",  "000000110011",
    "000000110100",  "000000110101",  "0000001101100", "0000001101101", "0000001001010",
    "0000001001011", "0000001001100", "0000001001101", "0000001110010", "0000001110011",
    "0000001110100", "0000001110101", "0000001110110", "0000001110111", "0000001010010",
    "0000001010011", "0000001010100", "0000001010101", "0000001011010", "0000001011011",
    "0000001100100", "0000001100101"};
constexpr const char* kSharedMakeUp[13] = {
    "00000001000",  "00000001100",  "00000001101",  "000000010010", "000000010011",
    "000000010100", "000000010101", "000000010110", "000000010111", "000000011100",
    "000000011101", "000000011110", "000000011111"};

// Two-dimensional mode codes.
enum class Mode { kPass, kHorizontal, kVertical, kEndOfLine, kExtension, kNone };
struct ModeCode {
  const char* bits;
  Mode mode;
  int offset;  // a1 - b1 of a vertical mode
};
constexpr ModeCode kModeCodes[] = {
    {"0001", Mode::kPass, 0},          {"001", Mode::kHorizontal, 0},
    {"1", Mode::kVertical, 0},         {"011", Mode::kVertical, 1},
    {"000011", Mode::kVertical, 2},    {"0000011", Mode::kVertical, 3},
    {"010", Mode::kVertical, -1},      {"000010", Mode::kVertical, -2},
    {"0000010", Mode::kVertical, -3},  {"0000001", Mode::kExtension, 0},
    {"0000000", Mode::kEndOfLine, 0},
};

constexpr int kEndOfLineBits = 12;  // 000000000001
constexpr int kLongestRunCode = 13;
constexpr int kLongestModeCode = 7;
constexpr int kTwoDimensionalEvery = 4;

struct Code {
  uint16_t bits = 0;
  uint8_t length = 0;
};

Code CodeOf(const char* text) {
  Code code;
  for (; *text; ++text) {
    code.bits = static_cast<uint16_t>((code.bits << 1) | (*text == '1'));
    ++code.length;
  }
  return code;
}

// The mode the next kLongestModeCode bits start with.
struct ModeEntry {
  Mode mode = Mode::kNone;
  uint8_t length = 0;
  int8_t offset = 0;
};

const std::array<ModeEntry, 1 << kLongestModeCode>& ModeTable() {
  static const auto table = [] {
    std::array<ModeEntry, 1 << kLongestModeCode> entries{};
    for (const ModeCode& mode : kModeCodes) {
      const Code code = CodeOf(mode.bits);
      const int spare = kLongestModeCode - code.length;
      for (int i = 0; i < (1 << spare); ++i) {
        entries[(code.bits << spare) + i] = ModeEntry{mode.mode, code.length, int8_t(mode.offset)};
      }
    }
    return entries;
  }();
  return table;
}

// What the next kLongestRunCode bits start with: a run (or -1) and the
// bits its code takes.
struct RunEntry {
  int16_t run = -1;
  uint8_t length = 0;
};
using RunTable = std::array<RunEntry, 1 << kLongestRunCode>;

void AddRunCode(RunTable& table, const char* text, int run) {
  const Code code = CodeOf(text);
  const int spare = kLongestRunCode - code.length;
  const int first = code.bits << spare;
  for (int i = 0; i < (1 << spare); ++i) table[first + i] = RunEntry{int16_t(run), code.length};
}

RunTable MakeRunTable(const char* const* terminating, const char* const* makeUp) {
  RunTable table{};
  for (int run = 0; run < 64; ++run) AddRunCode(table, terminating[run], run);
  for (int i = 0; i < 27; ++i) AddRunCode(table, makeUp[i], 64 * (i + 1));
  for (int i = 0; i < 13; ++i) AddRunCode(table, kSharedMakeUp[i], 1792 + 64 * i);
  return table;
}

const RunTable& RunTableOf(bool black) {
  static const RunTable white = MakeRunTable(kWhiteTerminating, kWhiteMakeUp);
  static const RunTable blackTable = MakeRunTable(kBlackTerminating, kBlackMakeUp);
  return black ? blackTable : white;
}

class BitReader {
 public:
  BitReader(const uint8_t* bytes, std::size_t count) : bytes_(bytes), bits_(count * 8) {}
  // The bit `ahead` bits on, 0 past the end.
  uint32_t BitAt(std::size_t ahead) const {
    const std::size_t at = position_ + ahead;
    return at < bits_ ? (bytes_[at / 8] >> (7 - at % 8)) & 1 : 0;
  }
  // The next `n` (up to 16) bits, zeros past the end.
  uint32_t Peek(int n) const {
    uint32_t value = 0;
    for (int i = 0; i < n; ++i) value = (value << 1) | BitAt(i);
    return value;
  }
  bool Skip(std::size_t n) {
    if (Left() < n) return false;
    position_ += n;
    return true;
  }
  std::size_t Left() const { return bits_ - position_; }
  void AlignToByte() { position_ = std::min(bits_, (position_ + 7) / 8 * 8); }

 private:
  const uint8_t* bytes_;
  std::size_t bits_;
  std::size_t position_ = 0;
};

// A row as its changing elements: the columns where the colour changes,
// from white at the left; ended by the width twice, so that the elements
// after the last change read as the row's end.
using Changes = std::vector<int>;

void EndChanges(Changes& changes, int width) {
  changes.push_back(width);
  changes.push_back(width);
}

// b1: the first change on `reference` right of a0 that turns to the colour
// opposite to a0's; its index.
std::size_t FindB1(const Changes& reference, int a0, bool black) {
  std::size_t i = 0;
  while (reference[i] <= a0 && i + 2 < reference.size()) ++i;
  // Changes to black sit at even indices, changes to white at odd ones.
  if ((i % 2 == 1) != black && i + 2 < reference.size()) ++i;
  return i;
}

// Adds a change of colour at `column` to a row being decoded, keeping the
// changes strictly increasing: a zero-length run (a change at the column of
// the one before) undoes that change; the row's end is no change.
void AddChange(Changes& current, int column, int width) {
  if (column >= width) return;
  if (!current.empty() && current.back() == column) {
    current.pop_back();
  } else {
    current.push_back(column);
  }
}

class RowDecoder {
 public:
  RowDecoder(BitReader& bits, int width) : bits_(bits), width_(width) {}

  // A run of one colour, its make-up codes included; -1 on a bad code.
  int ReadRun(bool black) {
    const RunTable& table = RunTableOf(black);
    int total = 0;
    for (;;) {
      const RunEntry entry = table[bits_.Peek(kLongestRunCode)];
      if (entry.run < 0 || !bits_.Skip(entry.length)) return -1;
      total += entry.run;
      if (total > width_) return total;  // past the row: the caller refuses it
      if (entry.run < 64) return total;
    }
  }

  FaxFault OneDimensional(Changes& current) {
    current.clear();
    int position = 0;
    bool black = false;
    while (position < width_) {
      const int run = ReadRun(black);
      if (run < 0) return bits_.Left() == 0 ? FaxFault::kEndOfData : FaxFault::kBadCode;
      position += run;
      if (position > width_) return FaxFault::kRowOverrun;
      AddChange(current, position, width_);
      black = !black;
    }
    EndChanges(current, width_);
    return FaxFault::kNone;
  }

  FaxFault TwoDimensional(const Changes& reference, Changes& current) {
    current.clear();
    int a0 = -1;
    bool black = false;
    while (a0 < width_) {
      const Mode mode = ReadMode();
      const std::size_t b1Index = FindB1(reference, a0, black);
      const int b1 = reference[b1Index];
      const int b2 = reference[std::min(b1Index + 1, reference.size() - 1)];
      switch (mode) {
        case Mode::kPass:
          if (b2 >= width_) return FaxFault::kRowOverrun;
          a0 = b2;
          break;
        case Mode::kHorizontal: {
          const int start = std::max(a0, 0);
          const int first = ReadRun(black);
          const int second = first < 0 ? -1 : ReadRun(!black);
          if (first < 0 || second < 0) {
            return bits_.Left() == 0 ? FaxFault::kEndOfData : FaxFault::kBadCode;
          }
          const int a1 = start + first, a2 = a1 + second;
          if (a2 > width_) return FaxFault::kRowOverrun;
          AddChange(current, a1, width_);
          AddChange(current, a2, width_);
          a0 = a2;
          break;
        }
        case Mode::kVertical: {
          const int a1 = b1 + offset_;
          if (a1 < 0 || a1 > width_ || a1 < a0) return FaxFault::kRowOverrun;
          AddChange(current, a1, width_);
          black = !black;
          a0 = a1;
          break;
        }
        case Mode::kExtension:
          return FaxFault::kUnsupported;
        case Mode::kEndOfLine:
        case Mode::kNone:
          return bits_.Left() == 0 ? FaxFault::kEndOfData : FaxFault::kBadCode;
      }
    }
    EndChanges(current, width_);
    return FaxFault::kNone;
  }

 private:
  Mode ReadMode() {
    const ModeEntry entry = ModeTable()[bits_.Peek(kLongestModeCode)];
    if (entry.mode == Mode::kEndOfLine || entry.mode == Mode::kExtension) return entry.mode;
    if (entry.mode == Mode::kNone || !bits_.Skip(entry.length)) return Mode::kNone;
    offset_ = entry.offset;
    return entry.mode;
  }

  BitReader& bits_;
  int width_;
  int offset_ = 0;
};

// Skips an end-of-line code and the fill bits before it; false when the
// next bits are no end-of-line.
bool SkipEndOfLine(BitReader& bits) {
  std::size_t zeros = 0;
  while (zeros < bits.Left() && bits.BitAt(zeros) == 0) ++zeros;
  if (zeros < kEndOfLineBits - 1 || zeros == bits.Left()) return false;
  return bits.Skip(zeros + 1);
}

void PaintRow(const Changes& changes, uint8_t* row) {
  // Changes come in pairs: black from the first, white again from the second.
  for (std::size_t i = 0; i + 1 < changes.size(); i += 2) {
    for (int x = changes[i]; x < changes[i + 1]; ++x) row[x / 8] |= uint8_t(0x80 >> (x % 8));
  }
}

class BitWriter {
 public:
  void Put(Code code) {
    for (int i = code.length - 1; i >= 0; --i) PutBit((code.bits >> i) & 1);
  }
  void Put(const char* text) { Put(CodeOf(text)); }
  void PutBit(int bit) {
    if (used_ == 0) bytes_.push_back(0);
    if (bit) bytes_.back() |= uint8_t(0x80 >> used_);
    used_ = (used_ + 1) % 8;
  }
  void AlignToByte() { used_ = 0; }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
  int used_ = 0;
};

void PutRun(BitWriter& out, int run, bool black) {
  const char* const* makeUp = black ? kBlackMakeUp : kWhiteMakeUp;
  while (run >= 64) {
    const int part = std::min(run, 2560) / 64 * 64;
    out.Put(part >= 1792 ? kSharedMakeUp[(part - 1792) / 64] : makeUp[part / 64 - 1]);
    run -= part;
  }
  out.Put((black ? kBlackTerminating : kWhiteTerminating)[run]);
}

Changes ChangesOf(const FaxRows& rows, int y) {
  Changes changes;
  const uint8_t* row = rows.pixels.data() + y * rows.rowBytes;
  bool black = false;
  for (int x = 0; x < rows.width; ++x) {
    const bool pixel = (row[x / 8] >> (7 - x % 8)) & 1;
    if (pixel != black) {
      changes.push_back(x);
      black = pixel;
    }
  }
  EndChanges(changes, rows.width);
  return changes;
}

void EncodeOneDimensional(BitWriter& out, const Changes& current, int width) {
  int position = 0;
  bool black = false;
  for (std::size_t i = 0; position < width; ++i) {
    PutRun(out, current[i] - position, black);
    position = current[i];
    black = !black;
  }
}

void EncodeTwoDimensional(BitWriter& out, const Changes& reference, const Changes& current,
                          int width) {
  int a0 = -1;
  bool black = false;
  std::size_t a1Index = 0;
  while (a0 < width) {
    while (current[a1Index] <= a0 && a1Index + 2 < current.size()) ++a1Index;
    const int a1 = current[a1Index];
    const int a2 = current[a1Index + 1];
    const std::size_t b1Index = FindB1(reference, a0, black);
    const int b1 = reference[b1Index];
    const int b2 = reference[b1Index + 1];
    if (b2 < a1) {
      out.Put("0001");
      a0 = b2;
    } else if (a1 - b1 >= -3 && a1 - b1 <= 3) {
      for (const ModeCode& code : kModeCodes) {
        if (code.mode == Mode::kVertical && code.offset == a1 - b1) out.Put(code.bits);
      }
      a0 = a1;
      black = !black;
    } else {
      out.Put("001");
      PutRun(out, a1 - std::max(a0, 0), black);
      PutRun(out, a2 - a1, !black);
      a0 = a2;
    }
  }
}

}  // namespace

FaxFault DecodeFaxRows(const uint8_t* bytes, std::size_t byteCount, FaxCoding coding, int width,
                       int height, FaxRows* rows) {
  rows->width = width;
  rows->height = height;
  rows->rowBytes = (static_cast<std::size_t>(width) + 7) / 8;
  rows->pixels.assign(rows->rowBytes * height, 0);
  BitReader bits(bytes, byteCount);
  RowDecoder decoder(bits, width);
  Changes reference, current;
  EndChanges(reference, width);
  for (int y = 0; y < height; ++y) {
    bool twoDimensional = coding == FaxCoding::kGroup4;
    if (coding == FaxCoding::kGroup3OneD || coding == FaxCoding::kGroup3TwoD) {
      const bool endOfLine = SkipEndOfLine(bits);
      if (coding == FaxCoding::kGroup3TwoD && endOfLine) {
        twoDimensional = bits.Peek(1) == 0;
        if (!bits.Skip(1)) return FaxFault::kEndOfData;
      }
    }
    const FaxFault fault = twoDimensional ? decoder.TwoDimensional(reference, current)
                                          : decoder.OneDimensional(current);
    if (fault != FaxFault::kNone) return fault;
    PaintRow(current, rows->pixels.data() + y * rows->rowBytes);
    std::swap(reference, current);
    if (coding == FaxCoding::kModifiedHuffman) bits.AlignToByte();
  }
  return FaxFault::kNone;
}

std::vector<uint8_t> EncodeFaxRows(const FaxRows& rows, FaxCoding coding) {
  BitWriter out;
  Changes reference;
  EndChanges(reference, rows.width);
  for (int y = 0; y < rows.height; ++y) {
    const Changes current = ChangesOf(rows, y);
    bool twoDimensional = coding == FaxCoding::kGroup4;
    if (coding == FaxCoding::kGroup3OneD || coding == FaxCoding::kGroup3TwoD) {
      out.Put("000000000001");
      if (coding == FaxCoding::kGroup3TwoD) {
        twoDimensional = y % kTwoDimensionalEvery != 0;
        out.PutBit(twoDimensional ? 0 : 1);
      }
    }
    if (twoDimensional) {
      EncodeTwoDimensional(out, reference, current, rows.width);
    } else {
      EncodeOneDimensional(out, current, rows.width);
    }
    if (coding == FaxCoding::kModifiedHuffman) out.AlignToByte();
    reference = current;
  }
  if (coding == FaxCoding::kGroup4) {
    out.Put("000000000001");
    out.Put("000000000001");
  }
  return out.Take();
}
