// The rules by which a line's boxes are tried in two pieces, reading the
// whole and its pieces with the dictionary's pattern classifier.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ocrlib/frame/box_repair_internal.h"

namespace box_repair {
namespace {

Reading ReadBox(const RecogRunBlock& run, uint32_t mask, const RunImage& image,
                const MupaRect& rect) {
  RecogRunBlock one = run;
  one.image = image;
  one.rect = rect;
  CharWorkRecord record;
  ClearCharRecord(&record);
  ClassifyByPattern(&one, mask, &record);
  if (record.count <= 0 || record.candidates[0].empty()) return {};
  return {record.candidates[0].distance1, record.confidence, record.candidates[0].code()};
}

// A cut on a line of digits leaving a piece with more than this share of
// its rows blank (percent) parts no two digits but a broken one. Measured
// on lines of the training seeds' characters.
constexpr int kMostBlankRowsPercent = 20;

int64_t ReadPieces(const RecogRunBlock& run, uint32_t mask, const MupaRect& box, int x,
                   int leastHeight) {
  int64_t sum = 0;
  for (int k = 0; k < 2; ++k) {
    const PieceImage p = DrawPiece(run.image, box, {x}, PartsJoinedRunsByEdges(mask), k);
    if (!p.any || Height(p.ink) < leastHeight) return -1;
    if (DigitsOnly(mask) &&
        100 * BlankRows(p.image, {p.ink}, p.ink) > kMostBlankRowsPercent * Height(p.ink)) {
      return -1;
    }
    const int64_t d = ReadBox(run, mask, p.image, p.ink).distance;
    if (d < 0) return -1;
    sum += d;
  }
  return sum / 2;
}

}  // namespace

Reading BoxReadings::Of(const MupaRect& box) {
  for (const auto& [known, reading] : read_) {
    if (SameRect(known, box)) return reading;
  }
  read_.emplace_back(box, ReadBox(run_, mask_, run_.image, box));
  return read_.back().second;
}

int64_t BoxReadings::PiecesOf(const MupaRect& box, int x, int leastHeight) {
  for (const PiecesRead& known : pieces_) {
    if (SameRect(known.box, box) && known.x == x && known.leastHeight == leastHeight) {
      return known.distance;
    }
  }
  pieces_.push_back({box, x, leastHeight, ReadPieces(run_, mask_, box, x, leastHeight)});
  return pieces_.back().distance;
}

namespace {

// A box read with this confidence or more is not tried in two pieces, unless
// it is wider than one character is written (the cut rules below).
constexpr int kSureConfidence = 80;

// How a line's wide boxes are tried in two pieces: at the eight places the
// least ink crosses, a sixteenth of a character in from either side or more
// (characters written close touch at a point; a cut through one character
// crosses a stroke's width), each read as the mean distance of its pieces,
// each pixel of ink it crosses adding a share of the whole box's distance.
// The best place parts the box when that comes to less than a share of the
// whole's distance. Digits are narrow, and most wide ones are one slanted
// digit: a box is tried from 1.3 times the line's width and parts below 0.9
// of the whole. Capitals and katakana are narrow and wide by nature: from
// the line's width on, parting below 0.7. A box that reads as one character
// with no doubt is not tried, unless it is wider than one character of its
// kind is written: 1.5 times the line's width for digits (two touching
// digits often read surely as one), 1.6 for capitals and katakana. The
// shares were measured on lines of the training seeds' characters.
struct CutRule {
  int fromTenths;     // least box width, tenths of the line's
  int inkDivisor;     // each crossed pixel adds the whole's distance / this (0: nothing)
  int belowTenths;    // parts below this many tenths of the whole's distance
  int sureTenths;     // tried however surely it reads whole from this width on
  size_t places = 8;  // places read at most
  // Each column a place of its own, none read beside the best: where only
  // some columns are allowed, a column that is not is never read.
  bool columnsApart = false;
};
constexpr CutRule kDigitCuts = {13, 50, 9, 15};
constexpr CutRule kLetterCuts = {10, 20, 7, 16};

// The ink a cut after column x crosses between rows top..bottom, in half
// pixels: a run it parts counts two, ink that meets across it only at a
// corner one (two characters written close often touch at a corner, where
// a slanted stroke of one character crosses as thinly).
int CrossedHalves(const RunImage& page, int x, int top, int bottom) {
  int parted = 0;
  for (int y = top; y <= bottom; ++y) {
    parted += PixelIsBlack(page, x, y) && PixelIsBlack(page, x + 1, y);
  }
  return parted + CrossingInk(page, x, top, bottom);
}

// Where a box wider than the line's character parts by the rule, if
// anywhere; -1 when it stays whole. Only the places `allowed` marks (by
// column from the box's left; none marked: every place) are read, and the
// columns either side of the best; `pieces` given, it takes the mean
// distance of the pieces at the place chosen.
int BestReadCut(BoxReadings* readings, const CutRule& rule, const MupaRect& box, int64_t whole,
                int width, int leastHeight, const std::vector<bool>& allowed = {},
                int64_t* pieces = nullptr) {
  const RecogRunBlock& run = readings->run();
  std::vector<std::pair<int, int>> crossings;  // ink, column
  const int inset = width / 16;
  for (int x = box.left + inset; x <= box.right - inset - 1; ++x) {
    if (!allowed.empty() && !allowed[x - box.left]) continue;
    crossings.emplace_back(CrossingInk(run.image, x, box.top, box.bottom), x);
  }
  std::stable_sort(crossings.begin(), crossings.end());
  int bestCut = -1;
  int64_t best = whole < 0 ? INT64_MAX : rule.belowTenths * whole / 10;
  auto tryCut = [&](int x) {
    const int64_t d = readings->PiecesOf(box, x, leastHeight);
    if (d < 0) return;
    int64_t charge = 0;
    if (rule.inkDivisor > 0) {
      const int halves = CrossedHalves(run.image, x, box.top, box.bottom);
      charge = (whole < 0 ? d : whole) / rule.inkDivisor * halves / 2;
    }
    const int64_t score = d + charge;
    if (score >= best) return;
    best = score, bestCut = x;
    if (pieces) *pieces = d;
  };
  std::vector<int> read;
  for (const auto& [ink, x] : crossings) {
    if (read.size() == rule.places) break;
    // Neighbouring columns of one crossing are one place.
    if (!rule.columnsApart &&
        std::any_of(read.begin(), read.end(), [x = x](int c) { return std::abs(c - x) <= 1; })) {
      continue;
    }
    read.push_back(x);
    tryCut(x);
  }
  // Where two characters' strokes run together, which column of the joint
  // is whose is read: the columns either side of the place are tried too.
  const int place = rule.columnsApart ? -1 : bestCut;
  for (int x : {place - 1, place + 1}) {
    if (place >= 0 && x >= box.left && x < box.right) tryCut(x);
  }
  return bestCut;
}

// Two characters written touching may make a box the rule above leaves
// whole: two narrow digits ("11", "17") no wider than one slanted digit,
// whose halves often read as well as the whole, or two capitals pressed
// together over a run of ink the cut is charged for. Such a box parts only
// where the signs of two characters are plain: both pieces are nearly the
// line's height (a character cut through leaves a short piece), the cut
// crosses little ink and the pieces read far closer than the whole.
// Measured on lines of the training seeds' characters: digits from 0.9 of
// the line's width, pieces of three quarters of its height, four pixels of
// ink crossed at most, the pieces' mean distance below 0.6 of the whole's;
// capitals pieces of 0.8 of the height, eight pixels, below half the
// whole's. Only the two places that cross least ink are read (more find no
// more pairs).
//
// Two digits written so close that they share a column or abut meet over
// more ink than that, each its own edge: a cut between them parts no run,
// every run of the joint going whole to the digit holding its middle,
// where a cut through one digit parts its strokes. A box from 0.8 of the
// line's width not read surely is also read at the four places crossing
// least ink that part no run, cross six pixels of ink at most and leave
// pieces of 0.7 of the line's height, parting below 0.6 of the whole's
// distance (measured likewise). Lone pixels (specks of the scan) do not
// count to a piece's height: a single digit cut where its loop meets its
// stem at a corner leaves a short piece, which a speck below the loop would
// otherwise make tall.
//
// Two digits pressed together along a stroke may read surely as one wide
// digit, their joint crossing more ink than the rules above allow. A box
// from 1.2 of the line's width is read at the two places crossing least
// ink, sixteen pixels of it or less, and parts however surely it reads
// whole where both pieces are 0.8 of the line's height and read below
// half the whole's distance. Measured on touching lines of the training
// seeds' digits: of the boxes from 0.9 of the width showing those signs,
// 21 were pairs and one a single digit; from 0.9 or 1.1 of the width a
// few more pairs part, but far more boxes are read.
struct PlainPairRule {
  int fromTenths;    // least box width, tenths of the line's
  int piecePercent;  // least piece height, percent of the line's
  int mostHalves;    // ink the cut crosses, in half pixels
  int belowTenths;   // pieces' mean distance, tenths of the whole's
  size_t places;     // places read at most, those crossing least ink first
  bool partsNoRun;   // only places where no run of ink is parted
  int doubtBelow;    // read only when the whole reads with less confidence
};
constexpr PlainPairRule kDigitPairs = {9, 75, 8, 6, 2, false, kSureConfidence};
constexpr PlainPairRule kMeetingDigitPairs = {8, 70, 12, 6, 4, true, kSureConfidence};
constexpr PlainPairRule kClearDigitPairs = {12, 80, 32, 5, 2, false, INT32_MAX};
constexpr PlainPairRule kCapitalPairs = {10, 80, 16, 5, 2, false, kSureConfidence};

// `scoring` reading at most `places` places and keeping the best of them,
// however it compares with the whole.
CutRule BestOfPlaces(const CutRule& scoring, size_t places) {
  CutRule rule = scoring;
  rule.belowTenths = INT32_MAX / 10;
  rule.places = places;
  return rule;
}

// Whether a cut after column x parts a run of ink of `box` as
// ForEachPieceRun parts one: two pixels or more on either side.
bool PartsRun(const RunImage& page, const MupaRect& box, int x) {
  for (int y = box.top; y <= box.bottom; ++y) {
    if (!PixelIsBlack(page, x, y) || !PixelIsBlack(page, x + 1, y)) continue;
    int left = x, right = x + 1;
    while (left > box.left && PixelIsBlack(page, left - 1, y)) --left;
    while (right < box.right && PixelIsBlack(page, right + 1, y)) ++right;
    if (x - left + 1 >= 2 && right - x >= 2) return true;
  }
  return false;
}

// The column boundaries of `box` that cross `mostHalves` of ink or less
// (and part no run, when `partsNoRun`) and leave ink `piecePercent` of the
// line's height tall on both sides, lone pixels aside (by column from the
// box's left).
std::vector<bool> PairPlaces(const RunImage& page, const MupaRect& box, int piecePercent,
                             int mostHalves, bool partsNoRun, const LineShape& shape) {
  // The ink rows of the columns up to each column, and from each column on.
  const int width = Width(box);
  std::vector<MupaRect> columns(width);  // no ink: an empty box
  for (int i = 0; i < width; ++i) {
    InkBox(page, box, box.left + i, box.left + i, &columns[i], true);
  }
  std::vector<MupaRect> upTo = columns, from = columns;
  for (int i = 1; i < width; ++i) UniteBoxes(upTo[i - 1], columns[i], &upTo[i]);
  for (int i = width - 2; i >= 0; --i) UniteBoxes(from[i + 1], columns[i], &from[i]);
  auto tall = [&](const MupaRect& b) {
    return b.top <= b.bottom && 100 * Height(b) >= piecePercent * shape.height;
  };
  std::vector<bool> places(width, false);
  for (int i = 0; i + 1 < width; ++i) {
    places[i] = tall(upTo[i]) && tall(from[i + 1]) &&
                CrossedHalves(page, box.left + i, box.top, box.bottom) <= mostHalves &&
                !(partsNoRun && PartsRun(page, box, box.left + i));
  }
  return places;
}

// Where a box parts by the plain signs of two characters, if anywhere; -1
// when it stays whole. The box is read only when its ink allows two; its
// places are charged for the ink they cross as `scoring` has it.
int PlainPairCut(const PlainPairRule& rule, const CutRule& scoring, const MupaRect& box,
                 const LineShape& shape, int leastHeight, BoxReadings* readings) {
  const RecogRunBlock& run = readings->run();
  if (10 * Width(box) < rule.fromTenths * shape.width) return -1;
  // Most single characters have no such place, and are not read in pieces.
  const std::vector<bool> allowed =
      PairPlaces(run.image, box, rule.piecePercent, rule.mostHalves, rule.partsNoRun, shape);
  if (std::none_of(allowed.begin(), allowed.end(), [](bool p) { return p; })) return -1;
  const Reading whole = readings->Of(box);
  if (whole.distance <= 0 || whole.confidence >= rule.doubtBelow) return -1;
  // The best of those places by reading and ink.
  CutRule anyPlace = BestOfPlaces(scoring, rule.places);
  anyPlace.columnsApart = rule.partsNoRun;
  int64_t pieces = 0;
  const int x = BestReadCut(readings, anyPlace, box, whole.distance, shape.width, leastHeight,
                            allowed, &pieces);
  if (x < 0 || CrossedHalves(run.image, x, box.top, box.bottom) > rule.mostHalves) return -1;
  const bool byEdges = PartsJoinedRunsByEdges(readings->mask());
  for (const MupaRect& piece : PieceBoxes(run.image, box, {x}, byEdges, true)) {
    if (100 * Height(piece) < rule.piecePercent * shape.height) return -1;
  }
  return 10 * pieces < rule.belowTenths * whole.distance ? x : -1;
}

// The plain-pair rules a line's boxes are tried by, in turn. On lines of
// katakana the capitals' rule parted nothing more: they are not tried by
// it. Digits meeting at their edges or pressed together along a stroke are
// told on lines of digits alone: a wide capital or katakana may stand as
// two narrow ones meeting so.
std::vector<const PlainPairRule*> PlainPairRulesOf(uint32_t mask) {
  if (DigitsOnly(mask)) return {&kDigitPairs, &kMeetingDigitPairs, &kClearDigitPairs};
  if ((mask & kTypeDigits) != 0) return {&kDigitPairs};
  if ((mask & kTypeCapitals) != 0) return {&kCapitalPairs};
  return {};
}

// Two capitals written touching along a stroke (the foot of an "L" run into
// the stem of the next letter, two stems drawn together) part only along
// that stroke, crossing much ink: the rules above, which charge for every
// pixel crossed, leave them whole, and the pair may even read surely as one
// character. Yet a pair reads far worse than the line's usual character,
// and its two halves far better than the whole: a box that reads 1.5 times
// as far as the usual character or more parts, whatever ink the cut
// crosses, where its pieces' mean distance is below 0.45 of the whole's. A
// wide capital ("M", "W") read that badly seldom reads that well in two.
// Only places leaving ink 0.7 of the line's height tall on either side are
// read: the joint of two capitals does, and among them the few places read
// find it more often. Plainer signs of two allow pieces that read less
// well: a box reading 2.3 times as far as the usual character or more is
// no capital, however it is written, and parts below 0.65 of the whole's
// distance; one 1.6 times as wide as the line's character (wider than a
// capital is written, as the cut rules have it) that reads 1.5 times as
// far parts below 0.6. Such boxes are few, and the joint of a pair run
// together along a stroke often crosses more ink than the places through
// one letter do: they are read at twice as many places.
//
// What the box reads as is a sign too. Of the Latin capitals only "M" and
// "W" are written wider than tall; a box 1.5 times the line's width that
// reads best as any other letter, however well, is a letter written far
// wider than its kind, or two. It parts where its pieces read below 0.6 of
// the whole's distance at the best of the eight places crossing least ink,
// the places charged for their ink as the cut rules have it. Of the boxes
// from 0.9 of the line's width left whole by the rules above on the
// training seeds' lines, 86 held two capitals: 53 of them read as "M" or
// "W", like the wide single letters, and no single letter's width or
// aspect as its class reads told the rest apart; this sign parted 3 pairs
// and no single letter.
//
// A written "M" or "W" is nearly mirror-symmetric, row by row, about the
// middle of the row's ink however it slants; two letters run together
// that read as one of them ("IV", "NI", "LV") mostly are not. A box from
// 0.9 of the line's width read as "M" or "W" parts where under 0.825 of
// its ink pixels have ink within a column of their mirror image in their
// row and its pieces read below 0.65 of the whole at the best of the eight
// places charged for their ink. On touching lines of the training seeds'
// characters, 14 of the 52 pairs read as "M" or "W" that the rules above
// left whole met both, and 3 of 952 single "M" and "W"; either measure
// alone took in single letters by the score. Measured on lines of the
// training seeds' characters.
enum class WholeReading { kAnything, kNotWide, kWide };
constexpr int kAllMirrored = 1001;
struct PoorWholeRule {
  int fromTenths;           // least box width, tenths of the line's
  int wholePercent;         // the whole's distance, percent of the usual character's
  int piecesPercent;        // pieces' mean distance below this percent of the whole's
  int piecePercent;         // least piece height, percent of the line's
  size_t places;            // places read at most, those crossing least ink first
  bool chargesInk = false;  // places charged for the ink they cross
  WholeReading reads = WholeReading::kAnything;  // what the whole must read best as
  int mirroredBelow = kAllMirrored;              // per mille of ink mirrored in its row, below
};
constexpr PoorWholeRule kCapitalPoorWholes[] = {
    {10, 150, 45, 70, 8},
    {10, 230, 65, 70, 16},
    {16, 150, 60, 70, 16},
    {15, 0, 60, 0, 8, true, WholeReading::kNotWide},
    {9, 0, 65, 0, 8, true, WholeReading::kWide, 825},
};

// The Latin capitals written wider than tall: full-width "M" and "W".
bool WrittenWide(uint16_t code) { return code == 0x826C || code == 0x8276; }

// The share, per mille, of a box's ink pixels whose mirror image about the
// middle of their row's ink lies within a column of ink (1000 for no ink).
int RowMirroredPermille(const RunImage& page, const MupaRect& box) {
  auto inkAt = [&](int x, int y) {
    return x >= box.left && x <= box.right && PixelIsBlack(page, x, y);
  };
  int64_t ink = 0, mirrored = 0;
  for (int y = box.top; y <= box.bottom; ++y) {
    int first = box.right + 1, last = box.left - 1;
    for (int x = box.left; x <= box.right; ++x) {
      if (inkAt(x, y)) first = std::min(first, x), last = x;
    }
    for (int x = first; x <= last; ++x) {
      if (!inkAt(x, y)) continue;
      const int image = first + last - x;
      ++ink;
      if (inkAt(image - 1, y) || inkAt(image, y) || inkAt(image + 1, y)) ++mirrored;
    }
  }
  return ink > 0 ? static_cast<int>(1000 * mirrored / ink) : 1000;
}

// The median distance of the line's boxes as read (0 when none reads).
int64_t UsualDistance(const SegmentWork& w, BoxReadings* readings) {
  std::vector<int64_t> distances;
  for (int r = 0; r < w.header.boxCount; ++r) {
    const int64_t d = readings->Of(w.rows[r].box).distance;
    if (d > 0) distances.push_back(d);
  }
  if (distances.empty()) return 0;
  const auto middle = distances.begin() + static_cast<ptrdiff_t>(distances.size() / 2);
  std::nth_element(distances.begin(), middle, distances.end());
  return *middle;
}

// Where a box that reads far worse than the line's usual character, as a
// letter not written wide, or as one written wide but far from symmetric,
// parts by the rule, if anywhere; -1 when it stays whole. The places are
// read as `scoring` has them, charged for the ink they cross only where the
// rule says.
int PoorWholeCut(const PoorWholeRule& rule, const CutRule& scoring, const MupaRect& box,
                 const LineShape& shape, int leastHeight, int64_t usual, BoxReadings* readings) {
  if (usual <= 0 || 10 * Width(box) < rule.fromTenths * shape.width) return -1;
  const Reading whole = readings->Of(box);
  if (100 * whole.distance < rule.wholePercent * usual) return -1;
  if (rule.reads != WholeReading::kAnything &&
      (whole.distance <= 0 || WrittenWide(whole.code) != (rule.reads == WholeReading::kWide))) {
    return -1;
  }
  if (rule.mirroredBelow < kAllMirrored &&
      RowMirroredPermille(readings->run().image, box) >= rule.mirroredBelow) {
    return -1;
  }
  const std::vector<bool> allowed =
      PairPlaces(readings->run().image, box, rule.piecePercent, INT32_MAX, false, shape);
  if (std::none_of(allowed.begin(), allowed.end(), [](bool p) { return p; })) return -1;
  CutRule anyPlace = BestOfPlaces(scoring, rule.places);
  if (!rule.chargesInk) anyPlace.inkDivisor = 0;
  int64_t pieces = 0;
  const int x = BestReadCut(readings, anyPlace, box, whole.distance, shape.width, leastHeight,
                            allowed, &pieces);
  return x >= 0 && 100 * pieces < rule.piecesPercent * whole.distance ? x : -1;
}

// Two digits written touching may make a box about as wide as one digit
// whose halves read, to the pattern classifier, no better than those of a
// single 7 or 4 cut in two. The structural recognisers (the structure
// rules, and the stroke models with their class checks) judge a digit's
// shape more strictly: of the boxes from 0.9 of the line's width left
// whole on touching lines of the training seeds' digits, they took 119 of
// 134 pairs for no digit, but only one single digit in eight. So a box
// from the line's width that reads 1.2 times as far as the line's usual
// digit or more parts at its best place where the structural recognisers
// take the whole for no digit, its pieces read below three quarters of
// the whole's distance, both are three quarters as tall as the line or
// the box, whichever is taller (a tall 6 or 4 cut through leaves a short
// piece the recognisers take for a "1"), and the recognisers take each
// piece for a digit. The structural reading costs as much as a few of the
// classifier's: the whole is judged before its pieces are read, and the
// rule gives no opinion where the dictionary has no digit stroke models.
// Measured on lines of the training seeds' digits.
struct UnconfirmedPairRule {
  int fromTenths;     // least box width, tenths of the line's
  int wholePercent;   // the whole's distance, percent of the usual digit's
  int piecesPercent;  // pieces' mean distance below this percent of the whole's
  int piecePercent;   // least piece height, percent of the line's or the box's, the taller
  size_t places;      // places read at most, those crossing least ink first
};
constexpr UnconfirmedPairRule kUnconfirmedDigitPairs = {10, 120, 75, 75, 8};

// Where a digit box parts by the rule above, if anywhere; -1 when it stays
// whole or the dictionary gives no structural opinion.
int UnconfirmedPairCut(const UnconfirmedPairRule& rule, const CutRule& scoring, const MupaRect& box,
                       const LineShape& shape, int leastHeight, int64_t usual,
                       BoxReadings* readings) {
  if (usual <= 0 || 10 * Width(box) < rule.fromTenths * shape.width) return -1;
  const Reading whole = readings->Of(box);
  if (whole.distance <= 0 || 100 * whole.distance < rule.wholePercent * usual) return -1;
  // Most single digits are confirmed whole, and their pieces never read.
  const RecogRunBlock& run = readings->run();
  if (ConfirmsOneDigit(run, run.image, box) != 0) return -1;
  int64_t pieces = 0;
  const int x = BestReadCut(readings, BestOfPlaces(scoring, rule.places), box, whole.distance,
                            shape.width, leastHeight, {}, &pieces);
  if (x < 0 || 100 * pieces >= rule.piecesPercent * whole.distance) return -1;
  const bool byEdges = PartsJoinedRunsByEdges(readings->mask());
  const int tall = std::max(shape.height, Height(box));
  PieceImage pieceImages[2];
  for (int k = 0; k < 2; ++k) {
    pieceImages[k] = DrawPiece(run.image, box, {x}, byEdges, k);
    const PieceImage& p = pieceImages[k];
    if (!p.any || 100 * Height(p.ink) < rule.piecePercent * tall) return -1;
  }
  for (const PieceImage& p : pieceImages) {
    if (ConfirmsOneDigit(run, p.image, p.ink) != 1) return -1;
  }
  return x;
}

// Whether two rows hold pieces of one component the shape cut apart
// through its ink: no blank column between them, and a component in common
// (the pieces of a cut row keep its components).
bool CutThroughInk(const CharBoxRow& a, const CharBoxRow& b) {
  if (b.box.left > a.box.right + 1) return false;
  const uint16_t* aEnd = a.components + a.componentCount;
  const uint16_t* bEnd = b.components + b.componentCount;
  return std::any_of(a.components, aEnd,
                     [&](uint16_t c) { return std::find(b.components, bEnd, c) != bEnd; });
}

// Each pixel a cut crosses where neighbours the shape cut apart are cut
// again is charged the cut rules' share divided by this (0: the shape's cut
// stays). Two capitals run together often meet over more ink than a place
// inside one letter crosses: a quarter of the share (charged in full, the
// reading found fewer joints; charged nothing, fewer still). Digits are
// charged in full (a quarter found fewer digit joints). Lines that may mix
// the types were not measured, and keep the shape's cut.
int ShapeCutInkShare(uint32_t mask) {
  if (DigitsOnly(mask)) return 1;
  return CapitalsOnly(mask) ? 4 : 0;
}

// The shape cuts a box twice the median width of the line's characters or
// more where the least ink crosses near each even share of its width.
// Characters are not of one width, and the joint of two often lies off that
// share: the cut runs a few columns into one character, and its pieces,
// standing as characters, are never read in one box again. So neighbours the
// shape cut apart through ink are cut again where their pieces read best, at
// the places within a third of a character of the shape's cut, read as the
// cut rules read them. Measured on touching lines of the training seeds'
// characters: the boxes found exactly rose by 10 and 32 capitals and by 6
// and 17 digits, of about 3,800 a seed.
void ReadShapeCutsAgain(const LineShape& shape, const CutRule& scoring, int leastHeight,
                        BoxReadings* readings, SegmentWork* w) {
  const int inkShare = ShapeCutInkShare(readings->mask());
  if (inkShare == 0) return;
  CutRule anyPlace = BestOfPlaces(scoring, scoring.places);
  anyPlace.inkDivisor = inkShare * scoring.inkDivisor;
  const RunImage& page = readings->run().image;
  const bool byEdges = PartsJoinedRunsByEdges(readings->mask());
  const int reach = std::max(1, shape.width / 3);
  for (int r = 0; r + 1 < w->header.boxCount; ++r) {
    CharBoxRow& a = w->rows[r];
    CharBoxRow& b = w->rows[r + 1];
    if (!CutThroughInk(a, b)) continue;
    const MupaRect u = United(a.box, b.box);
    const int cut = std::min(a.box.right, b.box.left);
    std::vector<bool> allowed(Width(u), false);
    for (int x = std::max<int>(u.left, cut - reach); x <= std::min(u.right - 1, cut + reach); ++x) {
      allowed[x - u.left] = true;
    }
    const int x = BestReadCut(readings, anyPlace, u, readings->Of(u).distance, shape.width,
                              leastHeight, allowed);
    if (x < 0) continue;
    const std::vector<MupaRect> pieces = PieceBoxes(page, u, {x}, byEdges, false);
    if (pieces.size() != 2) continue;
    a.box = pieces[0];
    b.box = pieces[1];
    MeasureRow(&a);
    MeasureRow(&b);
  }
}

}  // namespace

// A box wider than the line's character may be two written close together:
// it is cut where its pieces read clearly closer than the whole (a wide
// character read as two narrow ones must not part).
void CutWideBoxes(const LineShape& shape, uint32_t mask, BoxReadings* readings, SegmentWork* w) {
  const CutRule& rule = (mask & kTypeDigits) != 0 ? kDigitCuts : kLetterCuts;
  // Digits and capitals are all of a height (as JoinShortPiece says).
  const int leastHeight = (mask & kTypeKatakana) != 0 ? 1 : (shape.height + 1) / 2;
  ReadShapeCutsAgain(shape, rule, leastHeight, readings, w);
  const std::vector<const PlainPairRule*> pairRules = PlainPairRulesOf(mask);
  // Capitals only: on lines of digits it parts digits that stand apart, and
  // on lines of katakana it gains little.
  const bool poorWholes = CapitalsWithoutDigits(mask);
  const bool unconfirmedPairs = DigitsOnly(mask) && CanConfirmDigits(readings->run());
  const int64_t usual = poorWholes || unconfirmedPairs ? UsualDistance(*w, readings) : 0;
  for (int r = 0; r < w->header.boxCount; ++r) {
    const MupaRect box = w->rows[r].box;
    int bestCut = -1;
    if (10 * Width(box) >= rule.fromTenths * shape.width) {
      const Reading reading = readings->Of(box);
      const bool wider = 10 * Width(box) >= rule.sureTenths * shape.width;
      // One character, no doubt (unless it reads far worse than the line's
      // characters, below).
      if (reading.confidence < kSureConfidence || wider) {
        bestCut = BestReadCut(readings, rule, box, reading.distance, shape.width, leastHeight);
      }
    }
    for (const PlainPairRule* pair : pairRules) {
      if (bestCut >= 0) break;
      bestCut = PlainPairCut(*pair, rule, box, shape, leastHeight, readings);
    }
    for (const PoorWholeRule& poor : kCapitalPoorWholes) {
      if (bestCut >= 0 || !poorWholes) break;
      bestCut = PoorWholeCut(poor, rule, box, shape, leastHeight, usual, readings);
    }
    if (bestCut < 0 && unconfirmedPairs) {
      bestCut = UnconfirmedPairCut(kUnconfirmedDigitPairs, rule, box, shape, leastHeight, usual,
                                   readings);
    }
    if (bestCut >= 0 &&
        CutRow(readings->run().image, {bestCut}, PartsJoinedRunsByEdges(mask), r, w) > 1) {
      --r;  // its pieces are tried again
    }
  }
}

}  // namespace box_repair
