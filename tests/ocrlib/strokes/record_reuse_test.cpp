// One store of stroke records kept from character to character, as the
// recognition drivers keep it: a character analysed after others, after
// itself, or in a store whose records hold nothing but garbage gives exactly
// the strokes it gives in a new store.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "ocrlib/strokes/strokes_internal.h"
#include "tests/ocrlib/kit/pen_kit.h"

namespace {

using penkit::BitImage;
using penkit::Figure;

template <class T>
long IndexOf(const T* record, const RecordArray<T>& array) {
  return record ? static_cast<long>(record - array.items) : -1;
}

// Everything one run leaves for recognition, with references written as
// indices so that two stores compare.
std::string Describe(const penkit::StrokeRun& run) {
  const StrokeRecordStore& s = *run.store;
  std::ostringstream out;
  out << "extraction " << run.extraction << " analysis " << run.analysis << " frame "
      << run.frame << "\n";
  const StrokePointTable& t = s.points;
  out << "points " << t.points.count << "/" << t.extractedCount << " ref " << t.refSize << " "
      << t.width << "x" << t.height << "\n";
  for (int i = 0; i < t.points.count; ++i) {
    const StrokePoint& p = t.points.items[i];
    out << " p" << i << " " << p.x << "," << p.y << " k" << int{p.kind} << " u" << int{p.used}
        << " e" << p.edge << " pair" << IndexOf(p.sourcePair, s.contours.pairs) << " n";
    for (int k = 0; k < p.degree; ++k) out << " " << p.neighbours[k];
    out << "\n";
  }
  const StrokeGraph& g = s.graph;
  out << "segments " << g.segmentTotal << "\n";
  for (int i = 0; i < g.groups.count; ++i) {
    const StrokeGroup& group = g.groups.items[i];
    out << " g" << i << " closed " << group.closed << " first piece "
        << IndexOf(group.firstPiece, g.pieces) << "\n";
    for (const StrokeSegment* seg = group.firstSegment; seg; seg = seg->next) {
      out << "  s" << IndexOf(seg, g.segments) << " code " << int{seg->kind} << "/"
          << int{seg->subKind} << " ends " << seg->end1 << "," << seg->end2 << " features "
          << seg->centreX << " " << seg->centreY << " " << seg->firstX << " " << seg->firstY
          << " " << seg->secondX << " " << seg->secondY << " " << seg->sizeX << " "
          << seg->sizeY << " pieces";
      for (int k = 0; k < seg->pieceCount; ++k) out << " " << IndexOf(seg->pieces[k], g.pieces);
      out << " neighbours";
      for (int k = 0; k < seg->neighbourCount; ++k)
        out << " " << IndexOf(seg->neighbours[k], g.segments) << ":"
            << int{seg->neighbourEndCodes[k]};
      out << "\n";
    }
  }
  for (int i = 0; i < g.pieces.count; ++i) {
    const StrokePiece& p = g.pieces.items[i];
    out << " piece" << i << " chain " << p.firstChain << ".." << p.lastChain << " class "
        << int{p.directionClass[0]} << int{p.directionClass[1]} << " shape "
        << int{p.shapeCode} << " words";
    for (int k = 0; k < p.pointCount; ++k) out << " " << p.words[k];
    out << " next";
    for (int k = 0; k < p.successorCount; ++k)
      out << " " << IndexOf(p.successors[k], g.pieces) << ":" << int{p.turnCode[k][0]} << ","
          << int{p.turnCode[k][1]} << ":" << int{p.entryCode[k]} << "," << int{p.exitCode[k]};
    out << " before " << int{p.predecessorCount} << "\n";
  }
  const StrokeNodeLists& n = s.nodeLists;
  for (int i = 0; i < n.nodes.count; ++i) {
    const StrokeNode& node = n.nodes.items[i];
    out << " node" << i << " degree " << int{node.degree} << " class " << int{node.cls}
        << " at " << node.junction << " copies " << node.firstCopy << " edge "
        << node.firstEdge << "\n";
  }
  for (int i = 0; i < n.edges.count; ++i) {
    const StrokeEdge& e = n.edges.items[i];
    out << " edge" << i << " " << e.point << "@" << e.junction << " group " << e.group;
    for (int k = 0; k < e.attachCount; ++k)
      out << " " << IndexOf(e.segments[k], g.segments) << ":" << int{e.attachCodes[k]};
    out << "\n";
  }
  for (int i = 0; i < n.marks.count; ++i) {
    const FeaturePoint& m = n.marks.items[i];
    out << " mark" << i << " kind " << int{m.kind} << " edges " << m.edgeA << "," << m.edgeB
        << " at " << m.x << "," << m.y << "\n";
  }
  const CharFrame& f = s.frame;
  out << "frame " << f.size << " " << f.offsetX << " " << f.offsetY << " " << f.originX << " "
      << f.originY << "\n";
  return out.str();
}

static_assert(std::is_trivially_copyable_v<StrokeRecordStore>, "a store may be filled bytewise");

// A bound store whose every record is the byte `fill` repeated: whatever a
// slot holds before an allocator hands it out.
std::unique_ptr<StrokeRecordStore> SpoiledStore(unsigned char fill) {
  auto store = std::make_unique<StrokeRecordStore>();
  std::memset(static_cast<void*>(store.get()), fill, sizeof(StrokeRecordStore));
  BindStrokeRecordStore(*store);
  return store;
}

TEST(StrokeRecordReuse, CharacterGivesTheSameStrokesWhateverTheStoreHeld) {
  struct Case {
    const char* what;
    BitImage image;
    std::initializer_list<uint8_t> steps;
  };
  // Of the benchmark's characters, 5 and 12 meet at three-way junctions that
  // are resolved by trial, 8 and 9 cross.
  std::vector<BitImage> bench = penkit::RandomCharacters(8, 13);
  const Figure wye =
      Figure().Line({32, 34}, {32, 60}).Line({32, 34}, {9, 20}).Line({32, 34}, {55, 20});
  const Figure cross = Figure().Line({8, 30}, {56, 34}).Line({30, 8}, {34, 56});
  const Figure nine = Figure().Circle({30, 22}, 13).Line({43, 22}, {38, 60});
  const Figure ex = Figure().Line({8, 8}, {56, 56}).Line({56, 8}, {8, 56});
  Case cases[] = {
      {"three-way junction at even angles", penkit::Draw(wye, 4), {1}},
      {"crossing after a three-way junction", penkit::Draw(cross, 4), {1}},
      {"ring with a tail, every step", penkit::Draw(nine, 5), {4, 0, 1, 2, 3}},
      {"crossing, every step", penkit::Draw(ex, 4), {4, 0, 1, 2, 3}},
      {"benchmark character 12", bench[12], {1}},
      {"benchmark character 8", bench[8], {1}},
      {"benchmark character 5", bench[5], {1}},
      {"benchmark character 9", bench[9], {1}},
  };
  // One store kept across the cases, as a driver keeps it.
  auto kept = std::make_unique<StrokeRecordStore>();
  BindStrokeRecordStore(*kept);
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    const penkit::StrokeRun fresh = penkit::RunSteps(c.image, c.steps);
    ASSERT_EQ(fresh.analysis, 0);
    const std::string expected = Describe(fresh);
    for (const char* held : {"the cases before", "this case"}) {
      SCOPED_TRACE(held);
      penkit::StrokeRun run = penkit::RunSteps(c.image, c.steps, true, std::move(kept));
      EXPECT_EQ(Describe(run), expected);
      kept = std::move(run.store);
    }
    for (unsigned char fill : {0x55, 0xFF}) {
      SCOPED_TRACE(testing::Message() << "records of byte " << int{fill});
      EXPECT_EQ(Describe(penkit::RunSteps(c.image, c.steps, true, SpoiledStore(fill))), expected);
    }
  }
}

TEST(StrokeRecordReuse, RetryThatJoinsAlignedEndsFindsOneStroke) {
  // A long diagonal stroke broken in the middle. The first analysis finds
  // two strokes; the retry joins the facing ends in the same records, and
  // the analysis must then find one straight stroke.
  penkit::HandGraph g;
  g.Chain({{40, 40}, {52, 52}, {64, 64}, {76, 76}});
  g.Chain({{88, 88}, {100, 100}, {112, 112}, {124, 124}});
  ASSERT_EQ(g.Finish(), 0);
  ASSERT_EQ(g.Analyse(), 0);
  ASSERT_EQ(g.graph().segmentTotal, 2);
  int32_t done = 0;
  ASSERT_EQ(JoinAlignedStrokeEnds(&g.points(), &done), 0);
  ASSERT_EQ(done, 1);
  ASSERT_EQ(g.Analyse(), 0);
  ASSERT_EQ(g.graph().segmentTotal, 1);
  EXPECT_EQ(int{g.graph().segments.items[0].kind}, 1);
}

}  // namespace
