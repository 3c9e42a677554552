// The recognition drivers: the look-alike completion tables, the dispatch of
// every character-type mask (a recorder in place of the recognisers shows
// which ran, with which mask), and the one-character, field and line exports
// on drawn digits, with their error paths and the warnings they leave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ocrlib/frame/frame_internal.h"
#include "tests/ocrlib/frame/mupa_test_support.h"
#include "tests/ocrlib/kit/digit_kit.h"

namespace {

CharWorkRecord RecordOf(std::initializer_list<uint16_t> codes) {
  CharWorkRecord r;
  ClearCharRecord(&r);
  for (uint16_t c : codes) {
    r.candidates[r.count].lead = static_cast<uint8_t>(c >> 8);
    r.candidates[r.count].trail = static_cast<uint8_t>(c);
    ++r.count;
  }
  return r;
}

std::vector<uint16_t> CodesOf(const CharWorkRecord& r) {
  std::vector<uint16_t> out;
  for (int i = 0; i < r.count; ++i) out.push_back(r.candidates[i].code());
  return out;
}

uint16_t Digit(char c) { return static_cast<uint16_t>(0x8200 | (c + 31)); }
std::vector<uint16_t> Digits(const char* text) {
  std::vector<uint16_t> out;
  for (const char* p = text; *p; ++p) out.push_back(*p == '+' ? 0x817B : *p == '-' ? 0x817C : Digit(*p));
  return out;
}

TEST(CandidateCompletion, ClassCodesAndKanaClasses) {
  const struct {
    uint16_t classCode, sjis;
  } codes[] = {{'7', 0x8256}, {'A', 0x8260}, {'-', 0x815B}, {'X' << 8 | 'K', 0x817B},
               {'X' << 8 | 'Y', 0x81F5}, {'D' << 8 | 'K', 0x814A}, {'H' << 8 | 'D', 0x814B},
               {'K' << 8 | 'A', 0x834A}, {'_' << 8 | 'N', 0x8393}, {255, kNoCandidate}};
  for (const auto& c : codes) EXPECT_EQ(ClassCodeToSjis(c.classCode), c.sjis) << c.classCode;
  const struct {
    uint16_t sjis;
    int kanaClass;
  } kana[] = {{0x8341, 0},  {0x8393, 45}, {0x814A, 46}, {0x814B, 47}, {0x815B, 48},
              {0x834B, -1} /* ガ */, {0x8340, -1} /* ァ */, {0x8260, -1}, {0x8394, -1}};
  for (const auto& k : kana) EXPECT_EQ(SjisToKanaClass(k.sjis), k.kanaClass) << k.sjis;
}

TEST(CandidateCompletion, RowsByMask) {
  struct Case {
    const char* what;
    uint32_t mask;
    CharWorkRecord record;
    std::vector<uint16_t> expected;
  };
  const std::vector<Case> cases = {
      {"digit row without its fillers", 1, RecordOf({Digit('7')}), Digits("7902513846")},
      {"digits and signs: letters left out", 513, RecordOf({Digit('7')}), Digits("792138504")},
      {"minus row gives the signs", 513, RecordOf({0x817C}), Digits("-01542896+")},
      {"capital W: its hyphens are fillers", 2, RecordOf({0x8276}),
       {0x8276, 0x826D, 0x8267, 0x8274, 0x8272, 0x826C}},
      {"nothing recognised: the nothing row", 1, RecordOf({}), Digits("8564920371")},
      {"kana row with repeated codes", 8, RecordOf({0x837E}),  // ミ
       {0x837E, 0x8356, 0x8388, 0x836A, 0x8352, 0x8365, 0x838D, 0x8389, 0x8363, 0x835D, 0x8392,
        0x8350, 0x8357}},
      {"voiced kana has no row", 8, RecordOf({0x834B}), {0x834B}},
      {"a code already listed is not repeated", 1, RecordOf({Digit('7'), Digit('0')}),
       Digits("7092513846")},
      {"digits and katakana: no table", 9, RecordOf({Digit('7')}), Digits("7")},
  };
  for (const Case& c : cases) {
    CharWorkRecord r = c.record;
    CompleteCandidates(nullptr, nullptr, c.mask, &r);
    EXPECT_EQ(CodesOf(r), c.expected) << c.what;
  }
  CharWorkRecord seven = RecordOf({Digit('7')});
  CompleteCandidates(nullptr, nullptr, 1, &seven);
  uint8_t expected = 0;
  ScoreToConfidence(25356, &expected);
  EXPECT_EQ(seven.confidence, expected);
  EXPECT_GT(expected, 90);
}

// The signs, the kana marks and the marks of a line's cells: each answer is
// rated by its own row (a confidence the recogniser did not give), and the
// rows of types 128, 256 and 1024 hold their own class alone.
TEST(CandidateCompletion, SignsMarksAndCellMarksAreRated) {
  struct Case {
    const char* what;
    uint32_t mask;
    uint16_t answer;
    std::vector<uint16_t> expected;
    uint8_t confidence;
  };
  const std::vector<Case> cases = {
      {"plus among digits and signs", 513, 0x817B, Digits("+4592"), 99},
      {"minus among digits and signs", 513, 0x817C, Digits("-01542896+"), 99},
      {"voiced mark", 8, 0x814A, {0x814A, 0x8395, 0x836E, 0x837E, 0x835C, 0x8350, 0x8365, 0x838A,
                                  0x838B, 0x8377, 0x8384, 0x8388, 0x835D, 0x814B, 0x834A}, 92},
      {"semi-voiced mark", 8, 0x814B, {0x814B, 0x814A, 0x838F, 0x834E, 0x838D, 0x835E, 0x8371,
                                       0x837D, 0x8352, 0x834A, 0x8354, 0x838C, 0x836E, 0x836B,
                                       0x8343}, 93},
      {"long vowel: its row starts elsewhere", 8, 0x815B,
       {0x815B, 0x814A, 0x8377, 0x8382, 0x8356, 0x837E, 0x8369, 0x838D, 0x836A, 0x836B, 0x8341,
        0x8347, 0x8380, 0x836E, 0x835B}, 99},
      {"comma cell (type 128)", 128, 0x8143, {0x8143}, 25},
      {"full stop cell (type 256)", 256, 0x8144, {0x8144}, 16},
      {"dash cell (types 128 and 256)", 384, 0x817C, {0x817C}, 75},
      {"ideographic comma (type 1024)", 1024, 0x8141, {0x8141}, 66},
      {"ideographic full stop (type 1024)", 1024, 0x8142, {0x8142}, 64},
      {"voiced mark of a katakana line's cell", 1024, 0x814A, {0x814A}, 92},
      {"a character the cell rows do not hold", 1024, 0x8341, {0x8341}, 7},
  };
  for (const Case& c : cases) {
    CharWorkRecord r = RecordOf({c.answer});
    r.confidence = 7;  // the recogniser's
    CompleteCandidates(nullptr, nullptr, c.mask, &r);
    EXPECT_EQ(CodesOf(r), c.expected) << c.what;
    EXPECT_EQ(r.confidence, c.confidence) << c.what;
  }
  CharWorkRecord nothing = RecordOf({});
  nothing.confidence = 7;
  CompleteCandidates(nullptr, nullptr, 128, &nothing);
  EXPECT_EQ(nothing.count, 0) << "the cell rows have no nothing row";
  EXPECT_EQ(nothing.confidence, 0);
}

// The line path completes each piece by the line's types: a mark by the
// cell rows, "－" by the signs, a digit by the digits (no "＋" without the
// sign type).
TEST(CandidateCompletion, LinePiecesByTheLinesTypes) {
  struct Case {
    const char* what;
    uint32_t mask;
    uint16_t first;
    std::vector<uint16_t> expected;
    uint8_t confidence;
  };
  const std::vector<Case> cases = {
      {"comma on a digit line with marks", 129, 0x8143, {0x8143}, 25},
      {"comma on a digit line without marks", 1, 0x8143, {0x8143}, 7},
      {"minus on a digit line with marks", 129, 0x817C, Digits("-01542896"), 99},
      {"digit on a digit line with marks", 129, Digit('7'), Digits("7902513846"), 96},
  };
  for (const Case& c : cases) {
    RecogCharResult r;
    SetSingleResult(&r, c.first, MupaRect{0, 0, 9, 9});
    r.confidence = 7;
    CompleteCandidateLists(c.mask, &r, 1);
    std::vector<uint16_t> codes;
    for (const auto& k : r.candidates) {
      if (k.code != kNoCandidate) codes.push_back(k.code);
    }
    EXPECT_EQ(codes, c.expected) << c.what;
    EXPECT_EQ(r.confidence, c.confidence) << c.what;
  }
}

// ---- dispatch ------------------------------------------------------------------
struct Recorder {
  std::string calls;
  bool digitDecides = false;
  uint8_t shapeGroup = 0;
  uint16_t strokeSource = 8;
} g_recorder;

void RecordCall(char what, uint32_t mask) {
  if (!g_recorder.calls.empty()) g_recorder.calls += ' ';
  g_recorder.calls += what + std::string(":") + std::to_string(mask);
}

uint8_t g_unionConfidence = 0;  // what the fake pattern classifier is sure of

void FakePattern(const RecogRunBlock*, uint32_t mask, CharWorkRecord* r) {
  RecordCall('P', mask);
  *r = RecordOf({Digit('3')});
  r->confidence = g_unionConfidence;
  r->candidates[0].source = kSourcePattern;
  r->shapeGroup = g_recorder.shapeGroup;
}
int FakeDigit(const RecogRunBlock*, uint32_t mask, CharWorkRecord* r) {
  RecordCall('D', mask);
  if (g_recorder.digitDecides) *r = RecordOf({Digit('1')});
  return 0;
}
int FakeStrokes(const RecogRunBlock*, uint32_t mask, CharWorkRecord* r) {
  RecordCall('S', mask);
  *r = RecordOf({Digit('8')});
  r->candidates[0].source = g_recorder.strokeSource;
  return 0;
}

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_charRecognisers;
    g_charRecognisers = {FakePattern, FakeDigit, FakeStrokes};
    image_.Set(2, 2);
  }
  void TearDown() override { g_charRecognisers = saved_; }

  std::string Dispatch(DictBlock* dict, uint32_t mask, int mode) {
    g_recorder.calls.clear();
    dict->header.currentTypes = mask;
    DictBlock* dicts[] = {dict};
    RunImage image = {static_cast<int16_t>(image_.width()), static_cast<int16_t>(image_.height()),
                      1, static_cast<int16_t>(image_.bytesPerLine()), 300, image_.bits().data()};
    RecogRunBlock run = RunOver(image, {0, 0, 7, 7}, dicts);
    run.options.mode = static_cast<uint8_t>(mode);
    CharWorkRecord work;
    EXPECT_EQ(RecognizeCharByTypeMask(&run, &work), 0);
    EXPECT_EQ(work.box, run.rect);
    return g_recorder.calls;
  }

  CharRecognisers saved_ = {};
  penkit::BitImage image_{16, 8};
};

TEST_F(DispatchTest, EveryMaskReachesItsRecognisers) {
  LoadedDict strokes(MakeStrokeSampleDict());
  LoadedDict patterns(MakeDigitPatternDict());
  ASSERT_NE(strokes.get(), nullptr);
  ASSERT_NE(patterns.get(), nullptr);
  struct Case {
    const char* what;
    DictBlock* dict;
    uint32_t mask;
    int mode;
    bool digitDecides;
    uint8_t shapeGroup;
    uint16_t strokeSource;
    const char* calls;
  };
  const Case cases[] = {
      {"pattern-only dictionary", patterns.get(), 1, 2, false, 0, 8, "P:1"},
      {"pattern-only, fresh mask", patterns.get(), kTypeAll, 3, false, 0, 8, "P:4294967295"},
      {"digit decided by structure", strokes.get(), 1, 2, true, 0, 8, "D:1"},
      {"digit undecided", strokes.get(), 1, 2, false, 0, 8, "D:1 S:1"},
      {"digits and signs undecided", strokes.get(), 513, 2, false, 0, 8, "D:513 S:513"},
      {"capitals", strokes.get(), 2, 2, false, 0, 8, "S:2"},
      {"capitals and signs", strokes.get(), 514, 2, false, 0, 8, "S:514"},
      {"digits and capitals", strokes.get(), 3, 2, false, 0, 8, "S:3"},
      {"alphanumerics and signs", strokes.get(), 515, 2, false, 0, 8, "S:515"},
      {"signs", strokes.get(), 512, 2, false, 0, 8, "S:512"},
      {"katakana", strokes.get(), 8, 2, false, 0, 8, "S:8"},
      {"mode 3 arbitrates", strokes.get(), 3, 3, false, 0, 8, "S:3 P:3"},
      {"mode 3, refinement answer", strokes.get(), 3, 3, false, 0, kSourceFinal, "S:3"},
      {"mode 3, digit decided", strokes.get(), 1, 3, true, 0, 8, "D:1"},
      {"fresh mask, few contours", strokes.get(), kTypeAll, 2, false, 5, 8, "P:4294967295 S:3"},
      {"fresh mask, many contours", strokes.get(), kTypeAll, 2, false, 6, 8, "P:4294967295"},
      {"digits and katakana", strokes.get(), 9, 2, false, 2, 8, "P:9 D:1 S:1"},
      {"digits and katakana, decided", strokes.get(), 9, 2, true, 2, 8, "P:9 D:1"},
      {"digits, signs, type 128", strokes.get(), 641, 2, false, 2, 8, "P:641 D:513 S:513"},
      {"type 128 alone", strokes.get(), 128, 2, false, 0, 8, "P:128"},
      {"type 1024 alone", strokes.get(), 1024, 2, false, 0, 8, "P:1024"},
  };
  for (const Case& c : cases) {
    g_recorder.digitDecides = c.digitDecides;
    g_recorder.shapeGroup = c.shapeGroup;
    g_recorder.strokeSource = c.strokeSource;
    EXPECT_EQ(Dispatch(c.dict, c.mask, c.mode), c.calls) << c.what;
  }
}

// Joining split characters: a narrow piece beside its neighbour is joined
// only when the union reads more surely than each part that was read.
TEST_F(DispatchTest, SplitPiecesJoinOnlyWhenTheUnionReadsBetter) {
  LoadedDict patterns(MakeDigitPatternDict());
  ASSERT_NE(patterns.get(), nullptr);
  patterns.get()->header.currentTypes = kTypeDigits;
  struct Case {
    const char* what;
    uint16_t first;  // kNoCandidate: not read
    uint8_t firstConfidence, secondConfidence, unionConfidence;
    int records;
  };
  const Case cases[] = {
      {"a one beside a four stays apart", Digit('1'), 58, 99, 60, 3},
      {"an unread piece joins its neighbour", kNoCandidate, 0, 40, 90, 2},
      {"a union surer than both parts joins", Digit('1'), 30, 40, 90, 2},
  };
  penkit::BitImage page(64, 40);
  RunImage image = {64, 40, 1, static_cast<int16_t>(page.bytesPerLine()), 300, page.bits().data()};
  DictBlock* dicts[] = {patterns.get()};
  for (const Case& c : cases) {
    g_unionConfidence = c.unionConfidence;
    RecogCharResult results[3];
    SetSingleResult(&results[0], c.first, {10, 4, 14, 35});
    results[0].confidence = c.firstConfidence;
    SetSingleResult(&results[1], Digit('4'), {18, 4, 38, 35});
    results[1].confidence = c.secondConfidence;
    SetSingleResult(&results[2], kEndRecordCode, {10, 4, 38, 35});
    RecogRunBlock run = RunOver(image, {0, 0, 63, 39}, dicts);
    int count = 3;
    JoinSplitCharacters(&run, results, 3, &count);
    EXPECT_EQ(count, c.records) << c.what;
    if (count == 2) {
      EXPECT_EQ(results[0].box, (MupaRect{10, 4, 38, 35})) << c.what;
    }
  }
}

// ---- the exports ------------------------------------------------------------------
// A line image at 300 dpi with drawn digits side by side.
struct DrawnLine {
  std::vector<uint8_t> bits;
  MupaImage image;
  std::vector<MupaRect> cells;
};

DrawnLine DrawDigits(const std::vector<int>& digits, int gap) {
  std::vector<penkit::DigitSample> samples;
  int width = 8, height = 8;
  for (size_t i = 0; i < digits.size(); ++i) {
    samples.push_back(penkit::DrawDigit(digits[i], 0, static_cast<uint32_t>(100 + i)));
    width += samples.back().image.width() + gap;
    height = std::max(height, samples.back().image.height() + 8);
  }
  width = (width + 7) / 8 * 8;
  DrawnLine line;
  line.bits.assign(static_cast<size_t>(width / 8) * height, 0);
  int x0 = 4;
  for (auto& s : samples) {
    for (int y = 0; y < s.image.height(); ++y) {
      for (int x = 0; x < s.image.width(); ++x) {
        if (s.image.Get(x, y)) line.bits[(y + 4) * (width / 8) + (x0 + x) / 8] |= 0x80 >> ((x0 + x) % 8);
      }
    }
    line.cells.push_back({static_cast<int16_t>(x0), 4, static_cast<int16_t>(x0 + s.image.width() - 1),
                          static_cast<int16_t>(4 + s.image.height() - 1)});
    x0 += s.image.width() + gap;
  }
  line.image = {static_cast<int16_t>(width), static_cast<int16_t>(height), 1,
                static_cast<int16_t>(width / 8), 300, 1, line.bits.data()};
  return line;
}

class DriverExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMupaLibrary();
    handle_ = MupaBegin();
    const std::string path = folder_.Write("digits.dic", MakeDigitPatternDict());
    dict_ = MupaLoadPatternDict(handle_, path.c_str());
    ASSERT_GE(dict_, 0);
    env_ = MupaOpenExecEnv(handle_, kExecEnvMode);
    ASSERT_EQ(MupaRegisterPatternDict(handle_, env_, dict_), 0);
    ASSERT_EQ(MupaSetCharType(handle_, dict_, kTypeDigits), 0);
    options_.marker[0] = options_.marker[1] = 1;
    options_.mode = 2;
  }
  void TearDown() override { ResetMupaLibrary(); }

  // The whole line image read into results; the export's result.
  int ReadLine(DrawnLine& line, MupaCharResult* results, int capacity, uint16_t* status) {
    const MupaRect rect = {0, 0, static_cast<int16_t>(line.image.width - 1),
                           static_cast<int16_t>(line.image.height - 1)};
    return MupaExecuteOneLine(handle_, env_, &line.image, &rect, &options_, results,
                              static_cast<int16_t>(capacity), 0, status);
  }
  // Each of the first n records boxes the ink of its own digit.
  static void ExpectOwnBoxes(const MupaCharResult* results, const DrawnLine& line, int n) {
    for (int i = 0; i < n; ++i) {
      EXPECT_TRUE(results[i].box.left >= line.cells[i].left &&
                  results[i].box.right <= line.cells[i].right)
          << i;
    }
  }

  TempFolder folder_;
  int16_t handle_ = -1, dict_ = -1, env_ = -1;
  MupaRecogOptions options_ = {};
};

TEST_F(DriverExportTest, OneCharacterAnswersWithTheRectangle) {
  DrawnLine line = DrawDigits({4}, 0);
  MupaCharResult result = {};
  const MupaRect rect = line.cells[0];
  ASSERT_EQ(MupaExecuteOneChar(handle_, env_, &line.image, &rect, &options_, &result), 0);
  EXPECT_EQ(result.failed, 0);
  EXPECT_EQ(result.box, rect);
  EXPECT_NE(result.candidates[0].code, kNoCandidate);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{});
}

TEST_F(DriverExportTest, FieldCellsBlanksAndEndRecord) {
  DrawnLine line = DrawDigits({1, 2, 3}, 6);
  std::vector<MupaRect> cells = {line.cells[0], {0, 0, 0, 0}, line.cells[2]};
  MupaCharResult results[5] = {};
  int16_t count = 0;
  ASSERT_EQ(MupaExecuteFieldChar(handle_, env_, &line.image, cells.data(), 3, &options_, results, 4,
                                 &count), 0);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(results[1].candidates[0].code, 0x8140);
  EXPECT_EQ(results[1].confidence, 100);
  EXPECT_EQ(results[3].candidates[0].code, kEndRecordCode);
  const MupaRect united = {line.cells[0].left, line.cells[0].top, line.cells[2].right,
                           std::max(line.cells[0].bottom, line.cells[2].bottom)};
  EXPECT_EQ(results[3].box, united);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(results[i].failed, 0);

  std::vector<MupaRect> empty(2, MupaRect{0, 0, 0, 0});
  ASSERT_EQ(MupaExecuteFieldChar(handle_, env_, &line.image, empty.data(), 2, &options_, results, 5,
                                 &count), 0);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(results[2].box, (MupaRect{0, 0, 0, 0}));

  // No room for the end record: every cell read, and the call fails with 2.
  EXPECT_EQ(MupaExecuteFieldChar(handle_, env_, &line.image, cells.data(), 3, &options_, results, 3,
                                 &count), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrResultsFull});
  EXPECT_EQ(MupaExecuteFieldChar(handle_, env_, &line.image, cells.data(), 3, &options_, results,
                                 101, &count), -9);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrCountRange});
}

TEST_F(DriverExportTest, LineCutToItsCapacityKeepsItsWarning) {
  DrawnLine line = DrawDigits({2, 3, 4, 5, 6}, 10);
  MupaCharResult results[100] = {};
  uint16_t status = 1;
  ASSERT_EQ(ReadLine(line, results, 100, &status), 6);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(results[5].candidates[0].code, kEndRecordCode);
  ExpectOwnBoxes(results, line, 5);
  // The structural path swaps its own mask in: no warning 7, no lost 2.
  ASSERT_EQ(ReadLine(line, results, 4, &status), 4);
  EXPECT_EQ(results[3].candidates[0].code, kEndRecordCode);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrResultsFull});
  uint32_t offered = 0, current = 0;
  ASSERT_EQ(MupaGetCharType(handle_, dict_, &offered, &current), 0);
  EXPECT_EQ(current, kTypeDigits);
  // Types the dictionary does not offer were warned of when they were set;
  // the line swaps its mask and puts the caller's back without a word.
  ASSERT_EQ(MupaSetCharType(handle_, dict_, kTypeDigits | 128), 0);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{kErrTypesNotOffered});
  ASSERT_EQ(ReadLine(line, results, 100, &status), 6);
  EXPECT_EQ(ErrorsOf(handle_), std::vector<uint16_t>{});
  ASSERT_EQ(MupaGetCharType(handle_, dict_, &offered, &current), 0);
  EXPECT_EQ(current, kTypeDigits | 128);
}

TEST_F(DriverExportTest, OtherTypesReadTheLineByItsCells) {
  // The fresh mask is no type-driven one: every plausible cell is read and
  // the best sequence chosen.
  ASSERT_GE(MupaSetCharType(handle_, dict_, kTypeAll), -1);
  DrawnLine line = DrawDigits({7, 1, 4}, 12);
  MupaCharResult results[10] = {};
  uint16_t status = 1;
  ASSERT_EQ(ReadLine(line, results, 10, &status), 4);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(results[3].candidates[0].code, kEndRecordCode);
  ExpectOwnBoxes(results, line, 3);
}

TEST_F(DriverExportTest, LineWithoutInkIsOneEndRecord) {
  std::vector<uint8_t> bits(8 * 40, 0);
  MupaImage image = {64, 40, 1, 8, 300, 1, bits.data()};
  const MupaRect rect = {4, 4, 50, 30};
  MupaCharResult results[4] = {};
  uint16_t status = 1;
  ASSERT_EQ(MupaExecuteOneLine(handle_, env_, &image, &rect, &options_, results, 4, 0, &status), 1);
  EXPECT_EQ(results[0].candidates[0].code, kEndRecordCode);
  EXPECT_EQ(results[0].box, rect);
  EXPECT_EQ(results[0].failed, 1);
}

// The structural recogniser through the export, with the stroke models of
// the sample dictionary: a bar read by the digit rules, a dash by the sign
// models' stroke attempts.
TEST(StructuralPath, DigitRulesAndStrokeAttemptsAnswer) {
  ResetMupaLibrary();
  TempFolder folder;
  const int16_t handle = MupaBegin();
  const std::string path = folder.Write("strokes.dic", MakeStrokeSampleDict());
  const int16_t dict = MupaLoadPatternDict(handle, path.c_str());
  ASSERT_GE(dict, 0);
  const int16_t env = MupaOpenExecEnv(handle, kExecEnvMode);
  ASSERT_EQ(MupaRegisterPatternDict(handle, env, dict), 0);
  MupaRecogOptions options = {};
  options.marker[0] = options.marker[1] = 1;
  options.mode = 2;
  struct Case {
    const char* what;
    uint32_t mask;
    MupaRect ink;
    std::vector<uint16_t> first;
  };
  const Case cases[] = {
      {"a bar is a one by the digit rules", kTypeDigits, {20, 4, 23, 35}, Digits("1036897452")},
      {"a dash is matched by the sign models", kTypeSigns, {6, 18, 37, 21}, {0x815B}},
  };
  // A digit box that nothing reads (only the look-alikes of the "nothing"
  // row) goes to the line digit reader; where it finds no digit either, the
  // box keeps the unread record.
  {
    ASSERT_EQ(MupaSetCharType(handle, dict, kTypeDigits), 0);
    penkit::BitImage u(64, 40);
    for (int y = 6; y <= 34; ++y) {
      for (int x : {10, 11, 12, 22, 23, 24}) u.Set(x, y);
    }
    for (int x = 10; x <= 24; ++x) u.Set(x, 34);
    MupaImage descriptor = u.Descriptor();
    descriptor.dpi = 300;
    const MupaRect rect = u.Rect();
    MupaCharResult results[6] = {};
    uint16_t status = 1;
    ASSERT_EQ(MupaExecuteOneLine(handle, env, &descriptor, &rect, &options, results, 6, 0, &status),
              2);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(results[0].box, (MupaRect{10, 6, 24, 34}));
    EXPECT_EQ(results[0].confidence, 0);
    EXPECT_EQ(results[1].candidates[0].code, kEndRecordCode);
  }
  for (const Case& c : cases) {
    ASSERT_EQ(MupaSetCharType(handle, dict, c.mask), 0) << c.what;
    penkit::BitImage image(48, 40);
    for (int y = c.ink.top; y <= c.ink.bottom; ++y) {
      for (int x = c.ink.left; x <= c.ink.right; ++x) image.Set(x, y);
    }
    MupaImage descriptor = image.Descriptor();
    const MupaRect rect = image.Rect();
    MupaCharResult result = {};
    ASSERT_EQ(MupaExecuteOneChar(handle, env, &descriptor, &rect, &options, &result), 0) << c.what;
    std::vector<uint16_t> codes;
    for (size_t k = 0; k < c.first.size(); ++k) codes.push_back(result.candidates[k].code);
    EXPECT_EQ(codes, c.first) << c.what;
    EXPECT_EQ(result.failed, 0);
  }
  ResetMupaLibrary();
}

// A dictionary without one of its sections loads; the recogniser that needs
// the missing section gives an empty list, and the others still answer.
TEST(StructuralPath, AMissingSectionGivesThatRecogniserNothing) {
  ResetMupaLibrary();
  SelectSessionWorkArea(MupaBegin());  // where the stroke attempts keep their candidates
  DictFileSpec patternsOnlyInFile = MakeDigitPatternDict();
  patternsOnlyInFile.header.patternOnly = 0;  // but no stroke models
  LoadedDict noStrokes(patternsOnlyInFile);
  LoadedDict noPatterns(MakeStrokeSampleDict());
  ASSERT_NE(noStrokes.get(), nullptr);
  ASSERT_NE(noPatterns.get(), nullptr);
  penkit::BitImage image(48, 40);
  for (int y = 4; y <= 35; ++y) {
    for (int x = 20; x <= 23; ++x) image.Set(x, y);
  }
  RunImage page = {48, 40, 1, static_cast<int16_t>(image.bytesPerLine()), 300, image.bits().data()};
  struct Case {
    const char* what;
    DictBlock* dict;
    uint32_t mask;
    bool answers;
  };
  const Case cases[] = {
      {"digits without stroke models: the digit rules", noStrokes.get(), kTypeDigits, true},
      {"capitals without stroke models", noStrokes.get(), kTypeCapitals, false},
      {"fresh mask without stroke models: the classifier", noStrokes.get(), kTypeAll, true},
      {"fresh mask without patterns: nothing to merge", noPatterns.get(), kTypeAll, true},
      {"katakana without patterns or models", noPatterns.get(), kTypeKatakana | 16, false},
  };
  for (const Case& c : cases) {
    c.dict->header.currentTypes = c.mask;
    DictBlock* dicts[] = {c.dict};
    RecogRunBlock run = RunOver(page, image.Rect(), dicts);
    CharWorkRecord work;
    ASSERT_EQ(RecognizeCharByTypeMask(&run, &work), 0) << c.what;
    EXPECT_EQ(work.count > 0, c.answers) << c.what;
  }
  ResetMupaLibrary();
}

TEST(SemiVoicedMarkRule, KeepsOnlyASmallMarkHighBesideItsCharacter) {
  auto line = [](MupaRect markBox) {
    std::vector<RecogCharResult> r(3);
    SetSingleResult(&r[0], 0x8352, {0, 0, 39, 39});  // コ
    SetSingleResult(&r[1], 0x814B, markBox);
    r[1].candidates[1].code = 0x8252;  // ３
    SetSingleResult(&r[2], kEndRecordCode, {});
    return r;
  };
  struct Case {
    const char* what;
    uint32_t mask;
    MupaRect markBox;
    bool first;  // the mark is the first record
    uint16_t expected;
  };
  const Case cases[] = {
      {"small and high", 9, {41, 0, 49, 8}, false, 0x814B},
      {"as large as its neighbour", 9, {41, 0, 79, 39}, false, 0x8252},
      {"low beside it", 9, {41, 30, 49, 38}, false, 0x8252},
      {"first of the line", 9, {41, 0, 49, 8}, true, 0x8252},
      {"no katakana in the mask", 1, {41, 30, 49, 38}, false, 0x814B},
  };
  for (const Case& c : cases) {
    std::vector<RecogCharResult> r = line(c.markBox);
    if (c.first) r.erase(r.begin());
    ApplySemiVoicedMarkRule(c.mask, r.data(), static_cast<int>(r.size()));
    EXPECT_EQ(r[c.first ? 0 : 1].candidates[0].code, c.expected) << c.what;
  }
}

}  // namespace
