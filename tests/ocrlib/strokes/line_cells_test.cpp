// Recognition of a line's cells and the choice of their sequence, with a
// scripted recogniser: what each cell is read as and how sure.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"

namespace {

// The recogniser's answers by the cell's left edge and width.
std::map<std::pair<int, int>, std::pair<uint16_t, uint8_t>> g_answers;

int ScriptedRecogniser(RecogRunBlock* run, CharWorkRecord* record) {
  const auto found = g_answers.find({run->rect.left, run->rect.right - run->rect.left + 1});
  const auto [code, confidence] =
      found != g_answers.end() ? found->second : std::make_pair<uint16_t, uint8_t>(0x8341, 10);
  record->candidates[0].lead = static_cast<uint8_t>(code >> 8);
  record->candidates[0].trail = static_cast<uint8_t>(code);
  record->count = 1;
  record->confidence = confidence;
  return 0;
}

// Segments 10 wide at the given left edges (height 20); cells of every run
// of 1..maxRun consecutive segments.
struct Line {
  std::vector<MupaRect> segments;
  std::vector<CharBoxRow> cells;
  LineCells view;
};

Line MakeLine(const std::vector<int>& lefts, int maxRun, int height = 20) {
  Line l;
  for (int left : lefts) {
    l.segments.push_back({static_cast<int16_t>(left), 0, static_cast<int16_t>(left + 9),
                          static_cast<int16_t>(height - 1)});
  }
  const int n = static_cast<int>(lefts.size());
  for (int i = 0; i < n; ++i) {
    for (int k = 1; k <= maxRun && i + k <= n; ++k) {
      CharBoxRow c = {};
      c.box = l.segments[i];
      UniteBoxes(c.box, l.segments[i + k - 1], &c.box);
      MeasureRow(&c);
      c.componentCount = static_cast<uint16_t>(k);
      for (int j = 0; j < k; ++j) c.components[j] = static_cast<uint16_t>(i + j);
      for (int j = 1; j < k; ++j) {
        const int gap = l.segments[i + j].left - l.segments[i + j - 1].right - 1;
        c.widestGap = static_cast<uint16_t>(std::max<int>(c.widestGap, gap));
      }
      l.cells.push_back(c);
    }
  }
  l.view = {l.segments.data(), n, l.cells.data(), static_cast<int>(l.cells.size()), height};
  return l;
}

std::vector<uint16_t> Codes(const std::vector<RecogCharResult>& results, int count) {
  std::vector<uint16_t> out;
  for (int i = 0; i < count; ++i) out.push_back(results[i].candidates[0].code);
  return out;
}

RecogRunBlock Page() {
  RecogRunBlock run = {};
  run.image.dpi = 200;
  return run;
}

TEST(LineCells, SeparateCharactersBeatTheirJoinedCell) {
  g_answers = {{{0, 10}, {0x8250, 90}}, {{14, 10}, {0x8251, 90}}, {{28, 10}, {0x8252, 90}},
               {{0, 24}, {0x8341, 60}}};
  Line l = MakeLine({0, 14, 28}, 2);
  std::vector<RecogCharResult> results(10);
  int count = 0;
  ASSERT_EQ(RecogniseLineCells(Page(), ScriptedRecogniser, &l.view, kTypeDigits, results.data(),
                               10, &count),
            0);
  EXPECT_EQ(Codes(results, count), (std::vector<uint16_t>{0x8250, 0x8251, 0x8252, kEndRecordCode}));
  EXPECT_EQ(results[1].confidence, 90);
  EXPECT_EQ(results[3].box.left, 0);  // the end record covers the characters
  EXPECT_EQ(results[3].box.right, 37);
}

TEST(LineCells, ACellAloneBetweenSureCutsIsChosenWithoutScoring) {
  Line l = MakeLine({0, 40}, 1);
  std::vector<CharWorkRecord> records(l.view.cellCount);
  for (CharWorkRecord& r : records) ClearCharRecord(&r);
  ASSERT_EQ(ChooseCellPath(records.data(), &l.view, 1, 2, false), 0);
  EXPECT_EQ(l.cells[0].chosen, 0);
  EXPECT_EQ(l.cells[1].chosen, 1);
}

TEST(LineCells, ACharacterLimitKeepsTheFirstAndWarns) {
  g_answers.clear();
  struct Case {
    int maxChars;
    uint16_t code;
  };
  for (const Case& c : {Case{3, kErrResultsFull}, Case{kMaxBoxes, 0}}) {
    SCOPED_TRACE(c.maxChars);
    Line l = MakeLine({0, 20, 40, 60, 80}, 1);
    std::vector<RecogCharResult> results(kMaxBoxes);
    int count = 0;
    ClearErrorStack();
    ASSERT_EQ(RecogniseLineCells(Page(), ScriptedRecogniser, &l.view, kTypeKatakana,
                                 results.data(), c.maxChars, &count),
              0);
    EXPECT_EQ(count, std::min(c.maxChars, 6));
    EXPECT_EQ(results[count - 1].candidates[0].code, kEndRecordCode);
    EXPECT_EQ(GetErrorCount() > 0 ? g_errorStack.codes[0] : 0, c.code);
  }
}

TEST(LineCells, ThePathChoiceEndsWhereNoCellCanBeDropped) {
  // 28 touching segments with cells of up to three: far over 3,000
  // sequences, and cells without an inner gap are never dropped.
  g_answers.clear();
  std::vector<int> lefts;
  for (int i = 0; i < 28; ++i) lefts.push_back(10 * i);
  Line l = MakeLine(lefts, 3);
  std::vector<RecogCharResult> results(kMaxBoxes);
  int count = 0;
  ASSERT_EQ(RecogniseLineCells(Page(), ScriptedRecogniser, &l.view, kTypeKatakana,
                               results.data(), kMaxBoxes, &count),
            0);
  int covered = 0;
  for (int i = 0; i + 1 < count; ++i) covered += results[i].box.right - results[i].box.left + 1;
  EXPECT_EQ(covered, 280);  // the chosen cells tile the line
}

TEST(LineCells, DigitsAndADashAreScoredAsANumber) {
  // With digits around it, a dash cell of one segment is read as such and
  // the joined cells across it are dropped when signs are read.
  g_answers = {{{0, 10}, {0x8250, 90}}, {{14, 10}, {0x817C, 90}}, {{28, 10}, {0x8251, 90}}};
  Line l = MakeLine({0, 14, 28}, 2, 20);
  l.segments[1] = {14, 9, 23, 11};  // a flat dash
  l.cells[2].box = l.segments[1];    // its own cell (segment 1 alone)
  MeasureRow(&l.cells[2]);
  std::vector<RecogCharResult> results(10);
  int count = 0;
  ASSERT_EQ(RecogniseLineCells(Page(), ScriptedRecogniser, &l.view, kTypeDigits | kTypeSigns,
                               results.data(), 10, &count),
            0);
  EXPECT_EQ(Codes(results, count), (std::vector<uint16_t>{0x8250, 0x817C, 0x8251, kEndRecordCode}));
}

}  // namespace
