// What the stages mending a line's grouped boxes share: the line's usual
// character, the ink of a box's columns and rows, the pieces of a box
// between cuts, and the readings of boxes and pieces with the dictionary.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "ocrlib/frame/frame_internal.h"

namespace box_repair {

// ---- boxes and the line's usual character (box_geometry.cpp) ---------------------
inline int Width(const MupaRect& b) { return b.right - b.left + 1; }
inline int Height(const MupaRect& b) { return b.bottom - b.top + 1; }
bool SameRect(const MupaRect& a, const MupaRect& b);
// Columns two boxes share (negative: minus the blank columns between them).
int SharedColumns(const MupaRect& a, const MupaRect& b);
// Pixels between two boxes along the larger of the two axes (0 touching).
int BoxDistance(const MupaRect& a, const MupaRect& b);
MupaRect United(const MupaRect& a, const MupaRect& b);
// Whether a line of these types holds digits alone.
bool DigitsOnly(uint32_t mask);
// Whether a line of these types may hold capitals and no digits.
bool CapitalsWithoutDigits(uint32_t mask);
// Whether a line of these types holds capitals alone.
bool CapitalsOnly(uint32_t mask);

// The line's usual character: the height three quarters up the boxes'
// heights (a line broken into many pieces still shows its characters'
// height there), and the width three quarters up the widths of the boxes
// at least half that tall; and the median of those widths.
struct LineShape {
  int height = 0, width = 0, medianWidth = 0;
};
LineShape MeasureLine(const SegmentWork& w);
// Row `gone` joins row `keep`: its box, its components; rows after it move
// down one, and the components' box numbers follow.
void JoinRows(SegmentWork* w, int keep, int gone);
// How far from a box a broken-off piece or a speck still belongs to it.
int NearReach(const LineShape& shape);
// How far from its character a crumb or a piece of a broken stroke may lie.
int BreakReach(const LineShape& shape);

// ---- ink (box_geometry.cpp) --------------------------------------------------------
// Whether any of the columns holds ink in row y.
bool RowHasInk(const RunImage& page, const std::vector<int>& columns, int y);
// Ink that crosses from column x to column x + 1 (8-connected pairs, counted
// once a row) between rows top..bottom.
int CrossingInk(const RunImage& page, int x, int top, int bottom);
// Whether the black pixel at x, y has no black neighbour (a speck of the scan).
bool LonePixel(const RunImage& page, int x, int y);
// The ink box of the columns left..right within the rows of `box` (without
// lone pixels when `withoutSpecks`); false when they hold no ink.
bool InkBox(const RunImage& page, const MupaRect& box, int left, int right, MupaRect* out,
            bool withoutSpecks);
// The rows of `box` where none of `pieces` has ink in its columns.
int BlankRows(const RunImage& page, const std::vector<MupaRect>& pieces, const MupaRect& box);

// ---- a box's pieces between cuts (box_parting.cpp) -------------------------------
// Cuts are the last column of each piece but the last.
// Whether the runs two characters draw together part by the edges beside
// them on a line of these types (else right after the cut).
bool PartsJoinedRunsByEdges(uint32_t mask);
// The ink boxes of the pieces that hold ink (without lone pixels when
// `withoutSpecks`).
std::vector<MupaRect> PieceBoxes(const RunImage& page, const MupaRect& box,
                                 const std::vector<int>& cuts, bool byEdges, bool withoutSpecks);
// Row r becomes the pieces of its box between the cuts; every piece keeps
// the row's components (their ink is shared out by the boxes). Returns the
// pieces placed.
int CutRow(const RunImage& page, const std::vector<int>& cuts, bool byEdges, int r, SegmentWork* w);
// A piece of the page drawn alone into an image of its own, to be read.
struct PieceImage {
  std::vector<uint8_t> bits;
  RunImage image = {};
  MupaRect ink = {};
  bool any = false;
};
// The runs of piece k of `box` between the cuts, alone.
PieceImage DrawPiece(const RunImage& page, const MupaRect& box, const std::vector<int>& cuts,
                     bool byEdges, int k);

// ---- readings with the dictionary (box_cut_rules.cpp) ----------------------------
// What the dictionary makes of the ink of a box: its best candidate's
// distance (-1 when it reads nothing) and the answer's confidence.
struct Reading {
  int64_t distance = -1;
  int confidence = 0;
  uint16_t code = 0;  // the best candidate's Shift-JIS code
};

// The readings of the line's boxes so far: a box is read once however many
// joins and cuts weigh it, and a box's pieces at a cut once however many
// rules weigh the cut.
class BoxReadings {
 public:
  BoxReadings(const RecogRunBlock& run, uint32_t mask) : run_(run), mask_(mask) {}
  Reading Of(const MupaRect& box);
  // The mean distance of the pieces of `box` cut after column x; -1 when a
  // piece reads as nothing, has no ink or is less than `leastHeight` tall.
  int64_t PiecesOf(const MupaRect& box, int x, int leastHeight);
  const RecogRunBlock& run() const { return run_; }
  uint32_t mask() const { return mask_; }

 private:
  struct PiecesRead {
    MupaRect box;
    int x, leastHeight;
    int64_t distance;
  };
  const RecogRunBlock& run_;
  uint32_t mask_;
  std::vector<std::pair<MupaRect, Reading>> read_;
  std::vector<PiecesRead> pieces_;
};

// Cuts each box of the line that reads as two characters written close
// together better than as one.
void CutWideBoxes(const LineShape& shape, uint32_t mask, BoxReadings* readings, SegmentWork* w);

}  // namespace box_repair
