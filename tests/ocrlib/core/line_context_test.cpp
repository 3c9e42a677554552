// Candidates along a line: box geometry within runs of characters and the
// context rules between neighbouring classes.
#include <gtest/gtest.h>

#include <vector>

#include "ocrlib/core/core_internal.h"

namespace {

RecogCandidate Candidate(uint16_t code, const PatternItem* item = nullptr,
                         const PatternClassRecord* cls = nullptr) {
  RecogCandidate c;
  ClearCandidate(&c);
  c.lead = static_cast<uint8_t>(code >> 8);
  c.trail = static_cast<uint8_t>(code);
  c.patternRef = item;
  c.classRef = cls;
  return c;
}

CharWorkRecord Record(std::vector<RecogCandidate> candidates, MupaRect box = {}) {
  CharWorkRecord r;
  ClearCharRecord(&r);
  for (size_t i = 0; i < candidates.size(); ++i) r.candidates[i] = candidates[i];
  r.count = static_cast<int16_t>(candidates.size());
  r.box = box;
  return r;
}

std::vector<uint16_t> Codes(const CharWorkRecord& r) {
  std::vector<uint16_t> out;
  for (int i = 0; i < r.count; ++i) out.push_back(r.candidates[i].code());
  return out;
}

TEST(LineContext, TriplesScoreMembership) {
  struct Case {
    const char* what;
    int value;
    uint16_t triple[3];
    uint16_t before, after;
  };
  const Case cases[] = {
      {"no data adds full", 999, {0, 0, 0}, 10, 266},
      {"at the peak", 100, {50, 100, 150}, 0, 256},
      {"rising side", 75, {50, 100, 150}, 0, 128},
      {"falling side", 125, {50, 100, 150}, 0, 128},
      {"outside rejects", 151, {50, 100, 150}, 0, kTripleRejected},
      {"rejected stays", 100, {50, 100, 150}, kTripleRejected, kTripleRejected},
      // A peak at the high end would divide by zero: full membership.
      {"peak equals high", 150, {50, 150, 150}, 0, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    uint16_t score = c.before;
    ScoreAgainstTriple(c.value, c.triple, &score);
    EXPECT_EQ(score, c.after);
  }
}

TEST(LineContext, OnlyRunsOfFiveAreRerankedByGeometry) {
  // Every box 20 x 20 in a row; the first candidate's item wants half the
  // run's area, so it is dropped in a run of five and kept in one of four.
  PatternItem smallArea = {{0, 0, 0}, {100, 128, 150}, {0, 0, 0}};
  PatternItem anyBox = {};
  // Class references are compared, never read: any two addresses do.
  const PatternClassRecord* a = reinterpret_cast<const PatternClassRecord*>(&smallArea);
  const PatternClassRecord* b = reinterpret_cast<const PatternClassRecord*>(&anyBox);
  for (int length : {4, 5}) {
    SCOPED_TRACE(length);
    std::vector<CharWorkRecord> line;
    for (int i = 0; i < length; ++i) {
      const int16_t left = static_cast<int16_t>(30 * i);
      line.push_back(Record({Candidate(0x8341, &smallArea, a), Candidate(0x8343, &anyBox, b)},
                            {left, 10, static_cast<int16_t>(left + 19), 29}));
    }
    RerankByBoxGeometry(line.data(), length);
    const std::vector<uint16_t> expected =
        length == 5 ? std::vector<uint16_t>{0x8343} : std::vector<uint16_t>{0x8341, 0x8343};
    for (const CharWorkRecord& r : line) EXPECT_EQ(Codes(r), expected);
  }
}

TEST(LineContext, RunsEndAtACharacterOutOfLine) {
  std::vector<CharWorkRecord> line = {
      Record({Candidate(0x824F)}, {0, 10, 9, 29}), Record({Candidate(0x824F)}),  // no box
      Record({Candidate(0x824F)}, {12, 12, 21, 30}),
      Record({Candidate(0x824F)}, {24, 40, 33, 60}),  // below the run
  };
  const CharRunStats run = FindCharRun(line.data(), 0, 4);
  EXPECT_EQ(run.consumed, 3);
  EXPECT_EQ(run.boxed, 2);
  EXPECT_EQ(run.top, 10);  // (mean 11 + highest 10) / 2
  EXPECT_EQ(run.bottom, 29);  // (mean 29 + lowest 30) / 2
  EXPECT_EQ(run.height, 20);
}

TEST(LineContext, ClassesOfCodes) {
  struct Case {
    uint16_t code;
    char cls;
  };
  const Case cases[] = {{0x8140, '_'}, {0x8141, 'y'}, {0x8144, 'z'}, {0x814A, 'd'},
                        {0x82A0, 'h'}, {0x88EA, 'N'}, {0x88A0, 'c'}, {0x815B, 'k'},
                        {0x8341, 'k'}, {0x8250, 'n'}, {0x8260, 'A'}, {0x817C, 's'},
                        {0x0041, 'j'}, {0xE040, 'c'}};
  for (const Case& c : cases) {
    EXPECT_EQ(ClassifySjisChar(static_cast<uint8_t>(c.code >> 8), static_cast<uint8_t>(c.code)),
              c.cls)
        << std::hex << c.code;
  }
}

TEST(LineContext, ContextRulesPromoteTheExpectedClass) {
  struct Case {
    const char* what;
    std::vector<std::vector<uint16_t>> line;  // candidates of each record
    int record;
    std::vector<uint16_t> expected;
  };
  const Case cases[] = {
      {"kanji one between digits becomes a minus (n N n s)",
       {{0x8250}, {0x88EA, 0x817C}, {0x8251}}, 1, {0x817C, 0x88EA}},
      {"a single candidate never changes", {{0x8250}, {0x88EA}, {0x8251}}, 1, {0x88EA}},
      {"hiragana first in the line before kanji (_ h c c)",
       {{0x82A0, 0x88A0}, {0x88A1}}, 0, {0x88A0, 0x82A0}},
      {"katakana between kanji keeps ke (c k c c)",
       {{0x88A0}, {0x8350, 0x88A2}, {0x88A1}}, 1, {0x8350, 0x88A2}},
      {"katakana between kanji otherwise turns kanji",
       {{0x88A0}, {0x8341, 0x88A2}, {0x88A1}}, 1, {0x88A2, 0x8341}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<CharWorkRecord> records;
    for (const auto& codes : c.line) {
      std::vector<RecogCandidate> candidates;
      for (uint16_t code : codes) candidates.push_back(Candidate(code));
      records.push_back(Record(candidates));
    }
    ReorderCandidatesByContext(records.data(), static_cast<int>(records.size()));
    EXPECT_EQ(Codes(records[c.record]), c.expected);
  }
}

}  // namespace
